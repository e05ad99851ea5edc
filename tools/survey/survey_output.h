// What a survey tells: its lines, its report (one search per family, in the report format of
// run) and its picture (each family in a colour of its own, its count beside one member).
#ifndef TOOLS_SURVEY_SURVEY_OUTPUT_H
#define TOOLS_SURVEY_SURVEY_OUTPUT_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "picture/render.h"
#include "survey/survey.h"
#include "tools/search_recorder.h"

namespace twinfind::tool {

// One line per family ("family 1: 10 parts, 5 mirrored; ..."), then the total line.
// With the drawing, each family's line is followed by the two range lines that have run find
// it (family_pick.h), indented.
std::vector<std::string> SurveyLines(const survey::SurveyResult& result,
                                     const vexhost::Drawing* drawing = nullptr);

// One line for each group of families that differ only by rounding: which, within what, and
// the tolerance that makes them one family ("near: families 1, 3 and 5 agree within ...");
// then one for each group that looks the same but is drawn with other strokes ("alike: ...").
std::vector<std::string> NearLines(const survey::SurveyResult& result);

// One search record per family: the searched member as the part, every member as a twin with
// the turn and mirroring that take the part onto it.
std::vector<SearchRecord> SurveyRecords(
    const vexhost::Drawing& drawing, const survey::SurveyResult& result,
    std::optional<VexBox> range, const std::vector<std::pair<std::string, std::string>>& settings);

// The settings that decide what a twin is, as stored (or their defaults): mIsRotate,
// mIsSymmetry, mIsLayer, mIsColor and mTolerance, for the report.
std::vector<std::pair<std::string, std::string>> SearchSettingTexts();

// The family colours of the picture, one per family (they repeat after many).
uint32_t FamilyColour(size_t family);

// Picture options that draw the families in their colours over the dimmed rest, with each
// family's count beside its first member.
picture::RenderOptions SurveyPicture(const survey::SurveyResult& result, bool grid);

}  // namespace twinfind::tool

#endif  // TOOLS_SURVEY_SURVEY_OUTPUT_H
