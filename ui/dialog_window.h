// The seam between the dialog layer and a window system. The dialog base (dialog.h) asks an
// open dialog's window for everything it shows; a backend, one per source file, creates the
// windows: headless/text_mode_backend.cpp for the host's text-mode dialogs, win32/win32_window.cpp
// for real windows in the Windows build; CMake compiles one of them.
// The backend calls back into the dialog (Dialog::InitDialog, Command, KeyDown, Paint,
// PaintControl) the way a window procedure would.
#ifndef UI_DIALOG_WINDOW_H
#define UI_DIALOG_WINDOW_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "ui/bitmap.h"
#include "ui/dialog_template.h"
#include "ui/paint.h"

namespace twinfind::ui {

class Dialog;

// One open dialog's window and its controls. Calls naming an id the dialog has no control of
// do nothing and answer as for an empty control.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  // Creates the controls, runs the dialog's initialisation, shows the dialog and takes the
  // user's actions until EndModal; the value given to EndModal.
  virtual int RunModal() = 0;
  virtual void EndModal(int result) = 0;

  virtual bool HasControl(int id) const = 0;
  virtual std::u16string GetText(int id) const = 0;
  virtual void SetText(int id, std::u16string_view text) = 0;
  // The most characters the user can type into an edit box.
  virtual void SetTextLimit(int id, size_t maxChars) = 0;
  virtual int GetCheck(int id) const = 0;
  virtual void SetCheck(int id, int check) = 0;

  // A drop-down list: add an entry (its index, kept sorted when the list sorts), select one
  // (an index outside the entries clears the selection; the result is the index or CB_ERR),
  // the selected index or CB_ERR.
  virtual int AddString(int id, std::u16string_view text) = 0;
  virtual int SetCurSel(int id, int index) = 0;
  virtual int GetCurSel(int id) const = 0;

  // A static bitmap control: shows the image and hands back the one it showed before.
  virtual std::unique_ptr<Bitmap> SetImage(int id, std::unique_ptr<Bitmap> image) = 0;

  // A control's window rectangle in the dialog's client coordinates, and its own client
  // rectangle (starting at 0, 0).
  virtual PixelRect GetWindowRect(int id) const = 0;
  virtual PixelRect GetClientRect(int id) const = 0;

  // Marks the whole dialog for repainting, with or without erasing the background first.
  virtual void Invalidate(bool erase) = 0;
};

// Creates the window of a dialog from its template, owned by the parent's window (none for a
// dialog without a parent).
std::unique_ptr<DialogWindow> CreateDialogWindow(Dialog& dialog,
                                                 const DialogTemplate& dialogTemplate,
                                                 DialogWindow* parent);

// Makes the plug-in's own module current for the dialog layer for the life of the scope, so
// that templates and bitmaps come from the plug-in's resources, and restores the previous one.
// Headless this only counts the scopes; the Win32 backend switches the module state.
class ScopedModuleState {
 public:
  ScopedModuleState();
  ~ScopedModuleState();
  ScopedModuleState(const ScopedModuleState&) = delete;
  ScopedModuleState& operator=(const ScopedModuleState&) = delete;
};

// True while at least one ScopedModuleState lives.
bool PluginModuleIsCurrent();

}  // namespace twinfind::ui

#endif  // UI_DIALOG_WINDOW_H
