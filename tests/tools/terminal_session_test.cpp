// The tool driven at a terminal, as a user drives it: inside tmux (send-keys, capture-pane), on a
// real plan, reading the coordinates off the load line and the grid picture, asking for help,
// opening the settings dialog, starting again, searching and saving. Skipped without tmux.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <thread>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using tooltest::ScratchFolder;
using tooltest::Shell;

// One tmux server of the test's own, on a socket in its folder, without the user's tmux.conf.
class Terminal {
 public:
  Terminal(const ScratchFolder& folder, const std::string& command)
      : tmux_("tmux -S '" + (folder.path() / "tmux.sock").string() + "' -f /dev/null") {
    std::system((tmux_ + " new-session -d -s user -x 180 -y 50 \"" + command + "\"").c_str());
  }
  ~Terminal() { std::system((tmux_ + " kill-server 2>/dev/null").c_str()); }

  // Types a line and presses Enter.
  void Type(const std::string& line) {
    std::system((tmux_ + " send-keys -t user -l '" + line + "'").c_str());
    std::system((tmux_ + " send-keys -t user Enter").c_str());
  }
  void Keys(const std::string& keys) {
    std::system((tmux_ + " send-keys -t user " + keys).c_str());
  }
  // What the terminal shows, its history included, wrapped lines joined.
  std::string Screen() { return Shell(tmux_ + " capture-pane -p -J -S -3000 -t user"); }
  // Waits (10 s at most) until the screen shows the text `count` times; the screen then.
  std::string WaitFor(const std::string& text, size_t count = 1) {
    std::string screen;
    for (int i = 0; i < 200; ++i) {
      screen = Screen();
      size_t n = 0;
      for (size_t at = screen.find(text); at != std::string::npos; at = screen.find(text, at + 1)) {
        ++n;
      }
      if (n >= count) return screen;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ADD_FAILURE() << "the terminal never showed \"" << text << "\":\n" << screen;
    return screen;
  }

 private:
  std::string tmux_;
};

TEST(TerminalSession, AUserFindsTheSofasOfARealPlanAndSavesThem) {
  if (std::system("command -v tmux > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "tmux is not installed";
  }
  ScratchFolder folder;
  const std::string dir = folder.path().string();
  const std::string plan =
      std::string(TWINFIND_SAMPLES_DIR) + "/real/Ceco.NET-Architecture-Tm-53.dxf";
  Terminal terminal(folder,
                    "cd '" + dir + "' && '" + TWINFIND_TOOL_PATH + "' run '" + plan +
                        "' --settings s.reg --out saved.dxf; echo exit status \\$?; sleep 60");
  // The load line tells where the drawing lies; the search range is a little larger.
  std::string screen = terminal.WaitFor("prompt: 검색대상 범위지시");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(
      screen, m,
      std::regex("drawing: .*: ([0-9]+) segments, x (\\S+) to (\\S+), y (\\S+) to (\\S+);")))
      << screen;
  const std::string range =
      "range " + std::to_string(std::stod(m[2]) - 1) + " " + std::to_string(std::stod(m[4]) - 1) +
      " " + std::to_string(std::stod(m[3]) + 1) + " " + std::to_string(std::stod(m[5]) + 1);
  terminal.Type("help");
  terminal.WaitFor("help: this step takes a range (range X1 Y1 X2 Y2) or the end button (end)");
  // A picture with the grid, from which the user reads where the sofas are.
  terminal.Type("snapshot plan.png");
  terminal.WaitFor("wrote plan.png");
  EXPECT_TRUE(fs::exists(folder.path() / "plan.png"));
  // The settings dialog: mirror images count as twins; OK ends the command.
  terminal.Type("end");
  terminal.WaitFor("dialog: 12024 check  [ ] 대칭부품을 동일부품으로 취급");
  terminal.Type("dialog click 12024");
  terminal.WaitFor("dialog: 12024 check  [x] 대칭부품을 동일부품으로 취급");
  terminal.Type("dialog ok");
  terminal.WaitFor("ended: the command has ended; start runs it again");
  terminal.Type(range);
  terminal.WaitFor("no command is running (start runs it again)");
  terminal.Type("start");
  terminal.WaitFor("prompt: 검색대상 범위지시", 2);
  terminal.Type(range);
  terminal.WaitFor("prompt: 부품형상 범위지시");
  // The sofa at (17.2, 12.6) to (18.1, 13.5), read off the grid.
  terminal.Type("range 17.2 12.6 18.1 13.5");
  screen = terminal.WaitFor("총 10개의 동일한 부품을 발견하였습니다.");
  EXPECT_NE(screen.find("selected 1 segment: 1 polyline of 17 figures"), std::string::npos);
  terminal.Type("?");
  terminal.WaitFor("help: this step takes the end button (end)");
  terminal.Type("end");
  terminal.WaitFor("prompt:  배치좌표 :");
  terminal.Type("point 0 -20");
  terminal.WaitFor("prompt: 부품형상 범위지시", 2);
  terminal.Keys("C-d");  // the end of the input: the run ends and saves
  screen = terminal.WaitFor("exit status");
  EXPECT_NE(screen.find("exit status 3"), std::string::npos) << screen;  // one refused line
  EXPECT_NE(screen.find("1 of "), std::string::npos) << screen;
  EXPECT_TRUE(fs::exists(folder.path() / "saved.dxf"));
  EXPECT_EQ(screen.find("changes were not saved"), std::string::npos) << screen;
}

}  // namespace
