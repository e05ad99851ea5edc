// libFuzzer target: any bytes given to the DXF importer. Besides not crashing, a refused file
// must leave the drawing empty and say why, and whatever imports must export and read back as
// the same number of segments and elements, and make a picture.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "picture/render.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "dxf_import_fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vexhost::Drawing drawing;
  const auto result =
      twinfind::dxf::ImportDxfText(std::string(reinterpret_cast<const char*>(data), size), drawing);
  if (!result.ok) {
    Check(drawing.SegmentCount() == 0, "a refused file left segments in the drawing");
    Check(!result.error.empty(), "a refused file was given no reason");
    return 0;
  }
  vexhost::Drawing again;
  const auto back = twinfind::dxf::ImportDxfText(twinfind::dxf::DxfTextOf(drawing), again);
  Check(back.ok, "the exported drawing does not import");
  Check(again.SegmentCount() == drawing.SegmentCount(),
        "the exported drawing reads back with another number of segments");
  Check(again.ElementCount() == drawing.ElementCount(),
        "the exported drawing reads back with another number of elements");
  twinfind::picture::RenderOptions options;
  options.widthPixels = 64;
  std::string svg, error;
  Check(twinfind::picture::SvgOf(drawing, options, svg, error), "the drawing makes no picture");
  return 0;
}
