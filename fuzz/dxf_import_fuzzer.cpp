// libFuzzer target: any bytes given to the DXF importer. Besides not crashing, whatever it
// imports must export and read back as the same number of segments and elements, and make a
// picture; saved back into its own text it must come back byte for byte, and saved with a
// deletion, a recolouring, a moved copy and a new line it must still be a file the importer
// reads.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "dxf/dxf_save.h"
#include "picture/render.h"

namespace {

// The first and last lasting segments changed, the first copied aside, a line added.
void ChangeDrawing(vexhost::Drawing& d) {
  const std::vector<int> ids = d.SegmentIds();
  if (!ids.empty()) {
    for (const int e : d.FindSegment(ids.front())->elements) {
      if (auto& attr = d.FindElement(e)->lineAttr) attr->color = (attr->color + 1) % 16;
    }
    vexhost::Placement move;
    move.tx = 10;
    d.PlaceSegment(d.CopySegment(ids.front()), move);
    if (ids.size() > 1) d.DeleteSegment(ids.back());
  }
  d.SetCurrentLayer(801);
  FigureRecord line{};
  line.kind = VEX_FIG_LINE;
  line.u.line = {0, 0, 1, 1};
  d.AddFigure(d.CreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING), line);
}

}  // namespace

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
  twinfind::dxf::SaveCounts counts;
  const std::string input(reinterpret_cast<const char*>(data), size);
  if (twinfind::dxf::SavedDxfText(drawing, *result.source, counts) != input) __builtin_trap();
  ChangeDrawing(drawing);
  vexhost::Drawing saved;
  if (!twinfind::dxf::ImportDxfText(twinfind::dxf::SavedDxfText(drawing, *result.source, counts),
                                    saved)
           .ok) {
    __builtin_trap();
  }
  twinfind::picture::RenderOptions options;
  options.widthPixels = 64;
  std::string svg, error;
  if (!twinfind::picture::SvgOf(drawing, options, svg, error)) __builtin_trap();
  return 0;
}
