// A family of equal parts as the outputs for cutting and for blocks take it, whoever found it:
// the survey's families, the searches of a run, the twins a Python script found.
#ifndef PARTS_PART_FAMILY_H
#define PARTS_PART_FAMILY_H

#include <string>
#include <vector>

#include "survey/survey.h"

namespace twinfind::parts {

struct PartMember {
  std::vector<int> segments;
  // The turn (counter-clockwise) and mirroring that take the family's part onto this member:
  // member = R(angle) * M * part, moved, M the mirroring x -> -x when `mirrored`.
  double angleDegrees = 0;
  bool mirrored = false;
};

struct PartFamily {
  int number = 0;                   // as the user was told it (family 3, search 2)
  std::vector<PartMember> members;  // the member searched from first
  std::string partNumber;           // the balloon method's part number; empty: none
};

// The turn and mirroring that take `base` onto `member` (both told against the same part).
struct Turn {
  double angleDegrees = 0;  // 0 <= angle < 360
  bool mirrored = false;
};
Turn TurnBetween(const PartMember& base, const PartMember& member);

// The survey's families, numbered from 1 in its order.
std::vector<PartFamily> FamiliesOf(const survey::SurveyResult& result);

}  // namespace twinfind::parts

#endif  // PARTS_PART_FAMILY_H
