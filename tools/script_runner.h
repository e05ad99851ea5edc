// The user's side of a run: script lines (or lines typed at the terminal) turned into the
// host's events, and the host's messages printed as "KIND: TEXT" lines.
#ifndef TOOLS_SCRIPT_RUNNER_H
#define TOOLS_SCRIPT_RUNNER_H

#include <iosfwd>
#include <string>
#include <string_view>

namespace twinfind::tool {

class ScriptRunner {
 public:
  // Messages go to out, complaints about lines to err. The host's transcript is printed from
  // now on.
  ScriptRunner(std::ostream& out, std::ostream& err);
  ~ScriptRunner();

  // Runs one line. A line that makes no sense at the current step is answered on err with
  // "twinfind: line N: ..." and the result is false; the run goes on.
  bool RunLine(std::string_view line, int lineNumber);

  // Runs every line of a stream; the number of refused lines.
  int RunAll(std::istream& in);

  // The run ends: a command still running is left as the user would leave it.
  void Finish();

 private:
  bool Refuse(int lineNumber, const std::string& why);

  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace twinfind::tool

#endif  // TOOLS_SCRIPT_RUNNER_H
