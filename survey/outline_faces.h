// The closed regions a group of touching lines and arcs bounds, as a person sees them where
// parts are drawn side by side: bars stacked with their long edges on each other, parts cut with
// one line between them, cradles interlocked. The lines and arcs make a plane graph (their ends
// its corners, a line drawn twice one edge); each bounded face of it is a region, its segments
// those that draw its edges (both lines of an edge drawn twice).
#ifndef SURVEY_OUTLINE_FACES_H
#define SURVEY_OUTLINE_FACES_H

#include <vector>

#include "host/drawing.h"

namespace twinfind::survey {

struct OutlineFace {
  std::vector<int> segments;           // sorted
  std::vector<FigureRecord> boundary;  // its edges' figures, one for each edge
  double area = 0;
};

// The bounded faces of the plane graph the segments' lines and arcs make, figure ends within
// `joint` of each other taken as one corner; at most `most` of them (nothing when there would be
// more, so that a survey of a large plan does not split every room).
std::vector<OutlineFace> BoundedFaces(const vexhost::Drawing& drawing,
                                      const std::vector<int>& segments, double joint, size_t most);

}  // namespace twinfind::survey

#endif  // SURVEY_OUTLINE_FACES_H
