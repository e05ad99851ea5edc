// The text-mode view of a dialog: a header with the caption, one line for each control with its
// id, kind, text and state, one line for each drawing of the dialog's own paint, and the focus.
#ifndef UI_HEADLESS_DIALOG_TEXT_H
#define UI_HEADLESS_DIALOG_TEXT_H

#include <string>
#include <vector>

#include "ui/headless/dialog_snapshot.h"

namespace twinfind::ui {

struct DialogText {
  std::u16string header;
  std::vector<std::u16string> controls;  // template order
  std::vector<std::u16string> paint;
  std::u16string focus;
};

DialogText DescribeDialog(const DialogSnapshot& dialog);

// Every line, in showing order.
std::vector<std::u16string> AllLines(const DialogText& text);

// The lines of `after` that show something other than `before`: changed controls, the whole
// paint when it changed, the focus when it moved.
std::vector<std::u16string> ChangedLines(const DialogText& before, const DialogText& after);

// "#RRGGBB".
std::u16string ColorText(Color color);

}  // namespace twinfind::ui

#endif  // UI_HEADLESS_DIALOG_TEXT_H
