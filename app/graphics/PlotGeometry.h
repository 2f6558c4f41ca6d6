#pragma once

// Device-independent computations of a plot window: axis ranges, the plot
// rectangle, the mapping between data and pixels, tick spacing and labels,
// curve colours and marker shapes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TGraphPlot;

struct TAxisRange {
    long double Min = 0;
    long double Max = 0;
    long double Span() const { return Max - Min; }
};

struct TDataRange {
    TAxisRange X;
    TAxisRange Y;
};

// Rectangle in device pixels; Right and Bottom are the far edges.
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TPixelRect&) const = default;
};

// Range of every point of every curve and of the measured values, with 0
// always inside, each axis widened when empty and rounded outward
// (RoundAxisRange).
TDataRange GraphDataRange(const TGraphPlot& graph);

// Widens an empty range to +-0.01 and rounds both ends away from zero to a
// multiple of a power of ten: the power at or below the span, or a tenth of
// it when the span is less than three times that power.
TAxisRange RoundAxisRange(TAxisRange range);

// Plot rectangle inside a drawing area of width x height pixels at px, py
// pixels per inch, with text unit h (font height scaled by the text scale).
TPixelRect ScreenPlotRect(int width, int height, int px, int py, int h, bool xOnTop, bool hasTitle, bool titleOnTop);

// Text unit: the font height scaled by a text scale in tenths.
int TextUnit(int fontHeight, int sizeFont);

// Data to pixels and back over a plot rectangle. With xOnTop the vertical
// axis grows downward from the top edge.
int MapX(long double x, const TAxisRange& range, const TPixelRect& rect);
int MapY(long double y, const TAxisRange& range, const TPixelRect& rect, bool xOnTop);
long double UnmapX(int x, const TAxisRange& range, const TPixelRect& rect);
long double UnmapY(int y, const TAxisRange& range, const TPixelRect& rect, bool xOnTop);

// Ticks of one axis: indices First..Last of multiples of Step; every fifth
// index carries a grid line and a label. Empty when First == Last.
struct TTicks {
    long double Step = 0;
    int First = 0;
    int Last = 0;
    bool Empty() const { return First == Last; }
};

// Ticks for a range split into about `divisions` major divisions (none when
// divisions is 0).
TTicks AxisTicks(const TAxisRange& range, int divisions);

// Tick label: plain notation with at most 6 significant digits ("15000",
// "0.0025"), the exponent form only for values beyond that.
std::string TickLabel(long double value);

struct TRgb {
    uint8_t R, G, B;
    bool operator==(const TRgb&) const = default;
};

// Curve colours on the screen and in pictures; a curve takes the colour of
// its index, whichever curves are active, so it keeps its colour in every
// view and output.
extern const std::array<TRgb, 17> Palette;
TRgb PaletteColour(int index);

// Curve colours on paper: all dark enough to read on white. Past them the
// colours repeat with the next line style.
extern const std::array<TRgb, 8> PrintPalette;
TRgb PrintColour(int index);
// Line style of a curve on paper: 0 solid, 1 dashed, 2 dotted, 3 dash-dotted.
int PrintLineStyle(int index);

// Shape of a curve's markers, 1..10: 1 a downward triangle, 2 a square,
// 3..10 a regular polygon of that many vertices with one at the top.
int MarkerShape(int curveIndex);

struct TPixelPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPixelPoint&) const = default;
};

// Closed outline of the marker of a curve around a pixel, of radius 1/32 inch.
std::vector<TPixelPoint> MarkerOutline(TPixelPoint at, int curveIndex, int px, int py);
