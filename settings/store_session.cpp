#include "settings/store_session.h"

namespace twinfind {

std::u16string SessionSettingsStore::KeyOf(std::u16string_view keyPath, std::u16string_view name) {
  // Key paths and names compare ignoring letter case, as the registry's do.
  std::u16string key = std::u16string(keyPath) + u'\\' + std::u16string(name);
  for (char16_t& c : key) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return key;
}

bool SessionSettingsStore::ReadValue(std::u16string_view keyPath, std::u16string_view name,
                                     size_t maxBytes, std::vector<unsigned char>& data) {
  const auto held = held_.find(KeyOf(keyPath, name));
  if (held == held_.end()) return user_.ReadValue(keyPath, name, maxBytes, data);
  std::vector<unsigned char> bytes = StoredBytesOfText(held->second);
  if (bytes.size() > maxBytes) return false;
  data = std::move(bytes);
  return true;
}

bool SessionSettingsStore::WriteValue(std::u16string_view keyPath, std::u16string_view name,
                                      std::u16string_view text) {
  held_.erase(KeyOf(keyPath, name));
  return user_.WriteValue(keyPath, name, text);
}

void SessionSettingsStore::Hold(std::u16string_view keyPath, std::u16string_view name,
                                std::u16string_view text) {
  held_[KeyOf(keyPath, name)] = std::u16string(text);
}

std::optional<std::u16string> SessionSettingsStore::Held(std::u16string_view keyPath,
                                                         std::u16string_view name) const {
  const auto held = held_.find(KeyOf(keyPath, name));
  if (held == held_.end()) return std::nullopt;
  return held->second;
}

}  // namespace twinfind
