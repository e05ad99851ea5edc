// The settings dialog through the tool: opened by the end button at the first prompt, printed,
// operated with dialog lines, and pictured.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "tool_run.h"

namespace {

using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::ScratchFolder;

std::string With(const std::filesystem::path& settings) {
  return " --settings '" + settings.string() + "'";
}

TEST(ToolDialog, ACheckBoxClickedAndOkIsStoredAndTheCommandEnds) {
  ScratchFolder folder;
  const auto settings = folder.path() / "s.reg";
  const auto script = folder.Write("dialog.script",
                                   "end\n"
                                   "dialog click 12007\n"
                                   "dialog ok\n"
                                   "range 0 0 10 10\n");
  const auto r = RunTool(folder, "run --script '" + script.string() + "'" + With(settings));
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.out.find("dialog: == 동일부품검색 (23000) ==\n"
                       "dialog:     - group  검색조건\n"
                       "dialog: 12000 edit   \"5.0\"\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("dialog: 12007 check  [ ] 동일 레이어 검색\n"), std::string::npos);
  EXPECT_NE(r.out.find("dialog: 12007 check  [x] 동일 레이어 검색\n"
                       "dialog: focus: 12007\n"
                       "dialog: == 동일부품검색 closed with OK ==\n"),
            std::string::npos);
  EXPECT_NE(ReadFile(settings).find("\"mIsLayer\"=\"1\""), std::string::npos);
  // The command ended with the dialog: the range that follows finds no command.
  EXPECT_NE(r.out.find("closed with OK ==\nended: the command has ended; start runs it again\n"),
            std::string::npos);
  EXPECT_EQ(r.err,
            "twinfind: line 4: no command is running (start runs it again)\n"
            "twinfind: 1 of 4 lines were refused\n");
}

TEST(ToolDialog, CancelChangesNothing) {
  ScratchFolder folder;
  const auto settings = folder.path() / "s.reg";
  ASSERT_EQ(RunTool(folder, "settings list" + With(settings)).status, 0);
  const std::string before = ReadFile(settings);
  const auto r = RunTool(folder, "run" + With(settings),
                         "end\ndialog click 12007\ndialog text 12016 9\ndialog cancel\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("dialog: == 동일부품검색 closed, cancelled ==\n"), std::string::npos);
  EXPECT_EQ(ReadFile(settings), before);
}

TEST(ToolDialog, OtherLinesWhileTheDialogIsOpenAreRefusedAndTheRunGoesOn) {
  ScratchFolder folder;
  const auto r = RunTool(folder, "run" + With(folder.path() / "s.reg"),
                         "end\nrange 0 0 1 1\ndialog click 4242\ndialog ok\n");
  EXPECT_EQ(r.err,
            "twinfind: line 2: a dialog is open: use dialog lines (click ID, dblclick ID, text ID "
            "VALUE, select ID INDEX, key CODE, ok, cancel, picture FILE; help lists them)\n"
            "twinfind: 2 of 4 lines were refused\n");  // the line the dialog refused counts
  EXPECT_NE(r.out.find("dialog: refused \"click 4242\": this dialog has no control 4242\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("closed with OK"), std::string::npos);
}

bool HaveRasteriser() { return std::system("command -v rsvg-convert > /dev/null 2>&1") == 0; }

TEST(ToolDialog, PicturesOfTheOpenDialogsAsSvgAndPng) {
  ScratchFolder folder;
  const auto dir = folder.path().string();
  const auto r = RunTool(folder, "run" + With(folder.path() / "s.reg"),
                         "end\n"
                         "dialog picture " +
                             dir +
                             "/main.png\n"
                             "dialog click 12010\n"
                             "dialog picture " +
                             dir +
                             "/colour.svg\n"
                             "dialog cancel\n"
                             "dialog cancel\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(ReadFile(folder.path() / "main.svg").find(">동일부품검색</text>"), std::string::npos);
  EXPECT_NE(ReadFile(folder.path() / "colour.svg").find(">Color Property</text>"),
            std::string::npos);
  EXPECT_NE(
      r.out.find("dialog: picture written: " + dir + "/main.svg (for " + dir + "/main.png)\n"),
      std::string::npos);
  if (!HaveRasteriser()) GTEST_SKIP() << "rsvg-convert (librsvg2-bin) is not installed";
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadFile(folder.path() / "main.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_NE(r.out.find("dialog: picture written: " + dir + "/main.png\n"), std::string::npos);
  // Nothing half-written is left beside the pictures.
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
  }
}

TEST(ToolDialog, WithoutARasteriserThePngIsRefusedAndTheSvgStays) {
  ScratchFolder folder;
  const char* path = std::getenv("PATH");
  const std::optional<std::string> saved = path ? std::optional<std::string>(path) : std::nullopt;
  setenv("PATH", (folder.path() / "nothing-here").c_str(), 1);
  const auto r = RunTool(folder, "run" + With(folder.path() / "s.reg"),
                         "end\ndialog picture " + folder.path().string() + "/d.png\n");
  if (saved) setenv("PATH", saved->c_str(), 1);
  EXPECT_EQ(r.err,
            "twinfind: line 2: no PNG made: rsvg-convert is not installed (Debian package "
            "librsvg2-bin); the SVG is " +
                folder.path().string() + "/d.svg\ntwinfind: 1 of 2 lines were refused\n");
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "d.svg"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "d.png"));
}

}  // namespace
