// A block plan (block_request.h) worked into a save: the blocks defined, the twins' entities taken
// out (of an array reference, their copies), and one reference per twin written where its first
// entity stood.
#ifndef DXF_BLOCK_SAVE_H
#define DXF_BLOCK_SAVE_H

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dxf/block_request.h"
#include "dxf/block_writer.h"
#include "dxf/dxf_source.h"
#include "dxf/entity_fates.h"
#include "dxf/group_reader.h"

namespace twinfind::dxf {

struct PlannedBlocks {
  std::map<size_t, std::string> referencesAt;  // entity index -> references written after it
  std::vector<BlockOutcome> outcomes;
  int added = 0;  // references written
};

// `fates` are the save's (entities the drawing changed); those of the twins' entities become
// deleted. A twin or a source whose entities the drawing deleted or reshaped is left out, and
// so is a twin that shares an entity with a twin made a reference before. `sourceText` gives an
// entity's text as the save writes it when it stays.
PlannedBlocks ApplyBlockPlan(const BlockPlan& plan, const DxfSource& source, const GroupList& file,
                             BlockWriter& writer, std::map<size_t, EntityFate>& fates,
                             const std::function<std::string(size_t)>& sourceText);

}  // namespace twinfind::dxf

#endif  // DXF_BLOCK_SAVE_H
