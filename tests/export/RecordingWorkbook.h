#pragma once

// A workbook of the spreadsheet seam that writes nothing: it records every
// call in one log ("Legend.SetCell(3, 6, Complete)") and keeps what a test
// wants to look at: the sheets in order, the last text of each cell, the
// links, and each chart's source, series and axes. A call whose log line
// contains `FailOn` throws ESpreadsheetError instead, as a spreadsheet that
// fails part-way would.

#include "Spreadsheet.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TRecordingWorkbook;

class TRecordedSheet {
public:
    TRecordedSheet(TRecordingWorkbook& book, std::string name) : FBook(book), FName(std::move(name)) {}
    virtual ~TRecordedSheet() = default;

protected:
    // Logs `call` under the sheet's name.
    void Record(const std::string& call) const;
    TRecordingWorkbook& FBook;
    std::string FName;
};

struct TRecordedLink {
    std::string Anchor, SubAddress, TextToDisplay;
};

class TRecordedWorksheet : public TWorksheet, public TRecordedSheet {
public:
    using TRecordedSheet::TRecordedSheet;

    std::string Name() const override { return FName; }
    void SetName(const std::string& name) override;
    void Activate() override;
    void MoveAfter(TSheet& sheet) override;
    void SetCell(int row, int column, const std::string& text) override;
    void SetBold(const std::string& range) override;
    void SetVerticalCentre(const std::string& range) override;
    void FitColumns(const std::string& range) override;
    void AddLink(const std::string& anchor, const std::string& subAddress, const std::string& textToDisplay) override;

    // The last text written to a cell ("F3"); empty when none was.
    std::string Cell(const std::string& a1) const;
    std::map<std::string, std::string> Cells;  // by A1 name
    std::vector<TRecordedLink> Links;
};

struct TRecordedSeries : TChartSeries {
    std::string Name, XValues, Values;
    void SetName(const std::string& name) override { Name = name; }
    void SetXValues(const std::string& formula) override { XValues = formula; }
    void SetValues(const std::string& formula) override { Values = formula; }
};

struct TRecordedAxis : TChartAxis {
    std::string Title;
    bool Gridlines = false;
    bool Reversed = false;
    void SetTitle(const std::string& text) override { Title = text; }
    void SetMajorGridlines(bool shown) override { Gridlines = shown; }
    void SetReversePlotOrder(bool reversed) override { Reversed = reversed; }
    void SetMaximum(double value) override { Maximum = value; }
    double Maximum = -1;
};

class TRecordedChart : public TChartSheet, public TRecordedSheet {
public:
    using TRecordedSheet::TRecordedSheet;

    std::string Name() const override { return FName; }
    void SetName(const std::string& name) override;
    void Activate() override;
    void MoveAfter(TSheet& sheet) override;
    void SetChartType(TChartType type) override;
    void SetSourceData(const TWorksheet& source, const std::string& range) override;
    int SeriesCount() const override { return static_cast<int>(AllSeries.size()); }
    TChartSeries& Series(int number) override;
    void SetHasTitle(bool shown) override;
    void SetTitle(const std::string& text) override { Title = text; }
    TChartAxis& Axis(TAxisType type) override;
    void SetLegendBorderColor(uint32_t rgb) override;
    void SetLegendInteriorColorIndex(int index) override;

    int Type = 0;
    std::string SourceSheet, SourceRange;
    std::vector<std::unique_ptr<TRecordedSeries>> AllSeries;
    bool HasTitle = true;
    std::string Title;
    TRecordedAxis XAxis, YAxis;
    int64_t LegendBorder = -1;
    int LegendInterior = -1;
};

class TRecordingWorkbook : public TWorkbook {
public:
    TRecordingWorkbook();  // one worksheet "Sheet1"

    int SheetCount() const override { return static_cast<int>(FSheets.size()); }
    TSheet& Sheet(int index) override;
    TWorksheet& Worksheet(int index) override;
    TWorksheet& AddWorksheet(TSheet& after) override;
    TChartSheet& AddChartSheet(TSheet& after) override;

    std::vector<std::string> SheetNames() const;
    // The sheet of that name; fails the test's lookup with an exception when missing.
    TRecordedWorksheet& WorksheetNamed(const std::string& name);
    TRecordedChart& ChartNamed(const std::string& name);
    std::string ActiveName() const { return FActive->Name(); }
    // Log lines that contain `part`, in order.
    std::vector<std::string> Calls(const std::string& part) const;

    std::vector<std::string> Log;
    std::string FailOn;

private:
    friend class TRecordedSheet;
    friend class TRecordedWorksheet;
    friend class TRecordedChart;
    // Logs the call, or throws when it is to fail.
    void Note(const std::string& line);
    std::size_t IndexOf(const TSheet& sheet) const;
    void Insert(std::unique_ptr<TSheet> sheet, const TSheet& after);
    void Move(TSheet& sheet, const TSheet& after);

    std::vector<std::unique_ptr<TSheet>> FSheets;
    const TSheet* FActive = nullptr;
};
