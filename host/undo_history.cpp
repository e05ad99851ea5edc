#include "host/undo_history.h"

#include <utility>

namespace vexhost {

void UndoHistory::SetByteLimit(uint64_t bytes) {
  byteLimit_ = bytes;
  Trim();
}

uint64_t UndoHistory::Held() const {
  uint64_t held = 0;
  for (const Step& s : undo_) held += s.bytes;
  for (const Step& s : redo_) held += s.bytes;
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

void UndoHistory::Mark(Drawing& drawing) {
  if (marked_) return;
  drawing.StartJournal();
  marked_ = true;
}

void UndoHistory::Settle(Drawing& drawing) {
  if (!marked_) return;
  marked_ = false;
  Step step;
  step.before = drawing.TakeJournal();
  bool changed = false;
  step.after.reserve(step.before.size());
  for (const SegmentImage& before : step.before) {
    step.after.push_back(drawing.ImageOf(before.id));
    changed = changed || !SameContent(before, step.after.back());
    step.bytes += before.Bytes() + step.after.back().Bytes();
  }
  if (!changed) return;
  tooLarge_ = step.bytes > byteLimit_;
  if (tooLarge_) return;
  undo_.push_back(std::move(step));
  redo_.clear();
  ++kept_;
  Trim();
}

bool UndoHistory::Undo(Drawing& drawing) {
  if (undo_.empty()) return false;
  drawing.RestoreImages(undo_.back().before);
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  return true;
}

bool UndoHistory::Redo(Drawing& drawing) {
  if (redo_.empty()) return false;
  drawing.RestoreImages(redo_.back().after);
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  return true;
}

}  // namespace vexhost
