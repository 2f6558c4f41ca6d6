#include "ValueImport.h"

#include "DecimalText.h"
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

int ImportNumberLines(const std::vector<std::string>& lines, std::string_view decimalPoint, TValueImportTarget& target)
{
    constexpr int Digits = 15;
    const int columns = target.DataColumns();
    const int start = target.RowCount();
    int filled = 0;
    for (const std::string& line : lines) {
        if (target.MaxRows() > 0 && filled >= target.MaxRows())
            break;
        const std::vector<long double> numbers = SplitNumberLine(line, decimalPoint);
        if (static_cast<int>(numbers.size()) != columns)
            continue;
        if (filled >= start)
            target.AppendRow();
        for (int c = 0; c < columns; ++c)
            target.SetCell(c, filled, GeneralNumberText(numbers[c], Digits, decimalPoint));
        ++filled;
    }
    if (filled > 0)
        while (target.RowCount() > filled)
            target.DeleteRow(filled);
    return filled;
}

int PasteCells(const std::vector<std::vector<std::string>>& cells, int column, int row, TValueImportTarget& target)
{
    int entered = 0;
    for (const std::vector<std::string>& line : cells) {
        const int at = row + entered;
        if (at >= target.RowCount()) {
            if (target.MaxRows() > 0 && target.RowCount() >= target.MaxRows())
                break;
            target.AppendRow();
        }
        for (std::size_t c = 0; c < line.size() && column + static_cast<int>(c) < target.DataColumns(); ++c)
            target.SetCell(column + static_cast<int>(c), at, line[c]);
        ++entered;
    }
    return entered;
}
