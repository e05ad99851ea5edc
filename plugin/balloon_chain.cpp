// The balloon array method: range, material, part number, depth, part.
#include "plugin/balloon_chain.h"
#include "balloon/found_parts.h"
#include "balloon/part_texts.h"
#include "common/message_format.h"
#include "common/said_texts.h"
#include "plugin/balloon_placement.h"
#include "plugin/balloon_result.h"
#include "plugin/guard.h"
#include "plugin/part_search.h"
#include "plugin/range_input.h"
#include "settings/settings.h"
#include "ui/run_settings_dialog.h"

namespace twinfind {
namespace {

int GoTo(VexReadyFunc step) {
  VexCtlSetReadyFunc(step, u"");
  return VEX_STEP_NEXT;
}

void PromptForKeyin(const char16_t* cursor, const std::u16string& prompt) {
  VexEvtSetEventMask(VEX_MASK_KEYIN);
  VexMsgPutCursorMessage(cursor);
  VexMsgPutMessage(prompt.c_str());
}

int OnBalloonRange(int code, const VexEvent* /*event*/) {
  return Guarded([code]() -> int {
    if (code == VEX_EVENT_INPUT) {
      if (!CollectTargets(Said(texts::kTargetsOverflowT02), Said(texts::kSelectShapeT02))) {
        return VEX_STEP_DONE;
      }
      return GoToPartStart();
    }
    if (code == VEX_EVENT_END) {
      RunSettingsDialog();  // the next start uses what the dialog stored
      return VEX_STEP_DONE;
    }
    return VEX_STEP_STAY;
  });
}

int OnMaterial(int code, const VexEvent* event) {
  return Guarded([code, event]() -> int {
    if (code == VEX_EVENT_KEYIN) {
      const char16_t* text = VexEvtGetKeyinString(code, event);
      if (text == nullptr) return VEX_STEP_STAY;  // the host could not give the text
      materialText = text;
      return GoTo(PartNumberStep);
    }
    if (code == VEX_EVENT_END) {
      if (materialText.empty()) {
        VexDlgMessageBox(Said(texts::kMaterialMissing));
        return VEX_STEP_STAY;
      }
      return GoTo(PartNumberStep);
    }
    return VEX_STEP_STAY;
  });
}

int AfterPartNumber() { return GoTo(Settings().mIsDepth != 0 ? DepthStep : BalloonPartStep); }

int OnPartNumber(int code, const VexEvent* event) {
  return Guarded([code, event]() -> int {
    if (code == VEX_EVENT_KEYIN) {
      const char16_t* text = VexEvtGetKeyinString(code, event);
      if (text == nullptr) return VEX_STEP_STAY;
      Settings().mBalloonStr = text;
      return AfterPartNumber();
    }
    if (code == VEX_EVENT_END) return AfterPartNumber();
    return VEX_STEP_STAY;
  });
}

int OnDepth(int code, const VexEvent* event) {
  return Guarded([code, event]() -> int {
    if (code == VEX_EVENT_KEYIN) {
      const char16_t* text = VexEvtGetKeyinString(code, event);
      if (text == nullptr) return VEX_STEP_STAY;
      depthText = text;
      return GoTo(BalloonPartStep);
    }
    if (code == VEX_EVENT_END) return GoTo(BalloonPartStep);
    return VEX_STEP_STAY;
  });
}

int OnBalloonPart(int code, const VexEvent* /*event*/) {
  return Guarded([code]() -> int {
    if (code == VEX_EVENT_END) return VEX_STEP_DONE;
    if (code != VEX_EVENT_INPUT) return VEX_STEP_STAY;
    // Twins that share a segment with a later one are dropped, as in the general method, so
    // that no segment is counted twice on the count text and the parts list.
    if (!CollectPartAndSearch(kBalloonPartTexts, true)) return VEX_STEP_DONE;
    if (foundParts.count() == 0) {
      VexDlgMessageBox(Said(texts::kNoIdenticalS02));
      return GoToPartStart();
    }
    VexMsgPutInfoMessage(FormatInt(Said(texts::kFoundCountS02), foundParts.count()).c_str());
    MarkUsedTargets();
    return GoTo(Settings().mIsBalloonAutoArrange != 0 ? BalloonConfirmStep
                                                      : PromptBalloonPlacement);
  });
}

}  // namespace

int GoToPartStart() {
  VexCtlSetReadyFunc(Settings().mIsMaterial != 0 ? MaterialStep : PartNumberStep, u"");
  return VEX_STEP_NEXT;
}

int BalloonRangeStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    VexIdClearBlink();
    PromptForRange(Said(texts::kRangeCursor), Said(texts::kRangePrompt));
    VexCtlSetExecuteFunc(OnBalloonRange, u"");
    return 0;
  });
}

int MaterialStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    PromptForKeyin(Said(texts::kMaterialCursor),
                   materialText.empty()
                       ? std::u16string(Said(texts::kMaterialPrompt))
                       : FormatText(Said(texts::kMaterialPromptCurrent), materialText));
    VexCtlSetExecuteFunc(OnMaterial, u"");
    return 0;
  });
}

int PartNumberStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    const std::u16string& number = Settings().mBalloonStr;
    PromptForKeyin(number.c_str(), FormatText(Said(texts::kPartNumberPrompt), number));
    VexCtlSetExecuteFunc(OnPartNumber, u"");
    return 0;
  });
}

int DepthStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    PromptForKeyin(Said(texts::kDepthCursor), Said(texts::kDepthPrompt));
    VexCtlSetExecuteFunc(OnDepth, u"");
    return 0;
  });
}

int BalloonPartStep(const char16_t* /*text*/, double /*x*/, double /*y*/) {
  return Guarded([]() -> int {
    PromptForRange(Said(texts::kPartCursor), Said(texts::kPartPrompt));
    VexCtlSetExecuteFunc(OnBalloonPart, u"");
    return 0;
  });
}

}  // namespace twinfind
