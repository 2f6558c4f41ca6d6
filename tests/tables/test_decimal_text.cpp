#include "DecimalText.h"

#include <gtest/gtest.h>

#include <limits>

TEST(DecimalText, GrammarAndSeparator) {
    EXPECT_EQ(ParseDecimal("-2.5E-3", ".").Value, -2.5E-3L);
    EXPECT_EQ(ParseDecimal("+7", ".").Value, 7.0L);
    EXPECT_EQ(ParseDecimal(".5", ".").Value, 0.5L);
    EXPECT_EQ(ParseDecimal("1,25", ",").Value, 1.25L);
    for (const char* text : {"", "-", ".", "1,5", "1e", "1e+", "e5", "inf", "nan", "0x1F", "1.5x", " 1"})
        EXPECT_EQ(ParseDecimal(text, ".").Status, TDecimal::NotANumber) << text;
    EXPECT_EQ(ParseDecimal("1.5", ",").Status, TDecimal::NotANumber);
    EXPECT_EQ(ParseDecimal("1e5000", ".").Status, TDecimal::OutOfRange);
}

// Below the extended format's range a number is its denormal or zero, never
// an error; only a magnitude beyond the range is.
TEST(DecimalText, TinyMagnitudesReadAsDenormalOrZero) {
    const TDecimal zero = ParseDecimal("1e-5000", ".");
    EXPECT_EQ(zero.Status, TDecimal::Ok);
    EXPECT_EQ(zero.Value, 0.0L);
    const TDecimal negative = ParseDecimal("-1E-5000", ".");
    EXPECT_EQ(negative.Status, TDecimal::Ok);
    EXPECT_EQ(negative.Value, 0.0L);
    const TDecimal denormal = ParseDecimal("1E-4940", ".");
    EXPECT_EQ(denormal.Status, TDecimal::Ok);
    EXPECT_GT(denormal.Value, 0.0L);
    EXPECT_LT(denormal.Value, std::numeric_limits<long double>::min());
    EXPECT_NEAR(denormal.Value / 1E-4940L, 1.0L, 1E-8L);
    EXPECT_EQ(ParseDecimal("1,5E-4940", ",").Status, TDecimal::Ok);
    EXPECT_EQ(ParseDecimal("-1e5000", ".").Status, TDecimal::OutOfRange);
}
