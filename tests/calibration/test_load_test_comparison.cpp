// A load test beside a run: computed settlements read off the run's curve
// at the measured loads, and the measured values placed on the graphs.
#include "LoadTestComparison.h"

#include "GraphPlot.h"
#include "PlotData.h"
#include "UnitStrings.h"

#include <gtest/gtest.h>

namespace {

TLoadTest MeasuredTest(std::vector<std::pair<double, double>> points, UnitSystem units = UnitSystem::SI)
{
    TLoadTest test;
    test.Units = units;
    for (const auto& [load, settlement] : points)
        test.Points.push_back({load, settlement, std::nullopt, {}});
    return test;
}

}  // namespace

TEST(LoadTestComparison, ReadsTheFirstStretchThatReachesTheLoadFromTheOriginNeverBeyond)
{
    TPlotData data;
    data.Units = UnitSystem::SI;
    // Rising, then falling back past a peak and rising again.
    data.LoadSettlement = {{100, 0.1, 0, 0}, {200, 0.3, 0, 0}, {150, 0.5, 0, 0}, {250, 0.9, 0, 0}};
    const std::vector<TComparisonRow> rows =
        CompareWithRun(MeasuredTest({{50, 0.06}, {150, 0.25}, {225, 0.75}, {300, 1.0}}), data);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_TRUE(rows[0].OnCurve);
    EXPECT_DOUBLE_EQ(rows[0].Computed, 0.05);  // between the origin and the first row
    EXPECT_DOUBLE_EQ(rows[1].Computed, 0.2);   // on the rising stretch, not after the peak
    EXPECT_DOUBLE_EQ(rows[2].Computed, 0.8);   // reached again only after the peak
    EXPECT_FALSE(rows[3].OnCurve);             // beyond the largest computed load

    const std::vector<TComparisonText> texts = ComparisonTexts(rows, UnitSystem::SI);
    EXPECT_EQ(texts[0].Load, "50.00 kN");
    EXPECT_EQ(texts[0].Difference, "-0.01000 m");  // computed less measured
    EXPECT_EQ(texts[3].Computed, BeyondCurveText);
    EXPECT_EQ(texts[3].Difference, "");

    // A run without rows reaches no load.
    EXPECT_FALSE(CompareWithRun(MeasuredTest({{50, 0.06}}), TPlotData{}).front().OnCurve);
}

TEST(LoadTestComparison, MeasuredValuesGoOnTheGraphsInTheirCoordinates)
{
    TLoadTest test = MeasuredTest({{40000, 0.021}, {80000, 0.044}}, UnitSystem::English);
    test.Points[1].Gauges = {{360, 47000}, {480, 30000}};
    TGraphPlot axial, distribution;
    SetMeasuredPoints(axial, distribution, &test);
    // English loads in kips; the distribution's depths in feet.
    ASSERT_EQ(axial.Measured.size(), 2u);
    EXPECT_DOUBLE_EQ(static_cast<double>(axial.Measured[1].X), 80);
    EXPECT_DOUBLE_EQ(static_cast<double>(axial.Measured[1].Y), 0.044);
    ASSERT_EQ(distribution.Measured.size(), 2u);
    EXPECT_DOUBLE_EQ(static_cast<double>(distribution.Measured[0].X), 47);
    EXPECT_DOUBLE_EQ(static_cast<double>(distribution.Measured[1].Y), 40);

    SetMeasuredPoints(axial, distribution, nullptr);
    EXPECT_TRUE(axial.Measured.empty());
    EXPECT_TRUE(distribution.Measured.empty());
}
