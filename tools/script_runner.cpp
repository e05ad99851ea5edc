#include "tools/script_runner.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <sstream>
#include <vector>

#include "common/utf.h"
#include "host/geometry.h"
#include "host/host.h"
#include "host/search.h"
#include "host/step_kind.h"
#include "settings/settings.h"
#include "settings/text_number.h"
#include "tools/drawing_summary.h"
#include "tools/svg_to_png.h"

namespace twinfind::tool {
namespace {

// The words of a line after its verb, as numbers; nothing unless there are exactly `count`
// finite numbers.
bool ParseNumbers(std::string_view rest, size_t count, std::vector<double>& values) {
  std::istringstream words{std::string(rest)};
  std::string word;
  values.clear();
  while (words >> word) {
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || errno == ERANGE || !std::isfinite(v)) return false;
    values.push_back(v);
  }
  return values.size() == count;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

// The line without a comment after it: a '#' after a space or tab starts one, as in the
// README's sessions (`snapshot plan.png   # a picture`). Typed input and a dialog's text keep
// every character.
std::string_view WithoutComment(std::string_view line) {
  if (line.substr(0, 4) == "key " || line.substr(0, 12) == "dialog text ") return line;
  for (size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '#' && (line[i - 1] == ' ' || line[i - 1] == '\t')) {
      return Trim(line.substr(0, i));
    }
  }
  return line;
}

// The action a mistyped word most likely meant: the one fewest letters away (a letter put in,
// left out, changed, or two swapped), at most two and under half the word; else empty.
std::string ActionLike(std::string_view word) {
  static constexpr std::string_view kVerbs[] = {"range",    "pick",  "point", "move", "key",
                                                "end",      "start", "undo",  "redo", "layer",
                                                "snapshot", "help",  "dialog"};
  if (word.size() > 32) return {};
  std::string best;
  size_t bestDistance = 3;
  for (const std::string_view verb : kVerbs) {
    // Distances between the prefixes, row by row, with swaps of two neighbours.
    std::vector<std::vector<size_t>> d(word.size() + 1, std::vector<size_t>(verb.size() + 1));
    for (size_t i = 0; i <= word.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= verb.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= word.size(); ++i) {
      for (size_t j = 1; j <= verb.size(); ++j) {
        const size_t change = word[i - 1] == verb[j - 1] ? 0 : 1;
        d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
        if (i > 1 && j > 1 && word[i - 1] == verb[j - 2] && word[i - 2] == verb[j - 1]) {
          d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
      }
    }
    const size_t distance = d[word.size()][verb.size()];
    if (distance < bestDistance && 2 * distance < std::max(word.size(), verb.size())) {
      bestDistance = distance;
      best = verb;
    }
  }
  return best;
}

// The length of the UTF-8 sequence that starts the text; 0 when it starts with no valid one.
size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string QuoteForMessage(std::string_view text, size_t limit) {
  std::string quoted;
  size_t characters = 0;
  while (!text.empty()) {
    if (characters == limit) return quoted + "...";
    const unsigned char c = static_cast<unsigned char>(text.front());
    size_t length = c >= 0x20 && c < 0x7F ? 1 : (c >= 0x80 ? Utf8SequenceLength(text) : 0);
    if (length == 0) {
      static const char kHex[] = "0123456789abcdef";
      quoted += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
      length = 1;
    } else {
      quoted.append(text.substr(0, length));
    }
    text.remove_prefix(length);
    ++characters;
  }
  return quoted;
}

ScriptRunner::ScriptRunner(std::ostream& out, std::ostream& err) : out_(out), err_(err) {
  vexhost::TheHost().transcript.SetSink([this](const vexhost::Message& m) {
    out_ << vexhost::MessageKindName(m.kind) << ": " << ToUtf8(m.text) << '\n';
    out_.flush();
    if (m.kind == vexhost::MessageKind::kPrompt) lastPrompt_ = m.text;
    // The open dialog answers an action it cannot carry out: that line is refused.
    if (m.kind == vexhost::MessageKind::kDialog && m.text.rfind(u"refused ", 0) == 0) ++refused_;
  });
}

ScriptRunner::~ScriptRunner() {
  vexhost::TheHost().transcript.SetSink(nullptr);
  vexhost::TheHost().dialogInput.SetSource(nullptr);
}

bool ScriptRunner::Refuse(int lineNumber, const std::string& why) {
  err_ << "twinfind: line " << lineNumber << ": " << why << '\n';
  return false;
}

namespace {

const char kActions[] =
    "range X1 Y1 X2 Y2, pick X Y, point X Y, move X Y, key TEXT, end, start, undo, redo, "
    "layer [N on|off], snapshot FILE.svg|.png [X1 Y1 X2 Y2], help or ?, # comment";
const char kDialogActions[] =
    "dialog click ID, dialog dblclick ID, dialog text ID VALUE, dialog select ID INDEX, dialog "
    "key enter|space|escape|CODE, dialog ok, dialog cancel, dialog picture FILE.svg|.png";

}  // namespace

void ScriptRunner::Help() {
  const vexhost::StepDriver& driver = vexhost::TheHost().driver;
  if (!driver.active()) {
    out_ << "help: no command is running; start runs it again with the settings as they are "
            "now\n";
  } else {
    std::vector<std::string> takes;
    const uint32_t mask = driver.mask();
    // What "key" alone gives: the step's default input.
    const std::string typedDefault =
        driver.defaultInput().empty()
            ? ""
            : "; key alone gives '" + QuoteForMessage(ToUtf8(driver.defaultInput())) + "'";
    if (mask & VEX_MASK_RANGE) {
      takes.push_back(vexhost::StepKindOf(driver) == vexhost::StepKind::kWindow
                          ? "a window (range X1 Y1 X2 Y2, or pick X Y: the part at a point)"
                          : "a range (range X1 Y1 X2 Y2)");
    }
    if (mask & VEX_MASK_KEYIN) {
      takes.push_back("typed input (key TEXT" + typedDefault + ")");
    } else if (mask & vexhost::kPointBit) {
      takes.push_back("a point (point X Y, or key X Y; move X Y moves the pointer" + typedDefault +
                      ")");
    }
    if ((mask & VEX_MASK_KEYIN) && (mask & vexhost::kPointBit)) {
      takes.push_back("a point (point X Y; move X Y moves the pointer)");
    }
    takes.push_back("the end button (end)");
    std::string line = "help: this step takes ";
    for (size_t i = 0; i < takes.size(); ++i) {
      line += (i == 0 ? "" : i + 1 == takes.size() ? " or " : ", ") + takes[i];
    }
    out_ << line << "\n";
    if (!lastPrompt_.empty()) out_ << "help: prompt: " << ToUtf8(lastPrompt_) << "\n";
  }
  out_ << "help: lines: " << kActions << "\n";
  out_ << "help: while a dialog is open: " << kDialogActions << "\n";
  out_.flush();
}

bool ScriptRunner::Deliver(UserAction action, int lineNumber,
                           const std::function<vexhost::Delivery()>& deliver) {
  for (const Observer& o : observers_) {
    if (o.before) o.before(action);
  }
  const bool wasActive = vexhost::TheHost().driver.active();
  NoteBeforeAction(action);
  const vexhost::Delivery delivery = deliver();
  SettleAfterAction();
  if (!delivery.taken) {
    const bool ended = delivery.reason == "no command is running";
    return Refuse(lineNumber, delivery.reason + (ended ? " (start runs it again)" : ""));
  }
  for (const Observer& o : observers_) {
    if (o.after) o.after(action);
  }
  out_ << afterDelivery_;
  if ((wasActive || action.kind == UserAction::Kind::kStart) &&
      !vexhost::TheHost().driver.active()) {
    out_ << "ended: the command has ended; start runs it again\n";
    out_.flush();
  }
  return true;
}

bool ScriptRunner::DeliverRange(const std::vector<VexBox>& windows, int lineNumber) {
  vexhost::Host& host = vexhost::TheHost();
  vexhost::StepDriver& driver = host.driver;
  UserAction action;
  action.kind = UserAction::Kind::kRange;
  action.window = vexhost::EmptyBox();
  for (const VexBox& w : windows) vexhost::Include(action.window, w);
  if (driver.active() && (driver.mask() & VEX_MASK_RANGE) != 0) {
    // What the windows select at this step, told before the command acts on it.
    for (const VexBox& w : windows) {
      const std::vector<int> taken = vexhost::SelectSegments(host.drawing, &w, driver.compare());
      action.selected.insert(action.selected.end(), taken.begin(), taken.end());
    }
    std::sort(action.selected.begin(), action.selected.end());
    action.selected.erase(std::unique(action.selected.begin(), action.selected.end()),
                          action.selected.end());
    out_ << SelectionLine(host.drawing, action.selected) << "\n";
    out_.flush();
  }
  const bool searchRange = vexhost::StepKindOf(driver) == vexhost::StepKind::kRange;
  const size_t selected = action.selected.size();
  const int limit = RangeLimitOf(ReadSettings().mRangeLimit);
  if (searchRange && selected > static_cast<size_t>(limit)) {
    // The command refuses the range for its size with its own message: how to make it fit,
    // right after that message.
    std::ostringstream line;
    line << "limit: the range selected " << selected << " segments, more than the " << limit
         << " the search range holds; twinfind settings set mRangeLimit "
         << std::min<size_t>(selected, kMostRangeLimit) << " raises the limit (at most "
         << kMostRangeLimit << ")\n";
    afterDelivery_ = line.str();
  }
  if (searchRange) afterDelivery_ += ScaleAdvice();
  const bool taken = Deliver(action, lineNumber, [&] { return driver.Range(windows); });
  afterDelivery_.clear();
  if (taken && searchRange) searchRange_ = windows;
  return taken;
}

std::string ScriptRunner::ScaleAdvice() {
  if (scaleAdvised_) return {};
  const TwinfindSettings settings = ReadSettings();
  const bool rows = settings.mMethod == 0;  // else the balloon method's texts
  if ((rows && settings.mIsArrange == 0) || !settings.mDrawingScale.empty()) return {};
  const vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  VexBox box = vexhost::EmptyBox();
  for (const int id : drawing.SegmentIds()) {
    if (const auto b = drawing.SegmentBounds(id)) vexhost::Include(box, *b);
  }
  if (vexhost::IsEmpty(box)) return {};
  const double larger = std::max(box.maxX - box.minX, box.maxY - box.minY);
  // The general method's rows: gaps between the copies (and the rows) that take more than a
  // twentieth of the drawing make a row many times longer than its parts.
  const double gap =
      std::max(TextToLength(settings.mArrangeWidth), TextToLength(settings.mArrangeHeight));
  if (!((rows ? gap : 10.0) > larger / 20)) return {};
  scaleAdvised_ = true;
  std::ostringstream line;
  if (rows) {
    line << "scale: rows of copies are laid out " << gap
         << " apart, more than a twentieth of this drawing (" << larger
         << " across); twinfind settings set mDrawingScale auto sizes gaps, balloons and texts "
            "to it\n";
  } else {
    line << "scale: the balloon method writes texts 10 high, more than a twentieth of this "
            "drawing ("
         << larger << " across); twinfind settings set mDrawingScale auto sizes balloons, texts "
         << "and gaps to it\n";
  }
  return line.str();
}

bool ScriptRunner::RunLine(std::string_view rawLine, int lineNumber) {
  const std::string_view line = WithoutComment(Trim(rawLine));
  if (line.empty() || line.front() == '#') return true;
  ++actionLines_;
  const size_t space = line.find_first_of(" \t");
  const std::string verb(line.substr(0, space));
  const std::string_view rest = space == std::string_view::npos ? "" : Trim(line.substr(space));
  vexhost::Host& host = vexhost::TheHost();
  vexhost::StepDriver& driver = host.driver;
  std::vector<double> v;
  UserAction action;
  if (verb == "range") {
    ParseNumbers(rest, 0, v);
    if (v.empty() || v.size() % 4 != 0 || !ParseNumbers(rest, v.size(), v)) {
      return Refuse(lineNumber,
                    "range needs four numbers, X1 Y1 X2 Y2, for each window it adds to the range");
    }
    std::vector<VexBox> windows;
    for (size_t i = 0; i < v.size(); i += 4) {
      windows.push_back({std::min(v[i], v[i + 2]), std::min(v[i + 1], v[i + 3]),
                         std::max(v[i], v[i + 2]), std::max(v[i + 1], v[i + 3])});
    }
    return DeliverRange(windows, lineNumber);
  }
  if (verb == "point" || verb == "move") {
    if (!ParseNumbers(rest, 2, v)) return Refuse(lineNumber, verb + " needs two numbers: X Y");
    const VexPoint p{v[0], v[1]};
    action.kind = verb == "point" ? UserAction::Kind::kPoint : UserAction::Kind::kMotion;
    return Deliver(action, lineNumber,
                   [&] { return verb == "point" ? driver.Point(p) : driver.Motion(p); });
  }
  if (verb == "key") {
    action.kind = UserAction::Kind::kKeyin;
    action.text = ToUtf16(rest);
    if (action.text.empty()) action.text = driver.defaultInput();
    return Deliver(action, lineNumber, [&] { return driver.Keyin(ToUtf16(rest)); });
  }
  if (verb == "end") {
    if (!rest.empty()) return Refuse(lineNumber, "end takes nothing after it");
    action.kind = UserAction::Kind::kEnd;
    return Deliver(action, lineNumber, [&] { return driver.End(); });
  }
  if (verb == "start") {
    if (!rest.empty()) return Refuse(lineNumber, "start takes nothing after it");
    action.kind = UserAction::Kind::kStart;
    return Deliver(action, lineNumber, [&] {
      return driver.Start() ? vexhost::Delivery{true, {}}
                            : vexhost::Delivery{false, "the command could not start"};
    });
  }
  if (verb == "pick") {
    if (!ParseNumbers(rest, 2, v) && !ParseNumbers(rest, 3, v)) {
      return Refuse(lineNumber, "pick needs two numbers, X Y, and the reach if you like");
    }
    return PickPart(v[0], v[1], v.size() == 3 ? v[2] : session::DefaultPickReach(host.drawing),
                    lineNumber);
  }
  if (verb == "undo" || verb == "redo") {
    if (!rest.empty()) return Refuse(lineNumber, verb + " takes nothing after it");
    return UndoOrRedo(verb == "undo", lineNumber);
  }
  if (verb == "layer") return LayerLine(rest, lineNumber);
  if (verb == "help" || verb == "?") {
    Help();
    return true;
  }
  if (verb == "dialog") return Refuse(lineNumber, "no dialog is open");
  if (verb == "snapshot") {
    if (rest.empty()) return Refuse(lineNumber, "snapshot needs a file name");
    // FILE, or FILE X1 Y1 X2 Y2: a picture of that window. A name with blanks in it is one
    // file name unless it ends in four numbers.
    std::string file(rest);
    std::optional<VexBox> window;
    const size_t blank = rest.find_first_of(" \t");
    if (blank != std::string_view::npos && ParseNumbers(rest.substr(blank), 4, v)) {
      file = std::string(Trim(rest.substr(0, blank)));
      if (v[0] == v[2] || v[1] == v[3]) {
        return Refuse(lineNumber, "a snapshot's window needs a width and a height");
      }
      window = VexBox{std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]),
                      std::max(v[1], v[3])};
    }
    std::string error = "pictures are not available in this run";
    if (!snapshot_ || !snapshot_(file, window, error)) return Refuse(lineNumber, error);
    out_ << "wrote " << file << "\n";
    out_.flush();
    return true;
  }
  const std::string like = ActionLike(verb);
  return Refuse(lineNumber, "unknown action '" + QuoteForMessage(verb) + "'" +
                                (like.empty() ? "" : ": did you mean " + like + "?") +
                                " (expected " + kActions + ")");
}

std::optional<std::u16string> ScriptRunner::NextDialogAction() {
  MakeRequestedPng();  // the dialog has carried out the action before this one
  while (lines_ != nullptr) {
    const std::optional<std::string> next = (*lines_)();
    if (!next) break;
    const std::string& raw = *next;
    ++lineNumber_;
    const std::string_view line = WithoutComment(Trim(raw));
    if (line.empty() || line.front() == '#') continue;
    ++actionLines_;
    if (line == "help" || line == "?") {
      out_ << "help: a dialog is open; it takes " << kDialogActions << "\n";
      out_.flush();
      continue;
    }
    if (line.substr(0, 7) == "dialog " || line == "dialog") {
      const std::string_view action = Trim(line.substr(6));
      if (!NotePictureRequest(action)) continue;
      return ToUtf16(action);
    }
    ++refused_;
    Refuse(lineNumber_,
           "a dialog is open: use dialog lines (click ID, dblclick ID, text ID VALUE, "
           "select ID INDEX, key CODE, ok, cancel, picture FILE; help lists them)");
  }
  return std::nullopt;
}

bool ScriptRunner::NotePictureRequest(std::string_view action) {
  const auto lower = [](std::string_view s) {
    std::string l(s);
    for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l;
  };
  constexpr std::string_view kVerb = "picture ";
  if (lower(action.substr(0, kVerb.size())) != kVerb) return true;
  const std::string file(Trim(action.substr(kVerb.size())));
  const bool isPng = file.size() >= 4 && lower(file.substr(file.size() - 4)) == ".png";
  // The dialog writes the SVG, beside the PNG under the same name ending in .svg.
  const std::string svg = isPng ? file.substr(0, file.size() - 4) + ".svg" : file;
  std::string error;
  if (claim_ && !file.empty() &&
      (!claim_(svg, "dialog picture", error) ||
       (isPng && !claim_(file, "dialog picture", error)))) {
    ++refused_;
    Refuse(lineNumber_, error);
    return false;
  }
  if (!isPng) return true;
  const std::string& png = file;
  PngRequest request{png, svg, lineNumber_, std::nullopt};
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(request.svg, ec);
  if (!ec) request.svgTimeBefore = time;
  pngRequest_ = request;
  return true;
}

void ScriptRunner::MakeRequestedPng() {
  if (!pngRequest_) return;
  const PngRequest request = *pngRequest_;
  pngRequest_.reset();
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(request.svg, ec);
  if (ec || (request.svgTimeBefore && time == *request.svgTimeBefore)) return;  // not written
  std::string error;
  if (ConvertSvgToPng(request.svg, request.png, error)) {
    out_ << "dialog: picture written: " << request.png << '\n';
    out_.flush();
  } else {
    ++refused_;
    Refuse(request.lineNumber, "no PNG made: " + error + "; the SVG is " + request.svg);
  }
}

int ScriptRunner::RunAll(const LineSource& lines) {
  lines_ = &lines;
  lineNumber_ = 0;
  vexhost::TheHost().dialogInput.SetSource([this] { return NextDialogAction(); });
  while (const std::optional<std::string> line = lines()) {
    if (!RunLine(*line, ++lineNumber_)) ++refused_;
  }
  lines_ = nullptr;
  return refused_;
}

int ScriptRunner::RunAll(std::istream& in) {
  return RunAll([&in]() -> std::optional<std::string> {
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    return line;
  });
}

void ScriptRunner::Finish() { vexhost::TheHost().driver.Abandon(); }

}  // namespace twinfind::tool
