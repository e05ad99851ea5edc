// Which step the command waits at, told from the host's step driver alone (its mask and the
// steps it counted since the start), never from the Korean prompts: the view's page, the tool's
// undo and the LibreCAD plug-in ask it.
#ifndef HOST_STEP_KIND_H
#define HOST_STEP_KIND_H

#include "host/step_driver.h"

namespace vexhost {

enum class StepKind {
  kNone,    // no command runs
  kRange,   // the search range: the step the command's start entered
  kWindow,  // another window (the part)
  kPoint,   // a point (a row's place, a balloon's)
  kKeyin,   // typed input (material, part number, depth)
  kEnd,     // the end button alone (the twins found, to be confirmed)
};

StepKind StepKindOf(const StepDriver& driver);

// "none", "range", "window", "point", "keyin", "end".
const char* StepKindName(StepKind kind);

// No result action is under way: the command has ended, or asks for a range, a part or typed
// input. A step that takes a point or the end button alone belongs to a result action.
inline bool AtRest(StepKind kind) { return kind != StepKind::kPoint && kind != StepKind::kEnd; }

}  // namespace vexhost

#endif  // HOST_STEP_KIND_H
