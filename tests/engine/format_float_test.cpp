#include "engine/format_float.h"

#include <gtest/gtest.h>

namespace {

using engine::formatFloat;

TEST(formatFloat, FixedDecimals)
{
    EXPECT_EQ(formatFloat("0.00", 5.5), "5.50");
    EXPECT_EQ(formatFloat("0.00", 0), "0.00");
    EXPECT_EQ(formatFloat("0.00", 10.9375), "10.94");
    EXPECT_EQ(formatFloat("0.00", 1234567.891), "1234567.89");
    EXPECT_EQ(formatFloat("0.00", -2.345), "-2.35");  // half away from zero
    EXPECT_EQ(formatFloat("0.00", -0.001), "0.00");
}

TEST(formatFloat, AtLeastTwoIntegerDigits)
{
    EXPECT_EQ(formatFloat("00.00", 5.5), "05.50");
    EXPECT_EQ(formatFloat("00.00", 0), "00.00");
    EXPECT_EQ(formatFloat("00.00", 123.4), "123.40");
}

TEST(formatFloat, GroupedTotals)
{
    EXPECT_EQ(formatFloat("###,###,###.00", 16.3), "16.30");
    EXPECT_EQ(formatFloat("###,###,###.00", 10.7 + 5.6), "16.30");
    EXPECT_EQ(formatFloat("###,###,###.00", 1234567.5), "1,234,567.50");
    EXPECT_EQ(formatFloat("###,###,###.00", 1234567890), "1,234,567,890.00");
    EXPECT_EQ(formatFloat("###,###,###.00", 0.5), ".50");
    EXPECT_EQ(formatFloat("###,###,###.00", 0), ".00");
    EXPECT_EQ(formatFloat("###,###,###.00", 999.999), "1,000.00");
}

TEST(formatFloat, RoundsFromTheDecimalFigure)
{
    // 2.5 x 4.21 is 10.52499... in binary; the figure is 10.525.
    EXPECT_EQ(formatFloat("0.00", 2.5 * 4.21), "10.53");
    EXPECT_EQ(formatFloat("0.00", 1.005), "1.01");
    EXPECT_EQ(formatFloat("0.00", 0.125), "0.13");
}

} // namespace
