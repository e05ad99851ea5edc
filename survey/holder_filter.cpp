#include "survey/holder_filter.h"

#include <algorithm>
#include <cmath>

#include "survey/candidate_parts.h"

namespace twinfind::survey {
namespace {

// Whether every size of `inner` (sorted) has its own size of `outer` (sorted) within
// `slack`: taking for each inner size, smallest first, the smallest outer size left that is
// not below it by more than the slack is the best choice when all windows are as wide.
bool SizesHeld(const std::vector<double>& outer, const std::vector<double>& inner, double slack) {
  if (inner.size() > outer.size()) return false;
  size_t o = 0;
  for (const double size : inner) {
    while (o < outer.size() && outer[o] < size - slack) ++o;
    if (o == outer.size() || outer[o] > size + slack) return false;
    ++o;
  }
  return true;
}

}  // namespace

HolderFilter::HolderFilter(const vexhost::Drawing& drawing, const std::vector<int>& range,
                           const SearchOptions& options)
    : drawing_(drawing) {
  const double tolerance = CoordinateTolerance(options);
  joint_ = tolerance;
  slack_ = SizeSlack(options);
  // Ends that meet within the joint in the part meet within the joint and the two ends'
  // tolerance in a twin.
  const std::vector<std::vector<int>> groups =
      TouchingGroups(drawing, range, joint_ + 3 * tolerance);
  for (size_t g = 0; g < groups.size(); ++g) {
    for (const int id : groups[g]) groupOf_[id] = g;
    groups_.push_back(FigureSizesOf(drawing, groups[g]));
  }
}

bool HolderFilter::Holds(const FigureSizes& outer, const FigureSizes& inner) const {
  for (int k = 0; k < 10; ++k) {
    if (outer.counts[k] < inner.counts[k]) return false;
  }
  return SizesHeld(outer.lines, inner.lines, slack_) &&
         SizesHeld(outer.radii, inner.radii, slack_) &&
         SizesHeld(outer.chords, inner.chords, slack_);
}

void HolderFilter::SetPart(const std::vector<int>& part, int anchorSegment) {
  const std::vector<std::vector<int>> groups = TouchingGroups(drawing_, part, joint_);
  part_ = FigureSizes{};
  for (const std::vector<int>& group : groups) {
    if (std::find(group.begin(), group.end(), anchorSegment) != group.end()) {
      part_ = FigureSizesOf(drawing_, group);
    }
  }
  // The verdicts of the last part are stale from now on: no pass over every group per part.
  ++part_number_;
  if (verdict_.size() != groups_.size()) verdict_.assign(groups_.size(), {0, false});
}

bool HolderFilter::MayHold(int segment) {
  const auto it = groupOf_.find(segment);
  if (it == groupOf_.end()) return false;
  Verdict& verdict = verdict_[it->second];
  if (verdict.part != part_number_) verdict = {part_number_, Holds(groups_[it->second], part_)};
  return verdict.holds;
}

}  // namespace twinfind::survey
