// A family of equal parts as the outputs for cutting and for blocks take it, whoever found it:
// the survey's families, the searches of a run, the twins a Python script found.
#ifndef PARTS_PART_FAMILY_H
#define PARTS_PART_FAMILY_H

#include <string>
#include <vector>

#include "common/plane_map.h"
#include "survey/survey.h"

namespace twinfind::parts {

struct PartMember {
  std::vector<int> segments;
  // Takes the family's part onto this member, as the search laid it (a turn and a move, after
  // a mirroring for a mirror image).
  PlaneMap motion;
  bool mirrored() const { return motion.flips(); }
};

struct PartFamily {
  int number = 0;                   // as the user was told it (family 3, search 2)
  std::vector<PartMember> members;  // the member searched from first
  std::string partNumber;           // the balloon method's part number; empty: none
};

// The motion that takes `base` onto `member` (both laid from the same part).
inline PlaneMap MotionBetween(const PartMember& base, const PartMember& member) {
  return member.motion.After(base.motion.Inverse());
}

// The survey's families, numbered from 1 in its order.
std::vector<PartFamily> FamiliesOf(const survey::SurveyResult& result);

}  // namespace twinfind::parts

#endif  // PARTS_PART_FAMILY_H
