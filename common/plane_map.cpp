#include "common/plane_map.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace twinfind {
namespace {

void Move(const PlaneMap& m, double& x, double& y) {
  const VexPoint p = m.Apply(x, y);
  x = p.x;
  y = p.y;
}

int Flipped(int direction) {
  if (direction == VEX_ARC_CCW) return VEX_ARC_CW;
  if (direction == VEX_ARC_CW) return VEX_ARC_CCW;
  return direction;
}

}  // namespace

PlaneMap PlaneMap::MoveTurnScale(VexPoint base, VexPoint target, double degrees, double scale) {
  const double t = degrees * std::numbers::pi / 180.0;
  const double cs = std::cos(t) * scale, sn = std::sin(t) * scale;
  return {cs,
          -sn,
          sn,
          cs,
          target.x - (cs * base.x - sn * base.y),
          target.y - (sn * base.x + cs * base.y)};
}

bool PlaneMap::Mirror(VexPoint p1, VexPoint p2, PlaneMap& out) {
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

PlaneMap PlaneMap::Inverse() const {
  const double det = a * d - b * c;
  PlaneMap inverse{d / det, -b / det, -c / det, a / det, 0, 0};
  inverse.tx = -(inverse.a * tx + inverse.b * ty);
  inverse.ty = -(inverse.c * tx + inverse.d * ty);
  return inverse;
}

double PlaneMap::scale() const { return std::sqrt(std::fabs(a * d - b * c)); }

FigureRecord PlaceFigure(const FigureRecord& figure, const PlaneMap& m) {
  FigureRecord f = figure;
  switch (f.kind) {
    case VEX_FIG_LINE:
      Move(m, f.u.line.x1, f.u.line.y1);
      Move(m, f.u.line.x2, f.u.line.y2);
      break;
    case VEX_FIG_CIRCLE:
      Move(m, f.u.circle.cx, f.u.circle.cy);
      f.u.circle.r *= m.scale();
      break;
    case VEX_FIG_ARC:
      Move(m, f.u.arc.cx, f.u.arc.cy);
      Move(m, f.u.arc.sx, f.u.arc.sy);
      Move(m, f.u.arc.ex, f.u.arc.ey);
      f.u.arc.r *= m.scale();
      if (m.flips()) f.u.arc.direction = Flipped(f.u.arc.direction);
      break;
    case VEX_FIG_KIND4:
      Move(m, f.u.kind4.x1, f.u.kind4.y1);
      Move(m, f.u.kind4.x2, f.u.kind4.y2);
      break;
    case VEX_FIG_KIND5:
      Move(m, f.u.kind5.x1, f.u.kind5.y1);
      Move(m, f.u.kind5.x2, f.u.kind5.y2);
      Move(m, f.u.kind5.x3, f.u.kind5.y3);
      break;
    case VEX_FIG_POINT:
      Move(m, f.u.point.x, f.u.point.y);
      break;
    default:
      break;
  }
  return f;
}

double TurnDegrees(const PlaneMap& m) {
  // Unflipped, the first column is (cos t, sin t); flipped, R(t) * M has (-cos t, -sin t) there.
  const double radians = m.flips() ? std::atan2(-m.c, -m.a) : std::atan2(m.c, m.a);
  double degrees = std::fmod(radians * 180.0 / std::numbers::pi, 360.0);
  if (degrees < 0) degrees += 360.0;
  const double whole = std::round(degrees);
  if (std::fabs(degrees - whole) < 1e-6) degrees = whole;
  return degrees >= 360.0 ? degrees - 360.0 : degrees;
}

bool SmallerTurn(double a, double b) {
  const double sa = std::min(a, 360.0 - a), sb = std::min(b, 360.0 - b);
  return sa < sb - 1e-9 || (sa < sb + 1e-9 && a < b - 1e-9);
}

}  // namespace twinfind
