#include "dxf/style_resolver.h"

#include "dxf/aci_palette.h"
#include "dxf/line_type_names.h"

namespace twinfind::dxf {

StyleResolver::StyleResolver(const std::vector<LayerRecord>& layers) {
  for (const LayerRecord& layer : layers) layers_.emplace(UpperCase(layer.name), layer);
}

const LayerRecord& StyleResolver::Layer(const std::string& name) const {
  const auto it = layers_.find(UpperCase(name));
  return it == layers_.end() ? unlisted_ : it->second;
}

std::string StyleResolver::LayerOf(const Style& style, const BlockLook* block) const {
  if (block && (style.layer.empty() || style.layer == "0")) return block->layer;
  return style.layer.empty() ? "0" : std::string(style.layer);
}

uint32_t StyleResolver::RgbOf(const Style& style, const BlockLook* block) const {
  if (style.trueColor >= 0) return static_cast<uint32_t>(style.trueColor) & 0xFFFFFF;
  if (style.aci == kAciByBlock) return block ? block->rgb : AciRgb(kAciWhite);
  if (style.aci >= 1 && style.aci <= 255) return AciRgb(style.aci);
  const LayerRecord& layer = Layer(LayerOf(style, block));  // BYLAYER and anything unknown
  if (layer.trueColor >= 0) return static_cast<uint32_t>(layer.trueColor) & 0xFFFFFF;
  return AciRgb(layer.aci);
}

std::string StyleResolver::LineTypeOf(const Style& style, const BlockLook* block) const {
  const std::string upper = UpperCase(style.lineType);
  if (upper == "BYBLOCK") return block ? block->lineType : "CONTINUOUS";
  if (upper.empty() || upper == "BYLAYER") return Layer(LayerOf(style, block)).lineType;
  return std::string(style.lineType);
}

BlockLook StyleResolver::LookOf(const Style& style, const BlockLook* block) const {
  return {LayerOf(style, block), RgbOf(style, block), LineTypeOf(style, block)};
}

LineAttr StyleResolver::AttrOf(const Style& style, const BlockLook* block, int figures,
                               std::map<std::string, int>& unknown) const {
  LineAttr attr{};
  attr.color = NearestHostColor(RgbOf(style, block));
  const std::string name = LineTypeOf(style, block);
  if (const auto type = HostLineTypeOfName(name)) {
    attr.lineType = *type;
  } else {
    unknown[name] += figures;
  }
  return attr;
}

}  // namespace twinfind::dxf
