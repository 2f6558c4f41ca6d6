#include "GridTable.h"

#include "UnitStrings.h"

#include <algorithm>
#include <atomic>

namespace {

const char* const OutOfBoundsMessage = "Index out of bounds";

// Creation numbers, the Identifiers that tables start with.
std::atomic<int32_t> CreationCounter = 0;

}  // namespace

TGridTable::TGridTable(TGridTable* owner)
    : FOwner(owner), FIdentifier(CreationCounter++), FUnits(owner ? owner->Units() : UnitSystem::English)
{}

TGridTable::~TGridTable()
{
    FEditor.reset();
    FColumns.clear();
    if (FDirectory)
        std::erase(FDirectory->FTables, this);
}

// ---- TTableDirectory ----

TTableDirectory::~TTableDirectory()
{
    for (TGridTable* table : FTables)
        table->FDirectory = nullptr;
}

void TTableDirectory::Add(TGridTable& table)
{
    if (table.FDirectory)
        std::erase(table.FDirectory->FTables, &table);
    FTables.push_back(&table);
    table.FDirectory = this;
}

TGridTable* TTableDirectory::At(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return FTables[index];
}

TGridTable* TTableDirectory::Find(int32_t identifier) const
{
    for (TGridTable* table : FTables)
        if (table->Identifier() == identifier)
            return table;
    return nullptr;
}

// ---- TGridTable ----

void TGridTable::SetIdentifier(int32_t value)
{
    if (value < 0)
        return;
    for (int i = 0; FDirectory && i < FDirectory->Count(); ++i)
        if (TGridTable* table = FDirectory->At(i); table != this && table->FIdentifier == value)
            table->FIdentifier = FIdentifier;
    FIdentifier = value;
}

void TGridTable::SetMinRows(int32_t value)
{
    if (value <= 0)
        throw ETableError("Value must be greater than 0");
    FMinRows = value;
}

void TGridTable::SetRowGroup(int32_t value)
{
    FRowGroup = std::max(value, 1);
}

// ---- Columns ----

void TGridTable::AppendColumn(std::unique_ptr<TColumn> column)
{
    FColumns.push_back(std::move(column));
    ResizeTemplates();
    TColumn& added = *FColumns.back();
    try {
        while (added.RowCount() < FRowCount)
            added.InsertRows(added.RowCount(), std::min(FRowGroup, FRowCount - added.RowCount()));
    } catch (...) {
        FColumns.pop_back();
        throw;
    }
}

TColumn& TGridTable::Column(int i) const
{
    if (i < 0 || i >= ColumnCount())
        throw ETableError(OutOfBoundsMessage);
    return *FColumns[i];
}

int TGridTable::IndexOf(const TColumn& column) const
{
    for (int i = 0; i < ColumnCount(); ++i)
        if (FColumns[i].get() == &column)
            return i;
    return -1;
}

int TGridTable::VisibleColumnCount() const
{
    return static_cast<int>(std::count_if(FColumns.begin(), FColumns.end(), [](const auto& c) { return c->Visible; }));
}

TColumn& TGridTable::VisibleColumn(int i) const
{
    for (const auto& column : FColumns)
        if (column->Visible && i-- == 0)
            return *column;
    throw ETableError(OutOfBoundsMessage);
}

int TGridTable::VisibleIndexOf(const TColumn& column) const
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

void TGridTable::ResizeTemplates()
{
    std::size_t entries = 1;
    if (ColumnCount() > 0)
        if (const auto* types = dynamic_cast<const TEnumColumn*>(FColumns[0].get()))
            entries = types->Items().size();
    for (const auto& column : FColumns)
        if (auto* buttons = dynamic_cast<TTableColumn*>(column.get()))
            buttons->Templates.Entries.resize(entries);
}

// ---- Rows and cells ----

void TGridTable::InsertRowsInColumns(int at, int count)
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

void TGridTable::SetRowCount(int n)
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

void TGridTable::AppendRowGroup()
{
    InsertRowsInColumns(FRowCount, FRowGroup);
    RowsChanged();
}

void TGridTable::InsertRowGroup(int row)
{
    if (row < 0 || row >= FRowCount)
        throw ETableError(OutOfBoundsMessage);
    InsertRowsInColumns(GroupStart(row), FRowGroup);
    RowsChanged();
}

void TGridTable::DeleteRowGroup(int row)
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

bool TGridTable::CellValid(int col, int row) const
{
    return col >= 0 && col < ColumnCount() && row >= 0 && row < FColumns[col]->RowCount();
}

TData& TGridTable::GetData(int col, int row) const
{
    return Column(col).GetData(row);
}

void TGridTable::CellChanged(int col, int row)
{
    // A new type in column 0 gives the row a nested table of that type.
    if (col == 0 && FColumns[0]->Kind() == TColumnKind::Enum) {
        for (const auto& column : FColumns) {
            if (auto* buttons = dynamic_cast<TTableColumn*>(column.get())) {
                if (row < buttons->RowCount())
                    buttons->CreateRowObject(row);
                break;
            }
        }
    }
    OnCellChanged.Raise(col, row);
}

void TGridTable::RowsChanged()
{
    OnRowsChanged.Raise();
}

// ---- State ----

void TGridTable::SetUnits(UnitSystem units)
{
    if (units == FUnits)
        return;
    for (const auto& column : FColumns)
        column->SetUnits(units);
    FUnits = units;
    RowsChanged();
}

void TGridTable::SetNumber(int number)
{
    FNumber = number;
    if (FEditor)
        FEditor->UpdateCaption();
}

bool TGridTable::Changed() const
{
    return FChanged || std::any_of(FColumns.begin(), FColumns.end(), [](const auto& c) { return c->GetChanged(); });
}

void TGridTable::SetChanged(bool changed)
{
    FChanged = changed;
    if (!changed)
        for (const auto& column : FColumns)
            column->ResetChanged();
}

std::string TGridTable::Prefix() const
{
    if (FNumber == 0)
        return "";
    return (FOwner ? FOwner->Prefix() : std::string()) + " " + std::to_string(FNumber);
}

std::string TGridTable::WindowCaption() const
{
    return Caption + " " + Prefix();
}

// ---- Editor window ----

void TGridTable::Hide()
{
    FEditor.reset();
    for (const auto& column : FColumns)
        column->Hide();
}

// ---- Declaration stream ----

void TGridTable::WriteCol(TValueWriter& writer) const
{
    writer.WriteInteger(ColumnCount());
    for (const auto& column : FColumns) {
        writer.WriteInteger(static_cast<int32_t>(column->Kind()));
        column->WriteData(writer);
    }
    if (Chart) {
        const TGraphParameters& graph = Chart->Graph;
        writer.WriteBoolean(graph.ShowGraph);
        writer.WriteBoolean(graph.SegmentMode);
        writer.WriteInteger(graph.XColumn);
        writer.WriteInteger(graph.YColumn);
        writer.WriteInteger(graph.X2Column);
        writer.WriteInteger(graph.Y2Column);
    }
}

void TGridTable::ReadCol(TValueReader& reader)
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
            AppendColumn(TColumn::CreateFromStream(static_cast<TColumnKind>(kind), *this, reader));
        } catch (const std::exception& e) {
            throw columnError(e);
        }
    }
    if (Chart) {
        try {
            TGraphParameters graph;
            graph.ShowGraph = reader.ReadBoolean();
            graph.SegmentMode = reader.ReadBoolean();
            graph.XColumn = reader.ReadInteger();
            graph.YColumn = reader.ReadInteger();
            graph.X2Column = reader.ReadInteger();
            graph.Y2Column = reader.ReadInteger();
            Chart->Graph = graph;
        } catch (const std::exception&) {
            throw ETableError("Error reading graphic parameters");
        }
    }
    RowsChanged();
}

std::unique_ptr<TGridTable> TGridTable::Copy(TGridTable& owner, int number) const
{
    auto copy = std::make_unique<TGridTable>(&owner);
    copy->Caption = Caption;
    copy->Comments = Comments;
    copy->TopLeft = TopLeft;
    copy->HelpPicture = HelpPicture;
    copy->FMinRows = FMinRows;
    copy->MaxRows = MaxRows;
    copy->Chart = Chart;
    for (const auto& column : FColumns)
        copy->AppendColumn(column->Clone(*copy));
    copy->FNumber = number;
    copy->SetRowCount(FMinRows);
    return copy;
}

long double TGridTable::UnitFactor(UnitSystem from, UnitSystem to, const std::string& units) const
{
    return Chart ? ChartConversionFactor(from, to, units) : ConversionFactor(from, to, units);
}

std::string TGridTable::UnitNames(const std::string& units, UnitSystem system) const
{
    return Chart ? ExpandChartUnits(units, system) : ExpandUnits(units, system);
}

