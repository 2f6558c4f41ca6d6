// End-to-end runs of the engine library on small projects whose results can
// be worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>

#include "EngineHarness.h"

namespace {

using engine_test::EngineRun;
using engine_test::Numbers;
namespace fs = std::filesystem;

// A user-curve project: two t-z curves at 0 and 100 whose load transfer is
// t from a movement of 1E-6 on, a Q-w curve through (0, 0) and (1000, 1),
// constant AE of 1E6, pile 100 long. `tail` holds the pile-head loads, the
// settlement profile and the two factor switches.
std::string UserCurveProject(const std::string& tipMovements, float t = 0.0f,
                             const std::string& tail = " 0\n 0\n 0\n 0\n")
{
    std::string tz = std::to_string(t);
    return "user curves\n10 0 1\n1 \n2\n"
           "1 0 3\n0 0\n" +
           tz + " 0.000001\n" + tz +
           " 10\n"
           "2 100 3\n0 0\n" +
           tz + " 0.000001\n" + tz +
           " 10\n"
           "2\n1E6 0\n1E6 100\n"
           "2\n0 0\n1000 1\n"
           "0.000001 100 12 113.1\n" +
           tipMovements + tail;
}

// A generated-curve project of one layer from 0 to `bottom`.
std::string ClayProject(const std::string& bottom, const std::string& units = "1", const std::string& pile = "480")
{
    return "clay\n50 1 " + units + "\n2 \n1\n1 1 0.0 " + bottom +
           "\n0.07 10 0.0  0.01 5 0\n0.07 10 0.0  0.01 5 0\n2\n1E9 0\n1E9 " + bottom + "\n0.00001 " + pile +
           " 12 113.1\n 0\n 0\n 0\n 0\n 0\n";
}

// Rows of the load-settlement table in the plot file: the last `count` lines.
std::vector<std::vector<double>> LastRows(const std::vector<std::string>& lines, std::size_t count)
{
    std::vector<std::vector<double>> rows;
    for (std::size_t k = lines.size() - count; k < lines.size(); ++k)
        rows.push_back(Numbers(lines[k]));
    return rows;
}

TEST(EngineEntry, OnlyTheKeyThreeRunsAndOtherKeysTouchNoFile)
{
    for (int32_t key : {2, 4, 0, -3}) {
        EngineRun run;
        EXPECT_EQ(run.Run(UserCurveProject("1\n0.5\n"), key), 1);
        EXPECT_FALSE(fs::exists(run.Report()));
        EXPECT_FALSE(fs::exists(run.Plot()));
        EXPECT_FALSE(fs::exists(run.Notes()));
    }
}

TEST(EngineRuns, WithoutSideFrictionEveryNodeCarriesTheTipLoad)
{
    EngineRun run;
    ASSERT_EQ(run.Run(UserCurveProject("1\n0.5\n")), 0);
    auto plot = run.PlotLines();
    // 1 + 2*(1+3) curve lines, 1 + 2 Q-w lines, the counts line, 10 increments, 1 result row.
    ASSERT_EQ(plot.size(), 9u + 3u + 1u + 10u + 1u);
    EXPECT_EQ(Numbers(plot[12]), (std::vector<double>{1, 10, 1}));
    for (std::size_t k = 13; k < 23; ++k)
        EXPECT_DOUBLE_EQ(Numbers(plot[k])[1], 500.0) << plot[k];
    auto row = Numbers(plot.back());
    EXPECT_DOUBLE_EQ(row[0], 500.0);                       // top load = tip load
    EXPECT_NEAR(row[1], 0.5 + 100.0 * 500.0 / 1e6, 1e-6);  // w0 + PL*Q0/AE
    EXPECT_DOUBLE_EQ(row[2], 0.5);
    EXPECT_DOUBLE_EQ(row[3], 500.0);
}

TEST(EngineRuns, ACaseWithSideFrictionBalancesTheLoadShedToTheSoil)
{
    // Constant t = 1 over the whole pile: the top load is the tip load plus
    // t times the shaft area.
    EngineRun run;
    ASSERT_EQ(run.Run(UserCurveProject("1\n0.5\n", 1.0f)), 0);
    auto row = Numbers(run.PlotLines().back());
    EXPECT_NEAR(row[0], 500.0 + 3.1416 * 12 * 100, 0.5);
}

TEST(EngineRuns, FiveCurvesArePlacedInEveryLayer)
{
    EngineRun run;
    ASSERT_EQ(run.Run(ClayProject("4.8", "1", "4.8")), 0);
    auto plot = run.PlotLines();
    std::vector<std::string> depths;
    for (std::size_t c = 0; c < 5; ++c)
        depths.push_back(plot[1 + 11 * c].substr(24));
    EXPECT_EQ(depths, (std::vector<std::string>{"0.0000E+00", "0.1200E+01", "0.2400E+01", "0.3595E+01", "0.4790E+01"}));

    EngineRun deep;
    ASSERT_EQ(deep.Run(ClayProject("480")), 0);
    auto lines = deep.PlotLines();
    EXPECT_EQ(lines[0], "           5");
    std::vector<double> values;
    for (std::size_t c = 0; c < 5; ++c)
        values.push_back(Numbers(lines[1 + 11 * c])[2]);
    EXPECT_EQ(values, (std::vector<double>{0, 120, 240, 360.0, 480.0}));  // 359.995 and 479.99 at 4 digits
}

TEST(EngineRuns, NineDefaultTipMovementsInBothUnitSystems)
{
    EngineRun english;
    ASSERT_EQ(english.Run(ClayProject("480")), 0);
    std::vector<double> tips;
    for (const auto& row : LastRows(english.PlotLines(), 9))
        tips.push_back(row[2]);
    EXPECT_EQ(tips, (std::vector<double>{0.0001, 0.001, 0.01, 0.03, 0.07, 0.1, 0.2, 0.5, 5.0}));

    EngineRun si;
    ASSERT_EQ(si.Run(ClayProject("12", "2", "12")), 0);
    auto rows = LastRows(si.PlotLines(), 9);
    EXPECT_EQ(si.PlotLines().back().substr(33, 16), "      0.1270E+00");
    EXPECT_DOUBLE_EQ(rows[0][2], 2.54e-6);
    EXPECT_DOUBLE_EQ(rows[8][2], 0.127);
}

TEST(EngineRuns, ListsReadTheSameOnOneLineOrSpreadOverLines)
{
    EngineRun spread, joined;
    std::string project = UserCurveProject("2\n0.1\n0.5\n", 1.0f);
    ASSERT_EQ(spread.Run(project), 0);
    auto replace = [&](const std::string& from, const std::string& to) {
        project.replace(project.find(from), from.size(), to);
    };
    replace("2\n1E6 0\n1E6 100\n", "2\n1E6, 0 1E6 100\n");
    replace("2\n0.1\n0.5\n", "2\n0.1 0.5 extra words\n");
    ASSERT_EQ(joined.Run(project), 0);
    EXPECT_EQ(spread.PlotLines(), joined.PlotLines());
}

TEST(EngineRuns, TheFourthFileIsCreatedEmptyAndAnExistingOneKept)
{
    EngineRun run;
    ASSERT_EQ(run.Run(UserCurveProject("1\n0.5\n")), 0);
    ASSERT_TRUE(fs::exists(run.Notes()));
    EXPECT_EQ(fs::file_size(run.Notes()), 0u);

    std::ofstream(run.Notes()) << "engineer's notes\n";
    ASSERT_EQ(run.Run(UserCurveProject("1\n0.5\n")), 0);
    EXPECT_EQ(engine_test::ReadFile(run.Notes()), "engineer's notes\n");
}

TEST(EngineRuns, LayersOutOfDepthOrderStopWithTheSideFrictionWarning)
{
    EngineRun run;
    std::string project =
        "out of order\n50 0 1\n2 \n2\n1 1 0.0 400\n2 1 400 300\n"
        "0.07 10 0.0  0.01 5 0\n0.07 10 0.0  0.01 5 0\n0.07 10 0.0  0.01 5 0\n0.07 10 0.0  0.01 5 0\n"
        "2\n1E9 0\n1E9 350\n0.00001 350 12 113.1\n 0\n 0\n 0\n 0\n 0\n";
    EXPECT_EQ(run.Run(project), 6);
    auto report = run.ReportLines();
    ASSERT_GE(report.size(), 4u);
    EXPECT_EQ(report[report.size() - 4], "           4   300.000000    ");
    EXPECT_EQ(report[report.size() - 3], "");
    EXPECT_EQ(report[report.size() - 2], "                             **** WARNING ****");
    EXPECT_EQ(report.back(), "     THE VALUE OF X = 0.40E+03IS BEYOND THE EXTENT OF/     THE INPUT STRENGTH CURVE");
    EXPECT_EQ(fs::file_size(run.Plot()), 0u);
}

TEST(EngineRuns, OnlyRowsWithUpwardTipMovementsAreNegated)
{
    EngineRun run;
    ASSERT_EQ(run.Run(UserCurveProject("3\n0.1\n-0.05\n0.2\n", 1.0f)), 0);
    auto plot = run.PlotLines();
    auto rows = LastRows(plot, 3);
    EXPECT_GT(rows[0][0], 0);
    EXPECT_GT(rows[2][0], 0);
    EXPECT_LT(rows[1][0], 0);                                         // top load
    EXPECT_LT(rows[1][1], 0);                                         // top movement
    EXPECT_DOUBLE_EQ(rows[1][2], -0.05);                              // tip movement as input
    EXPECT_EQ(plot[plot.size() - 2].substr(49), "      0.0000E+00");  // tip load used: zero, unsigned
    EXPECT_DOUBLE_EQ(rows[0][3], 100.0);
    // Increments are plotted with the magnitudes used: never negative.
    for (std::size_t k = 13; k < 13 + 30; ++k)
        for (double v : Numbers(plot[k]))
            EXPECT_GE(v, 0.0) << plot[k];

    // The report's case header shows the magnitude and the zero tip load;
    // its increment rows carry the negated values.
    auto report = run.ReportLines();
    auto header = std::find(report.begin(), report.end(), "             0.5000E-01             0.0000E+00");
    ASSERT_NE(header, report.end());
    const std::string& firstNode = *(header + 7);
    EXPECT_EQ(firstNode.substr(0, 7), "  100.0");
    EXPECT_NE(firstNode.find("-0.500E-01"), std::string::npos) << firstNode;
}

TEST(EngineRuns, PrintOptionOneLeavesOutTheIncrementTables)
{
    EngineRun full, brief;
    ASSERT_EQ(full.Run(UserCurveProject("1\n0.5\n")), 0);
    std::string project = UserCurveProject("1\n0.5\n");
    project.replace(project.find("10 0 1"), 6, "10 1 1");
    ASSERT_EQ(brief.Run(project), 0);
    auto count = [](const std::vector<std::string>& lines, const std::string& text) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return l.find(text) != std::string::npos; });
    };
    EXPECT_EQ(count(full.ReportLines(), "ASSUMED TIP MOVEMENT"), 1);
    EXPECT_EQ(count(brief.ReportLines(), "ASSUMED TIP MOVEMENT"), 0);
    EXPECT_EQ(count(brief.ReportLines(), "TOP  LOAD     TOP MOVEMENT"), 1);
    EXPECT_EQ(full.PlotLines(), brief.PlotLines());
}

TEST(EngineRuns, TipCurveFactorsActOnTheSolveButNotOnTheEcho)
{
    EngineRun run;
    ASSERT_EQ(run.Run(UserCurveProject("1\n0.5\n", 0.0f, " 0\n 0\n 0\n 1\n2 1\n")), 0);
    auto plot = run.PlotLines();
    EXPECT_EQ(Numbers(plot[11]), (std::vector<double>{1000, 1}));  // Q-w curve as input
    EXPECT_DOUBLE_EQ(Numbers(plot.back())[3], 1000.0);             // doubled tip load
    auto report = run.ReportLines();
    EXPECT_NE(
        std::find(report.begin(), report.end(), "                                      2.00                   1.00"),
        report.end());
}

TEST(EngineRuns, TzFactorsAtASharedDepthTakeTheSecondRow)
{
    // Factor rows at 0 (x1), 100 (x2) and again 100 (x3): the curve at 100
    // takes x3; the curve at 0 takes x1.
    EngineRun run;
    std::string factors = " 0\n 0\n 1\n3\n0 1 1\n100 2 1\n100 3 1\n 0\n";
    ASSERT_EQ(run.Run(UserCurveProject("1\n0.5\n", 1.0f, factors)), 0);
    // Load transfer is 1 at the top and 3 at the tip, linear between.
    auto row = Numbers(run.PlotLines().back());
    EXPECT_NEAR(row[0], 500.0 + 3.1416 * 12 * 100 * 2.0, 2.0);
}

TEST(EngineRuns, PileHeadLoadsBecomeLoadCases)
{
    EngineRun run;
    ASSERT_EQ(run.Run(UserCurveProject("3\n0.1\n0.5\n1\n", 1.0f, "2\n4000\n1E9\n 0\n 0\n 0\n")), 0);
    auto plot = run.PlotLines();
    auto cases = LastRows(plot, 2);
    EXPECT_DOUBLE_EQ(cases[0][0], 4000.0);
    EXPECT_GT(cases[0][2], 0.1);  // between the first two rows' tip movements
    EXPECT_LT(cases[0][2], 0.5);
    // A load above every computed top load: tip movement and tip load 0.
    EXPECT_EQ(cases[1], (std::vector<double>{1e9, cases[1][1], 0, 0}));
    auto report = run.ReportLines();
    EXPECT_NE(std::find(report.begin(), report.end(), "1"), report.end());
    EXPECT_NE(std::find(report.begin(), report.end(), "      4000.000"), report.end());
}

TEST(EngineRuns, DowndragMakesTheLoadGrowDownwardsWhereTheSoilSettlesMore)
{
    EngineRun run;
    // The soil settles 1 at the head, nothing from half the pile down; the
    // pile moves about 0.3.
    std::string profile = " 0\n3\n0 1\n50 0\n100 0\n 0\n 0\n";
    ASSERT_EQ(run.Run(UserCurveProject("1\n0.3\n", 1.0f, profile)), 0);
    auto plot = run.PlotLines();
    // Increment loads from the tip upward: rising near the tip, falling near the top.
    ASSERT_EQ(plot.size(), 24u);
    double nearTip = Numbers(plot[13])[1], middle = Numbers(plot[18])[1], nearTop = Numbers(plot[22])[1];
    EXPECT_GT(middle, nearTip);
    EXPECT_LT(nearTop, middle);
}

TEST(EngineRuns, ACurveWhoseMovementsTurnBackIsReadFromItsFirstPoint)
{
    // Both curves rise from (0, 0) to (5, 5), then go back to smaller
    // movements with a load transfer of 100. Read from the first point on, a
    // movement below 5 lies between the first two points: t is the movement.
    const std::string points = " 5\n0 0\n5 5\n100 0.1\n100 0.2\n100 0.3\n";
    const std::string project = "turning curves\n10 0 1\n1 \n2\n1 0" + points + "2 100" + points +
                                "2\n1E6 0\n1E6 100\n2\n0 0\n1000 1\n0.000001 100 12 113.1\n1\n0.25\n 0\n 0\n 0\n 0\n";
    EngineRun run;
    ASSERT_EQ(run.Run(project), 0);
    auto row = Numbers(run.PlotLines().back());
    // Tip load 250; the pile moves from 0.25 to below 0.3 over a shaft area of 3769.92.
    const double shaft = 3.1416 * 12 * 100;
    EXPECT_GT(row[0], 250 + 0.25 * shaft);
    EXPECT_LT(row[0], 250 + 0.3 * shaft);
}

TEST(EngineRuns, EveryCallStartsFromClearedStorage)
{
    EngineRun first, second, again;
    std::string small = UserCurveProject("2\n0.1\n0.2\n", 1.0f);
    ASSERT_EQ(first.Run(small), 0);
    std::string big =
        "loads\n50 0 1\n2 \n2\n1 2 0 200\n2 5 200 480\n"
        "0.07 0.0 30 20 2 0\n0.07 0.0 32 20 2 0\n0.07 10 0.0 0.01 5 0\n0.07 12 0.0 0.01 6 50\n"
        "2\n1E9 0\n1E9 480\n0.00001 480 12 113.1\n 0\n2\n5000\n20000\n3\n0 1\n240 0.5\n480 0\n 0\n 0\n";
    ASSERT_EQ(second.Run(big), 0);
    ASSERT_EQ(again.Run(small), 0);
    EXPECT_EQ(first.PlotLines(), again.PlotLines());
    auto withoutDate = [](std::vector<std::string> lines) {
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const std::string& l) {
                                       return l.find("Date:  ") != std::string::npos ||
                                              l.find("Path to file") != std::string::npos;
                                   }),
                    lines.end());
        return lines;
    };
    EXPECT_EQ(withoutDate(first.ReportLines()), withoutDate(again.ReportLines()));
}

TEST(EngineRuns, TheReportHeaderSplitsTheInputPath)
{
    EngineRun run;
    ASSERT_EQ(run.Run(UserCurveProject("1\n0.5\n")), 0);
    auto report = run.ReportLines();
    ASSERT_GT(report.size(), 20u);
    EXPECT_EQ(report[2], "                      KORVEN for Windows, Version 2014.3.3    ");
    EXPECT_EQ(report[10], "     Path to file locations      : " + run.Folder().string() + "/");
    EXPECT_EQ(report[11], "     Name of input data file     : project.kv3d");
    EXPECT_EQ(report[12], "     Name of output file         : project.kv3o");
    EXPECT_EQ(report[13], "     Name of plot output file    : project.kv3p");
    EXPECT_TRUE(std::regex_match(report[19], std::regex("               Date:  [A-Z][a-z]+ [0-9]{2}, [0-9]{4}"
                                                        "     Time:  [0-9]{2}:[0-9]{2}:[0-9]{2}")))
        << report[19];
}

}  // namespace
