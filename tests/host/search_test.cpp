// The crossing and window searches: exact geometry at the hard places, and the index giving
// the same answers as a scan of every segment.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "host/host.h"
#include "host/search.h"
#include "host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Arc;
using hosttest::Circle;
using hosttest::Line;
using hosttest::ListIds;

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  std::vector<int> Crossing(VexBox area) {
    EXPECT_GE(VexSgmSearchSegment2(&area, nullptr, 7), -1);
    return ListIds(7);
  }
  std::vector<int> Window(VexBox area) {
    VexSgmSearchSegment4(&area, nullptr, 7);
    return ListIds(7);
  }
};

TEST_F(SearchTest, AnArcWhoseChordMissesTheWindowIsFoundByItsBulge) {
  // From (0, 10) to (10, 10) about (5, 10), counter-clockwise through (5, 5); the window lies
  // below the chord and is crossed by the bulge only.
  const int arc = AddSegment({Arc(5, 10, 5, 0, 10, 10, 10, VEX_ARC_CCW)});
  EXPECT_EQ(Crossing({4, 4, 6, 6}), std::vector<int>{arc});
  // Clockwise, the same ends bulge upwards and miss it.
  vexhost::ResetHost();
  AddSegment({Arc(5, 10, 5, 0, 10, 10, 10, VEX_ARC_CW)});
  EXPECT_TRUE(Crossing({4, 4, 6, 6}).empty());
}

TEST_F(SearchTest, ACircleAroundTheWindowDoesNotMeetIt) {
  AddSegment({Circle(0, 0, 50)});
  const int inside = AddSegment({Circle(0, 0, 0.5)});
  EXPECT_EQ(Crossing({-1, -1, 1, 1}), std::vector<int>{inside});
}

TEST_F(SearchTest, GeometryOnTheWindowEdgeMeetsIt) {
  const int touching = AddSegment({Line(10, -5, 10, 5)});
  const int tangent = AddSegment({Circle(0, 13, 3)});  // touches y = 10 at (0, 10)
  const int corner = AddSegment({Line(10, 10, 20, 20)});
  AddSegment({Line(10.001, -5, 10.001, 5)});
  EXPECT_EQ(Crossing({-10, -10, 10, 10}), (std::vector<int>{touching, tangent, corner}));
}

TEST_F(SearchTest, TheWindowSearchTakesOnlyWhatLiesWhollyInside) {
  const int inside = AddSegment({Line(1, 1, 9, 9), Circle(5, 5, 2)});
  AddSegment({Line(1, 1, 10.5, 1)});  // pokes out
  const int onEdge = AddSegment({Line(0, 0, 10, 0)});
  EXPECT_EQ(Window({0, 0, 10, 10}), (std::vector<int>{inside, onEdge}));
}

int OnlyLines(int elementId) { return VexElmGetType(elementId) == VEX_ELEMENT_LINE; }

TEST_F(SearchTest, ResultsReplaceTheListAndFollowTheFilter) {
  const int line = AddSegment({Line(0, 0, 1, 1)});
  AddSegment({Circle(0, 0, 1)});
  const VexBox area{-2, -2, 2, 2};
  ASSERT_EQ(VexSgmSearchSegment2(&area, OnlyLines, 6), 0);
  EXPECT_EQ(ListIds(6), std::vector<int>{line});
  const VexBox empty{100, 100, 101, 101};
  EXPECT_EQ(VexSgmSearchSegment2(&empty, nullptr, 6), -1);
  EXPECT_TRUE(ListIds(6).empty());
  // No area: every segment with an accepted element.
  ASSERT_EQ(VexSgmSearchSegment2(nullptr, nullptr, 6), 0);
  EXPECT_EQ(ListIds(6).size(), 2u);
  // An inverted area is empty.
  const VexBox inverted{2, 2, -2, -2};
  EXPECT_EQ(VexSgmSearchSegment2(&inverted, nullptr, 6), -1);
  EXPECT_EQ(VexSgmSearchSegment2(&area, nullptr, 16), -1);
}

TEST_F(SearchTest, TheTemporaryDrawingIsNotSearched) {
  AddSegment({Line(0, 0, 1, 1)}, VEX_LIFE_TEMPORARY);
  EXPECT_TRUE(Crossing({-2, -2, 2, 2}).empty());
  EXPECT_EQ(VexSgmSearchSegment2(nullptr, nullptr, 6), -1);
}

TEST_F(SearchTest, TheIndexAnswersAsAScanOfEverySegmentDoes) {
  std::mt19937 random(20261208);
  std::uniform_real_distribution<double> coordinate(0, 1000), size(0.1, 40), angle(0, 6.283);
  for (int i = 0; i < 3000; ++i) {
    const double x = coordinate(random), y = coordinate(random), s = size(random);
    switch (i % 4) {
      case 0:
        AddSegment({Line(x, y, x + s * std::cos(angle(random)), y + s * std::sin(angle(random)))});
        break;
      case 1:
        AddSegment({Circle(x, y, s)});
        break;
      case 2: {
        const double a = angle(random), b = angle(random);
        AddSegment({Arc(x, y, s, x + s * std::cos(a), y + s * std::sin(a), x + s * std::cos(b),
                        y + s * std::sin(b), i % 8 == 2 ? VEX_ARC_CCW : VEX_ARC_CW)});
        break;
      }
      default:
        AddSegment({Line(x, y, x + s, y), Line(x + s, y, x + s, y + s), Circle(x, y, s / 3)});
    }
  }
  // Some segments change after they were indexed: deleted, or moved by a copy.
  for (int id = 1; id <= 3000; id += 97) VexSgmDeleteSegment(id);
  const auto& drawing = vexhost::TheHost().drawing;
  int found = 0;
  for (int q = 0; q < 300; ++q) {
    const double x = coordinate(random), y = coordinate(random), s = size(random) * 2;
    const VexBox area{x, y, x + s, y + s};
    for (const auto mode : {vexhost::SearchMode::kCrossing, vexhost::SearchMode::kWindow}) {
      const auto indexed = vexhost::SearchSegments(drawing, &area, nullptr, mode, true);
      const auto scanned = vexhost::SearchSegments(drawing, &area, nullptr, mode, false);
      ASSERT_EQ(indexed, scanned) << "query " << q;
      found += static_cast<int>(indexed.size());
    }
  }
  EXPECT_GT(found, 300);  // the queries did find things
}

}  // namespace
