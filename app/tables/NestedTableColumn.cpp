// The button column: one nested table (or OnInitRow object) per row, built
// from the column's template list.

#include "TableColumns.h"

#include "ColumnSupport.h"
#include "GridTable.h"

#include <algorithm>

using namespace column_detail;

namespace {

const char* const CircularTemplateMessage = "A table's template holds the table itself";

// The templates being copied on this thread, innermost last: a template whose
// rows would be made from a template being copied (itself, or a table around
// it) would nest copies without end.
class TCopyInProgress {
public:
    explicit TCopyInProgress(const TGridTable& tmpl)
    {
        if (std::find(Copying().begin(), Copying().end(), &tmpl) != Copying().end())
            throw ETableError(CircularTemplateMessage);
        Copying().push_back(&tmpl);
    }
    ~TCopyInProgress() { Copying().pop_back(); }
    TCopyInProgress(const TCopyInProgress&) = delete;
    TCopyInProgress& operator=(const TCopyInProgress&) = delete;

private:
    static std::vector<const TGridTable*>& Copying()
    {
        thread_local std::vector<const TGridTable*> copying;
        return copying;
    }
};

}  // namespace

// ---- TTableColumn ----

TGridTable* TTableColumn::AsTable(int row) const
{
    return dynamic_cast<Table*>(AsObject(row));
}

TRowObject* TTableColumn::AsObject(int row) const
{
    this->CheckRow(row);
    return FObjects[row].get();
}

void TTableColumn::InsertRows(int at, int count)
{
    TColumn::InsertRows(at, count);
    Renumber(at + count);
}

void TTableColumn::InsertValue(int row)
{
    FObjects.insert(FObjects.begin() + row, nullptr);
    try {
        CreateRowObject(row);
    } catch (...) {
        FObjects.erase(FObjects.begin() + row);
        throw;
    }
}

void TTableColumn::DeleteRow(int row)
{
    TColumn::DeleteRow(row);
    Renumber(row);
}

std::unique_ptr<TGridTable> TTableColumn::ReplacingCopy(Table& tmpl, Table* old, int row) const
{
    Table& owner = this->Owner();
    const TCopyInProgress copying(tmpl);
    // A table with a chart keeps the row's values.
    if (owner.Chart && old) {
        // The row keeps its values column by column: they go through the
        // template into the copy. Only float columns carry values over.
        auto carry = [](const Table& from, Table& to) {
            const int columns = std::min(from.ColumnCount(), to.ColumnCount());
            for (int c = 0; c < columns; ++c) {
                TColumn& source = from.Column(c);
                TColumn& target = to.Column(c);
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
    return tmpl.Copy(owner, row + 1);
}

void TTableColumn::CreateRowObject(int row)
{
    if (row < 0 || row >= static_cast<int>(FObjects.size()))
        throw ETableError(OutOfBoundsMessage);
    Table& owner = this->Owner();
    const int col = this->Index();
    int type = 1;
    if (owner.ColumnCount() > 0 && &owner.Column(0) != this && owner.Column(0).Kind() == TColumnKind::Enum)
        type = owner.Column(0).AsInteger(row);

    if (Table* tmpl = Templates.Resolve(type - 1, owner.Directory())) {
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

void TTableColumn::Renumber(int from)
{
    Table& owner = this->Owner();
    for (int i = std::max(from, 0); i < static_cast<int>(FObjects.size()); ++i) {
        if (Table* table = dynamic_cast<Table*>(FObjects[i].get()))
            table->SetNumber(i + 1);
        else if (FObjects[i] && owner.OnSetRow)
            owner.OnSetRow(owner, this->Index(), FObjects[i].get(), i);
    }
}

std::string TTableColumn::ButtonCaption(int row) const
{
    std::string caption;
    if (const Table* table = AsTable(row))
        caption = table->Caption;
    else if (Table& owner = this->Owner(); owner.OnGetButtonCaption)
        owner.OnGetButtonCaption(owner, this->Index(), row, FObjects[row].get(), caption);
    return std::to_string(row + 1) + ": " + caption;
}

bool TTableColumn::GetChanged() const
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

void TTableColumn::ResetChanged()
{
    Table& owner = this->Owner();
    for (int i = 0; i < static_cast<int>(FObjects.size()); ++i) {
        if (Table* table = dynamic_cast<Table*>(FObjects[i].get()))
            table->SetChanged(false);
        else if (FObjects[i] && owner.OnResetChanged)
            owner.OnResetChanged(owner, this->Index(), i, FObjects[i].get());
    }
}

void TTableColumn::Hide()
{
    Table& owner = this->Owner();
    for (int i = 0; i < static_cast<int>(FObjects.size()); ++i) {
        if (Table* table = dynamic_cast<Table*>(FObjects[i].get()))
            table->Hide();
        else if (FObjects[i] && owner.OnHide)
            owner.OnHide(owner, this->Index(), i, FObjects[i].get());
    }
}

void TTableColumn::SetUnits(UnitSystem units)
{
    Table& owner = this->Owner();
    for (int i = 0; i < static_cast<int>(FObjects.size()); ++i) {
        if (Table* table = dynamic_cast<Table*>(FObjects[i].get()))
            table->SetUnits(units);
        else if (FObjects[i] && owner.OnSetUnits)
            owner.OnSetUnits(owner, this->Index(), i, FObjects[i].get(), units);
    }
}

TGridTable* TTableColumn::ClickButton(int row)
{
    this->CheckRow(row);
    Table& owner = this->Owner();
    if (Table* table = AsTable(row))
        return table;
    if (owner.OnButtonClick)
        owner.OnButtonClick(owner, this->Index(), row, FObjects[row].get());
    return nullptr;
}

void column_detail::WriteValue(TValueWriter& writer, const TColumn& column, const TGridTableList& templates)
{
    writer.WriteListBegin();
    for (std::size_t i = 0; i < templates.Entries.size(); ++i) {
        const TGridTable* table = templates.Resolve(static_cast<int>(i), column.Owner().Directory());
        writer.WriteInteger(table ? table->Identifier() : -1);
    }
    writer.WriteListEnd();
}

void column_detail::ReadValue(TValueReader& reader, TGridTableList& templates)
{
    templates.Entries.clear();
    reader.ReadListBegin();
    while (!reader.EndOfList())
        templates.Entries.push_back({reader.ReadInteger(), true});
}

void TTableColumn::ReadOwnData(TValueReader& reader)
{
    Templates.Entries.clear();
    if (!ReadFields(reader, *this))
        return;
    // Legacy form: one directory position, or the item numbers as identifiers.
    const int32_t index = reader.ReadInteger();
    const Table& table = this->Owner();
    const auto* types = table.ColumnCount() > 0 ? dynamic_cast<const TEnumColumn*>(&table.Column(0)) : nullptr;
    if (!types) {
        Templates.Entries.push_back({index, false});
        return;
    }
    const int items = static_cast<int>(types->Items().size());
    for (int i = 0; i < items; ++i)
        Templates.Entries.push_back(table.HardwiredButton ? TTemplateRef{index, false} : TTemplateRef{i + 1, true});
}

template class TKindColumn<TTableColumn, TColumn>;
