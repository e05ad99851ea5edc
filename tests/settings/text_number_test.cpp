// The leading-number rules by which stored texts act as numbers.
#include "settings/text_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/utf.h"

namespace twinfind {
namespace {

TEST(TextNumber, IntegersTakeTheLeadingDecimalNumberAndSaturate) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const std::pair<std::u16string_view, int32_t> cases[] = {
      {u"801", 801},
      {u" \t\n\r\v\f42", 42},
      {u"-7", -7},
      {u"+12", 12},
      {u"12abc", 12},
      {u"3.9", 3},
      {u"1 2", 1},
      {u"", 0},
      {u"A", 0},
      {u"+-5", 0},
      {u"- 5", 0},
      {u"2147483647", kMax},
      {u"2147483648", kMax},
      {u"-2147483649", kMin},
      {u"99999999999999999999", kMax},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(TextToInt(text), expected) << ToUtf8(text);
}

TEST(TextNumber, DoublesTakeTheLeadingDecimalNumber) {
  const std::pair<std::u16string_view, double> cases[] = {
      {u"5.0", 5.0},          {u" 2.5mm", 2.5}, {u"-.5", -0.5},        {u"7.", 7.0},
      {u"1e3", 1000.0},       {u"2E-2", 0.02},  {u"4e", 4.0},          {u"6e+x", 6.0},
      {u"1.5.2", 1.5},        {u"", 0.0},       {u".", 0.0},           {u"e5", 0.0},
      {u"inf", 0.0},          {u"nan", 0.0},    {u"0x10", 0.0},        {u"1e400", HUGE_VAL},
      {u"-1e400", -HUGE_VAL}, {u"1e-400", 0.0}, {u"0.001e300", 1e297},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_DOUBLE_EQ(TextToDouble(text), expected) << ToUtf8(text);
  }
}

}  // namespace
}  // namespace twinfind
