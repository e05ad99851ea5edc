// The modal dialog base: a dialog made from a template, its controls reached by id, data
// exchange between controls and members, notifications routed through a message map, keys,
// painting and invalidation. The dialogs are written against this class alone; the window
// system behind it is a backend (dialog_window.h).
#ifndef UI_DIALOG_H
#define UI_DIALOG_H

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/bitmap.h"
#include "ui/dialog_codes.h"
#include "ui/dialog_window.h"
#include "ui/paint.h"

namespace twinfind::ui {

class Control;
class DataExchange;

class Dialog {
 public:
  // A dialog of the template with that resource id; parent: the dialog that opens it, if any.
  explicit Dialog(int templateId, Dialog* parent = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Shows the dialog and runs it until EndDialog: the value given to EndDialog (IDOK, IDCANCEL),
  // or -1 when the module has no template of the dialog's id.
  int DoModal();
  void EndDialog(int result);
  int TemplateId() const { return templateId_; }

  // Exchanges the data of every bound member: from the controls into the members when
  // saveAndValidate, else from the members into the controls.
  bool UpdateData(bool saveAndValidate = true);
  // Marks the whole dialog for repainting, with or without erasing its background.
  void Invalidate(bool erase = true);

  // Controls by id. While the dialog is not open they do nothing and read as empty.
  bool HasDlgItem(int id) const;
  void CheckRadioButton(int firstId, int lastId, int checkId);
  void CheckDlgButton(int id, int check);
  int IsDlgButtonChecked(int id) const;
  void SetDlgItemText(int id, std::u16string_view text);
  std::u16string GetDlgItemText(int id) const;
  void LimitDlgItemText(int id, size_t maxChars);
  int ComboAddString(int id, std::u16string_view text);
  int ComboSetCurSel(int id, int index);
  int ComboGetCurSel(int id) const;
  std::unique_ptr<Bitmap> SetDlgItemImage(int id, std::unique_ptr<Bitmap> image);
  PixelRect GetDlgItemRect(int id) const;  // in the dialog's client coordinates
  PixelRect GetDlgItemClientRect(int id) const;

  // Binds a control object to the control of that id, once (the data exchange's
  // DDX_Control); the object then paints that control when it paints itself.
  void BindControl(int id, Control& control);

  // What the window delivers to the dialog, as a window procedure would.
  bool InitDialog();                            // true: focus goes to the first tab stop
  void Command(int id, int code);               // a notification or the OK / Cancel command
  bool KeyDown(int key);                        // true when the dialog consumed the key
  void Paint(PaintContext& dc);                 // the dialog's own painting
  bool PaintControl(int id, PaintContext& dc);  // a bound control that paints itself

 protected:
  // The framework's initialisation: the data exchange towards the controls. True: the focus
  // goes to the first tab stop.
  virtual bool OnInitDialog();
  virtual void DoDataExchange(DataExchange& dx);
  // OK: the data exchange from the controls, then the end with IDOK. Cancel: the end with
  // IDCANCEL, without any exchange.
  virtual void OnOK();
  virtual void OnCancel();
  // The message map: true when a handler took the notification.
  virtual bool OnCommand(int id, int code);
  // A key-down message before the framework's own key handling; true consumes it.
  virtual bool PreTranslateKeyDown(int key);
  virtual void OnPaint(PaintContext& dc);

  DialogWindow* Window() const { return window_.get(); }

 private:
  int templateId_;
  Dialog* parent_;
  std::unique_ptr<DialogWindow> window_;
  std::map<int, Control*> bound_;
};

// The data exchange of one UpdateData.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saveAndValidate)
      : dialog(dialog), saveAndValidate(saveAndValidate) {}
  Dialog& dialog;
  const bool saveAndValidate;  // true: from the controls into the members
};

// An edit box and a text member.
void DDX_Text(DataExchange& dx, int id, std::u16string& value);
// A check box and a flag: 1 checked, 0 clear.
void DDX_Check(DataExchange& dx, int id, int& value);
// A radio group starting at the button `id` and running to the next control that starts a
// group, and the index of its selected button among the group's radio buttons (-1: none).
void DDX_Radio(DataExchange& dx, int id, int& value);
// Binds a control object to a control.
void DDX_Control(DataExchange& dx, int id, Control& control);

// A control as an object of its own, bound to a control of an open dialog.
class Control {
 public:
  virtual ~Control() = default;
  int GetDlgCtrlID() const { return id_; }
  bool IsBound() const { return dialog_ != nullptr; }
  PixelRect GetClientRect() const;
  // Paints the control; false leaves it to the window system's own painting.
  virtual bool OnPaint(PaintContext& dc);

 protected:
  Dialog* BoundDialog() const { return dialog_; }

 private:
  friend class Dialog;
  Dialog* dialog_ = nullptr;
  int id_ = 0;
};

// A static control (text, rectangle or bitmap).
class StaticControl : public Control {
 public:
  // Shows the bitmap and hands back the one it replaced.
  std::unique_ptr<Bitmap> SetBitmap(std::unique_ptr<Bitmap> bitmap);
};

// A drop-down list.
class ComboBox : public Control {
 public:
  int AddString(std::u16string_view text);
  int SetCurSel(int index);
  int GetCurSel() const;
};

}  // namespace twinfind::ui

#endif  // UI_DIALOG_H
