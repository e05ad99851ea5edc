// A short English meaning of each setting, for `twinfind settings list` (docs/settings.md tells
// more of each).
#ifndef SETTINGS_SETTING_MEANINGS_H
#define SETTINGS_SETTING_MEANINGS_H

#include <string_view>

namespace twinfind {

// The meaning of a setting by its name; empty for a name that is no setting.
std::string_view SettingMeaning(std::u16string_view name);

}  // namespace twinfind

#endif  // SETTINGS_SETTING_MEANINGS_H
