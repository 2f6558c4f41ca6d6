// The four kinds that hold plain values: enumeration, integer, float and
// string columns.

#include "TableColumns.h"

#include "ColumnSupport.h"
#include "Evaluator.h"
#include "GridTable.h"

#include <algorithm>
#include <cmath>

using namespace column_detail;

// ---- TValueColumn ----

template <class T>
void TValueColumn<T>::InsertValue(int row)
{
    FValues.insert(FValues.begin() + row, NewValue(row));
}

template <class T>
void TValueColumn<T>::StoreGroup(int row, const T& value)
{
    const auto [first, last] = this->GroupOf(row);
    for (int r = first; r < last; ++r) {
        FValues[r] = value;
        this->CellChanged(r);
    }
}

// ---- TEnumColumn ----

void TEnumColumn::SetItems(std::vector<std::string> items)
{
    FItems = std::move(items);
    if (this->Index() == 0)
        this->Owner().ResizeTemplates();
}

int32_t TEnumColumn::AsInteger(int row) const
{
    this->CheckRow(row);
    return this->FValues[row];
}

void TEnumColumn::SetInteger(int row, int32_t value)
{
    this->CheckRow(row);
    // A row that already has the value is left alone (its nested table too).
    const auto [first, last] = this->GroupWide ? this->GroupOf(row) : std::pair{row, row + 1};
    for (int r = first; r < last; ++r) {
        if (this->FValues[r] == value)
            continue;
        this->FValues[r] = value;
        this->ControlRowChanged(r);
        this->CellChanged(r);
    }
}

std::string TEnumColumn::GetText(int row) const
{
    return std::to_string(AsInteger(row));
}

void TEnumColumn::SetText(int row, const std::string& text)
{
    const long double value = EvaluateEntry(text);
    int32_t n;
    if (value != std::trunc(value) || !RoundTo32(value, n))
        throw EAssignError("Value must be an integer.");
    // A number that names no item would leave the row without its item (and
    // a button column beside it without a table), found only when saving.
    const int items = static_cast<int>(FItems.size());
    if (items > 0 && (n < 1 || n > items))
        throw EAssignError("Entry must be between 1 and " + std::to_string(items) + ".");
    SetInteger(row, n);
}

// ---- TIntColumn ----

int32_t TIntColumn::AsInteger(int row) const
{
    this->CheckRow(row);
    return this->FValues[row];
}

void TIntColumn::SetInteger(int row, int32_t value)
{
    this->CheckRow(row);
    if (this->GroupWide) {
        this->StoreGroup(row, value);
        return;
    }
    this->FValues[row] = value;
    this->CellChanged(row);
}

std::string TIntColumn::GetText(int row) const
{
    return std::to_string(AsInteger(row));
}

void TIntColumn::SetText(int row, const std::string& text)
{
    const long double value = EvaluateEntry(text);
    const std::string range =
        "Entry must be between " + std::to_string(MinValue) + " and " + std::to_string(MaxValue) + ".";
    if (this->Owner().Editor()) {
        if (!IsWhole(value))
            throw EAssignError("Entry must be an integer.");
        if (value < MinValue || value > MaxValue)
            throw EAssignError(range);
    }
    int32_t n;
    if (!RoundTo32(value, n))
        throw EAssignError(range);
    SetInteger(row, n);
}

// ---- TFloatColumn ----

TFloatColumn* TFloatColumn::Neighbour(int offset) const
{
    const int i = this->Index() + offset;
    const TGridTable& table = this->Owner();
    if (this->Index() < 0 || i < 0 || i >= table.ColumnCount())
        return nullptr;
    return dynamic_cast<TFloatColumn*>(&table.Column(i));
}

std::string TFloatColumn::CaptionLine(int i) const
{
    const std::string line = TColumn::CaptionLine(i);
    if (i != this->CaptionLineCount() - 1 || UnitString.empty())
        return line;
    return line + " (" + this->Owner().UnitNames(UnitString, this->Owner().Units()) + ")  ";
}

long double TFloatColumn::AsFloat(int row) const
{
    this->CheckRow(row);
    return this->FValues[row];
}

void TFloatColumn::SetFloat(int row, long double value)
{
    this->CheckRow(row);
    if (this->GroupWide) {
        this->StoreGroup(row, value);
        return;
    }
    this->FValues[row] = value;
    // The bottom of the layer above is the top of this one, and the top of
    // the layer below the bottom of this one.
    TFloatColumn* next = TopDepth ? Neighbour(1) : nullptr;
    TFloatColumn* previous = Neighbour(-1);
    if (next && row >= 1 && row - 1 < next->RowCount()) {
        next->FValues[row - 1] = value;
        next->CellChanged(row - 1);
    } else if (previous && previous->TopDepth && row + 1 < previous->RowCount()) {
        previous->FValues[row + 1] = value;
        previous->CellChanged(row + 1);
    }
    this->CellChanged(row);
}

std::string TFloatColumn::GetText(int row) const
{
    return FloatCellText(AsFloat(row));
}

void TFloatColumn::SetText(int row, const std::string& text)
{
    const long double value = EvaluateEntry(text);
    if (EntryCheck)
        if (const std::string refused = EntryCheck(*this, row, value); !refused.empty())
            throw EAssignError(refused);
    SetFloat(row, value);
}

void TFloatColumn::SetUnits(UnitSystem units)
{
    const long double factor = this->Owner().UnitFactor(this->Owner().Units(), units, UnitString);
    for (int row = 0; row < this->RowCount(); ++row) {
        this->FValues[row] *= factor;
        this->CellChanged(row);
    }
}

long double TFloatColumn::NewValue(int row) const
{
    // A new layer's top is the bottom of the layer above (the bottom column
    // has not grown yet); a new bottom is the top of the layer below.
    if (TopDepth) {
        const TFloatColumn* next = Neighbour(1);
        if (row >= 1 && row <= next->RowCount() - 1)
            return next->FValues[row - 1];
    }
    const TFloatColumn* previous = Neighbour(-1);
    if (previous && previous->TopDepth && row + 1 < previous->RowCount())
        return previous->FValues[row + 1];
    return DefaultValue;
}

void TFloatColumn::InsertValue(int row)
{
    if (TopDepth && !Neighbour(1))
        throw ETableError("If column if a topdepth then the next column must be a float column");
    TValueColumn<long double>::InsertValue(row);
}

void TFloatColumn::EraseValue(int row)
{
    // The layer below now starts where the layer above ends.
    if (TFloatColumn* next = TopDepth ? Neighbour(1) : nullptr;
        next && row > 0 && row < this->RowCount() - 1 && row - 1 < next->RowCount())
        next->FValues[row - 1] = this->FValues[row + 1];
    TValueColumn<long double>::EraseValue(row);
}

void TFloatColumn::ReadOwnData(TValueReader& reader)
{
    if (const std::optional<std::string> legacy = ReadFields(reader, *this)) {
        UnitString = *legacy;
        DefaultValue = 0;
    }
}

// ---- TStringColumn ----

std::string TStringColumn::GetText(int row) const
{
    this->CheckRow(row);
    return this->FValues[row];
}

void TStringColumn::SetText(int row, const std::string& text)
{
    this->CheckRow(row);
    if (this->GroupWide) {
        this->StoreGroup(row, text);
        return;
    }
    this->FValues[row] = text;
    this->CellChanged(row);
}

template class TValueColumn<int32_t>;
template class TValueColumn<long double>;
template class TValueColumn<std::string>;
template class TKindColumn<TEnumColumn, TValueColumn<int32_t>>;
template class TKindColumn<TIntColumn, TValueColumn<int32_t>>;
template class TKindColumn<TFloatColumn, TValueColumn<long double>>;
template class TKindColumn<TStringColumn, TValueColumn<std::string>>;
