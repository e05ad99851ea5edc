// Twins in drawings exported by other programs, found by the tool as a user runs it: outlines
// that pass a point twice, twins of many loose lines, symbols whose lines run the other way, and
// coordinates rounded by the exporter. How many twins each case holds was counted with ezdxf
// and geometry of its own by tests/dxf/twin_expectations.py.
#include <gtest/gtest.h>

#include <regex>

#include "tool_run.h"

namespace {

using tooltest::RunTool;
using tooltest::ScratchFolder;

struct Case {
  const char* what;
  const char* drawing;   // in samples/real
  const char* settings;  // .reg lines beyond the defaults
  const char* range;     // the search range
  const char* part;      // the part's window
  int atLeast, atMost;   // how many twins the search must report
};

// The count the search reported: "총 N개의 ..." or none found.
int FoundCount(const std::string& out) {
  std::smatch m;
  if (std::regex_search(out, m, std::regex("info: 총 ([0-9]+)개의 동일한 부품을 발견하였습니다"))) {
    return std::stoi(m[1]);
  }
  return out.find("box: 동일한 부품이 없습니다.") != std::string::npos ? 0 : -1;
}

TEST(RealTwins, TheSearchFindsWhatAnIndependentCountFinds) {
  const char* kRotate = "\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"0\"\n";
  const char* kRounded = "\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"0\"\n\"mTolerance\"=\"0.001\"\n";
  const Case cases[] = {
      // Pattern pieces whose outlines visit points twice: the piece of 26 spans and its turned
      // twin; the piece of 58 spans, which has none, finds itself.
      {"pieces of 26 spans", "JR-3099-V2-LTCSL-4X-S.DXF", kRotate, "-1 -1 80 60",
       "24.516 2.655 29.378 5.331", 2, 2},
      {"a piece of 58 spans", "JR-3099-V2-LTCSL-4X-S.DXF", kRotate, "-1 -1 80 60",
       "24.8 30.1 34.2 43.0", 1, 1},
      // Key cut-outs of 75 loose lines: all nine, with the tolerance and without (the exporter's
      // rounding lies within the coordinates' own tolerance, whichever line anchors the part).
      {"key cut-outs, rounded", "crkbd-Edge.Cuts.dxf", kRounded, "55 -160 200 -55",
       "68.165 -111.985 71.835 -107.315", 9, 9},
      {"key cut-outs, exact", "crkbd-Edge.Cuts.dxf", kRotate, "55 -160 200 -55",
       "68.165 -111.985 71.835 -107.315", 9, 9},
      // Pads whose sides the exporter rounded to four decimals.
      {"pads, rounded", "crkbd-F.Cu.dxf", kRounded, "128 -108 162 -60",
       "140.27 -68.6927 141.29 -67.6573", 11, 11},
      {"pads, exact", "crkbd-F.Cu.dxf", kRotate, "128 -108 162 -60",
       "140.27 -68.6927 141.29 -67.6573", 11, 11},
      // (The fastener symbols of api-cw750-details lie on layers that are off in the file: a
      // window selects none of them, as none is drawn.)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const auto settings = folder.Write(
        "s.reg",
        std::string(
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n\"mIsArrange\"=\"0\"\n") +
            c.settings);
    const auto script = folder.Write(
        "run.script", std::string("range ") + c.range + "\nrange " + c.part + "\nend\nend\n");
    const auto r = RunTool(folder, std::string("run '") + TWINFIND_SAMPLES_DIR + "/real/" +
                                       c.drawing + "' --script '" + script.string() +
                                       "' --settings '" + settings.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const int found = FoundCount(r.out);
    EXPECT_GE(found, c.atLeast) << r.out;
    EXPECT_LE(found, c.atMost) << r.out;
  }
}

}  // namespace
