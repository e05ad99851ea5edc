// The command's own search, run by the survey on the in-memory host: a part is indicated as
// the part step would take it, and the engine's FindMatches finds its twins among the given
// segments, then the general method's rule drops overlapping ones. Given the range's
// segments, the count is the one the command reports when the same part is indicated there.
#ifndef TOOLS_SURVEY_TWIN_SEARCH_H
#define TOOLS_SURVEY_TWIN_SEARCH_H

#include <optional>
#include <utility>
#include <vector>

#include "engine/find_matches.h"
#include "host/drawing.h"

namespace twinfind::survey {

struct FoundTwin {
  std::vector<int> segments;  // in the order the search found them
  bool mirrored = false;      // a mirror image of the part
  double angleDegrees = 0;    // the turn that takes the part onto it (twin_geometry.h)
};

class TwinSearch {
 public:
  TwinSearch(const vexhost::Drawing& drawing, const SearchOptions& options)
      : drawing_(drawing), options_(options) {}

  // The twins of the part (segments in drawing order) among `targets` (the range's segments
  // or some of them, in drawing order), its own place included; nothing when the part step
  // would refuse the part (more than 1000 segments, no line, not within its box) or the
  // search stopped (a working table full, a copy refused).
  std::optional<std::vector<FoundTwin>> Search(const std::vector<int>& part,
                                               const std::vector<int>& targets);

  // Trial placements the searches made, for the cost.
  long long candidates() const { return candidates_; }

 private:
  const vexhost::Drawing& drawing_;
  SearchOptions options_;
  long long candidates_ = 0;
};

}  // namespace twinfind::survey

#endif  // TOOLS_SURVEY_TWIN_SEARCH_H
