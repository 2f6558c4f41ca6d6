#include "MainGraphs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string DataFile(const char* name) { return std::string(KORVEN_GRAPHICS_TEST_DATA) + "/" + name; }

std::string WriteFile(const char* name, const std::string& text)
{
    const std::string path = testing::TempDir() + std::to_string(::getpid()) + "_" + name;
    std::ofstream(path) << text;
    return path;
}

// Q-w curve, load distribution and load-settlement records of a small SI run
// with two tip movements and two increments.
const char* const SmallTail =
    "  2\n"
    "  0.0E+00  0.0E+00\n"
    "  0.5E+02  0.1E+00\n"
    "  2  2  2\n"
    "  0.150E+02    0.300E+02    0.100E-01\n"
    "  0.500E+01    0.400E+02    0.200E-01\n"
    "  0.150E+02    0.600E+02    0.200E-01\n"
    "  0.500E+01    0.700E+02    0.300E-01\n"
    "  0.4000E+02  0.2000E-01  0.1000E-01  0.1000E+02\n"
    "  0.8000E+02  0.3000E-01  0.2000E-01  0.2000E+02\n";

}  // namespace

TEST(ReadPlotFile, TZCurvesOfDifferentLengthsArePaddedWithTheirLastPoint)
{
    const std::string path = WriteFile("padded.kv3p",
                                       "  3\n"
                                       "  1  3  0.0E+00\n"
                                       "  1.0  0.1\n  2.0  0.2\n  3.0  0.3\n"
                                       "  2  5  0.5E+01\n"
                                       "  1.5  0.1\n  2.5  0.2\n  3.5  0.3\n  4.5  0.4\n  5.5  0.5\n"
                                       "  3  4  1.25E+01\n"
                                       "  0.5  0.1\n  1.5  0.2\n  2.5  0.3\n  3.5  0.4\n" +
                                           std::string(SmallTail));
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, path, UnitSystem::SI));
    const TGraphPlot& tz = graphs.pltTZcurves;
    ASSERT_EQ(tz.LineCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tz.Line(i).Points.size(), 5u);
    // t goes to Y, z to X.
    EXPECT_EQ(tz.Line(0).Points[2].Y, 3.0);
    EXPECT_EQ(tz.Line(0).Points[2].X, 0.3);
    for (int j = 3; j < 5; ++j) {
        EXPECT_EQ(tz.Line(0).Points[j].X, 0.3);
        EXPECT_EQ(tz.Line(0).Points[j].Y, 3.0);
    }
    EXPECT_EQ(tz.Line(1).Points[4].Y, 5.5);
    EXPECT_EQ(tz.Line(2).Points[3].Y, 3.5);
    EXPECT_EQ(tz.Line(2).Points[4].Y, 3.5);
    EXPECT_EQ(tz.Line(2).Points[4].X, 0.4);
    EXPECT_EQ(tz.Line(0).Name, "0 m");
    EXPECT_EQ(tz.Line(1).Name, "5 m");
    EXPECT_EQ(tz.Line(2).Name, "12.5 m");

    // An SI file keeps its values and switches every graph to SI units.
    EXPECT_EQ(graphs.PltQW.Line(0).Points[1].X, 50);
    EXPECT_EQ(graphs.PltQW.Line(0).Points[1].Y, 0.1);
    EXPECT_EQ(graphs.pltLoad.Line(1).Points[1].Y, 5);
    EXPECT_EQ(graphs.pltLoad.Line(1).Points[1].X, 70);
    ASSERT_EQ(graphs.pltAxial.Line(0).Points.size(), 3u);
    EXPECT_EQ(graphs.pltAxial.Line(0).Points[2].X, 80);
    EXPECT_EQ(graphs.pltAxial.Line(0).Points[2].Y, 0.03);
    for (TGraphPlot* graph : graphs.All())
        EXPECT_EQ(graph->Units(), UnitSystem::SI);
}

TEST(ReadPlotFile, ACurveWithoutPointsStaysAtTheOrigin)
{
    const std::string path = WriteFile("empty_curve.kv3p",
                                       "  2\n"
                                       "  1  0  0.0E+00\n"
                                       "  2  3  0.5E+01\n"
                                       "  1.0  0.1\n  2.0  0.2\n  3.0  0.3\n" +
                                           std::string(SmallTail));
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, path, UnitSystem::English));
    for (const TFloatPoint& point : graphs.pltTZcurves.Line(0).Points) {
        EXPECT_EQ(point.X, 0);
        EXPECT_EQ(point.Y, 0);
    }
    EXPECT_EQ(graphs.pltTZcurves.Line(0).Name, "0 in");
}

TEST(ReadPlotFile, EightLayersGiveThirtyCurvesOfTenPoints)
{
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, DataFile("e23_eight_layers.kv3p"), UnitSystem::English));
    EXPECT_TRUE(graphs.PlotsAvailable);
    const TGraphPlot& tz = graphs.pltTZcurves;
    ASSERT_EQ(tz.LineCount(), 30);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(tz.Line(i).Points.size(), 10u);
    EXPECT_EQ(tz.Line(1).Name, "15 in");
    EXPECT_EQ(tz.Line(29).Name, "360 in");
    EXPECT_EQ(graphs.PltQW.Line(0).Points.size(), 10u);
    EXPECT_EQ(graphs.pltLoad.LineCount(), 2);
    EXPECT_EQ(graphs.pltLoad.Line(1).Points.size(), 50u);
    EXPECT_EQ(graphs.pltAxial.Line(0).Points.size(), 3u);
    // The graphs that the file does not fill are sized all the same.
    for (const TGraphPlot* graph : {&graphs.pltUSkin, &graphs.pltSkin, &graphs.pltTip, &graphs.pltTotal})
        EXPECT_EQ(graph->LineCount(), 9);
    EXPECT_EQ(graphs.pltCombine.LineCount(), 3);
    EXPECT_EQ(graphs.PltExtraTZ.LineCount(), 0);
}

TEST(ReadPlotFile, EnglishFileShowsFeetAndKipsButSettlementInInches)
{
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, DataFile("e21_depth_1234_56.kv3p"), UnitSystem::English));
    const TFloatPoint& deepest = graphs.pltLoad.Line(0).Points[0];
    EXPECT_NEAR(deepest.Y, 1170.0L / 12, 1e-9);
    EXPECT_NEAR(deepest.X, 14.5L, 1e-9);
    // The Q-w curve in kips like the other graphs, its movement in inches.
    EXPECT_NEAR(graphs.PltQW.Line(0).Points[1].X, 3.599L, 1e-12);
    EXPECT_NEAR(graphs.PltQW.Line(0).Points[1].Y, 0.12L, 1e-12);
    // A positive first load starts the axial curve at the origin.
    const auto& axial = graphs.pltAxial.Line(0).Points;
    ASSERT_EQ(axial.size(), 2u);
    EXPECT_EQ(axial[0].X, 0);
    EXPECT_EQ(axial[0].Y, 0);
    EXPECT_NEAR(axial[1].X, 225, 1e-9);
    EXPECT_NEAR(axial[1].Y, 0.2425L, 1e-12);
    for (TGraphPlot* graph : graphs.All())
        EXPECT_EQ(graph->Units(), UnitSystem::English);
    EXPECT_EQ(graphs.pltLoad.XAxisText(), "Total Capacity  (kips)");
    EXPECT_EQ(graphs.pltLoad.YAxisText(), "Depth  (ft)");
    EXPECT_EQ(graphs.pltAxial.YAxisText(), "Settlement  (in)");
}

TEST(ReadPlotFile, AxialCurveStartsAtItsFirstPointWhenTheFirstLoadIsNotPositive)
{
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, DataFile("e24_all_upward.kv3p"), UnitSystem::English));
    const auto& axial = graphs.pltAxial.Line(0).Points;
    ASSERT_EQ(axial.size(), 4u);
    EXPECT_NEAR(axial[0].X, -18.75L, 1e-9);
    EXPECT_NEAR(axial[0].Y, -0.0142L, 1e-12);
    EXPECT_EQ(axial[0].X, axial[1].X);
    EXPECT_EQ(axial[0].Y, axial[1].Y);
}

TEST(ReadPlotFile, SIFileIgnoresThePileHeadLoadRows)
{
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, DataFile("e22_si_loads_settlement.kv3p"), UnitSystem::SI));
    EXPECT_EQ(graphs.pltTZcurves.Line(0).Name, "0 m");
    const auto& axial = graphs.pltAxial.Line(0).Points;
    ASSERT_EQ(axial.size(), 4u);
    EXPECT_NEAR(axial[3].X, 591.1L, 1e-9);
    EXPECT_NEAR(axial[0].X, -91.39L, 1e-9);
    EXPECT_NEAR(graphs.pltLoad.Line(0).Points[0].Y, 11.9L, 1e-9);
    EXPECT_EQ(graphs.pltAxial.Units(), UnitSystem::SI);
}

TEST(ReadPlotFile, TruncatedFileFailsAndLeavesNoPartOfItInTheGraphs)
{
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, DataFile("e24_all_upward.kv3p"), UnitSystem::English));
    std::string error;
    // The engine stopped while building the Q-w curve: only the t-z curves.
    EXPECT_FALSE(ReadPlotFile(graphs, DataFile("e27_status_5.kv3p"), UnitSystem::English, &error));
    EXPECT_FALSE(graphs.PlotsAvailable);
    EXPECT_EQ(error, "This file either invalid or incomplete.");
    // Neither the ten t-z curves read before the end nor the previous run's.
    for (TGraphPlot* graph : {&graphs.pltTZcurves, &graphs.PltQW, &graphs.pltLoad, &graphs.pltAxial})
        EXPECT_EQ(graph->LineCount(), 0) << graph->Caption;
    for (TGraphPlot* graph : graphs.All())
        EXPECT_EQ(graph->Units(), UnitSystem::English);
}

TEST(ReadPlotFile, WordThatIsNotANumberFails)
{
    const std::string path = WriteFile("bad_word.kv3p", "  1\n  1  2  0.0E+00\n  1.0  0.1\n  abc  0.2\n");
    TMainGraphs graphs;
    std::string error;
    EXPECT_FALSE(ReadPlotFile(graphs, path, UnitSystem::English, &error));
    EXPECT_THAT(error, testing::StartsWith("Error on Line 4 Item 1"));
    EXPECT_THAT(error, testing::EndsWith("A floating point number was expected but not found."));
    EXPECT_EQ(graphs.pltTZcurves.LineCount(), 0);
}

TEST(ReadPlotFile, MissingFileAndEmptyFileFail)
{
    TMainGraphs graphs;
    EXPECT_FALSE(ReadPlotFile(graphs, testing::TempDir() + "no_such_file.kv3p", UnitSystem::English));
    EXPECT_FALSE(ReadPlotFile(graphs, WriteFile("empty.kv3p", ""), UnitSystem::English));
    EXPECT_FALSE(graphs.PlotsAvailable);
}

TEST(ReadPlotFile, CountLargerThanTheFileCanHoldFailsWithoutAllocating)
{
    TMainGraphs graphs;
    std::string error;
    EXPECT_FALSE(ReadPlotFile(graphs, WriteFile("huge_curves.kv3p", "2000000000\n"), UnitSystem::English, &error));
    EXPECT_EQ(error, "This file either invalid or incomplete.");
    EXPECT_FALSE(ReadPlotFile(graphs, WriteFile("huge_points.kv3p", "1\n 1 2000000000 0.0\n"), UnitSystem::English));
    // Each count alone fits in the file, their product does not.
    EXPECT_FALSE(
        ReadPlotFile(graphs, WriteFile("huge_product.kv3p", "0\n0\n 200 200 1\n" + std::string(1500, ' ') + "\n"), UnitSystem::English));
}

TEST(ReadPlotFile, RunWithoutLoadCasesLeavesTheAxialCurveAtTheOrigin)
{
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, WriteFile("no_cases.kv3p", "0\n0\n 0 50 1\n"), UnitSystem::English));
    ASSERT_EQ(graphs.pltAxial.Line(0).Points.size(), 1u);
    EXPECT_EQ(graphs.pltAxial.Line(0).Points[0].X, 0);
    EXPECT_EQ(graphs.pltLoad.LineCount(), 0);
}
