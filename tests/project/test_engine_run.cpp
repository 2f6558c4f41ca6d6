// A saved project runs through the analysis engine library, loaded afresh as
// the program loads it for each run, through the engine-run seam. The report
// and plot file must match those of the reference run.

#include "EngineRun.h"
#include "ProjectTestSupport.h"

namespace {

class EngineRunTest : public ProjectTest {
protected:
    // Saves the project as `name` in the test's folder and runs the engine on
    // it; returns the status.
    int32_t Run(const std::string& name)
    {
        Save(name);
        int32_t status = -1;
        try {
            TDynamicLibrary library(KORVEN_ENGINE_LIBRARY);
            status = RunEngine(OpenEngine(library), TRunFiles::ForProject(Folder / name));
        } catch (const std::exception& error) {
            ADD_FAILURE() << error.what();
        }
        return status;
    }

    // The report without the lines that name the folder and the time of the run.
    static std::string Report(const std::filesystem::path& path)
    {
        std::string kept;
        for (const std::string& line : Lines(ReadText(path)))
            if (line.find("Path to file locations") == std::string::npos && line.find("Date:  ") == std::string::npos)
                kept += line + "\n";
        return kept;
    }

    void ExpectReferenceOutput(const std::string& stem)
    {
        const std::filesystem::path golden = KORVEN_GOLDEN_DIR;
        EXPECT_EQ(Report(Folder / (stem + ".kv3o")), Report(golden / (stem + ".kv3o")));
        EXPECT_EQ(ReadText(Folder / (stem + ".kv3p")), ReadText(golden / (stem + ".kv3p")));
        EXPECT_TRUE(std::filesystem::exists(Folder / (stem + ".kv3r")));
    }

    static bool HaveReferences() { return std::filesystem::is_directory(KORVEN_GOLDEN_DIR); }
};

}  // namespace

// A project entered through the tables, as the engineer would, gives the
// reference run's file, report and plot data.
TEST_F(EngineRunTest, ProjectEnteredInTheTablesRuns)
{
    if (!HaveReferences())
        GTEST_SKIP() << "no reference runs";
    Project->Title = "single clay layer 0 to 480 in, default tip movements";
    Project->PileLength = 480;
    Project->OuterDiameter = 12;
    Project->TipArea = 113.1L;
    Project->UseTipMovements = false;
    Tables.D2.GetData(LayerBottomColumn, 0).SetFloat(480);
    TGridTable* clay = Tables.D2.GetData(LayerDataColumn, 0).AsTable();
    for (int row = 0; row < 2; ++row) {
        clay->GetData(UnitWeightColumn, row).SetText("0.07");
        clay->GetData(ShearStrengthColumn, row).SetText("10");
        clay->GetData(E50Column, row).SetText("0.01");
        clay->GetData(SideFrictionColumn, row).SetText("5");
    }
    Tables.TblAE2.GetData(0, 1).SetText("480");
    for (int row = 0; row < 2; ++row)
        Tables.TblAE2.GetData(1, row).SetText("1E9");

    const std::string stem = "e01_clay_single_480";
    EXPECT_EQ(Run(stem + ".kv3d"), 0);
    EXPECT_EQ(ReadText(Folder / (stem + ".kv3d")),
              ReadText(std::filesystem::path(KORVEN_GOLDEN_DIR) / (stem + ".kv3d")));
    ExpectReferenceOutput(stem);
}

// Switching an option on gives rows that leave the results as they were;
// tip movements start from the engine's own nine, in the project's units.
TEST_F(EngineRunTest, SwitchedOnOptionsChangeNoResult)
{
    ASSERT_EQ(Open(KORVEN_EXAMPLES_DIR "/example.kv3d"), "");
    Project->SetChanged(false);
    ASSERT_EQ(Run("plain.kv3d"), 0);
    Project->SetSwitch(&TProgramData::ApplyTzFactors, true);
    EXPECT_TRUE(Project->Changed());
    ASSERT_EQ(Run("factors.kv3d"), 0);
    EXPECT_EQ(ReadText(Folder / "factors.kv3p"), ReadText(Folder / "plain.kv3p"));

    Project->SetSwitch(&TProgramData::UseTipMovements, false);
    ASSERT_EQ(Run("engine-defaults.kv3d"), 0);
    Project->SetUnits(UnitSystem::SI);
    Tables.TblTipMove.SetRowCount(2);
    for (int row = 0; row < 2; ++row)
        Tables.TblTipMove.GetData(0, row).SetFloat(0);
    Project->SetSwitch(&TProgramData::UseTipMovements, true);
    ASSERT_EQ(Tables.TblTipMove.RowCount(), 9);
    EXPECT_EQ(Tables.TblTipMove.GetData(0, 0).AsString(), "2.54E-6");
    EXPECT_EQ(Tables.TblTipMove.GetData(0, 8).AsString(), "0.127");
    Project->SetUnits(UnitSystem::English);
    ASSERT_EQ(Run("nine.kv3d"), 0);
    EXPECT_EQ(ReadText(Folder / "nine.kv3p"), ReadText(Folder / "engine-defaults.kv3p"));
    // Movements of its own stay when the switch comes on again.
    Project->SetSwitch(&TProgramData::UseTipMovements, false);
    Tables.TblTipMove.SetRowCount(1);
    Project->SetSwitch(&TProgramData::UseTipMovements, true);
    EXPECT_EQ(Tables.TblTipMove.RowCount(), 1);
}
