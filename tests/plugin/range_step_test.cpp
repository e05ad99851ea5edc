// The search range steps: what a range puts into the command's search range, and the failures.
#include "plugin/plugin_fixture.h"
#include "plugin/range_input.h"

namespace {

using plugintest::AddLine;
using plugintest::PluginTest;
using twinfind::searchRange;

TEST_F(PluginTest, ARangeFillsTheTargetsInDrawingOrderNoneTaken) {
  const int a = AddLine(0, 0, 1, 0);
  const int b = AddLine(0, 1, 1, 1);
  AddLine(50, 50, 60, 60);  // outside the range
  host().drawing.FindSegment(b)->attributes |= 1u << VEX_ATTRIBUTE_5;
  Start();
  driver().Range({-1, -1, 2, 2});
  ASSERT_EQ(searchRange.segments.size(), 2u);
  EXPECT_EQ(searchRange.segments[0].segmentId, a);
  EXPECT_EQ(searchRange.segments[0].auxId, 1);
  EXPECT_EQ(searchRange.segments[1].segmentId, b);
  EXPECT_EQ(searchRange.taken, (std::vector<uint8_t>{0, 0}));
  // The selection is read, closed and forgotten.
  EXPECT_FALSE(host().lists.SelectionOpen());
  EXPECT_TRUE(host().lists.selection().empty());
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
  EXPECT_TRUE(driver().active());
}

TEST_F(PluginTest, AnEmptyRangeEndsTheCommandWithAnError) {
  Start();
  driver().Range({0, 0, 1, 1});
  EXPECT_EQ(Lines().back(), u"error: 형상을 선택하셔야 합니다.");
  EXPECT_FALSE(driver().active());

  Set(u"mMethod", u"1");
  Start();
  driver().Range({0, 0, 1, 1});
  EXPECT_EQ(Lines().back(), u"error: 형상을 선택하셔야 합니다.(T02)");
  EXPECT_FALSE(driver().active());
}

TEST_F(PluginTest, TenThousandTargetsFitAndOneMoreStopsTheCommand) {
  for (int i = 0; i < 10000; ++i) AddLine(i, 0, i, 1);
  Start();
  driver().Range({-1, -1, 20000, 2});
  EXPECT_EQ(searchRange.segments.size(), 10000u);
  EXPECT_TRUE(driver().active());

  AddLine(10000, 0, 10000, 1);
  Start();
  driver().Range({-1, -1, 20000, 2});
  EXPECT_EQ(Lines().back(), u"box: 검색대상이 메모리할당영역을 초과했습니다.(T01)");
  EXPECT_EQ(searchRange.segments.size(), 10000u);  // what was read stays
  EXPECT_FALSE(driver().active());
  EXPECT_FALSE(host().lists.SelectionOpen());

  Set(u"mMethod", u"1");
  Start();
  driver().Range({-1, -1, 20000, 2});
  EXPECT_EQ(Lines().back(), u"box: 검색대상이 메모리할당영역을 초과했습니다.(T02)");
}

TEST_F(PluginTest, OtherEventsAtTheRangeStepAreDeclined) {
  Start();
  // The range step takes neither points nor key-ins: the host never delivers them.
  EXPECT_FALSE(driver().Point({1, 1}).taken);
  EXPECT_FALSE(driver().Keyin(u"x").taken);
  EXPECT_TRUE(driver().active());
}

}  // namespace
