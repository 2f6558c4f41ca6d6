#pragma once

// The plot data file the engine writes after a run, read once into one value
// that every user of the results shares: the graphs (FillGraphs), their
// capacity lines, the Results Summary, the printable report and the
// command-line tools. The numbers stay as the engine wrote them, in the
// project's units (English: in, lb; SI: m, kN).

#include "UnitStrings.h"

#include <cstdint>
#include <string>
#include <vector>

// A point of a curve as the file holds it.
struct TPlotPoint {
    double X = 0;
    double Y = 0;
};

// One t-z curve: its depth and its points (X movement z, Y unit load
// transfer t).
struct TPlotTZCurve {
    double Depth = 0;
    std::vector<TPlotPoint> Points;
};

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
    // Unit system the file was written in.
    UnitSystem Units = UnitSystem::English;
    int Increments = 0;
    std::vector<TPlotTZCurve> TZCurves;
    // The tip resistance curve used by the run (X tip load Q, Y tip
    // movement w).
    std::vector<TPlotPoint> QWCurve;
    // One load distribution per assumed tip movement, in input order.
    std::vector<std::vector<TDistributionPoint>> Distributions;
    // The load-settlement curve, one row per assumed tip movement.
    std::vector<TLoadSettlementRow> LoadSettlement;
    // Pile-head load cases, in the order of the loads (empty without them).
    std::vector<TLoadSettlementRow> LoadCases;
};

// Reads a whole plot data file; throws EInOutError (with the reader's
// message) when it cannot be opened, holds a word that is not a number, ends
// before its counts are satisfied, holds a count larger than the file could
// hold (so that a damaged count never exhausts memory) or a partial
// load-case row.
TPlotData ReadPlotData(const std::string& fileName);
