#pragma once

// The printable report of a project as a PDF file: the text pages (title,
// input, results, read-outs), then the four result graphs and the side view,
// drawn by the same painters as their windows, as vector graphics. A4 or
// Letter paper as the locale measures, numbered pages.

#include <QString>

#include <string>
#include <vector>

class TMainGraphs;
class TProgramData;

struct TReportSources {
    TProgramData* Project = nullptr;
    // The graphs read from the project's plot data file; null or unread
    // (PlotsAvailable false) leaves the results and graph pages out.
    TMainGraphs* Graphs = nullptr;
    // The plot data file the results are read from.
    QString PlotFile;
    // A note per pile-head load case, as the results give them.
    std::vector<std::string> LoadCaseNotes;
};

// Writes the report to `path`, replacing a previous file only once the new
// one is complete; false with the message for the user in `error` when the
// file could not be written (the previous file is then left as it was).
// `pages`, when given, receives the number of pages written.
bool WriteProjectReport(const TReportSources& sources, const QString& path, QString& error, int* pages = nullptr);
