#pragma once

// What the mouse and the output devices do to a plot window's view, without
// a display: zooming into a rubber band and out around a click, the cursor
// read-out, keeping the legend inside the window, and the layout of a plot on
// a printed page or a saved picture.

#include "PlotGeometry.h"

#include <optional>
#include <string>

// A pixel pulled into a rectangle, edges included.
TPixelPoint ClampToRect(TPixelPoint point, const TPixelRect& rect);

// One axis zoomed to the span between two values (in either order). A span
// under 1/20 of the full range is widened to that around its centre and
// then shifted, keeping its width, into the full range.
TAxisRange ZoomAxis(long double a, long double b, const TAxisRange& full);

// The view zoomed to a rubber band from start to end over the plot
// rectangle; none when the band has no width or no height. The end is
// pulled into the plot first.
std::optional<TDataRange> ZoomToBand(const TDataRange& full, const TDataRange& view, TPixelPoint start, TPixelPoint end,
                                     const TPixelRect& plot, bool xOnTop);

// One axis zoomed out around a value: twice the span, at most the full
// range, and never beyond it.
TAxisRange ZoomOutAxis(const TAxisRange& view, const TAxisRange& full, long double centre);

// The view zoomed out around a clicked pixel of the plot.
TDataRange ZoomOut(const TDataRange& full, const TDataRange& view, TPixelPoint click, const TPixelRect& plot,
                   bool xOnTop);

// The data position under the cursor, pulled into the plot.
struct TDataPoint {
    long double X = 0;
    long double Y = 0;
};
TDataPoint CursorPoint(const TDataRange& view, TPixelPoint cursor, const TPixelRect& plot, bool xOnTop);

// Window caption while the cursor is over the window: the graph's caption
// and the data position under the cursor, each value with at most 5
// significant digits.
std::string CursorReadout(const std::string& caption, const TDataRange& view, TPixelPoint cursor,
                          const TPixelRect& plot, bool xOnTop);

// Top-left corner of a box of width x height moved so that it lies inside an
// area of areaWidth x areaHeight starting at (0, 0); a box larger than the
// area keeps its top-left corner at 0.
TPixelPoint KeepInside(TPixelPoint topLeft, int width, int height, int areaWidth, int areaHeight);

// A page margin in thousandths of an inch as device pixels at ppi pixels per
// inch, at least the device's unprintable border.
int MarginPixels(int thousandths, int ppi, int unprintable);

// Page margins in thousandths of an inch.
struct TPageMargins {
    int Left = 1000;
    int Top = 1000;
    int Right = 1000;
    int Bottom = 1000;
    bool operator==(const TPageMargins&) const = default;
};

// Drawing area on a page of pageWidth x pageHeight pixels (whole sheet,
// origin at its corner) inside the margins, each at least the unprintable
// border of its side.
TPixelRect PrintArea(int pageWidth, int pageHeight, int px, int py, const TPageMargins& margins,
                     const TPixelRect& unprintable);

// Plot rectangle of a printed page: the room for the captions and labels
// inside the drawing area, plus room for a title.
TPixelRect PrintPlotRect(const TPixelRect& area, int px, int py, int h, bool xOnTop, bool hasTitle, bool titleOnTop);

// Top-left corner of a legend box of boxWidth x boxHeight on a printed or
// saved canvas: where the on-screen legend sits in the window, scaled to the
// canvas's drawing area, and pulled inside that area when the box would
// reach beyond it.
TPixelPoint CanvasLegendOrigin(const TPixelRect& area, TPixelPoint screenLegend, int windowWidth, int windowHeight,
                               int boxWidth, int boxHeight);

// The colours of a saved bitmap: two, a palette of 16 (4 bits a pixel) or
// 256, 16-bit or 24-bit colour. SVG drawings keep every colour.
enum class TPictureColours { BlackAndWhite, Colours16, Colours256, HighColour, TrueColour };

// Size, resolution and colours of a saved picture.
struct TPictureSize {
    double HeightInches = 4;
    double WidthInches = 6;
    int PixelsPerInch = 72;
    TPictureColours Colours = TPictureColours::Colours16;
};

// Pixels of a saved picture of inches at ppi pixels per inch.
int PicturePixels(double inches, int ppi);
