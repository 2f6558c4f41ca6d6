#pragma once

// A static load test measured on a pile: head load against head settlement,
// and for some head loads the axial loads read at gauge depths and the toe
// movement (tell-tale). Values are in a project unit system (1: lb and in,
// 2: kN and m) and convert with it.

#include "UnitStrings.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A gauge reading: the axial load at a depth below the pile head.
struct TGaugeReading {
    double Depth = 0;
    double Load = 0;
};

struct TLoadTestPoint {
    double HeadLoad = 0;
    double HeadSettlement = 0;
    std::optional<double> ToeMovement;
    std::vector<TGaugeReading> Gauges;
};

struct TLoadTest {
    UnitSystem Units = UnitSystem::English;
    std::vector<TLoadTestPoint> Points;
    // Depths of gauges placed, in increasing order, each once; a gauge may
    // have no reading yet, and a reading's depth need not be listed.
    std::vector<double> GaugeDepths;

    // Converts every value to unit system `units` (1 or 2).
    void SetUnits(UnitSystem units);
    bool HasGauges() const;
    // GaugeDepths and every reading's depth, in increasing order, each once.
    std::vector<double> AllGaugeDepths() const;
    bool HasToeMovements() const;
    // Refuses a test the fit cannot use: fewer than 3 points, a load or a
    // settlement that is not a finite number, two points with the same load.
    void Check() const;
};

// A load test refused: the message says what is wrong and, for a file, where.
class ELoadTestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a load test from CSV text with a header line naming the columns:
// "Head load" (or "Load"), "Head settlement" (or "Settlement"), optionally
// "Toe movement" (or "Toe") and any number of "Gauge at DEPTH" columns. A
// unit in parentheses or brackets after a name is recognised (lb, lbs, kip,
// N, kN, MN; in, ft, mm, cm, m), and so is a unit after a gauge's depth; a
// header naming units of both systems is refused. A column or a depth
// without a unit is in unit system `unitless`, the project's when not given.
// Cells are separated by commas, semicolons or tabs; an empty toe or gauge
// cell was not measured; blank lines and lines starting with '#' are
// skipped. The values are converted to `units`. A bad line is refused with
// its number and its text.
TLoadTest ReadLoadTestCsv(std::string_view text, UnitSystem units, std::optional<UnitSystem> unitless = {});
TLoadTest ReadLoadTestCsvFile(const std::string& fileName, UnitSystem units);
// The names of the header's columns that give no unit (a gauge whose depth
// has none included), to ask which unit system they are in; none for text
// whose header cannot be read, which the reader then refuses.
std::vector<std::string> LoadTestColumnsWithoutUnits(std::string_view text);

// The load test as its section of the project extras file, and back; the
// reader refuses a section it cannot use with ELoadTestError.
nlohmann::json LoadTestJson(const TLoadTest& test);
TLoadTest LoadTestFromJson(const nlohmann::json& section);

// The project's load test, kept in the LoadTestSection of its extras file:
// nothing when it has none; in the project's units.
inline const std::string LoadTestSection = "loadTest";
class TProgramData;
std::optional<TLoadTest> ProjectLoadTest(const TProgramData& project);
// Stores the load test in the project (saved with it), marking it changed;
// a test without points removes it.
void SetProjectLoadTest(TProgramData& project, const TLoadTest& test);
