#pragma once

// A project's load test beside its last run: the measured settlements
// against the computed ones at the same head loads, for the Results Summary
// and the printable report, and the measured values as marks on the result
// graphs.

#include "LoadTest.h"

#include <string>
#include <vector>

class TGraphPlot;
struct TPlotData;

struct TComparisonRow {
    double Load = 0;
    double Measured = 0;
    // False when the load lies beyond the computed curve: nothing computed.
    bool OnCurve = false;
    double Computed = 0;
};

// The computed head settlement at each measured load, interpolated on the
// run's load-settlement curve from the origin along its first stretch that
// reaches the load, never extrapolated. The test and the run in the same
// units.
std::vector<TComparisonRow> CompareWithRun(const TLoadTest& test, const TPlotData& data);

// The rows as texts with their units: head load, measured settlement,
// computed settlement and the difference (computed less measured), or
// "beyond the computed curve" in place of the last two.
struct TComparisonText {
    std::string Load, Measured, Computed, Difference;
};
std::vector<TComparisonText> ComparisonTexts(const std::vector<TComparisonRow>& rows, UnitSystem units);

inline constexpr const char* ComparisonHeading = "Measured against computed";
inline constexpr const char* BeyondCurveText = "beyond the computed curve";

// Puts the test's head points on the load-settlement graph and its gauge
// loads on the load-distribution graph, in the graphs' coordinates (English
// loads in kips, the distribution's depths in feet); no test clears them.
void SetMeasuredPoints(TGraphPlot& axial, TGraphPlot& distribution, const TLoadTest* test);
