// A store that holds some values for one session over the user's store: a setting the user
// applies "for this session" in the view is read from here while the session lasts and never
// written to the user's file. Reads find a held value first and the user's store otherwise;
// writes go to the user's store and end the held value of that name, so that what the user
// stores last (with the dialog's OK, say) is what counts.
#ifndef SETTINGS_STORE_SESSION_H
#define SETTINGS_STORE_SESSION_H

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace twinfind {

class SessionSettingsStore final : public SettingsStore {
 public:
  // `user` (not owned) is the store the session's settings come from and go to.
  explicit SessionSettingsStore(SettingsStore& user) : user_(user) {}

  bool ReadValue(std::u16string_view keyPath, std::u16string_view name, size_t maxBytes,
                 std::vector<unsigned char>& data) override;
  bool WriteValue(std::u16string_view keyPath, std::u16string_view name,
                  std::u16string_view text) override;

  // Holds a value for the session only.
  void Hold(std::u16string_view keyPath, std::u16string_view name, std::u16string_view text);
  // The value held for the session, if any.
  std::optional<std::u16string> Held(std::u16string_view keyPath, std::u16string_view name) const;

 private:
  static std::u16string KeyOf(std::u16string_view keyPath, std::u16string_view name);

  SettingsStore& user_;
  std::map<std::u16string, std::u16string> held_;  // lower-cased "path\name" to the text
};

}  // namespace twinfind

#endif  // SETTINGS_STORE_SESSION_H
