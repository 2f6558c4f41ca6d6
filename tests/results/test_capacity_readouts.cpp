#include "CapacityReadouts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double InchesPerMetre = 39.37007874;
constexpr double NewtonsPerPound = 4.4482216152605;

// A straight load-settlement curve s = P / stiffness with rows at the given
// settlements.
TPlotData StraightCurve(double stiffness, double lastSettlement, double step)
{
    TPlotData data;
    for (double s = step; s <= lastSettlement + step / 2; s += step)
        data.LoadSettlement.push_back({stiffness * s, s, 0, 0});
    return data;
}

TPileForReadouts EnglishPile()
{
    TPileForReadouts pile;
    pile.Units = UnitSystem::English;
    pile.Length = 480;
    pile.Diameter = 12;
    pile.AEDepths = {0, 480};
    pile.AEValues = {1e6, 1e6};
    return pile;
}

TEST(CapacityReadouts, StraightCurveCrossesDavissonLineAtHandComputedLoad)
{
    // s = P/1000 meets s = P*480/1e6 + 0.15 + 12/120 at P = 0.25 / (0.001 - 0.00048).
    const TCapacityReadouts readouts = ComputeReadouts(StraightCurve(1000, 2, 0.1), EnglishPile());
    ASSERT_TRUE(readouts.Davisson.Reached);
    EXPECT_NEAR(readouts.Davisson.Load, 0.25 / 0.00052, 1e-6);
    EXPECT_NEAR(readouts.Davisson.Settlement, 0.25 / 0.00052 / 1000, 1e-9);
    EXPECT_EQ(readouts.Stiffness, TStiffnessSource::Constant);
    EXPECT_DOUBLE_EQ(readouts.EquivalentAE, 1e6);
    EXPECT_DOUBLE_EQ(readouts.DavissonOffset, 0.25);

    ASSERT_TRUE(readouts.TenPercentDiameter.Reached);
    EXPECT_NEAR(readouts.TenPercentDiameter.Load, 1200, 1e-6);
    EXPECT_DOUBLE_EQ(readouts.TenPercentSettlement, 1.2);

    ASSERT_TRUE(readouts.Largest.Reached);
    EXPECT_NEAR(readouts.Largest.Load, 2000, 1e-6);
    EXPECT_NEAR(readouts.Largest.Settlement, 2, 1e-9);
    EXPECT_FALSE(readouts.Uplift);
}

TEST(CapacityReadouts, CriteriaBeyondTheCurveAreNotReachedNeverExtrapolated)
{
    // The curve ends at 1.0 in, short of 10 % of a 12 in pile, and is too
    // stiff to meet the offset line before its end.
    const TCapacityReadouts readouts = ComputeReadouts(StraightCurve(100000, 1.0, 0.1), EnglishPile());
    EXPECT_FALSE(readouts.TenPercentDiameter.Reached);
    EXPECT_FALSE(readouts.Davisson.Reached);
    EXPECT_TRUE(readouts.Largest.Reached);

    TPlotData empty;
    const TCapacityReadouts none = ComputeReadouts(empty, EnglishPile());
    EXPECT_FALSE(none.TenPercentDiameter.Reached);
    EXPECT_FALSE(none.Davisson.Reached);
    EXPECT_FALSE(none.Largest.Reached);
}

TEST(CapacityReadouts, CrossingBetweenComputedPointsIsInterpolatedOnTheSegment)
{
    // A bent curve: stiff to 0.5 in, then soft. 10 % of D = 1.2 in lies on
    // the soft segment from (500, 0.5) to (600, 2.5).
    TPlotData data;
    data.LoadSettlement = {{250, 0.25, 0, 0}, {500, 0.5, 0, 0}, {600, 2.5, 0, 0}};
    const TCapacityReadouts readouts = ComputeReadouts(data, EnglishPile());
    ASSERT_TRUE(readouts.TenPercentDiameter.Reached);
    EXPECT_NEAR(readouts.TenPercentDiameter.Load, 500 + 100 * 0.7 / 2.0, 1e-9);
    // The offset line is met first on the stiff segment, as for the straight
    // curve of the same stiffness.
    ASSERT_TRUE(readouts.Davisson.Reached);
    EXPECT_NEAR(readouts.Davisson.Load, 0.25 / 0.00052, 1e-6);
}

TEST(CapacityReadouts, SiAndEnglishGiveTheSamePhysicalAnswer)
{
    const TPlotData english = StraightCurve(1000, 2, 0.1);
    TPlotData si;
    for (const TLoadSettlementRow& row : english.LoadSettlement)
        si.LoadSettlement.push_back({row.TopLoad * NewtonsPerPound / 1000, row.TopMovement / InchesPerMetre, 0, 0});
    TPileForReadouts siPile = EnglishPile();
    siPile.Units = UnitSystem::SI;
    siPile.Length = 480 / InchesPerMetre;
    siPile.Diameter = 12 / InchesPerMetre;
    siPile.AEValues = {1e6 * NewtonsPerPound / 1000, 1e6 * NewtonsPerPound / 1000};

    const TCapacityReadouts a = ComputeReadouts(english, EnglishPile());
    const TCapacityReadouts b = ComputeReadouts(si, siPile);
    const auto kN = [](double pounds) { return pounds * NewtonsPerPound / 1000; };
    EXPECT_NEAR(b.TenPercentDiameter.Load / kN(a.TenPercentDiameter.Load), 1, 1e-3);
    EXPECT_NEAR(b.Largest.Load / kN(a.Largest.Load), 1, 1e-3);
    EXPECT_NEAR(b.EquivalentAE / kN(a.EquivalentAE), 1, 1e-9);
    // Davisson's offsets differ by their rounding: 3.8 mm against 0.15 in
    // (3.81 mm), so the SI line sits 0.01 mm lower.
    EXPECT_NEAR(b.Davisson.Load / kN(a.Davisson.Load), (3.8 + 2.54) / (3.81 + 2.54), 1e-6);
}

TEST(CapacityReadouts, UpliftRunIsReadOnMagnitudes)
{
    TPlotData data = StraightCurve(1000, 2, 0.1);
    for (TLoadSettlementRow& row : data.LoadSettlement) {
        row.TopLoad = -row.TopLoad;
        row.TopMovement = -row.TopMovement;
    }
    const TCapacityReadouts readouts = ComputeReadouts(data, EnglishPile());
    EXPECT_TRUE(readouts.Uplift);
    ASSERT_TRUE(readouts.TenPercentDiameter.Reached);
    EXPECT_NEAR(readouts.TenPercentDiameter.Load, 1200, 1e-6);
}

TEST(EquivalentStiffness, HarmonicMeanOverThePileLength)
{
    TPileForReadouts pile = EnglishPile();
    TStiffnessSource source;

    // AE from 1 to e linearly: L / integral(1/AE) is the logarithmic mean.
    pile.AEValues = {1, std::exp(1.0)};
    EXPECT_NEAR(EquivalentStiffness(pile, source), std::exp(1.0) - 1, 1e-12);
    EXPECT_EQ(source, TStiffnessSource::HarmonicMean);

    // Two sections of equal length, 1 and 3 stepped at mid-length (a very
    // short transition): the harmonic mean 2 / (1/1 + 1/3) = 1.5.
    pile.AEDepths = {0, 240, 240.000001, 480};
    pile.AEValues = {1, 1, 3, 3};
    EXPECT_NEAR(EquivalentStiffness(pile, source), 1.5, 1e-6);

    // A table shorter than the pile extends its last interval, as the engine
    // does: 1 at 0, 2 at 240, so 3 at 480.
    pile.AEDepths = {0, 240};
    pile.AEValues = {1, 2};
    EXPECT_NEAR(EquivalentStiffness(pile, source), 2 / std::log(3.0), 1e-12);

    // One point means one AE along the whole pile.
    pile.AEDepths = {0};
    pile.AEValues = {5e6};
    EXPECT_DOUBLE_EQ(EquivalentStiffness(pile, source), 5e6);
    EXPECT_EQ(source, TStiffnessSource::Constant);

    // An AE reaching zero along the pile has no equivalent; Davisson's
    // limit is then not read.
    pile.AEDepths = {0, 480};
    pile.AEValues = {1e6, 0};
    EXPECT_EQ(EquivalentStiffness(pile, source), 0);
    EXPECT_EQ(source, TStiffnessSource::Unavailable);
    EXPECT_FALSE(ComputeReadouts(StraightCurve(1000, 2, 0.1), pile).Davisson.Reached);
}

TEST(CapacityReadouts, NeutralPlaneAndDragLoadOfEveryCase)
{
    TPlotData data;
    // From the tip upward: the load peaks at 300 in below the head.
    data.Distributions = {
        {{450, 80, 0}, {300, 140, 0}, {150, 120, 0}, {30, 100, 0}},
        {{450, 200, 0}, {300, 190, 0}, {150, 180, 0}, {30, 170, 0}},
    };
    data.LoadSettlement = {{100, 0.1, 0.05, 0}, {170, 0.3, 0.2, 0}};
    TPileForReadouts pile = EnglishPile();

    EXPECT_TRUE(ComputeReadouts(data, pile).NeutralPlanes.empty());

    pile.Downdrag = true;
    const TCapacityReadouts readouts = ComputeReadouts(data, pile);
    ASSERT_EQ(readouts.NeutralPlanes.size(), 2u);
    EXPECT_DOUBLE_EQ(readouts.NeutralPlanes[0].Depth, 300);
    EXPECT_DOUBLE_EQ(readouts.NeutralPlanes[0].PeakLoad, 140);
    EXPECT_DOUBLE_EQ(readouts.NeutralPlanes[0].DragLoad, 40);
    // A load growing all the way down peaks at the deepest increment.
    EXPECT_DOUBLE_EQ(readouts.NeutralPlanes[1].Depth, 450);
    EXPECT_DOUBLE_EQ(readouts.NeutralPlanes[1].DragLoad, 30);
}

}  // namespace

#include "CapacityOverlays.h"
#include "GraphPlot.h"

namespace {

TEST(CapacityOverlays, LinesAndPointsInTheGraphsCoordinates)
{
    const TPileForReadouts pile = EnglishPile();
    const TCapacityReadouts readouts = ComputeReadouts(StraightCurve(1000, 2, 0.1), pile);
    TGraphPlot axial;
    SetCapacityOverlays(axial, readouts, pile);
    EXPECT_FALSE(axial.ShowOverlays);
    ASSERT_EQ(axial.Overlays.size(), 4u);
    // English loads show in kips: the offset line runs from 0.25 in at no
    // load to the largest load, 2 kips.
    const TGraphOverlay& offset = axial.Overlays[0];
    ASSERT_EQ(offset.Points.size(), 2u);
    EXPECT_DOUBLE_EQ(static_cast<double>(offset.Points[0].Y), 0.25);
    EXPECT_DOUBLE_EQ(static_cast<double>(offset.Points[1].X), 2.0);
    EXPECT_NEAR(static_cast<double>(offset.Points[1].Y), 2000 * 480 / 1e6 + 0.25, 1e-12);
    EXPECT_DOUBLE_EQ(static_cast<double>(axial.Overlays[1].Points[1].Y), 1.2);
    // The read-off points, marked one point each.
    ASSERT_EQ(axial.Overlays[2].Points.size(), 1u);
    EXPECT_NEAR(static_cast<double>(axial.Overlays[2].Points[0].X), 0.25 / 0.00052 / 1000, 1e-9);
    EXPECT_NEAR(static_cast<double>(axial.Overlays[3].Points[0].Y), 1.2, 1e-9);

    // A curve without points has no lines.
    SetCapacityOverlays(axial, ComputeReadouts(TPlotData{}, pile), pile);
    EXPECT_TRUE(axial.Overlays.empty());
}

}  // namespace
