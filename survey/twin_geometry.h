// Twins told apart from what the host shows: the segments that blink at a confirmation are
// grouped into twins of the part by their geometry, each with the turn (and mirroring) that
// takes the part onto it; and copies made later are found as twins moved without a turn.
#ifndef SURVEY_TWIN_GEOMETRY_H
#define SURVEY_TWIN_GEOMETRY_H

#include <algorithm>
#include <vector>

#include "host/drawing.h"

namespace twinfind::survey {

struct GroupedTwin {
  std::vector<int> segments;  // in the order of the part's segments they correspond to
  // twin = R(angle) * M * part, moved; M is the mirroring x -> -x when `mirrored`.
  double angleDegrees = 0;  // counter-clockwise, 0 <= angle < 360
  bool mirrored = false;
};

struct TwinGrouping {
  std::vector<GroupedTwin> twins;
  std::vector<int> unmatched;  // segments that belong to no twin of the part
};

// The tolerance the twins of a search are grouped with: the search's coordinate tolerance (the
// larger of 0.001 and its own tolerance), doubled for the turn read off a line whose ends were
// rounded.
inline double GroupingTolerance(double searchTolerance) {
  return 2 * std::max(0.001, searchTolerance);
}

// Groups `candidates` into twins of `part`. The part's longest line is its reference: every
// candidate line of its length is tried in both directions, first unmirrored, then mirrored;
// a trial that puts every part segment onto a candidate segment (figures equal within
// `tolerance`) makes a twin. A part that looks the same under several turns (a symmetric one)
// gets the first that fits.
TwinGrouping GroupTwins(const vexhost::Drawing& drawing, const std::vector<int>& part,
                        const std::vector<int>& candidates, double tolerance);

// For each twin, the segments among `candidates` that are the twin moved without a turn (the
// copy an arrangement makes); empty when there is none. Each candidate serves one twin.
std::vector<std::vector<int>> FindMovedCopies(const vexhost::Drawing& drawing,
                                              const std::vector<std::vector<int>>& twins,
                                              const std::vector<int>& candidates, double tolerance);
// The same with the twins read from `twinsDrawing` (their figures kept from before a result
// action deleted them), the candidates from `drawing`.
std::vector<std::vector<int>> FindMovedCopies(const vexhost::Drawing& twinsDrawing,
                                              const std::vector<std::vector<int>>& twins,
                                              const vexhost::Drawing& drawing,
                                              const std::vector<int>& candidates, double tolerance);

}  // namespace twinfind::survey

#endif  // SURVEY_TWIN_GEOMETRY_H
