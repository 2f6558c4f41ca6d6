#include "ExportPlots.h"

#include "GraphPlot.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

// The first row of curve points on a data sheet.
constexpr int FirstPointRow = 6;

const char* const LegendHeaders[] = {
    "     N    ",
    "                             Plot Name                             ",
    "  Sheet Name  ",
    "  Chart Name  ",
    "          Status          ",
};
constexpr int StatusColumn = 6;

std::string PageName(int k) { return "Page_" + std::to_string(k); }
std::string PlotName(int k) { return "Plot_" + std::to_string(k); }

// "=Page_1!$B$6:$B55": a column's rows of points, the last row without "$".
std::string ColumnFormula(const std::string& sheet, int column, int lastRow)
{
    const std::string letters = GetExcelCol(column);
    return "=" + SheetReference(sheet) + "!$" + letters + "$" + std::to_string(FirstPointRow) + ":$" + letters +
           std::to_string(lastRow);
}

// The data sheet: caption, axis titles, and two columns per curve with its
// legend text, the "X" and "Y" headers and its points.
void WriteDataSheet(TWorksheet& data, const TGraphPlot& graph, std::size_t points)
{
    data.AddLink("G1", SheetReference(LegendSheetName) + "!A1", "Go to Legend Page");
    data.SetCell(1, 1, graph.Caption);
    data.SetCell(2, 1, "X");
    data.SetCell(2, 2, graph.XAxisText());
    data.SetCell(3, 1, "Y");
    data.SetCell(3, 2, graph.YAxisText());
    for (int c = 1; c <= graph.LineCount(); ++c) {
        const int x = 2 * c - 1;
        const int y = 2 * c;
        data.SetCell(4, x, graph.LegendText(c - 1));
        data.SetCell(5, x, "X");
        data.SetCell(5, y, "Y");
        const std::vector<TFloatPoint>& line = graph.Line(c - 1).Points;
        for (std::size_t j = 0; j < std::min(points, line.size()); ++j) {
            const int row = FirstPointRow + static_cast<int>(j);
            data.SetCell(row, x, GeneralNumberText(line[j].X, 15));
            data.SetCell(row, y, GeneralNumberText(line[j].Y, 15));
        }
    }
}

}  // namespace

void WriteLegendSheet(TWorkbook& book, int count)
{
    TWorksheet& legend = book.Worksheet(1);
    legend.SetName(LegendSheetName);
    for (int i = 0; i < 5; ++i)
        legend.SetCell(2, 2 + i, LegendHeaders[i]);
    legend.SetBold("B2:F2");
    legend.SetVerticalCentre("B2:F2");
    legend.FitColumns("B2:F2");
    for (int k = 1; k <= count; ++k)
        legend.SetCell(k + 2, 2, std::to_string(k));
}

void GenerateChart(TWorkbook& book, int k, const TGraphPlot& graph)
{
    TWorksheet& legend = book.Worksheet(1);
    const int row = k + 2;
    const int curves = graph.LineCount();
    const std::size_t points = curves == 0 ? 0 : graph.Line(0).Points.size();
    const bool charted = curves > 0 && points > 0;

    legend.SetCell(row, 3, graph.Caption);
    legend.SetCell(row, 4, PageName(k));
    if (charted)
        legend.SetCell(row, 5, PlotName(k));
    legend.SetCell(row, StatusColumn, StatusData);
    legend.AddLink("D" + std::to_string(row), SheetReference(PageName(k)) + "!A1");

    TWorksheet& data = book.AddWorksheet(book.Sheet(book.SheetCount()));
    data.SetName(PageName(k));
    legend.Activate();
    WriteDataSheet(data, graph, points);

    if (!charted) {
        legend.SetCell(row, StatusColumn, curves == 0 ? StatusNoCurves : StatusNoPoints);
        return;
    }
    legend.SetCell(row, StatusColumn, StatusChart);
    const std::string dataName = data.Name();
    const int lastRow = FirstPointRow - 1 + static_cast<int>(points);

    TChartSheet& chart = book.AddChartSheet(data);
    legend.Activate();
    chart.SetChartType(TChartType::XYScatterLinesMarkers);
    chart.SetSourceData(data,
                        "A" + std::to_string(FirstPointRow) + ":" + GetExcelCol(curves + 1) + std::to_string(lastRow));
    for (int c = 1; c <= curves; ++c) {
        TChartSeries& series = chart.Series(c);
        series.SetName(graph.LegendText(c - 1));
        series.SetXValues(ColumnFormula(dataName, 2 * c - 1, lastRow));
        series.SetValues(ColumnFormula(dataName, 2 * c, lastRow));
    }
    chart.SetHasTitle(true);
    chart.SetTitle(graph.Caption);
    TChartAxis& x = chart.Axis(TAxisType::X);
    x.SetTitle(graph.XAxisText());
    x.SetMajorGridlines(true);
    TChartAxis& y = chart.Axis(TAxisType::Y);
    y.SetTitle(graph.YAxisText());
    y.SetMajorGridlines(true);
    // Depth-like axes grow downward, as in the plot window, and end at the
    // next whole unit below the deepest point (the pile's length rounded up).
    y.SetReversePlotOrder(graph.XOnTop);
    if (graph.XOnTop) {
        long double deepest = 0;
        for (int c = 0; c < curves; ++c)
            for (const TFloatPoint& point : graph.Line(c).Points)
                deepest = std::max(deepest, point.Y);
        if (deepest > 0)
            y.SetMaximum(static_cast<double>(std::ceil(deepest)));
    }
    chart.SetLegendBorderColor(0x000000);
    chart.SetLegendInteriorColorIndex(2);
    chart.SetName(PlotName(k));
    chart.MoveAfter(data);
    legend.Activate();
    legend.SetCell(row, StatusColumn, StatusComplete);
}

void ExportGraphs(TWorkbook& book, const std::vector<const TGraphPlot*>& graphs)
{
    WriteLegendSheet(book, static_cast<int>(graphs.size()));
    for (std::size_t i = 0; i < graphs.size(); ++i)
        GenerateChart(book, static_cast<int>(i) + 1, *graphs[i]);
}
