// The last step of an import: the reader's model into the host's drawing. Each entity of model
// space becomes one segment on its layer (a block reference two: its figures, and its texts
// and balloons); layers get their numbers, names and visibility. No segment is left empty: an
// entity that gives nothing the host can hold gives no segment. The drawing's spatial index is
// built once, when every segment is in.
#ifndef DXF_HOST_BUILDER_H
#define DXF_HOST_BUILDER_H

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dxf/block_flattening.h"
#include "dxf/dxf_model.h"
#include "dxf/memory_limit.h"
#include "host/drawing.h"

namespace twinfind::dxf {

struct BuildCounts {
  int segments = 0;
  // The entities of the ENTITIES section (given by the caller, from the model), told the
  // segments each became; and for the copies of array references, the copy of each segment.
  std::vector<SourceEntity> entities;
  std::vector<std::pair<int, int>> cells;
  std::map<std::string, int> notHeld;
  std::map<std::string, int> unknownLineTypes;
};

// Thrown when the memory watch says the process would pass its limit.
struct MemoryLimitReached : std::runtime_error {
  MemoryLimitReached() : std::runtime_error("the memory limit was reached") {}
};

// The host elements (figures, texts, balloons) the model would give at most, block references
// flattened and the flattening limits kept: what building it will take.
uint64_t PlannedElements(const Model& model, const FlattenLimits& limits);

// Builds the drawing; the watch is asked now and then (MemoryLimitReached when it says no).
void BuildDrawing(const Model& model, vexhost::Drawing& drawing, BuildCounts& counts,
                  const FlattenLimits& limits, MemoryWatch& watch);

}  // namespace twinfind::dxf

#endif  // DXF_HOST_BUILDER_H
