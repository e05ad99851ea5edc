// The general search method: range, part, confirmation.
#include "engine/shape_model.h"
#include "plugin/command.h"
#include "plugin/texts.h"
#include "ui/settings_dialog.h"

namespace twinfind {
namespace {

int OnGeneralRange(int code, const VexEvent* /*event*/) {
  return Guarded([code]() -> int {
    if (code == VEX_EVENT_INPUT) {
      if (!CollectTargets(texts::kTargetsOverflowT01, texts::kSelectShape)) return VEX_STEP_DONE;
      VexCtlSetReadyFunc(GeneralPartStep, u"");
      return VEX_STEP_NEXT;
    }
    if (code == VEX_EVENT_END) {
      RunSettingsDialog();  // the next start uses what the dialog stored
      return VEX_STEP_DONE;
    }
    return VEX_STEP_STAY;
  });
}

int OnGeneralPart(int code, const VexEvent* /*event*/) {
  return Guarded([code]() -> int {
    if (code == VEX_EVENT_END) return VEX_STEP_DONE;
    return VEX_STEP_STAY;
  });
}

}  // namespace

int GeneralRangeStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    VexIdClearBlink();
    PromptForRange(texts::kRangeCursor, texts::kRangePrompt);
    VexCtlSetExecuteFunc(OnGeneralRange, u"");
    return 0;
  });
}

int GeneralPartStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    PromptForRange(texts::kPartCursor, texts::kPartPrompt);
    VexCtlSetExecuteFunc(OnGeneralPart, u"");
    return 0;
  });
}

}  // namespace twinfind
