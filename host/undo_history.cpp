#include "host/undo_history.h"

#include <utility>

namespace vexhost {

UndoHistory::State UndoHistory::Keep(DrawingState content) {
  State state;
  state.bytes = content.Bytes();
  state.content = std::move(content);
  return state;
}

void UndoHistory::SetByteLimit(uint64_t bytes) {
  byteLimit_ = bytes;
  Trim();
}

uint64_t UndoHistory::Held() const {
  uint64_t held = 0;
  for (const State& s : undo_) held += s.bytes;
  for (const State& s : redo_) held += s.bytes;
  return held;
}

void UndoHistory::Trim() {
  while (undo_.size() > kMostSteps) undo_.pop_front();
  // The oldest undo steps go first; what can be redone goes only when nothing is left to undo.
  while (Held() > byteLimit_ && !(undo_.empty() && redo_.empty())) {
    if (!undo_.empty()) {
      undo_.pop_front();
    } else {
      redo_.pop_front();
    }
  }
}

void UndoHistory::Mark(const Drawing& drawing) {
  if (mark_ != nullptr) return;
  auto state = std::make_unique<DrawingState>(drawing.SaveState());
  tooLarge_ = state->Bytes() > byteLimit_;
  if (!tooLarge_) mark_ = std::move(state);
}

void UndoHistory::Settle(bool changed) {
  std::unique_ptr<DrawingState> mark = std::move(mark_);
  if (mark == nullptr || !changed) return;
  undo_.push_back(Keep(std::move(*mark)));
  redo_.clear();
  ++kept_;
  Trim();
}

bool UndoHistory::Undo(Drawing& drawing) {
  if (undo_.empty()) return false;
  redo_.push_back(Keep(drawing.SaveState()));
  drawing.RestoreState(undo_.back().content);
  undo_.pop_back();
  Trim();
  return true;
}

bool UndoHistory::Redo(Drawing& drawing) {
  if (redo_.empty()) return false;
  undo_.push_back(Keep(drawing.SaveState()));
  drawing.RestoreState(redo_.back().content);
  redo_.pop_back();
  Trim();
  return true;
}

}  // namespace vexhost
