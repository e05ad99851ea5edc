// Which module the dialogs' templates and bitmaps come from, as the framework's module state
// tells it: the host program's own module, unless a ScopedModuleState has made the plug-in's
// module current.
#ifndef UI_WIN32_MODULE_STATE_H
#define UI_WIN32_MODULE_STATE_H

#include "ui/dialog_window.h"
// After the dialog layer's headers: <windows.h> defines macros of the same names (IDOK).
#include <windows.h>

namespace twinfind::ui::win32 {

// The module this code was loaded with: Twinfind.dll in the host, the program itself when the
// dialogs are linked into a test.
HMODULE PluginModule();

// The module resources are looked for in now.
HMODULE ResourceModule();

}  // namespace twinfind::ui::win32

#endif  // UI_WIN32_MODULE_STATE_H
