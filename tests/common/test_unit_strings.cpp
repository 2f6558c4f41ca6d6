#include "UnitStrings.h"

#include <gtest/gtest.h>

namespace {
constexpr UnitSystem English = UnitSystem::English;
constexpr UnitSystem SI = UnitSystem::SI;
constexpr UnitSystem Symbolic = UnitSystem::Symbolic;
}  // namespace

// English units in one SI unit for the quantities of the declared columns.
TEST(UnitStrings, FactorsFromSiToEnglish)
{
    EXPECT_NEAR(ConversionFactor(SI, English, "F"), 224.8089237L, 1e-9L);
    EXPECT_NEAR(ConversionFactor(SI, English, "L"), 39.37007874L, 1e-9L);
    EXPECT_NEAR(ConversionFactor(SI, English, "L2"), 3.280839895L, 1e-12L);
    EXPECT_NEAR(ConversionFactor(SI, English, "F/L^2"), 0.145037725L, 1e-9L);
    EXPECT_NEAR(ConversionFactor(SI, English, "F/L^3"), 0.0036839582L, 1e-10L);
    EXPECT_NEAR(ConversionFactor(SI, English, "F1/L2^2"), 0.020885432L, 1e-9L);
    EXPECT_NEAR(ConversionFactor(SI, English, "L0^2"), 39.37007874L * 39.37007874L, 1e-9L);
    EXPECT_NEAR(ConversionFactor(SI, English, "F-L"), 224.8089237L * 39.37007874L, 1e-6L);
    EXPECT_EQ(ConversionFactor(SI, English, ""), 1.0L);
    EXPECT_EQ(ConversionFactor(SI, English, "F5/L3"), 1.0L);
}

TEST(UnitStrings, DirectionAndRoundTrip)
{
    EXPECT_NEAR(100.0L * ConversionFactor(SI, English, "F/L^2"), 14.5037725L, 1e-7L);
    EXPECT_EQ(ConversionFactor(English, English, "F/L^2"), 1.0L);
    EXPECT_EQ(ConversionFactor(Symbolic, English, "F/L^2"), 1.0L);
    for (const char* units : {"F", "L", "F/L^2", "F/L^3", "F1/L2^2", "L2", "F4", "F6/L1"}) {
        const long double value = 1234.5678L;
        const long double back = value * ConversionFactor(English, SI, units) * ConversionFactor(SI, English, units);
        EXPECT_NEAR(back, value, 1e-12L) << units;
    }
}

TEST(UnitStrings, SlotDigitsOutsideTheFamilyMeanSlotZero)
{
    // "F3" does not exist: the 3 is the separator, so this is F0 alone.
    EXPECT_NEAR(ConversionFactor(SI, English, "F3"), 224.8089237L, 1e-9L);
    // The chart tables know no F4: the digit is not consumed and the force
    // part is F0, unlike the full family.
    EXPECT_NEAR(ChartConversionFactor(SI, English, "F4"), 224.8089237L, 1e-9L);
    EXPECT_NEAR(ConversionFactor(SI, English, "F4"), 5.7101483L, 1e-9L);
    EXPECT_NEAR(ChartConversionFactor(SI, English, "F1/L2^2"), 0.020885432L, 1e-9L);
}

TEST(UnitStrings, Expansion)
{
    EXPECT_EQ(ExpandUnits("F/L^2", English), "lbs/in^2");
    EXPECT_EQ(ExpandUnits("F/L^2", SI), "kN/m^2");
    EXPECT_EQ(ExpandUnits("F/L^2", Symbolic), "F/L^2");
    EXPECT_EQ(ExpandUnits("F/L^3", English), "lbs/in^3");
    EXPECT_EQ(ExpandUnits("F/L^3", SI), "kN/m^3");
    EXPECT_EQ(ExpandUnits("F1/L2^2", English), "kips/ft^2");
    EXPECT_EQ(ExpandUnits("F1/L2^2", SI), "kN/m^2");
    EXPECT_EQ(ExpandUnits("F2-L1", English), "tons-in");
    EXPECT_EQ(ExpandUnits("F4", English), "lb-sec2/in");
    EXPECT_EQ(ExpandUnits("F4/F5", Symbolic), "M/T");
    EXPECT_EQ(ExpandUnits("F6/L3", SI), "Mg/rad");
    EXPECT_EQ(ExpandUnits("", English), "");
}

TEST(UnitStrings, ChartExpansionKnowsSixSlots)
{
    EXPECT_EQ(ExpandChartUnits("F1/L2^2", English), "kips/ft^2");
    EXPECT_EQ(ExpandChartUnits("F2-L1", SI), "kN-mm");
    // F4 is no chart slot: its letter is read as F0 and the digit stays.
    EXPECT_EQ(ExpandChartUnits("F4", English), "lbs4");
}

// "F0" and "L0" are the slots of "F" and "L": their labels follow their factors.
TEST(UnitStrings, SlotZeroWrittenOutExpandsAsTheBareLetter)
{
    EXPECT_EQ(ConversionFactor(SI, English, "F0/L0^2"), ConversionFactor(SI, English, "F/L^2"));
    EXPECT_EQ(ExpandUnits("F0/L0^2", English), "lbs/in^2");
    EXPECT_EQ(ExpandUnits("F0-L0", SI), "kN-m");
    EXPECT_EQ(ExpandUnits("F0/L0", Symbolic), "F/L");
    EXPECT_EQ(ChartConversionFactor(SI, English, "L0"), ChartConversionFactor(SI, English, "L"));
    EXPECT_EQ(ExpandChartUnits("F0/L0^3", English), "lbs/in^3");
    EXPECT_EQ(ExpandPlotUnits("F0/L0", SI), "kN/m");
}

// Graph axes expand only the first token of each letter that the code holds.
TEST(UnitStrings, PlotCodesExpandOneTokenPerLetter)
{
    EXPECT_EQ(ExpandPlotUnits("F2/F", English), "tons/F");
    EXPECT_EQ(ExpandPlotUnits("L1/L", SI), "mm/L");
    EXPECT_EQ(ExpandPlotUnits("F1/L2^2", Symbolic), "F1/L2^2");
}
