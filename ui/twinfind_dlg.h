// The settings dialog, template 23000: shows 23 of the settings as the store holds them, lets
// the user change them, and on OK hands them back to be stored (SaveToRegistry) and taken
// into the settings record (ApplyDialogSettings).
#ifndef UI_TWINFIND_DLG_H
#define UI_TWINFIND_DLG_H

#include <array>
#include <string>
#include <string_view>

#include "ui/color_swatches.h"
#include "ui/dialog.h"
#include "ui/message_map.h"

namespace twinfind::ui {

// The most characters an edit box takes: a longer stored text would not read back from the
// store (its byte limit is 255) and its default would replace it.
inline constexpr size_t kLongestEditText = 126;

// A number as the dialog shows it: "%f", then trailing zeros dropped down to one decimal
// (5 -> 5.0, 2.5 -> 2.5, 0.1234567 -> 0.123457, -3 -> -3.0).
std::u16string FormatDecimal(double value);

class TwinfindDlg : public Dialog {
 public:
  TwinfindDlg();

  // Writes the 23 values under the dialog's settings subkey, every one whatever became of the
  // others; true. How many writes failed is kept in mFailedWrites.
  bool SaveToRegistry();
  // Copies the values into the settings record and resolves the colour and line-type names.
  void ApplyDialogSettings();

  // The members, each named after the setting it carries. The integer members get their
  // values from LoadControlsFromRegistry; a method that is neither 0 nor 1 leaves mMethod at
  // -1, no method button selected.
  std::u16string mSettingsSubkey = u"Twinfind";
  int mMethod = -1;
  std::u16string mBalloonSize;
  std::u16string mBalloonLeaderSize;
  int mIsBalloonLayer = 0;
  std::u16string mBalloonLayer;
  int mIsBalloonAutoArrange = 0;
  int mIsBalloonAssy = 0;
  int mIsBalloonArray = 0;
  int mIsMaterial = 0;
  ComboBox mMaterialList;
  int mMaterial = -1;
  int mIsDepth = 0;
  std::u16string mDPChar;
  int mIsCount = 0;
  int mIsRotate = 0;
  int mIsLayer = 0;
  int mIsColor = 0;
  int mIsSymmetry = 0;
  int mFigure = -1;
  int mIsArrange = 0;
  std::u16string mArrangeWidth;
  std::u16string mArrangeHeight;
  StaticMainColor mColorSwatch;  // holds the colour name m_ColorMain
  std::u16string mLTypeName;
  int mFailedWrites = 0;  // writes of the last SaveToRegistry that the store refused

 protected:
  void DoDataExchange(DataExchange& dx) override;
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;

 private:
  // Reads one value; a missing one gets its default, written back at once.
  std::u16string LoadValue(std::u16string_view name);
  void LoadControlsFromRegistry();
  // A size or spacing as its edit box shows it.
  std::u16string ShownNumber(std::u16string_view text) const;
  void ShowBalloonLayer(std::u16string text);
  void ShowLineTypeSample(std::u16string_view name);

  void OnMethodGeneral() { mMethod = 0; }
  void OnMethodBalloon() { mMethod = 1; }
  void OnBalloonLayer() { mIsBalloonLayer = !mIsBalloonLayer; }
  void OnBalloonAutoArrange() { mIsBalloonAutoArrange = !mIsBalloonAutoArrange; }
  void OnBalloonAssy() { mIsBalloonAssy = !mIsBalloonAssy; }
  void OnBalloonArray() { mIsBalloonArray = !mIsBalloonArray; }
  void OnMaterial() { mIsMaterial = !mIsMaterial; }
  void OnMaterialRow() { mMaterial = mMaterialList.GetCurSel(); }
  void OnDepth() { mIsDepth = !mIsDepth; }
  void OnCount() { mIsCount = !mIsCount; }
  void OnRotate() { mIsRotate = !mIsRotate; }
  void OnSameLayer() { mIsLayer = !mIsLayer; }
  void OnSameColor() { mIsColor = !mIsColor; }
  void OnSymmetry() { mIsSymmetry = !mIsSymmetry; }
  void OnFigureNone() { mFigure = 0; }
  void OnFigureDelete() { mFigure = 1; }
  void OnFigureRecolor() { mFigure = 2; }
  void OnArrange() { mIsArrange = !mIsArrange; }
  void OnColorSwatch();
  void OnLineTypeSwatch();

  static const std::array<MessageMapEntry<TwinfindDlg>, 20> kMessageMap;
};

}  // namespace twinfind::ui

#endif  // UI_TWINFIND_DLG_H
