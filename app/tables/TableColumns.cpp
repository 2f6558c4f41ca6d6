#include "TableColumns.h"

#include "ColumnSupport.h"
#include "DecimalText.h"
#include "Evaluator.h"
#include "GridTable.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>

using namespace column_detail;

namespace column_detail {

long double EvaluateEntry(const std::string& text)
{
    long double value;
    try {
        value = Evaluate(text);
    } catch (const EAssignError&) {
        throw;
    } catch (const std::exception&) {
        value = NAN;
    }
    if (!std::isfinite(value)) {
        if (text.empty())
            throw EAssignError("Entry cannot be blank.");
        throw EAssignError(text + " is not a valid number.");
    }
    return value;
}

bool IsWhole(long double value) { return std::fabs(value - std::trunc(value)) <= 1e-10L; }

bool RoundTo32(long double value, int32_t& result)
{
    const long double rounded = std::nearbyint(value);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX))
        return false;
    result = static_cast<int32_t>(rounded);
    return true;
}

std::vector<std::string> ReadStringList(TValueReader& reader)
{
    std::vector<std::string> list;
    reader.ReadListBegin();
    while (!reader.EndOfList())
        list.push_back(reader.ReadString());
    return list;
}

void WriteStringList(TValueWriter& writer, const std::vector<std::string>& list)
{
    writer.WriteListBegin();
    for (const std::string& s : list)
        writer.WriteString(s);
    writer.WriteListEnd();
}

}  // namespace column_detail

std::string FloatCellText(long double value) { return GeneralNumberText(value, 8); }

// ---- TData ----

int TData::Row() const
{
    return FColumn.RowOf(*this);
}

long double TData::AsFloat() const
{
    return FColumn.AsFloat(Row());
}

void TData::SetFloat(long double value)
{
    FColumn.SetFloat(Row(), value);
}

int32_t TData::AsInteger() const
{
    return FColumn.AsInteger(Row());
}

void TData::SetInteger(int32_t value)
{
    FColumn.SetInteger(Row(), value);
}

std::string TData::AsString() const
{
    return FColumn.GetText(Row());
}

void TData::SetText(const std::string& text)
{
    FColumn.SetText(Row(), text);
}

TGridTable* TData::AsTable() const
{
    return FColumn.AsTable(Row());
}

TRowObject* TData::AsObject() const
{
    return FColumn.AsObject(Row());
}

// ---- TGridTableList ----

TGridTable* TGridTableList::Resolve(int i, const TTableDirectory* directory) const
{
    if (!directory || i < 0 || i >= static_cast<int>(Entries.size()))
        return nullptr;
    const TTemplateRef& ref = Entries[i];
    return ref.ByIdentifier ? directory->Find(ref.Value) : directory->At(ref.Value);
}

// ---- TColumn ----

TColumn::~TColumn() = default;

int TColumn::Index() const
{
    return FTable.IndexOf(*this);
}

std::string TColumn::CaptionLine(int i) const
{
    return CaptionLines.at(i);
}

std::string TColumn::Heading() const
{
    std::string joined;
    for (int i = 0; i < CaptionLineCount(); ++i)
        joined += " " + CaptionLine(i);
    std::string heading;
    for (std::size_t k = 0; k < joined.size(); ++k) {
        const char c = joined[k];
        if (c == ' ' && (heading.empty() || heading.back() == ' '))
            continue;
        heading += c;
    }
    while (!heading.empty() && heading.back() == ' ')
        heading.pop_back();
    // "AE, (lb)" -> "AE (lb)", and no comma at the end.
    for (std::size_t at = heading.find(", ("); at != std::string::npos; at = heading.find(", (", at))
        heading.erase(at, 1);
    if (!heading.empty() && heading.back() == ',')
        heading.pop_back();
    return heading;
}

int TColumn::RowGroup() const
{
    return FTable.RowGroup();
}

void TColumn::CheckRow(int row) const
{
    if (row < 0 || row >= RowCount())
        throw ETableError(OutOfBoundsMessage);
}

TData& TColumn::GetData(int row) const
{
    CheckRow(row);
    return *FData[row];
}

int TColumn::RowOf(const TData& data) const
{
    for (int i = 0; i < RowCount(); ++i)
        if (FData[i].get() == &data)
            return i;
    return -1;
}

void TColumn::InsertRows(int at, int count)
{
    if (at < 0 || at > RowCount())
        throw ETableError(OutOfBoundsMessage);
    for (int k = 0; k < count; ++k) {
        InsertValue(at + k);
        FData.insert(FData.begin() + at + k, std::make_unique<TData>(*this));
    }
}

void TColumn::DeleteRow(int row)
{
    CheckRow(row);
    EraseValue(row);
    FData.erase(FData.begin() + row);
}

void TColumn::WrongType()
{
    throw ETableError(WrongTypeMessage);
}

TGridTable* TColumn::AsTable(int) const
{
    WrongType();
}

TRowObject* TColumn::AsObject(int) const
{
    WrongType();
}

long double TColumn::AsFloat(int) const
{
    WrongType();
}

void TColumn::SetFloat(int, long double)
{
    WrongType();
}

int32_t TColumn::AsInteger(int) const
{
    WrongType();
}

void TColumn::SetInteger(int, int32_t)
{
    WrongType();
}

void TColumn::CellChanged(int row)
{
    FTable.CellChanged(Index(), row);
}

void TColumn::ControlRowChanged(int row)
{
    if (TTableEditor* editor = FTable.Editor())
        editor->RowControlChanged(Index(), row);
}

std::pair<int, int> TColumn::GroupOf(int row) const
{
    const int group = RowGroup();
    const int first = group * (row / group);
    return {first, std::min(first + group, RowCount())};
}

void TColumn::WriteData(TValueWriter& writer) const
{
    WriteStringList(writer, CaptionLines);
    writer.WriteBoolean(Visible);
    writer.WriteBoolean(GroupWide);
    WriteOwnData(writer);
}

std::unique_ptr<TColumn> TColumn::CreateFromStream(TColumnKind kind, Table& table, TValueReader& reader)
{
    std::unique_ptr<TColumn> column;
    switch (kind) {
    case TColumnKind::Enum: column = std::make_unique<TEnumColumn>(table); break;
    case TColumnKind::Int: column = std::make_unique<TIntColumn>(table); break;
    case TColumnKind::Float: column = std::make_unique<TFloatColumn>(table); break;
    case TColumnKind::Table: column = std::make_unique<TTableColumn>(table); break;
    case TColumnKind::String: column = std::make_unique<TStringColumn>(table); break;
    }
    column->CaptionLines = ReadStringList(reader);
    column->Visible = reader.ReadBoolean();
    column->GroupWide = reader.ReadBoolean();
    column->ReadOwnData(reader);
    return column;
}

