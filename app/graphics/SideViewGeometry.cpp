#include "SideViewGeometry.h"

#include "GraphPlot.h"
#include "NumberText.h"
#include "ProgramData.h"
#include "UnitStrings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Nearest whole pixel, kept within what a device can take.
int Pixel(long double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::lround(std::clamp(value, -1.0e7L, 1.0e7L)));
}

bool Finite(const TWorldExtent& e)
{
    return std::isfinite(e.XMin) && std::isfinite(e.XMax) && std::isfinite(e.YMin) && std::isfinite(e.YMax);
}

}  // namespace

long double DrawnHalfWidth(long double outerDiameter) { return 1.5L * outerDiameter; }

TSideViewData ReadSideViewData(const TProgramData& project)
{
    TSideViewData data;
    data.HalfWidth = DrawnHalfWidth(project.OuterDiameter);
    data.PileLength = project.PileLength;
    data.Diameter = project.OuterDiameter;
    data.LengthUnit = ExpandUnits("L", project.Units());
    const TGridTable& layers = project.Tables().D2;
    long double top = 0;
    for (int row = 0; row < layers.RowCount(); ++row) {
        TSoilBand band;
        band.Top = top;
        band.Bottom = layers.GetData(LayerBottomColumn, row).AsFloat();
        band.SoilType = layers.GetData(SoilTypeColumn, row).AsInteger();
        data.Layers.push_back(band);
        top = band.Bottom;
    }
    return data;
}

std::string LayerLabel(const TSoilBand& layer)
{
    return "depth= " + GeneralNumberText(layer.Top, 15) + " - " + GeneralNumberText(layer.Bottom, 15) +
           (layer.SoilType % 2 == 1 ? "; Clay" : "; Sand");
}

std::string DepthCaption(long double depth)
{
    // Halves of the last decimal round away from zero, as 12.25 to 12.3;
    // what rounds to zero shows no sign.
    const long double rounded = std::round(depth * 10) / 10 + 0.0L;
    char text[64];
    std::snprintf(text, sizeof text, "%.1Lf", rounded);
    return std::string("  Depth: ") + text;
}

// ---- TSideViewGeometry ----

void TSideViewGeometry::Rebuild(TSideViewData data)
{
    FData = std::move(data);
    FOutlines.clear();
    if (FData.Layers.empty())
        return;
    const long double w = FData.HalfWidth;
    const long double length = FData.PileLength;
    FOutlines.push_back({{{-w, 0}, {w, 0}, {-w, length}, {w, length}}});
    TWorldExtent extent{0, 0, 0, 0};
    for (const TPileOutline& outline : FOutlines)
        for (const TWorldPoint& corner : outline) {
            extent.XMin = std::min(extent.XMin, corner.X);
            extent.XMax = std::max(extent.XMax, corner.X);
            extent.YMin = std::min(extent.YMin, corner.Y);
            extent.YMax = std::max(extent.YMax, corner.Y);
        }
    extent.YMax = std::max(extent.YMax, FData.Layers.back().Bottom);
    extent.XMin *= 1.05L;
    extent.XMax *= 1.05L;
    extent.YMin *= 1.05L;
    extent.YMax *= 1.05L;
    FBase = extent;
}

bool TSideViewGeometry::Resize(int width, int height)
{
    FWidth = width;
    FHeight = height;
    TWorldExtent view = FBase;
    const long double spanX = view.XMax - view.XMin;
    const long double spanY = view.YMax - view.YMin;
    FBroken = !(width > 0 && height > 0 && spanX > 0 && spanY > 0 && Finite(view));
    if (FBroken)
        return false;
    const long double a = (static_cast<long double>(width) / height) / (spanX / spanY);
    if (a >= 1) {
        view.XMin *= a;
        view.XMax *= a;
    } else {
        view.YMin /= a;
        view.YMax /= a;
    }
    FBroken = !(a > 0 && Finite(view));
    if (!FBroken)
        FView = view;
    return !FBroken;
}

TPixelPoint TSideViewGeometry::ToClient(TWorldPoint point) const
{
    return {Pixel(FWidth * (point.X - FView.XMin) / (FView.XMax - FView.XMin)),
            Pixel(FHeight * (point.Y - FView.YMin) / (FView.YMax - FView.YMin))};
}

long double TSideViewGeometry::DepthAt(int y) const
{
    return (static_cast<long double>(y) / FHeight) * (FView.YMax - FView.YMin) + FView.YMin;
}

TSideViewScene TSideViewGeometry::ScreenScene(int textHeight) const
{
    TSideViewScene scene;
    scene.Background = {0, 0, FWidth, FHeight};
    const int ground = ToClient({0, 0}).Y;
    int freeFrom = ground;
    for (std::size_t i = 0; i < FData.Layers.size(); ++i) {
        const TSoilBand& layer = FData.Layers[i];
        if (i == 0) {
            scene.Lines.push_back({{0, ground}, {FWidth, ground}});
            for (int j = 1; j <= 20; ++j)
                scene.Lines.push_back({{20 * j + 100, ground}, {20 * j + 115, ground + 5}});
        }
        const int bottom = ToClient({0, layer.Bottom}).Y;
        scene.Lines.push_back({{0, bottom}, {FWidth, bottom}});
        // Labels of thin layers go below each other rather than over.
        const int labelTop = std::max(ToClient({0, layer.Top}).Y + textHeight, freeFrom);
        scene.Texts.push_back({{0, labelTop}, LayerLabel(layer)});
        freeFrom = labelTop + textHeight;
    }
    for (const TPileOutline& outline : FOutlines)
        scene.Fills.push_back({ToClient(outline[0]), ToClient(outline[1]), ToClient(outline[3]), ToClient(outline[2])});
    return scene;
}

TSideViewScene TSideViewGeometry::PageScene(int width, int height, int textHeight) const
{
    const long double W = width;
    const long double H = height;
    TSideViewScene scene;
    scene.Background = {Pixel(0.1L * W), Pixel(0.1L * H), Pixel(0.9L * W), Pixel(0.9L * H)};
    scene.LineWidth = 12;
    // The page's depth scale: the deepest of the layers and the pile (a pile
    // reaching below the last layer stays on the paper); 1 when both are at
    // the ground, so that nothing divides by zero.
    long double depth = FData.PileLength;
    if (!FData.Layers.empty())
        depth = std::max(depth, FData.Layers.back().Bottom);
    if (!(depth > 0))
        depth = 1;
    const auto pageY = [&](long double d) { return Pixel(d / depth * 0.8L * H + 0.1L * H); };
    const int left = Pixel(0.1L * W);
    const int right = Pixel(0.9L * W);
    const int ground = pageY(0);
    int freeFrom = ground;
    for (std::size_t i = 0; i < FData.Layers.size(); ++i) {
        const TSoilBand& layer = FData.Layers[i];
        if (i == 0) {
            scene.Lines.push_back({{left, ground}, {right, ground}});
            const int slant = Pixel(0.015L * H);
            for (int x = left + 50; x + slant <= right; x += 50)
                scene.Lines.push_back({{x, ground}, {x + slant, ground + 70}});
        }
        const int bottom = pageY(layer.Bottom);
        scene.Lines.push_back({{left, bottom}, {right, bottom}});
        // The first label clears the ground's hatch.
        const int below = i == 0 ? std::max(textHeight, 70 + textHeight / 4) : textHeight;
        const int labelTop = std::max(pageY(layer.Top) + below, freeFrom);
        scene.Texts.push_back({{Pixel(0.15L * H), labelTop}, LayerLabel(layer)});
        freeFrom = labelTop + textHeight;
    }
    const int centre = Pixel(0.5L * W);
    // Outlines wider than the page would draw nothing more on it.
    const int n = std::min(Pixel(FData.HalfWidth / depth * 0.8L * H), width);
    const int length = Pixel(FData.PileLength / depth * 0.8L * H);
    for (int k = 1; k <= n; ++k)
        scene.Outlines.push_back({centre - k, ground, centre + k, ground + length});

    // The depth scale: a line from the ground to the deepest point, a tick
    // and a label at every major step.
    const int axis = left - textHeight / 2;
    const int tick = textHeight / 2;
    const std::string unit = FData.LengthUnit.empty() ? std::string() : " (" + FData.LengthUnit + ")";
    scene.Scale.push_back({{axis, ground}, {axis, pageY(depth)}});
    const TTicks ticks = AxisTicks({0, depth}, 5);
    if (!ticks.Empty() && textHeight > 0)
        for (int i = 0; i <= ticks.Last; i += 5) {
            const int y = pageY(i * ticks.Step);
            scene.Scale.push_back({{axis - tick, y}, {axis, y}});
            scene.Notes.push_back({{axis - tick - textHeight / 4, y - textHeight / 2}, TickLabel(i * ticks.Step), true});
        }
    scene.Notes.push_back({{axis, ground - 2 * textHeight}, "Depth" + unit, true});
    scene.Notes.push_back({{left, Pixel(0.9L * H) + textHeight / 2},
                           "Pile: length " + GeneralNumberText(FData.PileLength, 8) + " " + FData.LengthUnit +
                               ", outer diameter " + GeneralNumberText(FData.Diameter, 8) + " " + FData.LengthUnit +
                               " (drawn three diameters wide)"});
    return scene;
}
