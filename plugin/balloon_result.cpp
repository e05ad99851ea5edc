// The balloon method after a confirmed search: the arrangement row with a balloon on every
// plain copy, the count texts, the action on the parts with their balloons, and the next part
// number.
#include "plugin/balloon_result.h"

#include "balloon/balloon_make.h"
#include "balloon/count_text.h"
#include "balloon/part_texts.h"
#include "common/said_texts.h"
#include "engine/match_extents.h"
#include "engine/shape_model.h"
#include "plugin/arrangement.h"
#include "plugin/balloon_chain.h"
#include "plugin/guard.h"
#include "plugin/part_search.h"
#include "settings/settings.h"
#include "settings/text_number.h"

namespace twinfind {
namespace {

// The row with a balloon on every plain copy; the mirror images' frame on the balloon layer
// when asked. Then the count texts. False when a copy could not be listed.
bool PlaceLabelledRow(bool frameOnBalloonLayer) {
  RowHooks hooks;
  hooks.afterPlainCopy = CreateCopyBalloon;
  if (frameOnBalloonLayer && Settings().mIsBalloonLayer != 0) {
    hooks.frame = [](const std::function<void()>& drawFrame) {
      const int current = VexLyrGetCurrentLayer();
      VexLyrSetCurrentLayer(TextToInt(Settings().mBalloonLayer));
      drawFrame();
      VexLyrSetCurrentLayer(current);
    };
  }
  const RowResult row = PlaceRow(arrangeOrigin, hooks);
  if (!row.copied) return false;
  CreateCountTexts(arrangeOrigin, row.plainCopies, row.mirroredCopies);
  return true;
}

// The action on the parts with their balloons, the next part number, the next part.
int LabelPartsAndGoOn() {
  switch (Settings().mFigure) {
    case 0:
      CreatePartBalloons();
      break;
    case 1:
      CreateDetachedBalloons();
      ApplyFigureAction(DeleteCall::kDeleteSegment);
      break;
    case 2:
      ApplyFigureAction(DeleteCall::kDeleteSegment);
      CreatePartBalloons();
      break;
    default:
      break;
  }
  AdvancePartNumber();
  return GoToPartStart();
}

}  // namespace

int BalloonConfirmStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    BlinkMatches();
    VexEvtSetEventMask(VEX_MASK_END);
    VexMsgPutMessage(Said(texts::kBalloonConfirm));
    VexCtlSetExecuteFunc(OnBalloonConfirm, u"");
    return 0;
  });
}

int OnBalloonConfirm(int code, const VexEvent* /*event*/) {
  return Guarded([code]() -> int {
    if (code != VEX_EVENT_END) return VEX_STEP_STAY;
    VexIdClearBlink();
    if (Settings().mIsArrange != 0) {
      MeasureRow();
      if (arrangeRowCount++ == 0) {
        VexCtlSetReadyFunc(PromptBalloonArrangePoint, u"");
        return VEX_STEP_NEXT;
      }
      arrangeOrigin.y -= ArrangeRowGap() + rowExtent.height;
      if (!PlaceLabelledRow(false)) return VEX_STEP_DONE;
    }
    return LabelPartsAndGoOn();
  });
}

int PromptBalloonArrangePoint(const char16_t* /*text*/, double x, double y) {
  return Guarded([x, y]() -> int {
    VexEvtSetEventMask(VEX_MASK_POINT);
    const VexEchoRecord echo{4, 0, x, y};
    VexEvtSetEcho(&echo);
    VexMsgPutMessage(Said(texts::kPlacePrompt));
    VexCtlSetExecuteFunc(OnBalloonArrangePoint, u"%f %f", x, y);
    return 0;
  });
}

int OnBalloonArrangePoint(int code, const VexEvent* event) {
  return Guarded([code, event]() -> int {
    VexPoint p{};
    if (VexEvtGetPoint(code, event, &p) != 0) {
      if (code != VEX_EVENT_END) return VEX_STEP_STAY;
      // The part is skipped: the depth typed for it must not label the next part's row, and
      // the next row asks for the point this one never got.
      depthText.clear();
      arrangeRowCount = 0;
      return GoToPartStart();
    }
    DrawRowPreview(p);
    if (VexEvtIsMouseMotion(code, event) != 0) return VEX_STEP_STAY;
    arrangeOrigin = p;
    if (!PlaceLabelledRow(true)) return VEX_STEP_DONE;
    return LabelPartsAndGoOn();
  });
}

}  // namespace twinfind
