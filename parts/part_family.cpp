#include "parts/part_family.h"

#include <cmath>

namespace twinfind::parts {

Turn TurnBetween(const PartMember& base, const PartMember& member) {
  // member = R(a) M^m part and base = R(b) M^n part, so member = R(a) M^m M^-n R(-b) base; a
  // mirroring taken past a turn turns it the other way.
  const bool mirrored = member.mirrored != base.mirrored;
  double angle =
      mirrored ? member.angleDegrees + base.angleDegrees : member.angleDegrees - base.angleDegrees;
  angle = std::fmod(angle, 360.0);
  if (angle < 0) angle += 360;
  if (angle >= 360) angle = 0;
  return {angle, mirrored};
}

std::vector<PartFamily> FamiliesOf(const survey::SurveyResult& result) {
  std::vector<PartFamily> families;
  for (size_t i = 0; i < result.families.size(); ++i) {
    PartFamily family;
    family.number = static_cast<int>(i) + 1;
    for (const survey::FoundTwin& twin : result.families[i].members) {
      family.members.push_back({twin.segments, twin.angleDegrees, twin.mirrored});
    }
    families.push_back(std::move(family));
  }
  return families;
}

}  // namespace twinfind::parts
