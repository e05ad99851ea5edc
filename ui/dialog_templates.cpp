// The module's three dialog templates, the settings dialog and the two pickers, in each of the
// command's languages.
#include <array>

#include "common/said_texts.h"
#include "ui/dialog_codes.h"
#include "ui/dialog_template.h"
#include "ui/resource.h"

namespace twinfind::ui {
namespace {

using K = ControlKind;
constexpr uint32_t kCheck = kTabStop;
constexpr uint32_t kEditStyle = kBorder | kAutoHScroll | kTabStop;
constexpr std::u16string_view kDialogFont = u"MS Shell Dlg";

// A control's text in the dialog's language.
constexpr std::u16string_view In(Language language, const SaidText& text) {
  return SaidIn(text, language);
}

// The settings dialog, 23000: 40 controls in template order.
constexpr std::array<ControlTemplate, 40> SettingsControls(Language l) {
  return {{
      {IDC_STATIC, K::kGroupBox, 0, In(l, texts::kSearchConditionsGroup), {148, 13, 201, 83}},
      {IDC_ARRANGE_WIDTH, K::kEdit, kEditStyle, u"", {257, 199, 40, 14}},
      {IDC_STATIC, K::kLabel, kGroupStart, In(l, texts::kArrangeWidthLabel), {176, 202, 78, 8}},
      {IDOK, K::kPushButton, kTabStop, In(l, texts::kOk), {150, 244, 50, 14}},
      {IDC_ROTATE, K::kCheckBox, kCheck, In(l, texts::kRotateCheck), {166, 56, 138, 10}},
      {IDC_SAME_LAYER, K::kCheckBox, kCheck, In(l, texts::kSameLayerCheck), {166, 26, 138, 10}},
      {IDC_SAME_COLOR, K::kCheckBox, kCheck, In(l, texts::kSameColorCheck), {166, 41, 138, 10}},
      {IDC_STATIC, K::kGroupBox, 0, In(l, texts::kArrangeGroup), {148, 169, 201, 69}},
      {IDC_STATIC, K::kGroupBox, 0, In(l, texts::kResultGroup), {148, 101, 201, 63}},
      {IDC_ARRANGE, K::kCheckBox, kCheck, In(l, texts::kArrangeCheck), {166, 185, 122, 10}},
      {IDC_FIGURE_NONE,
       K::kRadioButton,
       kGroupStart,
       In(l, texts::kNoActionRadio),
       {167, 116, 65, 10}},
      {IDC_FIGURE_DELETE, K::kRadioButton, 0, In(l, texts::kDeleteRadio), {167, 130, 65, 10}},
      {IDC_FIGURE_RECOLOR, K::kRadioButton, 0, In(l, texts::kRecolorRadio), {167, 144, 55, 10}},
      {IDC_ARRANGE_HEIGHT, K::kEdit, kEditStyle, u"", {257, 214, 40, 14}},
      {IDC_STATIC, K::kLabel, kGroupStart, In(l, texts::kArrangeHeightLabel), {176, 217, 78, 8}},
      {IDC_COLOR_SWATCH, K::kStaticRect, kSunken | kNotify | kTabStop, u"", {237, 140, 20, 18}},
      {IDC_LINETYPE_SWATCH,
       K::kStaticBitmap,
       kBorder | kNotify | kTabStop,
       u"",
       {258, 140, 16, 14}},
      {IDC_METHOD_GENERAL, K::kRadioButton, 0, In(l, texts::kGeneralMethodRadio), {26, 30, 95, 10}},
      {IDC_METHOD_BALLOON, K::kRadioButton, 0, In(l, texts::kBalloonMethodRadio), {26, 46, 95, 10}},
      {IDC_STATIC, K::kGroupBox, 0, In(l, texts::kMethodGroup), {16, 13, 126, 58}},
      {IDC_STATIC, K::kGroupBox, 0, In(l, texts::kBalloonGroup), {15, 73, 126, 211}},
      {IDC_DEPTH, K::kCheckBox, kCheck, In(l, texts::kDepthCheck), {24, 236, 110, 10}},
      {IDC_BALLOON_ASSY, K::kCheckBox, kCheck, In(l, texts::kBalloonAssyCheck), {24, 109, 110, 10}},
      {IDC_BALLOON_ARRAY,
       K::kCheckBox,
       kCheck,
       In(l, texts::kBalloonArrayCheck),
       {24, 125, 110, 10}},
      {IDC_STATIC, K::kLabel, kGroupStart, In(l, texts::kBalloonSizeLabel), {25, 143, 48, 8}},
      {IDC_BALLOON_SIZE, K::kEdit, kEditStyle, u"", {106, 140, 30, 14}},
      {IDC_STATIC, K::kLabel, kGroupStart, In(l, texts::kLeaderSpacingLabel), {25, 161, 78, 8}},
      {IDC_BALLOON_LEADER_SIZE, K::kEdit, kEditStyle, u"", {106, 158, 30, 14}},
      {IDC_STATIC, K::kLabel, kGroupStart, In(l, texts::kDepthPrefixLabel), {35, 250, 64, 8}},
      {IDC_DEPTH_PREFIX, K::kEdit, kEditStyle, u"", {106, 247, 30, 14}},
      {IDC_BALLOON_LAYER,
       K::kCheckBox,
       kCheck,
       In(l, texts::kBalloonLayerCheck),
       {24, 177, 110, 10}},
      {IDC_STATIC, K::kLabel, kGroupStart, In(l, texts::kLayerNumberLabel), {25, 191, 78, 8}},
      {IDC_BALLOON_LAYER_NUMBER, K::kEdit, kEditStyle, u"", {106, 188, 30, 14}},
      {IDC_MATERIAL, K::kCheckBox, kCheck, In(l, texts::kMaterialCheck), {24, 208, 110, 10}},
      {IDC_STATIC, K::kLabel, kGroupStart, In(l, texts::kMaterialRowLabel), {35, 223, 62, 8}},
      {IDC_MATERIAL_ROW, K::kDropList, kSorted | kVScroll | kTabStop, u"", {100, 220, 36, 45}},
      {IDC_COUNT, K::kCheckBox, kCheck, In(l, texts::kCountCheck), {24, 264, 110, 10}},
      {IDC_SYMMETRY, K::kCheckBox, kCheck, In(l, texts::kSymmetryCheck), {166, 71, 138, 10}},
      {IDC_BALLOON_AUTO_ARRANGE,
       K::kCheckBox,
       kCheck,
       In(l, texts::kAutoArrangeCheck),
       {24, 93, 110, 10}},
      {IDC_STATIC, K::kLabel, kGroupStart, In(l, texts::kSymmetryNote), {176, 82, 150, 8}},
  }};
}

// The colour picker, 17079: two rows of eight swatches, then OK and CANCEL.
constexpr uint32_t kSwatch = kSunken | kNotify;
constexpr std::array<ControlTemplate, 18> ColorPickerControls(Language l) {
  return {{
      {IDC_COLOR_01, K::kStaticRect, kSwatch, u"", {12, 11, 20, 18}},
      {IDC_COLOR_02, K::kStaticRect, kSwatch, u"", {36, 11, 20, 18}},
      {IDC_COLOR_03, K::kStaticRect, kSwatch, u"", {60, 11, 20, 18}},
      {IDC_COLOR_04, K::kStaticRect, kSwatch, u"", {83, 11, 20, 18}},
      {IDC_COLOR_05, K::kStaticRect, kSwatch, u"", {107, 11, 20, 18}},
      {IDC_COLOR_06, K::kStaticRect, kSwatch, u"", {131, 11, 20, 18}},
      {IDC_COLOR_07, K::kStaticRect, kSwatch, u"", {155, 11, 20, 18}},
      {IDC_COLOR_08, K::kStaticRect, kSwatch, u"", {179, 11, 20, 18}},
      {IDC_COLOR_09, K::kStaticRect, kSwatch, u"", {12, 33, 20, 18}},
      {IDC_COLOR_10, K::kStaticRect, kSwatch, u"", {36, 33, 20, 18}},
      {IDC_COLOR_11, K::kStaticRect, kSwatch, u"", {60, 33, 20, 18}},
      {IDC_COLOR_12, K::kStaticRect, kSwatch, u"", {83, 33, 20, 18}},
      {IDC_COLOR_13, K::kStaticRect, kSwatch, u"", {107, 33, 20, 18}},
      {IDC_COLOR_14, K::kStaticRect, kSwatch, u"", {131, 33, 20, 18}},
      {IDC_COLOR_15, K::kStaticRect, kSwatch, u"", {155, 33, 20, 18}},
      {IDC_COLOR_16, K::kStaticRect, kSwatch, u"", {179, 33, 20, 18}},
      {IDOK, K::kPushButton, kTabStop, In(l, texts::kOk), {57, 62, 50, 14}},
      {IDCANCEL, K::kPushButton, kTabStop, In(l, texts::kCancel), {108, 62, 50, 14}},
  }};
}

// The line-type picker, 17080: the first sample alone, then a grid of three by three.
constexpr uint32_t kSample = kBorder | kNotify;
constexpr std::array<ControlTemplate, 12> LineTypePickerControls(Language l) {
  return {{
      {IDC_LINETYPE_01, K::kStaticBitmap, kSample, u"", {12, 11, 16, 14}},
      {IDC_LINETYPE_02, K::kStaticBitmap, kSample, u"", {60, 11, 16, 14}},
      {IDC_LINETYPE_03, K::kStaticBitmap, kSample, u"", {107, 11, 16, 14}},
      {IDC_LINETYPE_04, K::kStaticBitmap, kSample, u"", {155, 11, 16, 14}},
      {IDC_LINETYPE_05, K::kStaticBitmap, kSample, u"", {60, 30, 16, 14}},
      {IDC_LINETYPE_06, K::kStaticBitmap, kSample, u"", {107, 30, 16, 14}},
      {IDC_LINETYPE_07, K::kStaticBitmap, kSample, u"", {155, 30, 16, 14}},
      {IDC_LINETYPE_08, K::kStaticBitmap, kSample, u"", {60, 49, 16, 14}},
      {IDC_LINETYPE_09, K::kStaticBitmap, kSample, u"", {107, 49, 16, 14}},
      {IDC_LINETYPE_10, K::kStaticBitmap, kSample, u"", {155, 49, 16, 14}},
      {IDOK, K::kPushButton, kTabStop, In(l, texts::kOk), {57, 71, 50, 14}},
      {IDCANCEL, K::kPushButton, kTabStop, In(l, texts::kCancel), {108, 71, 50, 14}},
  }};
}

// The three dialogs in one language; the controls' arrays live as long as the program.
template <Language l>
struct TemplatesIn {
  static constexpr auto kSettings = SettingsControls(l);
  static constexpr auto kColorPicker = ColorPickerControls(l);
  static constexpr auto kLineTypePicker = LineTypePickerControls(l);
  static constexpr std::array<DialogTemplate, 3> kAll{{
      {kSettingsDialogId, In(l, texts::kSettingsCaption), 369, 298, kDialogFont, 8, kSettings},
      {kColorPickerId, In(l, texts::kColorPickerCaption), 212, 88, kDialogFont, 8, kColorPicker},
      {kLineTypePickerId, In(l, texts::kLineTypePickerCaption), 212, 99, kDialogFont, 8,
       kLineTypePicker},
  }};
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  const auto& all = CurrentLanguage() == Language::kEnglish ? TemplatesIn<Language::kEnglish>::kAll
                                                            : TemplatesIn<Language::kKorean>::kAll;
  for (const DialogTemplate& t : all) {
    if (t.id == id) return &t;
  }
  return nullptr;
}

}  // namespace twinfind::ui
