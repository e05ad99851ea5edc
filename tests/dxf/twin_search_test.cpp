// Twins drawn as polylines with arcs, read from DXF, are found when turned and when mirrored,
// with the right mirrored flag: a polyline's arcs keep its direction, so a mirrored twin's
// clockwise arcs meet the search's mirrored trial copy.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <set>

#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "dxf_test_util.h"
#include "host/host.h"
#include "testkit/search_setup.h"
#include "testkit/twin_drawing.h"

namespace {

struct Vertex {
  double x, y, bulge;
};

// Where one copy of the part goes: mirrored in x first (when asked), turned, moved.
struct Copy {
  double x, y, degrees;
  bool mirrored;
};

std::string Number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

// An LWPOLYLINE of the part's vertices under a copy's placement, written by hand: a mirror
// changes every bulge's sign, as a CAD program's MIRROR command does.
std::string PlacedPolyline(const std::vector<Vertex>& vertices, bool closed, const Copy& c) {
  const double t = c.degrees * std::numbers::pi / 180;
  std::vector<std::pair<int, std::string>> g = {
      {0, "LWPOLYLINE"}, {8, "0"}, {90, std::to_string(vertices.size())}, {70, closed ? "1" : "0"}};
  for (const Vertex& v : vertices) {
    const double x = c.mirrored ? -v.x : v.x;
    g.push_back({10, Number(c.x + x * std::cos(t) - v.y * std::sin(t))});
    g.push_back({20, Number(c.y + x * std::sin(t) + v.y * std::cos(t))});
    g.push_back({42, Number(c.mirrored ? -v.bulge : v.bulge)});
  }
  return dxftest::Groups(g);
}

std::string PlacedCircle(double x, double y, double r, const Copy& c) {
  const double t = c.degrees * std::numbers::pi / 180;
  if (c.mirrored) x = -x;
  return dxftest::Groups({{0, "CIRCLE"},
                          {8, "0"},
                          {10, Number(c.x + x * std::cos(t) - y * std::sin(t))},
                          {20, Number(c.y + x * std::sin(t) + y * std::cos(t))},
                          {40, Number(r)}});
}

// Turned and mirrored twins count.
twinfind::SearchOptions TurnedAndMirrored() {
  twinfind::SearchOptions options;
  options.rotate = true;
  options.mirror = true;
  return options;
}

// The twins of the part in the range, turned and mirrored ones counting, as sets of segments
// with their mirrored flag.
std::set<std::pair<std::set<int>, bool>> Found(const std::vector<int>& range,
                                               const std::vector<int>& part) {
  const twinfind::TwinResult result = drawgen::SearchTwins(range, part, TurnedAndMirrored());
  EXPECT_TRUE(result.ok());
  std::set<std::pair<std::set<int>, bool>> found;
  for (const twinfind::MatchRecord& twin : result.twins) {
    std::set<int> ids;
    for (int r = 1; r <= twin.refCount(); ++r) ids.insert(twin.refs[r].segmentId);
    found.insert({ids, twin.mirrored != 0});
  }
  return found;
}

TEST(TwinSearchTest, HandWrittenPolylineTwinsAreFoundTurnedAndMirrored) {
  // The part: a closed outline whose first span (40 long) is its only span of that length,
  // with a counter-clockwise and a clockwise arc; an open polyline with arcs both ways; a hole.
  const std::vector<Vertex> outline = {
      {0, 0, 0}, {40, 0, 0}, {40, 20, 0.4}, {25, 30, 0}, {0, 30, -0.3}};
  const std::vector<Vertex> path = {{18, 8, 0.5}, {28, 12, -0.5}, {31, 20, 0}};
  const std::vector<Copy> copies = {
      {0, 0, 0, false}, {200, 50, 37, false}, {-150, 0, 0, true}, {-300, 200, 140, true}};
  std::string entities;
  for (const Copy& c : copies) {
    entities += PlacedPolyline(outline, true, c) + PlacedPolyline(path, false, c) +
                PlacedCircle(10, 15, 4, c);
  }
  // Clutter: a near twin whose outline has the anchor's length but another arc.
  std::vector<Vertex> near = outline;
  near[2].bulge = 0.41;
  entities += PlacedPolyline(near, true, {500, 0, 0, false}) +
              PlacedPolyline(path, false, {500, 0, 0, false}) +
              PlacedCircle(10, 15, 4, {500, 0, 0, false});

  vexhost::ResetHost();
  const auto result =
      twinfind::dxf::ImportDxfText(dxftest::File(entities), vexhost::TheHost().drawing);
  ASSERT_TRUE(result.ok) << result.error;
  const std::vector<int> all = drawgen::AllSegments();
  ASSERT_EQ(all.size(), 15u);  // three segments per copy, in the order written
  auto copySegments = [&](size_t i) {
    return std::set<int>{all[3 * i], all[3 * i + 1], all[3 * i + 2]};
  };
  const std::set<std::pair<std::set<int>, bool>> expected = {{copySegments(0), false},
                                                             {copySegments(1), false},
                                                             {copySegments(2), true},
                                                             {copySegments(3), true}};
  EXPECT_EQ(Found(all, {all[0], all[1], all[2]}), expected);
}

TEST(TwinSearchTest, GeneratedTwinsWrittenByOurExporterAreFoundAfterReadingBack) {
  dxftest::ScratchFolder folder;
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    vexhost::ResetHost();
    drawgen::TwinDrawing twins(seed, 8);
    const double s = twins.spacing();
    twins.Place({});
    const std::vector<std::pair<drawgen::Placement, bool>> plan = {
        {{s, 0, 37.5, false}, true}, {{2 * s, 0, 0, true}, true}, {{3 * s, 0, 250, true}, true}};
    for (const auto& [placement, found] : plan) twins.Place(placement);
    twins.Place({0, s, 0, false}, drawgen::Variant::kNearTwin);
    twins.AddClutter(10, 0, -s, 4 * s, -0.2 * s);
    // Positions of the placed segments in drawing order: the file keeps that order.
    const std::vector<int> before = drawgen::AllSegments();
    auto positions = [&](const std::vector<int>& ids) {
      std::set<size_t> at;
      for (const int id : ids)
        at.insert(std::find(before.begin(), before.end(), id) - before.begin());
      return at;
    };
    std::string error;
    ASSERT_TRUE(twinfind::dxf::ExportDxf(vexhost::TheHost().drawing, folder / "twins.dxf", error));
    // The mirrored twins' outlines are polylines with clockwise (negative bulge) arcs.
    const std::string text = twinfind::dxf::DxfTextOf(vexhost::TheHost().drawing);
    EXPECT_NE(text.find("POLYLINE"), std::string::npos);
    EXPECT_NE(text.find(" 42\n-"), std::string::npos);

    vexhost::ResetHost();
    ASSERT_TRUE(twinfind::dxf::ImportDxf(folder / "twins.dxf", vexhost::TheHost().drawing).ok);
    const std::vector<int> after = drawgen::AllSegments();
    ASSERT_EQ(after.size(), before.size());
    auto idsAt = [&](const std::set<size_t>& at) {
      std::set<int> ids;
      for (const size_t i : at) ids.insert(after[i]);
      return ids;
    };
    const auto& placed = twins.placed();
    const std::set<int> part = idsAt(positions(placed[0].segments));
    std::set<std::pair<std::set<int>, bool>> expected = {{part, false}};
    for (size_t i = 0; i < plan.size(); ++i) {
      expected.insert({idsAt(positions(placed[i + 1].segments)), plan[i].first.mirrored});
    }
    EXPECT_EQ(Found(after, std::vector<int>(part.begin(), part.end())), expected);
  }
}

}  // namespace
