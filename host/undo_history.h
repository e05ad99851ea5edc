// What each of the command's result actions changed, so that the user can take an action back
// (undo) and have it again (redo). The tool has the drawing start its journal when a result
// action may begin and settles it once the action is over; a step keeps the segments the action
// changed, as they were before it and as they are after it (host/segment_image.h), not the
// whole drawing. An action that changed nothing keeps nothing. At most 20 steps are kept, and
// no more than the bytes allowed (a quarter of the memory limit): the oldest go first.
#ifndef HOST_UNDO_HISTORY_H
#define HOST_UNDO_HISTORY_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

#include "host/drawing.h"
#include "host/segment_image.h"

namespace vexhost {

class UndoHistory {
 public:
  static constexpr size_t kMostSteps = 20;

  // The bytes the kept steps may take together.
  void SetByteLimit(uint64_t bytes);
  uint64_t byteLimit() const { return byteLimit_; }

  // A result action may begin: the drawing notes what it changes from now on; a note already
  // begun is kept (an action runs over several steps).
  void Mark(Drawing& drawing);
  bool marked() const { return marked_; }
  // The result action is over. When it changed the drawing, what it changed becomes the newest
  // step to undo and what could be redone is forgotten; a step that alone passes the byte
  // limit is not kept (tooLarge). The same drawing as Mark's.
  void Settle(Drawing& drawing);

  // Takes the drawing back before the newest kept step (it can be redone), or forward again;
  // false when there is nothing to undo or redo.
  bool Undo(Drawing& drawing);
  bool Redo(Drawing& drawing);
  size_t undoSteps() const { return undo_.size(); }
  size_t redoSteps() const { return redo_.size(); }
  // How many steps were kept since the start (a counter that only grows).
  uint64_t kept() const { return kept_; }
  // The last action changed more than the limit allows one step to keep.
  bool tooLarge() const { return tooLarge_; }

 private:
  struct Step {
    std::vector<SegmentImage> before;  // ascending id
    std::vector<SegmentImage> after;   // the same segments
    uint64_t bytes = 0;
  };
  void Trim();
  uint64_t Held() const;

  uint64_t byteLimit_ = std::numeric_limits<uint64_t>::max();
  std::deque<Step> undo_;  // the newest at the back
  std::deque<Step> redo_;  // the next to redo at the back
  bool marked_ = false;
  uint64_t kept_ = 0;
  bool tooLarge_ = false;
};

}  // namespace vexhost

#endif  // HOST_UNDO_HISTORY_H
