// The texts the command says to the user, each in Korean and in English side by side (the table
// is said_texts.inc). Code names a text by its constant and says it with Said(), which gives it
// in the current language.
#ifndef COMMON_SAID_TEXTS_H
#define COMMON_SAID_TEXTS_H

#include <span>
#include <string>
#include <string_view>

#include "common/language.h"

namespace twinfind {

struct SaidText {
  const char16_t* korean;
  const char16_t* english;
};

namespace texts {
#define SAID(name, korean, english) inline constexpr SaidText name{korean, english};
#include "common/said_texts.inc"
#undef SAID
}  // namespace texts

// The text in a language; in the current one.
constexpr const char16_t* SaidIn(const SaidText& text, Language language) {
  return language == Language::kEnglish ? text.english : text.korean;
}
inline const char16_t* Said(const SaidText& text) { return SaidIn(text, CurrentLanguage()); }

// Every row of the table, in its order.
std::span<const SaidText* const> AllSaidTexts();

// A line the command said, said again in `language`: a line that is one of the table's texts in
// either language, its "%d" or "%s" filled in, becomes that text in `language` with the same
// value; any other line is given back as it is. For a switch of language while lines are shown.
std::u16string SayAgain(std::u16string_view line, Language language);

}  // namespace twinfind

#endif  // COMMON_SAID_TEXTS_H
