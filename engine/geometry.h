// Angles and boxes as the search measures them.
#ifndef ENGINE_GEOMETRY_H
#define ENGINE_GEOMETRY_H

#include "engine/door_check.h"

#include <cmath>

#include "vexlib/vexlib.h"

namespace twinfind {

// pi as the search computes it.
inline const double kPi = 4.0 * std::atan(1.0);

// The reset value of boxes: min at 10000000, max at -10000000, so the first point sets them.
inline constexpr double kBoxReset = 10000000.0;
inline constexpr VexBox kResetBox{kBoxReset, kBoxReset, -kBoxReset, -kBoxReset};

// The direction of the vector from `from` to `to`, in [0, 2*pi); 0 for a zero-length vector.
// Coordinates are compared exactly.
double LineAngle(VexPoint from, VexPoint to);

// Lowers min and raises max of the box so that it takes in the point. The first point into a
// reset box sets it, so coordinates beyond the reset values are measured right too.
inline void IncludePoint(VexBox& box, double x, double y) {
  if (box.minX > box.maxX || box.minY > box.maxY) {
    box = {x, y, x, y};
    return;
  }
  if (x < box.minX) box.minX = x;
  if (y < box.minY) box.minY = y;
  if (x > box.maxX) box.maxX = x;
  if (y > box.maxY) box.maxY = y;
}

}  // namespace twinfind

#endif  // ENGINE_GEOMETRY_H
