#include "engine/coincidence_index.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace twinfind {
namespace {

// Up to this many segments, looking through all of them is cheaper than sorting them.
constexpr size_t kFewSegments = 8;

bool KeyBefore(size_t countA, double minXA, int entryA, size_t countB, double minXB, int entryB) {
  if (countA != countB) return countA < countB;
  if (minXA != minXB) return minXA < minXB;
  return entryA < entryB;
}

}  // namespace

void CoincidenceIndex::Build(const std::vector<const SegmentFigures*>& segments) {
  segments_.assign(segments.begin(), segments.end());
  sorted_.clear();
  compareAlways_.clear();
  if (segments_.size() <= kFewSegments) return;
  for (size_t i = 0; i < segments_.size(); ++i) {
    const SegmentFigures& read = *segments_[i];
    const int entry = static_cast<int>(i) + 1;
    if (!read.ok) continue;  // never coincides with anything
    if (read.hasHole || !std::isfinite(read.spread.minX)) {
      compareAlways_.push_back(entry);
    } else {
      sorted_.push_back({read.figures.size(), read.spread.minX, entry});
    }
  }
  std::sort(sorted_.begin(), sorted_.end(), [](const Key& a, const Key& b) {
    return KeyBefore(a.figureCount, a.minX, a.entry, b.figureCount, b.minX, b.entry);
  });
}

const std::vector<int>& CoincidenceIndex::MayCoincide(const SegmentFigures& figures,
                                                      double tolerance) {
  candidates_.clear();
  if (!figures.ok) return candidates_;
  const size_t n = figures.figures.size();
  // The spreads of coinciding segments differ by less than the tolerance; the bounds are
  // taken twice as wide so that rounding here never drops one, and the comparison decides.
  const bool anyPlace = figures.hasHole || !std::isfinite(figures.spread.minX);
  const double from = anyPlace ? -HUGE_VAL : figures.spread.minX - 2 * tolerance;
  const double to = anyPlace ? HUGE_VAL : figures.spread.minX + 2 * tolerance;
  if (segments_.size() <= kFewSegments) {
    for (size_t i = 0; i < segments_.size(); ++i) {
      const SegmentFigures& s = *segments_[i];
      if (!s.ok || s.figures.size() != n) continue;
      const bool aside = s.hasHole || !std::isfinite(s.spread.minX);
      if (aside || (s.spread.minX >= from && s.spread.minX <= to)) {
        candidates_.push_back(static_cast<int>(i) + 1);
      }
    }
    return candidates_;
  }
  auto it = std::lower_bound(sorted_.begin(), sorted_.end(), from, [n](const Key& k, double x) {
    return KeyBefore(k.figureCount, k.minX, k.entry, n, x, INT_MIN);
  });
  for (; it != sorted_.end() && it->figureCount == n && it->minX <= to; ++it) {
    candidates_.push_back(it->entry);
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
