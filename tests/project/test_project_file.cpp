// Writing the project file: the exact lines of a new project, the number
// forms, and round trips (write, read, write) that are byte-identical.

#include "ProjectTestSupport.h"

namespace {

// Gives every list values of assorted magnitudes and signs, and sets the
// curve source and every option as asked.
void FillProject(TProgramData& project, bool userCurves, bool options)
{
    TProjectTables& t = project.Tables();
    project.Title = "  Pile 7, trial  B ";
    project.Increments = 120;
    project.OutputOption = 1;
    project.Tolerance = 2.5E-6L;
    project.PileLength = 1234.56L;
    project.OuterDiameter = 24;
    project.TipArea = 452.38934L;
    project.CurvesGenerated = !userCurves;
    project.Downdrag = options;
    project.UseTipMovements = options;
    project.UseHeadLoads = options;
    project.ApplyTzFactors = options;
    project.ApplyQwFactors = options;
    project.QMultiplier = 1.5L;
    project.WMultiplier = 0.75L;

    t.D2.SetRowCount(3);
    for (int i = 0; i < 3; ++i) {
        t.D2.GetData(SoilTypeColumn, i).SetInteger(i * 2 + 1 + (i == 1));  // 1, 4, 5
        t.D2.GetData(LayerBottomColumn, i).SetFloat(100.25L * (i + 1));
        TGridTable* data = t.D2.GetData(LayerDataColumn, i).AsTable();
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 7; ++col)
                data->GetData(col, row).SetFloat(0.00009855L * (col + 1) * (row + 1) * (i + 3));
    }
    t.TblTZDepth2.SetRowCount(3);
    for (int i = 0; i < 3; ++i) {
        t.TblTZDepth2.GetData(CurveDepthColumn, i).SetFloat(50.0L * i);
        TGridTable* curve = t.TblTZDepth2.GetData(CurvePointsColumn, i).AsTable();
        curve->SetRowCount(2 + i);
        for (int p = 0; p < curve->RowCount(); ++p) {
            curve->GetData(0, p).SetFloat(p * 1.1L + i);
            curve->GetData(1, p).SetFloat(p * 0.01L);
        }
    }
    auto fill = [](auto& table, int rows, long double scale) {
        table.SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < table.ColumnCount(); ++c)
                table.GetData(c, r).SetFloat(scale * (r + 1) + c - 0.5L);
    };
    fill(t.TblQwcurve2, 4, 1000);
    fill(t.TblSettlement2, 3, 0.125L);
    fill(t.TblTZFactors2, 2, 40);
    fill(t.TblAE2, 3, 1.2345678E9L);
    fill(t.TblTipMove, 5, -0.02L);
    fill(t.TblTopload, 2, 100);
}

}  // namespace

TEST_F(ProjectTest, NewProjectFileHasTheKnownLines)
{
    const std::vector<std::string> expected = {
        "New Pile",
        "50 0 1",
        "2 ",
        "1",
        "1 1 0.0  0.00000000000000E+0000",
        "0 0 0.0  0 0 0",
        "0 0 0.0  0 0 0",
        "2",
        "0 0",
        "0 0",
        "0.00001 0 0 0",
        "2",
        "0",
        "0",
        " 0",
        " 0",
        " 0",
        " 0",
    };
    EXPECT_EQ(Lines(Save("NewKORVEN.kv3d")), expected);
    EXPECT_EQ(Project->CompanionFileName, PathOf("NewKORVEN.gwi"));
    EXPECT_TRUE(std::filesystem::exists(Project->CompanionFileName));
    EXPECT_EQ(std::filesystem::file_size(Project->CompanionFileName), 0u);
}

TEST_F(ProjectTest, NumberForms)
{
    Project->Tolerance = 1E-9L;
    Project->PileLength = 1.2345678912E12L;
    Project->OuterDiameter = 0.0001L;
    Project->TipArea = -0.00002L;
    Tables.D2.SetRowCount(2);
    Tables.D2.GetData(LayerBottomColumn, 0).SetFloat(12);
    Tables.D2.GetData(LayerBottomColumn, 1).SetFloat(-0.00123L);
    // Fixed form down to 0.00001 and up to 8 whole digits.
    Tables.TblAE2.GetData(0, 0).SetFloat(0.00001L);
    Tables.TblAE2.GetData(1, 0).SetFloat(1E-6L);
    Tables.TblAE2.GetData(0, 1).SetFloat(99999999);
    Tables.TblAE2.GetData(1, 1).SetFloat(1E8L);
    const std::vector<std::string> lines = Lines(Save("forms.kv3d"));
    EXPECT_EQ(lines[4], "1 1 0.0  1.20000000000000E+0001");
    EXPECT_EQ(lines[5], "2 1  1.20000000000000E+0001 -1.23000000000000E-0003");
    EXPECT_EQ(lines[11], "1E-6 0.00001");
    EXPECT_EQ(lines[12], "1E8 99999999");
    EXPECT_EQ(lines[13], "1E-9 1.2345679E12 0.0001 -0.00002");
}

TEST_F(ProjectTest, RoundTripsAreByteIdentical)
{
    for (bool userCurves : {false, true}) {
        for (bool options : {false, true}) {
            SCOPED_TRACE(testing::Message() << "user curves " << userCurves << ", options " << options);
            Project = std::make_unique<TProgramData>(Tables);
            FillProject(*Project, userCurves, options);
            Project->SetUnits(UnitSystem::SI);
            Project->SavedCurveSource = userCurves ? CurveSource::Generated : CurveSource::UserEntered;
            const std::string first = Save("trip.kv3d");
            EXPECT_EQ(Project->SavedCurveSource, userCurves ? CurveSource::UserEntered : CurveSource::Generated);
            ASSERT_EQ(Open(PathOf("trip.kv3d")), "");
            EXPECT_FALSE(Project->Changed());
            EXPECT_EQ(Project->Units(), UnitSystem::SI);
            EXPECT_EQ(Project->Title, "  Pile 7, trial  B ");
            EXPECT_EQ(Project->CurvesGenerated, !userCurves);
            EXPECT_EQ(Project->SavedCurveSource, userCurves ? CurveSource::UserEntered : CurveSource::Generated);
            EXPECT_EQ(Project->UseTipMovements, options);
            EXPECT_EQ(Project->UseHeadLoads, options);
            EXPECT_EQ(Project->Downdrag, options);
            EXPECT_EQ(Project->ApplyTzFactors, options);
            EXPECT_EQ(Project->ApplyQwFactors, options);
            EXPECT_EQ(Save("trip.kv3d"), first);

            const std::vector<std::string> lines = Lines(first);
            if (options) {
                EXPECT_EQ(lines.back(), "1.5 0.75");
            } else {
                // Tip movements, head loads, settlement, t-z and Q-w factors.
                ASSERT_GE(lines.size(), 5u);
                EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()), std::vector<std::string>(5, " 0"));
            }
        }
    }
}
