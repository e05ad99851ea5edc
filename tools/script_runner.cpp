#include "tools/script_runner.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <sstream>
#include <vector>

#include "common/utf.h"
#include "host/host.h"
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

bool ScriptRunner::RunLine(std::string_view rawLine, int lineNumber) {
  const std::string_view line = Trim(rawLine);
  if (line.empty() || line.front() == '#') return true;
  const size_t space = line.find_first_of(" \t");
  const std::string verb(line.substr(0, space));
  const std::string_view rest = space == std::string_view::npos ? "" : Trim(line.substr(space));
  vexhost::StepDriver& driver = vexhost::TheHost().driver;
  std::vector<double> v;
  vexhost::Delivery delivery;
  if (verb == "range") {
    if (!ParseNumbers(rest, 4, v))
      return Refuse(lineNumber, "range needs four numbers: X1 Y1 X2 Y2");
    delivery = driver.Range({v[0], v[1], v[2], v[3]});
  } else if (verb == "point" || verb == "move") {
    if (!ParseNumbers(rest, 2, v)) return Refuse(lineNumber, verb + " needs two numbers: X Y");
    delivery = verb == "point" ? driver.Point({v[0], v[1]}) : driver.Motion({v[0], v[1]});
  } else if (verb == "key") {
    delivery = driver.Keyin(ToUtf16(rest));
  } else if (verb == "dialog") {
    return Refuse(lineNumber, "no dialog is open");
  } else if (verb == "snapshot") {
    if (rest.empty()) return Refuse(lineNumber, "snapshot needs a file name");
    std::string error = "pictures are not available in this run";
    if (!snapshot_ || !snapshot_(std::string(rest), error)) return Refuse(lineNumber, error);
    return true;
  } else if (verb == "end") {
    if (!rest.empty()) return Refuse(lineNumber, "end takes nothing after it");
    delivery = driver.End();
  } else {
    return Refuse(lineNumber, "unknown action '" + QuoteForMessage(verb) +
                                  "' (expected range, point, move, key, end, snapshot or a # "
                                  "comment)");
  }
  if (!delivery.taken) return Refuse(lineNumber, delivery.reason);
  if (afterAction_) afterAction_();
  return true;
}

std::optional<std::u16string> ScriptRunner::NextDialogAction() {
  MakeRequestedPng();  // the dialog has carried out the action before this one
  std::string raw;
  while (in_ != nullptr && std::getline(*in_, raw)) {
    ++lineNumber_;
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == '#') continue;
    if (line.substr(0, 7) == "dialog " || line == "dialog") {
      const std::string_view action = Trim(line.substr(6));
      if (!NotePictureRequest(action)) continue;
      return ToUtf16(action);
    }
    ++refused_;
    Refuse(lineNumber_,
           "a dialog is open: use dialog lines (click ID, dblclick ID, text ID VALUE, "
           "select ID INDEX, key CODE, ok, cancel, picture FILE)");
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

int ScriptRunner::RunAll(std::istream& in) {
  in_ = &in;
  lineNumber_ = 0;
  refused_ = 0;
  vexhost::TheHost().dialogInput.SetSource([this] { return NextDialogAction(); });
  std::string line;
  while (std::getline(in, line)) {
    if (!RunLine(line, ++lineNumber_)) ++refused_;
  }
  in_ = nullptr;
  return refused_;
}

void ScriptRunner::Finish() { vexhost::TheHost().driver.Abandon(); }

}  // namespace twinfind::tool
