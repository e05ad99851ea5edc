// Settings of the demo's own, so that the user's are neither used nor changed.
#ifndef TOOLS_DEMO_SETTINGS_H
#define TOOLS_DEMO_SETTINGS_H

#include <filesystem>
#include <string>

namespace twinfind::tool {

// For the life of the object the plug-in's settings live apart from the user's, starting
// empty: POSIX in the file demo-settings.reg of the output folder (left there afterwards),
// Windows under a scratch registry key standing in for HKEY_CURRENT_USER (deleted again).
class DemoSettings {
 public:
  DemoSettings() = default;
  ~DemoSettings();
  DemoSettings(const DemoSettings&) = delete;
  DemoSettings& operator=(const DemoSettings&) = delete;

  // False and a reason when the settings cannot be set apart.
  bool Open(const std::filesystem::path& outputFolder, std::string& error);

 private:
#ifdef _WIN32
  void* scratch_ = nullptr;  // the registry key in use
#endif
};

}  // namespace twinfind::tool

#endif  // TOOLS_DEMO_SETTINGS_H
