#pragma once

// The result graphs of the main window and the reading of the plot data file
// that the engine writes after a run.

#include "GraphPlot.h"

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

// Fills the graphs from a plot data file and records the result in
// PlotsAvailable. `projectUnits` is the project's unit system (1 English,
// 2 SI), which names the t-z curves by their depth. On a file that cannot be
// opened, holds a word that is not a number or ends early, returns false and
// leaves the graphs the file fills without curves, never with the part read
// before the fault; `error`, when given, receives the reader's message.
bool ReadPlotFile(TMainGraphs& graphs, const std::string& fileName, int projectUnits, std::string* error = nullptr);
