// Texts and balloons: copied in, read back, sized, found, moved.
#include <gtest/gtest.h>

#include <memory>

#include "host/host.h"
#include "host_test_util.h"

namespace {

using hosttest::ListIds;

class CommentTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  static BalloonData Balloon(double x, double y, std::vector<const char16_t*> rows) {
    BalloonData b{};
    b.leader = 1;
    b.anchorX = x - 10;
    b.anchorY = y - 10;
    b.centerX = x;
    b.centerY = y;
    b.rowCount = static_cast<int32_t>(rows.size());
    for (size_t i = 0; i < rows.size() && i < 3; ++i) b.rows[i] = rows[i];
    b.diameter = 5;
    return b;
  }
};

TEST_F(CommentTest, TheHostCopiesTheTextsItIsHanded) {
  const int segment = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  auto row = std::make_unique<char16_t[]>(6);
  std::u16string(u"A-009").copy(row.get(), 5);
  row[5] = u'\0';
  const BalloonData data = Balloon(100, 50, {row.get(), u"SS400"});
  const int element = VexCmtCreateBalloon(segment, &data);
  ASSERT_GT(element, 0);
  row.reset();  // the caller frees its buffer at once
  EXPECT_EQ(VexElmGetType(element), VEX_ELEMENT_BALLOON);
  VexCommentBuffer buffer{};
  ASSERT_EQ(VexCmtGetComment(element, &buffer), 0);
  EXPECT_EQ(buffer.balloon.rowCount, 2);
  EXPECT_EQ(std::u16string(buffer.balloon.rows[0]), u"A-009");
  EXPECT_EQ(std::u16string(buffer.balloon.rows[1]), u"SS400");
  EXPECT_EQ(buffer.balloon.centerX, 100);
  EXPECT_EQ(buffer.balloon.diameter, 5);
}

TEST_F(CommentTest, MalformedRecordsAndWrongSegmentsAreRefused) {
  const int comments = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  const int figures = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  BalloonData none = Balloon(0, 0, {});
  EXPECT_EQ(VexCmtCreateBalloon(comments, &none), -1);
  BalloonData four = Balloon(0, 0, {u"1", u"2", u"3"});
  four.rowCount = 4;
  EXPECT_EQ(VexCmtCreateBalloon(comments, &four), -1);
  BalloonData missing = Balloon(0, 0, {u"1", u"2"});
  missing.rows[1] = nullptr;
  EXPECT_EQ(VexCmtCreateBalloon(comments, &missing), -1);
  const BalloonData good = Balloon(0, 0, {u"1"});
  EXPECT_EQ(VexCmtCreateBalloon(figures, &good), -1);
  NormalTextData text{};
  EXPECT_EQ(VexCmtCreateNormal(comments, &text), -1);  // no text
  VexCommentBuffer buffer{};
  FigureRecord line{};
  line.kind = VEX_FIG_LINE;
  EXPECT_EQ(VexCmtGetComment(VexFigCreateFigure(figures, &line), &buffer), -1);
}

TEST_F(CommentTest, TextsTakeTheirSizeAndAreFoundWhereTheyStand) {
  const int segment = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  NormalTextData data{};
  data.type = 33;
  data.x = 10;
  data.y = 20;
  data.text = u"3/2EA";
  data.size1 = 10;
  data.size2 = 7;
  const int element = VexCmtCreateNormal(segment, &data);
  ASSERT_GT(element, 0);
  EXPECT_EQ(VexElmGetType(element), VEX_ELEMENT_TEXT);
  const CharSizeData size{5.5, 4, 0};
  ASSERT_EQ(VexCmtSetCharSize(element, &size), 0);
  VexCommentBuffer buffer{};
  ASSERT_EQ(VexCmtGetComment(element, &buffer), 0);
  EXPECT_EQ(buffer.text.size1, 5.5);
  EXPECT_EQ(std::u16string(buffer.text.text), u"3/2EA");
  // Five characters 4 wide: the text reaches from x 10 to 30.
  const VexBox near{29, 21, 31, 22}, beyond{31, 21, 32, 22};
  EXPECT_EQ(VexSgmSearchSegment2(&near, nullptr, 7), 0);
  EXPECT_EQ(VexSgmSearchSegment2(&beyond, nullptr, 7), -1);
  // Balloons are not texts: their size is their diameter.
  const BalloonData b = Balloon(0, 0, {u"1"});
  EXPECT_EQ(VexCmtSetCharSize(VexCmtCreateBalloon(segment, &b), &size), -1);
}

TEST_F(CommentTest, CopiesAndMirrorsMoveBalloonsWithTheirLeaders) {
  const int segment = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  const BalloonData data = Balloon(100, 50, {u"101"});
  VexCmtCreateBalloon(segment, &data);
  vexhost::TheHost().lists.Replace(5, {{segment, 1}});
  const VexPoint base{0, 0}, target{10, 0};
  ASSERT_EQ(VexSgmEditSegment2(5, &base, &target, 0, 1, 0, 6), 0);
  VexCommentBuffer buffer{};
  ASSERT_EQ(VexCmtGetComment(VexSgmGetHeadElementId(ListIds(6)[0]), &buffer), 0);
  EXPECT_DOUBLE_EQ(buffer.balloon.centerX, 110);
  EXPECT_DOUBLE_EQ(buffer.balloon.anchorX, 100);
  EXPECT_EQ(std::u16string(buffer.balloon.rows[0]), u"101");
  const VexPoint p1{0, 0}, p2{1, 0};
  ASSERT_EQ(VexSgmMirrorSegment2(5, &p1, &p2, 0, 1, 8), 0);
  ASSERT_EQ(VexCmtGetComment(VexSgmGetHeadElementId(segment), &buffer), 0);
  EXPECT_DOUBLE_EQ(buffer.balloon.centerY, -50);
  EXPECT_DOUBLE_EQ(buffer.balloon.anchorY, -40);
}

}  // namespace
