#pragma once

// The plot window of a graph: draws the graph's axes, ticks, captions, curves
// and markers itself, with an on-screen legend of the active curves.

#include "PlotGeometry.h"

#include <QRect>
#include <QWidget>

#include <vector>

class QPainter;
class TGraphPlot;
class TPlotForm;

// Where and how a graph is painted: the drawing area, the device's pixels per
// inch, the height of its text font in pixels and the plot rectangle. The
// screen has one; a printer or a bitmap gets its own.
struct TPlotCanvas {
    QRect Area;
    int Px = 96;
    int Py = 96;
    int FontHeight = 14;
    TPixelRect PlotRect;
};

// The legend over the plot: one row per listed curve in its palette colour,
// ending in " *" when the curve is shown.
class TPlotLegend : public QWidget {
    Q_OBJECT
public:
    explicit TPlotLegend(TPlotForm& form);

    // Curve index of every row.
    const std::vector<int>& Rows() const { return FRows; }
    void SetRows(std::vector<int> rows);
    // Font of the rows at a point size; refits the box to the rows.
    void SetPointSize(int points);
    int RowHeight() const;
    // The text of a row as drawn.
    QString RowText(int row) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Refit();
    int RowWidth(int row) const;

    TPlotForm& FForm;
    std::vector<int> FRows;
};

class TPlotForm : public QWidget {
    Q_OBJECT
public:
    explicit TPlotForm(TGraphPlot& graph, QWidget* parent = nullptr);

    TGraphPlot& Graph() const { return FGraph; }
    const TDataRange& DataRange() const { return FDataRange; }
    const TDataRange& FullRange() const { return FFullRange; }
    const TPixelRect& PlotRect() const { return FScreen.PlotRect; }
    TPlotLegend& Legend() { return *FLegend; }

    // The screen's drawing area, resolution, font and plot rectangle.
    const TPlotCanvas& ScreenCanvas() const { return FScreen; }
    // Paints the graph onto any device through a canvas laid out for it.
    void Paint(QPainter& painter, const TPlotCanvas& canvas) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Recomputes the screen layout; with placeLegend the legend goes to the
    // bottom-right corner of the plot, otherwise it is kept inside the window.
    void LayOut(bool placeLegend);
    void PaintCaptions(QPainter& painter, const TPlotCanvas& canvas) const;
    void PaintTicks(QPainter& painter, const TPlotCanvas& canvas) const;
    void PaintCurves(QPainter& painter, const TPlotCanvas& canvas) const;

    TGraphPlot& FGraph;
    TDataRange FDataRange;
    TDataRange FFullRange;
    TPlotCanvas FScreen;
    TPlotLegend* FLegend;
    bool FLegendPlaced = false;
};
