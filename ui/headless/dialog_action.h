// The user's actions on a text-mode dialog, one per line:
//   click ID | dblclick ID | text ID VALUE | select ID INDEX | key enter|space|escape|CODE
//   ok | cancel | picture FILE
#ifndef UI_HEADLESS_DIALOG_ACTION_H
#define UI_HEADLESS_DIALOG_ACTION_H

#include <optional>
#include <string>
#include <string_view>

namespace twinfind::ui {

struct DialogAction {
  enum class Verb { kClick, kDoubleClick, kText, kSelect, kKey, kOk, kCancel, kPicture };
  Verb verb = Verb::kOk;
  int id = 0;           // the control of click, dblclick, text and select
  int number = 0;       // the entry index of select, the key code of key
  std::u16string text;  // the text of text (the rest of the line), the file of picture
};

// The action of a line, or why the line is none.
struct ParsedAction {
  std::optional<DialogAction> action;
  std::u16string error;
};

ParsedAction ParseDialogAction(std::u16string_view line);

// The actions, as the dialog lists them for the user.
inline constexpr std::u16string_view kDialogActionsHelp =
    u"click ID, dblclick ID, text ID VALUE, select ID INDEX, key enter|space|escape|CODE, ok, "
    u"cancel, picture FILE";

}  // namespace twinfind::ui

#endif  // UI_HEADLESS_DIALOG_ACTION_H
