// Table model: rows, cell handles, nested tables from
// templates, linked layer boundaries, entry, units and notifications.

#include "Evaluator.h"
#include "GridTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {

const std::vector<std::string> SoilTypes = {"Clay 1", "Sand 2", "Clay 3", "Sand 4", "Clay 5", "Sand 6"};

// Editor window stand-in: being open is all the model asks of it here.
class TStubEditor : public TTableEditor {
public:
    void ShowEditor(bool modal) override { Modal = modal; }
    bool IsModal() const override { return Modal; }
    void UpdateCaption() override { ++CaptionUpdates; }
    void RowControlChanged(int col, int row) override { Controls.push_back({col, row}); }

    bool Modal = false;
    int CaptionUpdates = 0;
    std::vector<std::pair<int, int>> Controls;
};

// Gives the table an open stand-in window.
TStubEditor& OpenEditor(TGridTable& table, bool modal = false)
{
    auto editor = std::make_unique<TStubEditor>();
    editor->Modal = modal;
    TStubEditor& open = *editor;
    table.SetEditor(std::move(editor));
    return open;
}

// Soil layers with a type, a bottom depth and a button column whose nested
// table is a copy of the clay (identifier 1) or sand (identifier 2) table.
struct Layers {
    TTableDirectory directory;
    TGridTable clay, sand, layers;

    Layers()
    {
        for (TGridTable* table : {&clay, &sand, &layers})
            directory.Add(*table);
        clay.Caption = "Clay Layer Data";
        clay.SetMinRows(2);
        clay.AddColumn<TFloatColumn>({"Unit", "Weight,"}).UnitString = "F/L^3";
        sand.Caption = "Sand Layer Data";
        sand.SetMinRows(2);
        sand.AddColumn<TFloatColumn>({"Friction", "Angle"});
        layers.Caption = "Soil Layers";
        layers.AddColumn<TEnumColumn>({"Soil Type"}).SetItems(SoilTypes);
        layers.AddColumn<TFloatColumn>({"Bottom of Layer"}).UnitString = "L";
        auto& data = layers.AddColumn<TTableColumn>({"Layer Data"});
        clay.SetIdentifier(1001);
        sand.SetIdentifier(1002);
        data.Templates.Entries = {{1001, true}, {1002, true}, {1001, true}, {1002, true}, {1001, true}, {1002, true}};
    }
    TGridTable* Nested(int row) const { return layers.GetData(2, row).AsTable(); }
};

// A column of layer tops (TopDepth) followed by a column of bottoms.
struct Boundaries {
    TGridTable table;
    TFloatColumn& top = table.AddColumn<TFloatColumn>({"Top"});
    TFloatColumn& bottom = table.AddColumn<TFloatColumn>({"Bottom"});

    Boundaries(std::vector<long double> tops, std::vector<long double> bottoms)
    {
        top.TopDepth = true;
        table.SetRowCount(static_cast<int>(tops.size()));
        for (int r = 0; r < table.RowCount(); ++r) {
            table.GetData(1, r).SetFloat(bottoms[r]);
            table.GetData(0, r).SetFloat(tops[r]);
        }
    }
    std::vector<long double> Column(int c) const
    {
        std::vector<long double> values;
        for (int r = 0; r < table.RowCount(); ++r)
            values.push_back(table.GetData(c, r).AsFloat());
        return values;
    }
};

using Values = std::vector<long double>;

}  // namespace

TEST(FloatCellText, GeneralFormatWithEightDigits)
{
    EXPECT_EQ(FloatCellText(0.00001L), "0.00001");
    EXPECT_EQ(FloatCellText(0.00009855L), "0.00009855");
    EXPECT_EQ(FloatCellText(0.000001L), "1E-6");
    EXPECT_EQ(FloatCellText(-0.0000025L), "-2.5E-6");
    EXPECT_EQ(FloatCellText(123456789.0L), "1.2345679E8");
    EXPECT_EQ(FloatCellText(2.50L), "2.5");
    EXPECT_EQ(FloatCellText(0), "0");
    EXPECT_EQ(FloatCellText(-0.0L), "0");
    EXPECT_EQ(FloatCellText(0.0001L), "0.0001");
    EXPECT_EQ(FloatCellText(99999999.0L), "99999999");
    EXPECT_EQ(FloatCellText(99999999.5L), "1E8");
    EXPECT_EQ(FloatCellText(-1234.5L), "-1234.5");
    EXPECT_EQ(FloatCellText(1.0L / 3), "0.33333333");
    EXPECT_EQ(FloatCellText(-2.5e-12L), "-2.5E-12");
    EXPECT_EQ(FloatCellText(480 * 0.0254000000001016L), "12.192");
}

// Whatever a float cell shows it reads back, down to the denormals.
TEST(FloatCellText, TinyValuesShownAreReadBack)
{
    TGridTable table;
    table.AddColumn<TFloatColumn>({"Value"});
    table.SetRowCount(1);
    TData& cell = table.GetData(0, 0);
    cell.SetText("1E-4940");
    EXPECT_GT(cell.AsFloat(), 0.0L);
    const std::string shown = cell.AsString();
    cell.SetText(shown);
    EXPECT_EQ(cell.AsString(), shown);
    cell.SetText("1E-5000");
    EXPECT_EQ(cell.AsString(), "0");
}

TEST(GridTable, NestedTableFollowsSoilType)
{
    Layers l;
    l.layers.SetRowCount(3);
    TGridTable* first = l.Nested(2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Caption, "Clay Layer Data");
    EXPECT_EQ(first->RowCount(), 2);
    EXPECT_EQ(first->OwnerTable(), &l.layers);
    EXPECT_EQ(first->WindowCaption(), "Clay Layer Data  3");
    EXPECT_EQ(l.layers.WindowCaption(), "Soil Layers ");
    EXPECT_NE(first->Identifier(), l.clay.Identifier());
    EXPECT_NE(first, l.Nested(1));

    l.layers.GetData(0, 2).SetInteger(2);
    TGridTable* sand = l.Nested(2);
    EXPECT_EQ(sand->Caption, "Sand Layer Data");
    EXPECT_EQ(sand->Column(0).CaptionLines[0], "Friction");

    // The same type again is no change; another sand type is a fresh copy.
    l.layers.GetData(0, 2).SetText("2");
    EXPECT_EQ(l.Nested(2), sand);
    l.layers.GetData(0, 2).SetInteger(4);
    EXPECT_NE(l.Nested(2), sand);
    EXPECT_EQ(l.Nested(2)->Caption, "Sand Layer Data");

    // A type without a template leaves the row without a table.
    l.layers.GetData(0, 2).SetInteger(9);
    EXPECT_EQ(l.Nested(2), nullptr);
    EXPECT_EQ(l.layers.GetData(2, 2).AsString(), "3: ");
}

TEST(GridTable, RowsAndNestedTablesFollowRowOperations)
{
    Layers l;
    l.layers.SetRowCount(3);

    TData& bottom2 = l.layers.GetData(1, 2);
    bottom2.SetFloat(30);
    TGridTable* nested2 = l.Nested(2);
    l.layers.InsertRowGroup(0);
    EXPECT_EQ(bottom2.Row(), 3);
    EXPECT_EQ(bottom2.AsFloat(), 30);
    EXPECT_EQ(l.Nested(3), nested2);
    EXPECT_EQ(nested2->Number(), 4);
    EXPECT_EQ(l.layers.GetData(2, 3).AsString(), "4: Clay Layer Data");
    l.layers.DeleteRowGroup(1);
    EXPECT_EQ(bottom2.Row(), 2);
    EXPECT_EQ(nested2->Number(), 3);
    EXPECT_EQ(l.layers.RowCount(), 3);

    l.layers.SetRowCount(-5);
    EXPECT_EQ(l.layers.RowCount(), 0);
    for (int c = 0; c < l.layers.ColumnCount(); ++c)
        EXPECT_EQ(l.layers.Column(c).RowCount(), 0);
    EXPECT_FALSE(l.layers.CellValid(0, 0));
    EXPECT_THROW(l.layers.GetData(0, 0), ETableError);
}

TEST(GridTable, RowGroupsAndGroupWideValues)
{
    TGridTable table;
    table.SetRowGroup(0);
    EXPECT_EQ(table.RowGroup(), 1);
    table.SetRowGroup(2);
    auto& shared = table.AddColumn<TIntColumn>({"Shared"});
    shared.GroupWide = true;
    shared.DefaultValue = 7;
    auto& own = table.AddColumn<TStringColumn>({"Own"});
    own.DefaultValue = "x";
    int rowsChanged = 0;
    const TSubscription rows = table.OnRowsChanged.Subscribe([&] { ++rowsChanged; });

    // SetRowCount tells of a new count once, and of the same count not at all.
    table.SetRowCount(4);
    EXPECT_EQ(rowsChanged, 1);
    table.SetRowCount(4);
    EXPECT_EQ(rowsChanged, 1);
    table.AppendRowGroup();
    EXPECT_EQ(table.RowCount(), 6);
    table.GetData(0, 3).SetInteger(5);
    table.GetData(1, 3).SetText("y");
    EXPECT_EQ(table.GetData(0, 2).AsInteger(), 5);
    EXPECT_EQ(table.GetData(0, 4).AsInteger(), 7);
    EXPECT_EQ(table.GetData(1, 2).AsString(), "x");

    table.InsertRowGroup(3);  // before rows 2 and 3
    EXPECT_EQ(table.RowCount(), 8);
    EXPECT_EQ(table.GetData(0, 2).AsInteger(), 7);
    EXPECT_EQ(table.GetData(1, 5).AsString(), "y");
    table.DeleteRowGroup(5);
    EXPECT_EQ(table.RowCount(), 6);
    EXPECT_EQ(table.GetData(1, 3).AsString(), "x");
    EXPECT_EQ(rowsChanged, 4);
}

TEST(GridTable, LayerBoundariesStayLinked)
{
    Boundaries b({0, 10, 20}, {10, 20, 30});
    std::vector<std::pair<int, int>> changes;
    const TSubscription cells = b.table.OnCellChanged.Subscribe([&](int c, int r) { changes.push_back({c, r}); });

    // Setting a top moves the bottom above; setting a bottom the top below.
    b.table.GetData(0, 1).SetFloat(12);
    EXPECT_EQ(b.Column(1), (Values{12, 20, 30}));
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{1, 0}, {0, 1}}));
    b.table.GetData(1, 1).SetText("22");
    EXPECT_EQ(b.Column(0), (Values{0, 12, 22}));
    b.table.GetData(1, 2).SetFloat(35);  // last bottom: nothing below
    EXPECT_EQ(b.Column(0), (Values{0, 12, 22}));

    // A new layer starts and ends at the bottom of the layer above.
    b.table.InsertRowGroup(1);
    EXPECT_EQ(b.Column(0), (Values{0, 12, 12, 22}));
    EXPECT_EQ(b.Column(1), (Values{12, 12, 22, 35}));

    // Deleting a middle layer joins its neighbours.
    b.table.DeleteRowGroup(2);
    EXPECT_EQ(b.Column(0), (Values{0, 12, 22}));
    EXPECT_EQ(b.Column(1), (Values{12, 22, 35}));
    b.table.GetData(0, 1).SetFloat(15);
    b.table.DeleteRowGroup(1);
    EXPECT_EQ(b.Column(0), (Values{0, 22}));
    EXPECT_EQ(b.Column(1), (Values{22, 35}));

    // A group-wide column stores into its group and links nothing.
    b.top.GroupWide = true;
    changes.clear();
    b.table.GetData(0, 1).SetFloat(18);
    EXPECT_EQ(b.Column(0), (Values{0, 18}));
    EXPECT_EQ(b.Column(1), (Values{22, 35}));
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 1}}));
}

TEST(GridTable, ANewTopAfterAnotherTopColumnTakesTheTopBelow)
{
    TGridTable table;
    auto& first = table.AddColumn<TFloatColumn>({"A"});
    auto& second = table.AddColumn<TFloatColumn>({"B"});
    table.AddColumn<TFloatColumn>({"C"});
    first.TopDepth = true;
    second.TopDepth = true;
    second.DefaultValue = -1;
    table.SetRowCount(2);
    table.GetData(0, 0).SetFloat(5);
    // Row 0 has no layer above: the new B value comes from A's row below.
    table.InsertRowGroup(0);
    EXPECT_EQ(table.GetData(0, 0).AsFloat(), 0);
    EXPECT_EQ(table.GetData(1, 0).AsFloat(), 5);
    table.AppendRowGroup();
    EXPECT_EQ(table.GetData(1, 3).AsFloat(), -1);
}

TEST(GridTable, TopDepthNeedsAFloatColumnAfterIt)
{
    TGridTable table;
    table.AddColumn<TFloatColumn>({"Top"}).TopDepth = true;
    table.AddColumn<TIntColumn>({"Count"});
    try {
        table.SetRowCount(1);
        FAIL();
    } catch (const ETableError& e) {
        EXPECT_STREQ(e.what(), "If column if a topdepth then the next column must be a float column");
    }
}

TEST(GridTable, IntegerEntryChecksOnlyWithAnOpenEditor)
{
    TGridTable table;
    auto& count = table.AddColumn<TIntColumn>({"Count"});
    count.MinValue = 1;
    count.MaxValue = 10;
    table.SetRowCount(1);
    TData& cell = table.GetData(0, 0);

    cell.SetText("2.5");
    EXPECT_EQ(cell.AsInteger(), 2);
    cell.SetText("3.5");
    EXPECT_EQ(cell.AsInteger(), 4);
    cell.SetText("50");
    EXPECT_EQ(cell.AsInteger(), 50);
    // Beyond 32 bits no value can be stored, window or not.
    try {
        cell.SetText("1e12");
        FAIL();
    } catch (const EAssignError& e) {
        EXPECT_STREQ(e.what(), "Entry must be between 1 and 10.");
    }

    OpenEditor(table);
    for (auto [text, message] :
         {std::pair{"2.5", "Entry must be an integer."}, std::pair{"11", "Entry must be between 1 and 10."},
          std::pair{"0", "Entry must be between 1 and 10."}}) {
        try {
            cell.SetText(text);
            ADD_FAILURE() << text;
        } catch (const EAssignError& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
    EXPECT_EQ(cell.AsInteger(), 50);
    cell.SetText("2*5");
    EXPECT_EQ(cell.AsString(), "10");
    table.Hide();
    EXPECT_EQ(table.Editor(), nullptr);
}

TEST(GridTable, EntryOfFloatsEnumerationsAndStrings)
{
    TGridTable table;
    table.AddColumn<TFloatColumn>({"Depth"});
    table.AddColumn<TEnumColumn>({"Kind"}).SetItems({"a", "b"});
    table.AddColumn<TStringColumn>({"Note"});
    table.SetRowCount(1);

    table.GetData(0, 0).SetText("2*(3+4)");
    EXPECT_EQ(table.GetData(0, 0).AsString(), "14");
    EXPECT_THROW(table.GetData(0, 0).SetText("1+2)"), EAssignError);
    EXPECT_THROW(table.GetData(0, 0).SetText(""), EAssignError);
    EXPECT_EQ(table.GetData(0, 0).AsFloat(), 14);
    table.GetData(0, 0).SetText("sin(pi/2)");
    EXPECT_EQ(table.GetData(0, 0).AsString(), "1");

    table.GetData(1, 0).SetText("2");
    EXPECT_EQ(table.GetData(1, 0).AsInteger(), 2);
    for (const char* text : {"1.5", "5e9", "2.00000000001"}) {
        try {
            table.GetData(1, 0).SetText(text);
            ADD_FAILURE() << text;
        } catch (const EAssignError& e) {
            EXPECT_STREQ(e.what(), "Value must be an integer.");
        }
    }
    // A number naming no item is refused at entry, not at the next save.
    for (const char* text : {"0", "3"})
        EXPECT_THROW(table.GetData(1, 0).SetText(text), EAssignError) << text;
    EXPECT_EQ(table.GetData(1, 0).AsInteger(), 2);

    table.GetData(2, 0).SetText(" 2*3 ");
    EXPECT_EQ(table.GetData(2, 0).AsString(), " 2*3 ");
}

TEST(GridTable, TypedAccessToTheWrongKind)
{
    Layers l;
    l.layers.SetRowCount(1);
    auto wrong = [](auto&& access) {
        try {
            access();
        } catch (const ETableError& e) {
            return std::string(e.what()) == "Data of wrong type";
        }
        return false;
    };
    TData& type = l.layers.GetData(0, 0);
    TData& depth = l.layers.GetData(1, 0);
    TData& data = l.layers.GetData(2, 0);
    EXPECT_TRUE(wrong([&] { type.AsFloat(); }));
    EXPECT_TRUE(wrong([&] { depth.SetInteger(1); }));
    EXPECT_TRUE(wrong([&] { depth.AsTable(); }));
    EXPECT_TRUE(wrong([&] { data.AsInteger(); }));
    data.SetText("5");
    EXPECT_NE(data.AsTable(), nullptr);
    EXPECT_EQ(data.AsObject(), data.AsTable());
}

TEST(GridTable, IdentifiersSwapAndResolve)
{
    TTableDirectory directory;
    TGridTable a, b, c;
    for (TGridTable* table : {&a, &b, &c})
        directory.Add(*table);
    const int32_t ida = a.Identifier();
    const int32_t idb = b.Identifier();
    EXPECT_EQ(idb, ida + 1);
    a.SetIdentifier(idb);
    EXPECT_EQ(a.Identifier(), idb);
    EXPECT_EQ(b.Identifier(), ida);
    a.SetIdentifier(-3);
    EXPECT_EQ(a.Identifier(), idb);
    c.SetIdentifier(5000);
    EXPECT_EQ(directory.Find(5000), &c);
    EXPECT_EQ(directory.Find(idb), &a);
    // Only tables of the same directory swap.
    TGridTable outside;
    outside.SetIdentifier(5000);
    EXPECT_EQ(c.Identifier(), 5000);

    TGridTableList list;
    list.Entries = {{5000, true}, {2, false}, {3, false}, {}};
    EXPECT_EQ(list.Resolve(0, &directory), &c);
    EXPECT_EQ(list.Resolve(1, &directory), &c);
    EXPECT_EQ(list.Resolve(2, &directory), nullptr);
    EXPECT_EQ(list.Resolve(3, &directory), nullptr);
    EXPECT_EQ(list.Resolve(4, &directory), nullptr);
    EXPECT_EQ(list.Resolve(0, nullptr), nullptr);
    // A destroyed table leaves its directory.
    {
        TGridTable gone;
        directory.Add(gone);
        gone.SetIdentifier(6000);
        EXPECT_EQ(directory.Find(6000), &gone);
    }
    EXPECT_EQ(directory.Find(6000), nullptr);
    EXPECT_EQ(directory.Count(), 3);
}

TEST(GridTable, UnitSwitchConvertsEveryFloatAndReturns)
{
    Layers l;
    l.layers.SetRowCount(2);
    l.layers.GetData(1, 1).SetFloat(12.192L);
    l.Nested(1)->GetData(0, 0).SetFloat(0.0625L);
    int rowsChanged = 0;
    const TSubscription rows = l.layers.OnRowsChanged.Subscribe([&] { ++rowsChanged; });

    l.layers.SetUnits(UnitSystem::English);
    EXPECT_EQ(rowsChanged, 0);
    EXPECT_EQ(l.layers.Column(1).CaptionLine(0), "Bottom of Layer (in)  ");

    l.layers.SetUnits(UnitSystem::SI);
    EXPECT_EQ(rowsChanged, 1);
    EXPECT_EQ(l.layers.Units(), UnitSystem::SI);
    EXPECT_EQ(l.Nested(1)->Units(), UnitSystem::SI);
    EXPECT_NEAR(static_cast<double>(l.layers.GetData(1, 1).AsFloat()), 0.3096768, 1e-9);
    const long double inch = 39.37007874L;
    EXPECT_NEAR(static_cast<double>(l.Nested(1)->GetData(0, 0).AsFloat()),
                static_cast<double>(0.0625L * inch * inch * inch / 224.8089237L), 1e-9);
    EXPECT_EQ(l.layers.Column(1).CaptionLine(0), "Bottom of Layer (m)  ");
    EXPECT_EQ(l.Nested(1)->Column(0).CaptionLine(1), "Weight, (kN/m^3)  ");
    // A row added now starts in the table's units.
    l.layers.AppendRowGroup();
    EXPECT_EQ(l.Nested(2)->Units(), UnitSystem::SI);

    l.layers.SetUnits(UnitSystem::English);
    EXPECT_NEAR(static_cast<double>(l.layers.GetData(1, 1).AsFloat()), 12.192, 1e-15);
    EXPECT_NEAR(static_cast<double>(l.Nested(1)->GetData(0, 0).AsFloat()), 0.0625, 1e-17);
    EXPECT_EQ(l.layers.GetData(1, 1).AsString(), "12.192");
}

TEST(GridTable, ChangedStateReachesNestedTables)
{
    Layers l;
    l.layers.SetRowCount(2);
    EXPECT_FALSE(l.layers.Changed());
    l.Nested(1)->SetChanged(true);
    EXPECT_TRUE(l.layers.Changed());
    l.layers.SetChanged(true);
    l.layers.SetChanged(false);
    EXPECT_FALSE(l.layers.Changed());
    EXPECT_FALSE(l.Nested(1)->Changed());
}

TEST(GridTable, RowObjectsFromInitRow)
{
    struct Note : TRowObject {
        int row = -1;
        bool changed = false;
    };
    TGridTable table;
    table.AddColumn<TEnumColumn>({"Kind"}).SetItems({"a", "b"});
    table.AddColumn<TTableColumn>({"Notes"});
    std::vector<int> types;
    table.OnInitRow = [&](TGridTable&, int32_t col, int32_t, int32_t type, std::unique_ptr<TRowObject>& data) {
        EXPECT_EQ(col, 1);
        types.push_back(type);
        if (type == 2)
            data = std::make_unique<Note>();
    };
    table.OnSetRow = [](TGridTable&, int32_t, TRowObject* data, int32_t row) { static_cast<Note*>(data)->row = row; };
    table.OnGetButtonCaption = [](TGridTable&, int32_t, int32_t, TRowObject* data, std::string& caption) {
        caption = data ? "note " + std::to_string(static_cast<Note*>(data)->row) : "none";
    };
    table.OnGetChanged = [](TGridTable&, int32_t, int32_t, TRowObject* data, bool& changed) {
        changed = static_cast<Note*>(data)->changed;
    };
    table.SetRowCount(2);
    EXPECT_EQ(types, (std::vector<int>{1, 1}));
    EXPECT_EQ(table.GetData(1, 0).AsObject(), nullptr);
    EXPECT_EQ(table.GetData(1, 0).AsString(), "1: none");

    table.GetData(0, 1).SetInteger(2);
    auto* note = static_cast<Note*>(table.GetData(1, 1).AsObject());
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(table.GetData(1, 1).AsTable(), nullptr);
    EXPECT_EQ(table.GetData(1, 1).AsString(), "2: note 1");
    table.InsertRowGroup(0);
    EXPECT_EQ(note->row, 2);
    note->changed = true;
    EXPECT_TRUE(table.Changed());

    // A failing handler leaves the row as it was.
    table.OnSetRow = [](TGridTable&, int32_t, TRowObject*, int32_t) { throw std::runtime_error("refused"); };
    EXPECT_THROW(table.GetData(0, 0).SetInteger(2), std::runtime_error);
    EXPECT_EQ(table.GetData(1, 0).AsObject(), nullptr);
}

TEST(GridTable, AFailedRowLeavesEveryColumnAsItWas)
{
    TGridTable table;
    table.AddColumn<TFloatColumn>({"Depth"});
    table.AddColumn<TTableColumn>({"Notes"});
    int calls = 0;
    table.OnInitRow = [&](TGridTable&, int32_t, int32_t row, int32_t, std::unique_ptr<TRowObject>&) {
        ++calls;
        if (row == 2)
            throw std::runtime_error("no note");
    };
    table.SetRowCount(2);
    table.GetData(0, 1).SetFloat(5);
    EXPECT_THROW(table.SetRowCount(4), std::runtime_error);
    EXPECT_THROW(table.AppendRowGroup(), std::runtime_error);
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(table.RowCount(), 2);
    for (int c = 0; c < table.ColumnCount(); ++c)
        EXPECT_EQ(table.Column(c).RowCount(), 2);
    table.InsertRowGroup(0);
    EXPECT_EQ(table.GetData(0, 2).AsFloat(), 5);
}

TEST(GridTable, GroupWideTypeKeepsTheNestedTableOfAnUnchangedRow)
{
    Layers l;
    l.layers.SetRowGroup(2);
    l.layers.Column(0).GroupWide = true;
    l.layers.SetRowCount(4);
    TGridTable* kept = l.Nested(2);
    l.layers.GetData(0, 3).SetInteger(2);
    EXPECT_EQ(l.Nested(3)->Caption, "Sand Layer Data");
    TGridTable* sand = l.Nested(2);
    EXPECT_NE(sand, kept);
    EXPECT_EQ(sand->Caption, "Sand Layer Data");
    l.layers.GetData(0, 2).SetText("2");
    EXPECT_EQ(l.Nested(2), sand);
    EXPECT_EQ(l.layers.GetData(0, 1).AsInteger(), 1);
}

TEST(GridTable, PropertyLimitsAndColumnIndexes)
{
    TGridTable table;
    table.SetMinRows(3);
    try {
        table.SetMinRows(0);
        FAIL();
    } catch (const ETableError& e) {
        EXPECT_STREQ(e.what(), "Value must be greater than 0");
    }
    EXPECT_EQ(table.MinRows(), 3);

    auto& a = table.AddColumn<TFloatColumn>({"A"});
    auto& hidden = table.AddColumn<TFloatColumn>({"Hidden"});
    auto& c = table.AddColumn<TFloatColumn>({"C"});
    hidden.Visible = false;
    EXPECT_EQ(table.VisibleColumnCount(), 2);
    EXPECT_EQ(&table.VisibleColumn(1), &c);
    EXPECT_EQ(table.VisibleIndexOf(hidden), -1);
    EXPECT_EQ(table.VisibleIndexOf(c), 1);
    EXPECT_EQ(table.VisibleIndexOf(a), 0);
    try {
        table.VisibleColumn(2);
        FAIL();
    } catch (const ETableError& e) {
        EXPECT_STREQ(e.what(), "Index out of bounds");
    }
}

TEST(GridTable, OpenWindowRenamedOnRenumber)
{
    Layers l;
    l.layers.SetRowCount(2);
    TGridTable* nested = l.Nested(1);
    TStubEditor& editor = OpenEditor(*nested, true);
    l.layers.InsertRowGroup(0);
    EXPECT_EQ(editor.CaptionUpdates, 1);
    EXPECT_EQ(nested->WindowCaption(), "Clay Layer Data  3");
    // Hiding the parent closes the nested table's window too.
    l.layers.Hide();
    EXPECT_EQ(nested->Editor(), nullptr);
}

TEST(GridTable, RowControlsOfEnumerationAndButtonColumns)
{
    Layers l;
    l.layers.SetRowCount(4);
    TStubEditor& editor = OpenEditor(l.layers);
    auto& buttons = static_cast<TTableColumn&>(l.layers.Column(2));

    // A new item in row 2 makes it sand: the open window redraws the row's
    // drop-down and button; the same item again changes nothing.
    l.layers.GetData(0, 2).SetInteger(2);
    EXPECT_EQ(l.Nested(2)->Caption, "Sand Layer Data");
    EXPECT_EQ(editor.Controls, (std::vector<std::pair<int, int>>{{0, 2}, {2, 2}}));
    l.layers.GetData(0, 2).SetInteger(2);
    EXPECT_EQ(editor.Controls.size(), 2u);

    // A button hands its row's table to the window code to open.
    EXPECT_EQ(buttons.ClickButton(1), l.Nested(1));
    EXPECT_THROW(buttons.ClickButton(4), ETableError);
}

TEST(GridTable, TemplateListsFollowTheItemsOfColumnZero)
{
    TGridTable table;
    auto& types = table.AddColumn<TEnumColumn>({"Type"});
    auto& first = table.AddColumn<TTableColumn>({"A"});
    auto& other = table.AddColumn<TEnumColumn>({"Other"});
    auto& second = table.AddColumn<TTableColumn>({"B"});
    EXPECT_TRUE(first.Templates.Entries.empty());
    types.SetItems({"a", "b", "c"});
    EXPECT_EQ(second.Templates.Entries, std::vector<TTemplateRef>(3));
    first.Templates.Entries[0] = {5, true};
    types.SetItems({"a"});
    EXPECT_EQ(first.Templates.Entries, (std::vector<TTemplateRef>{{5, true}}));
    types.SetItems({"a", "b"});
    EXPECT_EQ(first.Templates.Entries, (std::vector<TTemplateRef>{{5, true}, {}}));
    other.SetItems({"x", "y", "z", "w"});  // not column 0
    EXPECT_EQ(second.Templates.Entries.size(), 2u);

    // Without an enumeration in column 0 a button column has one template.
    TGridTable plain;
    plain.AddColumn<TFloatColumn>({"Depth"});
    EXPECT_EQ(plain.AddColumn<TTableColumn>({"Data"}).Templates.Entries.size(), 1u);
}

TEST(GridTable, OtherRowObjectsHearHideResetUnitsAndClicks)
{
    struct Note : TRowObject {};
    TGridTable table;
    table.AddColumn<TFloatColumn>({"Depth"}).UnitString = "L";
    table.AddColumn<TTableColumn>({"Notes"});
    table.OnInitRow = [](TGridTable&, int32_t, int32_t, int32_t, std::unique_ptr<TRowObject>& data) {
        data = std::make_unique<Note>();
    };
    std::vector<std::string> calls;
    auto record = [&calls](const char* what) {
        return [&calls, what](TGridTable&, int32_t col, int32_t row, TRowObject* data) {
            calls.push_back(std::string(what) + " " + std::to_string(col) + " " + std::to_string(row) +
                            (data ? "" : " none"));
        };
    };
    table.OnHide = record("hide");
    table.OnResetChanged = record("reset");
    table.OnButtonClick = record("click");
    table.OnSetUnits = [&](TGridTable&, int32_t col, int32_t row, TRowObject*, UnitSystem units) {
        calls.push_back("units " + std::to_string(col) + " " + std::to_string(row) + " " + std::to_string(UnitSystemCode(units)));
    };
    // Values are converted in the old system; the rows are redrawn in the new.
    const TSubscription cells = table.OnCellChanged.Subscribe([&](int col, int row) {
        calls.push_back("cell " + std::to_string(col) + " " + std::to_string(row) + " in " +
                        std::to_string(UnitSystemCode(table.Units())));
    });
    const TSubscription rows =
        table.OnRowsChanged.Subscribe([&] { calls.push_back("rows in " + std::to_string(UnitSystemCode(table.Units()))); });
    table.SetRowCount(2);
    table.Hide();
    table.SetChanged(false);
    table.SetUnits(UnitSystem::SI);
    auto& buttons = static_cast<TTableColumn&>(table.Column(1));
    EXPECT_EQ(buttons.ClickButton(1), nullptr);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"rows in 1", "hide 1 0", "hide 1 1", "reset 1 0", "reset 1 1", "cell 0 0 in 1",
                                        "cell 0 1 in 1", "units 1 0 2", "units 1 1 2", "rows in 2", "click 1 1"}));
}

TEST(GridTable, CaptionPrefixesFollowTheOwners)
{
    TTableDirectory directory;
    TGridTable points, curves, depths;
    for (TGridTable* table : {&points, &curves, &depths})
        directory.Add(*table);
    points.Caption = "t-z curve";
    points.AddColumn<TFloatColumn>({"t"});
    curves.Caption = "Curves";
    curves.AddColumn<TTableColumn>({"Curve"}).Templates.Entries = {{points.Identifier(), true}};
    depths.Caption = "Depths";
    depths.AddColumn<TTableColumn>({"Curves"}).Templates.Entries = {{curves.Identifier(), true}};
    depths.SetRowCount(2);
    TGridTable* curve = depths.GetData(0, 1).AsTable()->GetData(0, 0).AsTable();
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->WindowCaption(), "t-z curve  2 1");
    depths.InsertRowGroup(0);
    EXPECT_EQ(curve->WindowCaption(), "t-z curve  3 1");
}
