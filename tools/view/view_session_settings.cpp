// The view session's settings: a setting the page applies (a suggestion's button, the settings
// panel, the language button), for this session or kept in the user's settings, and the
// suggestions the tool's lines make.
#include <regex>

#include "common/language.h"
#include "common/said_texts.h"
#include "common/utf.h"
#include "settings/setting_meanings.h"
#include "settings/setting_values.h"
#include "settings/settings.h"
#include "tools/view/view_session.h"

namespace twinfind::tool::view {
namespace {

// The settings the page has a place for, beyond the command's dialog.
constexpr std::u16string_view kPageSettings[] = {u"mTolerance", u"mRangeLimit", u"mDrawingScale",
                                                 u"mLanguage"};

std::string TextOf(const nlohmann::json& request, const char* name) {
  const auto at = request.find(name);
  return at != request.end() && at->is_string() ? at->get<std::string>() : std::string();
}

}  // namespace

std::optional<Suggestion> SuggestionIn(const std::string& line) {
  // The tool names a setting the user may want as "twinfind settings set NAME VALUE ..." (the
  // range limit, the drawing scale) and the survey as "with NAME VALUE they are ..." (the
  // tolerance that joins near families).
  static const std::regex kNamed(R"((?:twinfind settings set|with) (m\w+) ([^\s,;)]+))");
  std::smatch match;
  if (!std::regex_search(line, match, kNamed)) return std::nullopt;
  const SettingDefinition* definition = FindSettingDefinition(ToUtf16(match[1].str()));
  const std::u16string value = ToUtf16(match[2].str());
  if (definition == nullptr || !SettingValueProblem(*definition, value).empty()) {
    return std::nullopt;
  }
  return Suggestion{match[1].str(), match[2].str()};
}

std::optional<std::string> ViewSession::ApplySetting(const nlohmann::json& request) {
  const std::string name = TextOf(request, "name"), value = TextOf(request, "value");
  const std::u16string name16 = ToUtf16(name), value16 = ToUtf16(value);
  const SettingDefinition* definition = FindSettingDefinition(name16);
  if (definition == nullptr) return "no setting is named " + QuoteForMessage(name);
  if (const std::string problem = SettingValueProblem(*definition, value16); !problem.empty()) {
    return name + " " + problem + ", not " + QuoteForMessage(value);
  }
  const auto keep = request.find("keep");
  const bool kept = keep != request.end() && keep->is_boolean() && keep->get<bool>();
  if (kept) {
    if (!WriteSetting(kSettingsSubkey, name16, value16)) {
      return "the settings could not be written: " + name + " is not kept";
    }
  } else {
    settingsStore_->Hold(MakeSettingsKeyPath(kSettingsSubkey), name16, value16);
  }
  // The running command takes it from its next step on; a new start reads it from the store.
  SetRecordSetting(Settings(), name16, value16);
  if (name16 == u"mLanguage") SayAgain(LanguageOfSetting(value16));
  Add("tool", "setting: " + name + " " + value +
                  (kept ? " (kept in the settings)" : " (for this session)"));
  return std::nullopt;
}

void ViewSession::SayAgain(Language language) {
  SetLanguage(language);
  const auto again = [language](const std::string& text) {
    return ToUtf8(twinfind::SayAgain(ToUtf16(text), language));
  };
  for (CommandLine& line : lines_) {
    if (line.kind != "tool" && line.kind != "refused") line.text = again(line.text);
  }
  prompt_ = again(prompt_);
  cursor_ = again(cursor_);
}

nlohmann::json ViewSession::SettingsJson() const {
  nlohmann::json list = nlohmann::json::array();
  for (const std::u16string_view name : kPageSettings) {
    const auto held = settingsStore_->Held(MakeSettingsKeyPath(kSettingsSubkey), name);
    list.push_back({{"name", ToUtf8(name)},
                    {"value", ToUtf8(held ? *held : StoredSettingText(name))},
                    {"meaning", std::string(SettingMeaning(name))},
                    {"held", held.has_value()}});
  }
  return list;
}

}  // namespace twinfind::tool::view
