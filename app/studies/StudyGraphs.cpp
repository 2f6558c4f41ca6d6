#include "StudyGraphs.h"

#include "StudyInputs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

void Configure(TGraphPlot& graph, const char* caption, std::string xCaption, std::string yCaption, bool xOnTop)
{
    graph.Caption = caption;
    graph.XCaption = std::move(xCaption);
    graph.YCaption = std::move(yCaption);
    graph.XOnTop = xOnTop;
    // The captions carry their units as words.
    graph.SetUnits(UnitSystem::Symbolic);
    graph.SetLineCount(0);
    graph.Overlays.clear();
    graph.ShowOverlays = false;
}

// A new curve of the graph with its name and the points whose values are
// both finite.
void AddLine(TGraphPlot& graph, std::string name, const std::vector<TFloatPoint>& points)
{
    graph.SetLineCount(graph.LineCount() + 1);
    TLine& line = graph.Line(graph.LineCount() - 1);
    line.Name = std::move(name);
    line.Points.clear();
    for (const TFloatPoint& point : points)
        if (std::isfinite(static_cast<double>(point.X)) && std::isfinite(static_cast<double>(point.Y)))
            line.Points.push_back(point);
}

// The plot windows draw a graph's curves only while its first curve has a
// segment: a curve whose points were all unreached or refused gives its place
// to the first one that has.
void KeepDrawable(TGraphPlot& graph)
{
    for (int i = 1; i < graph.LineCount() && graph.LineCount() > 0 && graph.Line(0).Points.size() < 2; ++i)
        if (graph.Line(i).Points.size() >= 2) {
            std::swap(graph.Line(0).Points, graph.Line(i).Points);
            std::swap(graph.Line(0).Name, graph.Line(i).Name);
        }
}

std::string Force(UnitSystem units) { return " (" + ForceUnitText(units) + ")"; }
std::string Length(UnitSystem units) { return " (" + LengthUnitText(units) + ")"; }

double LoadOf(const TReadout& readout) { return readout.Reached ? readout.Load : NAN; }

}  // namespace

TStudyGraphs::TStudyGraphs()
{
    for (TGraphPlot* graph : {&Curves, &Loads, &Settlements, &Histogram, &Tornado})
        graph->CapCurves = false;
    Histogram.Markers = 0;
    Tornado.WidthLine = 4;
}

std::string ValueText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6G", value);
    return text;
}

void FillParametricGraphs(TStudyGraphs& graphs, const TParametricStudy& study, const TParametricResult& result,
                          UnitSystem units)
{
    const std::string input = InputLabel(study.Input, units);
    Configure(graphs.Curves, "Load-Settlement Curves of the Study", "Axial Load" + Force(units),
              "Settlement" + Length(units), true);
    Configure(graphs.Loads, "Capacity Loads against the Swept Value", input, "Load" + Force(units), false);
    Configure(graphs.Settlements, "Settlements against the Swept Value", input, "Settlement" + Length(units), false);
    graphs.Curves.CurveName = input + " = ";

    std::vector<TFloatPoint> tenPercent, davisson;
    std::vector<std::vector<TFloatPoint>> settlements;
    std::vector<double> headLoads;
    for (std::size_t i = 0; i < result.Runs.size(); ++i) {
        const TStudyRun& run = result.Runs[i];
        const double value = result.Values[i];
        if (!run.Analysed())
            continue;
        std::vector<TFloatPoint> curve;
        for (const TStudyCurvePoint& point : CompressiveCurve(run.LoadSettlement))
            curve.push_back({point.Load, point.Settlement});
        AddLine(graphs.Curves, input + " = " + ValueText(value), curve);
        tenPercent.push_back({value, LoadOf(run.Readouts.TenPercentDiameter)});
        davisson.push_back({value, LoadOf(run.Readouts.Davisson)});
        settlements.resize(std::max(settlements.size(), run.LoadCases.size()));
        headLoads.resize(settlements.size());
        for (std::size_t h = 0; h < run.LoadCases.size(); ++h) {
            headLoads[h] = run.LoadCases[h].TopLoad;
            settlements[h].push_back({value, HeadLoadSettlement(run, h)});
        }
    }
    // Markers stay apart on long sweeps.
    graphs.Loads.Markers = graphs.Settlements.Markers = std::max(1, static_cast<int>(result.Values.size()) / 25);
    AddLine(graphs.Loads, "Load at 10 % of the diameter", tenPercent);
    AddLine(graphs.Loads, "Load at Davisson's offset limit", davisson);
    for (std::size_t h = 0; h < settlements.size(); ++h)
        AddLine(graphs.Settlements,
                "Under pile-head load " + std::to_string(h + 1) + " (" + ValueText(headLoads[h]) + ' ' +
                    ForceUnitText(units) + ")",
                settlements[h]);
    KeepDrawable(graphs.Loads);
    KeepDrawable(graphs.Settlements);
}

void FillHistogram(TGraphPlot& graph, const TProbabilisticSummary& summary, std::size_t readout)
{
    const TReadoutDistribution& d = summary.Readouts.at(readout);
    Configure(graph, "Distribution of a Read-Out", d.Name + " (" + d.Unit + ")", "Realisations", false);
    std::vector<TFloatPoint> steps;
    for (std::size_t bin = 0; bin < d.HistogramCounts.size(); ++bin) {
        const double count = d.HistogramCounts[bin];
        if (bin == 0)
            steps.push_back({d.HistogramEdges[0], 0});
        steps.push_back({d.HistogramEdges[bin], count});
        steps.push_back({d.HistogramEdges[bin + 1], count});
    }
    if (!steps.empty())
        steps.push_back({steps.back().X, 0});
    AddLine(graph, d.Name, steps);

    int highest = 1;
    for (int count : d.HistogramCounts)
        highest = std::max(highest, count);
    for (std::size_t p = 0; p < BandPercentiles.size(); ++p)
        if (std::isfinite(d.Percentiles[p]))
            graph.Overlays.push_back({std::to_string(static_cast<int>(std::lround(100 * BandPercentiles[p]))) + " %",
                                      {{d.Percentiles[p], 0}, {d.Percentiles[p], static_cast<long double>(highest)}}});
    graph.ShowOverlays = true;
    graph.OverlayCaption = "Show &Percentile Lines";
}

void FillProbabilisticGraphs(TStudyGraphs& graphs, const TProbabilisticStudy& study,
                             const TProbabilisticSummary& summary, UnitSystem units)
{
    Configure(graphs.Curves, "Load-Settlement Bands of the Study", "Axial Load" + Force(units),
              "Settlement" + Length(units), true);
    for (std::size_t p = 0; p < BandPercentiles.size(); ++p) {
        std::vector<TFloatPoint> band;
        for (const TBandPoint& point : summary.Bands)
            band.push_back({point.Load, point.Settlement[p]});
        AddLine(graphs.Curves, std::to_string(static_cast<int>(std::lround(100 * BandPercentiles[p]))) + " %", band);
    }
    KeepDrawable(graphs.Curves);

    if (!summary.Readouts.empty())
        FillHistogram(graphs.Histogram, summary, 2);

    Configure(graphs.Tornado, "Sensitivity of the Settlement under the Study Load",
              "Settlement under " + ValueText(study.SettlementLoad) + ' ' + ForceUnitText(units) + Length(units),
              "Input (largest swing first)", true);
    // The settlement with every input at its median, across every bar; it
    // also keeps the bars off the plot's edges.
    const auto count = static_cast<double>(summary.Sensitivities.size());
    AddLine(graphs.Tornado, "All inputs at their medians",
            {{summary.MedianSettlement, 0}, {summary.MedianSettlement, count + 1}});
    for (std::size_t k = 0; k < summary.Sensitivities.size(); ++k) {
        const TSensitivity& s = summary.Sensitivities[k];
        const double y = static_cast<double>(k) + 1;
        const bool whole = std::isfinite(s.Settlements[0]) && std::isfinite(s.Settlements[1]);
        AddLine(graphs.Tornado,
                InputLabel(study.Inputs[s.Input].Input, units) + ": " + ValueText(s.Values[0]) + " to " +
                    ValueText(s.Values[1]) + (whole ? "" : " (an end refused or beyond the curve)"),
                {{s.Settlements[0], y}, {s.Settlements[1], y}});
    }
    KeepDrawable(graphs.Tornado);
}

std::vector<std::pair<TGraphPlot*, std::string>> ReportFigures(TStudyGraphs& graphs, const TStudy& study)
{
    if (std::holds_alternative<TParametricStudy>(study.Definition))
        return {{&graphs.Curves, "Load-settlement curves of the study, one per value"},
                {&graphs.Loads, "Capacity loads against the swept value"},
                {&graphs.Settlements, "Settlements under the pile-head loads against the swept value"}};
    return {{&graphs.Curves, "Percentile bands of the load-settlement curve"},
            {&graphs.Histogram,
             graphs.Histogram.LineCount() > 0 ? graphs.Histogram.Line(0).Name + ": distribution over the realisations"
                                              : std::string()},
            {&graphs.Tornado, "Sensitivity of the settlement under the study load to each input"}};
}
