// The drawing's layers as the user sees them: number, name, colour, how many lasting segments
// lie on each and whether it is shown. A layer switched off is neither drawn nor selected by a
// window (the host's own visibility, host/search.h); switching one is a setting of the view of
// the drawing, not a change of the drawing: saving keeps each layer as the file had it.
#ifndef TOOLS_LAYER_LIST_H
#define TOOLS_LAYER_LIST_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/drawing.h"

namespace twinfind::tool {

struct LayerInfo {
  int number = 0;
  std::string name;          // as the drawing names it; the number when it has no name
  std::optional<int> color;  // the layer's own colour number, when the drawing gave it one
  size_t segments = 0;       // lasting segments on it
  bool visible = true;
};

// Every layer that holds a lasting segment, has a name or is hidden, by number.
std::vector<LayerInfo> ListLayers(const vexhost::Drawing& drawing);

// "3 DOORS": the number, and the name when it is not the number.
std::string LayerLabel(const LayerInfo& layer);

}  // namespace twinfind::tool

#endif  // TOOLS_LAYER_LIST_H
