// Geometric arithmetic, closed outlines, copies, mirrors, reversal and hole records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/host.h"
#include "host/outline.h"
#include "host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Arc;
using hosttest::Circle;
using hosttest::Line;
using hosttest::ListIds;

class GeometryTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  static std::vector<FigureRecord> Figures(int segmentId) {
    std::vector<FigureRecord> figures(50);
    const SegmentRef ref{1, segmentId};
    figures.resize(VexFigGetFigure2(&ref, figures.data(), 50));
    return figures;
  }
};

TEST_F(GeometryTest, PointsAgainstAnOutlineOfLinesAndArcs) {
  // A square 0..10 with its right side bulging out as a half circle to x = 15.
  const std::vector<FigureRecord> outline = {Line(0, 0, 10, 0), Arc(10, 5, 5, 10, 0, 10, 10),
                                             Line(10, 10, 0, 10), Line(0, 10, 0, 0)};
  auto outside = [&](double x, double y) {
    const VexPoint p{x, y};
    return VexAriIochkPnt(outline.data(), 4, &p);
  };
  EXPECT_EQ(outside(5, 5), 0);
  EXPECT_EQ(outside(14, 5), 0);  // in the bulge
  EXPECT_EQ(outside(14, 9), 1);  // beside it
  EXPECT_EQ(outside(-1, 5), 1);
  EXPECT_EQ(outside(15, 5), 0);  // on the outline is not outside
  EXPECT_EQ(outside(0, 3), 0);
  EXPECT_EQ(outside(-3, 10), 1);  // level with a corner
  EXPECT_EQ(outside(-3, 0), 1);
  EXPECT_EQ(outside(5, 10.0000001), 1);
  // Within the on-outline distance beyond the outline's extremes, the bulge's among them.
  EXPECT_EQ(outside(15 + 5e-10, 5), 0);
  EXPECT_EQ(outside(15 + 1e-8, 5), 1);
  EXPECT_EQ(outside(5, -5e-10), 0);
  EXPECT_EQ(outside(-5e-10, 10 + 5e-10), 0);
  // One outline prepared once answers as the one-point call does.
  const vexhost::Outline prepared(outline.data(), 4);
  for (const auto& [x, y] : {std::pair{5.0, 5.0},
                             {14.0, 9.0},
                             {15.0, 5.0},
                             {15 + 5e-10, 5.0},
                             {-3.0, 10.0},
                             {5.0, 10.0000001}}) {
    EXPECT_EQ(prepared.IsOutside(x, y), outside(x, y) == 1) << x << ", " << y;
  }
  // A circle as the outline.
  const FigureRecord circle = Circle(0, 0, 2);
  const VexPoint in{1, 1}, out{2, 2}, top{0, 2};
  EXPECT_EQ(VexAriIochkPnt(&circle, 1, &in), 0);
  EXPECT_EQ(VexAriIochkPnt(&circle, 1, &out), 1);
  EXPECT_EQ(VexAriIochkPnt(&circle, 1, &top), 0);
}

TEST_F(GeometryTest, PointsOnArcs) {
  const FigureRecord arc = Arc(0, 0, 5, 5, 0, 0, 5);
  const VexPoint on{5 * std::cos(0.3), 5 * std::sin(0.3)}, beyond{-5, 0}, off{4.9, 0.5};
  EXPECT_EQ(VexAriOnchkArc(&arc, &on), 2);
  EXPECT_EQ(VexAriOnchkArc(&arc, &beyond), 0);
  EXPECT_EQ(VexAriOnchkArc(&arc, &off), 0);
  const FigureRecord clockwise = Arc(0, 0, 5, 5, 0, 0, 5, VEX_ARC_CW);
  EXPECT_EQ(VexAriOnchkArc(&clockwise, &beyond), 2);
  EXPECT_EQ(VexAriOnchkArc(&clockwise, &on), 0);
}

TEST_F(GeometryTest, LineIntersections) {
  const FigureRecord a = Line(0, 0, 10, 0), b = Line(3, -1, 3, 1), c = Line(0, 5, 1, 5);
  VexPoint p{};
  ASSERT_EQ(VexAriItsLinLin(0, &a, &b, &p), 1);
  EXPECT_DOUBLE_EQ(p.x, 3);
  EXPECT_DOUBLE_EQ(p.y, 0);
  EXPECT_EQ(VexAriItsLinLin(0, &a, &c, &p), 0);  // parallel
  const FigureRecord d = Line(20, 20, 21, 22);   // the infinite lines meet beyond the figures
  EXPECT_EQ(VexAriItsLinLin(0, &a, &d, &p), 1);
  EXPECT_DOUBLE_EQ(p.x, 10);
  const VexPoint o{0, 0}, q{3, 4};
  EXPECT_DOUBLE_EQ(VexAriLen2Pnts(&o, &q), 5.0);
}

TEST_F(GeometryTest, ClosedOutlinesInAnyFigureOrder) {
  // The frame of a rectangle as the frame drawing makes it: LL-LR, UL-LL, UR-UL, LR-UR.
  EXPECT_EQ(VexFigIsClosed(AddSegment(
                {Line(0, 0, 10, 0), Line(0, 5, 0, 0), Line(10, 5, 0, 5), Line(10, 0, 10, 5)})),
            1);
  EXPECT_EQ(VexFigIsClosed(AddSegment({Circle(0, 0, 1)})), 1);
  EXPECT_EQ(VexFigIsClosed(AddSegment({Line(0, 0, 10, 0), Line(10, 0, 10, 5)})), 0);
  EXPECT_EQ(VexFigIsClosed(AddSegment({Circle(0, 0, 1), Line(0, 0, 1, 0)})), 0);
  // Two separate triangles are not one closed chain.
  EXPECT_EQ(VexFigIsClosed(AddSegment({Line(0, 0, 1, 0), Line(1, 0, 0, 1), Line(0, 1, 0, 0),
                                       Line(5, 0, 6, 0), Line(6, 0, 5, 1), Line(5, 1, 5, 0)})),
            0);
  // Joints within a millionth close the chain.
  EXPECT_EQ(VexFigIsClosed(AddSegment({Line(0, 0, 10, 0), Arc(5, 0, 5, 10, 0, 0.0000005, 0)})), 1);
  EXPECT_EQ(VexFigIsClosed(9999), 0);
}

TEST_F(GeometryTest, OutlinesThatPassAPointTwiceAreClosedAndExact) {
  // A square with a slot cut in along y = 5 and out again the same way: the outline passes
  // (10, 5) and (4, 5) twice. Then a figure eight: two squares touching at (10, 10).
  const std::vector<FigureRecord> slot = {
      Line(0, 0, 10, 0),   Line(10, 0, 10, 5),  Line(10, 5, 4, 5), Line(4, 5, 10, 5),
      Line(10, 5, 10, 10), Line(10, 10, 0, 10), Line(0, 10, 0, 0)};
  // A notch: the outline dips down to (5, 6) and back up between (3, 10) and (7, 10).
  const std::vector<FigureRecord> notch = {
      Line(0, 0, 10, 0), Line(10, 0, 10, 10), Line(10, 10, 7, 10), Line(7, 10, 5, 6),
      Line(5, 6, 3, 10), Line(3, 10, 0, 10),  Line(0, 10, 0, 0)};
  const std::vector<FigureRecord> eight = {
      Line(0, 0, 10, 0),    Line(10, 0, 10, 10),  Line(10, 10, 20, 10), Line(20, 10, 20, 20),
      Line(20, 20, 10, 20), Line(10, 20, 10, 10), Line(10, 10, 0, 10),  Line(0, 10, 0, 0)};
  std::vector<FigureRecord> shuffled = eight;
  std::reverse(shuffled.begin(), shuffled.end());
  std::swap(shuffled[1], shuffled[5]);
  const std::vector<FigureRecord> eightApart = {
      eight[0],           eight[1], eight[6], eight[7], Line(30, 0, 40, 0), Line(40, 0, 30, 10),
      Line(30, 10, 30, 0)};
  struct Case {
    const char* what;
    std::vector<FigureRecord> figures;
    int closed;
  };
  for (const Case& c : {Case{"slot in and out", slot, 1}, Case{"notch", notch, 1},
                        Case{"figure eight", eight, 1}, Case{"figure eight shuffled", shuffled, 1},
                        Case{"square and a triangle apart", eightApart, 0},
                        Case{"slot without its way out",
                             {slot[0], slot[1], slot[2], slot[4], slot[5], slot[6]},
                             0}}) {
    EXPECT_EQ(VexFigIsClosed(AddSegment(c.figures)), c.closed) << c.what;
  }
  auto outside = [](const std::vector<FigureRecord>& f, double x, double y) {
    const VexPoint p{x, y};
    return VexAriIochkPnt(f.data(), static_cast<int>(f.size()), &p);
  };
  EXPECT_EQ(outside(notch, 5, 8), 1);  // in the notch
  EXPECT_EQ(outside(notch, 5, 5), 0);  // below it
  EXPECT_EQ(outside(notch, 2, 9), 0);
  EXPECT_EQ(outside(slot, 6, 5), 0);    // on the slot's line
  EXPECT_EQ(outside(slot, 6, 5.5), 0);  // beside it, inside the square
  EXPECT_EQ(outside(eight, 5, 5), 0);
  EXPECT_EQ(outside(eight, 15, 15), 0);
  EXPECT_EQ(outside(eight, 15, 5), 1);
  EXPECT_EQ(outside(eight, 5, 15), 1);
}

// Nothing is made or placed beyond the drawing's reach (1e15): figures, texts, balloons, copies
// and moves are refused and leave the drawing as it was.
TEST_F(GeometryTest, NothingGoesBeyondTheDrawingsReach) {
  const int s = AddSegment({Line(0, 0, 10, 0)});
  const FigureRecord beyond = Line(0, 0, 2e15, 0);
  EXPECT_EQ(VexFigCreateFigure(s, &beyond), -1);
  FigureRecord nan = Line(0, 0, 1, 0);
  nan.u.line.y2 = std::nan("");
  EXPECT_EQ(VexFigCreateFigure(s, &nan), -1);
  const int comments = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  NormalTextData text{};
  text.x = 3e15;
  text.text = u"far";
  text.size1 = text.size2 = 1;
  EXPECT_EQ(VexCmtCreateNormal(comments, &text), -1);
  vexhost::TheHost().lists.Replace(5, {{s, 1}});
  const size_t count = vexhost::TheHost().drawing.SegmentCount();
  const VexPoint base{0, 0}, far{9.99999999999999e14, 0}, near{5e14, 0};
  EXPECT_EQ(VexSgmEditSegment2(5, &base, &far, 0.0, 1.0, 0, 6), -1);  // its end would pass
  EXPECT_EQ(VexSgmEditSegment(s, &base, &far, 0.0, 1.0, 1), -1);
  EXPECT_EQ(vexhost::TheHost().drawing.SegmentCount(), count);
  EXPECT_EQ(Figures(s)[0].u.line.x2, 10);
  EXPECT_EQ(VexSgmEditSegment2(5, &base, &near, 0.0, 1.0, 0, 6), 0);
}

TEST_F(GeometryTest, CopiesAreMovedThenTurnedAboutTheTarget) {
  const int s = AddSegment({Line(0, 0, 10, 0), Arc(10, 5, 5, 10, 0, 10, 10)});
  vexhost::TheHost().lists.Replace(5, {{s, 1}});
  const VexPoint base{0, 0}, target{100, 50};
  ASSERT_EQ(VexSgmEditSegment2(5, &base, &target, 90.0, 1.0, 0, 6), 0);
  const auto copies = ListIds(6);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_NE(copies[0], s);
  const auto f = Figures(copies[0]);
  EXPECT_NEAR(f[0].u.line.x2, 100, 1e-12);
  EXPECT_NEAR(f[0].u.line.y2, 60, 1e-12);
  EXPECT_NEAR(f[1].u.arc.cx, 95, 1e-12);
  EXPECT_NEAR(f[1].u.arc.cy, 60, 1e-12);
  EXPECT_EQ(f[1].u.arc.direction, VEX_ARC_CCW);
  EXPECT_EQ(Figures(s)[0].u.line.x2, 10);  // the source stays
  // Scaled copies grow radii too; a list naming a deleted segment copies nothing.
  ASSERT_EQ(VexSgmEditSegment2(5, &base, &base, 0.0, 2.0, 0, 6), 0);
  EXPECT_DOUBLE_EQ(Figures(ListIds(6)[0])[1].u.arc.r, 10);
  VexSgmDeleteSegment(s);
  const size_t count = vexhost::TheHost().drawing.SegmentCount();
  EXPECT_EQ(VexSgmEditSegment2(5, &base, &target, 0.0, 1.0, 0, 6), -1);
  EXPECT_EQ(vexhost::TheHost().drawing.SegmentCount(), count);
}

TEST_F(GeometryTest, CopiesKeepLayerAttributesLineTypesAndHoles) {
  const int s = AddSegment({Circle(0, 0, 3)});
  auto& drawing = vexhost::TheHost().drawing;
  VexSgmChangeLayer(s, 4);
  drawing.FindSegment(s)->attributes |= 1u << VEX_ATTRIBUTE_5;
  LineAttr attr{7, 0, 0, 0, 3, 2};
  VexFigSetLineType2(VexSgmGetHeadElementId(s), &attr);
  drawing.AttachHole(s, HoleData{}, {HoleItem{}});
  const VexPoint o{0, 0};
  const int copy = VexSgmEditSegment(s, &o, &o, 0.0, 1.0, 0);
  ASSERT_GT(copy, s);
  EXPECT_EQ(VexSgmGetLayer(copy), 4);
  EXPECT_NE(VexSgmHasAttribute(copy, VEX_ATTRIBUTE_5), 0);
  LineAttr back{};
  VexFigGetLineType2(VexSgmGetHeadElementId(copy), &back);
  EXPECT_EQ(back.color, 7);
  const SegmentRef copyRef{1, copy}, sourceRef{1, s};
  EXPECT_NE(VexHolGetHoleId(&copyRef), -1);
  EXPECT_NE(VexHolGetHoleId(&copyRef), VexHolGetHoleId(&sourceRef));
}

TEST_F(GeometryTest, MirroringWithMoveReplacesTheSourcesAndFlipsArcs) {
  const int s = AddSegment({Line(1, 1, 4, 2), Arc(0, 5, 2, 2, 5, 0, 7)});
  vexhost::TheHost().lists.Replace(6, {{s, 1}});
  const VexPoint p1{0, 0}, p2{1, 0};  // the x axis
  const size_t count = vexhost::TheHost().drawing.SegmentCount();
  ASSERT_EQ(VexSgmMirrorSegment2(6, &p1, &p2, 0, 1, 8), 0);
  EXPECT_EQ(ListIds(8), std::vector<int>{s});
  EXPECT_EQ(vexhost::TheHost().drawing.SegmentCount(), count);  // nothing left behind
  const auto f = Figures(s);
  EXPECT_DOUBLE_EQ(f[0].u.line.y1, -1);
  EXPECT_DOUBLE_EQ(f[0].u.line.y2, -2);
  EXPECT_DOUBLE_EQ(f[1].u.arc.cy, -5);
  EXPECT_DOUBLE_EQ(f[1].u.arc.ey, -7);
  EXPECT_EQ(f[1].u.arc.direction, VEX_ARC_CW);
  // Searches see the segment where it went.
  const VexBox below{-5, -10, 5, -0.5};
  ASSERT_EQ(VexSgmSearchSegment2(&below, nullptr, 7), 0);
  EXPECT_EQ(ListIds(7), std::vector<int>{s});
  EXPECT_EQ(VexSgmMirrorSegment2(6, &p1, &p1, 0, 1, 8), -1);  // no axis
}

TEST_F(GeometryTest, ReversingSwapsEndsFlipsArcsAndTurnsTheOrder) {
  const int s = AddSegment({Line(0, 0, 1, 0), Arc(1, 1, 1, 1, 0, 2, 1), Circle(9, 9, 1)});
  ASSERT_EQ(VexFigReverse(s), 0);
  const auto f = Figures(s);
  EXPECT_EQ(f[0].kind, VEX_FIG_CIRCLE);
  EXPECT_EQ(f[1].u.arc.sx, 2);
  EXPECT_EQ(f[1].u.arc.ex, 1);
  EXPECT_EQ(f[1].u.arc.direction, VEX_ARC_CW);
  EXPECT_EQ(f[2].u.line.x1, 1);
  EXPECT_EQ(VexFigReverse(9999), -1);
}

TEST_F(GeometryTest, HoleRecordsAreLentUntilFreed) {
  const int s = AddSegment({Circle(0, 0, 3)});
  HoleItem item{};
  item.diameter = 6;
  HoleData header{};
  header.variant = 0;
  const int holeId = vexhost::TheHost().drawing.AttachHole(s, header, {item, item});
  const SegmentRef ref{1, s};
  ASSERT_EQ(VexHolGetHoleId(&ref), holeId);
  HoleData data{};
  ASSERT_EQ(VexHolGetHoleData(holeId, &data), 0);
  EXPECT_EQ(data.itemCount, 2);
  EXPECT_EQ(data.items[1].diameter, 6);
  auto& ledger = vexhost::TheHost().holes;
  EXPECT_EQ(ledger.outstanding(), 1u);
  VexHoleFreeHoleData(&data);
  EXPECT_EQ(ledger.outstanding(), 0u);
  EXPECT_EQ(data.items, nullptr);
  VexHoleFreeHoleData(&data);  // twice: nothing happens
  EXPECT_EQ(ledger.freed(), 1u);
  EXPECT_EQ(VexHolGetHoleData(holeId + 100, &data), -1);
  const int plain = AddSegment({Circle(0, 0, 3)});
  const SegmentRef plainRef{1, plain};
  EXPECT_EQ(VexHolGetHoleId(&plainRef), -1);
}

}  // namespace
