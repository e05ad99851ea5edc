// The last step of an import: the reader's model into the host's drawing. Each entity of model
// space becomes one segment on its layer (a block reference two: its figures, and its texts
// and balloons); layers get their numbers, names and visibility.
#ifndef DXF_HOST_BUILDER_H
#define DXF_HOST_BUILDER_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dxf/dxf_model.h"
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

void BuildDrawing(const Model& model, vexhost::Drawing& drawing, BuildCounts& counts);

}  // namespace twinfind::dxf

#endif  // DXF_HOST_BUILDER_H
