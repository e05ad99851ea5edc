#include "common/language.h"

#include <atomic>

namespace twinfind {
namespace {

std::atomic<Language> current{Language::kKorean};

}  // namespace

Language CurrentLanguage() { return current.load(std::memory_order_relaxed); }

void SetLanguage(Language language) { current.store(language, std::memory_order_relaxed); }

std::string_view LanguageCode(Language language) {
  return language == Language::kEnglish ? "en" : "ko";
}

}  // namespace twinfind
