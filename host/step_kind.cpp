#include "host/step_kind.h"

namespace vexhost {

StepKind StepKindOf(const StepDriver& driver) {
  if (!driver.active()) return StepKind::kNone;
  const uint32_t mask = driver.mask();
  if ((mask & VEX_MASK_RANGE) != 0) {
    return driver.stepsTaken() == 0 ? StepKind::kRange : StepKind::kWindow;
  }
  if ((mask & kPointBit) != 0) return StepKind::kPoint;
  if ((mask & VEX_MASK_KEYIN) != 0) return StepKind::kKeyin;
  return StepKind::kEnd;
}

const char* StepKindName(StepKind kind) {
  switch (kind) {
    case StepKind::kNone:
      return "none";
    case StepKind::kRange:
      return "range";
    case StepKind::kWindow:
      return "window";
    case StepKind::kPoint:
      return "point";
    case StepKind::kKeyin:
      return "keyin";
    case StepKind::kEnd:
      return "end";
  }
  return "none";
}

}  // namespace vexhost
