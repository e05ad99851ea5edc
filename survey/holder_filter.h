// Which segments of the range can hold the anchor line of a part's twin, told without a
// trial placement: the part's segments that touch its anchor segment end to end (directly
// or through others) are a connected group, so their twin is one too, lying within one
// group of the range's touching segments; that group holds a figure of each kind and size
// for every figure of the part's group. A segment whose group does not is passed over; the
// command's trial there would fail.
#ifndef SURVEY_HOLDER_FILTER_H
#define SURVEY_HOLDER_FILTER_H

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/drawing.h"
#include "settings/search_options.h"
#include "survey/part_signature.h"

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
  bool Holds(const FigureSizes& outer, const FigureSizes& inner) const;

  const vexhost::Drawing& drawing_;
  double joint_ = 0, slack_ = 0;
  std::unordered_map<int, size_t> groupOf_;  // range segment: its group
  std::vector<FigureSizes> groups_;          // what each group holds
  FigureSizes part_;                         // what the part's anchor group holds
  struct Verdict {
    uint64_t part = 0;  // the part it was given for (0: none yet)
    bool holds = false;
  };
  std::vector<Verdict> verdict_;  // per group
  uint64_t part_number_ = 0;      // counts the parts set
};

}  // namespace twinfind::survey

#endif  // SURVEY_HOLDER_FILTER_H
