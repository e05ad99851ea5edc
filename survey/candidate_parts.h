// The parts a survey looks at, formed from a drawing's segments as a user's window would
// indicate them: a closed outline with everything that lies inside it, or else a group of
// segments that touch each other end to end.
#ifndef SURVEY_CANDIDATE_PARTS_H
#define SURVEY_CANDIDATE_PARTS_H

#include <utility>
#include <vector>

#include "host/drawing.h"

namespace twinfind::survey {

// One connected group of segments and what it holds.
struct CandidatePart {
  std::vector<int> own;       // the group's segments, in drawing order
  bool closed = false;        // its lines and arcs form one closed outline (or it is a circle)
  int parent = -1;            // the closed group whose outline it lies inside, or -1
  std::vector<int> children;  // the groups lying directly inside its outline
  VexBox box{};               // the extent of its own figures
};

struct CandidateForest {
  std::vector<CandidatePart> parts;  // every group, in the order of its first segment
  std::vector<int> roots;            // the groups inside no other, in the same order
};

// The segments with figures among `segments` (in drawing order), in groups of segments whose
// figure ends (of lines and arcs) lie within `joint` of each other, in the order of each
// group's first segment.
std::vector<std::vector<int>> TouchingGroups(const vexhost::Drawing& drawing,
                                             const std::vector<int>& segments, double joint);

// Groups `segments` (in drawing order; segments without figures are left out): segments
// whose figure ends lie within `joint` of each other are one group; a group all of whose
// tested points lie inside a closed group's outline (and within its box) is that group's
// child, the smallest such group being the parent.
CandidateForest FormCandidates(const vexhost::Drawing& drawing, const std::vector<int>& segments,
                               double joint);

// The segments of a group with everything inside it, in drawing order.
std::vector<int> SegmentsOf(const CandidateForest& forest, int part);

// Points that must lie inside an outline for figures to lie inside it: figure ends, a circle's
// rightmost point, points; at most 16, spread over them.
std::vector<std::pair<double, double>> TestPoints(const std::vector<FigureRecord>& figures);

// The figures of a segment, in element order.
std::vector<FigureRecord> FiguresOf(const vexhost::Drawing& drawing, int segmentId);
// The figures of the segments, one segment after the other.
std::vector<FigureRecord> FiguresOf(const vexhost::Drawing& drawing,
                                    const std::vector<int>& segments);

}  // namespace twinfind::survey

#endif  // SURVEY_CANDIDATE_PARTS_H
