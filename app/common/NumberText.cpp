#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

std::string GeneralNumberText(long double value, int digits, std::string_view point, int exponentDigits)
{
    if (value == 0)
        return "0";
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";

    // Rounded to the digits first: the rounded exponent decides the form.
    char buffer[64];
    char* const end =
        std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::scientific, digits - 1).ptr;
    *end = '\0';
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));  // "-1.2345679e+08"
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(buffer + e + 1);
    std::string significant;
    for (char c : scientific.substr(0, e))
        if (c >= '0' && c <= '9')
            significant += c;
    while (significant.size() > 1 && significant.back() == '0')
        significant.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent < -5 || exponent >= digits) {
        text += significant[0];
        if (significant.size() > 1)
            text += std::string(point) + significant.substr(1);
        std::string power = std::to_string(std::abs(exponent));
        if (static_cast<int>(power.size()) < exponentDigits)
            power.insert(0, static_cast<std::size_t>(exponentDigits) - power.size(), '0');
        text += (exponent < 0 ? "E-" : "E") + power;
    } else if (exponent < 0) {
        text += "0" + std::string(point) + std::string(static_cast<std::size_t>(-exponent - 1), '0') + significant;
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (significant.size() <= whole)
            text += significant + std::string(whole - significant.size(), '0');
        else
            text += significant.substr(0, whole) + std::string(point) + significant.substr(whole);
    }
    return text;
}
