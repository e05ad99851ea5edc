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

}  // namespace

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
    return Refuse(lineNumber, "unknown action '" + verb +
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
      NotePictureRequest(action);
      return ToUtf16(action);
    }
    ++refused_;
    Refuse(lineNumber_,
           "a dialog is open: use dialog lines (click ID, dblclick ID, text ID VALUE, "
           "select ID INDEX, key CODE, ok, cancel, picture FILE)");
  }
  return std::nullopt;
}

void ScriptRunner::NotePictureRequest(std::string_view action) {
  const auto lower = [](std::string_view s) {
    std::string l(s);
    for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l;
  };
  constexpr std::string_view kVerb = "picture ";
  if (lower(action.substr(0, kVerb.size())) != kVerb) return;
  const std::string png(Trim(action.substr(kVerb.size())));
  if (png.size() < 4 || lower(png.substr(png.size() - 4)) != ".png") return;
  // The dialog writes the SVG beside the PNG, under the same name ending in .svg.
  PngRequest request{png, png.substr(0, png.size() - 4) + ".svg", lineNumber_, std::nullopt};
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(request.svg, ec);
  if (!ec) request.svgTimeBefore = time;
  pngRequest_ = request;
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
