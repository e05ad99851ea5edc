#include "engine/twin_turns.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "engine/coincidence_index.h"
#include "engine/figure_match.h"
#include "engine/trial_pairing.h"

namespace twinfind {
namespace {

// The figures of the part filed by the cell of a point that every placement carries along (a
// line's middle, a centre, a point), so that a placed figure's equal is found where it lies:
// a try that puts one of a few sample figures on nothing is passed over before the whole part
// is placed (a polyline of many equal sides has as many tries as sides, and all but a few fail
// at once).
class FigureGrid {
 public:
  FigureGrid(const std::vector<CopySource>& sources, double tolerance)
      : cell_(std::max(4 * tolerance, 1e-9)), tolerance_(tolerance) {
    for (const CopySource& s : sources) {
      for (const FigureRecord& f : s.figures.figures) entries_.push_back({CellOf(f), &f});
    }
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return a.cell < b.cell; });
  }

  // Whether some figure of the part agrees with `f` (drawn either way).
  bool Holds(const FigureRecord& f) const {
    const auto [cx, cy] = CellOf(f);
    const FigureRecord reversed = ReversedFigure(f);
    for (int64_t dx = -1; dx <= 1; ++dx) {
      for (int64_t dy = -1; dy <= 1; ++dy) {
        const Cell cell{cx + dx, cy + dy};
        auto it = std::lower_bound(entries_.begin(), entries_.end(), cell,
                                   [](const Entry& e, const Cell& c) { return e.cell < c; });
        for (; it != entries_.end() && it->cell == cell; ++it) {
          if (FiguresAgree(f, *it->figure, tolerance_) ||
              FiguresAgree(reversed, *it->figure, tolerance_)) {
            return true;
          }
        }
      }
    }
    return false;
  }

 private:
  using Cell = std::pair<int64_t, int64_t>;
  struct Entry {
    Cell cell;
    const FigureRecord* figure;
  };
  Cell CellOf(const FigureRecord& f) const {
    double x = 0, y = 0;
    switch (f.kind) {
      case VEX_FIG_LINE:
        x = (f.u.line.x1 + f.u.line.x2) / 2, y = (f.u.line.y1 + f.u.line.y2) / 2;
        break;
      case VEX_FIG_CIRCLE:
        x = f.u.circle.cx, y = f.u.circle.cy;
        break;
      case VEX_FIG_ARC:
        x = f.u.arc.cx, y = f.u.arc.cy;
        break;
      case VEX_FIG_POINT:
        x = f.u.point.x, y = f.u.point.y;
        break;
      default:  // kinds 4 and 5 start with a point
        x = f.u.kind4.x1, y = f.u.kind4.y1;
        break;
    }
    return {Floor(x), Floor(y)};
  }
  int64_t Floor(double v) const {
    const double c = std::floor(v / cell_);
    return std::isfinite(c) ? static_cast<int64_t>(std::clamp(c, -9e18, 9e18)) : 0;
  }
  double cell_, tolerance_;
  std::vector<Entry> entries_;
};

constexpr size_t kSamples = 8;

}  // namespace

void PartTurns::Find(const std::vector<CopySource>& sources, const std::vector<PlaneMap>& tries,
                     const SearchOptions& options, double tolerance) {
  turns_.clear();
  const size_t n = sources.size();
  std::vector<const SegmentFigures*> own;
  for (const CopySource& s : sources) own.push_back(&s.figures);
  CoincidenceIndex index;
  index.Build(own);
  const FigureGrid grid(sources, tolerance);
  std::vector<const FigureRecord*> all, samples;
  for (const CopySource& s : sources) {
    for (const FigureRecord& f : s.figures.figures) all.push_back(&f);
  }
  const size_t sampled = std::min(kSamples, all.size());
  for (size_t i = 0; i < sampled; ++i) samples.push_back(all[i * all.size() / sampled]);
  std::vector<double> found;  // the turns found, in degrees
  SegmentFigures placed;
  for (const PlaneMap& map : tries) {
    const double degrees = TurnDegrees(map);
    // Unturned, a map lays the part on itself only where it leaves it as it is.
    if (degrees == 0.0 || std::find(found.begin(), found.end(), degrees) != found.end()) continue;
    if (!std::all_of(samples.begin(), samples.end(),
                     [&](const FigureRecord* f) { return grid.Holds(PlaceFigure(*f, map)); })) {
      continue;
    }
    Turn turn{map, std::vector<int>(n, -1)};
    std::vector<char> used(n, 0);
    bool fits = true;
    for (size_t i = 0; i < n && fits; ++i) {
      PlaceSegment(sources[i], map, nullptr, placed);
      fits = false;
      for (const int entry : index.MayCoincide(placed, tolerance)) {
        const size_t j = static_cast<size_t>(entry - 1);
        if (used[j] != 0 || !AttributesAgree(options, sources[i].ref, sources[j].ref) ||
            !SegmentsCoincide(placed, sources[j].figures, tolerance)) {
          continue;
        }
        used[j] = 1;
        turn.onto[i] = static_cast<int>(j);
        fits = true;
        break;
      }
    }
    if (!fits) continue;
    found.push_back(degrees);
    turns_.push_back(std::move(turn));
  }
}

void PartTurns::TellSmallest(const std::vector<CopySource>& sources,
                             const std::vector<SegmentRef>& twin, std::vector<int>& partOf,
                             PlaneMap& motion, const SearchOptions& options,
                             double tolerance) const {
  if (turns_.empty()) return;
  const double told = TurnDegrees(motion);
  std::vector<std::pair<double, const Turn*>> smaller;
  for (const Turn& t : turns_) {
    const double degrees = TurnDegrees(motion.After(t.map));
    if (SmallerTurn(degrees, told)) smaller.push_back({degrees, &t});
  }
  if (smaller.empty()) return;
  std::stable_sort(smaller.begin(), smaller.end(),
                   [](const auto& a, const auto& b) { return SmallerTurn(a.first, b.first); });
  const size_t n = sources.size();
  std::vector<int> twinOf(n, -1);  // the twin segment each part segment was paired with
  for (size_t k = 0; k < partOf.size(); ++k) {
    if (partOf[k] >= 0 && static_cast<size_t>(partOf[k]) < n) {
      twinOf[static_cast<size_t>(partOf[k])] = static_cast<int>(k);
    }
  }
  std::vector<SegmentFigures> figures(twin.size());
  for (size_t k = 0; k < twin.size(); ++k) ReadSegmentFigures(twin[k], figures[k]);
  SegmentFigures placed;
  for (const auto& [degrees, turn] : smaller) {
    const PlaneMap map = motion.After(turn->map);
    // Under the turn, part segment j lands where the search laid the segment the turn takes it
    // to.
    std::vector<int> again(partOf.size(), -1);
    bool fits = true;
    for (size_t j = 0; j < n && fits; ++j) {
      const int k = twinOf[static_cast<size_t>(turn->onto[j])];
      if (k < 0) {
        fits = sources[j].hasAttr5 != 0;  // an uncounted segment the twin may lack
        continue;
      }
      const size_t at = static_cast<size_t>(k);
      PlaceSegment(sources[j], map, nullptr, placed);
      fits = AttributesAgree(options, sources[j].ref, twin[at]) &&
             SegmentsCoincide(placed, figures[at], tolerance);
      again[at] = static_cast<int>(j);
    }
    if (!fits) continue;
    motion = map;
    partOf = std::move(again);
    return;
  }
}

}  // namespace twinfind
