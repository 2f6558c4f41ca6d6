#pragma once

// The export of result graphs to a spreadsheet workbook: a "Legend" sheet
// that indexes the export and, for each graph, a data sheet with the points
// of its curves and a chart sheet that plots them with the graph's axis
// titles. Written against the spreadsheet seam (Spreadsheet.h), so it runs
// the same over an .xlsx writer and over the tests' recording workbook.

#include "Spreadsheet.h"

#include <string>
#include <vector>

class TGraphPlot;

inline constexpr const char* LegendSheetName = "Legend";
// The legend's status column, stage by stage.
inline constexpr const char* StatusData = "In Progress, Data";
inline constexpr const char* StatusChart = "In Progress, Chart";
inline constexpr const char* StatusComplete = "Complete";
// A graph with nothing to plot gets its data sheet but no chart.
inline constexpr const char* StatusNoCurves = "Complete, no chart: the plot has no curves";
inline constexpr const char* StatusNoPoints = "Complete, no chart: the curves have no points";

// Names the workbook's first sheet "Legend" and writes its header row and the
// numbers 1 to `count` below it.
void WriteLegendSheet(TWorkbook& book, int count);

// Exports one graph as number `k`: legend row k + 2, data sheet "Page_" + k
// and chart sheet "Plot_" + k after the last sheet. The legend's status
// column shows the stage reached, should a step fail.
void GenerateChart(TWorkbook& book, int k, const TGraphPlot& graph);

// The legend sheet, then each graph in order.
void ExportGraphs(TWorkbook& book, const std::vector<const TGraphPlot*>& graphs);
