#include "engine/coincidence_index.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace twinfind {
namespace {

bool KeyBefore(size_t countA, double minXA, int entryA, size_t countB, double minXB, int entryB) {
  if (countA != countB) return countA < countB;
  if (minXA != minXB) return minXA < minXB;
  return entryA < entryB;
}

}  // namespace

void CoincidenceIndex::Build(std::vector<const SegmentFigures*> segments) {
  segments_ = std::move(segments);
  sorted_.clear();
  compareAlways_.clear();
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
