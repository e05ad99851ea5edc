// The command's current part and its twins: what the part step's search found, kept for the
// result steps that blink, measure, copy, delete, recolour and label them, with the copies the
// arrangement made of them. The command's own state, which it hands the engine where it needs it.
#ifndef BALLOON_FOUND_PARTS_H
#define BALLOON_FOUND_PARTS_H

#include <cstdint>
#include <vector>

#include "engine/shape_model.h"

namespace twinfind {

struct FoundParts {
  std::vector<SegmentRef> part;    // the indicated part, in its order
  std::vector<MatchRecord> twins;  // its twins, in the order the search found them
  // Per twin, the segments of its copy in the last row placed, in the order of its own; empty:
  // none.
  std::vector<std::vector<SegmentRef>> copies;
  uint32_t searches = 0;  // part steps that searched since the module was loaded
  int count() const { return static_cast<int>(twins.size()); }
};

// Overwritten by every part step.
extern FoundParts foundParts;

}  // namespace twinfind

#endif  // BALLOON_FOUND_PARTS_H
