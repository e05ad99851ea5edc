// Balloon rows, and the balloons on found parts.
#include "balloon/label_fixture.h"

namespace {

using namespace labeltest;
using namespace twinfind;

TEST_F(LabelTest, RowsFollowMaterialCountAndTheMaterialRow) {
  auto& s = Settings();
  s.mBalloonStr = u"A-009";
  materialText = u"SS400";
  foundParts.twins.push_back(MatchRecord{});
  foundParts.twins.push_back(MatchRecord{});
  struct Case {
    int material, count, row;
    Rows rows;
  };
  const Case cases[] = {
      {1, 1, 0, {u"SS400", u"A-009", u"2"}}, {1, 1, 1, {u"A-009", u"SS400", u"2"}},
      {1, 1, 2, {u"A-009", u"2", u"SS400"}}, {1, 1, 7, {u"A-009", u"2", u"SS400"}},
      {1, 0, 0, {u"SS400", u"A-009"}},       {1, 0, 2, {u"A-009", u"SS400"}},
      {0, 1, 0, {u"A-009", u"2"}},           {0, 0, 1, {u"A-009"}},
  };
  for (const Case& c : cases) {
    s.mIsMaterial = c.material;
    s.mIsCount = c.count;
    s.mMaterial = c.row;
    EXPECT_EQ(BalloonRows(), c.rows) << c.material << c.count << c.row;
  }
}

TEST_F(LabelTest, EveryFoundPartGetsItsBalloonOnTheBalloonLayer) {
  VexLyrSetCurrentLayer(3);
  for (int i = 0; i < 5; ++i) AddSquareMatch(100.0 * i);
  CreatePartBalloons();
  const auto balloons = Comments(VEX_ELEMENT_BALLOON);
  ASSERT_EQ(balloons.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    const auto& b = balloons[i].balloon;
    EXPECT_EQ(b.leader, 1);
    EXPECT_DOUBLE_EQ(b.anchorX, 100.0 * i + 5);  // the top edge's middle
    EXPECT_DOUBLE_EQ(b.anchorY, 10);
    EXPECT_NE(b.anchorElementId, 0);
    EXPECT_EQ(b.anchorAuxId, 1);
    EXPECT_EQ(b.diameter, 5.0);
    EXPECT_EQ(RowsOf(balloons[i]), (Rows{u"", u"101", u"5"}));  // no material typed yet
  }
  for (const int id : host().drawing.SegmentIds()) {
    if (VexSgmGetType(id) == VEX_SEGMENT_COMMENTS) {
      EXPECT_EQ(VexSgmGetLayer(id), 801);
    }
  }
  EXPECT_EQ(VexLyrGetCurrentLayer(), 3);
}

TEST_F(LabelTest, DetachedBalloonsHangOnNothing) {
  AddSquareMatch(0);
  CreateDetachedBalloons();
  const auto balloons = Comments(VEX_ELEMENT_BALLOON);
  ASSERT_EQ(balloons.size(), 1u);
  EXPECT_EQ(balloons[0].balloon.anchorElementId, 0);
  EXPECT_EQ(balloons[0].balloon.anchorAuxId, 0);
  EXPECT_DOUBLE_EQ(balloons[0].balloon.anchorX, 5);
}

TEST_F(LabelTest, WithoutAssyOnlyTheIndicatedPartGetsABalloon) {
  Settings().mIsBalloonAssy = 0;
  const int part = AddSquareMatch(0);
  AddSquareMatch(100);
  foundParts.part.push_back({1, part});
  CreatePartBalloons();
  ASSERT_EQ(Comments(VEX_ELEMENT_BALLOON).size(), 1u);
  EXPECT_DOUBLE_EQ(Comments(VEX_ELEMENT_BALLOON)[0].balloon.anchorX, 5);
}

TEST_F(LabelTest, APartWithoutAnAnchorGetsNoBalloonAndTheUserIsTold) {
  FigureRecord k4{};
  k4.kind = VEX_FIG_KIND4;
  const int odd = AddSegment({k4});
  MatchRecord record;
  record.refs.Append({1, odd});
  foundParts.twins.push_back(record);
  AddSquareMatch(100);
  const size_t segments = host().drawing.SegmentCount();
  host().transcript.Clear();
  CreatePartBalloons();
  EXPECT_EQ(Comments(VEX_ELEMENT_BALLOON).size(), 1u);
  EXPECT_EQ(host().drawing.SegmentCount(), segments + 1);  // no empty segment either
  EXPECT_EQ(Lines(), std::vector<std::u16string>{
                         u"info: 풍선을 붙일 요소가 없는 부품 1개에는 풍선을 만들지 않았습니다."});
}

TEST_F(LabelTest, SizesThatAreNoNumberOrOutOfRangeReadAsZero) {
  Settings().mBalloonSize = u"1e999";
  Settings().mBalloonLeaderSize = u"abc";
  AddSquareMatch(0);
  CreatePartBalloons();
  const auto b = Comments(VEX_ELEMENT_BALLOON)[0].balloon;
  EXPECT_EQ(b.diameter, 0.0);
  EXPECT_DOUBLE_EQ(b.centerX, 5);  // no leader length, no radius: the centre is the anchor
}

}  // namespace
