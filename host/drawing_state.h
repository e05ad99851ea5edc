// The content of a drawing kept apart from it (undo and redo): its lasting segments with their
// elements and hole records, and what the drawing knows of the copies made since the file was
// read. It holds plain values, so a kept state costs about what its segments hold.
#ifndef HOST_DRAWING_STATE_H
#define HOST_DRAWING_STATE_H

#include <cstdint>
#include <utility>
#include <vector>

#include "host/drawing.h"

namespace vexhost {

struct DrawingState {
  std::vector<Segment> segments;  // lasting segments, ascending id
  std::vector<Element> elements;  // their elements, ascending id
  std::vector<std::pair<int, HoleRecord>> holes;
  std::vector<std::pair<int, CopyOrigin>> origins;

  // About how many bytes the state holds.
  uint64_t Bytes() const;
};

}  // namespace vexhost

#endif  // HOST_DRAWING_STATE_H
