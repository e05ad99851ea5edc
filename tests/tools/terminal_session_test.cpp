// The tool driven at a terminal, as a user drives it: inside tmux (send-keys, capture-pane), on a
// real plan, reading the coordinates off the load line and the grid picture, asking for help,
// opening the settings dialog, starting again, searching and saving; editing a line, finding
// earlier ones (this run's and the last run's), the End key as the end button, Ctrl-C at a
// prompt and during a search. The history is kept in the test's folder (XDG_STATE_HOME).
// Skipped without tmux.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
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
  Terminal(const ScratchFolder& folder, const std::string& command,
           const std::string& socket = "tmux")
      : tmux_("tmux -S '" + (folder.path() / (socket + ".sock")).string() + "' -f /dev/null") {
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
  // Types text without pressing Enter.
  void Text(const std::string& text) {
    std::system((tmux_ + " send-keys -t user -l '" + text + "'").c_str());
  }
  // What the terminal shows, its history included, wrapped lines joined.
  std::string Screen() { return Shell(tmux_ + " capture-pane -p -J -S -3000 -t user"); }
  // Waits (30 s at most) until the screen shows the text `count` times; the screen then.
  std::string WaitFor(const std::string& text, size_t count = 1) {
    std::string screen;
    for (int i = 0; i < 600; ++i) {
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

bool HaveTmux() { return std::system("command -v tmux > /dev/null 2>&1") == 0; }

// The tool run in the folder, its history kept there; the shell says its exit status after it,
// deaf to Ctrl-C from then on (a test may send one as the tool ends).
std::string RunIn(const ScratchFolder& folder, const std::string& arguments) {
  const std::string dir = folder.path().string();
  return "cd '" + dir + "' && XDG_STATE_HOME='" + dir + "/state' '" + TWINFIND_TOOL_PATH +
         "' run " + arguments + "; s=\\$?; trap '' INT; echo exit status \\$s; sleep 60";
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(TerminalSession, AUserFindsTheSofasOfARealPlanAndSavesThem) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  ScratchFolder folder;
  const std::string dir = folder.path().string();
  const std::string plan =
      std::string(TWINFIND_SAMPLES_DIR) + "/real/Ceco.NET-Architecture-Tm-53.dxf";
  Terminal terminal(folder, RunIn(folder, "'" + plan + "' --settings s.reg --out saved.dxf"));
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

TEST(TerminalSession, LinesAreEditedAndRecalledAndTheEndKeyIsTheEndButton) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  ScratchFolder folder;
  const std::string plate = std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf";
  const std::string arguments =
      "'" + plate + "' --settings s.reg --out saved.dxf --report found.json";
  {
    Terminal terminal(folder, RunIn(folder, arguments));
    terminal.WaitFor("prompt: 검색대상 범위지시");
    terminal.Type("range -20 -20 440 280");
    terminal.WaitFor("selected 49 segments");
    // A picture of the flange's corner of the plate, zoomed in.
    terminal.Type("snapshot zoom.png 25 175 71 221");
    terminal.WaitFor("wrote zoom.png");
    EXPECT_TRUE(fs::exists(folder.path() / "zoom.png"));
    // The line typed without its first letter, which is put in after Home.
    terminal.Text("ange 25 175 71 221");
    terminal.Keys("Home");
    terminal.Text("r");
    terminal.Keys("Enter");
    terminal.WaitFor("총 4개의 동일한 부품을 발견하였습니다.");
    // The End key alone on the line: the end button, which confirms the twins.
    terminal.Keys("End");
    terminal.WaitFor("prompt:  배치좌표 :");
    // Ctrl-C cancels the line typed: the step still asks for the row's place.
    terminal.Text("point 0 -9999");
    terminal.Keys("C-c");
    terminal.Type("help");
    terminal.WaitFor("help: this step takes a point");
    terminal.Type("point 0 -60");
    terminal.WaitFor("prompt: 부품형상 범위지시", 2);
    // Ctrl-R finds the snapshot line, the Up arrow gives it again.
    terminal.Keys("C-r");
    terminal.Text("snap");
    terminal.Keys("Enter");
    terminal.WaitFor("wrote zoom.png", 2);
    terminal.Keys("Up");
    terminal.Keys("Enter");
    terminal.WaitFor("wrote zoom.png", 3);
    // Ctrl-C at an empty line says what a second one does; the second ends the run as Ctrl-D
    // does: the drawing and the report are written.
    terminal.Keys("C-c");
    terminal.WaitFor("Ctrl-C again, or Ctrl-D, ends the run");
    terminal.Keys("C-c");
    const std::string screen = terminal.WaitFor("exit status");
    EXPECT_NE(screen.find("exit status 130"), std::string::npos) << screen;
    EXPECT_NE(screen.find("wrote saved.dxf: "), std::string::npos) << screen;
    EXPECT_NE(screen.find("wrote found.json"), std::string::npos) << screen;
    EXPECT_EQ(Count(screen, "\nprompt:  배치좌표 :"), 1u) << screen;
    EXPECT_NE(screen.find("부품배치)\nend\nprompt:  배치좌표 :"), std::string::npos) << screen;
  }
  // The history: the lines entered, not the one cancelled, for the user alone.
  const fs::path history = folder.path() / "state" / "twinfind" / "history";
  const std::string kept = tooltest::ReadFile(history);
  EXPECT_NE(kept.find("range 25 175 71 221\nend\n"), std::string::npos) << kept;
  EXPECT_EQ(kept.find("9999"), std::string::npos) << kept;
  EXPECT_EQ(fs::status(history).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  // The next run finds the last run's lines.
  Terminal again(folder, RunIn(folder, "'" + plate + "' --settings s.reg"), "again");
  again.WaitFor("prompt: 검색대상 범위지시");
  again.Keys("C-r");
  again.Text("range -20");
  again.Keys("Enter");
  again.WaitFor("selected 49 segments");
  again.Keys("C-d");
  const std::string screen = again.WaitFor("exit status");
  EXPECT_NE(screen.find("exit status 0"), std::string::npos) << screen;
}

// The process of the tool run in the folder: named twinfind, working there.
pid_t ToolIn(const ScratchFolder& folder) {
  for (int i = 0; i < 600; ++i) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
      std::error_code ec;
      if (tooltest::ReadFile(entry.path() / "comm") == "twinfind\n" &&
          fs::read_symlink(entry.path() / "cwd", ec) == folder.path()) {
        return std::stoi(entry.path().filename().string());
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return -1;
}

TEST(TerminalSession, CtrlCDuringASearchEndsTheRunOnceTheSearchIsDone) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  ScratchFolder folder;
  // A comb of teeth as the part and more lines of its teeth's length in the range: a trial copy
  // of the comb on every one of them takes the search a few seconds (a smaller comb in the
  // sanitizer build, which runs it some 25 times slower).
#ifdef __SANITIZE_ADDRESS__
  const int teeth = 300, others = 2000;
#else
  const int teeth = 1000, others = 8000;
#endif
  {
    std::ofstream dxf(folder.path() / "combs.dxf");
    dxf << "0\nSECTION\n2\nENTITIES\n";
    const auto line = [&dxf](double x, double y) {
      dxf << "0\nLINE\n8\n0\n10\n"
          << x << "\n20\n"
          << y << "\n11\n"
          << x << "\n21\n"
          << y + 10 << "\n";
    };
    for (int i = 0; i < teeth; ++i) line(i, 0);
    for (int k = 0; k < others; ++k) line((k % 300) * 3.0, 100 + (k / 300) * 20.0);
    dxf << "0\nENDSEC\n0\nEOF\n";
  }
  Terminal terminal(
      folder, RunIn(folder, "combs.dxf --settings s.reg --out saved.dxf --report found.json"));
  terminal.WaitFor("prompt: 검색대상 범위지시");
  terminal.Type("range -1 -1 2000 2000");
  terminal.WaitFor("selected " + std::to_string(teeth + others) + " segments");
  terminal.Type("range -0.5 -0.5 " + std::to_string(teeth) + " 10.5");
  terminal.WaitFor("selected " + std::to_string(teeth) + " segments");
  // The part is taken: the search runs now. Ctrl-C again and again while it runs and the
  // outputs are written, and only while the tool runs: the run ends once the search is done,
  // and each output is written whole.
  const pid_t tool = ToolIn(folder);
  ASSERT_GT(tool, 0);
  for (int i = 0; i < 2400 && kill(tool, 0) == 0; ++i) {
    terminal.Keys("C-c");
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  const std::string screen = terminal.WaitFor("exit status");
  // The Ctrl-C came while the part's line, the search, was carried out: the run went on to the
  // search's end, whose one twin the report holds. (Its count line may not be on the screen:
  // the line editor redraws its line at each Ctrl-C and may draw over it.)
  const size_t interrupted = screen.find("interrupted: the run ends once this line is done");
  ASSERT_NE(interrupted, std::string::npos) << screen;
  const size_t found = screen.find("총 1개의 동일한 부품을 발견하였습니다.");
  if (found != std::string::npos) {
    EXPECT_LT(interrupted, found) << screen;
  }
  const std::string report = tooltest::ReadFile(folder.path() / "found.json");
  size_t twins = 0;
  for (size_t at = report.find("\"isPart\""); at != std::string::npos;
       at = report.find("\"isPart\"", at + 1))
    ++twins;
  EXPECT_EQ(twins, 1u) << report;
  EXPECT_NE(screen.find("wrote saved.dxf: "), std::string::npos) << screen;
  EXPECT_NE(screen.find("wrote found.json"), std::string::npos) << screen;
  EXPECT_NE(screen.find("exit status 130"), std::string::npos) << screen;
  EXPECT_TRUE(tooltest::ReadFile(folder.path() / "saved.dxf").ends_with("EOF\n"));
  EXPECT_TRUE(tooltest::ReadFile(folder.path() / "found.json").ends_with("}\n"));
}

// The history's file lies in the user's state folder. Where that folder is shared (sticky and
// writable by anyone), a link another user planted there is not followed, and a FIFO is not
// waited on: the run starts and says the typed lines are not kept; the files at stake stay.
TEST(TerminalSession, TheHistoryFollowsNoPlantedLinkAndWaitsOnNoFifo) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  if (geteuid() != 0) GTEST_SKIP() << "planting another user's link needs root";
  const std::string plate = std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf";
  for (const std::string how : {"planted link", "fifo"}) {
    SCOPED_TRACE(how);
    ScratchFolder folder;
    const fs::path shared = folder.path() / "state" / "twinfind";
    fs::create_directories(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    std::string lines;
    for (int i = 0; i < 1500; ++i) lines += "line " + std::to_string(i) + "\n";
    const fs::path victim = folder.Write("victim.txt", lines);
    const fs::path history = shared / "history";
    if (how == "fifo") {
      ASSERT_EQ(mkfifo(history.c_str(), 0600), 0);
    } else {
      fs::create_symlink(victim, history);
      ASSERT_EQ(lchown(history.c_str(), 65534, 65534), 0);
    }
    Terminal terminal(folder, RunIn(folder, "'" + plate + "' --settings s.reg"));
    terminal.WaitFor("prompt: 검색대상 범위지시");
    terminal.Type("range -20 -20 440 280");
    terminal.WaitFor("selected 49 segments");
    terminal.Keys("C-d");
    const std::string screen = terminal.WaitFor("exit status");
    EXPECT_NE(screen.find("the typed lines are not kept: "), std::string::npos) << screen;
    EXPECT_NE(screen.find(how == "fifo" ? "is not a regular file" : "is not followed"),
              std::string::npos)
        << screen;
    EXPECT_NE(screen.find("exit status 0"), std::string::npos) << screen;
    EXPECT_EQ(tooltest::ReadFile(victim), lines);
    EXPECT_TRUE(how == "fifo" ? fs::is_fifo(history) : fs::is_symlink(history));
  }
}

// Closing the terminal or a polite kill ends the run as Ctrl-D would, its outputs written;
// a changed drawing that no --out names is kept beside the drawing, and the file named.
TEST(TerminalSession, AClosedTerminalOrAKillKeepsTheRunsWork) {
  if (!HaveTmux()) GTEST_SKIP() << "tmux is not installed";
  struct Case {
    std::string how;
    bool out;
  };
  for (const Case& c : {Case{"hangup", false}, Case{"terminate", true}, Case{"terminate", false}}) {
    SCOPED_TRACE(c.how + (c.out ? " with --out" : ""));
    ScratchFolder folder;
    fs::copy_file(std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf",
                  folder.path() / "plate.dxf");
    std::optional<Terminal> terminal;
    terminal.emplace(folder,
                     RunIn(folder, std::string("plate.dxf --settings s.reg ") +
                                       (c.out ? "--out saved.dxf " : "") + "--report found.json"));
    terminal->WaitFor("prompt: 검색대상 범위지시");
    terminal->Type("range -20 -20 440 280");
    terminal->Type("range 25 175 71 221");
    terminal->WaitFor("총 4개의 동일한 부품을 발견하였습니다.");
    terminal->Type("end");
    terminal->Type("point 0 -60");  // the row: the drawing has changed
    terminal->WaitFor("prompt: 부품형상 범위지시", 2);
    const pid_t tool = ToolIn(folder);
    ASSERT_GT(tool, 0);
    if (c.how == "hangup") {
      terminal.reset();  // the terminal is closed
    } else {
      kill(tool, SIGTERM);
      const std::string screen = terminal->WaitFor("exit status");
      EXPECT_NE(screen.find("exit status 143"), std::string::npos) << screen;
    }
    // Its outputs written, the run ends (the sanitizer build on a busy machine takes longest).
    for (int i = 0; i < 1200 && kill(tool, 0) == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_NE(kill(tool, 0), 0) << "the run did not end";
    const fs::path kept = folder.path() / (c.out ? "saved.dxf" : "plate.dxf.rescue-1");
    const std::string saved = tooltest::ReadFile(kept);
    EXPECT_TRUE(saved.ends_with("EOF\n")) << kept;
    EXPECT_GT(saved.size(), tooltest::ReadFile(folder.path() / "plate.dxf").size());
    EXPECT_TRUE(tooltest::ReadFile(folder.path() / "found.json").ends_with("}\n"));
    if (terminal) {
      EXPECT_NE(terminal->Screen().find(c.out ? "wrote saved.dxf"
                                              : "the changes were saved as plate.dxf.rescue-1"),
                std::string::npos)
          << terminal->Screen();
    }
  }
}

}  // namespace
