#include "SideViewPainter.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {

QPoint ToQPoint(TPixelPoint point) { return {point.X, point.Y}; }

}  // namespace

void PaintSideView(QPainter& painter, const TSideViewScene& scene, const QColor& background, const QColor& ink)
{
    painter.save();
    const TPixelRect& frame = scene.Background;
    painter.fillRect(QRect(frame.Left, frame.Top, frame.Right - frame.Left, frame.Bottom - frame.Top), background);
    painter.setPen(QPen(ink, scene.LineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const TPixelLine& line : scene.Lines)
        painter.drawLine(ToQPoint(line.From), ToQPoint(line.To));
    const int ascent = painter.fontMetrics().ascent();
    for (const TSceneText& text : scene.Texts)
        painter.drawText(QPoint(text.At.X, text.At.Y + ascent), QString::fromStdString(text.Text));
    painter.setBrush(ink);
    for (const auto& corners : scene.Fills)
        painter.drawPolygon(
            QPolygon({ToQPoint(corners[0]), ToQPoint(corners[1]), ToQPoint(corners[2]), ToQPoint(corners[3])}));
    painter.setBrush(Qt::NoBrush);
    for (const TPixelRect& outline : scene.Outlines)
        painter.drawRect(outline.Left, outline.Top, outline.Right - outline.Left, outline.Bottom - outline.Top);
    painter.setPen(QPen(ink, std::max(1, scene.LineWidth / 4)));
    for (const TPixelLine& line : scene.Scale)
        painter.drawLine(ToQPoint(line.From), ToQPoint(line.To));
    for (const TSceneText& text : scene.Notes) {
        const QString note = QString::fromStdString(text.Text);
        const int x = text.RightAligned ? text.At.X - painter.fontMetrics().horizontalAdvance(note) : text.At.X;
        painter.drawText(QPoint(x, text.At.Y + ascent), note);
    }
    painter.restore();
}

void PaintSideViewPage(QPainter& painter, const TSideViewGeometry& geometry, const QRect& page)
{
    painter.save();
    painter.translate(page.topLeft());
    // Paper is white whatever the screen's colours.
    PaintSideView(painter, geometry.PageScene(page.width(), page.height(), painter.fontMetrics().height()), Qt::white,
                  Qt::black);
    painter.restore();
}
