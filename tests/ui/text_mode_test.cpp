// The dialog as the user reads it in text mode: every control on opening, then only what an
// action changed, then how it closed.
#include "ui/pickers.h"
#include "ui/twinfind_dlg.h"
#include "ui_fixture.h"

namespace {

using Lines = std::vector<std::u16string>;

class TextModeTest : public uitest::DialogTest {};

TEST_F(TextModeTest, APickerShowsItsControlsThenOnlyWhatChangedThenHowItClosed) {
  twinfind::ui::VxStColorDlg picker(nullptr);
  picker.PresetName(u"MAINCOLOR02");
  Actions({u"click 17033", u"click 17033", u"key escape"});
  ASSERT_EQ(picker.DoModal(), twinfind::ui::IDCANCEL);
  const Lines expected = {
      u"== Color Property (17079) ==",
      u"17015 static painted #FFFFFF",
      u"17032 static painted #00C0FF",
      u"17033 static painted #3CFF50",
      u"17034 static painted #FF40C0",
      u"17035 static painted #E0E000",
      u"17036 static painted #FF0000",
      u"17037 static painted #FF8080",
      u"17038 static painted #0080FF",
      u"17039 static painted #FFFF00",
      u"17040 static painted #808080",
      u"17041 static painted #00FFFF",
      u"17042 static painted #0000FF",
      u"17043 static painted #8000FF",
      u"17044 static painted #8080FF",
      u"17045 static painted #800080",
      u"17046 static painted #808000",
      u"    1 button OK",
      u"    2 button CANCEL",
      u"paint: frame #FFFFFF 2px around 17015",
      u"paint: frame #FF0000 2px around 17032",
      u"focus: 1",
      u"actions: click ID, dblclick ID, text ID VALUE, select ID INDEX, key "
      u"enter|space|escape|CODE, ok, cancel, picture FILE",
      // click 17033: the frames moved; the second click changed nothing and shows nothing
      u"paint: frame #FFFFFF 2px around 17032",
      u"paint: frame #FF0000 2px around 17033",
      u"== Color Property closed, cancelled ==",
  };
  EXPECT_EQ(Shown(), expected);
}

TEST_F(TextModeTest, TheSettingsDialogShowsEachKindOfControlReadably) {
  StoreDefaults();
  Set(u"mMaterial", u"9");
  twinfind::ui::TwinfindDlg dialog;
  Actions({u"text 12016 7.5", u"click 12007", u"select 12022 1", u"ok"});
  ASSERT_EQ(dialog.DoModal(), twinfind::ui::IDOK);
  const Lines shown = Shown();
  ASSERT_EQ(shown.size(), 50u);
  EXPECT_EQ(shown[0], u"== 동일부품검색 (23000) ==");
  const Lines opening(shown.begin() + 1, shown.begin() + 41);  // one line for each control
  EXPECT_EQ(opening[0], u"    - group  검색조건");
  EXPECT_EQ(opening[1], u"12000 edit   \"5.0\"");
  EXPECT_EQ(opening[2], u"    - label  ◆. 배치간격(Width)");
  EXPECT_EQ(opening[3], u"    1 button OK");
  EXPECT_EQ(opening[4], u"12006 check  [x] 회전부품을 동일부품으로 취급");
  EXPECT_EQ(opening[5], u"12007 check  [ ] 동일 레이어 검색");
  EXPECT_EQ(opening[10], u"12002 radio  (*) 동작안함");
  EXPECT_EQ(opening[11], u"12003 radio  ( ) 삭 제");
  EXPECT_EQ(opening[15], u"12010 static painted #FF0000");
  EXPECT_EQ(opening[16], u"12011 bitmap image 17046 62x23");
  EXPECT_EQ(opening[35], u"12022 list   [] of 1단 | 2단 | 3단");
  EXPECT_EQ(opening[39], u"    - label  (회전후 대칭된 형상도 동일부품 인식)");
  EXPECT_EQ(shown[41], u"focus: 12000");
  const Lines after(shown.begin() + 43, shown.end());
  EXPECT_EQ(after,
            (Lines{u"12016 edit   \"7.5\"", u"focus: 12016", u"12007 check  [x] 동일 레이어 검색",
                   u"focus: 12007", u"12022 list   [2단] of 1단 | 2단 | 3단", u"focus: 12022",
                   u"== 동일부품검색 closed with OK =="}));
}

TEST_F(TextModeTest, ANestedPickerIsShownWholeAndTheDialogUnderItGoesOnAfterwards) {
  StoreDefaults();
  twinfind::ui::TwinfindDlg dialog;
  Actions({u"click 12011", u"click 17086", u"ok", u"cancel"});
  ASSERT_EQ(dialog.DoModal(), twinfind::ui::IDCANCEL);
  const Lines shown = Shown();
  const auto picker = std::find(shown.begin(), shown.end(), u"== Line Type Property (17080) ==");
  ASSERT_NE(picker, shown.end());
  EXPECT_EQ(*(picker + 1), u"17016 bitmap image 17046 62x23");
  const Lines tail(shown.end() - 5, shown.end());
  EXPECT_EQ(
      tail,
      (Lines{u"paint: frame #FFFFFF 2px around 17016", u"paint: frame #FF0000 2px around 17086",
             u"== Line Type Property closed with OK ==", u"12011 bitmap image 17055 62x23",
             u"== 동일부품검색 closed, cancelled =="}));
}

}  // namespace
