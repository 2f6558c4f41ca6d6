#include "ReportContent.h"

#include "KorvenVersion.h"
#include "NumberText.h"
#include "ProgramData.h"
#include "ResultsSummary.h"

#include <algorithm>
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

std::string HeadingRow(const std::vector<std::string>& headings)
{
    std::string row = "<tr>";
    for (const std::string& heading : headings)
        row += "<th>" + HtmlEscaped(heading) + "</th>";
    return row + "</tr>\n";
}

std::string OpenTable() { return "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"; }

std::string Length(int units) { return LengthUnitText(units); }

// A cell as the table window shows it: an enumeration by its item's text.
template <TableFamily F>
std::string CellText(const TColumnT<F>& column, int row)
{
    if (const auto* enumeration = dynamic_cast<const TEnumColumnT<F>*>(&column)) {
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
    std::vector<int> columns;
    std::vector<std::string> headings;
    for (int c = 0; c < table.ColumnCount(); ++c) {
        const auto& column = table.Column(c);
        if (!column.Visible || column.Kind() == TColumnKind::Table)
            continue;
        std::string heading;
        for (int line = 0; line < column.CaptionLineCount(); ++line)
            heading += (line > 0 ? " " : "") + column.CaptionLine(line);
        columns.push_back(c);
        headings.push_back(heading);
    }
    std::string html = OpenTable() + HeadingRow(headings);
    for (int row = 0; row < table.RowCount(); ++row) {
        html += "<tr>";
        for (int c : columns)
            html += Cell(CellText(table.Column(c), row),
                         table.Column(c).Kind() != TColumnKind::Enum && table.Column(c).Kind() != TColumnKind::String);
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string TitlePage(const TReportInput& input)
{
    const TProgramData& project = *input.Project;
    const int units = project.Units();
    std::string html = "<h1 align=\"center\">Pile Load-Settlement Analysis</h1>\n";
    html += "<h2 align=\"center\">" + HtmlEscaped(project.Title) + "</h2>\n<p>&nbsp;</p>\n";
    html += "<table cellpadding=\"6\">\n";
    const auto line = [&](const char* name, const std::string& value) {
        html += "<tr><td><b>" + std::string(name) + "</b></td>" + Cell(value) + "</tr>\n";
    };
    line("Project file", input.FileName);
    line("Date", input.Date);
    line("Units", units == 2 ? "S.I. units (kN, m)" : "English units (lb, in)");
    line("t-z and Q-w curves", project.CurvesGenerated ? "generated from the soil layers" : "entered by the user");
    if (!project.Designer.empty())
        line("Designer", project.Designer);
    line("Program", std::string("KORVEN ") + kKorvenVersion);
    html += "</table>\n";
    return html;
}

std::string PileSection(const TProgramData& project)
{
    const int units = project.Units();
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
            const TGridTableChart* data = tables.D2.GetData(2, row).AsTable();
            if (!data)
                continue;
            html += "<h4>Layer " + std::to_string(row + 1) + ": " + HtmlEscaped(CellText(tables.D2.Column(0), row)) +
                    "</h4>\n" + TableHtml(*data);
        }
        return html;
    }
    const TGridTableChart& depths = tables.TblTZDepth2;
    html += "<h3>User t-z curves</h3>\n<p>" + std::to_string(depths.RowCount()) + " curves at the depths (" +
            Length(project.Units()) + "):";
    for (int row = 0; row < depths.RowCount(); ++row)
        html += (row > 0 ? ", " : " ") + HtmlEscaped(depths.Column(0).GetText(row));
    html += "</p>\n<h3>Q-w curve</h3>\n" + TableHtml(tables.TblQwcurve2);
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

// The rows with a last column for their flags when any is flagged; a load
// case beyond the computed curve shows its flag instead of the engine's
// numbers.
std::string RowsTable(const std::vector<TLoadSettlementRow>& rows, const std::vector<TRowFlag>& flags, int units)
{
    const std::string force = ForceUnitText(units), length = Length(units);
    std::vector<std::string> headings{"Top load (" + force + ")", "Top movement (" + length + ")",
                                      "Tip movement (" + length + ")", "Tip load (" + force + ")"};
    const bool flagged = std::any_of(flags.begin(), flags.end(), [](TRowFlag f) { return f != TRowFlag::None; });
    if (flagged)
        headings.push_back("Note");
    std::string html = OpenTable() + HeadingRow(headings);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TLoadSettlementRow& row = rows[i];
        const TRowFlag flag = i < flags.size() ? flags[i] : TRowFlag::None;
        html += "<tr>" + Cell(QuantityText(row.TopLoad), true);
        if (flag == TRowFlag::BeyondCurve)
            html += "<td colspan=\"3\" align=\"center\"><i>" + RowFlagText(flag) + "</i></td>";
        else
            html += Cell(QuantityText(row.TopMovement), true) + Cell(QuantityText(row.TipMovement), true) +
                    Cell(QuantityText(row.TipLoad), true);
        if (flagged)
            html += Cell(RowFlagText(flag));
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string ResultsSection(const TReportInput& input)
{
    const TProgramData& project = *input.Project;
    std::string html = PartHeading("Results");
    if (!input.Results) {
        return html + "<p>No results: " + HtmlEscaped(input.Missing) +
               ". Run the analysis to include the load-settlement curve, the read-outs and the graphs.</p>\n";
    }
    const TPlotData& data = *input.Results;
    html += "<h3>Load-settlement curve</h3>\n" + RowsTable(data.LoadSettlement, LoadSettlementFlags(data), data.Units);
    if (!data.LoadCases.empty())
        html += "<h3>Pile-head load cases</h3>\n" + RowsTable(data.LoadCases, LoadCaseFlags(data), data.Units);

    html += "<h3>Capacity read-outs</h3>\n";
    if (data.Units != project.Units())
        return html +
               "<p>The results were computed in other units than the project now uses; run the analysis "
               "again to read them off.</p>\n";
    const TPileForReadouts pile = PileForReadouts(project);
    const TCapacityReadouts readouts = ComputeReadouts(data, pile);
    html += OpenTable() + HeadingRow({"Criterion", "Head load", "Settlement"});
    for (const TSummaryRow& row : SummaryRows(readouts, pile))
        html += "<tr>" + Cell(row.Criterion) + Cell(row.Load, true) + Cell(row.Settlement, true) + "</tr>\n";
    html += "</table>\n<ul>\n";
    for (const std::string& note : SummaryNotes(readouts, pile))
        html += "<li>" + HtmlEscaped(note) + "</li>\n";
    return html + "</ul>\n";
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
           LoadsAndOptions(project) + ResultsSection(input) + "</body></html>\n";
}
