// Splines and ellipses read as lines: every line end lies on the curve and every line lies
// within the chord tolerance of it; a curve whose data make none is counted with its reason.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>

#include "dxf/dxf_import.h"
#include "dxf_test_util.h"
#include "host/geometry.h"

namespace {

using dxftest::File;
using dxftest::Groups;

struct Read {
  twinfind::dxf::ImportResult result;
  std::vector<FigureRecord> figures;  // of the one segment read
};

Read ImportOne(const std::string& entity, double tolerance) {
  vexhost::Drawing d;
  twinfind::dxf::ImportOptions options;
  options.chordTolerance = tolerance;
  Read read{twinfind::dxf::ImportDxfText(File(entity), d, options), {}};
  for (const int id : d.SegmentIds()) {
    for (const int e : d.FindSegment(id)->elements)
      read.figures.push_back(d.FindElement(e)->figure);
  }
  return read;
}

// The most a point of the lines (each end and four points between) lies from the curve, and
// the most an end does, given the distance from a point to the curve.
template <class Distance>
std::pair<double, double> FarthestFromCurve(const std::vector<FigureRecord>& lines,
                                            Distance distance) {
  double any = 0, ends = 0;
  for (const FigureRecord& f : lines) {
    EXPECT_EQ(f.kind, VEX_FIG_LINE);
    for (int k = 0; k <= 5; ++k) {
      const double t = k / 5.0;
      const double d = distance(f.u.line.x1 + t * (f.u.line.x2 - f.u.line.x1),
                                f.u.line.y1 + t * (f.u.line.y2 - f.u.line.y1));
      any = std::max(any, d);
      if (k == 0 || k == 5) ends = std::max(ends, d);
    }
  }
  return {any, ends};
}

TEST(ImportCurvesTest, CurvesBecomeLinesWithinTheChordTolerance) {
  // An ellipse of semi-axes 20 and 8 turned 30 degrees about (5, -3), whole and as an arc, seen
  // from above and from below; a circle drawn as a rational spline (a quarter per span).
  const double turn = std::numbers::pi / 6;
  const auto ellipse = [&](double side, double start, double end) {
    return Groups({{0, "ELLIPSE"},
                   {8, "0"},
                   {10, "5"},
                   {20, "-3"},
                   {11, std::to_string(20 * std::cos(turn))},
                   {21, std::to_string(20 * std::sin(turn))},
                   {40, "0.4"},
                   {41, std::to_string(start)},
                   {42, std::to_string(end)},
                   {230, side < 0 ? "-1" : "1"}});
  };
  const auto onEllipse = [&](double x, double y) {
    // The distance to the ellipse: its nearest of 3600 points, then closer by halving.
    const double u = (x - 5) * std::cos(turn) + (y + 3) * std::sin(turn);
    const double v = -(x - 5) * std::sin(turn) + (y + 3) * std::cos(turn);
    const auto at = [&](double t) { return std::hypot(u - 20 * std::cos(t), v - 8 * std::sin(t)); };
    const double step = 2 * std::numbers::pi / 3600;
    double best = 0;
    for (int k = 1; k < 3600; ++k) best = at(k * step) < at(best) ? k * step : best;
    double low = best - step, high = best + step;
    for (int i = 0; i < 60; ++i) {
      const double a = low + (high - low) / 3, b = high - (high - low) / 3;
      (at(a) < at(b) ? high : low) = at(a) < at(b) ? b : a;
    }
    return at((low + high) / 2);
  };
  const double w = std::sqrt(0.5);
  std::vector<std::pair<int, std::string>> circle = {{0, "SPLINE"}, {8, "0"}, {71, "2"}};
  for (const char* knot : {"0", "0", "0", "1", "1", "2", "2", "3", "3", "4", "4", "4"}) {
    circle.emplace_back(40, knot);
  }
  const double corners[9][3] = {{10, 0, 1},    {10, 10, w}, {0, 10, 1},   {-10, 10, w}, {-10, 0, 1},
                                {-10, -10, w}, {0, -10, 1}, {10, -10, w}, {10, 0, 1}};
  for (const auto& c : corners) {
    circle.emplace_back(10, std::to_string(c[0]));
    circle.emplace_back(20, std::to_string(c[1]));
    circle.emplace_back(41, std::to_string(c[2]));
  }
  const auto onCircle = [](double x, double y) { return std::fabs(std::hypot(x, y) - 10); };
  struct Case {
    const char* name;
    std::string entity;
    std::function<double(double, double)> distance;
    double tolerance;
  };
  const Case cases[] = {
      {"whole ellipse", ellipse(1, 0, 2 * std::numbers::pi), onEllipse, 0.01},
      {"arc seen from below", ellipse(-1, 1, 4), onEllipse, 0.01},
      {"finer", ellipse(1, 0, 2 * std::numbers::pi), onEllipse, 0.0005},
      {"rational spline circle", Groups(circle), onCircle, 0.01},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Read read = ImportOne(c.entity, c.tolerance);
    ASSERT_TRUE(read.result.ok) << read.result.error;
    EXPECT_TRUE(read.result.notHeld.empty());
    EXPECT_EQ(read.result.segments, 1);
    ASSERT_GE(read.figures.size(), 4u);
    const auto [any, ends] = FarthestFromCurve(read.figures, c.distance);
    EXPECT_LT(ends, 1e-6);
    EXPECT_LT(any, c.tolerance * 1.05);
    EXPECT_GT(any, c.tolerance / 8);  // no finer than it needs
  }
}

// A circle of radius 10 as a rational quadratic spline of `spans` equal arcs: 2 * spans + 1
// control points, each inner knot twice.
std::string CircleSpline(int spans) {
  const double pi = std::numbers::pi, half = pi / spans, w = std::cos(half);
  std::vector<std::pair<int, std::string>> g = {{0, "SPLINE"}, {8, "0"}, {71, "2"}};
  g.insert(g.end(), 3, {40, "0"});
  for (int k = 1; k < spans; ++k) g.insert(g.end(), 2, {40, std::to_string(k)});
  g.insert(g.end(), 3, {40, std::to_string(spans)});
  char number[40];
  const auto add = [&](int code, double v) {
    std::snprintf(number, sizeof number, "%.17g", v);
    g.emplace_back(code, number);
  };
  for (int i = 0; i <= 2 * spans; ++i) {
    // Even points on the circle, odd ones where the tangents of their neighbours meet.
    const double r = i % 2 ? 10 / w : 10, t = i * half;
    add(10, r * std::cos(t));
    add(20, r * std::sin(t));
    add(41, i % 2 ? w : 1);
  }
  return Groups(g);
}

// A spline of more control points than once were allowed is read in about linear time, and its
// lines follow it: every end on the circle it draws, every line within the chord tolerance.
TEST(ImportCurvesTest, ASplineOfManyControlPointsIsReadWhole) {
  const int spans = 60000;
  const Read read = ImportOne(CircleSpline(spans), 0.01);
  ASSERT_TRUE(read.result.ok) << read.result.error;
  EXPECT_TRUE(read.result.notHeld.empty()) << read.result.notHeld.begin()->first;
  ASSERT_GE(read.figures.size(), static_cast<size_t>(spans));
  const auto [any, ends] = FarthestFromCurve(
      read.figures, [](double x, double y) { return std::fabs(std::hypot(x, y) - 10); });
  EXPECT_LT(ends, 1e-9);
  EXPECT_LT(any, 0.01);
}

// A chord tolerance finer than a curve's numbers can tell gives the curve's lines at the finest
// its size allows, and says so; the lines all curves of a drawing become are bounded, and a
// curve that would pass the bound is left out with the reason.
TEST(ImportCurvesTest, TheChordToleranceHasAFloorAndTheLinesABound) {
  // The circle's control points lie at most its diameter (and a little) from the first.
  const double floor = twinfind::dxf::kFinestChordPart * 20;
  const Read finer = ImportOne(CircleSpline(1000), 1e-12);
  ASSERT_TRUE(finer.result.ok) << finer.result.error;
  EXPECT_TRUE(finer.result.notHeld.empty());
  EXPECT_EQ(finer.result.coarserCurves, 1);
  const auto warnings = finer.result.WarningLines();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("coarser than the chord tolerance asked"), std::string::npos);
  const auto [any, ends] = FarthestFromCurve(
      finer.figures, [](double x, double y) { return std::fabs(std::hypot(x, y) - 10); });
  EXPECT_LT(any, floor * 1.05);
  EXPECT_GT(any, floor / 8);  // no finer than the floor

  const std::string ellipse =
      Groups({{0, "ELLIPSE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "100"}, {21, "0"}, {40, "0.4"}});
  // Ten ellipses of the same lines each, against room for the lines of two and a half.
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += ellipse;
  const Read one = ImportOne(ellipse, 0.001);
  twinfind::dxf::ImportOptions options;
  options.chordTolerance = 0.001;
  options.mostCurveLines = one.figures.size() * 5 / 2;
  vexhost::Drawing d;
  const auto result = twinfind::dxf::ImportDxfText(File(ten), d, options);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.segments, 2);
  EXPECT_EQ(d.ElementCount(), 2 * one.figures.size());
  EXPECT_EQ(result.notHeld,
            (std::map<std::string, int>{{"ELLIPSE (the drawing's curves would pass " +
                                             std::to_string(options.mostCurveLines) +
                                             " lines at the chord tolerance)",
                                         8}}));
}

TEST(ImportCurvesTest, CurvesWhoseDataMakeNoneAreCountedWithTheReason) {
  const struct {
    std::string entity;
    std::string notHeld;
  } cases[] = {
      {Groups({{0, "SPLINE"}, {8, "0"}, {72, "99999999"}, {73, "0"}}),
       "SPLINE (a required group missing)"},
      {Groups({{0, "SPLINE"},
               {8, "0"},
               {71, "3"},
               {40, "0"},
               {40, "1"},
               {10, "0"},
               {20, "0"},
               {10, "1"},
               {20, "1"}}),
       "SPLINE (invalid geometry)"},  // two knots for two points of degree 3
      {Groups({{0, "SPLINE"},
               {8, "0"},
               {71, "1"},
               {40, "0"},
               {40, "0"},
               {40, "1"},
               {40, "1"},
               {10, "0"},
               {20, "nan"},
               {10, "1"},
               {20, "1"}}),
       "SPLINE (text where a number belongs)"},
      {Groups({{0, "SPLINE"},
               {8, "0"},
               {71, "1"},
               {40, "0"},
               {40, "0"},
               {40, "1"},
               {40, "1"},
               {10, "0"},
               {20, "0"},
               {10, "1"},
               {20, "1"},
               {210, "1"},
               {230, "0"}}),
       "SPLINE (not in the drawing plane)"},
      {Groups({{0, "ELLIPSE"}, {8, "0"}}), "ELLIPSE (a required group missing)"},
      {Groups({{0, "ELLIPSE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "0"}, {40, "0"}}),
       "ELLIPSE (invalid geometry)"},
      {Groups(
           {{0, "ELLIPSE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1e300"}, {21, "0"}, {40, "0.5"}}),
       "ELLIPSE (invalid geometry)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.notHeld);
    const Read read = ImportOne(c.entity, 0.01);
    ASSERT_TRUE(read.result.ok) << read.result.error;
    EXPECT_EQ(read.result.segments, 0);
    EXPECT_EQ(read.result.notHeld, (std::map<std::string, int>{{c.notHeld, 1}}));
  }
}

}  // namespace
