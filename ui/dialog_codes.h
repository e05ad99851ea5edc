// The numbers the dialogs and the window system exchange: results of a modal run, control
// notifications and key codes, with the values the Windows API gives them, so that a Win32
// backend passes them through unchanged. (A Win32 backend includes <windows.h> after this
// header: the API's macros of the same names then expand to the same values.)
#ifndef UI_DIALOG_CODES_H
#define UI_DIALOG_CODES_H

namespace twinfind::ui {

// How a modal run ended (also the ids of the OK and Cancel buttons). DoModal gives -1 when the
// dialog could not be created.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Notifications a control sends to its dialog.
inline constexpr int BN_CLICKED = 0;        // a button was clicked
inline constexpr int BN_DOUBLECLICKED = 5;  // a button was double-clicked
inline constexpr int STN_CLICKED = 0;       // a static control with the notify style was clicked
inline constexpr int STN_DBLCLK = 1;        // ... and double-clicked
inline constexpr int CBN_SELCHANGE = 1;     // the user picked another list entry

// Keys of a key-down message.
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_ESCAPE = 27;

// A combo box without a selection.
inline constexpr int CB_ERR = -1;

}  // namespace twinfind::ui

#endif  // UI_DIALOG_CODES_H
