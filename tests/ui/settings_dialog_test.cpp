// The settings dialog: what it shows on opening, what OK stores and takes into the record,
// and that every other way out stores nothing.
#include <algorithm>
#include <string>

#include "ui/twinfind_dlg.h"
#include "ui_fixture.h"

namespace {

using twinfind::ui::IDCANCEL;
using twinfind::ui::IDOK;
using twinfind::ui::TwinfindDlg;

class SettingsDialogTest : public uitest::DialogTest {
 protected:
  int Run(std::initializer_list<std::u16string> actions) {
    Actions(actions);
    return dialog.DoModal();
  }
  TwinfindDlg dialog;
};

TEST_F(SettingsDialogTest, OpeningOnAnEmptyStoreWritesTheDefaultsAndShowsThem) {
  ASSERT_EQ(Run({u"cancel"}), IDCANCEL);
  // The 23 values of the dialog, each written once with its default; the part number is not
  // the dialog's.
  EXPECT_EQ(store.ValueCount(), 23u);
  for (const auto& d : twinfind::kSettingDefinitions) {
    if (d.name == u"mBalloonStr") continue;
    EXPECT_EQ(Stored(d.name), d.defaultText) << std::string(d.name.begin(), d.name.end());
    EXPECT_EQ(store.WriteCount(uitest::kKey, d.name), 1);
  }
  EXPECT_EQ(Stored(u"mBalloonStr"), u"(missing)");

  ASSERT_FALSE(snapshots.empty());
  EXPECT_EQ(First(12012).check, 1);  // the general method
  EXPECT_EQ(First(12013).check, 0);
  for (int edit : {12016, 12017, 12000, 12005}) EXPECT_EQ(First(edit).text, u"5.0") << edit;
  EXPECT_EQ(First(12020).text, u"801");
  EXPECT_EQ(First(12018).text, u"T");
  EXPECT_EQ(First(12022).curSel, 0);
  EXPECT_EQ(First(12022).entries, (std::vector<std::u16string>{u"1단", u"2단", u"3단"}));
  EXPECT_EQ(First(12002).check, 1);  // "동작안함"
  EXPECT_EQ(First(12003).check, 0);
  EXPECT_EQ(First(12004).check, 0);
  for (int ticked : {12019, 12025, 12014, 12015, 12021, 12009, 12023, 12006, 12001}) {
    EXPECT_EQ(First(ticked).check, 1) << ticked;
  }
  for (int clear : {12007, 12008, 12024}) EXPECT_EQ(First(clear).check, 0) << clear;
  // The swatch paints itself in MAINCOLOR06, red, over its whole client area.
  const auto& swatch = First(12010);
  ASSERT_TRUE(swatch.ownerPainted);
  ASSERT_EQ(swatch.paint.size(), 1u);
  EXPECT_EQ(swatch.paint[0].color, twinfind::ui::RGB(255, 0, 0));
  EXPECT_EQ(swatch.paint[0].rect.Width(), swatch.client.Width());
  EXPECT_EQ(swatch.paint[0].rect.Height(), swatch.client.Height());
  ASSERT_TRUE(First(12011).image.has_value());
  EXPECT_EQ(First(12011).image->resourceId, 17046);  // LINETYPE01
  EXPECT_EQ(snapshots.front().focusId, 12000);
}

TEST_F(SettingsDialogTest, SizesShowAsDecimalsAndOkStoresWhatTheBoxesShow) {
  StoreDefaults();
  Set(u"mBalloonSize", u"5");
  Set(u"mBalloonLeaderSize", u"2.50000");
  Set(u"mArrangeWidth", u"0.1234567");
  Set(u"mArrangeHeight", u" -3xyz");
  ASSERT_EQ(Run({u"ok"}), IDOK);
  EXPECT_EQ(First(12016).text, u"5.0");
  EXPECT_EQ(First(12017).text, u"2.5");
  EXPECT_EQ(First(12000).text, u"0.123457");
  EXPECT_EQ(First(12005).text, u"-3.0");
  dialog.SaveToRegistry();
  EXPECT_EQ(Stored(u"mBalloonSize"), u"5.0");
  EXPECT_EQ(Stored(u"mBalloonLeaderSize"), u"2.5");
  EXPECT_EQ(Stored(u"mArrangeWidth"), u"0.123457");
  EXPECT_EQ(Stored(u"mArrangeHeight"), u"-3.0");
}

TEST_F(SettingsDialogTest, ALayerWithoutALeadingNumberShowsOneAndIsStoredAsShown) {
  for (const auto& [stored, shown] : std::vector<std::pair<std::u16string, std::u16string>>{
           {u"0", u"1"}, {u"", u"1"}, {u"abc", u"1"}, {u"12abc", u"12"}, {u"801", u"801"}}) {
    Fresh();
    StoreDefaults();
    Set(u"mBalloonLayer", stored);
    TwinfindDlg layerDialog;
    Actions({u"ok"});
    ASSERT_EQ(layerDialog.DoModal(), IDOK);
    EXPECT_EQ(Last(12020).text, shown);
    // Until OK the member keeps the stored text; OK takes what the box shows.
    EXPECT_EQ(layerDialog.mBalloonLayer, shown);
    layerDialog.SaveToRegistry();
    EXPECT_EQ(Stored(u"mBalloonLayer"), shown);
  }
}

TEST_F(SettingsDialogTest, AResultActionOutsideZeroToTwoShowsRecolourAndIsStoredAsTwo) {
  StoreDefaults();
  Set(u"mFigure", u"7");
  ASSERT_EQ(Run({u"ok"}), IDOK);
  EXPECT_EQ(First(12002).check, 0);
  EXPECT_EQ(First(12003).check, 0);
  EXPECT_EQ(First(12004).check, 1);  // "선색변경"
  dialog.SaveToRegistry();
  EXPECT_EQ(Stored(u"mFigure"), u"2");
}

TEST_F(SettingsDialogTest, LettersTypedAsADiameterAreStoredAndShowAsZeroNextTime) {
  StoreDefaults();
  ASSERT_EQ(Run({u"text 12016 abc", u"ok"}), IDOK);
  EXPECT_EQ(dialog.mBalloonSize, u"abc");
  dialog.SaveToRegistry();
  EXPECT_EQ(Stored(u"mBalloonSize"), u"abc");

  TwinfindDlg next;
  Actions({u"cancel"});
  ASSERT_EQ(next.DoModal(), IDCANCEL);
  EXPECT_EQ(Last(12016).text, u"0.0");
  EXPECT_EQ(Stored(u"mBalloonSize"), u"abc");  // opening does not rewrite a present value
}

TEST_F(SettingsDialogTest, AnUnselectedMethodGivesMinusOneStoredAsOneAndAppliedAsMinusOne) {
  StoreDefaults();
  Set(u"mMethod", u"2");
  ASSERT_EQ(Run({u"ok"}), IDOK);
  EXPECT_EQ(First(12012).check, 0);
  EXPECT_EQ(First(12013).check, 0);
  EXPECT_EQ(dialog.mMethod, -1);
  dialog.SaveToRegistry();
  dialog.ApplyDialogSettings();
  EXPECT_EQ(Stored(u"mMethod"), u"1");
  EXPECT_EQ(twinfind::Settings().mMethod, -1);
}

TEST_F(SettingsDialogTest, ClicksChangeTheMembersAndOkStoresAndAppliesEverything) {
  StoreDefaults();
  Set(u"mBalloonStr", u"A-007");
  twinfind::Settings().mBalloonStr = u"A-008";
  ASSERT_EQ(Run({u"click 12013", u"click 12007", u"click 12006", u"click 12019", u"click 12003",
                 u"select 12022 2", u"text 12018 D=", u"text 12000 12.5", u"ok"}),
            IDOK);
  EXPECT_EQ(dialog.mMethod, 1);
  EXPECT_EQ(dialog.mMaterial, 2);
  dialog.SaveToRegistry();
  dialog.ApplyDialogSettings();
  EXPECT_EQ(Stored(u"mMethod"), u"1");
  EXPECT_EQ(Stored(u"mIsLayer"), u"1");
  EXPECT_EQ(Stored(u"mIsRotate"), u"0");
  EXPECT_EQ(Stored(u"mIsBalloonLayer"), u"0");
  EXPECT_EQ(Stored(u"mFigure"), u"1");
  EXPECT_EQ(Stored(u"mMaterial"), u"2");
  EXPECT_EQ(Stored(u"mDPChar"), u"D=");
  EXPECT_EQ(Stored(u"mArrangeWidth"), u"12.5");
  EXPECT_EQ(Stored(u"mBalloonStr"), u"A-007");  // not the dialog's to write
  const auto& record = twinfind::Settings();
  EXPECT_EQ(record.mMethod, 1);
  EXPECT_EQ(record.mIsLayer, 1);
  EXPECT_EQ(record.mIsRotate, 0);
  EXPECT_EQ(record.mIsBalloonLayer, 0);
  EXPECT_EQ(record.mIsBalloonAutoArrange, 1);
  EXPECT_EQ(record.mFigure, 1);
  EXPECT_EQ(record.mMaterial, 2);
  EXPECT_EQ(record.mDPChar, u"D=");
  EXPECT_EQ(record.mArrangeWidth, u"12.5");
  EXPECT_EQ(record.mBalloonSize, u"5.0");
  EXPECT_EQ(record.mBalloonLayer, u"801");
  EXPECT_EQ(record.mColorIndex, 5);
  EXPECT_EQ(record.mLTypeIndex, 0);
  EXPECT_EQ(record.mBalloonStr, u"A-008");
}

TEST_F(SettingsDialogTest, AMaterialRowOutsideTheListShowsNoEntryAndIsKeptUnlessOneIsPicked) {
  StoreDefaults();
  Set(u"mMaterial", u"5");
  ASSERT_EQ(Run({u"ok"}), IDOK);
  EXPECT_EQ(First(12022).curSel, -1);
  dialog.SaveToRegistry();
  EXPECT_EQ(Stored(u"mMaterial"), u"5");

  TwinfindDlg picked;
  Actions({u"select 12022 1", u"ok"});
  ASSERT_EQ(picked.DoModal(), IDOK);
  picked.SaveToRegistry();
  EXPECT_EQ(Stored(u"mMaterial"), u"1");
}

TEST_F(SettingsDialogTest, CancelEscapeAndTheEndOfInputStoreNothing) {
  for (const auto& way : {u"cancel", u"key escape", u""}) {
    Fresh();
    StoreDefaults();
    TwinfindDlg changed;
    Actions({u"click 12007", u"text 12016 9", u"select 12022 2"});
    if (!std::u16string(way).empty()) Actions({way});
    EXPECT_EQ(changed.DoModal(), IDCANCEL);
    EXPECT_EQ(store.TotalWriteCount(), 0);
    // The message map toggled the member, but nothing was exchanged from the controls.
    EXPECT_EQ(changed.mIsLayer, 1);
    EXPECT_EQ(changed.mBalloonSize, u"5.0");
  }
}

TEST_F(SettingsDialogTest, EnterRunsOkAndSpaceTogglesTheFocusedCheckBox) {
  StoreDefaults();
  ASSERT_EQ(Run({u"click 12024", u"key space", u"key space", u"key enter"}), IDOK);
  EXPECT_EQ(dialog.mIsSymmetry, 1);  // clicked on, then off and on again with Space
  EXPECT_EQ(Last(12024).check, 1);
}

TEST_F(SettingsDialogTest, EditBoxesTakeAtMostWhatTheStoreReadsBack) {
  StoreDefaults();
  const std::u16string longest(126, u'7');
  ASSERT_EQ(Run({u"text 12018 " + longest + u"8", u"text 12018 " + longest, u"ok"}), IDOK);
  dialog.SaveToRegistry();
  std::u16string read;
  ASSERT_TRUE(twinfind::ReadSetting(u"Twinfind", u"mDPChar", read));
  EXPECT_EQ(read, longest);
  const auto shown = Shown();
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const std::u16string& line) {
    return line.rfind(u"refused \"text 12018 7777", 0) == 0 &&
           line.find(u"at most 126 characters") != std::u16string::npos;
  }));
}

TEST_F(SettingsDialogTest, AHugeStoredNumberIsShownAndKeptAsStored) {
  // "%f" of 1e300 has 301 digits: stored, it would no longer read back and its default would
  // replace it.
  StoreDefaults();
  Set(u"mArrangeWidth", u"1e300");
  Set(u"mBalloonSize", u"1e20");
  ASSERT_EQ(Run({u"ok"}), IDOK);
  EXPECT_EQ(First(12000).text, u"1e300");
  EXPECT_EQ(First(12016).text, u"100000000000000000000.0");
  dialog.SaveToRegistry();
  std::u16string read;
  EXPECT_TRUE(twinfind::ReadSetting(u"Twinfind", u"mArrangeWidth", read));
  EXPECT_EQ(read, u"1e300");
}

TEST_F(SettingsDialogTest, FailingWritesAreCountedAndEveryValueIsStillTried) {
  store.SetWritesFail(true);
  ASSERT_EQ(Run({u"click 12008", u"ok"}), IDOK);
  EXPECT_EQ(First(12016).text, u"5.0");  // the defaults are shown all the same
  const int failedOnOpening = store.FailedWriteCount();
  EXPECT_EQ(failedOnOpening, 23);
  EXPECT_TRUE(dialog.SaveToRegistry());
  EXPECT_EQ(dialog.mFailedWrites, 23);
  EXPECT_EQ(store.FailedWriteCount(), failedOnOpening + 23);
  store.SetWritesFail(false);
  dialog.SaveToRegistry();
  EXPECT_EQ(dialog.mFailedWrites, 0);
  EXPECT_EQ(Stored(u"mIsColor"), u"1");
}

}  // namespace
