#pragma once

// Item model over a table (TGridTable), for the grid of the table windows
// and any other Qt view of a table. It holds no copy of the cells: every
// text is read from the table when the view asks, and the table's
// notifications (it subscribes like any listener) tell the view what to
// read again.
//
//   TTableModel model(table);
//   view->setModel(&model);
//
// Rows are the table's rows, columns its visible columns (in order). A cell
// shows the column's text (GetText); the cells of columns with row controls
// (drop-downs, buttons) show nothing and are not editable: the window puts
// its controls over them. The horizontal heading of a column is its caption
// lines (the last one with its units), one line per heading row; the
// vertical heading is the row-group number.
//
// Entry: Enter() passes a typed text to the column's SetText, as one step of
// the undo history (TableUndo.h), and answers the error's message when the
// table refuses it; the refused text then stays as
// the cell's pending entry, shown instead of the cell's value, until the
// next entry in that cell, a change of the cell's value or a change of the
// rows. setData (a view's cell editor) enters the same way.
//
// Sync() shows the table again as it is, whatever it was told. The window detaches the model when the table lets go of
// it; a detached model is empty.

#include "GridTable.h"

#include <QAbstractTableModel>

#include <optional>
#include <string>

class TTableModel final : public QAbstractTableModel {
public:
    using Table = TGridTable;

    explicit TTableModel(Table& table, QObject* parent = nullptr);

    Table* EditedTable() const { return FTable; }
    // The visible column shown in model column `column`.
    TColumn& ColumnAt(int column) const { return FTable->VisibleColumn(column); }
    // Lines of the horizontal heading: the most caption lines of a visible column.
    int HeadingRows() const;

    // Passes `text` to the cell; the error's message when the table refused it.
    // A text equal to the cell's shown value changes nothing (the table is not
    // marked changed); any other marks the table changed first.
    std::optional<std::string> Enter(int row, int column, const std::string& text);
    // Brings the view up to the table's rows, columns, texts and headings.
    void Sync();
    // Lets go of the table for good.
    void Detach();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    struct TPending {
        int Row;
        int Column;
        std::string Text;
    };

    bool Typed(int column) const { return !ColumnAt(column).HasControls(); }
    void CellChanged(int col, int row);
    void DropPending();

    Table* FTable;
    // Row and column counts as last told to the views.
    int FRows = 0;
    int FColumns = 0;
    std::optional<TPending> FPending;
    TSubscription FRowsChanged;
    TSubscription FCellChanged;
};

