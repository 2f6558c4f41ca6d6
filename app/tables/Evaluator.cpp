#include "Evaluator.h"

#include "DecimalText.h"
#include "NumberText.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Reasons the user sees after the common first line.
constexpr const char* BlankEntry = "entry cannot be blank";
constexpr const char* UnmatchedParentheses = "() (parentheses) do not match";
constexpr const char* InvalidExpression = "invalid expression";
constexpr const char* InvalidCharacters = "invalid character(s) in expression";
constexpr const char* InvalidHex = "invalid use of $ (hex function)";
constexpr const char* FactorialOfFraction = "! (factoral) applicable to integers only";
// Arithmetic faults of well-formed entries.
constexpr const char* DivisionByZero = "division by zero";
constexpr const char* LogarithmDomain = "logarithm of zero or of a negative number";
constexpr const char* SquareRootDomain = "square root of a negative number";
constexpr const char* FunctionDomain = "argument outside the domain of the function";
constexpr const char* FractionalPower = "fractional power of a negative number";
constexpr const char* OutOfRange = "number out of range";

[[noreturn]] void Fail(const char* reason)
{
    throw EAssignError(std::string("Entry could not be evaluated:\n") + reason);
}

long double Checked(long double value)
{
    if (!std::isfinite(value))
        Fail(OutOfRange);
    return value;
}

enum class TFunction {
    ArcTanh,
    ArcTan,
    Cotan,
    Tanh,
    Tan,
    ArcCosh,
    ArcCos,
    Cosh,
    Cos,
    Sec,
    ArcSinh,
    ArcSin,
    Sinh,
    Sin,
    Cosec,
    Abs,
    Frac,
    Int,
    Ln,
    Round,
    Ceil,
    Floor,
    Log,
    Sqrt
};

struct TFunctionName {
    std::string_view Name;
    TFunction Function;
};

constexpr TFunctionName FunctionNames[] = {
    {"arctanh", TFunction::ArcTanh}, {"arctan", TFunction::ArcTan},   {"cotan", TFunction::Cotan},
    {"tanh", TFunction::Tanh},       {"tan", TFunction::Tan},         {"arccosh", TFunction::ArcCosh},
    {"arccos", TFunction::ArcCos},   {"cosh", TFunction::Cosh},       {"cos", TFunction::Cos},
    {"sec", TFunction::Sec},         {"arcsinh", TFunction::ArcSinh}, {"arcsin", TFunction::ArcSin},
    {"sinh", TFunction::Sinh},       {"sin", TFunction::Sin},         {"cosec", TFunction::Cosec},
    {"csc", TFunction::Cosec},       {"abs", TFunction::Abs},         {"frac", TFunction::Frac},
    {"int", TFunction::Int},         {"ln", TFunction::Ln},           {"round", TFunction::Round},
    {"ceil", TFunction::Ceil},       {"floor", TFunction::Floor},     {"log", TFunction::Log},
    {"sqrt", TFunction::Sqrt},
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = Lower(c);
    return result;
}

// The longest function name that starts `text` (already in small letters).
const TFunctionName* LeadingFunction(std::string_view text)
{
    const TFunctionName* found = nullptr;
    for (const TFunctionName& entry : FunctionNames)
        if (text.starts_with(entry.Name) && (!found || entry.Name.size() > found->Name.size()))
            found = &entry;
    return found;
}

// One function name or several in a row ("sin", "sqrtabs"), in any case.
bool IsFunctionNames(std::string_view text)
{
    const std::string lowered = Lowered(text);
    std::string_view rest(lowered);
    while (const TFunctionName* entry = LeadingFunction(rest))
        rest.remove_prefix(entry->Name.size());
    return !lowered.empty() && rest.empty();
}

long double ToInt32(long double value)
{
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        Fail(OutOfRange);
    return value;
}

long double Reciprocal(long double value)
{
    if (value == 0.0L)
        Fail(DivisionByZero);
    return 1.0L / value;
}

long double Apply(TFunction function, long double x)
{
    switch (function) {
    case TFunction::ArcTanh:
        if (!(std::fabs(x) < 1.0L))
            Fail(FunctionDomain);
        return std::atanh(x);
    case TFunction::ArcTan: return std::atan(x);
    case TFunction::Cotan: return Reciprocal(std::tan(x));
    case TFunction::Tanh: return std::tanh(x);
    case TFunction::Tan: return std::tan(x);
    case TFunction::ArcCosh:
        if (x < 1.0L)
            Fail(FunctionDomain);
        return std::acosh(x);
    case TFunction::ArcCos:
        if (std::fabs(x) > 1.0L)
            Fail(FunctionDomain);
        return std::acos(x);
    case TFunction::Cosh: return Checked(std::cosh(x));
    case TFunction::Cos: return std::cos(x);
    case TFunction::Sec: return Reciprocal(std::cos(x));
    case TFunction::ArcSinh: return std::asinh(x);
    case TFunction::ArcSin:
        if (std::fabs(x) > 1.0L)
            Fail(FunctionDomain);
        return std::asin(x);
    case TFunction::Sinh: return Checked(std::sinh(x));
    case TFunction::Sin: return std::sin(x);
    case TFunction::Cosec: return Reciprocal(std::sin(x));
    case TFunction::Abs: return std::fabs(x);
    case TFunction::Frac: return x - std::trunc(x);
    case TFunction::Int: return std::trunc(x);
    case TFunction::Ln:
        if (x <= 0.0L)
            Fail(LogarithmDomain);
        return std::log(x);
    case TFunction::Round: return std::nearbyint(x);  // halves to the even neighbour
    case TFunction::Ceil: return ToInt32(std::ceil(x));
    case TFunction::Floor: return ToInt32(std::floor(x));
    case TFunction::Log:
        if (x <= 0.0L)
            Fail(LogarithmDomain);
        return std::log10(x);
    case TFunction::Sqrt:
        if (x < 0.0L)
            Fail(SquareRootDomain);
        return std::sqrt(x);
    }
    return x;
}

// |x|·(|x|−1)·…·1 with the sign of x.
long double Factorial(long double x)
{
    if (x != std::trunc(x))
        Fail(FactorialOfFraction);
    long double product = 1.0L;
    for (long double k = std::fabs(x); k > 1.0L; k -= 1.0L)
        product = Checked(product * k);
    return x < 0.0L ? -product : product;
}

// "$" followed by a 32-bit integer in hexadecimal (small letters).
long double HexValue(std::string_view digits)
{
    if (digits.empty())
        Fail(InvalidHex);
    uint64_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            Fail(InvalidHex);
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > std::numeric_limits<uint32_t>::max())
            Fail(InvalidHex);
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// A constant, a hexadecimal or a decimal number (text in small letters).
long double PlainValue(const std::string& text)
{
    if (text == "pi" || text == "-pi")
        return text[0] == '-' ? -std::numbers::pi_v<long double> : std::numbers::pi_v<long double>;
    if (text == "e" || text == "-e")
        return text[0] == '-' ? -std::numbers::e_v<long double> : std::numbers::e_v<long double>;
    if (!text.empty() && text[0] == '$')
        return HexValue(std::string_view(text).substr(1));
    const TDecimal number = ParseDecimal(text, LocaleDecimalPoint());
    if (number.Status == TDecimal::OutOfRange)
        Fail(OutOfRange);
    if (number.Status != TDecimal::Ok)
        Fail(InvalidCharacters);
    return number.Value;
}

// Value of one operand: leading function names apply to the value of the rest
// of the text ("sqrtsqrt16" is 2), a trailing "!" takes the factorial of what
// stands before it. Unwound iteratively so that no entry can exhaust the stack.
long double OperandValue(std::string text)
{
    for (std::size_t pair = text.find("--"); pair != std::string::npos; pair = text.find("--"))
        text.erase(pair, 2);
    text = Lowered(text);

    std::vector<TFunction> functions;
    std::size_t start = 0;
    while (const TFunctionName* entry = LeadingFunction(std::string_view(text).substr(start))) {
        functions.push_back(entry->Function);
        start += entry->Name.size();
    }
    std::size_t end = text.size();
    while (end > start && text[end - 1] == '!')
        --end;

    long double value = PlainValue(text.substr(start, end - start));
    for (std::size_t i = end; i < text.size(); ++i)
        value = Factorial(value);
    for (auto function = functions.rbegin(); function != functions.rend(); ++function)
        value = Checked(Apply(*function, value));
    return value;
}

// A value written back into the text as the numeric field shows it: 18
// significant digits, the locale's decimal separator, zero without a sign
// (a "-0" would turn a following product negative) and an exponent without
// "+" (which would read as an operator).
std::string ValueText(long double value) { return GeneralNumberText(value, 18, LocaleDecimalPoint()); }

int64_t ToInt64(long double value)
{
    const long double truncated = std::trunc(value);
    // 2^63 is exact in long double; the range is [-2^63, 2^63).
    const long double limit = 9223372036854775808.0L;
    if (truncated < -limit || truncated >= limit)
        Fail(OutOfRange);
    return static_cast<int64_t>(truncated);
}

std::string Truth(bool value) { return value ? "1" : "0"; }

std::string Reduce(char op, const std::string& leftText, const std::string& rightText)
{
    const long double left = OperandValue(leftText);
    const long double right = OperandValue(rightText);
    switch (op) {
    case '^':
        if (left == 0.0L && right < 0.0L)
            Fail(DivisionByZero);
        if (left < 0.0L && right != std::trunc(right))
            Fail(FractionalPower);
        return ValueText(Checked(std::pow(left, right)));
    case '*': return ValueText(Checked(left * right));
    case '/':
        if (right == 0.0L)
            Fail(DivisionByZero);
        return ValueText(Checked(left / right));
    case '%': {
        const int64_t dividend = ToInt64(left);
        const int64_t divisor = ToInt64(right);
        if (divisor == 0)
            Fail(DivisionByZero);
        // INT64_MIN % -1 overflows in the hardware division; the remainder is 0.
        return std::to_string(divisor == -1 ? 0 : dividend % divisor);
    }
    case '&': return Truth(left != 0.0L && right != 0.0L);
    case '+': return ValueText(Checked(left + right));
    case '-': return ValueText(Checked(left - right));
    case '|': return Truth(left != 0.0L || right != 0.0L);
    default: return Truth(left == right);  // '='
    }
}

bool IsOperator(char c) { return std::string_view("^*/%&+|=").find(c) != std::string_view::npos; }

// A minus is a sign when it opens the text, follows an operator, an exponent
// letter or another minus, or follows function names, "!" or "$" that open
// its operand ("sin-1" and, after parentheses, "2*sin-1" and "sqrtabs-4").
bool IsSign(const std::string& text, std::size_t pos, const std::string& operand)
{
    if (pos == 0)
        return true;
    if (std::string_view("%&*+/=Ee^|-").find(text[pos - 1]) != std::string_view::npos)
        return true;
    return operand == "!" || operand == "$" || IsFunctionNames(operand);
}

}  // namespace

long double Evaluate(const std::string& text)
{
    if (text.empty())
        Fail(BlankEntry);
    std::string entry;
    for (char c : text)
        if (c != ' ' && c != '\t')
            entry += c;

    // Innermost groups first: each is replaced by its value as text.
    for (std::size_t close = entry.find(')'); close != std::string::npos; close = entry.find(')')) {
        const std::size_t open = entry.rfind('(', close);
        if (open == std::string::npos)
            Fail(UnmatchedParentheses);
        const long double value = Evaluate(entry.substr(open + 1, close - open - 1));
        entry.replace(open, close - open + 1, ValueText(value));
    }

    // Split into operands and operators; an operator may leave an empty
    // operand before it, but a trailing operator has none after it.
    std::vector<std::string> operands;
    std::vector<char> operators;
    std::string operand;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const char c = entry[i];
        if (IsOperator(c) || (c == '-' && !IsSign(entry, i, operand))) {
            operands.push_back(operand);
            operand.clear();
            operators.push_back(c);
        } else {
            operand += c;
        }
    }
    if (!operand.empty())
        operands.push_back(operand);
    if (operands.size() != operators.size() + 1)
        Fail(InvalidExpression);

    // Level by level, left to right: each reduction replaces operand, operator
    // and operand by the result, which is the left operand of what follows.
    for (std::string_view level : {"^", "*/%&", "+-|", "="}) {
        std::vector<std::string> remainingOperands{operands.front()};
        std::vector<char> remainingOperators;
        for (std::size_t i = 0; i < operators.size(); ++i) {
            if (level.find(operators[i]) != std::string_view::npos) {
                remainingOperands.back() = Reduce(operators[i], remainingOperands.back(), operands[i + 1]);
            } else {
                remainingOperators.push_back(operators[i]);
                remainingOperands.push_back(operands[i + 1]);
            }
        }
        operands = std::move(remainingOperands);
        operators = std::move(remainingOperators);
    }
    return OperandValue(operands.front());
}
