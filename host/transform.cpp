#include "host/transform.h"

#include <utility>

namespace vexhost {
namespace {

int FlippedDirection(int direction) {
  if (direction == VEX_ARC_CCW) return VEX_ARC_CW;
  if (direction == VEX_ARC_CW) return VEX_ARC_CCW;
  return direction;
}

}  // namespace

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
