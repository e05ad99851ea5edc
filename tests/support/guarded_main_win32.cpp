// The main of every test executable on Windows. The user's settings live in the registry
// under HKEY_CURRENT_USER: before any test runs, HKEY_CURRENT_USER of the test process is
// pointed at a scratch key of its own, which is deleted after the tests. So no test, nor any
// module it loads, can write the user's settings. After the tests the user's own settings key
// must be as it was before: a test that changed it fails.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

namespace {

constexpr wchar_t kProductKey[] = L"SOFTWARE\\Norvane\\VEX";
constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Norvane\\VEX\\Twinfind";

// When the user's settings key was last written; nothing when there is none.
std::optional<ULONGLONG> LastWriteOfSettings() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  FILETIME written{};
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, &written);
  RegCloseKey(key);
  return (ULONGLONG{written.dwHighDateTime} << 32) | written.dwLowDateTime;
}

std::wstring ScratchName() { return L"Twinfind test " + std::to_wstring(GetCurrentProcessId()); }

class RegistryGuard : public ::testing::Environment {
 public:
  void SetUp() override {
    before_ = LastWriteOfSettings();
    const std::wstring path = std::wstring(kProductKey) + L"\\" + ScratchName();
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &scratch_, nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, scratch_) != ERROR_SUCCESS) {
      FAIL() << "cannot set the tests' registry apart from the user's";
    }
  }
  void TearDown() override {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(scratch_);
    HKEY product = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_ALL_ACCESS, &product) ==
        ERROR_SUCCESS) {
      RegDeleteTreeW(product, ScratchName().c_str());
      RegCloseKey(product);
    }
    if (LastWriteOfSettings() != before_) {
      ADD_FAILURE() << "a test wrote into the user's settings key";
    }
  }

 private:
  HKEY scratch_ = nullptr;
  std::optional<ULONGLONG> before_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new RegistryGuard);
  return RUN_ALL_TESTS();
}
