// Table window: copy and paste of cell blocks (tab-separated text, as
// spreadsheets exchange them), the filling of the table from text, and the
// window's part in the undo history.

#include "TableForm.h"

#include "TableGrid.h"
#include "TableSnapshot.h"
#include "TableUndo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <algorithm>

namespace {

// The table as the import and the paste see it, through the window: rows are
// added and deleted with its Add and Delete, values typed into its columns.
class TFormTarget final : public TValueImportTarget {
public:
    using Form = TTableForm;

    TFormTarget(TGridTable& table, TTableGrid& grid, std::function<void()> add, std::function<void()> remove)
        : FTable(table), FGrid(grid), FAdd(std::move(add)), FDelete(std::move(remove))
    {}

    int DataColumns() const override { return FTable.VisibleColumnCount(); }
    int RowCount() const override { return FTable.RowCount(); }
    int MaxRows() const override { return FTable.MaxRows; }
    void AppendRow() override { FAdd(); }
    void SetCell(int column, int row, const std::string& text) override
    {
        FTable.SetChanged(true);
        FTable.VisibleColumn(column).GetData(row).SetText(text);
    }
    void DeleteRow(int row) override
    {
        FGrid.SetCurrentCellQuietly(row, std::max(FGrid.currentColumn(), 0));
        FDelete();
    }

private:
    TGridTable& FTable;
    TTableGrid& FGrid;
    std::function<void()> FAdd;
    std::function<void()> FDelete;
};

bool IsUndoKey(const QKeyEvent& key) { return key.modifiers() == Qt::ControlModifier && key.key() == Qt::Key_Z; }

bool IsRedoKey(const QKeyEvent& key)
{
    return (key.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && key.key() == Qt::Key_Z) ||
           (key.modifiers() == Qt::ControlModifier && key.key() == Qt::Key_Y);
}

QString ClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() ? data->text() : QString();
}

}  // namespace

void TTableForm::FillTable(const char* what, const std::function<int(TValueImportTarget&)>& fill)
{
    if (!FBound || !CommitCell())
        return;
    TFormTarget target(
        *FTable, *Grid, [this] { BtnAddClick(); }, [this] { BtnDelClick(); });
    // All or nothing: a refused entry puts the table back as it was.
    const TTableSnapshot before(*FTable);
    FFilling = true;
    Guarded([&] {
        RecordChange(what, [&] {
            try {
                fill(target);
            } catch (...) {
                before.Restore(*FTable);
                throw;
            }
        });
    });
    FFilling = false;
    Refresh();
    // The rows the fill added grew the window while the grid's header still
    // had the old row count: the row numbers and cells are drawn anew, once
    // the header has taken the new geometry.
    QTimer::singleShot(0, this, [this] {
        Grid->verticalHeader()->viewport()->update();
        Grid->viewport()->update();
    });
}

void TTableForm::CopyCells()
{
    // The block around the selection and the current cell.
    int top = Grid->currentRow(), bottom = top, left = Grid->currentColumn(), right = left;
    for (const QItemSelectionRange& range : Grid->selectionModel()->selection()) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    if (top < 0 || left < 0 || bottom >= FTable->RowCount() || right >= FTable->VisibleColumnCount())
        return;
    std::vector<std::vector<std::string>> cells;
    for (int row = top; row <= bottom; ++row) {
        std::vector<std::string>& line = cells.emplace_back();
        for (int col = left; col <= right; ++col) {
            const TColumn& column = FTable->VisibleColumn(col);
            // The current cell as typed, the others as stored.
            line.push_back(column.HasControls() || row != Grid->currentRow() || col != Grid->currentColumn()
                               ? column.GetText(row)
                               : Grid->CellText(row, col).toStdString());
        }
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(JoinTabBlock(cells)));
}

void TTableForm::PasteCells()
{
    const std::vector<std::vector<std::string>> cells = SplitTabBlock(ClipboardText().toStdString());
    const int row = Grid->currentRow();
    const int col = Grid->currentColumn();
    if (cells.empty() || row < 0 || col < 0)
        return;
    FillTable("Paste", [&](TValueImportTarget& target) { return ::PasteCells(cells, col, row, target); });
}

bool TTableForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ChildAdded && watched == Grid->viewport()) {
        if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
            child->installEventFilter(this);
        return false;
    }
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return TTableFormBase::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // In the cell editor a copy of one cell and a paste of one value stay the
    // editor's own (its selected text); blocks go to the grid. Undo and redo
    // are the window's, also in the cell editor, while there is a history.
    const bool inEditor = qobject_cast<QLineEdit*>(watched) != nullptr;
    if ((IsUndoKey(*key) || IsRedoKey(*key)) && TTableUndo::Current()) {
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            if (IsUndoKey(*key))
                UndoKey();
            else
                RedoKey();
        }
        return true;
    }
    bool ours = false;
    if (key->matches(QKeySequence::Copy)) {
        ours = !inEditor || Grid->selectionModel()->selectedIndexes().size() > 1;
    } else if (key->matches(QKeySequence::Paste)) {
        const auto cells = SplitTabBlock(ClipboardText().toStdString());
        ours = !cells.empty() && (!inEditor || cells.size() > 1 || cells.front().size() > 1);
    }
    if (!ours)
        return TTableFormBase::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        if (key->matches(QKeySequence::Copy))
            CopyCells();
        else
            PasteCells();
    }
    return true;
}

void TTableForm::RecordChange(const char* what, const std::function<void()>& change)
{
    RecordTableChange(TableStepText(what, *FTable), {FTable}, change);
}

void TTableForm::UndoKey()
{
    const int row = Grid->currentRow();
    const int col = Grid->currentColumn();
    if (FBound && row >= 0 && row < FTable->RowCount() && col >= 0 && col < FTable->VisibleColumnCount() &&
        !FTable->VisibleColumn(col).HasControls()) {
        const std::string stored = FTable->VisibleColumn(col).GetText(row);
        if (Grid->CellText(row, col).toStdString() != stored) {
            // Entering the cell's own text changes nothing and drops a refused entry.
            FModel->Enter(row, col, stored);
            if (auto* editor = qobject_cast<QLineEdit*>(Grid->indexWidget(Grid->currentIndex())))
                editor->setText(QString::fromStdString(stored));
            return;
        }
    }
    if (TTableUndo* undo = TTableUndo::Current())
        undo->undo();
}

void TTableForm::RedoKey()
{
    if (TTableUndo* undo = TTableUndo::Current(); undo && CommitCell())
        undo->redo();
}
