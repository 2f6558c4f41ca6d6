#include "MainGraphs.h"

#include "NumberText.h"
#include "UnitStrings.h"
#include "WordReader.h"

#include <algorithm>
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

void FillTZCurves(TGraphPlot& graph, const std::vector<TPlotTZCurve>& curves, UnitSystem projectUnits)
{
    graph.SetLineCount(static_cast<int>(curves.size()));
    std::size_t longest = 2;
    for (const TPlotTZCurve& curve : curves)
        longest = std::max(longest, curve.Points.size());
    graph.SetPointCount(static_cast<int>(longest));
    for (std::size_t i = 0; i < curves.size(); ++i) {
        TLine& line = graph.Line(static_cast<int>(i));
        line.Name = GeneralNumberText(curves[i].Depth, 15) + (projectUnits == UnitSystem::English ? " in" : " m");
        const std::vector<TPlotPoint>& points = curves[i].Points;
        // Shorter curves end on a flat run of their last point; a curve
        // without points keeps (0, 0).
        for (std::size_t j = 0; j < line.Points.size(); ++j)
            if (j < points.size())
                line.Points[j] = {points[j].X, points[j].Y};
            else
                line.Points[j] = j > 0 ? line.Points[j - 1] : TFloatPoint{};
    }
}

}  // namespace

void FillGraphs(TMainGraphs& graphs, const TPlotData& data, UnitSystem projectUnits)
{
    graphs.pltSkin.SetLineCount(9);
    for (TGraphPlot* graph : {&graphs.pltUSkin, &graphs.pltTip, &graphs.pltTotal})
        graph->SetLineCount(graphs.pltSkin.LineCount());
    graphs.pltCombine.SetLineCount(3);

    FillTZCurves(graphs.pltTZcurves, data.TZCurves, projectUnits);
    // English files go to feet and kips: the tip resistance in the same force
    // unit as the other graphs.
    const bool english = data.Units == UnitSystem::English;
    graphs.PltQW.SetLineCount(1);
    graphs.PltQW.SetPointCount(static_cast<int>(data.QWCurve.size()));
    for (std::size_t i = 0; i < data.QWCurve.size(); ++i)
        graphs.PltQW.Line(0).Points[i] = {english ? data.QWCurve[i].X / 1000 : data.QWCurve[i].X, data.QWCurve[i].Y};

    // Load distribution: one curve per assumed tip movement, one point per
    // pile increment from the tip upward.
    graphs.pltLoad.SetLineCount(static_cast<int>(data.Distributions.size()));
    graphs.pltLoad.SetPointCount(data.Increments);
    for (std::size_t i = 0; i < data.Distributions.size(); ++i) {
        auto& points = graphs.pltLoad.Line(static_cast<int>(i)).Points;
        const auto& distribution = data.Distributions[i];
        for (std::size_t j = 0; j < points.size() && j < distribution.size(); ++j)
            points[j] = english ? TFloatPoint{distribution[j].Load / 1000, distribution[j].Depth / 12}
                                : TFloatPoint{distribution[j].Load, distribution[j].Depth};
    }

    // Load against settlement: pile-top load and movement per case, after a
    // starting point; the pile-head load cases are no points of it.
    TGraphPlot& axial = graphs.pltAxial;
    axial.SetLineCount(1);
    axial.SetPointCount(static_cast<int>(data.LoadSettlement.size()) + 1);
    auto& points = axial.Line(0).Points;
    for (std::size_t i = 0; i < data.LoadSettlement.size(); ++i) {
        const TLoadSettlementRow& row = data.LoadSettlement[i];
        points[i + 1] = {english ? row.TopLoad / 1000 : row.TopLoad, row.TopMovement};
    }
    if (points.size() > 1)
        points[0] = points[1].X > 0 ? TFloatPoint{} : points[1];

    for (TGraphPlot* graph : graphs.All())
        graph->SetUnits(data.Units);
    graphs.PlotsAvailable = true;
}

void ForgetProjectSettings(TMainGraphs& graphs)
{
    for (TGraphPlot* graph : graphs.All()) {
        const int lines = graph->LineCount();
        // Curves made anew hold no name of their own and are shown.
        graph->SetLineCount(0);
        graph->SetLineCount(lines);
        graph->Title.clear();
        graph->TitleOnTop = false;
    }
}

void ClearGraphs(TMainGraphs& graphs)
{
    for (TGraphPlot* graph : {&graphs.pltTZcurves, &graphs.PltQW, &graphs.pltLoad, &graphs.pltAxial})
        graph->SetLineCount(0);
    graphs.PlotsAvailable = false;
}

bool ReadPlotFile(TMainGraphs& graphs, const std::string& fileName, UnitSystem projectUnits, std::string* error)
{
    try {
        FillGraphs(graphs, ReadPlotData(fileName), projectUnits);
        return true;
    } catch (const EInOutError& e) {
        if (error)
            *error = e.what();
    } catch (const std::bad_alloc& e) {
        // Counts that each fit the file but together ask for more than
        // memory holds.
        if (error)
            *error = e.what();
    }
    ClearGraphs(graphs);
    return false;
}
