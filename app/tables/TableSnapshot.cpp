#include "TableSnapshot.h"

TTableSnapshot::TTableSnapshot(const TGridTable& table) : FUnits(table.Units()), FRows(table.RowCount())
{
    FColumns.resize(table.ColumnCount());
    for (int col = 0; col < table.ColumnCount(); ++col) {
        const TColumnKind kind = table.Column(col).Kind();
        for (int row = 0; row < FRows; ++row) {
            const auto& data = table.GetData(col, row);
            switch (kind) {
            case TColumnKind::Enum:
            case TColumnKind::Int: FColumns[col].emplace_back(data.AsInteger()); break;
            case TColumnKind::Float: FColumns[col].emplace_back(data.AsFloat()); break;
            case TColumnKind::String: FColumns[col].emplace_back(data.AsString()); break;
            case TColumnKind::Table: {
                const TGridTable* nested = data.AsTable();
                FColumns[col].emplace_back(nested ? std::make_shared<const TTableSnapshot>(*nested) : TNested());
                break;
            }
            }
        }
    }
}

void TTableSnapshot::Restore(TGridTable& table) const
{
    // Values are put back in the units they were taken in.
    const UnitSystem units = table.Units();
    table.SetUnits(FUnits);
    table.SetRowCount(FRows);
    // Columns in order: an item number (the soil type) first replaces the
    // row's own table, which the table column then fills.
    for (int col = 0; col < table.ColumnCount() && col < static_cast<int>(FColumns.size()); ++col) {
        for (int row = 0; row < FRows; ++row) {
            auto& data = table.GetData(col, row);
            const TCell& cell = FColumns[col][row];
            if (const auto* number = std::get_if<int32_t>(&cell)) {
                if (data.AsInteger() != *number)
                    data.SetInteger(*number);
            } else if (const auto* value = std::get_if<long double>(&cell)) {
                if (data.AsFloat() != *value)
                    data.SetFloat(*value);
            } else if (const auto* text = std::get_if<std::string>(&cell)) {
                if (data.AsString() != *text)
                    data.SetText(*text);
            } else if (const TNested& nested = std::get<TNested>(cell)) {
                if (TGridTable* own = data.AsTable(); own && !(TTableSnapshot(*own) == *nested))
                    nested->Restore(*own);
            }
        }
    }
    table.SetUnits(units);
    table.SetChanged(true);
}

bool TTableSnapshot::operator==(const TTableSnapshot& other) const
{
    if (FUnits != other.FUnits || FRows != other.FRows || FColumns.size() != other.FColumns.size())
        return false;
    for (std::size_t col = 0; col < FColumns.size(); ++col)
        for (int row = 0; row < FRows; ++row) {
            const TCell& a = FColumns[col][row];
            const TCell& b = other.FColumns[col][row];
            if (a.index() != b.index())
                return false;
            if (const auto* nested = std::get_if<TNested>(&a)) {
                const TNested& theirs = std::get<TNested>(b);
                if (!*nested != !theirs || (*nested && !(**nested == *theirs)))
                    return false;
            } else if (a != b) {
                return false;
            }
        }
    return true;
}

