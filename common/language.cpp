#include "common/language.h"

#include <atomic>

namespace twinfind {
namespace {

std::atomic<Language> current{Language::kKorean};

bool SameIgnoringCase(std::u16string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != static_cast<char16_t>(word[i])) return false;
  }
  return true;
}

}  // namespace

Language CurrentLanguage() { return current.load(std::memory_order_relaxed); }

void SetLanguage(Language language) { current.store(language, std::memory_order_relaxed); }

std::optional<Language> LanguageNamed(std::u16string_view name) {
  while (!name.empty() && (name.front() == u' ' || name.front() == u'\t')) name.remove_prefix(1);
  while (!name.empty() && (name.back() == u' ' || name.back() == u'\t')) name.remove_suffix(1);
  if (SameIgnoringCase(name, "en") || SameIgnoringCase(name, "english")) return Language::kEnglish;
  if (SameIgnoringCase(name, "ko") || SameIgnoringCase(name, "korean")) return Language::kKorean;
  return std::nullopt;
}

Language LanguageOfSetting(std::u16string_view text) {
  return LanguageNamed(text).value_or(Language::kKorean);
}

std::string_view LanguageCode(Language language) {
  return language == Language::kEnglish ? "en" : "ko";
}

}  // namespace twinfind
