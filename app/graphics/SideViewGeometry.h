#pragma once

// Device-independent part of the side view of the pile in its soil layers:
// the world (x across, y = depth downward), its extent widened to the
// window's shape, the mapping to the window's pixels, and what is drawn on
// the screen and on the printed page, as pixel lines, texts and shapes.

#include "PlotGeometry.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TProgramData;

struct TWorldPoint {
    long double X = 0;
    long double Y = 0;
    bool operator==(const TWorldPoint&) const = default;
};

// Four corners of a quadrilateral: top left, top right, bottom left, bottom
// right (drawn in the order 0, 1, 3, 2 so that the outline does not cross).
using TPileOutline = std::array<TWorldPoint, 4>;

struct TWorldExtent {
    long double XMin = -10;
    long double XMax = 10;
    long double YMin = 0;
    long double YMax = 10;
    bool operator==(const TWorldExtent&) const = default;
};

// One row of the soil-layer table: its top is the bottom of the row above
// (0 for the first row).
struct TSoilBand {
    long double Top = 0;
    long double Bottom = 0;
    int32_t SoilType = 1;
};

// What the side view draws of a project.
struct TSideViewData {
    // Half the drawn width of the pile, in the depth unit.
    long double HalfWidth = 0;
    long double PileLength = 0;
    long double Diameter = 0;
    // "in" or "m": the unit of every length.
    std::string LengthUnit;
    std::vector<TSoilBand> Layers;
};

// The pile is drawn three diameters wide: half of that. The diameter is in
// the depth unit (in or m, like every length of the project).
long double DrawnHalfWidth(long double outerDiameter);

// The pile and the soil layers of the project and its table D2. Throws
// ETableError when the table lacks the cells of a layer.
TSideViewData ReadSideViewData(const TProgramData& project);

// "depth= 0 - 12.5; Clay": the layer's depths (at most 15 significant
// digits) and its kind, clay for the odd soil-type codes, sand otherwise.
std::string LayerLabel(const TSoilBand& layer);

// Window caption of the depth under the cursor: "  Depth: 12.3".
std::string DepthCaption(long double depth);

struct TPixelLine {
    TPixelPoint From;
    TPixelPoint To;
    bool operator==(const TPixelLine&) const = default;
};

// A text whose top-left corner is At, or its top-right corner when it is
// right-aligned.
struct TSceneText {
    TPixelPoint At;
    std::string Text;
    bool RightAligned = false;
};

// Everything drawn on one device, in device pixels.
struct TSideViewScene {
    // Filled with the background colour first.
    TPixelRect Background;
    int LineWidth = 1;
    // Ground line, hatch strokes and layer bottoms, in drawing order.
    std::vector<TPixelLine> Lines;
    std::vector<TSceneText> Texts;
    // Filled polygons of the pile (screen).
    std::vector<std::array<TPixelPoint, 4>> Fills;
    // Rectangle outlines of the pile, nested so that together they fill it
    // (printed page).
    std::vector<TPixelRect> Outlines;
    // The depth scale beside the frame, in thin lines, and its labels, the
    // caption with the unit and the pile's dimensions (printed page).
    std::vector<TPixelLine> Scale;
    std::vector<TSceneText> Notes;
};

// The state of the side view window: the pile's outlines, the extent of the
// world and of the view, and whether the view can be drawn at all.
class TSideViewGeometry {
public:
    // Builds the outlines and the base extent from the data (the window's
    // activation); the view follows at the next Resize. Without layers the
    // outlines are emptied and the base extent is kept.
    void Rebuild(TSideViewData data);
    // Widens the base extent to a client area of width x height pixels.
    // False (and ViewBroken set) when that is impossible, for instance for
    // a window without height or a world without width; a later call that
    // succeeds clears it.
    bool Resize(int width, int height);

    const TSideViewData& Data() const { return FData; }
    const std::vector<TPileOutline>& PileOutlines() const { return FOutlines; }
    const TWorldExtent& BaseExtent() const { return FBase; }
    const TWorldExtent& ViewExtent() const { return FView; }
    bool ViewBroken() const { return FBroken; }

    // World to client pixels and a client row back to its depth, over the
    // view of the last Resize.
    TPixelPoint ToClient(TWorldPoint point) const;
    long double DepthAt(int y) const;

    // The window's drawing, for a font textHeight pixels high.
    TSideViewScene ScreenScene(int textHeight) const;
    // The printed page of width x height device pixels: the frame from 0.1
    // to 0.9 of the page, depths scaled so that the deeper of the last
    // layer's bottom and the pile's tip is at 0.9 of its height; the ground
    // hatched over the frame's width, a depth scale left of the frame and
    // the pile's dimensions below it.
    TSideViewScene PageScene(int width, int height, int textHeight) const;

private:
    TSideViewData FData;
    std::vector<TPileOutline> FOutlines;
    TWorldExtent FBase;
    TWorldExtent FView;
    int FWidth = 0;
    int FHeight = 0;
    bool FBroken = false;
};
