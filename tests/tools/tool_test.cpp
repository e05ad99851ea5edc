// twinfind as a user runs it: scripts, the terminal, settings, bad arguments.
#include <gtest/gtest.h>

#include <algorithm>

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
                                   "range 0 0 100 100\n"
                                   "end\n");
  const auto settings = folder.path() / "settings.reg";
  const auto r = RunTool(
      folder, "run --script '" + script.string() + "' --settings '" + settings.string() + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "cursor: 대상\n"
            "prompt: 검색대상 범위지시(종료버튼:Dialog) :\n"
            "error: 형상을 선택하셔야 합니다.\n");
  EXPECT_EQ(r.err,
            "twinfind: line 2: this step does not take a point\n"
            "twinfind: line 3: unknown action 'rnage' (expected range, point, move, key, end, "
            "snapshot or a # comment)\n"
            "twinfind: line 5: no command is running\n");
  EXPECT_NE(tooltest::ReadFile(settings).find("\"mMethod\"=\"0\""), std::string::npos);
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
  EXPECT_EQ(r.out.rfind("mMethod 0\nmBalloonSize 5.0\n", 0), 0u);
  EXPECT_NE(r.out.find("\nmBalloonStr 101\n"), std::string::npos);
  // The 24 values, then the optional tolerance with its default; listing it does not store it.
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 25);
  EXPECT_NE(r.out.find("\nmBalloonStr 101\nmTolerance 0.000001\n"), std::string::npos);
  EXPECT_EQ(tooltest::ReadFile(folder.path() / "s.reg").find("mTolerance"), std::string::npos);
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
  EXPECT_EQ(RunTool(folder, "frobnicate").status, 2);
  EXPECT_EQ(RunTool(folder, "run --bogus").status, 2);
  EXPECT_EQ(RunTool(folder, "").status, 2);
  r = RunTool(folder, "--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("twinfind run"), std::string::npos);
}

}  // namespace
