// The search range's capacity, mRangeLimit: a whole copper board (40,810 segments) is refused
// with the command's own message, followed by a line that says how many segments the window
// selected and how to raise the limit; raised, the same window is searched; values the setting
// cannot take are refused by `settings set`.
#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

namespace {

using tooltest::Quote;
using tooltest::RunTool;
using tooltest::ScratchFolder;

const std::string kBoard = std::string(TWINFIND_SAMPLES_DIR) + "/real/crkbd-F.Cu.dxf";

TEST(RangeLimit, AWholeBoardIsRefusedWithHowToRaiseTheLimitAndSearchedOnceRaised) {
  struct Case {
    const char* limit;     // nothing: the setting is absent
    const char* expected;  // in what the run printed
    bool refused;
  };
  const Case cases[] = {
      {nullptr,
       "box: 검색대상이 메모리할당영역을 초과했습니다.(T01)\n"
       "limit: the range selected 40810 segments, more than the 10000 the search range holds; "
       "twinfind settings set mRangeLimit 40810 raises the limit (at most 1000000)\n",
       true},
      {"40809", "holds; twinfind settings set mRangeLimit 40810 raises", true},
      {"40810", "info: 총 42개의 동일한 부품을 발견하였습니다.", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit ? c.limit : "absent");
    ScratchFolder folder;
    const std::string with = " --settings " + Quote(folder.path() / "s.reg");
    ASSERT_EQ(RunTool(folder, "settings set mIsRotate 1" + with).status, 0);
    ASSERT_EQ(RunTool(folder, "settings set mTolerance 0.001" + with).status, 0);
    if (c.limit) {
      ASSERT_EQ(RunTool(folder, std::string("settings set mRangeLimit ") + c.limit + with).status,
                0);
    }
    const auto script = folder.Write("run.script",
                                     "range 61 -153 195 -61\n"
                                     "range 140.27 -68.6927 141.29 -67.6573\n");
    const auto r = RunTool(folder, "run " + Quote(kBoard) + " --script " + Quote(script) + with);
    EXPECT_NE(r.out.find(c.expected), std::string::npos) << r.out.substr(r.out.size() - 600);
    EXPECT_EQ(r.out.find("limit: ") != std::string::npos, c.refused);
  }
}

TEST(RangeLimit, SettingsSetTakesAWholeNumberFromOneToAMillion) {
  ScratchFolder folder;
  const std::string with = " --settings " + Quote(folder.path() / "s.reg");
  for (const char* bad : {"0", "1000001", "-5", "12.5", "many", "+100"}) {
    const auto r = RunTool(folder, std::string("settings set mRangeLimit ") + bad + with);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("takes a whole number of segments from 1 to 1000000"), std::string::npos)
        << r.err;
  }
  EXPECT_EQ(RunTool(folder, "settings get mRangeLimit" + with).out, "10000\n");
  ASSERT_EQ(RunTool(folder, "settings set mRangeLimit 1000000" + with).status, 0);
  EXPECT_EQ(RunTool(folder, "settings get mRangeLimit" + with).out, "1000000\n");
}

}  // namespace
