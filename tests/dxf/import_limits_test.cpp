// What an import cannot take is counted and told, never dropped silently; hostile block
// structures and numbers end in a count, not a hang or a crash.
#include <gtest/gtest.h>

#include "dxf/dxf_import.h"
#include "dxf_test_util.h"

namespace {

using dxftest::File;
using dxftest::Groups;

twinfind::dxf::ImportResult Import(const std::string& text, vexhost::Drawing& d) {
  auto result = twinfind::dxf::ImportDxfText(text, d);
  EXPECT_TRUE(result.ok) << result.error;
  return result;
}

TEST(ImportLimitsTest, EntitiesTheHostCannotHoldAreCountedByTypeAndTold) {
  const std::string hatch = Groups({{0, "HATCH"}, {8, "0"}, {2, "SOLID"}, {91, "0"}});
  const std::string wipeout = Groups({{0, "WIPEOUT"}, {8, "0"}, {91, "99999999"}});
  const std::string paper = dxftest::Line(0, 0, 1, 1, {{8, "0"}, {67, "1"}});
  const std::string blocks = dxftest::Block("H", hatch + dxftest::Line(0, 0, 1, 0));
  const std::string refs = Groups({{0, "INSERT"}, {8, "0"}, {2, "H"}, {10, "0"}, {20, "0"}});
  vexhost::Drawing d;
  const auto result =
      Import(File(hatch + wipeout + wipeout + paper + refs + refs + Groups({{0, "RAY"}, {8, "0"}}),
                  blocks),
             d);
  EXPECT_EQ(result.segments, 2);  // the two references' lines
  // One HATCH of model space and one in each reference.
  const std::map<std::string, int> expected = {
      {"HATCH", 3}, {"LINE (paper space)", 1}, {"RAY", 1}, {"WIPEOUT", 2}};
  EXPECT_EQ(result.notHeld, expected);
  EXPECT_EQ(
      result.WarningLines(),
      (std::vector<std::string>{
          "warning: 3 HATCH entities not imported: the host holds no hatch patterns or fills",
          "warning: 1 LINE entity in paper space not imported: the host holds model space only",
          "warning: 1 RAY entity not imported: the host holds no infinite lines",
          "warning: 2 WIPEOUT entities not imported: the host holds no masking areas"}));
}

TEST(ImportLimitsTest, PaperSpaceLayoutsAndTheirPolylinePartsStayOut) {
  const std::string polyline = Groups({{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {67, "1"}}) +
                               Groups({{0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}}) +
                               Groups({{0, "VERTEX"}, {8, "0"}, {10, "1"}, {20, "0"}}) +
                               Groups({{0, "SEQEND"}, {8, "0"}});
  const std::string layout = dxftest::Block("*Paper_Space0", dxftest::Line(0, 0, 5, 5));
  vexhost::Drawing d;
  const auto result = Import(File(polyline + dxftest::Line(0, 0, 2, 0), layout), d);
  EXPECT_EQ(result.segments, 1);
  EXPECT_EQ(result.notHeld,
            (std::map<std::string, int>{{"LINE (paper space)", 1}, {"POLYLINE (paper space)", 1}}));
}

TEST(ImportLimitsTest, EntitiesOutsideAnySectionAreCountedNotLost) {
  vexhost::Drawing d;
  const auto result = Import(dxftest::Line(0, 0, 1, 1) + Groups({{0, "EOF"}}), d);
  EXPECT_EQ(result.segments, 0);
  EXPECT_EQ(result.notHeld, (std::map<std::string, int>{{"LINE (outside any section)", 1}}));
}

TEST(ImportLimitsTest, StrangeTypeNamesAreCountedUnderAPrintableName) {
  vexhost::Drawing d;
  const auto result =
      Import(File(Groups({{0, "NEW\x01(THING)"}, {8, "0"}}) +
                  Groups({{0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {1, "%%000"}})),
             d);
  EXPECT_EQ(result.notHeld, (std::map<std::string, int>{{"NEW??THING?", 1}, {"TEXT (empty)", 1}}));
}

TEST(ImportLimitsTest, BrokenBlockStructuresEndInACount) {
  // A block that holds a reference to itself, one to a block that does not exist, a chain of
  // blocks nested deeper than the limit, and an array too large to expand.
  std::string blocks = dxftest::Block(
      "SELF", dxftest::Line(0, 0, 1, 0) +
                  Groups({{0, "INSERT"}, {8, "0"}, {2, "SELF"}, {10, "1"}, {20, "0"}}));
  for (int i = 0; i < 40; ++i) {
    blocks += dxftest::Block(
        "N" + std::to_string(i),
        Groups({{0, "INSERT"}, {8, "0"}, {2, "N" + std::to_string(i + 1)}, {10, "0"}, {20, "0"}}));
  }
  blocks += dxftest::Block("N40", dxftest::Line(0, 0, 1, 0));
  const std::string entities =
      Groups({{0, "INSERT"}, {8, "0"}, {2, "SELF"}, {10, "0"}, {20, "0"}}) +
      Groups({{0, "INSERT"}, {8, "0"}, {2, "MISSING"}, {10, "0"}, {20, "0"}}) +
      Groups({{0, "INSERT"}, {8, "0"}, {2, "N0"}, {10, "0"}, {20, "0"}}) +
      Groups({{0, "INSERT"},
              {8, "0"},
              {2, "N40"},
              {10, "0"},
              {20, "0"},
              {70, "32767"},
              {71, "32767"},
              {44, "1"},
              {45, "1"}});
  vexhost::Drawing d;
  const auto result = Import(File(entities, blocks), d);
  EXPECT_EQ(result.segments, 1);  // SELF's own line
  EXPECT_EQ(result.notHeld, (std::map<std::string, int>{{"INSERT (block holds itself)", 1},
                                                        {"INSERT (block not defined)", 1},
                                                        {"INSERT (nested too deep)", 1},
                                                        {"INSERT (too many copies)", 1}}));
}

// Found by fuzzing: arrays of arrays kept the import busy for hours, each copy of the inner
// block entered again after the limit on block visits had stopped any drawing. The reference is
// now weighed before it is flattened: it would enter billions of block copies, and is left out
// whole, its block named, before any copy is made.
TEST(ImportLimitsTest, NestedArraysAreWeighedBeforeTheyAreFlattened) {
  auto array = [](const std::string& block, int n) {
    return Groups({{0, "INSERT"},
                   {8, "0"},
                   {2, block},
                   {10, "0"},
                   {20, "0"},
                   {70, std::to_string(n)},
                   {71, std::to_string(n)},
                   {44, "1"},
                   {45, "1"}});
  };
  // 300 x 300 copies of 200 x 200 copies of a block: 3.6 billion references of A.
  const std::string blocks =
      dxftest::Block("A", Groups({{0, "HATCH"}, {8, "0"}})) + dxftest::Block("B", array("A", 200));
  vexhost::Drawing d;
  const auto result = Import(File(array("B", 300), blocks), d);
  EXPECT_EQ(result.segments, 0);
  EXPECT_EQ(result.notHeld,
            (std::map<std::string, int>{
                {"INSERT (block B would place 3600090000 block copies, more than the 10000000 an "
                 "import flattens)",
                 1}}));
}

TEST(ImportLimitsTest, NumbersThatAreNoNumbersMakeTheEntityUnusableNotTheFile) {
  vexhost::Drawing d;
  const auto result = Import(
      File(Groups({{0, "LINE"}, {8, "0"}, {10, "1e999"}, {20, "0"}, {11, "1"}, {21, "1"}}) +
           Groups({{0, "CIRCLE"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "-3"}}) +
           // Two billion vertices announced, one given.
           Groups({{0, "LWPOLYLINE"}, {8, "0"}, {90, "2000000000"}, {10, "0"}, {20, "0"}}) +
           Groups({{0, "TEXT"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "0"}, {1, "no height"}}) +
           dxftest::Line(0, 0, 3, 4)),
      d);
  EXPECT_EQ(result.segments, 1);
  EXPECT_EQ(result.notHeld,
            (std::map<std::string, int>{{"CIRCLE (invalid geometry)", 1},
                                        {"LINE (invalid geometry)", 1},
                                        {"LWPOLYLINE (fewer than two distinct vertices)", 1},
                                        {"TEXT (invalid geometry)", 1}}));
}

TEST(ImportLimitsTest, AFailedImportLeavesTheDrawingAsItWas) {
  vexhost::Drawing d;
  ASSERT_TRUE(twinfind::dxf::ImportDxfText(File(dxftest::Line(0, 0, 1, 1)), d).ok);
  const auto before = d.SegmentIds();
  const std::string whole = File(dxftest::Line(5, 5, 6, 6));
  const auto result = twinfind::dxf::ImportDxfText(whole.substr(0, whole.size() / 2 + 3), d);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.segments, 0);
  EXPECT_EQ(d.SegmentIds(), before);
}

}  // namespace
