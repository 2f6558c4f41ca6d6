#pragma once

// Editor window of a table with a chart (TTableChartForm): the table window
// (TableForm.h) with a chart of two columns above the grid that follows the
// edits, the import of values from a text file or the clipboard, and an
// optional OK/Cancel row.
//
// Tables with chart properties open it (see TableWindows.h).
//
// The chart draws the YColumn against the XColumn (against the row number
// "N" when the table has one data column); a table of three data columns
// drawn against column 0 gets a second series of column 2 and a legend. Data
// that do not vary (every value equals F) are drawn on a left axis fixed at
// 0.9F..1.1F with the second point raised by 0.1 %, so that the line shows.
// In segment mode a drawing of one line per row takes the chart's place.

#include "Chart.h"
#include "TableForm.h"

#include <functional>
#include <memory>

class QLineEdit;
class QMimeData;
class TPaintBox;

class TTableChartForm : public TTableForm {
public:
    TTableChartForm(TGridTable& table, QMdiArea* area, std::function<QString()> textEditor);
    ~TTableChartForm() override;

    TChart& Chart() const { return *Chart1; }
    // Rebuilds the series from the table (or repaints the segment drawing).
    void Redraw();

    void Refresh() override;
    int MaxRowsInView() const override;

    QWidget* PaintBox1;
    QLabel* FileNameLabel;
    QLineEdit* FileNameEdit;
    QPushButton* BtnBrowse;
    QPushButton* BtnEdit;
    QPushButton* BtnRead;
    QPushButton* BtnClip;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

    static inline const QString OpenFilter =
        QStringLiteral("Text Files (*.txt)|*.txt|Data Files (*.dat)|*.dat|All Files (*.*)|*.*");

protected:
    int GridTop() const override;
    int ContentRight() const override;
    int LayoutBelowButtons(int buttonsTop) override;
    void Layout() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    void FormClick();
    void PaintBox1Paint(QPainter& painter);
    void BtnBrowseClick();
    void BtnEditClick();
    void BtnReadClick();
    void BtnClipClick();
    void BtnOKClick();
    void BtnCancelClick();

private:
    bool ChartShown() const;
    bool SegmentShown() const;
    QSize ChartSize() const;
    // Value of a cell as a number; 0 for a cell that holds none.
    double Value(int col, int row) const;
    // A column's heading with its unit, as an axis title.
    std::string AxisTitle(int col) const;
    void UpdateFileButtons();
    // A dropped text file to import: a local file, not a project file.
    bool TakesDrop(const QMimeData& data) const;
    // Fills the table from number lines (file or clipboard).
    void ImportLines(const std::vector<std::string>& lines);

    // Redraws after a change of the table, unless an import is at work.
    void TableChanged();

    std::unique_ptr<TChart> Chart1;
    std::function<QString()> FTextEditor;
    // The chart listens to the table beside the grid.
    TSubscription FChartRows;
    TSubscription FChartCells;
};
