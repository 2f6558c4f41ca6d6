// The design methods against their published check numbers, a constant
// profile integrated by hand, and the soil zones and curve depths.
#include "CptDesign.h"

#include <gtest/gtest.h>

#include <numbers>
#include <sstream>

using namespace cpt;

namespace {

// A sounding every 0.02 m down to `bottom`, q_c and f_s by depth (kPa).
TSounding Synthetic(double bottom, const std::function<std::pair<double, double>(double)>& qcFs)
{
    std::ostringstream text;
    text << "depth_m,qc_kPa,fs_kPa\n";
    for (int i = 0; i * 0.02 <= bottom + 1e-9; ++i) {
        const auto [qc, fs] = qcFs(i * 0.02);
        text << i * 0.02 << ',' << qc << ',' << fs << '\n';
    }
    return ReadCsvSounding(text.str());
}

TPileGeometry OpenPipe(double length, double diameter, double wall)
{
    return {length, diameter, TPileEnd::Open, wall};
}

}  // namespace

TEST(UnifiedSand, ShaftFrictionMovementAndBaseMatchTheCheckNumbers)
{
    // An open pipe D = 2.44 m, t = 44.5 mm, 40 m above its tip: q_c 39 928 kPa, s'_v0 203.8 kPa.
    const TPileGeometry pile = OpenPipe(50, 2.44, 0.0445);
    const double are = EffectiveAreaRatio(pile, 0.0357);
    EXPECT_NEAR(are, 0.08577, 5e-6);
    const TSandShaftInputs inputs;
    EXPECT_NEAR(SandShaftFriction(39928, 203.8, 40, 2.44, are, inputs, false), 84.327, 5e-4);
    EXPECT_NEAR(SandShaftFriction(39928, 203.8, 40, 2.44, are, inputs, true), 63.245, 5e-4);
    EXPECT_NEAR(SandPeakMovement(39928, 203.8, 2.44, 1250, 100), 0.046604, 5e-7);
    EXPECT_NEAR(SandPeakMovement(39928, 203.8, 2.44, 625, 100), 0.093207, 5e-7);
    // q_p = 50 MPa under the same pipe.
    EXPECT_NEAR(SandBaseFactor(are) * 50000, 7629.7, 0.05);
    // The normalised base curve and its inverse.
    const double zb[] = {0.00110, 0.00244, 0.00411, 0.00625, 0.00909, 0.01304, 0.01892, 0.02857, 0.04737, 0.10000};
    for (int i = 1; i <= 10; ++i) {
        EXPECT_NEAR(SandBaseMovement(i / 10.0), zb[i - 1], 5e-6) << i;
        EXPECT_NEAR(SandBaseRatio(SandBaseMovement(i / 10.0)), i / 10.0, 1e-12) << i;
    }
    EXPECT_EQ(SandBaseRatio(0.2), 1.0);  // held beyond 0.1 D
    EXPECT_NEAR(SandShaftShape(0.5), 0.75, 1e-15);
    EXPECT_EQ(SandShaftShape(1.5), 1.0);
}

TEST(UnifiedSand, ClosedEndIsAChoiceNotAZeroWall)
{
    TPileGeometry closed{50, 2.44, TPileEnd::Closed, 0};
    EXPECT_EQ(EffectiveAreaRatio(closed, 0.0357), 1.0);
    EXPECT_NEAR(SandShaftFriction(39928, 203.8, 40, 2.44, 1.0, {}, false), 170.001, 5e-4);
    EXPECT_NEAR(SandBaseFactor(1.0), 0.5, 1e-15);
    // A zero wall as an open pipe would give A_re = 0.014: refused.
    const TCptProfile profile(Synthetic(20, [](double) { return std::pair{10000.0, 50.0}; }), {});
    EXPECT_THROW(Design(profile, OpenPipe(10, 0.6, 0)), ECptError);
    EXPECT_NO_THROW(Design(profile, {10, 0.6, TPileEnd::Closed, 0}));
}

TEST(UnifiedClay, ShaftFrictionAndEquivalentDiameter)
{
    EXPECT_NEAR(ClayShaftFriction(1500, 10, 0.5, 1, 0.07), 49.651, 5e-4);
    const TPileGeometry open = OpenPipe(20, 2, 0.05);
    EXPECT_NEAR(ClayEquivalentDiameter(open), 0.6245, 5e-5);
    EXPECT_NEAR(ClayShaftFriction(1500, 10, ClayEquivalentDiameter(open), 1, 0.07), 52.489, 5e-4);
    EXPECT_NEAR(ClayShaftFriction(1500, 0.2, 0.5, 0.5, 0.07), 52.5, 1e-9);
    EXPECT_DOUBLE_EQ(ClayBaseFactor(1, 0.2, 0.6), 0.8);
}

TEST(BehaviourType, SandLikeClayLikeAndSensitive)
{
    const TBehaviourIndex sand = BehaviourIndex(15000, 75, 100, 50, 100);
    const TBehaviourIndex clay = BehaviourIndex(800, 30, 100, 50, 100);
    EXPECT_LT(sand.Ic, 2.6);
    EXPECT_GT(clay.Ic, 2.6);
    EXPECT_FALSE(clay.Sensitive);
    EXPECT_TRUE(BehaviourIndex(300, 1, 100, 50, 100).Sensitive);
}

TEST(CptDesign, ConstantProfileIntegratesByHand)
{
    // q_c 10 MPa everywhere; s'_v0 = 80 kPa from 1 mm down (a heavy first
    // millimetre, then soil as heavy as water under a water table at 0).
    const double qc = 10000, sv = 80, length = 20, d = 0.5;
    TCptSettings settings;
    settings.UnitWeights = {{0.001, sv / 0.001}};
    settings.DefaultUnitWeight = settings.WaterUnitWeight;
    settings.Method = TMethodChoice::Sand;
    const TCptProfile profile(Synthetic(25, [&](double) { return std::pair{qc, 50.0}; }), settings);
    const TPileGeometry pile{length, d, TPileEnd::Closed, 0};
    const TCptDesign design = Design(profile, pile);

    // tau_f = tan 29 [q_c/44 max(1, h/D)^-0.4 + q_c/10 (q_c/s')^-0.33 d_CPT/D]
    const double tan29 = std::tan(29 * std::numbers::pi / 180);
    const double radialIntegral = qc / 44 * (d + std::pow(d, 0.4) * (std::pow(length, 0.6) - std::pow(d, 0.6)) / 0.6);
    const double dilation = qc / 10 * std::pow(qc / sv, -0.33) * 0.0357 / d;
    const double byHand = std::numbers::pi * d * tan29 * (radialIntegral + dilation * length);
    EXPECT_NEAR(design.ShaftCapacity, byHand, byHand * 1e-4);
    // The curves' peaks over their lengths of shaft give the same capacity.
    double fromCurves = 0;
    for (const TTzCurve& curve : design.Curves) {
        EXPECT_LE(curve.TributaryBottom - curve.TributaryTop, settings.MaxCurveLength + 1e-12);
        fromCurves += curve.Points[11].first * (curve.TributaryBottom - curve.TributaryTop);
    }
    EXPECT_NEAR(std::numbers::pi * d * fromCurves, byHand, byHand * 1e-3);
    // q_p = q_c, q_b0.1 = 0.5 q_c for a closed end; the base curve reaches it at 0.1 D.
    EXPECT_NEAR(design.BaseQp, qc, 1e-6);
    EXPECT_NEAR(design.BaseCapacity, 0.5 * qc * std::numbers::pi * d * d / 4, 1e-6);
    EXPECT_NEAR(design.Qw[10].second, 0.1 * d, 1e-12);
    EXPECT_EQ(design.Qw[10].first, design.BaseCapacity);

    // Clay: tau_f = 0.07 q_t max(1, h/D)^-0.25 (no u2, so q_t = q_c).
    settings.Method = TMethodChoice::Clay;
    settings.Direction = TLoadDirection::Tension;
    const TCptDesign clay = Design(TCptProfile(profile.Sounding(), settings), pile);
    const double clayByHand =
        std::numbers::pi * d * 0.07 * qc * (d + std::pow(d, 0.25) * (std::pow(length, 0.75) - std::pow(d, 0.75)) / 0.75);
    EXPECT_NEAR(clay.ShaftCapacity, clayByHand, clayByHand * 1e-4);
    EXPECT_EQ(clay.BaseCapacity, 0);  // no base resistance in tension
    EXPECT_EQ(clay.Curves.front().Points.size(), 7u);
}

TEST(CptDesign, ZonesFollowTheBehaviourTypeThinLensesMergeOverridesWin)
{
    // Sand to 5 m, clay below with a 0.2 m sand lens at 7 m.
    const auto layered = [](double z) {
        const bool sand = z < 5 || (z >= 7 && z < 7.2);
        return sand ? std::pair{15000.0, 75.0} : std::pair{800.0, 30.0};
    };
    TCptSettings settings;
    const TCptProfile profile(Synthetic(15, layered), settings);
    std::vector<TZone> zones = SoilZones(profile, 12);
    ASSERT_EQ(zones.size(), 2u);
    EXPECT_EQ(zones[0].Class, TSoilClass::Sand);
    EXPECT_NEAR(zones[0].Bottom, 5, 0.05);
    EXPECT_EQ(zones[1].Class, TSoilClass::Clay);
    EXPECT_EQ(zones[1].Bottom, 12);

    settings.Overrides = {{9, 10, TSoilClass::Sand}};
    const TCptProfile overridden(Synthetic(15, layered), settings);
    zones = SoilZones(overridden, 12);
    ASSERT_EQ(zones.size(), 4u);
    EXPECT_NEAR(zones[2].Top, 9, 1e-9);
    EXPECT_NEAR(zones[2].Bottom, 10, 1e-9);

    // No curve stands for shaft of two zones or more than the set length.
    const TCptDesign design = Design(overridden, {12, 0.6, TPileEnd::Closed, 0});
    EXPECT_EQ(design.Curves.front().Depth, 0);
    EXPECT_EQ(design.Curves.back().Depth, 12);
    for (const TTzCurve& curve : design.Curves) {
        const auto zone = std::find_if(zones.begin(), zones.end(),
                                       [&](const TZone& z) { return curve.Depth >= z.Top && (curve.Depth < z.Bottom || z.Bottom == 12); });
        ASSERT_NE(zone, zones.end());
        EXPECT_EQ(curve.Class, zone->Class);
        EXPECT_GE(curve.TributaryTop, zone->Top - 1e-12);
        EXPECT_LE(curve.TributaryBottom, zone->Bottom + 1e-12);
        EXPECT_LE(curve.TributaryBottom - curve.TributaryTop, 1.0 + 1e-12);
    }
    EXPECT_THROW(SoilZones(overridden, 16), ECptError);  // below the sounding
}

TEST(CptDesign, OffshoreSoundingEndToEndAgreesWithAnIndependentCalculation)
{
    // HKZ1-CPT03 under an open pipe D = 2 m, t = 50 mm, L = 25 m, gamma' = 10
    // kN/m^3: shaft 7.746 MN in compression, 5.809 MN in tension, q_p 13.961
    // MPa, as computed on the file's rows by a separate script.
    TCptSettings settings;
    settings.Method = TMethodChoice::Sand;
    settings.DefaultUnitWeight = 10 + settings.WaterUnitWeight;
    const TSounding sounding = ReadSoundingFile(std::string(KORVEN_CPT_TEST_DATA) + "/HKZ1-CPT03.ags");
    const TPileGeometry pile = OpenPipe(25, 2, 0.05);
    const TCptDesign compression = Design(TCptProfile(sounding, settings), pile);
    EXPECT_NEAR(compression.AreaRatio, 0.1199, 5e-5);
    EXPECT_NEAR(compression.ShaftCapacity, 7746, 7746 * 2e-3);
    EXPECT_NEAR(compression.BaseQp, 13961, 13961 * 2e-3);
    settings.Direction = TLoadDirection::Tension;
    EXPECT_NEAR(Design(TCptProfile(sounding, settings), pile).ShaftCapacity, 5809, 5809 * 2e-3);
}
