// Rows of copies and the thinning of overlapping matches, on match tables made by hand.
#include "plugin/arrangement.h"
#include "balloon/found_parts.h"
#include "engine/match_extents.h"
#include "engine/match_overlaps.h"
#include "plugin/part_search.h"
#include "plugin/plugin_fixture.h"

namespace {

using plugintest::BoundsOf;
using plugintest::LastSegmentId;
using plugintest::PluginTest;
using plugintest::SegmentsAfter;
using twinfind::foundParts;

class RowTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    foundParts.twins.clear();
    twinfind::Settings().mArrangeWidth = u"5.0";
  }
  // A match of one rectangle w by h, somewhere far off.
  void AddMatch(double w, double h, bool mirrored = false) {
    const double x = 1000.0 * static_cast<double>(foundParts.twins.size() + 1);
    const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
    FigureRecord f{};
    f.kind = VEX_FIG_LINE;
    f.u.line = {x, 0, x + w, 0};
    VexFigCreateFigure(id, &f);
    f.u.line = {x + w, 0, x + w, h};
    VexFigCreateFigure(id, &f);
    twinfind::MatchRecord record;
    record.refs.Append({1, id});
    record.mirrored = mirrored ? 1 : 0;
    foundParts.twins.push_back(record);
  }
  // The lower left corners of the copies the row made, in order.
  std::vector<VexPoint> PlaceAndMeasure(VexPoint origin, std::vector<int>* frame = nullptr) {
    twinfind::MeasureRow();
    const int last = LastSegmentId();
    EXPECT_TRUE(twinfind::PlaceRow(origin).copied);
    std::vector<VexPoint> corners;
    const auto added = SegmentsAfter(last);
    for (size_t i = 0; i < added.size(); ++i) {
      if (frame != nullptr && i >= foundParts.twins.size()) {
        frame->push_back(added[i]);
        continue;
      }
      const VexBox b = BoundsOf({added[i]});
      corners.push_back({b.minX, b.minY});
    }
    return corners;
  }
};

TEST_F(RowTest, CopiesStandSideBySideWithTheGapBetweenThem) {
  AddMatch(10, 5);
  AddMatch(20, 8);
  AddMatch(10, 5);
  const auto corners = PlaceAndMeasure({100, 50});
  ASSERT_EQ(corners.size(), 3u);
  EXPECT_DOUBLE_EQ(corners[0].x, 100);
  EXPECT_DOUBLE_EQ(corners[1].x, 115);
  EXPECT_DOUBLE_EQ(corners[2].x, 140);
  for (const auto& c : corners) EXPECT_DOUBLE_EQ(c.y, 50);
  EXPECT_DOUBLE_EQ(twinfind::rowExtent.width, 50);
  EXPECT_DOUBLE_EQ(twinfind::rowExtent.height, 8);
}

TEST_F(RowTest, AGapThatIsNoNumberMakesTheCopiesTouch) {
  twinfind::Settings().mArrangeWidth = u"wide";
  AddMatch(10, 5);
  AddMatch(20, 8);
  const auto corners = PlaceAndMeasure({0, 0});
  EXPECT_DOUBLE_EQ(corners[1].x, 10);
}

TEST_F(RowTest, MirrorImagesComeLastInsideAFrame) {
  AddMatch(10, 5, true);
  AddMatch(20, 8);
  AddMatch(12, 6, true);
  std::vector<int> frame;
  const auto corners = PlaceAndMeasure({0, 0}, &frame);
  ASSERT_EQ(corners.size(), 3u);
  EXPECT_DOUBLE_EQ(corners[0].x, 0);   // the plain one first
  EXPECT_DOUBLE_EQ(corners[1].x, 25);  // then the mirror images in table order
  EXPECT_DOUBLE_EQ(corners[2].x, 40);
  ASSERT_EQ(frame.size(), 1u);
  const VexBox f = BoundsOf(frame);
  EXPECT_DOUBLE_EQ(f.minX, 25 - 2.5 - 2);  // half a gap before the group, plus the margin
  EXPECT_DOUBLE_EQ(f.maxX, 57 - 2.5 + 2);
  EXPECT_DOUBLE_EQ(f.minY, -2);
  EXPECT_DOUBLE_EQ(f.maxY, 6 + 2);  // the tallest mirror image
}

TEST_F(RowTest, ARowOfMirrorImagesOnlyStartsItsFrameHalfAGapLeftOfTheOrigin) {
  AddMatch(10, 5, true);
  AddMatch(10, 5, true);
  std::vector<int> frame;
  const auto corners = PlaceAndMeasure({0, 0}, &frame);
  EXPECT_DOUBLE_EQ(corners[0].x, 0);
  const VexBox f = BoundsOf(frame);
  EXPECT_DOUBLE_EQ(f.minX, -2.5 - 2);
  EXPECT_DOUBLE_EQ(f.maxX, 30 - 2.5 + 2);  // covers both copies (0..10 and 15..25)
}

TEST_F(RowTest, ACopyListThatRefusesASegmentStopsTheRowWithItsMessage) {
  AddMatch(10, 5);
  AddMatch(10, 5);
  twinfind::MeasureRow();
  host().lists.SetCapacity(0);
  host().transcript.Clear();
  EXPECT_FALSE(twinfind::PlaceRow({0, 0}).copied);
  EXPECT_EQ(Lines(), std::vector<std::u16string>{u"error: Api로 복사할 수 없습니다."});
  EXPECT_FALSE(host().lists.IsOpen(8));
}

// Matches given as lists of segment ids.
std::vector<twinfind::MatchRecord> Matches(const std::vector<std::vector<int>>& matches) {
  std::vector<twinfind::MatchRecord> records;
  for (const auto& ids : matches) {
    twinfind::MatchRecord record;
    for (const int id : ids) record.refs.Append({1, id});
    records.push_back(record);
  }
  return records;
}

// The first segment of each match that DropOverlappingMatches keeps.
std::vector<int> KeptFirstIds(std::vector<twinfind::MatchRecord> matches) {
  twinfind::DropOverlappingMatches(matches, {});
  std::vector<int> ids;
  for (const twinfind::MatchRecord& m : matches) ids.push_back(m.refs[1].segmentId);
  return ids;
}

TEST(DropOverlappingMatches, AnEarlierMatchSharingASegmentWithALaterOneGoes) {
  EXPECT_EQ(KeptFirstIds(Matches({{1, 2}, {3, 2}})), std::vector<int>{3});
  EXPECT_EQ(KeptFirstIds(Matches({{1, 2}, {5, 6}, {7, 1}})), (std::vector<int>{5, 7}));
  EXPECT_EQ(KeptFirstIds(Matches({{1}, {2}, {3}})), (std::vector<int>{1, 2, 3}));
  // Only segment ids count.
  std::vector<twinfind::MatchRecord> matches(2);
  matches[0].refs.Append({1, 4});
  matches[1].refs.Append({2, 4});
  matches[1].mirrored = 1;
  twinfind::DropOverlappingMatches(matches, {});
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].mirrored, 1);  // the survivor moves whole
}

}  // namespace
