#include "PlotLegend.h"

#include "GraphPlot.h"
#include "PlotForm.h"
#include "PlotGeometry.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TPlotLegend::TPlotLegend(TPlotForm& form) : QWidget(&form), FForm(form)
{
    setObjectName("Legend");
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void TPlotLegend::SetRows(std::vector<int> rows)
{
    FRows = std::move(rows);
    Refit();
    update();
}

void TPlotLegend::SetPointSize(int points)
{
    QFont legendFont(PlotFontFace);
    legendFont.setPointSize(std::max(points, 1));
    setFont(legendFont);
    Refit();
}

int TPlotLegend::RowHeight() const { return fontMetrics().height(); }

QString TPlotLegend::RowText(int row) const
{
    const TGraphPlot& graph = FForm.Graph();
    const int curve = FRows.at(row);
    if (curve == MeasuredRow)
        return QString::fromStdString(graph.MeasuredName);
    if (curve >= graph.LineCount())
        return {};
    return QString::fromStdString(graph.LegendText(curve)) + (graph.Line(curve).Shown ? " *" : "");
}

int TPlotLegend::RowAt(QPoint point) const
{
    const int row = (point.y() - 1) / std::max(RowHeight(), 1);
    return point.y() >= 1 && row < static_cast<int>(FRows.size()) ? row : -1;
}

int TPlotLegend::RowWidth(int row) const
{
    const TGraphPlot& graph = FForm.Graph();
    const int curve = FRows.at(row);
    if (curve == MeasuredRow)
        return fontMetrics().horizontalAdvance(QString::fromStdString(graph.MeasuredName));
    const QString text = curve < graph.LineCount() ? QString::fromStdString(graph.LegendText(curve)) : QString();
    return fontMetrics().horizontalAdvance(text + " *");
}

void TPlotLegend::Refit()
{
    int width = 0;
    for (int row = 0; row < static_cast<int>(FRows.size()); ++row)
        width = std::max(width, RowWidth(row));
    resize(width + logicalDpiX() / 4, static_cast<int>(FRows.size()) * RowHeight() + 3);
}

void TPlotLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    const int rowHeight = RowHeight();
    for (int row = 0; row < static_cast<int>(FRows.size()); ++row) {
        const int curve = FRows[static_cast<std::size_t>(row)];
        const TRgb colour = curve == MeasuredRow ? TRgb{0, 0, 0} : PaletteColour(curve);
        painter.setPen(QColor(colour.R, colour.G, colour.B));
        painter.drawText(QRect(4, 1 + row * rowHeight, width() - 5, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         RowText(row));
    }
}

void TPlotLegend::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FGrabbed = true;
    FGrabOffset = event->position().toPoint();
}

void TPlotLegend::mouseMoveEvent(QMouseEvent* event)
{
    if (!FGrabbed)
        return;
    FForm.MoveLegend(mapToParent(event->position().toPoint()) - FGrabOffset);
}

void TPlotLegend::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FGrabbed = false;
}

void TPlotLegend::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = RowAt(event->position().toPoint());
    if (row >= 0 && FRows[row] != MeasuredRow)
        FForm.ToggleCurve(FRows[row]);
}
