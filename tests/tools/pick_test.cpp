// "pick X Y" lines of a run, the click of the view: at the part prompt the part under the point
// (its touching group with what lies inside its outline) is indicated by the window around it,
// with the same selection and count as that window dragged; at the search range's prompt, far
// from any figure, and on a hidden layer's figure nothing is taken, and the line says why.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

namespace {

using tooltest::Quote;
using tooltest::RunTool;
using tooltest::ScratchFolder;

const std::string kPlate = std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf";
const std::string kPlan =
    std::string(TWINFIND_SAMPLES_DIR) + "/real/Ceco.NET-Architecture-Tm-53.dxf";

std::string Settings(const ScratchFolder& folder, const std::string& values) {
  const auto path = folder.Write("settings.reg",
                                 "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n" +
                                     values);
  return " --settings " + Quote(path);
}

// The lines a run prints after its last range was handed over: the selection and the count.
std::string Found(const std::string& out) {
  const size_t at = out.rfind("selected ");
  if (at == std::string::npos) return "";
  const size_t info = out.find("info: ", at);
  return out.substr(at, out.find('\n', at) - at) + " | " +
         (info == std::string::npos ? "" : out.substr(info, out.find('\n', info) - info));
}

TEST(Pick, AClickTakesThePartUnderItAsTheDraggedWindowWould) {
  struct Case {
    const char* what;
    const std::string& drawing;
    const char* settings;
    const char* range;
    const char* pick;     // a point on one of the part's figures, or inside its outline
    const char* dragged;  // the window a user drags around that part
    const char* found;    // the selection and count both give
  };
  const Case cases[] = {
      {"the bracket's outline: the bracket with its holes", kPlate, "\"mIsSymmetry\"=\"1\"\n",
       "range -20 -20 440 280", "pick 40 20.05", "range 18 18 62 52",
       "selected 3 segments: 2 circles, 1 polyline of 7 figures | info: 총 5개의 동일한 부품을 "
       "발견하였습니다."},
      {"a hole of the bracket: that hole alone", kPlate, "", "range -20 -20 440 280",
       "pick 48 27.4", "range 45 22 51 28",
       "selected 1 segment: 1 circle | info: 총 12개의 동일한 부품을 발견하였습니다."},
      {"inside that hole, far from its edge: the hole whose outline holds the click", kPlate, "",
       "range -20 -20 440 280", "pick 48 25", "range 45 22 51 28",
       "selected 1 segment: 1 circle | info: 총 12개의 동일한 부품을 발견하였습니다."},
      {"on the plate, far from every line: the plate, the innermost outline around it", kPlate, "",
       "range -20 -20 440 280", "pick 200 140", "range -1 -1 421 261",
       "info: 총 1개의 동일한 부품을 발견하였습니다."},
      {"the plan's chair, turned and mirrored twins", kPlan,
       "\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n\"mIsArrange\"=\"0\"\n", "range -1 -1 45 35",
       "pick 17.3 13.3", "range 17.2 12.6 18.1 13.5",
       "info: 총 10개의 동일한 부품을 발견하였습니다."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string found[2];
    for (int i = 0; i < 2; ++i) {
      ScratchFolder folder;
      const auto script = folder.Write(
          "run.script", std::string(c.range) + "\n" + (i == 0 ? c.pick : c.dragged) + "\n");
      const auto r = RunTool(folder, "run " + Quote(c.drawing) + " --script " + Quote(script) +
                                         Settings(folder, c.settings));
      EXPECT_EQ(r.status, 0) << r.err;
      if (i == 0) {
        EXPECT_NE(r.out.find("picked: the part of "), std::string::npos) << r.out;
      }
      found[i] = Found(r.out);
    }
    EXPECT_NE(found[0].find(c.found), std::string::npos) << found[0];
    EXPECT_EQ(found[0], found[1]);
  }
}

TEST(Pick, TakesNothingWhereAClickIndicatesNoPartAndSaysWhy) {
  ScratchFolder folder;
  const auto script = folder.Write("run.script",
                                   "pick 40 20.05\n"  // the search range's prompt
                                   "range -20 -20 440 280\n"
                                   "pick -15 -15\n"   // outside the plate, far from lines
                                   "pick 40 20 -1\n"  // no reach
                                   "pick 40\n"
                                   "pick 40 20.05\n"    // the bracket, found
                                   "pick 40 20.05\n");  // the twins blink: no part step
  const auto r =
      RunTool(folder, "run " + Quote(kPlate) + " --script " + Quote(script) + Settings(folder, ""));
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err,
            "twinfind: line 1: the search range is a window: drag it (range X1 Y1 X2 Y2); a "
            "click picks a part at the part prompt\n"
            "twinfind: line 3: no figure within 2.2 of -15 -15, and no closed outline around "
            "it\n"
            "twinfind: line 4: the reach of a pick is a number above 0\n"
            "twinfind: line 5: pick needs two numbers, X Y, and the reach if you like\n"
            "twinfind: line 7: this step does not take a part\n"
            "twinfind: 5 of 7 lines were refused\n");
}

}  // namespace
