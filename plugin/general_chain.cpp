// The general search method: the range and the part.
#include "plugin/general_chain.h"
#include "balloon/found_parts.h"
#include "common/message_format.h"
#include "common/said_texts.h"
#include "plugin/general_result.h"
#include "plugin/guard.h"
#include "plugin/part_search.h"
#include "plugin/range_input.h"
#include "ui/run_settings_dialog.h"

namespace twinfind {
namespace {

int OnGeneralRange(int code, const VexEvent* /*event*/) {
  return Guarded([code]() -> int {
    if (code == VEX_EVENT_INPUT) {
      if (!CollectTargets(Said(texts::kTargetsOverflowT01), Said(texts::kSelectShape)))
        return VEX_STEP_DONE;
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
    if (code != VEX_EVENT_INPUT) return VEX_STEP_STAY;
    // Twins that share a segment with a later one are dropped.
    if (!CollectPartAndSearch(kGeneralPartTexts, true)) return VEX_STEP_DONE;
    if (foundParts.count() == 0) {
      VexDlgMessageBox(Said(texts::kNoIdentical));
      VexCtlSetReadyFunc(GeneralPartStep, u"");
      return VEX_STEP_NEXT;
    }
    VexMsgPutInfoMessage(FormatInt(Said(texts::kFoundCount), foundParts.count()).c_str());
    MarkUsedTargets();
    VexCtlSetReadyFunc(GeneralConfirmStep, u"");
    return VEX_STEP_NEXT;
  });
}

}  // namespace

int GeneralRangeStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    VexIdClearBlink();
    PromptForRange(Said(texts::kRangeCursor), Said(texts::kRangePrompt));
    VexCtlSetExecuteFunc(OnGeneralRange, u"");
    return 0;
  });
}

int GeneralPartStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    PromptForRange(Said(texts::kPartCursor), Said(texts::kPartPrompt));
    VexCtlSetExecuteFunc(OnGeneralPart, u"");
    return 0;
  });
}

}  // namespace twinfind
