// The command's own search, run by the survey on the in-memory host: a part is indicated as
// the part step would take it, and the engine's search finds its twins among the given
// segments, then the general method's rule drops overlapping ones. Given the range's
// segments, the count is the one the command reports when the same part is indicated there.
#ifndef SURVEY_TWIN_SEARCH_H
#define SURVEY_TWIN_SEARCH_H

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "common/plane_map.h"
#include "host/drawing.h"
#include "settings/search_options.h"
#include "survey/holder_filter.h"

namespace twinfind::survey {

// A twin as the search found it.
struct FoundTwin {
  std::vector<int> segments;  // in the order of the part's segments they paired with
  PlaneMap motion;            // takes the part onto it, as the search laid it
  bool mirrored = false;      // a mirror image of the part
  double angleDegrees = 0;    // the motion's turn (common/plane_map.h TurnDegrees)
};

class TwinSearch {
 public:
  // The range's segments, in drawing order: the command's range when a part is indicated.
  TwinSearch(const vexhost::Drawing& drawing, const SearchOptions& options,
             const std::vector<int>& range);

  // The twins of the part (segments in drawing order) in the range, its own place included;
  // nothing when the part step would refuse the part (more than 1000 segments, no line, not
  // within its box) or the search stopped (a working table full, a copy refused).
  std::optional<std::vector<FoundTwin>> Search(const std::vector<int>& part);

  // Asked now and then during a search; false stops it (Search then gives nothing).
  void SetGoOn(std::function<bool()> goOn) { goOn_ = std::move(goOn); }

  // Trial placements the searches made, for the cost.
  long long candidates() const { return candidates_; }
  // The places where the last search found the whole part but something more in its window
  // (inside the part or across it), each as its segments, sorted: twins in shape that their
  // surroundings kept out.
  const std::vector<std::vector<int>>& crowded() const { return crowded_; }

 private:
  SearchOptions options_;
  // The range's lines by length, circles and arcs by radius, each with its segment: the
  // segments that can hold the anchor of a twin are read from them instead of from every
  // figure of the range.
  std::vector<std::pair<double, int>> lines_, circles_, arcs_;
  HolderFilter holders_;  // of those, the segments whose group can hold a twin
  long long candidates_ = 0;
  std::vector<std::vector<int>> crowded_;
  std::function<bool()> goOn_;
};

}  // namespace twinfind::survey

#endif  // SURVEY_TWIN_SEARCH_H
