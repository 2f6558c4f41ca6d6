#include "ProgramData.h"
#include "SideViewGeometry.h"

#include <gtest/gtest.h>

namespace {

// A pile of the half width and length standing in layers with these bottoms
// (clay, sand, clay, ...).
TSideViewData Profile(long double halfWidth, long double length, std::vector<long double> bottoms)
{
    TSideViewData data;
    data.HalfWidth = halfWidth;
    data.PileLength = length;
    long double top = 0;
    int32_t code = 1;
    for (long double bottom : bottoms) {
        data.Layers.push_back({top, bottom, code});
        top = bottom;
        code = code % 6 + 1;
    }
    return data;
}

TSideViewGeometry Built(const TSideViewData& data, int width, int height)
{
    TSideViewGeometry geometry;
    geometry.Rebuild(data);
    geometry.Resize(width, height);
    return geometry;
}

}  // namespace

// ---- What is read from the project ----

TEST(SideViewData, LayersRunFromTheBottomOfTheLayerAbove)
{
    TProjectTables tables;
    TProgramData project(tables);
    project.PileLength = 20;
    project.OuterDiameter = 36;
    tables.D2.SetRowCount(3);
    const int32_t codes[] = {3, 4, 6};
    const long double bottoms[] = {10, 25.5L, 40};
    for (int row = 0; row < 3; ++row) {
        tables.D2.GetData(SoilTypeColumn, row).SetInteger(codes[row]);
        tables.D2.GetData(LayerBottomColumn, row).SetFloat(bottoms[row]);
    }
    const TSideViewData data = ReadSideViewData(project);
    EXPECT_EQ(data.HalfWidth, 54);  // three diameters wide
    EXPECT_EQ(data.PileLength, 20);
    ASSERT_EQ(data.Layers.size(), 3u);
    EXPECT_EQ(data.Layers[0].Top, 0);
    EXPECT_EQ(data.Layers[1].Top, 10);
    EXPECT_EQ(data.Layers[2].Top, 25.5L);
    EXPECT_EQ(data.Layers[2].Bottom, 40);
    EXPECT_EQ(data.Layers[1].SoilType, 4);

    // In SI units the diameter is in m like the depths: still three wide.
    project.SetUnits(UnitSystem::SI);
    const TSideViewData si = ReadSideViewData(project);
    EXPECT_EQ(si.HalfWidth, 1.5L * project.OuterDiameter);
    EXPECT_NEAR(si.HalfWidth, 1.3716L, 1e-9);
    EXPECT_NEAR(si.PileLength, 0.508L, 1e-9);
    EXPECT_NEAR(si.Layers[2].Bottom, 1.016L, 1e-9);
}

TEST(SideViewData, LabelsNameTheDepthsAndTheKindOfSoil)
{
    EXPECT_EQ(LayerLabel({0, 12.5L, 3}), "depth= 0 - 12.5; Clay");
    EXPECT_EQ(LayerLabel({12.5L, 30, 4}), "depth= 12.5 - 30; Sand");
    EXPECT_EQ(LayerLabel({0, 1, 1}), "depth= 0 - 1; Clay");
    EXPECT_EQ(LayerLabel({0, 1, 5}), "depth= 0 - 1; Clay");
    EXPECT_EQ(LayerLabel({0, 1, 2}), "depth= 0 - 1; Sand");
    EXPECT_EQ(LayerLabel({0, 1, 6}), "depth= 0 - 1; Sand");
    // Up to 15 significant digits, then the exponent form.
    EXPECT_EQ(LayerLabel({1.0L / 3, 123456789012345.0L, 2}), "depth= 0.333333333333333 - 123456789012345; Sand");
    EXPECT_EQ(LayerLabel({0, 1e16L, 2}), "depth= 0 - 1E16; Sand");
}

TEST(SideViewData, DepthCaptionHasOneDecimal)
{
    EXPECT_EQ(DepthCaption(12.34L), "  Depth: 12.3");
    EXPECT_EQ(DepthCaption(12.25L), "  Depth: 12.3");
    EXPECT_EQ(DepthCaption(0), "  Depth: 0.0");
    EXPECT_EQ(DepthCaption(-0.04L), "  Depth: 0.0");
    EXPECT_EQ(DepthCaption(62.96L), "  Depth: 63.0");
}

// ---- Extent and view ----

TEST(SideViewExtent, ReachesPileOrLastLayerWhicheverIsDeeper)
{
    TSideViewGeometry geometry;
    geometry.Rebuild(Profile(3, 60, {50}));
    EXPECT_EQ(geometry.BaseExtent().YMax, 60 * 1.05L);
    EXPECT_NEAR(geometry.BaseExtent().YMax, 63, 1e-15);
    EXPECT_EQ(geometry.BaseExtent().YMin, 0);
    EXPECT_EQ(geometry.BaseExtent().XMin, -3 * 1.05L);
    EXPECT_EQ(geometry.BaseExtent().XMax, 3 * 1.05L);

    geometry.Rebuild(Profile(3, 40, {50}));
    EXPECT_NEAR(geometry.BaseExtent().YMax, 52.5L, 1e-15);

    // Only the last layer's bottom counts, not a deeper one above it.
    geometry.Rebuild(Profile(3, 40, {80, 50}));
    EXPECT_NEAR(geometry.BaseExtent().YMax, 52.5L, 1e-15);
}

TEST(SideViewExtent, PileOutlineHasItsFourCorners)
{
    TSideViewGeometry geometry;
    geometry.Rebuild(Profile(2, 30, {10, 40}));
    ASSERT_EQ(geometry.PileOutlines().size(), 1u);
    const TPileOutline expected{{{-2, 0}, {2, 0}, {-2, 30}, {2, 30}}};
    EXPECT_EQ(geometry.PileOutlines()[0], expected);
}

TEST(SideViewExtent, WithoutLayersNoPileAndTheExtentIsKept)
{
    TSideViewGeometry geometry;
    EXPECT_EQ(geometry.BaseExtent(), (TWorldExtent{-10, 10, 0, 10}));
    geometry.Rebuild(Profile(3, 60, {}));
    EXPECT_TRUE(geometry.PileOutlines().empty());
    EXPECT_EQ(geometry.BaseExtent(), (TWorldExtent{-10, 10, 0, 10}));

    geometry.Rebuild(Profile(3, 60, {50}));
    geometry.Rebuild(Profile(5, 10, {}));
    EXPECT_NEAR(geometry.BaseExtent().YMax, 63, 1e-15);
}

TEST(SideViewExtent, WideWindowWidensTheWorldAcross)
{
    // World 6.3 wide and 63 deep in a window twice as wide as high: across
    // widened twenty times, the depth unchanged.
    const TSideViewGeometry geometry = Built(Profile(3, 60, {50}), 400, 200);
    ASSERT_FALSE(geometry.ViewBroken());
    EXPECT_NEAR(geometry.ViewExtent().XMin, -63, 1e-12);
    EXPECT_NEAR(geometry.ViewExtent().XMax, 63, 1e-12);
    EXPECT_EQ(geometry.ViewExtent().YMin, 0);
    EXPECT_NEAR(geometry.ViewExtent().YMax, 63, 1e-15);
}

TEST(SideViewExtent, TallWindowDeepensTheWorld)
{
    // World 105 wide and 52.5 deep in a window four times as high as wide:
    // the depth grows eight times, the ground stays at the top.
    const TSideViewGeometry geometry = Built(Profile(50, 10, {50}), 100, 400);
    ASSERT_FALSE(geometry.ViewBroken());
    EXPECT_NEAR(geometry.ViewExtent().XMax, 52.5L, 1e-12);
    EXPECT_EQ(geometry.ViewExtent().YMin, 0);
    EXPECT_NEAR(geometry.ViewExtent().YMax, 420, 1e-12);
    EXPECT_EQ(geometry.ToClient({0, 0}).Y, 0);
}

TEST(SideViewExtent, ImpossibleViewsAreBrokenUntilAResizeSucceeds)
{
    TSideViewGeometry geometry;
    geometry.Rebuild(Profile(3, 60, {50}));
    EXPECT_FALSE(geometry.Resize(300, 0));
    EXPECT_TRUE(geometry.ViewBroken());
    EXPECT_FALSE(geometry.Resize(0, 300));
    EXPECT_FALSE(geometry.Resize(0, 0));
    EXPECT_TRUE(geometry.Resize(300, 300));
    EXPECT_FALSE(geometry.ViewBroken());

    // A pile without diameter has a world without width; a new project,
    // everything at the ground, has none at all.
    geometry.Rebuild(Profile(0, 60, {50}));
    EXPECT_FALSE(geometry.Resize(300, 300));
    geometry.Rebuild(Profile(0, 0, {0}));
    EXPECT_FALSE(geometry.Resize(300, 300));
    EXPECT_TRUE(geometry.ViewBroken());
}

TEST(SideViewExtent, WorldToClientAndBack)
{
    // 400 x 200: x from -63 to 63, depth 0 to 63.
    const TSideViewGeometry geometry = Built(Profile(3, 60, {50}), 400, 200);
    EXPECT_EQ(geometry.ToClient({0, 0}), (TPixelPoint{200, 0}));
    EXPECT_EQ(geometry.ToClient({-63, 63}), (TPixelPoint{0, 200}));
    EXPECT_EQ(geometry.ToClient({3, 60}), (TPixelPoint{210, 190}));  // 209.52, 190.48
    EXPECT_EQ(geometry.ToClient({0, 50}).Y, 159);                    // 158.73
    EXPECT_NEAR(geometry.DepthAt(100), 31.5L, 1e-12);
    EXPECT_EQ(geometry.DepthAt(0), 0);
    EXPECT_NEAR(geometry.DepthAt(200), 63, 1e-12);
}

// ---- What is drawn ----

TEST(SideViewScene, ScreenShowsGroundHatchLayerBottomsLabelsAndPile)
{
    const TSideViewGeometry geometry = Built(Profile(3, 60, {20, 50}), 400, 200);
    const TSideViewScene scene = geometry.ScreenScene(13);
    EXPECT_EQ(scene.Background, (TPixelRect{0, 0, 400, 200}));
    EXPECT_EQ(scene.LineWidth, 1);
    // Ground at the top edge, 20 strokes, then one bottom line per layer.
    ASSERT_EQ(scene.Lines.size(), 1u + 20 + 2);
    EXPECT_EQ(scene.Lines[0], (TPixelLine{{0, 0}, {400, 0}}));
    EXPECT_EQ(scene.Lines[1], (TPixelLine{{120, 0}, {135, 5}}));
    EXPECT_EQ(scene.Lines[20], (TPixelLine{{500, 0}, {515, 5}}));
    EXPECT_EQ(scene.Lines[21], (TPixelLine{{0, 63}, {400, 63}}));  // 20 / 63 * 200 = 63.49
    EXPECT_EQ(scene.Lines[22], (TPixelLine{{0, 159}, {400, 159}}));
    // Labels one text height below the layer's top.
    ASSERT_EQ(scene.Texts.size(), 2u);
    EXPECT_EQ(scene.Texts[0].At, (TPixelPoint{0, 13}));
    EXPECT_EQ(scene.Texts[0].Text, "depth= 0 - 20; Clay");
    EXPECT_EQ(scene.Texts[1].At, (TPixelPoint{0, 63 + 13}));
    EXPECT_EQ(scene.Texts[1].Text, "depth= 20 - 50; Sand");
    // The pile's corners in an order that does not cross.
    ASSERT_EQ(scene.Fills.size(), 1u);
    const std::array<TPixelPoint, 4> pile{{{190, 0}, {210, 0}, {210, 190}, {190, 190}}};
    EXPECT_EQ(scene.Fills[0], pile);
    EXPECT_TRUE(scene.Outlines.empty());
}

TEST(SideViewScene, PageIsLaidOutOverTheFrameOfThePrintableArea)
{
    // A landscape page of 6000 x 4000 device pixels; the last layer at 50 is
    // the deepest, so depth d is at round(d / 50 * 3200 + 400).
    TSideViewData data = Profile(2.5L, 40, {20, 50});
    data.Diameter = 2;
    data.LengthUnit = "in";
    const TSideViewGeometry geometry = Built(data, 400, 200);
    const TSideViewScene page = geometry.PageScene(6000, 4000, 90);
    EXPECT_EQ(page.Background, (TPixelRect{600, 400, 5400, 3600}));
    EXPECT_EQ(page.LineWidth, 12);
    // The ground is hatched over the frame's width, every 50 pixels.
    ASSERT_EQ(page.Lines.size(), 1u + 94 + 2);
    EXPECT_EQ(page.Lines[0], (TPixelLine{{600, 400}, {5400, 400}}));
    EXPECT_EQ(page.Lines[1], (TPixelLine{{650, 400}, {710, 470}}));  // slant 0.015H
    EXPECT_EQ(page.Lines[94], (TPixelLine{{5300, 400}, {5360, 470}}));
    EXPECT_EQ(page.Lines[95], (TPixelLine{{600, 1680}, {5400, 1680}}));
    EXPECT_EQ(page.Lines[96], (TPixelLine{{600, 3600}, {5400, 3600}}));
    // A depth scale left of the frame down to the deepest point, labelled
    // every 10, its caption with the unit, and the pile's dimensions.
    ASSERT_FALSE(page.Scale.empty());
    EXPECT_EQ(page.Scale.front(), (TPixelLine{{555, 400}, {555, 3600}}));
    ASSERT_EQ(page.Notes.size(), 6u + 2);
    EXPECT_EQ(page.Notes[1].Text, "10");
    EXPECT_TRUE(page.Notes[1].RightAligned);
    EXPECT_EQ(page.Notes[6].Text, "Depth (in)");
    EXPECT_EQ(page.Notes[7].Text, "Pile: length 40 in, outer diameter 2 in (drawn three diameters wide)");
    ASSERT_EQ(page.Texts.size(), 2u);
    EXPECT_EQ(page.Texts[0].At, (TPixelPoint{600, 492}));  // 0.15H, below the hatch
    EXPECT_EQ(page.Texts[1].At, (TPixelPoint{600, 1770}));
    EXPECT_EQ(page.Texts[1].Text, "depth= 20 - 50; Sand");
    // Half width 2.5 is 160 pixels: 160 nested outlines down to 40 / 50 * 3200.
    ASSERT_EQ(page.Outlines.size(), 160u);
    EXPECT_EQ(page.Outlines.front(), (TPixelRect{2999, 400, 3001, 2960}));
    EXPECT_EQ(page.Outlines.back(), (TPixelRect{2840, 400, 3160, 2960}));
    EXPECT_TRUE(page.Fills.empty());
}

TEST(SideViewScene, PageKeepsAPileBelowTheLastLayerOnThePaper)
{
    const TSideViewGeometry geometry = Built(Profile(2.5L, 60, {50}), 400, 200);
    const TSideViewScene page = geometry.PageScene(6000, 4000, 90);
    EXPECT_EQ(page.Lines.back().From.Y, 3067);  // 50 / 60 * 3200 + 400 = 3066.67
    EXPECT_EQ(page.Outlines.back().Bottom, 3600);
}

TEST(SideViewScene, PageOfANewProjectDrawsEverythingAtTheGround)
{
    // Nothing has depth yet (and the screen view is broken): no division
    // by zero, every line at the top of the frame, no pile.
    const TSideViewGeometry geometry = Built(Profile(0, 0, {0}), 400, 200);
    ASSERT_TRUE(geometry.ViewBroken());
    const TSideViewScene page = geometry.PageScene(6000, 4000, 90);
    for (const TPixelLine& line : page.Lines)
        EXPECT_EQ(line.From.Y, 400);
    EXPECT_TRUE(page.Outlines.empty());
}

TEST(SideViewScene, LabelsOfThinLayersDoNotOverlap)
{
    // New rows at depth 0 put several layers at the ground: their labels
    // stack instead of being drawn over each other.
    const TSideViewGeometry geometry = Built(Profile(2.5L, 40, {0, 0, 50}), 400, 200);
    const std::pair<TSideViewScene, int> scenes[] = {{geometry.ScreenScene(14), 14},
                                                      {geometry.PageScene(6000, 4000, 90), 90}};
    for (const auto& [scene, textHeight] : scenes) {
        ASSERT_EQ(scene.Texts.size(), 3u);
        for (std::size_t i = 1; i < scene.Texts.size(); ++i)
            EXPECT_GE(scene.Texts[i].At.Y - scene.Texts[i - 1].At.Y, textHeight);
    }
}
