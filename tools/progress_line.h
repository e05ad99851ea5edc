// Progress of a long step on the terminal: nothing for a step done within a second, then a
// line on standard error at most once a second ("twinfind: surveying: 42 %"), written over in
// place when standard error is a terminal.
#ifndef TOOLS_PROGRESS_LINE_H
#define TOOLS_PROGRESS_LINE_H

#include <chrono>
#include <string>

namespace twinfind::tool {

class ProgressLine {
 public:
  explicit ProgressLine(std::string what);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // How far the step has come, 0 to 1.
  void Tell(double done);

 private:
  using Clock = std::chrono::steady_clock;
  std::string what_;
  Clock::time_point start_ = Clock::now(), told_{};
  bool shown_ = false, terminal_ = false;
};

}  // namespace twinfind::tool

#endif  // TOOLS_PROGRESS_LINE_H
