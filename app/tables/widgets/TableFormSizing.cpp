// Sizing of the table window: its measures, the layout of its parts and
// the snapping of a size the user dragged to whole rows and columns.

#include "TableForm.h"

#include "TableGrid.h"
#include "TableLayout.h"

#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <optional>

namespace {

// An edge or corner of a window from its geometry before and after the user sized it.
std::optional<SizingEdge> DraggedEdge(const QRect& before, const QRect& after)
{
    const bool left = after.left() != before.left();
    const bool right = !left && after.width() != before.width();
    const bool top = after.top() != before.top();
    const bool bottom = !top && after.height() != before.height();
    if (top)
        return left ? SizingEdge::TopLeft : right ? SizingEdge::TopRight : SizingEdge::Top;
    if (bottom)
        return left ? SizingEdge::BottomLeft : right ? SizingEdge::BottomRight : SizingEdge::Bottom;
    if (left)
        return SizingEdge::Left;
    if (right)
        return SizingEdge::Right;
    return std::nullopt;
}

}  // namespace

int ColumnMinWidth(const TColumn& column, int pixelsPerInch, const std::function<int(const std::string&)>& textWidth)
{
    int width = 0;
    switch (column.Kind()) {
    case TColumnKind::Enum: width = pixelsPerInch + pixelsPerInch / 2; break;
    case TColumnKind::Int:
    case TColumnKind::Float: width = pixelsPerInch / 2; break;
    case TColumnKind::Table: width = 2 * pixelsPerInch; break;
    case TColumnKind::String:
        width = static_cast<int>(dynamic_cast<const TStringColumn&>(column).Width * pixelsPerInch);
        break;
    }
    for (int i = 0; i < column.CaptionLineCount(); ++i)
        width = std::max(width, textWidth(column.CaptionLine(i) + "  "));
    return width;
}

// ---- Measures ----

int TTableForm::Margin() const
{
    return logicalDpiX() / 20;
}

int TTableForm::ColumnWidth(const TColumn& column) const
{
    const QFontMetrics metrics = Grid->fontMetrics();
    const int width = ColumnMinWidth(column, logicalDpiX(), [&metrics](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    });
    const auto* enumeration = dynamic_cast<const TEnumColumn*>(&column);
    if (!enumeration)
        return width;
    // Its drop-down lists show every item whole ("Driven Pile in Clay (API)"
    // and "... (Coyle & Reese)" tell the two clay methods apart).
    int longest = 0;
    for (const std::string& item : enumeration->Items())
        longest = std::max(longest, metrics.horizontalAdvance(QString::fromStdString(item)));
    QStyleOptionComboBox box;
    box.initFrom(Grid);
    const QSize list = style()->sizeFromContents(QStyle::CT_ComboBox, &box, QSize(longest, metrics.height()), Grid);
    return std::max(width, list.width());
}

int TTableForm::FixedColumnWidth() const
{
    return std::max(Grid->fontMetrics().horizontalAdvance(QString::fromStdString(FTable->TopLeft + "  ")),
                    logicalDpiX() / 3);
}

int TTableForm::Band(const QWidget* widget) const
{
    return widget->isHidden() || widget->height() == 0 ? 0 : Margin() + widget->height();
}

void TTableForm::Layout()
{
    if (!FBound || FLayingOut)
        return;
    FLayingOut = true;
    const int m = Margin();
    const int frame = 2 * Grid->frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Grid);
    const int rows = FTable->RowCount();
    const int columns = FTable->VisibleColumnCount();
    const bool verticalBar = FRowsInView < rows;
    const bool horizontalBar = FColumnsInView < columns;
    Grid->setVerticalScrollBarPolicy(verticalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Grid->setHorizontalScrollBarPolicy(horizontalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);

    int width = frame + Grid->verticalHeader()->width() + (verticalBar ? scrollBar : 0);
    const int left = Grid->LeftColumn();
    for (int c = left; c < std::min(left + FColumnsInView, columns); ++c)
        width += Grid->columnWidth(c);
    const int pitch = Grid->verticalHeader()->defaultSectionSize();
    const int height =
        frame + Grid->horizontalHeader()->height() + FRowsInView * pitch + (horizontalBar ? scrollBar : 0);
    Grid->setGeometry(m, GridTop(), width, height);
    Grid->UpdateScrollRanges();
    FTopLeft->setGeometry(Grid->frameWidth(), Grid->frameWidth(), Grid->verticalHeader()->width(),
                          Grid->horizontalHeader()->height());
    FTopLeft->setVisible(Grid->horizontalHeader()->height() > 0);

    const int buttonsTop = Grid->geometry().bottom() + 1 + m;
    for (QPushButton* button : {BtnAdd, BtnIns, BtnDel})
        button->move(button->x(), buttonsTop);
    const int commentsTop = LayoutBelowButtons(buttonsTop);
    const int clientWidth = std::max(Grid->geometry().right(), ContentRight()) + 1 + m;
    lblComments->setGeometry(m, commentsTop, clientWidth - 2 * m, lblComments->heightForWidth(clientWidth - 2 * m));
    imgHelp->move(m, lblComments->y() + Band(lblComments));
    ResizeFrame(QSize(clientWidth, imgHelp->y() + Band(imgHelp)));
    FBelowGrid = (Grid->y() - m) + (commentsTop - buttonsTop) + Band(lblComments) + Band(imgHelp);

    LayoutRowControls();
    FLastFrame = FrameWindow()->geometry();
    FLayingOut = false;
    if (FTable->OnResize)
        FTable->OnResize(*FTable);
}

int TTableForm::ContentRight() const
{
    return BtnDel->geometry().right();
}

// ---- Sizing by the user ----

void TTableForm::resizeEvent(QResizeEvent* event)
{
    TTableFormBase::resizeEvent(event);
    if (FBound && !FLayingOut && (FSub || isWindow()) && event->size() != FClientSize)
        FormSizedByUser();
}

void TTableForm::FormSizedByUser()
{
    QWidget* frame = FrameWindow();
    const QRect proposed = frame->geometry();
    const std::optional<SizingEdge> edge = DraggedEdge(FLastFrame, proposed);
    if (!edge)
        return;

    TableLayoutInput in;
    in.Edge = *edge;
    in.ProposedWidth = proposed.width();
    in.ProposedHeight = proposed.height();
    in.FrameWidth = frame->width() - width();
    in.FrameHeight = frame->height() - height();
    in.Margin = Margin();
    in.VScrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Grid);
    in.HScrollHeight = in.VScrollWidth;
    in.ButtonSpan = ContentRight() + 1 - BtnAdd->x();
    in.Below = FBelowGrid;
    in.FixedColumnWidths = {FixedColumnWidth()};
    for (int c = 0; c < FTable->VisibleColumnCount(); ++c)
        in.ColumnWidths.push_back(ColumnWidth(FTable->VisibleColumn(c)));
    in.RowPitch = Grid->verticalHeader()->defaultSectionSize();
    in.HeadingRows = FModel->HeadingRows();
    in.RowCount = FTable->RowCount();
    in.FirstColumn = Grid->LeftColumn();
    in.ColumnsInView = FColumnsInView;
    in.FirstRow = Grid->TopRow();
    in.RowsInView = FRowsInView;

    Guarded([&] {
        const TableLayout snapped = SnapTableLayout(in);
        FColumnsInView = snapped.ColumnsInView;
        FRowsInView = snapped.RowsInView;
        // Size the grid for the new view first, so that it can scroll there.
        Layout();
        FScrollDetached = true;
        Grid->ScrollTo(snapped.FirstRow, snapped.FirstColumn);
        FScrollDetached = false;
        Layout();
        // The dragged edges move, the opposite ones stay.
        const WindowRect from{proposed.left(), proposed.top(), proposed.right() + 1, proposed.bottom() + 1};
        const WindowRect rect = SnapRect(from, *edge, frame->width(), frame->height());
        // geometry, not move: a top-level window's move places its outer frame.
        frame->setGeometry(rect.Left, rect.Top, frame->width(), frame->height());
        FLastFrame = frame->geometry();
    });
}

// The class itself is instantiated in TableForm.cpp; these members here.
