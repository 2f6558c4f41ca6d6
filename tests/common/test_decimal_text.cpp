#include "DecimalText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

TEST(DecimalText, GrammarAndSeparator)
{
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
TEST(DecimalText, TinyMagnitudesReadAsDenormalOrZero)
{
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

// Short numbers are worked out in long double arithmetic, long ones by the
// general conversion: both give the C library's correctly rounded value.
TEST(DecimalText, ValuesAreTheCorrectlyRoundedOnes)
{
    std::mt19937 random(77);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int k = 0; k < 20000; ++k) {
        std::string text = pick(0, 1) ? "-" : "";
        const int whole = pick(0, 12);
        const int fraction = pick(0, 14);
        for (int d = 0; d < whole; ++d)
            text += static_cast<char>('0' + pick(0, 9));
        if (fraction > 0 || whole == 0)
            text += "." + std::string(1, static_cast<char>('0' + pick(0, 9)));
        for (int d = 1; d < fraction; ++d)
            text += static_cast<char>('0' + pick(0, 9));
        if (pick(0, 1))
            text += (pick(0, 1) ? "E" : "e") + std::to_string(pick(-40, 40));
        const TDecimal parsed = ParseDecimal(text, ".");
        ASSERT_EQ(parsed.Status, TDecimal::Ok) << text;
        EXPECT_EQ(parsed.Value, std::strtold(text.c_str(), nullptr)) << text;
    }
    EXPECT_EQ(ParseDecimal("0.1234E+02", ".").Value, std::strtold("12.34", nullptr));
    EXPECT_TRUE(std::signbit(ParseDecimal("-0.000", ".").Value));
    EXPECT_EQ(ParseDecimal("12345678901234567890123", ".").Value, 12345678901234567890123.0L);
}
