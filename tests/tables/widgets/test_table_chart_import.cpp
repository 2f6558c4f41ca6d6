// Filling tables from text: the chart window's import from a file, the
// clipboard and a dropped file, View/Edit File, and copy and paste of cell
// blocks in every table window.

#include "ChartFormTestSupport.h"
#include "ScriptedPrompts.h"

#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

using namespace chart_form_test;

class TableImportTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InstallTableWindows(nullptr, [] { return Editor; });
    }
    void cleanup() { ProcessDeletes(); }

    void importFromAFile();
    void importStopsAtMaxRowsAndAtAnEntryError();
    void importFromTheClipboard();
    void droppedFileImports();
    void viewEditFileStartsTheTextEditor();
    void copyAndPasteOfCellBlocks();
};

void TableImportTests::importFromAFile()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TGridTable& curve = tables.TblTZCurves2;
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

    // A line that does not read is named and nothing is imported.
    WriteFile(dir, "curve.txt", "t z\n4 5\nO.05 6\n7 8\n");
    form.BtnRead->click();
    QCOMPARE(prompts.Messages(),
             QStringList{"These lines do not hold 2 numbers:\nline 3: O.05 6\nNothing was entered."});
    QCOMPARE(Column(curve, 0), (Texts{"0", "1.5", "3"}));
    // A file that went away: the buttons follow at the next layout, and a
    // read is refused with the reason.
    QFile::remove(path);
    form.BtnAdd->click();
    QVERIFY(!form.BtnRead->isEnabled());
    QMetaObject::invokeMethod(form.BtnRead, "click");  // disabled: nothing
    QCOMPARE(curve.RowCount(), 4);
    form.FileNameEdit->setText(dir.filePath("nothing.txt"));
    QVERIFY(!form.BtnEdit->isEnabled());
}

void TableImportTests::importStopsAtMaxRowsAndAtAnEntryError()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TGridTable& curve = tables.TblTZCurves2;
    TTableChartForm& form = OpenChartForm(curve);
    QCOMPARE(curve.RowCount(), 2);
    QTemporaryDir dir;
    QByteArray lines;
    for (int i = 1; i <= 120; ++i)
        lines += QByteArray::number(i) + " " + QByteArray::number(i / 100.0) + "\n";
    form.FileNameEdit->setText(WriteFile(dir, "long.txt", lines));
    form.BtnRead->click();
    QCOMPARE(prompts.Messages(), QStringList{"The values fill 120 rows; the table takes at most 100.\n"
                                             "Nothing was entered."});
    QCOMPARE(curve.RowCount(), 2);
    lines.truncate(lines.lastIndexOf("101 "));
    form.FileNameEdit->setText(WriteFile(dir, "long.txt", lines));
    form.BtnRead->click();
    QCOMPARE(curve.RowCount(), 100);
    QCOMPARE(curve.GetData(0, 99).AsString(), std::string("100"));
    QVERIFY(!form.BtnAdd->isEnabled());
    QCOMPARE(form.Chart().Series(0).Points().size(), 100u);

    // An integer column checks its limits while the window is open.
    auto table = std::make_unique<TGridTable>();
    table->Chart.emplace();
    table->MaxRows = 10;
    auto& count = table->AddColumn<TIntColumn>({"Count"});
    count.MinValue = 0;
    count.MaxValue = 10;
    table->Chart->GetDataFromFile = true;
    TTableChartForm& counts = OpenChartForm(*table);
    counts.FileNameEdit->setText(WriteFile(dir, "counts.txt", "5\n7\n50\n8\n"));
    prompts.Asked.clear();
    const int rowsBefore = table->RowCount();
    counts.BtnRead->click();
    // Refused at its line: the table is as it was.
    QCOMPARE(prompts.Messages(), QStringList{"Entry must be between 0 and 10.\nline 3: 50\nNothing was entered."});
    QCOMPARE(table->RowCount(), rowsBefore);
}

void TableImportTests::importFromTheClipboard()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TGridTable& qw = tables.TblQwcurve2;
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

void TableImportTests::droppedFileImports()
{
    TProjectTables tables;
    TGridTable& ae = tables.TblAE2;
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
    form.FileNameEdit->setText(WriteFile(dir, "bom.txt",
                                         "\xEF\xBB\xBF"
                                         "1 10\n2 20\n"));
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

void TableImportTests::viewEditFileStartsTheTextEditor()
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

void TableImportTests::copyAndPasteOfCellBlocks()
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
    ShowTable(*table);
    TTableForm& form = *TableForm(*table);
    form.show();
    form.Grid->setFocus();
    form.Grid->setCurrentCell(0, 0);
    QAbstractItemModel* model = form.Grid->model();
    form.Grid->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(1, 1)),
                                        QItemSelectionModel::Select);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("1\t10\n2\t20.5\n"));

    // A block from a spreadsheet pasted at row 2 grows the table to MaxRows;
    // one row more is refused whole.
    QGuiApplication::clipboard()->setText("3\t30\r\n4\t40\r\n5\t50\r\n6\t60\r\n");
    form.Grid->setCurrentCell(1, 0);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(table->RowCount(), 2);
    QCOMPARE(prompts.Messages().size(), 1);
    prompts.Asked.clear();
    QGuiApplication::clipboard()->setText("3\t30\r\n4\t40\r\n5\t50\r\n");
    form.Grid->setCurrentCell(1, 0);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(table->RowCount(), 4);
    QCOMPARE(table->GetData(0, 3).AsString(), std::string("5"));
    QCOMPARE(table->GetData(1, 1).AsString(), std::string("30"));
    QCOMPARE(form.Grid->CellText(3, 1), QString("50"));
    QVERIFY(table->Changed());

    // An entry error refuses the paste with its line; nothing changes.
    QGuiApplication::clipboard()->setText("7\t70\n8\tbad\n9\t90\n");
    form.Grid->setCurrentCell(0, 0);
    QTest::keyClick(KeyTarget(*form.Grid), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(prompts.Messages(), QStringList{"Entry could not be evaluated:\ninvalid character(s) in expression\n"
                                             "line 2: 8\tbad\nNothing was entered."});
    QCOMPARE(table->GetData(0, 0).AsString(), std::string("1"));
    QCOMPARE(table->GetData(0, 1).AsString(), std::string("3"));
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

QTEST_MAIN(TableImportTests)
#include "test_table_chart_import.moc"
