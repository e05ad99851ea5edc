#include "engine/shape_model.h"

#include <cmath>

#include "engine/geometry.h"

namespace twinfind {

TargetTable targetTable;
PartTable partTable;
WorkTable windowTable;
WorkTable copyTable;
VexBox partBox{};
AnchorLine anchorLine;
MatchTable matchTable;

double ArcLength(const FigureArc& a) {
  const double from = LineAngle({a.cx, a.cy}, {a.sx, a.sy});
  const double to = LineAngle({a.cx, a.cy}, {a.ex, a.ey});
  double sweep = a.direction == VEX_ARC_CW ? from - to : to - from;
  if (sweep <= 0) sweep += 2 * kPi;
  return sweep * a.r;
}

TargetEntry MakeTargetEntry(const VexIdRecord& record) {
  TargetEntry entry;
  entry.ref = RefOfRecord(record);
  entry.used = 0;
  entry.hasAttr5 = VexSgmHasAttribute(record.segmentId, VEX_ATTRIBUTE_5) != 0 ? 1 : 0;
  return entry;
}

int CompareElementType(int elementId) {
  return static_cast<uint32_t>(VexElmGetType(elementId)) <= 8u ? 1 : 0;
}

int AcceptAll(int /*elementId*/) { return 1; }

}  // namespace twinfind
