// The leading-number rules by which stored texts act as numbers.
#include "settings/text_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace twinfind {
namespace {

TEST(TextToInt, ReadsTheLeadingDecimalNumber) {
  struct Case {
    std::u16string_view text;
    int32_t expected;
  };
  const Case cases[] = {
      {u"801", 801},  {u"  \t42", 42},  {u"-7", -7},   {u"+12", 12},     {u"2", 2},
      {u"12abc", 12}, {u"3.9", 3},      {u"007", 7},   {u"\n\r\v\f5", 5}, {u"1 2", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextToInt(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(TextToInt, ANonNumberIsZero) {
  for (const std::u16string_view text : {u"", u"A", u"-", u"+-5", u"- 5", u"x12"}) {
    EXPECT_EQ(TextToInt(text), 0);
  }
}

TEST(TextToInt, SaturatesBeyondTheRange) {
  constexpr auto kMax = std::numeric_limits<int32_t>::max();
  constexpr auto kMin = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(TextToInt(u"2147483647"), kMax);
  EXPECT_EQ(TextToInt(u"2147483648"), kMax);
  EXPECT_EQ(TextToInt(u"-2147483648"), kMin);
  EXPECT_EQ(TextToInt(u"-2147483649"), kMin);
  EXPECT_EQ(TextToInt(u"99999999999999999999999999"), kMax);
}

TEST(TextToDouble, ReadsTheLeadingDecimalNumber) {
  struct Case {
    std::u16string_view text;
    double expected;
  };
  const Case cases[] = {
      {u"5.0", 5.0},     {u" 2.5mm", 2.5}, {u"-.5", -0.5},   {u"+3", 3.0},    {u"7.", 7.0},
      {u"1e3", 1000.0},  {u"2E-2", 0.02},  {u"4e", 4.0},     {u"4e+", 4.0},   {u"6e+x", 6.0},
      {u"1.5.2", 1.5},   {u"0012.50", 12.5},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(TextToDouble(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(TextToDouble, ANonNumberIsZero) {
  // Infinity, NaN and hexadecimal forms are no decimal numbers either.
  for (const std::u16string_view text : {u"", u"abc", u".", u"-", u"e5", u"inf", u"nan", u"x1"}) {
    EXPECT_EQ(TextToDouble(text), 0.0);
  }
  EXPECT_EQ(TextToDouble(u"0x10"), 0.0);  // the leading 0, then letters
}

TEST(TextToDouble, OutOfRangeOverflowsToInfinityAndUnderflowsToZero) {
  EXPECT_EQ(TextToDouble(u"1e400"), HUGE_VAL);
  EXPECT_EQ(TextToDouble(u"-1e400"), -HUGE_VAL);
  EXPECT_EQ(TextToDouble(u"1e-400"), 0.0);
  EXPECT_EQ(TextToDouble(u"0.0001e-400"), 0.0);
  EXPECT_DOUBLE_EQ(TextToDouble(u"0.000000000000000000001e300"), 1e279);
}

TEST(IntToText, WritesDecimal) {
  EXPECT_EQ(IntToText(0), u"0");
  EXPECT_EQ(IntToText(-42), u"-42");
  EXPECT_EQ(IntToText(2147483648LL), u"2147483648");
}

}  // namespace
}  // namespace twinfind
