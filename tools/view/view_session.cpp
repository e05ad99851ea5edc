#include "tools/view/view_session.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "common/path_name.h"
#include "common/utf.h"
#include "host/host.h"
#include "host/step_kind.h"
#include "tools/drawing_summary.h"
#include "tools/report_writer.h"

namespace twinfind::tool::view {
namespace {

constexpr size_t kKeptLines = 2000;
constexpr size_t kLongestKeyin = 1000;
// The part a click would pick, drawn over the drawing (an orange that no layer colour is).
constexpr uint32_t kHoverColour = 0xFF9F1C;

// What the current step takes, and which step it is, for the page: "range" the search range
// (the command's first step), "window" another window (the part), "point", "keyin", "end" the
// end button alone, "none" when no command runs.
nlohmann::json StepJson(const vexhost::StepDriver& driver) {
  const uint32_t mask = driver.active() ? driver.mask() : 0;
  const bool window = (mask & VEX_MASK_RANGE) != 0, point = (mask & vexhost::kPointBit) != 0;
  const bool keyin = (mask & VEX_MASK_KEYIN) != 0;
  const vexhost::StepKind kind = vexhost::StepKindOf(driver);
  return {{"step", vexhost::StepKindName(kind)},
          {"rest", vexhost::AtRest(kind)},
          {"window", window},
          {"point", point},
          {"snap", point && (mask & (VEX_MASK_BALLOON_POINT & ~VEX_MASK_POINT)) != 0},
          {"keyin", keyin}};
}

// A number as an action line carries it: the shortest text that reads back as the same double.
std::string Shortest(double v) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

std::optional<std::string> Number(const nlohmann::json& request, const char* name) {
  const auto at = request.find(name);
  if (at == request.end() || !at->is_number()) return std::nullopt;
  const double v = at->get<double>();
  if (!std::isfinite(v)) return std::nullopt;
  return Shortest(v);
}

}  // namespace

std::string Text(const nlohmann::json& request, const char* name) {
  const auto at = request.find(name);
  return at != request.end() && at->is_string() ? at->get<std::string>() : std::string();
}

ViewSession::ViewSession(Session& session)
    : session_((session.File().StayInHost(), session)), layers_(vexhost::TheHost().drawing) {
  OpenSessionSettings();
  runner_ = std::make_unique<ScriptRunner>(out_, err_);
  runner_->AddObserver(session_.searches->Observer());
  session_.searches->TellDone([this](const std::string& line) { out_ << line << '\n'; });
  savedDigest_ = layers_.lastingDigest();  // the drawing as it was read
  if (session_.out) {
    // The user named it: Save writes it without asking.
    std::error_code ec;
    written_.push_back(std::filesystem::absolute(*session_.out, ec).lexically_normal());
  }
  vexhost::TheHost().driver.Start();
  TakeOutput(false);
}

ViewSession::~ViewSession() {
  std::error_code ec;
  std::filesystem::remove(sessionSettings_, ec);
  std::filesystem::remove(sessionSettings_ + ".lock", ec);
}

void ViewSession::Add(std::string kind, std::string text) {
  std::optional<Suggestion> suggest = SuggestionIn(text);
  lines_.push_back({nextSeq_++, std::move(kind), std::move(text), std::move(suggest)});
  while (lines_.size() > kKeptLines) lines_.pop_front();
}

void ViewSession::TakeOutput(bool motion) {
  std::istringstream out(out_.str());
  out_.str({});
  std::string line;
  while (std::getline(out, line)) {
    const size_t colon = line.find(": ");
    const std::string kind = colon == std::string::npos ? "" : line.substr(0, colon);
    const std::string text = colon == std::string::npos ? "" : line.substr(colon + 2);
    if (kind == "prompt") {
      prompt_ = text;
      Add(kind, text);
    } else if (kind == "cursor") {
      cursor_ = text;
    } else if (kind == "info" || kind == "error" || kind == "box") {
      Add(kind, text);
    } else if (kind == "dialog") {
      if (const auto refusal = dialogs_.Take(ToUtf16(text))) {
        lastRefusal_ = ToUtf8(*refusal);
        Add("refused", *lastRefusal_);
      }
    } else {
      Add("tool", line);
    }
  }
  std::istringstream err(err_.str());
  err_.str({});
  while (std::getline(err, line)) {
    // "twinfind: line N: WHY": the page sent one action, so the line number says nothing.
    std::string why = line;
    if (why.starts_with("twinfind: ")) why = why.substr(10);
    if (why.starts_with("line ")) {
      const size_t colon = why.find(": ");
      if (colon != std::string::npos) why = why.substr(colon + 2);
    }
    lastRefusal_ = why;
    // A pointer that moves over a step that does not follow it is no news.
    if (!motion) Add("refused", why);
  }
}

std::optional<std::string> ViewSession::RunLine(const std::string& line, bool motion) {
  lastRefusal_.reset();
  runner_->RunLine(line, ++lineNumber_);
  TakeOutput(motion);
  layers_.Update(!motion);
  return lastRefusal_;
}

std::string ViewSession::Act(const nlohmann::json& request) {
  const std::string what = Text(request, "do");
  std::optional<std::string> refused;
  // A window or a point of the user's own: a picked family's part waits no longer.
  if (what == "range" || what == "point" || what == "pickAt") pendingPart_.reset();
  if (what == "range") {
    const auto x1 = Number(request, "x1"), y1 = Number(request, "y1");
    const auto x2 = Number(request, "x2"), y2 = Number(request, "y2");
    if (!x1 || !y1 || !x2 || !y2) return Refusal("a range needs four finite numbers");
    refused = RunLine("range " + *x1 + " " + *y1 + " " + *x2 + " " + *y2);
  } else if (what == "point" || what == "move") {
    const auto x = Number(request, "x"), y = Number(request, "y");
    if (!x || !y) return Refusal("a point needs two finite numbers");
    refused = RunLine(what + " " + *x + " " + *y, what == "move");
  } else if (what == "pickAt") {
    const auto x = Number(request, "x"), y = Number(request, "y"), reach = Number(request, "reach");
    if (!x || !y || !reach) return Refusal("a pick needs a point and a reach, finite numbers");
    refused = RunLine("pick " + *x + " " + *y + " " + *reach);
  } else if (what == "hover") {
    return Hover(request);
  } else if (what == "key") {
    const std::string text = Text(request, "text");
    const std::u16string typed = ToUtf16(text);
    if (typed.size() > kLongestKeyin) return Refusal("the typed text is too long");
    for (const char16_t c : typed) {
      if (c < 0x20 || c == 0x7F) return Refusal("typed input cannot hold control characters");
    }
    refused = RunLine(text.empty() ? "key" : "key " + text);
  } else if (what == "end" || what == "start" || what == "help" || what == "undo" ||
             what == "redo") {
    if (what != "end" && what != "help") pendingPart_.reset();
    refused = RunLine(what);
  } else if (what == "layer") {
    // A layer of the drawing shown or hidden: the tool's own line, as at the terminal.
    const auto layer = request.find("layer");
    const auto visible = request.find("visible");
    if (layer == request.end() || !layer->is_number_integer() || visible == request.end() ||
        !visible->is_boolean()) {
      return Refusal("a layer action needs a layer number and visible true or false");
    }
    refused = RunLine("layer " + std::to_string(layer->get<int64_t>()) +
                      (visible->get<bool>() ? " on" : " off"));
  } else if (what == "save") {
    refused = Save(request);
  } else if (what == "survey") {
    return Survey(request);
  } else if (what == "pick") {
    refused = Pick(request);
  } else if (what == "setting") {
    refused = ApplySetting(request);
  } else if (what != "state") {
    return Refusal("unknown action '" + QuoteForMessage(what) + "'");
  }
  if (!refused && what != "move" && what != "state") IndicatePendingPart();
  return State(request, refused.value_or(""));
}

std::string ViewSession::Hover(const nlohmann::json& request) {
  const auto number = [&](const char* name) {
    const auto at = request.find(name);
    return at != request.end() && at->is_number() ? at->get<double>() : std::nan("");
  };
  nlohmann::json answer{{"ok", true}, {"hover", ""}};
  const vexhost::Host& host = vexhost::TheHost();
  if (vexhost::StepKindOf(host.driver) != vexhost::StepKind::kWindow || dialogs_.open())
    return answer.dump();
  const auto part = runner_->picker().At(host.drawing, layers_.lastingDigest(), number("x"),
                                         number("y"), number("reach"));
  if (!part) return answer.dump();
  if (part->segments != hovered_) {
    hovered_ = part->segments;
    hoverSvg_ = layers_.Highlight({part->segments.begin(), part->segments.end()}, kHoverColour);
  }
  answer["hover"] = hoverSvg_;
  answer["segments"] = part->segments.size();
  return answer.dump();
}

std::optional<std::string> ViewSession::Save(const nlohmann::json& request) {
  namespace fs = std::filesystem;
  std::string path = Text(request, "name");
  if (path.empty() && session_.out) path = *session_.out;
  if (path.empty()) return std::string("no file to save to: give a name ending in .dxf");
  if (std::string error; !PathNameAllowed(path, error)) return error;
  std::string lower = path;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.size() < 5 || lower.compare(lower.size() - 4, 4, ".dxf") != 0) {
    return "the drawing is saved as DXF: give a name ending in .dxf, not " + QuoteForMessage(path);
  }
  std::string error;
  // Every name the page saves to is the drawing's output: it may be saved to again. It is
  // checked as --out is when the tool starts: free for the drawing, and a file that can be
  // written (a folder that takes files, no directory or read-only file there, no planted link).
  if (!session_.File().CheckOutput(path, "--out", error)) return error;
  // A file that stands there and that neither the user named with --out nor this view wrote
  // is replaced only when the page has asked the user.
  const auto replace = request.find("replace");
  const bool asked = replace != request.end() && replace->is_boolean() && replace->get<bool>();
  const fs::path file(path);
  std::error_code ec;
  if (fs::exists(fs::symlink_status(file, ec)) && !asked && !WrittenHere(file)) {
    replaceAsked_ = path;
    return QuoteForMessage(path) + " exists: it is replaced only if you say so";
  }
  std::vector<std::string> lines;
  if (!SaveDrawing(session_, path, lines, error)) return error;
  for (const std::string& line : lines) Add("tool", line);
  session_.out = path;
  written_.push_back(fs::absolute(file, ec).lexically_normal());
  layers_.Update();
  savedDigest_ = layers_.lastingDigest();
  return std::nullopt;
}

bool ViewSession::WrittenHere(const std::filesystem::path& file) const {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(file, ec).lexically_normal();
  return std::find(written_.begin(), written_.end(), absolute) != written_.end();
}

HostWorker::Offer ViewSession::OfferDialogAction(const nlohmann::json& request) {
  TakeOutput(false);
  const auto number = [&](const char* name) {
    const auto at = request.find(name);
    return at != request.end() && at->is_number_integer() ? at->get<int64_t>() : -1;
  };
  if (!dialogs_.open()) return Refusal("no dialog is open");
  if (number("depth") != static_cast<int64_t>(dialogs_.depth()) ||
      number("template") != dialogs_.topTemplate()) {
    nlohmann::json stale = nlohmann::json::parse(Refusal("the dialog changed before this action"));
    stale["stale"] = true;
    return stale.dump();
  }
  const std::string action = Text(request, "action");
  const std::string id = std::to_string(number("id"));
  std::string line;
  if (action == "click" || action == "dblclick") {
    line = action + " " + id;
  } else if (action == "text") {
    line = "text " + id + " " + Text(request, "text");
  } else if (action == "select") {
    line = "select " + id + " " + std::to_string(number("index"));
  } else if (action == "key") {
    const std::string key = Text(request, "key");
    if (key != "enter" && key != "escape" && key != "space") return Refusal("no such key");
    line = "key " + key;
  } else if (action == "ok" || action == "cancel") {
    line = action;
  } else {
    return Refusal("unknown dialog action '" + QuoteForMessage(action) + "'");
  }
  return ToUtf16(line);
}

std::string ViewSession::Refusal(const std::string& error) {
  return nlohmann::json{{"ok", false}, {"error", error}}.dump();
}

bool ViewSession::unsaved() const { return layers_.lastingDigest() != savedDigest_; }

std::string ViewSession::ReportJson() const {
  // The searches so far, the last one's action read as the drawing stands now, as at the end
  // of a run; the run itself goes on.
  SearchRecorder searches = *session_.searches;
  searches.Finish();
  ReportInput input;
  input.drawing = session_.drawing;
  input.searches = &searches.searches();
  input.handles = [this](const std::vector<int>& segments) {
    return session_.File().Handles(segments);
  };
  return tool::ReportJson(input);
}

std::string ViewSession::State(const nlohmann::json& request, const std::string& error) {
  TakeOutput(false);
  const vexhost::Host& host = vexhost::TheHost();
  const vexhost::StepDriver& driver = host.driver;
  nlohmann::json state;
  state["ok"] = error.empty();
  if (!error.empty()) state["error"] = error;
  int64_t since = 0;
  if (const auto at = request.find("since"); at != request.end() && at->is_number_integer()) {
    since = at->get<int64_t>();
  }
  nlohmann::json lines = nlohmann::json::array();
  for (const CommandLine& line : lines_) {
    if (line.seq <= since) continue;
    nlohmann::json shown = {{"seq", line.seq}, {"kind", line.kind}, {"text", line.text}};
    if (line.suggest)
      shown["suggest"] = {{"name", line.suggest->name}, {"value", line.suggest->value}};
    lines.push_back(std::move(shown));
  }
  state["lines"] = lines;
  state["seq"] = nextSeq_ - 1;
  state["active"] = driver.active();
  state["takes"] = StepJson(driver);
  state["defaultInput"] = ToUtf8(driver.defaultInput());
  state["history"] = {{"undo", host.undo.undoSteps()}, {"redo", host.undo.redoSteps()}};
  state["prompt"] = prompt_;
  state["language"] = LanguageCode(CurrentLanguage());
  state["settings"] = pageSettings_;
  if (replaceAsked_) {
    state["confirm"] = {{"replace", *replaceAsked_}};
    replaceAsked_.reset();
  }
  state["cursor"] = cursor_;
  const auto& echo = driver.echo();
  if (driver.active() && echo && (driver.mask() & vexhost::kPointBit) != 0) {
    state["echo"] = {{"kind", echo->kind}, {"x", echo->x}, {"y", echo->y}};
  } else {
    state["echo"] = nullptr;
  }
  state["dialogs"] = dialogs_.Json();
  // The layers: revisions always, the small layers' elements when the page has another one.
  const nlohmann::json have = request.value("have", nlohmann::json::object());
  const auto haveRevision = [&](const char* name) {
    const auto at = have.find(name);
    return at != have.end() && at->is_number_integer() ? at->get<int>() : -1;
  };
  nlohmann::json layers = {{"lasting", layers_.lastingRevision()}};
  layers["blink"] = {{"rev", layers_.blinkRevision()}};
  if (haveRevision("blink") != layers_.blinkRevision()) layers["blink"]["svg"] = layers_.BlinkSvg();
  layers["temp"] = {{"rev", layers_.temporaryRevision()}};
  if (haveRevision("temp") != layers_.temporaryRevision()) {
    layers["temp"]["svg"] = layers_.TemporarySvg();
  }
  state["layers"] = layers;
  state["mapping"] = layers_.MappingJson();
  state["extent"] = layers_.ExtentJson();
  state["drawing"] = session_.drawing ? nlohmann::json(*session_.drawing) : nlohmann::json(nullptr);
  state["out"] = session_.out ? nlohmann::json(*session_.out) : nlohmann::json(nullptr);
  state["unsaved"] = unsaved();
  state["searches"] = session_.searches->searches().size();
  state["found"] = FoundJson(haveRevision("found"));
  state["surveyed"] = survey_.has_value();
  state["surveyFresh"] = SurveyFresh();
  state["drawingLayers"] =
      layerPanel_.Json(host.drawing, layers_.lastingRevision(), haveRevision("drawingLayers"));
  return state.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json ViewSession::FoundJson(int have) const {
  // The last search's twins, sent again only when they changed (a new search, an undo).
  const std::vector<SearchRecord>& searches = session_.searches->searches();
  if (searches.empty()) return {{"rev", 0}};
  const SearchRecord& last = searches.back();
  const int rev = static_cast<int>((searches.size() * 1000 + last.twins.size()) * 2 + last.undone);
  nlohmann::json found = {{"rev", rev}, {"undone", last.undone}};
  if (have == rev) return found;
  nlohmann::json twins = nlohmann::json::array();
  for (const TwinRecord& t : last.twins) {
    twins.push_back(
        {{"box",
          {{"minX", t.box.minX}, {"minY", t.box.minY}, {"maxX", t.box.maxX}, {"maxY", t.box.maxY}}},
         {"angle", t.angleDegrees},
         {"mirrored", t.mirrored},
         {"isPart", t.isPart}});
  }
  found["twins"] = std::move(twins);
  return found;
}

void ViewSession::Finish() {
  runner_->Finish();
  TakeOutput(false);
}

}  // namespace twinfind::tool::view
