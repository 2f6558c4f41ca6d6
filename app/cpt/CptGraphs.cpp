#include "CptGraphs.h"

#include <algorithm>

using namespace cpt;

namespace {

// The three profile plots: caption, axis caption and unit.
struct TPlotKind {
    const char* Caption;
    const char* XCaption;
    const char* XUnits;
};
constexpr std::array<TPlotKind, 3> PlotKinds = {{{"Cone Resistance", "q_c, q_t", "MPa"},
                                                 {"Sleeve Friction and Pore Pressure", "f_s, u_2, u_0", "kPa"},
                                                 {"Soil Behaviour Type Index", "I_c", ""}}};

void FillGraph(TGraphPlot& graph, const std::vector<TProfileSeries>& series)
{
    graph.SetLineCount(static_cast<int>(series.size()));
    for (int i = 0; i < graph.LineCount(); ++i) {
        TLine& line = graph.Line(i);
        line.Name = series[i].Name;
        line.Points.clear();
        for (const auto& [value, depth] : series[i].Points)
            line.Points.push_back({value, depth});
    }
}

// Horizontal lines across the graph's values at the depths, named.
void AddDepthLines(TGraphPlot& graph, const std::vector<std::pair<std::string, double>>& depths)
{
    long double low = 0, high = 0;
    for (int i = 0; i < graph.LineCount(); ++i)
        for (const TFloatPoint& p : graph.Line(i).Points) {
            low = std::min(low, p.X);
            high = std::max(high, p.X);
        }
    for (const auto& [name, depth] : depths)
        graph.Overlays.push_back({name, {{low, depth}, {high, depth}}});
}

}  // namespace

void SetUpProfileGraphs(std::array<TGraphPlot, 3>& graphs)
{
    for (std::size_t i = 0; i < graphs.size(); ++i) {
        TGraphPlot& graph = graphs[i];
        graph.SetUnits(UnitSystem::Symbolic);
        graph.Caption = PlotKinds[i].Caption;
        graph.XCaption = PlotKinds[i].XCaption;
        graph.XUnits = PlotKinds[i].XUnits;
        graph.YCaption = "Depth";
        graph.YUnits = "m";
        graph.Markers = 0;
        graph.CapCurves = false;
        graph.ShowOverlays = true;
        graph.OverlayCaption = "Show &Layer Bottoms and Pile Tip";
    }
}

void FillProfileGraphs(std::array<TGraphPlot, 3>& graphs, const TProfilePlots& plots,
                       const std::vector<double>& layerBottoms, double pileTip, double boundary)
{
    std::vector<std::pair<std::string, double>> depths;
    for (double bottom : layerBottoms)
        depths.push_back({"Layer bottom", bottom});
    depths.push_back({"Pile tip", pileTip});
    const std::array<const std::vector<TProfileSeries>*, 3> series = {&plots.Resistance, &plots.Friction,
                                                                      &plots.Behaviour};
    for (std::size_t i = 0; i < graphs.size(); ++i) {
        TGraphPlot& graph = graphs[i];
        FillGraph(graph, *series[i]);
        graph.Overlays.clear();
        if (graph.LineCount() == 0)
            continue;
        AddDepthLines(graph, depths);
        if (&graph == &graphs.back()) {
            const long double top = graph.Line(0).Points.front().Y, bottom = graph.Line(0).Points.back().Y;
            graph.Overlays.push_back({"Sand/clay boundary", {{boundary, top}, {boundary, bottom}}});
        }
    }
}
