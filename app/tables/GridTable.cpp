#include "GridTable.h"

#include "UnitStrings.h"

#include <algorithm>

namespace {

const char* const OutOfBoundsMessage = "Index out of bounds";

}  // namespace

template <TableFamily F>
std::vector<TGridTableT<F>*>& TGridTableT<F>::Registry()
{
    static std::vector<TGridTableT*> tables;
    return tables;
}

template <TableFamily F>
TGridTableT<F>::TGridTableT(TGridTableT* owner)
    : FOwner(owner), FIdentifier(FCreationCounter++), FUnits(owner ? owner->Units() : UnitSystem::English)
{
    Registry().push_back(this);
}

template <TableFamily F>
TGridTableT<F>::~TGridTableT()
{
    FEditor.reset();
    FColumns.clear();
    std::erase(Registry(), this);
}

template <TableFamily F>
int TGridTableT<F>::RegistryCount()
{
    return static_cast<int>(Registry().size());
}

template <TableFamily F>
TGridTableT<F>* TGridTableT<F>::RegistryAt(int index)
{
    if (index < 0 || index >= RegistryCount())
        return nullptr;
    return Registry()[index];
}

template <TableFamily F>
TGridTableT<F>* TGridTableT<F>::FindByIdentifier(int32_t identifier)
{
    for (TGridTableT* table : Registry())
        if (table->FIdentifier == identifier)
            return table;
    return nullptr;
}

template <TableFamily F>
void TGridTableT<F>::SetIdentifier(int32_t value)
{
    if (value < 0)
        return;
    for (TGridTableT* table : Registry())
        if (table != this && table->FIdentifier == value)
            table->FIdentifier = FIdentifier;
    FIdentifier = value;
}

template <TableFamily F>
void TGridTableT<F>::SetMinRows(int32_t value)
{
    if (value <= 0)
        throw ETableError("Value must be greater than 0");
    FMinRows = value;
}

template <TableFamily F>
void TGridTableT<F>::SetRowGroup(int32_t value)
{
    FRowGroup = std::max(value, 1);
}

// ---- Columns ----

template <TableFamily F>
void TGridTableT<F>::AppendColumn(std::unique_ptr<TColumnT<F>> column)
{
    FColumns.push_back(std::move(column));
    ResizeTemplates();
    TColumnT<F>& added = *FColumns.back();
    try {
        while (added.RowCount() < FRowCount)
            added.InsertRows(added.RowCount(), std::min(FRowGroup, FRowCount - added.RowCount()));
    } catch (...) {
        FColumns.pop_back();
        throw;
    }
}

template <TableFamily F>
TColumnT<F>& TGridTableT<F>::Column(int i) const
{
    if (i < 0 || i >= ColumnCount())
        throw ETableError(OutOfBoundsMessage);
    return *FColumns[i];
}

template <TableFamily F>
int TGridTableT<F>::IndexOf(const TColumnT<F>& column) const
{
    for (int i = 0; i < ColumnCount(); ++i)
        if (FColumns[i].get() == &column)
            return i;
    return -1;
}

template <TableFamily F>
int TGridTableT<F>::VisibleColumnCount() const
{
    return static_cast<int>(std::count_if(FColumns.begin(), FColumns.end(), [](const auto& c) { return c->Visible; }));
}

template <TableFamily F>
TColumnT<F>& TGridTableT<F>::VisibleColumn(int i) const
{
    for (const auto& column : FColumns)
        if (column->Visible && i-- == 0)
            return *column;
    throw ETableError(OutOfBoundsMessage);
}

template <TableFamily F>
int TGridTableT<F>::VisibleIndexOf(const TColumnT<F>& column) const
{
    int index = 0;
    for (const auto& c : FColumns) {
        if (c.get() == &column)
            return c->Visible ? index : -1;
        if (c->Visible)
            ++index;
    }
    return -1;
}

template <TableFamily F>
void TGridTableT<F>::ResizeTemplates()
{
    std::size_t entries = 1;
    if (ColumnCount() > 0)
        if (const auto* types = dynamic_cast<const TEnumColumnT<F>*>(FColumns[0].get()))
            entries = types->Items().size();
    for (const auto& column : FColumns)
        if (auto* buttons = dynamic_cast<TTableColumnT<F>*>(column.get()))
            buttons->Templates.Entries.resize(entries);
}

// ---- Rows and cells ----

template <TableFamily F>
void TGridTableT<F>::InsertRowsInColumns(int at, int count)
{
    try {
        // Column by column, one row group at a time: a top-depth column
        // reads its neighbour before the neighbour grows.
        for (const auto& column : FColumns)
            for (int done = 0; done < count; done += FRowGroup)
                column->InsertRows(at + done, std::min(FRowGroup, count - done));
    } catch (...) {
        // A failed row (OnInitRow raising, a top-depth column without its
        // bottom column) leaves no column longer than the others.
        for (const auto& column : FColumns)
            while (column->RowCount() > FRowCount)
                column->DeleteRow(at);
        throw;
    }
    FRowCount += count;
}

template <TableFamily F>
void TGridTableT<F>::SetRowCount(int n)
{
    n = std::max(n, 0);
    if (n == FRowCount)
        return;
    if (n > FRowCount) {
        InsertRowsInColumns(FRowCount, n - FRowCount);
    } else {
        for (const auto& column : FColumns)
            while (column->RowCount() > n)
                column->DeleteRow(column->RowCount() - 1);
        FRowCount = n;
    }
    // An open window shows the new rows (a new project, a file read) before
    // anything tells it of a cell of them.
    RowsChanged();
}

template <TableFamily F>
void TGridTableT<F>::AppendRowGroup()
{
    InsertRowsInColumns(FRowCount, FRowGroup);
    RowsChanged();
}

template <TableFamily F>
void TGridTableT<F>::InsertRowGroup(int row)
{
    if (row < 0 || row >= FRowCount)
        throw ETableError(OutOfBoundsMessage);
    InsertRowsInColumns(GroupStart(row), FRowGroup);
    RowsChanged();
}

template <TableFamily F>
void TGridTableT<F>::DeleteRowGroup(int row)
{
    if (row < 0 || row >= FRowCount)
        throw ETableError(OutOfBoundsMessage);
    const int first = GroupStart(row);
    const int count = std::min(FRowGroup, FRowCount - first);
    for (const auto& column : FColumns)
        for (int k = 0; k < count; ++k)
            column->DeleteRow(first);
    FRowCount -= count;
    RowsChanged();
}

template <TableFamily F>
bool TGridTableT<F>::CellValid(int col, int row) const
{
    return col >= 0 && col < ColumnCount() && row >= 0 && row < FColumns[col]->RowCount();
}

template <TableFamily F>
TDataT<F>& TGridTableT<F>::GetData(int col, int row) const
{
    return Column(col).GetData(row);
}

template <TableFamily F>
void TGridTableT<F>::CellChanged(int col, int row)
{
    // A new type in column 0 gives the row a nested table of that type.
    if (col == 0 && FColumns[0]->Kind() == TColumnKind::Enum) {
        for (const auto& column : FColumns) {
            if (auto* buttons = dynamic_cast<TTableColumnT<F>*>(column.get())) {
                if (row < buttons->RowCount())
                    buttons->CreateRowObject(row);
                break;
            }
        }
    }
    OnCellChanged.Raise(col, row);
}

template <TableFamily F>
void TGridTableT<F>::RowsChanged()
{
    OnRowsChanged.Raise();
}

// ---- State ----

template <TableFamily F>
void TGridTableT<F>::SetUnits(UnitSystem units)
{
    if (units == FUnits)
        return;
    for (const auto& column : FColumns)
        column->SetUnits(units);
    FUnits = units;
    RowsChanged();
}

template <TableFamily F>
void TGridTableT<F>::SetNumber(int number)
{
    FNumber = number;
    if (FEditor)
        FEditor->UpdateCaption();
}

template <TableFamily F>
bool TGridTableT<F>::Changed() const
{
    return FChanged || std::any_of(FColumns.begin(), FColumns.end(), [](const auto& c) { return c->GetChanged(); });
}

template <TableFamily F>
void TGridTableT<F>::SetChanged(bool changed)
{
    FChanged = changed;
    if (!changed)
        for (const auto& column : FColumns)
            column->ResetChanged();
}

template <TableFamily F>
std::string TGridTableT<F>::Prefix() const
{
    if (FNumber == 0)
        return "";
    return (FOwner ? FOwner->Prefix() : std::string()) + " " + std::to_string(FNumber);
}

template <TableFamily F>
std::string TGridTableT<F>::WindowCaption() const
{
    return Caption + " " + Prefix();
}

// ---- Editor window ----

template <TableFamily F>
void TGridTableT<F>::ShowEditor(bool modal)
{
    if (VisibleColumnCount() == 0)
        return;
    if (!FEditor) {
        if (!EditorFactory)
            return;
        FEditor = EditorFactory(*this);
    }
    FEditor->ShowEditor(modal);
}

template <TableFamily F>
void TGridTableT<F>::Show()
{
    ShowEditor(false);
}

template <TableFamily F>
void TGridTableT<F>::ShowModal()
{
    ShowEditor(true);
}

template <TableFamily F>
void TGridTableT<F>::Hide()
{
    FEditor.reset();
    for (const auto& column : FColumns)
        column->Hide();
}

// ---- Declaration stream ----

template <TableFamily F>
void TGridTableT<F>::WriteCol(TValueWriter& writer) const
{
    writer.WriteInteger(ColumnCount());
    for (const auto& column : FColumns) {
        writer.WriteInteger(static_cast<int32_t>(column->Kind()));
        column->WriteData(writer);
    }
    if constexpr (F == TableFamily::Chart) {
        const TGraphParameters& graph = this->Graph;
        writer.WriteBoolean(graph.ShowGraph);
        writer.WriteBoolean(graph.SegmentMode);
        writer.WriteInteger(graph.XColumn);
        writer.WriteInteger(graph.YColumn);
        writer.WriteInteger(graph.X2Column);
        writer.WriteInteger(graph.Y2Column);
    }
}

template <TableFamily F>
void TGridTableT<F>::ReadCol(TValueReader& reader)
{
    FColumns.clear();
    int32_t count;
    try {
        count = reader.ReadInteger();
    } catch (const std::exception&) {
        throw ETableError("Error reading column count");
    }
    for (int32_t i = 0; i < count; ++i) {
        auto columnError = [i](const std::exception& e) {
            return ETableError("Error occured when creating column " + std::to_string(i) + ": " + e.what());
        };
        int32_t kind;
        try {
            kind = reader.ReadInteger();
        } catch (const std::exception& e) {
            throw columnError(e);
        }
        if (kind < 0 || kind > static_cast<int32_t>(TColumnKind::String))
            throw ETableError("Error Column Class not defined");
        try {
            AppendColumn(TColumnT<F>::CreateFromStream(static_cast<TColumnKind>(kind), *this, reader));
        } catch (const std::exception& e) {
            throw columnError(e);
        }
    }
    if constexpr (F == TableFamily::Chart) {
        try {
            TGraphParameters graph;
            graph.ShowGraph = reader.ReadBoolean();
            graph.SegmentMode = reader.ReadBoolean();
            graph.XColumn = reader.ReadInteger();
            graph.YColumn = reader.ReadInteger();
            graph.X2Column = reader.ReadInteger();
            graph.Y2Column = reader.ReadInteger();
            this->Graph = graph;
        } catch (const std::exception&) {
            throw ETableError("Error reading graphic parameters");
        }
    }
    RowsChanged();
}

template <TableFamily F>
std::unique_ptr<TGridTableT<F>> TGridTableT<F>::Copy(TGridTableT& owner, int number) const
{
    auto copy = std::make_unique<TGridTableT>(&owner);
    copy->Caption = Caption;
    copy->Comments = Comments;
    copy->TopLeft = TopLeft;
    copy->HelpPicture = HelpPicture;
    copy->FMinRows = FMinRows;
    copy->MaxRows = MaxRows;
    if constexpr (F == TableFamily::Chart) {
        copy->GetDataFromFile = this->GetDataFromFile;
        copy->OKCancelButtons = this->OKCancelButtons;
        copy->InvertedXAxis = this->InvertedXAxis;
        copy->InvertedYAxis = this->InvertedYAxis;
        copy->Graph = this->Graph;
    }
    for (const auto& column : FColumns)
        copy->AppendColumn(column->Clone(*copy));
    copy->FNumber = number;
    copy->SetRowCount(FMinRows);
    return copy;
}

template <TableFamily F>
long double TGridTableT<F>::UnitFactor(UnitSystem from, UnitSystem to, const std::string& units)
{
    if constexpr (F == TableFamily::Chart)
        return ChartConversionFactor(from, to, units);
    else
        return ConversionFactor(from, to, units);
}

template <TableFamily F>
std::string TGridTableT<F>::UnitNames(const std::string& units, UnitSystem system)
{
    if constexpr (F == TableFamily::Chart)
        return ExpandChartUnits(units, system);
    else
        return ExpandUnits(units, system);
}

template class TGridTableT<TableFamily::Plain>;
template class TGridTableT<TableFamily::Chart>;
