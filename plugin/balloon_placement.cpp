#include "plugin/balloon_placement.h"

#include "balloon/balloon_make.h"
#include "balloon/balloon_snap.h"
#include "balloon/count_text.h"
#include "balloon/drawing_scale.h"
#include "common/message_format.h"
#include "common/said_texts.h"
#include "plugin/balloon_chain.h"
#include "plugin/balloon_result.h"
#include "plugin/guard.h"
#include "plugin/part_search.h"
#include "settings/settings.h"
#include "settings/text_number.h"

namespace twinfind {

int PromptBalloonPlacement(const char16_t* /*text*/, double x, double y) {
  return Guarded([x, y]() -> int {
    BlinkMatches();
    VexEvtSetEventMask(VEX_MASK_BALLOON_POINT);
    const VexObjectRecord object{{8, 0, 0, 16, 0}};
    VexEvtSetObject(&object);
    const VexEchoRecord echo{4, 0, x, y};
    VexEvtSetEcho(&echo);
    VexMsgPutMessage(Said(texts::kBalloonPlacePrompt));
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
    const double diameter = Scaled(TextToLength(Settings().mBalloonSize));
    p = SnapToBalloons(p, diameter);
    const bool motion = VexEvtIsMouseMotion(code, event) != 0;
    BalloonPlace preview{p, p, 0, 0, false};
    CreateBalloon(preview, VEX_LIFE_TEMPORARY);
    if (motion) return VEX_STEP_STAY;
    const BalloonAnchor anchor = NearestSide(p);
    if (anchor.found) {
      CreateBalloon({anchor.point, p, anchor.elementId, anchor.auxId, true});
    } else {
      VexMsgPutInfoMessage(FormatInt(Said(texts::kNoBalloonAnchor), 1).c_str());
    }
    AdvancePartNumber();
    return GoToPartStart();
  });
}

}  // namespace twinfind
