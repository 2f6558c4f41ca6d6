#include "ReportContent.h"

#include "KorvenVersion.h"
#include "NumberText.h"
#include "ProgramData.h"
#include "LoadTestComparison.h"
#include "ResultsSummary.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <vector>

namespace {

// A heading that starts a new page.
std::string PartHeading(const char* text)
{
    return std::string("<h2 style=\"page-break-before: always\">") + text + "</h2>\n";
}

std::string Cell(const std::string& text, bool number = false)
{
    return std::string(number ? "<td align=\"right\">" : "<td>") + HtmlEscaped(text) + "</td>";
}

// A cell of a data table, kept on one line so that a row never needs more.
std::string DataCell(const std::string& text, bool number)
{
    return std::string(number ? "<td align=\"right\"" : "<td") + " style=\"white-space: nowrap\">" +
           HtmlEscaped(text) + "</td>";
}

// Force units as every table, graph and read-out of the report names them:
// "lbs", as the input tables do.
std::string ReportUnits(std::string text)
{
    for (std::size_t at = text.find("lb"); at != std::string::npos; at = text.find("lb", at + 2)) {
        const bool wordStart = at == 0 || !std::isalpha(static_cast<unsigned char>(text[at - 1]));
        const bool wordEnd = at + 2 == text.size() || !std::isalpha(static_cast<unsigned char>(text[at + 2]));
        if (wordStart && wordEnd)
            text.insert(at + 2, "s");
    }
    return text;
}

// The heading row of a table, repeated on every page the table runs onto.
std::string HeadingRow(const std::vector<std::string>& headings)
{
    std::string row = "<thead><tr>";
    for (const std::string& heading : headings) {
        // A long heading takes its unit onto a line of its own.
        std::string text = HtmlEscaped(heading);
        const std::size_t unit = text.rfind(" (");
        if (unit != std::string::npos && text.size() > 16)
            text.replace(unit, 1, "<br>");
        row += "<th>" + text + "</th>";
    }
    return row + "</tr></thead>\n";
}

std::string OpenTable() { return "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"; }

// A table of columns of texts under their headings; number columns are
// right-aligned on the decimal point.
std::string ColumnsTable(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& columns,
                         const std::vector<bool>& numbers)
{
    std::vector<std::vector<std::string>> cells = columns;
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (numbers[c])
            cells[c] = AlignedNumberTexts(cells[c]);
    std::string html = OpenTable() + HeadingRow(headings);
    const std::size_t rows = cells.empty() ? 0 : cells[0].size();
    for (std::size_t row = 0; row < rows; ++row) {
        html += "<tr>";
        for (std::size_t c = 0; c < cells.size(); ++c)
            html += DataCell(cells[c][row], numbers[c]);
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string Length(UnitSystem units) { return LengthUnitText(units); }

// A cell as the table window shows it: an enumeration by its item's text.
std::string CellText(const TColumn& column, int row)
{
    if (const auto* enumeration = dynamic_cast<const TEnumColumn*>(&column)) {
        const std::vector<std::string>& items = enumeration->Items();
        const int code = column.AsInteger(row);
        if (code >= 1 && code <= static_cast<int>(items.size()))
            return items[static_cast<std::size_t>(code - 1)];
    }
    return column.GetText(row);
}

// A data table as the user entered it: its visible value columns with their
// heading lines (units included), one row per table row.
template <typename Table>
std::string TableHtml(const Table& table)
{
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> columns;
    std::vector<bool> numbers;
    for (int c = 0; c < table.ColumnCount(); ++c) {
        const auto& column = table.Column(c);
        if (!column.Visible || column.Kind() == TColumnKind::Table)
            continue;
        headings.push_back(column.Heading());
        numbers.push_back(column.Kind() != TColumnKind::Enum && column.Kind() != TColumnKind::String);
        columns.emplace_back();
        for (int row = 0; row < table.RowCount(); ++row)
            columns.back().push_back(CellText(column, row));
    }
    return ColumnsTable(headings, columns, numbers);
}

std::string LayerDepths(const TProgramData& project, int row)
{
    const TGridTable& layers = project.Tables().D2;
    const std::string top = row == 0 ? "0" : layers.Column(LayerBottomColumn).GetText(row - 1);
    return top + " \u2013 " + layers.Column(LayerBottomColumn).GetText(row) + " " + Length(project.Units());
}

std::string SoilSummary(const TProgramData& project)
{
    const TProjectTables& tables = project.Tables();
    if (!project.CurvesGenerated)
        return "t-z curves entered at " + std::to_string(tables.TblTZDepth2.RowCount()) +
               " depths, and a Q-w curve of " + std::to_string(tables.TblQwcurve2.RowCount()) + " points";
    const int layers = tables.D2.RowCount();
    std::string text = std::to_string(layers) + (layers == 1 ? " layer" : " layers");
    if (layers > 0)
        text += " to a depth of " + tables.D2.Column(LayerBottomColumn).GetText(layers - 1) + " " +
                Length(project.Units());
    for (int row = 0; row < layers; ++row)
        text += (row == 0 ? ": " : "; ") + CellText(tables.D2.Column(SoilTypeColumn), row);
    return text;
}

std::string MethodSummary(const TProgramData& project)
{
    std::string text = "t-z method; curves ";
    text += project.CurvesGenerated ? "generated from the soil layers" : "entered by the user";
    text += project.UseHeadLoads ? "; loads given at the pile head" : "; tip movements assumed";
    text += project.Downdrag ? "; down-drag included" : "; no down-drag";
    if (project.ApplyTzFactors || project.ApplyQwFactors)
        text += "; modification factors applied";
    return text;
}

// The capacity read-outs with their notes, or why there are none.
std::string ReadoutsHtml(const TReportInput& input)
{
    if (!input.Results)
        return "<p>No results: " + HtmlEscaped(input.Missing) +
               ". Run the analysis to include the load-settlement curve, the read-outs and the graphs.</p>\n";
    std::string html = "<h3>Capacity read-outs</h3>\n";
    const TProgramData& project = *input.Project;
    if (input.Results->Units != project.Units())
        return html +
               "<p>The results were computed in other units than the project now uses; run the analysis "
               "again to read them off.</p>\n";
    const TPileForReadouts pile = PileForReadouts(project);
    const TCapacityReadouts readouts = ComputeReadouts(*input.Results, pile);
    std::vector<std::vector<std::string>> columns(3);
    for (const TSummaryRow& row : SummaryRows(readouts, pile)) {
        columns[0].push_back(ReportUnits(row.Criterion));
        columns[1].push_back(ReportUnits(row.Load));
        columns[2].push_back(row.Settlement);
    }
    html += ColumnsTable({"Criterion", "Head load", "Settlement"}, columns, {false, false, false});
    const std::vector<std::string> notes = SummaryNotes(readouts, pile);
    if (notes.empty())
        return html;
    html += "<ul>\n";
    for (const std::string& note : notes)
        html += "<li>" + HtmlEscaped(ReportUnits(note)) + "</li>\n";
    return html + "</ul>\n";
}

// The first page: what the report is of, and a summary of the pile, the
// soil, the method and the read-outs.
std::string TitlePage(const TReportInput& input)
{
    const TProgramData& project = *input.Project;
    const UnitSystem units = project.Units();
    std::string html = "<h1 align=\"center\">Pile Load-Settlement Analysis</h1>\n";
    html += "<h2 align=\"center\">" + HtmlEscaped(project.Title) + "</h2>\n";
    html += "<table cellpadding=\"3\">\n";
    const auto line = [&](const char* name, const std::string& value) {
        html += "<tr><td><b>" + std::string(name) + "</b></td>" + Cell(value) + "</tr>\n";
    };
    line("Project file", input.FileName);
    line("Designer", project.Designer.empty() ? "not given" : project.Designer);
    line("Design date", project.DesignDate.empty() ? "not given" : project.DesignDate);
    line("Report written", input.Date);
    line("Units", ReportUnits(UnitSystemText(units)));
    line("Program", std::string("KORVEN ") + kKorvenVersion);
    html += "</table>\n<h3>Summary</h3>\n<table cellpadding=\"3\">\n";
    const std::string length = Length(units);
    line("Pile", "length " + GeneralNumberText(project.PileLength, 8) + " " + length + ", outer diameter " +
                     GeneralNumberText(project.OuterDiameter, 8) + " " + length + ", tip area " +
                     GeneralNumberText(project.TipArea, 8) + " " + length + "\u00b2");
    line("Soil", SoilSummary(project));
    line("Method", MethodSummary(project));
    html += "</table>\n";
    return html + ReadoutsHtml(input);
}

std::string PileSection(const TProgramData& project)
{
    const UnitSystem units = project.Units();
    const std::string length = Length(units);
    std::string html = PartHeading("Input") + "<h3>Pile</h3>\n" + OpenTable();
    const auto row = [&](const std::string& name, long double value, const std::string& unit) {
        html += "<tr>" + Cell(name) + Cell(GeneralNumberText(value, 8), true) + Cell(unit) + "</tr>\n";
    };
    row("Pile length", project.PileLength, length);
    row("Outer diameter", project.OuterDiameter, length);
    row("Area of pile tip", project.TipArea, length + "\u00b2");
    row("Number of increments", project.Increments, "");
    row("Tolerance", project.Tolerance, length);
    html += "</table>\n<h3>Axial stiffness (AE) of pile sections</h3>\n" + TableHtml(project.Tables().TblAE2);
    return html;
}

std::string CurvesSection(const TProgramData& project)
{
    const TProjectTables& tables = project.Tables();
    std::string html;
    if (project.CurvesGenerated) {
        html += "<h3>Soil layers</h3>\n" + TableHtml(tables.D2);
        for (int row = 0; row < tables.D2.RowCount(); ++row) {
            const TGridTable* data = tables.D2.GetData(2, row).AsTable();
            if (!data)
                continue;
            html += "<h4>Layer " + std::to_string(row + 1) + ": " + HtmlEscaped(CellText(tables.D2.Column(0), row)) +
                    ", " + HtmlEscaped(LayerDepths(project, row)) + "</h4>\n" + TableHtml(*data);
        }
        return html;
    }
    const TGridTable& depths = tables.TblTZDepth2;
    html += "<h3>User t-z curves</h3>\n<p>" + std::to_string(depths.RowCount()) + " curves at the depths (" +
            Length(project.Units()) + "):";
    for (int row = 0; row < depths.RowCount(); ++row)
        html += (row > 0 ? ", " : " ") + HtmlEscaped(depths.Column(0).GetText(row));
    html += "</p>\n";
    for (int row = 0; row < depths.RowCount(); ++row)
        if (const TGridTable* curve = depths.GetData(1, row).AsTable())
            html += "<h4>t-z curve " + std::to_string(row + 1) + " at a depth of " +
                    HtmlEscaped(depths.Column(0).GetText(row)) + " " + Length(project.Units()) + "</h4>\n" +
                    TableHtml(*curve);
    html += "<h3>Q-w curve</h3>\n" + TableHtml(tables.TblQwcurve2);
    return html;
}

std::string LoadsAndOptions(const TProgramData& project)
{
    const TProjectTables& tables = project.Tables();
    std::string html;
    if (project.UseTipMovements)
        html += "<h3>Tip movements</h3>\n" + TableHtml(tables.TblTipMove);
    if (project.UseHeadLoads)
        html += "<h3>Loads at the pile head</h3>\n" + TableHtml(tables.TblTopload);
    html += "<h3>Options</h3>\n<ul>\n";
    html += std::string("<li>Down-drag (negative skin friction): ") + (project.Downdrag ? "included" : "not included") +
            "</li>\n";
    html += std::string("<li>Modification factors on t-z curves: ") + (project.ApplyTzFactors ? "applied" : "none") +
            "</li>\n";
    html += "<li>Modification factors on the Q-w curve: " +
            (project.ApplyQwFactors ? "Q-multiplier " + GeneralNumberText(project.QMultiplier, 8) + ", w-multiplier " +
                                          GeneralNumberText(project.WMultiplier, 8)
                                    : std::string("none")) +
            "</li>\n</ul>\n";
    if (project.Downdrag)
        html += "<h3>Soil settlement profile</h3>\n" + TableHtml(tables.TblSettlement2);
    if (project.ApplyTzFactors)
        html += "<h3>Modification factors on t-z curves</h3>\n" + TableHtml(tables.TblTZFactors2);
    return html;
}

// The rows, with a last column for their flags when any is flagged; a load
// case beyond the computed curve shows its flag instead of the engine's
// numbers.
std::string RowsTable(const std::vector<TLoadSettlementRow>& rows, const std::vector<TRowFlag>& flags, UnitSystem units)
{
    const std::string force = ReportUnits(ForceUnitText(units)), length = Length(units);
    std::vector<std::string> headings{"Top load (" + force + ")", "Top movement (" + length + ")",
                                      "Tip movement (" + length + ")", "Tip load (" + force + ")"};
    std::vector<std::vector<std::string>> columns(5);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TLoadSettlementRow& row = rows[i];
        const TRowFlag flag = i < flags.size() ? flags[i] : TRowFlag::None;
        const bool beyond = flag == TRowFlag::BeyondCurve;
        columns[0].push_back(QuantityText(row.TopLoad));
        columns[1].push_back(beyond ? std::string() : QuantityText(row.TopMovement));
        columns[2].push_back(beyond ? std::string() : QuantityText(row.TipMovement));
        columns[3].push_back(beyond ? std::string() : QuantityText(row.TipLoad));
        columns[4].push_back(flag == TRowFlag::None ? std::string() : RowFlagText(flag));
    }
    std::vector<bool> numbers{true, true, true, true, false};
    if (std::any_of(flags.begin(), flags.end(), [](TRowFlag f) { return f != TRowFlag::None; }))
        headings.push_back("Note");
    else {
        columns.pop_back();
        numbers.pop_back();
    }
    return ColumnsTable(headings, columns, numbers);
}

// The load test's measured settlements beside the computed ones, when the
// project has a load test and the results are in its units.
std::string LoadTestHtml(const TReportInput& input)
{
    std::optional<TLoadTest> test;
    try {
        test = ProjectLoadTest(*input.Project);
    } catch (const ELoadTestError& error) {
        return "<p>The project's load test could not be read: " + HtmlEscaped(error.what()) + ".</p>\n";
    }
    const TPlotData& data = *input.Results;
    if (!test || data.Units != input.Project->Units())
        return {};
    std::vector<std::vector<std::string>> columns(4);
    for (const TComparisonRow& row : CompareWithRun(*test, data)) {
        columns[0].push_back(QuantityText(row.Load));
        columns[1].push_back(QuantityText(row.Measured));
        columns[2].push_back(row.OnCurve ? QuantityText(row.Computed) : BeyondCurveText);
        columns[3].push_back(row.OnCurve ? QuantityText(row.Computed - row.Measured) : "");
    }
    const std::string force = ReportUnits(ForceUnitText(data.Units));
    const std::string length = Length(data.Units);
    return std::string("<h3>") + ComparisonHeading + "</h3>\n" +
           ColumnsTable({"Head load (" + force + ")", "Measured settlement (" + length + ")",
                         "Computed settlement (" + length + ")", "Difference (" + length + ")"},
                        columns, {true, true, true, true}) +
           "<p>The computed settlement is read off the load-settlement curve at the measured load; the "
           "difference is computed less measured.</p>\n";
}

std::string ResultsSection(const TReportInput& input)
{
    std::string html = PartHeading("Results");
    if (!input.Results)
        return html + "<p>No results: " + HtmlEscaped(input.Missing) + ".</p>\n";
    const TPlotData& data = *input.Results;
    html += "<h3>Load-settlement curve</h3>\n" + RowsTable(data.LoadSettlement, LoadSettlementFlags(data), data.Units);
    if (!data.LoadCases.empty())
        html += "<h3>Pile-head load cases</h3>\n" + RowsTable(data.LoadCases, LoadCaseFlags(data), data.Units);
    return html + LoadTestHtml(input);
}

}  // namespace

std::string HtmlEscaped(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string ReportHtml(const TReportInput& input)
{
    const TProgramData& project = *input.Project;
    return "<html><body>\n" + TitlePage(input) + PileSection(project) + CurvesSection(project) +
           LoadsAndOptions(project) + ResultsSection(input) + input.Appendix + "</body></html>\n";
}

namespace {

// The digits of a number text without leading or trailing zeros, and where
// its decimal point goes among them (0: before the first digit).
struct TDigits {
    bool Negative = false;
    std::string Digits;
    int Point = 0;
    int Decimals() const { return std::max(0, static_cast<int>(Digits.size()) - Point); }
};

std::optional<TDigits> ParseNumber(const std::string& text)
{
    TDigits number;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        number.Negative = text[at++] == '-';
    std::string whole, fraction;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
        whole += text[at++];
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        ++at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
            fraction += text[at++];
    }
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    int exponent = 0;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        ++at;
        const bool negative = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            ++at;
        if (at == text.size())
            return std::nullopt;
        for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
            exponent = std::min(exponent * 10 + (text[at] - '0'), 9999);
        exponent = negative ? -exponent : exponent;
    }
    if (at != text.size())
        return std::nullopt;
    number.Digits = whole + fraction;
    number.Point = static_cast<int>(whole.size()) + exponent;
    const std::size_t first = number.Digits.find_first_not_of('0');
    if (first == std::string::npos)
        return TDigits{};
    number.Digits.erase(0, first);
    number.Point -= static_cast<int>(first);
    number.Digits.erase(number.Digits.find_last_not_of('0') + 1);
    return number;
}

std::string FixedText(const TDigits& number, int decimals)
{
    std::string digits = number.Digits;
    int point = number.Point;
    if (point <= 0) {
        digits.insert(0, static_cast<std::size_t>(1 - point), '0');
        point = 1;
    }
    if (static_cast<int>(digits.size()) < point + decimals)
        digits.append(static_cast<std::size_t>(point + decimals) - digits.size(), '0');
    std::string text = (number.Negative ? "-" : "") + digits.substr(0, static_cast<std::size_t>(point));
    if (decimals > 0)
        text += "." + digits.substr(static_cast<std::size_t>(point), static_cast<std::size_t>(decimals));
    return text;
}

std::string ExponentText(const TDigits& number, int decimals)
{
    std::string mantissa = number.Digits.empty() ? "0" : number.Digits;
    mantissa.append(static_cast<std::size_t>(std::max(0, decimals + 1 - static_cast<int>(mantissa.size()))), '0');
    const int exponent = number.Digits.empty() ? 0 : number.Point - 1;
    char power[16];
    std::snprintf(power, sizeof power, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    std::string text = (number.Negative ? "-" : "") + mantissa.substr(0, 1);
    if (decimals > 0)
        text += "." + mantissa.substr(1, static_cast<std::size_t>(decimals));
    return text + power;
}

}  // namespace

std::vector<std::string> AlignedNumberTexts(const std::vector<std::string>& texts)
{
    constexpr int MostDecimals = 6;
    constexpr int MostWholeDigits = 9;
    std::vector<std::optional<TDigits>> numbers;
    int decimals = 0, whole = 1, mantissa = 0;
    for (const std::string& text : texts) {
        if (text.empty()) {
            numbers.emplace_back();
            continue;
        }
        const std::optional<TDigits> number = ParseNumber(text);
        if (!number)
            return texts;
        decimals = std::max(decimals, number->Decimals());
        whole = std::max(whole, number->Point);
        mantissa = std::max(mantissa, static_cast<int>(number->Digits.size()) - 1);
        numbers.push_back(number);
    }
    const bool fixed = decimals <= MostDecimals && whole <= MostWholeDigits;
    std::vector<std::string> aligned;
    for (const std::optional<TDigits>& number : numbers)
        aligned.push_back(!number ? std::string() : fixed ? FixedText(*number, decimals) : ExponentText(*number, mantissa));
    return aligned;
}

std::string StudyHtml(const TStudyOutcome& outcome)
{
    std::string html = PartHeading("Study") + "<p><b>" + HtmlEscaped(outcome.Study.Name) + "</b>: " +
                       std::to_string(outcome.Analyses - outcome.Refused) + " of " +
                       std::to_string(outcome.Analyses) + " analyses completed";
    if (outcome.Refused > 0)
        html += ", " + std::to_string(outcome.Refused) + " refused";
    html += ".</p>\n";
    for (const std::string& line : SummaryLines(outcome))
        html += "<p>" + HtmlEscaped(ReportUnits(line)) + "</p>\n";
    for (const auto& [name, text] : outcome.Tables) {
        if (name == "samples" || name == "curves")
            continue;
        std::istringstream lines(text);
        std::string line;
        std::getline(lines, line);
        std::vector<std::string> headings = CsvCells(line);
        std::vector<std::vector<std::string>> columns(headings.size());
        while (std::getline(lines, line)) {
            const std::vector<std::string> cells = CsvCells(line);
            for (std::size_t c = 0; c < columns.size(); ++c)
                columns[c].push_back(c < cells.size() ? cells[c] : std::string());
        }
        // A wide table of few rows (the read-outs' statistics, the inputs'
        // sensitivity) is turned on its side to fit the page: its first
        // column's entries head the columns, where they may wrap.
        if (headings.size() > 6 && !columns.empty() && columns[0].size() < headings.size()) {
            if (headings[1] == "Unit") {
                for (std::size_t row = 0; row < columns[0].size(); ++row)
                    columns[0][row] += " (" + columns[1][row] + ")";
                headings.erase(headings.begin() + 1);
                columns.erase(columns.begin() + 1);
            }
            std::vector<std::vector<std::string>> turned(columns[0].size() + 1);
            for (std::size_t c = 1; c < headings.size(); ++c) {
                turned[0].push_back(headings[c]);
                for (std::size_t row = 0; row < columns[0].size(); ++row)
                    turned[row + 1].push_back(columns[c][row]);
            }
            std::vector<std::string> turnedHeadings{headings[0]};
            turnedHeadings.insert(turnedHeadings.end(), columns[0].begin(), columns[0].end());
            headings = std::move(turnedHeadings);
            columns = std::move(turned);
        }
        // Numbers to five significant digits, so that the tables fit the page
        // (the exported tables keep every digit).
        const auto isNumber = [](const std::string& cell) {
            char* end = nullptr;
            std::strtod(cell.c_str(), &end);
            return !cell.empty() && *end == '\0';
        };
        std::vector<bool> numbers;
        for (auto& column : columns) {
            numbers.push_back(std::all_of(column.begin(), column.end(),
                                          [&](const std::string& cell) { return cell.empty() || isNumber(cell); }));
            for (std::string& cell : column)
                if (isNumber(cell)) {
                    char text[32];
                    std::snprintf(text, sizeof text, "%.5g", std::strtod(cell.c_str(), nullptr));
                    cell = text;
                }
        }
        for (std::string& heading : headings)
            heading = ReportUnits(heading);
        html += "<h3>" + HtmlEscaped(name) + "</h3>\n" + ColumnsTable(headings, columns, numbers);
    }
    return html;
}
