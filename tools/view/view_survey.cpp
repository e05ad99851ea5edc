#include "tools/view/view_survey.h"

#include <algorithm>
#include <unordered_set>

#include "settings/search_options.h"
#include "tools/survey/survey_output.h"

namespace twinfind::tool::view {
namespace {

nlohmann::json BoxJson(const VexBox& b) {
  return {{"minX", b.minX}, {"minY", b.minY}, {"maxX", b.maxX}, {"maxY", b.maxY}};
}

}  // namespace

nlohmann::json FamiliesJson(const survey::SurveyResult& result, const DrawingLayers& layers) {
  nlohmann::json families = nlohmann::json::array();
  for (size_t f = 0; f < result.families.size(); ++f) {
    const survey::Family& family = result.families[f];
    std::unordered_set<int> members;
    nlohmann::json boxes = nlohmann::json::array();
    for (const survey::FoundTwin& twin : family.members) {
      members.insert(twin.segments.begin(), twin.segments.end());
    }
    const uint32_t colour = FamilyColour(f);
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%06x", colour & 0xFFFFFFu);
    families.push_back({{"count", family.members.size()},
                        {"mirrored", family.mirrored},
                        {"figures", family.figures},
                        {"segments", family.part.size()},
                        {"box", BoxJson(family.box)},
                        {"colour", hex},
                        {"svg", layers.Highlight(members, colour)}});
  }
  return families;
}

}  // namespace twinfind::tool::view
