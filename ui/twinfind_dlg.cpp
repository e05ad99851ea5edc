#include "ui/twinfind_dlg.h"

#include <cstdio>

#include "common/said_texts.h"
#include "settings/settings.h"
#include "settings/text_number.h"
#include "ui/bitmap.h"
#include "ui/dialog_template.h"
#include "ui/picker_tables.h"
#include "ui/pickers.h"
#include "ui/resource.h"

namespace twinfind::ui {
namespace {

// The edit boxes, whose texts are stored as typed.
constexpr std::array<int, 6> kEditBoxes = {IDC_ARRANGE_WIDTH, IDC_ARRANGE_HEIGHT,
                                           IDC_BALLOON_SIZE,  IDC_BALLOON_LEADER_SIZE,
                                           IDC_DEPTH_PREFIX,  IDC_BALLOON_LAYER_NUMBER};

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
    OnBnClicked(IDC_METHOD_GENERAL, &TwinfindDlg::OnMethodGeneral),
    OnBnClicked(IDC_METHOD_BALLOON, &TwinfindDlg::OnMethodBalloon),
    OnBnClicked(IDC_BALLOON_LAYER, &TwinfindDlg::OnBalloonLayer),
    OnBnClicked(IDC_BALLOON_AUTO_ARRANGE, &TwinfindDlg::OnBalloonAutoArrange),
    OnBnClicked(IDC_BALLOON_ASSY, &TwinfindDlg::OnBalloonAssy),
    OnBnClicked(IDC_BALLOON_ARRAY, &TwinfindDlg::OnBalloonArray),
    OnBnClicked(IDC_MATERIAL, &TwinfindDlg::OnMaterial),
    OnCbnSelchange(IDC_MATERIAL_ROW, &TwinfindDlg::OnMaterialRow),
    OnBnClicked(IDC_DEPTH, &TwinfindDlg::OnDepth),
    OnBnClicked(IDC_COUNT, &TwinfindDlg::OnCount),
    OnBnClicked(IDC_ROTATE, &TwinfindDlg::OnRotate),
    OnBnClicked(IDC_SAME_LAYER, &TwinfindDlg::OnSameLayer),
    OnBnClicked(IDC_SAME_COLOR, &TwinfindDlg::OnSameColor),
    OnBnClicked(IDC_SYMMETRY, &TwinfindDlg::OnSymmetry),
    OnBnClicked(IDC_FIGURE_NONE, &TwinfindDlg::OnFigureNone),
    OnBnClicked(IDC_FIGURE_DELETE, &TwinfindDlg::OnFigureDelete),
    OnBnClicked(IDC_FIGURE_RECOLOR, &TwinfindDlg::OnFigureRecolor),
    OnBnClicked(IDC_ARRANGE, &TwinfindDlg::OnArrange),
    OnStnClicked(IDC_COLOR_SWATCH, &TwinfindDlg::OnColorSwatch),
    OnStnClicked(IDC_LINETYPE_SWATCH, &TwinfindDlg::OnLineTypeSwatch),
}};

TwinfindDlg::TwinfindDlg() : Dialog(kSettingsDialogId) {}

bool TwinfindDlg::OnCommand(int id, int code) {
  return DispatchMessageMap(*this, kMessageMap, id, code);
}

void TwinfindDlg::DoDataExchange(DataExchange& dx) {
  DDX_Radio(dx, IDC_METHOD_GENERAL, mMethod);
  DDX_Text(dx, IDC_BALLOON_SIZE, mBalloonSize);
  DDX_Text(dx, IDC_BALLOON_LEADER_SIZE, mBalloonLeaderSize);
  DDX_Check(dx, IDC_BALLOON_LAYER, mIsBalloonLayer);
  DDX_Text(dx, IDC_BALLOON_LAYER_NUMBER, mBalloonLayer);
  DDX_Check(dx, IDC_BALLOON_AUTO_ARRANGE, mIsBalloonAutoArrange);
  DDX_Check(dx, IDC_BALLOON_ASSY, mIsBalloonAssy);
  DDX_Check(dx, IDC_BALLOON_ARRAY, mIsBalloonArray);
  DDX_Check(dx, IDC_MATERIAL, mIsMaterial);
  DDX_Control(dx, IDC_MATERIAL_ROW, mMaterialList);
  DDX_Check(dx, IDC_DEPTH, mIsDepth);
  DDX_Text(dx, IDC_DEPTH_PREFIX, mDPChar);
  DDX_Check(dx, IDC_COUNT, mIsCount);
  DDX_Check(dx, IDC_ROTATE, mIsRotate);
  DDX_Check(dx, IDC_SAME_LAYER, mIsLayer);
  DDX_Check(dx, IDC_SAME_COLOR, mIsColor);
  DDX_Check(dx, IDC_SYMMETRY, mIsSymmetry);
  DDX_Radio(dx, IDC_FIGURE_NONE, mFigure);
  DDX_Check(dx, IDC_ARRANGE, mIsArrange);
  DDX_Text(dx, IDC_ARRANGE_WIDTH, mArrangeWidth);
  DDX_Text(dx, IDC_ARRANGE_HEIGHT, mArrangeHeight);
  DDX_Control(dx, IDC_COLOR_SWATCH, mColorSwatch);
}

bool TwinfindDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  for (int id : kEditBoxes) LimitDlgItemText(id, kLongestEditText);
  for (const SaidText* row :
       {&texts::kMaterialRow1, &texts::kMaterialRow2, &texts::kMaterialRow3}) {
    mMaterialList.AddString(Said(*row));
  }
  LoadControlsFromRegistry();
  ShowLineTypeSample(mLTypeName);
  return true;  // the focus goes to the first tab stop, edit IDC_ARRANGE_WIDTH
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
    CheckRadioButton(IDC_METHOD_GENERAL, IDC_METHOD_BALLOON, IDC_METHOD_GENERAL + method);
  }
  mBalloonSize = LoadValue(u"mBalloonSize");
  SetDlgItemText(IDC_BALLOON_SIZE, ShownNumber(mBalloonSize));
  mBalloonLeaderSize = LoadValue(u"mBalloonLeaderSize");
  SetDlgItemText(IDC_BALLOON_LEADER_SIZE, ShownNumber(mBalloonLeaderSize));
  mIsBalloonLayer = FlagOf(LoadValue(u"mIsBalloonLayer"));
  CheckDlgButton(IDC_BALLOON_LAYER, mIsBalloonLayer);
  mBalloonLayer = LoadValue(u"mBalloonLayer");
  ShowBalloonLayer(mBalloonLayer);
  mIsBalloonAutoArrange = FlagOf(LoadValue(u"mIsBalloonAutoArrange"));
  CheckDlgButton(IDC_BALLOON_AUTO_ARRANGE, mIsBalloonAutoArrange);
  mIsBalloonAssy = FlagOf(LoadValue(u"mIsBalloonAssy"));
  CheckDlgButton(IDC_BALLOON_ASSY, mIsBalloonAssy);
  mIsBalloonArray = FlagOf(LoadValue(u"mIsBalloonArray"));
  CheckDlgButton(IDC_BALLOON_ARRAY, mIsBalloonArray);
  mIsMaterial = FlagOf(LoadValue(u"mIsMaterial"));
  CheckDlgButton(IDC_MATERIAL, mIsMaterial);
  mMaterial = TextToInt(LoadValue(u"mMaterial"));
  mMaterialList.SetCurSel(mMaterial);  // outside 0 to 2: no selection
  mIsDepth = FlagOf(LoadValue(u"mIsDepth"));
  CheckDlgButton(IDC_DEPTH, mIsDepth);
  mDPChar = LoadValue(u"mDPChar");
  SetDlgItemText(IDC_DEPTH_PREFIX, mDPChar);
  mIsCount = FlagOf(LoadValue(u"mIsCount"));
  CheckDlgButton(IDC_COUNT, mIsCount);
  mIsRotate = FlagOf(LoadValue(u"mIsRotate"));
  CheckDlgButton(IDC_ROTATE, mIsRotate);
  mIsLayer = FlagOf(LoadValue(u"mIsLayer"));
  CheckDlgButton(IDC_SAME_LAYER, mIsLayer);
  mIsColor = FlagOf(LoadValue(u"mIsColor"));
  CheckDlgButton(IDC_SAME_COLOR, mIsColor);
  mIsSymmetry = FlagOf(LoadValue(u"mIsSymmetry"));
  CheckDlgButton(IDC_SYMMETRY, mIsSymmetry);
  const int figure = TextToInt(LoadValue(u"mFigure"));
  mFigure = figure == 0 || figure == 1 ? figure : 2;
  CheckRadioButton(IDC_FIGURE_NONE, IDC_FIGURE_RECOLOR, IDC_FIGURE_NONE + mFigure);
  mIsArrange = FlagOf(LoadValue(u"mIsArrange"));
  CheckDlgButton(IDC_ARRANGE, mIsArrange);
  mArrangeWidth = LoadValue(u"mArrangeWidth");
  SetDlgItemText(IDC_ARRANGE_WIDTH, ShownNumber(mArrangeWidth));
  mArrangeHeight = LoadValue(u"mArrangeHeight");
  SetDlgItemText(IDC_ARRANGE_HEIGHT, ShownNumber(mArrangeHeight));
  mColorSwatch.mColorName = LoadValue(u"m_ColorMain");
  mLTypeName = LoadValue(u"mLTypeName");
}

void TwinfindDlg::ShowBalloonLayer(std::u16string text) {
  if (TextToInt(text) == 0) text = u"1";
  SetDlgItemText(IDC_BALLOON_LAYER_NUMBER, IntToText(TextToInt(text)));
}

void TwinfindDlg::ShowLineTypeSample(std::u16string_view name) {
  std::unique_ptr<Bitmap> previous =
      SetDlgItemImage(IDC_LINETYPE_SWATCH, LoadBitmapResource(LineTypeBitmapOfName(name)));
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
