#include "XlsxWorkbook.h"

#include <algorithm>
#include <cctype>

// ---- Sheets ----

template <class Kind>
void TXlsxSheet<Kind>::SetName(const std::string& name)
{
    FBook.CheckName(*this, name);
    FName = name;
}

template <class Kind>
void TXlsxSheet<Kind>::Activate()
{
    FBook.FActive = this;
}

template <class Kind>
void TXlsxSheet<Kind>::MoveAfter(TSheet& sheet)
{
    FBook.Move(*this, sheet);
}

template class TXlsxSheet<TWorksheet>;
template class TXlsxSheet<TChartSheet>;

namespace {

constexpr std::size_t MaxSheetName = 31;
constexpr std::size_t MaxCellText = 32767;

// Characters of a UTF-8 text.
std::size_t CharacterCount(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Folded(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

}  // namespace

// ---- Worksheet ----

TXlsxCell& TXlsxWorksheet::Cell(int row, int column)
{
    if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        throw ESpreadsheetError("Cell (" + std::to_string(row) + ", " + std::to_string(column) +
                                ") lies outside a worksheet.");
    return FCells[{row, column}];
}

template <class Change>
void TXlsxWorksheet::EachCell(const std::string& range, Change change)
{
    const TCellRange cells = ParseRange(range);
    for (int row = cells.FirstRow; row <= cells.LastRow; ++row)
        for (int column = cells.FirstColumn; column <= cells.LastColumn; ++column)
            change(Cell(row, column));
}

void TXlsxWorksheet::SetCell(int row, int column, const std::string& text)
{
    if (text.size() > MaxCellText)
        throw ESpreadsheetError("A cell holds at most 32767 characters.");
    Cell(row, column).Text = text;
}

void TXlsxWorksheet::SetBold(const std::string& range)
{
    EachCell(range, [](TXlsxCell& cell) { cell.Bold = true; });
}

void TXlsxWorksheet::SetVerticalCentre(const std::string& range)
{
    EachCell(range, [](TXlsxCell& cell) { cell.Centre = true; });
}

void TXlsxWorksheet::FitColumns(const std::string& range)
{
    // The file format has no fitting of its own: each column gets the width
    // of its longest text, in characters, with a little room.
    const TCellRange cells = ParseRange(range);
    for (int column = cells.FirstColumn; column <= cells.LastColumn; ++column) {
        std::size_t longest = 0;
        for (const auto& [at, cell] : FCells)
            if (at.second == column)
                longest = std::max(
                    longest, CharacterCount(cell.Link.empty() || cell.LinkText.empty() ? cell.Text : cell.LinkText));
        if (longest > 0)
            FWidths[column] = std::min(static_cast<double>(longest) + 1, 255.0);
    }
}

void TXlsxWorksheet::AddLink(const std::string& anchor, const std::string& subAddress, const std::string& textToDisplay)
{
    const TCellRange at = ParseRange(anchor);
    TXlsxCell& cell = Cell(at.FirstRow, at.FirstColumn);
    cell.Link = subAddress;
    cell.LinkText = textToDisplay;
}

// ---- Chart sheet ----

void TXlsxChartSheet::SetSourceData(const TWorksheet& source, const std::string& range)
{
    const TCellRange cells = ParseRange(range);
    const std::string sheet = "=" + SheetReference(source.Name()) + "!";
    auto column = [&](int number) {
        const std::string letters = GetExcelCol(number);
        return sheet + "$" + letters + "$" + std::to_string(cells.FirstRow) + ":$" + letters + "$" +
               std::to_string(cells.LastRow);
    };
    FSeries.clear();
    for (int number = cells.FirstColumn + 1; number <= cells.LastColumn; ++number) {
        auto series = std::make_unique<TXlsxSeries>();
        series->XValues = column(cells.FirstColumn);
        series->Values = column(number);
        FSeries.push_back(std::move(series));
    }
}

TChartSeries& TXlsxChartSheet::Series(int number)
{
    if (number < 1 || number > SeriesCount())
        throw ESpreadsheetError("The chart has no series " + std::to_string(number) + ".");
    return *FSeries[static_cast<std::size_t>(number - 1)];
}

// ---- Workbook ----

TXlsxWorkbook::TXlsxWorkbook() { Add<TXlsxWorksheet>(nullptr, "Sheet"); }

TSheet& TXlsxWorkbook::Sheet(int index)
{
    if (index < 1 || index > SheetCount())
        throw ESpreadsheetError("The workbook has no sheet " + std::to_string(index) + ".");
    return *FSheets[static_cast<std::size_t>(index - 1)];
}

TWorksheet& TXlsxWorkbook::Worksheet(int index)
{
    if (auto* sheet = dynamic_cast<TWorksheet*>(&Sheet(index)))
        return *sheet;
    throw ESpreadsheetError("Sheet " + std::to_string(index) + " is not a worksheet.");
}

TWorksheet& TXlsxWorkbook::AddWorksheet(TSheet& after) { return Add<TXlsxWorksheet>(&after, "Sheet"); }

TChartSheet& TXlsxWorkbook::AddChartSheet(TSheet& after) { return Add<TXlsxChartSheet>(&after, "Chart"); }

template <class Kind>
Kind& TXlsxWorkbook::Add(const TSheet* after, const char* stem)
{
    // Named as a spreadsheet program names new sheets: the stem and the
    // first number that no sheet has.
    std::string name;
    for (int number = 1; name.empty(); ++number) {
        name = stem + std::to_string(number);
        for (const auto& sheet : FSheets)
            if (Folded(sheet->Name()) == Folded(name))
                name.clear();
    }
    const std::size_t at = after == nullptr ? 0 : IndexOf(*after) + 1;
    auto sheet = std::make_unique<Kind>(*this, name);
    Kind& added = *sheet;
    FSheets.insert(FSheets.begin() + static_cast<std::ptrdiff_t>(at), std::move(sheet));
    FActive = &added;
    return added;
}

std::size_t TXlsxWorkbook::IndexOf(const TSheet& sheet) const
{
    for (std::size_t i = 0; i < FSheets.size(); ++i)
        if (FSheets[i].get() == &sheet)
            return i;
    throw ESpreadsheetError("The sheet is not in this workbook.");
}

void TXlsxWorkbook::Move(TSheet& sheet, const TSheet& after)
{
    if (&sheet == &after)
        return;
    const std::size_t from = IndexOf(sheet);
    IndexOf(after);
    std::unique_ptr<TSheet> moved = std::move(FSheets[from]);
    FSheets.erase(FSheets.begin() + static_cast<std::ptrdiff_t>(from));
    FSheets.insert(FSheets.begin() + static_cast<std::ptrdiff_t>(IndexOf(after) + 1), std::move(moved));
}

void TXlsxWorkbook::CheckName(const TSheet& sheet, const std::string& name) const
{
    auto refuse = [&name](const char* why) {
        throw ESpreadsheetError("A sheet cannot be named \"" + name + "\": " + why);
    };
    if (name.empty())
        refuse("the name is empty.");
    if (CharacterCount(name) > MaxSheetName)
        refuse("a sheet name has at most 31 characters.");
    if (name.find_first_of("[]:*?/\\") != std::string::npos)
        refuse("a sheet name holds none of [ ] : * ? / \\.");
    if (name.front() == '\'' || name.back() == '\'')
        refuse("a sheet name neither starts nor ends with an apostrophe.");
    for (const auto& other : FSheets)
        if (other.get() != &sheet && Folded(other->Name()) == Folded(name))
            refuse("another sheet has that name.");
}
