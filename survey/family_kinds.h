// Which families a person looks for when asking what repeats in a drawing: parts (a closed
// outline with what lies inside it, or a group of three or more touching figures) and holes (a
// circle, or concentric circles), not strokes (single lines, lone points, two loose figures,
// or anything without width or height).
#ifndef SURVEY_FAMILY_KINDS_H
#define SURVEY_FAMILY_KINDS_H

#include <vector>

#include "host/drawing.h"
#include "survey/survey.h"

namespace twinfind::survey {

enum class FamilyKind { kPart, kHoles, kStroke };

// The kind of a family, told by its searched member.
FamilyKind KindOf(const vexhost::Drawing& drawing, const Family& family);

// Ranks the families by what a person looks for first (members times their size, largest
// first; the size grows by one for each doubling of a member's figures),
// and without `all` leaves out the families of strokes. Returns how many were left out.
int RankAndKeepParts(const vexhost::Drawing& drawing, std::vector<Family>& families, bool all);

}  // namespace twinfind::survey

#endif  // SURVEY_FAMILY_KINDS_H
