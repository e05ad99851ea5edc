// Reading a DXF drawing into the host. See docs/dxf.md for what becomes of each entity.
#ifndef DXF_DXF_IMPORT_H
#define DXF_DXF_IMPORT_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dxf/dxf_source.h"
#include "host/drawing.h"

namespace twinfind::dxf {

struct ImportResult {
  bool ok = false;
  std::string error;                   // why the file could not be read (ok false)
  std::map<std::string, int> notHeld;  // entity type, or "TYPE (why)" -> how many were not taken
  std::map<std::string, int> unknownLineTypes;  // line-type name -> figures drawn continuous
  int segments = 0;                             // segments added to the drawing
  // The file as read, with the segments each of its entities became: what saving the drawing
  // back into the file starts from (set when ok).
  std::shared_ptr<const DxfSource> source;
  // One "warning: ..." line per entry of notHeld and of unknownLineTypes.
  std::vector<std::string> WarningLines() const;
};

// Reads a DXF file and adds its entities to the drawing (normally an empty one), which is then
// marked as the baseline of later changes. When the file cannot be read, the drawing is left as
// it was.
ImportResult ImportDxf(const std::string& path, vexhost::Drawing& drawing);

// The same for DXF text already in memory.
ImportResult ImportDxfText(std::string text, vexhost::Drawing& drawing);

}  // namespace twinfind::dxf

#endif  // DXF_DXF_IMPORT_H
