// The open dialogs as the page draws them. The dialogs live in the plug-in and show themselves
// to the host as text lines (docs/ui.md, "The text-mode dialog"): a dialog opens with its
// caption and template number and one line per control, later lines say what changed, and a
// closing line ends it; a picker opened from the settings dialog stacks over it. This takes
// those lines and lays each dialog out from its template (the module's own template data, in
// the pixels the dialog pictures use), with what every control shows now.
#ifndef TOOLS_VIEW_DIALOG_VIEW_H
#define TOOLS_VIEW_DIALOG_VIEW_H

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "ui/dialog_template.h"

namespace twinfind::tool::view {

// What one control shows, as its line tells it.
struct ControlState {
  std::u16string text;
  int check = 0;
  std::vector<std::u16string> entries;
  int curSel = -1;
  std::vector<std::string> fills;  // the colours a painted control filled itself with, "#RRGGBB"
  int imageId = 0;                 // a bitmap control's resource; 0: none
  int imageWidth = 0, imageHeight = 0;
};

// One drawing of a dialog's own paint: a fill or a rectangle, in the dialog's client pixels.
struct PaintState {
  bool fill = false;
  bool hollow = false;
  std::string color;
  int penWidth = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct OpenDialog {
  const ui::DialogTemplate* source = nullptr;
  std::map<int, ControlState> controls;
  std::vector<PaintState> paint;
  int focusId = -1;
  bool lastLineWasPaint = false;
};

class DialogView {
 public:
  // One line the dialog showed (after the host's "dialog: "). A refusal of an action comes
  // back as its reason; nothing else does.
  std::optional<std::u16string> Take(std::u16string_view line);

  bool open() const { return !stack_.empty(); }
  size_t depth() const { return stack_.size(); }
  // The template number of the dialog on top; 0 when none is open.
  int topTemplate() const;
  const OpenDialog* top() const { return stack_.empty() ? nullptr : &stack_.back(); }
  // Every open dialog, the lowest first, with its controls laid out.
  nlohmann::json Json() const;
  // The page's picture of a bitmap resource: a data: address of its BMP file.
  static std::string BitmapAddress(int resourceId);

 private:
  void TakeControl(OpenDialog& dialog, std::u16string_view line);
  void TakePaint(OpenDialog& dialog, std::u16string_view line);

  std::vector<OpenDialog> stack_;
};

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_DIALOG_VIEW_H
