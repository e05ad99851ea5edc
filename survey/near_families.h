// Families that differ only by rounding: the same shape drawn by an exporter that rounded its
// coordinates differently comes out as several families, each exact within the tolerance. The
// survey does not join them; it says which agree within what, and at which tolerance the
// command's own search finds them as one family.
#ifndef SURVEY_NEAR_FAMILIES_H
#define SURVEY_NEAR_FAMILIES_H

#include <vector>

#include "host/drawing.h"
#include "settings/search_options.h"
#include "survey/survey.h"

namespace twinfind::survey {

// The groups of two or more of `families` whose searched members agree in everything but
// their sizes, and in those within a small part of their extent (0.2 percent, or the sizes'
// slack at the tolerance in force), that one search finds together: each with the smallest
// round tolerance (1, 2 or 5 times a power of ten, up to 1 percent of the extent) at which a
// search from the member of the family with most parts, over `range`, finds every member of
// the group. Only families whose smallest, middle and largest sizes and whose mean size agree
// are compared size by size. Told how far it has come; nothing when the progress asks it to
// stop.
std::vector<NearFamilies> FindNearFamilies(const vexhost::Drawing& drawing,
                                           const std::vector<int>& range,
                                           const std::vector<Family>& families,
                                           const SearchOptions& options,
                                           const StepProgress& progress = nullptr);

}  // namespace twinfind::survey

#endif  // SURVEY_NEAR_FAMILIES_H
