// Families that look the same but are drawn with other strokes: an exporter that writes curves
// as runs of short lines may write the same rounded corner with 16 lines in one place and 18 in
// another, so one shape comes out as several families that no tolerance of the command's
// segment-by-segment search joins. The survey names them, with how close their outlines lie,
// and leaves them apart, as the command counts them.
#ifndef SURVEY_ALIKE_FAMILIES_H
#define SURVEY_ALIKE_FAMILIES_H

#include <vector>

#include "host/drawing.h"
#include "settings/search_options.h"
#include "survey/survey.h"

namespace twinfind::survey {

// The groups of two or more of `families` whose searched members have other figure counts or
// kinds (layers and colours aside), equal boxes, and figures that lie within 1 percent of their
// extent of each other's once their boxes are laid on each other (turned by quarter turns, or
// mirrored, when the options let twins be), families of a near group counting as one. Each group
// with the farthest any figure of one lies from the other's, and its parts in all. Only pairs
// whose boxes and distances from a grid of points over them agree are compared figure by
// figure. Told how far it has come; nothing when the progress asks it to stop.
std::vector<NearFamilies> FindAlikeFamilies(const vexhost::Drawing& drawing,
                                            const std::vector<Family>& families,
                                            const std::vector<NearFamilies>& near,
                                            const SearchOptions& options,
                                            const StepProgress& progress = nullptr);

}  // namespace twinfind::survey

#endif  // SURVEY_ALIKE_FAMILIES_H
