// Where the settings live on POSIX systems: a .reg text file, named by --settings, by
// TWINFIND_SETTINGS or found in the user's configuration folder (settings/store_file.h).
#include <stdlib.h>

#include <filesystem>

#include "tools/cli_options.h"
#include "tools/demo_settings.h"

namespace twinfind::tool {

bool UseSettingsFile(const std::optional<std::string>& path, std::string& error) {
  if (!path) return true;
  const std::filesystem::path file(*path);
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    error = "the folder of the settings file " + *path + " does not exist";
    return false;
  }
  // The plug-in's store follows the variable at every operation.
  setenv("TWINFIND_SETTINGS", path->c_str(), 1);
  return true;
}

DemoSettings::~DemoSettings() = default;

bool DemoSettings::Open(const std::filesystem::path& outputFolder, std::string& error) {
  const std::filesystem::path settings = outputFolder / "demo-settings.reg";
  std::error_code ec;
  std::filesystem::remove(settings, ec);
  return UseSettingsFile(settings.string(), error);
}

}  // namespace twinfind::tool
