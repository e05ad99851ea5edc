// "layer" lines of a run: the layers listed with their state, one switched on or off. A layer
// off (in the file, or by a line) is neither selected by a window nor searched; switched on,
// its figures are selected and found as twins. Saving keeps each layer as the file had it.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

namespace {

using tooltest::Quote;
using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::ScratchFolder;

const std::string kPlate = std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf";
// The demo plate's SPARE layer (number 4) holds the fourth flange; its colour in the table.
const std::string kSpareOn = "SPARE\n 70\n0\n 62\n3\n";
const std::string kSpareOff = "SPARE\n 70\n0\n 62\n-3\n";

// The demo plate with its SPARE layer off, as a user's file may have it.
std::string PlateWithSpareOff(const ScratchFolder& folder) {
  std::string text = ReadFile(kPlate);
  const size_t at = text.find(kSpareOn);
  if (at == std::string::npos) return "";
  text.replace(at, kSpareOn.size(), kSpareOff);
  return folder.Write("plate.dxf", text).string();
}

// The lines from the last "selected" on: what the last window took and what was found.
std::string LastSelection(const std::string& out) {
  const size_t at = out.rfind("selected ");
  return at == std::string::npos ? "" : out.substr(at);
}

TEST(Layers, ALayerOffIsNeitherSelectedNorSearchedAndALayerOnIsBoth) {
  const char* kWhole = "range -20 -20 440 280\n";
  const char* kFlange = "range 25 175 71 221\n";
  struct Case {
    const char* what;
    bool spareOffInFile;
    const char* lines;  // before the search range
    const char* selected;
    const char* found;
  };
  const Case cases[] = {
      {"off in the file", true, "", "selected 43 segments", "총 3개의 동일한"},
      {"off in the file, switched on", true, "layer 4 on\n", "selected 49 segments",
       "총 4개의 동일한"},
      {"on in the file", false, "", "selected 49 segments", "총 4개의 동일한"},
      {"on in the file, switched off", false, "layer 4 off\n", "selected 43 segments",
       "총 3개의 동일한"},
      {"switched off and on again", false, "layer 4 off\nlayer 4 on\n", "selected 49 segments",
       "총 4개의 동일한"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const std::string drawing = c.spareOffInFile ? PlateWithSpareOff(folder) : kPlate;
    ASSERT_FALSE(drawing.empty());
    const auto r =
        RunTool(folder, "run " + Quote(drawing) + " --settings " + Quote(folder.path() / "s.reg"),
                std::string(c.lines) + kWhole + kFlange);
    EXPECT_EQ(r.status, 0) << r.err;
    const size_t range = r.out.find("selected ");
    ASSERT_NE(range, std::string::npos) << r.out;
    EXPECT_EQ(r.out.compare(range, std::string(c.selected).size(), c.selected), 0) << r.out;
    EXPECT_NE(LastSelection(r.out).find(c.found), std::string::npos) << r.out;
  }
}

TEST(Layers, ListsTheLayersAndRefusesWhatNamesNone) {
  ScratchFolder folder;
  const auto r = RunTool(
      folder,
      "run " + Quote(PlateWithSpareOff(folder)) + " --settings " + Quote(folder.path() / "s.reg"),
      "layer\nlayer 4 on\nlayer 9 off\nlayer 4\nlayer four off\nlayer 4 off "
      "now\nlayer 4 of\nlayer 4 off\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.out.find("layers: 0 on (0 segments), 1 Defpoints on (0 segments), 2 PLATE on (5 "
                       "segments), 3 PARTS on (36 segments), 4 SPARE off (6 segments), 5 CENTER "
                       "on (2 segments), 6 NOTES on (2 segments)\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("layer: 4 SPARE on: its 6 segments drawn and selected\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("layer: 4 SPARE off: its 6 segments neither drawn nor selected\n"),
            std::string::npos)
      << r.out;
  const std::string needs = "layer needs a layer number and on or off (layer alone lists them)\n";
  EXPECT_EQ(r.err,
            "twinfind: line 3: the drawing has no layer 9 (layer alone lists them)\n"
            "twinfind: line 4: " +
                needs + "twinfind: line 5: " + needs + "twinfind: line 6: " + needs +
                "twinfind: line 7: " + needs + "twinfind: 5 of 8 lines were refused\n");
}

TEST(Layers, SavingKeepsEachLayerAsTheFileHadIt) {
  // SPARE off in the file and shown by the user, PARTS on in the file and hidden: the saved
  // file has SPARE off and PARTS on, and holds the copies the command made meanwhile.
  ScratchFolder folder;
  const auto saved = folder.path() / "saved.dxf";
  const auto r = RunTool(folder,
                         "run " + Quote(PlateWithSpareOff(folder)) + " --out " + Quote(saved) +
                             " --settings " + Quote(folder.path() / "s.reg"),
                         "layer 4 on\nrange -20 -20 440 280\nrange 25 175 71 221\nend\n"
                         "point 0 -60\nlayer 3 off\n");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string text = ReadFile(saved);
  EXPECT_NE(text.find(kSpareOff), std::string::npos);
  EXPECT_NE(text.find("PARTS\n 70\n0\n 62\n7\n"), std::string::npos);
  EXPECT_NE(r.out.find("wrote " + saved.string() + ": "), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find(" 0 added"), std::string::npos) << r.out;
}

}  // namespace
