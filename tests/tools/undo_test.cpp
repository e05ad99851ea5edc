// Undo and redo lines of a run: one undo takes back the whole of one result action (twins
// deleted or recoloured, the row of copies with its frame, balloons and texts), the drawing saved
// after it is the drawing as it stands, an undo in the middle of a result step is refused, and
// no more than 20 actions are kept.
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

std::string Settings(const ScratchFolder& folder, const std::string& values) {
  const auto path = folder.Write("settings.reg",
                                 "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n" +
                                     values);
  return " --settings " + Quote(path);
}

// The general method's bracket search and row on the plate.
const char kBracketRow[] =
    "range -20 -20 440 280\n"
    "range 18 18 62 52\n"
    "end\n"
    "point 0 -90\n";
// The balloon method: material, part number and depth typed, the flanges' row with balloons,
// count texts and balloons on the parts.
const char kFlangeBalloons[] =
    "range -5 -5 425 265\n"
    "key SS400\n"
    "key A-009\n"
    "key 12\n"
    "range 28 178 68 218\n"
    "end\n"
    "point 0 -280\n";

TEST(Undo, TakesBackWholeResultActionsAndTheSaveIsTheDrawingAsItStands) {
  struct Case {
    const char* what;
    const char* settings;
    std::string script;
    const char* saved;  // the save line of --out
    bool asRead;        // everything undone: the file saved is the file as it was read
  };
  const Case cases[] = {
      {"a row undone", "\"mIsSymmetry\"=\"1\"\n", std::string(kBracketRow) + "undo\n",
       "wrote out.dxf: 51 entities kept, 0 deleted, 0 changed, 0 added", true},
      {"deleted twins and their row undone, then redone",
       "\"mIsSymmetry\"=\"1\"\n\"mFigure\"=\"1\"\n", std::string(kBracketRow) + "undo\nredo\n",
       "wrote out.dxf: 36 entities kept, 15 deleted, 0 changed, 16 added", false},
      {"recoloured twins and their row undone", "\"mIsSymmetry\"=\"1\"\n\"mFigure\"=\"2\"\n",
       std::string(kBracketRow) + "undo\n",
       "wrote out.dxf: 51 entities kept, 0 deleted, 0 changed, 0 added", true},
      {"a balloon run undone", "\"mMethod\"=\"1\"\n\"mBalloonSize\"=\"16\"\n",
       std::string(kFlangeBalloons) + "undo\n",
       "wrote out.dxf: 51 entities kept, 0 deleted, 0 changed, 0 added", true},
      {"two rows, the second undone", "\"mIsSymmetry\"=\"1\"\n",
       std::string(kBracketRow) + "range 28 178 68 218\nend\nundo\n",
       "wrote out.dxf: 51 entities kept, 0 deleted, 0 changed, 16 added", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const auto script = folder.Write("run.script", c.script);
    const auto r = RunTool(folder,
                           "run " + Quote(kPlate) + " --script " + Quote(script) +
                               " --out out.dxf --report report.json" + Settings(folder, c.settings),
                           "", folder.path().string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find(c.saved), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("undone: the drawing is back as it was before the last result action"),
              std::string::npos);
    // The report keeps the search and says that its action was taken back (or not, redone).
    const std::string report = ReadFile(folder.path() / "report.json");
    const bool redone = c.script.ends_with("redo\n");
    EXPECT_NE(report.find(redone ? "\"undone\": false" : "\"undone\": true"), std::string::npos);
    if (c.asRead) {
      EXPECT_EQ(ReadFile(folder.path() / "out.dxf"), ReadFile(kPlate));
    }
  }
}

TEST(Undo, WaitsForTheResultStepAndSaysSoAndRestartsOverTheSameRange) {
  ScratchFolder folder;
  const auto script = folder.Write("run.script",
                                   "undo\n"
                                   "range -20 -20 440 280\n"
                                   "range 18 18 62 52\n"
                                   "undo\n"  // the twins blink: refused
                                   "end\n"
                                   "redo\n"  // the row's place is asked for: refused
                                   "point 0 -90\n"
                                   "undo\n"
                                   "redo\n"
                                   "undo\n"
                                   "range 18 18 62 52\n"  // over the same range given anew
                                   "end\n"
                                   "point 0 -120\n"
                                   "redo\n");  // a new action forgot what could be redone
  const auto r = RunTool(folder,
                         "run " + Quote(kPlate) + " --script " + Quote(script) + " --out out.dxf" +
                             Settings(folder, "\"mIsSymmetry\"=\"1\"\n"),
                         "", folder.path().string());
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err,
            "twinfind: line 1: nothing to undo\n"
            "twinfind: line 4: undo waits until the command asks for a range, a part or typed "
            "input: this step is part of a result action (finish it first)\n"
            "twinfind: line 6: redo waits until the command asks for a range, a part or typed "
            "input: this step is part of a result action (finish it first)\n"
            "twinfind: line 14: nothing to redo\n"
            "twinfind: 4 of 14 lines were refused\n");
  EXPECT_NE(r.out.find("undone: the drawing is back as it was before the last result action (0 "
                       "to undo, 1 to redo); the command starts again over the same search range\n"
                       "cursor: 대상\n"
                       "prompt: 검색대상 범위지시(종료버튼:Dialog) :\n"
                       "selected 49 segments"),
            std::string::npos)
      << r.out;
  // The brackets are found again over the range given anew, all five of them.
  EXPECT_NE(r.out.find("info: 총 5개의 동일한 부품을 발견하였습니다.", r.out.rfind("undone:")),
            std::string::npos);
  EXPECT_NE(r.out.find("redone: the drawing has the result action again (1 to undo, 0 to redo)"),
            std::string::npos);
  EXPECT_NE(r.out.find("wrote out.dxf: 51 entities kept, 0 deleted, 0 changed, 16 added"),
            std::string::npos);
}

TEST(Undo, KeepsTheLastTwentyActions) {
  ScratchFolder folder;
  std::string script;
  for (int i = 0; i < 21; ++i) script += "start\n" + std::string(kBracketRow);
  for (int i = 0; i < 21; ++i) script += "undo\n";
  const auto r = RunTool(folder,
                         "run " + Quote(kPlate) + " --script " + Quote(folder.Write("s", script)) +
                             " --out out.dxf" + Settings(folder, "\"mIsSymmetry\"=\"1\"\n"),
                         "", folder.path().string());
  EXPECT_NE(r.out.find("(0 to undo, 20 to redo)"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("line 126: nothing to undo"), std::string::npos) << r.err;
  // The first row stays: it was the oldest, dropped when the twenty-first came.
  EXPECT_NE(r.out.find("wrote out.dxf: 51 entities kept, 0 deleted, 0 changed, 16 added"),
            std::string::npos);
}

}  // namespace
