#include "GraphPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

TLine::TLine(TGraphPlot& graph, int number, std::size_t pointCount)
    : Points(pointCount), Number(number), FGraph(&graph)
{
}

void TGraphPlot::SetUnits(int units)
{
    FUnits = std::clamp(units, 1, 3);
}

void TGraphPlot::SetLineCount(int count)
{
    const std::size_t wanted = static_cast<std::size_t>(std::max(count, 0));
    if (wanted < FLines.size()) {
        FLines.resize(wanted);
        return;
    }
    while (FLines.size() < wanted) {
        // A new curve starts with as many points as the first curve has.
        const std::size_t points = FLines.empty() ? 0 : FLines.front()->Points.size();
        FLines.push_back(std::make_unique<TLine>(*this, static_cast<int>(FLines.size()) + 1, points));
    }
}

void TGraphPlot::SetPointCount(int count)
{
    const std::size_t wanted = static_cast<std::size_t>(std::max(count, 0));
    for (auto& line : FLines)
        line->Points.resize(wanted);
}

std::string TGraphPlot::LegendText(int index) const
{
    const TLine& line = Line(index);
    if (!line.Name.empty())
        return line.Name;
    return CurveName + FormatGeneral(line.Number, 15, 0);
}

namespace {

std::string AxisText(const std::string& caption, const std::string& units, int system)
{
    if (units.empty())
        return caption;
    return caption + " (" + ExpandPlotUnits(units, system) + ")";
}

void ReplaceAll(std::string& text, const std::string& token, const std::string& name)
{
    for (std::size_t at = text.find(token); at != std::string::npos;
         at = text.find(token, at + name.size()))
        text.replace(at, token.size(), name);
}

// Replaces the first of the tokens (most specific first) that occurs in the
// text, every occurrence of it.
void ReplaceFirstPresent(std::string& text, const char* const tokens[3], const char* const names[3])
{
    for (int i = 0; i < 3; ++i)
        if (text.find(tokens[i]) != std::string::npos) {
            ReplaceAll(text, tokens[i], names[i]);
            return;
        }
}

} // namespace

std::string TGraphPlot::XAxisText() const
{
    return AxisText(XCaption, XUnits, FUnits);
}

std::string TGraphPlot::YAxisText() const
{
    return AxisText(YCaption, YUnits, FUnits);
}

std::string ExpandPlotUnits(const std::string& units, int system)
{
    if (system != 1 && system != 2)
        return units;
    static const char* const forceTokens[3] = {"F2", "F1", "F"};
    static const char* const lengthTokens[3] = {"L2", "L1", "L"};
    static const char* const englishForces[3] = {"tons", "kips", "lbs"};
    static const char* const siForces[3] = {"kN", "kN", "kN"};
    static const char* const englishLengths[3] = {"ft", "in", "in"};
    static const char* const siLengths[3] = {"m", "mm", "m"};
    std::string text = units;
    ReplaceFirstPresent(text, forceTokens, system == 1 ? englishForces : siForces);
    ReplaceFirstPresent(text, lengthTokens, system == 1 ? englishLengths : siLengths);
    return text;
}

std::string FormatGeneral(long double value, int precision, int exponentDigits)
{
    if (value == 0 || !std::isfinite(value)) {
        if (value == 0)
            return "0";
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    }
    // The significant digits after rounding decide the form.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", precision - 1, value);
    const char* e = std::strchr(buffer, 'e');
    const int exponent = std::atoi(e + 1);
    std::string mantissa(static_cast<const char*>(buffer), e);

    auto dropTrailingZeros = [](std::string& text) {
        if (text.find('.') == std::string::npos)
            return;
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    };

    if (exponent >= precision || std::fabs(value) < 0.00001L) {
        dropTrailingZeros(mantissa);
        std::string digits = std::to_string(std::abs(exponent));
        if (static_cast<int>(digits.size()) < exponentDigits)
            digits.insert(0, exponentDigits - digits.size(), '0');
        return mantissa + "E" + (exponent < 0 ? "-" : "") + digits;
    }
    std::snprintf(buffer, sizeof buffer, "%.*Lf", std::max(precision - 1 - exponent, 0), value);
    std::string text = buffer;
    dropTrailingZeros(text);
    return text;
}
