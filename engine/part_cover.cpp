#include "engine/part_cover.h"

#include <algorithm>
#include <cmath>

#include "engine/geometry.h"

namespace twinfind {
namespace {

// Points spread over the ground: the centres of this many cells a side over the hull's box.
constexpr int kCellsAcross = 24;

double Cross(VexPoint a, VexPoint b, VexPoint p) {
  return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// Whether the angle `t` lies on the counter-clockwise sweep from `from` to `to`.
bool OnSweep(double t, double from, double to) {
  const auto norm = [](double v) { return v - 2 * kPi * std::floor(v / (2 * kPi)); };
  return norm(t - from) <= norm(to - from);
}

// How many times the figure crosses the ray from p towards +x (a line counted where it spans
// p's height, its lower end in, its upper end out, so that a joint is counted once).
int Crossings(const FigureRecord& f, VexPoint p) {
  if (f.kind == VEX_FIG_LINE) {
    const auto& l = f.u.line;
    if ((l.y1 > p.y) == (l.y2 > p.y)) return 0;
    const double x = l.x1 + (p.y - l.y1) * (l.x2 - l.x1) / (l.y2 - l.y1);
    return x > p.x ? 1 : 0;
  }
  double cx, cy, r;
  if (f.kind == VEX_FIG_CIRCLE) {
    cx = f.u.circle.cx, cy = f.u.circle.cy, r = f.u.circle.r;
  } else if (f.kind == VEX_FIG_ARC) {
    cx = f.u.arc.cx, cy = f.u.arc.cy, r = f.u.arc.r;
  } else {
    return 0;
  }
  const double h = p.y - cy;
  if (!(std::fabs(h) < r)) return 0;
  const double w = std::sqrt(r * r - h * h);
  int count = 0;
  for (const double x : {cx - w, cx + w}) {
    if (x <= p.x) continue;
    if (f.kind == VEX_FIG_CIRCLE) {
      ++count;
      continue;
    }
    const auto& a = f.u.arc;
    double from = std::atan2(a.sy - cy, a.sx - cx), to = std::atan2(a.ey - cy, a.ex - cx);
    if (a.direction == VEX_ARC_CW) std::swap(from, to);
    if (OnSweep(std::atan2(h, x - cx), from, to)) ++count;
  }
  return count;
}

}  // namespace

PartCover::PartCover(std::vector<VexPoint> hull, std::vector<FigureRecord> outlines)
    : hull_(std::move(hull)), outlines_(std::move(outlines)) {}

// Spread once, when first weighed: most searches never find two twins sharing a segment.
const std::vector<VexPoint>& PartCover::Samples() const {
  if (samples_) return *samples_;
  samples_.emplace();
  if (hull_.size() < 3) return *samples_;
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  for (const VexPoint& p : hull_) {
    minX = std::min(minX, p.x), minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
  }
  const double dx = (maxX - minX) / kCellsAcross, dy = (maxY - minY) / kCellsAcross;
  for (int i = 0; i < kCellsAcross; ++i) {
    for (int j = 0; j < kCellsAcross; ++j) {
      const VexPoint p{minX + (i + 0.5) * dx, minY + (j + 0.5) * dy};
      if (Holds(p)) samples_->push_back(p);
    }
  }
  return *samples_;
}

bool PartCover::Holds(VexPoint p) const {
  for (size_t i = 0; i < hull_.size(); ++i) {
    if (Cross(hull_[i], hull_[(i + 1) % hull_.size()], p) < 0) return false;
  }
  if (outlines_.empty()) return !hull_.empty();
  int crossings = 0;
  for (const FigureRecord& f : outlines_) crossings += Crossings(f, p);
  return crossings % 2 == 1;
}

double PartCover::SharedShare(const PlaneMap& a, const PlaneMap& b) const {
  const std::vector<VexPoint>& samples = Samples();
  if (samples.empty()) return 1;
  const PlaneMap back = b.Inverse();
  size_t shared = 0;
  for (const VexPoint& s : samples) {
    const VexPoint p = a.Apply(s.x, s.y);
    if (Holds(back.Apply(p.x, p.y))) ++shared;
  }
  return static_cast<double>(shared) / static_cast<double>(samples.size());
}

}  // namespace twinfind
