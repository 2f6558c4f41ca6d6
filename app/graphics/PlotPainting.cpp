#include "PlotForm.h"

#include "GraphPlot.h"
#include "PlotLegend.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace {

QColor ToColor(TRgb rgb) { return QColor(rgb.R, rgb.G, rgb.B); }

QFont PlotFont(int pixelHeight, QFont::Weight weight)
{
    QFont font(PlotFontFace);
    font.setPixelSize(std::max(pixelHeight, 1));
    font.setWeight(weight);
    return font;
}

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

QPolygon Marker(QPoint at, int curve, const TPlotCanvas& canvas)
{
    QPolygon marker;
    for (const TPixelPoint& vertex : MarkerOutline({at.x(), at.y()}, curve, canvas.Px, canvas.Py))
        marker << QPoint(vertex.X, vertex.Y);
    return marker;
}

}  // namespace

void TPlotForm::Paint(QPainter& painter, const TPlotCanvas& canvas) const
{
    painter.save();
    painter.fillRect(canvas.Area, Qt::white);
    if (canvas.Area.width() >= canvas.Px && canvas.Area.height() >= canvas.Py) {
        PaintCaptions(painter, canvas);
        PaintTicks(painter, canvas);
        PaintCurves(painter, canvas);
        PaintOverlays(painter, canvas);
        if (canvas.CanvasLegend)
            PaintCanvasLegend(painter, canvas);
        const TPixelRect& plot = canvas.PlotRect;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(plot.Left, plot.Top, plot.Right - plot.Left, plot.Bottom - plot.Top);
    }
    painter.restore();
}

void TPlotForm::PaintCaptions(QPainter& painter, const TPlotCanvas& canvas) const
{
    const int h = TextUnit(canvas.FontHeight, FGraph.SizeFont);
    painter.setFont(PlotFont(h, QFont::Bold));
    painter.setPen(Qt::black);
    const int textHeight = painter.fontMetrics().height();
    const QRect& area = canvas.Area;
    const int areaTop = area.top();
    const int areaBottom = area.top() + area.height();
    const bool hasTitle = !FGraph.Title.empty();
    const bool titleAbove = hasTitle && FGraph.TitleOnTop;
    const bool titleBelow = hasTitle && !FGraph.TitleOnTop;
    const int centred = Qt::AlignHCenter | Qt::AlignTop;

    const QString xText = ToQString(FGraph.XAxisText());
    if (FGraph.XOnTop) {
        const int top = areaTop + (titleAbove ? h / 8 + h : 0);
        painter.drawText(QRect(area.left(), top, area.width(), textHeight), centred, xText);
    } else {
        const int bottom = areaBottom - (titleBelow ? h / 8 + h : 0);
        painter.drawText(QRect(area.left(), bottom - textHeight, area.width(), textHeight), centred, xText);
    }

    if (hasTitle) {
        const int top = titleAbove ? areaTop : areaBottom - textHeight;
        painter.drawText(QRect(area.left(), top, area.width(), textHeight), centred, ToQString(FGraph.Title));
    }

    // Vertical caption reading upward along the left edge.
    painter.save();
    painter.translate(area.left(), areaTop + area.height() / 2);
    painter.rotate(-90);
    painter.drawText(QRect(-area.height() / 2, 0, area.height(), textHeight), centred, ToQString(FGraph.YAxisText()));
    painter.restore();
}

void TPlotForm::PaintTicks(QPainter& painter, const TPlotCanvas& canvas) const
{
    const int h = TextUnit(canvas.FontHeight, FGraph.SizeFont);
    if (h <= 0)
        return;
    const TPixelRect& plot = canvas.PlotRect;
    const int divisionsX = std::abs(plot.Right - plot.Left) / (6 * h);
    const int divisionsY = std::abs(plot.Bottom - plot.Top) / (6 * h);
    if (divisionsX == 0 || divisionsY == 0)
        return;
    const TTicks ticksX = AxisTicks(FDataRange.X, divisionsX);
    const TTicks ticksY = AxisTicks(FDataRange.Y, divisionsY);

    painter.setFont(PlotFont(h, QFont::Normal));
    const QFontMetrics metrics = painter.fontMetrics();
    const QPen tickPen(Qt::black, 1);
    const QPen gridPen(Qt::black, 1, Qt::DotLine);
    const int tickLength = canvas.Px / 16;

    if (!ticksX.Empty())
        for (int i = ticksX.First; i <= ticksX.Last; ++i) {
            const long double value = i * ticksX.Step;
            const int x = MapX(value, FDataRange.X, plot);
            if (x < plot.Left || x > plot.Right)
                continue;
            painter.setPen(tickPen);
            if (FGraph.XOnTop)
                painter.drawLine(x, plot.Top, x, plot.Top + tickLength);
            else
                painter.drawLine(x, plot.Bottom, x, plot.Bottom - tickLength);
            if (i % 5 != 0)
                continue;
            painter.setPen(gridPen);
            painter.drawLine(x, plot.Top, x, plot.Bottom);
            painter.setPen(tickPen);
            const QString label = ToQString(TickLabel(value));
            const int width = metrics.horizontalAdvance(label);
            const int top = FGraph.XOnTop ? plot.Top - canvas.Py / 32 - metrics.height() : plot.Bottom + canvas.Py / 16;
            painter.drawText(QRect(x - width / 2, top, width, metrics.height()), Qt::AlignCenter, label);
        }

    if (!ticksY.Empty())
        for (int i = ticksY.First; i <= ticksY.Last; ++i) {
            const long double value = i * ticksY.Step;
            const int y = MapY(value, FDataRange.Y, plot, FGraph.XOnTop);
            if (y < plot.Top || y > plot.Bottom)
                continue;
            painter.setPen(tickPen);
            painter.drawLine(plot.Left, y, plot.Left + tickLength, y);
            if (i % 5 != 0)
                continue;
            painter.setPen(gridPen);
            painter.drawLine(plot.Left, y, plot.Right, y);
            painter.setPen(tickPen);
            // Label reading upward, its foot px/32 left of the plot.
            const QString label = ToQString(TickLabel(value));
            const int width = metrics.horizontalAdvance(label);
            painter.save();
            painter.translate(plot.Left - canvas.Px / 32, y);
            painter.rotate(-90);
            painter.drawText(QRect(-width / 2, -metrics.height(), width, metrics.height()), Qt::AlignCenter, label);
            painter.restore();
        }
}

void TPlotForm::PaintOverlays(QPainter& painter, const TPlotCanvas& canvas) const
{
    if (!FGraph.ShowOverlays || FGraph.Overlays.empty())
        return;
    const TPixelRect& plot = canvas.PlotRect;
    painter.save();
    painter.setClipRect(QRect(plot.Left, plot.Top, plot.Right - plot.Left, plot.Bottom - plot.Top));
    const int penWidth = (static_cast<int>(std::lround(canvas.Px / 300.0)) + 1) * FGraph.WidthLine;
    const int h = TextUnit(canvas.FontHeight, FGraph.SizeFont);
    painter.setFont(PlotFont(h, QFont::Normal));
    const int mark = std::max(3, canvas.Px / 24);
    for (const TGraphOverlay& overlay : FGraph.Overlays) {
        QPolygon polyline;
        for (const TFloatPoint& point : overlay.Points)
            polyline << QPoint(MapX(point.X, FDataRange.X, plot), MapY(point.Y, FDataRange.Y, plot, FGraph.XOnTop));
        if (polyline.isEmpty())
            continue;
        if (polyline.size() == 1) {
            // A read-off point: a ring with its name beside it.
            painter.setPen(QPen(Qt::black, penWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(polyline[0], mark, mark);
            painter.drawText(polyline[0] + QPoint(mark + penWidth, -mark), QString::fromStdString(overlay.Name));
            continue;
        }
        painter.setPen(QPen(Qt::black, penWidth, Qt::DashLine));
        painter.drawPolyline(polyline);
    }
    painter.restore();
}

void TPlotForm::PaintCurves(QPainter& painter, const TPlotCanvas& canvas) const
{
    if (FGraph.LineCount() == 0 || FGraph.Line(0).Points.size() < 2)
        return;
    const TPixelRect& plot = canvas.PlotRect;
    painter.setClipRect(QRect(plot.Left, plot.Top, plot.Right - plot.Left, plot.Bottom - plot.Top));
    const int penWidth = (static_cast<int>(std::lround(canvas.Px / 300.0)) + 1) * FGraph.WidthLine;
    // Every active curve takes the next colour, shown or not, so that curves
    // keep their colours (and match their legend rows) when hidden.
    int colour = 0;
    for (int i = 0; i < FGraph.LineCount(); ++i) {
        const TLine& line = FGraph.Line(i);
        if (!line.Active)
            continue;
        const QColor penColour = ToColor(PaletteColour(colour++));
        if (!line.Shown)
            continue;
        painter.setPen(QPen(penColour, penWidth));
        QPolygon polyline;
        for (const TFloatPoint& point : line.Points)
            polyline << QPoint(MapX(point.X, FDataRange.X, plot), MapY(point.Y, FDataRange.Y, plot, FGraph.XOnTop));
        painter.drawPolyline(polyline);
        if (FGraph.Markers <= 0)
            continue;
        // The curve's marker is one shape moved to each marked point: its
        // outline is made once and all markers are drawn in one path.
        const QPolygon shape = Marker(QPoint(0, 0), i, canvas);
        QPainterPath markers;
        for (int j = 0; j < polyline.size(); j += FGraph.Markers)
            markers.addPolygon(QPolygonF(shape.translated(polyline[j])));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(markers);
    }
    painter.setClipping(false);
}

void TPlotForm::PaintCanvasLegend(QPainter& painter, const TPlotCanvas& canvas) const
{
    // Only the rows of shown curves; each keeps its colour and its curve's
    // marker.
    std::vector<int> rows;
    const std::vector<int>& listed = FLegend->Rows();
    for (int row = 0; row < static_cast<int>(listed.size()); ++row)
        if (listed[row] < FGraph.LineCount() && FGraph.Line(listed[row]).Shown)
            rows.push_back(row);
    if (rows.empty() || !FGraph.ShowLegend)
        return;

    painter.setFont(PlotFont(TextUnit(canvas.FontHeight, FGraph.SizeFont), QFont::Normal));
    const QFontMetrics metrics = painter.fontMetrics();
    const int textHeight = metrics.height();
    int widest = 0;
    for (int row : rows)
        widest = std::max(widest, metrics.horizontalAdvance(ToQString(FGraph.LegendText(listed[row]))));

    const int boxWidth = widest + 3 * canvas.Px / 16;
    const int step = textHeight + canvas.Py / 32;
    const int boxHeight = static_cast<int>(rows.size()) * step + canvas.Py / 32;
    const QRect& area = canvas.Area;
    const TPixelPoint origin =
        CanvasLegendOrigin({area.left(), area.top(), area.left() + area.width(), area.top() + area.height()},
                           {FLegend->x(), FLegend->y()}, width(), height(), boxWidth, boxHeight);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(origin.X, origin.Y, boxWidth, boxHeight);
    painter.setBrush(Qt::NoBrush);

    int top = origin.Y + canvas.Py / 32;
    for (int row : rows) {
        const int curve = listed[row];
        painter.setPen(QPen(Qt::black, 1));
        painter.drawPolyline(Marker(QPoint(origin.X + canvas.Px / 16, top + textHeight / 2), curve, canvas));
        painter.setPen(ToColor(PaletteColour(row)));
        const QRect text(origin.X + canvas.Px / 16 + canvas.Px / 16, top, boxWidth, textHeight);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, ToQString(FGraph.LegendText(curve)));
        top += step;
    }
    painter.setPen(Qt::black);
}
