// The module's three dialog templates: the settings dialog and the two pickers.
#include <array>

#include "ui/dialog_codes.h"
#include "ui/dialog_template.h"
#include "ui/dialog_texts.h"
#include "ui/resource.h"

namespace twinfind::ui {
namespace {

using K = ControlKind;
constexpr uint32_t kCheck = kTabStop;
constexpr uint32_t kEditStyle = kBorder | kAutoHScroll | kTabStop;

// The settings dialog, 23000: 40 controls in template order.
constexpr std::array<ControlTemplate, 40> kSettingsControls{{
    {IDC_STATIC, K::kGroupBox, 0, texts::kSearchConditionsGroup, {148, 13, 201, 83}},
    {IDC_ARRANGE_WIDTH, K::kEdit, kEditStyle, u"", {257, 199, 40, 14}},
    {IDC_STATIC, K::kLabel, kGroupStart, texts::kArrangeWidthLabel, {176, 202, 78, 8}},
    {IDOK, K::kPushButton, kTabStop, texts::kOk, {150, 244, 50, 14}},
    {IDC_ROTATE, K::kCheckBox, kCheck, texts::kRotateCheck, {166, 56, 138, 10}},
    {IDC_SAME_LAYER, K::kCheckBox, kCheck, texts::kSameLayerCheck, {166, 26, 138, 10}},
    {IDC_SAME_COLOR, K::kCheckBox, kCheck, texts::kSameColorCheck, {166, 41, 138, 10}},
    {IDC_STATIC, K::kGroupBox, 0, texts::kArrangeGroup, {148, 169, 201, 69}},
    {IDC_STATIC, K::kGroupBox, 0, texts::kResultGroup, {148, 101, 201, 63}},
    {IDC_ARRANGE, K::kCheckBox, kCheck, texts::kArrangeCheck, {166, 185, 122, 10}},
    {IDC_FIGURE_NONE, K::kRadioButton, kGroupStart, texts::kNoActionRadio, {167, 116, 65, 10}},
    {IDC_FIGURE_DELETE, K::kRadioButton, 0, texts::kDeleteRadio, {167, 130, 65, 10}},
    {IDC_FIGURE_RECOLOR, K::kRadioButton, 0, texts::kRecolorRadio, {167, 144, 55, 10}},
    {IDC_ARRANGE_HEIGHT, K::kEdit, kEditStyle, u"", {257, 214, 40, 14}},
    {IDC_STATIC, K::kLabel, kGroupStart, texts::kArrangeHeightLabel, {176, 217, 78, 8}},
    {IDC_COLOR_SWATCH, K::kStaticRect, kSunken | kNotify | kTabStop, u"", {237, 140, 20, 18}},
    {IDC_LINETYPE_SWATCH, K::kStaticBitmap, kBorder | kNotify | kTabStop, u"", {258, 140, 16, 14}},
    {IDC_METHOD_GENERAL, K::kRadioButton, 0, texts::kGeneralMethodRadio, {26, 30, 95, 10}},
    {IDC_METHOD_BALLOON, K::kRadioButton, 0, texts::kBalloonMethodRadio, {26, 46, 95, 10}},
    {IDC_STATIC, K::kGroupBox, 0, texts::kMethodGroup, {16, 13, 126, 58}},
    {IDC_STATIC, K::kGroupBox, 0, texts::kBalloonGroup, {15, 73, 126, 211}},
    {IDC_DEPTH, K::kCheckBox, kCheck, texts::kDepthCheck, {24, 236, 110, 10}},
    {IDC_BALLOON_ASSY, K::kCheckBox, kCheck, texts::kBalloonAssyCheck, {24, 109, 110, 10}},
    {IDC_BALLOON_ARRAY, K::kCheckBox, kCheck, texts::kBalloonArrayCheck, {24, 125, 110, 10}},
    {IDC_STATIC, K::kLabel, kGroupStart, texts::kBalloonSizeLabel, {25, 143, 48, 8}},
    {IDC_BALLOON_SIZE, K::kEdit, kEditStyle, u"", {106, 140, 30, 14}},
    {IDC_STATIC, K::kLabel, kGroupStart, texts::kLeaderSpacingLabel, {25, 161, 78, 8}},
    {IDC_BALLOON_LEADER_SIZE, K::kEdit, kEditStyle, u"", {106, 158, 30, 14}},
    {IDC_STATIC, K::kLabel, kGroupStart, texts::kDepthPrefixLabel, {35, 250, 64, 8}},
    {IDC_DEPTH_PREFIX, K::kEdit, kEditStyle, u"", {106, 247, 30, 14}},
    {IDC_BALLOON_LAYER, K::kCheckBox, kCheck, texts::kBalloonLayerCheck, {24, 177, 110, 10}},
    {IDC_STATIC, K::kLabel, kGroupStart, texts::kLayerNumberLabel, {25, 191, 78, 8}},
    {IDC_BALLOON_LAYER_NUMBER, K::kEdit, kEditStyle, u"", {106, 188, 30, 14}},
    {IDC_MATERIAL, K::kCheckBox, kCheck, texts::kMaterialCheck, {24, 208, 110, 10}},
    {IDC_STATIC, K::kLabel, kGroupStart, texts::kMaterialRowLabel, {35, 223, 62, 8}},
    {IDC_MATERIAL_ROW, K::kDropList, kSorted | kVScroll | kTabStop, u"", {100, 220, 36, 45}},
    {IDC_COUNT, K::kCheckBox, kCheck, texts::kCountCheck, {24, 264, 110, 10}},
    {IDC_SYMMETRY, K::kCheckBox, kCheck, texts::kSymmetryCheck, {166, 71, 138, 10}},
    {IDC_BALLOON_AUTO_ARRANGE, K::kCheckBox, kCheck, texts::kAutoArrangeCheck, {24, 93, 110, 10}},
    {IDC_STATIC, K::kLabel, kGroupStart, texts::kSymmetryNote, {176, 82, 150, 8}},
}};

// The colour picker, 17079: two rows of eight swatches, then OK and CANCEL.
constexpr uint32_t kSwatch = kSunken | kNotify;
constexpr std::array<ControlTemplate, 18> kColorPickerControls{{
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
    {IDOK, K::kPushButton, kTabStop, texts::kOk, {57, 62, 50, 14}},
    {IDCANCEL, K::kPushButton, kTabStop, texts::kCancel, {108, 62, 50, 14}},
}};

// The line-type picker, 17080: the first sample alone, then a grid of three by three.
constexpr uint32_t kSample = kBorder | kNotify;
constexpr std::array<ControlTemplate, 12> kLineTypePickerControls{{
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
    {IDOK, K::kPushButton, kTabStop, texts::kOk, {57, 71, 50, 14}},
    {IDCANCEL, K::kPushButton, kTabStop, texts::kCancel, {108, 71, 50, 14}},
}};

constexpr std::array<DialogTemplate, 3> kTemplates{{
    {kSettingsDialogId, texts::kSettingsCaption, 369, 298, texts::kDialogFont, 8,
     kSettingsControls},
    {kColorPickerId, texts::kColorPickerCaption, 212, 88, texts::kDialogFont, 8,
     kColorPickerControls},
    {kLineTypePickerId, texts::kLineTypePickerCaption, 212, 99, texts::kDialogFont, 8,
     kLineTypePickerControls},
}};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (const DialogTemplate& t : kTemplates) {
    if (t.id == id) return &t;
  }
  return nullptr;
}

}  // namespace twinfind::ui
