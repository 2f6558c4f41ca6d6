#include "PlotPainter.h"

#include "GraphPlot.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
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

// The pen of a curve: its palette colour, or on paper its print colour and
// line style.
QPen CurvePen(int curve, const TPlotCanvas& canvas, int width)
{
    if (!canvas.Paper)
        return QPen(ToColor(PaletteColour(curve)), width);
    static constexpr Qt::PenStyle Styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine};
    return QPen(ToColor(PrintColour(curve)), width, Styles[PrintLineStyle(curve)]);
}

int CurvePenWidth(const TGraphPlot& graph, const TPlotCanvas& canvas)
{
    return (static_cast<int>(std::lround(canvas.Px / 300.0)) + 1) * graph.WidthLine;
}

// A measured value: a black dot, unlike the open marks of the curves.
void PaintMeasuredMark(QPainter& painter, QPoint at, const TPlotCanvas& canvas)
{
    const int radius = std::max(3, canvas.Px / 32);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawEllipse(at, radius, radius);
    painter.setBrush(Qt::NoBrush);
}

// Whether the labels of every fifth tick stand apart along an axis of
// `pixels` length.
bool LabelsStandApart(const TTicks& ticks, const TAxisRange& range, int pixels, const QFontMetrics& metrics)
{
    if (ticks.Empty() || !(range.Span() > 0))
        return true;
    const long double spacing = 5 * ticks.Step / range.Span() * pixels;
    int widest = 0;
    for (int i = ticks.First; i <= ticks.Last; ++i)
        if (i % 5 == 0)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(TickLabel(i * ticks.Step))));
    return spacing >= widest + 2 * metrics.averageCharWidth();
}

// The ticks of an axis: about one division per six text units, fewer when
// their labels would touch.
TTicks FittedTicks(const TAxisRange& range, int pixels, int h, const QFontMetrics& metrics)
{
    int divisions = pixels / (6 * h);
    TTicks ticks = AxisTicks(range, divisions);
    while (divisions > 1 && !LabelsStandApart(ticks, range, pixels, metrics))
        ticks = AxisTicks(range, --divisions);
    return ticks;
}

// What one painting needs besides the painter and the canvas.
struct TPlotScene {
    const TGraphPlot& Graph;
    const TDataRange& Range;
    const std::optional<TLegendPlace>& Legend;
};

void PaintCaptions(QPainter& painter, const TPlotScene& scene, const TPlotCanvas& canvas)
{
    const int h = TextUnit(canvas.FontHeight, scene.Graph.SizeFont);
    painter.setFont(PlotFont(h, QFont::Bold));
    painter.setPen(Qt::black);
    const int textHeight = painter.fontMetrics().height();
    const QRect& area = canvas.Area;
    const int areaTop = area.top();
    const int areaBottom = area.top() + area.height();
    const bool hasTitle = !scene.Graph.Title.empty();
    const bool titleAbove = hasTitle && scene.Graph.TitleOnTop;
    const bool titleBelow = hasTitle && !scene.Graph.TitleOnTop;
    const int centred = Qt::AlignHCenter | Qt::AlignTop;

    const QString xText = ToQString(scene.Graph.XAxisText());
    if (scene.Graph.XOnTop) {
        const int top = areaTop + (titleAbove ? h / 8 + h : 0);
        painter.drawText(QRect(area.left(), top, area.width(), textHeight), centred, xText);
    } else {
        const int bottom = areaBottom - (titleBelow ? h / 8 + h : 0);
        painter.drawText(QRect(area.left(), bottom - textHeight, area.width(), textHeight), centred, xText);
    }

    if (hasTitle) {
        const int top = titleAbove ? areaTop : areaBottom - textHeight;
        painter.drawText(QRect(area.left(), top, area.width(), textHeight), centred, ToQString(scene.Graph.Title));
    }

    // Vertical caption reading upward along the left edge.
    painter.save();
    painter.translate(area.left(), areaTop + area.height() / 2);
    painter.rotate(-90);
    painter.drawText(QRect(-area.height() / 2, 0, area.height(), textHeight), centred, ToQString(scene.Graph.YAxisText()));
    painter.restore();
}

void PaintTicks(QPainter& painter, const TPlotScene& scene, const TPlotCanvas& canvas)
{
    const int h = TextUnit(canvas.FontHeight, scene.Graph.SizeFont);
    if (h <= 0)
        return;
    const TPixelRect& plot = canvas.PlotRect;
    if (std::abs(plot.Right - plot.Left) < 6 * h || std::abs(plot.Bottom - plot.Top) < 6 * h)
        return;
    painter.setFont(PlotFont(h, QFont::Normal));
    const QFontMetrics metrics = painter.fontMetrics();
    const TTicks ticksX = FittedTicks(scene.Range.X, std::abs(plot.Right - plot.Left), h, metrics);
    const TTicks ticksY = FittedTicks(scene.Range.Y, std::abs(plot.Bottom - plot.Top), h, metrics);
    const QPen tickPen(Qt::black, 1);
    const QPen gridPen(Qt::black, 1, Qt::DotLine);
    const int tickLength = canvas.Px / 16;

    if (!ticksX.Empty())
        for (int i = ticksX.First; i <= ticksX.Last; ++i) {
            const long double value = i * ticksX.Step;
            const int x = MapX(value, scene.Range.X, plot);
            if (x < plot.Left || x > plot.Right)
                continue;
            painter.setPen(tickPen);
            if (scene.Graph.XOnTop)
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
            const int top = scene.Graph.XOnTop ? plot.Top - canvas.Py / 32 - metrics.height() : plot.Bottom + canvas.Py / 16;
            painter.drawText(QRect(x - width / 2, top, width, metrics.height()), Qt::AlignCenter, label);
        }

    if (!ticksY.Empty())
        for (int i = ticksY.First; i <= ticksY.Last; ++i) {
            const long double value = i * ticksY.Step;
            const int y = MapY(value, scene.Range.Y, plot, scene.Graph.XOnTop);
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

void PaintOverlays(QPainter& painter, const TPlotScene& scene, const TPlotCanvas& canvas)
{
    if (!scene.Graph.ShowOverlays || scene.Graph.Overlays.empty())
        return;
    const TPixelRect& plot = canvas.PlotRect;
    painter.save();
    painter.setClipRect(QRect(plot.Left, plot.Top, plot.Right - plot.Left, plot.Bottom - plot.Top));
    const int penWidth = CurvePenWidth(scene.Graph, canvas);
    const int h = TextUnit(canvas.FontHeight, scene.Graph.SizeFont);
    painter.setFont(PlotFont(h, QFont::Normal));
    const int mark = std::max(3, canvas.Px / 24);
    for (const TGraphOverlay& overlay : scene.Graph.Overlays) {
        QPolygon polyline;
        for (const TFloatPoint& point : overlay.Points)
            polyline << QPoint(MapX(point.X, scene.Range.X, plot), MapY(point.Y, scene.Range.Y, plot, scene.Graph.XOnTop));
        if (polyline.isEmpty())
            continue;
        if (polyline.size() == 1) {
            // A read-off point: a ring with its name beside it.
            painter.setPen(QPen(Qt::black, penWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(polyline[0], mark, mark);
            // Its name right of the ring, or left of it where the plot ends.
            const QString name = QString::fromStdString(overlay.Name);
            const QFontMetrics metrics = painter.fontMetrics();
            QPoint at = polyline[0] + QPoint(mark + penWidth, -mark);
            if (at.x() + metrics.horizontalAdvance(name) > plot.Right)
                at.setX(polyline[0].x() - mark - penWidth - metrics.horizontalAdvance(name));
            if (at.y() - metrics.ascent() < plot.Top)
                at.setY(polyline[0].y() + mark + metrics.ascent());
            painter.drawText(at, name);
            continue;
        }
        painter.setPen(QPen(Qt::black, penWidth, Qt::DashLine));
        painter.drawPolyline(polyline);
    }
    painter.restore();
}

void PaintCurves(QPainter& painter, const TPlotScene& scene, const TPlotCanvas& canvas)
{
    if (scene.Graph.LineCount() == 0 || scene.Graph.Line(0).Points.size() < 2)
        return;
    const TPixelRect& plot = canvas.PlotRect;
    painter.setClipRect(QRect(plot.Left, plot.Top, plot.Right - plot.Left, plot.Bottom - plot.Top));
    const int penWidth = CurvePenWidth(scene.Graph, canvas);
    for (int i = 0; i < scene.Graph.LineCount(); ++i) {
        const TLine& line = scene.Graph.Line(i);
        if (!line.Active || !line.Shown)
            continue;
        painter.setPen(CurvePen(i, canvas, penWidth));
        QPolygon polyline;
        for (const TFloatPoint& point : line.Points)
            polyline << QPoint(MapX(point.X, scene.Range.X, plot), MapY(point.Y, scene.Range.Y, plot, scene.Graph.XOnTop));
        painter.drawPolyline(polyline);
        if (scene.Graph.Markers <= 0)
            continue;
        // The curve's marker is one shape moved to each marked point: its
        // outline is made once and all markers are drawn in one path.
        const QPolygon shape = Marker(QPoint(0, 0), i, canvas);
        QPainterPath markers;
        for (int j = 0; j < polyline.size(); j += scene.Graph.Markers)
            markers.addPolygon(QPolygonF(shape.translated(polyline[j])));
        painter.setBrush(Qt::NoBrush);
        QPen markerPen = painter.pen();
        markerPen.setStyle(Qt::SolidLine);
        painter.setPen(markerPen);
        painter.drawPath(markers);
    }
    painter.setClipping(false);
}

void PaintMeasured(QPainter& painter, const TPlotScene& scene, const TPlotCanvas& canvas)
{
    if (scene.Graph.Measured.empty())
        return;
    const TPixelRect& plot = canvas.PlotRect;
    painter.save();
    painter.setClipRect(QRect(plot.Left, plot.Top, plot.Right - plot.Left, plot.Bottom - plot.Top));
    for (const TFloatPoint& point : scene.Graph.Measured)
        PaintMeasuredMark(painter,
                          QPoint(MapX(point.X, scene.Range.X, plot), MapY(point.Y, scene.Range.Y, plot, scene.Graph.XOnTop)),
                          canvas);
    painter.restore();
}

void PaintCanvasLegend(QPainter& painter, const TPlotScene& scene, const TPlotCanvas& canvas)
{
    // Only the rows of shown curves; each keeps its colour and its curve's
    // marker.
    std::vector<int> rows;
    std::vector<int> listed;
    for (int i = 0; i < scene.Graph.LineCount(); ++i)
        if (scene.Graph.Line(i).Active)
            listed.push_back(i);
    for (int row = 0; row < static_cast<int>(listed.size()); ++row)
        if (listed[row] < scene.Graph.LineCount() && scene.Graph.Line(listed[row]).Shown)
            rows.push_back(row);
    const bool measured = !scene.Graph.Measured.empty();
    if ((rows.empty() && !measured) || !scene.Graph.ShowLegend)
        return;

    painter.setFont(PlotFont(TextUnit(canvas.FontHeight, scene.Graph.SizeFont), QFont::Normal));
    const QFontMetrics metrics = painter.fontMetrics();
    const int textHeight = metrics.height();
    int widest = 0;
    for (int row : rows)
        widest = std::max(widest, metrics.horizontalAdvance(ToQString(scene.Graph.LegendText(listed[row]))));
    if (measured)
        widest = std::max(widest, metrics.horizontalAdvance(ToQString(scene.Graph.MeasuredName)));

    // On paper each row starts with a stretch of its curve's line.
    const int sample = canvas.Paper ? canvas.Px / 3 : 0;
    const int boxWidth = widest + 3 * canvas.Px / 16 + sample;
    const int step = textHeight + canvas.Py / 32;
    const int boxHeight = (static_cast<int>(rows.size()) + (measured ? 1 : 0)) * step + canvas.Py / 32;
    const QRect& area = canvas.Area;
    const TPixelRect& plot = canvas.PlotRect;
    const TPixelPoint origin =
        scene.Legend ? CanvasLegendOrigin({area.left(), area.top(), area.left() + area.width(), area.top() + area.height()},
                                          scene.Legend->TopLeft, scene.Legend->WindowWidth,
                                          scene.Legend->WindowHeight, boxWidth, boxHeight)
                     : TPixelPoint{plot.Right - boxWidth, plot.Bottom - boxHeight};
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(origin.X, origin.Y, boxWidth, boxHeight);
    painter.setBrush(Qt::NoBrush);

    int top = origin.Y + canvas.Py / 32;
    for (int row : rows) {
        const int curve = listed[row];
        const int middle = top + textHeight / 2;
        if (canvas.Paper) {
            painter.setPen(CurvePen(curve, canvas, CurvePenWidth(scene.Graph, canvas)));
            painter.drawLine(origin.X + canvas.Px / 32, middle, origin.X + canvas.Px / 16 + sample, middle);
        }
        QPen markerPen(canvas.Paper ? ToColor(PrintColour(curve)) : QColor(Qt::black), 1);
        painter.setPen(markerPen);
        painter.drawPolyline(Marker(QPoint(origin.X + canvas.Px / 16 + sample / 2, middle), curve, canvas));
        painter.setPen(canvas.Paper ? QColor(Qt::black) : ToColor(PaletteColour(curve)));
        const QRect text(origin.X + canvas.Px / 16 + canvas.Px / 16 + sample, top, boxWidth, textHeight);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, ToQString(scene.Graph.LegendText(curve)));
        top += step;
    }
    if (measured) {
        PaintMeasuredMark(painter, QPoint(origin.X + canvas.Px / 16 + sample / 2, top + textHeight / 2), canvas);
        painter.setPen(Qt::black);
        const QRect text(origin.X + canvas.Px / 16 + canvas.Px / 16 + sample, top, boxWidth, textHeight);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, ToQString(scene.Graph.MeasuredName));
    }
    painter.setPen(Qt::black);
}

}  // namespace

int PlotFontPixels(int py) { return static_cast<int>(std::lround(PlotFontPoints * py / 72)); }

void PaintPlot(QPainter& painter, const TGraphPlot& graph, const TDataRange& range, const TPlotCanvas& canvas,
               const std::optional<TLegendPlace>& legend)
{
    const TPlotScene scene{graph, range, legend};
    painter.save();
    painter.fillRect(canvas.Area, Qt::white);
    if (canvas.Area.width() >= canvas.Px && canvas.Area.height() >= canvas.Py) {
        PaintCaptions(painter, scene, canvas);
        PaintTicks(painter, scene, canvas);
        PaintCurves(painter, scene, canvas);
        PaintOverlays(painter, scene, canvas);
        PaintMeasured(painter, scene, canvas);
        if (canvas.CanvasLegend)
            PaintCanvasLegend(painter, scene, canvas);
        const TPixelRect& plot = canvas.PlotRect;
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(plot.Left, plot.Top, plot.Right - plot.Left, plot.Bottom - plot.Top);
    }
    painter.restore();
}

TPlotCanvas PageCanvas(const TGraphPlot& graph, const QPagedPaintDevice& device, const TPageMargins& margins,
                       const TPixelRect& unprintable)
{
    TPlotCanvas canvas;
    canvas.Px = device.logicalDpiX();
    canvas.Py = device.logicalDpiY();
    canvas.FontHeight = PlotFontPixels(canvas.Py);
    const TPixelRect area = PrintArea(device.width(), device.height(), canvas.Px, canvas.Py, margins, unprintable);
    canvas.Area = QRect(QPoint(area.Left, area.Top), QPoint(area.Right - 1, area.Bottom - 1));
    canvas.PlotRect = PrintPlotRect(area, canvas.Px, canvas.Py, TextUnit(canvas.FontHeight, graph.SizeFont),
                                    graph.XOnTop, !graph.Title.empty(), graph.TitleOnTop);
    canvas.CanvasLegend = true;
    canvas.Paper = true;
    return canvas;
}

TPlotCanvas PictureCanvas(const TGraphPlot& graph, int width, int height, int ppi)
{
    TPlotCanvas canvas;
    canvas.Area = QRect(0, 0, width, height);
    canvas.Px = ppi;
    canvas.Py = ppi;
    canvas.FontHeight = PlotFontPixels(ppi);
    canvas.PlotRect = ScreenPlotRect(width, height, canvas.Px, canvas.Py, TextUnit(canvas.FontHeight, graph.SizeFont),
                                     graph.XOnTop, !graph.Title.empty(), graph.TitleOnTop);
    canvas.CanvasLegend = true;
    return canvas;
}
