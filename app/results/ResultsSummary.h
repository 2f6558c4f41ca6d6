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

struct TSummaryRow {
    std::string Criterion;
    std::string Load;        // with its unit, or "not reached"
    std::string Settlement;  // with its unit, or empty
};

// The rows in their order: 10 % of the diameter, Davisson's limit, the
// largest computed load, then one row per case for down-drag runs.
std::vector<TSummaryRow> SummaryRows(const TCapacityReadouts& readouts, const TPileForReadouts& pile);

// Lines under the rows: how AE was found, the offset line, uplift.
std::vector<std::string> SummaryNotes(const TCapacityReadouts& readouts, const TPileForReadouts& pile);
