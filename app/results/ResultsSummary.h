#pragma once

// The read-outs of a project's last run as rows of text, for the Results
// Summary window, the printable report and the command-line tools.

#include "CapacityReadouts.h"

#include <string>
#include <vector>

class TProgramData;

// The pile of the project as the read-outs need it: length, diameter, the
// AE table and the down-drag switch, in the project's units.
TPileForReadouts PileForReadouts(const TProgramData& project);

// A value with four significant digits in plain notation ("174800",
// "0.3665", "1.094"), or in exponent form when that would need more than
// seven integer digits or less than 0.001 in magnitude.
std::string QuantityText(double value);

// Why a read-out is not applicable ("no computed head load is compressive"),
// or empty when it is.
std::string NotApplicableText(const TReadout& readout, UnitSystem units);

struct TSummaryRow {
    std::string Criterion;
    std::string Load;        // with its unit, "not reached" or "not applicable"
    std::string Settlement;  // with its unit, a flag, or empty
};

// The rows in their order: 10 % of the diameter, Davisson's limit, the
// largest computed load, each followed by its value with the tip load held
// where it uses rows beyond the Q-w curve, then one row per case for
// down-drag runs.
std::vector<TSummaryRow> SummaryRows(const TCapacityReadouts& readouts, const TPileForReadouts& pile);

// One row per pile-head load case: its load and the head's movement, or its
// flag instead of the engine's numbers for a load beyond the computed curve.
std::vector<TSummaryRow> LoadCaseRows(const TPlotData& data, const TCapacityReadouts& readouts);

// Lines under the rows: read-outs not applicable and why, rows beyond the
// Q-w curve, load cases beyond the computed curve, how AE was found, the
// offset line, uplift.
std::vector<std::string> SummaryNotes(const TCapacityReadouts& readouts, const TPileForReadouts& pile);
