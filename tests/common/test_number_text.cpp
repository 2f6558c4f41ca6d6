// The one general number format of cells (8 digits), numeric fields and the
// evaluator's intermediate values (18 digits) and graph labels.
#include "NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(NumberText, FixedFromOneHundredThousandthToTheDigitsAllowed)
{
    EXPECT_EQ(GeneralNumberText(0.00001L, 8), "0.00001");
    EXPECT_EQ(GeneralNumberText(0.000001L, 8), "1E-6");
    EXPECT_EQ(GeneralNumberText(99999999, 8), "99999999");
    EXPECT_EQ(GeneralNumberText(100000000, 8), "1E8");
    EXPECT_EQ(GeneralNumberText(123456789, 8), "1.2345679E8");
    // Rounding decides the form: 99999999.6 has nine whole digits once rounded.
    EXPECT_EQ(GeneralNumberText(99999999.6L, 8), "1E8");
    EXPECT_EQ(GeneralNumberText(0.0000099999999999L, 8), "0.00001");
    EXPECT_EQ(GeneralNumberText(-2.50L, 8), "-2.5");
}

TEST(NumberText, ZeroHasNoSignAndNonFiniteValuesAreWords)
{
    EXPECT_EQ(GeneralNumberText(0.0L, 18), "0");
    EXPECT_EQ(GeneralNumberText(-0.0L, 18), "0");
    EXPECT_EQ(GeneralNumberText(std::numeric_limits<long double>::infinity(), 8), "INF");
    EXPECT_EQ(GeneralNumberText(-std::numeric_limits<long double>::infinity(), 8), "-INF");
    EXPECT_EQ(GeneralNumberText(std::numeric_limits<long double>::quiet_NaN(), 8), "NAN");
}

TEST(NumberText, PointAndExponentDigitsAsAsked)
{
    EXPECT_EQ(GeneralNumberText(1.5L, 18, ","), "1,5");
    EXPECT_EQ(GeneralNumberText(1.5E-7L, 18, ","), "1,5E-7");
    EXPECT_EQ(GeneralNumberText(2E-6L, 4, ".", 2), "2E-06");
    EXPECT_EQ(GeneralNumberText(1E120L, 4, ".", 2), "1E120");
    EXPECT_EQ(GeneralNumberText(0.1L, 18), "0.1");
    EXPECT_EQ(GeneralNumberText(1.0L / 3.0L, 18), "0.333333333333333333");
    // The smallest denormal of the extended format still has a text.
    EXPECT_EQ(GeneralNumberText(std::numeric_limits<long double>::denorm_min(), 4), "3.645E-4951");
}
