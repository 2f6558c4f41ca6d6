// Label texts of chart axes in the three patterns the table windows use, the
// choice between them, and the values that carry labels.

#include "AxisLabels.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(AxisLabelText, FixedPatternGroupsThousandsAndDropsTrailingZeros)
{
    EXPECT_EQ(AxisLabelText(0.5, FixedAxisFormat), "0.5");
    EXPECT_EQ(AxisLabelText(1234.5, FixedAxisFormat), "1,234.5");
    EXPECT_EQ(AxisLabelText(150000, FixedAxisFormat), "150,000");
    EXPECT_EQ(AxisLabelText(1234567.125, FixedAxisFormat), "1,234,567.125");
    EXPECT_EQ(AxisLabelText(0, FixedAxisFormat), "0");
    EXPECT_EQ(AxisLabelText(999, FixedAxisFormat), "999");
    EXPECT_EQ(AxisLabelText(-1234.5, FixedAxisFormat), "-1,234.5");
    EXPECT_EQ(AxisLabelText(2.5, FixedAxisFormat, ",", "."), "2,5");
    EXPECT_EQ(AxisLabelText(1234.5, FixedAxisFormat, ",", "."), "1.234,5");
}

TEST(AxisLabelText, FixedPatternRoundsAtTheThirdDecimal)
{
    // 0.0002 shows as 0, without a minus sign for a negative tiny value.
    EXPECT_EQ(AxisLabelText(0.0002, FixedAxisFormat), "0");
    EXPECT_EQ(AxisLabelText(-0.0002, FixedAxisFormat), "0");
    EXPECT_EQ(AxisLabelText(0.0005, FixedAxisFormat), "0.001");
    EXPECT_EQ(AxisLabelText(0.1 + 0.2, FixedAxisFormat), "0.3");
    EXPECT_EQ(AxisLabelText(999.9996, FixedAxisFormat), "1,000");
    EXPECT_EQ(AxisLabelText(-0.0015, FixedAxisFormat), "-0.002");
}

TEST(AxisLabelText, WholePatternRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(AxisLabelText(0.5, WholeAxisFormat), "1");
    EXPECT_EQ(AxisLabelText(2.5, WholeAxisFormat), "3");
    EXPECT_EQ(AxisLabelText(0.4, WholeAxisFormat), "0");
    EXPECT_EQ(AxisLabelText(1234.5, WholeAxisFormat), "1,235");
    EXPECT_EQ(AxisLabelText(150000, WholeAxisFormat), "150,000");
    EXPECT_EQ(AxisLabelText(-1499.5, WholeAxisFormat), "-1,500");
}

TEST(AxisLabelText, ExponentPatternKeepsOneToThreeDecimals)
{
    EXPECT_EQ(AxisLabelText(150000, ExponentAxisFormat), "1.5E5");
    EXPECT_EQ(AxisLabelText(0.0002, ExponentAxisFormat), "2.0E-4");
    EXPECT_EQ(AxisLabelText(1234.5, ExponentAxisFormat), "1.235E3");
    EXPECT_EQ(AxisLabelText(0.5, ExponentAxisFormat), "5.0E-1");
    EXPECT_EQ(AxisLabelText(-123456789, ExponentAxisFormat), "-1.235E8");
    EXPECT_EQ(AxisLabelText(9.9996e5, ExponentAxisFormat), "1.0E6");
    EXPECT_EQ(AxisLabelText(0, ExponentAxisFormat), "0.0E0");
    EXPECT_EQ(AxisLabelText(1.25e-12, "0.00E+00"), "1.25E-12");
    EXPECT_EQ(AxisLabelText(3e7, "0.00E+00"), "3.00E+07");
}

TEST(AxisLabelText, UnknownPatternsAreRejected)
{
    for (const char* format : {"", "0.#0", "x", "#,##0.###E-0", "0.0E", "0.0E0", "0#"})
        EXPECT_THROW(AxisLabelText(1, format), std::invalid_argument) << format;
}

TEST(ChooseAxisFormat, ExponentFormBeyond100000OrBelowOneThousandth)
{
    EXPECT_EQ(ChooseAxisFormat(0, 1), FixedAxisFormat);
    EXPECT_EQ(ChooseAxisFormat(0, 100000), FixedAxisFormat);
    EXPECT_EQ(ChooseAxisFormat(0, 150000), ExponentAxisFormat);
    EXPECT_EQ(ChooseAxisFormat(-150000, 5), ExponentAxisFormat);
    EXPECT_EQ(ChooseAxisFormat(0.0001, 0.0002), ExponentAxisFormat);
    EXPECT_EQ(ChooseAxisFormat(-0.0002, 0.0002), ExponentAxisFormat);
    EXPECT_EQ(ChooseAxisFormat(0, 0.0002), ExponentAxisFormat);
    // One end small, the other not: fixed.
    EXPECT_EQ(ChooseAxisFormat(0.0002, 0.5), FixedAxisFormat);
    // Both exactly 0: fixed.
    EXPECT_EQ(ChooseAxisFormat(0, 0), FixedAxisFormat);
}

TEST(AxisTicks, MultiplesOfOneTwoOrFiveInTheRange)
{
    EXPECT_EQ(AxisTicks(0, 1, 6), (std::vector<double>{0, 0.2, 0.4, 0.6000000000000001, 0.8, 1}));
    EXPECT_EQ(AxisTicks(0, 10, 11), (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(AxisTicks(0, 10, 3), (std::vector<double>{0, 5, 10}));
    EXPECT_EQ(AxisTicks(-3, 7, 4), (std::vector<double>{0, 5}));
    EXPECT_EQ(AxisTicks(-30, 70, 6), (std::vector<double>{-20, 0, 20, 40, 60}));
    EXPECT_EQ(AxisTicks(90, 110, 5), (std::vector<double>{90, 95, 100, 105, 110}));
    for (const auto& [low, high, labels] : {std::tuple{0.0, 1e-4, 5}, {1.0, 1e6, 4}, {-7.0, -2.0, 9}}) {
        const std::vector<double> ticks = AxisTicks(low, high, labels);
        EXPECT_GE(ticks.size(), 2u) << low << " " << high;
        EXPECT_LE(static_cast<int>(ticks.size()), labels) << low << " " << high;
        EXPECT_GE(ticks.front(), low);
        EXPECT_LE(ticks.back(), high);
    }
}

TEST(AxisTicks, NoneForAnEmptyOrReversedRange)
{
    EXPECT_TRUE(AxisTicks(1, 1, 5).empty());
    EXPECT_TRUE(AxisTicks(2, 1, 5).empty());
}
