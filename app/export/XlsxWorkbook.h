#pragma once

// A workbook of the spreadsheet seam written as an .xlsx file with
// libxlsxwriter, so that exporting needs no spreadsheet program.
//
// libxlsxwriter writes a sheet once, in the order and under the name it was
// created with, and charts only when the file is closed. The workbook is
// therefore held here as it is built (sheets renamed and moved, cells
// rewritten, column widths fitted) and written whole by SaveAs.

#include "Spreadsheet.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TXlsxWorkbook;

// Name, activation and place of a sheet, kept by its workbook.
template <class Kind>
class TXlsxSheet : public Kind {
public:
    TXlsxSheet(TXlsxWorkbook& book, std::string name) : FBook(book), FName(std::move(name)) {}

    std::string Name() const override { return FName; }
    void SetName(const std::string& name) override;
    void Activate() override;
    void MoveAfter(TSheet& sheet) override;

private:
    TXlsxWorkbook& FBook;
    std::string FName;
};

struct TXlsxCell {
    std::string Text;
    bool Bold = false;
    bool Centre = false;
    // Place in the workbook that the cell links to, and the text it shows.
    std::string Link;
    std::string LinkText;
};

class TXlsxWorksheet : public TXlsxSheet<TWorksheet> {
public:
    using TXlsxSheet::TXlsxSheet;

    void SetCell(int row, int column, const std::string& text) override;
    void SetBold(const std::string& range) override;
    void SetVerticalCentre(const std::string& range) override;
    void FitColumns(const std::string& range) override;
    void AddLink(const std::string& anchor, const std::string& subAddress, const std::string& textToDisplay) override;

    // Cells by (row, column), counted from 1, in row order.
    const std::map<std::pair<int, int>, TXlsxCell>& Cells() const { return FCells; }
    // Widths in characters of the fitted columns.
    const std::map<int, double>& ColumnWidths() const { return FWidths; }

private:
    TXlsxCell& Cell(int row, int column);
    template <class Change>
    void EachCell(const std::string& range, Change change);

    std::map<std::pair<int, int>, TXlsxCell> FCells;
    std::map<int, double> FWidths;
};

struct TXlsxSeries : TChartSeries {
    std::string Name, XValues, Values;

    void SetName(const std::string& name) override { Name = name; }
    void SetXValues(const std::string& formula) override { XValues = formula; }
    void SetValues(const std::string& formula) override { Values = formula; }
};

struct TXlsxAxis : TChartAxis {
    std::string Title;
    bool Gridlines = false;
    bool Reversed = false;

    void SetTitle(const std::string& text) override { Title = text; }
    void SetMajorGridlines(bool shown) override { Gridlines = shown; }
    void SetReversePlotOrder(bool reversed) override { Reversed = reversed; }
    void SetMaximum(double value) override { Maximum = value; }
    std::optional<double> Maximum;
};

class TXlsxChartSheet : public TXlsxSheet<TChartSheet> {
public:
    using TXlsxSheet::TXlsxSheet;

    void SetChartType(TChartType type) override { Type = type; }
    void SetSourceData(const TWorksheet& source, const std::string& range) override;
    int SeriesCount() const override { return static_cast<int>(FSeries.size()); }
    TChartSeries& Series(int number) override;
    void SetHasTitle(bool shown) override { HasTitle = shown; }
    void SetTitle(const std::string& text) override { Title = text; }
    TChartAxis& Axis(TAxisType type) override { return type == TAxisType::X ? XAxis : YAxis; }
    void SetLegendBorderColor(uint32_t rgb) override { LegendBorder = rgb; }
    void SetLegendInteriorColorIndex(int index) override { LegendInterior = index; }

    const std::vector<std::unique_ptr<TXlsxSeries>>& AllSeries() const { return FSeries; }

    TChartType Type = TChartType::XYScatterLinesMarkers;
    bool HasTitle = true;
    std::string Title;
    TXlsxAxis XAxis, YAxis;
    // Kept for the seam; libxlsxwriter 1.1.4 cannot style a chart legend, so
    // the file has the spreadsheet's default legend.
    uint32_t LegendBorder = 0;
    int LegendInterior = 0;

private:
    std::vector<std::unique_ptr<TXlsxSeries>> FSeries;
};

class TXlsxWorkbook : public TWorkbook {
public:
    // A new workbook: one empty worksheet "Sheet1", active.
    TXlsxWorkbook();
    TXlsxWorkbook(const TXlsxWorkbook&) = delete;
    TXlsxWorkbook& operator=(const TXlsxWorkbook&) = delete;

    int SheetCount() const override { return static_cast<int>(FSheets.size()); }
    TSheet& Sheet(int index) override;
    TWorksheet& Worksheet(int index) override;
    TWorksheet& AddWorksheet(TSheet& after) override;
    TChartSheet& AddChartSheet(TSheet& after) override;

    const TSheet& ActiveSheet() const { return *FActive; }

    // Writes the workbook as an .xlsx file. The file appears only once it is
    // complete (a temporary file beside it is renamed over it); on failure
    // nothing is left behind and EInOutError tells why.
    void SaveAs(const std::string& fileName) const;

private:
    template <class Kind>
    friend class TXlsxSheet;

    // Throws when `name` cannot name `sheet`: empty, longer than 31
    // characters, with one of []:*?/\, quoted at either end, or already the
    // name of another sheet (in any letter case).
    void CheckName(const TSheet& sheet, const std::string& name) const;
    std::size_t IndexOf(const TSheet& sheet) const;
    void Move(TSheet& sheet, const TSheet& after);
    // A new sheet after `after` (first when null), made active.
    template <class Kind>
    Kind& Add(const TSheet* after, const char* stem);
    // Writes the file at `path`; returns why it failed, or an empty text.
    std::string Write(const std::string& path) const;

    std::vector<std::unique_ptr<TSheet>> FSheets;
    const TSheet* FActive = nullptr;
    int FAdded = 0;
};
