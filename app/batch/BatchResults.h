#pragma once

// Results of one project run by korven-run: the engine's status, the files,
// the load-settlement points and load cases of the plot data file and the
// capacity read-outs, as JSON and CSV.

#include "CapacityReadouts.h"
#include "EngineRun.h"
#include "PlotData.h"

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

// Reads the project and the plot data file of a finished run.
TProjectResult CollectResults(const std::filesystem::path& project, const TRunFiles& files, int32_t status);

nlohmann::json ResultJson(const TProjectResult& result);

// The load-settlement rows (or the load cases) as CSV with a heading line
// naming each column and its unit.
std::string RowsCsv(const std::vector<TLoadSettlementRow>& rows, int units);

// Writes "<project>.load-settlement.csv" and, when the run had pile-head
// loads, "<project>.load-cases.csv" beside the project; returns the paths
// written. std::filesystem::filesystem_error when a file cannot be written.
std::vector<std::filesystem::path> WriteCsvFiles(const TProjectResult& result);
