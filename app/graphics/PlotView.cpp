#include "PlotView.h"

#include "GraphPlot.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>

TPixelPoint ClampToRect(TPixelPoint point, const TPixelRect& rect)
{
    return {std::clamp(point.X, std::min(rect.Left, rect.Right), std::max(rect.Left, rect.Right)),
            std::clamp(point.Y, std::min(rect.Top, rect.Bottom), std::max(rect.Top, rect.Bottom))};
}

TAxisRange ZoomAxis(long double a, long double b, const TAxisRange& full)
{
    TAxisRange range{std::min(a, b), std::max(a, b)};
    const long double least = full.Span() / 20;
    if (range.Span() >= least)
        return range;
    const long double centre = (range.Min + range.Max) / 2;
    range = {centre - least / 2, centre + least / 2};
    if (range.Min < full.Min)
        range = {full.Min, full.Min + least};
    else if (range.Max > full.Max)
        range = {full.Max - least, full.Max};
    return range;
}

std::optional<TDataRange> ZoomToBand(const TDataRange& full, const TDataRange& view, TPixelPoint start, TPixelPoint end,
                                     const TPixelRect& plot, bool xOnTop)
{
    if (end.X == start.X || end.Y == start.Y)
        return std::nullopt;
    end = ClampToRect(end, plot);
    TDataRange zoomed;
    zoomed.X = ZoomAxis(UnmapX(start.X, view.X, plot), UnmapX(end.X, view.X, plot), full.X);
    zoomed.Y = ZoomAxis(UnmapY(start.Y, view.Y, plot, xOnTop), UnmapY(end.Y, view.Y, plot, xOnTop), full.Y);
    return zoomed;
}

TAxisRange ZoomOutAxis(const TAxisRange& view, const TAxisRange& full, long double centre)
{
    const long double half = std::min(view.Span(), full.Span() / 2);
    if (centre - half < full.Min)
        centre = full.Min + half;
    if (centre + half > full.Max)
        centre = full.Max - half;
    return {centre - half, centre + half};
}

TDataRange ZoomOut(const TDataRange& full, const TDataRange& view, TPixelPoint click, const TPixelRect& plot,
                   bool xOnTop)
{
    return {ZoomOutAxis(view.X, full.X, UnmapX(click.X, view.X, plot)),
            ZoomOutAxis(view.Y, full.Y, UnmapY(click.Y, view.Y, plot, xOnTop))};
}

TDataPoint CursorPoint(const TDataRange& view, TPixelPoint cursor, const TPixelRect& plot, bool xOnTop)
{
    const TPixelPoint at = ClampToRect(cursor, plot);
    return {UnmapX(at.X, view.X, plot), UnmapY(at.Y, view.Y, plot, xOnTop)};
}

std::string CursorReadout(const std::string& caption, const TDataRange& view, TPixelPoint cursor,
                          const TPixelRect& plot, bool xOnTop)
{
    const TDataPoint at = CursorPoint(view, cursor, plot, xOnTop);
    return caption + " X: " + GeneralNumberText(at.X, 5, ".", 2) + " Y: " + GeneralNumberText(at.Y, 5, ".", 2);
}

TPixelPoint KeepInside(TPixelPoint topLeft, int width, int height, int areaWidth, int areaHeight)
{
    return {std::max(0, std::min(topLeft.X, areaWidth - width)), std::max(0, std::min(topLeft.Y, areaHeight - height))};
}

int MarginPixels(int thousandths, int ppi, int unprintable)
{
    const int pixels = static_cast<int>(std::lround(static_cast<double>(thousandths) * ppi / 1000));
    return std::max(pixels, unprintable);
}

TPixelRect PrintArea(int pageWidth, int pageHeight, int px, int py, const TPageMargins& margins,
                     const TPixelRect& unprintable)
{
    return {MarginPixels(margins.Left, px, unprintable.Left), MarginPixels(margins.Top, py, unprintable.Top),
            pageWidth - MarginPixels(margins.Right, px, unprintable.Right),
            pageHeight - MarginPixels(margins.Bottom, py, unprintable.Bottom)};
}

TPixelRect PrintPlotRect(const TPixelRect& area, int px, int py, int h, bool xOnTop, bool hasTitle, bool titleOnTop)
{
    // The offsets for the captions use the horizontal resolution on both axes.
    const int captionRoom = 2 * h + px / 8 + h / 8;
    TPixelRect rect{area.Left + captionRoom, area.Top, area.Right, area.Bottom};
    if (xOnTop)
        rect.Top += captionRoom;
    else
        rect.Bottom -= captionRoom;
    if (hasTitle) {
        if (titleOnTop)
            rect.Top += py / 4;
        else
            rect.Bottom -= py / 2;
    }
    return rect;
}

TPixelPoint CanvasLegendOrigin(const TPixelRect& area, TPixelPoint screenLegend, int windowWidth, int windowHeight,
                               int boxWidth, int boxHeight)
{
    const int width = area.Right - area.Left;
    const int height = area.Bottom - area.Top;
    const TPixelPoint scaled{static_cast<int>(1LL * width * screenLegend.X / std::max(windowWidth, 1)),
                             static_cast<int>(1LL * height * screenLegend.Y / std::max(windowHeight, 1))};
    // The box is drawn one pixel beyond its width and height.
    const TPixelPoint inside = KeepInside(scaled, boxWidth + 1, boxHeight + 1, width, height);
    return {area.Left + inside.X, area.Top + inside.Y};
}

int PicturePixels(double inches, int ppi) { return static_cast<int>(std::lround(inches * ppi)); }
