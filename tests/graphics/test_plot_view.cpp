#include "PlotView.h"

#include <gtest/gtest.h>

namespace {

// A plot of 500 x 400 pixels starting at (50, 40).
const TPixelRect Plot{50, 40, 550, 440};

TDataRange Range(long double xMin, long double xMax, long double yMin, long double yMax)
{
    return {{xMin, xMax}, {yMin, yMax}};
}

}  // namespace

TEST(RubberBandZoom, ABandOnePixelWideGetsAFifthOfTheFullSpanCentredAndShiftedInside)
{
    const TDataRange full = Range(0, 100, 0, 100);
    // One pixel wide in the middle: x widened to 5 around the band's centre;
    // y spans the band's 200 pixels, half the range.
    const auto middle = ZoomToBand(full, full, {300, 140}, {301, 340}, Plot, true);
    ASSERT_TRUE(middle);
    EXPECT_NEAR(middle->X.Span(), 5, 1e-12);
    EXPECT_NEAR((middle->X.Min + middle->X.Max) / 2, 50.1L, 1e-12);
    EXPECT_NEAR(middle->Y.Min, 25, 1e-12);
    EXPECT_NEAR(middle->Y.Max, 75, 1e-12);

    // At the left edge the widened span is shifted to start at the minimum;
    // at the right edge to end at the maximum.
    const auto left = ZoomToBand(full, full, {50, 140}, {51, 340}, Plot, true);
    ASSERT_TRUE(left);
    EXPECT_NEAR(left->X.Min, 0, 1e-12);
    EXPECT_NEAR(left->X.Max, 5, 1e-12);
    const auto right = ZoomToBand(full, full, {549, 140}, {550, 340}, Plot, true);
    ASSERT_TRUE(right);
    EXPECT_NEAR(right->X.Min, 95, 1e-12);
    EXPECT_NEAR(right->X.Max, 100, 1e-12);
}

TEST(RubberBandZoom, EndOutsideThePlotIsPulledInAndTheBandMayRunEitherWay)
{
    const TDataRange full = Range(-10, 10, 0, 40);
    // Dragged up and left beyond the plot: the corner stops at the edges.
    const auto zoomed = ZoomToBand(full, full, {300, 240}, {0, 0}, Plot, false);
    ASSERT_TRUE(zoomed);
    EXPECT_NEAR(zoomed->X.Min, -10, 1e-12);
    EXPECT_NEAR(zoomed->X.Max, 0, 1e-12);
    // With the vertical axis growing upward, the top edge is the maximum.
    EXPECT_NEAR(zoomed->Y.Min, 20, 1e-12);
    EXPECT_NEAR(zoomed->Y.Max, 40, 1e-12);
}

TEST(RubberBandZoom, ABandWithoutWidthOrHeightLeavesTheView)
{
    const TDataRange full = Range(0, 100, 0, 100);
    EXPECT_FALSE(ZoomToBand(full, full, {100, 100}, {100, 300}, Plot, true));
    EXPECT_FALSE(ZoomToBand(full, full, {100, 100}, {300, 100}, Plot, true));
}

TEST(RubberBandZoom, AZoomedViewZoomsFurtherButNotBelowAFifthOfTheFullSpan)
{
    const TDataRange full = Range(0, 100, 0, 100);
    const TDataRange view = Range(40, 60, 40, 60);
    const auto zoomed = ZoomToBand(full, view, {50, 40}, {300, 440}, Plot, true);
    ASSERT_TRUE(zoomed);
    // Half the view's width is 10, above the least span of 5.
    EXPECT_NEAR(zoomed->X.Min, 40, 1e-12);
    EXPECT_NEAR(zoomed->X.Max, 50, 1e-12);
    EXPECT_NEAR(ZoomAxis(50, 50.5L, full.X).Span(), 5, 1e-12);
}

TEST(ZoomOut, EachClickDoublesTheSpanUpToTheFullRange)
{
    const TAxisRange full{0, 100};
    TAxisRange view{45, 55};
    view = ZoomOutAxis(view, full, 50);
    EXPECT_NEAR(view.Min, 40, 1e-12);
    EXPECT_NEAR(view.Max, 60, 1e-12);
    view = ZoomOutAxis(view, full, 50);
    EXPECT_NEAR(view.Span(), 40, 1e-12);
    view = ZoomOutAxis(view, full, 50);
    view = ZoomOutAxis(view, full, 50);
    EXPECT_NEAR(view.Min, 0, 1e-12);
    EXPECT_NEAR(view.Max, 100, 1e-12);
}

TEST(ZoomOut, ClicksNearAnEdgeNeverShowAnythingOutsideTheFullRange)
{
    const TDataRange full = Range(0, 100, -50, 0);
    TDataRange view = Range(90, 100, -50, -45);
    for (int click = 0; click < 6; ++click) {
        // Near the bottom-right corner of the plot.
        view = ZoomOut(full, view, {548, 438}, Plot, true);
        EXPECT_GE(view.X.Min, full.X.Min);
        EXPECT_LE(view.X.Max, full.X.Max);
        EXPECT_GE(view.Y.Min, full.Y.Min);
        EXPECT_LE(view.Y.Max, full.Y.Max);
    }
    EXPECT_NEAR(view.X.Span(), 100, 1e-12);
    EXPECT_NEAR(view.Y.Span(), 50, 1e-12);
    // The first click kept the zoomed span's double against the edge.
    const TDataRange once = ZoomOut(full, Range(90, 100, -50, -45), {548, 438}, Plot, true);
    EXPECT_NEAR(once.X.Min, 80, 1e-12);
    EXPECT_NEAR(once.X.Max, 100, 1e-12);
}

TEST(CursorReadout, CaptionAndValuesWithFiveSignificantDigits)
{
    const TDataRange view = Range(0, 3, 0, 123456);
    EXPECT_EQ(CursorReadout("Load Distribution", view, {50, 40}, Plot, true), "Load Distribution X: 0 Y: 0");
    // A third of the way: 1 and 41152 on the axis growing downward.
    EXPECT_EQ(CursorReadout("Q", view, {216, 173}, Plot, true), "Q X: 0.996 Y: 41049");
    // Beyond the plot the values stop at its edges; large values go to
    // exponent form.
    EXPECT_EQ(CursorReadout("Q", Range(0, 3, 0, 1234567), {900, 900}, Plot, true), "Q X: 3 Y: 1.2346E06");
}

TEST(LegendPlace, KeptInsideTheWindow)
{
    EXPECT_EQ(KeepInside({-5, -7}, 100, 50, 400, 300), (TPixelPoint{0, 0}));
    EXPECT_EQ(KeepInside({350, 280}, 100, 50, 400, 300), (TPixelPoint{300, 250}));
    EXPECT_EQ(KeepInside({120, 80}, 100, 50, 400, 300), (TPixelPoint{120, 80}));
    // A box larger than the window stays at its top-left corner.
    EXPECT_EQ(KeepInside({10, 10}, 500, 400, 400, 300), (TPixelPoint{0, 0}));
}

TEST(PrintLayout, MarginsAreAtLeastTheUnprintableBorder)
{
    EXPECT_EQ(MarginPixels(1000, 600, 0), 600);
    EXPECT_EQ(MarginPixels(250, 300, 100), 100);
    EXPECT_EQ(MarginPixels(333, 600, 10), 200);
    // A letter sheet at 600 pixels per inch with one-inch margins and a
    // printer that cannot reach the outer 0.25 inch at the bottom.
    const TPixelRect area = PrintArea(5100, 6600, 600, 600, {1000, 500, 1000, 100}, {0, 0, 0, 150});
    EXPECT_EQ(area, (TPixelRect{600, 300, 4500, 6450}));
}

TEST(PrintLayout, PlotRectangleLeavesRoomForCaptionsAndTitle)
{
    const TPixelRect area{600, 600, 4500, 6000};
    // h = 80 at px = 600: room of 2h + px/8 + h/8 = 245.
    EXPECT_EQ(PrintPlotRect(area, 600, 600, 80, true, false, false), (TPixelRect{845, 845, 4500, 6000}));
    EXPECT_EQ(PrintPlotRect(area, 600, 600, 80, false, false, false), (TPixelRect{845, 600, 4500, 5755}));
    EXPECT_EQ(PrintPlotRect(area, 600, 600, 80, true, true, true), (TPixelRect{845, 995, 4500, 6000}));
    EXPECT_EQ(PrintPlotRect(area, 600, 600, 80, true, true, false), (TPixelRect{845, 845, 4500, 5700}));
}

TEST(PrintLayout, LegendKeepsItsPlaceInTheWindowOnThePage)
{
    // A legend at (600, 300) of an 800 x 600 window sits at three quarters
    // across and half way down the page's drawing area.
    EXPECT_EQ(CanvasLegendOrigin({100, 200, 4100, 6200}, {600, 300}, 800, 600, 500, 300), (TPixelPoint{3100, 3200}));
    // A box that would reach beyond the area (a small picture, with fonts
    // and spacing of its own) is pulled back inside it, frame included.
    EXPECT_EQ(CanvasLegendOrigin({0, 0, 432, 288}, {690, 520}, 800, 600, 90, 66), (TPixelPoint{341, 221}));
    EXPECT_EQ(CanvasLegendOrigin({10, 20, 110, 220}, {0, 0}, 800, 600, 500, 300), (TPixelPoint{10, 20}));
}

TEST(PictureSize, InchesTimesPixelsPerInch)
{
    EXPECT_EQ(PicturePixels(6, 72), 432);
    EXPECT_EQ(PicturePixels(4, 72), 288);
    EXPECT_EQ(PicturePixels(2.5, 75), 188);
}
