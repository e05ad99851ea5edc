// Saving a drawing that was read from a DXF file back into that file: the file as it was, with
// only what changed in the drawing since it was read. See docs/dxf.md, "Saving into the file".
#ifndef DXF_DXF_SAVE_H
#define DXF_DXF_SAVE_H

#include <string>
#include <vector>

#include "dxf/block_request.h"
#include "dxf/dxf_source.h"
#include "host/drawing.h"

namespace twinfind::dxf {

// What became of the entities of the file's ENTITIES section, and how many were added.
struct SaveCounts {
  int kept = 0;     // written back as they were
  int deleted = 0;  // removed with the segments they gave
  int changed = 0;  // written back changed (recoloured)
  int added = 0;    // new: copies, frames, balloons, texts
};

// Twins to be written as block references, and what became of each family (block_request.h).
struct BlockSave {
  const BlockPlan* plan = nullptr;
  std::vector<BlockOutcome> outcomes;
};

// The text of the file with the drawing's changes since the import that gave `source`, and
// with the twins of `blocks` made references when given. Throws (std::exception) when it cannot
// be made; nothing is written then.
std::string SavedDxfText(const vexhost::Drawing& drawing, const DxfSource& source,
                         SaveCounts& counts, std::vector<std::string>* warnings = nullptr,
                         BlockSave* blocks = nullptr);

// Writes it (to a temporary name, then renamed); false and a reason on failure.
bool SaveDxf(const vexhost::Drawing& drawing, const DxfSource& source, const std::string& path,
             SaveCounts& counts, std::string& error, std::vector<std::string>* warnings = nullptr,
             BlockSave* blocks = nullptr);

// "wrote OUT.dxf: N entities kept, D deleted, C changed, A added"
std::string SaveLine(const std::string& path, const SaveCounts& counts);

}  // namespace twinfind::dxf

#endif  // DXF_DXF_SAVE_H
