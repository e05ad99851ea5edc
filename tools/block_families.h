// The searches of a run as families of twins for the outputs that hand parts on (parts/): each
// search that still has twins standing, the part first, with the part number the balloon
// method gave it.
#ifndef TOOLS_BLOCK_FAMILIES_H
#define TOOLS_BLOCK_FAMILIES_H

#include <string>
#include <vector>

#include "dxf/dxf_save.h"
#include "parts/part_family.h"
#include "tools/search_recorder.h"

namespace twinfind::tool {

// Searches whose result was undone, and twins the result action deleted, give none.
std::vector<parts::PartFamily> FamiliesOfSearches(const std::vector<SearchRecord>& searches);

// The lines that tell what a save as blocks made: the planning's notes, then one line per
// family ("block TWINFIND_PART_1 (family 1): 5 references, 4 of them new").
std::vector<std::string> BlockLines(const std::vector<std::string>& notes,
                                    const std::vector<dxf::BlockOutcome>& outcomes);

}  // namespace twinfind::tool

#endif  // TOOLS_BLOCK_FAMILIES_H
