// The view session's settings: a setting the page applies (a suggestion's button, the settings
// panel, the language button), for this session or kept in the user's settings, and the
// suggestions the tool's lines make.
#include <stdlib.h>
#include <unistd.h>

#include <random>
#include <regex>

#include "common/language.h"
#include "common/said_texts.h"
#include "common/utf.h"
#include "host/host.h"
#include "host/step_kind.h"
#include "settings/setting_meanings.h"
#include "settings/setting_values.h"
#include "settings/settings.h"
#include "settings/store_file.h"
#include "tools/view/view_session.h"

namespace twinfind::tool::view {
namespace {

// The settings the page has a place for: those beyond the command's dialog, which the dialog
// never writes.
constexpr std::u16string_view kPageSettings[] = {u"mTolerance", u"mRangeLimit", u"mDrawingScale",
                                                 u"mLanguage"};

bool PageSetting(std::u16string_view name) {
  for (const std::u16string_view s : kPageSettings) {
    if (s == name) return true;
  }
  return false;
}

// A value of one settings file, if it holds it.
std::optional<std::u16string> ValueIn(const std::string& file, std::u16string_view name) {
  if (file.empty()) return std::nullopt;
  FileSettingsStore store(file);
  std::vector<unsigned char> bytes;
  if (!store.ReadValue(MakeSettingsKeyPath(kSettingsSubkey), name, 1 << 16, bytes)) {
    return std::nullopt;
  }
  return TextOfStoredBytes(bytes);
}

}  // namespace

std::optional<Suggestion> SuggestionIn(const std::string& line) {
  // The tool names a setting the user may want as "twinfind settings set NAME VALUE ..." (the
  // range limit, the drawing scale) and the survey as "with NAME VALUE they are ..." (the
  // tolerance that joins near families).
  static const std::regex kNamed(R"((?:twinfind settings set|with) (m\w+) ([^\s,;)]+))");
  std::smatch match;
  if (!std::regex_search(line, match, kNamed)) return std::nullopt;
  const std::u16string name = ToUtf16(match[1].str()), value = ToUtf16(match[2].str());
  const SettingDefinition* definition = FindSettingDefinition(name);
  if (definition == nullptr || !PageSetting(name) ||
      !SettingValueProblem(*definition, value).empty()) {
    return std::nullopt;
  }
  return Suggestion{match[1].str(), match[2].str()};
}

void ViewSession::OpenSessionSettings() {
  // A name of its own in the temporary folder; the file itself is made by the first setting
  // applied (a missing file holds no value).
  std::random_device random;
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("twinfind-session-" + std::to_string(getpid()) + "-" + std::to_string(random()) + ".reg");
  sessionSettings_ = std::filesystem::absolute(file).string();
  setenv(kSessionSettingsVariable, sessionSettings_.c_str(), 1);
  // The tool's own texts (the page's language) follow the setting as the command's do.
  SetLanguage(LanguageOfSetting(StoredSettingText(u"mLanguage")));
  ReadPageSettings();
}

std::optional<std::string> ViewSession::ApplySetting(const nlohmann::json& request) {
  const std::string name = Text(request, "name"), value = Text(request, "value");
  const std::u16string name16 = ToUtf16(name), value16 = ToUtf16(value);
  const SettingDefinition* definition = FindSettingDefinition(name16);
  if (definition == nullptr || !PageSetting(name16)) {
    return "the page sets mTolerance, mRangeLimit, mDrawingScale and mLanguage, not " +
           QuoteForMessage(name) + "; the command's other settings are in its dialog";
  }
  if (const std::string problem = SettingValueProblem(*definition, value16); !problem.empty()) {
    return name + " " + problem + ", not " + QuoteForMessage(value);
  }
  const auto keep = request.find("keep");
  const bool kept = keep != request.end() && keep->is_boolean() && keep->get<bool>();
  if (kept && !WriteSetting(kSettingsSubkey, name16, value16)) {
    return "the settings could not be written: " + name + " is not kept";
  }
  FileSettingsStore session(sessionSettings_);
  if (!session.WriteValue(MakeSettingsKeyPath(kSettingsSubkey), name16, value16)) {
    return "the session's settings could not be written (" + sessionSettings_ + ")";
  }
  if (name16 == u"mLanguage") SayAgain(LanguageOfSetting(value16));
  ReadPageSettings();
  std::string said =
      "setting: " + name + " " + value + (kept ? " (kept in the settings)" : " (for this session)");
  const vexhost::StepDriver& driver = vexhost::TheHost().driver;
  if (driver.active() && vexhost::AtRest(vexhost::StepKindOf(driver)) && !dialogs_.open()) {
    Add("tool", said + "; the command starts again to take it");
    pendingPart_.reset();
    return RunLine("start");
  }
  Add("tool", said + (driver.active() ? "; the command takes it when it starts again" : ""));
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

void ViewSession::ReadPageSettings() {
  const auto user = SettingsFileLocationFromEnvironment();
  nlohmann::json list = nlohmann::json::array();
  for (const std::u16string_view name : kPageSettings) {
    const std::optional<std::u16string> held = ValueIn(sessionSettings_, name);
    const std::optional<std::u16string> stored = ValueIn(user ? user->path : "", name);
    list.push_back({{"name", ToUtf8(name)},
                    {"value", ToUtf8(StoredSettingText(name))},
                    {"meaning", std::string(SettingMeaning(name))},
                    {"held", held.has_value() && held != stored}});
  }
  pageSettings_ = std::move(list);
}

}  // namespace twinfind::tool::view
