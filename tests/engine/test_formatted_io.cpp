// The engine's formatted I/O: edit descriptors, layouts with groups and
// reversion, list-directed reads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "FormattedIO.h"

namespace {

using fio::Layout;

TEST(EditDescriptors, ExponentFormRoundsToTheFieldAndKeepsTwoExponentDigits)
{
    EXPECT_EQ(fio::EditE(12.34f, 10, 3), " 0.123E+02");
    EXPECT_EQ(fio::EditE(12.34f, 10, 4), "0.1234E+02");
    EXPECT_EQ(fio::EditE(-12.5f, 16, 4), "     -0.1250E+02");
    EXPECT_EQ(fio::EditE(0.0f, 10, 4), "0.0000E+00");
    EXPECT_EQ(fio::EditE(-0.0f, 10, 4), "0.0000E+00");
    EXPECT_EQ(fio::EditE(9.99996f, 11, 4), " 0.1000E+02");  // rounding carries into the exponent
    EXPECT_EQ(fio::EditE(2.54e-6f, 11, 4), " 0.2540E-05");
    EXPECT_EQ(fio::EditE(1.0e-38f, 11, 4), " 0.1000E-37");
    EXPECT_EQ(fio::EditE(400.0f, 9, 2), " 0.40E+03");
}

TEST(EditDescriptors, ExponentFormDigitsAreTheFloatsCorrectlyRoundedValue)
{
    // 0.1f is 0.100000001490116...; 1/3 as a float is 0.3333333432674407...
    EXPECT_EQ(fio::EditE(0.1f, 16, 9), " 0.100000001E+00");
    EXPECT_EQ(fio::EditE(1.0f / 3.0f, 16, 9), " 0.333333343E+00");
    // 0.03125 is exact: its fifth digit is a tie, kept even.
    EXPECT_EQ(fio::EditE(0.03125f, 10, 3), " 0.312E-01");
}

TEST(EditDescriptors, ValuesThatDoNotFitFillTheFieldWithAsterisks)
{
    EXPECT_EQ(fio::EditF(1234.56f, 6, 1), "1234.6");
    EXPECT_EQ(fio::EditF(12345.6f, 6, 1), "******");
    EXPECT_EQ(fio::EditF(-123.0f, 4, 1), "****");
    EXPECT_EQ(fio::EditI(123, 2, 1), "**");
    EXPECT_EQ(fio::EditI(-5, 1, 1), "*");
    EXPECT_EQ(fio::EditE(-1.0f, 9, 4), "*********");
}

TEST(EditDescriptors, FixedFormDropsTheLeadingZeroOnlyWhenTight)
{
    EXPECT_EQ(fio::EditF(0.5f, 6, 1), "   0.5");
    EXPECT_EQ(fio::EditF(2.0f, 4, 2), "2.00");
    EXPECT_EQ(fio::EditF(0.5f, 3, 2), ".50");
    EXPECT_EQ(fio::EditF(-0.5f, 4, 2), "-.50");
    EXPECT_EQ(fio::EditF(20000.0f, 10, 3), " 20000.000");
}

TEST(EditDescriptors, NothingThatPrintsAsZeroCarriesAMinusSign)
{
    EXPECT_EQ(fio::EditF(-1.0e-5f, 6, 1), "   0.0");
    EXPECT_EQ(fio::EditF(-0.0f, 6, 1), "   0.0");
    EXPECT_EQ(fio::EditF(-0.06f, 6, 1), "  -0.1");
}

TEST(EditDescriptors, IntegersTextsAndListOutput)
{
    EXPECT_EQ(fio::EditI(7, 2, 2), "07");
    EXPECT_EQ(fio::EditI(2026, 4, 1), "2026");
    EXPECT_EQ(fio::EditI(-42, 5, 1), "  -42");
    EXPECT_EQ(fio::EditA("IN.", 3), "IN.");
    EXPECT_EQ(fio::EditA("2014.3.3", 12), "    2014.3.3");
    EXPECT_EQ(fio::EditA("longer text", 4), "long");
    EXPECT_EQ(fio::EditA("as is ", -1), "as is ");
    EXPECT_EQ(fio::ListInteger(9) + fio::ListInteger(50), "           9          50");
    EXPECT_EQ(fio::ListReal(300.0f), "   300.000000    ");
    EXPECT_EQ(fio::ListReal(0.3f), "  0.300000012    ");
    EXPECT_EQ(fio::ListReal(0.05f), "   5.00000007E-02");
    EXPECT_EQ(fio::ListReal(0.0f), "   0.00000000    ");
    EXPECT_EQ(fio::ListReal(-1.5e12f), "  -1.50000003E+12");
}

// The C library's conversion of the float's exact value (correctly rounded,
// ties to even), laid out as the E and F descriptors lay out their digits.
std::string FieldOf(const std::string& text, int width)
{
    if (static_cast<int>(text.size()) > width)
        return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::string ReferenceE(float value, int width, int digits)
{
    std::string mantissa(static_cast<std::size_t>(digits), '0');
    int exponent = 0;
    if (value != 0.0f) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, std::fabs(static_cast<double>(value)));
        mantissa = std::string(1, buffer[0]) + std::string(buffer + 2, static_cast<std::size_t>(digits - 1));
        exponent = std::atoi(std::strchr(buffer, 'e') + 1) + 1;
    }
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    const std::string sign = value < 0.0f ? "-" : "";
    std::string text = sign + "0." + mantissa + exp;
    if (static_cast<int>(text.size()) > width)
        text = sign + "." + mantissa + exp;
    return FieldOf(text, width);
}

std::string ReferenceF(float value, int width, int digits)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, std::fabs(static_cast<double>(value)));
    const std::string magnitude = buffer;
    const bool zero = magnitude.find_first_not_of("0.") == std::string::npos;
    const std::string sign = value < 0.0f && !zero ? "-" : "";
    std::string text = sign + magnitude;
    if (static_cast<int>(text.size()) > width && magnitude.rfind("0.", 0) == 0)
        text = sign + magnitude.substr(1);
    return FieldOf(text, width);
}

TEST(EditDescriptors, DigitsAreTheCorrectlyRoundedDigitsOfTheExactValue)
{
    std::vector<float> values;
    std::mt19937 random(2014);
    for (int k = 0; k < 4000; ++k) {
        const uint32_t bits = random();
        float v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
        values.push_back(std::uniform_real_distribution<float>(-5000, 5000)(random));
        values.push_back(std::uniform_real_distribution<float>(-1, 1)(random));
    }
    // Exact halfway cases (few significant bits) with their neighbours, and
    // numbers as they are read from text.
    for (int k = 1; k < 300; k += 2)
        for (int e = -12; e <= 12; ++e) {
            const float v = std::ldexp(static_cast<float>(k), e);
            values.insert(values.end(), {v, -v, std::nextafter(v, 0.0f), std::nextafter(v, 1e30f)});
        }
    for (const char* text : {"0.05", "0.15", "0.25", "0.35", "1.5", "2.5", "9.9995", "99.995", "999.95", "0.0001",
                             "1E9", "2E9", "1E-10", "3.4E38", "1.2E-38", "1E-45", "20000", "0.125", "0.375"})
        values.push_back(std::strtof(text, nullptr));
    for (float v : values) {
        SCOPED_TRACE(testing::Message() << std::hexfloat << v);
        for (int digits : {2, 3, 4, 9}) {
            ASSERT_EQ(fio::EditE(v, 10, digits), ReferenceE(v, 10, digits));
            ASSERT_EQ(fio::EditE(v, 16, digits), ReferenceE(v, 16, digits));
        }
        if (std::fabs(v) < 1e30f) {
            for (int digits : {0, 1, 2, 3})
                ASSERT_EQ(fio::EditF(v, 12, digits), ReferenceF(v, 12, digits));
        }
    }
}

TEST(Layouts, TextsSkipsSlashesAndRepeatedGroups)
{
    Layout banner("(5X, 3(\"=\"), /, /, 2X, 'A', A3)");
    EXPECT_EQ(banner.Format({std::string("IN.")}), (std::vector<std::string>{"     ===", "", "  AIN."}));
    Layout blankLines("(/, /, \"  \")");
    EXPECT_EQ(blankLines.Format({}), (std::vector<std::string>{"", "", "  "}));
    Layout page("(\"1\")");
    EXPECT_EQ(page.Format({}), (std::vector<std::string>{"1"}));
}

TEST(Layouts, BlanksOfTrailingSkipsAreNotWritten)
{
    Layout layer("(10X, 2(I5, 5X), 2(E10.3, 2X))");
    EXPECT_EQ(layer.Format({int32_t{1}, int32_t{6}, 0.0f, 480.0f}),
              (std::vector<std::string>{"              1         6      0.000E+00   0.480E+03"}));
}

TEST(Layouts, OutputStopsAtTheFirstDataDescriptorWithoutAValue)
{
    Layout layout("(\"A=\", I3, \" B=\", I3, \" end\")");
    EXPECT_EQ(layout.Format({int32_t{1}}), (std::vector<std::string>{"A=  1 B="}));
    EXPECT_EQ(layout.Format({int32_t{1}, int32_t{2}}), (std::vector<std::string>{"A=  1 B=  2 end"}));
}

TEST(Layouts, RemainingValuesRevertOntoNewLines)
{
    // Without groups the whole layout starts again: one pair per line.
    Layout pairs("(E18.4, E19.4)");
    auto lines = pairs.Format({0.0f, 1.0e9f, 480.0f, 1.0e9f});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "        0.0000E+00         0.1000E+10");
    EXPECT_EQ(lines[1], "        0.4800E+03         0.1000E+10");
    // With groups it resumes at the last top-level group, here the repeated E16.4.
    Layout row("(E17.4, 3E16.4)");
    EXPECT_EQ(row.Format({1.0f, 2.0f, 3.0f, 4.0f, 5.0f}),
              (std::vector<std::string>{"       0.1000E+01      0.2000E+01      0.3000E+01      0.4000E+01",
                                        "       0.5000E+01"}));
    Layout grouped("(\"X\", 2(I2), \"|\")");
    EXPECT_EQ(grouped.Format({int32_t{1}, int32_t{2}, int32_t{3}}), (std::vector<std::string>{"X 1 2|", " 3"}));
}

TEST(Layouts, MalformedLayoutsAreRefused)
{
    EXPECT_THROW(Layout("(I5"), std::invalid_argument);
    EXPECT_THROW(Layout("(E10)"), std::invalid_argument);
    EXPECT_THROW(Layout("(\"open)"), std::invalid_argument);
    EXPECT_THROW(Layout("(Q5)"), std::invalid_argument);
    // Fields wider than any record needs.
    EXPECT_THROW(Layout("(E300.4)"), std::invalid_argument);
    EXPECT_THROW(Layout("(F10.256)"), std::invalid_argument);
    EXPECT_THROW(Layout("(A256)"), std::invalid_argument);
    EXPECT_NO_THROW(Layout("(E255.200, 300X)"));
}

TEST(ListReads, EachReadStartsOnANewLineAndContinuesOverLines)
{
    fio::LineReader in("1 2 3 ignored words\n4,5\n  6\n7 8\n");
    int32_t a = 0, b = 0, c = 0, d = 0;
    float e = 0, f = 0;
    ASSERT_EQ(in.ReadList({&a, &b}), fio::ReadStatus::Ok);      // rest of line 1 skipped
    ASSERT_EQ(in.ReadList({&c, &e, &f}), fio::ReadStatus::Ok);  // lines 2 and 3
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c, 4);
    EXPECT_EQ(e, 5.0f);
    EXPECT_EQ(f, 6.0f);
    ASSERT_EQ(in.ReadList({&d}), fio::ReadStatus::Ok);
    EXPECT_EQ(d, 7);
    EXPECT_EQ(in.ReadList({&d}), fio::ReadStatus::EndOfFile);
}

TEST(ListReads, TextReadsArePaddedOrCutToTheirWidth)
{
    fio::LineReader in("New Pile\r\n0123456789ABCDEF\n");
    std::string title, version;
    ASSERT_EQ(in.ReadText(12, title), fio::ReadStatus::Ok);
    ASSERT_EQ(in.ReadText(10, version), fio::ReadStatus::Ok);
    EXPECT_EQ(title, "New Pile    ");
    EXPECT_EQ(version, "0123456789");
    EXPECT_EQ(in.ReadText(10, version), fio::ReadStatus::EndOfFile);
}

TEST(ListReads, AWholeTextReadRefusesALineLongerThanItsWidth)
{
    fio::LineReader in("/a/path/of/twenty/..\n/short   \n");
    std::string text;
    EXPECT_EQ(in.ReadText(10, text, true), fio::ReadStatus::BadValue);
    EXPECT_EQ(in.ReadText(6, text, true), fio::ReadStatus::Ok);  // trailing blanks do not count
    EXPECT_EQ(text, "/short");
}

TEST(ListValues, NumbersInTheirWrittenForms)
{
    float v = 0;
    ASSERT_TRUE(fio::ParseReal("4.80000000000000E+0002", v));
    EXPECT_EQ(v, 480.0f);
    ASSERT_TRUE(fio::ParseReal("1E9", v));
    EXPECT_EQ(v, 1.0e9f);
    ASSERT_TRUE(fio::ParseReal("-.5d-1", v));
    EXPECT_EQ(v, -0.05f);
    ASSERT_TRUE(fio::ParseReal("7", v));
    EXPECT_EQ(v, 7.0f);
    for (const char* bad : {"", ".", "E5", "1E", "1.2.3", "abc", "inf", "nan", "1E99", "--1", "0x10"})
        EXPECT_FALSE(fio::ParseReal(bad, v)) << bad;

    int32_t n = 0;
    ASSERT_TRUE(fio::ParseInteger("-2147483648", n));
    EXPECT_EQ(n, INT32_MIN);
    ASSERT_TRUE(fio::ParseInteger("+50", n));
    EXPECT_EQ(n, 50);
    for (const char* bad : {"3.0", "3.5", "2147483648", "1E2", "", "-", "12a"})
        EXPECT_FALSE(fio::ParseInteger(bad, n)) << bad;
}

TEST(ListReads, AMalformedValueFailsTheRead)
{
    fio::LineReader in("3.0\n");
    int32_t n = 0;
    EXPECT_EQ(in.ReadList({&n}), fio::ReadStatus::BadValue);
    std::string text;
    EXPECT_FALSE(fio::ReadWholeFile("/nonexistent/folder/file", text));
}

TEST(Records, TheWriterReplacesThePreviousFileWhole)
{
    auto path = std::filesystem::temp_directory_path() / ("fio_w_" + std::to_string(::getpid()));
    std::ofstream(path) << "old contents that must go\n";
    std::string expected;
    const Layout line("(I7, E11.3)");
    for (int32_t k = 0; k < 20000; ++k)
        line.Append(expected, std::vector<fio::Value>{k, static_cast<float>(k)});
    {
        fio::RecordWriter out;
        ASSERT_TRUE(out.Open(path.string()));
        out.Write(expected);
    }  // closing replaces the file
    std::string text;
    ASSERT_TRUE(fio::ReadWholeFile(path.string(), text));
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_TRUE(text == expected);
    std::filesystem::remove(path);
}

}  // namespace
