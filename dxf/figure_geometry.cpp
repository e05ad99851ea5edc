#include "dxf/figure_geometry.h"

#include <cmath>
#include <numbers>

#include "host/geometry.h"

namespace twinfind::dxf {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// The angle of (x, y) in [0, 2 pi).
double AngleOf(double x, double y) {
  const double a = std::atan2(y, x);
  return a < 0 ? a + kTwoPi : a;
}

}  // namespace

bool Usable(double value) { return vexhost::WithinLimit(value); }

FigureRecord MakeArc(double cx, double cy, double r, double startDegrees, double endDegrees) {
  const double a1 = Radians(startDegrees), a2 = Radians(endDegrees);
  FigureRecord f{};
  f.kind = VEX_FIG_ARC;
  f.u.arc = {cx,
             cy,
             cx + r * std::cos(a1),
             cy + r * std::sin(a1),
             cx + r * std::cos(a2),
             cy + r * std::sin(a2),
             r,
             VEX_ARC_CCW,
             0};
  // Angles a full turn apart give the same point; make that exact so the host sees a circle.
  if (std::fmod(std::fabs(endDegrees - startDegrees), 360.0) == 0.0) {
    f.u.arc.ex = f.u.arc.sx;
    f.u.arc.ey = f.u.arc.sy;
  }
  return f;
}

std::vector<FigureRecord> PolylineFigures(const std::vector<Vertex>& vertices, bool closed) {
  std::vector<FigureRecord> figures;
  const size_t n = vertices.size();
  const size_t spans = (closed && n > 1) ? n : (n > 0 ? n - 1 : 0);
  for (size_t i = 0; i < spans; ++i) {
    const Vertex& p = vertices[i];
    const Vertex& q = vertices[(i + 1) % n];
    if (p.x == q.x && p.y == q.y) continue;
    const double b = p.bulge;
    if (std::fabs(b) < 1e-12) {
      figures.push_back(MakeLine(p.x, p.y, q.x, q.y));
      continue;
    }
    // The centre lies off the chord's midpoint along its left normal, (1 - b^2) / (4 b) of
    // the chord's length; the radius is chord * (1 + b^2) / (4 |b|).
    const double dx = q.x - p.x, dy = q.y - p.y;
    const double k = (1 - b * b) / (4 * b);
    FigureRecord f{};
    f.kind = VEX_FIG_ARC;
    f.u.arc.cx = (p.x + q.x) / 2 - dy * k;
    f.u.arc.cy = (p.y + q.y) / 2 + dx * k;
    f.u.arc.sx = p.x;
    f.u.arc.sy = p.y;
    f.u.arc.ex = q.x;
    f.u.arc.ey = q.y;
    f.u.arc.r = std::hypot(dx, dy) * (1 + b * b) / (4 * std::fabs(b));
    f.u.arc.direction = b > 0 ? VEX_ARC_CCW : VEX_ARC_CW;
    figures.push_back(f);
  }
  return figures;
}

double ArcSweep(const FigureArc& arc) {
  const double a1 = AngleOf(arc.sx - arc.cx, arc.sy - arc.cy);
  const double a2 = AngleOf(arc.ex - arc.cx, arc.ey - arc.cy);
  double sweep = arc.direction == VEX_ARC_CW ? a1 - a2 : a2 - a1;
  if (sweep < 0) sweep += kTwoPi;
  if (sweep <= 0 || (arc.sx == arc.ex && arc.sy == arc.ey)) sweep = kTwoPi;
  return sweep;
}

double BulgeOfArc(const FigureArc& arc) {
  const double b = std::tan(ArcSweep(arc) / 4);
  return arc.direction == VEX_ARC_CW ? -b : b;
}

VexPoint StartOf(const FigureRecord& f) {
  if (f.kind == VEX_FIG_ARC) return {f.u.arc.sx, f.u.arc.sy};
  return {f.u.line.x1, f.u.line.y1};
}

VexPoint EndOf(const FigureRecord& f) {
  if (f.kind == VEX_FIG_ARC) return {f.u.arc.ex, f.u.arc.ey};
  return {f.u.line.x2, f.u.line.y2};
}

bool UsableFigure(const FigureRecord& f) {
  switch (f.kind) {
    case VEX_FIG_LINE:
      return Usable(f.u.line.x1) && Usable(f.u.line.y1) && Usable(f.u.line.x2) &&
             Usable(f.u.line.y2);
    case VEX_FIG_CIRCLE:
      return Usable(f.u.circle.cx) && Usable(f.u.circle.cy) && Usable(f.u.circle.r) &&
             f.u.circle.r > 0;
    case VEX_FIG_ARC:
      return Usable(f.u.arc.cx) && Usable(f.u.arc.cy) && Usable(f.u.arc.sx) && Usable(f.u.arc.sy) &&
             Usable(f.u.arc.ex) && Usable(f.u.arc.ey) && Usable(f.u.arc.r) && f.u.arc.r > 0;
    case VEX_FIG_POINT:
      return Usable(f.u.point.x) && Usable(f.u.point.y);
    default:
      return true;
  }
}

}  // namespace twinfind::dxf
