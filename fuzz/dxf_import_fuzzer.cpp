// libFuzzer target: any bytes given to the DXF importer. Besides not crashing, a refused file
// must leave the drawing empty and say why; whatever imports must export and read back as the
// same number of segments and elements, and make a picture; saved back into its own text it
// must come back byte for byte, and saved with a deletion, a recolouring, a moved copy and a
// new line it must still be a file the importer reads.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "dxf/dxf_save.h"
#include "picture/render.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "dxf_import_fuzzer: %s\n", what);
  std::abort();
}

// The first and last lasting segments changed, the first copied aside, a line added.
void ChangeDrawing(vexhost::Drawing& d) {
  const std::vector<int> ids = d.SegmentIds();
  if (!ids.empty()) {
    for (const int e : d.FindSegment(ids.front())->elements) {
      if (auto& attr = d.FindElement(e)->lineAttr) attr->color = (attr->color + 1) % 16;
    }
    vexhost::PlaneMap move;
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
  const std::string input(reinterpret_cast<const char*>(data), size);
  vexhost::Drawing drawing;
  const auto result = twinfind::dxf::ImportDxfText(input, drawing);
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
  twinfind::dxf::SaveCounts counts;
  Check(twinfind::dxf::SavedDxfText(drawing, *result.source, counts) == input,
        "the drawing saved unchanged is not its file");
  ChangeDrawing(drawing);
  vexhost::Drawing saved;
  Check(twinfind::dxf::ImportDxfText(twinfind::dxf::SavedDxfText(drawing, *result.source, counts),
                                     saved)
            .ok,
        "the drawing saved with changes does not import");
  twinfind::picture::RenderOptions options;
  options.widthPixels = 64;
  std::string svg, error;
  Check(twinfind::picture::SvgOf(drawing, options, svg, error), "the drawing makes no picture");
  return 0;
}
