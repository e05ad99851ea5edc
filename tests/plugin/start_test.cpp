// Registration and the start of the command: settings loaded, state reset, first prompt.
#include "engine/shape_model.h"
#include "plugin/plugin_fixture.h"

namespace {

using plugintest::AddLine;
using plugintest::PluginTest;

TEST(Startup, SucceedsOnlyWhenRegistrationGivesMoreThanZero) {
  for (const auto& [registration, expected] :
       std::vector<std::pair<int, int>>{{1, 0}, {3, 0}, {0, -1}, {-5, -1}}) {
    vexhost::ResetHost();
    vexhost::TheHost().driver.ForceRegistrationResult(registration);
    EXPECT_EQ(Startup(nullptr), expected) << "registration result " << registration;
  }
}

TEST_F(PluginTest, TheFirstPromptIsTheSearchRangeWithItsStepSettings) {
  Start();
  EXPECT_EQ(Lines(), (std::vector<std::u16string>{
                         u"cursor: 대상", u"prompt: 검색대상 범위지시(종료버튼:Dialog) :"}));
  EXPECT_EQ(driver().mask(), 0x20u);
  EXPECT_EQ(driver().compare(), &twinfind::CompareElementType);
  const int32_t expected[5] = {626, 2527, 0, 0, 0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(driver().object().fields[i], expected[i]);
  EXPECT_EQ(driver().defaultInput(), u"");
}

TEST_F(PluginTest, StartingLoadsTheSettingsAndWritesTheMissingDefaults) {
  Set(u"mIsRotate", u"0");
  Set(u"m_ColorMain", u"maincolor03");
  Start();
  EXPECT_EQ(store.ValueCount(), 24u);
  EXPECT_EQ(store.WriteCount(plugintest::kKey, u"mIsRotate"), 0);
  EXPECT_EQ(store.WriteCount(plugintest::kKey, u"mBalloonStr"), 1);
  EXPECT_EQ(twinfind::Settings().mIsRotate, 0);
  EXPECT_EQ(twinfind::Settings().mColorIndex, 2);
  EXPECT_EQ(twinfind::Settings().mBalloonStr, u"101");
}

// Which chain runs shows after the range: the general one asks for the part, the balloon one
// for the material.
std::u16string PromptAfterRange(PluginTest& test, vexhost::StepDriver& driver) {
  AddLine(0, 0, 10, 0);
  driver.Range({-1, -1, 11, 1});
  (void)test;
  const auto& messages = vexhost::TheHost().transcript.messages();
  return messages.empty() ? u"" : messages.back().text;
}

TEST_F(PluginTest, MethodZeroOrALetterStartsTheGeneralMethod) {
  for (const std::u16string method : {u"0", u"A"}) {
    SetUp();
    Set(u"mMethod", method);
    Start();
    EXPECT_EQ(PromptAfterRange(*this, driver()), u"부품형상 범위지시 :")
        << "mMethod " << method.size();
  }
}

TEST_F(PluginTest, AnyOtherMethodStartsTheBalloonMethod) {
  for (const std::u16string method : {u"1", u"2", u"-1"}) {
    SetUp();
    Set(u"mMethod", method);
    Start();
    EXPECT_EQ(PromptAfterRange(*this, driver()), u"부품 재질입력 :");
  }
}

TEST_F(PluginTest, EveryStartResetsTheRowCountAndTheBalloonStartEmptiesTheDepthOnly) {
  twinfind::arrangeRowCount = 3;
  twinfind::depthText = u"12";
  twinfind::materialText = u"SS400";
  Start();  // general method
  EXPECT_EQ(twinfind::arrangeRowCount, 0);
  EXPECT_EQ(twinfind::depthText, u"12");
  driver().Abandon();

  twinfind::arrangeRowCount = 2;
  Set(u"mMethod", u"1");
  Start();
  EXPECT_EQ(twinfind::arrangeRowCount, 0);
  EXPECT_EQ(twinfind::depthText, u"");
  EXPECT_EQ(twinfind::materialText, u"SS400");
}

TEST_F(PluginTest, AStartWhileRunningEndsTheRunningCommandFirst) {
  Start();
  const int ended = driver().endCallbacks();
  Start();
  EXPECT_EQ(driver().endCallbacks(), ended + 1);
  EXPECT_TRUE(driver().active());
}

}  // namespace
