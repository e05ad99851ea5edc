// Measuring found parts, the row they make, and the frame around a group.
#include <gtest/gtest.h>

#include "engine/geometry.h"
#include "engine/match_extents.h"
#include "engine/shape_model.h"
#include "host/host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Line;
using namespace twinfind;

class ExtentsTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
  // A match of one rectangle segment w by h at (x, 0).
  void AddMatch(double x, double w, double h) {
    const int id = AddSegment({Line(x, 0, x + w, 0), Line(x + w, 0, x + w, h)});
    MatchRecord record;
    record.refs.Append({1, id});
    twins.push_back(record);
  }
  std::vector<MatchRecord> twins;
  RowExtent row;
};

TEST_F(ExtentsTest, TheRowIsTheWidthsWithGapsAndTheTallestHeight) {
  AddMatch(0, 10, 5);
  AddMatch(100, 20, 8);
  AddMatch(300, 30, 5);
  ComputeMatchExtents(twins, 5.0, row);
  EXPECT_DOUBLE_EQ(row.width, 70);
  EXPECT_DOUBLE_EQ(row.height, 8);
  EXPECT_DOUBLE_EQ(twins[1].box.minX, 100);
  EXPECT_DOUBLE_EQ(twins[1].box.maxY, 8);
  EXPECT_DOUBLE_EQ(row.corners[2].x, 70);
  EXPECT_DOUBLE_EQ(row.corners[3].y, 8);
  // Without a gap the parts touch; no match keeps the last row.
  ComputeMatchExtents(twins, 0.0, row);
  EXPECT_DOUBLE_EQ(row.width, 60);
  twins.clear();
  ComputeMatchExtents(twins, 5.0, row);
  EXPECT_DOUBLE_EQ(row.width, 60);
}

TEST_F(ExtentsTest, AMatchTheBoxSkipsKeepsTheResetBoxAndShortensTheRow) {
  AddMatch(0, 10, 5);
  const int id = AddSegment({Line(0, 0, 50, 50)});
  vexhost::TheHost().drawing.FindSegment(id)->attributes |= 1u << VEX_ATTRIBUTE_5;
  MatchRecord skipped;
  skipped.refs.Append({1, id});
  twins.push_back(skipped);
  ComputeMatchExtents(twins, 5.0, row);
  EXPECT_EQ(twins[1].box.minX, kBoxReset);
  EXPECT_EQ(twins[1].box.maxX, -kBoxReset);
  EXPECT_DOUBLE_EQ(row.width, 10 + 5 - 2 * kBoxReset);
  EXPECT_DOUBLE_EQ(row.height, 5);
}

TEST_F(ExtentsTest, PartsBeyondTheResetValuesAreMeasuredRight) {
  AddMatch(25000000, 10, 5);
  ComputeMatchExtents(twins, 5.0, row);
  EXPECT_DOUBLE_EQ(twins[0].box.minX, 25000000);
  EXPECT_DOUBLE_EQ(row.width, 10);
}

TEST_F(ExtentsTest, TheFrameIsFourLinesPushedOutInOrderAndColour) {
  const int frame = CreateFrameRectangle({{0, 0}, {10, 0}, {0, 5}, {10, 5}}, 2.0);
  FigureRecord lines[4];
  const SegmentRef ref{1, frame};
  ASSERT_EQ(VexFigGetFigure2(&ref, lines, 4), 4);
  const double expected[4][4] = {
      {-2, -2, 12, -2}, {-2, 7, -2, -2}, {12, 7, -2, 7}, {12, -2, 12, 7}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lines[i].kind, VEX_FIG_LINE);
    EXPECT_DOUBLE_EQ(lines[i].u.line.x1, expected[i][0]) << i;
    EXPECT_DOUBLE_EQ(lines[i].u.line.y1, expected[i][1]) << i;
    EXPECT_DOUBLE_EQ(lines[i].u.line.x2, expected[i][2]) << i;
    EXPECT_DOUBLE_EQ(lines[i].u.line.y2, expected[i][3]) << i;
  }
  for (int e = VexSgmGetHeadElementId(frame); e != -1; e = VexElmGetNextElementId(e)) {
    VexLineTypeData data{};
    ASSERT_EQ(VexFigGetLineType(e, &data), 0);
    EXPECT_EQ(data.color, 2);
    EXPECT_EQ(data.lineType, 0);
  }
  EXPECT_EQ(VexSgmGetType(frame), VEX_SEGMENT_FIGURES);
  EXPECT_EQ(vexhost::TheHost().drawing.FindSegment(frame)->life, VEX_LIFE_LASTING);
  EXPECT_EQ(VexFigIsClosed(frame), 1);
}

}  // namespace
