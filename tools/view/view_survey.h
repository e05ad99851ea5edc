// The view's Survey button: the families of twins in the view's own drawing, as the page lists
// them, and a picked family turned into the windows a user would drag to have the command find
// it. The survey runs the engine's search on the host the command is using, so what the
// command keeps between its steps in the host's id lists is kept aside and put back.
#ifndef TOOLS_VIEW_VIEW_SURVEY_H
#define TOOLS_VIEW_VIEW_SURVEY_H

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/host.h"
#include "survey/survey.h"
#include "tools/view/drawing_layers.h"

namespace twinfind::tool::view {

// The families as the page lists them: count, mirrored, figures, the box of the searched
// member, and the members drawn highlighted in the family's colour (SVG elements).
nlohmann::json FamiliesJson(const survey::SurveyResult& result, const DrawingLayers& layers);

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_VIEW_SURVEY_H
