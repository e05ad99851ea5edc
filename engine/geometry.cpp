#include "engine/geometry.h"

namespace twinfind {

double LineAngle(VexPoint from, VexPoint to) {
  if (from.x != to.x) {
    double a = std::atan((to.y - from.y) / (to.x - from.x));
    if (from.x > to.x) {
      a += kPi;
    } else if (a < 0) {
      a += 2 * kPi;
    }
    return a;
  }
  if (from.y == to.y) return 0.0;
  return from.y > to.y ? 1.5 * kPi : 0.5 * kPi;
}

}  // namespace twinfind
