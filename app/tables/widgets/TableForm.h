#pragma once

// Editor window of a table (TTableForm): a grid with the column headings,
// one row per table row and a header of row numbers; buttons to add, insert
// and delete rows; the table's comment and help picture underneath.
// Enumeration columns show a drop-down list and button columns a push button
// over each of their cells; a button opens the row's nested table.
//
// Tables open their windows through ShowTable (TableWindows.h). A window
// with a FormParent is embedded there; a modal window is a dialog, and its
// buttons open nested tables modally.
// Sizing the window by hand snaps it to whole columns and rows (TableLayout.h).
// Before a menu command
// the main window commits the active table window:
//   if (auto* form = qobject_cast<TTableFormBase*>(active->widget()))
//       form->CommitCell();
//
// What the user types is passed to the table when the cell is left, the
// window is closed or left for another one; an input error is shown (through
// Prompts()) and keeps the cell, the window open and, for a window that is
// not modal, the window active.

#include "Evaluator.h"
#include "GridTable.h"
#include "TableModel.h"
#include "UserPrompts.h"
#include "ValueImport.h"

#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class QEventLoop;
class QKeyEvent;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class TTableGrid;

// The part of the window that does not touch the table.
class TTableFormBase : public QWidget {
    Q_OBJECT

public:
    // Passes the text of the current cell to the table; false after an input
    // error, which has been shown to the user.
    virtual bool CommitCell() = 0;
    bool IsModal() const { return FLoop != nullptr; }

    // Data rows and data columns in view.
    int RowsInView() const { return FRowsInView; }
    int ColumnsInView() const { return FColumnsInView; }
    // The controls shown over the cells of column `col` (index among all
    // columns); control i shows data row Grid->TopRow() + i.
    std::vector<QWidget*> RowControls(int col) const;
    // The window the user moves and sizes: the MDI sub-window holding this
    // one, or this one.
    QWidget* FrameWindow() const;
    // Client size set by the last layout.
    QSize sizeHint() const override { return FClientSize; }

    TTableGrid* Grid;
    QPushButton* BtnAdd;
    QPushButton* BtnIns;
    QPushButton* BtnDel;
    QLabel* lblComments;
    QLabel* imgHelp;

protected:
    explicit TTableFormBase(QMdiArea* area);
    ~TTableFormBase() override;

    // The window's row buttons answer Alt and their letter ("&Delete Row":
    // Alt+D) while the focus is in the window, ahead of the menu bar's
    // letters.
    bool eventFilter(QObject* watched, QEvent* event) override;
    QPushButton* MnemonicButton(const QKeyEvent& key) const;

    // Shows the window in its place: modally as a dialog, embedded in
    // `embedIn`, as a child of the MDI area or as a top-level window. Returns
    // when a modal window has closed.
    void Place(bool modal, QWidget* embedIn);
    // Closes the window for good: hides it and deletes it later.
    void Dismiss();
    // Gives the frame window the client size `client`.
    void ResizeFrame(QSize client);

    QPointer<QMdiArea> FArea;
    QPointer<QMdiSubWindow> FSub;
    QEventLoop* FLoop = nullptr;
    QLabel* FTopLeft;  // text of the heading's top-left cell, over the grid's corner
    int FRowsInView = 0;
    int FColumnsInView = 0;
    QSize FClientSize;
    // Controls of each column with row controls, by column index.
    std::map<int, std::vector<QWidget*>> FControls;
    // The data row that control 0 of every column shows.
    int FControlTop = 0;
};

class TTableForm : public TTableFormBase {
public:
    using Table = TGridTable;

    TTableForm(Table& table, QMdiArea* area);
    ~TTableForm() override;

    Table* EditedTable() const { return FTable; }
    // When set before the window is first shown, it is embedded here.
    QPointer<QWidget> FormParent;
    // What the grid shows: the table itself, through its item model.
    TTableModel& Model() const { return *FModel; }

    // Requests of the table, passed on by its window handle.
    void ShowForm(bool modal);
    void UpdateCaption();
    void RowControlChanged(int col, int row);
    // The table lets go of its window (closed, hidden or destroyed).
    void Release();

    bool CommitCell() override;
    // Rebuilds the grid from the table, then lays the window out.
    virtual void Refresh();
    virtual void Layout();
    // Most data rows in view when the window opens or grows by Add and Insert.
    virtual int MaxRowsInView() const { return 10; }

    // Ctrl+C: the selected cells as tab-separated text on the clipboard.
    void CopyCells();
    // Ctrl+V: a tab-separated block from the clipboard entered from the
    // current cell on, rows added as Add does up to MaxRows.
    void PasteCells();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Copy and paste of cell blocks in the grid and its cell editor.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // What a derived window adds around the grid: the grid's top, the right
    // edge of everything beside and under it, and the controls between the
    // row buttons and the comments, laid out from the row buttons' top; the
    // last returns the comments' top.
    virtual int GridTop() const { return Margin(); }
    virtual int ContentRight() const;
    virtual int LayoutBelowButtons(int buttonsTop) { return buttonsTop + Band(BtnAdd); }

    // Enters values through `fill` as the user would (every value through its
    // column's SetText, rows added and deleted as Add and Delete do), after
    // committing the current cell; an input error is shown and the table is
    // put back as it was. The grid is refreshed afterwards. The whole fill
    // is one step of the undo history, named `what`.
    void FillTable(const char* what, const std::function<int(TValueImportTarget&)>& fill);

    void FormShow();
    // All columns and up to MaxRowsInView rows in view; the cursor on the
    // first row's first typed cell.
    void StartView();
    void StartCell();
    // The table's rows changed: by the window's own row buttons, or from
    // outside, which starts the view afresh.
    void TableRowsChanged();
    bool FormCloseQuery();
    void FormClose();
    void FormDeactivate();
    void GridExit();
    bool GridSelectCell(int row, int col);
    void GridEnterKey();
    void GridTopLeftChanged();
    void BtnAddClick();
    void AddRowGroup();
    void BtnInsClick();
    void BtnDelClick();
    // Runs a change of the table as one step of the undo history, named
    // `what` and the window's caption ("Delete Row in Soil Layers").
    void RecordChange(const char* what, const std::function<void()>& change);
    // Ctrl+Z in the window: typing not yet entered in the cell is dropped
    // (the cell shows its value again); otherwise the last step is undone.
    // Ctrl+Shift+Z and Ctrl+Y redo, after the cell's text is entered.
    void UndoKey();
    void RedoKey();
    // The user resized the frame window: snap it to whole rows and columns.
    void FormSizedByUser();

    int Margin() const;
    int ColumnWidth(const TColumn& column) const;
    int FixedColumnWidth() const;
    // Height of a band under the grid (row buttons, comments, picture) with
    // its margin; 0 when hidden or empty.
    int Band(const QWidget* widget) const;
    void LayoutRowControls();
    QWidget* MakeRowControl(int col, int control);
    // Shows the row's value in the control: a drop-down's item, a button's caption.
    void ShowRowControl(int col, int control);
    void DropRowControls(int col);
    void ReleaseRowControls();
    // Lets go of the table: its row controls and notifications.
    void Unbind();
    // The current data row; ETableError "Grid.Row not in valid range" without one.
    int CurrentDataRow() const;
    // Runs a handler, showing any error of the table to the user: an input
    // error as information, anything else as an error.
    template <class Fn>
    void Guarded(Fn&& fn)
    {
        try {
            fn();
        } catch (const EAssignError& e) {
            Prompts().Inform(this, QString::fromStdString(e.what()));
        } catch (const std::exception& e) {
            Prompts().Inform(this, QString::fromStdString(e.what()), PromptIcon::Error);
        }
    }

    // Sets a flag for its lifetime.
    class TOwnRowChange {
    public:
        explicit TOwnRowChange(bool& flag) : FFlag(flag) { FFlag = true; }
        ~TOwnRowChange() { FFlag = false; }
        TOwnRowChange(const TOwnRowChange&) = delete;
        TOwnRowChange& operator=(const TOwnRowChange&) = delete;

    private:
        bool& FFlag;
    };

    Table* FTable;
    TTableModel* FModel;
    // Refresh after every change of the rows, from FormShow until Unbind.
    TSubscription FRowsChanged;
    bool FBound = false;  // bound by FormShow, until FormClose or Release
    bool FReleased = false;
    bool FCommitting = false;
    bool FLayingOut = false;
    bool FScrollDetached = false;
    bool FOwnRowChange = false;  // a row button is changing the table's rows
    int FShownRows = 0;          // the table's rows at the last Refresh
    bool FActive = false;        // the MDI sub-window is the active one
    QRect FLastFrame;            // frame window geometry after the last layout
    bool FFilling = false;       // FillTable at work: one Refresh at its end
    int FBelowGrid = 0;          // height of everything above and below the grid, margins included
};


// Handle by which the table owns its open window. The window itself is
// deleted later, so that it may close itself from its own handlers.
class TTableWindow final : public TTableEditor {
public:
    explicit TTableWindow(TTableForm* form) : FForm(form) {}
    ~TTableWindow() override;
    TTableWindow(const TTableWindow&) = delete;
    TTableWindow& operator=(const TTableWindow&) = delete;

    TTableForm* Form() const { return FForm.data(); }

    void ShowEditor(bool modal) override;
    bool IsModal() const override;
    void UpdateCaption() override;
    void RowControlChanged(int col, int row) override;

private:
    QPointer<TTableForm> FForm;
};

// The open window of a table, if any.
TTableForm* TableForm(const TGridTable& table);

// Smallest grid column width in pixels: the widest caption line as shown
// plus two blanks, measured by textWidth, but at least the kind's minimum.
int ColumnMinWidth(const TColumn& column, int pixelsPerInch, const std::function<int(const std::string&)>& textWidth);
