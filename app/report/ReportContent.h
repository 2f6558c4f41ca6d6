#pragma once

// The text pages of the printable project report as HTML: the title page,
// the input summary, the load-settlement table and load cases, and the
// capacity read-outs. Plain C++: the PDF writer lays the text out and adds
// the graph pages drawn by the windows' painters.

#include "PlotData.h"
#include "StudyOutput.h"

#include <optional>
#include <string>
#include <vector>

class TProgramData;

struct TReportInput {
    const TProgramData* Project = nullptr;
    // The project file's path as the title page names it.
    std::string FileName;
    // "8 December 2026, 14:05" or similar, as the caller formats it.
    std::string Date;
    // The run's results; empty when the plot data could not be read, and
    // then Missing says why.
    std::optional<TPlotData> Results;
    std::string Missing;
    // Sections added at the end on request (a study's results), as HTML.
    std::string Appendix;
};

// Text with the HTML special characters escaped.
std::string HtmlEscaped(const std::string& text);

// The numbers of one table column written alike, so that right-aligned
// they line up on the decimal point: fixed with the same decimals when that
// keeps every value's digits within six decimals, else all in exponent form
// with the same mantissa digits. No digit is lost either way. Texts that are
// not all numbers come back as they are.
std::vector<std::string> AlignedNumberTexts(const std::vector<std::string>& texts);

// The whole text part of the report; page breaks between its parts.
std::string ReportHtml(const TReportInput& input);

// The results of a study as a section of the report: its definition in a
// sentence, the counts of analyses, and its tables but the long ones (every
// realisation, every curve point).
std::string StudyHtml(const TStudyOutcome& outcome);
