// Every part of a sheet once, for a list a shop can quote from: each closed outline with what
// lies inside it (its holes, slots, engraved marks) is one part, whether it has twins or not;
// a hole is part of its plate, never a part of its own, and what lies in a hole (a disc cut
// from a washer's middle) is a part again. An outline drawn around parts (a sheet's border: a
// rectangle holding two or more outlines that hold something themselves) is no part, and a
// line drawn as a wide stroke's two edges is one line. Twins are the
// survey's families where their members are such parts, else found by the command's search
// among the parts left; a part without twins has quantity 1.
#ifndef PARTS_SHEET_PARTS_H
#define PARTS_SHEET_PARTS_H

#include <vector>

#include "host/drawing.h"
#include "parts/part_family.h"
#include "settings/search_options.h"
#include "survey/survey.h"

namespace twinfind::parts {

struct SheetParts {
  // Numbered from 1: the survey's families first, in its order, then the parts its families
  // do not hold, by their first segment.
  std::vector<PartFamily> families;
  int parts = 0;           // every part, each copy counted
  int strokeSegments = 0;  // open strokes outside every part (loose lines, a sheet's title)
  int frameSegments = 0;   // outlines drawn around parts
  int otherSegments = 0;   // segments of the range without lines, arcs or circles (texts)
};

// `range` as the survey took it, in drawing order; `survey` its result.
SheetParts FindSheetParts(const vexhost::Drawing& drawing, const std::vector<int>& range,
                          const survey::SurveyResult& survey, const SearchOptions& options);

}  // namespace twinfind::parts

#endif  // PARTS_SHEET_PARTS_H
