#pragma once

// The printable report of a project as a PDF file: the text pages (title,
// input, results, read-outs), then the four result graphs and the side view,
// drawn by the same painters as their windows, as vector graphics. A4 or
// Letter paper as the locale measures, numbered pages.

#include <QString>

#include <string>
#include <utility>
#include <vector>

class TGraphPlot;
class TMainGraphs;
class TProgramData;
struct TPlotData;

struct TReportSources {
    TProgramData* Project = nullptr;
    // The graphs filled from the project's results; null or unfilled
    // (PlotsAvailable false) leaves the graph pages out.
    TMainGraphs* Graphs = nullptr;
    // The project's last run; null leaves the results out.
    const TPlotData* Results = nullptr;
    // Added at the end when the user asks: a study's results (StudyHtml)
    // and its graphs with their titles.
    std::string StudyHtml;
    std::vector<std::pair<TGraphPlot*, std::string>> StudyFigures;
};

// Writes the report to `path`, replacing a previous file only once the new
// one is complete; false with the message for the user in `error` when the
// file could not be written (the previous file is then left as it was).
// `pages`, when given, receives the number of pages written.
bool WriteProjectReport(const TReportSources& sources, const QString& path, QString& error, int* pages = nullptr);
