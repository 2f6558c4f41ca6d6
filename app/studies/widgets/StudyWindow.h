#pragma once

// The Studies window: the studies the project keeps, by name; the definition
// of the chosen one; its run on every core with a progress bar and Cancel;
// its results as tables, as graphs in plot windows and as CSV files or a
// workbook.
//
// Every change of a definition that can be used is kept with the project at
// once (KeepStudies), so a save writes it into the extras file. A run takes
// the project as it stands, so a study runs again after the project changed.
// The results shown stay those of the last completed run: a cancelled run
// leaves them as they were.

#include "ProgramData.h"
#include "StudyGraphs.h"
#include "StudyOutput.h"

#include <QPointer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QComboBox;
class QLabel;
class QMdiArea;
class QProgressBar;
class QPushButton;
class QTableWidget;
class TStudyEditor;

class TStudyWindow : public QWidget {
    Q_OBJECT
public:
    TStudyWindow(QMdiArea& area, std::function<TProgramData&()> project, QWidget* parent = nullptr);
    ~TStudyWindow() override;

    // Shows the studies of the current project (after New or Open).
    void Reload();

    // Commands of the window's buttons.
    void NewStudy(bool probabilistic);
    void DeleteStudy();
    void RunStudy();
    void CancelStudy();
    void ExportCsv();
    void ExportWorkbook();

    TStudyEditor& Editor() const { return *FEditor; }
    QComboBox* StudyList() const { return FStudyList; }
    QProgressBar* Progress() const { return FProgress; }
    QTableWidget* ResultTable() const { return FTable; }
    QComboBox* TableList() const { return FTableList; }
    QString StatusText() const;
    bool Running() const { return FWorker.joinable(); }
    // The results of the last completed run; null before one.
    const TStudyOutcome* Outcome() const { return FOutcome.get(); }
    TStudyGraphs& Graphs() { return FGraphs; }

signals:
    // A run ended, completed or cancelled.
    void RunEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildResults();
    // Takes the editor's definition into the list and keeps the list with
    // the project; with `tell`, a definition that cannot be used is shown to
    // the user. False when it cannot be used.
    bool Store(bool tell);
    void ShowStudy(int index);
    void SetRunning(bool running);
    void RunEndedWith(std::shared_ptr<TStudyOutcome> outcome);
    void ShowTable(int index);
    void ShowOutcome();
    void ShowGraph(TGraphPlot& graph);
    // Stops a run and waits for its threads.
    void StopWorker();
    // The plot windows of this window's graphs.
    std::vector<QWidget*> PlotWindows() const;
    // The same as opened here, for the destructor: when the area itself is
    // being destroyed its list of windows can no longer be asked for.
    std::vector<QPointer<QWidget>> FOpenedPlots;
    QString ExportBase(const char* extension) const;

    QMdiArea& FArea;
    std::function<TProgramData&()> FProject;
    std::vector<TStudy> FStudies;
    int FCurrent = -1;

    QComboBox* FStudyList;
    QPushButton* FNewParametric;
    QPushButton* FNewProbabilistic;
    QPushButton* FDelete;
    TStudyEditor* FEditor;
    QPushButton* FRun;
    QPushButton* FCancel;
    QProgressBar* FProgress;
    QLabel* FStatus;
    QLabel* FSummary;
    QComboBox* FTableList;
    QTableWidget* FTable;
    QPushButton* FCurvesButton;
    QPushButton* FLoadsButton;
    QPushButton* FSettlementsButton;
    QComboBox* FReadoutList;
    QPushButton* FHistogramButton;
    QPushButton* FTornadoButton;
    QPushButton* FCsvButton;
    QPushButton* FWorkbookButton;

    std::unique_ptr<TStudyOutcome> FOutcome;
    TStudyGraphs FGraphs;
    std::atomic<bool> FCancelFlag{false};
    std::thread FWorker;
};
