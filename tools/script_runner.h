// The user's side of a run: script lines (or lines typed at the terminal) turned into the
// host's events, and the host's messages printed as "KIND: TEXT" lines.
#ifndef TOOLS_SCRIPT_RUNNER_H
#define TOOLS_SCRIPT_RUNNER_H

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/step_driver.h"
#include "session/part_pick.h"
#include "vexlib/vexlib.h"

namespace twinfind::tool {

// A piece of a line fit to quote in a message: at most `limit` characters, control characters
// and bytes that are no UTF-8 written as \xNN, "..." when it was cut.
std::string QuoteForMessage(std::string_view text, size_t limit = 80);

// One action of the user that reaches the host.
struct UserAction {
  enum class Kind { kRange, kPoint, kMotion, kKeyin, kEnd, kStart, kUndo, kRedo };
  Kind kind = Kind::kEnd;
  VexBox window{};            // a range's, corners in order (of several windows: their extent)
  std::vector<int> selected;  // what a range selects at this step
  std::u16string text;        // a key-in's text
};

class ScriptRunner {
 public:
  // Messages go to out, complaints about lines to err. The host's transcript is printed from
  // now on.
  ScriptRunner(std::ostream& out, std::ostream& err);
  ~ScriptRunner();

  // Runs one line. A line that makes no sense at the current step is answered on err with
  // "twinfind: line N: ..." and the result is false; the run goes on.
  bool RunLine(std::string_view line, int lineNumber);

  // Where lines come from: the next line, nothing at the end.
  using LineSource = std::function<std::optional<std::string>()>;
  // Runs every line of a source; the number of refused lines. While a dialog is open inside a
  // step, the dialog takes its actions from the following "dialog ..." lines of the source.
  int RunAll(const LineSource& lines);
  // The same for the lines of a stream.
  int RunAll(std::istream& in);

  // The run ends: a command still running is left as the user would leave it.
  void Finish();

  // What a "snapshot FILE [X1 Y1 X2 Y2]" line does (write a picture of the drawing, or of that
  // window of it, zoomed in); false and a reason when it could not.
  using Snapshot = std::function<bool(const std::string& path, const std::optional<VexBox>& window,
                                      std::string& error)>;
  void SetSnapshot(Snapshot snapshot) { snapshot_ = std::move(snapshot); }
  // Claims a file that a dialog picture line writes (owner "dialog picture"); false and a
  // reason when the file is not free.
  using Claim =
      std::function<bool(const std::string& path, const std::string& owner, std::string& error)>;
  void SetClaim(Claim claim) { claim_ = std::move(claim); }
  // Called before every action is handed to the host, and after each one the host took.
  struct Observer {
    std::function<void(const UserAction&)> before;
    std::function<void(const UserAction&)> after;
  };
  void AddObserver(Observer observer) { observers_.push_back(std::move(observer)); }

  // The parts a click picks (the view's hover asks it too).
  session::PartPicker& picker() { return picker_; }

  // The lines read that were actions (not blank, not comments), and those refused.
  int actionLines() const { return actionLines_; }
  int refusedLines() const { return refused_; }

 private:
  bool Refuse(int lineNumber, const std::string& why);
  // Hands the action to the host through `deliver`, tells the observers, and says when the
  // command ended with it.
  bool Deliver(UserAction action, int lineNumber,
               const std::function<vexhost::Delivery()>& deliver);
  // "help" and "?": what the current step takes, its prompt again, the lines the tool reads.
  void Help();
  // A range line: the selection line, then the range handed to the step.
  bool DeliverRange(const VexBox& window, int lineNumber) {
    return DeliverRange(std::vector<VexBox>{window}, lineNumber);
  }
  // Several windows of one range line: one selection of what each takes.
  bool DeliverRange(const std::vector<VexBox>& windows, int lineNumber);
  // Once a run, at a balloon method's search range: a line saying how to fit the sizes of
  // balloons and texts to a drawing whose texts 10 high would be more than a twentieth of it;
  // empty otherwise (or once said, or when mDrawingScale is set).
  std::string ScaleAdvice();
  // "undo" and "redo" (script_undo.cpp): the drawing taken back to the state before the last
  // result action, or forward again, at a step where no result action is under way; a command
  // past its first step starts again over the same search range.
  bool UndoOrRedo(bool undo, int lineNumber);
  // "pick X Y [REACH]" (script_pick.cpp): at the part prompt, the part whose figure lies
  // nearest the point is indicated by the window around it; at the search range's prompt it is
  // refused, saying that the range is a drag.
  bool PickPart(double x, double y, double reach, int lineNumber);
  // "layer" (script_layers.cpp): the layers listed with their state; "layer N on|off" shows or
  // hides one (a view setting: saving keeps the file's own).
  bool LayerLine(std::string_view rest, int lineNumber);
  // Around every action handed to the host: the drawing is noted before an action at a step of
  // a result (a point, the end button alone), and the note kept once the command is back at
  // rest, when the drawing changed.
  void NoteBeforeAction(const UserAction& action);
  void SettleAfterAction();
  // The next action for an open dialog from the stream; nothing at its end.
  std::optional<std::u16string> NextDialogAction();
  // "picture FILE.png": the dialog writes FILE.svg; once it has, the tool makes the PNG of it.
  // False (and the line refused) when a file the picture writes is not free.
  bool NotePictureRequest(std::string_view action);
  void MakeRequestedPng();

  std::ostream& out_;
  std::ostream& err_;
  Snapshot snapshot_;
  Claim claim_;
  std::vector<Observer> observers_;
  std::u16string lastPrompt_;
  std::vector<VexBox> searchRange_;  // the last windows given at the search range's step
  session::PartPicker picker_;
  std::string afterDelivery_;  // a line the tool adds to what the host said about an action
  bool scaleAdvised_ = false;  // the advice on mDrawingScale was given
  // What RunAll reads.
  const LineSource* lines_ = nullptr;
  int lineNumber_ = 0;
  int refused_ = 0;
  int actionLines_ = 0;
  struct PngRequest {
    std::string png;
    std::string svg;
    int lineNumber = 0;
    std::optional<std::filesystem::file_time_type> svgTimeBefore;  // none: no SVG was there
  };
  std::optional<PngRequest> pngRequest_;
};

}  // namespace twinfind::tool

#endif  // TOOLS_SCRIPT_RUNNER_H
