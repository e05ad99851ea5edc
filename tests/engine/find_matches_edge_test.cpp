// The search at its edges: hand-made parts for the cases the generator does not reach, and
// the ways a search can stop, with what they leave behind.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "host/host.h"
#include "host/host_test_util.h"
#include "testkit/search_setup.h"
#include "testkit/twin_drawing.h"

namespace {

using hosttest::AddSegment;
using hosttest::Circle;
using hosttest::Line;
using twinfind::TwinFailure;
using twinfind::TwinResult;

class SearchEdgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vexhost::ResetHost();
    options.rotate = true;
  }
  void SetAttr5(int id) {
    vexhost::TheHost().drawing.FindSegment(id)->attributes |= 1u << VEX_ATTRIBUTE_5;
  }
  // The messages of the host since the last call, as "kind: text".
  std::vector<std::u16string> Messages() {
    auto lines = hosttest::TranscriptLines();
    vexhost::TheHost().transcript.Clear();
    return lines;
  }
  twinfind::SearchOptions options;
  TwinResult Search(const std::vector<int>& range, const std::vector<int>& part) {
    return drawgen::SearchTwins(range, part, options);
  }
  // The part indicated, for a search that the test then steers by hand.
  void Indicate(const std::vector<int>& part) {
    ASSERT_EQ(twinfind::IndicatePart(drawgen::RefsOf(part)), TwinFailure::kNone);
  }
  TwinResult SearchIndicated(const std::vector<int>& range) {
    return twinfind::SearchIndicatedPart(drawgen::RefsOf(range), {}, options, false);
  }
  // After a search, nothing of it is left.
  void ExpectNothingLeft(const std::vector<int>& before) {
    EXPECT_EQ(drawgen::AllSegments(), before);
    for (const int list : {6, 7, 8}) {
      EXPECT_TRUE(vexhost::TheHost().lists.Contents(list).empty()) << "list " << list;
    }
  }
};

// A line of length 10 with one circle above it and a smaller one below: the anchor runs
// through the middle of the part, so a trial copy straddles its candidate line.
std::vector<int> StraddlingPart(double x, double y) {
  return {AddSegment({Line(x, y, x + 10, y)}), AddSegment({Circle(x + 5, y + 3, 1)}),
          AddSegment({Circle(x + 5, y - 4, 1.5)})};
}

TEST_F(SearchEdgeTest, TurnedCopiesAreNeverTakenForDrawingSegmentsInTheMirrorTrial) {
  // Without rotation: turned half round, the part is its own mirror image across its line.
  options.rotate = false;
  options.mirror = true;
  const auto part = StraddlingPart(0, 0);
  AddSegment({Line(100, 0, 110, 0)});  // a lone line of the anchor's length
  const auto before = drawgen::AllSegments();
  const TwinResult found = Search(before, part);
  ASSERT_TRUE(found.ok());
  EXPECT_EQ(found.twins.size(), 1u);  // the part alone
  ExpectNothingLeft(before);
  // Its true mirror image is found as one.
  const auto mirrored =
      std::vector<int>{AddSegment({Line(200, 0, 210, 0)}), AddSegment({Circle(205, -3, 1)}),
                       AddSegment({Circle(205, 4, 1.5)})};
  const TwinResult again = Search(drawgen::AllSegments(), part);
  ASSERT_TRUE(again.ok());
  ASSERT_EQ(again.twins.size(), 2u);
  EXPECT_EQ(again.twins[1].mirrored, 1);
  EXPECT_EQ(again.twins[1].refs[1].segmentId, mirrored[0]);
}

TEST_F(SearchEdgeTest, AnglesAreComparedWithoutWrappingRound) {
  options.rotate = false;
  const double a = 0.0000005;
  const std::vector<int> part = {AddSegment({Line(0, 0, 10 * std::cos(a), 10 * std::sin(a))}),
                                 AddSegment({Circle(5, 3, 1)})};
  // The same part turned by -0.000001: its anchor's angle is 2 pi - 0.0000005.
  const double b = -a;
  AddSegment({Line(100, 0, 100 + 10 * std::cos(b), 10 * std::sin(b))});
  AddSegment(
      {Circle(100 + 5 * std::cos(b) - 3 * std::sin(b), 5 * std::sin(b) + 3 * std::cos(b), 1)});
  const TwinResult found = Search(drawgen::AllSegments(), part);
  ASSERT_TRUE(found.ok());
  EXPECT_EQ(found.twins.size(), 1u);
  options.rotate = true;
  const TwinResult turned = Search(drawgen::AllSegments(), part);
  ASSERT_TRUE(turned.ok());
  EXPECT_EQ(turned.twins.size(), 2u);
}

TEST_F(SearchEdgeTest, Attribute5SegmentsAreCarriedAlongButAnUnpairedOneBlocks) {
  // A part with an attribute-5 centre mark: its twin, mark and all, is found.
  const std::vector<int> part = {AddSegment({Line(0, 0, 10, 0)}), AddSegment({Circle(5, 3, 1)}),
                                 AddSegment({Line(4, 3, 6, 3)})};
  SetAttr5(part[2]);
  const std::vector<int> twin = {AddSegment({Line(100, 0, 110, 0)}),
                                 AddSegment({Circle(105, 3, 1)}),
                                 AddSegment({Line(104, 3, 106, 3)})};
  SetAttr5(twin[2]);
  const TwinResult found = Search(drawgen::AllSegments(), part);
  ASSERT_TRUE(found.ok());
  ASSERT_EQ(found.twins.size(), 2u);
  EXPECT_EQ(found.twins[1].refCount(), 3);

  // A plain part whose twin has one unpaired attribute-5 segment in its window: not found,
  // in either trial.
  vexhost::ResetHost();
  options.mirror = true;
  const std::vector<int> plain = {AddSegment({Line(0, 0, 10, 0)}), AddSegment({Circle(5, 3, 1)})};
  AddSegment({Line(100, 0, 110, 0)});
  AddSegment({Circle(105, 3, 1)});
  SetAttr5(AddSegment({Circle(108, 2, 0.5)}));
  const TwinResult blocked = Search(drawgen::AllSegments(), plain);
  ASSERT_TRUE(blocked.ok());
  EXPECT_EQ(blocked.twins.size(), 1u);
}

TEST_F(SearchEdgeTest, AFullWindowStopsTheSearchAndLeavesNothingBehind) {
  const auto part = StraddlingPart(0, 0);
  for (int i = 0; i < 1001; ++i) AddSegment({Circle(1 + 0.008 * i, 1, 0.001)});
  const auto before = drawgen::AllSegments();
  Messages();
  EXPECT_EQ(Search(part, part).failure, TwinFailure::kSearchFailed);
  EXPECT_EQ(Messages(),
            std::vector<std::u16string>{u"box: 검색대상이 메모리할당영역을 초과했습니다.(T03)"});
  ExpectNothingLeft(before);
}

TEST_F(SearchEdgeTest, TooManyCopiesStopTheSearchAndEveryCopyIsDeleted) {
  const auto part = StraddlingPart(0, 0);
  const auto before = drawgen::AllSegments();
  Indicate(part);
  // The work list holds more segments than a copy table can take.
  std::vector<VexIdRecord> work;
  for (int i = 0; i < 1001; ++i) work.push_back({part[i % 3], 1});
  vexhost::TheHost().lists.Replace(5, work);
  Messages();
  EXPECT_EQ(SearchIndicated(part).failure, TwinFailure::kSearchFailed);
  EXPECT_EQ(Messages(),
            std::vector<std::u16string>{u"box: 검색대상이 메모리할당영역을 초과했습니다.(T04)"});
  ExpectNothingLeft(before);
}

TEST_F(SearchEdgeTest, AFullMirrorWindowStopsTheSearchAndTheTurnedCopiesGo) {
  // Without rotation, so that no trial from the lone line's other end meets the circles first.
  options.rotate = false;
  options.mirror = true;
  const auto part = StraddlingPart(0, 0);
  const int lone = AddSegment({Line(100, 0, 110, 0)});
  // Tiny circles in the mirror image of the lone line's window only: the part spans y -5.5 to
  // 4, so the direct window ends near y = 4.1 and the mirrored one reaches up to y = 5.6.
  for (int i = 0; i < 1001; ++i) AddSegment({Circle(101 + 0.008 * i, 5, 0.001)});
  const auto before = drawgen::AllSegments();
  Messages();
  EXPECT_EQ(Search({lone}, part).failure, TwinFailure::kSearchFailed);
  EXPECT_EQ(Messages(),
            std::vector<std::u16string>{u"box: 검색대상이 메모리할당영역을 초과했습니다.(T05)"});
  ExpectNothingLeft(before);
}

TEST_F(SearchEdgeTest, AFailedCopyStopsTheSearchWithItsMessage) {
  const auto part = StraddlingPart(0, 0);
  Indicate(part);
  const int gone = AddSegment({Line(50, 50, 51, 51)});
  vexhost::TheHost().lists.Replace(5, {{part[0], 1}, {gone, 1}});
  VexSgmDeleteSegment(gone);
  const auto before = drawgen::AllSegments();
  Messages();
  EXPECT_EQ(SearchIndicated(part).failure, TwinFailure::kSearchFailed);
  EXPECT_EQ(Messages(), std::vector<std::u16string>{u"error: 복사처리에 에러가 발생했습니다(T03)"});
  ExpectNothingLeft(before);
}

TEST_F(SearchEdgeTest, MoreTwinsThanTheTableHoldsKeepTheFirstAndSaySo) {
  const std::vector<int> part = {AddSegment({Line(0, 0, 10, 0)}), AddSegment({Circle(5, 3, 1)})};
  for (int i = 1; i <= 500; ++i) {
    const double x = 20.0 * (i % 40), y = 20.0 * (i / 40 + 1);
    AddSegment({Line(x, y, x + 10, y)});
    AddSegment({Circle(x + 5, y + 3, 1)});
  }
  Messages();
  const TwinResult found = Search(drawgen::AllSegments(), part);
  ASSERT_TRUE(found.ok());
  EXPECT_EQ(found.twins.size(), 499u);
  EXPECT_EQ(found.twins[0].refs[1].segmentId, part[0]);
  EXPECT_EQ(Messages(), std::vector<std::u16string>{
                            u"box: 동일한 부품이 499개를 넘어 2개는 목록에서 제외되었습니다."});
}

TEST_F(SearchEdgeTest, TwinsOfMoreSegmentsThanARecordHoldsAreRecordedWhole) {
  drawgen::TwinDrawing drawing(9, 120);
  const auto part = drawing.Place({});
  const auto twin = drawing.Place({drawing.spacing(), 0, 30, false});
  Messages();
  const TwinResult found = Search(drawgen::AllSegments(), part.segments);
  ASSERT_TRUE(found.ok());
  EXPECT_TRUE(Messages().empty());
  ASSERT_EQ(found.twins.size(), 2u);
  for (const auto& [m, placed] : {std::pair{1, part}, std::pair{2, twin}}) {
    const twinfind::MatchRecord& match = found.twins[static_cast<size_t>(m - 1)];
    EXPECT_EQ(match.refCount(), twinfind::kMatchRefCapacity);
    std::set<int> ids;
    for (int i = 1; i <= match.segmentCount(); ++i) ids.insert(match.segment(i).segmentId);
    EXPECT_EQ(ids, std::set<int>(placed.segments.begin(), placed.segments.end()));
    EXPECT_EQ(match.segmentCount(), static_cast<int>(placed.segments.size()));
  }
}

}  // namespace

// An outline that passes a point twice (a slot cut in and out along one line) is a closed
// outline like any other: a neighbour's line poking into a twin's window outside it does not
// block the twin, turned or not, while a stray hole inside it does.
TEST_F(SearchEdgeTest, OutlinesThatPassAPointTwiceFindTheirTwins) {
  // The outline as one segment and a grain line inside it as another, turned by `degrees`
  // about the origin and moved to (x, y); a neighbour's line just below the outline, inside the
  // search window; `strayHole` adds a hole.
  auto place = [](double x, double y, double degrees, bool strayHole) {
    const double t = degrees * std::numbers::pi / 180, c = std::cos(t), s = std::sin(t);
    auto line = [&](double u1, double v1, double u2, double v2) {
      return Line(x + u1 * c - v1 * s, y + u1 * s + v1 * c, x + u2 * c - v2 * s,
                  y + u2 * s + v2 * c);
    };
    const std::vector<std::pair<double, double>> path = {{0, 0},  {13, 0},  {13, 5}, {4, 5},
                                                         {13, 5}, {13, 10}, {0, 10}, {0, 0}};
    std::vector<FigureRecord> outline;
    for (size_t i = 0; i + 1 < path.size(); ++i) {
      outline.push_back(line(path[i].first, path[i].second, path[i + 1].first, path[i + 1].second));
    }
    const std::vector<int> ids = {AddSegment(outline), AddSegment({line(2, 2, 2, 8)})};
    AddSegment({line(-2, -0.05, 15, -0.05)});
    if (strayHole) {
      const FigureRecord at = line(3, 7.5, 3, 7.5);
      AddSegment({Circle(at.u.line.x1, at.u.line.y1, 1)});
    }
    return ids;
  };
  const auto part = place(0, 0, 0, false);
  const auto moved = place(100, 0, 0, false);
  const auto turned = place(0, 100, 73, false);
  place(100, 100, 0, true);
  const auto before = drawgen::AllSegments();
  const TwinResult result = Search(before, part);
  ASSERT_TRUE(result.ok());
  std::set<std::set<int>> found;
  for (const twinfind::MatchRecord& twin : result.twins) {
    std::set<int> ids;
    for (int i = 1; i <= twin.segmentCount(); ++i) ids.insert(twin.segment(i).segmentId);
    found.insert(ids);
  }
  const auto set = [](const std::vector<int>& v) { return std::set<int>(v.begin(), v.end()); };
  EXPECT_EQ(found, (std::set<std::set<int>>{set(part), set(moved), set(turned)}));
  ExpectNothingLeft(before);
}
