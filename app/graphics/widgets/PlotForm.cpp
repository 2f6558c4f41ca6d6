#include "PlotForm.h"

#include "GraphPlot.h"
#include "PlotLegend.h"

#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

TPixelPoint ToPixel(QPoint point) { return {point.x(), point.y()}; }

bool Inside(QPoint point, const TPixelRect& rect)
{
    return point.x() >= rect.Left && point.x() <= rect.Right && point.y() >= rect.Top && point.y() <= rect.Bottom;
}

}  // namespace

TPlotForm::TPlotForm(TGraphPlot& graph, QWidget* parent)
    : QWidget(parent), FGraph(graph), FLegend(new TPlotLegend(*this))
{
    setObjectName("PlotForm");
    // The graph's caption until the mouse first moves over the graph, not a
    // designer's placeholder.
    setWindowTitle(QString::fromStdString(graph.Caption));
    setAutoFillBackground(true);
    setMouseTracking(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    QFont formFont(PlotFontFace);
    formFont.setPixelSize(PlotFontPixels(logicalDpiY()));
    setFont(formFont);
    BuildPlotMenu();
    Rebuild();
}

TPlotForm::~TPlotForm() = default;

void TPlotForm::Rebuild()
{
    FDragging = false;
    FDataRange = GraphDataRange(FGraph);
    FFullRange = FDataRange;
    FGraph.ActivateOpeningCurves();
    ListActiveCurves();
    // The Show Legend entry is offered when the legend was visible at the
    // start.
    FShowLegend->setVisible(FGraph.ShowLegend);
    FLegend->setVisible(FGraph.LineCount() > 0 && FGraph.ShowLegend);
    FLegendMoved = false;
    ScaleLegend();
    update();
}

void TPlotForm::ListActiveCurves()
{
    std::vector<int> listed;
    for (int i = 0; i < FGraph.LineCount(); ++i)
        if (FGraph.Line(i).Active)
            listed.push_back(i);
    ListCurveEntries(listed);
    if (!FGraph.Measured.empty())
        listed.push_back(TPlotLegend::MeasuredRow);
    FLegend->SetRows(std::move(listed));
    LayOut(false);
}

void TPlotForm::ScaleLegend()
{
    FLegend->SetPointSize(FGraph.LegendFont * FGraph.SizeFont / 10);
    FLegendMoved = false;
    LayOut(true);
}

void TPlotForm::LayOut(bool placeLegend)
{
    FScreen.Area = rect();
    FScreen.Px = logicalDpiX();
    FScreen.Py = logicalDpiY();
    FScreen.FontHeight = font().pixelSize();
    FScreen.PlotRect =
        ScreenPlotRect(width(), height(), FScreen.Px, FScreen.Py, TextUnit(FScreen.FontHeight, FGraph.SizeFont),
                       FGraph.XOnTop, !FGraph.Title.empty(), FGraph.TitleOnTop);
    QPoint at = FLegend->pos();
    if (placeLegend)
        at = QPoint(FScreen.PlotRect.Right - FLegend->width(), FScreen.PlotRect.Bottom - FLegend->height());
    const TPixelPoint inside = KeepInside(ToPixel(at), FLegend->width(), FLegend->height(), width(), height());
    FLegend->move(inside.X, inside.Y);
}

void TPlotForm::resizeEvent(QResizeEvent*)
{
    // Until the user moves it, the legend keeps to the corner of the plot
    // whatever size the window takes (maximised, restored, tiled).
    LayOut(!FLegendMoved);
}

void TPlotForm::MoveLegend(QPoint topLeft)
{
    const TPixelPoint inside = KeepInside(ToPixel(topLeft), FLegend->width(), FLegend->height(), width(), height());
    FLegend->move(inside.X, inside.Y);
    FLegendMoved = true;
}

void TPlotForm::ToggleCurve(int curve)
{
    if (curve < 0 || curve >= FGraph.LineCount())
        return;
    TLine& line = FGraph.Line(curve);
    line.Shown = !line.Shown;
    FLegend->update();
    update();
}

QSize TPlotForm::sizeHint() const
{
    // Two thirds of the area the window lives in, so that a restored or
    // cascaded window shows its graph.
    for (QWidget* up = parentWidget(); up != nullptr; up = up->parentWidget())
        if (auto* area = qobject_cast<QMdiArea*>(up))
            return (area->viewport()->size() * 2 / 3).expandedTo(minimumSizeHint());
    return QSize(6 * logicalDpiX(), 4 * logicalDpiY());
}

QSize TPlotForm::minimumSizeHint() const { return QSize(3 * logicalDpiX(), 2 * logicalDpiY()); }

void TPlotForm::Paint(QPainter& painter, const TPlotCanvas& canvas) const
{
    PaintPlot(painter, FGraph, FDataRange, canvas, TLegendPlace{ToPixel(FLegend->pos()), width(), height()});
}

void TPlotForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter, FScreen);
    if (FDragging) {
        // The rubber band of a zoom, over the plot.
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(FBandStart, FBandEnd).normalized());
    }
}

void TPlotForm::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!Inside(at, PlotRect()))
        return;
    if (event->button() == Qt::LeftButton) {
        FDragging = true;
        FBandStart = FBandEnd = at;
    } else if (event->button() == Qt::RightButton) {
        FDataRange = ZoomOut(FFullRange, FDataRange, ToPixel(at), PlotRect(), FGraph.XOnTop);
        update();
    }
}

void TPlotForm::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    setWindowTitle(
        QString::fromStdString(CursorReadout(FGraph.Caption, FDataRange, ToPixel(at), PlotRect(), FGraph.XOnTop)));
    const TDataPoint data = CursorPoint(FDataRange, ToPixel(at), PlotRect(), FGraph.XOnTop);
    emit CursorMoved(static_cast<double>(data.X), static_cast<double>(data.Y));
    if (!FDragging)
        return;
    const TPixelPoint corner = ClampToRect(ToPixel(at), PlotRect());
    FBandEnd = QPoint(corner.X, corner.Y);
    update();
}

void TPlotForm::mouseReleaseEvent(QMouseEvent* event)
{
    if (!FDragging)
        return;
    FDragging = false;
    const std::optional<TDataRange> zoomed = ZoomToBand(
        FFullRange, FDataRange, ToPixel(FBandStart), ToPixel(event->position().toPoint()), PlotRect(), FGraph.XOnTop);
    if (zoomed)
        FDataRange = *zoomed;
    update();
}
