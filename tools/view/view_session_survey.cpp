// The view session's Survey button and the pick of a family from its list: the survey of the
// drawing on the command's host, and the windows a user would drag given to the command.
#include "tools/view/view_session.h"

#include <chrono>

#include "host/host.h"
#include "host/step_kind.h"
#include "settings/search_options.h"
#include "tools/survey/family_pick.h"
#include "tools/survey/survey_output.h"
#include "tools/view/view_survey.h"

namespace twinfind::tool::view {

std::string ViewSession::SurveyProgress() const {
  return nlohmann::json{
      {"ok", true}, {"surveying", surveying_.load()}, {"done", surveyDone_.load()}}
      .dump();
}

std::string ViewSession::Survey(const nlohmann::json& request) {
  // What the survey's own searches say (a working table full) is not the command's.
  TakeOutput(false);
  const auto start = std::chrono::steady_clock::now();
  surveyCancel_ = false;
  surveyDone_ = 0;
  surveying_ = true;
  const auto hidden = request.find("hiddenLayers");
  const bool hiddenLayers = hidden != request.end() && hidden->is_boolean() && hidden->get<bool>();
  survey::SurveyResult result = session_.File().Survey(
      {std::nullopt, hiddenLayers}, SearchOptionsOf(ReadSettings()), false, [this](double done) {
        surveyDone_ = done;
        return !surveyCancel_.load();
      });
  surveying_ = false;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  out_.str({});
  err_.str({});
  if (result.cancelled) {
    Add("tool", "survey: cancelled");
    return State(request, "the survey was cancelled");
  }
  survey_ = std::move(result);
  layers_.Update();
  surveyDigest_ = layers_.lastingDigest();
  surveyHidden_ = vexhost::TheHost().drawing.hiddenLayers();
  nlohmann::json state = nlohmann::json::parse(State(request));
  // Each near line with the setting it suggests (null for none), offered as a button.
  const std::vector<std::string> near = NearLines(*survey_);
  nlohmann::json suggested = nlohmann::json::array();
  for (const std::string& line : near) {
    const std::optional<Suggestion> suggest = SuggestionIn(line);
    suggested.push_back(suggest ? nlohmann::json{{"name", suggest->name}, {"value", suggest->value}}
                                : nlohmann::json(nullptr));
  }
  state["survey"] = {{"families", FamiliesJson(*survey_, layers_)},
                     {"segments", survey_->segments},
                     {"candidates", survey_->candidates},
                     {"near", near},
                     {"nearSettings", suggested},
                     {"hiddenLayers", hiddenLayers},
                     {"seconds", seconds}};
  return state.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<std::string> ViewSession::Pick(const nlohmann::json& request) {
  // The pick's own refusals go into the command line, as the tool's refusals of a line do.
  const auto refuse = [this](std::string why) -> std::optional<std::string> {
    Add("refused", why);
    return why;
  };
  if (!survey_) return refuse("no survey to pick from: press Survey first");
  const auto at = request.find("family");
  if (at == request.end() || !at->is_number_integer() || at->get<int64_t>() < 0 ||
      at->get<int64_t>() >= static_cast<int64_t>(survey_->families.size())) {
    return refuse("no such family in the survey");
  }
  layers_.Update();
  if (!SurveyFresh()) {
    return refuse(
        "the drawing has changed since the survey (or its layers were switched): press Survey "
        "again");
  }
  // The command's windows take no segment of a hidden layer: it would find fewer.
  std::vector<int> members;
  for (const survey::FoundTwin& twin : survey_->families[at->get<size_t>()].members) {
    members.insert(members.end(), twin.segments.begin(), twin.segments.end());
  }
  if (const std::string hidden = HiddenLayersOf(vexhost::TheHost().drawing, members);
      !hidden.empty()) {
    return refuse("family " + std::to_string(at->get<size_t>() + 1) +
                  " has parts on layers that are off (" + hidden +
                  "): the command selects none of them; switch them on, then pick it");
  }
  const size_t index = at->get<size_t>();
  const survey::Family& family = survey_->families[index];
  const FamilyPick pick = PickOf(vexhost::TheHost().drawing, family);
  const int limit = SearchOptionsOf(ReadSettings()).rangeLimit;
  if (pick.selected > static_cast<size_t>(limit)) {
    // Said before the command is touched: the range would be refused for its size.
    return refuse("family " + std::to_string(index + 1) + "'s parts hold " +
                  std::to_string(pick.selected) + " segments, more than the " +
                  std::to_string(limit) + " the search range takes; twinfind settings set " +
                  "mRangeLimit " + std::to_string(pick.selected) + " raises the limit");
  }
  const vexhost::StepDriver& driver = vexhost::TheHost().driver;
  if (driver.active() && vexhost::StepKindOf(driver) != vexhost::StepKind::kRange) {
    // Only a step that waits for a part may be left: the end button there ends the command
    // with nothing to undo. Elsewhere it would confirm or skip a result the user is in.
    if ((driver.mask() & VEX_MASK_RANGE) == 0) {
      return refuse(
          "the command is in the middle of a search: finish it (or press End until it asks "
          "for a part), then pick the family again");
    }
    if (auto refused = RunLine("end")) return refused;
  }
  pendingPart_.reset();
  if (!driver.active()) {
    if (auto refused = RunLine("start")) return refused;
  }
  if (vexhost::StepKindOf(driver) != vexhost::StepKind::kRange) {
    return refuse("the command does not ask for a search range");
  }
  Add("tool", "survey: family " + std::to_string(index + 1) + ", " +
                  std::to_string(family.members.size()) +
                  " parts: a window over each for the range, the first for the part");
  if (auto refused = RunLine(RangeLine(pick.range))) return refused;
  pendingPart_ = pick.part;
  return std::nullopt;
}

void ViewSession::IndicatePendingPart() {
  if (!pendingPart_) return;
  const vexhost::StepDriver& driver = vexhost::TheHost().driver;
  // After the range the next step that takes a window is the part's (the balloon method asks
  // for the material, the number and the depth first, answered by the user).
  if (!driver.active() || dialogs_.open()) {
    pendingPart_.reset();
  } else if ((driver.mask() & VEX_MASK_RANGE) != 0) {
    const VexBox part = *pendingPart_;
    pendingPart_.reset();
    RunLine(RangeLine({part}));
  }
}

bool ViewSession::SurveyFresh() const {
  return survey_.has_value() && layers_.lastingDigest() == surveyDigest_ &&
         vexhost::TheHost().drawing.hiddenLayers() == surveyHidden_;
}

}  // namespace twinfind::tool::view
