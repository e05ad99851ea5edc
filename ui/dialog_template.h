// Dialog templates as data: a dialog's caption and size and its controls in template order
// (which is also the tab order), all in dialog units, as a resource script would give them.
#ifndef UI_DIALOG_TEMPLATE_H
#define UI_DIALOG_TEMPLATE_H

#include <cstdint>
#include <span>
#include <string_view>

#include "ui/resource.h"

namespace twinfind::ui {

enum class ControlKind {
  kGroupBox,      // a frame with a caption
  kLabel,         // static text
  kPushButton,    // sends its id when clicked
  kCheckBox,      // auto check box: a click toggles it
  kRadioButton,   // auto radio button: a click selects it and clears the rest of its group
  kEdit,          // one line of text
  kDropList,      // drop-down list combo box
  kStaticRect,    // static white rectangle, painted by the class bound to it when there is one
  kStaticBitmap,  // static control showing a bitmap
};

// Style marks of a control.
enum ControlStyle : uint32_t {
  kGroupStart = 1u << 0,   // the first control of a group (WS_GROUP)
  kTabStop = 1u << 1,      // reached with the Tab key (WS_TABSTOP)
  kBorder = 1u << 2,       // a thin border (WS_BORDER)
  kAutoHScroll = 1u << 3,  // an edit box scrolls instead of stopping at its width
  kSunken = 1u << 4,       // a sunken edge (SS_SUNKEN)
  kNotify = 1u << 5,       // a static control reports clicks and double-clicks (SS_NOTIFY)
  kSorted = 1u << 6,       // a list keeps its entries sorted (CBS_SORT)
  kVScroll = 1u << 7,      // a vertical scroll bar in the dropped list
};

// A rectangle in dialog units: left, top, width, height.
struct DialogUnitRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

struct ControlTemplate {
  int id;  // -1: a label or group box without an id
  ControlKind kind;
  uint32_t style;  // ControlStyle marks
  std::u16string_view text;
  DialogUnitRect rect;
};

struct DialogTemplate {
  int id;
  std::u16string_view caption;
  int width;  // dialog units
  int height;
  std::u16string_view fontName;
  int fontPoints;
  std::span<const ControlTemplate> controls;
};

// The template of a resource id; nullptr when the module has none of that id.
const DialogTemplate* FindDialogTemplate(int id);

// The resource ids of the three dialogs.
inline constexpr int kSettingsDialogId = IDD_SETTINGS;
inline constexpr int kColorPickerId = IDD_COLOR_PICKER;
inline constexpr int kLineTypePickerId = IDD_LINETYPE_PICKER;

// Dialog units to pixels for the templates' font, "MS Shell Dlg" 8 point at 96 dots per inch:
// its average character is 6 pixels wide and 13 high, a dialog unit is a quarter of the width
// and an eighth of the height (1.5 and 1.625 pixels). Rounded half away from zero, as the
// system's own conversion does.
inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;
constexpr int DialogUnitsToPixelsX(int units) {
  const int scaled = units * kBaseUnitX;
  return scaled >= 0 ? (scaled + 2) / 4 : -((-scaled + 2) / 4);
}
constexpr int DialogUnitsToPixelsY(int units) {
  const int scaled = units * kBaseUnitY;
  return scaled >= 0 ? (scaled + 4) / 8 : -((-scaled + 4) / 8);
}

}  // namespace twinfind::ui

#endif  // UI_DIALOG_TEMPLATE_H
