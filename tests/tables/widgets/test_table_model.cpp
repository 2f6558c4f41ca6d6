// Item model over a table: checked by QAbstractItemModelTester while the
// table changes in every way it can, cells and headings read from the
// table, entries normalised or refused, and the model's life beside the
// table's other listeners.

#include "ColStream.h"
#include "GridTable.h"
#include "TableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// Soil type, top and bottom of the layer (linked), a load with units.
std::unique_ptr<TGridTable> LayerTable(int rows)
{
    auto table = std::make_unique<TGridTable>();
    table->Caption = "Layers";
    table->MaxRows = 20;
    table->AddColumn<TEnumColumn>({"Soil", "Type"}).SetItems({"Clay", "Sand"});
    table->AddColumn<TFloatColumn>({"Top"}).TopDepth = true;
    table->AddColumn<TFloatColumn>({"Bottom"});
    table->AddColumn<TFloatColumn>({"Load"}).UnitString = "F";
    table->SetRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        table->GetData(1, row).SetFloat(10 * row);
        table->GetData(2, row).SetFloat(10 * row + 10);
    }
    return table;
}

QString Text(const QAbstractItemModel& model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

}  // namespace

class TableModelTests : public QObject {
    Q_OBJECT

private slots:
    void testerPassesWhileTheTableChanges();
    void cellsAndHeadingsComeFromTheTable();
    void entriesAreNormalisedOrKeptWhenRefused();
    void valueChangesReachTheViewCellByCell();
    void rowCountChangesShowAtOnce();
    void detachedModelIsEmptyAndLeavesTheTable();
};

void TableModelTests::testerPassesWhileTheTableChanges()
{
    auto table = LayerTable(3);
    TTableModel model(*table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    table->AppendRowGroup();
    QCOMPARE(model.rowCount(), 4);
    table->InsertRowGroup(1);
    table->DeleteRowGroup(0);
    table->DeleteRowGroup(3);
    QCOMPARE(model.rowCount(), 3);
    table->SetUnits(UnitSystem::SI);  // every value and the unit caption
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QString("Load (kN)  \n"));
    QVERIFY(model.setData(model.index(2, 3), QString("4/2")));
    QVERIFY(!model.setData(model.index(2, 3), QString("four")));
    QVERIFY(!model.setData(model.index(2, 0), QString("2")));  // drop-down column
    table->SetRowCount(6);
    model.Sync();
    QCOMPARE(model.rowCount(), 6);

    // A new declaration: fewer columns, then more again.
    TGridTable small, wide;
    small.AddColumn<TFloatColumn>({"Only"});
    for (const char* caption : {"A", "B", "C"})
        wide.AddColumn<TFloatColumn>({caption});
    TValueWriter fewer;
    small.WriteCol(fewer);
    TValueWriter more;
    wide.WriteCol(more);
    TValueReader fewerReader(fewer.Bytes());
    table->ReadCol(fewerReader);
    QCOMPARE(model.columnCount(), 1);
    TValueReader moreReader(more.Bytes());
    table->ReadCol(moreReader);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.rowCount(), table->RowCount());
    table->SetRowCount(0);
    model.Sync();
    QCOMPARE(model.rowCount(), 0);
}

void TableModelTests::cellsAndHeadingsComeFromTheTable()
{
    auto table = LayerTable(2);
    table->GetData(3, 1).SetFloat(0.000001L);
    table->GetData(0, 1).SetInteger(2);
    auto& hidden = table->AddColumn<TStringColumn>({"Note"});
    hidden.Visible = false;
    table->SetRowGroup(2);
    table->SetRowCount(4);
    TTableModel model(*table);

    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.columnCount(), 4);  // the hidden column is not shown
    QCOMPARE(Text(model, 1, 3), QString("1E-6"));
    QCOMPARE(Text(model, 1, 2), QString("20"));
    QCOMPARE(model.data(model.index(1, 2), Qt::EditRole).toString(), QString("20"));
    QVERIFY(!model.data(model.index(1, 2), Qt::ToolTipRole).isValid());
    // The drop-down column shows nothing and takes no typing.
    QCOMPARE(Text(model, 1, 0), QString());
    QVERIFY(!(model.flags(model.index(1, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(1, 1)) & Qt::ItemIsEditable);
    QVERIFY(model.flags(model.index(1, 0)) & Qt::ItemIsSelectable);

    // One heading line per caption line of the tallest column; the last one
    // of a float column carries its units.
    QCOMPARE(model.HeadingRows(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Soil\nType"));
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QString("Load (lbs)  \n"));
    QVERIFY(!model.headerData(4, Qt::Horizontal).isValid());
    // Row numbers count row groups.
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString("1"));
    QCOMPARE(model.headerData(1, Qt::Vertical).toString(), QString("1"));
    QCOMPARE(model.headerData(3, Qt::Vertical).toString(), QString("2"));
    QVERIFY(!model.headerData(4, Qt::Vertical).isValid());
}

void TableModelTests::entriesAreNormalisedOrKeptWhenRefused()
{
    auto table = LayerTable(2);
    TTableModel model(*table);
    table->SetChanged(false);

    // The shown text again changes nothing.
    QCOMPARE(model.Enter(0, 3, "0"), std::nullopt);
    QVERIFY(!table->Changed());

    QCOMPARE(model.Enter(0, 3, "2*3"), std::nullopt);
    QCOMPARE(table->GetData(3, 0).AsFloat(), 6.0L);
    QCOMPARE(Text(model, 0, 3), QString("6"));
    QVERIFY(table->Changed());

    // Refused: the message comes back, the table keeps its value and the
    // cell keeps the typed text.
    table->SetChanged(false);
    const std::optional<std::string> refused = model.Enter(0, 3, "2*");
    QVERIFY(refused.has_value());
    QVERIFY(!refused->empty());
    QCOMPARE(table->GetData(3, 0).AsFloat(), 6.0L);
    QCOMPARE(Text(model, 0, 3), QString("2*"));
    QCOMPARE(Text(model, 1, 3), QString("0"));
    QVERIFY(table->Changed());  // an edit was made
    QVERIFY(model.Enter(0, 3, "").has_value());
    QCOMPARE(Text(model, 0, 3), QString(""));

    // Typing the shown value back takes the refused text away.
    QCOMPARE(model.Enter(0, 3, "6"), std::nullopt);
    QCOMPARE(Text(model, 0, 3), QString("6"));

    // So does a new value from elsewhere, and a change of the rows.
    QVERIFY(model.Enter(1, 3, "x").has_value());
    table->GetData(3, 1).SetFloat(8);
    QCOMPARE(Text(model, 1, 3), QString("8"));
    QVERIFY(model.Enter(1, 3, "x").has_value());
    table->AppendRowGroup();
    QCOMPARE(Text(model, 1, 3), QString("8"));

    // Outside the table or on a drop-down column: nothing happens.
    QCOMPARE(model.Enter(9, 3, "1"), std::nullopt);
    QCOMPARE(model.Enter(0, 0, "2"), std::nullopt);
    QCOMPARE(table->GetData(0, 0).AsInteger(), 1);
}

void TableModelTests::valueChangesReachTheViewCellByCell()
{
    auto table = LayerTable(3);
    TTableModel model(*table);
    int chartHeard = 0;
    const TSubscription chart = table->OnCellChanged.Subscribe([&](int, int) { ++chartHeard; });
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    // A top depth moves the bottom above it: both cells are told.
    table->GetData(1, 2).SetFloat(25);
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed[0][0].toModelIndex(), model.index(1, 2));
    QCOMPARE(changed[1][0].toModelIndex(), model.index(2, 1));
    QCOMPARE(Text(model, 1, 2), QString("25"));
    QCOMPARE(chartHeard, 2);

    // A hidden column's changes concern no cell of the view.
    changed.clear();
    auto& hidden = table->AddColumn<TStringColumn>({"Note"});
    hidden.Visible = false;
    table->GetData(4, 0).SetText("n");
    QCOMPARE(changed.size(), 0);

    // The model listens beside the others and leaves when it goes.
    QCOMPARE(table->OnCellChanged.ListenerCount(), 2);
    {
        TTableModel second(*table);
        QCOMPARE(table->OnCellChanged.ListenerCount(), 3);
    }
    QCOMPARE(table->OnCellChanged.ListenerCount(), 2);
}

void TableModelTests::rowCountChangesShowAtOnce()
{
    // A new project or a file read sets the row count of tables that a
    // window may be showing.
    auto table = LayerTable(3);
    TTableModel model(*table);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    table->SetRowCount(1);
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(!model.data(model.index(2, 1)).isValid());
    QCOMPARE(model.flags(model.index(2, 1)), Qt::NoItemFlags);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed[0][1].toInt(), 1);
    QCOMPARE(removed[0][2].toInt(), 2);
    model.Sync();
    QCOMPARE(removed.size(), 1);
}

void TableModelTests::detachedModelIsEmptyAndLeavesTheTable()
{
    auto table = LayerTable(2);
    TTableModel model(*table);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.Detach();
    QCOMPARE(reset.size(), 1);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
    QCOMPARE(model.EditedTable(), nullptr);
    QCOMPARE(table->OnRowsChanged.ListenerCount(), 0);
    QCOMPARE(table->OnCellChanged.ListenerCount(), 0);
    QCOMPARE(model.Enter(0, 1, "3"), std::nullopt);
    table.reset();  // the model outlives the table
    model.Sync();
    QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());
    model.Detach();
}

QTEST_GUILESS_MAIN(TableModelTests)
#include "test_table_model.moc"
