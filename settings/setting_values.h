// Which stored texts a setting takes: the values that the loader reads as the user meant them.
// A text outside them is not an error to the loader (it reads a flag "01" as off, a number "abc"
// as 0, an unknown colour name as the first colour), so a tool that stores a setting refuses
// such a text instead of storing what would be misread.
#ifndef SETTINGS_SETTING_VALUES_H
#define SETTINGS_SETTING_VALUES_H

#include <string>
#include <string_view>

#include "settings/settings.h"

namespace twinfind {

// Empty when the setting takes the text; else what it takes ("takes 0 or 1").
std::string SettingValueProblem(const SettingDefinition& definition, std::u16string_view text);

}  // namespace twinfind

#endif  // SETTINGS_SETTING_VALUES_H
