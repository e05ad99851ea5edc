#include "tools/survey/holder_filter.h"

#include <algorithm>
#include <cmath>

#include "engine/segment_compare.h"
#include "tools/survey/candidate_parts.h"
#include "tools/survey/part_signature.h"

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
  const double tolerance = std::max(COINCIDE_EPS, options.tolerance);
  joint_ = tolerance;
  slack_ = SizeSlack(options);
  // Ends that meet within the joint in the part meet within the joint and the two ends'
  // tolerance in a twin.
  const std::vector<std::vector<int>> groups =
      TouchingGroups(drawing, range, joint_ + 3 * tolerance);
  for (size_t g = 0; g < groups.size(); ++g) {
    for (const int id : groups[g]) groupOf_[id] = g;
    groups_.push_back(HoldingsOf(groups[g]));
  }
}

HolderFilter::Holdings HolderFilter::HoldingsOf(const std::vector<int>& segments) const {
  Holdings h;
  for (const int id : segments) {
    for (const FigureRecord& f : FiguresOf(drawing_, id)) {
      ++h.counts[std::clamp(f.kind, 0, 9)];
      if (f.kind == VEX_FIG_LINE) {
        h.lines.push_back(std::hypot(f.u.line.x2 - f.u.line.x1, f.u.line.y2 - f.u.line.y1));
      } else if (f.kind == VEX_FIG_CIRCLE) {
        h.radii.push_back(f.u.circle.r);
      } else if (f.kind == VEX_FIG_ARC) {
        h.radii.push_back(f.u.arc.r);
        h.chords.push_back(std::hypot(f.u.arc.ex - f.u.arc.sx, f.u.arc.ey - f.u.arc.sy));
      }
    }
  }
  for (std::vector<double>* sizes : {&h.lines, &h.radii, &h.chords}) {
    std::sort(sizes->begin(), sizes->end());
  }
  return h;
}

bool HolderFilter::Holds(const Holdings& outer, const Holdings& inner) const {
  for (int k = 0; k < 10; ++k) {
    if (outer.counts[k] < inner.counts[k]) return false;
  }
  return SizesHeld(outer.lines, inner.lines, slack_) &&
         SizesHeld(outer.radii, inner.radii, slack_) &&
         SizesHeld(outer.chords, inner.chords, slack_);
}

void HolderFilter::SetPart(const std::vector<int>& part, int anchorSegment) {
  const std::vector<std::vector<int>> groups = TouchingGroups(drawing_, part, joint_);
  part_ = Holdings{};
  for (const std::vector<int>& group : groups) {
    if (std::find(group.begin(), group.end(), anchorSegment) != group.end()) {
      part_ = HoldingsOf(group);
    }
  }
  verdict_.assign(groups_.size(), 0);
}

bool HolderFilter::MayHold(int segment) {
  const auto it = groupOf_.find(segment);
  if (it == groupOf_.end()) return false;
  char& verdict = verdict_[it->second];
  if (verdict == 0) verdict = Holds(groups_[it->second], part_) ? 1 : 2;
  return verdict == 1;
}

}  // namespace twinfind::survey
