// The step protocol as a plug-in sees it: registration, results 2, 3 and 0, masks, events,
// temporary drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host.h"
#include "host_test_util.h"

namespace {

using hosttest::AddSegment;
using hosttest::Line;

// A small fake command whose steps record what the host hands them.
struct Recorder {
  std::vector<std::string> calls;
  int resultA = VEX_STEP_STAY;
  uint32_t maskA = VEX_MASK_RANGE;
  int temporaryId = 0;       // made by step A
  int temporarySeenByB = 0;  // VexSgmGetType of it, as step B saw it
  VexPoint readyPoint{-1, -1};
  VexPoint eventPoint{-1, -1};
  int motion = -1;
  std::u16string keyin;
  int queryAnswer = 0;
};
Recorder rec;

int ExecB(int code, const VexEvent* event) {
  rec.calls.push_back("B" + std::to_string(code));
  rec.temporarySeenByB = VexSgmGetType(rec.temporaryId);
  VexPoint p{};
  if (VexEvtGetPoint(code, event, &p) == 0) rec.eventPoint = p;
  rec.motion = VexEvtIsMouseMotion(code, event);
  rec.keyin = VexEvtGetKeyinString(code, event);
  return VEX_STEP_STAY;
}

int ReadyB(const char16_t* text, double x, double y) {
  rec.calls.push_back("readyB:" + std::string(text[0] == u'x' ? "x" : "?"));
  rec.readyPoint = {x, y};
  VexEvtSetEventMask(VEX_MASK_POINT);
  VexCtlSetExecuteFunc(ExecB, u"%f %f", x, y);
  return 0;
}

int ExecA(int code, const VexEvent* /*event*/) {
  rec.calls.push_back("A" + std::to_string(code));
  rec.temporaryId = AddSegment({Line(0, 0, 1, 1)}, VEX_LIFE_TEMPORARY);
  VexCtlSetReadyFunc(ReadyB, u"x");
  return rec.resultA;
}

int Start() {
  rec.calls.push_back("start");
  VexEvtSetEventMask(rec.maskA);
  VexCtlSetExecuteFunc(ExecA, u"");
  return 0;
}
int Query() {
  rec.calls.push_back("query");
  return rec.queryAnswer;
}
int End() {
  rec.calls.push_back("end");
  return 0;
}

class StepDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vexhost::ResetHost();
    rec = Recorder{};
    ASSERT_EQ(VexCtlRegisterVexLib2(Start, Query, End), 1);
  }
  vexhost::StepDriver& driver() { return vexhost::TheHost().driver; }
};

TEST_F(StepDriverTest, RegistrationAnswersTheForcedResultAndKeepsNothingBelowOne) {
  vexhost::ResetHost();
  for (const int forced : {0, -5}) {
    driver().ForceRegistrationResult(forced);
    EXPECT_EQ(VexCtlRegisterVexLib2(Start, Query, End), forced);
    EXPECT_FALSE(driver().registered());
    EXPECT_FALSE(driver().Start());
  }
  driver().ForceRegistrationResult(7);
  EXPECT_EQ(VexCtlRegisterVexLib2(Start, Query, End), 7);
  EXPECT_TRUE(driver().Start());
}

TEST_F(StepDriverTest, ResultTwoRunsTheReadyFunctionJustNamedWithThePointer) {
  rec.resultA = VEX_STEP_NEXT;
  ASSERT_TRUE(driver().Start());
  EXPECT_TRUE(driver().Range({0, 0, 10, 10}).taken);
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"start", "A0", "readyB:x"}));
  // A range leaves the pointer at its second corner.
  EXPECT_EQ(rec.readyPoint.x, 10);
  EXPECT_EQ(rec.readyPoint.y, 10);
  // The next event goes to the new step, with the default input of its ready function.
  EXPECT_EQ(driver().defaultInput(), u"10.000000 10.000000");
  EXPECT_TRUE(driver().Point({3, 4}).taken);
  EXPECT_EQ(rec.calls.back(), "B0");
}

TEST_F(StepDriverTest, ResultThreeKeepsTheStep) {
  rec.resultA = VEX_STEP_STAY;
  ASSERT_TRUE(driver().Start());
  driver().Range({0, 0, 1, 1});
  driver().Range({0, 0, 1, 1});
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"start", "A0", "A0"}));
  EXPECT_TRUE(driver().active());
}

TEST_F(StepDriverTest, ResultZeroEndsTheCommandAndCallsTheEndCallback) {
  rec.resultA = VEX_STEP_DONE;
  const int lasting = AddSegment({Line(0, 0, 5, 5)});
  ASSERT_TRUE(driver().Start());
  SegmentRef ref{1, lasting};
  VexIdSetBlinkSegmentId(&ref);
  driver().End();
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"start", "A7", "end"}));
  EXPECT_FALSE(driver().active());
  // The temporary drawing and the blinking end with the command; lasting segments stay.
  EXPECT_EQ(VexSgmGetType(rec.temporaryId), -1);
  EXPECT_EQ(VexSgmGetType(lasting), VEX_SEGMENT_FIGURES);
  EXPECT_TRUE(vexhost::TheHost().drawing.blinking().empty());
  const auto after = driver().Range({0, 0, 1, 1});
  EXPECT_FALSE(after.taken);
  EXPECT_EQ(rec.calls.size(), 3u);
}

TEST_F(StepDriverTest, AnyOtherResultAlsoEndsTheCommand) {
  rec.resultA = 42;
  ASSERT_TRUE(driver().Start());
  driver().End();
  EXPECT_EQ(rec.calls.back(), "end");
}

TEST_F(StepDriverTest, EventsOutsideTheMaskNeverReachThePlugin) {
  rec.maskA = VEX_MASK_RANGE;
  ASSERT_TRUE(driver().Start());
  EXPECT_FALSE(driver().Point({1, 1}).taken);
  EXPECT_FALSE(driver().Motion({1, 1}).taken);
  EXPECT_FALSE(driver().Keyin(u"abc").taken);
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"start"}));
  // The end button is offered at every step.
  EXPECT_TRUE(driver().End().taken);

  vexhost::ResetHost();
  rec = Recorder{};
  rec.maskA = VEX_MASK_KEYIN;
  VexCtlRegisterVexLib2(Start, Query, End);
  ASSERT_TRUE(driver().Start());
  EXPECT_FALSE(driver().Range({0, 0, 1, 1}).taken);
  EXPECT_FALSE(driver().Point({0, 0}).taken);
  EXPECT_TRUE(driver().Keyin(u"abc").taken);
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"start", "A5"}));
}

TEST_F(StepDriverTest, ASelectionOfGivenSegmentsTakesWhatAWindowOverTheDrawingWould) {
  vexhost::Drawing& drawing = vexhost::TheHost().drawing;
  const int shown = AddSegment({Line(0, 0, 1, 1)});
  const int far = AddSegment({Line(500, 500, 501, 501)});
  drawing.SetCurrentLayer(7);
  const int hidden = AddSegment({Line(2, 2, 3, 3)});
  drawing.SetLayerVisible(7, false);
  const int temporary = AddSegment({Line(4, 4, 5, 5)}, VEX_LIFE_TEMPORARY);
  ASSERT_TRUE(driver().Start());
  // Unknown, temporary and hidden segments are left out, a segment given twice taken once, in
  // drawing order, wherever the segments lie.
  ASSERT_TRUE(driver().Select({far, 999, hidden, temporary, shown, far}).taken);
  vexhost::IdLists& lists = vexhost::TheHost().lists;
  const int handle = lists.OpenSelection(1);
  std::vector<int> selected;
  VexIdRecord record{};
  for (int r = lists.SelectionHead(handle, &record); r != -1;
       r = lists.SelectionNext(handle, &record))
    selected.push_back(record.segmentId);
  lists.CloseSelection(handle);
  EXPECT_EQ(selected, (std::vector<int>{shown, far}));
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"start", "A0"}));
  rec.maskA = VEX_MASK_KEYIN;  // not at a step that takes a range
  vexhost::ResetHost();
  VexCtlRegisterVexLib2(Start, Query, End);
  ASSERT_TRUE(driver().Start());
  EXPECT_FALSE(driver().Select({1}).taken);
}

TEST_F(StepDriverTest, TemporarySegmentsAreGoneBeforeTheNextEventAndWithTheirStep) {
  ASSERT_TRUE(driver().Start());
  driver().Range({0, 0, 1, 1});
  const int first = rec.temporaryId;
  ASSERT_EQ(VexSgmGetType(first), VEX_SEGMENT_FIGURES);  // still shown: the step stays
  rec.resultA = VEX_STEP_NEXT;
  driver().Range({0, 0, 1, 1});
  EXPECT_EQ(VexSgmGetType(first), -1);  // erased before the event
  // What the step drew at the event that handed over is gone with it, before step B waits.
  EXPECT_EQ(VexSgmGetType(rec.temporaryId), -1);
  driver().Motion({2, 2});
  EXPECT_EQ(rec.temporarySeenByB, -1);
}

TEST_F(StepDriverTest, PointStepsTellClicksFromMotionAndReadTypedCoordinates) {
  rec.resultA = VEX_STEP_NEXT;
  ASSERT_TRUE(driver().Start());
  driver().Range({0, 0, 4, 5});
  driver().Motion({1.5, 2});
  EXPECT_EQ(rec.motion, 1);
  EXPECT_EQ(rec.eventPoint.x, 1.5);
  driver().Point({7, 8});
  EXPECT_EQ(rec.motion, 0);
  EXPECT_EQ(rec.eventPoint.y, 8);
  EXPECT_TRUE(driver().Keyin(u"12.5, -3").taken);
  EXPECT_EQ(rec.eventPoint.x, 12.5);
  EXPECT_EQ(rec.eventPoint.y, -3);
  EXPECT_EQ(rec.calls.back(), "B0");
  // An empty key-in takes the default input: the point the step was entered with.
  EXPECT_TRUE(driver().Keyin(u"").taken);
  EXPECT_EQ(rec.eventPoint.x, 4);
  EXPECT_EQ(rec.eventPoint.y, 5);
  const size_t before = rec.calls.size();
  EXPECT_FALSE(driver().Keyin(u"12 apples").taken);
  EXPECT_FALSE(driver().Keyin(u"1 2 3").taken);
  // Points beyond the drawing's reach are refused with a reason, and the step stays.
  for (const auto& far : {VexPoint{1e308, 1e308}, VexPoint{0, -2e15}}) {
    const auto refused = driver().Point(far);
    EXPECT_FALSE(refused.taken);
    EXPECT_NE(refused.reason.find("beyond the drawing's reach"), std::string::npos);
    EXPECT_FALSE(driver().Motion(far).taken);
  }
  EXPECT_FALSE(driver().Keyin(u"1e308 1e308").taken);
  EXPECT_EQ(rec.calls.size(), before);
  EXPECT_TRUE(driver().Point({1e15, -1e15}).taken);  // at the limit itself
}

TEST_F(StepDriverTest, KeyinStepsGetTheTypedText) {
  rec.maskA = VEX_MASK_KEYIN;
  rec.resultA = VEX_STEP_STAY;
  ASSERT_TRUE(driver().Start());
  driver().Keyin(u"SS400");
  EXPECT_EQ(rec.calls.back(), "A5");
}

TEST_F(StepDriverTest, AStartWhileRunningAsksTheRunningCommand) {
  ASSERT_TRUE(driver().Start());
  rec.queryAnswer = 1;  // insists on running on
  EXPECT_FALSE(driver().Start());
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"start", "query"}));
  rec.queryAnswer = 0;  // gives way: it ends, then the new run starts
  EXPECT_TRUE(driver().Start());
  EXPECT_EQ(rec.calls, (std::vector<std::string>{"start", "query", "query", "end", "start"}));
}

TEST_F(StepDriverTest, AbandoningEndsTheCommandOnce) {
  ASSERT_TRUE(driver().Start());
  driver().Abandon();
  driver().Abandon();
  EXPECT_EQ(driver().endCallbacks(), 1);
}

TEST(DefaultInput, FormatsNumbersAndTexts) {
  vexhost::ResetHost();
  VexCtlSetExecuteFunc(nullptr, u"%f %f", 1.25, -2.0);
  EXPECT_EQ(vexhost::TheHost().driver.defaultInput(), u"1.250000 -2.000000");
  VexCtlSetExecuteFunc(nullptr, u"%d개 %s 100%%", 12, u"부품");
  EXPECT_EQ(vexhost::TheHost().driver.defaultInput(), u"12개 부품 100%");
  VexCtlSetExecuteFunc(nullptr, u"");
  EXPECT_EQ(vexhost::TheHost().driver.defaultInput(), u"");
}

}  // namespace

// A long run's message lines: the latest are kept in order, every one is counted by kind.
TEST_F(StepDriverTest, TheTranscriptKeepsTheLatestLinesAndCountsEveryOne) {
  const auto& transcript = vexhost::TheHost().transcript;
  const size_t lines = 5 * vexhost::Transcript::kKept + 7;
  for (size_t i = 0; i < lines; ++i) {
    const std::u16string text = u"line " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
    if (i % 2 == 0) {
      VexMsgPutMessage(text.c_str());
    } else {
      VexMsgPutCursorMessage(text.c_str());
    }
  }
  EXPECT_EQ(transcript.count(vexhost::MessageKind::kPrompt), (lines + 1) / 2);
  EXPECT_EQ(transcript.count(vexhost::MessageKind::kCursor), lines / 2);
  ASSERT_GE(transcript.messages().size(), vexhost::Transcript::kKept);
  EXPECT_LE(transcript.messages().size(), 2 * vexhost::Transcript::kKept);
  // The newest line last, and the kept ones in the order they came.
  const size_t first = lines - transcript.messages().size();
  for (size_t k = 0; k < transcript.messages().size(); ++k) {
    const size_t i = first + k;
    ASSERT_EQ(transcript.messages()[k].text.back(), static_cast<char16_t>(u'a' + i % 26)) << k;
    ASSERT_EQ(transcript.messages()[k].kind,
              i % 2 == 0 ? vexhost::MessageKind::kPrompt : vexhost::MessageKind::kCursor);
  }
}
