#include "tools/block_families.h"

namespace twinfind::tool {

std::vector<parts::PartFamily> FamiliesOfSearches(const std::vector<SearchRecord>& searches) {
  std::vector<parts::PartFamily> families;
  for (size_t i = 0; i < searches.size(); ++i) {
    const SearchRecord& search = searches[i];
    if (search.undone) continue;
    parts::PartFamily family;
    family.number = static_cast<int>(i) + 1;
    if (search.partsList) family.partNumber = search.partsList->partNumber;
    for (const TwinRecord& twin : search.twins) {
      if (twin.action == "deleted") continue;
      const parts::PartMember member{twin.segments, twin.motion};
      if (twin.isPart) {
        family.members.insert(family.members.begin(), member);
      } else {
        family.members.push_back(member);
      }
    }
    if (family.members.size() >= 2) families.push_back(std::move(family));
  }
  return families;
}

std::vector<std::string> BlockLines(const std::vector<std::string>& notes,
                                    const std::vector<dxf::BlockOutcome>& outcomes) {
  std::vector<std::string> lines = notes;
  for (const dxf::BlockOutcome& o : outcomes) {
    lines.push_back("block " + o.name + " (family " + std::to_string(o.number) +
                    "): " + std::to_string(o.references) +
                    (o.references == 1 ? " reference, " : " references, ") +
                    std::to_string(o.replaced) + " of them new");
  }
  return lines;
}

}  // namespace twinfind::tool
