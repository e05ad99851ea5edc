// The settings dialog as the prompt chains open it from their first prompt.
#ifndef UI_RUN_SETTINGS_DIALOG_H
#define UI_RUN_SETTINGS_DIALOG_H

namespace twinfind {

// Makes the plug-in's module current for the dialog framework, runs the settings dialog
// modally and, when it closes with OK, stores its values (SaveToRegistry) and copies them into
// the settings record (ApplyDialogSettings). When the store refused a value, the error line
// says the settings were not saved.
void RunSettingsDialog();

}  // namespace twinfind

#endif  // UI_RUN_SETTINGS_DIALOG_H
