// VexAri: distances, points on arcs, points against outlines, line intersections.
#include <cmath>

#include "host/api_util.h"
#include "host/geometry.h"
#include "host/host.h"
#include "host/outline.h"

namespace {
constexpr double kOnArcTolerance = 1e-6;
}

extern "C" {

VEXAPI double VexAriLen2Pnts(const VexPoint* a, const VexPoint* b) {
  if (a == nullptr || b == nullptr) return 0.0;
  return vexhost::Distance(a->x, a->y, b->x, b->y);
}

VEXAPI int VexAriOnchkArc(const FigureRecord* arc, const VexPoint* point) {
  VEXHOST_FAULT_POINT(return -1);
  if (arc == nullptr || point == nullptr || arc->kind != VEX_FIG_ARC) return 0;
  const auto distance = vexhost::DistanceToFigure(*arc, point->x, point->y);
  return distance && *distance <= kOnArcTolerance ? 2 : 0;
}

VEXAPI int VexAriIochkPnt(const FigureRecord* figures, int count, const VexPoint* point) {
  VEXHOST_FAULT_POINT(return -1);
  if (figures == nullptr || point == nullptr || count <= 0) return 0;
  return vexhost::IsOutside(figures, count, point->x, point->y) ? 1 : 0;
}

VEXAPI int VexAriItsLinLin(int /*mode*/, const FigureRecord* a, const FigureRecord* b,
                           VexPoint* point) {
  VEXHOST_FAULT_POINT(return -1);
  if (a == nullptr || b == nullptr || a->kind != VEX_FIG_LINE || b->kind != VEX_FIG_LINE) return 0;
  const FigureLine& p = a->u.line;
  const FigureLine& q = b->u.line;
  const double d1x = p.x2 - p.x1, d1y = p.y2 - p.y1;
  const double d2x = q.x2 - q.x1, d2y = q.y2 - q.y1;
  const double cross = d1x * d2y - d1y * d2x;
  const double scale = std::hypot(d1x, d1y) * std::hypot(d2x, d2y);
  if (scale == 0.0 || std::fabs(cross) <= 1e-12 * scale) return 0;  // parallel or no line
  const double t = ((q.x1 - p.x1) * d2y - (q.y1 - p.y1) * d2x) / cross;
  if (point != nullptr) *point = {p.x1 + t * d1x, p.y1 + t * d1y};
  return 1;
}

}  // extern "C"
