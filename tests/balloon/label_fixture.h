// A plug-in test with the settings loaded and no part or twins found yet, and a look at
// the balloons and texts the drawing holds: shared by the balloon tests.
#ifndef TESTS_BALLOON_LABEL_FIXTURE_H
#define TESTS_BALLOON_LABEL_FIXTURE_H

#include "balloon/balloon_make.h"
#include "balloon/count_text.h"
#include "balloon/found_parts.h"
#include "host/host_test_util.h"
#include "plugin/plugin_fixture.h"

namespace labeltest {

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
    foundParts = FoundParts{};
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
    foundParts.twins.push_back(record);
    return id;
  }
};

inline Rows RowsOf(const VexCommentBuffer& b) {
  Rows rows;
  for (int i = 0; i < b.balloon.rowCount; ++i) rows.emplace_back(b.balloon.rows[i]);
  return rows;
}

}  // namespace labeltest

#endif  // TESTS_BALLOON_LABEL_FIXTURE_H
