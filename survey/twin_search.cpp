#include "survey/twin_search.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/twin_finder.h"
#include "survey/candidate_parts.h"

namespace twinfind::survey {
namespace {

std::vector<SegmentRef> RefsOf(const std::vector<int>& segments) {
  std::vector<SegmentRef> refs;
  refs.reserve(segments.size());
  for (const int id : segments) refs.push_back({vexhost::Drawing::kDrawingId, id});
  return refs;
}

}  // namespace

TwinSearch::TwinSearch(const vexhost::Drawing& drawing, const SearchOptions& options,
                       const std::vector<int>& range)
    : options_(options), holders_(drawing, range, options) {
  for (const int id : range) {
    const vexhost::Segment* segment = drawing.FindSegment(id);
    if (!segment) continue;
    for (const int e : segment->elements) {
      const vexhost::Element* element = drawing.FindElement(e);
      if (!element || element->comment) continue;
      const FigureRecord& f = element->figure;
      if (f.kind == VEX_FIG_LINE) {
        lines_.push_back({std::hypot(f.u.line.x2 - f.u.line.x1, f.u.line.y2 - f.u.line.y1), id});
      } else if (f.kind == VEX_FIG_CIRCLE) {
        circles_.push_back({f.u.circle.r, id});
      } else if (f.kind == VEX_FIG_ARC) {
        arcs_.push_back({f.u.arc.r, id});
      }
    }
  }
  for (auto* sizes : {&lines_, &circles_, &arcs_}) std::sort(sizes->begin(), sizes->end());
}

std::optional<std::vector<FoundTwin>> TwinSearch::Search(const std::vector<int>& part) {
  AnchorLine anchor;
  if (IndicatePart(RefsOf(part), &anchor) != TwinFailure::kNone) return std::nullopt;
  // Only segments with a line of the anchor's length (a circle or arc of its radius, for a part
  // anchored on one) can be candidates; the rest would be read and passed over. In drawing
  // order, as the command walks its range.
  const auto& sizes = anchor.kind == VEX_FIG_LINE     ? lines_
                      : anchor.kind == VEX_FIG_CIRCLE ? circles_
                                                      : arcs_;
  const double size = anchor.kind == VEX_FIG_LINE ? anchor.length : anchor.radius;
  // As far as a trial lays the anchor on (a little more: the host measures lengths its own way).
  const double reach = 1.5 * (anchor.kind == VEX_FIG_LINE ? AnchorLengthSlack(options_)
                                                          : AnchorRadiusSlack(options_));
  holders_.SetPart(part, anchor.ref.segmentId);
  std::vector<int> candidates;
  for (auto it = std::lower_bound(sizes.begin(), sizes.end(),
                                  std::pair<double, int>{size - reach, INT_MIN});
       it != sizes.end() && it->first <= size + reach; ++it) {
    if (holders_.MayHold(it->second)) candidates.push_back(it->second);
  }
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

  // In runs of at most as many entries as the search keeps twins, so that its table never
  // fills (an entry gives at most one twin); a segment taken by a twin is no candidate later,
  // as the command marks its range entries taken.
  std::vector<FoundTwin> found;
  PartCover cover;         // the ground the part covers
  std::vector<int> taken;  // sorted segment ids of the twins so far
  crowded_.clear();
  size_t next = 0;
  while (next < candidates.size()) {
    std::vector<SegmentRef> run;
    for (; next < candidates.size() && run.size() < static_cast<size_t>(kMatchCapacity); ++next) {
      const int id = candidates[next];
      if (!std::binary_search(taken.begin(), taken.end(), id)) {
        run.push_back({vexhost::Drawing::kDrawingId, id});
      }
    }
    if (run.empty()) continue;
    const TwinResult result = SearchIndicatedPart(run, {}, options_, false, goOn_);
    candidates_ += result.stats.candidates;
    cover = result.stats.cover;
    if (!result.ok()) return std::nullopt;
    for (const std::vector<SegmentRef>& place : result.stats.crowded) {
      std::vector<int> ids;
      for (const SegmentRef& ref : place) ids.push_back(ref.segmentId);
      std::sort(ids.begin(), ids.end());
      crowded_.push_back(std::move(ids));
    }
    for (const MatchRecord& match : result.twins) {
      // The part found at its own place only because it was indicated is no twin the survey
      // lists: another member's search would not find it.
      if (match.ownPlaceOnly != 0) continue;
      FoundTwin twin;
      twin.mirrored = match.mirrored != 0;
      twin.motion = match.motion;
      twin.angleDegrees = TurnDegrees(match.motion);
      std::vector<std::pair<int32_t, int>> paired;  // part segment, twin segment
      for (int i = 1; i <= match.segmentCount(); ++i) {
        paired.push_back({match.partOf[static_cast<size_t>(i - 1)], match.segment(i).segmentId});
      }
      std::stable_sort(paired.begin(), paired.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      for (const auto& [partSegment, id] : paired) twin.segments.push_back(id);
      taken.insert(taken.end(), twin.segments.begin(), twin.segments.end());
      found.push_back(std::move(twin));
    }
    std::sort(taken.begin(), taken.end());
  }
  std::vector<std::vector<int>> ids;
  std::vector<PlaneMap> motions;
  for (const FoundTwin& twin : found) {
    ids.push_back(twin.segments);
    motions.push_back(twin.motion);
  }
  const std::vector<bool> dropped = OverlappedMatches(ids, motions, cover);
  std::vector<FoundTwin> kept;
  for (size_t i = 0; i < found.size(); ++i) {
    if (!dropped[i]) kept.push_back(std::move(found[i]));
  }
  return kept;
}

}  // namespace twinfind::survey
