#include "DecimalText.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <locale.h>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos;
}

// The value of a checked number text (sign, digits, ".", digits, exponent)
// where the long double arithmetic is exact up to one rounding: at most 19
// significant digits, an integer below 2^64 that a long double holds, times
// or divided by a power of ten up to 10^27, which it holds as well. That one
// correctly rounded operation gives what the general conversion gives.
// False for other texts.
bool ExactlyRounded(std::string_view plain, long double& value)
{
    constexpr int MaxDigits = 19;
    constexpr int MaxPower = 27;
    std::size_t pos = 0;
    const bool negative = pos < plain.size() && plain[pos] == '-';
    if (negative)
        ++pos;
    uint64_t mantissa = 0;
    int digits = 0;
    int exponent = 0;
    bool fraction = false;
    for (; pos < plain.size() && plain[pos] != 'e' && plain[pos] != 'E'; ++pos) {
        if (plain[pos] == '.') {
            fraction = true;
            continue;
        }
        if (mantissa == 0 && plain[pos] == '0') {
            exponent -= fraction ? 1 : 0;
            continue;
        }
        if (++digits > MaxDigits)
            return false;
        mantissa = mantissa * 10 + static_cast<uint64_t>(plain[pos] - '0');
        exponent -= fraction ? 1 : 0;
    }
    if (pos < plain.size()) {
        ++pos;
        const bool down = pos < plain.size() && plain[pos] == '-';
        if (pos < plain.size() && (plain[pos] == '-' || plain[pos] == '+'))
            ++pos;
        int written = 0;
        for (; pos < plain.size(); ++pos) {
            written = written * 10 + (plain[pos] - '0');
            if (written > 1000)
                return false;
        }
        exponent += down ? -written : written;
    }
    if (exponent > MaxPower || exponent < -MaxPower)
        return false;
    long double power = 1.0L;
    for (int k = 0; k < (exponent < 0 ? -exponent : exponent); ++k)
        power *= 10.0L;
    const long double whole = static_cast<long double>(mantissa);
    value = exponent < 0 ? whole / power : whole * power;
    if (negative)
        value = -value;
    return true;
}

}  // namespace

TDecimal ParseDecimal(std::string_view text, std::string_view decimalPoint)
{
    const TDecimal notANumber{TDecimal::NotANumber, 0.0L};
    // Checked here and rewritten with "." and without a leading "+", so that
    // only the syntax above reaches the conversion.
    std::string plain;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-')
            plain += '-';
        ++pos;
    }
    std::size_t start = pos;
    pos = SkipDigits(text, pos);
    std::size_t mantissaDigits = pos - start;
    plain += text.substr(start, pos - start);
    if (!decimalPoint.empty() && text.substr(pos, decimalPoint.size()) == decimalPoint) {
        pos += decimalPoint.size();
        start = pos;
        pos = SkipDigits(text, pos);
        mantissaDigits += pos - start;
        plain += '.';
        plain += text.substr(start, pos - start);
    }
    if (mantissaDigits == 0)
        return notANumber;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        start = pos++;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        const std::size_t digitsStart = pos;
        pos = SkipDigits(text, pos);
        if (pos == digitsStart)
            return notANumber;
        plain += text.substr(start, pos - start);
    }
    if (pos != text.size())
        return notANumber;

    long double value = 0.0L;
    if (ExactlyRounded(plain, value))
        return {TDecimal::Ok, value};
    // strtold in the "C" locale, unlike std::from_chars, gives a number too
    // small for the format as zero or as its denormal instead of an error.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    char* end = nullptr;
    value = strtold_l(plain.c_str(), &end, cLocale);
    if (end != plain.c_str() + plain.size())
        return notANumber;
    if (std::isinf(value))
        return {TDecimal::OutOfRange, 0.0L};
    return {TDecimal::Ok, value};
}

std::string LocaleDecimalPoint()
{
    const std::lconv* conventions = std::localeconv();
    return conventions && conventions->decimal_point ? conventions->decimal_point : ".";
}
