// The balloon method's typed prompts: material, part number, depth.
#include "plugin/plugin_fixture.h"

namespace {

using plugintest::AddLine;
using plugintest::PluginTest;

class BalloonChainTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Set(u"mMethod", u"1");
    AddLine(0, 0, 10, 0);
  }
  void StartAndGiveRange() {
    Start();
    driver().Range({-1, -1, 11, 1});
  }
};

TEST_F(BalloonChainTest, AllPromptsInOrderWithTheTypedValues) {
  StartAndGiveRange();
  EXPECT_EQ(LastPrompt(), u"부품 재질입력 :");
  EXPECT_EQ(driver().mask(), 0x1000000u);
  driver().Keyin(u"SS400");
  EXPECT_EQ(twinfind::materialText, u"SS400");
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:101) :");
  EXPECT_EQ(host().transcript.messages().rbegin()[1].text, u"101");  // the cursor text
  driver().Keyin(u"A-009");
  EXPECT_EQ(twinfind::Settings().mBalloonStr, u"A-009");
  EXPECT_EQ(LastPrompt(), u"부품 깊이입력 :");
  driver().Keyin(u"12");
  EXPECT_EQ(twinfind::depthText, u"12");
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
  EXPECT_EQ(driver().mask(), 0x20u);
}

TEST_F(BalloonChainTest, WithoutMaterialAndDepthOnlyTheNumberIsAsked) {
  Set(u"mIsMaterial", u"0");
  Set(u"mIsDepth", u"0");
  StartAndGiveRange();
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:101) :");
  driver().End();  // keeps the stored number
  EXPECT_EQ(twinfind::Settings().mBalloonStr, u"101");
  EXPECT_EQ(LastPrompt(), u"부품형상 범위지시 :");
}

TEST_F(BalloonChainTest, TheEndButtonNeedsAMaterialAndTheLastOneIsShownLaterToo) {
  StartAndGiveRange();
  driver().End();
  EXPECT_EQ(Lines().back(), u"box: 재질을 입력해주세요.");
  EXPECT_EQ(LastPrompt(), u"부품 재질입력 :");  // the step stays
  EXPECT_TRUE(driver().active());
  driver().Keyin(u"AL6061");
  driver().Abandon();

  StartAndGiveRange();  // a later command shows the material typed before
  EXPECT_EQ(LastPrompt(), u"부품 재질입력  (현재:AL6061) :");
  driver().End();
  EXPECT_EQ(LastPrompt(), u"부품번호입력 (현재:101) :");
}

TEST_F(BalloonChainTest, AnEmptyNumberOrDepthIsAccepted) {
  StartAndGiveRange();
  driver().Keyin(u"SS400");
  driver().Keyin(u"");
  EXPECT_EQ(twinfind::Settings().mBalloonStr, u"");
  EXPECT_EQ(LastPrompt(), u"부품 깊이입력 :");
}

TEST_F(BalloonChainTest, TheEndButtonAtThePartStepEndsTheCommand) {
  Set(u"mIsMaterial", u"0");
  Set(u"mIsDepth", u"0");
  StartAndGiveRange();
  driver().End();
  driver().End();
  EXPECT_FALSE(driver().active());
}

}  // namespace
