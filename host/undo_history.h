// The drawing as it was before each of the command's result actions, so that the user can take
// an action back (undo) and have it again (redo). The tool notes the drawing when a result
// action may begin and hands the note in once the action is over; each kept state is the
// drawing's whole lasting content (host/drawing_state.h), restored whole. At most 20 states are
// kept, and no more than the bytes allowed (a quarter of the memory limit): the oldest go first.
#ifndef HOST_UNDO_HISTORY_H
#define HOST_UNDO_HISTORY_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>

#include "host/drawing.h"
#include "host/drawing_state.h"

namespace vexhost {

class UndoHistory {
 public:
  static constexpr size_t kMostSteps = 20;

  // The bytes the kept states may take together.
  void SetByteLimit(uint64_t bytes);
  uint64_t byteLimit() const { return byteLimit_; }

  // Notes the drawing as it is now, before a result action; a note already taken is kept (an
  // action runs over several steps). Nothing is noted when one state alone passes the limit.
  void Mark(const Drawing& drawing);
  bool marked() const { return mark_ != nullptr; }
  // The result action is over. Changed: the note becomes the newest state to undo to and what
  // could be redone is forgotten; else the note is dropped.
  void Settle(bool changed);

  // Takes the drawing back to the newest kept state (the present is kept for redo), or forward
  // again; false when there is nothing to undo or redo.
  bool Undo(Drawing& drawing);
  bool Redo(Drawing& drawing);
  size_t undoSteps() const { return undo_.size(); }
  size_t redoSteps() const { return redo_.size(); }
  // How many states were kept since the start (a counter that only grows).
  uint64_t kept() const { return kept_; }
  // The last state was left unnoted because the drawing alone passes the limit.
  bool tooLarge() const { return tooLarge_; }

 private:
  struct State {
    DrawingState content;
    uint64_t bytes = 0;
  };
  static State Keep(DrawingState content);
  void Trim();
  uint64_t Held() const;

  uint64_t byteLimit_ = std::numeric_limits<uint64_t>::max();
  std::deque<State> undo_;  // the newest at the back
  std::deque<State> redo_;  // the next to redo at the back
  std::unique_ptr<DrawingState> mark_;
  uint64_t kept_ = 0;
  bool tooLarge_ = false;
};

}  // namespace vexhost

#endif  // HOST_UNDO_HISTORY_H
