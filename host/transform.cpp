#include "host/transform.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace vexhost {
namespace {

void Move(const Placement& p, double& x, double& y) {
  const VexPoint q = p.Apply(x, y);
  x = q.x;
  y = q.y;
}

int FlippedDirection(int direction) {
  if (direction == VEX_ARC_CCW) return VEX_ARC_CW;
  if (direction == VEX_ARC_CW) return VEX_ARC_CCW;
  return direction;
}

}  // namespace

Placement Placement::MoveTurnScale(VexPoint base, VexPoint target, double degrees, double scale) {
  const double t = degrees * std::numbers::pi / 180.0;
  const double cs = std::cos(t) * scale, sn = std::sin(t) * scale;
  Placement p;
  p.a = cs;
  p.b = -sn;
  p.c = sn;
  p.d = cs;
  p.tx = target.x - (cs * base.x - sn * base.y);
  p.ty = target.y - (sn * base.x + cs * base.y);
  return p;
}

bool Placement::Mirror(VexPoint p1, VexPoint p2, Placement& out) {
  const double dx = p2.x - p1.x, dy = p2.y - p1.y;
  const double length2 = dx * dx + dy * dy;
  if (length2 == 0.0) return false;
  // Reflection across the line through the origin along (dx, dy), moved to pass through p1.
  out.a = (dx * dx - dy * dy) / length2;
  out.b = 2 * dx * dy / length2;
  out.c = out.b;
  out.d = -out.a;
  out.tx = p1.x - (out.a * p1.x + out.b * p1.y);
  out.ty = p1.y - (out.c * p1.x + out.d * p1.y);
  return true;
}

double Placement::scale() const { return std::sqrt(std::fabs(a * d - b * c)); }

FigureRecord Transform(const FigureRecord& figure, const Placement& p) {
  FigureRecord f = figure;
  switch (f.kind) {
    case VEX_FIG_LINE:
      Move(p, f.u.line.x1, f.u.line.y1);
      Move(p, f.u.line.x2, f.u.line.y2);
      break;
    case VEX_FIG_CIRCLE:
      Move(p, f.u.circle.cx, f.u.circle.cy);
      f.u.circle.r *= p.scale();
      break;
    case VEX_FIG_ARC:
      Move(p, f.u.arc.cx, f.u.arc.cy);
      Move(p, f.u.arc.sx, f.u.arc.sy);
      Move(p, f.u.arc.ex, f.u.arc.ey);
      f.u.arc.r *= p.scale();
      if (p.flips()) f.u.arc.direction = FlippedDirection(f.u.arc.direction);
      break;
    case VEX_FIG_KIND4:
      Move(p, f.u.kind4.x1, f.u.kind4.y1);
      Move(p, f.u.kind4.x2, f.u.kind4.y2);
      break;
    case VEX_FIG_KIND5:
      Move(p, f.u.kind5.x1, f.u.kind5.y1);
      Move(p, f.u.kind5.x2, f.u.kind5.y2);
      Move(p, f.u.kind5.x3, f.u.kind5.y3);
      break;
    case VEX_FIG_POINT:
      Move(p, f.u.point.x, f.u.point.y);
      break;
    default:
      break;
  }
  return f;
}

FigureRecord Reverse(const FigureRecord& figure) {
  FigureRecord f = figure;
  if (f.kind == VEX_FIG_LINE) {
    std::swap(f.u.line.x1, f.u.line.x2);
    std::swap(f.u.line.y1, f.u.line.y2);
  } else if (f.kind == VEX_FIG_ARC) {
    std::swap(f.u.arc.sx, f.u.arc.ex);
    std::swap(f.u.arc.sy, f.u.arc.ey);
    f.u.arc.direction = FlippedDirection(f.u.arc.direction);
  }
  return f;
}

}  // namespace vexhost
