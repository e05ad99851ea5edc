// twinfind on DXF drawings: the general and the balloon method end to end, the outputs read
// back by an independent reader, pictures at any step, bad input, and the demo.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::ScratchFolder;

const std::string kPlate = std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf";

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

// What ezdxf reads in a DXF file: one line per drawn piece (see tests/dxf/ezdxf_check.py).
std::string ReadWithEzdxf(const fs::path& file) {
  const std::string command = "/usr/bin/python3 " TWINFIND_EZDXF_CHECK " " + Quote(file) + " 2>&1";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

int CountLines(const std::string& text, const std::string& needle) {
  int count = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    count += line.find(needle) != std::string::npos;
  return count;
}

std::string Settings(const ScratchFolder& folder, const std::string& values) {
  const auto path = folder.Write("settings.reg",
                                 "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n" +
                                     values);
  return " --settings " + Quote(path);
}

TEST(DrawingRun, TheGeneralMethodOnThePlateWithPicturesAtEachConfirmation) {
  ScratchFolder folder;
  const auto input = folder.path() / "plate.dxf";
  fs::copy_file(kPlate, input);
  const std::string before = ReadFile(input);
  const auto script = folder.Write("run.script",
                                   "range -20 -20 440 280\n"
                                   "range 18 18 62 52\n"
                                   "snapshot " +
                                       (folder.path() / "found.png").string() +
                                       "\n"
                                       "end\n"
                                       "point 0 -90\n"
                                       "range 28 178 68 218\n"
                                       "end\n");
  const auto r = RunTool(
      folder, "run " + Quote(input) + " --script " + Quote(script) + " --out " +
                  Quote(folder.path() / "out.dxf") + " --svg " + Quote(folder.path() / "out.svg") +
                  " --svg-at-confirm " + Quote(folder.path() / "confirm.svg") +
                  Settings(folder, "\"mIsSymmetry\"=\"1\"\n\"mIsLayer\"=\"1\"\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("info: 총 5개의 동일한 부품을 발견하였습니다."), std::string::npos);
  EXPECT_NE(r.out.find("info: 총 3개의 동일한 부품을 발견하였습니다."), std::string::npos);
  EXPECT_TRUE(fs::exists(folder.path() / "confirm.svg"));
  EXPECT_TRUE(fs::exists(folder.path() / "confirm-2.svg"));
  EXPECT_TRUE(fs::exists(folder.path() / "found.png"));
  EXPECT_EQ(ReadFile(input), before);  // the input is never written over
  // The output holds the plate's pieces and the two rows of copies: 5 brackets (an outline of 6
  // lines and an arc, 2 holes), 3 flanges (an outline of 8 lines, 5 holes) and a frame of 4
  // lines round the mirror image.
  const std::string in = ReadWithEzdxf(input), out = ReadWithEzdxf(folder.path() / "out.dxf");
  ASSERT_EQ(out.rfind("audit 0 0", 0), 0u) << out.substr(0, 200);
  EXPECT_EQ(CountLines(out, " CIRCLE ") - CountLines(in, " CIRCLE "), 5 * 2 + 3 * 5);
  EXPECT_EQ(CountLines(out, " LINE ") - CountLines(in, " LINE "), 5 * 6 + 3 * 8 + 4);
  EXPECT_EQ(CountLines(out, " ARC ") - CountLines(in, " ARC "), 5);
}

TEST(DrawingRun, TheBalloonMethodLabelsAndAdvancesThePartNumber) {
  ScratchFolder folder;
  const auto script = folder.Write("run.script",
                                   "range -5 -5 425 265\n"
                                   "key SS400\n"
                                   "key A-009\n"
                                   "key 12\n"
                                   "range 28 178 68 218\n"
                                   "end\n"
                                   "point 0 -280\n");
  const std::string settings =
      Settings(folder, "\"mMethod\"=\"1\"\n\"mIsLayer\"=\"1\"\n\"mBalloonSize\"=\"16\"\n");
  const auto out = folder.path() / "out.dxf";
  const auto r = RunTool(folder, "run " + Quote(kPlate) + " --script " + Quote(script) + " --out " +
                                     Quote(out) + settings);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string dxf = ReadWithEzdxf(out);
  ASSERT_EQ(dxf.rfind("audit 0 0", 0), 0u) << dxf.substr(0, 200);
  // Three balloons on the flanges and three on their copies, each with its three rows.
  EXPECT_EQ(CountLines(dxf, "| SS400"), 6);
  EXPECT_EQ(CountLines(dxf, " CIRCLE 801 "), 6);  // their circles, on the balloon layer
  // The texts beside the row, and the part number in the balloons.
  EXPECT_EQ(CountLines(dxf, "| T12"), 1);
  EXPECT_EQ(CountLines(dxf, "| 3EA"), 1);
  EXPECT_EQ(CountLines(dxf, "| A-009"), 6 + 1);
  EXPECT_NE(ReadFile(folder.path() / "settings.reg").find("\"mBalloonStr\"=\"A-010\""),
            std::string::npos);
}

// A drawing nobody here wrote: an architectural plan with ten chairs inserted from one block.
// Counted independently with ezdxf (INSERT entities named SOFA, with their rotation and
// scale): 2 as drawn (rotation 0 or 360, scale 1), 3 turned (rotation 90, scale 1) and 5
// mirror images (rotation 180, x scale -1). The part is the first chair.
TEST(DrawingRun, TheChairsOfARealPlanAreFoundAsTheirInsertsSay) {
  const std::string plan =
      std::string(TWINFIND_SAMPLES_DIR) + "/real/Ceco.NET-Architecture-Tm-53.dxf";
  struct Case {
    const char* settings;
    int expected;
  };
  const Case cases[] = {{"\"mIsRotate\"=\"0\"\n\"mIsSymmetry\"=\"0\"\n", 2},
                        {"\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"0\"\n", 2 + 3},
                        {"\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n", 2 + 3 + 5}};
  for (const Case& c : cases) {
    ScratchFolder folder;
    const auto script = folder.Write("run.script",
                                     "range -1 -1 45 35\n"
                                     "range 17.2 12.6 18.1 13.5\n"
                                     "end\n");
    const auto r =
        RunTool(folder, "run " + Quote(plan) + " --script " + Quote(script) +
                            Settings(folder, std::string(c.settings) + "\"mIsArrange\"=\"0\"\n"));
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string found =
        "info: 총 " + std::to_string(c.expected) + "개의 동일한 부품을 발견하였습니다.";
    EXPECT_NE(r.out.find(found), std::string::npos) << c.settings << r.out;
    // The plan's hatches and dimensions are not held, and said so.
    EXPECT_NE(r.out.find("warning: 8 HATCH entities not imported"), std::string::npos);
  }
}

TEST(DrawingRun, BadDrawingsGiveAClearMessageAndWriteNothing) {
  ScratchFolder folder;
  const std::string plate = ReadFile(kPlate);
  const auto truncated = folder.Write("truncated.dxf", plate.substr(0, plate.size() / 3));
  const auto binary = folder.Write("binary.dxf", std::string("\x00\x01\xff\xfe PK\x03\x04", 10));
  const auto empty = folder.Write("empty.dxf", "");
  for (const auto& bad : {truncated, binary, empty, folder.path() / "missing.dxf"}) {
    const auto out = folder.path() / "out.dxf";
    const auto r = RunTool(folder, "run " + Quote(bad) + " --out " + Quote(out), "end\n");
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("twinfind: cannot read the drawing"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
  }
}

TEST(DrawingRun, TheInputDrawingIsNeverAnOutput) {
  ScratchFolder folder;
  const auto input = folder.path() / "plate.dxf";
  fs::copy_file(kPlate, input);
  const std::string before = ReadFile(input);
  const auto r = RunTool(folder, "run " + Quote(input) + " --out " + Quote(input), "end\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("never written over"), std::string::npos);
  EXPECT_EQ(ReadFile(input), before);
  const auto nowhere = RunTool(folder, "run --svg " + Quote(folder.path() / "no/such/p.svg"));
  EXPECT_EQ(nowhere.status, 2);
  EXPECT_NE(nowhere.err.find("does not exist"), std::string::npos);
}

TEST(DrawingRun, ASnapshotThatCannotBeWrittenIsAnsweredAndTheRunGoesOn) {
  ScratchFolder folder;
  const auto r = RunTool(folder, "run --settings " + Quote(folder.path() / "s.reg"),
                         "snapshot /no/such/folder/p.svg\nsnapshot\nend\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("twinfind: line 1: "), std::string::npos);
  EXPECT_NE(r.err.find("twinfind: line 2: snapshot needs a file name"), std::string::npos);
}

TEST(DrawingRun, TheDemoWritesItsDrawingAndPictures) {
  ScratchFolder folder;
  const auto r = RunTool(folder, "demo --out " + Quote(folder.path() / "demo"));
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* file : {"demo.dxf", "demo.svg", "demo.png"}) {
    EXPECT_GT(fs::file_size(folder.path() / "demo" / file), 1000u) << file;
  }
  EXPECT_NE(r.out.find("info: 총 3개의 동일한 부품을 발견하였습니다.(S02)"), std::string::npos);
  const std::string dxf = ReadWithEzdxf(folder.path() / "demo" / "demo.dxf");
  EXPECT_EQ(dxf.rfind("audit 0 0", 0), 0u);
  EXPECT_EQ(CountLines(dxf, "| A-009"), 7);
}

}  // namespace
