// Lines typed at an interactive terminal. Where the build has a line-editing library
// (terminal_input_readline.cpp, GNU readline) the user edits the line (arrows, Home, End,
// Ctrl-R), finds earlier lines in a history kept between runs, cancels a line with Ctrl-C and
// presses the end button with the End key alone on a line; elsewhere
// (terminal_input_plain.cpp) there is no such reader and the terminal is read as a stream.
// Scripts, pipes and files are always read as streams, exactly as before.
#ifndef TOOLS_TERMINAL_INPUT_H
#define TOOLS_TERMINAL_INPUT_H

#include <memory>
#include <optional>
#include <string>

namespace twinfind::tool {

class TerminalInput {
 public:
  virtual ~TerminalInput() = default;
  // The next line typed; nothing when the run is to end: Ctrl-D, Ctrl-C a second time at an
  // empty line, or Ctrl-C while the line before was being carried out (a search).
  virtual std::optional<std::string> ReadLine() = 0;
};

// The line editor for standard input when standard input and output are both a terminal and
// the build has one; nothing otherwise.
std::unique_ptr<TerminalInput> OpenTerminalInput();

}  // namespace twinfind::tool

#endif  // TOOLS_TERMINAL_INPUT_H
