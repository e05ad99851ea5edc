#include "ui/twinfind_dlg.h"

#include <cstdio>

#include "settings/settings.h"
#include "settings/text_number.h"
#include "ui/bitmap.h"
#include "ui/dialog_template.h"
#include "ui/dialog_texts.h"
#include "ui/picker_tables.h"
#include "ui/pickers.h"

namespace twinfind::ui {
namespace {

// The edit boxes, whose texts are stored as typed.
constexpr std::array<int, 6> kEditBoxes = {12000, 12005, 12016, 12017, 12018, 12020};

std::u16string_view DefaultTextOf(std::u16string_view name) {
  for (const SettingDefinition& d : kSettingDefinitions) {
    if (d.name == name) return d.defaultText;
  }
  return {};
}

// A stored flag: 1 exactly when the text is "1".
int FlagOf(std::u16string_view text) { return text == u"1" ? 1 : 0; }

std::u16string_view FlagText(int flag) { return flag != 0 ? u"1" : u"0"; }

}  // namespace

std::u16string FormatDecimal(double value) {
  // "%f" of the largest double has 309 digits before the point.
  char buffer[400];
  const int length = std::snprintf(buffer, sizeof buffer, "%f", value);
  std::u16string text(buffer, buffer + (length > 0 ? length : 0));
  const size_t point = text.find(u'.');
  if (point == std::u16string::npos) return text;  // inf, nan
  while (text.size() > point + 1 && text.back() == u'0') text.pop_back();
  if (text.size() == point + 1) text += u'0';
  return text;
}

const std::array<MessageMapEntry<TwinfindDlg>, 20> TwinfindDlg::kMessageMap{{
    OnBnClicked(12012, &TwinfindDlg::OnMethodGeneral),
    OnBnClicked(12013, &TwinfindDlg::OnMethodBalloon),
    OnBnClicked(12019, &TwinfindDlg::OnBalloonLayer),
    OnBnClicked(12025, &TwinfindDlg::OnBalloonAutoArrange),
    OnBnClicked(12014, &TwinfindDlg::OnBalloonAssy),
    OnBnClicked(12015, &TwinfindDlg::OnBalloonArray),
    OnBnClicked(12021, &TwinfindDlg::OnMaterial),
    OnCbnSelchange(12022, &TwinfindDlg::OnMaterialRow),
    OnBnClicked(12009, &TwinfindDlg::OnDepth),
    OnBnClicked(12023, &TwinfindDlg::OnCount),
    OnBnClicked(12006, &TwinfindDlg::OnRotate),
    OnBnClicked(12007, &TwinfindDlg::OnSameLayer),
    OnBnClicked(12008, &TwinfindDlg::OnSameColor),
    OnBnClicked(12024, &TwinfindDlg::OnSymmetry),
    OnBnClicked(12002, &TwinfindDlg::OnFigureNone),
    OnBnClicked(12003, &TwinfindDlg::OnFigureDelete),
    OnBnClicked(12004, &TwinfindDlg::OnFigureRecolor),
    OnBnClicked(12001, &TwinfindDlg::OnArrange),
    OnStnClicked(12010, &TwinfindDlg::OnColorSwatch),
    OnStnClicked(12011, &TwinfindDlg::OnLineTypeSwatch),
}};

TwinfindDlg::TwinfindDlg() : Dialog(kSettingsDialogId) {}

bool TwinfindDlg::OnCommand(int id, int code) {
  return DispatchMessageMap(*this, kMessageMap, id, code);
}

void TwinfindDlg::DoDataExchange(DataExchange& dx) {
  DDX_Radio(dx, 12012, mMethod);
  DDX_Text(dx, 12016, mBalloonSize);
  DDX_Text(dx, 12017, mBalloonLeaderSize);
  DDX_Check(dx, 12019, mIsBalloonLayer);
  DDX_Text(dx, 12020, mBalloonLayer);
  DDX_Check(dx, 12025, mIsBalloonAutoArrange);
  DDX_Check(dx, 12014, mIsBalloonAssy);
  DDX_Check(dx, 12015, mIsBalloonArray);
  DDX_Check(dx, 12021, mIsMaterial);
  DDX_Control(dx, 12022, mMaterialList);
  DDX_Check(dx, 12009, mIsDepth);
  DDX_Text(dx, 12018, mDPChar);
  DDX_Check(dx, 12023, mIsCount);
  DDX_Check(dx, 12006, mIsRotate);
  DDX_Check(dx, 12007, mIsLayer);
  DDX_Check(dx, 12008, mIsColor);
  DDX_Check(dx, 12024, mIsSymmetry);
  DDX_Radio(dx, 12002, mFigure);
  DDX_Check(dx, 12001, mIsArrange);
  DDX_Text(dx, 12000, mArrangeWidth);
  DDX_Text(dx, 12005, mArrangeHeight);
  DDX_Control(dx, 12010, mColorSwatch);
}

bool TwinfindDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  for (int id : kEditBoxes) LimitDlgItemText(id, kLongestEditText);
  for (std::u16string_view row : texts::kMaterialRows) mMaterialList.AddString(row);
  LoadControlsFromRegistry();
  ShowLineTypeSample(mLTypeName);
  return true;  // the focus goes to the first tab stop, edit 12000
}

std::u16string TwinfindDlg::LoadValue(std::u16string_view name) {
  std::u16string text;
  if (!ReadSetting(mSettingsSubkey, name, text)) {
    text = DefaultTextOf(name);
    WriteSetting(mSettingsSubkey, name, text);
  }
  return text;
}

std::u16string TwinfindDlg::ShownNumber(std::u16string_view text) const {
  std::u16string shown = FormatDecimal(TextToDouble(text));
  // A huge number has hundreds of digits, more than the box takes and the store reads back:
  // the box then shows the stored text itself, so that OK keeps it.
  return shown.size() <= kLongestEditText ? shown : std::u16string(text);
}

void TwinfindDlg::LoadControlsFromRegistry() {
  const int method = TextToInt(LoadValue(u"mMethod"));
  if (method == 0 || method == 1) {
    mMethod = method;
    CheckRadioButton(12012, 12013, 12012 + method);
  }
  mBalloonSize = LoadValue(u"mBalloonSize");
  SetDlgItemText(12016, ShownNumber(mBalloonSize));
  mBalloonLeaderSize = LoadValue(u"mBalloonLeaderSize");
  SetDlgItemText(12017, ShownNumber(mBalloonLeaderSize));
  mIsBalloonLayer = FlagOf(LoadValue(u"mIsBalloonLayer"));
  CheckDlgButton(12019, mIsBalloonLayer);
  mBalloonLayer = LoadValue(u"mBalloonLayer");
  ShowBalloonLayer(mBalloonLayer);
  mIsBalloonAutoArrange = FlagOf(LoadValue(u"mIsBalloonAutoArrange"));
  CheckDlgButton(12025, mIsBalloonAutoArrange);
  mIsBalloonAssy = FlagOf(LoadValue(u"mIsBalloonAssy"));
  CheckDlgButton(12014, mIsBalloonAssy);
  mIsBalloonArray = FlagOf(LoadValue(u"mIsBalloonArray"));
  CheckDlgButton(12015, mIsBalloonArray);
  mIsMaterial = FlagOf(LoadValue(u"mIsMaterial"));
  CheckDlgButton(12021, mIsMaterial);
  mMaterial = TextToInt(LoadValue(u"mMaterial"));
  mMaterialList.SetCurSel(mMaterial);  // outside 0 to 2: no selection
  mIsDepth = FlagOf(LoadValue(u"mIsDepth"));
  CheckDlgButton(12009, mIsDepth);
  mDPChar = LoadValue(u"mDPChar");
  SetDlgItemText(12018, mDPChar);
  mIsCount = FlagOf(LoadValue(u"mIsCount"));
  CheckDlgButton(12023, mIsCount);
  mIsRotate = FlagOf(LoadValue(u"mIsRotate"));
  CheckDlgButton(12006, mIsRotate);
  mIsLayer = FlagOf(LoadValue(u"mIsLayer"));
  CheckDlgButton(12007, mIsLayer);
  mIsColor = FlagOf(LoadValue(u"mIsColor"));
  CheckDlgButton(12008, mIsColor);
  mIsSymmetry = FlagOf(LoadValue(u"mIsSymmetry"));
  CheckDlgButton(12024, mIsSymmetry);
  const int figure = TextToInt(LoadValue(u"mFigure"));
  mFigure = figure == 0 || figure == 1 ? figure : 2;
  CheckRadioButton(12002, 12004, 12002 + mFigure);
  mIsArrange = FlagOf(LoadValue(u"mIsArrange"));
  CheckDlgButton(12001, mIsArrange);
  mArrangeWidth = LoadValue(u"mArrangeWidth");
  SetDlgItemText(12000, ShownNumber(mArrangeWidth));
  mArrangeHeight = LoadValue(u"mArrangeHeight");
  SetDlgItemText(12005, ShownNumber(mArrangeHeight));
  mColorSwatch.mColorName = LoadValue(u"m_ColorMain");
  mLTypeName = LoadValue(u"mLTypeName");
}

void TwinfindDlg::ShowBalloonLayer(std::u16string text) {
  if (TextToInt(text) == 0) text = u"1";
  SetDlgItemText(12020, IntToText(TextToInt(text)));
}

void TwinfindDlg::ShowLineTypeSample(std::u16string_view name) {
  std::unique_ptr<Bitmap> previous =
      SetDlgItemImage(12011, LoadBitmapResource(LineTypeBitmapOfName(name)));
  previous.reset();  // the bitmap shown before is deleted; the new one stays with the control
}

void TwinfindDlg::OnColorSwatch() {
  VxStColorDlg picker(this);
  picker.PresetName(mColorSwatch.mColorName);
  if (picker.DoModal() == IDOK) {
    mColorSwatch.mColorName = picker.mSelectedName;
    Invalidate(false);  // the swatch repaints in the new colour
  }
}

void TwinfindDlg::OnLineTypeSwatch() {
  VxStLTypeDlg picker(this);
  picker.PresetName(mLTypeName);
  if (picker.DoModal() == IDOK) {
    mLTypeName = picker.mSelectedName;
    ShowLineTypeSample(mLTypeName);
  }
}

bool TwinfindDlg::SaveToRegistry() {
  mFailedWrites = 0;
  const auto write = [this](std::u16string_view name, std::u16string_view text) {
    if (!WriteSetting(mSettingsSubkey, name, text)) ++mFailedWrites;
  };
  write(u"mMethod", mMethod != 0 ? u"1" : u"0");
  write(u"mBalloonSize", mBalloonSize);
  write(u"mBalloonLeaderSize", mBalloonLeaderSize);
  write(u"mIsBalloonLayer", FlagText(mIsBalloonLayer));
  write(u"mBalloonLayer", mBalloonLayer);
  write(u"mIsBalloonAutoArrange", FlagText(mIsBalloonAutoArrange));
  write(u"mIsBalloonAssy", FlagText(mIsBalloonAssy));
  write(u"mIsBalloonArray", FlagText(mIsBalloonArray));
  write(u"mIsMaterial", FlagText(mIsMaterial));
  write(u"mMaterial", IntToText(mMaterial));
  write(u"mIsDepth", FlagText(mIsDepth));
  write(u"mDPChar", mDPChar);
  write(u"mIsCount", FlagText(mIsCount));
  write(u"mIsRotate", FlagText(mIsRotate));
  write(u"mIsLayer", FlagText(mIsLayer));
  write(u"mIsColor", FlagText(mIsColor));
  write(u"mIsSymmetry", FlagText(mIsSymmetry));
  write(u"mFigure", mFigure == 0 ? u"0" : mFigure == 1 ? u"1" : u"2");
  write(u"mIsArrange", FlagText(mIsArrange));
  write(u"mArrangeWidth", mArrangeWidth);
  write(u"mArrangeHeight", mArrangeHeight);
  write(u"m_ColorMain", mColorSwatch.mColorName);
  write(u"mLTypeName", mLTypeName);
  return true;
}

void TwinfindDlg::ApplyDialogSettings() {
  TwinfindSettings& record = Settings();
  record.mMethod = mMethod;  // -1 (no method chosen) counts as the balloon method where read
  record.mBalloonSize = mBalloonSize;
  record.mBalloonLeaderSize = mBalloonLeaderSize;
  record.mBalloonLayer = mBalloonLayer;
  record.mDPChar = mDPChar;
  record.mArrangeWidth = mArrangeWidth;
  record.mArrangeHeight = mArrangeHeight;
  record.mIsBalloonLayer = mIsBalloonLayer;
  record.mIsBalloonAutoArrange = mIsBalloonAutoArrange;
  record.mIsBalloonAssy = mIsBalloonAssy;
  record.mIsBalloonArray = mIsBalloonArray;
  record.mIsMaterial = mIsMaterial;
  record.mIsDepth = mIsDepth;
  record.mIsCount = mIsCount;
  record.mIsRotate = mIsRotate;
  record.mIsLayer = mIsLayer;
  record.mIsColor = mIsColor;
  record.mIsSymmetry = mIsSymmetry;
  record.mIsArrange = mIsArrange;
  record.mMaterial = mMaterial;
  record.mFigure = mFigure;
  record.mColorIndex = ColorIndexOfName(mColorSwatch.mColorName);
  record.mLTypeIndex = LineTypeIndexOfName(mLTypeName);
}

}  // namespace twinfind::ui
