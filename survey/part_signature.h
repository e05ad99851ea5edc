// A cheap invariant of a candidate part, the same for all its twins under the search's rules:
// what must be equal (segment and figure counts by kind, and the layers and line attributes
// when the search asks for them) and the sorted sizes that twins share within the tolerance
// (line lengths, radii, arc chords), which no turn or mirroring changes. Only candidates whose
// invariants agree are searched for as twins of each other.
#ifndef SURVEY_PART_SIGNATURE_H
#define SURVEY_PART_SIGNATURE_H

#include <cstdint>
#include <string>
#include <vector>

#include "host/drawing.h"
#include "settings/search_options.h"

namespace twinfind::survey {

// What some segments' figures hold: counts by kind and the sorted sizes that no turn or
// mirroring changes (line lengths, radii, arc chords).
struct FigureSizes {
  int counts[10] = {};
  std::vector<double> lines, radii, chords;
};

FigureSizes FigureSizesOf(const vexhost::Drawing& drawing, const std::vector<int>& segments);

struct PartSignature {
  std::string exact;          // counts, kinds, layers, line attributes: equal for twins
  std::vector<double> sizes;  // sorted lengths, radii and chords, kind by kind
  double total = 0;           // the sum of sizes
  int figures = 0;            // figures of the part
  int lines = 0;              // of which lines
  int anchors = 0;            // of which lines, circles and arcs: figures a search anchors on
};

PartSignature SignatureOf(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                          const SearchOptions& options);

// True when the sizes agree within `slack` each (the exact parts are equal).
bool SizesAgree(const PartSignature& a, const PartSignature& b, double slack);

}  // namespace twinfind::survey

#endif  // SURVEY_PART_SIGNATURE_H
