#pragma once

// Grid of the table windows: a view of a table's item model (TableModel.h)
// with one heading band of column captions, a header of row numbers, a cell
// editor that opens on the current cell as soon as it becomes current, and
// a say before the current cell moves. The grid scrolls by whole rows and
// columns. It keeps no cells of its own.

#include <QTableView>

#include <functional>

class TTableGrid : public QTableView {
public:
    explicit TTableGrid(QWidget* parent = nullptr);

    // Also installs the selection model that asks OnSelectCell.
    void setModel(QAbstractItemModel* model) override;

    // Asked before the current cell moves to (row, column), by the user or by
    // setCurrentCell; false keeps the current cell where it is.
    std::function<bool(int row, int column)> OnSelectCell;
    // Enter or Return pressed in the grid or in its cell editor.
    std::function<void()> OnEnterKey;

    int rowCount() const;
    int columnCount() const;
    // The current cell; -1 without one.
    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    // Moves the current cell (-1, -1: none), asking OnSelectCell.
    void setCurrentCell(int row, int column);
    // Moves the current cell without asking OnSelectCell.
    void SetCurrentCellQuietly(int row, int column);

    // Text of a cell as the user sees it: the open editor's text while an
    // editor is open on the cell.
    QString CellText(int row, int column) const;

    // First data row and data column scrolled into view.
    int TopRow() const;
    int LeftColumn() const;
    void ScrollTo(int topRow, int leftColumn);
    // Brings the scroll ranges up to date after a change of size or content.
    void UpdateScrollRanges() { updateGeometries(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // An editor that loses the focus has its cell entered and is closed by
    // the delegate through a queued call. By then the grid may have closed
    // it itself (the current cell moved on, the rows were replaced by
    // another project's): such a late call is for no editor of the grid and
    // changes nothing.
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    // Whether `editor` is the open editor of one of the grid's cells.
    bool HoldsEditor(const QWidget* editor) const;

    class TSelection;
    bool FQuiet = false;
};
