#include "tools/progress_line.h"

#include <cstdio>

#include "tools/console.h"

namespace twinfind::tool {

ProgressLine::ProgressLine(std::string what)
    : what_(std::move(what)), terminal_(StandardErrorIsTerminal()) {}

ProgressLine::~ProgressLine() {
  if (shown_ && terminal_) std::fputc('\n', stderr);
}

void ProgressLine::Tell(double done) {
  const Clock::time_point now = Clock::now();
  if (now - start_ < std::chrono::seconds(1) || now - told_ < std::chrono::seconds(1)) return;
  told_ = now;
  shown_ = true;
  const int percent = static_cast<int>(done * 100 + 0.5);
  std::fprintf(stderr, terminal_ ? "\rtwinfind: %s: %d %%" : "twinfind: %s: %d %%\n",
               what_.c_str(), percent);
  std::fflush(stderr);
}

}  // namespace twinfind::tool
