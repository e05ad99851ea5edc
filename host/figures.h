// Figure records made from their geometry, for everyone who draws into the host: importers,
// generators and tests.
#ifndef HOST_FIGURES_H
#define HOST_FIGURES_H

#include "vexlib/vexlib.h"

namespace vexhost {

inline FigureRecord MakeLine(double x1, double y1, double x2, double y2) {
  FigureRecord f{};
  f.kind = VEX_FIG_LINE;
  f.u.line = {x1, y1, x2, y2};
  return f;
}

inline FigureRecord MakeCircle(double cx, double cy, double r) {
  FigureRecord f{};
  f.kind = VEX_FIG_CIRCLE;
  f.u.circle.cx = cx;
  f.u.circle.cy = cy;
  f.u.circle.r = r;
  return f;
}

inline FigureRecord MakePoint(double x, double y) {
  FigureRecord f{};
  f.kind = VEX_FIG_POINT;
  f.u.point = {x, y};
  return f;
}

// An arc about (cx, cy) from (sx, sy) to (ex, ey) in the given direction.
inline FigureRecord MakeArc(double cx, double cy, double r, double sx, double sy, double ex,
                            double ey, int direction = VEX_ARC_CCW) {
  FigureRecord f{};
  f.kind = VEX_FIG_ARC;
  f.u.arc = {cx, cy, sx, sy, ex, ey, r, direction, 0};
  return f;
}

}  // namespace vexhost

#endif  // HOST_FIGURES_H
