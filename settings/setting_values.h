// Which stored texts a setting takes: the values that the loader reads as the user meant them.
// A text outside them is not an error to the loader (it reads a flag "01" as off, a number "abc"
// as 0, an unknown colour name as the first colour), so a tool that stores a setting refuses
// such a text instead of storing what would be misread.
#ifndef SETTINGS_SETTING_VALUES_H
#define SETTINGS_SETTING_VALUES_H

#include <optional>
#include <string>
#include <string_view>

#include "common/language.h"
#include "settings/settings.h"

namespace twinfind {

// The language a text names (mLanguage, the module's set_language): "en" or "english" English,
// "ko" or "korean" Korean, ignoring letter case and blanks around it; nothing for anything else.
std::optional<Language> LanguageNamed(std::u16string_view name);
// The same, Korean for an empty or unknown name: what a stored mLanguage means.
Language LanguageOfSetting(std::u16string_view text);

// Empty when the setting takes the text; else what it takes ("takes 0 or 1").
std::string SettingValueProblem(const SettingDefinition& definition, std::u16string_view text);

}  // namespace twinfind

#endif  // SETTINGS_SETTING_VALUES_H
