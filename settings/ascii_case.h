// Letter-case-insensitive comparison of names, as the registry compares key paths and value
// names and as the settings compare colour and line-type names. Only ASCII letters fold; every
// name the system stores is ASCII.
#ifndef SETTINGS_ASCII_CASE_H
#define SETTINGS_ASCII_CASE_H

#include <algorithm>
#include <string_view>

namespace twinfind {

template <typename Char>
constexpr Char AsciiLower(Char c) {
  return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a,
                                       std::basic_string_view<Char> b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Char x, Char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

}  // namespace twinfind

#endif  // SETTINGS_ASCII_CASE_H
