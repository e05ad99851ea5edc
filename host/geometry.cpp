#include "host/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

}  // namespace vexhost
