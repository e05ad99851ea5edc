// Families of twins turned into a plan for saving them as block references (dxf/block_request.h):
// for each family the member the block is made from (a member that already references a block
// of the file, else the first member made of whole entities), and for each twin the entities
// it replaces and the placement that takes that member onto it, from the motions the search
// laid the part on both with.
#ifndef PARTS_BLOCK_PLAN_H
#define PARTS_BLOCK_PLAN_H

#include <string>
#include <vector>

#include "dxf/block_request.h"
#include "dxf/dxf_source.h"
#include "host/drawing.h"
#include "parts/part_family.h"

namespace twinfind::parts {

struct BlockPlanning {
  dxf::BlockPlan plan;
  // One line per family or twin left as it is, and why ("family 4: 2 of 6 twins stay as they
  // are: they lie inside twins of an earlier family").
  std::vector<std::string> notes;
};

// The families in order: a twin whose entities an earlier family already takes stays with
// that family. A twin whose entities changed shape since the drawing was read, or whose
// entities hold more than the twin (a reference's texts), stays as it is.
BlockPlanning PlanBlocks(const vexhost::Drawing& drawing, const dxf::DxfSource& source,
                         const std::vector<PartFamily>& families);

// The name wanted for a family's new block: its part number as a block name (characters a
// name may not hold become '_'), else TWINFIND_PART_<number>.
std::string BlockNameOf(const PartFamily& family);

}  // namespace twinfind::parts

#endif  // PARTS_BLOCK_PLAN_H
