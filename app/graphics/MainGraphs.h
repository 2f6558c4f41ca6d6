#pragma once

// The result graphs of the main window and the reading of the plot data file
// that the engine writes after a run.

#include "GraphPlot.h"
#include "WordReader.h"

#include <array>
#include <cstdint>
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

// The words of a plot data file, refusing any count that the file is too
// short to hold (every value takes at least a digit and a separator), so that
// a damaged count fails the read instead of exhausting memory. Errors are
// EInOutError with the reader's message.
class TPlotFileReader {
public:
    explicit TPlotFileReader(const std::string& fileName);

    long double Float() { return FReader.ReadFloat(); }
    int32_t Integer() { return FReader.ReadInteger(); }
    bool AtEnd() const { return FReader.AtEnd(); }
    // A count of items of `wordsPerItem` values each; negative counts as 0.
    int32_t Count(std::uintmax_t wordsPerItem);
    // Fails unless the file can hold that many items.
    void Require(int64_t items, std::uintmax_t wordsPerItem) const;

private:
    TWordReader FReader;
    std::uintmax_t FWordCapacity = 0;
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
