#include "dxf/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <system_error>

namespace twinfind::dxf {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when the characters are a plain decimal number: std::from_chars also takes "nan",
// "inf" and "infinity", which no DXF writer means as a coordinate.
bool LooksDecimal(std::string_view t) {
  size_t i = (!t.empty() && t[0] == '-') ? 1 : 0;
  return i < t.size() && (IsDigit(t[i]) || (t[i] == '.' && i + 1 < t.size() && IsDigit(t[i + 1])));
}

// For a number out of range: whether its exponent makes it tiny rather than huge.
bool NegativeExponent(std::string_view t) {
  const size_t e = t.find_first_of("eE");
  return e != std::string_view::npos && e + 1 < t.size() && t[e + 1] == '-';
}

}  // namespace

RealText ReadReal(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::string withPoint;
  if (text.find(',') != std::string_view::npos && text.find('.') == std::string_view::npos) {
    withPoint.assign(text);
    withPoint[withPoint.find(',')] = '.';
    text = withPoint;
  }
  RealText result;
  if (!LooksDecimal(text)) return result;
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (ptr != end) return result;
  if (ec == std::errc::result_out_of_range) {
    if (NegativeExponent(text)) {
      result.status = RealText::Status::kNumber;
      result.value = 0;
    } else {
      result.status = RealText::Status::kTooLarge;
      result.value = text.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return result;
  }
  if (ec != std::errc{}) return result;
  result.status = RealText::Status::kNumber;
  result.value = value;
  return result;
}

int ReadInt(std::string_view text, int fallback) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || !IsDigit(text.front())) return fallback;
  long long value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) break;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace twinfind::dxf
