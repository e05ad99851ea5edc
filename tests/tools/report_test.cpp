// The report of a run: every search, its part, its settings and its twins with their turn,
// mirroring and fate, and the balloon method's parts list, checked against the drawings as an
// independent reader (ezdxf) sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using tooltest::Quote;
using tooltest::ReadFile;
using tooltest::RunTool;
using tooltest::ScratchFolder;
using tooltest::Shell;

const std::string kSamples = TWINFIND_SAMPLES_DIR;
const std::string kPlan = kSamples + "/real/Ceco.NET-Architecture-Tm-53.dxf";

// What tests/tools/report_check.py prints.
std::string Check(const std::string& arguments) {
  const std::string command = "/usr/bin/python3 " TWINFIND_REPORT_CHECK " " + arguments + " 2>&1";
  return Shell(command);
}

std::string LastLine(const std::string& text) {
  const size_t end = text.find_last_not_of('\n');
  if (end == std::string::npos) return "";
  const size_t start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1,
                     end - (start == std::string::npos ? 0 : start + 1) + 1);
}

std::string Settings(const ScratchFolder& folder, const std::string& values) {
  const auto path = folder.Write("settings.reg",
                                 "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n" +
                                     values);
  return " --settings " + Quote(path);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The plan's ten sofas are INSERTs of one block: 2 as drawn, 3 turned by 90 degrees, 5 mirrored
// (x scale -1) and turned by 180. Whichever is the part, each twin's turn and mirroring must be
// what the INSERTs give relative to the part's INSERT.
TEST(Report, TheSofasOfARealPlanWithTheirTurnsMirroringAndFate) {
  struct Case {
    const char* what;
    const char* part;      // the part's window
    const char* settings;  // what the result action does
    const char* actions;   // after the confirmation
    const char* summary;   // report_check.py's last line
    const char* fate;      // every twin's action
    bool copies;
  };
  const Case cases[] = {
      {"a sofa as drawn, recoloured and laid out", "17.2 12.6 18.1 13.5",
       "\"mFigure\"=\"2\"\n\"mIsArrange\"=\"1\"\n", "end\npoint 0 -20\n",
       "twins 10 angles 0x2 90x3 180x5 mirrored 5 mismatches 0", "recoloured", true},
      {"a turned sofa, deleted", "14.7 13.55 15.55 14.45",
       "\"mFigure\"=\"1\"\n\"mIsArrange\"=\"0\"\n", "end\n",
       "twins 10 angles 0x3 270x7 mirrored 5 mismatches 0", "deleted", false},
      // Deleted after their row was laid out: each still lists its copy.
      {"a turned sofa, deleted and laid out", "14.7 13.55 15.55 14.45",
       "\"mFigure\"=\"1\"\n\"mIsArrange\"=\"1\"\n", "end\npoint 0 -20\n",
       "twins 10 angles 0x3 270x7 mirrored 5 mismatches 0", "deleted", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const auto json = folder.path() / "report.json";
    const auto csv = folder.path() / "report.csv";
    const std::string script = std::string("range -1 -1 45 35\nrange ") + c.part + "\n" + c.actions;
    const std::string settings =
        Settings(folder, std::string("\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n") + c.settings);
    auto r = RunTool(folder, "run " + Quote(kPlan) + " --report " + Quote(json) + settings, script);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("wrote " + json.string() + "\n"), std::string::npos);
    const std::string check = Check("inserts " + Quote(json) + " " + Quote(kPlan) + " SOFA");
    // Every twin names the INSERT it came from.
    EXPECT_EQ(LastLine(check), std::string(c.summary) + " handles 10") << check;
    const std::string report = ReadFile(json);
    EXPECT_EQ(report.rfind("{\n  \"version\": 1,\n", 0), 0u);
    size_t fates = 0;
    for (size_t at = report.find(std::string("\"action\": \"") + c.fate + "\"");
         at != std::string::npos;
         at = report.find(std::string("\"action\": \"") + c.fate + "\"", at + 1)) {
      ++fates;
    }
    EXPECT_EQ(fates, 10u);
    EXPECT_EQ(report.find("\"copy\": null") == std::string::npos, c.copies);
    EXPECT_NE(report.find("\"mIsSymmetry\": \"1\""), std::string::npos);
    EXPECT_NE(report.find("\"unmatched\": []"), std::string::npos);

    // The same run as CSV: a header and one row per twin.
    r = RunTool(folder, "run " + Quote(kPlan) + " --report " + Quote(csv) + settings, script);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = Lines(ReadFile(csv));
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[0].rfind("search,method,rotate,mirror,same_layer,same_colour,tolerance,twin,"
                            "is_part,segments,handles,",
                            0),
              0u);
    EXPECT_EQ(std::count_if(rows.begin() + 1, rows.end(),
                            [&](const std::string& row) {
                              return row.rfind("1,general,1,1,0,0,0.000001,", 0) == 0 &&
                                     row.find(std::string(",") + c.fate + ",") != std::string::npos;
                            }),
              10);
  }
}

// Two parts labelled on the demo plate, the second keeping the material and taking the advanced
// part number with the end button: the report's parts list is the bill of materials that the
// balloons of the saved drawing show.
TEST(Report, TheBalloonMethodsPartsListIsWhatTheBalloonsShow) {
  ScratchFolder folder;
  const auto json = folder.path() / "report.json";
  const auto out = folder.path() / "out.dxf";
  const auto r =
      RunTool(folder,
              "run " + Quote(kSamples + "/demo-plate.dxf") + " --report " + Quote(json) +
                  " --out " + Quote(out) +
                  Settings(folder,
                           "\"mMethod\"=\"1\"\n\"mIsLayer\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n"
                           "\"mBalloonSize\"=\"16\"\n"),
              "range -5 -5 425 265\nkey SS400\nkey A-009\nkey 12\nrange 28 178 68 218\nend\n"
              "point 0 -280\n"
              "end\nend\nkey 8\nrange 18 18 62 52\nend\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string report = ReadFile(json);
  // 3 flanges; 5 brackets, one of them mirrored.
  EXPECT_NE(report.find("  \"partsList\": [\n"
                        "    {\"search\": 1, \"partNumber\": \"A-009\", \"material\": \"SS400\", "
                        "\"depth\": \"12\", \"count\": 3, \"mirroredCount\": 0},\n"
                        "    {\"search\": 2, \"partNumber\": \"A-010\", \"material\": \"SS400\", "
                        "\"depth\": \"8\", \"count\": 5, \"mirroredCount\": 1}\n  ]\n}\n"),
            std::string::npos)
      << report;
  const std::string check = Check("balloons " + Quote(json) + " " + Quote(out));
  const std::string summary = LastLine(check);
  EXPECT_EQ(summary.rfind("entries 2 balloons ", 0), 0u) << check;
  EXPECT_EQ(summary.substr(summary.size() - 22), " unmatched 0 missing 0") << check;
  EXPECT_NE(report.find("\"balloons\": [[\"SS400\", \"A-010\", \"5\"]"), std::string::npos);
}

}  // namespace
