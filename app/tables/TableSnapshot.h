#pragma once

// The whole content of a table, nested tables included, taken at one moment
// and put back later: what undo and redo of an edit restore. A snapshot
// remembers the table's unit system, so one taken before a switch of units
// restores the same quantities afterwards.
//
//   const TTableSnapshot before(table);
//   ... the user edits the table ...
//   if (TTableSnapshot(table) != before) { undo: before.Restore(table); }

#include "GridTable.h"

#include <memory>
#include <string>
#include <variant>
#include <vector>

class TTableSnapshot {
public:
    explicit TTableSnapshot(const TGridTable& table);

    // Gives the table this content: its rows, every cell, the rows' own
    // tables; cells that already hold their value are left alone, so the
    // nested tables of unchanged rows (and their open windows) stay.
    void Restore(TGridTable& table) const;

    bool operator==(const TTableSnapshot& other) const;

private:
    using TNested = std::shared_ptr<const TTableSnapshot>;
    // One cell: an item number or integer, a float, a text, or a nested
    // table (null for a row without one).
    using TCell = std::variant<int32_t, long double, std::string, TNested>;

    UnitSystem FUnits;
    int FRows;
    std::vector<std::vector<TCell>> FColumns;  // by column, then row
};
