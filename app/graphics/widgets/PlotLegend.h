#pragma once

// The legend over a plot: one row per listed curve in its palette colour,
// ending in " *" when the curve is shown, and a black row for the measured
// values when the graph has any. The box can be dragged inside the
// window, and a double-click on a row shows or hides that row's curve.

#include <QWidget>

#include <vector>

class TPlotForm;

class TPlotLegend : public QWidget {
    Q_OBJECT
public:
    explicit TPlotLegend(TPlotForm& form);

    // The row of the graph's measured values, after the curves' rows.
    static constexpr int MeasuredRow = -1;

    // Curve index of every row, or MeasuredRow.
    const std::vector<int>& Rows() const { return FRows; }
    // Lists the curves and refits the box to them.
    void SetRows(std::vector<int> rows);
    // Font of the rows at a point size; refits the box to the rows.
    void SetPointSize(int points);
    int RowHeight() const;
    // The text of a row as drawn.
    QString RowText(int row) const;
    // Row under a point of the box, or -1.
    int RowAt(QPoint point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Refit();
    int RowWidth(int row) const;

    TPlotForm& FForm;
    std::vector<int> FRows;
    // While the left button is held on the box: where it was grabbed.
    bool FGrabbed = false;
    QPoint FGrabOffset;
};
