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
  const double scale =
      std::max({std::fabs(b.minX), std::fabs(b.maxX), std::fabs(b.minY), std::fabs(b.maxY), 1.0});
  const double by = 1e-6 + 1e-9 * scale;
  return {b.minX - by, b.minY - by, b.maxX + by, b.maxY + by};
}

}  // namespace

void TrialScreen::Clear() {
  on_ = false;
  segments_.clear();
  own_.clear();
  cellFrom_.clear();
  inCells_.clear();
  areaSum_.clear();
  stamp_.clear();
  index_.Build({});
}

void TrialScreen::Prepare(const std::vector<SegmentRef>& range, double grow, double windowReach,
                          int list, double tolerance, size_t capacity) {
  Clear();
  tolerance_ = tolerance;
  windowReach_ = windowReach;
  if (range.size() > capacity) return;
  // The range first: its spreads give the reach, and it is not read again when met around it.
  VexBox spread{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  std::vector<std::pair<int, size_t>> bySegment;  // (segment id, place in own_), sorted
  for (const SegmentRef& ref : range) {
    own_.emplace_back();
    SegmentFigures& read = own_.back();
    ReadSegmentFigures(ref, read);
    bySegment.push_back({ref.segmentId, own_.size() - 1});
    if (read.figures.empty() || !std::isfinite(read.spread.minX)) continue;
    spread = {std::min(spread.minX, read.spread.minX), std::min(spread.minY, read.spread.minY),
              std::max(spread.maxX, read.spread.maxX), std::max(spread.maxY, read.spread.maxY)};
  }
  std::sort(bySegment.begin(), bySegment.end());
  reach_ = {spread.minX - grow, spread.minY - grow, spread.maxX + grow, spread.maxY + grow};
  if (!(reach_.minX <= reach_.maxX && reach_.minY <= reach_.maxY) || !std::isfinite(windowReach)) {
    Clear();
    return;
  }
  ResetList(list);
  if (VexSgmSearchSegment4(&reach_, CompareElementType, list) != 0) {
    Clear();
    return;
  }
  const int handle = VexIddOpenApIdData(list, 1);
  VexIdRecord record{};
  bool fits = true;
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    if (segments_.size() == capacity) {
      fits = false;
      break;
    }
    const SegmentRef ref = RefOfRecord(record);
    const SegmentFigures* read = nullptr;
    auto it = std::lower_bound(bySegment.begin(), bySegment.end(),
                               std::make_pair(ref.segmentId, size_t{0}));
    for (; it != bySegment.end() && it->first == ref.segmentId && !read; ++it) {
      if (own_[it->second].ref == ref) read = &own_[it->second];
    }
    if (read == nullptr) {
      own_.emplace_back();
      ReadSegmentFigures(ref, own_.back());
      read = &own_.back();
    }
    segments_.push_back(read);
  }
  VexIddInitApIdData(handle);
  CloseList(handle);
  if (!fits) {
    Clear();
    return;
  }
  index_.Build(segments_);
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
  stamp_.assign(segments_.size(), 0);
  query_ = 0;
  // The cells each segment's spread meets, as (first column, last column, first row, last
  // row); a segment whose place its spread cannot tell, or spread over many cells (a long line
  // across the range), counts in every window instead.
  struct Span {
    size_t x0, x1, y0, y1;
  };
  std::vector<Span> spans(segments_.size(), Span{1, 0, 1, 0});
  cellFrom_.assign(nx_ * ny_ + 1, 0);
  for (size_t i = 0; i < segments_.size(); ++i) {
    const SegmentFigures& s = *segments_[i];
    const Span span{Cell(s.spread.minX, reach_.minX, nx_), Cell(s.spread.maxX, reach_.minX, nx_),
                    Cell(s.spread.minY, reach_.minY, ny_), Cell(s.spread.maxY, reach_.minY, ny_)};
    if (!Placed(s) || (span.x1 - span.x0 + 1) * (span.y1 - span.y0 + 1) > kMostCells) {
      ++placeless_;
      continue;
    }
    spans[i] = span;
    for (size_t y = span.y0; y <= span.y1; ++y) {
      for (size_t x = span.x0; x <= span.x1; ++x) ++cellFrom_[y * nx_ + x + 1];
    }
  }
  areaSum_.assign((nx_ + 1) * (ny_ + 1), 0);
  for (size_t y = 0; y < ny_; ++y) {
    for (size_t x = 0; x < nx_; ++x) {
      areaSum_[(y + 1) * (nx_ + 1) + x + 1] =
          cellFrom_[y * nx_ + x + 1] + areaSum_[y * (nx_ + 1) + x + 1] +
          areaSum_[(y + 1) * (nx_ + 1) + x] - areaSum_[y * (nx_ + 1) + x];
    }
  }
  for (size_t k = 1; k < cellFrom_.size(); ++k) cellFrom_[k] += cellFrom_[k - 1];
  inCells_.resize(cellFrom_.back());
  std::vector<size_t> next(cellFrom_.begin(), cellFrom_.end() - 1);
  for (size_t i = 0; i < segments_.size(); ++i) {
    const Span& span = spans[i];
    for (size_t y = span.y0; y <= span.y1 && span.x0 <= span.x1; ++y) {
      for (size_t x = span.x0; x <= span.x1; ++x)
        inCells_[next[y * nx_ + x]++] = static_cast<int>(i);
    }
  }
}

size_t TrialScreen::Cell(double v, double low, size_t n) const {
  const double at = (v - low) / cell_;
  if (!(at > 0)) return 0;
  return std::min(n - 1, static_cast<size_t>(std::min(at, 1e15)));
}

bool TrialScreen::MayOverflow(const VexBox& window, int capacity) {
  if (static_cast<long>(segments_.size()) <= capacity) return false;
  int count = placeless_;
  if (count > capacity) return true;
  const VexBox w = Grown(window);
  const size_t x0 = Cell(w.minX, reach_.minX, nx_), x1 = Cell(w.maxX, reach_.minX, nx_);
  const size_t y0 = Cell(w.minY, reach_.minY, ny_), y1 = Cell(w.maxY, reach_.minY, ny_);
  // Every entry of the window's cells, a segment counted once for each cell it meets: when even
  // that is within the capacity, so is the window.
  const size_t row = nx_ + 1;
  const size_t entries = areaSum_[(y1 + 1) * row + x1 + 1] - areaSum_[y0 * row + x1 + 1] -
                         areaSum_[(y1 + 1) * row + x0] + areaSum_[y0 * row + x0];
  if (static_cast<size_t>(count) + entries <= static_cast<size_t>(capacity)) return false;
  ++query_;
  for (size_t y = y0; y <= y1; ++y) {
    for (size_t x = x0; x <= x1; ++x) {
      const size_t k = y * nx_ + x;
      for (size_t j = cellFrom_[k]; j < cellFrom_[k + 1]; ++j) {
        const size_t i = static_cast<size_t>(inCells_[j]);
        if (stamp_[i] == query_) continue;
        stamp_[i] = query_;
        if (Meets(segments_[i]->spread, w) && ++count > capacity) return true;
      }
    }
  }
  return false;
}

bool TrialScreen::MayFit(VexPoint start, const std::vector<CopySource>& sources,
                         const std::vector<size_t>& order, const PlaneMap& first,
                         const PlaneMap* then, int counted, int windowCapacity,
                         const std::vector<double>& slack) {
  const VexBox window{start.x - windowReach_, start.y - windowReach_, start.x + windowReach_,
                      start.y + windowReach_};
  if (!on_ || !Within(Grown(window), reach_)) return true;
  int partnered = 0;
  for (size_t k = 0; k < order.size(); ++k) {
    // Enough copy segments found a partner, or too few are left to reach the count.
    if (partnered >= counted || partnered + static_cast<int>(order.size() - k) < counted) break;
    PlaceSegment(sources[order[k]], first, then, placed_);
    const double tolerance = tolerance_ + (order[k] < slack.size() ? slack[order[k]] : 0.0);
    for (const int entry : index_.MayCoincide(placed_, tolerance)) {
      if (SegmentsCoincide(placed_, *segments_[static_cast<size_t>(entry - 1)], tolerance)) {
        ++partnered;
        break;
      }
    }
  }
  if (partnered >= counted) return true;
  return MayOverflow(window, windowCapacity);
}

}  // namespace twinfind
