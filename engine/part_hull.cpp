#include "engine/part_hull.h"

#include <algorithm>
#include <cmath>

#include "engine/geometry.h"

namespace twinfind {
namespace {

// Corners of the polygon drawn just outside a circle: a point of the curve lies inside it.
constexpr int kRoundCorners = 16;

double Cross(const VexPoint& o, const VexPoint& a, const VexPoint& b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The points of the polygon around the arc from angle `from` through `sweep` (radians,
// counter-clockwise) about the centre: its ends, and corners on the tangents between them.
void ArcPoints(double cx, double cy, double r, double from, double sweep,
               std::vector<VexPoint>& out) {
  const int steps = std::max(1, static_cast<int>(std::ceil(sweep / (2 * kPi / kRoundCorners))));
  const double step = sweep / steps;
  const double outer = r / std::cos(step / 2);  // the tangents at two samples meet there
  out.push_back({cx + r * std::cos(from), cy + r * std::sin(from)});
  for (int i = 0; i < steps; ++i) {
    const double middle = from + (i + 0.5) * step;
    out.push_back({cx + outer * std::cos(middle), cy + outer * std::sin(middle)});
  }
  out.push_back({cx + r * std::cos(from + sweep), cy + r * std::sin(from + sweep)});
}

}  // namespace

void BoundingPoints(const FigureRecord& f, std::vector<VexPoint>& out) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      out.push_back({f.u.line.x1, f.u.line.y1});
      out.push_back({f.u.line.x2, f.u.line.y2});
      break;
    case VEX_FIG_CIRCLE:
      ArcPoints(f.u.circle.cx, f.u.circle.cy, f.u.circle.r, 0, 2 * kPi, out);
      break;
    case VEX_FIG_ARC: {
      const FigureArc& a = f.u.arc;
      const double start = std::atan2(a.sy - a.cy, a.sx - a.cx);
      const double end = std::atan2(a.ey - a.cy, a.ex - a.cx);
      // Counter-clockwise from the start, or from the end for a clockwise arc.
      const bool ccw = a.direction != VEX_ARC_CW;
      const double from = ccw ? start : end;
      double sweep = (ccw ? end : start) - from;
      if (sweep <= 0) sweep += 2 * kPi;
      ArcPoints(a.cx, a.cy, a.r, from, sweep, out);
      break;
    }
    case VEX_FIG_POINT:
      out.push_back({f.u.point.x, f.u.point.y});
      break;
    case VEX_FIG_KIND4:
      out.push_back({f.u.kind4.x1, f.u.kind4.y1});
      out.push_back({f.u.kind4.x2, f.u.kind4.y2});
      break;
    case VEX_FIG_KIND5:
      out.push_back({f.u.kind5.x1, f.u.kind5.y1});
      out.push_back({f.u.kind5.x2, f.u.kind5.y2});
      out.push_back({f.u.kind5.x3, f.u.kind5.y3});
      break;
    default:
      break;
  }
}

void PartHull::Build(const std::vector<CopySource>& sources, double tolerance) {
  std::vector<VexPoint> points;
  for (const CopySource& s : sources) {
    for (const FigureRecord& f : s.figures.figures) BoundingPoints(f, points);
  }
  std::erase_if(points,
                [](const VexPoint& p) { return !std::isfinite(p.x) || !std::isfinite(p.y); });
  std::sort(points.begin(), points.end(), [](const VexPoint& a, const VexPoint& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
  });
  // Andrew's monotone chain.
  hull_.clear();
  if (points.size() >= 3) {
    std::vector<VexPoint> h(2 * points.size());
    size_t k = 0;
    for (const VexPoint& p : points) {
      while (k >= 2 && Cross(h[k - 2], h[k - 1], p) <= 0) --k;
      h[k++] = p;
    }
    for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
      while (k >= lower && Cross(h[k - 2], h[k - 1], points[i]) <= 0) --k;
      h[k++] = points[i];
    }
    h.resize(k - 1);
    hull_ = std::move(h);
  }
  if (hull_.size() < 3) {
    // A part along one line (or at one point): the thin rectangle around it.
    if (points.empty()) return;
    const VexPoint p = points.front(), q = points.back();
    const double length = std::hypot(q.x - p.x, q.y - p.y);
    const VexPoint d =
        length > 0 ? VexPoint{(q.x - p.x) / length, (q.y - p.y) / length} : VexPoint{1, 0};
    const VexPoint n{-d.y * tolerance, d.x * tolerance}, a{d.x * tolerance, d.y * tolerance};
    hull_ = {{p.x - a.x - n.x, p.y - a.y - n.y},
             {q.x + a.x - n.x, q.y + a.y - n.y},
             {q.x + a.x + n.x, q.y + a.y + n.y},
             {p.x - a.x + n.x, p.y - a.y + n.y}};
    return;
  }
  // Grown by the tolerance: each corner pushed out along the bisector of its edges' normals.
  std::vector<VexPoint> grown(hull_.size());
  for (size_t i = 0; i < hull_.size(); ++i) {
    const VexPoint& prev = hull_[(i + hull_.size() - 1) % hull_.size()];
    const VexPoint& here = hull_[i];
    const VexPoint& next = hull_[(i + 1) % hull_.size()];
    auto normal = [](const VexPoint& a, const VexPoint& b) {
      const double dx = b.x - a.x, dy = b.y - a.y, n = std::hypot(dx, dy);
      return VexPoint{dy / n, -dx / n};  // outwards of a counter-clockwise edge
    };
    const VexPoint n1 = normal(prev, here), n2 = normal(here, next);
    const double dot = n1.x * n2.x + n1.y * n2.y;
    const double scale = tolerance / std::max(1 + dot, 1e-3);  // the miter's reach
    grown[i] = {here.x + (n1.x + n2.x) * scale, here.y + (n1.y + n2.y) * scale};
  }
  hull_ = std::move(grown);
}

bool PartHull::Holds(const SegmentFigures& segment, const PlaneMap& motion) const {
  if (hull_.empty()) return true;
  const PlaneMap back = motion.Inverse();
  std::vector<VexPoint> points;
  for (const FigureRecord& f : segment.figures) BoundingPoints(PlaceFigure(f, back), points);
  for (const VexPoint& p : points) {
    for (size_t i = 0; i < hull_.size(); ++i) {
      if (Cross(hull_[i], hull_[(i + 1) % hull_.size()], p) < 0) return false;
    }
  }
  return !points.empty();
}

}  // namespace twinfind
