// Writing the host drawing as a DXF file (AutoCAD R12 text DXF, which every CAD program
// reads). See docs/dxf.md for what becomes of each segment.
#ifndef DXF_DXF_EXPORT_H
#define DXF_DXF_EXPORT_H

#include <string>
#include <vector>

#include "host/drawing.h"

namespace twinfind::dxf {

// Writes the drawing as DXF (to a temporary name, then renamed); false and a reason on
// failure. What the file cannot hold is told in `warnings` ("warning: ..." lines) when given;
// `entityCount`, when given, is set to the number of entities of the ENTITIES section.
bool ExportDxf(const vexhost::Drawing& drawing, const std::string& path, std::string& error,
               std::vector<std::string>* warnings = nullptr, int* entityCount = nullptr);

// The DXF text of the drawing, as ExportDxf writes it.
std::string DxfTextOf(const vexhost::Drawing& drawing, std::vector<std::string>* warnings = nullptr,
                      int* entityCount = nullptr);

}  // namespace twinfind::dxf

#endif  // DXF_DXF_EXPORT_H
