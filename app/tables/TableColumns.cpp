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

// ---- TDataT ----

template <TableFamily F>
int TDataT<F>::Row() const
{
    return FColumn.RowOf(*this);
}

template <TableFamily F>
long double TDataT<F>::AsFloat() const
{
    return FColumn.AsFloat(Row());
}

template <TableFamily F>
void TDataT<F>::SetFloat(long double value)
{
    FColumn.SetFloat(Row(), value);
}

template <TableFamily F>
int32_t TDataT<F>::AsInteger() const
{
    return FColumn.AsInteger(Row());
}

template <TableFamily F>
void TDataT<F>::SetInteger(int32_t value)
{
    FColumn.SetInteger(Row(), value);
}

template <TableFamily F>
std::string TDataT<F>::AsString() const
{
    return FColumn.GetText(Row());
}

template <TableFamily F>
void TDataT<F>::SetText(const std::string& text)
{
    FColumn.SetText(Row(), text);
}

template <TableFamily F>
TGridTableT<F>* TDataT<F>::AsTable() const
{
    return FColumn.AsTable(Row());
}

template <TableFamily F>
TRowObject* TDataT<F>::AsObject() const
{
    return FColumn.AsObject(Row());
}

// ---- TGridTableListT ----

template <TableFamily F>
TGridTableT<F>* TGridTableListT<F>::Resolve(int i) const
{
    if (i < 0 || i >= static_cast<int>(Entries.size()))
        return nullptr;
    const TTemplateRef& ref = Entries[i];
    return ref.ByIdentifier ? TGridTableT<F>::FindByIdentifier(ref.Value) : TGridTableT<F>::RegistryAt(ref.Value);
}

// ---- TColumnT ----

template <TableFamily F>
TColumnT<F>::~TColumnT() = default;

template <TableFamily F>
int TColumnT<F>::Index() const
{
    return FTable.IndexOf(*this);
}

template <TableFamily F>
std::string TColumnT<F>::CaptionLine(int i) const
{
    return CaptionLines.at(i);
}

template <TableFamily F>
std::string TColumnT<F>::Heading() const
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

template <TableFamily F>
int TColumnT<F>::RowGroup() const
{
    return FTable.RowGroup();
}

template <TableFamily F>
void TColumnT<F>::CheckRow(int row) const
{
    if (row < 0 || row >= RowCount())
        throw ETableError(OutOfBoundsMessage);
}

template <TableFamily F>
TDataT<F>& TColumnT<F>::GetData(int row) const
{
    CheckRow(row);
    return *FData[row];
}

template <TableFamily F>
int TColumnT<F>::RowOf(const Data& data) const
{
    for (int i = 0; i < RowCount(); ++i)
        if (FData[i].get() == &data)
            return i;
    return -1;
}

template <TableFamily F>
void TColumnT<F>::InsertRows(int at, int count)
{
    if (at < 0 || at > RowCount())
        throw ETableError(OutOfBoundsMessage);
    for (int k = 0; k < count; ++k) {
        InsertValue(at + k);
        FData.insert(FData.begin() + at + k, std::make_unique<Data>(*this));
    }
}

template <TableFamily F>
void TColumnT<F>::DeleteRow(int row)
{
    CheckRow(row);
    EraseValue(row);
    FData.erase(FData.begin() + row);
}

template <TableFamily F>
void TColumnT<F>::WrongType()
{
    throw ETableError(WrongTypeMessage);
}

template <TableFamily F>
TGridTableT<F>* TColumnT<F>::AsTable(int) const
{
    WrongType();
}

template <TableFamily F>
TRowObject* TColumnT<F>::AsObject(int) const
{
    WrongType();
}

template <TableFamily F>
long double TColumnT<F>::AsFloat(int) const
{
    WrongType();
}

template <TableFamily F>
void TColumnT<F>::SetFloat(int, long double)
{
    WrongType();
}

template <TableFamily F>
int32_t TColumnT<F>::AsInteger(int) const
{
    WrongType();
}

template <TableFamily F>
void TColumnT<F>::SetInteger(int, int32_t)
{
    WrongType();
}

template <TableFamily F>
void TColumnT<F>::CellChanged(int row)
{
    FTable.CellChanged(Index(), row);
}

template <TableFamily F>
void TColumnT<F>::ControlRowChanged(int row)
{
    if (FControlParent && row >= FControlTop && row < FControlTop + FControlCount)
        FControlParent->RowControlChanged(Index(), row);
}

template <TableFamily F>
std::pair<int, int> TColumnT<F>::GroupOf(int row) const
{
    const int group = RowGroup();
    const int first = group * (row / group);
    return {first, std::min(first + group, RowCount())};
}

template <TableFamily F>
int TColumnT<F>::MinWidth(int pixelsPerInch, const std::function<int(const std::string&)>& textWidth) const
{
    int width = KindMinWidth(pixelsPerInch);
    for (int i = 0; i < CaptionLineCount(); ++i)
        width = std::max(width, textWidth(CaptionLine(i) + "  "));
    return width;
}

template <TableFamily F>
void TColumnT<F>::CheckControlRequest(int, int) const
{}

template <TableFamily F>
const char* TColumnT<F>::ParentChangeMessage() const
{
    return "Attempt to change parent with controls already allocated";
}

template <TableFamily F>
void TColumnT<F>::AllocateControls(TTableEditor* parent, int topRow, int count)
{
    if (FControlCount > 0 && FControlParent != parent)
        throw ETableError(ParentChangeMessage());
    if (!parent)
        throw ETableError("null parent");
    CheckControlRequest(topRow, count);
    FControlParent = parent;
    FControlTop = topRow;
    FControlCount = std::max(count, 0);
}

template <TableFamily F>
void TColumnT<F>::ReleaseControls()
{
    FControlParent = nullptr;
    FControlTop = 0;
    FControlCount = 0;
}

template <TableFamily F>
void TColumnT<F>::WriteData(TValueWriter& writer) const
{
    WriteStringList(writer, CaptionLines);
    writer.WriteBoolean(Visible);
    writer.WriteBoolean(GroupWide);
    WriteOwnData(writer);
}

template <TableFamily F>
std::unique_ptr<TColumnT<F>> TColumnT<F>::CreateFromStream(TColumnKind kind, Table& table, TValueReader& reader)
{
    std::unique_ptr<TColumnT> column;
    switch (kind) {
    case TColumnKind::Enum: column = std::make_unique<TEnumColumnT<F>>(table); break;
    case TColumnKind::Int: column = std::make_unique<TIntColumnT<F>>(table); break;
    case TColumnKind::Float: column = std::make_unique<TFloatColumnT<F>>(table); break;
    case TColumnKind::Table: column = std::make_unique<TTableColumnT<F>>(table); break;
    case TColumnKind::String: column = std::make_unique<TStringColumnT<F>>(table); break;
    }
    column->CaptionLines = ReadStringList(reader);
    column->Visible = reader.ReadBoolean();
    column->GroupWide = reader.ReadBoolean();
    column->ReadOwnData(reader);
    return column;
}

template class TDataT<TableFamily::Plain>;
template class TDataT<TableFamily::Chart>;
template class TGridTableListT<TableFamily::Plain>;
template class TGridTableListT<TableFamily::Chart>;
template class TColumnT<TableFamily::Plain>;
template class TColumnT<TableFamily::Chart>;
