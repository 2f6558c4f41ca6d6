#pragma once

// The numbers of an engine plot data file as the engine wrote them, in the
// project's units (English: in, lb; SI: m, kN), for the read-outs, the
// printable report and the scripted outputs. The graphs of the plot windows
// are filled from the same file by ReadPlotFile, which also converts units
// for display; this reader keeps the values as written.

#include <string>
#include <vector>

// One row of the load-settlement record or of the pile-head load cases.
struct TLoadSettlementRow {
    double TopLoad = 0;
    double TopMovement = 0;
    double TipMovement = 0;
    double TipLoad = 0;
};

// One increment of a load distribution, from the tip upward.
struct TDistributionPoint {
    double Depth = 0;     // mid-point of the increment, below the pile head
    double Load = 0;      // average axial load in the increment
    double Movement = 0;  // movement of the mid-point
};

struct TPlotData {
    // Unit system the file was written in: 1 English, 2 SI.
    int Units = 1;
    int Increments = 0;
    // Number of t-z curves and Q-w points the file carries.
    int TZCurveCount = 0;
    int QWPointCount = 0;
    // One load distribution per assumed tip movement, in input order.
    std::vector<std::vector<TDistributionPoint>> Distributions;
    // The load-settlement curve, one row per assumed tip movement.
    std::vector<TLoadSettlementRow> LoadSettlement;
    // Pile-head load cases, in the order of the loads (empty without them).
    std::vector<TLoadSettlementRow> LoadCases;
};

// Reads a whole plot data file; throws EInOutError (with the reader's
// message) when it cannot be opened, holds a word that is not a number, ends
// before its counts are satisfied, or holds a partial load-case row.
TPlotData ReadPlotData(const std::string& fileName);
