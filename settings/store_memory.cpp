#include "settings/store_memory.h"

#include <algorithm>

#include "settings/ascii_case.h"

namespace twinfind {

MemorySettingsStore::Key MemorySettingsStore::MakeKey(std::u16string_view keyPath,
                                                      std::u16string_view name) {
  Key key{std::u16string(keyPath), std::u16string(name)};
  for (std::u16string* text : {&key.first, &key.second}) {
    std::transform(text->begin(), text->end(), text->begin(), AsciiLower<char16_t>);
  }
  return key;
}

const MemorySettingsStore::Entry* MemorySettingsStore::Find(std::u16string_view keyPath,
                                                            std::u16string_view name) const {
  const auto found = entries_.find(MakeKey(keyPath, name));
  return found == entries_.end() ? nullptr : &found->second;
}

bool MemorySettingsStore::ReadValue(std::u16string_view keyPath, std::u16string_view name,
                                    size_t maxBytes, std::vector<unsigned char>& data) {
  const Entry* entry = Find(keyPath, name);
  if (readsFail_ || entry == nullptr || !entry->bytes || entry->bytes->size() > maxBytes) {
    return false;
  }
  data = *entry->bytes;
  return true;
}

bool MemorySettingsStore::WriteValue(std::u16string_view keyPath, std::u16string_view name,
                                     std::u16string_view text) {
  if (writesFail_) {
    ++failedWrites_;
    return false;
  }
  Entry& entry = entries_[MakeKey(keyPath, name)];
  entry.bytes = StoredBytesOfText(text);
  ++entry.writes;
  ++totalWrites_;
  return true;
}

void MemorySettingsStore::Put(std::u16string_view keyPath, std::u16string_view name,
                              std::u16string_view text) {
  PutBytes(keyPath, name, StoredBytesOfText(text));
}

void MemorySettingsStore::PutBytes(std::u16string_view keyPath, std::u16string_view name,
                                   std::vector<unsigned char> bytes) {
  entries_[MakeKey(keyPath, name)].bytes = std::move(bytes);
}

void MemorySettingsStore::Remove(std::u16string_view keyPath, std::u16string_view name) {
  const auto found = entries_.find(MakeKey(keyPath, name));
  if (found != entries_.end()) found->second.bytes.reset();
}

std::optional<std::u16string> MemorySettingsStore::Get(std::u16string_view keyPath,
                                                       std::u16string_view name) const {
  const Entry* entry = Find(keyPath, name);
  if (entry == nullptr || !entry->bytes) return std::nullopt;
  return TextOfStoredBytes(*entry->bytes);
}

int MemorySettingsStore::WriteCount(std::u16string_view keyPath, std::u16string_view name) const {
  const Entry* entry = Find(keyPath, name);
  return entry == nullptr ? 0 : entry->writes;
}

size_t MemorySettingsStore::ValueCount() const {
  return static_cast<size_t>(std::count_if(entries_.begin(), entries_.end(), [](const auto& item) {
    return item.second.bytes.has_value();
  }));
}

}  // namespace twinfind
