#include "DecimalText.h"

#include <clocale>
#include <cmath>
#include <cstdlib>

#include <locale.h>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos;
}

}  // namespace

TDecimal ParseDecimal(std::string_view text, std::string_view decimalPoint) {
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

    // strtold in the "C" locale, unlike std::from_chars, gives a number too
    // small for the format as zero or as its denormal instead of an error.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    char* end = nullptr;
    const long double value = strtold_l(plain.c_str(), &end, cLocale);
    if (end != plain.c_str() + plain.size())
        return notANumber;
    if (std::isinf(value))
        return {TDecimal::OutOfRange, 0.0L};
    return {TDecimal::Ok, value};
}

std::string LocaleDecimalPoint() {
    const std::lconv* conventions = std::localeconv();
    return conventions && conventions->decimal_point ? conventions->decimal_point : ".";
}
