#include "tools/layer_list.h"

#include <map>

namespace twinfind::tool {

std::vector<LayerInfo> ListLayers(const vexhost::Drawing& drawing) {
  std::map<int, size_t> counts;
  for (const int id : drawing.SegmentIds()) {
    const vexhost::Segment* s = drawing.FindSegment(id);
    if (s != nullptr && s->life == VEX_LIFE_LASTING) ++counts[s->layer];
  }
  for (const auto& [layer, name] : drawing.layerNames()) counts.try_emplace(layer, 0);
  for (const int layer : drawing.hiddenLayers()) counts.try_emplace(layer, 0);
  std::vector<LayerInfo> layers;
  layers.reserve(counts.size());
  for (const auto& [number, segments] : counts) {
    LayerInfo info;
    info.number = number;
    const auto named = drawing.layerNames().find(number);
    info.name = named != drawing.layerNames().end() ? named->second : std::to_string(number);
    if (const auto color = drawing.layerColors().find(number);
        color != drawing.layerColors().end()) {
      info.color = color->second;
    }
    info.segments = segments;
    info.visible = drawing.LayerVisible(number);
    layers.push_back(std::move(info));
  }
  return layers;
}

std::string LayerLabel(const LayerInfo& layer) {
  const std::string number = std::to_string(layer.number);
  return layer.name == number ? number : number + " " + layer.name;
}

}  // namespace twinfind::tool
