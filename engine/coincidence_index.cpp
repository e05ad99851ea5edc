#include "engine/coincidence_index.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace twinfind {
namespace {

// Up to this many segments, looking through all of them is cheaper than sorting them.
constexpr size_t kFewSegments = 8;
// A column's width: several times the usual tolerance, so that a query looks into one or two.
constexpr double kColumnWidth = 8 * COINCIDE_EPS;
// A query spanning more columns than this walks them in one pass instead of one look-up each.
constexpr int64_t kMostLookups = 8;

int64_t ColumnOf(double x) {
  return static_cast<int64_t>(std::clamp(std::floor(x / kColumnWidth), -4e18, 4e18));
}

}  // namespace

bool CoincidenceIndex::Key::operator<(const Key& o) const {
  if (figureCount != o.figureCount) return figureCount < o.figureCount;
  if (column != o.column) return column < o.column;
  if (minY != o.minY) return minY < o.minY;
  return entry < o.entry;
}

void CoincidenceIndex::Build(const std::vector<const SegmentFigures*>& segments) {
  segments_.assign(segments.begin(), segments.end());
  sorted_.clear();
  compareAlways_.clear();
  if (segments_.size() <= kFewSegments) return;
  for (size_t i = 0; i < segments_.size(); ++i) {
    const SegmentFigures& read = *segments_[i];
    const int entry = static_cast<int>(i) + 1;
    if (!read.ok) continue;  // never coincides with anything
    if (read.hasHole || !std::isfinite(read.spread.minX) || !std::isfinite(read.spread.minY)) {
      compareAlways_.push_back(entry);
    } else {
      sorted_.push_back({read.figures.size(), ColumnOf(read.spread.minX), read.spread.minY,
                         read.spread.minX, entry});
    }
  }
  std::sort(sorted_.begin(), sorted_.end());
}

const std::vector<int>& CoincidenceIndex::MayCoincide(const SegmentFigures& figures,
                                                      double tolerance) {
  candidates_.clear();
  if (!figures.ok) return candidates_;
  const size_t n = figures.figures.size();
  // The spreads of coinciding segments differ by less than the tolerance; the bounds are
  // taken twice as wide so that rounding here never drops one, and the comparison decides.
  const bool anyPlace =
      figures.hasHole || !std::isfinite(figures.spread.minX) || !std::isfinite(figures.spread.minY);
  const double reach = 2 * tolerance;
  const double fromX = anyPlace ? -HUGE_VAL : figures.spread.minX - reach;
  const double toX = anyPlace ? HUGE_VAL : figures.spread.minX + reach;
  const double fromY = anyPlace ? -HUGE_VAL : figures.spread.minY - reach;
  const double toY = anyPlace ? HUGE_VAL : figures.spread.minY + reach;
  const auto within = [&](double x, double y) {
    return x >= fromX && x <= toX && y >= fromY && y <= toY;
  };
  if (segments_.size() <= kFewSegments) {
    for (size_t i = 0; i < segments_.size(); ++i) {
      const SegmentFigures& s = *segments_[i];
      if (!s.ok || s.figures.size() != n) continue;
      const bool aside =
          s.hasHole || !std::isfinite(s.spread.minX) || !std::isfinite(s.spread.minY);
      if (aside || within(s.spread.minX, s.spread.minY)) {
        candidates_.push_back(static_cast<int>(i) + 1);
      }
    }
    return candidates_;
  }
  const int64_t first = anyPlace ? INT64_MIN : ColumnOf(fromX);
  const int64_t last = anyPlace ? INT64_MAX : ColumnOf(toX);
  const auto take = [&](std::vector<Key>::const_iterator it, int64_t column, bool oneColumn) {
    for (; it != sorted_.end() && it->figureCount == n && it->column <= column; ++it) {
      if (oneColumn && it->minY > toY) break;
      if (within(it->minX, it->minY)) candidates_.push_back(it->entry);
    }
  };
  if (!anyPlace && last - first < kMostLookups) {
    // Each column's keys by their lowest y: the few near the segment's are found by halving.
    for (int64_t column = first; column <= last; ++column) {
      take(std::lower_bound(sorted_.begin(), sorted_.end(),
                            Key{n, column, fromY, -HUGE_VAL, INT_MIN}),
           column, true);
    }
  } else {
    take(std::lower_bound(sorted_.begin(), sorted_.end(),
                          Key{n, first, -HUGE_VAL, -HUGE_VAL, INT_MIN}),
         last, false);
  }
  for (const int entry : compareAlways_) {
    if (segments_[static_cast<size_t>(entry - 1)]->figures.size() == n) {
      candidates_.push_back(entry);
    }
  }
  std::sort(candidates_.begin(), candidates_.end());
  return candidates_;
}

}  // namespace twinfind
