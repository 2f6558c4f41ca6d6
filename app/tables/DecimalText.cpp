#include "DecimalText.h"

#include <charconv>
#include <clocale>
#include <cmath>

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
    // Checked here and rewritten with "." for std::from_chars, which neither
    // depends on the locale nor accepts a leading "+".
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
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range)
        return {TDecimal::OutOfRange, 0.0L};
    if (error != std::errc() || end != plain.data() + plain.size())
        return notANumber;
    return {TDecimal::Ok, value};
}

std::string LocaleDecimalPoint() {
    const std::lconv* conventions = std::localeconv();
    return conventions && conventions->decimal_point ? conventions->decimal_point : ".";
}

std::string GeneralFloatText(long double value, int digits, std::string_view decimalPoint)
{
    if (value == 0)
        return "0";
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::scientific, digits - 1).ptr;
    const std::string sci(buffer, end);  // such as "-1.2345679e+08"
    if (!std::isfinite(value))
        return sci;
    const auto e = sci.find('e');
    const int exponent = std::stoi(sci.substr(e + 1));
    const std::string mantissa = sci.substr(0, e);
    const bool negative = mantissa[0] == '-';
    std::string significant;
    for (char c : mantissa)
        if (IsDigit(c))
            significant += c;
    while (significant.size() > 1 && significant.back() == '0')
        significant.pop_back();

    std::string text = negative ? "-" : "";
    const std::string point(decimalPoint);
    if (exponent < -5 || exponent >= digits) {
        text += significant[0];
        if (significant.size() > 1)
            text += point + significant.substr(1);
        text += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        text += "0" + point + std::string(-exponent - 1, '0') + significant;
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (significant.size() <= whole)
            text += significant + std::string(whole - significant.size(), '0');
        else
            text += significant.substr(0, whole) + point + significant.substr(whole);
    }
    return text;
}
