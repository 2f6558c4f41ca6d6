#pragma once

// One analysis run of a saved project, the way the program's Run Analysis,
// korven-report and korven-run all make it: the names file in a private
// folder, the engine library loaded, its entry called there, the status
// taken, and the plot data file read once into the results every window,
// report and export then share. Plain C++, no Qt.
//
//   TAnalysisRun run(EngineLibraryIn(programFolder));
//   const TRunOutcome outcome = run.Run("/data/pile.kv3d");
//   if (outcome.Step == TRunStep::Ran && outcome.Results) ...

#include "EngineRun.h"
#include "PlotData.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// How far a run got.
enum class TRunStep {
    NoFolder,     // no private folder, or it could not be entered
    NoNamesFile,  // the names file could not be written
    NoLibrary,    // the engine library could not be loaded or has no entry
    Ran,          // the engine was called and returned Status
};

struct TRunOutcome {
    TRunStep Step = TRunStep::NoFolder;
    // What stopped a run before the call, for the user.
    std::string Error;
    int32_t Status = 0;
    TRunFiles Files;
    // The plot data file as read after the call; empty when the run could
    // not write its results (the files on disk are a previous run's) or the
    // file could not be read, and then ReadError says why.
    std::optional<TPlotData> Results;
    std::string ReadError;
};

class TAnalysisRun {
public:
    // `library` is the engine library's path; it is loaded by the first run
    // (or Open) and stays loaded until the object goes.
    explicit TAnalysisRun(std::filesystem::path library);

    // Loads the library and looks up its entry; ELibraryError on failure.
    void Open();
    // Runs the engine on the saved project file `projectFile` (taken as it
    // is, absolute or relative to the current folder), with the point as
    // the decimal separator during the call.
    TRunOutcome Run(const std::filesystem::path& projectFile);

private:
    TDynamicLibrary FLibrary;
    TEngineEntry FEntry = nullptr;
};

// The outcome of a run that returned `status` on `files`: the plot data read
// unless the run could not write them. For runs made another way (the
// in-memory core on several threads).
TRunOutcome RanOutcome(const TRunFiles& files, int32_t status);

// The plot data file of a run when it can be read; otherwise empty, with the
// reader's message in `error`.
std::optional<TPlotData> ReadRunResults(const std::filesystem::path& plotFile, std::string& error);
