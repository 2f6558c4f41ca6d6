#include "Analysis.h"

#include "CapacityReadouts.h"
#include "EngineRun.h"

#include <korven/Core.h>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

namespace py = pybind11;

namespace {

// Statuses of input the engine refuses before computing anything.
bool Refused(int32_t status) { return status >= korven::kNamesFileUnreadable; }

struct TAnalysis {
    korven::ReadResult Read;
    korven::Outcome Outcome;
    TCapacityReadouts Readouts;
    int32_t Status = korven::kCompleted;
    std::optional<korven::Written> Files;
};

// The pile of the read-outs, as the engine read it.
TPileForReadouts PileOf(const korven::Problem& problem)
{
    TPileForReadouts pile;
    pile.Units = UnitSystemFromCode(problem.units);
    pile.Length = problem.pileLength;
    pile.Diameter = problem.diameter;
    pile.Downdrag = problem.settlement.count > 0;
    for (int i = 0; i < problem.stiffness.count; ++i) {
        pile.AEDepths.push_back(problem.stiffness.depth[i]);
        pile.AEValues.push_back(problem.stiffness.value[i]);
    }
    return pile;
}

TLoadSettlementRow RowOf(const korven::LoadSettlementRow& row)
{
    return {row.topLoad, row.topMovement, row.tipMovement, row.tipLoad};
}

// The outcome as the plot data file gives it to the read-outs, without the
// rounding of the file's print (distributions as solved, also upward).
TPlotData PlotDataOf(const korven::Problem& problem, const korven::Outcome& outcome)
{
    TPlotData data;
    data.Units = UnitSystemFromCode(problem.units);
    data.Increments = problem.increments;
    for (const korven::Distribution& case_ : outcome.distributions) {
        auto& points = data.Distributions.emplace_back();
        for (const korven::MidDepth& mid : case_.increments)
            points.push_back({mid.depth, mid.load, mid.movement});
    }
    for (const korven::LoadSettlementRow& row : outcome.loadSettlement)
        data.LoadSettlement.push_back(RowOf(row));
    for (const korven::LoadSettlementRow& row : outcome.loadCases)
        data.LoadCases.push_back(RowOf(row));
    return data;
}

// The report's heading names the files a run of `inputPath` writes, and now;
// the version as the entry reads it from the names file, 12 characters.
korven::RunLabels LabelsFor(const std::string& inputPath)
{
    const TRunFiles files = TRunFiles::ForProject(std::filesystem::absolute(inputPath));
    std::string version = kNamesFileVersion;
    version.resize(12, ' ');
    korven::RunLabels labels{version, files.Input.string(), files.Report.string(), files.Plot.string(), {}};
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &labels.time);
    return labels;
}

TAnalysis Analyse(const std::string& text, const korven::RunLabels* labels)
{
    TAnalysis analysis;
    analysis.Read = korven::Read(text);
    analysis.Status = analysis.Read.status;
    if (analysis.Status == korven::kCompleted) {
        analysis.Outcome = korven::Analyse(analysis.Read.problem);
        analysis.Status = analysis.Outcome.status;
    }
    if (analysis.Status == korven::kCompleted)
        analysis.Readouts =
            ComputeReadouts(PlotDataOf(analysis.Read.problem, analysis.Outcome), PileOf(analysis.Read.problem));
    if (labels)
        analysis.Files = korven::Write(*labels, analysis.Read, analysis.Outcome);
    return analysis;
}

py::array_t<double> Vector(const std::vector<double>& values)
{
    return py::array_t<double>(static_cast<py::ssize_t>(values.size()), values.data());
}

template <class T, std::size_t N>
py::array_t<double> Vector(const std::array<T, N>& values, int count)
{
    return Vector(std::vector<double>(values.begin(), values.begin() + std::clamp<int>(count, 0, N)));
}

py::array_t<double> Rows(const std::vector<korven::LoadSettlementRow>& rows)
{
    py::array_t<double> array({static_cast<py::ssize_t>(rows.size()), py::ssize_t{4}});
    auto cells = array.mutable_unchecked<2>();
    for (py::ssize_t i = 0; i < cells.shape(0); ++i) {
        const korven::LoadSettlementRow& row = rows[i];
        cells(i, 0) = row.topLoad;
        cells(i, 1) = row.topMovement;
        cells(i, 2) = row.tipMovement;
        cells(i, 3) = row.tipLoad;
    }
    return array;
}

py::dict DistributionOf(const korven::Distribution& case_)
{
    std::vector<double> depth, transfer, loadIncrement, load, deformation, movement;
    for (const korven::MidDepth& mid : case_.increments) {
        depth.push_back(mid.depth);
        transfer.push_back(mid.transfer);
        loadIncrement.push_back(mid.loadIncrement);
        load.push_back(mid.load);
        deformation.push_back(mid.deformation);
        movement.push_back(mid.movement);
    }
    py::dict values;
    values["tip_movement"] = case_.tipMovement;
    values["tip_load"] = case_.tipLoad;
    values["upward"] = case_.upward;
    values["depth"] = Vector(depth);
    values["transfer"] = Vector(transfer);
    values["load_increment"] = Vector(loadIncrement);
    values["load"] = Vector(load);
    values["deformation"] = Vector(deformation);
    values["movement"] = Vector(movement);
    values["node_load"] = Vector(std::vector<double>(case_.nodeLoad.begin(), case_.nodeLoad.end()));
    values["node_movement"] = Vector(std::vector<double>(case_.nodeMovement.begin(), case_.nodeMovement.end()));
    return values;
}

py::tuple ReadoutOf(const TReadout& readout)
{
    return py::make_tuple(readout.Reached, readout.Load, readout.Settlement);
}

py::dict ReadoutsOf(const TCapacityReadouts& readouts)
{
    py::dict values;
    values["uplift"] = readouts.Uplift;
    values["ten_percent_diameter"] = ReadoutOf(readouts.TenPercentDiameter);
    values["davisson"] = ReadoutOf(readouts.Davisson);
    values["largest"] = ReadoutOf(readouts.Largest);
    values["equivalent_ae"] = readouts.EquivalentAE;
    values["stiffness_source"] = StiffnessSourceText(readouts.Stiffness);
    values["ten_percent_settlement"] = readouts.TenPercentSettlement;
    values["davisson_offset"] = readouts.DavissonOffset;
    py::list planes;
    for (const TNeutralPlane& plane : readouts.NeutralPlanes)
        planes.append(py::make_tuple(plane.Depth, plane.PeakLoad, plane.HeadLoad, plane.DragLoad));
    values["neutral_planes"] = planes;
    return values;
}

}  // namespace

py::dict AnalyzeText(const std::string& text, bool writeFiles, const std::string& inputPath)
{
    const std::optional<korven::RunLabels> labels =
        writeFiles ? std::optional(LabelsFor(inputPath)) : std::nullopt;
    TAnalysis analysis;
    {
        const py::gil_scoped_release unlocked;
        analysis = Analyse(text, labels ? &*labels : nullptr);
    }
    const korven::Outcome& outcome = analysis.Outcome;
    const bool read = analysis.Read.status == korven::kCompleted;
    py::dict result;
    result["status"] = analysis.Status;
    result["meaning"] = EngineStatusMeaning(analysis.Status);
    result["message"] = read ? outcome.message : analysis.Read.message;
    py::list warnings;
    for (const korven::Warning& warning : read ? outcome.warnings : analysis.Read.warnings)
        warnings.append(py::make_tuple(warning.status, warning.depth, warning.input));
    result["warnings"] = warnings;
    result["report"] = analysis.Files ? py::object(py::bytes(analysis.Files->report)) : py::none();
    result["plot"] = analysis.Files ? py::object(py::bytes(analysis.Files->plot)) : py::none();
    if (Refused(analysis.Status))
        return result;

    const korven::Problem& problem = analysis.Read.problem;
    result["units"] = problem.units;
    result["load_settlement"] = Rows(outcome.loadSettlement);
    result["load_cases"] = Rows(outcome.loadCases);
    py::list distributions;
    for (const korven::Distribution& case_ : outcome.distributions)
        distributions.append(DistributionOf(case_));
    result["distributions"] = distributions;
    py::list curves;
    for (const korven::TzCurve& curve : outcome.curvesUsed)
        curves.append(py::make_tuple(curve.number, curve.depth, Vector(curve.t, curve.points),
                                     Vector(curve.z, curve.points)));
    result["tz_curves_used"] = curves;
    const korven::QwCurve& tip = outcome.tipCurveUsed;
    result["qw_curve_used"] = py::make_tuple(Vector(tip.load, tip.points), Vector(tip.movement, tip.points));
    result["readouts"] = analysis.Status == korven::kCompleted ? py::object(ReadoutsOf(analysis.Readouts)) : py::none();
    return result;
}
