// The end button at the first prompt of either method: the settings dialog opens with the
// plug-in's module current, OK stores and applies its values, and the command ends.
#include "plugin/plugin_fixture.h"
#include "ui/dialog_window.h"
#include "ui/headless/text_mode_backend.h"

namespace {

class SettingsDialogFromThePrompt : public plugintest::PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    twinfind::ui::SetHeadlessDialogObserver([this](const twinfind::ui::DialogSnapshot&) {
      moduleCurrentWhileShown.push_back(twinfind::ui::PluginModuleIsCurrent());
    });
  }
  void TearDown() override {
    twinfind::ui::SetHeadlessDialogObserver(nullptr);
    PluginTest::TearDown();
  }
  void Actions(std::initializer_list<std::u16string> actions) {
    for (const auto& a : actions) host().dialogInput.Push(a);
  }
  std::u16string Stored(std::u16string_view name) {
    return store.Get(plugintest::kKey, name).value_or(u"(missing)");
  }
  std::vector<bool> moduleCurrentWhileShown;
};

TEST_F(SettingsDialogFromThePrompt, OkAtTheGeneralRangeStepStoresAppliesAndEndsTheCommand) {
  Start();
  Actions({u"click 12007", u"click 12003", u"ok"});
  driver().End();
  EXPECT_FALSE(driver().active());
  EXPECT_EQ(Lines().at(2), u"dialog: == 동일부품검색 (23000) ==");
  EXPECT_EQ(Stored(u"mIsLayer"), u"1");
  EXPECT_EQ(Stored(u"mFigure"), u"1");
  EXPECT_EQ(twinfind::Settings().mIsLayer, 1);
  EXPECT_EQ(twinfind::Settings().mFigure, 1);
  EXPECT_EQ(moduleCurrentWhileShown, (std::vector<bool>{true, true, true}));
  EXPECT_FALSE(twinfind::ui::PluginModuleIsCurrent());
  EXPECT_EQ(Lines().back(), u"dialog: == 동일부품검색 closed with OK ==");
}

TEST_F(SettingsDialogFromThePrompt, SettingsTheStoreRefusedAreReportedNotLostUnseen) {
  Start();
  store.SetWritesFail(true);
  Actions({u"click 12007", u"ok"});
  driver().End();
  EXPECT_FALSE(driver().active());
  EXPECT_EQ(Lines().back(), u"error: 설정을 저장하지 못했습니다.");
  EXPECT_EQ(twinfind::Settings().mIsLayer, 1);  // this run still has them
  EXPECT_EQ(Stored(u"mIsLayer"), u"0");
}

TEST_F(SettingsDialogFromThePrompt, CancelAtTheBalloonRangeStepStoresNothingAndEndsTheCommand) {
  Set(u"mMethod", u"1");
  Start();
  const int writesAtStart = store.TotalWriteCount();
  Actions({u"click 12012", u"text 12016 9", u"cancel"});
  driver().End();
  EXPECT_FALSE(driver().active());
  EXPECT_EQ(store.TotalWriteCount(), writesAtStart);
  EXPECT_EQ(Stored(u"mMethod"), u"1");
  EXPECT_EQ(twinfind::Settings().mBalloonSize, u"5.0");
  EXPECT_EQ(Lines().back(), u"dialog: == 동일부품검색 closed, cancelled ==");
}

TEST_F(SettingsDialogFromThePrompt, AMethodLeftUnselectedStartsTheBalloonMethodNextTime) {
  Set(u"mMethod", u"7");
  Start();  // any method other than 0 is the balloon method
  Actions({u"ok"});
  driver().End();
  EXPECT_EQ(twinfind::Settings().mMethod, -1);
  EXPECT_EQ(Stored(u"mMethod"), u"1");
  Start();
  EXPECT_EQ(twinfind::Settings().mMethod, 1);
}

TEST_F(SettingsDialogFromThePrompt, WithoutActionsTheDialogClosesAsCancelledAndTheCommandEnds) {
  Start();
  driver().End();
  EXPECT_FALSE(driver().active());
  EXPECT_EQ(Lines().back(), u"dialog: == 동일부품검색 closed, cancelled ==");
  EXPECT_EQ(moduleCurrentWhileShown.size(), 1u);
}

}  // namespace
