#pragma once

// The program's frame window: the child windows of the project (table
// windows, data dialogs, graph windows) live in its multiple-document area.
// It owns the project's tables and graphs for the program's whole life, the
// current project, the menus and toolbar, the file commands, the per-user
// settings with the recent files, and the analysis run.

#include "MainGraphs.h"
#include "PlotData.h"
#include "ProgramData.h"
#include "ProgramSettings.h"
#include "ProjectTables.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMdiArea;
class QMenu;
class QMdiSubWindow;
class TDlgOptions;
class TDlgSideView;
class TdlgTitle;
class TfrmMaterial;
class TfrmQwFactors;
class TfrmCpt;
class TfrmResultsSummary;
class TTableUndo;
class TfrmLoadTest;
class TfrmCalibration;
struct TFitResult;
class TStudyWindow;
struct TReportSources;

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    static inline const QString ApplicationTitle = QStringLiteral("KORVEN 3.0");
    // Names of the application for the desktop. Its title goes to the task
    // bar through the desktop file name; no display name is set, since the
    // platform would append one to every window's own caption.
    static void SetUpApplication();
    static inline const QString OpenDialogFilter =
        QStringLiteral("KORVEN 2014 (*.kv3d)|*.kv3d|KORVEN 2.0 (*.kvd)|*.kvd|All Files (*.*)|*.*");

    // `arguments` are the program's command-line arguments without the
    // program itself; the first one names the project to start with.
    explicit TMainForm(QStringList arguments = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    TProgramData& Project() const { return *FProject; }
    TProjectTables& Tables() { return FTables; }
    TMainGraphs& Graphs() { return FGraphs; }
    QMdiArea& Area() const { return *FArea; }
    TProgramSettings& Settings() { return FSettings; }

    // The analysis engine library; beside the program unless changed.
    QString EngineLibraryPath;

    // ---- Commands ----
    void FileNewClick();
    void FileOpenClick();
    void FileSaveClick();
    void FileSaveAsClick();
    void FileExitClick();
    // The printable report of the project and its results, as a PDF file.
    void ExportReportClick();
    void RecentFileClick(int index);
    // Files dropped on the window: the first one is opened.
    void DropFiles(const QStringList& paths);
    void CompRunClick();
    // The project file, the run notes and the output report in the text editor.
    void EditInputClick();
    void EditNotesClick();
    void EditOutputClick();
    // The side view: made when it is not open; an open one comes to the
    // front only while the curves are generated from the soil layers
    // (as last saved or read).
    void SoilLayerCoordinates1Click();
    // Graph windows.
    void ShowGraph(TGraphPlot& graph);
    // The export dialog, modal, over the graphs the Graphics commands offer.
    void ExportPlotsClick();
    // The capacity read-outs of the last run.
    void ShowResultsSummary();
    // The project's load test, and the fit of its factors to it.
    void ShowLoadTestWindow();
    void ShowCalibrationWindow();
    // The one write of a fit into the project: its factors into the factor
    // tables, switched on, then a run.
    void ApplyCalibration(const TFitResult& fit);
    // The window that makes the user curves from a CPT sounding.
    void ShowCptWindow();
    // The Studies window over the current project.
    void ShowStudies();
    // Asks whether the results of the study last run in the Studies window
    // go into the report, and adds them to `sources` when so; false when
    // the user cancelled the export.
    bool AskStudyForReport(TReportSources& sources);
    void WindowArrangeIconsClick();

    // Whether the graph commands are enabled: the plot data of the project
    // were read and the plot data file still exists.
    bool GraphsAvailable() const;
    // The plot data of the project's last run (read by the run or on Open);
    // null when there are none.
    const TPlotData* Results() const { return FResults ? &*FResults : nullptr; }
    // Path of the project file with another extension (".kv3o" and so on).
    QString ProjectFilePath(const char* extension) const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Takes files dragged over any of its widgets.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The project's undo history, with the options it keeps beside the tables.
    void CreateUndo();
    void CreateMenus();
    void CreateToolBar();
    // Runs a command after the active child window stored its values; an
    // error it throws is shown to the user.
    void RunCommand(const std::function<void()>& command);
    // An action running `command` that way.
    QAction* NewCommand(const QString& caption, std::function<void()> command);
    QAction* AddCommand(QMenu* menu, const QString& caption, std::function<void()> command,
                        const QKeySequence& shortcut = {});
    QAction* AddSwitch(QMenu* menu, const QString& caption, bool TProgramData::*option);
    // Asks the active child window to store its values into the project.
    bool CommitActiveChild();

    // Menu states, computed when a menu opens.
    void FileMenuPopup();
    void DataMenuPopup();
    void OptionsMenuPopup();
    void ComputationMenuPopup();
    void GraphicsMenuPopup();
    void WindowMenuPopup();
    void UpdateToolBar();
    void UpdateCaption();
    // The caption's unsaved-changes mark follows the project's changed
    // state: at once, or once the input event being handled is done.
    void UpdateChangedMark();
    void ScheduleChangedMark();
    // The project file's name without its folder, as the caption shows it.
    static QString DisplayName(const QString& fileName);

    // True when the project may be replaced: unchanged, or the user said
    // No, or Yes and the project was saved.
    bool CloseQuery();
    // Saves in place, or through Save As when the project was never saved
    // or came from an older-format file. True when the file was written.
    bool Save();
    bool SaveAs();
    // Takes a new project into use: open data windows show its values.
    void ProjectReplaced();
    // Open windows show the project's values again (after New, Open or a
    // switch of units).
    void ShowProjectValues();
    // Replaces the project by the one in `path`; a file that cannot be read
    // whole is refused with a message and leaves the open project alone.
    void OpenProject(const QString& path, bool fullFormat, bool addToRecent);
    void StartUp();
    void SetCurvesGenerated(bool generated);
    // The curve source changed (a switch, its undo, another project): the
    // windows of the source not in use close, nested windows included.
    void CurveSourceChanged();
    // Starts the text editor on `path`; a file not there yet is reported
    // with `howToMake`, the command that makes it.
    void StartTextEditor(const QString& path, const QString& howToMake);
    // The data windows: each is made when it is not open, then shown.
    void ShowTitleWindow();
    void ShowPilePropertiesWindow();
    void ShowOptionsWindow();
    void ShowQwFactorsWindow();
    template <class W, class... A>
    void ShowDataWindow(QPointer<W>& window, A&&... arguments);
    // The current project, for windows that outlive a project.
    std::function<TProgramData&()> ProjectAccess();
    void CloseChildWindows();
    // Takes the plot data of a run or of the project just opened (or none)
    // as the project's results: the graphs are filled from them, the open
    // plot windows and the Results Summary follow. For another project's
    // results the graphs forget the names and titles the user gave them.
    void TakeResults(std::optional<TPlotData> results, bool anotherProject);
    // Davisson's line and the 10 % of diameter line over the load-settlement
    // graph, from the results.
    void UpdateCapacityLines();
    // The load test's measured values over the load-settlement and the
    // load-distribution graphs after the results or the load test changed;
    // the plot windows follow when the values changed or `refreshPlots`
    // asks for it, and so does the Results Summary.
    void UpdateMeasuredPoints(bool refreshPlots = false);

    TProjectTables FTables;
    TMainGraphs FGraphs;
    std::unique_ptr<TProgramData> FProject;
    TProgramSettings FSettings;
    QStringList FArguments;
    bool FStarted = false;
    bool FMarkPending = false;
    std::optional<TPlotData> FResults;
    // Set while a run holds the engine library.
    bool FRunning = false;

    QMdiArea* FArea;
    TTableUndo* FUndo = nullptr;
    // Null while the window is closed.
    QPointer<TdlgTitle> FTitleWindow;
    QPointer<TfrmMaterial> FMaterialWindow;
    QPointer<TDlgOptions> FOptionsWindow;
    QPointer<TfrmQwFactors> FQwFactorsWindow;
    QPointer<TfrmResultsSummary> FSummaryWindow;
    QPointer<TfrmLoadTest> FLoadTestWindow;
    QPointer<TfrmCalibration> FCalibrationWindow;
    QPointer<TStudyWindow> FStudyWindow;
    QPointer<TDlgSideView> FSideView;
    QPointer<TfrmCpt> FCptWindow;
    std::vector<QAction*> FRecentActions;
    QAction* FRecentSeparator = nullptr;
    QMenu* FWindowMenu = nullptr;
    QAction* FWindowSeparator = nullptr;
    std::vector<QAction*> FWindowActions;

    struct TSwitchItem {
        QAction* Action;
        bool TProgramData::*Option;
    };
    std::vector<TSwitchItem> FSwitches;
    QAction* FSoilLayersItem = nullptr;
    QAction* FTzCurvesItem = nullptr;
    QAction* FQwCurveItem = nullptr;
    QAction* FTipMovementsItem = nullptr;
    QAction* FHeadLoadsItem = nullptr;
    QAction* FSettlementItem = nullptr;
    QAction* FTzFactorsItem = nullptr;
    QAction* FQwFactorsItem = nullptr;
    QAction* FEnglishItem = nullptr;
    QAction* FSIItem = nullptr;
    QAction* FGeneratedItem = nullptr;
    QAction* FUserCurvesItem = nullptr;
    QAction* FEditInputItem = nullptr;
    QAction* FEditNotesItem = nullptr;
    QAction* FEditOutputItem = nullptr;
    std::vector<QAction*> FGraphItems;
    QAction* FExportItem = nullptr;
    QAction* FSoilLayersButton = nullptr;
    std::vector<QAction*> FGraphButtons;
};
