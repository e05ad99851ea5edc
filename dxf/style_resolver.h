// An entity's colour and line type as the host takes them: BYLAYER resolved through the
// entity's layer, BYBLOCK through the block reference that draws it, ACI and true colours
// mapped to the nearest host colour, line-type names to host line types.
#ifndef DXF_STYLE_RESOLVER_H
#define DXF_STYLE_RESOLVER_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "dxf/dxf_model.h"
#include "vexlib/vexlib.h"

namespace twinfind::dxf {

// How a block reference looks once resolved; what its block's contents inherit.
struct BlockLook {
  std::string layer;
  uint32_t rgb = 0xFFFFFF;
  std::string lineType = "CONTINUOUS";
};

class StyleResolver {
 public:
  explicit StyleResolver(const std::vector<LayerRecord>& layers);

  // The layer an entity is drawn on: inside a block, entities on layer 0 take the layer of
  // the reference.
  std::string LayerOf(const Style& style, const BlockLook* block) const;
  uint32_t RgbOf(const Style& style, const BlockLook* block) const;
  // The line-type name, BYLAYER and BYBLOCK resolved.
  std::string LineTypeOf(const Style& style, const BlockLook* block) const;
  BlockLook LookOf(const Style& style, const BlockLook* block) const;

  // The host's line attribute of an entity; a line-type name the host does not know is drawn
  // continuous and counted in `unknown` (by name, one per figure).
  LineAttr AttrOf(const Style& style, const BlockLook* block, int figures,
                  std::map<std::string, int>& unknown) const;

 private:
  const LayerRecord& Layer(const std::string& name) const;

  std::map<std::string, LayerRecord> layers_;  // by name in capitals
  LayerRecord unlisted_;                       // a layer the table does not list
};

}  // namespace twinfind::dxf

#endif  // DXF_STYLE_RESOLVER_H
