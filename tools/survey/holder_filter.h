// Which segments of the range can hold the anchor line of a part's twin, told without a
// trial placement: the part's segments that touch its anchor segment end to end (directly
// or through others) are a connected group, so their twin is one too, lying within one
// group of the range's touching segments; that group holds a figure of each kind and size
// for every figure of the part's group. A segment whose group does not is passed over; the
// command's trial there would fail.
#ifndef TOOLS_SURVEY_HOLDER_FILTER_H
#define TOOLS_SURVEY_HOLDER_FILTER_H

#include <unordered_map>
#include <vector>

#include "engine/find_matches.h"
#include "host/drawing.h"

namespace twinfind::survey {

class HolderFilter {
 public:
  HolderFilter(const vexhost::Drawing& drawing, const std::vector<int>& range,
               const SearchOptions& options);

  // The part (segments in drawing order) and the segment of its anchor line.
  void SetPart(const std::vector<int>& part, int anchorSegment);
  // Whether the range segment's group can hold a twin of the part's anchor group.
  bool MayHold(int segment);

 private:
  // What a group holds: figure counts by kind and sorted sizes (line lengths, radii, chords).
  struct Holdings {
    int counts[10] = {};
    std::vector<double> lines, radii, chords;
  };
  Holdings HoldingsOf(const std::vector<int>& segments) const;
  bool Holds(const Holdings& outer, const Holdings& inner) const;

  const vexhost::Drawing& drawing_;
  double joint_ = 0, slack_ = 0;
  std::unordered_map<int, size_t> groupOf_;  // range segment: its group
  std::vector<Holdings> groups_;
  Holdings part_;
  std::vector<char> verdict_;  // per group for the part: 0 not known, 1 holds, 2 does not
};

}  // namespace twinfind::survey

#endif  // TOOLS_SURVEY_HOLDER_FILTER_H
