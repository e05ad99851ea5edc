// The settings store of Windows: the current user's registry. Each read opens the key, queries
// one value and closes the key again; each write creates or opens the key, sets one REG_SZ
// value and closes it.
#ifndef SETTINGS_STORE_REGISTRY_H
#define SETTINGS_STORE_REGISTRY_H

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace twinfind {

class RegistrySettingsStore final : public SettingsStore {
 public:
  // Opens HKEY_CURRENT_USER\keyPath with KEY_READ and queries the value into a buffer of 256
  // bytes with a limit of maxBytes (at most 256). The value's type is not looked at; `data`
  // gets exactly the bytes the registry returned. Data longer than the limit is a failure.
  bool ReadValue(std::u16string_view keyPath, std::u16string_view name, size_t maxBytes,
                 std::vector<unsigned char>& data) override;
  // Creates or opens HKEY_CURRENT_USER\keyPath (missing keys on the path are made,
  // REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS) and sets the value as REG_SZ: the text and its
  // terminating NUL, 2 x length + 2 bytes.
  bool WriteValue(std::u16string_view keyPath, std::u16string_view name,
                  std::u16string_view text) override;
};

}  // namespace twinfind

#endif  // SETTINGS_STORE_REGISTRY_H
