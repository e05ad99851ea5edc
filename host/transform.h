// Moving, turning, scaling, mirroring and reversing figures.
#ifndef HOST_TRANSFORM_H
#define HOST_TRANSFORM_H

#include "vexlib/vexlib.h"

namespace vexhost {

// x' = a*x + b*y + tx, y' = c*x + d*y + ty, with a uniform scale (no shear).
struct Placement {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  // Moves base onto target, then turns by `degrees` (counter-clockwise) and scales about it.
  static Placement MoveTurnScale(VexPoint base, VexPoint target, double degrees, double scale);
  // Mirrors across the line through p1 and p2; nothing when they coincide.
  static bool Mirror(VexPoint p1, VexPoint p2, Placement& out);

  // This placement after `first`: points go through `first`, then through this one.
  Placement After(const Placement& first) const {
    return {a * first.a + b * first.c,        a * first.b + b * first.d,
            c * first.a + d * first.c,        c * first.b + d * first.d,
            a * first.tx + b * first.ty + tx, c * first.tx + d * first.ty + ty};
  }

  VexPoint Apply(double x, double y) const { return {a * x + b * y + tx, c * x + d * y + ty}; }
  bool flips() const { return a * d - b * c < 0; }
  double scale() const;
};

// The figure under the placement: points move, radii scale, a mirror flips arc directions;
// the other fields of the record are kept.
FigureRecord Transform(const FigureRecord& figure, const Placement& placement);

// The figure drawn the other way: a line's ends swap, an arc's ends swap and its direction
// flips; other kinds have no direction and stay as they are.
FigureRecord Reverse(const FigureRecord& figure);

}  // namespace vexhost

#endif  // HOST_TRANSFORM_H
