// The settings store of POSIX systems: one UTF-8 file in the syntax of a registry export (see
// reg_file.h) that a user can read, edit and carry to Windows.
//
// Where it lives: the file named by TWINFIND_SETTINGS when that is set and not empty, else
// $XDG_CONFIG_HOME/twinfind/settings.reg, else $HOME/.config/twinfind/settings.reg (the
// variables must hold absolute paths to count). The environment is looked at for every
// operation. Only the default location gets its directory created.
//
// How it stays whole: every write holds an exclusive flock on "<file>.lock", reads the file,
// changes the one value, writes the whole file to a private temporary file beside it
// (".<file>.XXXXXX.tmp", common/atomic_file.h), syncs it and renames it over the file; readers hold
// a shared lock. A file that cannot be parsed reads as holding no value, and the next write first
// moves it aside to "<file>.damaged" so that nothing is lost.
#ifndef SETTINGS_STORE_FILE_H
#define SETTINGS_STORE_FILE_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace twinfind {

inline constexpr const char* kSettingsFileVariable = "TWINFIND_SETTINGS";
// A second file, named by an absolute path, whose values are read before the settings file's
// and never written by the store: the settings a user applied for one session of the view
// (tools/view). The view writes it with a store of its own path.
inline constexpr const char* kSessionSettingsVariable = "TWINFIND_SESSION_SETTINGS";

struct SettingsFileLocation {
  std::string path;
  bool createDirectory = false;  // true for the default location only
};

// The settings file that the environment names now; nothing when no usable variable is set.
std::optional<SettingsFileLocation> SettingsFileLocationFromEnvironment();

class FileSettingsStore final : public SettingsStore {
 public:
  // Follows the environment at every operation.
  FileSettingsStore() = default;
  // Always uses this file (a tool's explicit settings file); its directory is never created.
  explicit FileSettingsStore(std::string path);

  bool ReadValue(std::u16string_view keyPath, std::u16string_view name, size_t maxBytes,
                 std::vector<unsigned char>& data) override;
  bool WriteValue(std::u16string_view keyPath, std::u16string_view name,
                  std::u16string_view text) override;

 private:
  std::optional<SettingsFileLocation> Location() const;

  std::optional<std::string> fixedPath_;
};

}  // namespace twinfind

#endif  // SETTINGS_STORE_FILE_H
