#pragma once

// The spreadsheet that the plot export fills: a workbook of worksheets and
// chart sheets, addressed the way a spreadsheet program addresses them:
// sheets, rows and columns counted from 1, cells and ranges in A1 form
// ("B2", "B2:F2"), chart data as formula texts ("=Page_1!$A$6:$A55").
// XlsxWorkbook.h writes such a workbook as an .xlsx file; the tests record
// what the export asks of it.

#include <cstdint>
#include <stdexcept>
#include <string>

// A request the workbook cannot carry out (a sheet name it cannot hold, a
// cell outside the sheet, a series the chart does not have).
class ESpreadsheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSheet {
public:
    virtual ~TSheet() = default;

    virtual std::string Name() const = 0;
    virtual void SetName(const std::string& name) = 0;
    // Makes this the sheet shown when the workbook opens.
    virtual void Activate() = 0;
    // Moves this sheet to the place right after `sheet`.
    virtual void MoveAfter(TSheet& sheet) = 0;
};

class TWorksheet : public TSheet {
public:
    // A text that reads whole as a decimal number is kept as that number, as
    // a spreadsheet program keeps typed input.
    virtual void SetCell(int row, int column, const std::string& text) = 0;
    virtual void SetBold(const std::string& range) = 0;
    virtual void SetVerticalCentre(const std::string& range) = 0;
    // Fits the width of every column of the range (the entire columns) to the
    // longest text they hold now.
    virtual void FitColumns(const std::string& range) = 0;
    // A link on the cell `anchor` to a place in the workbook, `subAddress`
    // such as "Legend!A1". The cell shows `textToDisplay`, or its own text
    // when that is empty.
    virtual void AddLink(const std::string& anchor, const std::string& subAddress,
                         const std::string& textToDisplay = {}) = 0;
};

class TChartSeries {
public:
    virtual ~TChartSeries() = default;

    virtual void SetName(const std::string& name) = 0;
    // Formula texts of the range that holds the series' X and Y values.
    virtual void SetXValues(const std::string& formula) = 0;
    virtual void SetValues(const std::string& formula) = 0;
};

class TChartAxis {
public:
    virtual ~TChartAxis() = default;

    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetMajorGridlines(bool shown) = 0;
    // Values grow from the far end (downward on a vertical axis).
    virtual void SetReversePlotOrder(bool reversed) = 0;
    // The value at the axis's far end, instead of the spreadsheet's choice.
    virtual void SetMaximum(double value) = 0;
};

enum class TChartType { XYScatterLinesMarkers = 74 };
enum class TAxisType { X = 1, Y = 2 };

class TChartSheet : public TSheet {
public:
    virtual void SetChartType(TChartType type) = 0;
    // Series from a range of `source` ("A6:D55"), in columns: the first column
    // holds the X values, every further column the values of one series.
    virtual void SetSourceData(const TWorksheet& source, const std::string& range) = 0;
    virtual int SeriesCount() const = 0;
    // Series `number`, counted from 1.
    virtual TChartSeries& Series(int number) = 0;
    virtual void SetHasTitle(bool shown) = 0;
    // The title's text, shown while HasTitle is set.
    virtual void SetTitle(const std::string& text) = 0;
    virtual TChartAxis& Axis(TAxisType type) = 0;
    // Colour as 0xRRGGBB.
    virtual void SetLegendBorderColor(uint32_t rgb) = 0;
    // An entry of the spreadsheet's colour palette (1 black, 2 white).
    virtual void SetLegendInteriorColorIndex(int index) = 0;
};

// A new workbook holds one empty worksheet, which is active.
class TWorkbook {
public:
    virtual ~TWorkbook() = default;

    virtual int SheetCount() const = 0;
    // Sheet `index`, counted from 1.
    virtual TSheet& Sheet(int index) = 0;
    // Sheet `index` when it is a worksheet.
    virtual TWorksheet& Worksheet(int index) = 0;
    // A new sheet right after `after`; it becomes the active sheet.
    virtual TWorksheet& AddWorksheet(TSheet& after) = 0;
    virtual TChartSheet& AddChartSheet(TSheet& after) = 0;
};

// The size of a worksheet.
inline constexpr int MaxRows = 1048576;
inline constexpr int MaxColumns = 16384;

// Letters of column `n`: A to Z, AA (27) to ZZ (702), then three letters up
// to the last column, XFD.
std::string GetExcelCol(int n);

// A block of cells, both corners included.
struct TCellRange {
    int FirstRow = 1;
    int FirstColumn = 1;
    int LastRow = 1;
    int LastColumn = 1;
};

// A cell ("B2") or a range ("B2:F2", either corner first, "$" allowed) within
// a worksheet; throws ESpreadsheetError for anything else.
TCellRange ParseRange(const std::string& text);

// The sheet name as a formula or a link writes it: quoted ('Sheet 1') when it
// holds anything but letters, digits, "_" and ".", starts with a digit, or
// reads as a cell reference ("A1", "R1C1").
std::string SheetReference(const std::string& name);
