#pragma once

// Table component of the data-entry tables: a caption, typed columns (see
// TableColumns.h), a row count with limits, a unit system, a changed flag
// and, through a button column, one nested table per row.
//
// A table may carry chart properties (TChartProperties: its window draws a
// graph and can import values). Such a table converts and names its units
// with the chart unit table, writes its graph after its columns in the
// declaration stream, and keeps a row's values when that row's nested table
// is replaced by one of another template. Nested tables are copies of their
// template and so carry its chart properties.
//
// Button columns find their templates by Identifier in the table directory
// (TTableDirectory) of the outermost table; the project's tables make one.
//
// Declaring a table (once, while it has no rows):
//   TGridTable layers;
//   layers.Chart.emplace();                        // a table with a chart
//   layers.Caption = "Soil Layers";
//   layers.SetIdentifier(0);
//   layers.MaxRows = 30;
//   auto& type = layers.AddColumn<TEnumColumn>({"Soil Type"});
//   type.SetItems({...six soil methods...});
//   auto& bottom = layers.AddColumn<TFloatColumn>({"Bottom of Layer"});
//   bottom.UnitString = "L";
//   auto& data = layers.AddColumn<TTableColumn>({"Layer Data"});
//   data.Templates.Entries = {{1, true}, {2, true}, ...};   // by Identifier
// or from a stored declaration: layers.ReadCol(reader) (see WriteCol).
//
// Filling and reading:
//   layers.SetRowCount(3);
//   layers.GetData(0, row).SetInteger(2);           // soil type of the row
//   layers.GetData(1, row).SetFloat(12.5L);
//   std::string text = layers.GetData(1, row).AsString();   // "12.5"
//   TGridTable* own = layers.GetData(2, row).AsTable();      // layer's data
//
// Listening (any number of listeners; see Notification.h):
//   TSubscription rows = layers.OnRowsChanged.Subscribe([&] { ... });
//   TSubscription cells = layers.OnCellChanged.Subscribe([&](int col, int row) { ... });
// The editor window, a chart beside its grid and a side view each hold
// their own subscriptions; destroying one unsubscribes it.

#include "Notification.h"
#include "TableColumns.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The graph of a table's window, drawn from two (in segment mode four)
// columns, as column indexes.
struct TGraphParameters {
    bool ShowGraph = false;
    bool SegmentMode = false;
    int32_t XColumn = 0;
    int32_t YColumn = 0;
    int32_t X2Column = 0;
    int32_t Y2Column = 0;

    bool operator==(const TGraphParameters&) const = default;
};

// What a table with a chart window has beyond the others.
struct TChartProperties {
    // The window offers to read the values from a text file or the clipboard.
    bool GetDataFromFile = false;
    bool OKCancelButtons = false;
    bool InvertedXAxis = false;
    bool InvertedYAxis = false;
    // Written after the columns in the declaration stream.
    TGraphParameters Graph;

    bool operator==(const TChartProperties&) const = default;
};

// The tables among which button columns find their templates: by Identifier
// (the first in the order added) or, in a legacy declaration, by position.
// Every table in a directory has its own Identifier (see SetIdentifier). A
// table leaves its directory when destroyed, and a destroyed directory lets
// go of its tables.
class TTableDirectory {
public:
    TTableDirectory() = default;
    ~TTableDirectory();
    TTableDirectory(const TTableDirectory&) = delete;
    TTableDirectory& operator=(const TTableDirectory&) = delete;

    // Adds the table (taking it out of another directory) and makes this
    // directory the one of the table.
    void Add(TGridTable& table);
    int Count() const { return static_cast<int>(FTables.size()); }
    // nullptr when out of range.
    TGridTable* At(int index) const;
    TGridTable* Find(int32_t identifier) const;

private:
    friend class TGridTable;

    std::vector<TGridTable*> FTables;
};

class TGridTable : public TRowObject {
public:

    using TNotifyEvent = std::function<void(TGridTable& sender)>;
    using TRowDataEvent = std::function<void(TGridTable& sender, int32_t col, int32_t row, TRowObject* data)>;
    using TGetButtonCaptionEvent =
        std::function<void(TGridTable& sender, int32_t col, int32_t row, TRowObject* data, std::string& caption)>;
    using TGetChangedEvent =
        std::function<void(TGridTable& sender, int32_t col, int32_t row, TRowObject* data, bool& changed)>;
    using TInitRowEvent = std::function<void(TGridTable& sender, int32_t col, int32_t row, int32_t enumType,
                                             std::unique_ptr<TRowObject>& data)>;
    using TSetRowEvent = std::function<void(TGridTable& sender, int32_t col, TRowObject* data, int32_t row)>;
    using TSetUnitsEvent =
        std::function<void(TGridTable& sender, int32_t col, int32_t row, TRowObject* data, UnitSystem units)>;

    // A table owned by another table (a nested table) takes its unit system
    // and directory and prefixes its window caption with the owner's.
    explicit TGridTable(TGridTable* owner = nullptr);
    ~TGridTable() override;
    TGridTable(const TGridTable&) = delete;
    TGridTable& operator=(const TGridTable&) = delete;

    // ---- Published properties ----
    std::string Comments;
    int32_t Identifier() const { return FIdentifier; }
    // Negative values are ignored; a table of the same directory already
    // holding the value gets this table's old Identifier in exchange.
    void SetIdentifier(int32_t value);
    std::string Caption;
    int32_t MaxRows = 0;
    int32_t MinRows() const { return FMinRows; }
    // ETableError("Value must be greater than 0") for values below 1.
    void SetMinRows(int32_t value);
    // Name of the picture shown under the grid in the editor window.
    std::string HelpPicture;
    // Only affects reading the legacy form of a button column.
    bool HardwiredButton = false;
    int32_t RowGroup() const { return FRowGroup; }
    // Values below 1 become 1.
    void SetRowGroup(int32_t value);
    std::string TopLeft;
    // Set for a table whose window draws a chart (see above).
    std::optional<TChartProperties> Chart;

    TNotifyEvent OnResize;
    // The handlers below concern button-column rows holding an object that
    // is not a table (one made by OnInitRow).
    TRowDataEvent OnButtonClick;
    TGetButtonCaptionEvent OnGetButtonCaption;
    TGetChangedEvent OnGetChanged;
    TRowDataEvent OnHide;
    // Makes the nested object of a row when no template applies.
    TInitRowEvent OnInitRow;
    TRowDataEvent OnResetChanged;
    TSetRowEvent OnSetRow;
    TSetUnitsEvent OnSetUnits;

    // ---- Notifications (any number of listeners, see Notification.h) ----
    // Rows added, inserted or deleted (by a row group or SetRowCount), units
    // changed (every value and the unit captions), or a declaration read.
    // Raised after the change.
    TNotification<> OnRowsChanged;
    // The value of the cell (column index among all columns, row) changed.
    // A value stored into several cells (a group-wide column, linked layer
    // depths) raises it once per cell.
    TNotification<int, int> OnCellChanged;

    // ---- Templates ----
    // The directory of the outermost table (nullptr when it has none).
    const TTableDirectory* Directory() const { return FOwner ? FOwner->Directory() : FDirectory; }

    // ---- Columns ----
    // Appends a column of kind C with the given caption lines; it gets the
    // table's current rows (with start values). Properties set afterwards
    // apply to rows created afterwards, so declare before giving rows.
    template <class C>
    C& AddColumn(std::vector<std::string> captionLines);
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    TColumn& Column(int i) const;
    int IndexOf(const TColumn& column) const;
    int VisibleColumnCount() const;
    TColumn& VisibleColumn(int i) const;
    int VisibleIndexOf(const TColumn& column) const;

    // ---- Rows and cells ----
    int RowCount() const { return FRowCount; }
    // n below 0 counts as 0. MinRows and MaxRows are the caller's concern.
    void SetRowCount(int n);
    void AppendRowGroup();
    void InsertRowGroup(int row);
    void DeleteRowGroup(int row);
    bool CellValid(int col, int row) const;
    // Handle of a cell (column index among all columns); ETableError("Index
    // out of bounds") outside the table.
    TData& GetData(int col, int row) const;

    // ---- State ----
    UnitSystem Units() const { return FUnits; }
    // Converts every float value to the new system.
    void SetUnits(UnitSystem units);
    int Number() const { return FNumber; }
    void SetNumber(int number);
    bool Changed() const;
    // true sets the own flag; false clears it and every nested table's.
    void SetChanged(bool changed);
    TGridTable* OwnerTable() const { return FOwner; }
    // Caption, one blank, then the prefix (owner's prefix, blank, Number).
    std::string WindowCaption() const;
    std::string Prefix() const;

    // ---- Editor window ----
    // The open window of the table, made and shown by the window code.
    TTableEditor* Editor() const { return FEditor.get(); }
    void SetEditor(std::unique_ptr<TTableEditor> editor) { FEditor = std::move(editor); }
    // Frees the editor window, then hides every nested table.
    void Hide();
    // Called by the editor window when it closes: frees it.
    void CloseEditor() { FEditor.reset(); }

    // ---- Declaration stream ("Col") ----
    // Columns in the current forms, then (with a chart) the graph parameters.
    void WriteCol(TValueWriter& writer) const;
    // Replaces the column list; reads the current and the legacy forms.
    void ReadCol(TValueReader& reader);

    // A new table of the same declaration (no values, no events,
    // RowGroup 1) owned by `owner`, numbered `number`, with MinRows rows.
    std::unique_ptr<TGridTable> Copy(TGridTable& owner, int number) const;

    // ---- Used by the columns ----
    void CellChanged(int col, int row);
    // Every button column's template list gets one entry per item of the
    // enumeration in column 0 (one entry when column 0 is no enumeration).
    void ResizeTemplates();
    // Unit conversion and unit names of the table's unit strings.
    long double UnitFactor(UnitSystem from, UnitSystem to, const std::string& units) const;
    std::string UnitNames(const std::string& units, UnitSystem system) const;

private:
    void AppendColumn(std::unique_ptr<TColumn> column);
    // Every column gets count new rows from row `at` on; all or none.
    void InsertRowsInColumns(int at, int count);
    void RowsChanged();
    int GroupStart(int row) const { return FRowGroup * (row / FRowGroup); }

    friend class TTableDirectory;

    TGridTable* FOwner;
    TTableDirectory* FDirectory = nullptr;
    int32_t FIdentifier;
    int32_t FMinRows = 1;
    int32_t FRowGroup = 1;
    int FRowCount = 0;
    UnitSystem FUnits;
    int FNumber = 0;
    bool FChanged = false;
    std::vector<std::unique_ptr<TColumn>> FColumns;
    std::unique_ptr<TTableEditor> FEditor;
};

template <class C>
C& TGridTable::AddColumn(std::vector<std::string> captionLines)
{
    auto column = std::make_unique<C>(*this);
    column->CaptionLines = std::move(captionLines);
    C& result = *column;
    AppendColumn(std::move(column));
    return result;
}

