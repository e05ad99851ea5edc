// Input made to break the importer, or broken by accident: numbers that are no numbers, entities
// without their points, files cut short, blocks that multiply into billions, texts placed beyond
// the drawing's reach, drawings too large for the memory. Each ends in a message, and what is
// imported stays whole: no segment at the origin, no empty segment, a save that still works.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dxf/dxf_import.h"
#include "dxf/dxf_save.h"
#include "dxf/memory_limit.h"
#include "dxf_test_util.h"

namespace {

using dxftest::File;
using dxftest::Groups;
using twinfind::dxf::ImportDxfText;
using twinfind::dxf::ImportOptions;

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::filesystem::path kRegressions = TWINFIND_FUZZ_REGRESSIONS;

// Saving the drawing unchanged gives the file back byte for byte: what the import kept of the
// file (its entities and the segments they became) agrees with the drawing.
void ExpectSavedUnchanged(const vexhost::Drawing& d, const twinfind::dxf::ImportResult& result,
                          const std::string& text) {
  ASSERT_TRUE(result.source);
  twinfind::dxf::SaveCounts counts;
  EXPECT_EQ(twinfind::dxf::SavedDxfText(d, *result.source, counts), text);
}

std::string LineWith(const std::vector<std::pair<int, std::string>>& points) {
  std::vector<std::pair<int, std::string>> groups = {{0, "LINE"}, {8, "0"}};
  groups.insert(groups.end(), points.begin(), points.end());
  return Groups(groups);
}

TEST(HostileInputTest, NumberTextThatIsNoNumberAndMissingPointsLeaveTheEntityOut) {
  const std::string good = LineWith({{10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}});
  std::string entities = good;
  // Where a coordinate belongs: text that reads as no number.
  for (const char* x : {"nan", "inf", "-infinity", "abc", "", "0x10", "1.5mm", "1e", "--1"}) {
    entities += LineWith({{10, x}, {20, "0"}, {11, "1"}, {21, "1"}});
  }
  entities += LineWith({}) + LineWith({{10, "5"}, {20, "5"}}) +  // no points, no second point
              Groups({{0, "CIRCLE"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "abc"}}) +
              Groups({{0, "ARC"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "0"}}) +
              Groups({{0, "POINT"}, {8, "0"}, {10, "0"}}) +
              Groups({{0, "LWPOLYLINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {10, "nan"}, {20, "1"}}) +
              Groups({{0, "LWPOLYLINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {10, "1"}}) +
              Groups({{0, "POLYLINE"}, {8, "0"}, {66, "1"}}) +
              Groups({{0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}}) +
              Groups({{0, "VERTEX"}, {8, "0"}, {10, "1"}, {20, "inf"}}) +
              Groups({{0, "SEQEND"}, {8, "0"}}) +
              Groups({{0, "TEXT"}, {8, "0"}, {10, "abc"}, {20, "0"}, {40, "1"}, {1, "a"}}) +
              Groups({{0, "MTEXT"}, {8, "0"}, {10, "0"}, {40, "1"}, {1, "b"}}) +
              Groups({{0, "INSERT"}, {8, "0"}, {10, "0"}, {20, "0"}}) +  // no block name
              Groups({{0, "INSERT"}, {8, "0"}, {2, "B"}, {10, "0"}, {20, "0"}, {41, "x"}});
  // Numbers as writers put them: signs, spaces, a decimal comma, exponents.
  entities += LineWith({{10, "+1"}, {20, " 2 "}, {11, "3,5"}, {21, ".5e1"}});
  const std::string text = File(entities, dxftest::Block("B", dxftest::Line(0, 0, 1, 1)));
  vexhost::Drawing d;
  const auto result = ImportDxfText(text, d);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.segments, 2);
  const auto ids = d.SegmentIds();
  EXPECT_EQ(dxftest::FiguresOf(d, ids[0])[0].u.line.x2, 3);
  const FigureLine written = dxftest::FiguresOf(d, ids[1])[0].u.line;
  EXPECT_EQ(std::vector<double>({written.x1, written.y1, written.x2, written.y2}),
            std::vector<double>({1, 2, 3.5, 5}));
  const std::string noNumber = "text where a number belongs", missing = "a required group missing";
  EXPECT_EQ(result.notHeld, (std::map<std::string, int>{{"ARC (" + missing + ")", 1},
                                                        {"CIRCLE (" + noNumber + ")", 1},
                                                        {"INSERT (" + missing + ")", 1},
                                                        {"INSERT (" + noNumber + ")", 1},
                                                        {"LINE (" + missing + ")", 2},
                                                        {"LINE (" + noNumber + ")", 9},
                                                        {"LWPOLYLINE (" + missing + ")", 1},
                                                        {"LWPOLYLINE (" + noNumber + ")", 1},
                                                        {"MTEXT (" + missing + ")", 1},
                                                        {"POINT (" + missing + ")", 1},
                                                        {"POLYLINE (" + noNumber + ")", 1},
                                                        {"TEXT (" + noNumber + ")", 1}}));
  const auto warnings = result.WarningLines();
  EXPECT_NE(std::find(warnings.begin(), warnings.end(),
                      "warning: 9 LINE entities not imported: text where a number belongs"),
            warnings.end());
  ExpectSavedUnchanged(d, result, text);
}

TEST(HostileInputTest, AFileWithoutItsEndMarkerIsWarnedOfOrRefusedWhenNothingCame) {
  const std::string whole = File(dxftest::Line(0, 0, 1, 1));
  const std::string withoutEnd = whole.substr(0, whole.size() - std::string("0\nEOF\n").size());
  const std::string headerOnly = Groups({{0, "SECTION"}, {2, "HEADER"}, {0, "ENDSEC"}});
  struct Case {
    std::string name;
    std::string text;
    bool ok;
    std::string message;  // in the error, or in the first warning
    int segments;
  };
  const std::vector<Case> cases = {
      {"a real drawing cut after its TABLES section",
       ReadBytes(kRegressions / "crkbd-cut-after-its-tables-section.dxf"), false,
       "the file is cut short: it ends at line 500 after its TABLES section, with no entities "
       "and no end marker (0 EOF)",
       0},
      {"a header alone", headerOnly, false, "after its HEADER section, with no entities", 0},
      {"a whole drawing but its end marker", withoutEnd, true,
       "warning: the file ends at line 50 without its end marker (0 EOF): it may have been cut "
       "short",
       1},
      {"an empty drawing with its end marker", headerOnly + Groups({{0, "EOF"}}), true, "", 0},
      {"a whole drawing", whole, true, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vexhost::Drawing d;
    const auto result = ImportDxfText(c.text, d);
    EXPECT_EQ(result.ok, c.ok) << result.error;
    EXPECT_EQ(result.segments, c.segments);
    EXPECT_EQ(d.SegmentCount(), static_cast<size_t>(c.segments));
    const auto warnings = result.WarningLines();
    if (!c.ok) {
      EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
    } else if (c.message.empty()) {
      EXPECT_TRUE(warnings.empty());
    } else {
      ASSERT_FALSE(warnings.empty());
      EXPECT_EQ(warnings.front(), c.message);
    }
  }
}

std::string Reference(const std::string& block, double x = 0, int columns = 0, double scale = 1) {
  std::vector<std::pair<int, std::string>> groups = {{0, "INSERT"},
                                                     {8, "0"},
                                                     {2, block},
                                                     {10, std::to_string(x)},
                                                     {20, "0"},
                                                     {41, std::to_string(scale)},
                                                     {42, std::to_string(scale)}};
  if (columns > 0) {
    for (const auto& g : std::vector<std::pair<int, std::string>>{
             {70, std::to_string(columns)}, {71, "1"}, {44, "1e14"}, {45, "1"}}) {
      groups.push_back(g);
    }
  }
  return Groups(groups);
}

std::string Lines(int n) {
  std::string lines;
  for (int i = 0; i < n; ++i) lines += dxftest::Line(i, 0, i, 1);
  return lines;
}

TEST(HostileInputTest, BlocksAreWeighedByWhatTheyWouldPlaceAndLeftOutWholeWithTheirName) {
  struct Case {
    std::string name;
    std::string text;
    ImportOptions options;
    int segments;
    std::map<std::string, int> notHeld;
  };
  ImportOptions small;
  small.blockWeightLimit = 25;
  // A holds an array of C (ten lines each) and B; B holds A: referenced from model space, A is
  // weighed with all it holds, and B, weighed without the A it holds (B holds itself there), is
  // stopped as it is flattened.
  const std::string cyclic = dxftest::Block("C", Lines(10)) +
                             dxftest::Block("A", Reference("C", 0, 3) + Reference("B")) +
                             dxftest::Block("B", Lines(1) + Reference("A"));
  const std::vector<Case> cases = {
      {"doubling nested blocks",
       ReadBytes(kRegressions / "doubling-nested-blocks-31-levels.dxf"),
       {},
       0,
       {{"INSERT (block D0 would place 2300875337 figures and texts, the work of 21935011545 "
         "figures (16 per text and 1 per character), more than the 2000000 an import places "
         "from blocks)",
         1}}},
      {"arrays of arrays",
       ReadBytes(kRegressions / "minsert-array-of-arrays.dxf"),
       {},
       0,
       {{"INSERT (block C would place 1458000000000000 figures and texts, the work of "
         "13122000000000000 figures (16 per text and 1 per character), more than the 2000000 "
         "an import places from blocks)",
         1},
        {"INSERT (block C would place 64800000000 figures and texts, the work of 583200000000 "
         "figures (16 per text and 1 per character), more than the 2000000 an import places "
         "from blocks)",
         1}}},
      {"doubling blocks of texts within the limit: 70,228 texts in one segment",
       ReadBytes(kRegressions / "doubling-blocks-of-texts.dxf"),
       {},
       1,
       {{"INSERT (block holds itself)", 65536}, {"INSERT (block not defined)", 65536}}},
      {"references that together pass the limit",
       File(Reference("TEN") + Reference("TEN", 50) + Reference("TEN", 100),
            dxftest::Block("TEN", Lines(10))),
       small,
       2,
       {{"INSERT (block TEN would place 10 figures and texts, more than the 5 left of the 25 an "
         "import places from blocks)",
         1}}},
      {"a block that holds itself hiding what it places",
       File(Reference("A") + Reference("B"), cyclic),
       small,
       0,
       {{"INSERT (block A would place 31 figures and texts, more than the 25 an import places "
         "from blocks)",
         1},
        {"INSERT (block B would place more than an import places from blocks)", 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vexhost::Drawing d;
    const auto result = ImportDxfText(c.text, d, c.options);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.segments, c.segments);
    EXPECT_EQ(d.SegmentCount(), static_cast<size_t>(c.segments));
    EXPECT_EQ(result.notHeld, c.notHeld);
    ExpectSavedUnchanged(d, result, c.text);
  }
}

// Doubling blocks of a text: T0 holds the text, each further block two references of the one
// before, model space one reference of the last: a few kilobytes that place 2^levels texts.
std::string DoublingTexts(int levels, const std::string& text) {
  std::string blocks = dxftest::Block("T0", text);
  for (int n = 1; n <= levels; ++n) {
    const std::string inner = "T" + std::to_string(n - 1);
    blocks += dxftest::Block("T" + std::to_string(n), Reference(inner) + Reference(inner, 1));
  }
  return File(Reference("T" + std::to_string(levels)), blocks);
}

// A text weighs as 16 figures and one more per character: a million texts of doubling blocks
// (within the two million an import places when counted one each) took seconds and half a
// gigabyte, and a few thousand texts of a thousand characters each place millions of
// characters. Both are refused before anything is placed; what is within the weight imports.
TEST(HostileInputTest, TextsFromBlocksAreWeighedByTheirWorkAndTheirCharacters) {
  auto textOf = [](const std::string& type, const std::string& text) {
    return Groups({{0, type}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, text}});
  };
  std::string thousand;
  while (thousand.size() < 1000) thousand += "0123456789";
  const std::string why = ", more than the 2000000 an import places from blocks)";
  const std::string million =
      "INSERT (block T20 would place 1048576 figures and texts, the work "
      "of 17825792 figures (16 per text and 1 per character)" +
      why;
  struct Case {
    std::string name;
    std::string text;
    int segments;
    size_t texts;  // placed
    std::map<std::string, int> notHeld;
  };
  const std::vector<Case> cases = {
      {"a million texts", DoublingTexts(20, textOf("TEXT", "T")), 0, 0, {{million, 1}}},
      {"a million texts of MTEXT", DoublingTexts(20, textOf("MTEXT", "M")), 0, 0, {{million, 1}}},
      {"a million texts, the input kept for the fuzz target",
       ReadBytes(kRegressions / "doubling-blocks-of-one-text-20-levels.dxf"),
       0,
       0,
       {{million, 1}}},
      {"2,048 texts of 1,000 characters",
       DoublingTexts(11, textOf("TEXT", thousand)),
       0,
       0,
       {{"INSERT (block T11 would place 2048 figures and texts, the work of 2080768 figures (16 "
         "per text and 1 per character)" +
             why,
         1}}},
      {"65,536 texts, within the weight", DoublingTexts(16, textOf("TEXT", "T")), 1, 65536, {}},
      {"512 texts of 1,000 characters, within the weight",
       DoublingTexts(9, textOf("MTEXT", thousand)),
       1,
       512,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vexhost::Drawing d;
    const auto result = ImportDxfText(c.text, d);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.segments, c.segments);
    EXPECT_EQ(d.ElementCount(), c.texts);
    EXPECT_EQ(result.notHeld, c.notHeld);
    if (!c.notHeld.empty()) {
      const std::string message = c.notHeld.begin()->first;
      EXPECT_EQ(result.WarningLines(),
                std::vector<std::string>{"warning: 1 INSERT entity not imported: " +
                                         message.substr(8, message.size() - 9)});
    }
    ExpectSavedUnchanged(d, result, c.text);
  }
}

TEST(HostileInputTest, WhatABlockPlacesBeyondTheDrawingsReachIsLeftOutAndNoSegmentStaysEmpty) {
  // A block's text at 9.3e13, placed 30 times as large: 2.79e15.
  const std::string far =
      Groups({{0, "TEXT"}, {8, "0"}, {10, "9.3e13"}, {20, "0"}, {40, "1"}, {1, "far"}});
  const std::string near =
      Groups({{0, "TEXT"}, {8, "0"}, {10, "1"}, {20, "0"}, {40, "1"}, {1, "near"}});
  const std::string blocks = dxftest::Block("T", far) +
                             dxftest::Block("TL", far + near + dxftest::Line(0, 0, 1, 1)) +
                             dxftest::Block("NEST", Reference("TL", 9.3e13)) +
                             dxftest::Block("L", dxftest::Line(0, 0, 1, 1));
  struct Case {
    std::string name;
    std::string entities;
    int segments;
    std::map<std::string, int> notHeld;
  };
  const std::vector<Case> cases = {
      {"a block of one text placed beyond",
       Reference("T", 0, 0, 30),
       0,
       {{"TEXT (invalid geometry)", 1}}},
      {"a block whose text goes beyond, the rest within",
       Reference("TL", 0, 0, 30),
       2,
       {{"TEXT (invalid geometry)", 1}}},
      {"a nested reference placed beyond",
       Reference("NEST", 0, 0, 30),
       0,
       {{"INSERT (invalid geometry)", 1}}},
      {"an array whose far copies lie beyond",
       Reference("L", 0, 20),
       0,
       {{"INSERT (invalid geometry)", 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = File(c.entities + dxftest::Line(5, 5, 6, 6), blocks);
    vexhost::Drawing d;
    const auto result = ImportDxfText(text, d);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.segments, c.segments + 1);
    EXPECT_EQ(result.notHeld, c.notHeld);
    for (const int id : d.SegmentIds()) EXPECT_FALSE(d.FindSegment(id)->elements.empty());
    ExpectSavedUnchanged(d, result, text);
  }
  vexhost::Drawing d;
  const auto regression = twinfind::dxf::ImportDxf(
      (kRegressions / "text-placed-beyond-reach-from-a-block.dxf").string(), d);
  ASSERT_TRUE(regression.ok) << regression.error;
  EXPECT_EQ(regression.segments, 0);
  EXPECT_EQ(regression.notHeld, (std::map<std::string, int>{{"TEXT (invalid geometry)", 1}}));
}

TEST(HostileInputTest, ADrawingThatWouldPassTheMemoryLimitIsRefusedAndLeavesNothing) {
  std::string lines;
  for (int i = 0; i < 100000; ++i) lines += dxftest::Line(i, 0, i, 1);
  const std::string text = File(lines);
  vexhost::Drawing d;
  ImportOptions tight;
  // 100,000 segments take some tens of megabytes; the limit leaves the process 8 more.
  tight.memoryLimit = twinfind::dxf::ProcessMemoryBytes() + (uint64_t{8} << 20);
  const auto refused = ImportDxfText(text, d, tight);
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.error.find("not enough memory"), std::string::npos) << refused.error;
  EXPECT_NE(refused.error.find("--memory-limit MB or TWINFIND_MEMORY_LIMIT_MB"), std::string::npos);
  EXPECT_EQ(d.SegmentCount(), 0u);
  const auto taken = ImportDxfText(text, d);
  ASSERT_TRUE(taken.ok) << taken.error;
  EXPECT_EQ(taken.segments, 100000);
}

TEST(HostileInputTest, TheMemoryLimitIsSetInMegabytesOrIsHalfTheMachine) {
  using twinfind::dxf::ParseMemoryLimitMb;
  EXPECT_EQ(ParseMemoryLimitMb("64"), uint64_t{64} << 20);
  for (const char* bad : {"", "0", "-5", "12abc", "1.5", " 64"}) {
    EXPECT_EQ(ParseMemoryLimitMb(bad), std::nullopt) << bad;
  }
  ASSERT_GT(twinfind::dxf::MachineMemoryBytes(), 0u);
  unsetenv(twinfind::dxf::kMemoryLimitVariable);
  EXPECT_EQ(twinfind::dxf::DefaultMemoryLimit(), twinfind::dxf::MachineMemoryBytes() / 2);
  setenv(twinfind::dxf::kMemoryLimitVariable, "123", 1);
  EXPECT_EQ(twinfind::dxf::DefaultMemoryLimit(), uint64_t{123} << 20);
  setenv(twinfind::dxf::kMemoryLimitVariable, "lots", 1);
  EXPECT_EQ(twinfind::dxf::DefaultMemoryLimit(), twinfind::dxf::MachineMemoryBytes() / 2);
  unsetenv(twinfind::dxf::kMemoryLimitVariable);
}

}  // namespace
