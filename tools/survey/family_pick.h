// What has the command find a survey's family: the search range as a selection of one window
// over each member (the members and what lies within their boxes, not one window over the
// drawing, which may hold more than the range takes), and the part's window over the member
// searched from. The view picks with it, and the survey prints it as the two range lines that
// reproduce the family in run.
#ifndef TOOLS_SURVEY_FAMILY_PICK_H
#define TOOLS_SURVEY_FAMILY_PICK_H

#include <string>
#include <vector>

#include "host/drawing.h"
#include "survey/survey.h"

namespace twinfind::tool {

struct FamilyPick {
  std::vector<VexBox> range;  // one window a member
  VexBox part{};              // the window of the first member
  size_t selected = 0;        // the segments the range's windows select together
  size_t extra = 0;  // segments the part's window takes beyond the member (lying in its box)
};

FamilyPick PickOf(const vexhost::Drawing& drawing, const survey::Family& family);

// "range X1 Y1 X2 Y2 [X1 Y1 X2 Y2 ...]", numbers in their shortest exact form.
std::string RangeLine(const std::vector<VexBox>& windows);

}  // namespace twinfind::tool

#endif  // TOOLS_SURVEY_FAMILY_PICK_H
