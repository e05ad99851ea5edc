// libFuzzer target: any bytes given to the DXF importer. Besides not crashing, whatever it
// imports must export and read back as the same number of segments and elements, and make a
// picture.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "picture/render.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vexhost::Drawing drawing;
  const auto result =
      twinfind::dxf::ImportDxfText(std::string(reinterpret_cast<const char*>(data), size), drawing);
  if (!result.ok) {
    if (drawing.SegmentCount() != 0 || result.error.empty()) __builtin_trap();
    return 0;
  }
  vexhost::Drawing again;
  const auto back = twinfind::dxf::ImportDxfText(twinfind::dxf::DxfTextOf(drawing), again);
  if (!back.ok || again.SegmentCount() != drawing.SegmentCount() ||
      again.ElementCount() != drawing.ElementCount()) {
    __builtin_trap();
  }
  twinfind::picture::RenderOptions options;
  options.widthPixels = 64;
  std::string svg, error;
  if (!twinfind::picture::SvgOf(drawing, options, svg, error)) __builtin_trap();
  return 0;
}
