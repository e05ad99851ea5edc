#include "common/said_texts.h"

#include <array>
#include <optional>

namespace twinfind {
namespace {

constexpr std::array kRows = {
#define SAID(name, korean, english) &texts::name,
#include "common/said_texts.inc"
#undef SAID
};

// The value in `line` where `pattern` has its one "%d" or "%s", when the line is the pattern
// with some value there (digits, with a minus sign, for "%d"); the line itself when the
// pattern has no marker and equals it.
std::optional<std::u16string_view> ValueIn(std::u16string_view line, std::u16string_view pattern) {
  size_t at = pattern.find(u"%d");
  const bool number = at != std::u16string_view::npos;
  if (!number) at = pattern.find(u"%s");
  if (at == std::u16string_view::npos) {
    if (line == pattern) return std::u16string_view();
    return std::nullopt;
  }
  const std::u16string_view before = pattern.substr(0, at), after = pattern.substr(at + 2);
  if (line.size() < before.size() + after.size() || !line.starts_with(before) ||
      !line.ends_with(after)) {
    return std::nullopt;
  }
  const std::u16string_view value =
      line.substr(before.size(), line.size() - before.size() - after.size());
  if (number) {
    if (value.empty()) return std::nullopt;
    for (size_t i = 0; i < value.size(); ++i) {
      if (!(value[i] >= u'0' && value[i] <= u'9') && !(i == 0 && value[i] == u'-')) {
        return std::nullopt;
      }
    }
  }
  return value;
}

std::u16string Filled(std::u16string_view pattern, std::u16string_view value) {
  std::u16string out(pattern);
  size_t at = out.find(u"%d");
  if (at == std::u16string::npos) at = out.find(u"%s");
  if (at != std::u16string::npos) out.replace(at, 2, value);
  return out;
}

}  // namespace

std::span<const SaidText* const> AllSaidTexts() { return kRows; }

std::u16string SayAgain(std::u16string_view line, Language language) {
  for (const SaidText* row : kRows) {
    for (const char16_t* pattern : {row->korean, row->english}) {
      if (const auto value = ValueIn(line, pattern)) {
        return Filled(SaidIn(*row, language), *value);
      }
    }
  }
  return std::u16string(line);
}

}  // namespace twinfind
