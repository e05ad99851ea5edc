// The Win32 backend's window of one dialog: a real dialog window made by the system from the
// dialog's template in the current resource module, run modally by a message loop of its own
// that lets the dialog see key-down messages first, as the framework's modal loop does.
#ifndef UI_WIN32_WIN32_WINDOW_H
#define UI_WIN32_WIN32_WINDOW_H

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/dialog.h"
#include "ui/dialog_window.h"
// After the dialog layer's headers: <windows.h> defines macros of the same names (IDOK).
#include <windows.h>

namespace twinfind::ui::win32 {

class Win32DialogWindow final : public DialogWindow {
 public:
  Win32DialogWindow(Dialog& dialog, const DialogTemplate& source, HWND owner);
  ~Win32DialogWindow() override;

  // Creates the dialog window (owned by the owner, which is disabled while it runs), runs
  // the dialog's initialisation from WM_INITDIALOG, shows it and runs the modal loop until
  // EndModal. -1 when the resource module has no template of the dialog's id.
  int RunModal() override;
  void EndModal(int result) override;

  bool HasControl(int id) const override;
  std::u16string GetText(int id) const override;
  void SetText(int id, std::u16string_view text) override;
  void SetTextLimit(int id, size_t maxChars) override;
  int GetCheck(int id) const override;
  void SetCheck(int id, int check) override;
  int AddString(int id, std::u16string_view text) override;
  int SetCurSel(int id, int index) override;
  int GetCurSel(int id) const override;
  // STM_SETIMAGE with a bitmap loaded from the resource module (LoadBitmapW) or made from the
  // picture's pixels; the bitmap the control hands back is deleted.
  std::unique_ptr<Bitmap> SetImage(int id, std::unique_ptr<Bitmap> image) override;
  PixelRect GetWindowRect(int id) const override;
  PixelRect GetClientRect(int id) const override;
  void Invalidate(bool erase) override;

  HWND hwnd() const { return hwnd_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The template's texts where they are not the resource's (a language other than Korean).
  void TakeTemplateTexts();
  // The static controls paint through the dialog's bound control objects when they have one.
  void SubclassStatics();
  void DeleteImages();
  // The control of an id and the kind its template gives it; nullptr for none.
  HWND Item(int id) const;
  const ControlTemplate* TemplateOf(int id) const;
  bool IsKind(int id, ControlKind kind) const;

  Dialog& dialog_;
  const DialogTemplate& source_;
  HWND owner_;
  HWND hwnd_ = nullptr;
  std::optional<int> result_;
  std::map<int, std::unique_ptr<Bitmap>> images_;  // what each bitmap control shows
};

}  // namespace twinfind::ui::win32

#endif  // UI_WIN32_WIN32_WINDOW_H
