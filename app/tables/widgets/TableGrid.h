#pragma once

// String grid of the table windows: one heading band with the column
// captions, a header of row numbers, a cell editor that opens on the current
// cell as soon as it becomes current, and a say before the current cell
// moves. The grid scrolls by whole rows and columns.

#include <QTableWidget>

#include <functional>

class TTableGrid : public QTableWidget {
public:
    explicit TTableGrid(QWidget* parent = nullptr);

    // Asked before the current cell moves to (row, column), by the user or by
    // setCurrentCell; false keeps the current cell where it is.
    std::function<bool(int row, int column)> OnSelectCell;
    // Enter or Return pressed in the grid or in its cell editor.
    std::function<void()> OnEnterKey;

    // Text of a cell as the user sees it: the open editor's text while an
    // editor is open on the cell.
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    // Moves the current cell without asking OnSelectCell.
    void SetCurrentCellQuietly(int row, int column);

    // First data row and data column scrolled into view.
    int TopRow() const;
    int LeftColumn() const;
    void ScrollTo(int topRow, int leftColumn);
    // Brings the scroll ranges up to date after a change of size or content.
    void UpdateScrollRanges() { updateGeometries(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class TSelection;
    bool FQuiet = false;
};
