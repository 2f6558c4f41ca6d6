#include "BatchResults.h"

#include "ProgramData.h"
#include "ResultsSummary.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// A row as the engine wrote it; a load case beyond the computed curve keeps
// only its load, for the engine's other numbers are no results.
json RowJson(const TLoadSettlementRow& row, TRowFlag flag)
{
    json entry = {{"top_load", row.TopLoad},
                  {"top_movement", row.TopMovement},
                  {"tip_movement", row.TipMovement},
                  {"tip_load", row.TipLoad}};
    if (flag == TRowFlag::BeyondCurve)
        for (const char* key : {"top_movement", "tip_movement", "tip_load"})
            entry[key] = nullptr;
    entry["flag"] = flag == TRowFlag::None ? json(nullptr) : json(RowFlagText(flag));
    return entry;
}

json RowsJson(const std::vector<TLoadSettlementRow>& rows, const std::vector<TRowFlag>& flags)
{
    json list = json::array();
    for (std::size_t i = 0; i < rows.size(); ++i)
        list.push_back(RowJson(rows[i], i < flags.size() ? flags[i] : TRowFlag::None));
    return list;
}

json PointJson(const TReadPoint& point)
{
    if (!point.Reached)
        return {{"reached", false}};
    return {{"reached", true}, {"load", point.Load}, {"settlement", point.Settlement}};
}

json ReadoutJson(const TReadout& readout, UnitSystem units)
{
    if (readout.NotApplicable != TNotApplicable::No)
        return {{"reached", false}, {"not_applicable", NotApplicableText(readout, units)}};
    json entry = PointJson(readout);
    if (readout.UsesRowsBeyondQw)
        entry["tip_load_held"] = PointJson(readout.Held);
    return entry;
}

const char* StiffnessKey(TStiffnessSource source)
{
    switch (source) {
    case TStiffnessSource::Constant: return "constant";
    case TStiffnessSource::HarmonicMean: return "harmonic_mean";
    case TStiffnessSource::Unavailable: break;
    }
    return "unavailable";
}

json ReadoutsJson(const TCapacityReadouts& readouts, UnitSystem units)
{
    json planes = json::array();
    for (std::size_t i = 0; i < readouts.NeutralPlanes.size(); ++i) {
        const TNeutralPlane& plane = readouts.NeutralPlanes[i];
        planes.push_back({{"case", i + 1},
                          {"depth", plane.Depth},
                          {"peak_load", plane.PeakLoad},
                          {"head_load", plane.HeadLoad},
                          {"drag_load", plane.DragLoad}});
    }
    return {{"ten_percent_diameter", ReadoutJson(readouts.TenPercentDiameter, units)},
            {"ten_percent_settlement", readouts.TenPercentSettlement},
            {"davisson", ReadoutJson(readouts.Davisson, units)},
            {"davisson_offset", readouts.DavissonOffset},
            {"equivalent_ae", readouts.EquivalentAE},
            {"stiffness", StiffnessKey(readouts.Stiffness)},
            {"largest", ReadoutJson(readouts.Largest, units)},
            {"uplift", readouts.Uplift},
            {"neutral_planes", planes}};
}

fs::path CsvBeside(const fs::path& project, const char* suffix) { return fs::path(project).replace_extension(suffix); }

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (file.fail())
        throw fs::filesystem_error("cannot write", path, std::make_error_code(std::errc::io_error));
}

}  // namespace

TProjectResult CollectResults(const TRunOutcome& outcome)
{
    TProjectResult result;
    const TRunFiles& files = outcome.Files;
    result.Project = files.Input;
    result.Files = files;
    result.Status = outcome.Status;
    if (!outcome.Results) {
        result.Error = "plot data not read: " + outcome.ReadError;
        return result;
    }
    result.Data = *outcome.Results;
    result.HaveResults = true;

    TProjectTables tables;
    std::string error;
    const bool fullFormat = files.Input.extension() != ".kvd";
    const auto data = TProgramData::CreateFromFile(tables, files.Input.string(), fullFormat, error);
    if (!error.empty() || !data) {
        result.Error = "project not read: " + error;
        return result;
    }
    result.Pile = PileForReadouts(*data);
    result.Readouts = ComputeReadouts(result.Data, result.Pile);
    return result;
}

json ResultJson(const TProjectResult& result)
{
    json entry = {{"project", result.Project.string()},
                  {"status", result.Status},
                  {"status_meaning", EngineStatusMeaning(result.Status)},
                  {"files",
                   {{"input", result.Files.Input.string()},
                    {"report", result.Files.Report.string()},
                    {"plot", result.Files.Plot.string()},
                    {"notes", result.Files.Notes.string()}}}};
    if (!result.HaveResults) {
        entry["error"] = result.Error;
        return entry;
    }
    const UnitSystem units = result.Data.Units;
    entry["units"] = {
        {"system", units == UnitSystem::SI ? "SI" : "English"}, {"force", ForceUnitText(units)}, {"length", LengthUnitText(units)}};
    entry["load_settlement"] = RowsJson(result.Data.LoadSettlement, LoadSettlementFlags(result.Data));
    entry["load_cases"] = RowsJson(result.Data.LoadCases, LoadCaseFlags(result.Data));
    if (result.Error.empty())
        entry["readouts"] = ReadoutsJson(result.Readouts, units);
    else
        entry["error"] = result.Error;
    return entry;
}

std::string RowsCsv(const std::vector<TLoadSettlementRow>& rows, const std::vector<TRowFlag>& flags, UnitSystem units)
{
    const std::string force = ForceUnitText(units), length = LengthUnitText(units);
    std::string text = "Top load (" + force + "),Top movement (" + length + "),Tip movement (" + length +
                       "),Tip load (" + force + "),Note\n";
    char line[160];
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TLoadSettlementRow& row = rows[i];
        const TRowFlag flag = i < flags.size() ? flags[i] : TRowFlag::None;
        if (flag == TRowFlag::BeyondCurve)
            std::snprintf(line, sizeof line, "%.9g,,,,", row.TopLoad);
        else
            std::snprintf(line, sizeof line, "%.9g,%.9g,%.9g,%.9g,", row.TopLoad, row.TopMovement, row.TipMovement,
                          row.TipLoad);
        text += line + RowFlagText(flag) + "\n";
    }
    return text;
}

std::vector<fs::path> WriteCsvFiles(const TProjectResult& result)
{
    std::vector<fs::path> written;
    if (!result.HaveResults)
        return written;
    written.push_back(CsvBeside(result.Project, ".load-settlement.csv"));
    WriteFile(written.back(), RowsCsv(result.Data.LoadSettlement, LoadSettlementFlags(result.Data), result.Data.Units));
    if (!result.Data.LoadCases.empty()) {
        written.push_back(CsvBeside(result.Project, ".load-cases.csv"));
        WriteFile(written.back(), RowsCsv(result.Data.LoadCases, LoadCaseFlags(result.Data), result.Data.Units));
    }
    return written;
}
