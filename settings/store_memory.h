// A settings store held in memory, for tests of every module that reads or writes settings. It
// compares key paths and value names ignoring letter case as the registry does, lets a test
// look at what was written and how often, and can be told to fail reads or writes.
#ifndef SETTINGS_STORE_MEMORY_H
#define SETTINGS_STORE_MEMORY_H

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings_store.h"

namespace twinfind {

class MemorySettingsStore final : public SettingsStore {
 public:
  bool ReadValue(std::u16string_view keyPath, std::u16string_view name, size_t maxBytes,
                 std::vector<unsigned char>& data) override;
  bool WriteValue(std::u16string_view keyPath, std::u16string_view name,
                  std::u16string_view text) override;

  // Test set-up: stores a text (with its terminating NUL) or raw bytes as they would come from
  // the store, without counting a write.
  void Put(std::u16string_view keyPath, std::u16string_view name, std::u16string_view text);
  void PutBytes(std::u16string_view keyPath, std::u16string_view name,
                std::vector<unsigned char> bytes);
  void Remove(std::u16string_view keyPath, std::u16string_view name);

  // The stored text up to its first NUL; nothing when the value does not exist.
  std::optional<std::u16string> Get(std::u16string_view keyPath, std::u16string_view name) const;
  // Successful WriteValue calls for one value, and over all values.
  int WriteCount(std::u16string_view keyPath, std::u16string_view name) const;
  int TotalWriteCount() const { return totalWrites_; }
  // WriteValue calls refused because writes were set to fail.
  int FailedWriteCount() const { return failedWrites_; }
  size_t ValueCount() const;

  void SetReadsFail(bool fail) { readsFail_ = fail; }
  void SetWritesFail(bool fail) { writesFail_ = fail; }

 private:
  using Key = std::pair<std::u16string, std::u16string>;  // lower-cased key path and name
  struct Entry {
    std::optional<std::vector<unsigned char>> bytes;  // empty once removed; counts stay
    int writes = 0;
  };

  static Key MakeKey(std::u16string_view keyPath, std::u16string_view name);
  const Entry* Find(std::u16string_view keyPath, std::u16string_view name) const;

  std::map<Key, Entry> entries_;
  int totalWrites_ = 0;
  int failedWrites_ = 0;
  bool readsFail_ = false;
  bool writesFail_ = false;
};

}  // namespace twinfind

#endif  // SETTINGS_STORE_MEMORY_H
