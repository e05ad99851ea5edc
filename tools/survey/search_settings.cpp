#include "tools/survey/search_settings.h"

#include "common/utf.h"
#include "settings/settings.h"
#include "settings/text_number.h"

namespace twinfind::survey {
namespace {

// The stored text of a setting, or its default when the store has none.
std::u16string StoredText(std::u16string_view name) {
  std::u16string text;
  if (ReadSetting(kSettingsSubkey, name, text)) return text;
  for (const SettingDefinition& d : kSettingDefinitions) {
    if (d.name == name) return std::u16string(d.defaultText);
  }
  for (const SettingDefinition& d : kOptionalSettingDefinitions) {
    if (d.name == name) return std::u16string(d.defaultText);
  }
  return {};
}

}  // namespace

SearchSettings ReadSearchSettings() {
  SearchSettings settings;
  const std::u16string names[] = {u"mIsRotate", u"mIsSymmetry", u"mIsLayer", u"mIsColor",
                                  u"mTolerance"};
  std::u16string stored[5];
  for (int i = 0; i < 5; ++i) {
    stored[i] = StoredText(names[i]);
    settings.texts.emplace_back(ToUtf8(names[i]), ToUtf8(stored[i]));
  }
  settings.options.rotate = TextToInt(stored[0]) != 0;
  settings.options.mirror = TextToInt(stored[1]) != 0;
  settings.options.sameLayer = TextToInt(stored[2]) != 0;
  settings.options.sameLineAttr = TextToInt(stored[3]) != 0;
  settings.options.tolerance = SearchToleranceOf(stored[4]);
  return settings;
}

}  // namespace twinfind::survey
