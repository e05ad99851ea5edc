// The Qt backend of the dialog layer: a dialog's window as a QDialog with one Qt widget per
// control of its template, placed and sized as the template says (dialog units of the
// templates' font), each named by its control id. The dialog's logic runs unchanged: clicks,
// list picks and keys reach it as the notifications a window procedure would send.
#ifndef UI_QT_QT_WINDOW_H
#define UI_QT_QT_WINDOW_H

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "ui/dialog.h"
#include "ui/dialog_window.h"

namespace twinfind::ui::qt {

// The name of the widget of control `id` (its objectName), for tests and for scripts that
// drive the dialogs: "1001", say.
QString ControlName(int id);

// The widget new dialogs without a parent dialog are shown over (LibreCAD's main window, say);
// nothing: the application's active window.
void SetDialogOwner(QWidget* owner);

// Called with each dialog's widget once it is shown and before it takes the user's input: a
// test drives the dialog from here, a screenshot is taken from here.
void SetDialogShownHook(std::function<void(QDialog&)> hook);
// Tells the hook that a dialog of another kind (one of the host's own) is shown.
void NotifyDialogShown(QDialog& dialog);

class QtDialogWindow : public DialogWindow {
 public:
  QtDialogWindow(Dialog& dialog, const DialogTemplate& source, QWidget* owner);
  ~QtDialogWindow() override;

  int RunModal() override;
  void EndModal(int result) override;

  bool HasControl(int id) const override { return Widget(id) != nullptr; }
  std::u16string GetText(int id) const override;
  void SetText(int id, std::u16string_view text) override;
  void SetTextLimit(int id, size_t maxChars) override;
  int GetCheck(int id) const override;
  void SetCheck(int id, int check) override;
  int AddString(int id, std::u16string_view text) override;
  int SetCurSel(int id, int index) override;
  int GetCurSel(int id) const override;
  std::unique_ptr<Bitmap> SetImage(int id, std::unique_ptr<Bitmap> image) override;
  PixelRect GetWindowRect(int id) const override;
  PixelRect GetClientRect(int id) const override;
  void Invalidate(bool erase) override;

  QDialog* frame() const { return frame_.get(); }
  Dialog& dialog() { return dialog_; }
  const Bitmap* Image(int id) const;
  // A key the dialog's window or one of its controls got: the dialog's own keys first, then
  // those of a dialog (Enter: the focused button or OK; Escape: Cancel). True: taken.
  bool Key(int qtKey);

 private:
  struct Control {
    const ControlTemplate* source = nullptr;
    QWidget* widget = nullptr;
    std::unique_ptr<Bitmap> image;  // a bitmap control's bitmap
  };
  void CreateControls();
  const Control* Find(int id) const;
  QWidget* Widget(int id) const;
  bool IsKind(int id, ControlKind kind) const;

  Dialog& dialog_;
  const DialogTemplate& source_;
  QWidget* owner_;
  std::unique_ptr<QDialog> frame_;
  std::map<int, Control> controls_;  // by id; labels and group boxes without one are not here
  std::optional<int> result_;
};

}  // namespace twinfind::ui::qt

#endif  // UI_QT_QT_WINDOW_H
