#include "TableGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

// Selection model that lets the grid refuse a move of the current cell.
class TTableGrid::TSelection : public QItemSelectionModel {
public:
    explicit TSelection(TTableGrid& grid) : QItemSelectionModel(grid.model(), &grid), FGrid(grid) {}

    using QItemSelectionModel::select;

    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override
    {
        if (!FGrid.FQuiet && index.isValid() && index != currentIndex() && FGrid.OnSelectCell &&
            !FGrid.OnSelectCell(index.row(), index.column()))
            return;
        QItemSelectionModel::setCurrentIndex(index, command);
    }

    // The current cell is always part of the selection, so a selection that
    // leaves it out belongs to a refused move (a click on another cell).
    void select(const QItemSelection& selection, SelectionFlags command) override
    {
        if ((command & Select) && currentIndex().isValid() && !selection.contains(currentIndex()))
            return;
        QItemSelectionModel::select(selection, command);
    }

private:
    TTableGrid& FGrid;
};

TTableGrid::TTableGrid(QWidget* parent) : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
}

void TTableGrid::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    QItemSelectionModel* plain = selectionModel();
    setSelectionModel(new TSelection(*this));
    delete plain;
}

int TTableGrid::rowCount() const { return model() ? model()->rowCount() : 0; }

int TTableGrid::columnCount() const { return model() ? model()->columnCount() : 0; }

void TTableGrid::setCurrentCell(int row, int column)
{
    if (model())
        setCurrentIndex(model()->index(row, column));
}

QString TTableGrid::CellText(int row, int column) const
{
    if (!model())
        return {};
    const QModelIndex index = model()->index(row, column);
    if (const auto* editor = qobject_cast<const QLineEdit*>(indexWidget(index)))
        return editor->text();
    return index.data().toString();
}

void TTableGrid::SetCurrentCellQuietly(int row, int column)
{
    FQuiet = true;
    setCurrentCell(row, column);
    FQuiet = false;
}

int TTableGrid::TopRow() const { return verticalScrollBar()->value(); }

int TTableGrid::LeftColumn() const { return horizontalScrollBar()->value(); }

void TTableGrid::ScrollTo(int topRow, int leftColumn)
{
    verticalScrollBar()->setValue(topRow);
    horizontalScrollBar()->setValue(leftColumn);
}

void TTableGrid::keyPressEvent(QKeyEvent* event)
{
    // The cell editor passes Enter on to the grid.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && OnEnterKey) {
        event->accept();
        OnEnterKey();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool TTableGrid::HoldsEditor(const QWidget* editor) const
{
    if (!editor || !model())
        return false;
    // The editor usually sits on the current cell; the tables are small.
    if (indexWidget(currentIndex()) == editor)
        return true;
    for (int row = 0; row < rowCount(); ++row)
        for (int column = 0; column < columnCount(); ++column)
            if (indexWidget(model()->index(row, column)) == editor)
                return true;
    return false;
}

void TTableGrid::commitData(QWidget* editor)
{
    if (HoldsEditor(editor))
        QTableView::commitData(editor);
}

void TTableGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (HoldsEditor(editor))
        QTableView::closeEditor(editor, hint);
}
