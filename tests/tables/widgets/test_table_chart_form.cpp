// Table-with-chart window: the chart following the table, its flat-data and
// two-series rules, axes, the segment drawing, the layout and sizing of the
// window, OK and Cancel.

#include "ChartFormTestSupport.h"
#include "ScriptedPrompts.h"

#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

using namespace chart_form_test;

class TableChartFormTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InstallTableWindows(nullptr, [] { return Editor; });
    }
    void cleanup() { ProcessDeletes(); }

    void chartFollowsEveryKindOfEdit();
    void flatDataOnAFixedBandWithTheSecondPointRaised();
    void factorTableDrawsTwoSeriesWithALegend();
    void oneDataColumnIsDrawnAgainstTheRowNumber();
    void axesInvertedAndLabelledByTheirRange();
    void curveIsDrawnInRed();
    void layoutOfTheChartAndImportControls();
    void userSizingKeepsTheChartAndTheImportRows();
    void segmentModeDrawsOneLinePerRow();
    void okCommitsAndCancelDiscards();
};

void TableChartFormTests::chartFollowsEveryKindOfEdit()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TGridTable& curve = tables.TblTZCurves2;
    Fill(curve, {{0, 0}, {2, 0.2L}, {1, 0.1L}});
    TTableChartForm& form = OpenChartForm(curve);
    TChart& chart = form.Chart();
    // t (column 0) against z (column 1), sorted by z.
    QCOMPARE(chart.Series(0).Points(), (Points{{0, 0}, {0.1, 1}, {0.2, 2}}));
    QVERIFY(!chart.Series(1).Active());
    QVERIFY(!chart.LegendVisible());
    // Axis titles carry the column's unit, without the heading's comma.
    QCOMPARE(chart.Axis(TChartAxisSide::Bottom).Title(), std::string("Pile Movement (z) (in)"));
    QCOMPARE(chart.Axis(TChartAxisSide::Left).Title(), std::string("Load Transfer (t) (lbs/in^2)"));
    QVERIFY(chart.Axis(TChartAxisSide::Left).Automatic());

    // Typed and committed with Enter.
    form.Grid->setCurrentCell(1, 0);
    QVERIFY(TypeIntoCurrentCell(*form.Grid, "5"));
    PressEnter(*form.Grid);
    QCOMPARE(chart.Series(0).Points(), (Points{{0, 0}, {0.1, 1}, {0.2, 5}}));
    // Committed by moving with an arrow key.
    QVERIFY(TypeIntoCurrentCell(*form.Grid, "0.05"));
    form.Grid->setCurrentCell(2, 1);
    QCOMPARE(chart.Series(0).Points(), (Points{{0, 0}, {0.1, 0.05}, {0.2, 5}}));
    // Add, Insert and Delete.
    form.BtnAdd->click();
    QCOMPARE(chart.Series(0).Points().size(), 4u);
    form.Grid->SetCurrentCellQuietly(0, 0);
    form.BtnDel->click();
    QCOMPARE(chart.Series(0).Points(), (Points{{0, 0}, {0.1, 0.05}, {0.2, 5}}));
    form.BtnIns->click();
    QCOMPARE(chart.Series(0).Points().size(), 4u);
    // A value the program sets shows at once: the chart listens to the table.
    curve.GetData(0, 0).SetFloat(9);
    QCOMPARE(chart.Series(0).Points().front(), (TChartPoint{0, 9}));
    // Rows changed without a notification show on the next key or click.
    curve.SetRowCount(5);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_Down);
    QCOMPARE(chart.Series(0).Points().size(), 5u);
    curve.SetRowCount(3);
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(form.width() - 2, form.height() - 2));
    QCOMPARE(chart.Series(0).Points().size(), 3u);
    QVERIFY(prompts.Messages().isEmpty());
}

void TableChartFormTests::flatDataOnAFixedBandWithTheSecondPointRaised()
{
    auto table = ChartTable({"Depth", "Settlement"}, 0, 1);
    Fill(*table, {{0, 2}, {1, 2}, {2, 2}});
    TTableChartForm& form = OpenChartForm(*table);
    TChartAxis& left = form.Chart().Axis(TChartAxisSide::Left);
    QVERIFY(!left.Automatic());
    QCOMPARE(left.Range(), (TChartRange{0.9 * 2, 1.1 * 2}));
    QCOMPARE(form.Chart().Series(0).Points(), (Points{{0, 2}, {1, 2 * 1.001}, {2, 2}}));
    QCOMPARE(left.LabelFormat(), std::string("#,##0.###"));

    // Varying data range automatically again.
    table->GetData(1, 2).SetFloat(3);
    form.Redraw();
    QVERIFY(left.Automatic());
    QCOMPARE(form.Chart().Series(0).Points()[1], (TChartPoint{1, 2}));
    // A single row counts as varying.
    table->SetRowCount(1);
    form.Redraw();
    QVERIFY(left.Automatic());
    // A flat negative value gets the same band, in order; a flat 0 a band of 1.
    Fill(*table, {{0, -5}, {1, -5}});
    form.Redraw();
    QCOMPARE(left.Range(), (TChartRange{1.1 * -5, 0.9 * -5}));
    Fill(*table, {{0, 0}, {1, 0}});
    form.Redraw();
    QCOMPARE(left.Range(), (TChartRange{-1, 1}));
}

void TableChartFormTests::factorTableDrawsTwoSeriesWithALegend()
{
    TProjectTables tables;
    Fill(tables.TblTZFactors2, {{0, 1, 1.5L}, {10, 0.8L, 1.2L}});
    TTableChartForm& form = OpenChartForm(tables.TblTZFactors2);
    TChart& chart = form.Chart();
    QVERIFY(chart.Series(1).Active());
    QVERIFY(chart.LegendVisible());
    QCOMPARE(chart.Series(0).Title(), std::string("t-Multiplier"));
    QCOMPARE(chart.Series(1).Title(), std::string("z-Multiplier"));
    QCOMPARE(chart.Series(0).Points(), (Points{{0, 1}, {10, 0.8}}));
    QCOMPARE(chart.Series(1).Points(), (Points{{0, 1.5}, {10, 1.2}}));
    QVERIFY(chart.Series(1).PointMarks());
    QVERIFY(!chart.Series(0).PointMarks());
    QCOMPARE(chart.Axis(TChartAxisSide::Bottom).Title(), std::string("Depth (in)"));
    QCOMPARE(chart.Axis(TChartAxisSide::Left).Range(), (TChartRange{0.8, 1.5}));

    // t-multipliers all 1 but z-multipliers varying: the data vary.
    Fill(tables.TblTZFactors2, {{0, 1, 1}, {10, 1, 2}});
    form.Redraw();
    QVERIFY(chart.Axis(TChartAxisSide::Left).Automatic());
    QCOMPARE(chart.Series(0).Points()[1], (TChartPoint{10, 1}));

    // The settlement table (two data columns) draws one series, no legend.
    TTableChartForm& settlement = OpenChartForm(tables.TblSettlement2);
    QVERIFY(!settlement.Chart().Series(1).Active());
    QVERIFY(!settlement.Chart().LegendVisible());
}

void TableChartFormTests::oneDataColumnIsDrawnAgainstTheRowNumber()
{
    auto table = ChartTable({"Load"}, 0, 0);
    Fill(*table, {{5}, {7}, {6}});
    TTableChartForm& form = OpenChartForm(*table);
    TChart& chart = form.Chart();
    QCOMPARE(chart.Series(0).Points(), (Points{{0, 5}, {1, 7}, {2, 6}}));
    QCOMPARE(chart.Axis(TChartAxisSide::Bottom).Title(), std::string("N"));
    QCOMPARE(chart.Axis(TChartAxisSide::Bottom).LabelFormat(), std::string("#,##0"));
    QVERIFY(!chart.Series(0).PointMarks());
}

void TableChartFormTests::axesInvertedAndLabelledByTheirRange()
{
    auto table = ChartTable({"Depth", "Stiffness"}, 0, 1);
    table->Chart->InvertedXAxis = true;
    Fill(*table, {{0, 1e6L}, {10, 3e6L}});
    TTableChartForm& form = OpenChartForm(*table);
    TChartAxis& bottom = form.Chart().Axis(TChartAxisSide::Bottom);
    TChartAxis& left = form.Chart().Axis(TChartAxisSide::Left);
    QVERIFY(bottom.Inverted());
    QVERIFY(!left.Inverted());
    QCOMPARE(bottom.LabelFormat(), std::string("#,##0.###"));
    QCOMPARE(left.LabelFormat(), std::string("#.0##E-0"));
    for (const std::string& label : left.LabelTexts())
        QVERIFY2(label.find('E') != std::string::npos, label.c_str());

    table->Chart->InvertedXAxis = false;
    table->Chart->InvertedYAxis = true;
    Fill(*table, {{0, 0.0001L}, {10, 0.0005L}});
    form.Redraw();
    QVERIFY(!bottom.Inverted());
    QVERIFY(left.Inverted());
    QCOMPARE(left.LabelFormat(), std::string("#.0##E-0"));
    Fill(*table, {{0, 0.5L}, {10, 1234.5L}});
    form.Redraw();
    QCOMPARE(left.LabelFormat(), std::string("#,##0.###"));
}

void TableChartFormTests::curveIsDrawnInRed()
{
    auto table = ChartTable({"Load", "Movement"}, 1, 0);
    // A rising line from the lower left to the upper right.
    Fill(*table, {{0, 0}, {10, 1}, {20, 2}});
    TTableChartForm& form = OpenChartForm(*table);
    QCoreApplication::processEvents();
    QWidget* chart = form.Chart().Widget();
    QVERIFY(chart->isVisible());
    const QImage image = chart->grab().toImage();
    const auto reds = [&image](QRect r) {
        int count = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        return count;
    };
    const int w = image.width(), h = image.height();
    QVERIFY(reds(image.rect()) > 100);
    QVERIFY(reds(QRect(0, h / 2, w / 2, h / 2)) > 0);
    QVERIFY(reds(QRect(w / 2, 0, w / 2, h / 2)) > 0);
    QCOMPARE(reds(QRect(0, 0, w / 3, h / 3)), 0);
    QCOMPARE(reds(QRect(2 * w / 3, 2 * h / 3, w / 3, h / 3)), 0);
}

void TableChartFormTests::layoutOfTheChartAndImportControls()
{
    TProjectTables tables;
    Fill(tables.TblQwcurve2, std::vector<std::vector<long double>>(8, {1, 1}));
    TTableChartForm& form = OpenChartForm(tables.TblQwcurve2);
    const int m = form.logicalDpiX() / 20;
    QWidget* chart = form.Chart().Widget();
    QCOMPARE(chart->pos(), QPoint(m, m));
    QCOMPARE(form.Grid->y(), chart->geometry().bottom() + 1 + m);
    QVERIFY(form.width() >= chart->geometry().right() + 1 + m);
    QCOMPARE(form.RowsInView(), 5);
    QVERIFY(form.PaintBox1->isHidden());
    // Import controls under the row buttons.
    for (QWidget* w : std::initializer_list<QWidget*>{form.FileNameLabel, form.FileNameEdit, form.BtnBrowse,
                                                      form.BtnEdit, form.BtnRead, form.BtnClip})
        QVERIFY(w->isVisible());
    QVERIFY(form.BtnOK->isHidden());
    QCOMPARE(form.FileNameLabel->x(), 2 * m);
    QCOMPARE(form.BtnBrowse->x(), 2 * m);
    QVERIFY(form.FileNameEdit->y() > form.BtnAdd->geometry().bottom());
    QVERIFY(form.BtnBrowse->y() > form.FileNameEdit->geometry().bottom());
    QCOMPARE(form.BtnEdit->x(), form.BtnBrowse->geometry().right() + 1 + m);
    QCOMPARE(form.BtnRead->x(), form.BtnEdit->geometry().right() + 1 + m);
    QCOMPARE(form.BtnClip->geometry().right(), form.BtnRead->geometry().right());
    QVERIFY(form.BtnClip->y() > form.BtnRead->geometry().bottom());
    QVERIFY(form.height() > form.BtnClip->geometry().bottom());
    // No file named: nothing to view or read.
    QVERIFY(!form.BtnEdit->isEnabled());
    QVERIFY(!form.BtnRead->isEnabled());
    // Add grows the view up to 5 rows only.
    form.BtnAdd->click();
    QCOMPARE(form.RowsInView(), 5);

    // The soil layers: no chart, no import, ten rows in view.
    tables.D2.SetRowCount(12);
    TTableChartForm& layers = OpenChartForm(tables.D2);
    QVERIFY(layers.Chart().Widget()->isHidden());
    QVERIFY(layers.BtnRead->isHidden());
    QCOMPARE(layers.RowsInView(), 10);
    QCOMPARE(layers.Grid->y(), m);

    // OK and Cancel centred in the gaps between the row buttons.
    auto table = ChartTable({"a", "b"}, 0, 1);
    table->Chart->OKCancelButtons = true;
    TTableChartForm& withOk = OpenChartForm(*table);
    QVERIFY(withOk.BtnOK->isVisible());
    const int gapOk = withOk.BtnOK->x() - withOk.BtnAdd->geometry().right();
    QVERIFY(std::abs(gapOk - (withOk.BtnIns->x() - withOk.BtnOK->geometry().right())) <= 1);
    const int gapCancel = withOk.BtnCancel->x() - withOk.BtnIns->geometry().right();
    QVERIFY(std::abs(gapCancel - (withOk.BtnDel->x() - withOk.BtnCancel->geometry().right())) <= 1);
    QVERIFY(withOk.FileNameEdit->y() > withOk.BtnOK->geometry().bottom());
}

void TableChartFormTests::userSizingKeepsTheChartAndTheImportRows()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    Fill(tables.TblSettlement2, std::vector<std::vector<long double>>(20, {1, 2}));
    TTableChartForm& form = OpenChartForm(tables.TblSettlement2);
    QCOMPARE(form.RowsInView(), 5);
    const QSize start = form.size();
    const int pitch = form.Grid->rowHeight(0);

    // Bottom edge dragged three and a half rows down: three more rows.
    form.resize(start.width(), start.height() + 3 * pitch + pitch / 2);
    QCOMPARE(form.RowsInView(), 8);
    QCOMPARE(form.height(), start.height() + 3 * pitch);
    QCOMPARE(form.Grid->y(), form.Chart().Widget()->geometry().bottom() + 1 + form.logicalDpiX() / 20);
    QVERIFY(form.BtnClip->geometry().bottom() < form.height());
    // Narrower than the chart: the window keeps the chart's width.
    form.resize(50, form.height());
    QVERIFY(form.width() > form.Chart().Widget()->geometry().right());
    QCOMPARE(form.RowsInView(), 8);
    QVERIFY(prompts.Messages().isEmpty());
}

void TableChartFormTests::segmentModeDrawsOneLinePerRow()
{
    auto table = ChartTable({"x1", "y1", "x2", "y2"}, 0, 1);
    table->Chart->Graph.SegmentMode = true;
    table->Chart->Graph.X2Column = 2;
    table->Chart->Graph.Y2Column = 3;
    Fill(*table, {{0, 0, 10, 10}, {10, 0, 0, 10}});
    TTableChartForm& form = OpenChartForm(*table);
    QVERIFY(form.Chart().Widget()->isHidden());
    QVERIFY(form.PaintBox1->isVisible());
    const QImage image = form.PaintBox1->grab().toImage();
    const QColor ink = form.palette().windowText().color();
    // The two diagonals cross in the middle; the corners 20 pixels in are ink.
    const auto inkNear = [&](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (image.pixelColor(x + dx, y + dy) == ink)
                    return true;
        return false;
    };
    const int w = image.width(), h = image.height();
    QVERIFY(inkNear(20, 20));
    QVERIFY(inkNear(w - 21, h - 21));
    QVERIFY(inkNear(20, h - 21));
    QVERIFY(!inkNear(w / 2, 10));
}

void TableChartFormTests::okCommitsAndCancelDiscards()
{
    ScriptedPrompts prompts;
    auto table = ChartTable({"a", "b"}, 0, 1);
    table->Chart->OKCancelButtons = true;
    Fill(*table, {{1, 2}, {3, 4}});
    {
        TTableChartForm& form = OpenChartForm(*table);
        form.show();
        QVERIFY(TypeIntoCurrentCell(*form.Grid, "7"));
        form.BtnOK->click();
        QCOMPARE(table->GetData(0, 0).AsString(), std::string("7"));
        QVERIFY(!TableForm(*table));
    }
    ProcessDeletes();
    {
        TTableChartForm& form = OpenChartForm(*table);
        form.show();
        QVERIFY(TypeIntoCurrentCell(*form.Grid, "9"));
        form.BtnCancel->click();
        QCOMPARE(table->GetData(0, 0).AsString(), std::string("7"));
        QVERIFY(!TableForm(*table));
    }
    ProcessDeletes();
    {
        // OK with a bad entry: the message, the window stays.
        TTableChartForm& form = OpenChartForm(*table);
        form.show();
        QVERIFY(TypeIntoCurrentCell(*form.Grid, "x"));
        form.BtnOK->click();
        QCOMPARE(prompts.Messages().size(), 1);
        QVERIFY(TableForm(*table) == &form);
        form.BtnCancel->click();
        QVERIFY(!TableForm(*table));
    }
}

QTEST_MAIN(TableChartFormTests)
#include "test_table_chart_form.moc"
