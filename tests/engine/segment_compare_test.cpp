// Comparing two segments, and a segment against a closed outline. After every comparison the
// drawing holds what it held before and every hole record read has been freed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/segment_compare.h"
#include "host/host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Arc;
using hosttest::Circle;
using hosttest::Line;
using twinfind::InsideAnswer;
using twinfind::IsInsideClosedSegment;
using twinfind::SegmentsCoincide;

class CompareTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  void TearDown() override {
    // No stray geometry, no hole record left unfreed.
    auto& host = vexhost::TheHost();
    EXPECT_EQ(host.drawing.SegmentCount(), segmentsBefore_);
    EXPECT_EQ(host.holes.outstanding(), 0u);
  }
  // Adds a segment; the count of segments the drawing must keep.
  SegmentRef Add(const std::vector<FigureRecord>& figures) {
    const int id = AddSegment(figures);
    segmentsBefore_ = vexhost::TheHost().drawing.SegmentCount();
    return {1, id};
  }
  bool Coincide(const std::vector<FigureRecord>& a, const std::vector<FigureRecord>& b) {
    const SegmentRef ra = Add(a), rb = Add(b);
    return SegmentsCoincide(ra, rb);
  }

  size_t segmentsBefore_ = 0;
};

std::vector<FigureRecord> Polyline(double dx) {
  return {Line(0 + dx, 0, 10 + dx, 0), Line(10 + dx, 0, 10 + dx, 5),
          Arc(5 + dx, 5, 5, 10 + dx, 5, 0 + dx, 5), Line(0 + dx, 5, 0 + dx, 0)};
}

TEST_F(CompareTest, ReversedLinesCoincideThroughTheReversedCopy) {
  EXPECT_TRUE(Coincide({Line(0, 0, 10, 3)}, {Line(10, 3, 0, 0)}));
  // A reversed polyline: its figures in the other order, each drawn the other way.
  std::vector<FigureRecord> reversed = {Line(0, 0, 0, 5), Arc(5, 5, 5, 0, 5, 10, 5, VEX_ARC_CW),
                                        Line(10, 5, 10, 0), Line(10, 0, 0, 0)};
  EXPECT_TRUE(Coincide(Polyline(0), reversed));
}

TEST_F(CompareTest, CoordinatesAgreeWithinOneThousandth) {
  EXPECT_TRUE(Coincide(Polyline(0), Polyline(0.0005)));
  EXPECT_FALSE(Coincide(Polyline(0), Polyline(0.002)));
}

TEST_F(CompareTest, FiguresMustAgreeInKindAndEveryField) {
  FigureRecord flagged = Circle(0, 0, 2);
  flagged.u.circle.flag = 1;
  EXPECT_FALSE(Coincide({Circle(0, 0, 2)}, {flagged}));
  EXPECT_TRUE(Coincide({Circle(0, 0, 2)}, {Circle(0.0009, 0, 2)}));
  EXPECT_FALSE(Coincide({Arc(0, 0, 5, 5, 0, 0, 5)}, {Arc(0, 0, 5, 5, 0, 0, 5, VEX_ARC_CW)}));
  // Segments of three and four figures never coincide.
  EXPECT_FALSE(Coincide({Line(0, 0, 1, 0), Line(1, 0, 1, 1), Line(1, 1, 0, 0)},
                        {Line(0, 0, 1, 0), Line(1, 0, 1, 1), Line(1, 1, 0, 0), Line(0, 0, 1, 0)}));
}

TEST_F(CompareTest, TheRealOfKind4ComparesBitForBit) {
  FigureRecord a{};
  a.kind = VEX_FIG_KIND4;
  a.u.kind4 = {0, 0, 10, 0, 0.1 + 0.2};
  FigureRecord b = a;
  EXPECT_TRUE(Coincide({a}, {b}));
  b.u.kind4.value = 0.3;  // differs in the last bit only
  EXPECT_FALSE(Coincide({a}, {b}));
  a.u.kind4.value = 0.0;
  b.u.kind4.value = -0.0;
  EXPECT_FALSE(Coincide({a}, {b}));
  b = a;
  b.u.kind4.x2 = 10.0005;  // points are compared within the tolerance
  EXPECT_TRUE(Coincide({a}, {b}));
}

TEST_F(CompareTest, SegmentsOfMoreThanAHundredFiguresAreComparedWhole) {
  std::vector<FigureRecord> a, b;
  for (int i = 0; i < 150; ++i) a.push_back(Line(i, 0, i + 1, 0));
  b = a;
  EXPECT_TRUE(Coincide(a, b));
  b[140] = Line(140, 0, 141, 1);
  EXPECT_FALSE(Coincide(a, b));
}

// Hole records: the circles by figure index, then the visible items.
class HoleCompareTest : public CompareTest {
 protected:
  static HoleItem Item(int layer, double diameter) {
    HoleItem item{};
    item.layer = layer;
    item.diameter = diameter;
    item.depth = 8;
    std::memcpy(item.name, u"M6", sizeof(u"M6"));
    return item;
  }
  SegmentRef AddWithHole(const std::vector<FigureRecord>& figures, std::vector<HoleItem> items) {
    const SegmentRef ref = Add(figures);
    HoleData header{};
    vexhost::TheHost().drawing.AttachHole(ref.segmentId, header, std::move(items));
    return ref;
  }
};

TEST_F(HoleCompareTest, ItemsDifferingOnlyOnAnInvisibleLayerCoincide) {
  vexhost::TheHost().drawing.SetLayerVisible(9, false);
  const auto a = AddWithHole({Circle(0, 0, 3), Circle(10, 0, 3)}, {Item(1, 6), Item(9, 4)});
  const auto b = AddWithHole({Circle(0, 0, 3), Circle(10, 0, 3)}, {Item(1, 6)});
  EXPECT_TRUE(SegmentsCoincide(a, b));
  const auto c = AddWithHole({Circle(0, 0, 3), Circle(10, 0, 3)}, {Item(1, 6.5)});
  EXPECT_FALSE(SegmentsCoincide(a, c));
  EXPECT_EQ(vexhost::TheHost().holes.handedOut(), 4u);
}

TEST_F(HoleCompareTest, CirclesInAnotherFigureOrderDoNotCoincide) {
  const auto a = AddWithHole({Circle(0, 0, 3), Circle(10, 0, 3)}, {Item(1, 6)});
  const auto b = AddWithHole({Circle(10, 0, 3), Circle(0, 0, 3)}, {Item(1, 6)});
  EXPECT_FALSE(SegmentsCoincide(a, b));
  // Without hole records the figure route pairs them in any order.
  EXPECT_TRUE(Coincide({Circle(0, 0, 3), Circle(10, 0, 3)}, {Circle(10, 0, 3), Circle(0, 0, 3)}));
}

TEST_F(HoleCompareTest, AHoleRecordOnOneSideOnlyIsFreedAndTheFiguresDecide) {
  const auto a = AddWithHole({Circle(0, 0, 3)}, {Item(1, 6)});
  const auto b = Add({Circle(0, 0, 3)});
  EXPECT_TRUE(SegmentsCoincide(a, b));
  EXPECT_EQ(vexhost::TheHost().holes.handedOut(), 1u);
}

TEST_F(HoleCompareTest, DepthCountsOnlyForBlindHoles) {
  HoleItem through = Item(1, 6);
  through.throughFlag = 1;
  HoleItem otherDepth = through;
  otherDepth.depth = 20;
  const auto a = AddWithHole({Circle(0, 0, 3)}, {through});
  const auto b = AddWithHole({Circle(0, 0, 3)}, {otherDepth});
  EXPECT_TRUE(SegmentsCoincide(a, b));
  HoleItem blind = Item(1, 6), blindOther = Item(1, 6);
  blindOther.depth = 20;
  EXPECT_FALSE(SegmentsCoincide(AddWithHole({Circle(0, 0, 3)}, {blind}),
                                AddWithHole({Circle(0, 0, 3)}, {blindOther})));
}

// A closed outline: a slot 0..20 x 0..10 with round ends.
std::vector<FigureRecord> Slot() {
  return {Line(5, 0, 15, 0), Arc(15, 5, 5, 15, 0, 15, 10), Line(15, 10, 5, 10),
          Arc(5, 5, 5, 5, 10, 5, 0)};
}

TEST_F(CompareTest, OnlyClosedOutlinesAndSegmentsOfType0AreHandled) {
  const SegmentRef open = Add({Line(0, 0, 10, 0), Line(10, 0, 10, 10)});
  const SegmentRef inner = Add({Circle(5, 2, 1)});
  EXPECT_FALSE(IsInsideClosedSegment(open, inner).handled);
  const SegmentRef slot = Add(Slot());
  const int comments = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  segmentsBefore_ = vexhost::TheHost().drawing.SegmentCount();
  EXPECT_FALSE(IsInsideClosedSegment(slot, {1, comments}).handled);
}

TEST_F(CompareTest, InsideMeansEveryTestedPointIsInsideOrOnTheOutline) {
  const SegmentRef slot = Add(Slot());
  const InsideAnswer hole = IsInsideClosedSegment(slot, Add({Circle(10, 5, 2)}));
  EXPECT_TRUE(hole.handled);
  EXPECT_TRUE(hole.inside);
  // Inside the round end, beyond the straight part.
  EXPECT_TRUE(IsInsideClosedSegment(slot, Add({Circle(18, 5, 1.5)})).inside);
  // A circle whose centre is inside but whose rim crosses the outline.
  const InsideAnswer crossing = IsInsideClosedSegment(slot, Add({Circle(10, 9, 2)}));
  EXPECT_TRUE(crossing.handled);
  EXPECT_FALSE(crossing.inside);
  // A line touching the outline from inside is inside; one poking out is not.
  EXPECT_TRUE(IsInsideClosedSegment(slot, Add({Line(5, 0, 5, 10)})).inside);
  EXPECT_FALSE(IsInsideClosedSegment(slot, Add({Line(5, 5, 25, 5)})).inside);
  // Outside in the corner that the round end leaves out.
  EXPECT_FALSE(IsInsideClosedSegment(slot, Add({Line(19.5, 9.5, 19.6, 9.6)})).inside);
}

}  // namespace
