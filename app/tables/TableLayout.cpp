#include "TableLayout.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

bool MovesTop(SizingEdge edge)
{
    return edge == SizingEdge::Top || edge == SizingEdge::TopLeft || edge == SizingEdge::TopRight;
}

bool MovesLeft(SizingEdge edge)
{
    return edge == SizingEdge::Left || edge == SizingEdge::TopLeft || edge == SizingEdge::BottomLeft;
}

// Only the top or the bottom edge: the columns in view stay as they are.
bool PurelyVertical(SizingEdge edge) { return edge == SizingEdge::Top || edge == SizingEdge::Bottom; }

// Only the left or the right edge: the rows in view stay as they are.
bool PurelyHorizontal(SizingEdge edge) { return edge == SizingEdge::Left || edge == SizingEdge::Right; }

int ColumnsWidth(const std::vector<int>& widths, int first, int count)
{
    int width = 0;
    for (int i = first; i < first + count; ++i)
        width += widths[i] + 1;
    return width;
}

// Columns of a candidate; answers the window width.
int MeasureColumns(const TableLayoutInput& in, bool horizontalBar, bool verticalBar, TableLayout& out)
{
    const int count = static_cast<int>(in.ColumnWidths.size());
    const int buttonWidth = in.FrameWidth + 2 * in.Margin + in.ButtonSpan;
    int width = in.FrameWidth + 2 * in.Margin + 5 + (verticalBar ? in.VScrollWidth : 0) +
                ColumnsWidth(in.FixedColumnWidths, 0, static_cast<int>(in.FixedColumnWidths.size()));

    if (horizontalBar && !PurelyVertical(in.Edge)) {
        // Grow to the right from the first scrolled column, then to the left,
        // while the buttons need more room or the next column still fits. The
        // first scrolled column is always kept, so a scrolled grid never ends
        // up without a data column.
        const int start = std::clamp(in.FirstColumn, 0, std::max(count - 1, 0));
        int right = start;
        while (right < count &&
               (right == start || width < buttonWidth || width + in.ColumnWidths[right] + 1 <= in.ProposedWidth)) {
            width += in.ColumnWidths[right] + 1;
            ++right;
        }
        int left = start;
        while (left > 0 && (width < buttonWidth || width + in.ColumnWidths[left - 1] + 1 <= in.ProposedWidth)) {
            --left;
            width += in.ColumnWidths[left] + 1;
        }
        out.FirstColumn = left;
        out.ColumnsInView = right - left;
    } else {
        // Without a horizontal bar every column is in view; a purely vertical
        // drag keeps the current ones.
        out.FirstColumn = horizontalBar ? std::clamp(in.FirstColumn, 0, count) : 0;
        out.ColumnsInView = horizontalBar ? std::clamp(in.ColumnsInView, 0, count - out.FirstColumn) : count;
        width += ColumnsWidth(in.ColumnWidths, out.FirstColumn, out.ColumnsInView);
    }
    return std::max(width, buttonWidth);
}

// Rows of a candidate; answers the window height.
int MeasureRows(const TableLayoutInput& in, bool horizontalBar, bool verticalBar, TableLayout& out)
{
    const int count = std::max(in.RowCount, 0);
    int height = in.FrameHeight + 2 * in.Margin + 5 + in.Below + (horizontalBar ? in.HScrollHeight : 0) +
                 in.HeadingRows * in.RowPitch;

    if (!verticalBar) {
        out.FirstRow = 0;
        out.RowsInView = count;
    } else if (PurelyHorizontal(in.Edge)) {
        out.FirstRow = std::clamp(in.FirstRow, 0, count);
        out.RowsInView = std::clamp(in.RowsInView, 0, count - out.FirstRow);
    } else {
        int rows = std::min(1, count);
        while (rows < count && height + (rows + 1) * in.RowPitch <= in.ProposedHeight)
            ++rows;
        out.RowsInView = rows;
        out.FirstRow = std::clamp(in.FirstRow, 0, count - rows);
    }
    return height + out.RowsInView * in.RowPitch;
}

}  // namespace

TableLayout MeasureTableLayout(const TableLayoutInput& input, int candidate)
{
    const bool horizontalBar = candidate == 1 || candidate == 3;
    const bool verticalBar = candidate >= 2;
    TableLayout layout;
    layout.Candidate = candidate;
    layout.Width = MeasureColumns(input, horizontalBar, verticalBar, layout);
    layout.Height = MeasureRows(input, horizontalBar, verticalBar, layout);
    return layout;
}

std::int64_t Misfit(int width, int height, int w, int h)
{
    const std::int64_t W = width, H = height, pw = w, ph = h;
    if (W <= pw && H <= ph)
        return 0;
    if (W <= pw)
        return pw * (H - ph);
    if (H <= ph)
        return ph * (W - pw);
    return W * H - pw * ph;
}

TableLayout SnapTableLayout(const TableLayoutInput& input)
{
    constexpr std::array<int, 4> order{0, 2, 1, 3};
    TableLayout best = MeasureTableLayout(input, order[0]);
    std::int64_t bestMisfit = Misfit(best.Width, best.Height, input.ProposedWidth, input.ProposedHeight);
    for (std::size_t i = 1; i < order.size(); ++i) {
        const TableLayout layout = MeasureTableLayout(input, order[i]);
        const std::int64_t misfit = Misfit(layout.Width, layout.Height, input.ProposedWidth, input.ProposedHeight);
        if (misfit < bestMisfit) {
            best = layout;
            bestMisfit = misfit;
        }
    }
    if (static_cast<int>(input.FixedColumnWidths.size()) + best.ColumnsInView < 2)
        throw std::runtime_error("There must be at least 2 columns in grid");
    return best;
}

WindowRect SnapRect(const WindowRect& proposed, SizingEdge edge, int width, int height)
{
    WindowRect rect = proposed;
    if (MovesTop(edge))
        rect.Top = rect.Bottom - height;
    else
        rect.Bottom = rect.Top + height;
    if (MovesLeft(edge))
        rect.Left = rect.Right - width;
    else
        rect.Right = rect.Left + width;
    return rect;
}
