// The settings dialog as the first prompt of either method opens it.
#include "ui/run_settings_dialog.h"

#include "common/said_texts.h"
#include "ui/dialog_window.h"
#include "ui/twinfind_dlg.h"
#include "vexlib/vexlib.h"

namespace twinfind {

void RunSettingsDialog() {
  const ui::ScopedModuleState moduleState;  // templates and bitmaps come from this module
  ui::TwinfindDlg dialog;
  if (dialog.DoModal() == ui::IDOK) {
    dialog.SaveToRegistry();
    dialog.ApplyDialogSettings();
    // The next start reads the store again: values it did not take would be lost unseen.
    if (dialog.mFailedWrites > 0) VexMsgPutErrorMessage(Said(texts::kSettingsNotSaved));
  }
}

}  // namespace twinfind
