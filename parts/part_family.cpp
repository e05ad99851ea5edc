#include "parts/part_family.h"

namespace twinfind::parts {

std::vector<PartFamily> FamiliesOf(const survey::SurveyResult& result) {
  std::vector<PartFamily> families;
  for (size_t i = 0; i < result.families.size(); ++i) {
    PartFamily family;
    family.number = static_cast<int>(i) + 1;
    for (const survey::FoundTwin& twin : result.families[i].members) {
      family.members.push_back({twin.segments, twin.motion});
    }
    families.push_back(std::move(family));
  }
  return families;
}

}  // namespace twinfind::parts
