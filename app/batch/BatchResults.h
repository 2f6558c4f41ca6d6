#pragma once

// Results of one project run by korven-run: the engine's status, the files,
// the load-settlement points and load cases of the plot data file and the
// capacity read-outs, as JSON and CSV.

#include "CapacityReadouts.h"
#include "AnalysisRun.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct TProjectResult {
    std::filesystem::path Project;
    TRunFiles Files;
    int32_t Status = 0;
    // The plot data file was read; otherwise Error says why.
    bool HaveResults = false;
    TPlotData Data;
    TPileForReadouts Pile;
    TCapacityReadouts Readouts;
    std::string Error;
};

// The results of a run of a saved project, with the project read again for
// the read-outs.
TProjectResult CollectResults(const TRunOutcome& outcome);

nlohmann::json ResultJson(const TProjectResult& result);

// The load-settlement rows (or the load cases) as CSV with a heading line
// naming each column and its unit, and a last column with each row's flag
// (a load case beyond the computed curve keeps only its load).
std::string RowsCsv(const std::vector<TLoadSettlementRow>& rows, const std::vector<TRowFlag>& flags, UnitSystem units);

// Writes "<project>.load-settlement.csv" and, when the run had pile-head
// loads, "<project>.load-cases.csv" beside the project; returns the paths
// written. std::filesystem::filesystem_error when a file cannot be written.
std::vector<std::filesystem::path> WriteCsvFiles(const TProjectResult& result);
