#pragma once

// Snapping of the table editor window while the user drags one of its edges:
// the window always shows whole columns and whole rows. Four layouts are
// measured (no scroll bar, a horizontal one, a vertical one, both) and the
// one that spills least outside the proposed rectangle wins.

#include <cstdint>
#include <vector>

// Edges and corners of a window being sized.
enum class SizingEdge { Left = 1, Right, Top, TopLeft, TopRight, Bottom, BottomLeft, BottomRight };

// Everything the snapping needs from the window, in pixels.
struct TableLayoutInput {
    SizingEdge Edge = SizingEdge::BottomRight;
    int ProposedWidth = 0;   // w, window width the user drags to
    int ProposedHeight = 0;  // h
    int FrameWidth = 0;      // window width minus client width
    int FrameHeight = 0;     // window height minus client height
    int Margin = 0;          // m
    int VScrollWidth = 0;
    int HScrollHeight = 0;
    int ButtonSpan = 0;                  // from the left edge of the first row button to the right edge of the last
    int Below = 0;                       // hB + hL + hI: buttons, comment and picture under the grid, margins included
    std::vector<int> FixedColumnWidths;  // row-number column(s)
    std::vector<int> ColumnWidths;       // data columns in view order
    int RowPitch = 0;                    // height of one grid row plus its line
    int HeadingRows = 0;                 // H
    int RowCount = 0;                    // data rows
    // The current view: first scrolled data column and data row (0-based)
    // and how many of each are in view.
    int FirstColumn = 0;
    int ColumnsInView = 0;
    int FirstRow = 0;
    int RowsInView = 0;
};

// One measured layout: window size and the view it shows.
struct TableLayout {
    int Candidate = 0;  // 0 no scroll bar, 1 horizontal, 2 vertical, 3 both
    int Width = 0;
    int Height = 0;
    int FirstColumn = 0;
    int ColumnsInView = 0;
    int FirstRow = 0;
    int RowsInView = 0;
};

struct WindowRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The layout of one candidate (0..3).
TableLayout MeasureTableLayout(const TableLayoutInput& input, int candidate);

// Area of a width x height rectangle lying outside a w x h one (both at the
// same corner).
std::int64_t Misfit(int width, int height, int w, int h);

// The candidate with the smallest misfit; ties go to the first of 0, 2, 1, 3.
// Throws std::runtime_error("There must be at least 2 columns in grid") when
// the winner would show no data column.
TableLayout SnapTableLayout(const TableLayoutInput& input);

// The proposed rectangle resized to width x height, the dragged edges moving
// and the opposite ones staying.
WindowRect SnapRect(const WindowRect& proposed, SizingEdge edge, int width, int height);
