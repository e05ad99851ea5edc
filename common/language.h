// The language the command speaks: Korean, its own and the default, or English on request (the
// mLanguage setting, the view's language button, the module's set_language). One process-wide
// choice, read wherever a text is said; it may be switched from another thread (the view's).
#ifndef COMMON_LANGUAGE_H
#define COMMON_LANGUAGE_H

#include <string_view>

namespace twinfind {

enum class Language { kKorean, kEnglish };

Language CurrentLanguage();
void SetLanguage(Language language);

// "ko" or "en".
std::string_view LanguageCode(Language language);

}  // namespace twinfind

#endif  // COMMON_LANGUAGE_H
