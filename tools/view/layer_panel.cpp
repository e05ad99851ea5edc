#include "tools/view/layer_panel.h"

#include <cstdio>

#include "host/palette.h"
#include "tools/layer_list.h"

namespace twinfind::tool::view {

nlohmann::json LayerPanel::Json(const vexhost::Drawing& drawing, int revision, int have) {
  if (revision != revision_) {
    list_ = nlohmann::json::array();
    for (const LayerInfo& layer : ListLayers(drawing)) {
      nlohmann::json colour = nullptr;
      if (layer.color && *layer.color >= 0 &&
          *layer.color < static_cast<int>(vexhost::kColors.size())) {
        const vexhost::Rgb rgb = vexhost::kColors[static_cast<size_t>(*layer.color)];
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", rgb.r, rgb.g, rgb.b);
        colour = hex;
      }
      list_.push_back({{"number", layer.number},
                       {"name", layer.name},
                       {"colour", colour},
                       {"segments", layer.segments},
                       {"visible", layer.visible}});
    }
    revision_ = revision;
  }
  nlohmann::json panel = {{"rev", revision_}};
  if (have != revision_) panel["list"] = list_;
  return panel;
}

std::string HiddenLayersOf(const vexhost::Drawing& drawing, const std::vector<int>& segments) {
  std::set<int> hidden;
  for (const int id : segments) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (s != nullptr && !drawing.LayerVisible(s->layer)) hidden.insert(s->layer);
  }
  std::string names;
  for (const LayerInfo& layer : ListLayers(drawing)) {
    if (!hidden.count(layer.number)) continue;
    names += (names.empty() ? "" : ", ") + LayerLabel(layer);
  }
  return names;
}

}  // namespace twinfind::tool::view
