// The settings dialog as the first prompt of either method opens it.
#include "ui/settings_dialog.h"

#include "ui/dialog_window.h"
#include "ui/twinfind_dlg.h"

namespace twinfind {

void RunSettingsDialog() {
  const ui::ScopedModuleState moduleState;  // templates and bitmaps come from this module
  ui::TwinfindDlg dialog;
  if (dialog.DoModal() == ui::IDOK) {
    dialog.SaveToRegistry();
    dialog.ApplyDialogSettings();
  }
}

}  // namespace twinfind
