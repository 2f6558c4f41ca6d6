#pragma once

// The graphs of a study's results, for the plot windows: filled from the
// results in the project's units (English: in, lb; SI: m, kN). A value a
// curve does not reach has no point.

#include "GraphPlot.h"
#include "StudyStatistics.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

struct TStudyGraphs {
    TStudyGraphs();

    // Parametric: the load-settlement curve of every analysed value, named by
    // the value. Probabilistic: the 5, 50 and 95 % bands.
    TGraphPlot Curves;
    // Parametric: the capacity loads, and the settlement under each
    // pile-head load, against the swept value.
    TGraphPlot Loads;
    TGraphPlot Settlements;
    // Probabilistic: the histogram of one read-out, with its percentiles as
    // reference lines, and the sensitivities of the settlement under the
    // study load, the largest swing at the top, across them the settlement
    // with every input at its median.
    TGraphPlot Histogram;
    TGraphPlot Tornado;
};

void FillParametricGraphs(TStudyGraphs& graphs, const TParametricStudy& study, const TParametricResult& result,
                          UnitSystem units);
void FillProbabilisticGraphs(TStudyGraphs& graphs, const TProbabilisticStudy& study,
                             const TProbabilisticSummary& summary, UnitSystem units);
// The histogram of read-out `readout` of the summary (an index into its
// Readouts).
void FillHistogram(TGraphPlot& graph, const TProbabilisticSummary& summary, std::size_t readout);

// The graphs of a study's results for the report, with their titles.
std::vector<std::pair<TGraphPlot*, std::string>> ReportFigures(TStudyGraphs& graphs, const TStudy& study);

// "600", "0.0125", "1.5E+06": a value as the legends and tables show it.
std::string ValueText(double value);
