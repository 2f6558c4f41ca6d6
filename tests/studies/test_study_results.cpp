// A study's results as graphs and workbook cells: values that cannot be
// analysed or read leave no points behind, and CSV text survives its quotes.
#include "StudyGraphs.h"
#include "StudyOutput.h"
#include "StudyWorkbook.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

korven::Problem Example()
{
    std::ifstream file(KORVEN_EXAMPLE_PROJECT);
    std::ostringstream text;
    text << file.rdbuf();
    return StudyProblem(text.str());
}

}  // namespace

TEST(StudyGraphs, RefusedValuesAndUnreachedReadoutsLeaveNoPoints)
{
    TParametricStudy study;
    study.Input.Mode = TValueMode::Factor;
    study.Sweep = {false, 0, 0, 2, {0.9, 0, 1.1}};  // a length of 0 is refused
    const TParametricResult result = RunParametric(study, Example(), {});
    ASSERT_FALSE(result.Runs[1].Analysed());

    TStudyGraphs graphs;
    FillParametricGraphs(graphs, study, result, UnitSystem::English);
    ASSERT_EQ(graphs.Curves.LineCount(), 2);
    EXPECT_EQ(graphs.Curves.Line(1).Name, "Pile length, factor = 1.1");
    EXPECT_EQ(graphs.Curves.Line(0).Points.front().X, 0);
    ASSERT_EQ(graphs.Loads.LineCount(), 2);
    for (const TFloatPoint& point : graphs.Loads.Line(0).Points)
        EXPECT_NE(point.X, 0);
    // Filled again, the graphs hold the new results only.
    FillParametricGraphs(graphs, study, result, UnitSystem::English);
    EXPECT_EQ(graphs.Curves.LineCount(), 2);
}

TEST(StudyWorkbook, CsvCellsKeepQuotedSeparatorsAndQuotes)
{
    EXPECT_EQ(CsvCells(R"x(1.5,"Side friction, layer 2 top (kPa)",,"say ""no""")x"),
              (std::vector<std::string>{"1.5", "Side friction, layer 2 top (kPa)", "", R"(say "no")"}));
}
