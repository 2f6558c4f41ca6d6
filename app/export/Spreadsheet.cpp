#include "Spreadsheet.h"

#include <algorithm>
#include <cctype>
#include <tuple>
#include <utility>

std::string GetExcelCol(int n)
{
    if (n < 1 || n > MaxColumns)
        throw ESpreadsheetError("Column " + std::to_string(n) + " lies outside a worksheet.");
    std::string letters;
    for (; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string SheetReference(const std::string& name)
{
    const bool plain = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) &&
                       std::all_of(name.begin(), name.end(), [](char c) {
                           return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
                       });
    // A1 form: up to three letters and a row number; R1C1 form: R, C, or both
    // with or without numbers.
    auto looksLikeCell = [&name] {
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        const std::size_t letters = upper.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        if (letters != std::string::npos && letters >= 1 && letters <= 3 &&
            upper.find_first_not_of("0123456789", letters) == std::string::npos)
            return true;
        std::size_t at = 0;
        auto part = [&](char letter) {
            if (at < upper.size() && upper[at] == letter) {
                ++at;
                while (at < upper.size() && std::isdigit(static_cast<unsigned char>(upper[at])))
                    ++at;
                return true;
            }
            return false;
        };
        const bool row = part('R');
        const bool column = part('C');
        return (row || column) && at == upper.size();
    };
    if (plain && !looksLikeCell())
        return name;
    std::string quoted = "'";
    for (char c : name) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

namespace {

// One corner "$B$2"; `at` moves past it.
std::pair<int, int> ParseCell(const std::string& text, std::size_t& at)
{
    auto skipDollar = [&] {
        if (at < text.size() && text[at] == '$')
            ++at;
    };
    skipDollar();
    long column = 0;
    const std::size_t lettersStart = at;
    while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at])) && column <= MaxColumns)
        column = column * 26 + (std::toupper(static_cast<unsigned char>(text[at++])) - 'A' + 1);
    const bool hasLetters = at > lettersStart;
    skipDollar();
    long row = 0;
    const std::size_t digitsStart = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && row <= MaxRows)
        row = row * 10 + (text[at++] - '0');
    if (!hasLetters || at == digitsStart || column > MaxColumns || row < 1 || row > MaxRows)
        throw ESpreadsheetError("\"" + text + "\" is not a range of a worksheet.");
    return {static_cast<int>(row), static_cast<int>(column)};
}

}  // namespace

TCellRange ParseRange(const std::string& text)
{
    std::size_t at = 0;
    const auto [row1, column1] = ParseCell(text, at);
    auto [row2, column2] = std::pair(row1, column1);
    if (at < text.size() && text[at] == ':') {
        ++at;
        std::tie(row2, column2) = ParseCell(text, at);
    }
    if (at != text.size())
        throw ESpreadsheetError("\"" + text + "\" is not a range of a worksheet.");
    return {std::min(row1, row2), std::min(column1, column2), std::max(row1, row2), std::max(column1, column2)};
}
