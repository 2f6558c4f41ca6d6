// The tagged value encoding and the "Col" declaration of a table's columns,
// written and read back in the current form, and read in the legacy forms.

#include "GridTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

using Bytes = std::vector<uint8_t>;

std::string ReadError(TGridTable& table, const Bytes& bytes)
{
    TValueReader reader(bytes);
    try {
        table.ReadCol(reader);
    } catch (const ETableError& e) {
        return e.what();
    }
    return "";
}

// The common part of a column: caption lines, Visible, GroupWide.
void WriteCommon(TValueWriter& w, const std::string& caption)
{
    w.WriteListBegin();
    w.WriteString(caption);
    w.WriteListEnd();
    w.WriteBoolean(true);
    w.WriteBoolean(false);
}

void WriteEnumColumn(TValueWriter& w, int items)
{
    w.WriteInteger(0);
    WriteCommon(w, "Soil Type");
    w.WriteListBegin();
    for (int i = 0; i < items; ++i)
        w.WriteString("type " + std::to_string(i + 1));
    w.WriteListEnd();
}

}  // namespace

TEST(ValueStream, SmallestIntegerTagIsWrittenAndEveryTagRead)
{
    TValueWriter w;
    for (int32_t v : {0, -128, 127, 128, -32768, 32767, 32768, INT32_MIN})
        w.WriteInteger(v);
    EXPECT_EQ(w.Bytes(), (Bytes{0x02, 0x00, 0x02, 0x80, 0x02, 0x7F, 0x03, 0x80, 0x00, 0x03, 0x00, 0x80, 0x03,
                                0xFF, 0x7F, 0x04, 0x00, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x80}));
    TValueReader r(w.Bytes());
    for (int32_t v : {0, -128, 127, 128, -32768, 32767, 32768, INT32_MIN})
        EXPECT_EQ(r.ReadInteger(), v);

    const Bytes wide = {0x04, 0x05, 0x00, 0x00, 0x00, 0x03, 0xFE, 0xFF};
    TValueReader rw(wide);
    EXPECT_EQ(rw.ReadInteger(), 5);
    EXPECT_EQ(rw.ReadInteger(), -2);
    EXPECT_THROW(rw.ReadInteger(), EReadError);
}

TEST(ValueStream, ExtendedFloatsStringsAndBooleans)
{
    const long double values[] = {0.1L, -1e-4000L, std::numeric_limits<long double>::max(),
                                  std::numeric_limits<long double>::denorm_min()};
    const std::string longText(300, 'x');
    TValueWriter w;
    for (long double v : values)
        w.WriteFloat(v);
    w.WriteString("");
    w.WriteString(longText);
    w.WriteBoolean(true);
    w.WriteBoolean(false);

    const Bytes& b = w.Bytes();
    EXPECT_EQ(b[0], 0x05);
    EXPECT_EQ(std::memcmp(&b[1], &values[0], 10), 0);
    EXPECT_EQ(b[44], 0x06);
    EXPECT_EQ(b[45], 0x00);
    EXPECT_EQ((Bytes{b[46], b[47], b[48], b[49], b[50]}), (Bytes{0x0C, 0x2C, 0x01, 0x00, 0x00}));

    TValueReader r(b);
    for (long double v : values) {
        const long double read = r.ReadFloat();
        EXPECT_EQ(std::memcmp(&read, &v, 10), 0);
    }
    EXPECT_EQ(r.ReadString(), "");
    EXPECT_EQ(r.ReadString(), longText);
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_FALSE(r.ReadBoolean());
    EXPECT_THROW(r.ReadBoolean(), EReadError);

    const Bytes cut = {0x06, 0x05, 'a', 'b'};
    TValueReader rc(cut);
    EXPECT_THROW(rc.ReadString(), EReadError);
}

TEST(ColStream, EveryColumnKindRoundTrips)
{
    TGridTable source;
    source.HardwiredButton = true;  // has no effect on the current form
    auto& type = source.AddColumn<TEnumColumn>({"Soil", "Type"});
    type.SetItems({"clay", "sand", std::string(300, 's')});
    type.GroupWide = true;
    auto& count = source.AddColumn<TIntColumn>({"Count"});
    count.DefaultValue = 3;
    count.MinValue = -40000;
    count.MaxValue = 100;
    auto& top = source.AddColumn<TFloatColumn>({"Top"});
    top.TopDepth = true;
    top.UnitString = "F/L^2";
    top.DefaultValue = 0.1L;
    source.AddColumn<TFloatColumn>({"Bottom"}).Visible = false;
    source.AddColumn<TTableColumn>({"Data"}).Templates.Entries = {{-1, true}, {}, {}};
    auto& note = source.AddColumn<TStringColumn>({});
    note.DefaultValue = "none";
    note.Width = 1.25L;
    TGridTable target1, target2;
    TGridTable copy;
    TTableDirectory directory;
    for (TGridTable* table : {&source, &target1, &target2, &copy})
        directory.Add(*table);
    static_cast<TTableColumn&>(source.Column(4)).Templates.Entries = {{target2.Identifier(), true}, {1, false}, {}};

    TValueWriter w;
    source.WriteCol(w);
    int rowsChanged = 0;
    const TSubscription rows = copy.OnRowsChanged.Subscribe([&] { ++rowsChanged; });
    TValueReader r(w.Bytes());
    copy.ReadCol(r);
    EXPECT_EQ(rowsChanged, 1);
    copy.SetRowCount(2);

    ASSERT_EQ(copy.ColumnCount(), 6);
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(copy.Column(c).Kind(), source.Column(c).Kind());
        EXPECT_EQ(copy.Column(c).CaptionLines, source.Column(c).CaptionLines);
        EXPECT_EQ(copy.Column(c).Visible, source.Column(c).Visible);
        EXPECT_EQ(copy.Column(c).GroupWide, source.Column(c).GroupWide);
        EXPECT_EQ(copy.Column(c).RowCount(), 2);
    }
    EXPECT_EQ(static_cast<TEnumColumn&>(copy.Column(0)).Items(), type.Items());
    auto& count2 = static_cast<TIntColumn&>(copy.Column(1));
    EXPECT_EQ(count2.DefaultValue, 3);
    EXPECT_EQ(count2.MinValue, -40000);
    EXPECT_EQ(count2.MaxValue, 100);
    EXPECT_EQ(copy.GetData(1, 1).AsInteger(), 3);
    auto& top2 = static_cast<TFloatColumn&>(copy.Column(2));
    EXPECT_TRUE(top2.TopDepth);
    EXPECT_EQ(top2.UnitString, "F/L^2");
    EXPECT_EQ(top2.DefaultValue, 0.1L);
    // Templates are written as the identifiers they resolve to.
    EXPECT_EQ(static_cast<TTableColumn&>(copy.Column(4)).Templates.Entries,
              (std::vector<TTemplateRef>{{target2.Identifier(), true}, {target1.Identifier(), true}, {-1, true}}));
    auto& note2 = static_cast<TStringColumn&>(copy.Column(5));
    EXPECT_EQ(note2.DefaultValue, "none");
    EXPECT_EQ(note2.Width, 1.25L);
    EXPECT_EQ(copy.GetData(5, 0).AsString(), "none");

    // Writing what was read gives the same bytes.
    TValueWriter again;
    copy.WriteCol(again);
    EXPECT_EQ(again.Bytes(), w.Bytes());
}

TEST(ColStream, LegacyFloatAndButtonColumns)
{
    TGridTable clay, sand;
    for (bool hardwired : {false, true}) {
        TValueWriter w;
        w.WriteInteger(3);
        WriteEnumColumn(w, 6);
        w.WriteInteger(2);
        WriteCommon(w, "Bottom");
        w.WriteBoolean(false);
        w.WriteString("L");  // the unit string in place of the marker
        w.WriteInteger(3);
        WriteCommon(w, "Layer Data");
        w.WriteString("");
        w.WriteInteger(7);

        TGridTable table;
        table.HardwiredButton = hardwired;
        TValueReader r(w.Bytes());
        table.ReadCol(r);
        ASSERT_EQ(table.ColumnCount(), 3);
        auto& bottom = static_cast<TFloatColumn&>(table.Column(1));
        EXPECT_EQ(bottom.UnitString, "L");
        EXPECT_EQ(bottom.DefaultValue, 0);
        EXPECT_FALSE(bottom.TopDepth);
        const auto& entries = static_cast<TTableColumn&>(table.Column(2)).Templates.Entries;
        ASSERT_EQ(entries.size(), 6u);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(entries[i], (hardwired ? TTemplateRef{7, false} : TTemplateRef{i + 1, true}));
    }

    // Without an enumeration in column 0: one entry, a registry index.
    TValueWriter w;
    w.WriteInteger(1);
    w.WriteInteger(3);
    WriteCommon(w, "t-z Data");
    w.WriteString("TABLECOLUMN");
    w.WriteInteger(4);
    TGridTable table;
    TValueReader r(w.Bytes());
    table.ReadCol(r);
    EXPECT_EQ(static_cast<TTableColumn&>(table.Column(0)).Templates.Entries, (std::vector<TTemplateRef>{{4, false}}));
}

TEST(ColStream, ColumnCountWithAnyIntegerTag)
{
    for (const Bytes& bytes : {Bytes{0x02, 0x01}, Bytes{0x03, 0x01, 0x00}, Bytes{0x04, 0x01, 0x00, 0x00, 0x00}}) {
        Bytes col = bytes;
        TValueWriter w;
        w.WriteInteger(4);
        WriteCommon(w, "Note");
        w.WriteString("-");
        w.WriteFloat(1);
        col.insert(col.end(), w.Bytes().begin(), w.Bytes().end());
        TGridTable table;
        TValueReader r(col);
        table.ReadCol(r);
        ASSERT_EQ(table.ColumnCount(), 1);
        EXPECT_EQ(static_cast<TStringColumn&>(table.Column(0)).DefaultValue, "-");
    }
}

TEST(ColStream, ReadingErrors)
{
    TGridTable table;
    EXPECT_EQ(ReadError(table, {0x06, 0x00}), "Error reading column count");
    EXPECT_EQ(ReadError(table, {0x02, 0x01, 0x02, 0x05}), "Error Column Class not defined");

    // Column 1 breaks off in its Visible flag; nothing of it stays.
    TValueWriter w;
    w.WriteInteger(2);
    WriteEnumColumn(w, 2);
    w.WriteInteger(1);
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteInteger(1);
    EXPECT_EQ(ReadError(table, w.Bytes()),
              "Error occured when creating column 1: Invalid value type 2 in declaration stream");
    EXPECT_EQ(table.ColumnCount(), 1);

    // A top column needs its bottom column once the table has rows.
    TGridTable withRows;
    withRows.SetRowCount(1);
    TValueWriter top;
    top.WriteInteger(1);
    top.WriteInteger(2);
    WriteCommon(top, "Top");
    top.WriteBoolean(true);
    top.WriteString("FLOATCOLUMN2");
    top.WriteString("L");
    top.WriteFloat(0);
    EXPECT_EQ(ReadError(withRows, top.Bytes()),
              "Error occured when creating column 0: If column if a topdepth then the next "
              "column must be a float column");
    EXPECT_EQ(withRows.ColumnCount(), 0);
}

TEST(ColStream, ChartGraphParameters)
{
    TGridTable source;
    source.Chart.emplace();
    source.AddColumn<TFloatColumn>({"Depth"});
    source.AddColumn<TFloatColumn>({"AE"});
    source.Chart->Graph = {true, true, 0, 1, 300, -2};
    TValueWriter w;
    source.WriteCol(w);

    TGridTable copy;
    copy.Chart.emplace();
    TValueReader r(w.Bytes());
    copy.ReadCol(r);
    EXPECT_EQ(copy.ColumnCount(), 2);
    EXPECT_EQ(copy.Chart->Graph, source.Chart->Graph);

    // A table without a chart writes no graph parameters.
    TGridTable plain;
    plain.AddColumn<TFloatColumn>({"Depth"});
    plain.AddColumn<TFloatColumn>({"AE"});
    TValueWriter pw;
    plain.WriteCol(pw);
    EXPECT_EQ(w.Bytes().size() - pw.Bytes().size(), 2u + 2 + 2 + 3 + 2);

    Bytes cut(w.Bytes().begin(), w.Bytes().end() - 2);
    TGridTable broken;
    broken.Chart.emplace();
    TValueReader rc(cut);
    try {
        broken.ReadCol(rc);
        FAIL();
    } catch (const ETableError& e) {
        EXPECT_STREQ(e.what(), "Error reading graphic parameters");
    }
}

// Found by the declaration fuzzer: a button column whose template is the
// table itself, or a table whose template leads back to it, made nested
// copies without end when rows were added. Rows are refused instead.
TEST(ColStream, TemplateLeadingBackToItsTableIsRefusedWhenRowsAreMade)
{
    TTableDirectory directory;
    TGridTable table;
    directory.Add(table);
    table.AddColumn<TFloatColumn>({"Depth"});
    table.AddColumn<TTableColumn>({"Data"}).Templates.Entries = {{table.Identifier(), true}};
    EXPECT_THROW(table.SetRowCount(1), ETableError);

    TGridTable outer, inner;
    directory.Add(outer);
    directory.Add(inner);
    outer.AddColumn<TTableColumn>({"Inner"}).Templates.Entries = {{inner.Identifier(), true}};
    inner.AddColumn<TTableColumn>({"Outer"}).Templates.Entries = {{outer.Identifier(), true}};
    try {
        outer.SetRowCount(1);
        FAIL();
    } catch (const ETableError& e) {
        EXPECT_STREQ(e.what(), "A table's template holds the table itself");
    }
    // A template without such a loop still gives each row its copy.
    TGridTable owner, plain;
    directory.Add(owner);
    directory.Add(plain);
    plain.AddColumn<TFloatColumn>({"Depth"});
    owner.AddColumn<TTableColumn>({"Data"}).Templates.Entries = {{plain.Identifier(), true}};
    owner.SetRowCount(2);
    ASSERT_NE(owner.GetData(0, 1).AsTable(), nullptr);
    EXPECT_EQ(owner.GetData(0, 1).AsTable()->RowCount(), 1);
}

TEST(ColStream, FuzzFindingsReadOrFailWithTheTableError)
{
    for (const auto& entry : std::filesystem::directory_iterator(KORVEN_FUZZ_REGRESSIONS "/col_stream")) {
        std::ifstream file(entry.path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        for (bool hardwired : {false, true}) {
            TGridTable table;
            table.HardwiredButton = hardwired;
            TValueReader reader(bytes);
            try {
                table.ReadCol(reader);
                table.SetRowCount(2);
            } catch (const ETableError&) {
            }
        }
    }
}
