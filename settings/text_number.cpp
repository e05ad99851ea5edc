#include "settings/text_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace twinfind {
namespace {

// The blanks that the leading-number rules skip: space and the C0 white-space characters.
bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

size_t SkipBlanks(std::u16string_view text, size_t i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

// Decimal exponent of the number's first significant digit (123.4 -> 3, 0.01 -> -1), used only
// to tell an overflow from an underflow when the exact conversion is out of range.
long SignificantExponent(std::string_view mantissa, long exponent) {
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return std::numeric_limits<long>::min();
  const long position =
      first < point ? static_cast<long>(point - first) : -static_cast<long>(first - point - 1);
  return position + exponent;
}

}  // namespace

int32_t TextToInt(std::u16string_view text) {
  size_t i = SkipBlanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Accumulate one past the largest magnitude and clamp there, so long runs saturate.
  constexpr int64_t kCeiling = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - u'0'), kCeiling);
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(std::min<int64_t>(magnitude, kCeiling - 1));
}

double TextToDouble(std::u16string_view text) {
  size_t i = SkipBlanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Copy the matched number as ASCII: digits, an optional point, digits.
  std::string mantissa;
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) mantissa += static_cast<char>(text[i]);
  if (i < text.size() && text[i] == u'.') {
    mantissa += '.';
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
      mantissa += static_cast<char>(text[i]);
    }
  }
  if (digits == 0) return 0.0;

  // An exponent counts only when at least one digit follows "e" and its optional sign.
  long exponent = 0;
  std::string number = mantissa;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
      negativeExponent = text[j] == u'-';
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      number += negativeExponent ? "e-" : "e";
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        number += static_cast<char>(text[j]);
        exponent = std::min(exponent * 10 + (text[j] - u'0'), 1'000'000L);
      }
      if (negativeExponent) exponent = -exponent;
    }
  }

  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range) {
    value = SignificantExponent(mantissa, exponent) > 0 ? HUGE_VAL : 0.0;
  }
  return negative ? -value : value;
}

std::u16string IntToText(int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

double TextToLength(std::u16string_view text) {
  const double value = TextToDouble(text);
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace twinfind
