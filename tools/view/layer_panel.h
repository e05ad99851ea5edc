// The page's layer panel: each layer of the drawing with its colour, its segments and whether
// it is shown, sent again only when the drawing or a layer's state changed.
#ifndef TOOLS_VIEW_LAYER_PANEL_H
#define TOOLS_VIEW_LAYER_PANEL_H

#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/drawing.h"

namespace twinfind::tool::view {

class LayerPanel {
 public:
  // {"rev": N, "list": [{number, name, colour "#rrggbb" or null, segments, visible}]} for the
  // drawing at the lasting layer's revision `revision`; the list left out when the page has
  // that revision (`have`).
  nlohmann::json Json(const vexhost::Drawing& drawing, int revision, int have);

 private:
  int revision_ = -1;
  nlohmann::json list_;
};

// The layers named in a message: "3 DOORS, 5 HATCH" for the hidden layers among `segments`'.
std::string HiddenLayersOf(const vexhost::Drawing& drawing, const std::vector<int>& segments);

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_LAYER_PANEL_H
