// What chart properties add to the table model: its properties travel with
// template copies, and a row's values survive when its nested table is
// replaced by a copy of another template.

#include "GridTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::vector<std::string> SoilTypes = {"Clay 1", "Sand 2", "Clay 3", "Sand 4", "Clay 5", "Sand 6"};

// The shared column layout of the clay and sand layer data.
void DeclareLayerData(TGridTable& table, const std::string& caption)
{
    table.Caption = caption;
    table.SetMinRows(2);
    table.MaxRows = 2;
    const char* units[] = {"F/L^3", "F/L^2", "", "", "", "F/L^2", "F/L^2", ""};
    for (int c = 0; c < 8; ++c)
        table.AddColumn<TFloatColumn>({"Column " + std::to_string(c)}).UnitString = units[c];
}

struct Layers {
    TTableDirectory directory;
    TGridTable clay, sand, layers;

    explicit Layers(bool chart)
    {
        for (TGridTable* table : {&clay, &sand, &layers}) {
            directory.Add(*table);
            if (chart)
                table->Chart.emplace();
        }
        DeclareLayerData(clay, "Clay Layer Data");
        DeclareLayerData(sand, "Sand Layer Data");
        clay.Column(3).Visible = false;
        sand.Column(1).Visible = false;
        clay.SetIdentifier(2001);
        sand.SetIdentifier(2002);
        layers.Caption = "Soil Layers";
        layers.AddColumn<TEnumColumn>({"Soil Type"}).SetItems(SoilTypes);
        layers.AddColumn<TFloatColumn>({"Bottom of Layer"}).UnitString = "L";
        layers.AddColumn<TTableColumn>({"Layer Data"}).Templates.Entries = {
            {2001, true}, {2002, true}, {2001, true}, {2002, true}, {2001, true}, {2002, true}};
        layers.SetRowCount(2);
        // Layer 2 (row 1): column c of data row r holds 10c + r + 0.5.
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 8; ++c)
                Nested(1)->GetData(c, r).SetFloat(10 * c + r + 0.5L);
    }
    TGridTable* Nested(int row) const { return layers.GetData(2, row).AsTable(); }
};

}  // namespace

TEST(GridTableChart, ClayToSandKeepsTheLayerValues)
{
    Layers l(true);
    TGridTable* clay = l.Nested(1);
    l.layers.GetData(0, 1).SetInteger(2);
    TGridTable* sand = l.Nested(1);
    ASSERT_NE(sand, clay);
    EXPECT_EQ(sand->Caption, "Sand Layer Data");
    EXPECT_FALSE(sand->Column(1).Visible);
    EXPECT_EQ(sand->Number(), 2);
    ASSERT_EQ(sand->RowCount(), 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(sand->GetData(c, r).AsFloat(), 10 * c + r + 0.5L) << c << "," << r;
            // The template keeps the values it passed on.
            EXPECT_EQ(l.sand.GetData(c, r).AsFloat(), 10 * c + r + 0.5L);
        }
    // Layer 1 was not touched.
    EXPECT_EQ(l.Nested(0)->GetData(0, 0).AsFloat(), 0);

    // A layer table that was given more rows keeps them all.
    sand->SetRowCount(3);
    sand->GetData(7, 2).SetFloat(99);
    l.layers.GetData(0, 1).SetInteger(5);
    EXPECT_EQ(l.Nested(1)->Caption, "Clay Layer Data");
    ASSERT_EQ(l.Nested(1)->RowCount(), 3);
    EXPECT_EQ(l.Nested(1)->GetData(7, 2).AsFloat(), 99);
    EXPECT_EQ(l.Nested(1)->GetData(6, 1).AsFloat(), 61.5L);
}

TEST(GridTableChart, WithoutAChartAFreshTable)
{
    Layers l(false);
    l.layers.GetData(0, 1).SetInteger(2);
    EXPECT_EQ(l.Nested(1)->Caption, "Sand Layer Data");
    EXPECT_EQ(l.Nested(1)->GetData(5, 0).AsFloat(), 0);
    EXPECT_EQ(l.sand.RowCount(), 0);
}

TEST(GridTableChart, OnlyFloatColumnsCarryValuesOver)
{
    TTableDirectory directory;
    TGridTable curve, counts, depths;
    for (TGridTable* table : {&curve, &counts, &depths}) {
        directory.Add(*table);
        table->Chart.emplace();
    }
    curve.Caption = "Curve";
    curve.AddColumn<TFloatColumn>({"t"});
    curve.AddColumn<TFloatColumn>({"z"});
    counts.Caption = "Counts";
    counts.AddColumn<TIntColumn>({"n"});
    counts.AddColumn<TFloatColumn>({"z"});
    curve.SetIdentifier(2101);
    counts.SetIdentifier(2102);
    depths.AddColumn<TEnumColumn>({"Kind"}).SetItems({"curve", "counts"});
    depths.AddColumn<TTableColumn>({"Data"}).Templates.Entries = {{2101, true}, {2102, true}};
    depths.SetRowCount(1);
    depths.GetData(1, 0).AsTable()->GetData(0, 0).SetFloat(4);
    depths.GetData(1, 0).AsTable()->GetData(1, 0).SetFloat(0.25L);

    depths.GetData(0, 0).SetInteger(2);
    TGridTable* nested = depths.GetData(1, 0).AsTable();
    EXPECT_EQ(nested->Caption, "Counts");
    EXPECT_EQ(nested->GetData(0, 0).AsInteger(), 0);
    EXPECT_EQ(nested->GetData(1, 0).AsFloat(), 0.25L);
}

TEST(GridTableChart, CopiesCarryTheChartProperties)
{
    TTableDirectory directory;
    TGridTable curve;
    directory.Add(curve);
    curve.Chart.emplace();
    curve.Caption = "t-z curve";
    curve.Comments = "note";
    curve.TopLeft = "Point";
    curve.SetMinRows(2);
    curve.MaxRows = 100;
    curve.SetRowGroup(2);
    curve.Chart->GetDataFromFile = true;
    curve.Chart->InvertedYAxis = true;
    curve.Chart->Graph = {true, false, 1, 0, 0, 0};
    curve.HelpPicture = "tz.bmp";
    curve.HardwiredButton = true;
    curve.OnResize = [](TGridTable&) {};
    curve.AddColumn<TFloatColumn>({"Load Transfer (t),"}).UnitString = "F/L^2";
    curve.Column(0).GroupWide = true;
    curve.AddColumn<TFloatColumn>({"Pile Movement (z),"}).UnitString = "L";
    curve.SetIdentifier(2201);
    TGridTable depths;
    directory.Add(depths);
    depths.Chart.emplace();
    depths.SetUnits(UnitSystem::SI);
    depths.AddColumn<TFloatColumn>({"Depth"});
    depths.AddColumn<TTableColumn>({"t-z Data"}).Templates.Entries = {{2201, true}};
    depths.SetRowCount(1);

    TGridTable* copy = depths.GetData(1, 0).AsTable();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Comments, "note");
    EXPECT_EQ(copy->TopLeft, "Point");
    EXPECT_EQ(copy->MaxRows, 100);
    EXPECT_EQ(copy->RowCount(), 2);
    EXPECT_EQ(copy->HelpPicture, "tz.bmp");
    // Neither RowGroup nor what only matters with it, nor the legacy flag
    // or the events, travel with a copy.
    EXPECT_EQ(copy->RowGroup(), 1);
    EXPECT_FALSE(copy->Column(0).GroupWide);
    EXPECT_FALSE(copy->HardwiredButton);
    EXPECT_FALSE(copy->OnResize);
    EXPECT_EQ(copy->Chart, curve.Chart);
    EXPECT_EQ(copy->Units(), UnitSystem::SI);
    EXPECT_EQ(copy->Column(0).CaptionLine(0), "Load Transfer (t), (kN/m^2)  ");
    EXPECT_EQ(copy->WindowCaption(), "t-z curve  1");
}
