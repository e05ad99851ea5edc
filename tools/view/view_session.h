// The command as the page drives it: the page's actions become the tool's own action lines,
// run by the same ScriptRunner as `twinfind run` (so a range selects, a key-in types and the
// end button ends exactly as at the terminal, and the report records the same searches), and
// what the host and the tool say comes back as the page's command line, dialogs and layers.
// Every call runs on the host worker's thread.
#ifndef TOOLS_VIEW_VIEW_SESSION_H
#define TOOLS_VIEW_VIEW_SESSION_H

#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/language.h"
#include "survey/survey.h"
#include "tools/run_command.h"
#include "tools/script_runner.h"
#include "tools/view/dialog_view.h"
#include "tools/view/drawing_layers.h"
#include "tools/view/host_worker.h"
#include "tools/view/layer_panel.h"

namespace twinfind::tool::view {

// A setting a line names as the answer to what it tells, which the page offers as a button.
struct Suggestion {
  std::string name;
  std::string value;
};

// The setting a line of the tool or the survey suggests ("twinfind settings set mRangeLimit
// 40810 raises the limit", "with mTolerance 0.01 they are one family of 37"), when it names a
// setting and a value that setting takes.
std::optional<Suggestion> SuggestionIn(const std::string& line);

// A text field of a page's request; empty when it is missing or no text.
std::string Text(const nlohmann::json& request, const char* name);

// One line of the page's command line.
struct CommandLine {
  int64_t seq = 0;
  std::string kind;  // prompt, info, error, box, tool, refused
  std::string text;
  std::optional<Suggestion> suggest;
};

class ViewSession {
 public:
  // The session's drawing is open; the command starts at once.
  explicit ViewSession(Session& session);
  ~ViewSession();
  ViewSession(const ViewSession&) = delete;
  ViewSession& operator=(const ViewSession&) = delete;

  // A command action of the page ({"do": "range", "x1": ...}); the state after it.
  std::string Act(const nlohmann::json& request);
  // An action on the open dialog: the action line to hand it, or a reply that refuses.
  HostWorker::Offer OfferDialogAction(const nlohmann::json& request);
  // The state as the page needs it: the lines after request["since"], the layers whose
  // revision differs from request["have"].
  std::string State(const nlohmann::json& request, const std::string& error = "");
  // A refusal in the shape of a state.
  std::string Refusal(const std::string& error);
  // The lasting drawing, an SVG document.
  const std::string& LastingSvg() { return layers_.LastingSvg(); }
  // The report of the searches so far, as `--report FILE.json` writes it.
  std::string ReportJson() const;

  // Whether the drawing holds changes no Save has written.
  bool unsaved() const;

  // The survey under way, if any, as the page asks for it from any thread: {"surveying": bool,
  // "done": 0 to 1}. Cancel makes it stop at its next step (it answers with what it found).
  std::string SurveyProgress() const;
  void CancelSurvey() { surveyCancel_ = true; }
  // The run ends: a running command is left as the user would leave it.
  void Finish();

 private:
  // A setting applied from the page ({"name", "value", "keep"}): held for this session, and
  // written to the user's settings too when "keep" is true. The command reads its settings when
  // it starts: one waiting for a range or a part starts again to take it.
  std::optional<std::string> ApplySetting(const nlohmann::json& request);
  // The session's settings file, named for the tool and the command (once, before the view's
  // threads run).
  void OpenSessionSettings();
  // The language switched: the lines shown, the prompt and the cursor text said again in it.
  void SayAgain(Language language);
  // The settings the page shows in its own panel, [{name, value, meaning, held}], read again
  // into pageSettings_ (at the start and after each setting applied: not for every state).
  void ReadPageSettings();
  // Runs one action line; the reason when the tool refused it.
  std::optional<std::string> RunLine(const std::string& line, bool motion = false);
  void TakeOutput(bool motion);
  void Add(std::string kind, std::string text);
  std::optional<std::string> Save(const nlohmann::json& request);
  // Whether the view wrote the file in this run, or the user named it with --out.
  bool WrittenHere(const std::filesystem::path& file) const;
  // Whether the survey is of the drawing as it stands, with its layers shown as they are now.
  bool SurveyFresh() const;
  // The Survey button: the families of the drawing as it is now, stored for a pick (the layers
  // shown, or all with "hiddenLayers": true).
  std::string Survey(const nlohmann::json& request);
  // A family picked: the command is driven to find it as a user would indicate it.
  std::optional<std::string> Pick(const nlohmann::json& request);
  // The part a click at the pointer would pick at the part prompt, highlighted: {"ok": true,
  // "hover": SVG elements, or "" when there is none}.
  std::string Hover(const nlohmann::json& request);
  // What the last search found, for the page's list: {"rev", "undone", "twins": [{box, angle,
  // mirrored, isPart}]}, the twins left out when the page has this revision already.
  nlohmann::json FoundJson(int have) const;
  // The picked family's part, indicated once the command asks for a part.
  void IndicatePendingPart();

  Session& session_;
  // The file of the settings applied for this session, read before the user's by the tool and
  // the command while the view runs (TWINFIND_SESSION_SETTINGS), removed at its end.
  std::string sessionSettings_;
  nlohmann::json pageSettings_;
  std::ostringstream out_, err_;
  std::unique_ptr<ScriptRunner> runner_;
  DialogView dialogs_;
  DrawingLayers layers_;
  std::deque<CommandLine> lines_;
  int64_t nextSeq_ = 1;
  int lineNumber_ = 0;
  std::string prompt_, cursor_;
  std::optional<std::string> lastRefusal_;
  uint64_t savedDigest_ = 0;
  std::optional<survey::SurveyResult> survey_;
  uint64_t surveyDigest_ = 0;   // the drawing the survey looked at
  std::set<int> surveyHidden_;  // and its hidden layers then
  LayerPanel layerPanel_;
  std::atomic<bool> surveying_{false}, surveyCancel_{false};
  std::vector<std::filesystem::path> written_;  // files this view may replace without asking
  std::optional<std::string> replaceAsked_;     // a Save waits for the user to say replace
  std::atomic<double> surveyDone_{0};
  std::optional<VexBox> pendingPart_;  // a picked family's part window, not yet indicated
  std::vector<int> hovered_;           // the part highlighted last, and its highlight
  std::string hoverSvg_;
};

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_VIEW_SESSION_H
