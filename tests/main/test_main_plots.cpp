// Tests of the plot windows inside the main window: they follow the project
// when its graphs' curves are replaced or cleared, and the active plot
// window's menu shows in the menu bar.

#include "GraphPlot.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "PlotForm.h"
#include "PlotGeometry.h"
#include "PlotLegend.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QList<TPlotForm*> PlotWindows(TMainForm& form)
{
    QList<TPlotForm*> plots;
    for (QMdiSubWindow* window : form.Area().subWindowList())
        if (auto* plot = qobject_cast<TPlotForm*>(window->widget()))
            plots << plot;
    return plots;
}

// Captions of the menu bar's menus.
QStringList MenuBar(TMainForm& form)
{
    QStringList titles;
    for (QAction* action : form.menuBar()->actions())
        titles << action->text();
    return titles;
}

// The window shows its graph as a new window would: full range, the first
// twenty curves listed in the legend and the menu.
void ShowsItsGraph(TPlotForm& plot)
{
    const TGraphPlot& graph = plot.Graph();
    const TDataRange full = GraphDataRange(graph);
    QCOMPARE(plot.FullRange().X.Max, full.X.Max);
    QCOMPARE(plot.FullRange().Y.Min, full.Y.Min);
    QCOMPARE(plot.DataRange().Y.Max, full.Y.Max);
    const std::size_t listed = std::min(graph.LineCount(), TGraphPlot::MaxOpenCurves);
    QCOMPARE(plot.Legend().Rows().size(), listed);
    QCOMPARE(plot.Legend().RowText(0), QString::fromStdString(graph.LegendText(0)) + " *");
    const QList<QAction*> entries = plot.PlotMenu()->actions();
    QCOMPARE(entries.back()->text(), QString::fromStdString(graph.LegendText(static_cast<int>(listed) - 1)));
    QVERIFY(!entries.at(entries.size() - static_cast<int>(listed) - 1)->text().startsWith("Curve"));
    QVERIFY(entries.at(entries.size() - static_cast<int>(listed) - 1)->isSeparator());
}

}  // namespace

class TestMainPlots : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FFolder;
    std::unique_ptr<TMainForm> FForm;
    std::unique_ptr<ScriptedPrompts> FPrompts;

    // A reference project with its plot data, copied into the test folder.
    QString Copy(const QString& name, bool withPlots = true)
    {
        for (const char* extension : {".kv3d", ".kv3p"}) {
            if (!withPlots && QLatin1String(extension) == QLatin1String(".kv3p"))
                continue;
            const QString target = FFolder->filePath(name + extension);
            QFile::copy(QStringLiteral(KORVEN_GOLDEN_DIR "/") + name + extension, target);
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        }
        return FFolder->filePath(name + ".kv3d");
    }

    void Open(const QString& path)
    {
        FPrompts->Files.push_back({path, 0});
        Action(*FForm, QStringLiteral("&Open..."))->trigger();
        QCOMPARE(FForm->Project().FileName, path.toStdString());
    }

    void ShowGraphs()
    {
        for (const char* button : {"View Load Distribution Plot", "View t-z Curves"})
            Action(*FForm, QString::fromLatin1(button))->trigger();
        QCOMPARE(PlotWindows(*FForm).size(), 2);
    }

private slots:
    void init()
    {
        QSettings(QStringLiteral("Drumel"), QStringLiteral("KORVEN")).clear();
        FFolder = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(QDir::tempPath());
        FPrompts = std::make_unique<ScriptedPrompts>();
        FForm = std::make_unique<TMainForm>();
        FForm->resize(1000, 750);
        FForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    }

    void cleanup()
    {
        FForm.reset();
        FPrompts.reset();
        FFolder.reset();
    }

    void openPlotWindowsFollowAnotherProjectsCurves()
    {
        Open(Copy("e23_eight_layers"));
        ShowGraphs();
        TPlotForm* curves = PlotWindows(*FForm).back();
        QCOMPARE(curves->Legend().Rows().size(), std::size_t{20});
        // Zoomed and a curve switched off before the next project comes.
        curves->Legend().SetRows({0});

        Open(Copy("e01_clay_single_480"));
        QCOMPARE(PlotWindows(*FForm).size(), 2);
        QCOMPARE(FForm->Graphs().pltTZcurves.LineCount(), 5);
        for (TPlotForm* plot : PlotWindows(*FForm)) {
            ShowsItsGraph(*plot);
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(curves->Legend().Rows().size(), std::size_t{5});
        QVERIFY(FPrompts->Messages().isEmpty());

        // And back to the larger project.
        Open(FFolder->filePath("e23_eight_layers.kv3d"));
        for (TPlotForm* plot : PlotWindows(*FForm)) {
            ShowsItsGraph(*plot);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void plotWindowsCloseWhenTheProjectHasNoResults()
    {
        Open(Copy("e01_clay_single_480"));
        ShowGraphs();
        // A new project has no results to show.
        Action(*FForm, QStringLiteral("&New"))->trigger();
        QTRY_VERIFY(PlotWindows(*FForm).isEmpty());

        // Nor has a project that was never run.
        Open(FFolder->filePath("e01_clay_single_480.kv3d"));
        ShowGraphs();
        Open(Copy("e23_eight_layers", false));
        QTRY_VERIFY(PlotWindows(*FForm).isEmpty());
        QVERIFY(FPrompts->Messages().isEmpty());
    }

    // Names, titles and hidden curves describe one project's results: they
    // go when another project's plot data fill the graphs, and stay over a
    // run of the same project.
    void curveNamesAndTitlesBelongToTheirProject()
    {
        Open(Copy("e19_iprint_1_loads"));
        TMainGraphs& graphs = FForm->Graphs();
        graphs.pltLoad.Line(0).Name = "tip 0.0001 in";
        graphs.pltLoad.Line(1).Shown = false;
        graphs.pltLoad.Line(2).Active = false;
        graphs.pltAxial.Title = "Example";
        graphs.pltAxial.TitleOnTop = true;

        Open(Copy("e01_clay_single_480"));
        QCOMPARE(graphs.pltLoad.LegendText(0), graphs.pltLoad.CurveName + "1");
        QVERIFY(graphs.pltLoad.Line(1).Shown);
        QVERIFY(graphs.pltLoad.Line(2).Active);
        QVERIFY(graphs.pltAxial.Title.empty());
        QVERIFY(!graphs.pltAxial.TitleOnTop);

        graphs.pltLoad.Line(0).Name = "mine";
        Action(*FForm, QStringLiteral("&Run Analysis"))->trigger();
        QCOMPARE(graphs.pltLoad.Line(0).Name, std::string("mine"));
    }

    void activePlotWindowShowsItsMenuInTheMenuBar()
    {
        const QStringList plain = MenuBar(*FForm);
        QVERIFY(!plain.contains("&Plot"));
        Open(Copy("e01_clay_single_480"));
        ShowGraphs();
        QStringList withPlot = plain;
        withPlot.insert(plain.indexOf("&Window"), "&Plot");
        QCOMPARE(MenuBar(*FForm), withPlot);
        // The menu is the active window's own.
        TPlotForm* active = qobject_cast<TPlotForm*>(FForm->Area().activeSubWindow()->widget());
        QVERIFY(active);
        QCOMPARE(FForm->menuBar()->actions().at(plain.indexOf("&Window")), active->PlotMenu()->menuAction());
        FForm->Area().activateNextSubWindow();
        TPlotForm* other = qobject_cast<TPlotForm*>(FForm->Area().activeSubWindow()->widget());
        QVERIFY(other != active);
        QCOMPARE(MenuBar(*FForm).count("&Plot"), 1);
        QCOMPARE(FForm->menuBar()->actions().at(plain.indexOf("&Window")), other->PlotMenu()->menuAction());

        FForm->Area().closeAllSubWindows();
        QTRY_COMPARE(MenuBar(*FForm), plain);
    }
};

QTEST_MAIN(TestMainPlots)
#include "test_main_plots.moc"
