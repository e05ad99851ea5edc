#include "tools/settings_command.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "common/utf.h"
#include "settings/setting_meanings.h"
#include "settings/setting_values.h"
#include "settings/settings.h"

namespace twinfind::tool {
namespace {

// What fits the store's read limit of 255 bytes: 2 bytes per character and the terminator.
constexpr size_t kLongestSettingText = 126;

// The 24 settings, then the optional ones.
std::vector<const SettingDefinition*> AllDefinitions() {
  std::vector<const SettingDefinition*> all;
  for (const SettingDefinition& d : kSettingDefinitions) all.push_back(&d);
  for (const SettingDefinition& d : kOptionalSettingDefinitions) all.push_back(&d);
  return all;
}

int Usage(std::ostream& err, const std::string& why) {
  err << "twinfind: " << why
      << "\nusage: twinfind settings list|get NAME|set NAME VALUE [--settings FILE]\n"
         "Run 'twinfind settings --help' for more.\n";
  return 2;
}

}  // namespace

int SettingsCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.empty()) return Usage(err, "settings needs list, get or set");
  const std::string& action = words[0];
  if (action == "list" && words.size() == 1) {
    LoadSettings();  // writes the missing defaults, as a start of the command does
    // NAME VALUE, then its meaning after a #: the first two words are what a script reads.
    for (const SettingDefinition* d : AllDefinitions()) {
      out << ToUtf8(d->name) << ' ' << ToUtf8(StoredSettingText(d->name)) << "  # "
          << SettingMeaning(d->name) << '\n';
    }
    return 0;
  }
  if ((action == "get" && words.size() == 2) || (action == "set" && words.size() == 3)) {
    const SettingDefinition* definition = FindSettingDefinition(ToUtf16(words[1]));
    if (definition == nullptr) {
      return Usage(err, "unknown setting " + words[1] + " (twinfind settings list shows them)");
    }
    if (action == "get") {
      LoadSettings();
      out << ToUtf8(StoredSettingText(definition->name)) << '\n';
      return 0;
    }
    const std::u16string text = ToUtf16(words[2]);
    if (text.size() > kLongestSettingText) {
      return Usage(err, "a setting holds at most " + std::to_string(kLongestSettingText) +
                            " characters; a longer one would read back as missing");
    }
    if (const std::string problem = SettingValueProblem(*definition, text); !problem.empty()) {
      return Usage(err, words[1] + " " + problem + ", not \"" + words[2] + "\"");
    }
    std::u16string stored;
    if (!WriteSetting(kSettingsSubkey, definition->name, text) ||
        !ReadSetting(kSettingsSubkey, definition->name, stored) || stored != text) {
      err << "twinfind: the setting " << words[1] << " could not be stored\n";
      return 1;
    }
    return 0;
  }
  return Usage(err, "settings " + action + ": wrong number of words");
}

}  // namespace twinfind::tool
