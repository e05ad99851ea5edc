#include "settings/store_registry.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace twinfind {
namespace {

// The registry's own buffer for one value: 256 bytes, of which a query may fill maxBytes.
constexpr DWORD kQueryBufferBytes = 256;

// Windows' wide characters are UTF-16 code units, as char16_t are.
std::wstring Wide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

// Closes an opened key on every path out of the scope.
struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using OpenKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

}  // namespace

bool RegistrySettingsStore::ReadValue(std::u16string_view keyPath, std::u16string_view name,
                                      size_t maxBytes, std::vector<unsigned char>& data) {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
    return false;
  }
  const OpenKey key(raw);
  unsigned char buffer[kQueryBufferBytes] = {};
  DWORD size = static_cast<DWORD>(std::min<size_t>(maxBytes, kQueryBufferBytes));
  // No type is asked for: whatever the value holds is read as text by the caller.
  if (RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return false;  // also ERROR_MORE_DATA: more than the limit
  }
  data.assign(buffer, buffer + std::min<DWORD>(size, kQueryBufferBytes));
  return true;
}

bool RegistrySettingsStore::WriteValue(std::u16string_view keyPath, std::u16string_view name,
                                       std::u16string_view text) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &raw, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const OpenKey key(raw);
  const std::wstring value = Wide(text);
  const DWORD bytes = static_cast<DWORD>(2 * value.size() + 2);
  return RegSetValueExW(key.get(), Wide(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

std::unique_ptr<SettingsStore> CreatePlatformSettingsStore() {
  return std::make_unique<RegistrySettingsStore>();
}

}  // namespace twinfind
