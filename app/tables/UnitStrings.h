#pragma once

// Unit strings of table columns: force and length tokens with powers, such as
// "F/L^2", expanded into unit names for headings and turned into the factor
// that converts stored values between unit systems.
//
// Tokens and slots: "F" (= "F0"), "F1", "F2", "F4", "F5", "F6" for force-like
// quantities and "L" (= "L0"), "L1", "L2", "L3" for lengths. The chart tables
// know only F0, F1, F2, L0, L1 and L2, with the same names and factors, and
// so do the graph axes.

#include <string>

// Unit systems of projects, tables and graphs, with the codes that project
// and plot data files store.
namespace UnitSystem {
constexpr int English = 1;
constexpr int SI = 2;
constexpr int Symbolic = 3;  // the unit letters themselves
}  // namespace UnitSystem

// Factor by which a value in unit system `from` is multiplied to give the
// value in unit system `to`; 1 for every pair other than 1->2 and 2->1.
long double ConversionFactor(int from, int to, const std::string& units);

// The unit string with every token replaced by its unit name in `system`,
// for instance "F/L^2" -> "lbs/in^2" (1), "kN/m^2" (2), "F/L^2" (3).
std::string ExpandUnits(const std::string& units, int system);

// The same two rules restricted to the six slots of the chart tables.
long double ChartConversionFactor(int from, int to, const std::string& units);
std::string ExpandChartUnits(const std::string& units, int system);

// A unit code of a graph axis for unit system 1 or 2, with the chart tables'
// names; only the first of "F2", "F1", "F0", "F" found is expanded (every
// occurrence of it), and the same for "L2", "L1", "L0", "L". Other systems
// keep the code as it is.
std::string ExpandPlotUnits(const std::string& units, int system);
