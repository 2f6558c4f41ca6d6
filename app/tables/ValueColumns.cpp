// The four kinds that hold plain values: enumeration, integer, float and
// string columns.

#include "TableColumns.h"

#include "ColumnSupport.h"
#include "Evaluator.h"
#include "GridTable.h"

#include <algorithm>
#include <cmath>

using namespace column_detail;

namespace {

const char* const FloatMarker = "FLOATCOLUMN2";

}  // namespace

// ---- TValueColumnT ----

template <TableFamily F, class T>
void TValueColumnT<F, T>::InsertValue(int row)
{
    FValues.insert(FValues.begin() + row, NewValue(row));
}

template <TableFamily F, class T>
void TValueColumnT<F, T>::StoreGroup(int row, const T& value)
{
    const auto [first, last] = this->GroupOf(row);
    for (int r = first; r < last; ++r) {
        FValues[r] = value;
        this->CellChanged(r);
    }
}

// ---- TEnumColumnT ----

template <TableFamily F>
void TEnumColumnT<F>::SetItems(std::vector<std::string> items)
{
    FItems = std::move(items);
    if (this->Index() == 0)
        this->Owner().ResizeTemplates();
}

template <TableFamily F>
int32_t TEnumColumnT<F>::AsInteger(int row) const
{
    this->CheckRow(row);
    return this->FValues[row];
}

template <TableFamily F>
void TEnumColumnT<F>::SetInteger(int row, int32_t value)
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

template <TableFamily F>
std::string TEnumColumnT<F>::GetText(int row) const
{
    return std::to_string(AsInteger(row));
}

template <TableFamily F>
void TEnumColumnT<F>::SetText(int row, const std::string& text)
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

template <TableFamily F>
void TEnumColumnT<F>::SelectItem(int control, int position)
{
    if (control < 0 || control >= this->ControlsAllocated())
        throw ETableError("Unexpected row for combobox");
    const int row = this->ControlRow(control);
    if (AsInteger(row) != position + 1)
        SetInteger(row, position + 1);
}

template <TableFamily F>
std::unique_ptr<TColumnT<F>> TEnumColumnT<F>::Clone(TGridTableT<F>& table) const
{
    auto clone = this->template CloneCommon<TEnumColumnT>(table);
    clone->FItems = FItems;
    return clone;
}

template <TableFamily F>
void TEnumColumnT<F>::WriteOwnData(TValueWriter& writer) const
{
    WriteStringList(writer, FItems);
}

template <TableFamily F>
void TEnumColumnT<F>::ReadOwnData(TValueReader& reader)
{
    FItems = ReadStringList(reader);
}

template <TableFamily F>
int TEnumColumnT<F>::KindMinWidth(int pixelsPerInch) const
{
    return pixelsPerInch + pixelsPerInch / 2;
}

template <TableFamily F>
const char* TEnumColumnT<F>::ParentChangeMessage() const
{
    return "Error attempt to change parent with controls already allocated";
}

// ---- TIntColumnT ----

template <TableFamily F>
int32_t TIntColumnT<F>::AsInteger(int row) const
{
    this->CheckRow(row);
    return this->FValues[row];
}

template <TableFamily F>
void TIntColumnT<F>::SetInteger(int row, int32_t value)
{
    this->CheckRow(row);
    if (this->GroupWide) {
        this->StoreGroup(row, value);
        return;
    }
    this->FValues[row] = value;
    this->CellChanged(row);
}

template <TableFamily F>
std::string TIntColumnT<F>::GetText(int row) const
{
    return std::to_string(AsInteger(row));
}

template <TableFamily F>
void TIntColumnT<F>::SetText(int row, const std::string& text)
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

template <TableFamily F>
std::unique_ptr<TColumnT<F>> TIntColumnT<F>::Clone(TGridTableT<F>& table) const
{
    auto clone = this->template CloneCommon<TIntColumnT>(table);
    clone->DefaultValue = DefaultValue;
    clone->MinValue = MinValue;
    clone->MaxValue = MaxValue;
    return clone;
}

template <TableFamily F>
void TIntColumnT<F>::WriteOwnData(TValueWriter& writer) const
{
    writer.WriteInteger(DefaultValue);
    writer.WriteInteger(MinValue);
    writer.WriteInteger(MaxValue);
}

template <TableFamily F>
void TIntColumnT<F>::ReadOwnData(TValueReader& reader)
{
    DefaultValue = reader.ReadInteger();
    MinValue = reader.ReadInteger();
    MaxValue = reader.ReadInteger();
}

// ---- TFloatColumnT ----

template <TableFamily F>
TFloatColumnT<F>* TFloatColumnT<F>::Neighbour(int offset) const
{
    const int i = this->Index() + offset;
    const TGridTableT<F>& table = this->Owner();
    if (this->Index() < 0 || i < 0 || i >= table.ColumnCount())
        return nullptr;
    return dynamic_cast<TFloatColumnT*>(&table.Column(i));
}

template <TableFamily F>
std::string TFloatColumnT<F>::CaptionLine(int i) const
{
    const std::string line = TColumnT<F>::CaptionLine(i);
    if (i != this->CaptionLineCount() - 1 || UnitString.empty())
        return line;
    return line + " (" + TGridTableT<F>::UnitNames(UnitString, this->Owner().Units()) + ")  ";
}

template <TableFamily F>
long double TFloatColumnT<F>::AsFloat(int row) const
{
    this->CheckRow(row);
    return this->FValues[row];
}

template <TableFamily F>
void TFloatColumnT<F>::SetFloat(int row, long double value)
{
    this->CheckRow(row);
    if (this->GroupWide) {
        this->StoreGroup(row, value);
        return;
    }
    this->FValues[row] = value;
    // The bottom of the layer above is the top of this one, and the top of
    // the layer below the bottom of this one.
    TFloatColumnT* next = TopDepth ? Neighbour(1) : nullptr;
    TFloatColumnT* previous = Neighbour(-1);
    if (next && row >= 1 && row - 1 < next->RowCount()) {
        next->FValues[row - 1] = value;
        next->CellChanged(row - 1);
    } else if (previous && previous->TopDepth && row + 1 < previous->RowCount()) {
        previous->FValues[row + 1] = value;
        previous->CellChanged(row + 1);
    }
    this->CellChanged(row);
}

template <TableFamily F>
std::string TFloatColumnT<F>::GetText(int row) const
{
    return FloatCellText(AsFloat(row));
}

template <TableFamily F>
void TFloatColumnT<F>::SetText(int row, const std::string& text)
{
    const long double value = EvaluateEntry(text);
    if (EntryCheck)
        if (const std::string refused = EntryCheck(*this, row, value); !refused.empty())
            throw EAssignError(refused);
    SetFloat(row, value);
}

template <TableFamily F>
void TFloatColumnT<F>::SetUnits(UnitSystem units)
{
    const long double factor = TGridTableT<F>::UnitFactor(this->Owner().Units(), units, UnitString);
    for (int row = 0; row < this->RowCount(); ++row) {
        this->FValues[row] *= factor;
        this->CellChanged(row);
    }
}

template <TableFamily F>
long double TFloatColumnT<F>::NewValue(int row) const
{
    // A new layer's top is the bottom of the layer above (the bottom column
    // has not grown yet); a new bottom is the top of the layer below.
    if (TopDepth) {
        const TFloatColumnT* next = Neighbour(1);
        if (row >= 1 && row <= next->RowCount() - 1)
            return next->FValues[row - 1];
    }
    const TFloatColumnT* previous = Neighbour(-1);
    if (previous && previous->TopDepth && row + 1 < previous->RowCount())
        return previous->FValues[row + 1];
    return DefaultValue;
}

template <TableFamily F>
void TFloatColumnT<F>::InsertValue(int row)
{
    if (TopDepth && !Neighbour(1))
        throw ETableError("If column if a topdepth then the next column must be a float column");
    TValueColumnT<F, long double>::InsertValue(row);
}

template <TableFamily F>
void TFloatColumnT<F>::EraseValue(int row)
{
    // The layer below now starts where the layer above ends.
    if (TFloatColumnT* next = TopDepth ? Neighbour(1) : nullptr;
        next && row > 0 && row < this->RowCount() - 1 && row - 1 < next->RowCount())
        next->FValues[row - 1] = this->FValues[row + 1];
    TValueColumnT<F, long double>::EraseValue(row);
}

template <TableFamily F>
std::unique_ptr<TColumnT<F>> TFloatColumnT<F>::Clone(TGridTableT<F>& table) const
{
    auto clone = this->template CloneCommon<TFloatColumnT>(table);
    clone->TopDepth = TopDepth;
    clone->UnitString = UnitString;
    clone->DefaultValue = DefaultValue;
    clone->EntryCheck = EntryCheck;
    return clone;
}

template <TableFamily F>
void TFloatColumnT<F>::WriteOwnData(TValueWriter& writer) const
{
    writer.WriteBoolean(TopDepth);
    writer.WriteString(FloatMarker);
    writer.WriteString(UnitString);
    writer.WriteFloat(DefaultValue);
}

template <TableFamily F>
void TFloatColumnT<F>::ReadOwnData(TValueReader& reader)
{
    TopDepth = reader.ReadBoolean();
    const std::string marker = reader.ReadString();
    if (marker != FloatMarker) {
        UnitString = marker;  // legacy form: the unit string alone
        DefaultValue = 0;
        return;
    }
    UnitString = reader.ReadString();
    DefaultValue = reader.ReadFloat();
}
// ---- TStringColumnT ----

template <TableFamily F>
std::string TStringColumnT<F>::GetText(int row) const
{
    this->CheckRow(row);
    return this->FValues[row];
}

template <TableFamily F>
void TStringColumnT<F>::SetText(int row, const std::string& text)
{
    this->CheckRow(row);
    if (this->GroupWide) {
        this->StoreGroup(row, text);
        return;
    }
    this->FValues[row] = text;
    this->CellChanged(row);
}

template <TableFamily F>
std::unique_ptr<TColumnT<F>> TStringColumnT<F>::Clone(TGridTableT<F>& table) const
{
    auto clone = this->template CloneCommon<TStringColumnT>(table);
    clone->DefaultValue = DefaultValue;
    clone->Width = Width;
    return clone;
}

template <TableFamily F>
void TStringColumnT<F>::WriteOwnData(TValueWriter& writer) const
{
    writer.WriteString(DefaultValue);
    writer.WriteFloat(Width);
}

template <TableFamily F>
void TStringColumnT<F>::ReadOwnData(TValueReader& reader)
{
    DefaultValue = reader.ReadString();
    Width = reader.ReadFloat();
}

template <TableFamily F>
int TStringColumnT<F>::KindMinWidth(int pixelsPerInch) const
{
    return static_cast<int>(Width * pixelsPerInch);
}

#define KORVEN_INSTANTIATE_VALUE_COLUMNS(F)                                                                            \
    template class TValueColumnT<F, int32_t>;                                                                          \
    template class TValueColumnT<F, long double>;                                                                      \
    template class TValueColumnT<F, std::string>;                                                                      \
    template class TEnumColumnT<F>;                                                                                    \
    template class TIntColumnT<F>;                                                                                     \
    template class TFloatColumnT<F>;                                                                                   \
    template class TStringColumnT<F>;

KORVEN_INSTANTIATE_VALUE_COLUMNS(TableFamily::Plain)
KORVEN_INSTANTIATE_VALUE_COLUMNS(TableFamily::Chart)
