#include "engine/trial_screen.h"

#include <algorithm>
#include <cmath>

#include "engine/drawing_read.h"
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
  ground_.reset();
  stamp_.clear();
}

std::shared_ptr<TrialScreen::Ground> TrialScreen::HeldGround(int list) {
  std::shared_ptr<void>& built = HeldBuilt();
  if (built) return std::static_pointer_cast<Ground>(built);
  const std::vector<const SegmentFigures*>* whole = HeldWholeDrawing(list);
  if (whole == nullptr) return nullptr;
  auto ground = std::make_shared<Ground>();
  ground->whole = true;
  ground->segments = *whole;
  VexBox spread{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (const SegmentFigures* read : ground->segments) {
    if (read->figures.empty() || !std::isfinite(read->spread.minX)) continue;
    spread = {std::min(spread.minX, read->spread.minX), std::min(spread.minY, read->spread.minY),
              std::max(spread.maxX, read->spread.maxX), std::max(spread.maxY, read->spread.maxY)};
  }
  if (!(spread.minX <= spread.maxX && spread.minY <= spread.maxY)) spread = {0, 0, 0, 0};
  ground->reach = spread;
  ground->index.Build(ground->segments);
  ground->BuildGrid();
  built = ground;
  return ground;
}

void TrialScreen::Prepare(const std::vector<SegmentRef>& range, double grow, double windowReach,
                          int list, double tolerance, size_t capacity) {
  Clear();
  tolerance_ = tolerance;
  windowReach_ = windowReach;
  if (!std::isfinite(windowReach)) return;
  if (DrawingReadHeld()) {
    ground_ = HeldGround(list);
    if (ground_) {
      stamp_.assign(ground_->segments.size(), 0);
      query_ = 0;
      on_ = true;
    }
    return;
  }
  if (range.size() > capacity) return;
  auto ground = std::make_shared<Ground>();
  // The range first: its spreads give the reach, and it is not read again when met around it.
  VexBox spread{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  std::vector<std::pair<int, size_t>> bySegment;  // (segment id, place in own), sorted
  for (const SegmentRef& ref : range) {
    ground->own.emplace_back();
    SegmentFigures& read = ground->own.back();
    ReadSegmentFigures(ref, read);
    bySegment.push_back({ref.segmentId, ground->own.size() - 1});
    if (read.figures.empty() || !std::isfinite(read.spread.minX)) continue;
    spread = {std::min(spread.minX, read.spread.minX), std::min(spread.minY, read.spread.minY),
              std::max(spread.maxX, read.spread.maxX), std::max(spread.maxY, read.spread.maxY)};
  }
  std::sort(bySegment.begin(), bySegment.end());
  ground->reach = {spread.minX - grow, spread.minY - grow, spread.maxX + grow, spread.maxY + grow};
  const VexBox& reach = ground->reach;
  if (!(reach.minX <= reach.maxX && reach.minY <= reach.maxY)) return;
  ResetList(list);
  if (VexSgmSearchSegment4(&ground->reach, CompareElementType, list) != 0) return;
  const int handle = VexIddOpenApIdData(list, 1);
  VexIdRecord record{};
  bool fits = true;
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    if (ground->segments.size() == capacity) {
      fits = false;
      break;
    }
    const SegmentRef ref = RefOfRecord(record);
    const SegmentFigures* read = nullptr;
    auto it = std::lower_bound(bySegment.begin(), bySegment.end(),
                               std::make_pair(ref.segmentId, size_t{0}));
    for (; it != bySegment.end() && it->first == ref.segmentId && !read; ++it) {
      if (ground->own[it->second].ref == ref) read = &ground->own[it->second];
    }
    if (read == nullptr) {
      ground->own.emplace_back();
      ReadSegmentFigures(ref, ground->own.back());
      read = &ground->own.back();
    }
    ground->segments.push_back(read);
  }
  VexIddInitApIdData(handle);
  CloseList(handle);
  if (!fits) return;
  ground->index.Build(ground->segments);
  ground->BuildGrid();
  ground_ = std::move(ground);
  stamp_.assign(ground_->segments.size(), 0);
  query_ = 0;
  on_ = true;
}

void TrialScreen::Ground::BuildGrid() {
  placeless = 0;
  const double width = reach.maxX - reach.minX, height = reach.maxY - reach.minY;
  // About two segments a cell, and never more cells than that.
  const double cells = std::max<double>(1.0, static_cast<double>(segments.size()) / 2.0);
  cell = std::max({std::sqrt(width * height / cells), width / cells, height / cells, 1e-9});
  nx = std::min<size_t>(static_cast<size_t>(width / cell) + 1, static_cast<size_t>(cells) + 1);
  ny = std::min<size_t>(static_cast<size_t>(height / cell) + 1, static_cast<size_t>(cells) + 1);
  // The cells each segment's spread meets, as (first column, last column, first row, last
  // row); a segment whose place its spread cannot tell, or spread over many cells (a long line
  // across the range), counts in every window instead.
  struct Span {
    size_t x0, x1, y0, y1;
  };
  std::vector<Span> spans(segments.size(), Span{1, 0, 1, 0});
  cellFrom.assign(nx * ny + 1, 0);
  for (size_t i = 0; i < segments.size(); ++i) {
    const SegmentFigures& s = *segments[i];
    const Span span{Cell(s.spread.minX, reach.minX, nx), Cell(s.spread.maxX, reach.minX, nx),
                    Cell(s.spread.minY, reach.minY, ny), Cell(s.spread.maxY, reach.minY, ny)};
    if (!Placed(s) || (span.x1 - span.x0 + 1) * (span.y1 - span.y0 + 1) > kMostCells) {
      ++placeless;
      continue;
    }
    spans[i] = span;
    for (size_t y = span.y0; y <= span.y1; ++y) {
      for (size_t x = span.x0; x <= span.x1; ++x) ++cellFrom[y * nx + x + 1];
    }
  }
  areaSum.assign((nx + 1) * (ny + 1), 0);
  for (size_t y = 0; y < ny; ++y) {
    for (size_t x = 0; x < nx; ++x) {
      areaSum[(y + 1) * (nx + 1) + x + 1] =
          cellFrom[y * nx + x + 1] + areaSum[y * (nx + 1) + x + 1] +
          areaSum[(y + 1) * (nx + 1) + x] - areaSum[y * (nx + 1) + x];
    }
  }
  for (size_t k = 1; k < cellFrom.size(); ++k) cellFrom[k] += cellFrom[k - 1];
  inCells.resize(cellFrom.back());
  std::vector<size_t> next(cellFrom.begin(), cellFrom.end() - 1);
  for (size_t i = 0; i < segments.size(); ++i) {
    const Span& span = spans[i];
    for (size_t y = span.y0; y <= span.y1 && span.x0 <= span.x1; ++y) {
      for (size_t x = span.x0; x <= span.x1; ++x) inCells[next[y * nx + x]++] = static_cast<int>(i);
    }
  }
}

size_t TrialScreen::Ground::Cell(double v, double low, size_t n) const {
  const double at = (v - low) / cell;
  if (!(at > 0)) return 0;
  return std::min(n - 1, static_cast<size_t>(std::min(at, 1e15)));
}

bool TrialScreen::MayOverflow(const VexBox& window, int capacity) {
  const Ground& g = *ground_;
  if (static_cast<long>(g.segments.size()) <= capacity) return false;
  int count = g.placeless;
  if (count > capacity) return true;
  const VexBox w = Grown(window);
  const size_t x0 = g.Cell(w.minX, g.reach.minX, g.nx), x1 = g.Cell(w.maxX, g.reach.minX, g.nx);
  const size_t y0 = g.Cell(w.minY, g.reach.minY, g.ny), y1 = g.Cell(w.maxY, g.reach.minY, g.ny);
  // Every entry of the window's cells, a segment counted once for each cell it meets: when even
  // that is within the capacity, so is the window.
  const size_t row = g.nx + 1;
  const size_t entries = g.areaSum[(y1 + 1) * row + x1 + 1] - g.areaSum[y0 * row + x1 + 1] -
                         g.areaSum[(y1 + 1) * row + x0] + g.areaSum[y0 * row + x0];
  if (static_cast<size_t>(count) + entries <= static_cast<size_t>(capacity)) return false;
  ++query_;
  for (size_t y = y0; y <= y1; ++y) {
    for (size_t x = x0; x <= x1; ++x) {
      const size_t k = y * g.nx + x;
      for (size_t j = g.cellFrom[k]; j < g.cellFrom[k + 1]; ++j) {
        const size_t i = static_cast<size_t>(g.inCells[j]);
        if (stamp_[i] == query_) continue;
        stamp_[i] = query_;
        if (Meets(g.segments[i]->spread, w) && ++count > capacity) return true;
      }
    }
  }
  return false;
}

bool TrialScreen::MayFit(VexPoint start, const std::vector<CopySource>& sources,
                         const std::vector<size_t>& order, const PlaneMap& first,
                         const PlaneMap* then, int counted, int windowCapacity,
                         const std::vector<double>& slack) {
  if (!on_) return true;
  const VexBox window{start.x - windowReach_, start.y - windowReach_, start.x + windowReach_,
                      start.y + windowReach_};
  // Around one range, only a window within what was read is screened; the whole drawing holds
  // every window's segments.
  if (!ground_->whole && !Within(Grown(window), ground_->reach)) return true;
  int partnered = 0;
  for (size_t k = 0; k < order.size(); ++k) {
    // Enough copy segments found a partner, or too few are left to reach the count.
    if (partnered >= counted || partnered + static_cast<int>(order.size() - k) < counted) break;
    PlaceSegment(sources[order[k]], first, then, placed_);
    const double tolerance = tolerance_ + (order[k] < slack.size() ? slack[order[k]] : 0.0);
    for (const int entry : ground_->index.MayCoincide(placed_, tolerance)) {
      if (SegmentsCoincide(placed_, *ground_->segments[static_cast<size_t>(entry - 1)],
                           tolerance)) {
        ++partnered;
        break;
      }
    }
  }
  if (partnered >= counted) return true;
  return MayOverflow(window, windowCapacity);
}

}  // namespace twinfind
