#pragma once

// Filling a table from text: number lines of a text file or of the
// clipboard (the chart windows' import), and tab-separated blocks of cells
// pasted into any table window. Plain C++; the window supplies a target that
// adds, fills and deletes rows as its own buttons do.
//
//   ImportTarget target(form);                          // TValueImportTarget
//   ImportNumberLines(SplitTextLines(text), LocaleDecimalPoint(), target);

#include <string>
#include <string_view>
#include <vector>

// Most numbers read from one line.
inline constexpr int MaxNumbersPerLine = 15;

// Lines of a text, split at CR LF, CR or LF; a break at the very end starts
// no further line.
std::vector<std::string> SplitTextLines(std::string_view text);

// The numbers at the start of a line: blanks and tabs before a number are
// skipped; a number ends at a blank, tab, comma or carriage return (not at a
// comma when `decimalPoint` is one); the first text that is no number ends
// the line; what follows the last separator counts as a number too. At most
// MaxNumbersPerLine. "t z" gives none, "1.5, 0.1" two.
std::vector<long double> SplitNumberLine(std::string_view line, std::string_view decimalPoint);

// Cells of a block copied from a spreadsheet: rows at line breaks, cells at
// tabs. Trailing empty lines give no rows.
std::vector<std::vector<std::string>> SplitTabBlock(std::string_view text);

// Cells as tab-separated text, one line (ended by "\n") per row.
std::string JoinTabBlock(const std::vector<std::vector<std::string>>& cells);

// A table as the import sees it: its data columns in the order the window
// shows them, and its rows.
class TValueImportTarget {
public:
    virtual ~TValueImportTarget() = default;
    virtual int DataColumns() const = 0;
    virtual int RowCount() const = 0;
    // 0 for no limit.
    virtual int MaxRows() const = 0;
    // Adds a row (a row group) at the end, as the window's Add does.
    virtual void AppendRow() = 0;
    // Enters `text` into a cell as the user would; EAssignError for a bad entry.
    virtual void SetCell(int column, int row, const std::string& text) = 0;
    // Deletes a row, as the window's Delete does.
    virtual void DeleteRow(int row) = 0;
};

// Fills rows 0, 1, ... from the lines holding exactly DataColumns numbers,
// adding rows as needed, then deletes the rows after the last one filled.
// Blank lines and, before the first line of values, lines that start with
// no number (headings) are skipped. Every line is read first: a line of
// another count of numbers, or more lines than MaxRows, is refused with
// EAssignError naming the first bad lines by number and text, and nothing
// changes. Each number is entered as general text of 15 significant digits
// with `decimalPoint`; an entry error propagates with its line, the rows
// filled before it staying (the window puts the table back as it was).
// Returns the rows filled.
int ImportNumberLines(const std::vector<std::string>& lines, std::string_view decimalPoint, TValueImportTarget& target);

// Enters a block of cells with its top left cell at (column, row), adding
// rows as needed and leaving out cells beyond the last column. A block that
// would pass MaxRows is refused whole (EAssignError). An entry error
// propagates with the block's line; the cells before it stay entered (the
// window puts the table back as it was). Returns the block rows entered.
int PasteCells(const std::vector<std::vector<std::string>>& cells, int column, int row, TValueImportTarget& target);
