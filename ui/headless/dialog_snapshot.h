// An open dialog as it stands: what every control shows and what the last paint drew. The
// headless backend takes one after every action; the text-mode dialog, the pictures and the
// tests read it.
#ifndef UI_HEADLESS_DIALOG_SNAPSHOT_H
#define UI_HEADLESS_DIALOG_SNAPSHOT_H

#include <optional>
#include <string>
#include <vector>

#include "ui/bitmap.h"
#include "ui/dialog_template.h"
#include "ui/paint.h"

namespace twinfind::ui {

struct ControlSnapshot {
  const ControlTemplate* source = nullptr;  // the control's template entry
  int id = -1;
  ControlKind kind = ControlKind::kLabel;
  PixelRect window;  // in the dialog's client coordinates
  PixelRect client;  // the control's client area, also in the dialog's client coordinates
  std::u16string text;
  int check = 0;
  std::vector<std::u16string> entries;  // a list's entries
  int curSel = -1;                      // a list's selection, -1 for none
  std::optional<Bitmap> image;          // a bitmap control's image
  bool ownerPainted = false;            // the bound control object painted it
  std::vector<PaintOp> paint;           // what it drew, in its own client coordinates
};

struct DialogSnapshot {
  const DialogTemplate* source = nullptr;
  int clientWidth = 0;  // pixels
  int clientHeight = 0;
  std::vector<ControlSnapshot> controls;  // template order
  std::vector<PaintOp> paint;             // the dialog's own last paint
  int paintCount = 0;                     // paints so far
  bool lastPaintErased = false;           // the last paint began by erasing the background
  int focusId = -1;                       // the control with the keyboard focus; -1: none

  const ControlSnapshot* Find(int id) const {
    for (const ControlSnapshot& c : controls) {
      if (c.id == id && id != -1) return &c;
    }
    return nullptr;
  }
};

}  // namespace twinfind::ui

#endif  // UI_HEADLESS_DIALOG_SNAPSHOT_H
