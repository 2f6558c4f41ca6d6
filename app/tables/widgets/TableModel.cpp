#include "TableModel.h"

#include "Evaluator.h"
#include "TableUndo.h"

#include <QStringList>

#include <algorithm>

TTableModel::TTableModel(Table& table, QObject* parent)
    : QAbstractTableModel(parent), FTable(&table), FRows(table.RowCount()), FColumns(table.VisibleColumnCount()),
      FRowsChanged(table.OnRowsChanged.Subscribe([this] {
          DropPending();
          Sync();
      })),
      FCellChanged(table.OnCellChanged.Subscribe([this](int col, int row) { CellChanged(col, row); }))
{}

int TTableModel::HeadingRows() const
{
    int lines = 0;
    for (int i = 0; FTable && i < FTable->VisibleColumnCount(); ++i)
        lines = std::max(lines, FTable->VisibleColumn(i).CaptionLineCount());
    return lines;
}

std::optional<std::string> TTableModel::Enter(int row, int column, const std::string& text)
{
    if (!FTable || row < 0 || row >= FTable->RowCount() || column < 0 || column >= FTable->VisibleColumnCount() ||
        !Typed(column))
        return std::nullopt;
    TData& cell = ColumnAt(column).GetData(row);
    const QModelIndex shown = index(row, column);
    const auto showAgain = [&] {
        if (shown.isValid())
            emit dataChanged(shown, shown);
    };
    if (text == cell.AsString()) {
        if (FPending && FPending->Row == row && FPending->Column == column) {
            FPending.reset();
            showAgain();
        }
        return std::nullopt;
    }
    std::optional<std::string> refused;
    RecordTableChange(TableStepText("Entry", *FTable), {FTable}, [&] {
        FTable->SetChanged(true);
        try {
            cell.SetText(text);
        } catch (const EAssignError& error) {
            refused = error.what();
        }
    });
    if (refused) {
        FPending = TPending{row, column, text};
        showAgain();
        return refused;
    }
    if (FPending && FPending->Row == row && FPending->Column == column)
        FPending.reset();
    // In its normalised form (2*3 reads 6), also when the value stayed.
    showAgain();
    return std::nullopt;
}

void TTableModel::Sync()
{
    if (!FTable)
        return;
    const int columns = FTable->VisibleColumnCount();
    const int rows = FTable->RowCount();
    // The table has changed already; the views learn it the way they expect.
    if (columns > FColumns) {
        beginInsertColumns({}, FColumns, columns - 1);
        FColumns = columns;
        endInsertColumns();
    } else if (columns < FColumns) {
        beginRemoveColumns({}, columns, FColumns - 1);
        FColumns = columns;
        endRemoveColumns();
    }
    if (rows > FRows) {
        beginInsertRows({}, FRows, rows - 1);
        FRows = rows;
        endInsertRows();
    } else if (rows < FRows) {
        beginRemoveRows({}, rows, FRows - 1);
        FRows = rows;
        endRemoveRows();
    }
    if (FPending && (FPending->Row >= FRows || FPending->Column >= FColumns))
        FPending.reset();
    if (FRows > 0 && FColumns > 0)
        emit dataChanged(index(0, 0), index(FRows - 1, FColumns - 1));
    if (FColumns > 0)
        emit headerDataChanged(Qt::Horizontal, 0, FColumns - 1);
    if (FRows > 0)
        emit headerDataChanged(Qt::Vertical, 0, FRows - 1);
}

void TTableModel::Detach()
{
    if (!FTable)
        return;
    beginResetModel();
    FRowsChanged.Reset();
    FCellChanged.Reset();
    FTable = nullptr;
    FRows = 0;
    FColumns = 0;
    FPending.reset();
    endResetModel();
}

void TTableModel::CellChanged(int col, int row)
{
    const int column = FTable->VisibleIndexOf(FTable->Column(col));
    if (column < 0 || column >= FColumns || row < 0 || row >= FRows)
        return;
    // A new value replaces a refused entry.
    if (FPending && FPending->Row == row && FPending->Column == column)
        FPending.reset();
    emit dataChanged(index(row, column), index(row, column));
}

void TTableModel::DropPending()
{
    if (!FPending)
        return;
    const QModelIndex shown = index(FPending->Row, FPending->Column);
    FPending.reset();
    if (shown.isValid())
        emit dataChanged(shown, shown);
}

int TTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FRows;
}

int TTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FColumns;
}

QVariant TTableModel::data(const QModelIndex& index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() || !FTable)
        return {};
    const int row = index.row();
    const int column = index.column();
    // Bounded by the table as well: it may have shrunk without telling.
    if (row >= FTable->RowCount() || column >= FTable->VisibleColumnCount())
        return {};
    if (!Typed(column))
        return QString();
    if (FPending && FPending->Row == row && FPending->Column == column)
        return QString::fromStdString(FPending->Text);
    return QString::fromStdString(ColumnAt(column).GetText(row));
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !FTable || section < 0)
        return {};
    if (orientation == Qt::Vertical) {
        if (section >= FRows)
            return {};
        return QString::number(section / FTable->RowGroup() + 1);
    }
    if (section >= FColumns || section >= FTable->VisibleColumnCount())
        return {};
    const TColumn& column = ColumnAt(section);
    QStringList lines;
    for (int i = 0; i < HeadingRows(); ++i)
        lines << (i < column.CaptionLineCount() ? QString::fromStdString(column.CaptionLine(i)) : QString());
    return lines.join(QLatin1Char('\n'));
}

Qt::ItemFlags TTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !FTable || index.row() >= FTable->RowCount() ||
        index.column() >= FTable->VisibleColumnCount())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return Typed(index.column()) ? flags | Qt::ItemIsEditable : flags;
}

bool TTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    return !Enter(index.row(), index.column(), value.toString().toStdString()).has_value();
}

