// Families whose members always come touching each other, the same way, are one part as a
// person sees it: an armchair drawn as its body and two arms, a section mark drawn as an arrow
// and a circle. The candidate parts are groups of figures whose ends meet, so pieces that only
// touch (an arm's end on the body's side) or overlap are candidates of their own, and each
// repeats as a family of its own.
#ifndef SURVEY_JOINED_FAMILIES_H
#define SURVEY_JOINED_FAMILIES_H

#include <vector>

#include "host/drawing.h"
#include "settings/search_options.h"
#include "survey/survey.h"

namespace twinfind::survey {

// Joins families whose members touch members of other families (an end of one lies on a figure
// of the other, within the coordinate tolerance) into groups, and where two or more groups hold
// members of the same families in the same numbers, and hold every member of them, searches the
// first group as one part over `range`: when the command finds exactly the groups, they replace
// those families as one family, in the place of the first. Members must not share segments
// (family_claims.h). False when `progress` asked it to stop.
bool JoinTouchingFamilies(const vexhost::Drawing& drawing, const std::vector<int>& range,
                          const SearchOptions& options, std::vector<Family>& families,
                          const StepProgress& progress);

}  // namespace twinfind::survey

#endif  // SURVEY_JOINED_FAMILIES_H
