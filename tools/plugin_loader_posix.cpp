#include "tools/plugin_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "vexlib/found_parts_export.h"
#include "vexlib/vexlib.h"

namespace twinfind::tool {

std::string DefaultPluginPath() {
  if (const char* path = std::getenv("TWINFIND_PLUGIN"); path != nullptr && *path != '\0') {
    return path;
  }
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "libTwinfind.so";
  return (exe.parent_path() / "libTwinfind.so").string();
}

LoadedPlugin LoadPlugin(const std::string& path) {
  LoadedPlugin result;
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* why = dlerror();
    result.error = "cannot load the plug-in " + path + ": " + (why ? why : "unknown error");
    return result;
  }
  auto startup = reinterpret_cast<VexStartupFunc>(dlsym(module, "Startup"));
  if (startup == nullptr) {
    result.error = "the plug-in " + path + " has no entry point Startup";
    return result;
  }
  result.startupResult = startup(nullptr);
  if (result.startupResult != 0) {
    result.error = "the plug-in " + path + " could not register its command";
    return result;
  }
  result.foundParts =
      reinterpret_cast<TwfFoundPartsFunc>(dlsym(module, TWINFIND_FOUND_PARTS_SYMBOL));
  result.ok = true;
  return result;
}

}  // namespace twinfind::tool
