#include "CapacityReadouts.h"
#include "PlotData.h"
#include "ProgramData.h"
#include "ResultsSummary.h"
#include "WordReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::string Golden = KORVEN_GOLDEN_DIR;

bool HaveGolden() { return std::filesystem::exists(Golden + "/e19_iprint_1_loads.kv3p"); }

TEST(PlotData, LoadSettlementAndLoadCasesAsWritten)
{
    if (!HaveGolden())
        GTEST_SKIP() << "no reference files in " << Golden;
    // Five tip movements, three pile-head loads, English units.
    const TPlotData data = ReadPlotData(Golden + "/e19_iprint_1_loads.kv3p");
    EXPECT_EQ(data.Units, UnitSystem::English);
    EXPECT_EQ(data.Increments, 50);
    ASSERT_EQ(data.Distributions.size(), 5u);
    EXPECT_EQ(data.Distributions[0].size(), 50u);
    ASSERT_EQ(data.LoadSettlement.size(), 5u);
    EXPECT_FLOAT_EQ(data.LoadSettlement[4].TopLoad, 0.2316E+06f);
    EXPECT_FLOAT_EQ(data.LoadSettlement[4].TopMovement, 0.1094E+01f);
    EXPECT_FLOAT_EQ(data.LoadSettlement[4].TipLoad, 0.1592E+06f);
    ASSERT_EQ(data.LoadCases.size(), 3u);
    EXPECT_FLOAT_EQ(data.LoadCases[2].TopLoad, 90000);
    EXPECT_FLOAT_EQ(data.LoadCases[2].TopMovement, 0.7487E-01f);
}

TEST(PlotData, DowndragRunReportsANeutralPlaneBelowTheHead)
{
    if (!HaveGolden())
        GTEST_SKIP() << "no reference files in " << Golden;
    const TPlotData data = ReadPlotData(Golden + "/e16_downdrag.kv3p");
    EXPECT_TRUE(data.LoadCases.empty());
    TPileForReadouts pile;
    pile.Length = 480;
    pile.Diameter = 12;
    pile.AEDepths = {0, 480};
    pile.AEValues = {1e9, 1e9};
    pile.Downdrag = true;
    const TCapacityReadouts readouts = ComputeReadouts(data, pile);
    ASSERT_EQ(readouts.NeutralPlanes.size(), data.LoadSettlement.size());
    // The soil settles 1 in at the surface. Under a tip movement of 0.5 in
    // the upper shaft is dragged down and the load peaks at 149 in, 41600 lb
    // against a head load of 26790 lb.
    const TNeutralPlane& dragged = readouts.NeutralPlanes[2];
    EXPECT_FLOAT_EQ(dragged.Depth, 0.149E+03f);
    EXPECT_FLOAT_EQ(dragged.PeakLoad, 0.416E+05f);
    EXPECT_FLOAT_EQ(dragged.HeadLoad, 0.2679E+05f);
    EXPECT_NEAR(dragged.DragLoad, 14810, 0.01);
    // Under 1.5 in the pile moves past the soil everywhere: the load grows
    // up to the head and there is no drag load.
    EXPECT_FLOAT_EQ(readouts.NeutralPlanes[3].Depth, 0.480E+01f);
    EXPECT_EQ(readouts.NeutralPlanes[3].DragLoad, 0);
}

TEST(PlotData, DamagedFilesEndWithTheReadersError)
{
    if (!HaveGolden())
        GTEST_SKIP() << "no reference files in " << Golden;
    std::ifstream in(Golden + "/e19_iprint_1_loads.kv3p", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = testing::TempDir() + std::to_string(::getpid()) + "_" + "damaged.kv3p";
    const auto write = [&](const std::string& content) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    };

    // Cut inside the load-settlement record: its counts are not satisfied.
    write(text.substr(0, text.size() - 300));
    EXPECT_THROW(ReadPlotData(path), EInOutError);
    // Cut inside the last load case: a partial row.
    write(text.substr(0, text.size() - 20));
    EXPECT_THROW(ReadPlotData(path), EInOutError);
    // A count far beyond what the file holds fails before anything is sized.
    write("2000000000\n");
    EXPECT_THROW(ReadPlotData(path), EInOutError);
    EXPECT_THROW(ReadPlotData(testing::TempDir() + "no such file.kv3p"), EInOutError);
    std::remove(path.c_str());
}

// The read-outs of a golden project's run, with the pile read from the
// project file.
struct TGoldenRun {
    TPlotData Data;
    TPileForReadouts Pile;
    TCapacityReadouts Readouts;
};

TGoldenRun GoldenRun(const std::string& name)
{
    TProjectTables tables;
    std::string error;
    const auto project = TProgramData::CreateFromFile(tables, Golden + "/" + name + ".kv3d", true, error);
    EXPECT_TRUE(project) << error;
    TGoldenRun run{ReadPlotData(Golden + "/" + name + ".kv3p"), PileForReadouts(*project), {}};
    run.Readouts = ComputeReadouts(run.Data, run.Pile);
    return run;
}

bool HasRow(const std::vector<TSummaryRow>& rows, const std::string& criterion, const std::string& load,
            const std::string& settlement)
{
    for (const TSummaryRow& row : rows)
        if (row.Criterion == criterion && row.Load == load && row.Settlement == settlement)
            return true;
    for (const TSummaryRow& row : rows)
        std::printf("row: %s | %s | %s\n", row.Criterion.c_str(), row.Load.c_str(), row.Settlement.c_str());
    return false;
}

bool HasNote(const std::vector<std::string>& notes, const std::string& part)
{
    for (const std::string& note : notes)
        if (note.find(part) != std::string::npos)
            return true;
    for (const std::string& note : notes)
        std::printf("note: %s\n", note.c_str());
    return false;
}

TEST(PlotData, DowndragReadoutsOnlyOnTheCompressiveBranch)
{
    if (!HaveGolden())
        GTEST_SKIP() << "no reference files in " << Golden;
    // The head moves down under down-drag before it carries any load: the
    // curve passes zero head load at about 0.29 in, beyond Davisson's offset
    // of 0.25 in, so the offset limit is not applicable (it crossed at a
    // head load of -4,558 lb before); 10 % of the diameter is met at a
    // compressive load.
    const TGoldenRun run = GoldenRun("e16_downdrag");
    const TCapacityReadouts& readouts = run.Readouts;
    EXPECT_FALSE(readouts.Davisson.Reached);
    EXPECT_EQ(readouts.Davisson.NotApplicable, TNotApplicable::MetAtZeroLoad);
    EXPECT_NEAR(readouts.Davisson.Settlement, 0.09995 + 22010.0 / 48800 * (0.5134 - 0.09995), 1e-6);
    ASSERT_TRUE(readouts.TenPercentDiameter.Reached);
    EXPECT_GT(readouts.TenPercentDiameter.Load, 26790);
    EXPECT_EQ(readouts.Largest.Load, 60670);

    const std::vector<TSummaryRow> rows = SummaryRows(readouts, run.Pile);
    EXPECT_TRUE(HasRow(rows, "Davisson's offset limit", "not applicable", ""));
    EXPECT_TRUE(HasNote(SummaryNotes(readouts, run.Pile),
                        "Davisson's offset limit: not applicable, already met at zero head load (the head "
                        "settles 0.2864 in under down-drag"));

    // A curve that ends with the head pulled up has no compressive branch to
    // read criteria on; its largest compressive load is still given.
    TPlotData pulled = run.Data;
    for (TLoadSettlementRow& row : pulled.LoadSettlement)
        row.TopLoad = -std::abs(row.TopLoad) - 1;
    pulled.LoadSettlement[0].TopLoad = 5;  // not an uplift run
    pulled.LoadSettlement[3].TopLoad = -5;
    const TCapacityReadouts none = ComputeReadouts(pulled, run.Pile);
    EXPECT_EQ(none.Largest.Load, 5);
    EXPECT_EQ(none.TenPercentDiameter.NotApplicable, TNotApplicable::NoCompressiveLoad);
    EXPECT_EQ(none.Davisson.NotApplicable, TNotApplicable::NoCompressiveLoad);
}

TEST(PlotData, LoadCaseBeyondTheComputedCurveIsFlagged)
{
    if (!HaveGolden())
        GTEST_SKIP() << "no reference files in " << Golden;
    // 500 kN lies on the curve (largest computed 591.1 kN); for 1000 kN the
    // engine wrote a top movement of -2.227E-04 m and a tip load of 0.
    const TGoldenRun run = GoldenRun("e22_si_loads_settlement");
    EXPECT_EQ(run.Readouts.CaseFlags, (std::vector<TRowFlag>{TRowFlag::None, TRowFlag::BeyondCurve}));
    const std::vector<TSummaryRow> rows = LoadCaseRows(run.Data, run.Readouts);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(HasRow(rows, "Pile-head load case 1", "500.0 kN", "0.01696 m"));
    EXPECT_TRUE(HasRow(rows, "Pile-head load case 2", "1000 kN", "beyond the computed curve"));
    EXPECT_TRUE(HasNote(SummaryNotes(run.Readouts, run.Pile), "Pile-head load case 2 lies beyond the computed curve"));
}

TEST(PlotData, RowsBeyondTheQwCurveAreReadBothWays)
{
    if (!HaveGolden())
        GTEST_SKIP() << "no reference files in " << Golden;
    // The ninth tip movement, 0.127 m, lies beyond the Q-w curve's last point
    // (408.2 kN at 0.0254 m): the engine extrapolated the tip load to
    // 2041 kN. Held at 408.2 kN the head load is 2283 - (2041 - 408.2).
    const TGoldenRun run = GoldenRun("e02_si_defaults");
    const TCapacityReadouts& readouts = run.Readouts;
    ASSERT_EQ(readouts.RowFlags.size(), 9u);
    EXPECT_EQ(readouts.RowFlags[7], TRowFlag::None);
    EXPECT_EQ(readouts.RowFlags[8], TRowFlag::TipBeyondQw);
    ASSERT_TRUE(readouts.Largest.UsesRowsBeyondQw);
    EXPECT_EQ(readouts.Largest.Load, 2283);
    ASSERT_TRUE(readouts.Largest.Held.Reached);
    EXPECT_NEAR(readouts.Largest.Held.Load, 2283 - (2041 - 408.2), 1e-9);
    EXPECT_EQ(readouts.Largest.Held.Settlement, 0.1356);
    // 10 % of the 0.4 m diameter lies on the last segment too.
    ASSERT_TRUE(readouts.TenPercentDiameter.UsesRowsBeyondQw);
    EXPECT_LT(readouts.TenPercentDiameter.Held.Load, readouts.TenPercentDiameter.Load);

    const std::vector<TSummaryRow> rows = SummaryRows(readouts, run.Pile);
    EXPECT_TRUE(HasRow(rows, "Largest computed head load, as computed", "2283 kN", "0.1356 m"));
    EXPECT_TRUE(HasRow(rows, "    with the tip load held at the Q-w curve's last value", "650.2 kN", "0.1356 m"));
    EXPECT_TRUE(HasNote(SummaryNotes(readouts, run.Pile),
                        "load-settlement row 9 lies beyond the Q-w curve (last point 408.2 kN at 0.02540 m)"));
}

}  // namespace
