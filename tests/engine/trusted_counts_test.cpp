// Counts a person would make by eye: twins that touch other geometry, parts that are their own
// mirror image, lines drawn either way, parts made of circles and arcs. Each drawing is small
// and made by hand; every search must also find the indicated part at its own place.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "host/host.h"
#include "host/host_test_util.h"
#include "testkit/search_setup.h"

namespace {

using hosttest::AddSegment;
using hosttest::Arc;
using hosttest::Circle;
using hosttest::Line;

// A shape in its own coordinates: segments of figures.
using Shape = std::vector<std::vector<FigureRecord>>;

// How a copy of a shape is drawn: turned by `degrees` after mirroring in x (when asked), moved
// by (x, y); `reversed` draws every line and arc from its other end.
struct Pose {
  double x = 0, y = 0, degrees = 0;
  bool mirrored = false, reversed = false;
};

VexPoint Moved(const Pose& p, double u, double v) {
  if (p.mirrored) u = -u;
  const double t = p.degrees * std::numbers::pi / 180, c = std::cos(t), s = std::sin(t);
  return {p.x + u * c - v * s, p.y + u * s + v * c};
}

FigureRecord Posed(const FigureRecord& f, const Pose& p) {
  FigureRecord g = f;
  if (f.kind == VEX_FIG_LINE) {
    VexPoint a = Moved(p, f.u.line.x1, f.u.line.y1), b = Moved(p, f.u.line.x2, f.u.line.y2);
    if (p.reversed) std::swap(a, b);
    g.u.line = {a.x, a.y, b.x, b.y};
  } else if (f.kind == VEX_FIG_CIRCLE) {
    const VexPoint c = Moved(p, f.u.circle.cx, f.u.circle.cy);
    g.u.circle.cx = c.x;
    g.u.circle.cy = c.y;
  } else if (f.kind == VEX_FIG_ARC) {
    const VexPoint c = Moved(p, f.u.arc.cx, f.u.arc.cy);
    VexPoint s = Moved(p, f.u.arc.sx, f.u.arc.sy), e = Moved(p, f.u.arc.ex, f.u.arc.ey);
    int direction = f.u.arc.direction;
    if (p.mirrored) direction = direction == VEX_ARC_CCW ? VEX_ARC_CW : VEX_ARC_CCW;
    if (p.reversed) {
      std::swap(s, e);
      direction = direction == VEX_ARC_CCW ? VEX_ARC_CW : VEX_ARC_CCW;
    }
    g.u.arc = {c.x, c.y, s.x, s.y, e.x, e.y, f.u.arc.r, direction, 0};
  }
  return g;
}

std::vector<int> Draw(const Shape& shape, const Pose& pose) {
  std::vector<int> ids;
  for (const auto& segment : shape) {
    std::vector<FigureRecord> figures;
    for (const FigureRecord& f : segment) figures.push_back(Posed(f, pose));
    ids.push_back(AddSegment(figures));
  }
  return ids;
}

struct Found {
  std::set<std::set<int>> twins;
  int mirrored = 0;
  bool ok = false;
};

Found Search(const std::vector<int>& part, bool rotate, bool mirror) {
  twinfind::SearchOptions options;
  options.rotate = rotate;
  options.mirror = mirror;
  const twinfind::TwinResult result =
      drawgen::SearchTwins(drawgen::AllSegments(), part, options, true);
  Found found;
  found.ok = result.ok();
  for (const twinfind::MatchRecord& twin : result.twins) {
    std::set<int> ids;
    for (int i = 1; i <= twin.segmentCount(); ++i) ids.insert(twin.segment(i).segmentId);
    found.twins.insert(ids);
    found.mirrored += twin.mirrored;
  }
  return found;
}

std::set<int> SetOf(const std::vector<int>& ids) { return {ids.begin(), ids.end()}; }

class TrustedCountsTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  // Every option combination finds exactly the expected twins, none of them mirrored, the
  // indicated part among them; `turned` twins are found only with rotation on.
  void ExpectUnderEveryOption(const std::vector<int>& part,
                              const std::vector<std::vector<int>>& plain,
                              const std::vector<std::vector<int>>& turned = {}) {
    for (const bool rotate : {false, true}) {
      for (const bool mirror : {false, true}) {
        SCOPED_TRACE(std::string("rotate ") + (rotate ? "on" : "off") + ", mirror " +
                     (mirror ? "on" : "off"));
        std::set<std::set<int>> expected = {SetOf(part)};
        for (const auto& t : plain) expected.insert(SetOf(t));
        if (rotate) {
          for (const auto& t : turned) expected.insert(SetOf(t));
        }
        const Found found = Search(part, rotate, mirror);
        ASSERT_TRUE(found.ok);
        EXPECT_EQ(found.twins, expected);
        EXPECT_EQ(found.mirrored, 0);
      }
    }
  }
};

// Slots cut into a plate's edge, three lines each; the edge runs across their mouths in one
// line, or is drawn in pieces that meet the slots' ends.
TEST_F(TrustedCountsTest, SlotsCutIntoAPlateEdgeAreFoundNoneMirrored) {
  const Shape slot = {{Line(0, 0, 0, -5)}, {Line(0, -5, 4, -5)}, {Line(4, -5, 4, 0)}};
  for (const bool split : {false, true}) {
    SCOPED_TRACE(split ? "the edge in pieces" : "the edge across the mouths");
    vexhost::ResetHost();
    std::vector<std::vector<int>> slots;
    for (int i = 0; i < 4; ++i) slots.push_back(Draw(slot, {25.0 * i, 0}));
    if (split) {
      AddSegment({Line(-10, 0, 0, 0)});
      for (int i = 0; i < 3; ++i) AddSegment({Line(25.0 * i + 4, 0, 25.0 * (i + 1), 0)});
      AddSegment({Line(79, 0, 110, 0)});
    } else {
      AddSegment({Line(-10, 0, 110, 0)});
    }
    AddSegment({Line(-10, 0, -10, -40), Line(-10, -40, 110, -40), Line(110, -40, 110, 0)});
    ExpectUnderEveryOption(slots[0], {slots[1], slots[2], slots[3]});
  }
}

// Rectangles drawn as four loose lines, the first of them from right to left (so that the
// first candidate line a search meets fits only mirrored), each touched by a neighbour at a
// corner and along a side: all found, none a mirror image.
TEST_F(TrustedCountsTest, SymmetricCutOutsBesideTouchingNeighboursAreNoMirrorImages) {
  const Shape rectangle = {{Line(10, 6, 0, 6)},
                           {Line(0, 0, 10, 0)},
                           {Line(10, 0, 10, 6)},
                           {Line(0, 6, 0, 0)}};
  std::vector<std::vector<int>> plain, turned;
  for (int i = 0; i < 3; ++i) {
    const double x = 30.0 * i;
    plain.push_back(Draw(rectangle, {x, 0}));
    AddSegment({Line(x + 10, 6, x + 14, 9)});             // from a corner outwards
    AddSegment({Line(x + 2, 0, x + 2, -3), Line(x + 2, -3, x + 8, -3), Line(x + 8, -3, x + 8, 0)});
  }
  turned.push_back(Draw(rectangle, {0, 40, 90}));
  turned.push_back(Draw(rectangle, {40, 40, 210, false, true}));
  const std::vector<int> part = plain[0];
  plain.erase(plain.begin());
  ExpectUnderEveryOption(part, plain, turned);
}

// An L of two lines of different lengths, twins drawn with their lines the other way round:
// which way a line runs is never to be seen, so they count without rotation too.
TEST_F(TrustedCountsTest, LinesDrawnEitherWayCountWithoutRotation) {
  const Shape ell = {{Line(0, 0, 10, 0)}, {Line(0, 0, 0, 6)}};
  const auto part = Draw(ell, {});
  const auto same = Draw(ell, {20, 0});
  const auto reversed = Draw(ell, {40, 0, 0, false, true});
  const auto reversedToo = Draw(ell, {60, 0, 0, false, true});
  const auto turned = Draw(ell, {80, 0, 90, false, true});
  ExpectUnderEveryOption(part, {same, reversed, reversedToo}, {turned});
  // A mirror image (turned, as an L mirrored in x is) counts only when mirror images count.
  const auto mirrored = Draw(ell, {0, 30, 0, true});
  const Found found = Search(part, true, true);
  EXPECT_EQ(found.twins.size(), 6u);
  EXPECT_EQ(found.mirrored, 1);
  EXPECT_TRUE(found.twins.count(SetOf(mirrored)));
}

// Holes: a part of two concentric circles finds its equals and not the single holes of its
// outer size; a single hole finds single holes and not the outer circles of the pairs. A part
// of two circles apart is turned by where its second circle lies.
TEST_F(TrustedCountsTest, PartsOfCirclesAreFoundByTheirLargestCircle) {
  const Shape pair = {{Circle(0, 0, 3)}, {Circle(0, 0, 1.5)}};
  const Shape hole = {{Circle(0, 0, 3)}};
  const auto firstPair = Draw(pair, {});
  const auto pairs = std::vector<std::vector<int>>{Draw(pair, {20, 0}), Draw(pair, {40, 5})};
  const auto firstHole = Draw(hole, {0, 20});
  const auto holes = std::vector<std::vector<int>>{Draw(hole, {20, 20})};
  Draw({{Circle(0, 0, 1.5)}}, {40, 20});  // an inner circle alone is neither
  ExpectUnderEveryOption(firstPair, pairs);
  ExpectUnderEveryOption(firstHole, holes);

  vexhost::ResetHost();
  const Shape twoHoles = {{Circle(0, 0, 2)}, {Circle(5, 0, 1)}};
  const auto part = Draw(twoHoles, {});
  const auto moved = Draw(twoHoles, {20, 0});
  const auto turned = {Draw(twoHoles, {40, 0, 90}), Draw(twoHoles, {60, 0, 33})};
  Draw({{Circle(0, 0, 2)}, {Circle(4, 0, 1)}}, {0, 20});  // the second hole nearer: no twin
  ExpectUnderEveryOption(part, {moved}, turned);
}

// A part of arcs alone: the largest arc anchors it, its own end fixes the turn; a mirror image
// is one only where no turn fits.
TEST_F(TrustedCountsTest, PartsOfArcsAreFoundTurnedAndMirrored) {
  const Shape hook = {{Arc(0, 0, 5, 5, 0, 0, 5)}, {Arc(0, 7, 2, 0, 5, 2, 7)}};
  const auto part = Draw(hook, {});
  const auto moved = Draw(hook, {20, 0});
  const auto reversed = Draw(hook, {40, 0, 0, false, true});
  const auto turned = {Draw(hook, {60, 0, 120}), Draw(hook, {80, 0, 250, false, true})};
  ExpectUnderEveryOption(part, {moved, reversed}, turned);
  const auto mirrored = Draw(hook, {0, 30, 40, true});
  const Found found = Search(part, true, true);
  EXPECT_EQ(found.twins.size(), 6u);
  EXPECT_EQ(found.mirrored, 1);
  EXPECT_TRUE(found.twins.count(SetOf(mirrored)));
}

// A part of points alone still cannot be searched.
TEST_F(TrustedCountsTest, APartOfPointsAloneHasNoAnchor) {
  FigureRecord point{};
  point.kind = VEX_FIG_POINT;
  point.u.point = {1, 1};
  const int id = AddSegment({point});
  const twinfind::TwinResult result =
      drawgen::SearchTwins(drawgen::AllSegments(), {id}, twinfind::SearchOptions{});
  EXPECT_EQ(result.failure, twinfind::TwinFailure::kNoAnchorLine);
}

}  // namespace
