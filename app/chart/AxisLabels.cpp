#include "AxisLabels.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace {

struct TPattern {
    bool Grouping = false;  // thousands separators
    int MinInteger = 0;     // integer digits always shown
    int MinDecimals = 0;
    int MaxDecimals = 0;
    bool Exponent = false;
    bool ExponentPlus = false;  // "E+": sign also when positive
    int MinExponentDigits = 0;
};

TPattern ParsePattern(std::string_view format)
{
    const auto bad = [&format] { return std::invalid_argument("Unknown axis label format: " + std::string(format)); };
    TPattern p;
    std::size_t i = 0;
    bool placeholders = false;
    for (; i < format.size() && (format[i] == '#' || format[i] == '0' || format[i] == ','); ++i) {
        placeholders = placeholders || format[i] != ',';
        if (format[i] == ',')
            p.Grouping = true;
        else if (format[i] == '0')
            ++p.MinInteger;
        else if (p.MinInteger > 0)
            throw bad();  // "0#" is no pattern
    }
    if (i < format.size() && format[i] == '.') {
        for (++i; i < format.size() && (format[i] == '0' || format[i] == '#'); ++i) {
            if (format[i] == '0') {
                if (p.MaxDecimals > p.MinDecimals)
                    throw bad();  // "#0" after the point
                ++p.MinDecimals;
            }
            ++p.MaxDecimals;
        }
    }
    if (i < format.size() && (format[i] == 'E' || format[i] == 'e')) {
        p.Exponent = true;
        if (++i >= format.size() || (format[i] != '-' && format[i] != '+'))
            throw bad();
        p.ExponentPlus = format[i++] == '+';
        for (; i < format.size() && format[i] == '0'; ++i)
            ++p.MinExponentDigits;
        if (p.MinExponentDigits == 0)
            throw bad();
    }
    if (i != format.size() || (p.Grouping && p.Exponent) || (!placeholders && p.MaxDecimals == 0))
        throw bad();
    return p;
}

// Decimal digits of a magnitude: value = 0.d1d2d3... x 10^(Exponent + 1),
// that is, the first digit stands at 10^Exponent.
struct TDigits {
    std::string Digits;  // no leading zeros; empty for 0
    int Exponent = 0;
};

TDigits DigitsOf(double magnitude)
{
    if (magnitude == 0)
        return {};
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 16).ptr;
    const std::string text(buffer, end);  // "1.2345000000000000e+03"
    const auto e = text.find('e');
    TDigits result;
    for (std::size_t k = 0; k < e; ++k)
        if (text[k] != '.')
            result.Digits += text[k];
    result.Exponent = std::stoi(text.substr(e + 1));
    return result;
}

// Keeps the digits down to 10^lowest, rounding half away from zero.
TDigits RoundAt(TDigits d, int lowest)
{
    const int keep = d.Exponent - lowest + 1;
    if (d.Digits.empty() || keep >= static_cast<int>(d.Digits.size()))
        return d;
    if (keep < 0)
        return {};
    const bool up = d.Digits[keep] >= '5';
    d.Digits.resize(keep);
    if (up) {
        int k = keep - 1;
        while (k >= 0 && d.Digits[k] == '9')
            d.Digits[k--] = '0';
        if (k >= 0) {
            ++d.Digits[k];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exponent;
        }
    }
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    return d;
}

// The digit standing at 10^power.
char DigitAt(const TDigits& d, int power)
{
    const int index = d.Exponent - power;
    return index >= 0 && index < static_cast<int>(d.Digits.size()) ? d.Digits[index] : '0';
}

std::string Fraction(const TDigits& d, int lowestPower, const TPattern& p)
{
    std::string fraction;
    for (int k = 1; k <= p.MaxDecimals; ++k)
        fraction += DigitAt(d, lowestPower - k);
    while (static_cast<int>(fraction.size()) > p.MinDecimals && fraction.back() == '0')
        fraction.pop_back();
    return fraction;
}

}  // namespace

std::string AxisLabelText(double value, std::string_view format, std::string_view decimalPoint,
                          std::string_view thousandsSeparator)
{
    const TPattern p = ParsePattern(format);
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF";

    std::string integer;
    std::string fraction;
    std::string exponent;
    bool zero;
    if (p.Exponent) {
        // One digit before the point.
        const TDigits d0 = DigitsOf(std::fabs(value));
        const TDigits d = RoundAt(d0, d0.Exponent - p.MaxDecimals);
        zero = d.Digits.empty();
        const int power = zero ? 0 : d.Exponent;
        integer = std::string(1, zero ? '0' : d.Digits[0]);
        fraction = Fraction(d, power, p);
        std::string digits = std::to_string(std::abs(power));
        if (static_cast<int>(digits.size()) < p.MinExponentDigits)
            digits.insert(0, p.MinExponentDigits - digits.size(), '0');
        exponent = "E" + std::string(power < 0 ? "-" : p.ExponentPlus ? "+" : "") + digits;
    } else {
        const TDigits d = RoundAt(DigitsOf(std::fabs(value)), -p.MaxDecimals);
        zero = d.Digits.empty();
        const int top = std::max(zero ? 0 : d.Exponent + 1, p.MinInteger);
        for (int power = top - 1; power >= 0; --power) {
            integer += DigitAt(d, power);
            if (p.Grouping && power > 0 && power % 3 == 0)
                integer += thousandsSeparator;
        }
        fraction = Fraction(d, 0, p);
    }
    std::string text = zero ? "" : value < 0 ? "-" : "";
    text += integer;
    if (!fraction.empty())
        text += std::string(decimalPoint) + fraction;
    return text + exponent;
}

std::string_view ChooseAxisFormat(double minimum, double maximum)
{
    const double low = std::fabs(minimum);
    const double high = std::fabs(maximum);
    if (minimum == 0 && maximum == 0)
        return FixedAxisFormat;
    if (low > 100000 || high > 100000 || (low < 0.001 && high < 0.001))
        return ExponentAxisFormat;
    return FixedAxisFormat;
}

std::vector<double> AxisTicks(double minimum, double maximum, int maxLabels)
{
    std::vector<double> ticks;
    if (!(minimum < maximum) || !std::isfinite(maximum - minimum))
        return ticks;
    maxLabels = std::max(maxLabels, 2);
    // The smallest step of 1, 2 or 5 x 10^k that gives no more than
    // maxLabels multiples in the range.
    const double rough = (maximum - minimum) / (maxLabels - 1);
    double step = std::pow(10.0, std::floor(std::log10(rough)));
    const auto count = [&](double s) { return std::floor(maximum / s + 1e-9) - std::ceil(minimum / s - 1e-9) + 1; };
    for (const double factor : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0}) {
        if (count(step * factor) <= maxLabels) {
            step *= factor;
            break;
        }
    }
    const double first = std::ceil(minimum / step - 1e-9);
    const double last = std::floor(maximum / step + 1e-9);
    for (double k = first; k <= last; ++k)
        ticks.push_back(k == 0 ? 0.0 : k * step);
    return ticks;
}
