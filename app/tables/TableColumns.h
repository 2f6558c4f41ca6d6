#pragma once

// Columns of the data-entry tables and their cell handles. A table (see
// GridTable.h) owns an ordered list of columns; every column holds one value
// per row and one cell handle (TData) per row. Five kinds exist, numbered as
// in the declaration stream:
//
//   0 TEnumColumn    1-based item number, shown as a drop-down per row
//   1 TIntColumn     32-bit integer with default and limits
//   2 TFloatColumn   extended float with a unit string; TopDepth links layers
//   3 TTableColumn   one nested table (or OnInitRow object) per row, shown as
//                    a button per row
//   4 TStringColumn  string with default and width

#include "ColStream.h"
#include "UnitStrings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

class TGridTable;
class TColumn;
class TTableDirectory;

// Wrong use of a table or a column (not wrong input, which is EAssignError):
// "Data of wrong type", "Index out of bounds", declaration errors, ...
class ETableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Base of everything a button-column row can hold: a nested table, or an
// object supplied by the table's OnInitRow handler.
class TRowObject {
public:
    virtual ~TRowObject() = default;
};

// What the model needs from the editor window of a table. The window itself
// is a widget built elsewhere; it implements this interface and is owned by
// the table while it is open (see TGridTable::SetEditor). The table
// destroys it in Hide, CloseEditor and its own destruction; the window then
// releases its row controls and leaves the table's notifications.
class TTableEditor {
public:
    virtual ~TTableEditor() = default;
    // Show the window (again), modally or not.
    virtual void ShowEditor(bool modal) = 0;
    virtual bool IsModal() const = 0;
    // The table's caption or number changed.
    virtual void UpdateCaption() = 0;
    // The row control of column `col` that shows `row` must be redrawn: a
    // drop-down's position or a button's caption changed.
    virtual void RowControlChanged(int col, int row) = 0;
};

// Text of a float cell: general format with 8 significant digits, no
// trailing zeros, exponent form below 0.00001 or from 1E8 up: "2.5",
// "0.00001", "1E-6", "1.2345679E8". Independent of the locale (always ".").
std::string FloatCellText(long double value);

enum class TColumnKind : int32_t { Enum = 0, Int = 1, Float = 2, Table = 3, String = 4 };

// Handle of one cell. It knows only its column and finds its row as its
// position there, so it stays valid while other rows are inserted or
// deleted; it dies with its own row. Typed access to a kind that does not
// hold the type throws ETableError("Data of wrong type").
class TData {
public:
    explicit TData(TColumn& column) : FColumn(column) {}

    TColumn& Column() const { return FColumn; }
    int Row() const;

    long double AsFloat() const;
    void SetFloat(long double value);
    int32_t AsInteger() const;
    void SetInteger(int32_t value);
    std::string AsString() const;
    // Entry of text as the user types it; throws EAssignError for bad input
    // and keeps the old value then. Does nothing on a button column.
    void SetText(const std::string& text);
    // The row's nested table (nullptr when it holds none or another object).
    TGridTable* AsTable() const;
    TRowObject* AsObject() const;

private:
    TColumn& FColumn;
};

// One template reference of a button column: a table Identifier, or an index
// into the table directory. An Identifier below 0 is the empty entry.
struct TTemplateRef {
    int32_t Value = -1;
    bool ByIdentifier = true;

    bool operator==(const TTemplateRef&) const = default;
};

// Template list of a button column, one entry per item of the enumeration in
// column 0 (or a single entry when column 0 is not an enumeration).
class TGridTableList {
public:
    std::vector<TTemplateRef> Entries;

    // The table of the directory that entry i refers to; nullptr when the
    // entry is absent, empty or does not resolve.
    TGridTable* Resolve(int i, const TTableDirectory* directory) const;
};

class TColumn {
public:
    using Table = TGridTable;

    explicit TColumn(Table& table) : FTable(table) {}
    virtual ~TColumn();
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    virtual TColumnKind Kind() const = 0;
    Table& Owner() const { return FTable; }
    // Position among all columns of the table (-1 while not yet added).
    int Index() const;

    // Heading lines, one grid heading row each.
    std::vector<std::string> CaptionLines;
    // Hidden columns keep their values but get no grid column.
    bool Visible = true;
    // A value set in one row is set in every row of that row's group.
    bool GroupWide = false;

    int CaptionLineCount() const { return static_cast<int>(CaptionLines.size()); }
    // Line i as shown; a float column adds its units to its last line.
    virtual std::string CaptionLine(int i) const;
    // The lines as shown, in one line for a chart axis or a printed table:
    // "Axial Stiffness AE (lb)", without the comma that leads to the unit
    // line and without doubled spaces.
    std::string Heading() const;
    int RowGroup() const;

    int RowCount() const { return static_cast<int>(FData.size()); }
    // Handle of a row; ETableError("Index out of bounds") for a bad row.
    TData& GetData(int row) const;
    int RowOf(const TData& data) const;

    // New rows with their start values, at..at+count-1.
    virtual void InsertRows(int at, int count);
    virtual void DeleteRow(int row);

    virtual Table* AsTable(int row) const;
    virtual TRowObject* AsObject(int row) const;
    virtual long double AsFloat(int row) const;
    virtual void SetFloat(int row, long double value);
    virtual int32_t AsInteger(int row) const;
    virtual void SetInteger(int row, int32_t value);
    virtual std::string GetText(int row) const = 0;
    virtual void SetText(int row, const std::string& text) = 0;

    virtual bool GetChanged() const { return false; }
    virtual void ResetChanged() {}
    virtual void Hide() {}
    virtual void SetUnits(UnitSystem /*units*/) {}

    // Enumeration and button columns show a drop-down or a button over each
    // visible cell in the editor window, which is told (RowControlChanged)
    // when the item or the caption of a row changes.
    virtual bool HasControls() const { return false; }

    // Declaration stream: caption lines, Visible, GroupWide, then the kind's
    // own properties (the kind id is written by the table).
    void WriteData(TValueWriter& writer) const;
    static std::unique_ptr<TColumn> CreateFromStream(TColumnKind kind, Table& table, TValueReader& reader);
    // Same kind, caption lines, Visible and the kind's own properties for
    // another table, without values.
    virtual std::unique_ptr<TColumn> Clone(Table& table) const = 0;

protected:
    virtual void InsertValue(int row) = 0;
    virtual void EraseValue(int row) = 0;
    virtual void WriteOwnData(TValueWriter& writer) const = 0;
    virtual void ReadOwnData(TValueReader& reader) = 0;

    template <class C>
    std::unique_ptr<C> CloneCommon(Table& table) const;
    void CheckRow(int row) const;
    // Tells the table that a cell changed (which tells its subscriber).
    void CellChanged(int row);
    // Tells the open editor window that the row's control changed.
    void ControlRowChanged(int row);
    // First and one-past-last row of the group holding row.
    std::pair<int, int> GroupOf(int row) const;
    [[noreturn]] static void WrongType();

private:
    Table& FTable;
    std::vector<std::unique_ptr<TData>> FData;
};

// Entries of a kind's field list (see TKindColumn) beside its members: a fixed
// text that the current form of the declaration stream holds at that place
// (a legacy stream holds another text there), and a member that copies carry
// but the stream does not.
struct TFieldMarker {
    const char* Text;
};
template <class M>
struct TUnstoredField {
    M Member;
};
template <class M>
TUnstoredField(M) -> TUnstoredField<M>;  // for compilers without aggregate deduction

// A column kind with properties of its own. The kind lists them once, in the
// order of the declaration stream:
//   static constexpr auto Fields() { return std::tuple{&TKind::A, &TKind::B}; }
// and the copy for another table (Clone), the writing and the reading of the
// stream all walk that list, so a new property is one entry there. A kind
// with a legacy form reads it in its own ReadOwnData (see ReadFields).
template <class Self, class Base>
class TKindColumn : public Base {
public:
    using Base::Base;

    std::unique_ptr<TColumn> Clone(TGridTable& table) const override;

protected:
    void WriteOwnData(TValueWriter& writer) const override;
    void ReadOwnData(TValueReader& reader) override;
};

// Storage shared by the four kinds that hold plain values.
template <class T>
class TValueColumn : public TColumn {
public:
    using TColumn::TColumn;

protected:
    void InsertValue(int row) override;
    void EraseValue(int row) override { FValues.erase(FValues.begin() + row); }
    virtual T NewValue(int row) const = 0;
    // Stores into every row of the group and raises cell-changed for each.
    void StoreGroup(int row, const T& value);

    std::vector<T> FValues;
};

class TEnumColumn : public TKindColumn<TEnumColumn, TValueColumn<int32_t>> {
public:
    using TKindColumn::TKindColumn;
    static constexpr auto Fields() { return std::tuple{&TEnumColumn::FItems}; }

    TColumnKind Kind() const override { return TColumnKind::Enum; }
    const std::vector<std::string>& Items() const { return FItems; }
    // New item list; on column 0 the table's template lists follow its size.
    void SetItems(std::vector<std::string> items);

    int32_t AsInteger(int row) const override;
    void SetInteger(int row, int32_t value) override;
    std::string GetText(int row) const override;
    void SetText(int row, const std::string& text) override;

    bool HasControls() const override { return true; }

protected:
    int32_t NewValue(int) const override { return 1; }

private:
    std::vector<std::string> FItems;
};

class TIntColumn : public TKindColumn<TIntColumn, TValueColumn<int32_t>> {
public:
    using TKindColumn::TKindColumn;
    static constexpr auto Fields()
    {
        return std::tuple{&TIntColumn::DefaultValue, &TIntColumn::MinValue, &TIntColumn::MaxValue};
    }

    TColumnKind Kind() const override { return TColumnKind::Int; }
    int32_t DefaultValue = 0;
    int32_t MinValue = INT32_MIN;
    int32_t MaxValue = INT32_MAX;

    int32_t AsInteger(int row) const override;
    void SetInteger(int row, int32_t value) override;
    std::string GetText(int row) const override;
    // Whole and within MinValue..MaxValue only while an editor is open.
    void SetText(int row, const std::string& text) override;

protected:
    int32_t NewValue(int) const override { return DefaultValue; }
};

class TFloatColumn : public TKindColumn<TFloatColumn, TValueColumn<long double>> {
public:
    using TKindColumn::TKindColumn;
    static constexpr auto Fields()
    {
        return std::tuple{&TFloatColumn::TopDepth, TFieldMarker{"FLOATCOLUMN2"}, &TFloatColumn::UnitString,
                          &TFloatColumn::DefaultValue, TUnstoredField{&TFloatColumn::EntryCheck}};
    }

    TColumnKind Kind() const override { return TColumnKind::Float; }
    // The column holds the tops of layers whose bottoms are in the next
    // column (which must be a float column): setting, inserting and deleting
    // keep each bottom equal to the top of the layer below.
    bool TopDepth = false;
    // Units of the values, such as "F/L^2"; empty for dimensionless values.
    std::string UnitString;
    long double DefaultValue = 0;
    // The check of a typed entry (SetText): why the value cannot be taken for
    // the row, or an empty text. Values set otherwise are not checked.
    using TEntryCheck = std::function<std::string(const TFloatColumn& column, int row, long double value)>;
    TEntryCheck EntryCheck;

    std::string CaptionLine(int i) const override;
    long double AsFloat(int row) const override;
    void SetFloat(int row, long double value) override;
    std::string GetText(int row) const override;
    void SetText(int row, const std::string& text) override;
    void SetUnits(UnitSystem units) override;

protected:
    long double NewValue(int row) const override;
    void InsertValue(int row) override;
    void EraseValue(int row) override;
    // Reads the legacy form too: the unit string alone after TopDepth.
    void ReadOwnData(TValueReader& reader) override;

private:
    TFloatColumn* Neighbour(int offset) const;
};

class TTableColumn : public TKindColumn<TTableColumn, TColumn> {
public:
    using Table = TGridTable;
    using TKindColumn::TKindColumn;
    // The templates are written as the Identifiers they resolve to.
    static constexpr auto Fields() { return std::tuple{TFieldMarker{"FLEXCOLUMN2"}, &TTableColumn::Templates}; }

    TColumnKind Kind() const override { return TColumnKind::Table; }
    // One template per item of the enumeration in column 0.
    TGridTableList Templates;

    Table* AsTable(int row) const override;
    TRowObject* AsObject(int row) const override;
    // The button caption.
    std::string GetText(int row) const override { return ButtonCaption(row); }
    void SetText(int, const std::string&) override {}

    void InsertRows(int at, int count) override;
    void DeleteRow(int row) override;

    bool GetChanged() const override;
    void ResetChanged() override;
    void Hide() override;
    void SetUnits(UnitSystem units) override;

    // Builds the row's nested object afresh from the template of the row's
    // type (the value of the enumeration in column 0), or from OnInitRow.
    void CreateRowObject(int row);
    // Tells every row from `from` on its number.
    void Renumber(int from);
    // "%d: %s" with the row number and the nested table's caption.
    std::string ButtonCaption(int row) const;

    bool HasControls() const override { return true; }
    // The button of the row was clicked: returns the row's nested table for
    // the window code to open, or raises OnButtonClick for another object
    // and returns nullptr.
    TGridTable* ClickButton(int row);

protected:
    void InsertValue(int row) override;
    void EraseValue(int row) override { FObjects.erase(FObjects.begin() + row); }
    // Reads the legacy form too: one directory position after another text.
    void ReadOwnData(TValueReader& reader) override;

private:
    std::unique_ptr<Table> ReplacingCopy(Table& tmpl, Table* old, int row) const;

    std::vector<std::unique_ptr<TRowObject>> FObjects;
};

class TStringColumn : public TKindColumn<TStringColumn, TValueColumn<std::string>> {
public:
    using TKindColumn::TKindColumn;
    static constexpr auto Fields() { return std::tuple{&TStringColumn::DefaultValue, &TStringColumn::Width}; }

    TColumnKind Kind() const override { return TColumnKind::String; }
    std::string DefaultValue;
    // Minimum width in inches.
    long double Width = 0;

    std::string GetText(int row) const override;
    void SetText(int row, const std::string& text) override;

protected:
    std::string NewValue(int) const override { return DefaultValue; }
};

extern template class TKindColumn<TEnumColumn, TValueColumn<int32_t>>;
extern template class TKindColumn<TIntColumn, TValueColumn<int32_t>>;
extern template class TKindColumn<TFloatColumn, TValueColumn<long double>>;
extern template class TKindColumn<TTableColumn, TColumn>;
extern template class TKindColumn<TStringColumn, TValueColumn<std::string>>;
