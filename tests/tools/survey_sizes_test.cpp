// The survey where a drawing grows in a size a stranger's file can make large: ends crowding on
// one place (a line drawn thousands of times on top of itself), many families of one box, and
// a survey asked to stop while it compares its families.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>

#include "../host/host_test_util.h"
#include "host/host.h"
#include "survey/candidate_parts.h"
#include "survey/survey.h"

namespace {

using hosttest::AddSegment;
using hosttest::Circle;
using hosttest::Line;

// The touching groups of the segments, each as its sorted segments, in a set.
std::set<std::vector<int>> GroupsOf(const std::vector<int>& segments, double joint) {
  std::set<std::vector<int>> groups;
  for (std::vector<int> g :
       twinfind::survey::TouchingGroups(vexhost::TheHost().drawing, segments, joint)) {
    std::sort(g.begin(), g.end());
    groups.insert(g);
  }
  return groups;
}

// The same, by looking at every pair of line ends.
std::set<std::vector<int>> GroupsByEveryPair(const std::vector<int>& segments, double joint) {
  std::vector<std::array<double, 2>> ends;
  std::vector<size_t> owner;
  for (size_t s = 0; s < segments.size(); ++s) {
    for (const FigureRecord& f :
         twinfind::survey::FiguresOf(vexhost::TheHost().drawing, segments[s])) {
      ends.push_back({f.u.line.x1, f.u.line.y1});
      ends.push_back({f.u.line.x2, f.u.line.y2});
      owner.insert(owner.end(), 2, s);
    }
  }
  std::vector<size_t> group(segments.size());
  for (size_t s = 0; s < group.size(); ++s) group[s] = s;
  const auto root = [&](size_t s) {
    while (group[s] != s) s = group[s] = group[group[s]];
    return s;
  };
  for (size_t i = 0; i < ends.size(); ++i) {
    for (size_t j = i + 1; j < ends.size(); ++j) {
      if (std::hypot(ends[i][0] - ends[j][0], ends[i][1] - ends[j][1]) <= joint) {
        group[root(owner[i])] = root(owner[j]);
      }
    }
  }
  std::map<size_t, std::vector<int>> byRoot;
  for (size_t s = 0; s < segments.size(); ++s) byRoot[root(s)].push_back(segments[s]);
  std::set<std::vector<int>> groups;
  for (auto& [r, g] : byRoot) groups.insert(g);
  return groups;
}

// Ends on each other, crowding a place beside an end just within or just beyond the joint,
// and clouds of ends at all distances: the groups are those of every pair of ends within it.
TEST(SurveySizes, TouchingGroupsJoinEveryTwoEndsWithinTheJointHoweverTheyCrowd) {
  const double joint = 0.001;
  struct Case {
    const char* name;
    int copies;      // lines from (0, 0) to (5, 0)
    double besideX;  // a line from here to (-5, 0)
    size_t groups;
  };
  const Case cases[] = {
      {"copies on top of each other", 1000, -1, 2},
      {"a crowded end and one just within the joint", 500, -0.99 * joint, 1},
      {"a crowded end and one just beyond it", 500, -1.01 * joint, 2},
      {"a few ends and one within two cells", 3, -0.99 * joint, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vexhost::ResetHost();
    std::vector<int> segments;
    for (int i = 0; i < c.copies; ++i) segments.push_back(AddSegment({Line(0, 0, 5, 0)}));
    segments.push_back(AddSegment({Line(c.besideX, 0, -5, 0)}));
    const auto groups = GroupsOf(segments, joint);
    EXPECT_EQ(groups.size(), c.groups);
    EXPECT_EQ(groups, GroupsByEveryPair(segments, joint));
  }
  // Clouds of short lines whose ends crowd a few places, at spreads around the joint.
  for (const double spread : {0.2 * joint, joint, 3 * joint}) {
    SCOPED_TRACE(spread);
    vexhost::ResetHost();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> near(-spread, spread);
    std::uniform_int_distribution<int> place(0, 5);
    std::vector<int> segments;
    for (int i = 0; i < 600; ++i) {
      const double ax = place(random) * 2 * joint + near(random), ay = near(random);
      const double bx = 10 + place(random) * 2 * joint + near(random), by = near(random);
      segments.push_back(AddSegment({Line(ax, ay, bx, by)}));
    }
    EXPECT_EQ(GroupsOf(segments, joint), GroupsByEveryPair(segments, joint));
  }
}

// Thousands of copies of one line on top of each other beside a square placed three times: the
// square's family is found, and the copies make no part of it.
TEST(SurveySizes, CopiesOfOneLineOnTopOfEachOtherLeaveTheOtherFamilies) {
  vexhost::ResetHost();
  std::set<int> copies;
  for (int i = 0; i < 20000; ++i) copies.insert(AddSegment({Line(0, 0, 7, 3)}));
  for (int k = 0; k < 3; ++k) {
    const double x = 20.0 + 10 * k;
    AddSegment(
        {Line(x, 0, x + 5, 0), Line(x + 5, 0, x + 5, 4), Line(x + 5, 4, x, 4), Line(x, 4, x, 0)});
  }
  const auto& drawing = vexhost::TheHost().drawing;
  twinfind::SearchOptions options;
  options.rotate = options.mirror = true;
  const auto result =
      twinfind::survey::Survey(drawing, twinfind::survey::RangeSegments(drawing, nullptr), options);
  ASSERT_EQ(result.families.size(), 1u);
  EXPECT_EQ(result.families[0].members.size(), 3u);
  for (const auto& member : result.families[0].members) {
    for (const int id : member.segments) EXPECT_EQ(copies.count(id), 0u);
  }
}

// A square with a hole, its sides cut into 1 to 4 lines: the hole at one place, or where a
// quarter turn or a mirror image takes it; among 200 families of the same box with holes near
// its middle, placed so that no turn or mirror image takes one onto another. The alike group holds
// the first two, the turned one when turns are allowed and the mirrored one when mirror images are,
// and no other family.
TEST(SurveySizes, NamesAlikeFamiliesAmongManyOfOneBox) {
  struct Shape {
    int cuts;
    double hx, hy;
  };
  // The hole at (3, 2); a quarter turn about the box takes it to (8, 3), a mirror image to (7, 2).
  const Shape alike[] = {{1, 3, 2}, {2, 3, 2}, {3, 8, 3}, {4, 7, 2}};
  for (const bool turns : {false, true}) {
    for (const bool mirrors : {false, true}) {
      SCOPED_TRACE(std::to_string(turns) + std::to_string(mirrors));
      vexhost::ResetHost();
      std::vector<Shape> shapes(std::begin(alike), std::end(alike));
      // Holes off the box's middle lines and diagonals: no turn or mirror image takes one onto
      // another.
      for (int k = 0; k < 200; ++k)
        shapes.push_back({5, 4.6 + 0.02 * (k % 15), 5.5 + 0.03 * (k / 15)});
      for (size_t s = 0; s < shapes.size(); ++s) {
        for (int copy = 0; copy < 2; ++copy) {
          const double x = 20.0 * static_cast<double>(s), y = 20.0 * copy;
          std::vector<FigureRecord> outline;
          const double corners[5][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
          const int n = shapes[s].cuts;
          for (int c = 0; c < 4; ++c) {
            for (int i = 0; i < n; ++i) {
              const auto at = [&](int j, int axis) {
                return corners[c][axis] + (corners[c + 1][axis] - corners[c][axis]) * j / n;
              };
              outline.push_back(
                  Line(x + at(i, 0), y + at(i, 1), x + at(i + 1, 0), y + at(i + 1, 1)));
            }
          }
          AddSegment(outline);
          AddSegment({Circle(x + shapes[s].hx, y + shapes[s].hy, 0.5)});
        }
      }
      const auto& drawing = vexhost::TheHost().drawing;
      twinfind::SearchOptions options;
      options.rotate = turns;
      options.mirror = mirrors;
      const auto result = twinfind::survey::Survey(
          drawing, twinfind::survey::RangeSegments(drawing, nullptr), options);
      ASSERT_EQ(result.families.size(), shapes.size());
      std::set<size_t> expected = {0, 1};
      if (turns) expected.insert(2);
      if (mirrors) expected.insert(3);
      ASSERT_EQ(result.alike.size(), 1u);
      std::set<size_t> grouped;
      for (const int f : result.alike[0].families) {
        grouped.insert(static_cast<size_t>(
            std::lround(result.families[static_cast<size_t>(f)].box.minX / 20.0)));
      }
      EXPECT_EQ(grouped, expected);
    }
  }
}

// A survey asked to stop once its searches are done stops before it compares its families: it
// lists every family, says it was stopped, and names no near or alike ones.
TEST(SurveySizes, StopsWhileItComparesItsFamilies) {
  vexhost::ResetHost();
  const double pi = 3.14159265358979323846;
  // A plate whose round corners are drawn with 6 lines, and the same with 9: alike families.
  for (int i = 0; i < 4; ++i) {
    const int chords = i < 2 ? 6 : 9;
    std::vector<std::pair<double, double>> points;
    const double x = 20.0 * i, corners[4][2] = {{9, 1}, {9, 5}, {1, 5}, {1, 1}};
    for (int c = 0; c < 4; ++c) {
      for (int k = 0; k <= chords; ++k) {
        const double t = (c - 1) * pi / 2 + (pi / 2) * k / chords;
        points.push_back({x + corners[c][0] + std::cos(t), corners[c][1] + std::sin(t)});
      }
    }
    for (size_t k = 0; k < points.size(); ++k) {
      const auto& [x1, y1] = points[k];
      const auto& [x2, y2] = points[(k + 1) % points.size()];
      AddSegment({Line(x1, y1, x2, y2)});
    }
  }
  const auto& drawing = vexhost::TheHost().drawing;
  const std::vector<int> range = twinfind::survey::RangeSegments(drawing, nullptr);
  twinfind::SearchOptions options;
  const auto whole = twinfind::survey::Survey(drawing, range, options, [](double) { return true; });
  ASSERT_FALSE(whole.cancelled);
  ASSERT_FALSE(whole.alike.empty());
  double latest = 0;
  const auto stopped = twinfind::survey::Survey(drawing, range, options, [&](double done) {
    latest = done;
    return done < twinfind::survey::kSurveySearchesShare;
  });
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_GE(latest, twinfind::survey::kSurveySearchesShare);
  EXPECT_EQ(stopped.families.size(), whole.families.size());
  EXPECT_TRUE(stopped.alike.empty());
  EXPECT_TRUE(stopped.near.empty());
}

}  // namespace
