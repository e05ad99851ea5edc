// The colour and line-type pickers on their own: preset, select step, frames, keys, samples.
#include "ui/pickers.h"
#include "ui_fixture.h"

namespace {

using twinfind::ui::IDCANCEL;
using twinfind::ui::IDOK;
using twinfind::ui::PaintOp;
using twinfind::ui::PixelRect;
using twinfind::ui::RGB;
using twinfind::ui::VxStColorDlg;
using twinfind::ui::VxStLTypeDlg;

class PickerTest : public uitest::DialogTest {
 protected:
  // The frame the last paint drew in that colour: the control's rectangle 3 pixels larger.
  static std::optional<PixelRect> Frame(const twinfind::ui::DialogSnapshot& s,
                                        twinfind::ui::Color color) {
    for (const PaintOp& op : s.paint) {
      if (op.kind == PaintOp::Kind::kRectangle && op.color == color) {
        EXPECT_TRUE(op.hollow);
        EXPECT_EQ(op.penWidth, 2);
        return op.rect;
      }
    }
    return std::nullopt;
  }
  static PixelRect Around(const twinfind::ui::ControlSnapshot& c) {
    PixelRect r = c.window;
    r.InflateRect(3, 3);
    return r;
  }
};

const twinfind::ui::Color kRed = RGB(255, 0, 0);
const twinfind::ui::Color kBackground = RGB(255, 255, 255);

TEST_F(PickerTest, APresetDifferingOnlyInCaseFramesItsSwatchAndIsHandedBack) {
  VxStColorDlg picker(nullptr);
  picker.PresetName(u"maincolor05");
  EXPECT_EQ(picker.mPreviousName, u"MAINCOLOR01");
  Actions({u"ok"});
  ASSERT_EQ(picker.DoModal(), IDOK);
  EXPECT_EQ(Frame(snapshots.front(), kRed), Around(First(17035)));  // the fifth swatch
  EXPECT_EQ(Frame(snapshots.front(), kBackground), Around(First(17015)));
  EXPECT_EQ(picker.mSelectedName, u"maincolor05");
}

TEST_F(PickerTest, AnUnknownPresetFramesTheFirstSwatchAndIsHandedBackUnchanged) {
  VxStColorDlg picker(nullptr);
  picker.PresetName(u"MAINCOLOR17");
  Actions({u"key enter"});
  ASSERT_EQ(picker.DoModal(), IDOK);
  EXPECT_EQ(Frame(snapshots.front(), kRed), Around(First(17015)));
  EXPECT_EQ(picker.mSelectedName, u"MAINCOLOR17");
}

TEST_F(PickerTest, APresetEqualToTheStartingNameChangesNothing) {
  VxStColorDlg picker(nullptr);
  picker.PresetName(u"maincolor01");
  EXPECT_EQ(picker.mSelectedName, u"MAINCOLOR01");
  EXPECT_EQ(picker.mPreviousName, u"");
  Actions({u"cancel"});
  ASSERT_EQ(picker.DoModal(), IDCANCEL);
  // Only the selection is framed: nothing was selected before it.
  ASSERT_EQ(snapshots.front().paint.size(), 1u);
  EXPECT_EQ(Frame(snapshots.front(), kRed), Around(First(17015)));
}

TEST_F(PickerTest, ClickingAnotherSwatchMovesTheFrameWithoutErasing) {
  VxStColorDlg picker(nullptr);
  Actions({u"click 17040", u"cancel"});
  ASSERT_EQ(picker.DoModal(), IDCANCEL);
  ASSERT_EQ(snapshots.size(), 2u);
  EXPECT_EQ(picker.mSelectedName, u"MAINCOLOR10");
  EXPECT_EQ(picker.mPreviousName, u"MAINCOLOR01");
  const auto& after = snapshots.back();
  EXPECT_EQ(after.paintCount, snapshots.front().paintCount + 1);
  EXPECT_FALSE(after.lastPaintErased);
  // The old frame is drawn over in the background colour first, then the new one in red.
  ASSERT_EQ(after.paint.size(), 2u);
  EXPECT_EQ(after.paint[0].color, kBackground);
  EXPECT_EQ(after.paint[0].rect, Around(Last(17015)));
  EXPECT_EQ(after.paint[1].color, kRed);
  EXPECT_EQ(after.paint[1].rect, Around(Last(17040)));
}

TEST_F(PickerTest, ClickingTheSelectedSwatchChangesNothingAndDoesNotRepaint) {
  VxStColorDlg picker(nullptr);
  picker.PresetName(u"MAINCOLOR03");
  Actions({u"click 17033", u"cancel"});
  ASSERT_EQ(picker.DoModal(), IDCANCEL);
  EXPECT_EQ(snapshots.back().paintCount, snapshots.front().paintCount);
  EXPECT_EQ(picker.mPreviousName, u"MAINCOLOR01");
  EXPECT_EQ(picker.mSelectedName, u"MAINCOLOR03");
}

TEST_F(PickerTest, DoubleClickingASwatchSelectsItAndClosesWithOk) {
  VxStColorDlg picker(nullptr);
  Actions({u"dblclick 17046"});
  ASSERT_EQ(picker.DoModal(), IDOK);
  EXPECT_EQ(picker.mSelectedName, u"MAINCOLOR16");
  EXPECT_EQ(vexhost::TheHost().dialogInput.reads(), 1);
}

TEST_F(PickerTest, EnterAndSpaceRunOkEscapeCancelsOtherKeysDoNothing) {
  const std::vector<std::pair<std::u16string, int>> keys = {
      {u"key enter", IDOK}, {u"key 13", IDOK}, {u"key space", IDOK}, {u"key escape", IDCANCEL}};
  for (const auto& [key, result] : keys) {
    Fresh();
    VxStLTypeDlg picker(nullptr);
    Actions({u"click 17080", u"key 65", key});
    EXPECT_EQ(picker.DoModal(), result) << std::string(key.begin(), key.end());
    EXPECT_EQ(picker.mSelectedName, u"LINETYPE04");
    EXPECT_EQ(snapshots.size(), 3u);  // the letter key left the picker open
  }
}

TEST_F(PickerTest, TheSwatchesPaintTheirColoursFromTheColourTable) {
  VxStColorDlg picker(nullptr);
  Actions({u"cancel"});
  ASSERT_EQ(picker.DoModal(), IDCANCEL);
  const std::vector<std::pair<int, twinfind::ui::Color>> expected = {
      {17015, RGB(255, 255, 255)}, {17032, RGB(0, 192, 255)},   {17033, RGB(60, 255, 80)},
      {17034, RGB(255, 64, 192)},  {17035, RGB(224, 224, 0)},   {17036, RGB(255, 0, 0)},
      {17037, RGB(255, 128, 128)}, {17038, RGB(0, 128, 255)},   {17039, RGB(255, 255, 0)},
      {17040, RGB(128, 128, 128)}, {17041, RGB(0, 255, 255)},   {17042, RGB(0, 0, 255)},
      {17043, RGB(128, 0, 255)},   {17044, RGB(128, 128, 255)}, {17045, RGB(128, 0, 128)},
      {17046, RGB(128, 128, 0)}};
  for (const auto& [id, color] : expected) {
    const auto& swatch = First(id);
    ASSERT_EQ(swatch.paint.size(), 1u) << id;
    EXPECT_EQ(swatch.paint[0].color, color) << id;
    EXPECT_EQ(swatch.paint[0].rect,
              (PixelRect{0, 0, swatch.client.Width(), swatch.client.Height()}));
  }
}

TEST_F(PickerTest, TheLineTypeSamplesAreLoadedSizedAndFramed) {
  VxStLTypeDlg picker(nullptr);
  picker.PresetName(u"linetype07");
  Actions({u"ok"});
  ASSERT_EQ(picker.DoModal(), IDOK);
  const std::vector<int> ids = {17016, 17078, 17079, 17080, 17081,
                                17082, 17083, 17084, 17085, 17086};
  for (size_t i = 0; i < ids.size(); ++i) {
    const auto& sample = First(ids[i]);
    ASSERT_TRUE(sample.image.has_value()) << ids[i];
    EXPECT_EQ(sample.image->resourceId, 17046 + static_cast<int>(i));
    // A bitmap control takes its bitmap's size, plus its border.
    EXPECT_EQ(sample.window.Width(), 62 + 2);
    EXPECT_EQ(sample.window.Height(), 23 + 2);
  }
  EXPECT_EQ(Frame(snapshots.front(), kRed), Around(First(17083)));
  EXPECT_EQ(picker.mSelectedName, u"linetype07");
}

}  // namespace
