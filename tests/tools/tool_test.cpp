// twinfind as a user runs it: scripts, the terminal, settings, bad arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

#include "tool_run.h"

namespace {

using tooltest::RunTool;
using tooltest::ScratchFolder;

TEST(Tool, ARunPrintsTheHostMessagesAndAnswersNonsenseOnStandardError) {
  ScratchFolder folder;
  const auto script = folder.Write("run.script",
                                   "# the first prompt\n"
                                   "point 1 2\n"
                                   "rnage 0 0 1 1\n"
                                   "range 0 0 100 100   # a comment after an action\n"
                                   "end\n");
  const auto settings = folder.path() / "settings.reg";
  const auto r = RunTool(
      folder, "run --script '" + script.string() + "' --settings '" + settings.string() + "'");
  EXPECT_EQ(r.status, 3);  // some lines were refused
  EXPECT_EQ(r.out,
            "cursor: 대상\n"
            "prompt: 검색대상 범위지시(종료버튼:Dialog) :\n"
            "selected no segments\n"
            "error: 형상을 선택하셔야 합니다.\n"
            "ended: the command has ended; start runs it again\n");
  EXPECT_EQ(r.err,
            "twinfind: line 2: this step does not take a point\n"
            "twinfind: line 3: unknown action 'rnage': did you mean range? (expected range X1 Y1 "
            "X2 Y2, pick X Y, "
            "point X Y, move X Y, key TEXT, end, start, undo, redo, layer [N on|off], snapshot "
            "FILE.svg|.png [X1 Y1 X2 Y2], help or ?, # comment)\n"
            "twinfind: line 5: no command is running (start runs it again)\n"
            "twinfind: 3 of 4 lines were refused\n");
  EXPECT_NE(tooltest::ReadFile(settings).find("\"mMethod\"=\"0\""), std::string::npos);
}

// A mistyped action is answered with the action it most likely meant; a word far from every
// action gets no guess.
TEST(Tool, AMistypedActionGetsASuggestion) {
  ScratchFolder folder;
  const auto script = folder.Write("typos.script", "snapshto a.png\nudno\nrnage 0 0 1 1\nxyzzy\n");
  const auto r = RunTool(folder, "run --script '" + script.string() + "' --settings '" +
                                     (folder.path() / "s.reg").string() + "'");
  for (const char* said : {"line 1: unknown action 'snapshto': did you mean snapshot?",
                           "line 2: unknown action 'udno': did you mean undo?",
                           "line 3: unknown action 'rnage': did you mean range?",
                           "line 4: unknown action 'xyzzy' (expected"}) {
    EXPECT_NE(r.err.find(said), std::string::npos) << said << "\n" << r.err;
  }
}

TEST(Tool, AnUnknownActionIsQuotedShortAndPrintable) {
  ScratchFolder folder;
  // A binary file given as the script: control bytes, an escape sequence, no UTF-8, one long
  // line.
  std::string line = "\x01\x02\x1b[31m\xff\xfe";
  for (int i = 0; i < 2000; ++i) line += static_cast<char>('A' + i % 26);
  const auto script = folder.Write("binary.script", line + "\n");
  const auto r = RunTool(folder, "run --script '" + script.string() + "' --settings '" +
                                     (folder.path() / "s.reg").string() + "'");
  EXPECT_EQ(r.err.rfind("twinfind: line 1: unknown action '\\x01\\x02\\x1b[31m\\xff\\xfeABC", 0),
            0u)
      << r.err;
  EXPECT_NE(r.err.find("OPQRS...' (expected"), std::string::npos) << r.err;
  EXPECT_LT(r.err.size(), 400u);  // the verb cut short, then the lines the tool reads
  for (const char c : r.err) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);
}

TEST(Tool, TheTerminalTakesTheSameLines) {
  ScratchFolder folder;
  const auto settings = folder.path() / "s.reg";
  const auto r = RunTool(folder, "run --settings '" + settings.string() + "'", "end\n");
  EXPECT_EQ(r.status, 0);
  // The end button opens the settings dialog; the input ends there, so it closes cancelled.
  EXPECT_EQ(r.out.rfind("cursor: 대상\nprompt: 검색대상 범위지시(종료버튼:Dialog) :\n"
                        "dialog: == 동일부품검색 (23000) ==\n",
                        0),
            0u);
  EXPECT_NE(r.out.find("dialog: == 동일부품검색 closed, cancelled ==\n"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

TEST(Tool, SettingsAreListedReadAndWritten) {
  ScratchFolder folder;
  const std::string with = " --settings '" + (folder.path() / "s.reg").string() + "'";
  auto r = RunTool(folder, "settings list" + with);
  ASSERT_EQ(r.status, 0);
  // NAME VALUE  # its meaning, in English.
  EXPECT_EQ(r.out.rfind("mMethod 0  # method: 0 general", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\nmIsSymmetry 0  # 1: mirror images are twins\n"), std::string::npos);
  // The 24 values, then the optional tolerance, range limit, scale and language with their
  // defaults; listing them does not store them. Every line has its meaning.
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 28);
  const std::regex line(R"(m_?[A-Za-z]+ [^ ]*  # [^\n]{8,}\n)");
  EXPECT_EQ(
      std::distance(std::sregex_iterator(r.out.begin(), r.out.end(), line), std::sregex_iterator()),
      28)
      << r.out;
  EXPECT_NE(r.out.find("\nmBalloonStr 101  # "), std::string::npos);
  EXPECT_NE(r.out.find("\nmTolerance 0.000001  # "), std::string::npos);
  EXPECT_NE(r.out.find("\nmRangeLimit 10000  # "), std::string::npos);
  EXPECT_NE(r.out.find("\nmDrawingScale   # "), std::string::npos);
  EXPECT_NE(r.out.find("\nmLanguage ko  # "), std::string::npos);
  EXPECT_EQ(tooltest::ReadFile(folder.path() / "s.reg").find("mTolerance"), std::string::npos);
  EXPECT_EQ(tooltest::ReadFile(folder.path() / "s.reg").find("mRangeLimit"), std::string::npos);
  ASSERT_EQ(RunTool(folder, "settings set mTolerance 0.001" + with).status, 0);
  EXPECT_EQ(RunTool(folder, "settings get mTolerance" + with).out, "0.001\n");
  ASSERT_EQ(RunTool(folder, "settings set mBalloonStr 'A-009 \"x\"'" + with).status, 0);
  r = RunTool(folder, "settings get mBalloonStr" + with);
  EXPECT_EQ(r.out, "A-009 \"x\"\n");
  // A value longer than the store can read back is refused, and nothing changes.
  r = RunTool(folder, "settings set mDPChar " + std::string(127, 'x') + with);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(RunTool(folder, "settings get mDPChar" + with).out, "T\n");
}

TEST(Tool, BadArgumentsGiveStatusTwoAndAClearMessage) {
  ScratchFolder folder;
  const std::string with = " --settings '" + (folder.path() / "s.reg").string() + "'";
  auto r = RunTool(folder, "settings get mIsRotat" + with);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown setting mIsRotat"), std::string::npos);
  r = RunTool(folder, "run --script '" + (folder.path() / "missing.script").string() + "'" + with);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("cannot read the script"), std::string::npos);
  r = RunTool(folder, "run --settings '" + (folder.path() / "no/such/folder/s.reg").string() + "'");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("does not exist"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "no"));
  EXPECT_EQ(RunTool(folder, "").status, 2);
}

// A drawing whose import would pass the memory limit is refused with the limit named, and the
// limit takes only a number of megabytes, from the option or the environment: alike in every
// command that opens a drawing.
TEST(Tool, TheMemoryLimitRefusesADrawingTooLargeForIt) {
  ScratchFolder folder;
  std::string lines;
  for (int i = 0; i < 50000; ++i) {
    lines += "0\nLINE\n8\n0\n10\n" + std::to_string(i) + "\n20\n0\n11\n" + std::to_string(i) +
             "\n21\n1\n";
  }
  const auto drawing =
      folder.Write("big.dxf", "0\nSECTION\n2\nENTITIES\n" + lines + "0\nENDSEC\n0\nEOF\n");
  const std::string with =
      " --settings '" + (folder.path() / "s.reg").string() + "' '" + drawing.string() + "'";
  for (const std::string command : {"run --script /dev/null", "survey", "view --idle 1"}) {
    SCOPED_TRACE(command);
    auto r = RunTool(folder, command + " --memory-limit 1" + with);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("not enough memory"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("beyond the import's limit of 1 MB"), std::string::npos) << r.err;
    r = RunTool(folder, command + " --memory-limit 2GB" + with);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--memory-limit takes a number of megabytes"), std::string::npos) << r.err;
    setenv("TWINFIND_MEMORY_LIMIT_MB", "1", 1);
    r = RunTool(folder, command + with);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("limit of 1 MB"), std::string::npos) << r.err;
    setenv("TWINFIND_MEMORY_LIMIT_MB", "many", 1);
    r = RunTool(folder, command + with);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("TWINFIND_MEMORY_LIMIT_MB takes a number of megabytes"),
              std::string::npos);
    unsetenv("TWINFIND_MEMORY_LIMIT_MB");
  }
  for (const std::string command : {"run --script /dev/null", "survey"}) {
    const auto r = RunTool(folder, command + " --memory-limit 100000" + with);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("50000 segments"), std::string::npos) << r.out;
  }
}

// A value the settings would misread is refused, with what the setting takes, and the file is
// left as it was; the values they read as meant are stored.
TEST(Tool, SettingsSetRefusesWhatWouldBeMisread) {
  ScratchFolder folder;
  const std::string with = " --settings '" + (folder.path() / "s.reg").string() + "'";
  ASSERT_EQ(RunTool(folder, "settings list" + with).status, 0);  // every value stored
  struct Case {
    const char* name;
    const char* value;
    const char* says;  // what the refusal says; null: stored
  };
  const Case cases[] = {
      {"mIsRotate", "01", "takes 0 (off) or 1 (on)"},
      {"mIsSymmetry", "2", "takes 0 (off) or 1 (on)"},
      {"mIsLayer", "''", "takes 0 (off) or 1 (on)"},
      {"mMethod", "abc", "takes a whole number"},
      {"mFigure", "1.5", "takes a whole number"},
      {"mBalloonLayer", "8O1", "takes a whole number"},
      {"mArrangeWidth", "5,0", "takes a number"},
      {"mBalloonSize", "1e999", "takes a number"},
      {"mTolerance", "0", "takes a number above 0"},
      {"mTolerance", "-0.001", "takes a number above 0"},
      {"m_ColorMain", "RED", "takes a colour name"},
      {"mLTypeName", "LINETYPE11", "takes a line-type name"},
      {"mIsRotat", "1", "unknown setting mIsRotat"},
      {"mIsRotate", "0", nullptr},
      {"mMethod", "-1", nullptr},
      {"mArrangeWidth", "-2.5e1", nullptr},
      {"mTolerance", ".001", nullptr},
      {"m_ColorMain", "maincolor03", nullptr},
      {"mBalloonStr", "A-009", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.value);
    const std::string before = tooltest::ReadFile(folder.path() / "s.reg");
    const auto r = RunTool(folder, std::string("settings set ") + c.name + " " + c.value + with);
    if (c.says != nullptr) {
      EXPECT_EQ(r.status, 2);
      EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
      EXPECT_EQ(tooltest::ReadFile(folder.path() / "s.reg"), before);
    } else {
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(RunTool(folder, std::string("settings get ") + c.name + with).out,
                std::string(c.value) + "\n");
    }
  }
}

// The usual conventions: --help and -h for the tool and each sub-command, --version,
// --opt=VALUE, -- before a name that starts with "-", and on an error a short usage with a hint.
TEST(Tool, TheCommandLineFollowsTheUsualConventions) {
  ScratchFolder folder;
  struct Case {
    std::string arguments;
    int status;
    std::string out;  // found in standard output
    std::string err;  // found in standard error
  };
  const Case cases[] = {
      {"--help", 0, "twinfind run [DRAWING.dxf]", ""},
      {"help", 0, "twinfind settings list|get NAME|set NAME VALUE", ""},
      {"run --help", 0, "Usage: twinfind run [OPTIONS] [DRAWING]", ""},
      {"run -h", 0, "snapshot FILE         a picture (.svg/.png)", ""},
      {"demo -h", 0, "--out DIR", ""},
      {"settings --help", 0, "list | get NAME | set NAME VALUE", ""},
      {"--version", 0, "twinfind 0.", ""},
      {"run --bogus", 2, "",
       "twinfind: The following argument was not expected: --bogus\nusage: "
       "twinfind run [DRAWING.dxf]"},
      {"run --script", 2, "", "Run 'twinfind run --help' for more.\n"},
      {"frobnicate", 2, "",
       "twinfind: unknown command 'frobnicate'; the commands are run, demo, view, survey and "
       "settings\nusage: twinfind run|demo|view|survey|settings ...\nRun 'twinfind --help' for "
       "more.\n"},
      {"settings", 2, "", "usage: twinfind settings list|get NAME|set NAME VALUE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const auto r = RunTool(folder, c.arguments);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    // An error is told in a few lines, not the whole help.
    EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), 5) << r.err;
  }
  // A drawing whose name starts with "-", after "--"; options written with "=".
  folder.Write("-plan.dxf",
               "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n3\n21\n4\n0\n"
               "ENDSEC\n0\nEOF\n");
  const auto script = folder.Write("run.script", "range -1 -1 5 5\n");
  const auto r =
      RunTool(folder, "run --script=run.script --settings=s.reg --svg=p.svg -- -plan.dxf", "",
              folder.path().string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("drawing: -plan.dxf: 1 segment, x 0 to 3, y 0 to 4; 1 layer: 0\n", 0), 0u)
      << r.out;
  EXPECT_NE(r.out.find("wrote p.svg\n"), std::string::npos) << r.out;
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "p.svg"));
}

}  // namespace
