// twinfind survey: every family of twins in a drawing, printed, pictured and reported.
#ifndef TOOLS_SURVEY_SURVEY_COMMAND_H
#define TOOLS_SURVEY_SURVEY_COMMAND_H

#include "tools/cli_options.h"

namespace twinfind::tool {

int SurveyCommand(const Options& options);

}  // namespace twinfind::tool

#endif  // TOOLS_SURVEY_SURVEY_COMMAND_H
