#include "AnalysisRun.h"

#include "WordReader.h"

#include <new>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

TAnalysisRun::TAnalysisRun(fs::path library) : FLibrary(library.string()) {}

void TAnalysisRun::Open()
{
    if (!FEntry)
        FEntry = OpenEngine(FLibrary);
}

TRunOutcome TAnalysisRun::Run(const fs::path& projectFile)
{
    TRunOutcome outcome;
    outcome.Files = TRunFiles::ForProject(projectFile);
    std::optional<TPrivateFolder> folder;
    try {
        folder.emplace();
    } catch (const ERunError& error) {
        outcome.Error = error.what();
        return outcome;
    }
    if (!WriteNamesFile(folder->Path(), outcome.Files)) {
        outcome.Step = TRunStep::NoNamesFile;
        outcome.Error = "cannot write " + (folder->Path() / kNamesFileName).string();
        return outcome;
    }
    try {
        Open();
    } catch (const ELibraryError& error) {
        outcome.Step = TRunStep::NoLibrary;
        outcome.Error = error.what();
        return outcome;
    }
    try {
        const TPointDecimalSeparator point;
        outcome.Status = CallInFolder(FEntry, folder->Path());
    } catch (const fs::filesystem_error& error) {
        outcome.Error = error.what();
        return outcome;
    }
    return RanOutcome(outcome.Files, outcome.Status);
}

TRunOutcome RanOutcome(const TRunFiles& files, int32_t status)
{
    TRunOutcome outcome;
    outcome.Step = TRunStep::Ran;
    outcome.Status = status;
    outcome.Files = files;
    if (status == korven::kOutputNotWritten)
        outcome.ReadError = "the results could not be written";
    else
        outcome.Results = ReadRunResults(files.Plot, outcome.ReadError);
    return outcome;
}

std::optional<TPlotData> ReadRunResults(const fs::path& plotFile, std::string& error)
{
    std::error_code missing;
    if (!fs::exists(plotFile, missing)) {
        error = "no plot data file " + plotFile.string();
        return std::nullopt;
    }
    try {
        return ReadPlotData(plotFile.string());
    } catch (const EInOutError& failure) {
        error = failure.what();
    } catch (const std::bad_alloc& failure) {
        // Counts that each fit the file but together ask for more than
        // memory holds.
        error = failure.what();
    }
    return std::nullopt;
}
