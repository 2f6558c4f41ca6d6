#include "GraphPlot.h"
#include "MainGraphs.h"
#include "PlotForm.h"
#include "PlotLegend.h"
#include "PlotTestSupport.h"
#include "PlotWindows.h"
#include "ScriptedPrompts.h"

#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QtTest>

using namespace PlotTest;

class PlotFormTests : public QObject {
    Q_OBJECT

private slots:
    void curvesAreDrawnInThePaletteColours();
    void hiddenCurveKeepsTheColoursOfTheOthers();
    void onlyTheFirstTwentyCurvesAreActive();
    void frameAndTicksAreDrawn();
    void nothingIsDrawnWithoutRoomOrPoints();
    void showPlotReusesTheWindowOfAGraph();
    void engineFileIsPainted();
    void legendStartsInThePlotCornerOfAMaximisedWindow();
    void restoredCascadedAndTiledWindowsShowTheirGraphs();
};

void PlotFormTests::curvesAreDrawnInThePaletteColours()
{
    TGraphPlot graph;
    FillSteps(graph, 3);
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));

    const QImage image = PaintForm(form);
    // Middle of the first segment of curves 2 and 3, clear of their markers.
    const QPoint blue = Pixel(form, 2.5L, 1.25L);
    const QPoint red = Pixel(form, 2.5L, 2.25L);
    QVERIFY(ColourNear(image, blue, Colour(Palette[1])));
    QVERIFY(ColourNear(image, red, Colour(Palette[2])));
    QVERIFY(ColourNear(image, Pixel(form, 2.5L, 0.25L), Colour(Palette[0])));
    // Away from the curves the plot is white.
    QVERIFY(WhiteAround(image, Pixel(form, 8.5L, 0.35L)));

    // The window paints itself the same way, with the legend on top.
    const QImage shown = form.grab().toImage();
    QVERIFY(ColourNear(shown, blue, Colour(Palette[1])));
    QCOMPARE(form.Legend().Rows(), (std::vector<int>{0, 1, 2}));
    QCOMPARE(form.Legend().RowText(1), QString("Curve #2 *"));
    QVERIFY(form.Legend().isVisible());
    // The legend sits on the bottom-right corner of the plot.
    QCOMPARE(form.Legend().geometry().right() + 1, form.PlotRect().Right);
    QCOMPARE(form.Legend().geometry().bottom() + 1, form.PlotRect().Bottom);
    QVERIFY(CountColour(form.Legend().grab().toImage().convertToFormat(QImage::Format_RGB32), Colour(Palette[2])) > 0);
}

void PlotFormTests::hiddenCurveKeepsTheColoursOfTheOthers()
{
    TGraphPlot graph;
    FillSteps(graph, 3);
    graph.Line(1).Shown = false;
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    const QImage image = PaintForm(form);
    QCOMPARE(CountColour(image, Colour(Palette[1])), 0);
    QVERIFY(ColourNear(image, Pixel(form, 2.5L, 2.25L), Colour(Palette[2])));
    QCOMPARE(form.Legend().RowText(1), QString("Curve #2"));
}

void PlotFormTests::onlyTheFirstTwentyCurvesAreActive()
{
    TGraphPlot graph;
    FillSteps(graph, 21);
    graph.Line(20).Active = false;
    graph.Line(5).Active = false;
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    // Opening a window activates the first twenty curves, and only those.
    QVERIFY(graph.Line(5).Active);
    QVERIFY(!graph.Line(20).Active);
    QCOMPARE(form.Legend().Rows().size(), std::size_t{20});
    QCOMPARE(form.Legend().Rows().back(), 19);
    const QImage image = PaintForm(form);
    QVERIFY(WhiteAround(image, Pixel(form, 2.5L, 20.35L)));
    // Curve 18 again takes the first colour.
    QVERIFY(ColourNear(image, Pixel(form, 2.5L, 17.25L), Colour(Palette[0])));
    QVERIFY(ColourNear(image, Pixel(form, 2.5L, 16.25L), Colour(Palette[16])));
}

void PlotFormTests::frameAndTicksAreDrawn()
{
    TGraphPlot graph;
    FillSteps(graph, 1);
    graph.Markers = 0;
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    const QImage image = PaintForm(form);
    const TPixelRect plot = form.PlotRect();
    QCOMPARE(image.pixelColor(plot.Left, (plot.Top + plot.Bottom) / 2), QColor(Qt::black));
    QCOMPARE(image.pixelColor((plot.Left + plot.Right) / 2, plot.Bottom), QColor(Qt::black));
    QCOMPARE(image.pixelColor((plot.Left + plot.Right) / 2, plot.Bottom + 1), QColor(Qt::white));
    // A tick of the vertical axis runs 1/16 inch into the plot at every step.
    const TTicks ticks = AxisTicks(form.DataRange().Y, (plot.Bottom - plot.Top) / (6 * 14));
    QVERIFY(!ticks.Empty());
    const int y = MapY(ticks.Step, form.DataRange().Y, plot, graph.XOnTop);
    QCOMPARE(image.pixelColor(plot.Left + 3, y), QColor(Qt::black));
    QCOMPARE(image.pixelColor(plot.Left + 20, y), QColor(Qt::white));
}

void PlotFormTests::nothingIsDrawnWithoutRoomOrPoints()
{
    // Under an inch wide: only the white fill.
    TGraphPlot graph;
    FillSteps(graph, 2);
    TPlotForm narrow(graph);
    QVERIFY(Open(narrow, 90, 300));
    const QImage blank = PaintForm(narrow);
    QCOMPARE(CountColour(blank, QColor(Qt::white)), blank.width() * blank.height());

    // Curves without points: the frame but no curve.
    TGraphPlot empty;
    empty.SetLineCount(9);
    TPlotForm form(empty);
    QVERIFY(Open(form, 800, 600));
    const QImage image = PaintForm(form);
    QCOMPARE(CountColour(image, Colour(Palette[1])), 0);
    QCOMPARE(image.pixelColor(form.PlotRect().Left, form.PlotRect().Top), QColor(Qt::black));
}

void PlotFormTests::showPlotReusesTheWindowOfAGraph()
{
    TMainGraphs graphs;
    FillSteps(graphs.pltAxial, 1);
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));

    TPlotForm* form = ShowPlot(graphs.pltAxial, area);
    QCOMPARE(area.subWindowList().size(), 1);
    QMdiSubWindow* window = area.subWindowList().front();
    QVERIFY(window->isMaximized());
    QCOMPARE(window->windowTitle(), QString::fromStdString(graphs.pltAxial.Caption));
    QCOMPARE(ShowPlot(graphs.pltAxial, area), form);

    window->showMinimized();
    QCOMPARE(ShowPlot(graphs.pltAxial, area), form);
    QVERIFY(!window->isMinimized());

    ShowPlot(graphs.PltQW, area);
    QCOMPARE(area.subWindowList().size(), 2);

    // A closed window is gone; the next call builds a new one.
    QPointer<QMdiSubWindow> closed = window;
    window->close();
    QTRY_VERIFY(closed.isNull());
    QVERIFY(ShowPlot(graphs.pltAxial, area) != nullptr);
    QCOMPARE(area.subWindowList().size(), 2);
}

void PlotFormTests::engineFileIsPainted()
{
    TMainGraphs graphs;
    QVERIFY(ReadPlotFile(graphs, KORVEN_GRAPHICS_TEST_DATA "/e23_eight_layers.kv3p", UnitSystem::English));
    TPlotForm curves(graphs.pltTZcurves);
    QVERIFY(Open(curves, 1000, 700));
    QCOMPARE(curves.Legend().Rows().size(), std::size_t{20});
    QCOMPARE(curves.Legend().RowText(1), QString("15 in *"));

    // Two load distributions along the pile: black and blue.
    TPlotForm loads(graphs.pltLoad);
    QVERIFY(Open(loads, 1000, 700));
    const QImage image = PaintForm(loads);
    QVERIFY(CountColour(image, Colour(Palette[1])) > 100);
    QCOMPARE(CountColour(image, Colour(Palette[2])), 0);
    QVERIFY(!ReadPlotFile(graphs, KORVEN_GRAPHICS_TEST_DATA "/e27_status_5.kv3p", UnitSystem::English));
}

namespace {

// An area as a main window holds it, shown at a size.
std::unique_ptr<QMdiArea> ShownArea(int width, int height)
{
    auto area = std::make_unique<QMdiArea>();
    area->resize(width, height);
    area->show();
    if (!QTest::qWaitForWindowExposed(area.get()))
        return nullptr;
    return area;
}

bool LegendInPlotCorner(TPlotForm& form)
{
    const QRect legend = form.Legend().geometry();
    return legend.right() + 1 == form.PlotRect().Right && legend.bottom() + 1 == form.PlotRect().Bottom;
}

}  // namespace

void PlotFormTests::legendStartsInThePlotCornerOfAMaximisedWindow()
{
    TMainGraphs graphs;
    FillSteps(graphs.pltLoad, 4);
    const auto area = ShownArea(1000, 700);
    QVERIFY(area);
    TPlotForm* form = ShowPlot(graphs.pltLoad, *area);
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QTRY_VERIFY(form->width() > 800);
    QVERIFY(LegendInPlotCorner(*form));

    // Growing the text keeps it in the corner of the new plot rectangle.
    Choose(*form, "&Font Size", "2 * Default");
    QCOMPARE(graphs.pltLoad.SizeFont, 20);
    QVERIFY(LegendInPlotCorner(*form));

    // Restored, the window keeps the legend in the corner until the user
    // moves it.
    area->subWindowList().front()->showNormal();
    QTRY_VERIFY(form->width() < 800);
    QVERIFY(LegendInPlotCorner(*form));
}

void PlotFormTests::restoredCascadedAndTiledWindowsShowTheirGraphs()
{
    TMainGraphs graphs;
    FillSteps(graphs.pltLoad, 2);
    FillSteps(graphs.pltAxial, 1);
    const auto area = ShownArea(900, 600);
    QVERIFY(area);
    const QSize viewport = area->viewport()->size();
    TPlotForm* loads = ShowPlot(graphs.pltLoad, *area);
    TPlotForm* axial = ShowPlot(graphs.pltAxial, *area);

    // Restored: about two thirds of the area, not a bare title bar.
    area->subWindowList().front()->showNormal();
    QTRY_VERIFY(loads->width() >= viewport.width() * 2 / 3 - 20);
    QVERIFY(loads->height() >= viewport.height() * 2 / 3 - 40);

    area->cascadeSubWindows();
    for (TPlotForm* form : {loads, axial}) {
        QTRY_VERIFY(form->width() >= viewport.width() * 2 / 3 - 20);
        QVERIFY(form->height() >= viewport.height() * 2 / 3 - 40);
    }

    // Tiled side by side, each still has room for its plot.
    area->tileSubWindows();
    for (TPlotForm* form : {loads, axial}) {
        QTRY_VERIFY(form->width() >= form->minimumSizeHint().width());
        QVERIFY(form->height() >= 2 * form->logicalDpiY());
        QVERIFY(form->PlotRect().Right - form->PlotRect().Left > form->logicalDpiX());
    }
}

QTEST_MAIN(PlotFormTests)
#include "test_plot_form.moc"
