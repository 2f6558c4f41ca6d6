#include "GraphPlot.h"
#include "PlotGeometry.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TAxisRange Rounded(long double min, long double max) { return RoundAxisRange({min, max}); }

}  // namespace

TEST(AxisRange, PositiveDataStartAtZeroAndRoundOutward)
{
    TGraphPlot graph;
    graph.SetLineCount(2);
    graph.SetPointCount(2);
    graph.Point(0, 0) = {1, 2};
    graph.Point(0, 1) = {3, 4.2L};
    graph.Point(1, 0) = {2.5L, 3};
    graph.Point(1, 1) = {0.5L, 1};
    graph.Line(1).Active = false;  // inactive curves count as well
    const TDataRange range = GraphDataRange(graph);
    EXPECT_EQ(range.X.Min, 0);
    EXPECT_EQ(range.X.Max, 3);
    EXPECT_EQ(range.Y.Min, 0);
    EXPECT_EQ(range.Y.Max, 5);
}

TEST(AxisRange, AllZeroDataGiveASmallRangeAroundZero)
{
    TGraphPlot graph;
    graph.SetLineCount(1);
    graph.SetPointCount(3);
    const TDataRange range = GraphDataRange(graph);
    EXPECT_NEAR(range.X.Min, -0.01L, 1e-12);
    EXPECT_NEAR(range.X.Max, 0.01L, 1e-12);
    EXPECT_NEAR(range.Y.Min, -0.01L, 1e-12);
    EXPECT_NEAR(range.Y.Max, 0.01L, 1e-12);
}

TEST(AxisRange, RoundingUnitFollowsTheSpan)
{
    // Under three times the power of ten: rounded to a tenth of it.
    EXPECT_NEAR(Rounded(0, 2.5L).Max, 2.5L, 1e-15);
    EXPECT_NEAR(Rounded(0, 2.53L).Max, 2.6L, 1e-15);
    EXPECT_EQ(Rounded(0, 4.2L).Max, 5);
    EXPECT_EQ(Rounded(0, 3).Max, 3);
    EXPECT_EQ(Rounded(0, 1234).Max, 1300);
    EXPECT_EQ(Rounded(0, 4321).Max, 5000);
    // Negative ends go down, away from zero.
    const TAxisRange negative = Rounded(-37, 0);
    EXPECT_EQ(negative.Min, -40);
    EXPECT_EQ(negative.Max, 0);
    const TAxisRange both = Rounded(-0.123L, 0.456L);
    EXPECT_NEAR(both.Min, -0.2L, 1e-15);
    EXPECT_NEAR(both.Max, 0.5L, 1e-15);
}

TEST(Ticks, StepIsAFifthOfAOneTwoFiveMajorStep)
{
    // 0..5 in 10 divisions: raw 0.5 -> major 0.5.
    TTicks ticks = AxisTicks({0, 5}, 10);
    EXPECT_NEAR(ticks.Step, 0.1L, 1e-15);
    EXPECT_EQ(ticks.First, 0);
    EXPECT_EQ(ticks.Last, 50);
    // raw 14.3 -> major 10.
    EXPECT_NEAR(AxisTicks({0, 100}, 7).Step, 2, 1e-15);
    // raw 3 -> major 2.
    EXPECT_NEAR(AxisTicks({0, 30}, 10).Step, 0.4L, 1e-15);
    // raw 9.5 -> major 10.
    EXPECT_NEAR(AxisTicks({0, 95}, 10).Step, 2, 1e-15);
    // raw 1.5 -> major 1.
    EXPECT_NEAR(AxisTicks({0, 15}, 10).Step, 0.2L, 1e-15);
}

TEST(Ticks, IndicesSpanTheRangeAroundZero)
{
    TTicks ticks = AxisTicks({-0.01L, 0.01L}, 4);
    EXPECT_NEAR(ticks.Step, 0.001L, 1e-15);
    EXPECT_EQ(ticks.First, -10);
    EXPECT_EQ(ticks.Last, 10);

    ticks = AxisTicks({-40, 0}, 4);
    EXPECT_EQ(ticks.First, -20);
    EXPECT_EQ(ticks.Last, 0);

    // A zoomed range away from zero starts at index 0 and runs to its end.
    ticks = AxisTicks({50, 60}, 5);
    EXPECT_EQ(ticks.First, 0);
    EXPECT_EQ(ticks.Last, 150);

    EXPECT_TRUE(AxisTicks({0, 5}, 0).Empty());
}

TEST(Ticks, LabelsHaveAtMostFourSignificantDigits)
{
    EXPECT_EQ(TickLabel(0.4L), "0.4");
    EXPECT_EQ(TickLabel(-12.5L), "-12.5");
    EXPECT_EQ(TickLabel(1000), "1000");
    EXPECT_EQ(TickLabel(20000), "20000");
    EXPECT_EQ(TickLabel(0.0025L), "0.0025");
    EXPECT_EQ(TickLabel(1.5e7L), "1.5E07");
    EXPECT_EQ(TickLabel(3 * 0.1L), "0.3");
}

TEST(Layout, PlotRectangleLeavesRoomForCaptionsLabelsAndTitle)
{
    // 96 pixels per inch, text unit 14.
    EXPECT_EQ(ScreenPlotRect(800, 600, 96, 96, 14, true, false, false), (TPixelRect{41, 41, 769, 569}));
    EXPECT_EQ(ScreenPlotRect(800, 600, 96, 96, 14, true, true, true), (TPixelRect{41, 56, 769, 569}));
    EXPECT_EQ(ScreenPlotRect(800, 600, 96, 96, 14, false, false, false), (TPixelRect{41, 31, 769, 559}));
    EXPECT_EQ(ScreenPlotRect(800, 600, 96, 96, 14, false, true, false), (TPixelRect{41, 31, 769, 545}));
    EXPECT_EQ(TextUnit(14, 15), 21);
    EXPECT_EQ(TextUnit(-14, 10), 14);
}

TEST(Layout, MappingPutsTheRangeOnTheRectangle)
{
    const TPixelRect rect{41, 41, 769, 569};
    const TAxisRange range{0, 5};
    EXPECT_EQ(MapX(0, range, rect), 41);
    EXPECT_EQ(MapX(5, range, rect), 769);
    EXPECT_EQ(MapX(2.5L, range, rect), 405);
    // Depth-like plots grow downward from the top edge.
    EXPECT_EQ(MapY(0, range, rect, true), 41);
    EXPECT_EQ(MapY(5, range, rect, true), 569);
    EXPECT_EQ(MapY(0, range, rect, false), 569);
    EXPECT_EQ(MapY(5, range, rect, false), 41);
    EXPECT_NEAR(UnmapX(405, range, rect), 2.5L, 1e-15);
    EXPECT_NEAR(UnmapY(305, range, rect, false), 2.5L, 1e-15);
    EXPECT_NEAR(UnmapY(305, range, rect, true), 2.5L, 1e-15);
}

TEST(Curves, ColoursAndMarkersRepeat)
{
    // Curve 18 takes the colour of curve 1; curve 11 the marker of curve 1.
    EXPECT_EQ(PaletteColour(17), PaletteColour(0));
    EXPECT_EQ(PaletteColour(0), (TRgb{0, 0, 0}));
    EXPECT_EQ(PaletteColour(1), (TRgb{0, 0, 255}));
    EXPECT_EQ(PaletteColour(3), (TRgb{0, 128, 0}));
    EXPECT_EQ(MarkerShape(10), MarkerShape(0));
    EXPECT_EQ(MarkerShape(0), 1);
    EXPECT_EQ(MarkerShape(9), 10);
    std::set<std::tuple<int, int, int>> distinct;
    for (const TRgb& colour : Palette)
        distinct.insert({colour.R, colour.G, colour.B});
    EXPECT_EQ(distinct.size(), 15u);  // grey and silver twice
}

TEST(Curves, MarkerOutlines)
{
    // Downward triangle, closed.
    const std::vector<TPixelPoint> triangle = MarkerOutline({100, 100}, 0, 96, 96);
    EXPECT_EQ(triangle, (std::vector<TPixelPoint>{{100, 103}, {97, 98}, {103, 98}, {100, 103}}));
    // Square with horizontal and vertical sides.
    const std::vector<TPixelPoint> square = MarkerOutline({100, 100}, 1, 96, 96);
    ASSERT_EQ(square.size(), 5u);
    EXPECT_EQ(square[0], (TPixelPoint{102, 98}));
    EXPECT_EQ(square[1], (TPixelPoint{102, 102}));
    EXPECT_EQ(square[4], square[0]);
    // Pentagon (curve 5) and decagon (curve 10) start at the top.
    const std::vector<TPixelPoint> pentagon = MarkerOutline({100, 100}, 4, 96, 96);
    ASSERT_EQ(pentagon.size(), 6u);
    EXPECT_EQ(pentagon[0], (TPixelPoint{100, 97}));
    EXPECT_EQ(MarkerOutline({0, 0}, 9, 96, 96).size(), 11u);
    EXPECT_EQ(MarkerOutline({0, 0}, 19, 96, 96), MarkerOutline({0, 0}, 9, 96, 96));
}
