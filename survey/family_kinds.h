// Which families a person looks for when asking what repeats in a drawing: parts (a block the
// drawing inserts again and again, or figures that close a loop somewhere: an outline with what
// lies inside it, a symbol with a circle) and holes (a circle, or concentric circles), not
// strokes (single lines, lone points, loose dashes, letters and hatch strokes drawn as open
// lines and arcs, anything without width or height).
#ifndef SURVEY_FAMILY_KINDS_H
#define SURVEY_FAMILY_KINDS_H

#include <vector>

#include "host/drawing.h"
#include "survey/survey.h"

namespace twinfind::survey {

enum class FamilyKind { kPart, kHoles, kStroke };

// The kind of a family, told by its searched member; figure ends within `joint` meet;
// `drawnAsBlock` tells which segments are block references.
FamilyKind KindOf(const vexhost::Drawing& drawing, const Family& family, double joint,
                  const DrawnAsBlock& drawnAsBlock = nullptr);

// Ranks the families by what a person looks for first (members times their size, largest
// first; the size grows by one for each doubling of a member's figures),
// and without `all` leaves out the families of strokes. Returns how many were left out.
int RankAndKeepParts(const vexhost::Drawing& drawing, std::vector<Family>& families, bool all,
                     double joint, const DrawnAsBlock& drawnAsBlock = nullptr);

}  // namespace twinfind::survey

#endif  // SURVEY_FAMILY_KINDS_H
