// The command's current part and its twins: what the part step's search found, kept for the
// result steps that blink, measure, copy, delete, recolour and label them.
#ifndef ENGINE_FOUND_PARTS_H
#define ENGINE_FOUND_PARTS_H

#include <vector>

#include "engine/shape_model.h"

namespace twinfind {

struct FoundParts {
  std::vector<SegmentRef> part;    // the indicated part, in its order
  std::vector<MatchRecord> twins;  // its twins, in the order the search found them
  int count() const { return static_cast<int>(twins.size()); }
};

// Overwritten by every part step.
extern FoundParts foundParts;

}  // namespace twinfind

#endif  // ENGINE_FOUND_PARTS_H
