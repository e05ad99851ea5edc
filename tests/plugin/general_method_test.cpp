// The general method end to end, as a user runs it through the host: range, part, confirm,
// place, next part, end. After each scenario the drawing holds what it should and nothing
// else.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "balloon/found_parts.h"
#include "plugin/plugin_fixture.h"
#include "testkit/twin_drawing.h"

namespace {

using drawgen::Placement;
using drawgen::TwinDrawing;
using plugintest::BoundsOf;
using plugintest::LastSegmentId;
using plugintest::PluginTest;
using plugintest::SegmentsAfter;
using plugintest::TemporaryCount;

class GeneralMethodTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Set(u"mIsSymmetry", u"1");
    part = drawing.Place({}).segments;
    twin = drawing.Place({drawing.spacing(), 0, 90, false}).segments;
    mirror = drawing.Place({2 * drawing.spacing(), 0, 0, true}).segments;
  }
  // The range takes everything, the part is the one at the origin.
  void RangeAndPart() {
    Start();
    driver().Range({-1e4, -1e4, 1e4, 1e4});
    driver().Range({-0.5, -0.5, drawing.width() + 0.5, drawing.height() + 0.5});
  }
  // The lasting segments: what the drawing keeps.
  int SegmentCount() { return static_cast<int>(host().drawing.SegmentCount()) - TemporaryCount(); }
  bool Exists(int id) { return host().drawing.FindSegment(id) != nullptr; }

  TwinDrawing drawing{11};
  std::vector<int> part, twin, mirror;
};

TEST_F(GeneralMethodTest, AFullRunFindsBlinksPlacesAndAsksForTheNextPart) {
  const int before = SegmentCount();
  const int last = LastSegmentId();
  RangeAndPart();
  EXPECT_EQ(Lines().rbegin()[1], u"info: 총 3개의 동일한 부품을 발견하였습니다.");
  EXPECT_EQ(LastPrompt(), u"형상확인을 하셨습니까?(● 확인 : 부품배치)");
  EXPECT_EQ(driver().mask(), 0x40000u);
  EXPECT_EQ(host().drawing.blinking().size(), part.size() * 3);
  EXPECT_EQ(SegmentCount(), before);  // no search copy stayed

  driver().End();
  EXPECT_TRUE(host().drawing.blinking().empty());
  EXPECT_EQ(LastPrompt(), u" 배치좌표 :");
  EXPECT_EQ(driver().mask(), 0x60000u);
  ASSERT_TRUE(driver().echo().has_value());
  EXPECT_EQ(driver().echo()->kind, 4);
  // The pointer was left at the part range's corner: the echo and the default input start there.
  EXPECT_EQ(driver().echo()->x, drawing.width() + 0.5);
  EXPECT_EQ(driver().echo()->y, drawing.height() + 0.5);
  char expected[64];
  std::snprintf(expected, sizeof expected, "%f %f", drawing.width() + 0.5, drawing.height() + 0.5);
  EXPECT_EQ(driver().defaultInput(), std::u16string(expected, expected + std::strlen(expected)));
  (void)last;

  driver().Motion({500, 500});
  EXPECT_EQ(TemporaryCount(), 4);  // the row's rubber band
  EXPECT_EQ(SegmentCount(), before);
  const int beforeRow = LastSegmentId();
  driver().Point({-300, -400});
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
  // Two plain copies and one mirrored copy of n segments each, and one frame.
  const size_t n = part.size();
  const auto added = SegmentsAfter(beforeRow);
  const auto lasting = std::vector<int>(added.begin(), added.end());
  int temporaries = 0;
  std::vector<int> copies;
  for (const int id : lasting) {
    if (host().drawing.FindSegment(id)->life == VEX_LIFE_TEMPORARY) {
      ++temporaries;
    } else {
      copies.push_back(id);
    }
  }
  EXPECT_EQ(temporaries, 0);  // the row's preview went with its step
  ASSERT_EQ(copies.size(), 3 * n + 1);
  const double gap = 5.0;
  const VexBox first = BoundsOf({copies.begin(), copies.begin() + n});
  const VexBox second = BoundsOf({copies.begin() + n, copies.begin() + 2 * n});
  const VexBox third = BoundsOf({copies.begin() + 2 * n, copies.begin() + 3 * n});
  EXPECT_NEAR(first.minX, -300, 1e-9);
  EXPECT_NEAR(first.minY, -400, 1e-9);
  EXPECT_NEAR(second.minX, first.maxX + gap, 1e-9);
  EXPECT_NEAR(second.minY, -400, 1e-9);
  EXPECT_NEAR(third.minX, second.maxX + gap, 1e-9);
  // The frame goes round the mirrored copy, half a gap plus 2 beyond it on the sides.
  const VexBox frame = BoundsOf({copies.back()});
  EXPECT_NEAR(frame.minX, third.minX - gap / 2 - 2, 1e-9);
  EXPECT_NEAR(frame.maxX, third.maxX + gap / 2 - 2 + 4, 1e-9);
  EXPECT_NEAR(frame.minY, -402, 1e-9);
  // The matches themselves are untouched (mFigure 0).
  for (const int id : twin) EXPECT_TRUE(Exists(id));

  driver().End();  // at the part prompt: the command ends
  EXPECT_FALSE(driver().active());
  EXPECT_EQ(TemporaryCount(), 0);
  EXPECT_EQ(SegmentCount(), before + static_cast<int>(3 * n + 1));
}

TEST_F(GeneralMethodTest, ASearchAfterARowLeavesTheDrawingAlone) {
  // The row's copies go through the copy list, which the search also works with: the next
  // search must delete its own trial copies only, never what the list last named.
  RangeAndPart();
  driver().End();
  driver().Point({-300, -400});
  std::vector<int> lasting;
  for (const int id : host().drawing.SegmentIds()) {
    if (host().drawing.FindSegment(id)->life == VEX_LIFE_LASTING) lasting.push_back(id);
  }
  host().transcript.Clear();
  driver().Range({-0.5, -0.5, drawing.width() + 0.5, drawing.height() + 0.5});
  EXPECT_EQ(Lines().front(), u"box: 동일한 부품이 없습니다.");  // all of them are used now
  for (const int id : lasting) EXPECT_TRUE(Exists(id)) << "segment " << id;
  EXPECT_EQ(SegmentCount(), static_cast<int>(lasting.size()));
}

TEST_F(GeneralMethodTest, ASecondPartInTheSameRangeDoesNotReuseFoundSegments) {
  Set(u"mIsArrange", u"0");
  RangeAndPart();
  driver().End();  // confirm: nothing to do, back to the part
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
  host().transcript.Clear();
  driver().Range({-0.5, -0.5, drawing.width() + 0.5, drawing.height() + 0.5});
  EXPECT_EQ(Lines().front(), u"box: 동일한 부품이 없습니다.");
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
  EXPECT_TRUE(driver().active());
}

TEST_F(GeneralMethodTest, APartOutsideTheRangeFindsNothingAndAsksAgain) {
  Start();
  driver().Range({drawing.spacing() - 100, -100, drawing.spacing() + 100, 100});  // the twin only
  host().transcript.Clear();
  driver().Range({-0.5, -0.5, drawing.width() + 0.5, drawing.height() + 0.5});
  // The part itself is outside the range; its turned twin is not found with rotation off...
  // but rotation is on by default, so the twin is found.
  EXPECT_EQ(Lines().front(), u"info: 총 1개의 동일한 부품을 발견하였습니다.");
  driver().Abandon();
  Set(u"mIsRotate", u"0");
  Start();
  driver().Range({drawing.spacing() - 100, -100, drawing.spacing() + 100, 100});
  host().transcript.Clear();
  driver().Range({-0.5, -0.5, drawing.width() + 0.5, drawing.height() + 0.5});
  EXPECT_EQ(Lines().front(), u"box: 동일한 부품이 없습니다.");
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
}

TEST_F(GeneralMethodTest, DeletingInTheFirstRowAndWithoutArrangement) {
  Set(u"mFigure", u"1");
  const int before = SegmentCount();
  RangeAndPart();
  driver().End();
  driver().Point({-300, -400});
  for (const int id : part) EXPECT_FALSE(Exists(id));
  for (const int id : mirror) EXPECT_FALSE(Exists(id));
  // The copies stay: three of them and a frame, the three matches gone.
  EXPECT_EQ(SegmentCount(), before + 1);
  driver().Abandon();

  SetUp();
  Set(u"mFigure", u"1");
  Set(u"mIsArrange", u"0");
  const int count = SegmentCount();
  RangeAndPart();
  driver().End();
  EXPECT_EQ(SegmentCount(), count - 3 * static_cast<int>(part.size()));
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
}

TEST_F(GeneralMethodTest, RecolouringLeavesElementsWithoutALineTypeAlone) {
  Set(u"mFigure", u"2");
  Set(u"mIsArrange", u"0");
  Set(u"m_ColorMain", u"MAINCOLOR03");
  Set(u"mLTypeName", u"LINETYPE02");
  const int bare = VexSgmGetHeadElementId(twin[1]);
  host().drawing.FindElement(bare)->lineAttr.reset();
  RangeAndPart();
  driver().End();
  for (const auto& group : {part, twin, mirror}) {
    for (const int id : group) {
      for (int e = VexSgmGetHeadElementId(id); e != -1; e = VexElmGetNextElementId(e)) {
        VexLineTypeData data{};
        if (e == bare) {
          EXPECT_EQ(VexFigGetLineType(e, &data), -1);
          continue;
        }
        ASSERT_EQ(VexFigGetLineType(e, &data), 0);
        EXPECT_EQ(data.color, 2);
        EXPECT_EQ(data.lineType, 4);
      }
    }
  }
}

TEST_F(GeneralMethodTest, TheEndButtonAtThePlacementSkipsTheRowAndTheNextRowAsksForItsPoint) {
  // A second, different part with one twin, far from the first.
  TwinDrawing other(12);
  const double x0 = 0, y0 = -3 * drawing.spacing();
  const auto otherPart = other.Place({x0, y0}).segments;
  other.Place({x0 + other.spacing(), y0});
  twinfind::arrangeOrigin = {1000, 2000};
  Set(u"mFigure", u"1");
  const int before = SegmentCount();
  RangeAndPart();
  driver().End();  // confirm
  driver().End();  // no point: nothing copied, nothing deleted
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
  EXPECT_EQ(SegmentCount(), before);
  EXPECT_EQ(twinfind::arrangeRowCount, 0);  // no row was placed

  // The next search's row asks for its point, as a command's first row does, rather than
  // going below an origin the user never gave.
  driver().Range({x0 - 0.5, y0 - 0.5, x0 + other.width() + 0.5, y0 + other.height() + 0.5});
  ASSERT_EQ(twinfind::foundParts.count(), 2);
  const int last = LastSegmentId();
  driver().End();
  EXPECT_EQ(LastPrompt(), u" 배치좌표 :");
  driver().Point({-500, -600});
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
  const auto copies = SegmentsAfter(last);
  const size_t n = otherPart.size();
  ASSERT_EQ(copies.size(), 2 * n);
  const VexBox first = BoundsOf({copies.begin(), copies.begin() + n});
  EXPECT_NEAR(first.minX, -500, 1e-9);
  EXPECT_NEAR(first.minY, -600, 1e-9);
  for (const int id : otherPart) EXPECT_FALSE(Exists(id));  // deleted after the copy
  EXPECT_EQ(twinfind::arrangeRowCount, 1);
}

TEST_F(GeneralMethodTest, APartTooBigOrRefusedByTheWorkListEndsTheCommandTidily) {
  // 1000 part segments are taken (the part has points alone, no figure to anchor a search
  // on, so the anchor check answers); the 1001st is one too many.
  vexhost::ResetHost();
  ASSERT_EQ(Startup(nullptr), 0);
  for (int i = 0; i < 1001; ++i) {
    const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
    FigureRecord point{};
    point.kind = VEX_FIG_POINT;
    point.u.point = {i * 3.0, 0};
    VexFigCreateFigure(id, &point);
  }
  Start();
  driver().Range({-10, -10, 4000, 10});
  driver().Range({-2, -2, 999 * 3.0 - 1.5, 2});  // points 0..998: 999 of them
  EXPECT_EQ(Lines().back(), u"error: 최소한 한개이상의 라인요소가 있어야 합니다.");
  Start();
  driver().Range({-10, -10, 4000, 10});
  driver().Range({-2, -2, 999 * 3.0 + 1.5, 2});  // 1000
  EXPECT_EQ(Lines().back(), u"error: 최소한 한개이상의 라인요소가 있어야 합니다.");
  Start();
  driver().Range({-10, -10, 4000, 10});
  driver().Range({-2, -2, 1000 * 3.0 + 1.5, 2});  // 1001
  EXPECT_EQ(Lines().back(), u"box: 검색대상이 메모리할당영역을 초과했습니다.(S)");
  EXPECT_FALSE(driver().active());
  EXPECT_FALSE(host().lists.SelectionOpen());
  EXPECT_TRUE(host().lists.selection().empty());
  EXPECT_FALSE(host().lists.IsOpen(5));

  // A work list that refuses a segment.
  Start();
  driver().Range({-10, -10, 4000, 10});
  host().lists.SetCapacity(1);
  driver().Range({-2, -2, 4.5, 2});
  EXPECT_EQ(Lines().back(), u"error: Api Data에 에러가 발생했습니다");
  EXPECT_FALSE(host().lists.SelectionOpen());
  EXPECT_FALSE(host().lists.IsOpen(5));
  EXPECT_FALSE(driver().active());
}

TEST_F(GeneralMethodTest, AnEmptyPartRangeEndsTheCommand) {
  Start();
  driver().Range({-1e4, -1e4, 1e4, 1e4});
  driver().Range({-5000, -5000, -4000, -4000});
  EXPECT_EQ(Lines().back(), u"error: 형상을 선택하셔야 합니다.");
  EXPECT_FALSE(driver().active());
}

}  // namespace

// A part of many segments (a ring of loose lines, as exporters write outlines): every segment of
// every twin is acted on, in the first row and after it.
TEST_F(PluginTest, TwinsOfManySegmentsAreCopiedAndDeletedWhole) {
  Set(u"mFigure", u"1");
  constexpr int kSegments = 60;
  TwinDrawing many(4, kSegments);
  std::vector<std::vector<int>> placed;
  for (int i = 0; i < 3; ++i) {
    placed.push_back(many.Place({i * many.spacing(), 0, i * 50.0, false}).segments);
  }
  const int last = LastSegmentId();
  Start();
  driver().Range({-1e4, -1e4, 1e4, 1e4});
  driver().Range({-0.5, -0.5, many.width() + 0.5, many.height() + 0.5});
  EXPECT_EQ(Lines().rbegin()[1], u"info: 총 3개의 동일한 부품을 발견하였습니다.");
  EXPECT_EQ(host().drawing.blinking().size(), 3u * kSegments);
  driver().End();
  driver().Point({0, -1000});
  for (const auto& twin : placed) {
    for (const int id : twin) EXPECT_EQ(host().drawing.FindSegment(id), nullptr) << id;
  }
  // Three copies of every segment, and nothing else lasting: no mirror images, so no frame.
  EXPECT_EQ(SegmentsAfter(last).size() - TemporaryCount(), 3u * kSegments);
}
