#pragma once

// Unit strings of table columns: force and length tokens with powers, such as
// "F/L^2", expanded into unit names for headings and turned into the factor
// that converts stored values between unit systems.
//
// Tokens and slots: "F" (= "F0"), "F1", "F2", "F4", "F5", "F6" for force-like
// quantities and "L" (= "L0"), "L1", "L2", "L3" for lengths. The chart tables
// know only F0, F1, F2, L0, L1 and L2, with the same names and factors, and
// so do the graph axes.

#include <cstdint>
#include <string>

// Unit systems of projects, tables and graphs. The numbers are the codes
// that project and plot data files store; only their readers and writers
// convert (UnitSystemCode, UnitSystemFromCode).
enum class UnitSystem : int32_t {
    English = 1,  // lb, in
    SI = 2,       // kN, m
    Symbolic = 3  // the unit letters themselves
};

constexpr int32_t UnitSystemCode(UnitSystem system) { return static_cast<int32_t>(system); }
// The system of a project's code: 1 and below English, 2 and above SI.
constexpr UnitSystem UnitSystemFromCode(int32_t code) { return code >= 2 ? UnitSystem::SI : UnitSystem::English; }

// Factor by which a value in unit system `from` is multiplied to give the
// value in unit system `to`; 1 for every pair other than English and SI.
long double ConversionFactor(UnitSystem from, UnitSystem to, const std::string& units);

// The unit string with every token replaced by its unit name in `system`,
// for instance "F/L^2" -> "lbs/in^2" (English), "kN/m^2" (SI), "F/L^2" (Symbolic).
std::string ExpandUnits(const std::string& units, UnitSystem system);

// The same two rules restricted to the six slots of the chart tables.
long double ChartConversionFactor(UnitSystem from, UnitSystem to, const std::string& units);
std::string ExpandChartUnits(const std::string& units, UnitSystem system);

// A unit code of a graph axis for the English or the SI system, with the chart tables'
// names; only the first of "F2", "F1", "F0", "F" found is expanded (every
// occurrence of it), and the same for "L2", "L1", "L0", "L". Other systems
// keep the code as it is.
std::string ExpandPlotUnits(const std::string& units, UnitSystem system);

// The system in words: "English units (lb, in)" or "S.I. units (kN, m)".
std::string UnitSystemText(UnitSystem system);
