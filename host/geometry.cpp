#include "host/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace vexhost {
namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

VexBox EmptyBox() { return {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL}; }

bool IsEmpty(const VexBox& box) { return box.minX > box.maxX || box.minY > box.maxY; }

void Include(VexBox& box, double x, double y) {
  box.minX = std::min(box.minX, x);
  box.minY = std::min(box.minY, y);
  box.maxX = std::max(box.maxX, x);
  box.maxY = std::max(box.maxY, y);
}

void Include(VexBox& box, const VexBox& other) {
  if (IsEmpty(other)) return;
  Include(box, other.minX, other.minY);
  Include(box, other.maxX, other.maxY);
}

bool Contains(const VexBox& outer, const VexBox& inner) {
  return inner.minX >= outer.minX && inner.maxX <= outer.maxX && inner.minY >= outer.minY &&
         inner.maxY <= outer.maxY;
}

bool Overlaps(const VexBox& a, const VexBox& b) {
  return a.minX <= b.maxX && b.minX <= a.maxX && a.minY <= b.maxY && b.minY <= a.maxY;
}

bool WithinLimit(double value) {
  return std::isfinite(value) && std::fabs(value) <= kCoordinateLimit;
}

bool WithinLimit(double x, double y) { return WithinLimit(x) && WithinLimit(y); }

bool FigureWithinLimit(const FigureRecord& f) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      return WithinLimit(f.u.line.x1, f.u.line.y1) && WithinLimit(f.u.line.x2, f.u.line.y2);
    case VEX_FIG_CIRCLE:
      return WithinLimit(f.u.circle.cx, f.u.circle.cy) && WithinLimit(f.u.circle.r);
    case VEX_FIG_ARC:
      return WithinLimit(f.u.arc.cx, f.u.arc.cy) && WithinLimit(f.u.arc.sx, f.u.arc.sy) &&
             WithinLimit(f.u.arc.ex, f.u.arc.ey) && WithinLimit(f.u.arc.r);
    case VEX_FIG_KIND4:
      return WithinLimit(f.u.kind4.x1, f.u.kind4.y1) && WithinLimit(f.u.kind4.x2, f.u.kind4.y2);
    case VEX_FIG_KIND5:
      return WithinLimit(f.u.kind5.x1, f.u.kind5.y1) && WithinLimit(f.u.kind5.x2, f.u.kind5.y2) &&
             WithinLimit(f.u.kind5.x3, f.u.kind5.y3);
    case VEX_FIG_POINT:
      return WithinLimit(f.u.point.x, f.u.point.y);
    default:
      return true;
  }
}

double AngleOf(double x, double y) {
  double a = std::atan2(y, x);
  if (a < 0) a += kTwoPi;
  if (a >= kTwoPi) a -= kTwoPi;
  return a;
}

ArcSweep SweepOf(const FigureArc& arc) {
  const double start = AngleOf(arc.sx - arc.cx, arc.sy - arc.cy);
  const double end = AngleOf(arc.ex - arc.cx, arc.ey - arc.cy);
  // A clockwise arc from S to E covers what a counter-clockwise arc from E to S covers.
  const double from = arc.direction == VEX_ARC_CW ? end : start;
  const double to = arc.direction == VEX_ARC_CW ? start : end;
  double sweep = to - from;
  if (sweep <= 0) sweep += kTwoPi;
  return {from, sweep};
}

bool SweepContains(const ArcSweep& sweep, double angle, double tolerance) {
  double offset = angle - sweep.from;
  while (offset < -tolerance) offset += kTwoPi;
  while (offset >= kTwoPi - tolerance) offset -= kTwoPi;
  return offset >= -tolerance && offset <= sweep.sweep + tolerance;
}

std::optional<VexBox> FigureBounds(const FigureRecord& f) {
  VexBox box = EmptyBox();
  switch (f.kind) {
    case VEX_FIG_LINE:
      Include(box, f.u.line.x1, f.u.line.y1);
      Include(box, f.u.line.x2, f.u.line.y2);
      return box;
    case VEX_FIG_CIRCLE: {
      const auto& c = f.u.circle;
      const double r = std::fabs(c.r);
      return VexBox{c.cx - r, c.cy - r, c.cx + r, c.cy + r};
    }
    case VEX_FIG_ARC: {
      const auto& a = f.u.arc;
      Include(box, a.sx, a.sy);
      Include(box, a.ex, a.ey);
      const ArcSweep sweep = SweepOf(a);
      const double r = std::fabs(a.r);
      const double quadrant[4][3] = {{0.0, a.cx + r, a.cy},
                                     {0.5 * std::numbers::pi, a.cx, a.cy + r},
                                     {std::numbers::pi, a.cx - r, a.cy},
                                     {1.5 * std::numbers::pi, a.cx, a.cy - r}};
      for (const auto& q : quadrant) {
        if (SweepContains(sweep, q[0], 0.0)) Include(box, q[1], q[2]);
      }
      return box;
    }
    case VEX_FIG_KIND4:
      Include(box, f.u.kind4.x1, f.u.kind4.y1);
      Include(box, f.u.kind4.x2, f.u.kind4.y2);
      return box;
    case VEX_FIG_KIND5:
      Include(box, f.u.kind5.x1, f.u.kind5.y1);
      Include(box, f.u.kind5.x2, f.u.kind5.y2);
      Include(box, f.u.kind5.x3, f.u.kind5.y3);
      return box;
    case VEX_FIG_POINT:
      Include(box, f.u.point.x, f.u.point.y);
      return box;
    default:
      return std::nullopt;
  }
}

double Distance(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }

namespace {

double PointSegmentDistance(double px, double py, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - x1) * dx + (py - y1) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return Distance(px, py, x1 + t * dx, y1 + t * dy);
}

bool InBox(const VexBox& b, double x, double y, double tol) {
  return x >= b.minX - tol && x <= b.maxX + tol && y >= b.minY - tol && y <= b.maxY + tol;
}

// Does the segment (x1,y1)-(x2,y2) meet the closed box? Liang-Barsky clipping.
bool SegmentMeetsBox(double x1, double y1, double x2, double y2, const VexBox& b, double tol) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - (b.minX - tol), (b.maxX + tol) - x1, y1 - (b.minY - tol),
                       (b.maxY + tol) - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
    } else {
      const double t = q[i] / p[i];
      if (p[i] < 0.0) {
        t0 = std::max(t0, t);
      } else {
        t1 = std::min(t1, t);
      }
      if (t0 > t1) return false;
    }
  }
  return true;
}

// The points where the circle meets the box's four edges.
std::vector<std::pair<double, double>> CircleEdgePoints(double cx, double cy, double r,
                                                        const VexBox& b, double tol) {
  std::vector<std::pair<double, double>> points;
  for (const double x : {b.minX, b.maxX}) {
    const double h = r * r - (x - cx) * (x - cx);
    if (h < 0) continue;
    for (const double y : {cy - std::sqrt(h), cy + std::sqrt(h)}) {
      if (y >= b.minY - tol && y <= b.maxY + tol) points.emplace_back(x, y);
    }
  }
  for (const double y : {b.minY, b.maxY}) {
    const double h = r * r - (y - cy) * (y - cy);
    if (h < 0) continue;
    for (const double x : {cx - std::sqrt(h), cx + std::sqrt(h)}) {
      if (x >= b.minX - tol && x <= b.maxX + tol) points.emplace_back(x, y);
    }
  }
  return points;
}

// The circle curve meets the closed box when the box comes within r of the centre but does not
// lie wholly inside the circle.
bool CircleMeetsBox(double cx, double cy, double r, const VexBox& b, double tol) {
  const double nx = std::clamp(cx, b.minX, b.maxX), ny = std::clamp(cy, b.minY, b.maxY);
  const double nearest = Distance(cx, cy, nx, ny);
  const double fx = std::max(std::fabs(cx - b.minX), std::fabs(cx - b.maxX));
  const double fy = std::max(std::fabs(cy - b.minY), std::fabs(cy - b.maxY));
  const double farthest = std::hypot(fx, fy);
  return nearest <= r + tol && farthest >= r - tol;
}

}  // namespace

std::optional<double> DistanceToFigure(const FigureRecord& f, double x, double y) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      return PointSegmentDistance(x, y, f.u.line.x1, f.u.line.y1, f.u.line.x2, f.u.line.y2);
    case VEX_FIG_CIRCLE:
      return std::fabs(Distance(x, y, f.u.circle.cx, f.u.circle.cy) - std::fabs(f.u.circle.r));
    case VEX_FIG_ARC: {
      const auto& a = f.u.arc;
      if (x != a.cx || y != a.cy) {
        if (SweepContains(SweepOf(a), AngleOf(x - a.cx, y - a.cy), 0.0)) {
          return std::fabs(Distance(x, y, a.cx, a.cy) - std::fabs(a.r));
        }
      }
      return std::min(Distance(x, y, a.sx, a.sy), Distance(x, y, a.ex, a.ey));
    }
    default:
      return std::nullopt;
  }
}

bool FigureTouches(const FigureRecord& f, const VexBox& area, double tol) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      return SegmentMeetsBox(f.u.line.x1, f.u.line.y1, f.u.line.x2, f.u.line.y2, area, tol);
    case VEX_FIG_CIRCLE:
      return CircleMeetsBox(f.u.circle.cx, f.u.circle.cy, std::fabs(f.u.circle.r), area, tol);
    case VEX_FIG_ARC: {
      const auto& a = f.u.arc;
      if (InBox(area, a.sx, a.sy, tol) || InBox(area, a.ex, a.ey, tol)) return true;
      const double r = std::fabs(a.r);
      if (!CircleMeetsBox(a.cx, a.cy, r, area, tol)) return false;
      // Neither end lies in the box: the arc meets it only where it crosses an edge.
      const ArcSweep sweep = SweepOf(a);
      const double angularTolerance = r > 0 ? tol / r : 0.0;
      for (const auto& [x, y] : CircleEdgePoints(a.cx, a.cy, r, area, tol)) {
        if (SweepContains(sweep, AngleOf(x - a.cx, y - a.cy), angularTolerance)) return true;
      }
      return false;
    }
    case VEX_FIG_POINT:
      return InBox(area, f.u.point.x, f.u.point.y, tol);
    default: {
      const auto box = FigureBounds(f);
      return box &&
             Overlaps(*box, {area.minX - tol, area.minY - tol, area.maxX + tol, area.maxY + tol});
    }
  }
}

}  // namespace vexhost
