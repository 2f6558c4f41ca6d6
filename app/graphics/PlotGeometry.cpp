#include "PlotGeometry.h"

#include "GraphPlot.h"
#include "NumberText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace {

void Extend(TAxisRange& range, long double value)
{
    if (value < range.Min)
        range.Min = value;
    else if (value > range.Max)
        range.Max = value;
}

// value rounded up (or down) to a multiple of unit, taking a quotient within
// rounding noise of a whole number as that number, so that 2.5 stays 2.5 in
// tenths.
long double RoundToUnit(long double value, long double unit, bool up)
{
    const long double quotient = value / unit;
    const long double nearest = std::nearbyint(quotient);
    if (std::fabs(quotient - nearest) <= 1e-9L * std::max(1.0L, std::fabs(nearest)))
        return nearest * unit;
    return (up ? std::ceil(quotient) : std::floor(quotient)) * unit;
}

// Pixel offset of a fraction of a length, kept within what a device can take
// when zoomed far in; a value that is not a number lands on the near edge.
int PixelOffset(long double fraction, int length)
{
    const long double offset = fraction * length;
    if (std::isnan(offset))
        return 0;
    return static_cast<int>(std::lround(std::clamp(offset, -1.0e7L, 1.0e7L)));
}

long double Fraction(long double value, const TAxisRange& range) { return (value - range.Min) / range.Span(); }

// Lowest index i <= 0 with i * step >= min (a tick on the end of the range,
// within rounding noise, counts as inside).
int FirstTick(long double min, long double step)
{
    const long double limit = min - step * 1e-9L;
    int i = static_cast<int>(std::clamp(std::ceil(min / step), -1.0e9L, 0.0L));
    while (i < 0 && i * step < limit)
        ++i;
    while ((i - 1) * step >= limit)
        --i;
    return i;
}

// Highest index i >= 0 with i * step <= max, likewise.
int LastTick(long double max, long double step)
{
    const long double limit = max + step * 1e-9L;
    int i = static_cast<int>(std::clamp(std::floor(max / step), 0.0L, 1.0e9L));
    while (i > 0 && i * step > limit)
        --i;
    while ((i + 1) * step <= limit)
        ++i;
    return i;
}

}  // namespace

TDataRange GraphDataRange(const TGraphPlot& graph)
{
    TDataRange range;
    for (int i = 0; i < graph.LineCount(); ++i)
        for (const TFloatPoint& point : graph.Line(i).Points) {
            Extend(range.X, point.X);
            Extend(range.Y, point.Y);
        }
    for (const TFloatPoint& point : graph.Measured) {
        Extend(range.X, point.X);
        Extend(range.Y, point.Y);
    }
    range.X = RoundAxisRange(range.X);
    range.Y = RoundAxisRange(range.Y);
    return range;
}

TAxisRange RoundAxisRange(TAxisRange range)
{
    if (range.Max == range.Min) {
        range.Max += 0.01L;
        range.Min -= 0.01L;
    }
    const long double decade = std::log10(range.Span());
    const long double power = std::floor(decade);
    long double unit = std::pow(10.0L, power);
    if (decade - power < std::log10(3.0L))
        unit /= 10;
    auto outward = [unit](long double value) { return RoundToUnit(value, unit, value > 0); };
    return {outward(range.Min), outward(range.Max)};
}

int TextUnit(int fontHeight, int sizeFont) { return std::abs(fontHeight) * sizeFont / 10; }

TPixelRect ScreenPlotRect(int width, int height, int px, int py, int h, bool xOnTop, bool hasTitle, bool titleOnTop)
{
    TPixelRect rect;
    rect.Left = 2 * h + px / 8 + h / 8;
    rect.Right = width - px / 4 - h / 2;
    if (xOnTop) {
        rect.Top = 2 * h + py / 8 + h / 8;
        rect.Bottom = height - py / 4 - h / 2;
    } else {
        rect.Top = h / 2 + py / 4;
        rect.Bottom = height - 2 * h - py / 8 - h / 8;
    }
    if (hasTitle) {
        if (titleOnTop)
            rect.Top += h / 8 + h;
        else
            rect.Bottom -= h;
    }
    return rect;
}

int MapX(long double x, const TAxisRange& range, const TPixelRect& rect)
{
    return PixelOffset(Fraction(x, range), rect.Right - rect.Left) + rect.Left;
}

int MapY(long double y, const TAxisRange& range, const TPixelRect& rect, bool xOnTop)
{
    const int e = PixelOffset(Fraction(y, range), rect.Bottom - rect.Top);
    return xOnTop ? rect.Top + e : rect.Bottom - e;
}

long double UnmapX(int x, const TAxisRange& range, const TPixelRect& rect)
{
    const int length = rect.Right - rect.Left;
    return length == 0 ? range.Min : range.Min + range.Span() * (x - rect.Left) / length;
}

long double UnmapY(int y, const TAxisRange& range, const TPixelRect& rect, bool xOnTop)
{
    const int length = rect.Bottom - rect.Top;
    const int e = xOnTop ? y - rect.Top : rect.Bottom - y;
    return length == 0 ? range.Min : range.Min + range.Span() * e / length;
}

TTicks AxisTicks(const TAxisRange& range, int divisions)
{
    if (divisions <= 0)
        return {};
    const long double raw = range.Span() / divisions;
    if (!(raw > 0) || !std::isfinite(raw))
        return {};
    const long double g = std::pow(10.0L, std::floor(std::log10(raw)));
    // Whole multiples of g count as whole despite rounding noise.
    const long double k = std::trunc(raw / g * (1 + 1e-12L));
    const long double major = k < 2 ? g : k < 5 ? 2 * g : k < 9 ? 5 * g : 10 * g;
    TTicks ticks;
    ticks.Step = major / 5;
    ticks.First = FirstTick(range.Min, ticks.Step);
    ticks.Last = LastTick(range.Max, ticks.Step);
    return ticks;
}

std::string TickLabel(long double value) { return GeneralNumberText(value, 6, ".", 2); }

const std::array<TRgb, 17> Palette = {{
    {0, 0, 0},        // black
    {0, 0, 255},      // blue
    {255, 0, 0},      // red
    {0, 128, 0},      // green
    {128, 0, 128},    // purple
    {128, 0, 0},      // maroon
    {0, 0, 128},      // navy
    {255, 0, 255},    // fuchsia
    {128, 128, 0},    // olive
    {0, 128, 128},    // teal
    {128, 128, 128},  // grey
    {0, 255, 0},      // lime
    {128, 128, 128},  // grey
    {192, 192, 192},  // silver
    {192, 192, 192},  // silver
    {255, 255, 0},    // yellow
    {0, 255, 255},    // aqua
}};

TRgb PaletteColour(int index) { return Palette[static_cast<std::size_t>(index) % Palette.size()]; }

const std::array<TRgb, 8> PrintPalette = {{
    {0, 0, 0},        // black
    {0, 70, 200},     // blue
    {200, 0, 0},      // red
    {0, 120, 0},      // green
    {130, 0, 150},    // purple
    {170, 90, 0},     // brown
    {0, 120, 130},    // teal
    {100, 100, 100},  // dark grey
}};

TRgb PrintColour(int index) { return PrintPalette[static_cast<std::size_t>(index) % PrintPalette.size()]; }

int PrintLineStyle(int index) { return static_cast<int>(static_cast<std::size_t>(index) / PrintPalette.size() % 4); }

int MarkerShape(int curveIndex) { return curveIndex % 10 + 1; }

std::vector<TPixelPoint> MarkerOutline(TPixelPoint at, int curveIndex, int px, int py)
{
    constexpr double pi = std::numbers::pi;
    const int shape = MarkerShape(curveIndex);
    std::vector<double> angles;
    if (shape == 1) {
        for (int k = 0; k <= 3; ++k)
            angles.push_back(pi + k * 2 * pi / 3);
    } else if (shape == 2) {
        for (int k = 0; k <= 4; ++k)
            angles.push_back(pi / 4 + k * pi / 2);
    } else {
        for (int k = 0; k <= shape; ++k)
            angles.push_back(k * 2 * pi / shape);
    }
    // Offsets of exactly half a pixel round away from zero whatever the
    // rounding noise of sin and cos, so the shapes stay symmetric.
    auto offset = [](double unit, int radius) { return static_cast<int>(std::lround(unit * radius * (1 + 1e-12))); };
    std::vector<TPixelPoint> outline;
    for (double a : angles)
        outline.push_back({at.X + offset(std::sin(a), px / 32), at.Y - offset(std::cos(a), py / 32)});
    return outline;
}
