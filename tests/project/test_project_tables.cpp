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
    EXPECT_FALSE(Project->Changed());
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

    TGridTableChart* curve = Tables.TblTZDepth2.GetData(CurvePointsColumn, 1).AsTable();
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->Caption, "t-z curve");
    EXPECT_EQ(curve->WindowCaption(), "t-z curve  2");
    EXPECT_TRUE(curve->Graph.ShowGraph);
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
