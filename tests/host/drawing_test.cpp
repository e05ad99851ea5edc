// The drawing database: ids, element walks, figures, line attributes, the user's range
// selection.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "host/host.h"
#include "host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Arc;
using hosttest::Circle;
using hosttest::Line;

class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
};

TEST_F(DrawingTest, IdsStartAtOneGrowAndAreNeverReused) {
  const int a = AddSegment({Line(0, 0, 1, 0)});
  const int b = AddSegment({Line(0, 0, 1, 0)});
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(VexSgmGetHeadElementId(a), 1);
  EXPECT_EQ(VexSgmGetHeadElementId(b), 2);
  ASSERT_EQ(VexSgmDeleteSegment(b), 0);
  EXPECT_EQ(VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING), 3);
  FigureRecord line = Line(0, 0, 2, 2);
  EXPECT_EQ(VexFigCreateFigure(3, &line), 3);
}

TEST_F(DrawingTest, CallsOnDeletedOrUnknownIdsFailAndChangeNothing) {
  const int a = AddSegment({Line(0, 0, 1, 0)});
  const int element = VexSgmGetHeadElementId(a);
  ASSERT_EQ(VexSgmDeleteSegment2(a), 0);
  FigureRecord f = Line(0, 0, 1, 1);
  SegmentRef ref{1, a};
  FigureRecord out[2];
  EXPECT_EQ(VexSgmDeleteSegment(a), -1);
  EXPECT_EQ(VexSgmGetType(a), -1);
  EXPECT_EQ(VexSgmGetLayer(a), -1);
  EXPECT_EQ(VexSgmChangeLayer(a, 3), -1);
  EXPECT_EQ(VexSgmGetHeadElementId(a), -1);
  EXPECT_EQ(VexElmGetType(element), -1);
  EXPECT_EQ(VexElmGetSegment(element), -1);
  EXPECT_EQ(VexFigCreateFigure(a, &f), -1);
  EXPECT_EQ(VexFigGetFigure2(&ref, out, 2), -1);
  EXPECT_EQ(VexIdSetBlinkSegmentId(&ref), -1);
  // A question about an unknown segment answers no, never a non-zero failure code.
  EXPECT_EQ(VexSgmHasAttribute(a, VEX_ATTRIBUTE_5), 0);
  EXPECT_EQ(vexhost::TheHost().drawing.SegmentCount(), 0u);
}

TEST_F(DrawingTest, SegmentsCarryKindLayerAttributesAndTheDrawingId) {
  VexLyrSetCurrentLayer(801);
  const int comments = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  EXPECT_EQ(VexSgmGetType(comments), VEX_SEGMENT_COMMENTS);
  EXPECT_EQ(VexSgmGetLayer(comments), 801);
  EXPECT_EQ(VexSgmCreateSegment(1, VEX_LIFE_LASTING), -1);
  EXPECT_EQ(VexSgmCreateSegment(VEX_SEGMENT_FIGURES, 1), -1);
  const int s = AddSegment({Line(0, 0, 1, 0)});
  EXPECT_EQ(vexhost::TheHost().drawing.FindSegment(s)->auxId, 1);
  vexhost::TheHost().drawing.FindSegment(s)->attributes |= 1u << VEX_ATTRIBUTE_5;
  EXPECT_NE(VexSgmHasAttribute(s, VEX_ATTRIBUTE_5), 0);
  EXPECT_EQ(VexSgmHasAttribute(s, 4), 0);
  EXPECT_EQ(VexSgmChangeLayer(s, 7), 0);
  EXPECT_EQ(VexSgmGetLayer(s), 7);
  // A comment segment holds no figures.
  FigureRecord line = Line(0, 0, 1, 1);
  EXPECT_EQ(VexFigCreateFigure(comments, &line), -1);
}

TEST_F(DrawingTest, ElementsWalkInOrderAndInsertGoesAfterTheGivenFigure) {
  const int s = AddSegment({Line(0, 0, 1, 0), Line(1, 0, 1, 1)});
  const int first = VexSgmGetHeadElementId(s);
  const int second = VexElmGetNextElementId(first);
  FigureRecord middle = Circle(5, 5, 1);
  const int inserted = VexFigInsertFigure(first, &middle);
  EXPECT_EQ(VexElmGetNextElementId(first), inserted);
  EXPECT_EQ(VexElmGetNextElementId(inserted), second);
  EXPECT_EQ(VexElmGetNextElementId(second), -1);
  EXPECT_EQ(VexElmGetType(inserted), VEX_ELEMENT_CIRCLE);
  EXPECT_EQ(VexElmGetSegment(inserted), s);

  FigureRecord figures[3];
  SegmentRef ref{1, s};
  ASSERT_EQ(VexFigGetFigure2(&ref, figures, 3), 3);
  EXPECT_EQ(figures[1].kind, VEX_FIG_CIRCLE);
  EXPECT_EQ(VexFigGetFigure2(&ref, figures, 2), 2);  // never more than the capacity
  SegmentRef wrongDrawing{2, s};
  EXPECT_EQ(VexFigGetFigure2(&wrongDrawing, figures, 3), -1);
  FigureRecord one{};
  SegmentRef elementRef{1, inserted};
  ASSERT_EQ(VexFigGetFigure(&elementRef, &one), 0);
  EXPECT_EQ(one.u.circle.r, 1.0);
}

TEST_F(DrawingTest, FiguresOfEveryKindKeepTheirBytesAndUnknownKindsAreRefused) {
  FigureRecord k5{};
  k5.kind = VEX_FIG_KIND5;
  k5.u.kind5 = {1, 2, 3, 4, 5, 6, 0.1, 0.2, 0.30000000000000004, 9, 0};
  FigureRecord point{};
  point.kind = VEX_FIG_POINT;
  point.u.point = {3, 4};
  FigureRecord bad{};
  bad.kind = 7;
  const int s = AddSegment({k5, point});
  EXPECT_EQ(VexFigCreateFigure(s, &bad), -1);
  FigureRecord out[2];
  SegmentRef ref{1, s};
  ASSERT_EQ(VexFigGetFigure2(&ref, out, 2), 2);
  EXPECT_EQ(std::memcmp(&out[0], &k5, sizeof k5), 0);
  EXPECT_EQ(VexElmGetType(VexElmGetNextElementId(VexSgmGetHeadElementId(s))), VEX_ELEMENT_POINT);
}

TEST_F(DrawingTest, LineAttributesThroughBothRecords) {
  const int s = AddSegment({Line(0, 0, 1, 0)});
  const int e = VexSgmGetHeadElementId(s);
  LineAttr attr{3, 1, 0, 0, 6, 9};
  ASSERT_EQ(VexFigSetLineType2(e, &attr), 0);
  VexLineTypeData data{};
  ASSERT_EQ(VexFigGetLineType(e, &data), 0);
  EXPECT_EQ(data.color, 3);
  EXPECT_EQ(data.lineType, 6);
  EXPECT_EQ(data.weight, 1);
  data.color = 5;
  ASSERT_EQ(VexFigSetLineType(e, &data), 0);
  LineAttr back{};
  ASSERT_EQ(VexFigGetLineType2(e, &back), 0);
  EXPECT_EQ(back.color, 5);
  EXPECT_EQ(back.attribute, 9);  // the short record leaves the rest alone
  EXPECT_EQ(VexFigGetLineType(9999, &data), -1);
}

// The user's range selects what lies wholly inside the window and has an element the
// step's filter accepts, in drawing order.
int OnlyCircles(int elementId) { return VexElmGetType(elementId) == VEX_ELEMENT_CIRCLE; }
int Stay(int, const VexEvent*) { return VEX_STEP_STAY; }
int StartSelecting() {
  VexEvtSetEventMask(VEX_MASK_RANGE);
  VexCtlSetExecuteFunc(Stay, u"");
  return 0;
}

TEST_F(DrawingTest, RangeSelectsWhatLiesWhollyInsideAndPassesTheFilter) {
  const int inside = AddSegment({Line(1, 1, 9, 9)});
  const int crossing = AddSegment({Line(5, 5, 15, 5)});
  const int circle = AddSegment({Circle(5, 5, 2)});
  // Two arcs from (9, 2) to (9, 8) about (6, 5): counter-clockwise it bulges out to
  // x = 10.24 beyond the window, clockwise it swings left through (1.76, 5) and stays inside.
  const double r = std::sqrt(18.0);
  const int bulgeOut = AddSegment({Arc(6, 5, r, 9, 2, 9, 8, VEX_ARC_CCW)});
  const int bulgeIn = AddSegment({Arc(6, 5, r, 9, 2, 9, 8, VEX_ARC_CW)});
  const int onEdge = AddSegment({Line(0, 0, 10, 0)});
  VexCtlRegisterVexLib2(StartSelecting, nullptr, nullptr);
  auto& host = vexhost::TheHost();
  ASSERT_TRUE(host.driver.Start());
  host.driver.Range({10, 10, 0, 0});  // corners in any order
  std::vector<int> ids;
  for (const auto& r : host.lists.selection()) ids.push_back(r.segmentId);
  EXPECT_EQ(ids, (std::vector<int>{inside, circle, bulgeIn, onEdge}));
  (void)crossing;
  (void)bulgeOut;
  VexEvtSetCompareFunction(OnlyCircles);
  host.driver.Range({0, 0, 10, 10});
  ASSERT_EQ(host.lists.selection().size(), 1u);
  EXPECT_EQ(host.lists.selection()[0].segmentId, circle);
}

}  // namespace

namespace {

// What the drawing tells about itself since its baseline, through the host calls the command
// makes: segments kept, recoloured, changed otherwise, deleted, added; and which new segments
// are placed copies of which baseline segment.
TEST_F(DrawingTest, TellsWhatChangedSinceItsBaselineAndWhatTheCopiesCopy) {
  vexhost::Drawing& d = vexhost::TheHost().drawing;
  std::vector<int> base;
  for (int i = 0; i < 6; ++i) base.push_back(AddSegment({Line(i, 0, i, 1), Circle(i, 5, 1)}));
  const int temporary = AddSegment({Line(0, 0, 1, 1)}, VEX_LIFE_TEMPORARY);
  d.MarkBaseline();
  EXPECT_EQ(d.ChangesSinceBaseline().kept, base);

  ASSERT_EQ(VexSgmDeleteSegment(base[0]), 0);
  VexLineTypeData look{3, 2, 0};
  for (int e = VexSgmGetHeadElementId(base[1]); e != -1; e = VexElmGetNextElementId(e)) {
    ASSERT_EQ(VexFigSetLineType(e, &look), 0);
  }
  const VexLineTypeData heavier{0, 0, 4};  // a pen weight alone is no change a file shows
  VexFigSetLineType(VexSgmGetHeadElementId(base[2]), &heavier);
  const VexPoint from{0, 0}, to{10, 20}, far{30, -5};
  ASSERT_EQ(VexSgmEditSegment(base[3], &from, &to, 0, 1, 1), base[3]);  // moved itself
  ASSERT_EQ(VexSgmChangeLayer(base[4], 7), 0);

  const int moved = VexSgmEditSegment(base[5], &from, &to, 0, 1, 0);
  const int movedAgain = VexSgmEditSegment(moved, &to, &far, 0, 1, 0);
  const int turned = VexSgmEditSegment(base[5], &from, &to, 90, 1, 0);
  const int recoloured = VexSgmEditSegment(base[5], &from, &far, 0, 1, 0);
  VexFigSetLineType(VexSgmGetHeadElementId(recoloured), &look);
  const int grown = VexSgmEditSegment(base[5], &from, &far, 0, 1, 0);
  const FigureRecord extra = Line(0, 0, 3, 3);
  VexFigCreateFigure(grown, &extra);
  const int elsewhere = VexSgmEditSegment(base[5], &from, &far, 0, 1, 0);
  VexSgmChangeLayer(elsewhere, 9);
  const int reshapedCopy = VexSgmEditSegment(base[3], &from, &far, 0, 1, 0);  // of a moved one
  const int fresh = AddSegment({Line(0, 0, 2, 2)});
  VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);  // empty: nothing to tell
  (void)temporary;

  const vexhost::BaselineChanges c = d.ChangesSinceBaseline();
  EXPECT_EQ(c.deleted, (std::vector<int>{base[0]}));
  EXPECT_EQ(c.restyled, (std::vector<int>{base[1]}));
  EXPECT_EQ(c.reshaped, (std::vector<int>{base[3], base[4]}));
  EXPECT_EQ(c.kept, (std::vector<int>{base[2], base[5]}));
  EXPECT_EQ(c.added, (std::vector<int>{moved, movedAgain, turned, recoloured, grown, elsewhere,
                                       reshapedCopy, fresh}));

  struct Expected {
    int copy;
    bool isCopy, restyled = false;
    double a = 0, b = 0, tx = 0, ty = 0;
  };
  for (const Expected& e :
       {Expected{moved, true, false, 1, 0, 10, 20}, Expected{movedAgain, true, false, 1, 0, 30, -5},
        Expected{turned, true, false, 0, -1, 10, 20},
        Expected{recoloured, true, true, 1, 0, 30, -5}, Expected{grown, false},
        Expected{elsewhere, false}, Expected{reshapedCopy, false}, Expected{fresh, false}}) {
    SCOPED_TRACE("segment " + std::to_string(e.copy));
    const auto origin = d.CopyOriginOf(e.copy);
    ASSERT_EQ(origin.has_value(), e.isCopy);
    if (!origin) continue;
    EXPECT_EQ(origin->source, base[5]);
    EXPECT_EQ(origin->restyled, e.restyled);
    EXPECT_NEAR(origin->placement.a, e.a, 1e-12);
    EXPECT_NEAR(origin->placement.b, e.b, 1e-12);
    EXPECT_NEAR(origin->placement.tx, e.tx, 1e-12);
    EXPECT_NEAR(origin->placement.ty, e.ty, 1e-12);
  }
}

}  // namespace
