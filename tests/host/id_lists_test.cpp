// Id lists: handles, reading, appending, emptying, failures.
#include <gtest/gtest.h>

#include "host/host.h"
#include "host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Line;

class IdListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vexhost::ResetHost();
    a = AddSegment({Line(0, 0, 1, 0)});
    b = AddSegment({Line(0, 0, 2, 0)});
  }
  int a = 0, b = 0;
};

TEST_F(IdListsTest, RecordsComeBackInOrderUntilMinusOne) {
  const int h = VexIddOpenApIdData(5, 1);
  ASSERT_GE(h, 0);
  EXPECT_EQ(VexIddSetApIdData(h, b, 1), 0);
  EXPECT_EQ(VexIddSetApIdData(h, a, 1), 0);
  VexIdRecord r{};
  ASSERT_EQ(VexIddGetHeadApIdData(h, &r), 0);
  EXPECT_EQ(r.segmentId, b);
  EXPECT_EQ(r.auxId, 1);
  ASSERT_EQ(VexIddGetNextApIdData(h, &r), 0);
  EXPECT_EQ(r.segmentId, a);
  EXPECT_EQ(VexIddGetNextApIdData(h, &r), -1);
  ASSERT_EQ(VexIddGetHeadApIdData(h, &r), 0);  // head starts over
  EXPECT_EQ(r.segmentId, b);
  EXPECT_EQ(VexIddInitApIdData(h), 0);
  EXPECT_EQ(VexIddGetHeadApIdData(h, &r), -1);
  EXPECT_EQ(VexIddCloseApIdData(h), 0);
}

TEST_F(IdListsTest, AppendFailsOnAClosedOrReadOnlyListAnUnknownSegmentOrAFullList) {
  EXPECT_EQ(VexIddSetApIdData(100 + 5, a, 1), -1);  // never opened
  const int readOnly = VexIddOpenApIdData(5, 0);
  EXPECT_EQ(VexIddSetApIdData(readOnly, a, 1), -1);
  const int h = VexIddOpenApIdData(5, 1);
  EXPECT_EQ(VexIddSetApIdData(h, 999, 1), -1);  // no such segment
  EXPECT_EQ(VexIddSetApIdData(h, a, 2), -1);    // not of this drawing
  vexhost::TheHost().lists.SetCapacity(1);
  EXPECT_EQ(VexIddSetApIdData(h, a, 1), 0);
  EXPECT_EQ(VexIddSetApIdData(h, b, 1), -1);  // full
  VexIddCloseApIdData(h);
  EXPECT_EQ(VexIddSetApIdData(h, b, 1), -1);  // closed
  EXPECT_EQ(VexIddOpenApIdData(16, 1), -1);
  EXPECT_EQ(VexIddOpenApIdData(-1, 1), -1);
}

TEST_F(IdListsTest, SelectionAndApplicationHandlesDoNotMix) {
  vexhost::TheHost().lists.SetSelection({{a, 1}, {b, 1}});
  const int sel = VexIddOpenSelIdData(1);
  const int app = VexIddOpenApIdData(0, 1);
  VexIdRecord r{};
  EXPECT_EQ(VexIddGetHeadApIdData(sel, &r), -1);
  EXPECT_EQ(VexIddGetHeadSelIdData(app, &r), -1);
  ASSERT_EQ(VexIddGetHeadSelIdData(sel, &r), 0);
  EXPECT_EQ(r.segmentId, a);
  ASSERT_EQ(VexIddGetNextSelIdData(sel, &r), 0);
  EXPECT_EQ(r.segmentId, b);
  EXPECT_EQ(VexIddGetNextSelIdData(sel, &r), -1);
  EXPECT_EQ(VexIddCloseSelIdData(sel), 0);
  EXPECT_EQ(VexIddGetHeadSelIdData(sel, &r), -1);  // closed
  VexIddClearSysIdData();
  EXPECT_TRUE(vexhost::TheHost().lists.selection().empty());
}

}  // namespace
