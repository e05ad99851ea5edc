// The part's angle and box geometry, and the two checks before a search.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/geometry.h"
#include "engine/part_checks.h"
#include "engine/twin_finder.h"
#include "host/host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Arc;
using hosttest::Circle;
using hosttest::Line;
using namespace twinfind;

constexpr double kPiTest = std::numbers::pi;

TEST(LineAngle, CoversEveryDirectionInZeroToTwoPi) {
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {1, 0}), 0.0);
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {1, 1}), 0.25 * kPiTest);
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {0, 5}), 0.5 * kPiTest);  // vertical, upwards
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {-1, 1}), 0.75 * kPiTest);
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {-1, 0}), kPiTest);
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {-1, -1}), 1.25 * kPiTest);
  EXPECT_DOUBLE_EQ(LineAngle({0, 5}, {0, 0}), 1.5 * kPiTest);  // vertical, downwards
  EXPECT_DOUBLE_EQ(LineAngle({0, 0}, {1, -1}), 1.75 * kPiTest);
  EXPECT_EQ(LineAngle({3, 3}, {3, 3}), 0.0);  // zero length
  const double nearlyFull = LineAngle({0, 0}, {1, -1e-9});
  EXPECT_LT(nearlyFull, 2 * kPiTest);
  EXPECT_GT(nearlyFull, 2 * kPiTest - 1e-8);
}

class PartTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  // Adds a segment to the part.
  int AddPart(const std::vector<FigureRecord>& figures, bool attr5 = false) {
    return AddToPart(AddSegment(figures), attr5);
  }
  int AddToPart(int id, bool attr5 = false) {
    if (attr5) vexhost::TheHost().drawing.FindSegment(id)->attributes |= 1u << VEX_ATTRIBUTE_5;
    part_.push_back({1, id});
    return id;
  }
  // Indicates the part as the part step does: the checks, then the anchor line.
  TwinFailure Indicate() { return IndicatePart(part_, &anchor); }
  AnchorLine anchor;

 private:
  std::vector<SegmentRef> part_;
};

VexBox BoxOf(const std::vector<FigureRecord>& figures) {
  const int id = AddSegment(figures);
  VexBox box = kResetBox;
  ExtendBoxBySegment({1, id}, box);
  return box;
}

void ExpectBox(const VexBox& box, double minX, double minY, double maxX, double maxY) {
  EXPECT_NEAR(box.minX, minX, 1e-12);
  EXPECT_NEAR(box.minY, minY, 1e-12);
  EXPECT_NEAR(box.maxX, maxX, 1e-12);
  EXPECT_NEAR(box.maxY, maxY, 1e-12);
}

TEST_F(PartTest, ArcsTakeInOnlyTheQuadrantPointsThatLieOnThem) {
  // A quarter arc from (5, 0) to (0, 5): its ends only.
  ExpectBox(BoxOf({Arc(0, 0, 5, 5, 0, 0, 5)}), 0, 0, 5, 5);
  // A half arc from (5, 0) to (-5, 0) through (0, 5).
  ExpectBox(BoxOf({Arc(0, 0, 5, 5, 0, -5, 0)}), -5, 0, 5, 5);
  // The same ends clockwise pass through (0, -5) instead.
  ExpectBox(BoxOf({Arc(0, 0, 5, 5, 0, -5, 0, VEX_ARC_CW)}), -5, -5, 5, 0);
  ExpectBox(BoxOf({Circle(1, 2, 3)}), -2, -1, 4, 5);
}

TEST_F(PartTest, SkippedSegmentsLeaveTheBoxAlone) {
  const int attr5 = AddSegment({Line(0, 0, 100, 100)});
  vexhost::TheHost().drawing.FindSegment(attr5)->attributes |= 1u << VEX_ATTRIBUTE_5;
  const int comments = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  FigureRecord k4{};
  k4.kind = VEX_FIG_KIND4;
  k4.u.kind4 = {50, 50, 60, 60, 1.0};
  const int kind4 = AddSegment({k4});
  VexBox box = kResetBox;
  for (const int id : {attr5, comments, kind4}) ExtendBoxBySegment({1, id}, box);
  ExpectBox(box, kBoxReset, kBoxReset, -kBoxReset, -kBoxReset);
}

TEST_F(PartTest, AnAttribute5SegmentOutsideTheWindowDoesNotFailTheRangeCheck) {
  AddPart({Line(0, 0, 10, 0), Line(10, 0, 10, 10)});
  AddPart({Line(500, 500, 600, 600)}, /*attr5=*/true);  // far away, and not in the box
  EXPECT_EQ(Indicate(), TwinFailure::kNone);
}

TEST_F(PartTest, APartSegmentTheBoxDoesNotCoverFailsTheRangeCheck) {
  AddPart({Line(0, 0, 10, 10)});
  FigureRecord k4{};
  k4.kind = VEX_FIG_KIND4;
  k4.u.kind4 = {50, 50, 60, 60, 1.0};
  AddPart({k4});  // kind 4 does not grow the box, so the window misses it
  EXPECT_EQ(Indicate(), TwinFailure::kPartNotInRange);
  // The working list is left empty.
  EXPECT_TRUE(vexhost::TheHost().lists.Contents(3).empty());
  EXPECT_FALSE(vexhost::TheHost().lists.IsOpen(3));
}

TEST_F(PartTest, APartTheBoxSkipsEntirelyLeavesAnInvertedWindowThatFindsNothing) {
  AddPart({Line(0, 0, 10, 10)}, /*attr5=*/true);
  FigureRecord k4{};
  k4.kind = VEX_FIG_KIND4;
  AddPart({k4});
  EXPECT_EQ(Indicate(), TwinFailure::kPartNotInRange);
}

TEST_F(PartTest, TheAnchorIsTheFirstLineOfTheFirstSegmentOfType0) {
  // Type 2: skipped (with attribute 5, so that the range check passes it).
  AddToPart(VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING), /*attr5=*/true);
  AddPart({Circle(0, 0, 1)});                        // no line: passed on
  const int withLine = AddPart({Circle(5, 5, 1), Line(10, 0, 10, -4), Line(0, 0, 1, 0)},
                               /*attr5=*/true);  // attribute 5 does not matter
  VexSgmChangeLayer(withLine, 12);
  LineAttr attr{3, 0, 0, 0, 6, 1};
  VexFigSetLineType2(VexSgmGetHeadElementId(withLine), &attr);
  ASSERT_EQ(Indicate(), TwinFailure::kNone);
  EXPECT_EQ(anchor.ref.segmentId, withLine);
  EXPECT_EQ(anchor.figureIndex, 1);
  EXPECT_DOUBLE_EQ(anchor.angle, 1.5 * kPiTest);
  EXPECT_DOUBLE_EQ(anchor.length, 4.0);
  EXPECT_EQ(anchor.start.x, 10);
  EXPECT_EQ(anchor.layer, 12);
  EXPECT_EQ(anchor.lineAttr.color, 3);
  EXPECT_EQ(anchor.lineAttr.lineType, 6);
}

TEST_F(PartTest, AFirstSegmentWithoutFiguresFailsEvenIfALaterOneHasALine) {
  AddToPart(VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING), /*attr5=*/true);
  AddPart({Line(0, 0, 1, 0)});
  EXPECT_EQ(Indicate(), TwinFailure::kNoAnchorLine);
}

TEST_F(PartTest, APartOfCirclesAndArcsIsAnchoredOnTheLargest) {
  AddPart({Circle(0, 0, 1)});
  const int arc = AddPart({Arc(0, 0, 5, 5, 0, 0, 5)});
  ASSERT_EQ(Indicate(), TwinFailure::kNone);
  EXPECT_EQ(anchor.ref.segmentId, arc);
  EXPECT_EQ(anchor.kind, VEX_FIG_ARC);
  EXPECT_DOUBLE_EQ(anchor.radius, 5);
  EXPECT_NEAR(anchor.arcLength, 2.5 * kPiTest, 1e-12);
  EXPECT_EQ(anchor.turn, AnchorTurn::kOwnEnd);  // its own start fixes the turn
  EXPECT_DOUBLE_EQ(anchor.angle, 0);
}

}  // namespace
