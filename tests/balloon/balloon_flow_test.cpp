// The balloon method end to end through the host: material, number, depth, part, then the
// automatic row with balloons and texts, or manual placement with snapping.
#include <cmath>

#include "balloon/found_parts.h"
#include "host/host_test_util.h"
#include "plugin/plugin_fixture.h"
#include "testkit/twin_drawing.h"

namespace {

using drawgen::TwinDrawing;
using hosttest::AddSegment;
using hosttest::Line;
using plugintest::LastSegmentId;
using plugintest::PluginTest;
using plugintest::SegmentsAfter;

class BalloonFlowTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Set(u"mMethod", u"1");
    Set(u"mIsDepth", u"0");
    Set(u"mIsMaterial", u"0");
  }
  // Comment records of a type among the given segments.
  static std::vector<VexCommentBuffer> Comments(const std::vector<int>& segments, int type) {
    std::vector<VexCommentBuffer> found;
    for (const int id : segments) {
      for (int e = VexSgmGetHeadElementId(id); e != -1; e = VexElmGetNextElementId(e)) {
        VexCommentBuffer b{};
        if (VexElmGetType(e) == type && VexCmtGetComment(e, &b) == 0) found.push_back(b);
      }
    }
    return found;
  }
  static std::vector<int> All() { return vexhost::TheHost().drawing.SegmentIds(); }
  static std::vector<std::u16string> Texts(const std::vector<int>& segments) {
    std::vector<std::u16string> texts;
    for (const auto& c : Comments(segments, VEX_ELEMENT_TEXT)) texts.emplace_back(c.text.text);
    return texts;
  }
  static int Square(double x, double y) {
    return AddSegment({Line(x, y, x + 10, y), Line(x + 10, y, x + 10, y + 10),
                       Line(x + 10, y + 10, x, y + 10), Line(x, y + 10, x, y)});
  }
};

TEST_F(BalloonFlowTest, TheAutomaticRowLabelsPlainCopiesAndCountsMirrorImagesApart) {
  Set(u"mIsSymmetry", u"1");
  Set(u"mIsDepth", u"1");
  TwinDrawing drawing(21);
  const auto part = drawing.Place({}).segments;
  for (int i = 1; i <= 2; ++i) drawing.Place({i * drawing.spacing(), 0, 30.0 * i, false});
  for (int i = 3; i <= 4; ++i) drawing.Place({i * drawing.spacing(), 0, 0, true});
  Start();
  driver().Range({-1e4, -1e4, 1e4, 1e4});
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:101) :");
  driver().Keyin(u"A-009");
  EXPECT_EQ(LastPrompt(), u"부품 깊이입력 :");
  driver().Keyin(u"12");
  driver().Range({-0.5, -0.5, drawing.width() + 0.5, drawing.height() + 0.5});
  EXPECT_EQ(Lines().rbegin()[1], u"info: 총 5개의 동일한 부품을 발견하였습니다.(S02)");
  EXPECT_EQ(LastPrompt(), u"형상확인을 하셨습니까?(● 확인 : 부품번호입력)");
  EXPECT_EQ(host().drawing.blinking().size(), 5 * part.size());
  driver().End();
  EXPECT_EQ(LastPrompt(), u" 배치좌표 :");  // the first row of the run asks where
  const int last = LastSegmentId();
  driver().Point({0, -500});
  const auto added = SegmentsAfter(last);
  std::vector<int> copies, others;
  for (const int id : added) {
    if (host().drawing.FindSegment(id)->life == VEX_LIFE_TEMPORARY) continue;
    (VexSgmGetType(id) == VEX_SEGMENT_FIGURES ? copies : others).push_back(id);
  }
  EXPECT_EQ(copies.size(), 5 * part.size() + 1);  // five copies and one frame
  // Balloons: three on the plain copies (below y = 0), five on the found parts.
  int onCopies = 0, onParts = 0;
  for (const auto& b : Comments(others, VEX_ELEMENT_BALLOON)) {
    (b.balloon.anchorY < -100 ? onCopies : onParts) += 1;
    EXPECT_EQ(std::u16string(b.balloon.rows[0]), u"A-009");
    EXPECT_EQ(std::u16string(b.balloon.rows[1]), u"5");
  }
  EXPECT_EQ(onCopies, 3);
  EXPECT_EQ(onParts, 5);
  EXPECT_EQ(Texts(others), (std::vector<std::u16string>{u"T12", u"3/2EA", u"A-009"}));
  // The next part starts with the advanced number, stored at once.
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:A-010) :");
  EXPECT_EQ(store.Get(plugintest::kKey, u"mBalloonStr"), u"A-010");
}

TEST_F(BalloonFlowTest, TheEndButtonSkipsARowAndTheNextRowAsksForItsPoint) {
  Set(u"mIsBalloonAssy", u"0");
  TwinDrawing a(22), b(23);
  const auto partA = a.Place({}).segments;
  a.Place({a.spacing(), 0});
  const double y0 = -3 * a.spacing();
  b.Place({0, y0});
  b.Place({b.spacing(), y0});
  Start();
  driver().Range({-1e4, -1e4, 1e4, 1e4});
  driver().End();  // keep 101
  driver().Range({-0.5, -0.5, a.width() + 0.5, a.height() + 0.5});
  driver().End();  // confirm
  const int beforeSkip = static_cast<int>(host().drawing.SegmentCount());
  driver().End();  // the arrangement prompt's end button: no row, no labels, no number
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:101) :");
  EXPECT_EQ(static_cast<int>(host().drawing.SegmentCount()), beforeSkip);
  EXPECT_EQ(twinfind::arrangeRowCount, 0);  // no row was placed
  driver().End();
  driver().Range({-0.5, y0 - 0.5, b.width() + 0.5, y0 + b.height() + 0.5});
  const int last = LastSegmentId();
  driver().End();  // confirm: the row asks for its point, as a command's first row does
  EXPECT_EQ(LastPrompt(), u" 배치좌표 :");
  driver().Point({0, -2000});
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:102) :");
  const auto added = SegmentsAfter(last);
  const auto texts = Comments(added, VEX_ELEMENT_TEXT);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_DOUBLE_EQ(texts[0].text.y, -2000);
  EXPECT_DOUBLE_EQ(texts[0].text.x, -50);
  EXPECT_EQ(std::u16string(texts[0].text.text), u"2EA");
  (void)partA;
}

// A depth typed for a part whose row the user then skips belongs to that part alone: the next
// part, whose depth prompt the user answers with the end button, gets no depth text.
TEST_F(BalloonFlowTest, ADepthTypedForASkippedPartIsNotWrittenForTheNext) {
  Set(u"mIsDepth", u"1");
  Set(u"mIsBalloonAssy", u"0");
  TwinDrawing a(22), b(23);
  a.Place({});
  a.Place({a.spacing(), 0});
  const double y0 = -3 * a.spacing();
  b.Place({0, y0});
  b.Place({b.spacing(), y0});
  Start();
  driver().Range({-1e4, -1e4, 1e4, 1e4});
  driver().End();  // keep 101
  driver().Keyin(u"12");
  driver().Range({-0.5, -0.5, a.width() + 0.5, a.height() + 0.5});
  driver().End();  // confirm
  driver().End();  // the arrangement prompt's end button: the part is skipped
  driver().End();  // keep 101
  EXPECT_EQ(LastPrompt(), u"부품 깊이입력 :");
  driver().End();  // no depth for this part
  driver().Range({-0.5, y0 - 0.5, b.width() + 0.5, y0 + b.height() + 0.5});
  const int last = LastSegmentId();
  driver().End();  // confirm: the row asks for its point
  driver().Point({0, -2000});
  EXPECT_EQ(Texts(SegmentsAfter(last)), (std::vector<std::u16string>{u"2EA", u"101"}));
}

TEST_F(BalloonFlowTest, DeletedPartsKeepBalloonsThatHangOnNothing) {
  Set(u"mFigure", u"1");
  Set(u"mIsArrange", u"0");
  TwinDrawing drawing(24);
  const auto part = drawing.Place({}).segments;
  drawing.Place({drawing.spacing(), 0});
  Start();
  driver().Range({-1e4, -1e4, 1e4, 1e4});
  driver().End();
  driver().Range({-0.5, -0.5, drawing.width() + 0.5, drawing.height() + 0.5});
  driver().End();
  for (const int id : part) EXPECT_EQ(VexSgmGetType(id), -1);
  const auto balloons = Comments(All(), VEX_ELEMENT_BALLOON);
  ASSERT_EQ(balloons.size(), 2u);
  for (const auto& b : balloons) EXPECT_EQ(b.balloon.anchorElementId, 0);
}

// Slots cut into a plate's edge are their own mirror images: with mirror images counting, the
// count text calls none of them mirrored, and every copy gets its balloon.
TEST_F(BalloonFlowTest, SymmetricSlotsAreCountedWithoutMirrorImages) {
  Set(u"mIsSymmetry", u"1");
  for (int i = 0; i < 4; ++i) {
    const double x = 25.0 * i;
    // The slot's far side first, drawn from its top down: a line that fits only mirrored.
    AddSegment({Line(x + 4, 0, x + 4, -5)});
    AddSegment({Line(x, -5, x + 4, -5)});
    AddSegment({Line(x, 0, x, -5)});
  }
  AddSegment({Line(-10, 0, 110, 0)});  // the plate edge across the mouths
  Start();
  driver().Range({-20, -50, 120, 10});
  driver().End();  // keep 101
  driver().Range({-0.5, -5.5, 4.5, 0.5});
  EXPECT_EQ(twinfind::foundParts.count(), 4);
  twinfind::arrangeOrigin = {0, -100};
  twinfind::arrangeRowCount = 1;  // the row goes below the origin without a point
  const int last = LastSegmentId();
  driver().End();  // confirm
  const auto added = SegmentsAfter(last);
  EXPECT_EQ(Texts(added), (std::vector<std::u16string>{u"4EA", u"101"}));
  EXPECT_EQ(Comments(added, VEX_ELEMENT_BALLOON).size(), 4u + 4u);  // on the slots and the copies
}

TEST_F(BalloonFlowTest, OverlappingTwinsAreCountedOnce) {
  Set(u"mIsArrange", u"0");
  // Three squares in a row; the part is the first two. The part also lies on the second and
  // third: two twins sharing the middle square. As in the general method the earlier goes, so
  // that no square is counted twice: one twin, one balloon, a count of 1.
  Square(0, 0);
  Square(15, 0);
  Square(30, 0);
  Start();
  driver().Range({-1, -1, 41, 11});
  driver().End();
  driver().Range({-1, -1, 26, 11});
  EXPECT_EQ(twinfind::foundParts.count(), 1);
  driver().End();
  const auto balloons = Comments(All(), VEX_ELEMENT_BALLOON);
  ASSERT_EQ(balloons.size(), 1u);
  EXPECT_EQ(std::u16string(balloons[0].balloon.rows[balloons[0].balloon.rowCount - 1]), u"1");
}

TEST_F(BalloonFlowTest, NoMatchGoesBackToTheNumberPrompt) {
  Square(0, 0);
  AddSegment({Line(200, 0, 210, 0)});
  Start();
  driver().Range({199, -1, 211, 1});  // the range: a lone line of the square's side
  driver().End();
  host().transcript.Clear();
  driver().Range({-1, -1, 11, 11});  // the square, outside the range
  EXPECT_EQ(Lines().front(), u"box: 동일한 부품이 없습니다.(S02)");
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:101) :");
  EXPECT_TRUE(driver().active());
}

class PlacementTest : public BalloonFlowTest {
 protected:
  void SetUp() override {
    BalloonFlowTest::SetUp();
    Set(u"mIsBalloonAutoArrange", u"0");
    part = Square(0, 0);
  }
  // An existing balloon centred at (x, y) with diameter 5.
  static int ExistingBalloon(double x, double y) {
    const int segment = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
    BalloonData b{};
    b.centerX = x;
    b.centerY = y;
    b.rowCount = 1;
    b.rows[0] = u"100";
    b.diameter = 5;
    VexCmtCreateBalloon(segment, &b);
    return segment;
  }
  void ToPlacement() {
    Start();
    driver().Range({-1, -1, 11, 11});
    driver().End();
    driver().Range({-1, -1, 11, 11});
    ASSERT_EQ(LastPrompt(), u"풍선배치위치지시(종료:자동배치):");
    ASSERT_EQ(driver().mask(), 0x60800u);
    ASSERT_EQ(driver().object().fields[0], 8);
    ASSERT_EQ(driver().object().fields[3], 16);
  }
  // The balloon the click made: the newest lasting one.
  BalloonData Placed() {
    BalloonData last{};
    for (const auto& b : Comments(All(), VEX_ELEMENT_BALLOON)) last = b.balloon;
    return last;
  }
  int part = 0;
};

TEST_F(PlacementTest, ClicksLineUpWithABalloonNearby) {
  ExistingBalloon(100, 50);
  ToPlacement();
  driver().Motion({102, 80});
  // While moving: a preview balloon and the mark on the balloon it lines up with.
  int previews = 0, marks = 0;
  for (const int id : All()) {
    const auto* s = host().drawing.FindSegment(id);
    if (s->life != VEX_LIFE_TEMPORARY) continue;
    (s->kind == VEX_SEGMENT_COMMENTS ? previews : marks) += 1;
  }
  EXPECT_EQ(previews, 1);
  EXPECT_EQ(marks, 1);
  driver().Point({102, 80});
  EXPECT_DOUBLE_EQ(Placed().centerX, 100);  // lined up vertically
  EXPECT_DOUBLE_EQ(Placed().centerY, 80);
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:102) :");
}

TEST_F(PlacementTest, ABalloonLinesUpHorizontallyToo) {
  ExistingBalloon(100, 50);
  ToPlacement();
  driver().Point({130, 52});
  EXPECT_DOUBLE_EQ(Placed().centerX, 130);
  EXPECT_DOUBLE_EQ(Placed().centerY, 50);
}

TEST_F(PlacementTest, AClickInsideABalloonIsNotSnappedByIt) {
  ExistingBalloon(100, 50);
  ToPlacement();
  driver().Point({101, 51});
  EXPECT_DOUBLE_EQ(Placed().centerX, 101);
  EXPECT_DOUBLE_EQ(Placed().centerY, 51);
}

TEST_F(PlacementTest, OfTwoBalloonsAsFarAwayTheLaterDecides) {
  ExistingBalloon(100, 50);
  ExistingBalloon(100, 110);
  ToPlacement();
  // Which one decides shows in the mark the pointer there draws: the later balloon's circle.
  driver().Motion({101, 80});  // 30 from each
  FigureRecord mark{};
  for (const int id : All()) {
    if (host().drawing.FindSegment(id)->life == VEX_LIFE_TEMPORARY &&
        VexSgmGetType(id) == VEX_SEGMENT_FIGURES) {
      const SegmentRef ref{1, id};
      VexFigGetFigure2(&ref, &mark, 1);
    }
  }
  EXPECT_DOUBLE_EQ(mark.u.circle.cy, 110);
  driver().Point({101, 80});
  EXPECT_DOUBLE_EQ(Placed().centerX, 100);
  EXPECT_DOUBLE_EQ(Placed().centerY, 80);
}

TEST_F(PlacementTest, TheLeaderGoesToTheNearestSide) {
  ToPlacement();
  driver().Point({-20, 5});  // left of the square
  EXPECT_DOUBLE_EQ(Placed().anchorX, 0);
  EXPECT_DOUBLE_EQ(Placed().anchorY, 5);
  EXPECT_NE(Placed().anchorElementId, 0);
  EXPECT_DOUBLE_EQ(Placed().centerX, -20);  // the click is the centre
}

TEST_F(PlacementTest, TheTopWinsATie) {
  ToPlacement();
  driver().Point({-5, 15});  // as far from the top's middle (5, 10) as from the left's (0, 5)
  EXPECT_DOUBLE_EQ(Placed().anchorX, 5);
  EXPECT_DOUBLE_EQ(Placed().anchorY, 10);
}

TEST_F(PlacementTest, TheEndButtonPlacesAutomatically) {
  Set(u"mIsArrange", u"0");
  ToPlacement();
  driver().End();
  const auto balloons = Comments(All(), VEX_ELEMENT_BALLOON);
  ASSERT_EQ(balloons.size(), 1u);  // on the found part, automatically
  EXPECT_EQ(balloons[0].balloon.leader, 1);
  EXPECT_DOUBLE_EQ(balloons[0].balloon.anchorY, 10);  // on its top
  EXPECT_TRUE(host().drawing.blinking().empty());
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:102) :");
}

TEST_F(PlacementTest, WithArrangementTheEndButtonGoesOnToTheRowPrompt) {
  ToPlacement();
  driver().End();
  EXPECT_EQ(LastPrompt(), u" 배치좌표 :");
  driver().Point({0, -100});
  EXPECT_EQ(Comments(All(), VEX_ELEMENT_BALLOON).size(), 2u);  // on the copy and on the part
}

}  // namespace
