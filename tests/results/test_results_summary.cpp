#include "ProgramData.h"
#include "ResultsSummary.h"

#include <gtest/gtest.h>

namespace {

TEST(ResultsSummary, QuantitiesWithFourSignificantDigits)
{
    EXPECT_EQ(QuantityText(174812.5), "174800");
    EXPECT_EQ(QuantityText(0.36654), "0.3665");
    EXPECT_EQ(QuantityText(1.0944), "1.094");
    EXPECT_EQ(QuantityText(-22.01), "-22.01");
    EXPECT_EQ(QuantityText(1200), "1200");
    EXPECT_EQ(QuantityText(0), "0");
    EXPECT_EQ(QuantityText(0.00012346), "1.235E-04");
    EXPECT_EQ(QuantityText(2.5e9), "2.500E+09");
}

TEST(ResultsSummary, RowsOfAProjectInItsUnits)
{
    TProjectTables tables;
    TProgramData project(tables);
    project.SetUnits(UnitSystem::SI);
    project.PileLength = 12;
    project.OuterDiameter = 0.6;
    tables.TblAE2.GetData(0, 0).SetFloat(0);
    tables.TblAE2.GetData(1, 0).SetFloat(5e6L);
    tables.TblAE2.GetData(0, 1).SetFloat(12);
    tables.TblAE2.GetData(1, 1).SetFloat(5e6L);

    const TPileForReadouts pile = PileForReadouts(project);
    EXPECT_EQ(pile.Units, UnitSystem::SI);
    EXPECT_DOUBLE_EQ(pile.Diameter, 0.6);
    ASSERT_EQ(pile.AEValues.size(), 2u);

    TPlotData data;
    data.LoadSettlement = {{1000, 0.01, 0.005, 0}, {2000, 0.05, 0.04, 0}};
    const TCapacityReadouts readouts = ComputeReadouts(data, pile);
    const std::vector<TSummaryRow> rows = SummaryRows(readouts, pile);
    ASSERT_EQ(rows.size(), 3u);
    // 10 % of 0.6 m is 0.06 m, beyond the curve's 0.05 m.
    EXPECT_EQ(rows[0].Load, "not reached");
    EXPECT_EQ(rows[0].Settlement, "");
    EXPECT_EQ(rows[2].Load, "2000 kN");
    EXPECT_EQ(rows[2].Settlement, "0.05000 m");

    const std::vector<std::string> notes = SummaryNotes(readouts, pile);
    EXPECT_EQ(notes[0], "AE = 5000000 kN, the constant AE of the AE table.");
    EXPECT_EQ(notes[1], "Offset line: s = P L / AE + 0.008800 m (3.8 mm + D/120).");
}

}  // namespace
