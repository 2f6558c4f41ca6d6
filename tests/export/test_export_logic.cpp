// The export's steps as the spreadsheet sees them, recorded without writing
// a file.

#include "ExportPlots.h"
#include "MainGraphs.h"
#include "RecordingWorkbook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// `curves` curves of `points` points; point j of curve c is (c + j / 10, 100 c + j).
void Fill(TGraphPlot& graph, int curves, int points)
{
    graph.SetLineCount(curves);
    graph.SetPointCount(points);
    for (int c = 0; c < curves; ++c)
        for (int j = 0; j < points; ++j)
            graph.Point(c, j) = {c + j / 10.0L, 100.0L * c + j};
}

}  // namespace

TEST(SheetAddresses, ColumnLettersRunFromAThroughZZToTheLastColumn)
{
    EXPECT_EQ(GetExcelCol(1), "A");
    EXPECT_EQ(GetExcelCol(26), "Z");
    EXPECT_EQ(GetExcelCol(27), "AA");
    EXPECT_EQ(GetExcelCol(52), "AZ");
    EXPECT_EQ(GetExcelCol(53), "BA");
    EXPECT_EQ(GetExcelCol(702), "ZZ");
    EXPECT_EQ(GetExcelCol(703), "AAA");
    EXPECT_EQ(GetExcelCol(MaxColumns), "XFD");
    EXPECT_THROW(GetExcelCol(0), ESpreadsheetError);
    EXPECT_THROW(GetExcelCol(MaxColumns + 1), ESpreadsheetError);
}

TEST(SheetAddresses, SheetNamesAreQuotedWhenAFormulaCouldMisreadThem)
{
    EXPECT_EQ(SheetReference("Page_1"), "Page_1");
    EXPECT_EQ(SheetReference("Legend"), "Legend");
    EXPECT_EQ(SheetReference("Rate"), "Rate");
    EXPECT_EQ(SheetReference("Sheet 1"), "'Sheet 1'");
    EXPECT_EQ(SheetReference("A1"), "'A1'");
    EXPECT_EQ(SheetReference("xfd99"), "'xfd99'");
    EXPECT_EQ(SheetReference("R1C1"), "'R1C1'");
    EXPECT_EQ(SheetReference("RC"), "'RC'");
    EXPECT_EQ(SheetReference("1st"), "'1st'");
    EXPECT_EQ(SheetReference("Bob's"), "'Bob''s'");
}

TEST(SheetAddresses, RangesReadInEitherCornerOrderWithOrWithoutDollars)
{
    const TCellRange range = ParseRange("$D55:A$6");
    EXPECT_EQ(range.FirstRow, 6);
    EXPECT_EQ(range.FirstColumn, 1);
    EXPECT_EQ(range.LastRow, 55);
    EXPECT_EQ(range.LastColumn, 4);
    const TCellRange cell = ParseRange("F2");
    EXPECT_EQ(cell.FirstRow, 2);
    EXPECT_EQ(cell.LastColumn, 6);
    for (const char* bad : {"", "B", "2", "B0", "B2:", "B2:F", "XFE1", "A1048577", "B2 ", "B2:F2:G2"})
        EXPECT_THROW(ParseRange(bad), ESpreadsheetError) << bad;
}

TEST(ExportGraphs, OnlyTheTZCurvesGiveLegendPage1AndPlot1WithACompleteLegendRow)
{
    TMainGraphs graphs;
    Fill(graphs.pltTZcurves, 2, 3);
    TRecordingWorkbook book;
    ExportGraphs(book, {&graphs.pltTZcurves});

    EXPECT_THAT(book.SheetNames(), ElementsAre("Legend", "Page_1", "Plot_1"));
    EXPECT_EQ(book.ActiveName(), "Legend");
    TRecordedWorksheet& legend = book.WorksheetNamed("Legend");
    EXPECT_EQ(legend.Cell("B3"), "1");
    EXPECT_EQ(legend.Cell("C3"), "t-z Curves");
    EXPECT_EQ(legend.Cell("D3"), "Page_1");
    EXPECT_EQ(legend.Cell("E3"), "Plot_1");
    EXPECT_EQ(legend.Cell("F3"), "Complete");
    EXPECT_EQ(legend.Cell("B4"), "");
    ASSERT_EQ(legend.Links.size(), 1u);
    EXPECT_EQ(legend.Links[0].Anchor, "D3");
    EXPECT_EQ(legend.Links[0].SubAddress, "Page_1!A1");
    EXPECT_EQ(legend.Links[0].TextToDisplay, "");
    // The status column passes through every stage in order.
    EXPECT_THAT(book.Calls("SetCell(F3"),
                ElementsAre("Legend.SetCell(F3, In Progress, Data)", "Legend.SetCell(F3, In Progress, Chart)",
                            "Legend.SetCell(F3, Complete)"));
}

TEST(ExportGraphs, TheLegendHeadersKeepTheirSpacesAndAreBoldCentredAndFitted)
{
    TMainGraphs graphs;
    TRecordingWorkbook book;
    ExportGraphs(book, {});
    TRecordedWorksheet& legend = book.WorksheetNamed("Legend");
    EXPECT_EQ(legend.Cell("B2"), "     N    ");
    EXPECT_EQ(legend.Cell("C2"), "                             Plot Name                             ");
    EXPECT_EQ(legend.Cell("D2"), "  Sheet Name  ");
    EXPECT_EQ(legend.Cell("E2"), "  Chart Name  ");
    EXPECT_EQ(legend.Cell("F2"), "          Status          ");
    EXPECT_THAT(book.Calls("B2:F2"),
                ElementsAre("Legend.SetBold(B2:F2)", "Legend.SetVerticalCentre(B2:F2)", "Legend.FitColumns(B2:F2)"));
    EXPECT_THAT(book.SheetNames(), ElementsAre("Legend"));
}

TEST(ExportGraphs, ThreeCurvesOfFiftyPointsChartFromA6ToD55WithOneSeriesPerCurve)
{
    TMainGraphs graphs;
    TGraphPlot& graph = graphs.pltTZcurves;
    Fill(graph, 3, 50);
    graph.Line(0).Name = "0.5 in";
    // Curves left out of the plot window are exported all the same.
    graph.Line(1).Active = false;
    graph.Line(2).Shown = false;
    TRecordingWorkbook book;
    ExportGraphs(book, {&graph});

    TRecordedChart& chart = book.ChartNamed("Plot_1");
    EXPECT_EQ(chart.Type, 74);
    EXPECT_EQ(chart.SourceSheet, "Page_1");
    EXPECT_EQ(chart.SourceRange, "A6:D55");
    ASSERT_EQ(chart.SeriesCount(), 3);
    EXPECT_EQ(chart.AllSeries[0]->Name, "0.5 in");
    EXPECT_EQ(chart.AllSeries[0]->XValues, "=Page_1!$A$6:$A55");
    EXPECT_EQ(chart.AllSeries[0]->Values, "=Page_1!$B$6:$B55");
    EXPECT_EQ(chart.AllSeries[1]->Name, "Curve #2");
    EXPECT_EQ(chart.AllSeries[1]->XValues, "=Page_1!$C$6:$C55");
    EXPECT_EQ(chart.AllSeries[1]->Values, "=Page_1!$D$6:$D55");
    EXPECT_EQ(chart.AllSeries[2]->Values, "=Page_1!$F$6:$F55");
    // Titled with the graph's caption.
    EXPECT_TRUE(chart.HasTitle);
    EXPECT_EQ(chart.Title, "t-z Curves");
    EXPECT_EQ(chart.XAxis.Title, "Displacement, z (in)");
    EXPECT_EQ(chart.YAxis.Title, "Unit Load Transfer, t (lbs/in^2)");
    EXPECT_TRUE(chart.XAxis.Gridlines);
    EXPECT_TRUE(chart.YAxis.Gridlines);
    EXPECT_EQ(chart.LegendBorder, 0);
    EXPECT_EQ(chart.LegendInterior, 2);
}

TEST(ExportGraphs, TheDataSheetHoldsCaptionAxisTitlesAndTwoColumnsPerCurve)
{
    TMainGraphs graphs;
    TGraphPlot& graph = graphs.pltLoad;
    graph.SetUnits(UnitSystem::SI);
    Fill(graph, 3, 50);
    graph.Point(1, 0) = {1234.5678901234567L, -0.000001L};
    TRecordingWorkbook book;
    ExportGraphs(book, {&graph});

    TRecordedWorksheet& data = book.WorksheetNamed("Page_1");
    EXPECT_EQ(data.Cell("A1"), "Load Distribution");
    EXPECT_EQ(data.Cell("A2"), "X");
    EXPECT_EQ(data.Cell("B2"), "Total Capacity  (kN)");
    EXPECT_EQ(data.Cell("A3"), "Y");
    EXPECT_EQ(data.Cell("B3"), "Depth  (m)");
    EXPECT_EQ(data.Cell("A4"), "Curve #1");
    EXPECT_EQ(data.Cell("C4"), "Curve #2");
    EXPECT_EQ(data.Cell("E4"), "Curve #3");
    EXPECT_EQ(data.Cell("B4"), "");
    EXPECT_EQ(data.Cell("A5"), "X");
    EXPECT_EQ(data.Cell("F5"), "Y");
    // Points from row 6, in general form with up to 15 significant digits.
    EXPECT_EQ(data.Cell("A6"), "0");
    EXPECT_EQ(data.Cell("A7"), "0.1");
    EXPECT_EQ(data.Cell("B55"), "49");
    EXPECT_EQ(data.Cell("C6"), "1234.56789012346");
    EXPECT_EQ(data.Cell("D6"), "-1E-6");
    EXPECT_EQ(data.Cell("F55"), "249");
    EXPECT_EQ(data.Cell("A56"), "");
    ASSERT_EQ(data.Links.size(), 1u);
    EXPECT_EQ(data.Links[0].Anchor, "G1");
    EXPECT_EQ(data.Links[0].SubAddress, "Legend!A1");
    EXPECT_EQ(data.Links[0].TextToDisplay, "Go to Legend Page");
}

TEST(ExportGraphs, OnlyDepthLikeChartsHaveTheirVerticalAxisReversed)
{
    TMainGraphs graphs;
    for (TGraphPlot* graph : {&graphs.pltLoad, &graphs.pltAxial, &graphs.pltTZcurves, &graphs.PltQW})
        Fill(*graph, 2, 4);
    TRecordingWorkbook book;
    ExportGraphs(book, {&graphs.pltLoad, &graphs.pltAxial, &graphs.pltTZcurves, &graphs.PltQW});

    EXPECT_THAT(book.SheetNames(),
                ElementsAre("Legend", "Page_1", "Plot_1", "Page_2", "Plot_2", "Page_3", "Plot_3", "Page_4", "Plot_4"));
    EXPECT_TRUE(book.ChartNamed("Plot_1").YAxis.Reversed);   // load distribution
    EXPECT_TRUE(book.ChartNamed("Plot_2").YAxis.Reversed);   // settlement
    EXPECT_FALSE(book.ChartNamed("Plot_3").YAxis.Reversed);  // t-z curves
    EXPECT_TRUE(book.ChartNamed("Plot_4").YAxis.Reversed);   // Q-w
    for (const char* chart : {"Plot_1", "Plot_2", "Plot_3", "Plot_4"})
        EXPECT_FALSE(book.ChartNamed(chart).XAxis.Reversed) << chart;
    TRecordedWorksheet& legend = book.WorksheetNamed("Legend");
    for (int k = 1; k <= 4; ++k) {
        const std::string row = std::to_string(k + 2);
        EXPECT_EQ(legend.Cell("B" + row), std::to_string(k));
        EXPECT_EQ(legend.Cell("D" + row), "Page_" + std::to_string(k));
        EXPECT_EQ(legend.Cell("F" + row), "Complete");
    }
    EXPECT_EQ(legend.Cell("C4"), "Axial Load vs Settlement");
    EXPECT_EQ(book.ChartNamed("Plot_4").AllSeries[0]->Values, "=Page_4!$B$6:$B9");
}

TEST(ExportGraphs, AxisTitlesExpandEveryUnitCodeInEachUnitSystem)
{
    struct Case {
        const char* Code;
        const char* English;
        const char* SI;
    };
    const Case cases[] = {
        {"F", "lbs", "kN"},
        {"F1", "kips", "kN"},
        {"F2", "tons", "kN"},
        {"L", "in", "m"},
        {"L1", "in", "mm"},
        {"L2", "ft", "m"},
        {"F/L^2", "lbs/in^2", "kN/m^2"},
        {"F1/L2^2", "kips/ft^2", "kN/m^2"},
    };
    for (const Case& c : cases)
        for (const UnitSystem units : {UnitSystem::English, UnitSystem::SI, UnitSystem::Symbolic}) {
            TGraphPlot graph;
            graph.XCaption = "Q";
            graph.XUnits = c.Code;
            graph.YCaption = "w";
            graph.SetUnits(units);
            TRecordingWorkbook book;
            ExportGraphs(book, {&graph});
            const std::string unit = units == UnitSystem::English ? c.English : units == UnitSystem::SI ? c.SI : c.Code;
            EXPECT_EQ(book.WorksheetNamed("Page_1").Cell("B2"), "Q (" + unit + ")") << c.Code << " " << UnitSystemCode(units);
            // Without a unit code the title is the caption alone.
            EXPECT_EQ(book.WorksheetNamed("Page_1").Cell("B3"), "w");
        }
}

TEST(ExportGraphs, AGraphWithNothingToPlotGetsItsDataSheetButNoChart)
{
    TMainGraphs graphs;
    graphs.pltTZcurves.SetLineCount(0);
    graphs.PltQW.SetLineCount(1);  // one curve without points
    Fill(graphs.pltAxial, 1, 3);
    TRecordingWorkbook book;
    ExportGraphs(book, {&graphs.pltTZcurves, &graphs.PltQW, &graphs.pltAxial});

    EXPECT_THAT(book.SheetNames(), ElementsAre("Legend", "Page_1", "Page_2", "Page_3", "Plot_3"));
    TRecordedWorksheet& legend = book.WorksheetNamed("Legend");
    EXPECT_EQ(legend.Cell("D3"), "Page_1");
    EXPECT_EQ(legend.Cell("E3"), "");
    EXPECT_EQ(legend.Cell("F3"), StatusNoCurves);
    EXPECT_EQ(legend.Cell("E4"), "");
    EXPECT_EQ(legend.Cell("F4"), StatusNoPoints);
    EXPECT_EQ(legend.Cell("E5"), "Plot_3");
    EXPECT_EQ(legend.Cell("F5"), "Complete");
    EXPECT_EQ(book.WorksheetNamed("Page_2").Cell("A4"), "Curve #1");
    EXPECT_EQ(book.WorksheetNamed("Page_2").Cell("A6"), "");
    EXPECT_EQ(book.ChartNamed("Plot_3").SourceRange, "A6:B8");
}

TEST(ExportGraphs, AFailurePartWayKeepsWhatWasWrittenAndTheStageReached)
{
    TMainGraphs graphs;
    Fill(graphs.pltLoad, 2, 3);
    Fill(graphs.pltAxial, 1, 3);

    TRecordingWorkbook chartFails;
    chartFails.FailOn = "AddChartSheet(Page_2)";
    EXPECT_THROW(ExportGraphs(chartFails, {&graphs.pltLoad, &graphs.pltAxial}), ESpreadsheetError);
    TRecordedWorksheet& legend = chartFails.WorksheetNamed("Legend");
    EXPECT_EQ(legend.Cell("F3"), "Complete");
    EXPECT_EQ(legend.Cell("F4"), "In Progress, Chart");
    EXPECT_EQ(chartFails.WorksheetNamed("Page_2").Cell("B8"), "2");
    EXPECT_THAT(chartFails.SheetNames(), ElementsAre("Legend", "Page_1", "Plot_1", "Page_2"));

    TRecordingWorkbook dataFails;
    dataFails.FailOn = "Page_1.SetCell(B7";
    EXPECT_THROW(ExportGraphs(dataFails, {&graphs.pltLoad, &graphs.pltAxial}), ESpreadsheetError);
    EXPECT_EQ(dataFails.WorksheetNamed("Legend").Cell("F3"), "In Progress, Data");
    EXPECT_EQ(dataFails.WorksheetNamed("Page_1").Cell("A7"), "0.1");
    EXPECT_THAT(dataFails.Calls("Page_2"), IsEmpty());
}
