// The geometry an import gives the host: plain entities, polylines with bulges, block
// references placed, turned, scaled and mirrored, entities seen from below.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <set>

#include "dxf/dxf_import.h"
#include "dxf_test_util.h"

namespace {

using dxftest::FiguresOf;
using dxftest::File;
using dxftest::Groups;

constexpr double kTol = 1e-9;

// A drawing holding what the text imports to.
struct Imported : vexhost::Drawing {
  explicit Imported(const std::string& text, twinfind::dxf::ImportResult* out = nullptr) {
    auto result = twinfind::dxf::ImportDxfText(text, *this);
    EXPECT_TRUE(result.ok) << result.error;
    if (out) *out = result;
  }
};

void ExpectArc(const FigureRecord& f, double cx, double cy, double r, double sx, double sy,
               double ex, double ey, int direction) {
  ASSERT_EQ(f.kind, VEX_FIG_ARC);
  EXPECT_NEAR(f.u.arc.cx, cx, kTol);
  EXPECT_NEAR(f.u.arc.cy, cy, kTol);
  EXPECT_NEAR(f.u.arc.r, r, kTol);
  EXPECT_NEAR(f.u.arc.sx, sx, kTol);
  EXPECT_NEAR(f.u.arc.sy, sy, kTol);
  EXPECT_NEAR(f.u.arc.ex, ex, kTol);
  EXPECT_NEAR(f.u.arc.ey, ey, kTol);
  EXPECT_EQ(f.u.arc.direction, direction);
}

void ExpectLine(const FigureRecord& f, double x1, double y1, double x2, double y2) {
  ASSERT_EQ(f.kind, VEX_FIG_LINE);
  EXPECT_NEAR(f.u.line.x1, x1, kTol);
  EXPECT_NEAR(f.u.line.y1, y1, kTol);
  EXPECT_NEAR(f.u.line.x2, x2, kTol);
  EXPECT_NEAR(f.u.line.y2, y2, kTol);
}

// A number written in full (std::to_string keeps six decimals only).
std::string Number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

std::string Lwpolyline(const std::vector<std::array<double, 3>>& vertices, bool closed,
                       std::vector<std::pair<int, std::string>> extra = {}) {
  std::vector<std::pair<int, std::string>> g = {
      {0, "LWPOLYLINE"}, {8, "0"}, {90, std::to_string(vertices.size())}, {70, closed ? "1" : "0"}};
  g.insert(g.end(), extra.begin(), extra.end());
  for (const auto& v : vertices) {
    g.push_back({10, Number(v[0])});
    g.push_back({20, Number(v[1])});
    if (v[2] != 0) g.push_back({42, Number(v[2])});
  }
  return Groups(g);
}

TEST(ImportGeometryTest, PlainEntitiesBecomeOneSegmentEach) {
  twinfind::dxf::ImportResult result;
  const auto d = Imported(
      File(
          dxftest::Line(1, 2, 3, 4) +
          Groups({{0, "CIRCLE"}, {8, "0"}, {10, "5"}, {20, "6"}, {30, "0"}, {40, "2.5"}}) +
          Groups({{0, "ARC"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "2"}, {50, "90"}, {51, "180"}}) +
          Groups({{0, "POINT"}, {8, "0"}, {10, "7"}, {20, "8"}})),
      &result);
  ASSERT_EQ(result.segments, 4);
  const auto ids = d.SegmentIds();
  ASSERT_EQ(ids.size(), 4u);
  ExpectLine(FiguresOf(d, ids[0]).at(0), 1, 2, 3, 4);
  const FigureRecord circle = FiguresOf(d, ids[1]).at(0);
  EXPECT_EQ(circle.kind, VEX_FIG_CIRCLE);
  EXPECT_DOUBLE_EQ(circle.u.circle.r, 2.5);
  // An ARC runs counter-clockwise from its start angle (90: top) to its end angle (180: left).
  ExpectArc(FiguresOf(d, ids[2]).at(0), 0, 0, 2, 0, 2, -2, 0, VEX_ARC_CCW);
  const FigureRecord point = FiguresOf(d, ids[3]).at(0);
  EXPECT_EQ(point.kind, VEX_FIG_POINT);
  EXPECT_DOUBLE_EQ(point.u.point.x, 7);
  for (const int id : ids) EXPECT_EQ(d.FindSegment(id)->kind, VEX_SEGMENT_FIGURES);
  EXPECT_TRUE(result.notHeld.empty());
}

TEST(ImportGeometryTest, PolylineBulgesBecomeArcsThatKeepThePolylinesDirection) {
  // A closed slot: a line right, a half circle up (bulge 1, counter-clockwise), a line left,
  // a half circle down; then an open path with a clockwise quarter (bulge -tan(22.5)).
  const double quarter = std::tan(std::numbers::pi / 8);
  const auto d = Imported(File(
      Lwpolyline({{0, 0, 0}, {10, 0, 1}, {10, 4, 0}, {0, 4, 1}}, true) +
      Lwpolyline({{0, 10, 0}, {5, 10, -quarter}, {10, 15, 0}, {10, 15, 0}, {10, 20, 0}}, false)));
  const auto ids = d.SegmentIds();
  ASSERT_EQ(ids.size(), 2u);
  const auto slot = FiguresOf(d, ids[0]);
  ASSERT_EQ(slot.size(), 4u);
  ExpectLine(slot[0], 0, 0, 10, 0);
  ExpectArc(slot[1], 10, 2, 2, 10, 0, 10, 4, VEX_ARC_CCW);
  ExpectLine(slot[2], 10, 4, 0, 4);
  ExpectArc(slot[3], 0, 2, 2, 0, 4, 0, 0, VEX_ARC_CCW);  // the closing span
  // The repeated vertex draws nothing and is left out.
  const auto path = FiguresOf(d, ids[1]);
  ASSERT_EQ(path.size(), 3u);
  ExpectLine(path[0], 0, 10, 5, 10);
  // A clockwise quarter of radius 5 from (5, 10) to (10, 15): about (10, 10), bulging up-left.
  ExpectArc(path[1], 10, 10, 5, 5, 10, 10, 15, VEX_ARC_CW);
  ExpectLine(path[2], 10, 15, 10, 20);
}

TEST(ImportGeometryTest, OldStylePolylinesReadTheirVerticesAndLeaveOutFramePoints) {
  const std::string polyline =
      Groups({{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "1"}}) +
      Groups({{0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {42, "-1"}}) +
      Groups({{0, "VERTEX"}, {8, "0"}, {10, "99"}, {20, "99"}, {70, "16"}}) +  // frame point
      Groups({{0, "VERTEX"}, {8, "0"}, {10, "2"}, {20, "0"}}) +
      Groups({{0, "VERTEX"}, {8, "0"}, {10, "2"}, {20, "3"}}) + Groups({{0, "SEQEND"}, {8, "0"}});
  const std::string polyline3d =
      Groups({{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {70, "8"}}) +
      Groups({{0, "VERTEX"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "1"}}) +
      Groups({{0, "VERTEX"}, {8, "0"}, {10, "1"}, {20, "0"}, {30, "2"}}) +
      Groups({{0, "SEQEND"}, {8, "0"}});
  twinfind::dxf::ImportResult result;
  const auto d = Imported(File(polyline + polyline3d + dxftest::Line(0, 0, 1, 1)), &result);
  const auto ids = d.SegmentIds();
  ASSERT_EQ(ids.size(), 2u);  // the 3D polyline is not held; the line after it is
  const auto figures = FiguresOf(d, ids[0]);
  ASSERT_EQ(figures.size(), 3u);
  // Bulge -1: a clockwise half circle from (0, 0) to (2, 0), over the top (1, 1).
  ExpectArc(figures[0], 1, 0, 1, 0, 0, 2, 0, VEX_ARC_CW);
  ExpectLine(figures[1], 2, 0, 2, 3);
  ExpectLine(figures[2], 2, 3, 0, 0);
  ExpectLine(FiguresOf(d, ids[1]).at(0), 0, 0, 1, 1);
  EXPECT_EQ(result.notHeld, (std::map<std::string, int>{{"POLYLINE (3D)", 1}}));
}

std::string Insert(const std::string& block, double x, double y,
                   std::vector<std::pair<int, std::string>> extra = {}) {
  std::vector<std::pair<int, std::string>> g = {
      {0, "INSERT"}, {8, "0"}, {2, block}, {10, std::to_string(x)}, {20, std::to_string(y)}};
  g.insert(g.end(), extra.begin(), extra.end());
  return Groups(g);
}

TEST(ImportGeometryTest, BlockReferencesArePlacedTurnedScaledAndFlattened) {
  // Block B (base point 1, 0): a line from its base point along x, and a reference to block C
  // (a circle of radius 1 at the origin) at (2, 0).
  const std::string blocks =
      dxftest::Block("C", Groups({{0, "CIRCLE"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}})) +
      dxftest::Block("B", dxftest::Line(1, 0, 3, 0) + Insert("C", 2, 0), 1, 0);
  // B at (10, 10), scaled 2 and turned 90 degrees.
  const auto d = Imported(File(Insert("B", 10, 10, {{41, "2"}, {42, "2"}, {50, "90"}}), blocks));
  const auto ids = d.SegmentIds();
  ASSERT_EQ(ids.size(), 1u);  // one segment for the whole reference
  const auto f = FiguresOf(d, ids[0]);
  ASSERT_EQ(f.size(), 2u);
  // (1, 0) - base -> (0, 0) -> (10, 10); (3, 0) -> (2, 0) * 2 = (4, 0) turned -> (0, 4).
  ExpectLine(f[0], 10, 10, 10, 14);
  // The circle: C's origin at B's (2, 0) -> (1, 0) * 2 = (2, 0) turned -> (0, 2); radius 2.
  ASSERT_EQ(f[1].kind, VEX_FIG_CIRCLE);
  EXPECT_NEAR(f[1].u.circle.cx, 10, kTol);
  EXPECT_NEAR(f[1].u.circle.cy, 12, kTol);
  EXPECT_NEAR(f[1].u.circle.r, 2, kTol);
}

TEST(ImportGeometryTest, MirroredReferencesAndEntitiesSeenFromBelowFlipTheirArcs) {
  const std::string arc =
      Groups({{0, "ARC"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "0"}, {51, "90"}});
  // x scale -1: the quarter from (1, 0) to (0, 1) becomes the one from (-1, 0) to (0, 1),
  // running clockwise, as the host's own mirror would leave it.
  const auto mirrored = Imported(File(Insert("A", 0, 0, {{41, "-1"}}), dxftest::Block("A", arc)));
  ExpectArc(FiguresOf(mirrored, mirrored.SegmentIds()[0]).at(0), 0, 0, 1, -1, 0, 0, 1, VEX_ARC_CW);
  // The same arc seen from below (extrusion 0, 0, -1): x changes sign the same way.
  const auto below = Imported(File(Groups({{0, "ARC"},
                                           {8, "0"},
                                           {10, "5"},
                                           {20, "0"},
                                           {40, "1"},
                                           {50, "0"},
                                           {51, "90"},
                                           {210, "0"},
                                           {220, "0"},
                                           {230, "-1"}})));
  ExpectArc(FiguresOf(below, below.SegmentIds()[0]).at(0), -5, 0, 1, -6, 0, -5, 1, VEX_ARC_CW);
  // A polyline seen from below: x mirrored and the bulge's turn with it.
  const auto polyline = Imported(
      File(Lwpolyline({{0, 0, 1}, {2, 0, 0}}, false, {{210, "0"}, {220, "0"}, {230, "-1"}})));
  ExpectArc(FiguresOf(polyline, polyline.SegmentIds()[0]).at(0), -1, 0, 1, 0, 0, -2, 0, VEX_ARC_CW);
}

TEST(ImportGeometryTest, ArraysGiveOneSegmentPerCopy) {
  const auto d =
      Imported(File(Insert("P", 0, 0, {{70, "3"}, {71, "2"}, {44, "10"}, {45, "20"}}),
                    dxftest::Block("P", Groups({{0, "POINT"}, {8, "0"}, {10, "1"}, {20, "1"}}))));
  const auto ids = d.SegmentIds();
  ASSERT_EQ(ids.size(), 6u);
  std::set<std::pair<double, double>> points;
  for (const int id : ids) {
    const FigureRecord p = FiguresOf(d, id).at(0);
    points.insert({p.u.point.x, p.u.point.y});
  }
  EXPECT_EQ(points, (std::set<std::pair<double, double>>{
                        {1, 1}, {11, 1}, {21, 1}, {1, 21}, {11, 21}, {21, 21}}));
}

TEST(ImportGeometryTest, UnevenScalesPlaceLinesAndCountCurvesTheHostCannotHold) {
  twinfind::dxf::ImportResult result;
  const auto d = Imported(
      File(Insert("U", 0, 0, {{41, "2"}, {42, "1"}}),
           dxftest::Block("U",
                          dxftest::Line(0, 0, 1, 1) +
                              Groups({{0, "CIRCLE"}, {8, "0"}, {10, "0"}, {20, "0"}, {40, "1"}}) +
                              Lwpolyline({{0, 0, 0.5}, {1, 0, 0}}, false) +
                              Lwpolyline({{0, 0, 0}, {1, 0, 0}}, false))),
      &result);
  const auto f = FiguresOf(d, d.SegmentIds().at(0));
  ASSERT_EQ(f.size(), 2u);
  ExpectLine(f[0], 0, 0, 2, 1);
  ExpectLine(f[1], 0, 0, 2, 0);  // the straight polyline stays
  EXPECT_EQ(result.notHeld, (std::map<std::string, int>{{"CIRCLE (non-uniform scale)", 1},
                                                        {"LWPOLYLINE (non-uniform scale)", 1}}));
}

}  // namespace
