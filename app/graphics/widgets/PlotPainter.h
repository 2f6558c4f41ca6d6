#pragma once

// Painting of a graph onto any device: axes, ticks, captions, curves, the
// reference lines and, on printed pages and pictures, the legend. The plot
// window paints through these, and so do the printed report and the saved
// pictures, without a window.

#include "PlotGeometry.h"
#include "PlotView.h"

#include <QRect>

#include <optional>

class QPagedPaintDevice;
class QPainter;
class TGraphPlot;

inline constexpr const char* PlotFontFace = "Times New Roman";
// The graph's text at a text scale of 1, in points.
inline constexpr double PlotFontPoints = 10.5;

// The plot font's height in pixels on a device of py pixels per inch.
int PlotFontPixels(int py);

// Where and how a graph is painted: the drawing area, the device's pixels per
// inch, the height of its text font in pixels and the plot rectangle. The
// screen has one; a printer or a picture gets its own.
struct TPlotCanvas {
    QRect Area;
    int Px = 96;
    int Py = 96;
    int FontHeight = 14;
    TPixelRect PlotRect;
    // Printed pages and saved pictures carry the legend in their own drawing.
    bool CanvasLegend = false;
    // Paper: the print palette, and line styles where colours repeat.
    bool Paper = false;
};

// Where the on-screen legend box sits: its top-left corner in a window of
// the given size. A canvas legend goes to the same place, scaled.
struct TLegendPlace {
    TPixelPoint TopLeft;
    int WindowWidth = 0;
    int WindowHeight = 0;
};

// Paints the graph's view `range` over the canvas. The legend of a canvas
// lists the active curves; without a place it sits in the bottom-right
// corner of the plot.
void PaintPlot(QPainter& painter, const TGraphPlot& graph, const TDataRange& range, const TPlotCanvas& canvas,
               const std::optional<TLegendPlace>& legend = std::nullopt);

// The canvas of a page of a printer or PDF file, inside the margins and the
// device's unprintable borders (in device pixels).
TPlotCanvas PageCanvas(const TGraphPlot& graph, const QPagedPaintDevice& device, const TPageMargins& margins,
                       const TPixelRect& unprintable);

// The canvas of a picture of width x height pixels at ppi pixels per inch:
// laid out as on the screen, its text in the same points as there.
TPlotCanvas PictureCanvas(const TGraphPlot& graph, int width, int height, int ppi);
