// Motions of the drawing plane: the one type that the search's trial copies, the host's copy and
// mirror calls, block references read and written, and every output that tells how a twin lies
// use alike.
#ifndef COMMON_PLANE_MAP_H
#define COMMON_PLANE_MAP_H

#include "vexlib/vexlib.h"

namespace twinfind {

// (x, y) -> (a x + b y + tx, c x + d y + ty). The maps made here are turns, moves, mirrorings,
// uniform scalings and what they make together: no shear.
struct PlaneMap {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  // Moves base onto target, then turns by `degrees` (counter-clockwise) and scales about it, as
  // the host's copy call does.
  static PlaneMap MoveTurnScale(VexPoint base, VexPoint target, double degrees, double scale = 1.0);
  // Mirrors across the line through p1 and p2, as the host's mirror call does; false when they
  // coincide.
  static bool Mirror(VexPoint p1, VexPoint p2, PlaneMap& out);
  static PlaneMap Translation(double x, double y) { return {1, 0, 0, 1, x, y}; }

  // This map after `first`: points go through `first`, then through this one.
  PlaneMap After(const PlaneMap& first) const {
    return {a * first.a + b * first.c,        a * first.b + b * first.d,
            c * first.a + d * first.c,        c * first.b + d * first.d,
            a * first.tx + b * first.ty + tx, c * first.tx + d * first.ty + ty};
  }
  // The map that undoes this one (its determinant is not 0).
  PlaneMap Inverse() const;

  VexPoint Apply(double x, double y) const { return {a * x + b * y + tx, c * x + d * y + ty}; }
  bool flips() const { return a * d - b * c < 0; }
  double scale() const;
  bool identity() const { return a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0; }
};

// The figure under the map: points move, radii scale with it, a mirroring flips an arc's
// direction; the other fields of the record are kept.
FigureRecord PlaceFigure(const FigureRecord& figure, const PlaneMap& map);

// How a twin's turn is told: twin = R(angle) * M * part, moved, where M is the mirroring
// x -> -x when the map flips (so a DXF reference with x scale -1 and this rotation draws it).
// Counter-clockwise degrees, 0 <= angle < 360; within 1e-6 of a whole degree, that degree.
double TurnDegrees(const PlaneMap& map);

// Whether turn `a` (degrees) goes less far than turn `b` either way, or as far but
// counter-clockwise (90 before 270): of the turns that lay a symmetric part on one twin, the
// smallest is told.
bool SmallerTurn(double a, double b);

}  // namespace twinfind

#endif  // COMMON_PLANE_MAP_H
