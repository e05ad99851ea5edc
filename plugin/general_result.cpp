// The general method after a search: the confirmation, the arrangement row, and the action on
// the matches.
#include "plugin/general_result.h"
#include "common/said_texts.h"
#include "engine/match_extents.h"
#include "engine/shape_model.h"
#include "plugin/arrangement.h"
#include "plugin/general_chain.h"
#include "plugin/guard.h"
#include "plugin/part_search.h"
#include "settings/settings.h"

namespace twinfind {
namespace {

int BackToPart() {
  VexCtlSetReadyFunc(GeneralPartStep, u"");
  return VEX_STEP_NEXT;
}

int OnGeneralPlace(int code, const VexEvent* event) {
  return Guarded([code, event]() -> int {
    VexPoint p{};
    if (VexEvtGetPoint(code, event, &p) == 0) {
      DrawRowPreview(p);
      if (VexEvtIsMouseMotion(code, event) != 0) return VEX_STEP_STAY;
      arrangeOrigin = p;
      if (!PlaceRow(arrangeOrigin).copied) return VEX_STEP_DONE;
      ApplyFigureAction(DeleteCall::kDeleteSegment2);
      return BackToPart();
    }
    if (code == VEX_EVENT_END) {
      // The first row is skipped: no row origin was set, so the next row asks for its point.
      arrangeRowCount = 0;
      return BackToPart();
    }
    return VEX_STEP_STAY;
  });
}

int OnGeneralConfirm(int code, const VexEvent* /*event*/) {
  return Guarded([code]() -> int {
    if (code != VEX_EVENT_END) return VEX_STEP_STAY;
    VexIdClearBlink();
    if (Settings().mIsArrange == 0) {
      ApplyFigureAction(DeleteCall::kDeleteSegment);
      return BackToPart();
    }
    MeasureRow();
    if (++arrangeRowCount == 1) {
      VexCtlSetReadyFunc(GeneralPlaceStep, u"");
      return VEX_STEP_NEXT;
    }
    arrangeOrigin.y -= ArrangeRowGap() + rowExtent.height;
    if (!PlaceRow(arrangeOrigin).copied) return VEX_STEP_DONE;
    ApplyFigureAction(DeleteCall::kDeleteSegment);
    return BackToPart();
  });
}

}  // namespace

int GeneralConfirmStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    BlinkMatches();
    VexEvtSetEventMask(VEX_MASK_END);
    VexMsgPutMessage(Settings().mIsArrange != 0 ? Said(texts::kConfirmArrange)
                                                : Said(texts::kConfirmEnd));
    VexCtlSetExecuteFunc(OnGeneralConfirm, u"");
    return 0;
  });
}

int GeneralPlaceStep(const char16_t* /*text*/, double x, double y) {
  return Guarded([x, y]() -> int {
    VexEvtSetEventMask(VEX_MASK_POINT);
    const VexEchoRecord echo{4, 0, x, y};
    VexEvtSetEcho(&echo);
    VexMsgPutMessage(Said(texts::kPlacePrompt));
    VexCtlSetExecuteFunc(OnGeneralPlace, u"%f %f", x, y);
    return 0;
  });
}

}  // namespace twinfind
