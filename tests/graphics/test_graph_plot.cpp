#include "GraphPlot.h"
#include "NumberText.h"
#include "UnitStrings.h"

#include <gtest/gtest.h>

TEST(GraphPlot, NewCurvesTakeThePointCountOfTheFirstCurve)
{
    TGraphPlot graph;
    graph.SetLineCount(1);
    graph.SetPointCount(4);
    graph.SetLineCount(3);
    ASSERT_EQ(graph.LineCount(), 3);
    EXPECT_EQ(graph.Line(2).Points.size(), 4u);
    EXPECT_EQ(graph.Line(2).Number, 3);
    EXPECT_EQ(&graph.Line(2).Graph(), &graph);
    EXPECT_TRUE(graph.Line(2).Shown);
    EXPECT_TRUE(graph.Line(2).Active);

    graph.Point(0, 3) = {1.5L, 2.5L};
    graph.SetPointCount(6);
    EXPECT_EQ(graph.Point(0, 3).X, 1.5L);
    EXPECT_EQ(graph.Point(0, 5).X, 0);
    EXPECT_EQ(graph.Point(0, 5).Y, 0);

    graph.SetLineCount(1);
    EXPECT_EQ(graph.LineCount(), 1);
    graph.SetPointCount(-2);
    EXPECT_TRUE(graph.Line(0).Points.empty());
    graph.SetLineCount(-1);
    EXPECT_EQ(graph.LineCount(), 0);
}

TEST(GraphPlot, LegendTextIsTheNameOrTheNumberedDefault)
{
    TGraphPlot graph;
    graph.SetLineCount(12);
    EXPECT_EQ(graph.LegendText(0), "Curve #1");
    EXPECT_EQ(graph.LegendText(11), "Curve #12");
    graph.Line(1).Name = "Pile top";
    EXPECT_EQ(graph.LegendText(1), "Pile top");
}

TEST(GraphPlot, UnitCodesExpandPerSystem)
{
    EXPECT_EQ(ExpandPlotUnits("F/L^2", UnitSystem::English), "lbs/in^2");
    EXPECT_EQ(ExpandPlotUnits("F/L^2", UnitSystem::SI), "kN/m^2");
    EXPECT_EQ(ExpandPlotUnits("F/L^2", UnitSystem::Symbolic), "F/L^2");
    EXPECT_EQ(ExpandPlotUnits("F1/L2^2", UnitSystem::English), "kips/ft^2");
    EXPECT_EQ(ExpandPlotUnits("F1/L2^2", UnitSystem::SI), "kN/m^2");
    EXPECT_EQ(ExpandPlotUnits("F2", UnitSystem::English), "tons");
    EXPECT_EQ(ExpandPlotUnits("L1", UnitSystem::SI), "mm");
    EXPECT_EQ(ExpandPlotUnits("", UnitSystem::English), "");

    TGraphPlot graph;
    graph.XCaption = "Total Capacity ";
    graph.XUnits = "F1";
    graph.YCaption = "w";
    EXPECT_EQ(graph.XAxisText(), "Total Capacity  (kips)");
    EXPECT_EQ(graph.YAxisText(), "w");
    graph.SetUnits(UnitSystem::SI);
    EXPECT_EQ(graph.XAxisText(), "Total Capacity  (kN)");
}

TEST(GraphPlot, GeneralFormKeepsSignificantDigitsAndSwitchesToExponents)
{
    EXPECT_EQ(GeneralNumberText(0, 4, ".", 2), "0");
    EXPECT_EQ(GeneralNumberText(2.5L, 4, ".", 2), "2.5");
    EXPECT_EQ(GeneralNumberText(-0.25L, 4, ".", 2), "-0.25");
    EXPECT_EQ(GeneralNumberText(1234, 4, ".", 2), "1234");
    EXPECT_EQ(GeneralNumberText(0.123456L, 4, ".", 2), "0.1235");
    EXPECT_EQ(GeneralNumberText(123456, 4, ".", 2), "1.235E05");
    EXPECT_EQ(GeneralNumberText(9999.6L, 4, ".", 2), "1E04");
    EXPECT_EQ(GeneralNumberText(0.000002L, 4, ".", 2), "2E-06");
    EXPECT_EQ(GeneralNumberText(0.00001L, 4, ".", 2), "0.00001");
    EXPECT_EQ(GeneralNumberText(1234.56L, 15, ".", 0), "1234.56");
    EXPECT_EQ(GeneralNumberText(1e20L, 15, ".", 0), "1E20");
}
