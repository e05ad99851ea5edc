// Where the settings live on Windows: the current user's registry, the one store the plug-in
// has there. A settings file cannot stand in for it; the demo gets a scratch key instead.
#include <windows.h>

#include <string>

#include "tools/cli_options.h"
#include "tools/demo_settings.h"

namespace twinfind::tool {
namespace {

// Beside the plug-in's own key, under the same product key.
constexpr wchar_t kScratchParent[] = L"SOFTWARE\\Norvane\\VEX";

std::wstring ScratchName() { return L"Twinfind demo " + std::to_wstring(GetCurrentProcessId()); }

}  // namespace

bool UseSettingsFile(const std::optional<std::string>& path, std::string& error) {
  if (!path) return true;
  error =
      "on Windows the settings live in the registry (HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\"
      "Twinfind); --settings " +
      *path + " names a settings file, which only other systems use";
  return false;
}

DemoSettings::~DemoSettings() {
  if (scratch_ == nullptr) return;
  // HKEY_CURRENT_USER is the user's own again, and the scratch key goes.
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  RegCloseKey(static_cast<HKEY>(scratch_));
  HKEY parent = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kScratchParent, 0, KEY_ALL_ACCESS, &parent) ==
      ERROR_SUCCESS) {
    RegDeleteTreeW(parent, ScratchName().c_str());
    RegDeleteKeyW(parent, ScratchName().c_str());
    RegCloseKey(parent);
  }
}

bool DemoSettings::Open(const std::filesystem::path& /*outputFolder*/, std::string& error) {
  const std::wstring path = std::wstring(kScratchParent) + L"\\" + ScratchName();
  HKEY scratch = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &scratch, nullptr) != ERROR_SUCCESS) {
    error = "cannot make a registry key for the demo's settings";
    return false;
  }
  // A left-over of an earlier demo of the same process number starts empty too.
  RegDeleteTreeW(scratch, nullptr);
  // From now on every HKEY_CURRENT_USER of this process, the plug-in's included, is the
  // scratch key.
  if (RegOverridePredefKey(HKEY_CURRENT_USER, scratch) != ERROR_SUCCESS) {
    RegCloseKey(scratch);
    error = "cannot set the demo's settings apart from the user's";
    return false;
  }
  scratch_ = scratch;
  return true;
}

}  // namespace twinfind::tool
