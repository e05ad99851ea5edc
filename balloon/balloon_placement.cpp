// Manual balloon placement: the balloon follows the pointer, lines up with balloons already
// in the drawing, and on a click hangs on the side of the part nearest to it.
#include <cmath>

#include "balloon/balloon_make.h"
#include "balloon/balloon_steps.h"
#include "balloon/balloon_texts.h"
#include "balloon/count_text.h"
#include "engine/host_lists.h"
#include "engine/shape_model.h"
#include "plugin/command.h"
#include "plugin/format.h"
#include "plugin/part_search.h"
#include "settings/settings.h"
#include "settings/text_number.h"

namespace twinfind {
namespace {

int IsReadableBalloon(int elementId) {
  VexCommentBuffer buffer{};
  return VexElmGetType(elementId) == VEX_ELEMENT_BALLOON &&
         VexCmtGetComment(elementId, &buffer) != -1;
}

double Distance(VexPoint a, VexPoint b) { return VexAriLen2Pnts(&a, &b); }

// Lines P up with the nearest balloon it can line up with, and marks that balloon with a
// temporary circle. P unchanged when there is none.
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
  VexIddCloseApIdData(list);
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

// The anchor on the side of the part nearest to P; ties keep top, left, bottom, right order.
BalloonAnchor NearestSide(VexPoint p) {
  ExtremeBox box;
  BalloonAnchor sides[4];
  for (int i = 1; i <= partTable.count(); ++i) {
    const SegmentRef ref = partTable[i].ref;
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

}  // namespace

int PromptBalloonPlacement(const char16_t* /*text*/, double x, double y) {
  return Guarded([x, y]() -> int {
    BlinkMatches();
    VexEvtSetEventMask(VEX_MASK_BALLOON_POINT);
    const VexObjectRecord object{{8, 0, 0, 16, 0}};
    VexEvtSetObject(&object);
    const VexEchoRecord echo{4, 0, x, y};
    VexEvtSetEcho(&echo);
    VexMsgPutMessage(texts::kBalloonPlacePrompt);
    VexCtlSetExecuteFunc(OnBalloonPlacement, u"%f %f", x, y);
    return 0;
  });
}

int OnBalloonPlacement(int code, const VexEvent* event) {
  VexPoint p{};
  if (VexEvtGetPoint(code, event, &p) != 0) {
    // The prompt offers automatic placement at the end button: hand over to it.
    if (code == VEX_EVENT_END) return OnBalloonConfirm(code, event);
    return VEX_STEP_STAY;
  }
  return Guarded([code, event, p]() mutable -> int {
    VexIdClearBlink();
    const double diameter = TextToLength(Settings().mBalloonSize);
    p = SnapToBalloons(p, diameter);
    const bool motion = VexEvtIsMouseMotion(code, event) != 0;
    BalloonPlace preview{p, p, 0, 0, false};
    CreateBalloon(preview, VEX_LIFE_TEMPORARY);
    if (motion) return VEX_STEP_STAY;
    const BalloonAnchor anchor = NearestSide(p);
    if (anchor.found) {
      CreateBalloon({anchor.point, p, anchor.elementId, anchor.auxId, true});
    } else {
      VexMsgPutInfoMessage(FormatInt(texts::kNoBalloonAnchor, 1).c_str());
    }
    AdvancePartNumber();
    return GoToPartStart();
  });
}

}  // namespace twinfind
