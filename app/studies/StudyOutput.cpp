#include "StudyOutput.h"

#include "EngineRun.h"
#include "StudyInputs.h"

#include <cmath>
#include <cstdio>

using nlohmann::json;

namespace {

json Number(double value) { return std::isfinite(value) ? json(value) : json(nullptr); }

std::string Cell(double value)
{
    if (!std::isfinite(value))
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// A CSV text cell: quoted when it holds a separator or a quote.
std::string TextCell(const std::string& text)
{
    if (text.find_first_of(",\"\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Line(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i)
        line += (i ? "," : "") + cells[i];
    return line + "\n";
}

json UnitsJson(UnitSystem units)
{
    return {{"system", units == UnitSystem::SI ? "SI" : "English"},
            {"force", ForceUnitText(units)},
            {"length", LengthUnitText(units)}};
}

std::string Meaning(const TStudyRun& run)
{
    return run.Status == RefusedValue ? "a value the study cannot analyse" : EngineStatusMeaning(run.Status);
}

json StatusJson(const TStudyRun& run)
{
    json status = {{"status", run.Status}};
    if (!run.Analysed())
        status.update({{"status_meaning", Meaning(run)}, {"message", run.Message}});
    return status;
}

json ReadoutJson(const TReadout& readout)
{
    if (!readout.Reached)
        return {{"reached", false}};
    return {{"reached", true}, {"load", readout.Load}, {"settlement", readout.Settlement}};
}

json RowsJson(const std::vector<TLoadSettlementRow>& rows)
{
    json list = json::array();
    for (const TLoadSettlementRow& row : rows)
        list.push_back({{"top_load", row.TopLoad},
                        {"top_movement", row.TopMovement},
                        {"tip_movement", row.TipMovement},
                        {"tip_load", row.TipLoad}});
    return list;
}

std::array<double, 2> ReadoutCells(const TReadout& readout)
{
    return readout.Reached ? std::array<double, 2>{readout.Load, readout.Settlement}
                           : std::array<double, 2>{NAN, NAN};
}

json PercentilesJson(const std::array<double, 3>& values)
{
    json out = json::object();
    for (std::size_t p = 0; p < BandPercentiles.size(); ++p)
        out[std::to_string(static_cast<int>(std::lround(BandPercentiles[p] * 100)))] = Number(values[p]);
    return out;
}

std::string PercentHeading(const std::string& what, double p, const std::string& unit)
{
    return what + " " + std::to_string(static_cast<int>(std::lround(p * 100))) + " % (" + unit + ")";
}

}  // namespace

json ParametricJson(const TStudy& study, const TParametricResult& result, UnitSystem units)
{
    const auto& parametric = std::get<TParametricStudy>(study.Definition);
    json steps = json::array();
    int refused = 0;
    for (std::size_t i = 0; i < result.Runs.size(); ++i) {
        const TStudyRun& run = result.Runs[i];
        json step = {{"value", result.Values[i]}};
        step.update(StatusJson(run));
        if (run.Analysed()) {
            json headLoads = json::array();
            for (std::size_t h = 0; h < run.LoadCases.size(); ++h)
                headLoads.push_back({{"load", run.LoadCases[h].TopLoad}, {"settlement", Number(HeadLoadSettlement(run, h))}});
            step.update({{"ten_percent_diameter", ReadoutJson(run.Readouts.TenPercentDiameter)},
                         {"davisson", ReadoutJson(run.Readouts.Davisson)},
                         {"head_loads", headLoads},
                         {"load_settlement", RowsJson(run.LoadSettlement)}});
        } else {
            ++refused;
        }
        steps.push_back(step);
    }
    return {{"study", StudyToJson(study)},
            {"units", UnitsJson(units)},
            {"input", InputLabel(parametric.Input, units)},
            {"cancelled", result.Cancelled},
            {"analyses", result.Runs.size()},
            {"refused", refused},
            {"steps", steps}};
}

json ProbabilisticJson(const TStudy& study, const TProbabilisticResult& result, const TProbabilisticSummary& summary,
                       UnitSystem units)
{
    const auto& probabilistic = std::get<TProbabilisticStudy>(study.Definition);
    json inputs = json::array();
    for (std::size_t j = 0; j < probabilistic.Inputs.size(); ++j)
        inputs.push_back({{"label", InputLabel(probabilistic.Inputs[j].Input, units)},
                          {"median", result.Medians[j]},
                          {"quantile_5", result.SwingValues[j][0]},
                          {"quantile_95", result.SwingValues[j][1]}});
    json refusals = json::array();
    for (std::size_t i = 0; i < result.Runs.size(); ++i)
        if (!result.Runs[i].Analysed()) {
            json entry = {{"realisation", i + 1}, {"values", result.Samples[i]}};
            entry.update(StatusJson(result.Runs[i]));
            refusals.push_back(entry);
        }
    json bands = json::array();
    for (const TBandPoint& point : summary.Bands)
        bands.push_back({{"load", point.Load}, {"settlement", PercentilesJson(point.Settlement)}});
    json readouts = json::array();
    for (const TReadoutDistribution& d : summary.Readouts)
        readouts.push_back({{"key", d.Key},
                            {"name", d.Name},
                            {"unit", d.Unit},
                            {"count", d.Count},
                            {"beyond_curve", d.Beyond},
                            {"mean", Number(d.Mean)},
                            {"standard_deviation", Number(d.StandardDeviation)},
                            {"percentiles", PercentilesJson(d.Percentiles)},
                            {"histogram", {{"edges", d.HistogramEdges}, {"counts", d.HistogramCounts}}}});
    json sensitivities = json::array();
    for (const TSensitivity& s : summary.Sensitivities)
        sensitivities.push_back({{"input", InputLabel(probabilistic.Inputs[s.Input].Input, units)},
                                 {"values", {s.Values[0], s.Values[1]}},
                                 {"settlements", {Number(s.Settlements[0]), Number(s.Settlements[1])}},
                                 {"swing", Number(s.Swing)},
                                 {"rank_correlation", s.RankCorrelation}});
    json out = {{"study", StudyToJson(study)},
                {"units", UnitsJson(units)},
                {"inputs", inputs},
                {"cancelled", result.Cancelled},
                {"realisations", result.Runs.size()},
                {"analysed", summary.Analysed},
                {"refused", summary.Refused},
                {"refusals", refusals},
                {"bands", bands},
                {"readouts", readouts},
                {"sensitivity", {{"median_settlement", Number(summary.MedianSettlement)}, {"inputs", sensitivities}}}};
    if (summary.Exceedance) {
        const TExceedance& e = *summary.Exceedance;
        out["exceedance"] = {{"load", e.Load},
                             {"limit", e.Limit},
                             {"count", e.Count},
                             {"exceeding", e.Exceeding},
                             {"probability", e.Probability},
                             {"standard_error", e.StandardError}};
    }
    return out;
}

TCsvTables ParametricCsv(const TParametricStudy& study, const TParametricResult& result, UnitSystem units)
{
    const std::string force = ForceUnitText(units), length = LengthUnitText(units);
    const std::string value = TextCell(InputLabel(study.Input, units));
    std::size_t headLoads = 0;
    for (const TStudyRun& run : result.Runs)
        headLoads = std::max(headLoads, run.LoadCases.size());

    std::vector<std::string> heading{value,
                                     "Status",
                                     "Load at 10 % of the diameter (" + force + ")",
                                     "Settlement at 10 % of the diameter (" + length + ")",
                                     "Load at Davisson's limit (" + force + ")",
                                     "Settlement at Davisson's limit (" + length + ")"};
    for (std::size_t h = 0; h < headLoads; ++h)
        heading.push_back("Settlement under pile-head load " + std::to_string(h + 1) + " (" + length + ")");
    std::string steps = Line(heading);
    std::string curves = Line({value, "Top load (" + force + ")", "Top movement (" + length + ")",
                               "Tip movement (" + length + ")", "Tip load (" + force + ")"});
    for (std::size_t i = 0; i < result.Runs.size(); ++i) {
        const TStudyRun& run = result.Runs[i];
        const auto tenPercent = ReadoutCells(run.Readouts.TenPercentDiameter);
        const auto davisson = ReadoutCells(run.Readouts.Davisson);
        std::vector<std::string> cells{Cell(result.Values[i]), std::to_string(run.Status)};
        for (double v : {tenPercent[0], tenPercent[1], davisson[0], davisson[1]})
            cells.push_back(run.Analysed() ? Cell(v) : "");
        for (std::size_t h = 0; h < headLoads; ++h)
            cells.push_back(Cell(HeadLoadSettlement(run, h)));
        steps += Line(cells);
        for (const TLoadSettlementRow& row : run.LoadSettlement)
            curves += Line({Cell(result.Values[i]), Cell(row.TopLoad), Cell(row.TopMovement), Cell(row.TipMovement),
                            Cell(row.TipLoad)});
    }
    return {{"steps", steps}, {"curves", curves}};
}

TCsvTables ProbabilisticCsv(const TProbabilisticStudy& study, const TProbabilisticResult& result,
                            const TProbabilisticSummary& summary, UnitSystem units)
{
    const std::string force = ForceUnitText(units), length = LengthUnitText(units);
    TCsvTables tables;

    std::vector<std::string> heading{"Realisation"};
    for (const TRandomInput& input : study.Inputs)
        heading.push_back(TextCell(InputLabel(input.Input, units)));
    heading.insert(heading.end(), {"Status", "Load at 10 % of the diameter (" + force + ")",
                                   "Load at Davisson's limit (" + force + ")",
                                   "Settlement under the study load (" + length + ")"});
    std::string samples = Line(heading);
    for (std::size_t i = 0; i < result.Runs.size(); ++i) {
        const TStudyRun& run = result.Runs[i];
        std::vector<std::string> cells{std::to_string(i + 1)};
        for (double v : result.Samples[i])
            cells.push_back(Cell(v));
        cells.push_back(std::to_string(run.Status));
        if (run.Analysed()) {
            cells.push_back(Cell(ReadoutCells(run.Readouts.TenPercentDiameter)[0]));
            cells.push_back(Cell(ReadoutCells(run.Readouts.Davisson)[0]));
            cells.push_back(Cell(run.StudySettlement));
        } else {
            cells.insert(cells.end(), 3, "");
        }
        samples += Line(cells);
    }
    tables.emplace_back("samples", samples);

    std::vector<std::string> bandHeading{"Load (" + force + ")"};
    for (double p : BandPercentiles)
        bandHeading.push_back(PercentHeading("Settlement", p, length));
    std::string bands = Line(bandHeading);
    for (const TBandPoint& point : summary.Bands)
        bands += Line({Cell(point.Load), Cell(point.Settlement[0]), Cell(point.Settlement[1]), Cell(point.Settlement[2])});
    tables.emplace_back("bands", bands);

    std::string readouts =
        Line({"Read-out", "Unit", "Analysed", "Beyond the curve", "Mean", "Standard deviation", "5 %", "50 %", "95 %"});
    for (const TReadoutDistribution& d : summary.Readouts)
        readouts += Line({TextCell(d.Name), d.Unit, std::to_string(d.Count), std::to_string(d.Beyond), Cell(d.Mean),
                          Cell(d.StandardDeviation), Cell(d.Percentiles[0]), Cell(d.Percentiles[1]),
                          Cell(d.Percentiles[2])});
    tables.emplace_back("readouts", readouts);

    std::string sensitivity = Line({"Input", "Value at 5 %", "Value at 95 %", "Settlement at 5 % (" + length + ")",
                                    "Settlement at 95 % (" + length + ")", "Swing (" + length + ")",
                                    "Rank correlation"});
    for (const TSensitivity& s : summary.Sensitivities)
        sensitivity += Line({TextCell(InputLabel(study.Inputs[s.Input].Input, units)), Cell(s.Values[0]),
                             Cell(s.Values[1]), Cell(s.Settlements[0]), Cell(s.Settlements[1]), Cell(s.Swing),
                             Cell(s.RankCorrelation)});
    tables.emplace_back("sensitivity", sensitivity);

    if (summary.Exceedance) {
        const TExceedance& e = *summary.Exceedance;
        tables.emplace_back("exceedance",
                            Line({"Load (" + force + ")", "Settlement limit (" + length + ")", "Analysed", "Exceeding",
                                  "Probability", "Standard error"}) +
                                Line({Cell(e.Load), Cell(e.Limit), std::to_string(e.Count),
                                      std::to_string(e.Exceeding), Cell(e.Probability), Cell(e.StandardError)}));
    }
    return tables;
}

std::vector<std::string> CsvCells(const std::string& line)
{
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            cells.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

TStudyOutcome RunStudy(const TStudy& study, const korven::Problem& problem, const TRunControl& control)
{
    TStudyOutcome outcome;
    outcome.Study = study;
    outcome.Units = UnitSystemFromCode(problem.units);
    if (const auto* parametric = std::get_if<TParametricStudy>(&study.Definition)) {
        outcome.Parametric = RunParametric(*parametric, problem, control);
        outcome.Cancelled = outcome.Parametric.Cancelled;
        outcome.Analyses = static_cast<int>(outcome.Parametric.Runs.size());
        if (outcome.Cancelled)
            return outcome;
        outcome.Document = ParametricJson(study, outcome.Parametric, outcome.Units);
        outcome.Tables = ParametricCsv(*parametric, outcome.Parametric, outcome.Units);
        outcome.Refused = outcome.Document["refused"].get<int>();
        return outcome;
    }
    const auto& probabilistic = std::get<TProbabilisticStudy>(study.Definition);
    outcome.Probabilistic = RunProbabilistic(probabilistic, problem, control);
    outcome.Cancelled = outcome.Probabilistic.Cancelled;
    outcome.Analyses = static_cast<int>(outcome.Probabilistic.Runs.size());
    if (outcome.Cancelled)
        return outcome;
    outcome.Summary = Summarise(probabilistic, outcome.Probabilistic, outcome.Units);
    outcome.Refused = outcome.Summary.Refused;
    outcome.Document = ProbabilisticJson(study, outcome.Probabilistic, outcome.Summary, outcome.Units);
    outcome.Tables = ProbabilisticCsv(probabilistic, outcome.Probabilistic, outcome.Summary, outcome.Units);
    return outcome;
}

namespace {

// Settlements and probabilities to four significant digits, loads to six.
std::string Quantity(double value, int digits = 4)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return std::isfinite(value) ? text : "beyond the computed curve";
}

}  // namespace

std::vector<std::string> SummaryLines(const TStudyOutcome& outcome)
{
    const auto* probabilistic = std::get_if<TProbabilisticStudy>(&outcome.Study.Definition);
    if (!probabilistic || outcome.Summary.Readouts.size() < 3)
        return {};
    const std::string force = ForceUnitText(outcome.Units), length = LengthUnitText(outcome.Units);
    const TReadoutDistribution& settlement = outcome.Summary.Readouts[2];
    // A unit after each settlement, none after one beyond the curve.
    const auto settlementText = [&](double value) {
        return Quantity(value) + (std::isfinite(value) ? ' ' + length : std::string());
    };
    std::vector<std::string> lines{"settlement under " + Quantity(probabilistic->SettlementLoad, 6) + ' ' + force +
                                   ": 5 % " + settlementText(settlement.Percentiles[0]) + ", 50 % " +
                                   settlementText(settlement.Percentiles[1]) + ", 95 % " +
                                   settlementText(settlement.Percentiles[2])};
    if (const auto& e = outcome.Summary.Exceedance)
        lines.push_back("probability of exceeding " + Quantity(e->Limit) + ' ' + length + ": " +
                        Quantity(e->Probability) + " (standard error " + Quantity(e->StandardError) + ")");
    return lines;
}
