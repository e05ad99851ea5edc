#include "engine/trial_screen.h"

#include <algorithm>
#include <cmath>

#include "engine/host_lists.h"
#include "engine/shape_model.h"

namespace twinfind {
namespace {

constexpr size_t kMostCells = 64;

// Whether a segment's spread tells where it lies: each of its figures is a line, an arc or a
// circle, and any of them inside a box puts one of its spread's points there.
bool Placed(const SegmentFigures& s) {
  if (!s.ok || s.figures.empty() || !std::isfinite(s.spread.minX)) return false;
  return std::all_of(s.figures.begin(), s.figures.end(), [](const FigureRecord& f) {
    return f.kind == VEX_FIG_LINE || f.kind == VEX_FIG_ARC || f.kind == VEX_FIG_CIRCLE;
  });
}

bool Meets(const VexBox& a, const VexBox& b) {
  return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

bool Within(const VexBox& inner, const VexBox& outer) {
  return inner.minX >= outer.minX && inner.maxX <= outer.maxX && inner.minY >= outer.minY &&
         inner.maxY <= outer.maxY;
}

// Grown by far more than the host's own allowance for a segment's bounds at a window's edge.
VexBox Grown(const VexBox& b) {
  const double scale = std::max({std::fabs(b.minX), std::fabs(b.maxX), std::fabs(b.minY),
                                 std::fabs(b.maxY), 1.0});
  const double by = 1e-6 + 1e-9 * scale;
  return {b.minX - by, b.minY - by, b.maxX + by, b.maxY + by};
}

}  // namespace

void TrialScreen::Clear() {
  on_ = false;
  segments_.clear();
  cells_.clear();
  stamp_.clear();
  index_.Build(segments_, 0);
}

void TrialScreen::Prepare(const VexBox& reach, double windowReach, int list, double tolerance,
                          size_t capacity) {
  Clear();
  tolerance_ = tolerance;
  reach_ = reach;
  windowReach_ = windowReach;
  if (!(reach.minX <= reach.maxX && reach.minY <= reach.maxY) || !std::isfinite(windowReach)) {
    return;
  }
  ResetList(list);
  if (VexSgmSearchSegment4(&reach, CompareElementType, list) != 0) return;
  const int handle = VexIddOpenApIdData(list, 1);
  VexIdRecord record{};
  bool fits = true;
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    if (segments_.size() == capacity) {
      fits = false;
      break;
    }
    segments_.emplace_back();
    ReadSegmentFigures(RefOfRecord(record), segments_.back());
  }
  VexIddInitApIdData(handle);
  CloseList(handle);
  if (!fits) {
    segments_.clear();
    return;
  }
  index_.Build(segments_, segments_.size());
  BuildGrid();
  on_ = true;
}

void TrialScreen::BuildGrid() {
  placeless_ = 0;
  const double width = reach_.maxX - reach_.minX, height = reach_.maxY - reach_.minY;
  // About two segments a cell, and never more cells than that.
  const double cells = std::max<double>(1.0, static_cast<double>(segments_.size()) / 2.0);
  cell_ = std::max({std::sqrt(width * height / cells), width / cells, height / cells, 1e-9});
  nx_ = std::min<size_t>(static_cast<size_t>(width / cell_) + 1, static_cast<size_t>(cells) + 1);
  ny_ = std::min<size_t>(static_cast<size_t>(height / cell_) + 1, static_cast<size_t>(cells) + 1);
  cells_.assign(nx_ * ny_, {});
  stamp_.assign(segments_.size(), 0);
  query_ = 0;
  for (size_t i = 0; i < segments_.size(); ++i) {
    const SegmentFigures& s = segments_[i];
    if (!Placed(s)) {
      ++placeless_;
      continue;
    }
    const auto column = [&](double x) {
      return std::min(nx_ - 1, static_cast<size_t>(std::max(0.0, (x - reach_.minX) / cell_)));
    };
    const auto row = [&](double y) {
      return std::min(ny_ - 1, static_cast<size_t>(std::max(0.0, (y - reach_.minY) / cell_)));
    };
    const size_t x0 = column(s.spread.minX), x1 = column(s.spread.maxX);
    const size_t y0 = row(s.spread.minY), y1 = row(s.spread.maxY);
    // A segment spread over many cells (a long line across the range) counts in every window
    // rather than fill them all.
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMostCells) {
      ++placeless_;
      continue;
    }
    for (size_t y = y0; y <= y1; ++y) {
      for (size_t x = x0; x <= x1; ++x) {
        cells_[y * nx_ + x].push_back(static_cast<int>(i));
      }
    }
  }
}

bool TrialScreen::MayOverflow(const VexBox& window, int capacity) {
  if (static_cast<long>(segments_.size()) <= capacity) return false;
  int count = placeless_;
  if (count > capacity) return true;
  const VexBox w = Grown(window);
  const auto clampedCell = [&](double v, double low, size_t n) {
    return std::min(n - 1, static_cast<size_t>(std::max(0.0, (v - low) / cell_)));
  };
  ++query_;
  for (size_t y = clampedCell(w.minY, reach_.minY, ny_); y <= clampedCell(w.maxY, reach_.minY, ny_);
       ++y) {
    for (size_t x = clampedCell(w.minX, reach_.minX, nx_);
         x <= clampedCell(w.maxX, reach_.minX, nx_); ++x) {
      for (const int i : cells_[y * nx_ + x]) {
        if (stamp_[static_cast<size_t>(i)] == query_) continue;
        stamp_[static_cast<size_t>(i)] = query_;
        if (Meets(segments_[static_cast<size_t>(i)].spread, w) && ++count > capacity) return true;
      }
    }
  }
  return false;
}

bool TrialScreen::MayFit(VexPoint start, const std::vector<CopySource>& sources,
                         const std::vector<size_t>& order, const CopyPlacement& first,
                         const CopyPlacement* then, int counted, int windowCapacity) {
  const VexBox window{start.x - windowReach_, start.y - windowReach_, start.x + windowReach_,
                      start.y + windowReach_};
  if (!on_ || !Within(Grown(window), reach_)) return true;
  int partnered = 0;
  for (size_t k = 0; k < order.size(); ++k) {
    // Enough copy segments found a partner, or too few are left to reach the count.
    if (partnered >= counted || partnered + static_cast<int>(order.size() - k) < counted) break;
    PlaceSegment(sources[order[k]], first, then, placed_);
    for (const int entry : index_.MayCoincide(placed_, tolerance_)) {
      if (SegmentsCoincide(placed_, segments_[static_cast<size_t>(entry - 1)], tolerance_)) {
        ++partnered;
        break;
      }
    }
  }
  if (partnered >= counted) return true;
  return MayOverflow(window, windowCapacity);
}

}  // namespace twinfind
