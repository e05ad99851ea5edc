// Balloon rows, part numbers, count texts, and the balloons on found parts.
#include "balloon/balloon_make.h"
#include "balloon/count_text.h"
#include "engine/shape_model.h"
#include "host/host_test_util.h"
#include "plugin/plugin_fixture.h"

namespace {

using hosttest::AddSegment;
using hosttest::Circle;
using hosttest::Line;
using plugintest::PluginTest;
using namespace twinfind;

using Rows = std::vector<std::u16string>;

class LabelTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    LoadSettings();
    matchTable.Clear();
    partTable.Clear();
  }
  // The balloons (or texts) of the drawing, as their records.
  std::vector<VexCommentBuffer> Comments(int type) {
    std::vector<VexCommentBuffer> found;
    for (const int id : host().drawing.SegmentIds()) {
      const int e = VexSgmGetHeadElementId(id);
      VexCommentBuffer buffer{};
      if (VexElmGetType(e) == type && VexCmtGetComment(e, &buffer) == 0) found.push_back(buffer);
    }
    return found;
  }
  // A match of one square segment at x.
  int AddSquareMatch(double x) {
    const int id = AddSegment({Line(x, 0, x + 10, 0), Line(x + 10, 0, x + 10, 10),
                               Line(x + 10, 10, x, 10), Line(x, 10, x, 0)});
    MatchRecord record;
    record.refs.Append({1, id});
    matchTable.Append(record);
    return id;
  }
};

Rows RowsOf(const VexCommentBuffer& b) {
  Rows rows;
  for (int i = 0; i < b.balloon.rowCount; ++i) rows.emplace_back(b.balloon.rows[i]);
  return rows;
}

TEST_F(LabelTest, RowsFollowMaterialCountAndTheMaterialRow) {
  auto& s = Settings();
  s.mBalloonStr = u"A-009";
  materialText = u"SS400";
  matchTable.Append(MatchRecord{});
  matchTable.Append(MatchRecord{});
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

TEST(NextPartNumber, CountsUpTheTrailingRunKeepingItsWidth) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"A-009", u"A-010"}, {u"P12", u"P13"},   {u"99", u"100"},     {u"0099", u"0100"},
      {u"X", u"X"},         {u"B1.5", u"B002"}, {u"", u""},          {u"9", u"10"},
      {u"A9", u"A10"},      {u"A09", u"A10"},   {u"부품7", u"부품8"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(NextPartNumber(in), out);
  // A run beyond the 32-bit range saturates instead of wrapping into a negative number.
  EXPECT_EQ(NextPartNumber(u"99999999999"), u"02147483648");
}

TEST_F(LabelTest, CountTextsStackUpwardsWithAndWithoutDepth) {
  Settings().mBalloonStr = u"A-009";
  depthText = u"12";
  for (int i = 0; i < 7; ++i) matchTable.Append(MatchRecord{});
  CreateCountTexts({100, 200}, 0, 0);
  auto texts = Comments(VEX_ELEMENT_TEXT);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(std::u16string(texts[0].text.text), u"T12");
  EXPECT_EQ(texts[0].text.size1, 7.0);
  EXPECT_EQ(texts[0].text.size2, 5.5);
  EXPECT_EQ(std::u16string(texts[1].text.text), u"7EA");
  EXPECT_EQ(texts[1].text.y, 210);
  EXPECT_EQ(std::u16string(texts[2].text.text), u"A-009");
  EXPECT_EQ(texts[2].text.y, 220);
  EXPECT_EQ(texts[2].text.x, 50);
  EXPECT_EQ(texts[1].text.type, 33);
  EXPECT_EQ(texts[1].text.three, 3);
  EXPECT_EQ(texts[1].text.one, 1);
  EXPECT_EQ(texts[1].text.ten, 10);
  EXPECT_EQ(depthText, u"");  // used up
  // On the balloon layer, the current layer untouched.
  EXPECT_EQ(VexSgmGetLayer(host().drawing.SegmentIds().back()), 801);
  EXPECT_EQ(VexLyrGetCurrentLayer(), 0);

  vexhost::ResetHost();
  Settings().mBalloonStr = u"";
  CreateCountTexts({0, 0}, 3, 2);
  texts = Comments(VEX_ELEMENT_TEXT);
  ASSERT_EQ(texts.size(), 1u);  // no depth, no part number
  EXPECT_EQ(std::u16string(texts[0].text.text), u"3/2EA");
  EXPECT_EQ(texts[0].text.y, 0);
  vexhost::ResetHost();
  CreateCountTexts({0, 0}, 0, 2);
  EXPECT_EQ(std::u16string(Comments(VEX_ELEMENT_TEXT)[0].text.text), u"0/2EA");
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
  partTable.Append(MakeTargetEntry({part, 1}));
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
  matchTable.Append(record);
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
