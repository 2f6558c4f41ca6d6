// Table editor window: row buttons and their limits, entry through the cell
// editor, drop-downs and buttons over the cells, nested tables, closing and
// snapping to whole rows and columns.

#include "CellTyping.h"
#include "ProjectTables.h"
#include "ScriptedPrompts.h"
#include "TableForm.h"
#include "TableGrid.h"
#include "TableWindows.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// A float table of `columns` columns with the given row limits and rows.
std::unique_ptr<TGridTable> FloatTable(int columns, int minRows, int maxRows, int rows)
{
    auto table = std::make_unique<TGridTable>();
    table->Caption = "Loads";
    table->SetMinRows(minRows);
    table->MaxRows = maxRows;
    for (int c = 0; c < columns; ++c)
        table->AddColumn<TFloatColumn>({"Value " + std::to_string(c + 1)}).UnitString = "F";
    table->SetRowCount(rows);
    return table;
}

TTableForm& OpenForm(TGridTable& table)
{
    ShowTable(table);
    TTableForm* form = TableForm(table);
    if (!form)
        qFatal("no window opened");
    return *form;
}

void ProcessDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class TableFormTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallTableWindows(nullptr); }
    void cleanup() { ProcessDeletes(); }

    void rowButtonsFollowTheLimits();
    void rowsInViewAndScrolling();
    void enteredExpressionIsShownNormalised();
    void enterKeyWalksDownThenToTheNextColumn();
    void invalidEntryKeepsCellAndWindow();
    void soilTypeDropDownReplacesLayerData();
    void nestedTableOpensFromItsRowButton();
    void modalWindowOpensNestedTableModally();
    void childWindowTurnsModalForModalParent();
    void controlColumnsCannotBeSelected();
    void windowFollowsTheTable();
    void gridShowsTheTableBesideOtherListeners();
    void userSizingSnapsToWholeColumnsAndRows();
    void childWindowsOfTheMdiArea();
    void embeddedInFormParent();
    void minimumColumnWidths();
};

void TableFormTests::rowButtonsFollowTheLimits()
{
    ScriptedPrompts prompts;
    // Equal limits: no row buttons at all.
    auto fixed = FloatTable(2, 2, 2, 2);
    TTableForm& fixedForm = OpenForm(*fixed);
    QVERIFY(fixedForm.BtnAdd->isHidden());
    QVERIFY(fixedForm.BtnIns->isHidden());
    QVERIFY(fixedForm.BtnDel->isHidden());

    auto table = FloatTable(1, 1, 3, 1);
    TTableForm& form = OpenForm(*table);
    QVERIFY(form.BtnAdd->isVisible());
    QVERIFY(form.BtnAdd->isEnabled());
    QVERIFY(!form.BtnDel->isEnabled());  // at MinRows

    form.BtnAdd->click();
    QCOMPARE(table->RowCount(), 2);
    QVERIFY(table->Changed());
    QVERIFY(form.BtnDel->isEnabled());
    form.Grid->SetCurrentCellQuietly(0, 0);
    form.BtnIns->click();
    QCOMPARE(table->RowCount(), 3);
    QCOMPARE(form.Grid->rowCount(), 3);
    QVERIFY(!form.BtnAdd->isEnabled());  // at MaxRows
    QVERIFY(!form.BtnIns->isEnabled());
    QVERIFY(form.BtnDel->isEnabled());

    form.Grid->SetCurrentCellQuietly(2, 0);
    form.BtnDel->click();
    QCOMPARE(table->RowCount(), 2);
    QVERIFY(form.BtnAdd->isEnabled());

    // Insert and Delete need a current data row.
    form.Grid->SetCurrentCellQuietly(-1, -1);
    form.BtnDel->click();
    QCOMPARE(table->RowCount(), 2);
    QCOMPARE(prompts.Messages(), QStringList{"Grid.Row not in valid range"});

    // The window opens with at least MinRows rows.
    auto empty = FloatTable(1, 2, 10, 0);
    OpenForm(*empty);
    QCOMPARE(empty->RowCount(), 2);
}

void TableFormTests::rowsInViewAndScrolling()
{
    auto table = FloatTable(1, 1, 50, 25);
    TTableForm& form = OpenForm(*table);
    QCOMPARE(form.RowsInView(), 10);
    QCOMPARE(form.Grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // The grid shows exactly its rows in view.
    const int pitch = form.Grid->rowHeight(0);
    QCOMPARE(form.Grid->viewport()->height(), 10 * pitch);

    // Adding a row to a table with every row in view shows one more row.
    auto small = FloatTable(1, 1, 50, 3);
    TTableForm& smallForm = OpenForm(*small);
    QCOMPARE(smallForm.RowsInView(), 3);
    QCOMPARE(smallForm.Grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const int height = smallForm.height();
    smallForm.BtnAdd->click();
    QCOMPARE(smallForm.RowsInView(), 4);
    QCOMPARE(smallForm.height(), height + pitch);

    // Past ten rows the view stays at ten and scrolls to the new last row.
    for (int i = 0; i < 8; ++i)
        smallForm.BtnAdd->click();
    QCOMPARE(small->RowCount(), 12);
    QCOMPARE(smallForm.RowsInView(), 10);
    QCOMPARE(smallForm.Grid->TopRow(), 2);
    QCOMPARE(smallForm.Grid->model()->headerData(11, Qt::Vertical).toString(), QString("12"));
}

void TableFormTests::enteredExpressionIsShownNormalised()
{
    ScriptedPrompts prompts;
    auto table = FloatTable(2, 1, 10, 3);
    TTableForm& form = OpenForm(*table);
    QCOMPARE(form.Grid->currentRow(), 0);
    // Walking over cells without typing changes nothing.
    QVERIFY(form.CommitCell());
    PressEnter(*form.Grid);
    form.Grid->setCurrentCell(0, 0);
    QVERIFY(!table->Changed());
    QVERIFY(TypeIntoCurrentCell(*form.Grid, "2*3"));
    PressEnter(*form.Grid);

    QCOMPARE(form.Grid->currentRow(), 1);
    QCOMPARE(double(table->GetData(0, 0).AsFloat()), 6.0);
    QCOMPARE(form.Grid->CellText(0, 0), QString("6"));
    QVERIFY(table->Changed());
    QVERIFY(prompts.Messages().isEmpty());

    // Leaving the cell by the mouse or the arrow keys commits as well.
    QVERIFY(TypeIntoCurrentCell(*form.Grid, "1/4"));
    form.Grid->setCurrentCell(1, 1);
    QCOMPARE(double(table->GetData(0, 1).AsFloat()), 0.25);
    QCOMPARE(form.Grid->CellText(1, 0), QString("0.25"));

    // A value set by the program shows at once.
    table->GetData(1, 2).SetFloat(1.5e-6L);
    QCOMPARE(form.Grid->CellText(2, 1), QString("1.5E-6"));
}

void TableFormTests::enterKeyWalksDownThenToTheNextColumn()
{
    auto table = FloatTable(2, 1, 10, 2);
    TTableForm& form = OpenForm(*table);
    TTableGrid& grid = *form.Grid;
    const auto cell = [&grid] { return QPoint(grid.currentColumn(), grid.currentRow()); };
    PressEnter(grid);
    QCOMPARE(cell(), QPoint(0, 1));
    PressEnter(grid);  // last row: first row of the next column
    QCOMPARE(cell(), QPoint(1, 0));
    PressEnter(grid);
    PressEnter(grid);  // last row of the last column: back to the first column
    QCOMPARE(cell(), QPoint(0, 0));
}

void TableFormTests::invalidEntryKeepsCellAndWindow()
{
    ScriptedPrompts prompts;
    TGridTable table;
    table.Caption = "Counts";
    table.SetMinRows(2);
    table.MaxRows = 5;
    table.AddColumn<TIntColumn>({"Count"});
    table.SetRowCount(2);
    TTableForm& form = OpenForm(table);
    QLineEdit* editor = TypeIntoCurrentCell(*form.Grid, "2.5");
    QVERIFY(editor);
    PressEnter(*form.Grid);

    QCOMPARE(prompts.Messages(), QStringList{"Entry must be an integer."});
    QCOMPARE(prompts.Asked.back().Icon, PromptIcon::Information);
    QCOMPARE(form.Grid->currentRow(), 0);
    QCOMPARE(form.Grid->CellText(0, 0), QString("2.5"));
    QCOMPARE(table.GetData(0, 0).AsInteger(), 0);

    // Nor can the grid be left for another control of the window ...
    QVERIFY(QTest::qWaitForWindowActive(&form));
    editor = TypeIntoCurrentCell(*form.Grid, "2.5");
    QVERIFY(editor && editor->hasFocus());
    form.BtnAdd->setFocus();
    QCOMPARE(prompts.Messages().size(), 2);
    QVERIFY(form.Grid->isAncestorOf(QApplication::focusWidget()) || form.Grid->hasFocus());
    QCOMPARE(form.Grid->CellText(0, 0), QString("2.5"));

    // ... nor can the window be closed while the entry is wrong.
    QVERIFY(!form.close());
    QCOMPARE(TableForm(table), &form);
    QVERIFY(form.isVisible());
    QCOMPARE(prompts.Messages().size(), 3);

    // Corrected, the entry is taken and the window closes.
    QVERIFY(TypeIntoCurrentCell(*form.Grid, "7"));
    QVERIFY(form.close());
    QCOMPARE(table.GetData(0, 0).AsInteger(), 7);
    QVERIFY(!TableForm(table));
    // The closed window and its model no longer listen to the table.
    QCOMPARE(table.OnCellChanged.ListenerCount(), 0);
    QCOMPARE(table.OnRowsChanged.ListenerCount(), 0);
}

void TableFormTests::soilTypeDropDownReplacesLayerData()
{
    TProjectTables tables;
    tables.D2.SetRowCount(2);
    TTableForm& form = OpenForm(tables.D2);
    const std::vector<QWidget*> types = form.RowControls(SoilTypeColumn);
    const std::vector<QWidget*> buttons = form.RowControls(LayerDataColumn);
    QCOMPARE(int(types.size()), 2);
    QCOMPARE(int(buttons.size()), 2);
    auto* type = qobject_cast<QComboBox*>(types[1]);
    auto* button = qobject_cast<QPushButton*>(buttons[1]);
    QVERIFY(type && button);
    QVERIFY(type->isVisible());
    QCOMPARE(type->count(), 6);
    QCOMPARE(type->maxVisibleItems(), 11);
    QCOMPARE(type->currentText(), QString::fromStdString(SoilTypeNames[0]));
    QCOMPARE(button->text(), QString("2: Clay Layer Data"));
    // Each control sits over its own cell.
    const QRect cell = form.Grid->visualRect(form.Grid->model()->index(1, 0));
    const QPoint cellTopLeft = form.Grid->viewport()->mapTo(&form, cell.topLeft());
    QCOMPARE(type->geometry().topLeft(), cellTopLeft);
    // Wide enough for its longest item: the two clay methods read apart.
    QVERIFY(type->width() >= type->sizeHint().width());

    TGridTable* clay = tables.D2.GetData(LayerDataColumn, 1).AsTable();
    clay->GetData(UnitWeightColumn, 0).SetFloat(120);
    QTest::keyClick(type, Qt::Key_Down);

    QCOMPARE(tables.D2.GetData(SoilTypeColumn, 1).AsInteger(), 2);
    TGridTable* sand = tables.D2.GetData(LayerDataColumn, 1).AsTable();
    QVERIFY(sand);
    QCOMPARE(sand->Caption, std::string("Sand Layer Data"));
    QCOMPARE(double(sand->GetData(UnitWeightColumn, 0).AsFloat()), 120.0);  // values carried over
    QCOMPARE(button->text(), QString("2: Sand Layer Data"));
    QCOMPARE(tables.D2.GetData(SoilTypeColumn, 0).AsInteger(), 1);

    // A type set by the program moves the drop-down.
    tables.D2.GetData(SoilTypeColumn, 1).SetInteger(5);
    QCOMPARE(type->currentIndex(), 4);
    QCOMPARE(button->text(), QString("2: Clay Layer Data"));

    // A column hidden while the window is open loses its controls.
    tables.D2.Column(SoilTypeColumn).Visible = false;
    tables.D2.SetUnits(UnitSystem::SI);
    QVERIFY(form.RowControls(SoilTypeColumn).empty());
    QCOMPARE(form.Grid->columnCount(), 2);
    QCOMPARE(int(form.RowControls(LayerDataColumn).size()), 2);
}

void TableFormTests::nestedTableOpensFromItsRowButton()
{
    TProjectTables tables;
    tables.D2.SetRowCount(3);
    TTableForm& form = OpenForm(tables.D2);
    auto* button = qobject_cast<QPushButton*>(form.RowControls(LayerDataColumn)[2]);
    QTest::mouseClick(button, Qt::LeftButton);

    TGridTable* layer = tables.D2.GetData(LayerDataColumn, 2).AsTable();
    TTableForm* nested = TableForm(*layer);
    QVERIFY(nested);
    QVERIFY(nested->isVisible());
    QVERIFY(!nested->IsModal());
    QCOMPARE(nested->windowTitle(), QString("Clay Layer Data  3"));
    QVERIFY(nested->BtnAdd->isHidden());       // two rows, no more, no less
    QCOMPARE(nested->Grid->columnCount(), 5);  // sand and dummy columns hidden
    QCOMPARE(nested->Grid->model()->headerData(0, Qt::Horizontal).toString(),
             QString("Effective Unit \nWeight, (lbs/in^3)  "));

    // One window per table: a second click shows the same window.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(TableForm(*layer), nested);

    // A new soil type replaces the layer's table; its window goes with it.
    QPointer<TTableForm> watch(nested);
    QTest::keyClick(qobject_cast<QComboBox*>(form.RowControls(SoilTypeColumn)[2]), Qt::Key_Down);
    QVERIFY(!TableForm(*tables.D2.GetData(LayerDataColumn, 2).AsTable()));
    ProcessDeletes();
    QVERIFY(watch.isNull());
}

void TableFormTests::modalWindowOpensNestedTableModally()
{
    TProjectTables tables;
    tables.TblTZDepth2.SetRowCount(2);
    bool nestedWasModal = false;
    bool nestedClosed = false;
    QTimer::singleShot(0, [&] {
        TTableForm* form = TableForm(tables.TblTZDepth2);
        QVERIFY(form && form->IsModal());
        QTimer::singleShot(0, [&] {
            TGridTable* curve = tables.TblTZDepth2.GetData(CurvePointsColumn, 0).AsTable();
            TTableForm* nested = TableForm(*curve);
            nestedWasModal = nested && nested->IsModal();
            if (nested)
                nestedClosed = nested->close();
            QTimer::singleShot(0, [&] { TableForm(tables.TblTZDepth2)->close(); });
        });
        qobject_cast<QPushButton*>(form->RowControls(CurvePointsColumn)[0])->click();
    });
    ShowTable(tables.TblTZDepth2, true);
    QVERIFY(nestedWasModal);
    QVERIFY(nestedClosed);
    QVERIFY(!TableForm(tables.TblTZDepth2));
}

void TableFormTests::childWindowTurnsModalForModalParent()
{
    QMdiArea area;
    area.show();
    InstallTableWindows(&area);
    TProjectTables tables;
    tables.TblTZDepth2.SetRowCount(1);
    TGridTable* curve = tables.TblTZDepth2.GetData(CurvePointsColumn, 0).AsTable();
    ShowTable(*curve);
    QCOMPARE(area.subWindowList().size(), 1);

    bool movedOut = false;
    QTimer::singleShot(0, [&] {
        TTableForm* form = TableForm(tables.TblTZDepth2);
        QTimer::singleShot(0, [&] {
            TTableForm* nested = TableForm(*curve);
            movedOut = nested && nested->IsModal() && nested->FrameWindow() == nested;
            if (nested)
                nested->close();
            QTimer::singleShot(0, [&] { TableForm(tables.TblTZDepth2)->close(); });
        });
        qobject_cast<QPushButton*>(form->RowControls(CurvePointsColumn)[0])->click();
    });
    ShowTable(tables.TblTZDepth2, true);
    InstallTableWindows(nullptr);
    ProcessDeletes();
    QVERIFY(movedOut);
    QVERIFY(!TableForm(*curve));
    QVERIFY(area.subWindowList().isEmpty());
}

void TableFormTests::controlColumnsCannotBeSelected()
{
    TProjectTables tables;
    tables.D2.SetRowCount(2);
    TTableForm& form = OpenForm(tables.D2);
    // The cursor starts in the first column without row controls.
    QCOMPARE(form.Grid->currentColumn(), 1);
    form.Grid->setCurrentCell(1, 0);
    QCOMPARE(form.Grid->currentColumn(), 1);
    QCOMPARE(form.Grid->currentRow(), 0);
    form.Grid->setCurrentCell(1, 2);
    QCOMPARE(form.Grid->currentColumn(), 1);
    form.Grid->setCurrentCell(1, 1);
    QCOMPARE(form.Grid->currentRow(), 1);
}

void TableFormTests::windowFollowsTheTable()
{
    auto table = FloatTable(1, 1, 10, 2);
    TTableForm& form = OpenForm(*table);
    // Units and numbering reach the open window.
    table->SetUnits(UnitSystem::SI);
    QCOMPARE(form.Grid->model()->headerData(0, Qt::Horizontal).toString(), QString("Value 1 (kN)  "));
    table->SetNumber(4);
    QCOMPARE(form.windowTitle(), QString("Loads  4"));
    // Rows given by the table appear with the next refresh.
    table->AppendRowGroup();
    QCOMPARE(form.Grid->rowCount(), 3);

    // Hide frees the window; a later Show makes a new one.
    QPointer<TTableForm> watch(&form);
    table->Hide();
    QVERIFY(!TableForm(*table));
    ProcessDeletes();
    QVERIFY(watch.isNull());
    TTableForm& again = OpenForm(*table);
    QVERIFY(again.isVisible());

    // A table destroyed with its window open takes the window along.
    QPointer<TTableForm> last(&again);
    table.reset();
    ProcessDeletes();
    QVERIFY(last.isNull());
}

void TableFormTests::gridShowsTheTableBesideOtherListeners()
{
    ScriptedPrompts prompts;
    auto table = FloatTable(2, 1, 10, 2);
    // A chart beside the grid, listening to the same table.
    int chartRows = 0;
    std::vector<std::pair<int, int>> chartCells;
    const TSubscription rows = table->OnRowsChanged.Subscribe([&] { ++chartRows; });
    const TSubscription cells = table->OnCellChanged.Subscribe([&](int col, int row) {
        chartCells.push_back({col, row});
    });
    TTableForm& form = OpenForm(*table);
    QCOMPARE(form.Grid->model(), &form.Model());

    // A value set from elsewhere shows at once; no copy to bring up to date.
    table->GetData(1, 1).SetFloat(7.25L);
    QCOMPARE(form.Grid->CellText(1, 1), QString("7.25"));

    // The window waits with its own refresh during Add; the chart hears the
    // rows at once, and both hear what the user types.
    form.BtnAdd->click();
    QCOMPARE(chartRows, 1);
    QCOMPARE(form.Grid->rowCount(), 3);
    QCOMPARE(form.Grid->model()->headerData(2, Qt::Vertical).toString(), QString("3"));
    form.Grid->setCurrentCell(2, 0);
    QVERIFY(TypeIntoCurrentCell(*form.Grid, "1+1"));
    PressEnter(*form.Grid);
    QCOMPARE(table->GetData(0, 2).AsFloat(), 2.0L);
    QCOMPARE(chartCells.back(), (std::pair<int, int>{0, 2}));
    QCOMPARE(form.Grid->CellText(2, 0), QString("2"));

    // Closing the window leaves the chart listening.
    QVERIFY(form.close());
    ProcessDeletes();
    QCOMPARE(table->OnRowsChanged.ListenerCount(), 1);
    QCOMPARE(table->OnCellChanged.ListenerCount(), 1);
    table->AppendRowGroup();
    QCOMPARE(chartRows, 2);
    QVERIFY(prompts.Messages().isEmpty());
}

void TableFormTests::userSizingSnapsToWholeColumnsAndRows()
{
    ScriptedPrompts prompts;
    auto table = FloatTable(6, 1, 30, 8);
    TTableForm& form = OpenForm(*table);
    QCOMPARE(form.ColumnsInView(), 6);
    QCOMPARE(form.RowsInView(), 8);
    const QSize full = form.size();
    const int lastColumn = form.Grid->columnWidth(5);

    // Right edge dragged to the middle of the last column: five whole columns.
    form.resize(full.width() - lastColumn / 2, full.height());
    QCOMPARE(form.ColumnsInView(), 5);
    QCOMPARE(form.Grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(form.Grid->viewport()->width(), form.Grid->horizontalHeader()->length() - lastColumn);
    QVERIFY(form.width() <= full.width() - lastColumn / 2);

    // Bottom edge dragged into the middle of a row: whole rows only.
    const int pitch = form.Grid->rowHeight(0);
    form.resize(form.width(), form.height() - 2 * pitch - pitch / 2);
    QVERIFY(form.RowsInView() < 8);
    QCOMPARE(form.Grid->viewport()->height(), form.RowsInView() * pitch);
    QCOMPARE(form.Grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    // Dragged back out, everything is in view again without scroll bars.
    form.resize(full.width() + 200, full.height() + 200);
    QCOMPARE(form.ColumnsInView(), 6);
    QCOMPARE(form.RowsInView(), 8);
    QCOMPARE(form.size(), full);

    // The left edge dragged: the right edge stays where it is.
    const QRect before = form.geometry();
    form.setGeometry(before.adjusted(lastColumn + lastColumn / 2, 0, 0, 0));
    QCOMPARE(form.ColumnsInView(), 4);
    QCOMPARE(form.geometry().right(), before.right());
    QVERIFY(prompts.Messages().isEmpty());
}

void TableFormTests::childWindowsOfTheMdiArea()
{
    ScriptedPrompts prompts;
    QMdiArea area;
    area.resize(1200, 900);
    area.show();
    InstallTableWindows(&area);
    auto first = FloatTable(6, 1, 10, 3);
    auto second = FloatTable(1, 1, 10, 3);
    second->Caption = "Tip Movements";
    TTableForm& form = OpenForm(*first);
    OpenForm(*second);
    ShowTable(*first);  // the open window again, no second one
    InstallTableWindows(nullptr);

    QCOMPARE(area.subWindowList().size(), 2);
    auto* sub = qobject_cast<QMdiSubWindow*>(form.FrameWindow());
    QVERIFY(sub);
    QCOMPARE(area.activeSubWindow(), sub);
    QCOMPARE(sub->windowTitle(), QString("Loads "));
    QVERIFY(!(sub->windowFlags() & Qt::WindowMaximizeButtonHint));

    // Sizing the child window snaps it as well.
    const QSize full = sub->size();
    sub->resize(full.width() - form.Grid->columnWidth(5) / 2, full.height());
    QCOMPARE(form.ColumnsInView(), 5);
    QCOMPARE(form.size(), form.sizeHint());
    QVERIFY(sub->width() < full.width() - form.Grid->columnWidth(5) / 2);

    // Leaving the window for another child commits its cell; a wrong entry
    // brings it back.
    QVERIFY(TypeIntoCurrentCell(*form.Grid, "1+"));
    area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(TableForm(*second)->FrameWindow()));
    QCOMPARE(prompts.Messages().size(), 1);
    QVERIFY(prompts.Messages()[0].startsWith("Entry could not be evaluated:"));
    QCOMPARE(area.activeSubWindow(), sub);

    // Closing is refused until the entry is right; then the child goes.
    QVERIFY(!sub->close());
    QCOMPARE(area.subWindowList().size(), 2);
    QVERIFY(TypeIntoCurrentCell(*form.Grid, "1+2"));
    area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(TableForm(*second)->FrameWindow()));
    QCOMPARE(double(first->GetData(0, 0).AsFloat()), 3.0);
    QVERIFY(sub->close());
    ProcessDeletes();
    QCOMPARE(area.subWindowList().size(), 1);
    QVERIFY(!TableForm(*first));
}

void TableFormTests::embeddedInFormParent()
{
    QWidget host;
    host.resize(800, 600);
    host.show();
    auto table = FloatTable(1, 1, 10, 2);
    ShowTable(*table, false, &host);
    TTableForm& form = *TableForm(*table);
    QCOMPARE(form.parentWidget(), &host);
    QCOMPARE(form.pos(), QPoint(0, 0));
    QVERIFY(!form.isWindow());
    QVERIFY(form.isVisible());
}

void TableFormTests::minimumColumnWidths()
{
    TProjectTables tables;
    TGridTable& layers = tables.D2;
    auto& note = layers.AddColumn<TStringColumn>({"N"});
    note.Width = 1.25L;
    const auto sevenPerCharacter = [](const std::string& text) { return 7 * static_cast<int>(text.size()); };
    // The float column's heading with its units and two blanks is the
    // widest; the other kinds keep their own minimum.
    QCOMPARE(ColumnMinWidth(layers.Column(LayerBottomColumn), 96, sevenPerCharacter),
             7 * static_cast<int>((layers.Column(LayerBottomColumn).CaptionLine(0) + "  ").size()));
    QCOMPARE(ColumnMinWidth(layers.Column(SoilTypeColumn), 96, sevenPerCharacter), 144);
    QCOMPARE(ColumnMinWidth(layers.Column(LayerDataColumn), 96, sevenPerCharacter), 192);
    QCOMPARE(ColumnMinWidth(note, 96, sevenPerCharacter), 120);
    QCOMPARE(ColumnMinWidth(tables.TblTipMove.Column(0), 97, [](const std::string&) { return 0; }), 48);

    // A table without a visible column gets no window.
    for (int c = 0; c < layers.ColumnCount(); ++c)
        layers.Column(c).Visible = false;
    ShowTable(layers);
    QVERIFY(!layers.Editor());
}

QTEST_MAIN(TableFormTests)
#include "test_table_form.moc"
