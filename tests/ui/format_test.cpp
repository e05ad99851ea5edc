// Numbers as the settings dialog shows them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ui/twinfind_dlg.h"

namespace {

using twinfind::ui::FormatDecimal;

TEST(FormatDecimal, SixDecimalsWithTrailingZerosDroppedDownToOne) {
  EXPECT_EQ(FormatDecimal(5), u"5.0");
  EXPECT_EQ(FormatDecimal(2.5), u"2.5");
  EXPECT_EQ(FormatDecimal(0.1234567), u"0.123457");
  EXPECT_EQ(FormatDecimal(-3), u"-3.0");
  EXPECT_EQ(FormatDecimal(0), u"0.0");
  EXPECT_EQ(FormatDecimal(100), u"100.0");  // zeros before the point stay
  EXPECT_EQ(FormatDecimal(0.0000004), u"0.0");
  EXPECT_EQ(FormatDecimal(1.9999996), u"2.0");
  EXPECT_EQ(FormatDecimal(-0.5), u"-0.5");
}

TEST(FormatDecimal, HugeAndEndlessNumbersStayWhole) {
  const std::u16string max = FormatDecimal(std::numeric_limits<double>::max());
  EXPECT_EQ(max.size(), 309u + 2u);  // all its digits, the point and one zero
  EXPECT_EQ(max.substr(max.size() - 2), u".0");
  EXPECT_EQ(FormatDecimal(-std::numeric_limits<double>::max()).size(), 312u);
  EXPECT_EQ(FormatDecimal(HUGE_VAL), u"inf");  // no point: left as it is
}

}  // namespace
