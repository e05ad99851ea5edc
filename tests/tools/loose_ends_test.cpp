// Small things a user trips over: a row skipped with the end button leaves the next row to ask
// for its point (general and balloon method), no lock file stays beside the settings after a
// run, and the demo plate says that it is drawn in millimetres.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using tooltest::Quote;
using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::ScratchFolder;

const std::string kPlate = std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf";

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(LooseEnds, ASkippedFirstRowLeavesTheNextRowToAskForItsPoint) {
  struct Case {
    const char* what;
    const char* settings;
    const char* script;
  };
  const Case cases[] = {
      {"general method", "",
       "range -20 -20 440 280\n"
       "range 18 18 62 52\nend\nend\n"  // the brackets' row skipped at its placement prompt
       "range 28 178 68 218\nend\n"     // the flanges: their row asks for its point
       "point 0 -120\n"},
      {"balloon method", "\"mMethod\"=\"1\"\n\"mIsBalloonAutoArrange\"=\"1\"\n",
       "range -5 -5 425 265\nkey SS400\nkey A-009\nkey 12\n"
       "range 18 18 62 52\nend\nend\n"
       "key\nkey\nkey 12\n"
       "range 28 178 68 218\nend\n"
       "point 0 -280\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const auto settings = folder.Write(
        "s.reg", std::string("Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n") +
                     c.settings);
    const auto r = RunTool(folder,
                           "run " + Quote(kPlate) + " --out out.dxf --settings " + Quote(settings) +
                               " --script " + Quote(folder.Write("run.script", c.script)),
                           "", folder.path().string());
    EXPECT_EQ(r.status, 0) << r.err;
    // Both rows asked for their place; the one placed lies where the user put it, below the
    // plate, not over the drawing.
    EXPECT_EQ(Count(r.out, "prompt:  배치좌표 :"), 2u) << r.out;
    EXPECT_NE(r.out.find("entities kept, 0 deleted"), std::string::npos) << r.out;
  }
}

TEST(LooseEnds, NoLockFileStaysBesideTheSettings) {
  ScratchFolder folder;
  const std::string with = " --settings " + Quote(folder.path() / "s.reg");
  ASSERT_EQ(RunTool(folder, "settings set mIsSymmetry 1" + with).status, 0);
  const auto r = RunTool(folder, "run " + Quote(kPlate) + with,
                         "range -20 -20 440 280\nrange 18 18 62 52\nend\npoint 0 -90\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(folder.path() / "s.reg"));
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    EXPECT_FALSE(entry.path().filename().string().ends_with(".lock")) << entry.path();
  }
}

TEST(LooseEnds, ASnapshotOfAWindowIsThatWindowZoomedIn) {
  ScratchFolder folder;
  const auto r =
      RunTool(folder, "run " + Quote(kPlate) + " --no-grid --settings s.reg",
              "snapshot whole.svg   # a name, then a comment\nsnapshot bracket.svg 18 18 62 52\n"
              "snapshot flat.svg 18 18 62 18\n",
              folder.path().string());
  EXPECT_NE(r.out.find("wrote whole.svg\nwrote bracket.svg\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.err,
            "twinfind: line 3: a snapshot's window needs a width and a height\n"
            "twinfind: 1 of 3 lines were refused\n");
  ASSERT_TRUE(fs::exists(folder.path() / "bracket.svg"));
  // The window fills the picture: the bracket's holes (radius 2.5) are drawn ten times as large
  // as in the whole plate's picture (a window 44 wide against a plate 440 wide).
  const auto firstRadius = [](const std::string& svg) {
    const size_t at = svg.find(" r=\"");
    return at == std::string::npos ? 0.0 : std::stod(svg.substr(at + 4));
  };
  const double whole = firstRadius(ReadFile(folder.path() / "whole.svg"));
  const double bracket = firstRadius(ReadFile(folder.path() / "bracket.svg"));
  ASSERT_GT(whole, 0);
  EXPECT_NEAR(bracket / whole, 10, 0.5);
}

TEST(LooseEnds, TheDemoPlateIsInMillimetres) {
  // $INSUNITS 4: millimetres.
  EXPECT_NE(ReadFile(kPlate).find("$INSUNITS\n 70\n4\n"), std::string::npos);
}

}  // namespace
