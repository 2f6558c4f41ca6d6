// The button column: one nested table (or OnInitRow object) per row, built
// from the column's template list.

#include "TableColumns.h"

#include "ColumnSupport.h"
#include "GridTable.h"

#include <algorithm>

using namespace column_detail;

namespace {

const char* const TableMarker = "FLEXCOLUMN2";
const char* const CircularTemplateMessage = "A table's template holds the table itself";

// The templates being copied, innermost last: a template whose rows would be
// made from a template being copied (itself, or a table around it) would
// nest copies without end.
template <class Table>
class TCopyInProgress {
public:
    explicit TCopyInProgress(const Table& tmpl)
    {
        if (std::find(Copying().begin(), Copying().end(), &tmpl) != Copying().end())
            throw ETableError(CircularTemplateMessage);
        Copying().push_back(&tmpl);
    }
    ~TCopyInProgress() { Copying().pop_back(); }
    TCopyInProgress(const TCopyInProgress&) = delete;
    TCopyInProgress& operator=(const TCopyInProgress&) = delete;

private:
    static std::vector<const Table*>& Copying()
    {
        static std::vector<const Table*> copying;
        return copying;
    }
};

}  // namespace

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
std::unique_ptr<TGridTableT<F>> TTableColumnT<F>::ReplacingCopy(Table& tmpl, Table* old, int row) const
{
    Table& owner = this->Owner();
    const TCopyInProgress<Table> copying(tmpl);
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
    if (owner.ColumnCount() > 0 && &owner.Column(0) != this && owner.Column(0).Kind() == TColumnKind::Enum)
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
void TTableColumnT<F>::SetUnits(UnitSystem units)
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
    const auto* types = table.ColumnCount() > 0 ? dynamic_cast<const TEnumColumnT<F>*>(&table.Column(0)) : nullptr;
    if (!types) {
        Templates.Entries.push_back({index, false});
        return;
    }
    const int items = static_cast<int>(types->Items().size());
    for (int i = 0; i < items; ++i)
        Templates.Entries.push_back(table.HardwiredButton ? TTemplateRef{index, false} : TTemplateRef{i + 1, true});
}

template class TTableColumnT<TableFamily::Plain>;
template class TTableColumnT<TableFamily::Chart>;
