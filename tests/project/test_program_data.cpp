// Unit switching and the changed state of a project.

#include "ProjectTestSupport.h"

#include <cmath>

namespace {

long double RelativeError(long double a, long double b) { return std::fabs(a - b) / std::fabs(b); }

}  // namespace

TEST_F(ProjectTest, UnitSwitchConvertsPilePropertiesAndTables)
{
    Project->PileLength = 480;
    Project->OuterDiameter = 12;
    Project->TipArea = 113.1L;
    Tables.TblAE2.GetData(1, 0).SetFloat(1E9L);  // lbs
    TGridTable* layer = Tables.D2.GetData(LayerDataColumn, 0).AsTable();
    layer->GetData(UnitWeightColumn, 0).SetFloat(0.07L);  // lbs/in^3
    layer->GetData(E50Column, 0).SetFloat(0.01L);

    int reloads = 0;
    Project->OnUnitsChanged = [&reloads] { ++reloads; };
    Project->SetUnits(UnitSystem::SI);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(Project->Units(), UnitSystem::SI);
    // The factors are inches per metre and its reciprocal: 12 significant digits.
    EXPECT_LT(RelativeError(Project->PileLength, 12.192L), 1E-11L);
    EXPECT_LT(RelativeError(Project->TipArea, 113.1L * 0.0254L * 0.0254L), 1E-11L);
    EXPECT_LT(RelativeError(Project->Tolerance, 2.54E-7L), 1E-11L);
    EXPECT_LT(RelativeError(Tables.TblAE2.GetData(1, 0).AsFloat(), 1E9L / 224.8089237L), 1E-11L);
    EXPECT_LT(RelativeError(layer->GetData(UnitWeightColumn, 0).AsFloat(),
                            0.07L * 39.37007874L * 39.37007874L * 39.37007874L / 224.8089237L),
              1E-11L);
    EXPECT_EQ(layer->GetData(E50Column, 0).AsFloat(), 0.01L);
    EXPECT_EQ(Tables.TblTZCurves2.Units(), UnitSystem::SI);

    // The system already in force changes nothing.
    const long double length = Project->PileLength;
    Project->SetUnits(UnitSystem::SI);
    Project->SetUnits(UnitSystem::Symbolic);  // a project's own are English and SI: SI
    EXPECT_EQ(Project->PileLength, length);

    // And back, within the precision of the extended type.
    Project->SetUnits(UnitSystem::English);
    EXPECT_LT(RelativeError(Project->PileLength, 480), 1E-17L);
    EXPECT_LT(RelativeError(Project->TipArea, 113.1L), 1E-17L);
    EXPECT_LT(RelativeError(Project->Tolerance, 1E-5L), 1E-17L);
    EXPECT_LT(RelativeError(Tables.TblAE2.GetData(1, 0).AsFloat(), 1E9L), 1E-17L);
    EXPECT_LT(RelativeError(layer->GetData(UnitWeightColumn, 0).AsFloat(), 0.07L), 1E-17L);
    EXPECT_EQ(MetresPerInch * InchesPerMetre, 1.0L);
    const long double inches = Project->PileLength;
    Project->SetUnits(UnitSystem::English);
    EXPECT_EQ(Project->Units(), UnitSystem::English);
    EXPECT_EQ(Project->PileLength, inches);
}

// A new project replaces one in SI units with more rows.
TEST_F(ProjectTest, NewProjectResetsTheTables)
{
    Project->SetUnits(UnitSystem::SI);
    Tables.TblAE2.SetRowCount(7);
    Tables.TblAE2.GetData(1, 0).SetFloat(100);
    Tables.D2.SetRowCount(4);
    Tables.D2.GetData(SoilTypeColumn, 3).SetInteger(2);
    Project = std::make_unique<TProgramData>(Tables);
    EXPECT_EQ(Project->Units(), UnitSystem::English);
    Tables.ForEach([](auto& table) { EXPECT_EQ(table.Units(), UnitSystem::English) << table.Caption; });
    EXPECT_EQ(Tables.TblAE2.RowCount(), 2);
    EXPECT_EQ(Tables.TblAE2.GetData(1, 0).AsFloat(), 0);
    ASSERT_EQ(Tables.D2.RowCount(), 1);
    EXPECT_EQ(Tables.D2.GetData(LayerDataColumn, 0).AsTable()->Units(), UnitSystem::English);
}

// Multipliers of 1 leave the Q-w curve as it is: switching the factors on
// in a new project and running computes the curve unchanged (0 would
// collapse it onto a tip movement of 0).
TEST_F(ProjectTest, NewProjectQwMultipliersAreOne)
{
    Project->QMultiplier = 2;
    Project->WMultiplier = 0.5L;
    Project = std::make_unique<TProgramData>(Tables);
    EXPECT_EQ(Project->QMultiplier, 1);
    EXPECT_EQ(Project->WMultiplier, 1);
    Project->ApplyQwFactors = true;
    EXPECT_EQ(Lines(Save("factors.kv3d")).back(), "1 1");
}

TEST_F(ProjectTest, ChangedStateCoversEveryTable)
{
    EXPECT_FALSE(Project->Changed());
    Project->SetChanged(true);
    EXPECT_TRUE(Project->Changed());
    Project->SetChanged(false);
    EXPECT_FALSE(Project->Changed());

    // A nested layer table's flag counts, and clearing reaches it.
    Tables.D2.GetData(LayerDataColumn, 0).AsTable()->SetChanged(true);
    EXPECT_TRUE(Project->Changed());
    Project->SetChanged(false);
    EXPECT_FALSE(Tables.D2.Changed());
    EXPECT_FALSE(Project->Changed());

    Tables.TblTopload.SetChanged(true);
    EXPECT_TRUE(Project->Changed());
    Save("changed.kv3d");
    EXPECT_FALSE(Project->Changed());

}
