#pragma once

// The plot window of a graph: draws the graph's axes, ticks, captions, curves
// and markers itself, with an on-screen legend of the active curves. The
// mouse reads values off the plot, zooms into a rubber band (left button)
// and out again (right button); the Plot menu sets the look, names and lists
// the curves, prints the graph and saves it to a file.

#include "PlotPainter.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QMenu;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class TGraphPlot;
class TPlotLegend;

class TPlotForm : public QWidget {
    Q_OBJECT
public:
    explicit TPlotForm(TGraphPlot& graph, QWidget* parent = nullptr);
    ~TPlotForm() override;

    TGraphPlot& Graph() const { return FGraph; }
    const TDataRange& DataRange() const { return FDataRange; }
    const TDataRange& FullRange() const { return FFullRange; }
    const TPixelRect& PlotRect() const { return FScreen.PlotRect; }
    TPlotLegend& Legend() const { return *FLegend; }
    // The window's Plot menu; the main window shows it while the window is
    // active.
    QMenu* PlotMenu() const { return FPlotMenu; }

    // Starts the window afresh from the graph's curves, as when it opened:
    // full range, the first curves active and listed, the legend in its
    // corner. For curves replaced while the window is open.
    void Rebuild();

    // The screen's drawing area, resolution, font and plot rectangle.
    const TPlotCanvas& ScreenCanvas() const { return FScreen; }
    // Paints the graph's view onto any device through a canvas laid out for
    // it, a canvas legend where the window's legend sits.
    void Paint(QPainter& painter, const TPlotCanvas& canvas) const;
    // Paints the graph as a page of a printer or PDF file, whose unprintable
    // borders are given in device pixels.
    void PaintPage(QPainter& painter, const QPagedPaintDevice& device, const TPixelRect& unprintable) const;

    // Shows or hides a curve.
    void ToggleCurve(int curve);
    // Moves the legend box (top-left corner), kept inside the window.
    void MoveLegend(QPoint topLeft);

    const TPageMargins& Margins() const { return FMargins; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The mouse moved over the window; the data position under it.
    void CursorMoved(double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Recomputes the screen layout; with placeLegend the legend goes to the
    // bottom-right corner of the plot, otherwise it is kept inside the window.
    void LayOut(bool placeLegend);
    // Lists the active curves in the legend and the Plot menu.
    void ListActiveCurves();
    // Sizes the legend font for the text scale and puts the legend back in
    // its corner.
    void ScaleLegend();

    // The Plot menu (PlotMenu.cpp).
    void BuildPlotMenu();
    void PlotMenuClick();
    void PlotLegendClick();
    void MarkClick(int markers);
    void SizeClick(int sizeFont);
    void WidthClick(int widthLine);
    void PlotCaptionClick();
    void mLineNameClick();
    void ActiveGraphsClick();
    void ListCurveEntries(const std::vector<int>& curves);

    // Printing and saving (PlotOutput.cpp).
    void PlotPrintClick();
    void PlotPageClick();
    void PlotSaveClick();
    void PlotPdfClick();
    QPrinter& Printer();
    // Writes the graph as a picture file; the message for the user when that
    // failed, else empty.
    QString SavePicture(const QString& path, int format, const TPictureSize& size) const;

    TGraphPlot& FGraph;
    TDataRange FDataRange;
    TDataRange FFullRange;
    TPlotCanvas FScreen;
    TPlotLegend* FLegend;
    // The legend follows the corner of the plot until the user moves it.
    bool FLegendMoved = false;

    // Rubber band of a zoom, in pixels.
    bool FDragging = false;
    QPoint FBandStart;
    QPoint FBandEnd;

    QMenu* FPlotMenu = nullptr;
    QAction* FShowLegend = nullptr;
    // Switches the graph's reference lines; shown only when it has some.
    QAction* FShowOverlays = nullptr;
    QMenu* FMarkersMenu = nullptr;
    QMenu* FFontMenu = nullptr;
    QMenu* FWidthMenu = nullptr;
    // One entry per listed curve, after the fixed entries; each holds its
    // curve's index.
    std::vector<QAction*> FCurveEntries;

    TPageMargins FMargins;
    std::unique_ptr<QPrinter> FPrinter;
    TPictureSize FPictureSize;
};
