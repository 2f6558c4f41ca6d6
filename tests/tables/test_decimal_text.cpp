#include "DecimalText.h"

#include <gtest/gtest.h>

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
