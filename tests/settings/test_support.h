// Scratch directories, environment overrides and file helpers for the settings tests.
#ifndef TESTS_SETTINGS_TEST_SUPPORT_H
#define TESTS_SETTINGS_TEST_SUPPORT_H

#include <optional>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace twinfind::testing {

// A fresh directory under the system's temporary directory, removed with all it holds.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Sets (or with nullopt unsets) an environment variable and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

std::optional<std::string> ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
std::vector<std::string> ListDir(const std::string& path);  // sorted names

// The record as it is before any load.
inline void ResetSettings() { Settings() = TwinfindSettings{}; }

}  // namespace twinfind::testing

#endif  // TESTS_SETTINGS_TEST_SUPPORT_H
