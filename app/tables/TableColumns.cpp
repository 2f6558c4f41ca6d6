#include "TableColumns.h"

#include "Evaluator.h"
#include "GridTable.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const WrongTypeMessage = "Data of wrong type";
const char* const OutOfBoundsMessage = "Index out of bounds";

// Numeric entry: the evaluator's messages pass unchanged; any other failure
// to get a number out of the text is reported with the text itself.
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

// Rounds to the nearest integer (halves to the even neighbour); false when
// the result lies outside the 32-bit range.
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

const char* const FloatMarker = "FLOATCOLUMN2";
const char* const TableMarker = "FLEXCOLUMN2";

}  // namespace

std::string FloatCellText(long double value)
{
    return GeneralNumberText(value, 8);
}

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
    return ref.ByIdentifier ? TGridTableT<F>::FindByIdentifier(ref.Value)
                            : TGridTableT<F>::RegistryAt(ref.Value);
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
int TColumnT<F>::MinWidth(int pixelsPerInch,
                          const std::function<int(const std::string&)>& textWidth) const
{
    int width = KindMinWidth(pixelsPerInch);
    for (int i = 0; i < CaptionLineCount(); ++i)
        width = std::max(width, textWidth(CaptionLine(i) + "  "));
    return width;
}

template <TableFamily F>
void TColumnT<F>::CheckControlRequest(int, int) const
{
}

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
std::unique_ptr<TColumnT<F>> TColumnT<F>::CreateFromStream(TColumnKind kind, Table& table,
                                                           TValueReader& reader)
{
    std::unique_ptr<TColumnT> column;
    switch (kind) {
    case TColumnKind::Enum:
        column = std::make_unique<TEnumColumnT<F>>(table);
        break;
    case TColumnKind::Int:
        column = std::make_unique<TIntColumnT<F>>(table);
        break;
    case TColumnKind::Float:
        column = std::make_unique<TFloatColumnT<F>>(table);
        break;
    case TColumnKind::Table:
        column = std::make_unique<TTableColumnT<F>>(table);
        break;
    case TColumnKind::String:
        column = std::make_unique<TStringColumnT<F>>(table);
        break;
    }
    column->CaptionLines = ReadStringList(reader);
    column->Visible = reader.ReadBoolean();
    column->GroupWide = reader.ReadBoolean();
    column->ReadOwnData(reader);
    return column;
}

template <TableFamily F>
template <class C>
std::unique_ptr<C> TColumnT<F>::CloneCommon(Table& table) const
{
    auto clone = std::make_unique<C>(table);
    clone->CaptionLines = CaptionLines;
    clone->Visible = Visible;  // GroupWide is not copied: copies have RowGroup 1
    return clone;
}

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
    const std::string range = "Entry must be between " + std::to_string(MinValue) + " and " +
                              std::to_string(MaxValue) + ".";
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
    SetFloat(row, EvaluateEntry(text));
}

template <TableFamily F>
void TFloatColumnT<F>::SetUnits(int units)
{
    const long double factor =
        TGridTableT<F>::UnitFactor(this->Owner().Units(), units, UnitString);
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

// ---- TTableColumnT ----

template <TableFamily F>
TGridTableT<F>* TTableColumnT<F>::AsTable(int row) const
{
    return dynamic_cast<Table*>(AsObject(row));
}

template <TableFamily F>
TRowObject* TTableColumnT<F>::AsObject(int row) const
{
    this->CheckRow(row);
    return FObjects[row].get();
}

template <TableFamily F>
void TTableColumnT<F>::InsertRows(int at, int count)
{
    TColumnT<F>::InsertRows(at, count);
    Renumber(at + count);
}

template <TableFamily F>
void TTableColumnT<F>::InsertValue(int row)
{
    FObjects.insert(FObjects.begin() + row, nullptr);
    try {
        CreateRowObject(row);
    } catch (...) {
        FObjects.erase(FObjects.begin() + row);
        throw;
    }
}

template <TableFamily F>
void TTableColumnT<F>::DeleteRow(int row)
{
    TColumnT<F>::DeleteRow(row);
    Renumber(row);
}

template <TableFamily F>
std::unique_ptr<TGridTableT<F>> TTableColumnT<F>::ReplacingCopy(Table& tmpl, Table* old,
                                                                 int row) const
{
    Table& owner = this->Owner();
    if constexpr (F == TableFamily::Chart) {
        if (old) {
            // The row keeps its values column by column: they go through the
            // template into the copy. Only float columns carry values over.
            auto carry = [](const Table& from, Table& to) {
                const int columns = std::min(from.ColumnCount(), to.ColumnCount());
                for (int c = 0; c < columns; ++c) {
                    TColumnT<F>& source = from.Column(c);
                    TColumnT<F>& target = to.Column(c);
                    if (source.Kind() != TColumnKind::Float || target.Kind() != TColumnKind::Float)
                        continue;
                    for (int r = 0; r < to.RowCount() && r < from.RowCount(); ++r)
                        target.SetFloat(r, source.AsFloat(r));
                }
            };
            tmpl.SetRowCount(old->RowCount());
            carry(*old, tmpl);
            auto copy = tmpl.Copy(owner, row + 1);
            copy->SetRowCount(tmpl.RowCount());
            carry(tmpl, *copy);
            return copy;
        }
    }
    return tmpl.Copy(owner, row + 1);
}

template <TableFamily F>
void TTableColumnT<F>::CreateRowObject(int row)
{
    if (row < 0 || row >= static_cast<int>(FObjects.size()))
        throw ETableError(OutOfBoundsMessage);
    Table& owner = this->Owner();
    const int col = this->Index();
    int type = 1;
    if (owner.ColumnCount() > 0 && &owner.Column(0) != this &&
        owner.Column(0).Kind() == TColumnKind::Enum)
        type = owner.Column(0).AsInteger(row);

    if (Table* tmpl = Templates.Resolve(type - 1)) {
        FObjects[row] = ReplacingCopy(*tmpl, dynamic_cast<Table*>(FObjects[row].get()), row);
    } else if (owner.OnInitRow) {
        std::unique_ptr<TRowObject> data;
        owner.OnInitRow(owner, col, row, type, data);
        if (data && owner.OnSetRow)
            owner.OnSetRow(owner, col, data.get(), row);
        FObjects[row] = std::move(data);
    } else {
        FObjects[row].reset();
    }
    this->ControlRowChanged(row);
}

template <TableFamily F>
void TTableColumnT<F>::Renumber(int from)
{
    Table& owner = this->Owner();
    for (int i = std::max(from, 0); i < static_cast<int>(FObjects.size()); ++i) {
        if (Table* table = dynamic_cast<Table*>(FObjects[i].get()))
            table->SetNumber(i + 1);
        else if (FObjects[i] && owner.OnSetRow)
            owner.OnSetRow(owner, this->Index(), FObjects[i].get(), i);
    }
}

template <TableFamily F>
std::string TTableColumnT<F>::ButtonCaption(int row) const
{
    std::string caption;
    if (const Table* table = AsTable(row))
        caption = table->Caption;
    else if (Table& owner = this->Owner(); owner.OnGetButtonCaption)
        owner.OnGetButtonCaption(owner, this->Index(), row, FObjects[row].get(), caption);
    return std::to_string(row + 1) + ": " + caption;
}

template <TableFamily F>
bool TTableColumnT<F>::GetChanged() const
{
    Table& owner = this->Owner();
    for (int i = 0; i < static_cast<int>(FObjects.size()); ++i) {
        if (const Table* table = dynamic_cast<const Table*>(FObjects[i].get())) {
            if (table->Changed())
                return true;
        } else if (FObjects[i] && owner.OnGetChanged) {
            bool changed = false;
            owner.OnGetChanged(owner, this->Index(), i, FObjects[i].get(), changed);
            if (changed)
                return true;
        }
    }
    return false;
}

template <TableFamily F>
void TTableColumnT<F>::ResetChanged()
{
    Table& owner = this->Owner();
    for (int i = 0; i < static_cast<int>(FObjects.size()); ++i) {
        if (Table* table = dynamic_cast<Table*>(FObjects[i].get()))
            table->SetChanged(false);
        else if (FObjects[i] && owner.OnResetChanged)
            owner.OnResetChanged(owner, this->Index(), i, FObjects[i].get());
    }
}

template <TableFamily F>
void TTableColumnT<F>::Hide()
{
    Table& owner = this->Owner();
    for (int i = 0; i < static_cast<int>(FObjects.size()); ++i) {
        if (Table* table = dynamic_cast<Table*>(FObjects[i].get()))
            table->Hide();
        else if (FObjects[i] && owner.OnHide)
            owner.OnHide(owner, this->Index(), i, FObjects[i].get());
    }
}

template <TableFamily F>
void TTableColumnT<F>::SetUnits(int units)
{
    Table& owner = this->Owner();
    for (int i = 0; i < static_cast<int>(FObjects.size()); ++i) {
        if (Table* table = dynamic_cast<Table*>(FObjects[i].get()))
            table->SetUnits(units);
        else if (FObjects[i] && owner.OnSetUnits)
            owner.OnSetUnits(owner, this->Index(), i, FObjects[i].get(), units);
    }
}

template <TableFamily F>
void TTableColumnT<F>::ClickButton(int control)
{
    if (control < 0 || control >= this->ControlsAllocated())
        throw ETableError(OutOfBoundsMessage);
    const int row = this->ControlRow(control);
    Table& owner = this->Owner();
    if (Table* table = AsTable(row)) {
        const TTableEditor* editor = owner.Editor();
        if (editor && editor->IsModal())
            table->ShowModal();
        else
            table->Show();
    } else if (owner.OnButtonClick) {
        owner.OnButtonClick(owner, this->Index(), row, FObjects[row].get());
    }
}

template <TableFamily F>
void TTableColumnT<F>::CheckControlRequest(int topRow, int count) const
{
    if (topRow < 0 || topRow >= this->RowCount())
        throw ETableError("ATopRow " + std::to_string(topRow));
    if (count <= 0 || topRow + count > this->RowCount())
        throw ETableError("ACount " + std::to_string(count));
}

template <TableFamily F>
std::unique_ptr<TColumnT<F>> TTableColumnT<F>::Clone(Table& table) const
{
    auto clone = this->template CloneCommon<TTableColumnT>(table);
    clone->Templates = Templates;
    return clone;
}

template <TableFamily F>
void TTableColumnT<F>::WriteOwnData(TValueWriter& writer) const
{
    writer.WriteString(TableMarker);
    writer.WriteListBegin();
    for (std::size_t i = 0; i < Templates.Entries.size(); ++i) {
        const Table* table = Templates.Resolve(static_cast<int>(i));
        writer.WriteInteger(table ? table->Identifier() : -1);
    }
    writer.WriteListEnd();
}

template <TableFamily F>
void TTableColumnT<F>::ReadOwnData(TValueReader& reader)
{
    Templates.Entries.clear();
    if (reader.ReadString() == TableMarker) {
        reader.ReadListBegin();
        while (!reader.EndOfList())
            Templates.Entries.push_back({reader.ReadInteger(), true});
        return;
    }
    // Legacy form: one registry index, or the item numbers as identifiers.
    const int32_t index = reader.ReadInteger();
    const Table& table = this->Owner();
    const auto* types = table.ColumnCount() > 0
                            ? dynamic_cast<const TEnumColumnT<F>*>(&table.Column(0))
                            : nullptr;
    if (!types) {
        Templates.Entries.push_back({index, false});
        return;
    }
    const int items = static_cast<int>(types->Items().size());
    for (int i = 0; i < items; ++i)
        Templates.Entries.push_back(table.HardwiredButton ? TTemplateRef{index, false}
                                                          : TTemplateRef{i + 1, true});
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

#define KORVEN_INSTANTIATE_COLUMNS(F)          \
    template class TDataT<F>;                  \
    template class TGridTableListT<F>;         \
    template class TColumnT<F>;                \
    template class TValueColumnT<F, int32_t>;  \
    template class TValueColumnT<F, long double>; \
    template class TValueColumnT<F, std::string>; \
    template class TEnumColumnT<F>;            \
    template class TIntColumnT<F>;             \
    template class TFloatColumnT<F>;           \
    template class TTableColumnT<F>;           \
    template class TStringColumnT<F>;

KORVEN_INSTANTIATE_COLUMNS(TableFamily::Plain)
KORVEN_INSTANTIATE_COLUMNS(TableFamily::Chart)
