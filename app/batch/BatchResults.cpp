#include "BatchResults.h"

#include "ProgramData.h"
#include "ResultsSummary.h"
#include "WordReader.h"

#include <cstdio>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

json RowJson(const TLoadSettlementRow& row)
{
    return {{"top_load", row.TopLoad},
            {"top_movement", row.TopMovement},
            {"tip_movement", row.TipMovement},
            {"tip_load", row.TipLoad}};
}

json RowsJson(const std::vector<TLoadSettlementRow>& rows)
{
    json list = json::array();
    for (const TLoadSettlementRow& row : rows)
        list.push_back(RowJson(row));
    return list;
}

json ReadoutJson(const TReadout& readout)
{
    if (!readout.Reached)
        return {{"reached", false}};
    return {{"reached", true}, {"load", readout.Load}, {"settlement", readout.Settlement}};
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

json ReadoutsJson(const TCapacityReadouts& readouts)
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
    return {{"ten_percent_diameter", ReadoutJson(readouts.TenPercentDiameter)},
            {"ten_percent_settlement", readouts.TenPercentSettlement},
            {"davisson", ReadoutJson(readouts.Davisson)},
            {"davisson_offset", readouts.DavissonOffset},
            {"equivalent_ae", readouts.EquivalentAE},
            {"stiffness", StiffnessKey(readouts.Stiffness)},
            {"largest", ReadoutJson(readouts.Largest)},
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

TProjectResult CollectResults(const fs::path& project, const TRunFiles& files, int32_t status)
{
    TProjectResult result;
    result.Project = project;
    result.Files = files;
    result.Status = status;
    try {
        result.Data = ReadPlotData(files.Plot.string());
        result.HaveResults = true;
    } catch (const EInOutError& error) {
        result.Error = std::string("plot data not read: ") + error.what();
        return result;
    }

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
    const int units = result.Data.Units;
    entry["units"] = {
        {"system", units == 2 ? "SI" : "English"}, {"force", ForceUnitText(units)}, {"length", LengthUnitText(units)}};
    entry["load_settlement"] = RowsJson(result.Data.LoadSettlement);
    entry["load_cases"] = RowsJson(result.Data.LoadCases);
    if (result.Error.empty())
        entry["readouts"] = ReadoutsJson(result.Readouts);
    else
        entry["error"] = result.Error;
    return entry;
}

std::string RowsCsv(const std::vector<TLoadSettlementRow>& rows, int units)
{
    const std::string force = ForceUnitText(units), length = LengthUnitText(units);
    std::string text = "Top load (" + force + "),Top movement (" + length + "),Tip movement (" + length +
                       "),Tip load (" + force + ")\n";
    char line[128];
    for (const TLoadSettlementRow& row : rows) {
        std::snprintf(line, sizeof line, "%.9g,%.9g,%.9g,%.9g\n", row.TopLoad, row.TopMovement, row.TipMovement,
                      row.TipLoad);
        text += line;
    }
    return text;
}

std::vector<fs::path> WriteCsvFiles(const TProjectResult& result)
{
    std::vector<fs::path> written;
    if (!result.HaveResults)
        return written;
    written.push_back(CsvBeside(result.Project, ".load-settlement.csv"));
    WriteFile(written.back(), RowsCsv(result.Data.LoadSettlement, result.Data.Units));
    if (!result.Data.LoadCases.empty()) {
        written.push_back(CsvBeside(result.Project, ".load-cases.csv"));
        WriteFile(written.back(), RowsCsv(result.Data.LoadCases, result.Data.Units));
    }
    return written;
}
