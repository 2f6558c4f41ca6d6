#include "RecordingWorkbook.h"

void TRecordedSheet::Record(const std::string& call) const { FBook.Note(FName + "." + call); }

// ---- Worksheet ----

void TRecordedWorksheet::SetName(const std::string& name)
{
    Record("SetName(" + name + ")");
    FName = name;
}

void TRecordedWorksheet::Activate()
{
    Record("Activate()");
    FBook.FActive = this;
}

void TRecordedWorksheet::MoveAfter(TSheet& sheet)
{
    Record("MoveAfter(" + sheet.Name() + ")");
    FBook.Move(*this, sheet);
}

void TRecordedWorksheet::SetCell(int row, int column, const std::string& text)
{
    const std::string a1 = GetExcelCol(column) + std::to_string(row);
    Record("SetCell(" + a1 + ", " + text + ")");
    Cells[a1] = text;
}

void TRecordedWorksheet::SetBold(const std::string& range) { Record("SetBold(" + range + ")"); }

void TRecordedWorksheet::SetVerticalCentre(const std::string& range) { Record("SetVerticalCentre(" + range + ")"); }

void TRecordedWorksheet::FitColumns(const std::string& range) { Record("FitColumns(" + range + ")"); }

void TRecordedWorksheet::AddLink(const std::string& anchor, const std::string& subAddress,
                                 const std::string& textToDisplay)
{
    Record("AddLink(" + anchor + ", " + subAddress + ", " + textToDisplay + ")");
    Links.push_back({anchor, subAddress, textToDisplay});
}

std::string TRecordedWorksheet::Cell(const std::string& a1) const
{
    const auto found = Cells.find(a1);
    return found == Cells.end() ? std::string() : found->second;
}

// ---- Chart ----

void TRecordedChart::SetName(const std::string& name)
{
    Record("SetName(" + name + ")");
    FName = name;
}

void TRecordedChart::Activate()
{
    Record("Activate()");
    FBook.FActive = this;
}

void TRecordedChart::MoveAfter(TSheet& sheet)
{
    Record("MoveAfter(" + sheet.Name() + ")");
    FBook.Move(*this, sheet);
}

void TRecordedChart::SetChartType(TChartType type)
{
    Type = static_cast<int>(type);
    Record("SetChartType(" + std::to_string(Type) + ")");
}

void TRecordedChart::SetSourceData(const TWorksheet& source, const std::string& range)
{
    Record("SetSourceData(" + source.Name() + ", " + range + ")");
    SourceSheet = source.Name();
    SourceRange = range;
    // As a spreadsheet program does it: the first column holds X, each further
    // column makes one series.
    const TCellRange cells = ParseRange(range);
    AllSeries.clear();
    for (int column = cells.FirstColumn + 1; column <= cells.LastColumn; ++column)
        AllSeries.push_back(std::make_unique<TRecordedSeries>());
}

TChartSeries& TRecordedChart::Series(int number)
{
    Record("Series(" + std::to_string(number) + ")");
    if (number < 1 || number > SeriesCount())
        throw ESpreadsheetError("no series " + std::to_string(number));
    return *AllSeries[static_cast<std::size_t>(number - 1)];
}

void TRecordedChart::SetHasTitle(bool shown)
{
    Record(std::string("SetHasTitle(") + (shown ? "true" : "false") + ")");
    HasTitle = shown;
}

TChartAxis& TRecordedChart::Axis(TAxisType type)
{
    Record(std::string("Axis(") + (type == TAxisType::X ? "X" : "Y") + ")");
    return type == TAxisType::X ? XAxis : YAxis;
}

void TRecordedChart::SetLegendBorderColor(uint32_t rgb)
{
    Record("SetLegendBorderColor(" + std::to_string(rgb) + ")");
    LegendBorder = rgb;
}

void TRecordedChart::SetLegendInteriorColorIndex(int index)
{
    Record("SetLegendInteriorColorIndex(" + std::to_string(index) + ")");
    LegendInterior = index;
}

// ---- Workbook ----

TRecordingWorkbook::TRecordingWorkbook()
{
    FSheets.push_back(std::make_unique<TRecordedWorksheet>(*this, "Sheet1"));
    FActive = FSheets.front().get();
}

TSheet& TRecordingWorkbook::Sheet(int index)
{
    Note("Sheet(" + std::to_string(index) + ")");
    return *FSheets.at(static_cast<std::size_t>(index - 1));
}

TWorksheet& TRecordingWorkbook::Worksheet(int index)
{
    Note("Worksheet(" + std::to_string(index) + ")");
    return dynamic_cast<TWorksheet&>(*FSheets.at(static_cast<std::size_t>(index - 1)));
}

TWorksheet& TRecordingWorkbook::AddWorksheet(TSheet& after)
{
    Note("AddWorksheet(" + after.Name() + ")");
    auto sheet = std::make_unique<TRecordedWorksheet>(*this, "Sheet" + std::to_string(FSheets.size() + 1));
    TRecordedWorksheet& added = *sheet;
    Insert(std::move(sheet), after);
    return added;
}

TChartSheet& TRecordingWorkbook::AddChartSheet(TSheet& after)
{
    Note("AddChartSheet(" + after.Name() + ")");
    auto sheet = std::make_unique<TRecordedChart>(*this, "Chart" + std::to_string(FSheets.size() + 1));
    TRecordedChart& added = *sheet;
    Insert(std::move(sheet), after);
    return added;
}

std::vector<std::string> TRecordingWorkbook::SheetNames() const
{
    std::vector<std::string> names;
    for (const auto& sheet : FSheets)
        names.push_back(sheet->Name());
    return names;
}

TRecordedWorksheet& TRecordingWorkbook::WorksheetNamed(const std::string& name)
{
    for (const auto& sheet : FSheets)
        if (sheet->Name() == name)
            return dynamic_cast<TRecordedWorksheet&>(*sheet);
    throw std::out_of_range("no worksheet " + name);
}

TRecordedChart& TRecordingWorkbook::ChartNamed(const std::string& name)
{
    for (const auto& sheet : FSheets)
        if (sheet->Name() == name)
            return dynamic_cast<TRecordedChart&>(*sheet);
    throw std::out_of_range("no chart sheet " + name);
}

std::vector<std::string> TRecordingWorkbook::Calls(const std::string& part) const
{
    std::vector<std::string> found;
    for (const std::string& line : Log)
        if (line.find(part) != std::string::npos)
            found.push_back(line);
    return found;
}

std::size_t TRecordingWorkbook::IndexOf(const TSheet& sheet) const
{
    for (std::size_t i = 0; i < FSheets.size(); ++i)
        if (FSheets[i].get() == &sheet)
            return i;
    throw std::out_of_range("sheet not in the workbook");
}

void TRecordingWorkbook::Insert(std::unique_ptr<TSheet> sheet, const TSheet& after)
{
    FActive = sheet.get();
    FSheets.insert(FSheets.begin() + static_cast<std::ptrdiff_t>(IndexOf(after) + 1), std::move(sheet));
}

void TRecordingWorkbook::Move(TSheet& sheet, const TSheet& after)
{
    if (&sheet == &after)
        return;
    const std::size_t from = IndexOf(sheet);
    std::unique_ptr<TSheet> moved = std::move(FSheets[from]);
    FSheets.erase(FSheets.begin() + static_cast<std::ptrdiff_t>(from));
    FSheets.insert(FSheets.begin() + static_cast<std::ptrdiff_t>(IndexOf(after) + 1), std::move(moved));
}

void TRecordingWorkbook::Note(const std::string& line)
{
    Log.push_back(line);
    if (!FailOn.empty() && line.find(FailOn) != std::string::npos)
        throw ESpreadsheetError("Recorded failure at " + line);
}
