// Undo and redo of the command's result actions, for the lines of a run and the view alike.
//
// A result action begins at a step that takes a point (a row's place, a balloon's) or the end
// button alone (the twins found, to be confirmed): before the first action the user gives
// there, the drawing starts noting what it changes. It is over when the command is back at a
// step that asks for a range, a part or typed input, or has ended; what changed is then kept.
// So one undo takes back the whole of one result: the twins deleted or recoloured, the row of
// copies with its frame, the balloons and texts.
#include <ostream>
#include <string>

#include "host/host.h"
#include "host/step_kind.h"
#include "tools/script_runner.h"

namespace twinfind::tool {

void ScriptRunner::NoteBeforeAction(const UserAction& action) {
  vexhost::Host& host = vexhost::TheHost();
  if (action.kind == UserAction::Kind::kMotion || host.undo.marked()) return;
  if (vexhost::AtRest(vexhost::StepKindOf(host.driver))) return;
  host.undo.Mark(host.drawing);
}

void ScriptRunner::SettleAfterAction() {
  vexhost::Host& host = vexhost::TheHost();
  if (!host.undo.marked() || !vexhost::AtRest(vexhost::StepKindOf(host.driver))) return;
  host.undo.Settle(host.drawing);
}

bool ScriptRunner::UndoOrRedo(bool undo, int lineNumber) {
  vexhost::Host& host = vexhost::TheHost();
  vexhost::UndoHistory& history = host.undo;
  const std::string verb = undo ? "undo" : "redo";
  if (!vexhost::AtRest(vexhost::StepKindOf(host.driver))) {
    return Refuse(lineNumber, verb +
                                  " waits until the command asks for a range, a part or typed "
                                  "input: this step is part of a result action (finish it first)");
  }
  if ((undo ? history.undoSteps() : history.redoSteps()) == 0) {
    std::string why = "nothing to " + verb;
    if (undo && history.tooLarge()) {
      why += ": the last result action changed more than the " +
             std::to_string(history.byteLimit() >> 20) +
             " MB that undo may keep (a quarter of the memory limit, --memory-limit)";
    }
    return Refuse(lineNumber, why);
  }
  UserAction action;
  action.kind = undo ? UserAction::Kind::kUndo : UserAction::Kind::kRedo;
  for (const Observer& o : observers_) {
    if (o.before) o.before(action);
  }
  if (undo) {
    history.Undo(host.drawing);
  } else {
    history.Redo(host.drawing);
  }
  for (const Observer& o : observers_) {
    if (o.after) o.after(action);
  }
  // The command's own tables (the range with the twins it marked found, the rows laid out)
  // belong to the drawing before this: a command past its first step starts again, over the
  // same search range.
  const bool restart = host.driver.active() && host.driver.stepsTaken() > 0;
  out_ << (undo ? "undone: the drawing is back as it was before the last result action"
                : "redone: the drawing has the result action again")
       << " (" << history.undoSteps() << " to undo, " << history.redoSteps() << " to redo)"
       << (restart ? "; the command starts again over the same search range" : "") << "\n";
  out_.flush();
  if (restart) {
    UserAction start;
    start.kind = UserAction::Kind::kStart;
    Deliver(start, lineNumber, [&] {
      return host.driver.Start() ? vexhost::Delivery{true, {}}
                                 : vexhost::Delivery{false, "the command could not start"};
    });
    if (!searchRange_.empty() && vexhost::StepKindOf(host.driver) == vexhost::StepKind::kRange) {
      DeliverRange(searchRange_, lineNumber);
    }
  }
  return true;
}

}  // namespace twinfind::tool
