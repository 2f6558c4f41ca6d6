// Table-with-chart window: the chart following the table, its flat-data and
// two-series rules, the import from a file, the clipboard and a dropped
// file, View/Edit File, OK and Cancel, and copy and paste of cell blocks.

#include "ProjectTables.h"
#include "ScriptedPrompts.h"
#include "TableChartForm.h"
#include "TableGrid.h"

#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace {

using Points = std::vector<TChartPoint>;

const QString Editor = QStringLiteral("/opt/editors/plain-edit");

TTableChartForm& OpenChartForm(TGridTableChart& table)
{
    table.Show();
    auto* form = dynamic_cast<TTableChartForm*>(TableForm(table));
    if (!form)
        qFatal("no chart window opened");
    return *form;
}

void Fill(TGridTableChart& table, const std::vector<std::vector<long double>>& rows)
{
    table.SetRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
            table.GetData(c, r).SetFloat(rows[r][c]);
}

// A chart table of one float column per caption, drawing y against x.
std::unique_ptr<TGridTableChart> ChartTable(const std::vector<std::string>& captions, int x, int y,
                                            int maxRows = 100)
{
    auto table = std::make_unique<TGridTableChart>();
    table->Caption = "Curve";
    table->SetMinRows(1);
    table->MaxRows = maxRows;
    for (const std::string& caption : captions)
        table->AddColumn<TFloatColumnChart>({caption});
    table->Graph.ShowGraph = true;
    table->Graph.XColumn = x;
    table->Graph.YColumn = y;
    table->GetDataFromFile = true;
    return table;
}

QLineEdit* TypeIntoCurrentCell(TTableGrid& grid, const QString& text)
{
    grid.setFocus();
    if (!grid.indexWidget(grid.currentIndex()))
        grid.edit(grid.currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
    if (!editor)
        return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    return editor;
}

void PressEnter(TTableGrid& grid)
{
    QWidget* target = grid.indexWidget(grid.currentIndex());
    QTest::keyClick(target ? target : &grid, Qt::Key_Return);
}

QWidget* KeyTarget(TTableGrid& grid)
{
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    return editor ? editor : &grid;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(text);
    return path;
}

std::vector<std::string> Column(const TGridTableChart& table, int col)
{
    std::vector<std::string> texts;
    for (int row = 0; row < table.RowCount(); ++row)
        texts.push_back(table.GetData(col, row).AsString());
    return texts;
}

using Texts = std::vector<std::string>;

void ProcessDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TableChartFormTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InstallTableWindows(nullptr);
        InstallTableChartWindows(nullptr, [] { return Editor; });
    }
    void cleanup() { ProcessDeletes(); }

    void chartFollowsEveryKindOfEdit();
    void flatDataOnAFixedBandWithTheSecondPointRaised();
    void factorTableDrawsTwoSeriesWithALegend();
    void oneDataColumnIsDrawnAgainstTheRowNumber();
    void axesInvertedAndLabelledByTheirRange();
    void curveIsDrawnInRed();
    void layoutOfTheChartAndImportControls();
    void segmentModeDrawsOneLinePerRow();
    void userSizingKeepsTheChartAndTheImportRows();
    void importFromAFile();
    void importStopsAtMaxRowsAndAtAnEntryError();
    void importFromTheClipboard();
    void droppedFileImports();
    void viewEditFileStartsTheTextEditor();
    void okCommitsAndCancelDiscards();
    void copyAndPasteOfCellBlocks();
};

void TableChartFormTests::chartFollowsEveryKindOfEdit()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TGridTableChart& curve = tables.TblTZCurves2;
    Fill(curve, {{0, 0}, {2, 0.2L}, {1, 0.1L}});
    TTableChartForm& form = OpenChartForm(curve);
    TChart& chart = form.Chart();
    // t (column 0) against z (column 1), sorted by z.
    QCOMPARE(chart.Series(0).Points(), (Points{{0, 0}, {0.1, 1}, {0.2, 2}}));
    QVERIFY(!chart.Series(1).Active());
    QVERIFY(!chart.LegendVisible());
    QCOMPARE(chart.Axis(TChartAxisSide::Bottom).Title(), std::string("Pile Movement (z),"));
    QCOMPARE(chart.Axis(TChartAxisSide::Left).Title(), std::string("Load Transfer (t),"));
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
    // A value the program sets shows on the next key or click.
    curve.GetData(0, 0).SetFloat(9);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_Down);
    QCOMPARE(chart.Series(0).Points().front(), (TChartPoint{0, 9}));
    curve.GetData(0, 0).SetFloat(8);
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(form.width() - 2, form.height() - 2));
    QCOMPARE(chart.Series(0).Points().front(), (TChartPoint{0, 8}));
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
    QCOMPARE(chart.Axis(TChartAxisSide::Bottom).Title(), std::string("Depth"));
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
    table->InvertedXAxis = true;
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

    table->InvertedXAxis = false;
    table->InvertedYAxis = true;
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
    table->OKCancelButtons = true;
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
    table->Graph.SegmentMode = true;
    table->Graph.X2Column = 2;
    table->Graph.Y2Column = 3;
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

void TableChartFormTests::importFromAFile()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TGridTableChart& curve = tables.TblTZCurves2;
    Fill(curve, std::vector<std::vector<long double>>(6, {1, 1}));
    TTableChartForm& form = OpenChartForm(curve);
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "curve.txt", "t z\r\n0 0\r\n1.5,0.1\r\n3\t0.3\r\n");

    prompts.Files.push_back({path, 0});
    form.BtnBrowse->click();
    QCOMPARE(prompts.Asked.back().What, ScriptedPrompts::Kind::OpenFile);
    QCOMPARE(prompts.Asked.back().Request.Filter, TTableChartForm::OpenFilter);
    QCOMPARE(form.FileNameEdit->text(), path);
    QVERIFY(form.BtnRead->isEnabled());
    QVERIFY(form.BtnEdit->isEnabled());
    // Cancelling the dialog keeps the name.
    form.BtnBrowse->click();
    QCOMPARE(form.FileNameEdit->text(), path);

    form.BtnRead->click();
    QCOMPARE(curve.RowCount(), 3);
    QCOMPARE(Column(curve, 0), (Texts{"0", "1.5", "3"}));
    QCOMPARE(Column(curve, 1), (Texts{"0", "0.1", "0.3"}));
    QVERIFY(curve.Changed());
    QCOMPARE(form.Grid->rowCount(), 3);
    QCOMPARE(form.Grid->CellText(2, 1), QString("0.3"));
    QCOMPARE(form.Chart().Series(0).Points(), (Points{{0, 0}, {0.1, 1.5}, {0.3, 3}}));
    QVERIFY(prompts.Messages().isEmpty());

    // A three-number line is skipped by the two-column table.
    WriteFile(dir, "curve.txt", "1 2 3\n4 5\n6 7 8\n");
    form.BtnRead->click();
    QCOMPARE(Column(curve, 0), (Texts{"4"}));
    // A file that went away: the buttons follow at the next layout, and a
    // read is refused with the reason.
    QFile::remove(path);
    form.BtnAdd->click();
    QVERIFY(!form.BtnRead->isEnabled());
    QMetaObject::invokeMethod(form.BtnRead, "click");  // disabled: nothing
    QCOMPARE(curve.RowCount(), 2);
    form.FileNameEdit->setText(dir.filePath("nothing.txt"));
    QVERIFY(!form.BtnEdit->isEnabled());
}

void TableChartFormTests::importStopsAtMaxRowsAndAtAnEntryError()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TGridTableChart& curve = tables.TblTZCurves2;
    TTableChartForm& form = OpenChartForm(curve);
    QCOMPARE(curve.RowCount(), 2);
    QTemporaryDir dir;
    QByteArray lines;
    for (int i = 1; i <= 120; ++i)
        lines += QByteArray::number(i) + " " + QByteArray::number(i / 100.0) + "\n";
    form.FileNameEdit->setText(WriteFile(dir, "long.txt", lines));
    form.BtnRead->click();
    QCOMPARE(curve.RowCount(), 100);
    QCOMPARE(curve.GetData(0, 99).AsString(), std::string("100"));
    QVERIFY(!form.BtnAdd->isEnabled());
    QCOMPARE(form.Chart().Series(0).Points().size(), 100u);

    // An integer column checks its limits while the window is open.
    auto table = std::make_unique<TGridTableChart>();
    table->MaxRows = 10;
    auto& count = table->AddColumn<TIntColumnChart>({"Count"});
    count.MinValue = 0;
    count.MaxValue = 10;
    table->GetDataFromFile = true;
    TTableChartForm& counts = OpenChartForm(*table);
    counts.FileNameEdit->setText(WriteFile(dir, "counts.txt", "5\n7\n50\n8\n"));
    counts.BtnRead->click();
    QCOMPARE(prompts.Messages(), QStringList{"Entry must be between 0 and 10."});
    QCOMPARE(Column(*table, 0), (Texts{"5", "7", "0"}));
}

void TableChartFormTests::importFromTheClipboard()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TGridTableChart& qw = tables.TblQwcurve2;
    TTableChartForm& form = OpenChartForm(qw);
    QGuiApplication::clipboard()->clear();
    form.BtnClip->click();
    QCOMPARE(prompts.Messages(), QStringList{"There is no text on the Clipboard"});
    QCOMPARE(qw.RowCount(), 2);

    // As a spreadsheet copies two columns with a heading.
    QGuiApplication::clipboard()->setText("Q\tw\r\n0\t0\r\n100\t0.01\r\n250\t0.05\r\n");
    form.BtnClip->click();
    QCOMPARE(qw.RowCount(), 3);
    QCOMPARE(Column(qw, 0), (Texts{"0", "100", "250"}));
    QCOMPARE(Column(qw, 1), (Texts{"0", "0.01", "0.05"}));
    QCOMPARE(form.Chart().Series(0).Points(), (Points{{0, 0}, {0.01, 100}, {0.05, 250}}));
    QCOMPARE(prompts.Messages().size(), 1);

    // Nothing that counts: the table stays.
    QGuiApplication::clipboard()->setText("no numbers here");
    form.BtnClip->click();
    QCOMPARE(qw.RowCount(), 3);
}

void TableChartFormTests::droppedFileImports()
{
    TProjectTables tables;
    TGridTableChart& ae = tables.TblAE2;
    TTableChartForm& form = OpenChartForm(ae);
    QVERIFY(form.acceptDrops());
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "ae.dat", "0 1000\n5 2000\n12 2500\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    QCOMPARE(form.FileNameEdit->text(), path);
    QCOMPARE(Column(ae, 1), (Texts{"1000", "2000", "2500"}));
    // A byte order mark before the first number does not hide it.
    form.FileNameEdit->setText(WriteFile(dir, "bom.txt", "\xEF\xBB\xBF" "1 10\n2 20\n"));
    form.BtnRead->click();
    QCOMPARE(Column(ae, 0), (Texts{"1", "2"}));

    // A project file is no curve: left to the main window.
    QMimeData project;
    project.setUrls({QUrl::fromLocalFile(WriteFile(dir, "pile.kv3d", "1 2\n"))});
    QDragEnterEvent enterProject(QPoint(5, 5), Qt::CopyAction, &project, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enterProject);
    QVERIFY(!enterProject.isAccepted());
    QDropEvent dropProject(QPointF(5, 5), Qt::CopyAction, &project, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &dropProject);
    QCOMPARE(Column(ae, 0), (Texts{"1", "2"}));

    // The soil layers take no file.
    TTableChartForm& layers = OpenChartForm(tables.D2);
    QVERIFY(!layers.acceptDrops());
}

void TableChartFormTests::viewEditFileStartsTheTextEditor()
{
    ScriptedPrompts prompts;
    RecordingLauncher launcher;
    TProjectTables tables;
    TTableChartForm& form = OpenChartForm(tables.TblSettlement2);
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "my settlement.txt", "0 0\n");
    form.FileNameEdit->setText(path);
    form.BtnEdit->click();
    QCOMPARE(launcher.Started.size(), 1u);
    QCOMPARE(launcher.Started[0].Program, Editor);
    QCOMPARE(launcher.Started[0].Arguments, QStringList{path});
    QVERIFY(prompts.Messages().isEmpty());
    launcher.Succeeds = false;
    form.BtnEdit->click();
    QCOMPARE(prompts.Messages(), QStringList{"An error occurred in running the Word Processor"});
}

void TableChartFormTests::okCommitsAndCancelDiscards()
{
    ScriptedPrompts prompts;
    auto table = ChartTable({"a", "b"}, 0, 1);
    table->OKCancelButtons = true;
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

void TableChartFormTests::copyAndPasteOfCellBlocks()
{
    ScriptedPrompts prompts;
    // A plain table window: both families copy and paste.
    auto table = std::make_unique<TGridTable>();
    table->Caption = "Loads";
    table->MaxRows = 4;
    table->AddColumn<TFloatColumn>({"Depth"});
    table->AddColumn<TFloatColumn>({"Load"});
    table->SetRowCount(2);
    table->GetData(0, 0).SetFloat(1);
    table->GetData(1, 0).SetFloat(10);
    table->GetData(0, 1).SetFloat(2);
    table->GetData(1, 1).SetFloat(20.5L);
    table->Show();
    TTableForm& form = *TableForm(*table);
    form.show();
    form.Grid->setFocus();
    form.Grid->setCurrentCell(0, 0);
    form.Grid->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 1), true);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("1\t10\n2\t20.5\n"));

    // A block from a spreadsheet pasted at row 2 grows the table to MaxRows.
    QGuiApplication::clipboard()->setText("3\t30\r\n4\t40\r\n5\t50\r\n6\t60\r\n");
    form.Grid->setCurrentCell(1, 0);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(table->RowCount(), 4);
    QCOMPARE(table->GetData(0, 3).AsString(), std::string("5"));
    QCOMPARE(table->GetData(1, 1).AsString(), std::string("30"));
    QCOMPARE(form.Grid->CellText(3, 1), QString("50"));
    QVERIFY(table->Changed());

    // An entry error stops the paste with its message; cells before it stay.
    QGuiApplication::clipboard()->setText("7\t70\n8\tbad\n9\t90\n");
    form.Grid->setCurrentCell(0, 0);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(prompts.Messages(),
             QStringList{"Entry could not be evaluated:\ninvalid character(s) in expression"});
    QCOMPARE(table->GetData(0, 0).AsString(), std::string("7"));
    QCOMPARE(table->GetData(0, 1).AsString(), std::string("8"));
    QCOMPARE(table->GetData(1, 1).AsString(), std::string("30"));
    QCOMPARE(table->GetData(0, 2).AsString(), std::string("4"));

    // A single value pasted into the cell editor is the editor's own.
    QGuiApplication::clipboard()->setText("12");
    form.Grid->setCurrentCell(2, 1);
    QLineEdit* editor = TypeIntoCurrentCell(*form.Grid, "");
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(editor->text(), QString("12"));
    PressEnter(*form.Grid);
    QCOMPARE(table->GetData(1, 2).AsString(), std::string("12"));

    // In the chart window the pasted curve shows at once.
    TProjectTables tables;
    TTableChartForm& chart = OpenChartForm(tables.TblTZCurves2);
    chart.show();
    chart.Grid->setFocus();
    chart.Grid->setCurrentCell(0, 0);
    QGuiApplication::clipboard()->setText("0\t0\r\n2.5\t0.1\r\n4\t0.3\r\n");
    QTest::keyClick(KeyTarget(*chart.Grid), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(tables.TblTZCurves2.RowCount(), 3);
    QCOMPARE(chart.Chart().Series(0).Points(), (Points{{0, 0}, {0.1, 2.5}, {0.3, 4}}));
}

QTEST_MAIN(TableChartFormTests)
#include "test_table_chart_form.moc"
