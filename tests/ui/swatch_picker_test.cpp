// The settings dialog's two swatches: the pickers they open, what OK and Cancel of a picker do
// to them, and how the swatch controls paint.
#include "ui/color_swatches.h"
#include "ui/twinfind_dlg.h"
#include "ui_fixture.h"

namespace {

using twinfind::ui::IDCANCEL;
using twinfind::ui::IDOK;
using twinfind::ui::RGB;
using twinfind::ui::TwinfindDlg;

class SwatchTest : public uitest::DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    StoreDefaults();
  }
  // The snapshots of the settings dialog alone (the pickers' are left out).
  std::vector<twinfind::ui::DialogSnapshot> SettingsSnapshots() const {
    std::vector<twinfind::ui::DialogSnapshot> shown;
    for (const auto& s : snapshots) {
      if (s.source->id == 23000) shown.push_back(s);
    }
    return shown;
  }
  TwinfindDlg dialog;
};

TEST_F(SwatchTest, AColourChosenInThePickerRepaintsTheSwatchAndOkStoresIt) {
  Actions({u"click 12010", u"click 17034", u"ok", u"ok"});
  ASSERT_EQ(dialog.DoModal(), IDOK);
  const auto shown = SettingsSnapshots();
  ASSERT_EQ(shown.size(), 2u);
  const auto& swatch = Control(shown.back(), 12010);
  EXPECT_EQ(swatch.paint.at(0).color, RGB(255, 64, 192));
  EXPECT_FALSE(shown.back().lastPaintErased);  // invalidated without erasing
  dialog.SaveToRegistry();
  dialog.ApplyDialogSettings();
  EXPECT_EQ(Stored(u"m_ColorMain"), u"MAINCOLOR04");
  EXPECT_EQ(twinfind::Settings().mColorIndex, 3);
}

TEST_F(SwatchTest, ThePickerOpensOnTheSwatchColour) {
  Set(u"m_ColorMain", u"maincolor12");
  Actions({u"click 12010", u"cancel", u"cancel"});
  ASSERT_EQ(dialog.DoModal(), IDCANCEL);
  const auto& picker = snapshots.at(1);
  ASSERT_EQ(picker.source->id, 17079);
  const auto& red = picker.paint.back();
  auto around = Control(picker, 17042).window;  // MAINCOLOR12
  around.InflateRect(3, 3);
  EXPECT_EQ(red.rect, around);
  EXPECT_EQ(red.color, RGB(255, 0, 0));
}

TEST_F(SwatchTest, CancellingThePickerOrPickingTheSameColourLeavesTheSwatch) {
  Actions(
      {u"click 12010", u"click 17034", u"cancel", u"click 12010", u"click 17036", u"ok", u"ok"});
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.mColorSwatch.mColorName, u"MAINCOLOR06");
  for (const auto& s : SettingsSnapshots()) {
    EXPECT_EQ(Control(s, 12010).paint.at(0).color, RGB(255, 0, 0));
  }
  dialog.SaveToRegistry();
  EXPECT_EQ(Stored(u"m_ColorMain"), u"MAINCOLOR06");
}

TEST_F(SwatchTest, CancellingTheDialogAfterChoosingAColourStoresNothing) {
  Actions({u"click 12010", u"dblclick 17046", u"cancel"});
  ASSERT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(store.TotalWriteCount(), 0);

  TwinfindDlg next;
  Actions({u"cancel"});
  snapshots.clear();
  ASSERT_EQ(next.DoModal(), IDCANCEL);
  EXPECT_EQ(First(12010).paint.at(0).color, RGB(255, 0, 0));  // the stored MAINCOLOR06
}

TEST_F(SwatchTest, ALineTypeChosenInThePickerShowsItsSampleAndOkStoresIt) {
  Actions({u"click 12011", u"dblclick 17082", u"ok"});
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(Last(12011).image->resourceId, 17051);  // LINETYPE06
  dialog.SaveToRegistry();
  dialog.ApplyDialogSettings();
  EXPECT_EQ(Stored(u"mLTypeName"), u"LINETYPE06");
  EXPECT_EQ(twinfind::Settings().mLTypeIndex, 2);
}

TEST_F(SwatchTest, AStoredLineTypeNameShowsItsSampleIgnoringCaseAndAnUnknownOneTheFirst) {
  for (const auto& [name, bitmap] : std::vector<std::pair<std::u16string, int>>{
           {u"linetype10", 17055}, {u"LINETYPE11", 17046}}) {
    Fresh();
    StoreDefaults();
    Set(u"mLTypeName", name);
    TwinfindDlg opened;
    Actions({u"click 12011", u"cancel", u"ok"});
    ASSERT_EQ(opened.DoModal(), IDOK);
    EXPECT_EQ(First(12011).image->resourceId, bitmap);
    opened.SaveToRegistry();
    EXPECT_EQ(Stored(u"mLTypeName"), name);  // a cancelled picker hands back nothing
  }
}

// A paint context that keeps the fills, for painting a swatch control directly.
class FillRecorder final : public twinfind::ui::PaintContext {
 public:
  void FillSolidRect(const twinfind::ui::PixelRect&, twinfind::ui::Color color) override {
    fills.push_back(color);
  }
  twinfind::ui::Pen SelectObject(const twinfind::ui::Pen& pen) override { return pen; }
  twinfind::ui::StockBrush SelectStockObject(twinfind::ui::StockBrush brush) override {
    return brush;
  }
  void Rectangle(const twinfind::ui::PixelRect&) override {}
  twinfind::ui::Color GetBkColor() const override { return twinfind::ui::kWhite; }
  std::vector<twinfind::ui::Color> fills;
};

TEST(Swatches, TheMainSwatchPaintsWhiteForAnEmptyOrUnknownNameAndItsColourOtherwise) {
  const std::vector<std::pair<std::u16string, twinfind::ui::Color>> cases = {
      {u"", RGB(255, 255, 255)},
      {u"MAINCOLOR17", RGB(255, 255, 255)},
      {u"MAINCOLOR 03", RGB(255, 255, 255)},
      {u"maincolor03", RGB(60, 255, 80)},
      {u"MAINCOLOR16", RGB(128, 128, 0)}};
  for (const auto& [name, color] : cases) {
    twinfind::ui::StaticMainColor swatch;
    swatch.mColorName = name;
    FillRecorder dc;
    EXPECT_TRUE(swatch.OnPaint(dc));
    EXPECT_EQ(dc.fills, std::vector<twinfind::ui::Color>{color})
        << std::string(name.begin(), name.end());
  }
}

TEST(Swatches, APickerSwatchOfAnotherIdPaintsBlackWhateverItsName) {
  twinfind::ui::StaticBkColor swatch;  // bound to no control: id 0
  swatch.mColorName = u"MAINCOLOR01";
  FillRecorder dc;
  EXPECT_TRUE(swatch.OnPaint(dc));
  EXPECT_EQ(dc.fills, std::vector<twinfind::ui::Color>{RGB(0, 0, 0)});
}

}  // namespace
