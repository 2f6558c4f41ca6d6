#pragma once

// The result graphs of the main window, filled from the plot data of a run.

#include "GraphPlot.h"
#include "PlotData.h"

#include <array>
#include <string>

// The ten graphs the main window owns for the program's whole life.
class TMainGraphs {
public:
    TMainGraphs();
    TMainGraphs(const TMainGraphs&) = delete;
    TMainGraphs& operator=(const TMainGraphs&) = delete;

    TGraphPlot pltLoad;      // load distribution along the pile
    TGraphPlot pltAxial;     // axial load against settlement
    TGraphPlot pltTZcurves;  // t-z curves
    TGraphPlot PltQW;        // tip resistance (Q-w) curve
    TGraphPlot pltUSkin;
    TGraphPlot pltSkin;
    TGraphPlot pltTip;
    TGraphPlot pltTotal;
    TGraphPlot pltCombine;
    TGraphPlot PltExtraTZ;

    // The last reading of a plot data file succeeded.
    bool PlotsAvailable = false;

    std::array<TGraphPlot*, 10> All();
};

// Message for the user when the plot data file could not be read.
inline constexpr const char* PlotReadFailedMessage = "An error occured in running the main program.";

// Fills the graphs from the plot data of a run and makes them available.
// `projectUnits` is the project's unit system, which names
// the t-z curves by their depth; English loads are shown in kips and the
// load distribution's depths in feet.
void FillGraphs(TMainGraphs& graphs, const TPlotData& data, UnitSystem projectUnits);
// Forgets what the user set on the graphs for one project's results: curve
// names, hidden and inactive curves, graph titles.
void ForgetProjectSettings(TMainGraphs& graphs);
// Leaves the graphs the plot data fill without curves, and unavailable.
void ClearGraphs(TMainGraphs& graphs);

// Reads a plot data file (ReadPlotData) and fills the graphs from it; on a
// file that cannot be read, clears them and returns false with the reader's
// message in `error`, when given. For tools that only show the graphs; the
// program keeps the plot data it reads.
bool ReadPlotFile(TMainGraphs& graphs, const std::string& fileName, UnitSystem projectUnits, std::string* error = nullptr);
