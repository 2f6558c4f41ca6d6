// The declared tables: what a new project holds, the templates each soil
// type and each t-z depth gets, and declarations that survive the column
// declaration stream.

#include "ProjectTestSupport.h"

TEST_F(ProjectTest, NewProjectHoldsEveryTablesMinimum)
{
    EXPECT_EQ(Tables.D2.RowCount(), 1);
    for (TGridTableChart* table :
         {&Tables.tblDataClay2, &Tables.tblDataSand2, &Tables.TblTZDepth2, &Tables.TblTZCurves2,
          &Tables.TblQwcurve2, &Tables.TblSettlement2, &Tables.TblTZFactors2, &Tables.TblAE2})
        EXPECT_EQ(table->RowCount(), 2) << table->Caption;
    EXPECT_EQ(Tables.TblTipMove.RowCount(), 2);
    EXPECT_EQ(Tables.TblTopload.RowCount(), 1);
    EXPECT_TRUE(Project->UseTipMovements);
    EXPECT_FALSE(Project->UseHeadLoads);
    EXPECT_TRUE(Project->CurvesGenerated);
    EXPECT_EQ(Project->FileName, "NewKORVEN.kv3d");
    EXPECT_EQ(Project->Title, "New Pile");
    EXPECT_EQ(Project->Increments, 50);
    EXPECT_EQ(Project->Tolerance, 1.0E-5L);
    EXPECT_FALSE(Project->Changed());
}

TEST_F(ProjectTest, NewProjectDropsThePreviousRows)
{
    Tables.TblAE2.SetRowCount(7);
    Tables.TblAE2.GetData(1, 0).SetFloat(5);
    Tables.D2.SetRowCount(4);
    Tables.D2.GetData(SoilTypeColumn, 3).SetInteger(2);
    Project = std::make_unique<TProgramData>(Tables);
    EXPECT_EQ(Tables.TblAE2.RowCount(), 2);
    EXPECT_EQ(Tables.TblAE2.GetData(1, 0).AsFloat(), 0);
    ASSERT_EQ(Tables.D2.RowCount(), 1);
    EXPECT_EQ(Tables.D2.GetData(SoilTypeColumn, 0).AsInteger(), 1);
}

TEST_F(ProjectTest, RowsGetTheTemplateOfTheirKind)
{
    Tables.D2.SetRowCount(6);
    for (int type = 1; type <= 6; ++type) {
        Tables.D2.GetData(SoilTypeColumn, type - 1).SetInteger(type);
        TGridTableChart* data = Tables.D2.GetData(LayerDataColumn, type - 1).AsTable();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->Caption, IsClaySoil(type) ? "Clay Layer Data" : "Sand Layer Data");
        EXPECT_EQ(data->Number(), type);
        EXPECT_EQ(data->RowCount(), 2);
        EXPECT_EQ(data->TopLeft, "Location, 1=Top, 2=Bottom");
        std::vector<bool> visible;
        for (int c = 0; c < data->ColumnCount(); ++c)
            visible.push_back(data->Column(c).Visible);
        EXPECT_EQ(visible, IsClaySoil(type)
                               ? std::vector<bool>({true, true, true, false, false, true, true, false})
                               : std::vector<bool>({true, false, false, true, true, true, true, false}));
    }
    EXPECT_EQ(Tables.D2.GetData(SoilTypeColumn, 0).AsString(), "1");
    EXPECT_EQ(Tables.D2.Column(SoilTypeColumn).GetText(3), "4");

    TGridTableChart* curve = Tables.TblTZDepth2.GetData(CurvePointsColumn, 1).AsTable();
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->Caption, "t-z curve");
    EXPECT_EQ(curve->WindowCaption(), "t-z curve  2");
    EXPECT_EQ(curve->Column(0).CaptionLine(0), "Load Transfer (t), (lbs/in^2)  ");
    EXPECT_TRUE(curve->Graph.ShowGraph);
    EXPECT_TRUE(curve->GetDataFromFile);
}

TEST_F(ProjectTest, DeclarationsSurviveTheColumnStream)
{
    Tables.ForEach([](auto& table) {
        SCOPED_TRACE(table.Caption);
        TValueWriter written;
        table.WriteCol(written);
        std::remove_reference_t<decltype(table)> copy;
        TValueReader reader(written.Bytes());
        copy.ReadCol(reader);
        TValueWriter again;
        copy.WriteCol(again);
        EXPECT_EQ(again.Bytes(), written.Bytes());
        EXPECT_EQ(copy.ColumnCount(), table.ColumnCount());
    });
}

TEST_F(ProjectTest, TablesAreFoundByTheirIdentifiers)
{
    EXPECT_EQ(TGridTableChart::FindByIdentifier(1), &Tables.tblDataClay2);
    EXPECT_EQ(TGridTableChart::FindByIdentifier(2), &Tables.tblDataSand2);
    EXPECT_EQ(TGridTableChart::FindByIdentifier(4), &Tables.TblTZCurves2);
    EXPECT_EQ(TGridTable::FindByIdentifier(179), &Tables.TblTipMove);
    EXPECT_EQ(Tables.TblTopload.Identifier(), 10);
    EXPECT_EQ(Tables.TblTopload.Comments, "Axial loads must be positive numbers");
    EXPECT_EQ(Tables.TblTZFactors2.Graph, (TGraphParameters{true, false, 0, 1, 0, 0}));
    EXPECT_EQ(Tables.TblQwcurve2.Graph, (TGraphParameters{true, false, 1, 0, 0, 0}));
    EXPECT_FALSE(Tables.D2.Graph.ShowGraph);
    EXPECT_FALSE(Tables.D2.GetDataFromFile);
}
