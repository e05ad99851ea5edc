// The module's three dialog templates: the settings dialog and the two pickers.
#include <array>

#include "ui/dialog_template.h"
#include "ui/dialog_texts.h"

namespace twinfind::ui {
namespace {

using K = ControlKind;
constexpr uint32_t kCheck = kTabStop;
constexpr uint32_t kEditStyle = kBorder | kAutoHScroll | kTabStop;

// The settings dialog, 23000: 40 controls in template order.
constexpr std::array<ControlTemplate, 40> kSettingsControls{{
    {-1, K::kGroupBox, 0, texts::kSearchConditionsGroup, {148, 13, 201, 83}},
    {12000, K::kEdit, kEditStyle, u"", {257, 199, 40, 14}},
    {-1, K::kLabel, kGroupStart, texts::kArrangeWidthLabel, {176, 202, 78, 8}},
    {1, K::kPushButton, kTabStop, texts::kOk, {150, 244, 50, 14}},
    {12006, K::kCheckBox, kCheck, texts::kRotateCheck, {166, 56, 138, 10}},
    {12007, K::kCheckBox, kCheck, texts::kSameLayerCheck, {166, 26, 138, 10}},
    {12008, K::kCheckBox, kCheck, texts::kSameColorCheck, {166, 41, 138, 10}},
    {-1, K::kGroupBox, 0, texts::kArrangeGroup, {148, 169, 201, 69}},
    {-1, K::kGroupBox, 0, texts::kResultGroup, {148, 101, 201, 63}},
    {12001, K::kCheckBox, kCheck, texts::kArrangeCheck, {166, 185, 122, 10}},
    {12002, K::kRadioButton, kGroupStart, texts::kNoActionRadio, {167, 116, 65, 10}},
    {12003, K::kRadioButton, 0, texts::kDeleteRadio, {167, 130, 65, 10}},
    {12004, K::kRadioButton, 0, texts::kRecolorRadio, {167, 144, 55, 10}},
    {12005, K::kEdit, kEditStyle, u"", {257, 214, 40, 14}},
    {-1, K::kLabel, kGroupStart, texts::kArrangeHeightLabel, {176, 217, 78, 8}},
    {12010, K::kStaticRect, kSunken | kNotify | kTabStop, u"", {237, 140, 20, 18}},
    {12011, K::kStaticBitmap, kBorder | kNotify | kTabStop, u"", {258, 140, 16, 14}},
    {12012, K::kRadioButton, 0, texts::kGeneralMethodRadio, {26, 30, 95, 10}},
    {12013, K::kRadioButton, 0, texts::kBalloonMethodRadio, {26, 46, 95, 10}},
    {-1, K::kGroupBox, 0, texts::kMethodGroup, {16, 13, 126, 58}},
    {-1, K::kGroupBox, 0, texts::kBalloonGroup, {15, 73, 126, 211}},
    {12009, K::kCheckBox, kCheck, texts::kDepthCheck, {24, 236, 110, 10}},
    {12014, K::kCheckBox, kCheck, texts::kBalloonAssyCheck, {24, 109, 110, 10}},
    {12015, K::kCheckBox, kCheck, texts::kBalloonArrayCheck, {24, 125, 110, 10}},
    {-1, K::kLabel, kGroupStart, texts::kBalloonSizeLabel, {25, 143, 48, 8}},
    {12016, K::kEdit, kEditStyle, u"", {106, 140, 30, 14}},
    {-1, K::kLabel, kGroupStart, texts::kLeaderSpacingLabel, {25, 161, 78, 8}},
    {12017, K::kEdit, kEditStyle, u"", {106, 158, 30, 14}},
    {-1, K::kLabel, kGroupStart, texts::kDepthPrefixLabel, {35, 250, 64, 8}},
    {12018, K::kEdit, kEditStyle, u"", {106, 247, 30, 14}},
    {12019, K::kCheckBox, kCheck, texts::kBalloonLayerCheck, {24, 177, 110, 10}},
    {-1, K::kLabel, kGroupStart, texts::kLayerNumberLabel, {25, 191, 78, 8}},
    {12020, K::kEdit, kEditStyle, u"", {106, 188, 30, 14}},
    {12021, K::kCheckBox, kCheck, texts::kMaterialCheck, {24, 208, 110, 10}},
    {-1, K::kLabel, kGroupStart, texts::kMaterialRowLabel, {35, 223, 62, 8}},
    {12022, K::kDropList, kSorted | kVScroll | kTabStop, u"", {100, 220, 36, 45}},
    {12023, K::kCheckBox, kCheck, texts::kCountCheck, {24, 264, 110, 10}},
    {12024, K::kCheckBox, kCheck, texts::kSymmetryCheck, {166, 71, 138, 10}},
    {12025, K::kCheckBox, kCheck, texts::kAutoArrangeCheck, {24, 93, 110, 10}},
    {-1, K::kLabel, kGroupStart, texts::kSymmetryNote, {176, 82, 150, 8}},
}};

// The colour picker, 17079: two rows of eight swatches, then OK and CANCEL.
constexpr uint32_t kSwatch = kSunken | kNotify;
constexpr std::array<ControlTemplate, 18> kColorPickerControls{{
    {17015, K::kStaticRect, kSwatch, u"", {12, 11, 20, 18}},
    {17032, K::kStaticRect, kSwatch, u"", {36, 11, 20, 18}},
    {17033, K::kStaticRect, kSwatch, u"", {60, 11, 20, 18}},
    {17034, K::kStaticRect, kSwatch, u"", {83, 11, 20, 18}},
    {17035, K::kStaticRect, kSwatch, u"", {107, 11, 20, 18}},
    {17036, K::kStaticRect, kSwatch, u"", {131, 11, 20, 18}},
    {17037, K::kStaticRect, kSwatch, u"", {155, 11, 20, 18}},
    {17038, K::kStaticRect, kSwatch, u"", {179, 11, 20, 18}},
    {17039, K::kStaticRect, kSwatch, u"", {12, 33, 20, 18}},
    {17040, K::kStaticRect, kSwatch, u"", {36, 33, 20, 18}},
    {17041, K::kStaticRect, kSwatch, u"", {60, 33, 20, 18}},
    {17042, K::kStaticRect, kSwatch, u"", {83, 33, 20, 18}},
    {17043, K::kStaticRect, kSwatch, u"", {107, 33, 20, 18}},
    {17044, K::kStaticRect, kSwatch, u"", {131, 33, 20, 18}},
    {17045, K::kStaticRect, kSwatch, u"", {155, 33, 20, 18}},
    {17046, K::kStaticRect, kSwatch, u"", {179, 33, 20, 18}},
    {1, K::kPushButton, kTabStop, texts::kOk, {57, 62, 50, 14}},
    {2, K::kPushButton, kTabStop, texts::kCancel, {108, 62, 50, 14}},
}};

// The line-type picker, 17080: the first sample alone, then a grid of three by three.
constexpr uint32_t kSample = kBorder | kNotify;
constexpr std::array<ControlTemplate, 12> kLineTypePickerControls{{
    {17016, K::kStaticBitmap, kSample, u"", {12, 11, 16, 14}},
    {17078, K::kStaticBitmap, kSample, u"", {60, 11, 16, 14}},
    {17079, K::kStaticBitmap, kSample, u"", {107, 11, 16, 14}},
    {17080, K::kStaticBitmap, kSample, u"", {155, 11, 16, 14}},
    {17081, K::kStaticBitmap, kSample, u"", {60, 30, 16, 14}},
    {17082, K::kStaticBitmap, kSample, u"", {107, 30, 16, 14}},
    {17083, K::kStaticBitmap, kSample, u"", {155, 30, 16, 14}},
    {17084, K::kStaticBitmap, kSample, u"", {60, 49, 16, 14}},
    {17085, K::kStaticBitmap, kSample, u"", {107, 49, 16, 14}},
    {17086, K::kStaticBitmap, kSample, u"", {155, 49, 16, 14}},
    {1, K::kPushButton, kTabStop, texts::kOk, {57, 71, 50, 14}},
    {2, K::kPushButton, kTabStop, texts::kCancel, {108, 71, 50, 14}},
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
