// The per-user store of named text values under key paths that the settings live in: the
// Windows registry on Windows, a .reg text file elsewhere, memory in tests. One backend is
// compiled in; tests may install another.
#ifndef SETTINGS_SETTINGS_STORE_H
#define SETTINGS_SETTINGS_STORE_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace twinfind {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Reads one value under HKEY_CURRENT_USER\keyPath. On success `data` holds the value's bytes
  // as the store keeps them (UTF-16LE text with its terminating NUL) and the result is true.
  // Missing key or value, an unreadable store, or data of more than maxBytes bytes: false.
  virtual bool ReadValue(std::u16string_view keyPath, std::u16string_view name, size_t maxBytes,
                         std::vector<unsigned char>& data) = 0;

  // Creates the key when missing and writes one text value (stored with its terminating NUL).
  virtual bool WriteValue(std::u16string_view keyPath, std::u16string_view name,
                          std::u16string_view text) = 0;
};

// The bytes of a text value as the store keeps them: UTF-16LE code units and a terminating NUL.
std::vector<unsigned char> StoredBytesOfText(std::u16string_view text);

// The text of stored bytes: code units up to the first NUL, never past the bytes given (a
// trailing odd byte is no whole code unit and is dropped).
std::u16string TextOfStoredBytes(const std::vector<unsigned char>& bytes);

// The store the settings use: the compiled-in platform backend unless a test installed one.
SettingsStore& ActiveSettingsStore();

// Installs a store (not owned) for the settings to use; nullptr goes back to the platform one.
void InstallSettingsStore(SettingsStore* store);

// Creates the compiled-in platform backend. Defined in the backend's own source file.
std::unique_ptr<SettingsStore> CreatePlatformSettingsStore();

// Installs a store for the lifetime of a scope (a test, a tool run with an explicit file) and
// puts back the one that was active before.
class ScopedSettingsStore {
 public:
  explicit ScopedSettingsStore(SettingsStore& store);
  ~ScopedSettingsStore();
  ScopedSettingsStore(const ScopedSettingsStore&) = delete;
  ScopedSettingsStore& operator=(const ScopedSettingsStore&) = delete;

 private:
  SettingsStore* previous_;
};

}  // namespace twinfind

#endif  // SETTINGS_SETTINGS_STORE_H
