// Where the settings live on POSIX systems: a .reg text file, named by --settings, by
// TWINFIND_SETTINGS or found in the user's configuration folder (settings/store_file.h).
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/atomic_file.h"
#include "common/path_name.h"
#include "tools/cli_options.h"
#include "tools/demo_settings.h"

namespace twinfind::tool {

bool UseSettingsFile(const std::optional<std::string>& path, std::string& error) {
  if (!path) return true;
  if (!PathNameAllowed(*path, error)) return false;
  // What stands there must be a settings file or nothing, reached by links the settings'
  // writer follows: a FIFO, a device, a folder or a planted link is told now, not as a
  // settings write failing in the middle of the run.
  std::string followed;
  if (!FollowLinksForWrite(*path, followed, error)) return false;
  struct stat info {};
  if (stat(followed.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    error = "the settings file " + *path + " is not a regular file";
    return false;
  }
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
