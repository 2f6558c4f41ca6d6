#include "Evaluator.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace {

std::string ErrorOf(const std::string& entry)
{
    try {
        Evaluate(entry);
    } catch (const EAssignError& error) {
        return error.what();
    }
    return "no error";
}

std::string Message(const std::string& reason) { return "Entry could not be evaluated:\n" + reason; }

}  // namespace

TEST(Evaluator, PrecedenceAndAssociativity)
{
    EXPECT_EQ(Evaluate("2*(3+4)"), 14.0L);
    EXPECT_EQ(Evaluate("2+3*4"), 14.0L);
    EXPECT_EQ(Evaluate("2^3^2"), 64.0L);  // left to right
    EXPECT_EQ(Evaluate("10-4-3"), 3.0L);
    EXPECT_EQ(Evaluate("1-5*2"), -9.0L);
    EXPECT_EQ(Evaluate("((2))*((3+1)*2)"), 16.0L);
    EXPECT_EQ(Evaluate("1+1=2"), 1.0L);
    EXPECT_EQ(Evaluate("3=3"), 1.0L);
    EXPECT_EQ(Evaluate("3=4"), 0.0L);
    EXPECT_EQ(Evaluate("1|0"), 1.0L);
    EXPECT_EQ(Evaluate("1&0"), 0.0L);
    EXPECT_EQ(Evaluate("1 2"), 12.0L);  // blanks and tabs are removed
    EXPECT_EQ(Evaluate(" 4\t+ 1 "), 5.0L);
}

TEST(Evaluator, Remainder)
{
    EXPECT_EQ(Evaluate("10%4"), 2.0L);
    EXPECT_EQ(Evaluate("-7%2"), -1.0L);
    EXPECT_EQ(Evaluate("7%-2"), 1.0L);
    EXPECT_EQ(Evaluate("7.9%2.9"), 1.0L);  // operands truncated first
    EXPECT_EQ(Evaluate("-9223372036854775808%-1"), 0.0L);
}

TEST(Evaluator, Signs)
{
    EXPECT_EQ(Evaluate("--5"), 5.0L);
    EXPECT_EQ(Evaluate("2*-3"), -6.0L);
    EXPECT_EQ(Evaluate("5-3"), 2.0L);
    EXPECT_EQ(Evaluate("5--3"), 8.0L);
    EXPECT_EQ(Evaluate("2-(-3)"), 5.0L);
    EXPECT_EQ(Evaluate("2^-1"), 0.5L);
    EXPECT_EQ(Evaluate("-3^2"), 9.0L);  // the sign belongs to the operand
    EXPECT_NEAR(Evaluate("2e-3"), 0.002L, 1e-18L);
    EXPECT_NEAR(Evaluate("2E-3*1000"), 2.0L, 1e-15L);
    EXPECT_EQ(Evaluate("abs-4"), 4.0L);
    // A group's negative value after a function name inside an expression.
    EXPECT_EQ(Evaluate("2*abs(-4)"), 8.0L);
    EXPECT_EQ(Evaluate("1+sqrt(-(-9))"), 4.0L);
    EXPECT_EQ(Evaluate("sqrtabs(-16)"), 4.0L);
}

TEST(Evaluator, FunctionsAndConstants)
{
    EXPECT_NEAR(Evaluate("pi/2"), std::numbers::pi_v<long double> / 2, 1e-17L);
    EXPECT_EQ(Evaluate("PI"), std::numbers::pi_v<long double>);
    EXPECT_EQ(Evaluate("-e"), -std::numbers::e_v<long double>);
    EXPECT_NEAR(Evaluate("sin(pi/2)"), 1.0L, 1e-17L);
    EXPECT_NEAR(Evaluate("sin0.5"), std::sin(0.5L), 1e-18L);
    EXPECT_EQ(Evaluate("sqrtsqrt16"), 2.0L);
    EXPECT_NEAR(Evaluate("cosec(1)"), 1.0L / std::sin(1.0L), 1e-17L);  // not cos of "ec1"
    EXPECT_NEAR(Evaluate("arctanh0.5"), std::atanh(0.5L), 1e-18L);
    EXPECT_NEAR(Evaluate("log1000"), 3.0L, 1e-17L);
    EXPECT_NEAR(Evaluate("ln(e)"), 1.0L, 1e-17L);
    EXPECT_EQ(Evaluate("frac(-2.5)"), -0.5L);
    EXPECT_EQ(Evaluate("int(-2.7)"), -2.0L);
    EXPECT_EQ(Evaluate("round2.5"), 2.0L);
    EXPECT_EQ(Evaluate("round3.5"), 4.0L);
    EXPECT_EQ(Evaluate("ceil(-2.5)"), -2.0L);
    EXPECT_EQ(Evaluate("floor(-2.5)"), -3.0L);
    EXPECT_EQ(Evaluate("Abs(-2)"), 2.0L);
}

TEST(Evaluator, FactorialAndHex)
{
    EXPECT_EQ(Evaluate("5!"), 120.0L);
    EXPECT_EQ(Evaluate("0!"), 1.0L);
    EXPECT_EQ(Evaluate("-3!"), -6.0L);
    EXPECT_EQ(Evaluate("3!!"), 720.0L);
    EXPECT_EQ(Evaluate("2^3!"), 64.0L);
    EXPECT_EQ(Evaluate("$FF"), 255.0L);
    EXPECT_EQ(Evaluate("$1f+1"), 32.0L);
    EXPECT_EQ(Evaluate("$FFFFFFFF"), -1.0L);  // a 32-bit integer
    EXPECT_EQ(ErrorOf("2.5!"), Message("! (factoral) applicable to integers only"));
    for (const char* entry : {"$G", "$", "$100000000", "$1.5"})
        EXPECT_EQ(ErrorOf(entry), Message("invalid use of $ (hex function)")) << entry;
}

TEST(Evaluator, MalformedEntries)
{
    EXPECT_EQ(ErrorOf(""), Message("entry cannot be blank"));
    EXPECT_EQ(ErrorOf("2*()"), Message("entry cannot be blank"));
    EXPECT_EQ(ErrorOf("   "), Message("invalid expression"));
    EXPECT_EQ(ErrorOf("3+"), Message("invalid expression"));
    EXPECT_EQ(ErrorOf("1+2)"), Message("() (parentheses) do not match"));
    EXPECT_EQ(ErrorOf(")("), Message("() (parentheses) do not match"));
    for (const char* entry : {"(1+2", "abc", "*3", "1.2.3", "inf", "sin"})
        EXPECT_EQ(ErrorOf(entry), Message("invalid character(s) in expression")) << entry;
}

TEST(Evaluator, ArithmeticFaultsAreInputErrors)
{
    for (const char* entry :
         {"1/0", "5%0", "0^-1", "ln0", "log(-1)", "sqrt(-4)", "arcsin2", "arccosh0.5", "arctanh1", "(-8)^(1/3)",
          "cosec0", "1e5000", "1e3000*1e3000", "ceil(3e9)", "1e19%3", "2000!", "cosh(20000)"}) {
        EXPECT_THROW(Evaluate(entry), EAssignError) << entry;
        EXPECT_EQ(ErrorOf(entry).rfind("Entry could not be evaluated:\n", 0), 0u) << entry;
    }
}

TEST(Evaluator, IntermediateResultsKeepTheirMagnitude)
{
    // Group values written back with exponents must read again as numbers.
    EXPECT_EQ(Evaluate("(1e20)*2"), 2e20L);
    EXPECT_NEAR(Evaluate("(1e-20)*2"), 2e-20L, 1e-35L);
    // Written back with 18 significant digits, 2^70 loses its last ones.
    EXPECT_NEAR(Evaluate("(2^70)/2^69"), 2.0L, 1e-16L);
}

// A group's value goes back into the text as the numeric field writes it:
// zero without a sign, fixed notation down to 0.00001.
TEST(Evaluator, GroupValuesWrittenBackAsTheFieldShowsThem)
{
    EXPECT_EQ(Evaluate("2(int(0-0.5))"), 20.0L);  // "2" then "0", not "2-0"
    EXPECT_EQ(Evaluate("2(0.00002)"), 20.00002L);
    EXPECT_EQ(Evaluate("2(0.000002)"), Evaluate("22E-6"));
    EXPECT_EQ(Evaluate("3*(0*-1)"), 0.0L);
    EXPECT_FALSE(std::signbit(Evaluate("(0*-1)")));
}

TEST(Evaluator, NumbersBelowTheRangeAreZeroOrDenormal)
{
    EXPECT_EQ(Evaluate("1e-5000"), 0.0L);
    EXPECT_EQ(Evaluate("2*1E-5000+1"), 1.0L);
    const long double denormal = Evaluate("1e-4940");
    EXPECT_GT(denormal, 0.0L);
    EXPECT_LT(denormal, std::numeric_limits<long double>::min());
    EXPECT_EQ(Evaluate("(1e-4940)"), denormal);
    EXPECT_EQ(ErrorOf("1e5000"), Message("number out of range"));
}

TEST(Evaluator, UsesTheLocaleDecimalSeparator)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(Evaluate("1,5*2"), 3.0L);
    EXPECT_EQ(Evaluate("(1,25)*2"), 2.5L);  // written back with a comma
    EXPECT_EQ(ErrorOf("1.5"), Message("invalid character(s) in expression"));
    std::setlocale(LC_NUMERIC, saved.c_str());
}
