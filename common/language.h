// The language the command speaks: Korean, its own and the default, or English on request (the
// mLanguage setting, the view's language button, the module's set_language). One process-wide
// choice, read wherever a text is said; it may be switched from another thread (the view's).
#ifndef COMMON_LANGUAGE_H
#define COMMON_LANGUAGE_H

#include <optional>
#include <string_view>

namespace twinfind {

enum class Language { kKorean, kEnglish };

Language CurrentLanguage();
void SetLanguage(Language language);

// The language a setting's text names: "en" or "english" English, "ko" or "korean" Korean,
// ignoring letter case and blanks around it; nothing for anything else.
std::optional<Language> LanguageNamed(std::u16string_view name);
// The same, Korean for an empty or unknown name: what a stored setting means.
Language LanguageOfSetting(std::u16string_view text);
// "ko" or "en".
std::string_view LanguageCode(Language language);

}  // namespace twinfind

#endif  // COMMON_LANGUAGE_H
