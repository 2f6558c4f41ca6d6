#include "CapacityReadouts.h"
#include "PlotData.h"
#include "WordReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string Golden = KORVEN_GOLDEN_DIR;

bool HaveGolden() { return std::filesystem::exists(Golden + "/e19_iprint_1_loads.kv3p"); }

TEST(PlotData, LoadSettlementAndLoadCasesAsWritten)
{
    if (!HaveGolden())
        GTEST_SKIP() << "no reference files in " << Golden;
    // Five tip movements, three pile-head loads, English units.
    const TPlotData data = ReadPlotData(Golden + "/e19_iprint_1_loads.kv3p");
    EXPECT_EQ(data.Units, 1);
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
    const std::string path = testing::TempDir() + "damaged.kv3p";
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

}  // namespace
