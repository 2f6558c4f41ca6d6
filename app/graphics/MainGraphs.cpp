#include "MainGraphs.h"

#include "NumberText.h"
#include "UnitStrings.h"
#include "WordReader.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <new>

namespace {

void Configure(TGraphPlot& graph, const char* caption, const char* xCaption, const char* xUnits, const char* yCaption,
               const char* yUnits, bool xOnTop)
{
    graph.Caption = caption;
    graph.XCaption = xCaption;
    graph.XUnits = xUnits;
    graph.YCaption = yCaption;
    graph.YUnits = yUnits;
    graph.XOnTop = xOnTop;
}

}  // namespace

TPlotFileReader::TPlotFileReader(const std::string& fileName) : FReader(fileName)
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(fileName, error);
    FWordCapacity = error ? 0 : bytes / 2 + 1;
}

int32_t TPlotFileReader::Count(std::uintmax_t wordsPerItem)
{
    const int32_t count = std::max(Integer(), 0);
    Require(count, wordsPerItem);
    return count;
}

void TPlotFileReader::Require(int64_t items, std::uintmax_t wordsPerItem) const
{
    if (items > 0 && static_cast<std::uintmax_t>(items) * wordsPerItem > FWordCapacity)
        throw EInOutError("This file either invalid or incomplete.");
}

TMainGraphs::TMainGraphs()
{
    Configure(pltLoad, "Load Distribution", "Total Capacity ", "F1", "Depth ", "L2", true);
    Configure(pltAxial, "Axial Load vs Settlement", "Axial Load ", "F1", "Settlement ", "L", true);
    Configure(pltTZcurves, "t-z Curves", "Displacement, z", "L", "Unit Load Transfer, t", "F/L^2", false);
    Configure(PltQW, "Tip Resistance Curve", "Q", "F1", "w", "L", true);
    Configure(pltUSkin, "Unit Skin Friction vs Depth", "Unit Skin Friction", "F1/L2^2", "Depth", "L2", true);
    Configure(pltSkin, "Acculumated Skin Friction vs Depth", "Accumulated Skin Friction ", "F1", "Depth ", "L2", true);
    Configure(pltTip, "Tip Resistance vs Depth", "Tip Resistance ", "F1", "Depth ", "L2", true);
    Configure(pltTotal, "Total Capacity vs Depth", "Total Capacity ", "F1", "Depth ", "L2", true);
    Configure(pltCombine, "Axial Capacity vs Depth", "Axial Capacity", "F1", "Depth", "L2", false);
    Configure(PltExtraTZ, "Extra t-z Curves", "Displacement, z", "L2", "Unit Load Transfer, t", "F1/L2^2", false);
}

std::array<TGraphPlot*, 10> TMainGraphs::All()
{
    return {&pltLoad, &pltAxial, &pltTZcurves, &PltQW,      &pltUSkin,
            &pltSkin, &pltTip,   &pltTotal,    &pltCombine, &PltExtraTZ};
}

namespace {

void ReadTZCurves(TPlotFileReader& file, TGraphPlot& graph, int projectUnits)
{
    const int curves = file.Count(3);
    graph.SetLineCount(curves);
    std::vector<int> counts(curves);
    int longest = 2;
    for (int i = 0; i < curves; ++i) {
        file.Integer();  // curve number
        counts[i] = file.Count(2);
        longest = std::max(longest, counts[i]);
        graph.SetPointCount(longest);
        TLine& line = graph.Line(i);
        line.Name = GeneralNumberText(file.Float(), 15) + (projectUnits == UnitSystem::English ? " in" : " m");
        for (int j = 0; j < counts[i]; ++j) {
            line.Points[j].Y = file.Float();
            line.Points[j].X = file.Float();
        }
    }
    // Shorter curves end on a flat run of their last point; a curve without
    // points keeps (0, 0).
    for (int i = 0; i < curves; ++i) {
        auto& points = graph.Line(i).Points;
        for (std::size_t j = std::max(counts[i], 1); j < points.size(); ++j)
            points[j] = points[j - 1];
    }
}

void ReadQWCurve(TPlotFileReader& file, TGraphPlot& graph)
{
    graph.SetPointCount(file.Count(2));
    for (TFloatPoint& point : graph.Line(0).Points) {
        point.X = file.Float();
        point.Y = file.Float();
    }
}

}  // namespace

bool ReadPlotFile(TMainGraphs& graphs, const std::string& fileName, int projectUnits, std::string* error)
{
    try {
        TPlotFileReader file(fileName);

        graphs.pltSkin.SetLineCount(9);
        for (TGraphPlot* graph : {&graphs.pltUSkin, &graphs.pltTip, &graphs.pltTotal})
            graph->SetLineCount(graphs.pltSkin.LineCount());
        graphs.pltAxial.SetLineCount(1);
        graphs.pltLoad.SetLineCount(9);
        graphs.pltCombine.SetLineCount(3);
        graphs.PltQW.SetLineCount(1);

        ReadTZCurves(file, graphs.pltTZcurves, projectUnits);
        ReadQWCurve(file, graphs.PltQW);

        // Load distribution: one curve per assumed tip movement, one point per
        // pile increment from the tip upward; English files go to feet and kips.
        const int cases = file.Count(3);
        graphs.pltLoad.SetLineCount(cases);
        const int increments = file.Integer();
        file.Require(int64_t{cases} * increments, 3);
        graphs.pltLoad.SetPointCount(increments);
        const int32_t units = file.Integer();
        for (int i = 0; i < cases; ++i)
            for (TFloatPoint& point : graphs.pltLoad.Line(i).Points) {
                point.Y = file.Float();
                point.X = file.Float();
                file.Float();  // movement of the increment
                if (units == UnitSystem::English) {
                    point.Y /= 12;
                    point.X /= 1000;
                }
            }

        // Load against settlement: pile-top load and movement per case, after a
        // starting point; the rows of pile-head load cases are not read.
        TGraphPlot& axial = graphs.pltAxial;
        axial.SetPointCount(cases + 1);
        auto& points = axial.Line(0).Points;
        for (int i = 1; i <= cases; ++i) {
            points[i].X = file.Float();
            points[i].Y = file.Float();
            file.Float();  // tip movement
            file.Float();  // tip load
            if (units == UnitSystem::English)
                points[i].X /= 1000;
        }
        if (points.size() > 1)
            points[0] = points[1].X > 0 ? TFloatPoint{} : points[1];
        // The tip resistance in the same force unit as the other graphs.
        if (units == UnitSystem::English)
            for (TFloatPoint& point : graphs.PltQW.Line(0).Points)
                point.X /= 1000;

        for (TGraphPlot* graph : graphs.All())
            graph->SetUnits(units);
        graphs.PlotsAvailable = true;
        return true;
    } catch (const EInOutError& e) {
        if (error)
            *error = e.what();
    } catch (const std::bad_alloc& e) {
        // Counts that each fit the file but together ask for more curve
        // points than memory holds.
        if (error)
            *error = e.what();
    }
    // No graph keeps the part of the file read before the fault.
    for (TGraphPlot* graph : {&graphs.pltTZcurves, &graphs.PltQW, &graphs.pltLoad, &graphs.pltAxial})
        graph->SetLineCount(0);
    graphs.PlotsAvailable = false;
    return false;
}
