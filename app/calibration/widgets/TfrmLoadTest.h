#pragma once

// "Load Test": the static load test measured on the pile, entered like the
// other curves: a graph of head load against head settlement over a grid of
// the measured points (head load, head settlement, toe movement and the
// loads at each gauge depth), filled by typing, from a CSV or text file or
// from text on the clipboard. The file's header names the columns and may
// give their units; when a column gives none, the engineer is asked which
// unit system the file is in. Gauges are added, moved to another depth and
// removed in the window as well.
//
// The project's load test follows the grid: every edit that leaves a
// usable test (at least 3 points, loads above 0 and all different) stores
// it into the project's extras file (saved with the project) as one step of
// the undo history; while the grid holds no usable test, the note under it
// says why and the project keeps its last one. Emptying the grid removes
// the test.

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

// What the window needs of the program around it.
struct TLoadTestHooks {
    // The current project (the window outlives a project replaced by New or
    // Open).
    std::function<TProgramData&()> Project;
    // Called after every change of the project's load test.
    std::function<void()> Stored;
    // The text editor that "View/Edit File" starts.
    std::function<QString()> TextEditor;
    // Runs a change of the project's load test as one step of the undo
    // history, named by the text ("Entry in Load Test").
    std::function<void(const QString&, const std::function<void()>&)> Record;
};

class TfrmLoadTest : public QWidget {
    Q_OBJECT

public:
    static inline const QString WindowCaption = QStringLiteral("Load Test");
    static inline const QString FileFilter =
        QStringLiteral("CSV Files (*.csv)|*.csv|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");

    TfrmLoadTest(QMdiArea& area, TLoadTestHooks hooks);
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

    // "Add Gauge...", "Change Gauge..." and "Remove Gauge": the depth is
    // asked in the project's length unit and must be on the pile and not
    // that of another gauge; the gauge changed or removed is that of the
    // current cell's column.
    void AddGauge();
    void ChangeGauge();
    void RemoveGauge();
    // "Clear": every point and gauge.
    void Clear();

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
    // Stores the grid's test into the project when it is usable, as the
    // step `what` ("Entry"), and redraws the graph.
    void GridChanged(const char* what);
    void Import(const std::string& text, const char* what);
    void Redraw(const TLoadTest& test);
    void AddRow(int at);
    void UpdateFileButtons();
    // The header of a gauge's column.
    QString GaugeCaption(double depth) const;
    // Puts a gauge's column into its place by depth, with these cell texts.
    void InsertGauge(double depth, const QStringList& cells);
    // Takes a gauge's column out of the grid; its cell texts.
    QStringList TakeGauge(int gauge);
    // The gauge of the current cell's column; -1, said to the engineer,
    // when the current cell is not in one.
    int CurrentGauge();
    // Asks for a gauge's depth; nothing when cancelled or refused (said).
    // `moving` is the gauge whose depth is changed, -1 for a new one.
    std::optional<double> AskGaugeDepth(int moving);

    TLoadTestHooks FHooks;
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
