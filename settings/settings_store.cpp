// Which store the settings use: the platform backend, created on first use, unless a store was
// installed (by a test, or by a tool pointed at a particular file).
#include "settings/settings_store.h"

#include <atomic>

namespace twinfind {
namespace {

std::atomic<SettingsStore*> installedStore{nullptr};

}  // namespace

std::vector<unsigned char> StoredBytesOfText(std::u16string_view text) {
  std::vector<unsigned char> bytes;
  bytes.reserve(2 * text.size() + 2);
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

std::u16string TextOfStoredBytes(const std::vector<unsigned char>& bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == u'\0') break;
    text.push_back(unit);
  }
  return text;
}

SettingsStore& ActiveSettingsStore() {
  if (SettingsStore* store = installedStore.load()) return *store;
  static const std::unique_ptr<SettingsStore> platformStore = CreatePlatformSettingsStore();
  return *platformStore;
}

void InstallSettingsStore(SettingsStore* store) { installedStore.store(store); }

ScopedSettingsStore::ScopedSettingsStore(SettingsStore& store)
    : previous_(installedStore.exchange(&store)) {}

ScopedSettingsStore::~ScopedSettingsStore() { installedStore.store(previous_); }

}  // namespace twinfind
