#include "balloon/balloon_snap.h"

#include "balloon/found_parts.h"
#include "engine/host_lists.h"

namespace twinfind {
namespace {

int IsReadableBalloon(int elementId) {
  VexCommentBuffer buffer{};
  return VexElmGetType(elementId) == VEX_ELEMENT_BALLOON &&
         VexCmtGetComment(elementId, &buffer) != -1;
}

double Distance(VexPoint a, VexPoint b) { return VexAriLen2Pnts(&a, &b); }

}  // namespace

VexPoint SnapToBalloons(VexPoint p, double diameter) {
  if (VexSgmSearchSegment2(nullptr, IsReadableBalloon, kBalloonList) != 0) return p;
  double best = 10000000.0;
  bool snapped = false;
  VexPoint result = p, centre{};
  const int list = VexIddOpenApIdData(kBalloonList, 1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadApIdData(list, &record); r != -1;
       r = VexIddGetNextApIdData(list, &record)) {
    VexCommentBuffer buffer{};
    if (VexCmtGetComment(VexSgmGetHeadElementId(record.segmentId), &buffer) == -1) continue;
    const VexPoint c{buffer.balloon.centerX, buffer.balloon.centerY};
    const double d = Distance(p, c);
    if (d <= diameter * 0.5) continue;  // P lies inside that balloon
    const double w = diameter / 3 * 2;
    VexPoint candidate{};
    if (c.x - w < p.x && p.x < c.x + w) {
      candidate = {c.x, p.y};
    } else if (c.y - w < p.y && p.y < c.y + w) {
      candidate = {p.x, c.y};
    } else {
      continue;
    }
    if (d <= best) {  // with equal distances the balloon walked later wins
      best = d;
      result = candidate;
      centre = c;
      snapped = true;
    }
  }
  VexIddInitApIdData(list);
  CloseList(list);
  if (snapped) {
    const int segment = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_TEMPORARY);
    if (segment != -1) {
      FigureRecord circle{};
      circle.kind = VEX_FIG_CIRCLE;
      circle.u.circle.cx = centre.x;
      circle.u.circle.cy = centre.y;
      circle.u.circle.r = diameter * 0.5;
      const VexLineTypeData mark{5, 0, 1};
      VexFigSetLineType(VexFigCreateFigure(segment, &circle), &mark);
    }
  }
  return result;
}

BalloonAnchor NearestSide(VexPoint p) {
  ExtremeBox box;
  BalloonAnchor sides[4];
  for (const SegmentRef& ref : foundParts.part) {
    if (VexSgmGetType(ref.segmentId) != 0) continue;
    for (int side = kSideTop; side <= kSideRight; ++side) {
      FindExtremePoint(ref, box, static_cast<ExtremeSide>(side), sides[side - 1]);
    }
  }
  int chosen = 0;
  for (int side = 1; side < 4; ++side) {
    if (!sides[side].found) continue;
    if (!sides[chosen].found || Distance(p, sides[side].point) < Distance(p, sides[chosen].point)) {
      chosen = side;
    }
  }
  return sides[chosen];
}

}  // namespace twinfind
