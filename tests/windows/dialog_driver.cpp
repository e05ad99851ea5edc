// Drives an open dialog of another process as a user would, with posted messages, for the
// dialog tests under Wine (dialogs_under_wine.sh). One action per run:
//
//   dialog_driver wait CAPTION          waits (up to 20 s) for the dialog and prints its window
//                                       rectangle on the screen: X Y WIDTH HEIGHT
//   dialog_driver gone CAPTION          waits (up to 20 s) until no such dialog is shown
//   dialog_driver click CAPTION ID      a click on the control (button down and up)
//   dialog_driver dblclick CAPTION ID   a double-click
//   dialog_driver type CAPTION ID TEXT  selects the edit box's text and types TEXT (UTF-8)
//   dialog_driver key CAPTION KEY       enter, escape, space or down, to the control with the
//                                       focus
//   dialog_driver state CAPTION         one line per control: ID check|text|list VALUE
//
// Exit status 0 when done, 1 when the dialog or the control is not there.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring text(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), n);
  return text;
}

std::string Utf8(const std::wstring& wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text.data(), n, nullptr, nullptr);
  return text;
}

// The shown dialog of that caption (dialog class), or null.
HWND FindDialog(const std::wstring& caption) {
  HWND found = FindWindowW(L"#32770", caption.c_str());
  return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

HWND WaitForDialog(const std::wstring& caption) {
  for (int i = 0; i < 400; ++i) {
    if (HWND dialog = FindDialog(caption)) return dialog;
    Sleep(50);
  }
  return nullptr;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  const int length = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

void PostClick(HWND control, bool twice) {
  RECT r;
  GetClientRect(control, &r);
  const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
  if (twice) {
    PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
  }
}

// The window that has the keyboard focus in the dialog's thread; the dialog itself when none.
HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) return info.hwndFocus;
  return dialog;
}

void PrintState(HWND dialog) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(c);
    if (id == 0xFFFF || id == -1) continue;
    const std::wstring kind = ClassOf(c);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    const LONG type = style & BS_TYPEMASK;
    if (_wcsicmp(kind.c_str(), L"Button") == 0 &&
        (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON)) {
      std::printf("%d check %d\n", id,
                  static_cast<int>(SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED));
    } else if (_wcsicmp(kind.c_str(), L"Edit") == 0) {
      std::printf("%d text %s\n", id, Utf8(TextOf(c)).c_str());
    } else if (_wcsicmp(kind.c_str(), L"ComboBox") == 0) {
      std::printf("%d list %d\n", id, static_cast<int>(SendMessageW(c, CB_GETCURSEL, 0, 0)));
    }
  }
}

// The dialog's own texts, one per line in creation order: its buttons, labels and group boxes
// (not what edit boxes and lists hold, which is the user's).
void PrintTexts(HWND dialog) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::wstring kind = ClassOf(c);
    if (_wcsicmp(kind.c_str(), L"Edit") == 0 || _wcsicmp(kind.c_str(), L"ComboBox") == 0) continue;
    const std::wstring text = TextOf(c);
    if (!text.empty()) std::printf("%s\n", Utf8(text).c_str());
  }
}

}  // namespace

int main() {
  // The arguments as UTF-8, from the wide command line (the captions are Korean).
  int argc = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(Utf8(wide[i]));
  std::vector<const char*> argv;
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  if (argc < 3) {
    std::fprintf(
        stderr, "usage: dialog_driver wait|gone|click|dblclick|type|key|state|texts CAPTION ...\n");
    return 2;
  }
  const std::string action = argv[1];
  const std::wstring caption = Wide(argv[2]);
  if (action == "gone") {
    for (int i = 0; i < 400; ++i) {
      if (FindDialog(caption) == nullptr) return 0;
      Sleep(50);
    }
    return 1;
  }
  HWND dialog = WaitForDialog(caption);
  if (dialog == nullptr) {
    std::fprintf(stderr, "dialog_driver: no dialog \"%s\"\n", argv[2]);
    return 1;
  }
  if (action == "wait") {
    RECT r;
    GetWindowRect(dialog, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
  }
  if (action == "state") {
    PrintState(dialog);
    return 0;
  }
  if (action == "texts") {
    PrintTexts(dialog);
    return 0;
  }
  if (action == "key" && argc == 4) {
    const std::string key = argv[3];
    const WPARAM code = key == "enter"    ? VK_RETURN
                        : key == "escape" ? VK_ESCAPE
                        : key == "down"   ? VK_DOWN
                                          : VK_SPACE;
    HWND target = FocusOf(dialog);
    PostMessageW(target, WM_KEYDOWN, code, 1);
    PostMessageW(target, WM_KEYUP, code, static_cast<LPARAM>(0xC0000001u));
    return 0;
  }
  if (argc < 4) return 2;
  HWND control = GetDlgItem(dialog, std::atoi(argv[3]));
  if (control == nullptr) {
    std::fprintf(stderr, "dialog_driver: the dialog has no control %s\n", argv[3]);
    return 1;
  }
  if (action == "click" || action == "dblclick") {
    PostClick(control, action == "dblclick");
    return 0;
  }
  if (action == "type" && argc == 5) {
    PostClick(control, false);  // the focus goes to the box
    PostMessageW(control, EM_SETSEL, 0, -1);
    for (const wchar_t c : Wide(argv[4])) PostMessageW(control, WM_CHAR, c, 1);
    return 0;
  }
  return 2;
}
