// Where a balloon's leader meets a part, and where the balloon goes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "balloon/balloon_make.h"
#include "balloon/extreme_point.h"
#include "host/host_test_util.h"
#include "settings/settings.h"

namespace {

using hosttest::AddSegment;
using hosttest::Arc;
using hosttest::Circle;
using hosttest::Line;
using namespace twinfind;

constexpr double kDeg = std::numbers::pi / 180.0;

class AnchorTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  BalloonAnchor Top(const std::vector<FigureRecord>& figures) {
    const int id = AddSegment(figures);
    ExtremeBox box;
    BalloonAnchor anchor;
    FindExtremePoint({1, id}, box, kSideTop, anchor);
    return anchor;
  }
};

TEST_F(AnchorTest, AHorizontalLineAnchorsAtItsMiddleLeavingAt45Degrees) {
  const BalloonAnchor a = Top({Line(0, 0, 10, 0)});
  ASSERT_TRUE(a.found);
  EXPECT_DOUBLE_EQ(a.point.x, 5);
  EXPECT_DOUBLE_EQ(a.point.y, 0);
  EXPECT_DOUBLE_EQ(a.leaderAngle, 45 * kDeg);
  // With D = 5 and L = 5 the centre lies 7.5 along the diagonal.
  Settings().mBalloonSize = u"5";
  Settings().mBalloonLeaderSize = u"5";
  const BalloonPlace place = AutomaticPlace(a, true);
  EXPECT_DOUBLE_EQ(place.centre.x, 5 + 7.5 * std::cos(45 * kDeg));
  EXPECT_DOUBLE_EQ(place.centre.y, 7.5 * std::sin(45 * kDeg));
  EXPECT_EQ(place.elementId, a.elementId);
  EXPECT_EQ(AutomaticPlace(a, false).elementId, 0);
}

TEST_F(AnchorTest, ACircleAnchorsAtItsTop) {
  const BalloonAnchor a = Top({Circle(0, 0, 2)});
  EXPECT_DOUBLE_EQ(a.point.x, 0);
  EXPECT_DOUBLE_EQ(a.point.y, 2);
  EXPECT_DOUBLE_EQ(a.leaderAngle, 45 * kDeg);
}

TEST_F(AnchorTest, AHorizontalLineBeatsTheFirstEndpointOfASlopingOne) {
  const BalloonAnchor a = Top({Line(0, 0, 10, 5), Line(20, 3, 30, 3)});
  EXPECT_DOUBLE_EQ(a.point.x, 25);
  EXPECT_DOUBLE_EQ(a.point.y, 3);
  EXPECT_DOUBLE_EQ(a.leaderAngle, 45 * kDeg);
  // Alone, the sloping line recorded its first endpoint and anchored at its middle.
  const BalloonAnchor sloping = Top({Line(0, 0, 10, 5)});
  EXPECT_DOUBLE_EQ(sloping.point.x, 5);
  EXPECT_DOUBLE_EQ(sloping.point.y, 2.5);
}

TEST_F(AnchorTest, ALineDrawnLeftwardsLeavesAt135Degrees) {
  const BalloonAnchor a = Top({Line(10, 0, 0, 5)});
  EXPECT_DOUBLE_EQ(a.point.x, 5);
  EXPECT_DOUBLE_EQ(a.point.y, 2.5);
  EXPECT_DOUBLE_EQ(a.leaderAngle, 135 * kDeg);
  // A vertical line never anchors at the top.
  EXPECT_FALSE(Top({Line(0, 0, 0, 5)}).found);
}

TEST_F(AnchorTest, AnArcWhoseStartIsItsHighestPointAnchorsThere) {
  // From 80 to 30 degrees clockwise: the top (90 degrees) is not on it; the start is highest.
  const double r = 10;
  const BalloonAnchor a = Top({Arc(0, 0, r, r * std::cos(80 * kDeg), r * std::sin(80 * kDeg),
                                   r * std::cos(30 * kDeg), r * std::sin(30 * kDeg), VEX_ARC_CW)});
  EXPECT_DOUBLE_EQ(a.point.x, r * std::cos(80 * kDeg));
  EXPECT_DOUBLE_EQ(a.leaderAngle, 135 * kDeg);  // a clockwise arc's start leaves up-left
  // An arc through its top anchors at the top.
  const BalloonAnchor over = Top({Arc(0, 0, r, r, 0, -r, 0)});
  EXPECT_DOUBLE_EQ(over.point.y, r);
  EXPECT_DOUBLE_EQ(over.leaderAngle, 45 * kDeg);
}

TEST_F(AnchorTest, EqualTopsKeepTheFirstElement) {
  const int id = AddSegment({Line(0, 5, 10, 5), Line(20, 5, 30, 5)});
  ExtremeBox box;
  BalloonAnchor anchor;
  FindExtremePoint({1, id}, box, kSideTop, anchor);
  EXPECT_EQ(anchor.elementId, VexSgmGetHeadElementId(id));
  EXPECT_DOUBLE_EQ(anchor.point.x, 5);
}

TEST_F(AnchorTest, EachSideFindsItsOwnExtreme) {
  // A square 0..10 with a circle poking out on the right.
  const int id = AddSegment({Line(0, 0, 10, 0), Line(10, 0, 10, 10), Line(10, 10, 0, 10),
                             Line(0, 10, 0, 0), Circle(12, 5, 1)});
  ExtremeBox box;
  BalloonAnchor sides[4];
  for (int s = 1; s <= 4; ++s)
    FindExtremePoint({1, id}, box, static_cast<ExtremeSide>(s), sides[s - 1]);
  EXPECT_DOUBLE_EQ(sides[0].point.y, 10);  // top: the top edge's middle
  EXPECT_DOUBLE_EQ(sides[0].point.x, 5);
  EXPECT_DOUBLE_EQ(sides[1].point.x, 0);  // left edge
  EXPECT_DOUBLE_EQ(sides[1].point.y, 5);
  EXPECT_DOUBLE_EQ(sides[1].leaderAngle, 135 * kDeg);
  EXPECT_DOUBLE_EQ(sides[2].point.y, 0);  // bottom edge
  EXPECT_DOUBLE_EQ(sides[2].leaderAngle, 225 * kDeg);
  EXPECT_DOUBLE_EQ(sides[3].point.x, 13);  // the circle's right
  EXPECT_DOUBLE_EQ(box.maxX, 13);
}

}  // namespace
