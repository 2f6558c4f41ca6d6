#include "TableLayout.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A window at 96 pixels per inch (margin 4) over a table of five columns of
// 64 pixels and 25 rows, two heading rows, rows 24 pixels high.
//   fixed width  = frame 16 + 2m 8 + 5 + row-number column 33 = 62
//   column       = 65 each, all five 325
//   fixed height = frame 39 + 2m 8 + 5 + buttons 29 + headings 50 = 131
//   row          = 25 each
//   buttons need = frame 16 + 2m 8 + 233 = 257
TableLayoutInput Window()
{
    TableLayoutInput in;
    in.FrameWidth = 16;
    in.FrameHeight = 39;
    in.Margin = 4;
    in.VScrollWidth = 17;
    in.HScrollHeight = 17;
    in.ButtonSpan = 233;
    in.Below = 29;
    in.FixedColumnWidths = {32};
    in.ColumnWidths = {64, 64, 64, 64, 64};
    in.RowPitch = 25;
    in.HeadingRows = 2;
    in.RowCount = 25;
    in.ColumnsInView = 5;
    in.RowsInView = 10;
    return in;
}

constexpr int kAllColumns = 62 + 325;  // 387
constexpr int kTenRows = 131 + 250;    // 381

TEST(TableLayout, MisfitIsTheAreaOutsideTheProposedRectangle)
{
    EXPECT_EQ(Misfit(100, 80, 100, 80), 0);
    EXPECT_EQ(Misfit(90, 100, 100, 80), 100 * 20);
    EXPECT_EQ(Misfit(120, 70, 100, 80), 80 * 20);
    EXPECT_EQ(Misfit(120, 100, 100, 80), 120 * 100 - 100 * 80);
    // Large windows must not overflow 32 bits.
    EXPECT_EQ(Misfit(100000, 100000, 1, 1), 10000000000LL - 1);
}

TEST(TableLayout, RoomForEverythingShowsTheWholeTableWithoutScrollBars)
{
    TableLayoutInput in = Window();
    in.ProposedWidth = 2000;
    in.ProposedHeight = 2000;
    const TableLayout layout = SnapTableLayout(in);
    EXPECT_EQ(layout.Candidate, 0);  // every candidate fits; the first one wins the tie
    EXPECT_EQ(layout.Width, kAllColumns);
    EXPECT_EQ(layout.Height, 131 + 25 * 25);
    EXPECT_EQ(layout.ColumnsInView, 5);
    EXPECT_EQ(layout.RowsInView, 25);
}

TEST(TableLayout, DraggingTheRightEdgeToHalfAColumnSnapsToTheLastWholeColumn)
{
    TableLayoutInput in = Window();
    in.Edge = SizingEdge::Right;
    const int withBothBars = kTenRows + 17;
    in.ProposedWidth = 62 + 17 + 3 * 65 + 32;
    in.ProposedHeight = withBothBars;
    const TableLayout layout = SnapTableLayout(in);
    EXPECT_EQ(layout.Candidate, 3);
    EXPECT_EQ(layout.Width, 62 + 17 + 3 * 65);
    EXPECT_EQ(layout.Height, withBothBars);
    EXPECT_EQ(layout.FirstColumn, 0);
    EXPECT_EQ(layout.ColumnsInView, 3);
    EXPECT_EQ(layout.RowsInView, 10);  // a horizontal drag keeps the rows

    const WindowRect rect =
        SnapRect({100, 50, 100 + in.ProposedWidth, 50 + in.ProposedHeight}, in.Edge, layout.Width, layout.Height);
    EXPECT_EQ(rect.Left, 100);
    EXPECT_EQ(rect.Right, 100 + layout.Width);
    EXPECT_EQ(rect.Top, 50);
    EXPECT_EQ(rect.Bottom, 50 + withBothBars);
}

TEST(TableLayout, DraggingTheBottomEdgeSnapsToWholeRowsAndKeepsTheColumns)
{
    TableLayoutInput in = Window();
    in.Edge = SizingEdge::Bottom;
    in.ProposedWidth = kAllColumns + 17;
    in.ProposedHeight = kTenRows + 12;  // ten and a half rows
    const TableLayout layout = SnapTableLayout(in);
    EXPECT_EQ(layout.Candidate, 2);
    EXPECT_EQ(layout.Height, kTenRows);
    EXPECT_EQ(layout.RowsInView, 10);
    EXPECT_EQ(layout.ColumnsInView, 5);

    // With a horizontal bar too, a vertical drag leaves the scrolled columns alone.
    in.FirstColumn = 2;
    in.ColumnsInView = 2;
    const TableLayout both = MeasureTableLayout(in, 3);
    EXPECT_EQ(both.FirstColumn, 2);
    EXPECT_EQ(both.ColumnsInView, 2);
    EXPECT_EQ(both.Width, 257);  // two columns are narrower than the buttons
}

TEST(TableLayout, GrowingAtTheEndOfTheRowsMovesTheFirstRowUp)
{
    TableLayoutInput in = Window();
    in.Edge = SizingEdge::Top;
    in.FirstRow = 15;  // rows 15..24 in view
    in.ProposedWidth = kAllColumns + 17;
    in.ProposedHeight = 131 + 12 * 25;
    const TableLayout layout = SnapTableLayout(in);
    EXPECT_EQ(layout.Candidate, 2);
    EXPECT_EQ(layout.RowsInView, 12);
    EXPECT_EQ(layout.FirstRow, 13);

    const WindowRect rect = SnapRect({0, 100, 404, 481}, in.Edge, layout.Width, layout.Height);
    EXPECT_EQ(rect.Bottom, 481);  // the top edge moves, the bottom stays
    EXPECT_EQ(rect.Top, 481 - layout.Height);
}

TEST(TableLayout, ColumnsAreAddedRightOfTheFirstScrolledColumnThenLeftOfIt)
{
    TableLayoutInput in = Window();
    in.Edge = SizingEdge::BottomLeft;
    in.FirstColumn = 3;
    in.ColumnsInView = 2;
    in.ProposedWidth = 62 + 17 + 4 * 65 + 10;
    in.ProposedHeight = kTenRows + 17;
    const TableLayout layout = MeasureTableLayout(in, 3);
    EXPECT_EQ(layout.FirstColumn, 1);  // 3 and 4, then 2 and 1
    EXPECT_EQ(layout.ColumnsInView, 4);
    EXPECT_EQ(layout.Width, 62 + 17 + 4 * 65);
}

TEST(TableLayout, NarrowWindowsKeepRoomForTheButtonsAndAtLeastOneColumn)
{
    TableLayoutInput in = Window();
    in.Edge = SizingEdge::Left;
    in.ProposedWidth = 50;
    in.ProposedHeight = kTenRows + 17;
    const TableLayout layout = SnapTableLayout(in);
    EXPECT_EQ(layout.Candidate, 3);
    EXPECT_EQ(layout.ColumnsInView, 3);  // columns are added until the buttons fit
    EXPECT_EQ(layout.Width, 62 + 17 + 3 * 65);

    // Without row buttons, a first column wider than the window is kept all the same.
    in.ButtonSpan = 0;
    in.ColumnWidths = {400, 64};
    in.ColumnsInView = 2;
    const TableLayout wide = MeasureTableLayout(in, 3);
    EXPECT_EQ(wide.FirstColumn, 0);
    EXPECT_EQ(wide.ColumnsInView, 1);
    EXPECT_EQ(wide.Width, 62 + 17 + 401);
}

TEST(TableLayout, ATableWithoutDataColumnsCannotBeLaidOut)
{
    TableLayoutInput in = Window();
    in.ColumnWidths.clear();
    in.ColumnsInView = 0;
    in.ProposedWidth = 300;
    in.ProposedHeight = 300;
    EXPECT_THROW(SnapTableLayout(in), std::runtime_error);
}

TEST(TableLayout, CornersMoveBothOfTheirEdges)
{
    const WindowRect proposed{10, 20, 110, 220};
    const WindowRect topLeft = SnapRect(proposed, SizingEdge::TopLeft, 50, 60);
    EXPECT_EQ(topLeft.Left, 60);
    EXPECT_EQ(topLeft.Top, 160);
    EXPECT_EQ(topLeft.Right, 110);
    EXPECT_EQ(topLeft.Bottom, 220);
    const WindowRect bottomRight = SnapRect(proposed, SizingEdge::BottomRight, 50, 60);
    EXPECT_EQ(bottomRight.Left, 10);
    EXPECT_EQ(bottomRight.Top, 20);
    EXPECT_EQ(bottomRight.Right, 60);
    EXPECT_EQ(bottomRight.Bottom, 80);
}

}  // namespace
