#pragma once

#include "UnitStrings.h"
// Graph data of the result plots: points, curves and the graph component that
// owns its curves and carries the look of its plot window.

#include <memory>
#include <string>
#include <vector>

struct TFloatPoint {
    long double X = 0;
    long double Y = 0;
};

class TGraphPlot;

// A line drawn over a graph's curves, dashed and in black, that is neither a
// curve of the graph nor listed in its legend: a reference line such as a
// failure criterion. A single point is drawn as a marked point.
struct TGraphOverlay {
    std::string Name;
    std::vector<TFloatPoint> Points;
};

// One curve of a graph.
class TLine {
public:
    TLine(TGraphPlot& graph, int number, std::size_t pointCount);

    std::vector<TFloatPoint> Points;
    // Legend text of its own; empty until set.
    std::string Name;
    // 1-based position in the graph at creation.
    long double Number;
    // Drawn in the plot window.
    bool Shown = true;
    // Listed in the legend and the window's menu, and may be drawn.
    bool Active = true;

    TGraphPlot& Graph() const { return *FGraph; }

private:
    TGraphPlot* FGraph;
};

class TGraphPlot {
public:
    TGraphPlot() = default;
    TGraphPlot(const TGraphPlot&) = delete;
    TGraphPlot& operator=(const TGraphPlot&) = delete;

    std::string CurveName = "Curve #";
    std::string Caption;
    bool ShowLegend = true;
    bool ShowFontWidth = true;
    // A marker at every n-th point; 0 = never.
    int Markers = 1;
    // Text scale in tenths (10 = 1.0).
    int SizeFont = 10;
    // Base point size of the legend text.
    int LegendFont = 11;
    // Curve line-width multiplier.
    int WidthLine = 1;
    std::string XCaption, XUnits;
    std::string YCaption, YUnits;
    // Horizontal axis along the top edge and the vertical axis growing
    // downward (depth-like plots).
    bool XOnTop = true;

    // Graph title typed by the user, and whether it goes above the graph.
    std::string Title;
    bool TitleOnTop = false;
    // Reference lines over the curves, drawn while ShowOverlays is set; the
    // window's Plot menu switches them when there are any.
    std::vector<TGraphOverlay> Overlays;
    bool ShowOverlays = false;
    std::string OverlayCaption = "Show &Capacity Lines";
    // Values measured on the pile, such as a load test's: drawn as marks
    // without a line and listed last in the legend under MeasuredName.
    std::vector<TFloatPoint> Measured;
    std::string MeasuredName = "Measured";

    // When a window opens only the first MaxOpenCurves curves are made active.
    bool CapCurves = true;
    static constexpr int MaxOpenCurves = 20;

    // Unit system used to expand the unit codes: 1 English, 2 SI, 3 none.
    UnitSystem Units() const { return FUnits; }
    void SetUnits(UnitSystem units);

    // Makes the curves a window opening on the graph lists active: the
    // first MaxOpenCurves when CapCurves is set, else all.
    void ActivateOpeningCurves();

    int LineCount() const { return static_cast<int>(FLines.size()); }
    // Extra curves are destroyed from the end, new ones appended; a negative
    // count counts as 0.
    void SetLineCount(int count);
    // Sizes every curve; new points are (0, 0), a negative count counts as 0.
    void SetPointCount(int count);
    TLine& Line(int index) { return *FLines.at(index); }
    const TLine& Line(int index) const { return *FLines.at(index); }
    TFloatPoint& Point(int line, int index) { return Line(line).Points.at(index); }

    // The text a curve shows in the legend: its Name, else CurveName and its
    // Number.
    std::string LegendText(int index) const;
    // Axis captions with their expanded units, such as "Depth  (ft)".
    std::string XAxisText() const;
    std::string YAxisText() const;

private:
    UnitSystem FUnits = UnitSystem::English;
    std::vector<std::unique_ptr<TLine>> FLines;
};
