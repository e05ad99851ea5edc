// Loading the plug-in module into the host process and calling its entry point.
#ifndef TOOLS_PLUGIN_LOADER_H
#define TOOLS_PLUGIN_LOADER_H

#include <string>

#include "vexlib/found_parts_export.h"

namespace twinfind::tool {

// Where the module is looked for: $TWINFIND_PLUGIN, else the module beside the running
// executable (libTwinfind.so; Twinfind.dll on Windows). One loader for each platform:
// plugin_loader_posix.cpp (dlopen), plugin_loader_win32.cpp (LoadLibraryW).
std::string DefaultPluginPath();

struct LoadedPlugin {
  bool ok = false;
  int startupResult = -1;
  std::string error;                       // why loading failed
  TwfFoundPartsFunc foundParts = nullptr;  // the module's last search; nothing: it tells none
};

// Loads the module (it stays loaded for the life of the process), finds Startup and calls it,
// and finds TwinfindFoundParts.
LoadedPlugin LoadPlugin(const std::string& path);

}  // namespace twinfind::tool

#endif  // TOOLS_PLUGIN_LOADER_H
