#pragma once

// Helpers of the plot window tests: graphs of simple curves, windows shown
// offscreen, their pictures and their Plot menu.

#include "GraphPlot.h"
#include "PlotForm.h"
#include "PlotGeometry.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QtTest>

namespace PlotTest {

// A graph of straight curves from (0, i) to (10, i + 1) for curve i.
inline void FillSteps(TGraphPlot& graph, int curves)
{
    graph.SetLineCount(curves);
    graph.SetPointCount(3);
    for (int i = 0; i < curves; ++i) {
        graph.Point(i, 0) = {0, static_cast<long double>(i)};
        graph.Point(i, 1) = {5, i + 0.5L};
        graph.Point(i, 2) = {10, i + 1.0L};
    }
}

// Shows the window at a size, so that it lays itself out for it.
inline bool Open(TPlotForm& form, int width, int height)
{
    form.resize(width, height);
    form.show();
    return QTest::qWaitForWindowExposed(&form);
}

inline QImage PaintForm(const TPlotForm& form)
{
    QImage image(form.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    form.Paint(painter, form.ScreenCanvas());
    return image;
}

inline QColor Colour(TRgb rgb) { return QColor(rgb.R, rgb.G, rgb.B); }

// Pixel of a data point on the form's screen layout.
inline QPoint Pixel(const TPlotForm& form, long double x, long double y)
{
    return {MapX(x, form.DataRange().X, form.PlotRect()),
            MapY(y, form.DataRange().Y, form.PlotRect(), form.Graph().XOnTop)};
}

// Whether the colour is at the pixel or one of its eight neighbours (a line
// may round half a pixel either way).
inline bool ColourNear(const QImage& image, QPoint at, const QColor& colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixelColor(at + QPoint(dx, dy)) == colour)
                return true;
    return false;
}

inline bool WhiteAround(const QImage& image, QPoint at)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixelColor(at + QPoint(dx, dy)) != QColor(Qt::white))
                return false;
    return true;
}

inline int CountColour(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

// The entry of a menu with a caption.
inline QAction* Entry(const QMenu* menu, const QString& caption)
{
    for (QAction* action : menu->actions())
        if (action->text() == caption)
            return action;
    return nullptr;
}

// Chooses an entry of a submenu of the window's Plot menu, as a click does.
inline void Choose(const TPlotForm& form, const QString& submenu, const QString& caption)
{
    QAction* sub = Entry(form.PlotMenu(), submenu);
    QVERIFY(sub && sub->menu());
    emit sub->menu()->aboutToShow();
    QAction* entry = Entry(sub->menu(), caption);
    QVERIFY(entry);
    entry->trigger();
}

}  // namespace PlotTest

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace PlotTest {

// Acts on the next modal dialog of a type as soon as it shows, then makes
// sure it is closed (a failed check inside must not leave it open).
template <class Dialog>
void WhenShown(std::function<void(Dialog&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
}

// Chooses an entry of the window's Plot menu, as a click does.
inline void ChooseEntry(const TPlotForm& form, const QString& caption)
{
    emit form.PlotMenu()->aboutToShow();
    QAction* entry = Entry(form.PlotMenu(), caption);
    QVERIFY(entry);
    QVERIFY(entry->isEnabled());
    entry->trigger();
}

}  // namespace PlotTest
