#pragma once

// "Load Test": the static load test measured on the pile, entered like the
// other curves: a graph of head load against head settlement over a grid of
// the measured points (head load, head settlement, toe movement and the
// loads at each gauge depth), filled by typing, from a CSV or text file or
// from text on the clipboard. The file's header names the columns and may
// give their units; a column without one is in the project's units.
//
// The project's load test follows the grid: every edit that leaves a
// usable test (at least 3 points, loads above 0 and all different) stores
// it into the project's extras file (saved with the project); while the
// grid holds no usable test, the note under it says why and the project
// keeps its last one. Emptying the grid removes the test.

#include "LoadTest.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;
class QTableWidget;
class TChart;
class TProgramData;

class TfrmLoadTest : public QWidget {
    Q_OBJECT

public:
    static inline const QString WindowCaption = QStringLiteral("Load Test");
    static inline const QString FileFilter =
        QStringLiteral("CSV Files (*.csv)|*.csv|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

    // `project` gives the current project (the window outlives a project
    // replaced by New or Open); `stored` is called after every change of
    // the project's load test.
    TfrmLoadTest(QMdiArea& area, std::function<TProgramData&()> project, std::function<void()> stored);
    ~TfrmLoadTest() override;

    // Shows the window and makes it the active child window.
    void ShowWindow();
    // Shows the project's load test again (after New, Open or a switch of
    // units).
    void LoadFields();

    // Reads the file named in the file field, or the clipboard's text; a
    // refused line is reported with its number and text, and the grid then
    // stays as it was.
    void ReadFromFile();
    void PasteFromClipboard();

    QTableWidget* Grid() const { return FGrid; }
    QLineEdit* FileNameEdit() const { return FFileName; }
    QLabel* Note() const { return FNote; }
    TChart& Chart() const { return *FChart; }

private:
    // The grid's columns for a test: the gauge depths it holds.
    void ShowTest(const TLoadTest& test);
    // Reads the grid; throws EAssignError naming the cell that is not a
    // number.
    TLoadTest GridTest() const;
    // Stores the grid's test into the project when it is usable, and
    // redraws the graph.
    void GridChanged();
    void Import(const std::string& text);
    void Redraw(const TLoadTest& test);
    void AddRow(int at);
    void UpdateFileButtons();

    std::function<TProgramData&()> FProject;
    std::function<void()> FStored;
    std::unique_ptr<TChart> FChart;
    QTableWidget* FGrid;
    QLabel* FNote;
    QLineEdit* FFileName;
    QPushButton* FEditButton;
    QPushButton* FReadButton;
    // Depths of the gauge columns, in the project's length unit.
    std::vector<double> FGaugeDepths;
    bool FFilling = false;
};
