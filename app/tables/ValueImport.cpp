#include "ValueImport.h"

#include "DecimalText.h"
#include "Evaluator.h"
#include "NumberText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<long double> SplitNumberLine(std::string_view line, std::string_view decimalPoint)
{
    // A decimal comma belongs to the number, so a comma then separates nothing.
    const bool commaSeparates = decimalPoint != ",";
    const auto isSeparator = [commaSeparates](char c) {
        return IsBlank(c) || c == '\r' || (commaSeparates && c == ',');
    };
    std::vector<long double> numbers;
    std::string_view rest = line;
    while (static_cast<int>(numbers.size()) < MaxNumbersPerLine) {
        std::size_t skip = 0;
        while (skip < rest.size() && IsBlank(rest[skip]))
            ++skip;
        rest.remove_prefix(skip);
        std::size_t end = 0;
        while (end < rest.size() && !isSeparator(rest[end]))
            ++end;
        if (end == rest.size()) {
            // The rest after the last separator.
            if (!rest.empty()) {
                const TDecimal last = ParseDecimal(rest, decimalPoint);
                if (last.Status == TDecimal::Ok)
                    numbers.push_back(last.Value);
            }
            break;
        }
        const TDecimal number = ParseDecimal(rest.substr(0, end), decimalPoint);
        if (number.Status != TDecimal::Ok)
            break;
        numbers.push_back(number.Value);
        rest.remove_prefix(end + 1);
    }
    return numbers;
}

std::vector<std::vector<std::string>> SplitTabBlock(std::string_view text)
{
    std::vector<std::string> lines = SplitTextLines(text);
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    std::vector<std::vector<std::string>> cells;
    for (const std::string& line : lines) {
        std::vector<std::string>& row = cells.emplace_back();
        std::size_t start = 0;
        for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
            row.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        row.push_back(line.substr(start));
    }
    return cells;
}

std::string JoinTabBlock(const std::vector<std::vector<std::string>>& cells)
{
    std::string text;
    for (const std::vector<std::string>& row : cells) {
        for (std::size_t c = 0; c < row.size(); ++c)
            text += (c ? "\t" : "") + row[c];
        text += '\n';
    }
    return text;
}

namespace {

constexpr const char* NothingTaken = "Nothing was entered.";

// "line 7: O.05 34.35" for the 0-based line.
std::string LineText(std::size_t line, const std::string& text)
{
    return "line " + std::to_string(line + 1) + ": " + text;
}

// Enters a cell; an entry error names the line it came from.
void EnterCell(TValueImportTarget& target, int column, int row, const std::string& text, std::size_t line,
               const std::string& lineText)
{
    try {
        target.SetCell(column, row, text);
    } catch (const EAssignError& error) {
        throw EAssignError(std::string(error.what()) + "\n" + LineText(line, lineText) + "\n" + NothingTaken);
    }
}

[[noreturn]] void RefuseRows(std::size_t rows, int maxRows)
{
    throw EAssignError("The values fill " + std::to_string(rows) + " rows; the table takes at most " +
                       std::to_string(maxRows) + ".\n" + NothingTaken);
}

}  // namespace

int ImportNumberLines(const std::vector<std::string>& lines, std::string_view decimalPoint, TValueImportTarget& target)
{
    constexpr int Digits = 15;
    constexpr std::size_t NamedLines = 3;
    const std::size_t columns = target.DataColumns();
    // Every line is read before anything is entered.
    std::vector<std::size_t> rows;  // lines that hold values
    std::vector<std::size_t> bad;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find_first_not_of(" \t\r") == std::string::npos)
            continue;
        const std::size_t numbers = SplitNumberLine(lines[i], decimalPoint).size();
        if (numbers == columns)
            rows.push_back(i);
        else if (!rows.empty() || numbers > 0)  // no heading
            bad.push_back(i);
    }
    if (!bad.empty()) {
        std::string message = "These lines do not hold " + std::to_string(columns) +
                              (columns == 1 ? " number:" : " numbers:");
        for (std::size_t k = 0; k < bad.size() && k < NamedLines; ++k)
            message += "\n" + LineText(bad[k], lines[bad[k]]);
        if (bad.size() > NamedLines)
            message += "\n(and " + std::to_string(bad.size() - NamedLines) + " more)";
        throw EAssignError(message + "\n" + NothingTaken);
    }
    if (target.MaxRows() > 0 && rows.size() > static_cast<std::size_t>(target.MaxRows()))
        RefuseRows(rows.size(), target.MaxRows());
    const int start = target.RowCount();
    int filled = 0;
    for (const std::size_t line : rows) {
        const std::vector<long double> numbers = SplitNumberLine(lines[line], decimalPoint);
        if (filled >= start)
            target.AppendRow();
        for (std::size_t c = 0; c < columns; ++c)
            EnterCell(target, static_cast<int>(c), filled, GeneralNumberText(numbers[c], Digits, decimalPoint), line,
                      lines[line]);
        ++filled;
    }
    if (filled > 0)
        while (target.RowCount() > filled)
            target.DeleteRow(filled);
    return filled;
}

int PasteCells(const std::vector<std::vector<std::string>>& cells, int column, int row, TValueImportTarget& target)
{
    if (target.MaxRows() > 0 && row + cells.size() > static_cast<std::size_t>(target.MaxRows()))
        RefuseRows(row + cells.size(), target.MaxRows());
    int entered = 0;
    for (const std::vector<std::string>& line : cells) {
        const int at = row + entered;
        if (at >= target.RowCount())
            target.AppendRow();
        std::string text = JoinTabBlock({line});
        text.pop_back();  // its line break
        for (std::size_t c = 0; c < line.size() && column + static_cast<int>(c) < target.DataColumns(); ++c)
            EnterCell(target, column + static_cast<int>(c), at, line[c], entered, text);
        ++entered;
    }
    return entered;
}
