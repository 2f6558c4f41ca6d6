#include "MainForm.h"

#include "AnalysisRun.h"
#include "CapacityOverlays.h"
#include "ChildPlacement.h"
#include "CommandSupport.h"
#include "CptForm.h"
#include "DataDialogs.h"
#include "EngineRun.h"
#include "EngineStatus.h"
#include "KorvenVersion.h"
#include "Periphery.h"
#include "PlotWindows.h"
#include "ProjectChild.h"
#include "ResultsSummary.h"
#include "ResultsSummaryForm.h"
#include "SideView.h"
#include "StudyWindow.h"
#include "TableChartForm.h"
#include "TableForm.h"
#include "TableUndo.h"
#include "TableWindows.h"
#include "TfrmCalibration.h"
#include "TfrmLoadTest.h"
#include "UserPrompts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <exception>
#include <filesystem>
#include <optional>

namespace {

// The file dialogs append it to a name typed without an extension.
const QString DefaultExtension = QStringLiteral("kv3d");
// Display names drop an extension of exactly this kind.
const QString ShortExtension = QStringLiteral("kv3");

// Every way of opening a file reads an older-format project (".kvd") as
// one and anything else in the full format.
bool FullFormat(const QString& path) { return !HasExtension(path, "kvd"); }

bool IsProjectFile(const QString& path) { return HasExtension(path, "kv3d") || HasExtension(path, "kvd"); }

// Runs `cleanup` when the scope ends, also on an exception.
class TFinally {
public:
    explicit TFinally(std::function<void()> cleanup) : FCleanup(std::move(cleanup)) {}
    ~TFinally() { FCleanup(); }
    TFinally(const TFinally&) = delete;
    TFinally& operator=(const TFinally&) = delete;

private:
    std::function<void()> FCleanup;
};

}  // namespace

TMainForm::TMainForm(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), EngineLibraryPath(QString::fromStdString(
                               EngineLibraryIn(QApplication::applicationDirPath().toStdString()).string())),
      FProject(std::make_unique<TProgramData>(FTables)), FArguments(std::move(arguments)), FArea(new QMdiArea(this))
{
    FSettings.EditorPath = kDefaultTextEditor;
    setCentralWidget(FArea);
    KeepChildWindowsInView(*FArea);
    InstallTableWindows(FArea, [this] { return FSettings.EditorPath; });
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    setWindowIcon(ProgramIcon());
    CreateUndo();
    CreateMenus();
    ShowPlotMenus(*FArea, *menuBar(), FWindowMenu->menuAction());
    CreateToolBar();
    ProjectReplaced();
    UpdateCaption();
    UpdateToolBar();
}

void TMainForm::SetUpApplication()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("korven"));
    // The application's title names its message boxes, not its windows.
    SetMessageTitle(ApplicationTitle);
}

TMainForm::~TMainForm()
{
    // Child windows show the tables and graphs; they go before them.
    delete FArea;
}

// ---- Caption ----

QString TMainForm::DisplayName(const QString& fileName)
{
    QString name = QFileInfo(fileName).fileName();
    if (name.size() > 1)
        name[0] = name[0].toUpper();
    if (QFileInfo(name).suffix().compare(ShortExtension, Qt::CaseInsensitive) == 0)
        name.truncate(name.indexOf(u'.'));
    return name;
}

void TMainForm::UpdateCaption()
{
    const QString program = QStringLiteral("KORVEN ") + QString::fromLatin1(kKorvenVersion);
    // "[*]" shows as "*" while the project holds unsaved changes.
    setWindowTitle(program + QStringLiteral(" - ") + DisplayName(QString::fromStdString(Project().FileName)) +
                   QStringLiteral("[*]"));
    UpdateChangedMark();
}

void TMainForm::UpdateChangedMark()
{
    FMarkPending = false;
    setWindowModified(Project().Changed());
}

void TMainForm::ScheduleChangedMark()
{
    // Every edit comes from a key, a click or a drop; the project's changed
    // state is looked at once those events are handled.
    if (FMarkPending)
        return;
    FMarkPending = true;
    QTimer::singleShot(0, this, [this] { UpdateChangedMark(); });
}

// ---- File commands ----

bool TMainForm::CloseQuery()
{
    if (!Project().Changed())
        return true;
    switch (Prompts().Ask(this, QStringLiteral("Do you want to save any changes?"))) {
    case Answer::Yes: return Save();
    case Answer::No: return true;
    case Answer::Cancel: break;
    }
    return false;
}

bool TMainForm::Save()
{
    const QString fileName = QString::fromStdString(Project().FileName);
    if (Project().FileName == TProgramData::DefaultFileName || HasExtension(fileName, "kvd"))
        return SaveAs();
    Project().SaveToFile();
    return true;
}

bool TMainForm::SaveAs()
{
    // Whatever happens, the toolbar follows and the child windows close.
    TFinally afterwards([this] {
        UpdateToolBar();
        CloseChildWindows();
    });
    QString preset = QString::fromStdString(Project().FileName);
    if (HasExtension(preset, "kvd"))
        preset = QString::fromStdString(SiblingFile(Project().FileName, ".kv3d").string());
    const FileChoice choice =
        Prompts().SaveFile(this, FileRequest(QStringLiteral("Save ") + DisplayName(preset) + QStringLiteral(" As"),
                                             OpenDialogFilter, preset, DefaultExtension));
    if (choice.Path.isEmpty())
        return false;
    // A save that fails leaves the project under its old name, still changed.
    const std::string previous = Project().FileName;
    Project().FileName = QFileInfo(choice.Path).absoluteFilePath().toStdString();
    try {
        Project().SaveToFile();
    } catch (...) {
        Project().FileName = previous;
        throw;
    }
    UpdateCaption();
    return true;
}

void TMainForm::ProjectReplaced()
{
    FUndo->clear();
    FProject->OnUnitsChanged = [this] { ShowProjectValues(); };
    ShowProjectValues();
    CurveSourceChanged();
    if (FCptWindow)
        FCptWindow->TakeProject();
}

void TMainForm::ShowProjectValues()
{
    ReloadDataDialogs(*FArea);
    if (FLoadTestWindow)
        FLoadTestWindow->LoadFields();
    if (FCalibrationWindow)
        FCalibrationWindow->ProjectChanged();
    UpdateMeasuredPoints();
    if (FSideView)
        FSideView->Refresh();
    if (FStudyWindow)
        FStudyWindow->Reload();
}

void TMainForm::FileNewClick()
{
    if (!CloseQuery())
        return;
    FProject.reset();
    FProject = std::make_unique<TProgramData>(FTables);
    ProjectReplaced();
    UpdateCaption();
    TakeResults(std::nullopt, true);
}

void TMainForm::FileOpenClick()
{
    if (!CloseQuery())
        return;
    const FileChoice choice =
        Prompts().OpenFile(this, FileRequest(QStringLiteral("Open"), OpenDialogFilter, {}, DefaultExtension));
    if (choice.Path.isEmpty())
        return;
    OpenProject(choice.Path, FullFormat(choice.Path), true);
}

void TMainForm::FileSaveClick() { Save(); }

void TMainForm::FileSaveAsClick() { SaveAs(); }

void TMainForm::FileExitClick() { close(); }

void TMainForm::RecentFileClick(int index)
{
    const QString path = FSettings.RecentFiles.at(index);
    if (path.isEmpty() || !CloseQuery())
        return;
    OpenProject(path, FullFormat(path), true);
}

void TMainForm::DropFiles(const QStringList& paths)
{
    if (paths.isEmpty() || !CloseQuery())
        return;
    OpenProject(paths.first(), FullFormat(paths.first()), true);
}

void TMainForm::OpenProject(const QString& path, bool fullFormat, bool addToRecent)
{
    const QFileInfo file(path);
    const QString fileName = file.absoluteFilePath();
    std::string error;
    std::unique_ptr<TProgramData> project =
        TProgramData::CreateFromFile(FTables, fileName.toStdString(), fullFormat, error);
    if (!project) {
        // Refused whole: the open project stays as it was, and a file that
        // cannot be read is no recent file.
        Prompts().Inform(this, QStringLiteral("The file \"%1\" was not opened:\n").arg(fileName) +
                                   QString::fromStdString(error));
        return;
    }
    FProject = std::move(project);
    QDir::setCurrent(file.absolutePath());
    ProjectReplaced();
    UpdateCaption();
    // Plot data of another project must not stay available.
    std::string unread;
    TakeResults(ReadRunResults(SiblingFile(Project().FileName, ".kv3p"), unread), true);
    if (addToRecent)
        FSettings.AddRecentFile(fileName);
    for (const std::string& notice : Project().ReadNotices)
        Prompts().Inform(this, QString::fromStdString(notice), PromptIcon::Warning);
}

void TMainForm::StartUp()
{
    FSettings.Read();
    if (FArguments.isEmpty())
        return;
    QString fileName = FArguments.first();
    if (!QFileInfo(fileName).fileName().contains(u'.'))
        fileName += QStringLiteral(".kv3d");
    if (QFileInfo::exists(fileName))
        OpenProject(fileName, FullFormat(fileName), false);
}

// ---- Analysis run ----

void TMainForm::CompRunClick()
{
    for (const std::string& warning : Project().RunWarnings())
        if (Prompts().Ask(this, QString::fromStdString(warning) + QStringLiteral("\n\nRun the analysis anyway?")) !=
            Answer::Yes)
            return;
    bool saved = true;
    try {
        saved = Save();
    } catch (const std::exception&) {
        // The run goes on with the file on disk.
        Prompts().Inform(this, QStringLiteral("An error occured during saving"), PromptIcon::None);
    }
    if (!saved || Project().FileName == TProgramData::DefaultFileName)
        return;

    if (FRunning) {
        Prompts().Inform(this, QStringLiteral("Attempt to reinitialize DLL"));
        return;
    }
    FRunning = true;
    const TFinally finished([this] { FRunning = false; });
    // The project's folder is the current folder; the names file goes into a
    // folder of this run's own, which is current only during the call.
    QDir::setCurrent(QFileInfo(QString::fromStdString(Project().FileName)).absolutePath());
    TRunOutcome outcome;
    {
        const TWaitCursor wait;
        // The library is loaded for this run only.
        TAnalysisRun run(EngineLibraryPath.toStdString());
        outcome = run.Run(Project().FileName);
    }
    switch (outcome.Step) {
    case TRunStep::NoFolder:
    case TRunStep::NoNamesFile:
        Prompts().Inform(this,
                         QStringLiteral("An error occured while writing file names:\n") +
                             QString::fromStdString(outcome.Error),
                         PromptIcon::None);
        return;
    case TRunStep::NoLibrary: Prompts().Inform(this, QStringLiteral("Attempt to initialize DLL failed")); return;
    case TRunStep::Ran: break;
    }
    const int32_t status = outcome.Status;
    if (status == 0) {
        Prompts().Inform(
            this,
            QStringLiteral("Computations are completed. Please, check output file for results or error messages."));
        if (!outcome.Results && QFileInfo::exists(ProjectFilePath(".kv3p")))
            Prompts().Inform(this, QString::fromStdString(PlotReadFailedMessage));
        TakeResults(std::move(outcome.Results), false);
    } else if (status == korven::kOutputNotWritten) {
        // The files on disk are still the previous run's, and so are the graphs.
        Prompts().Inform(this,
                         QStringLiteral("The results could not be written whole to \"%1\" and \"%2\" (the "
                                        "disk is full or refused them); the files of the previous run "
                                        "were kept.")
                             .arg(ProjectFilePath(".kv3o"), ProjectFilePath(".kv3p")),
                         PromptIcon::Warning);
    } else {
        // A refusal reads as one warning, never as success; the graphs show
        // what the run left, and the windows stay open for the correction.
        Prompts().Inform(this,
                         QStringLiteral("The analysis was not completed.\n") +
                             QString::fromStdString(EngineStatusText(status)),
                         PromptIcon::Warning);
        TakeResults(std::move(outcome.Results), false);
    }
    UpdateToolBar();
    if (status == 0)
        CloseChildWindows();
}

// ---- Windows ----

template <class W, class... A>
void TMainForm::ShowDataWindow(QPointer<W>& window, A&&... arguments)
{
    if (!window)
        window = new W(*FArea, std::forward<A>(arguments)...);
    window->ShowWindow();
}

void TMainForm::ShowTitleWindow() { ShowDataWindow(FTitleWindow, ProjectAccess()); }

void TMainForm::ShowPilePropertiesWindow() { ShowDataWindow(FMaterialWindow, ProjectAccess()); }

void TMainForm::ShowOptionsWindow() { ShowDataWindow(FOptionsWindow, FSettings.EditorPath); }

void TMainForm::ShowQwFactorsWindow() { ShowDataWindow(FQwFactorsWindow, ProjectAccess()); }

TProjectAccess TMainForm::ProjectAccess()
{
    return [this]() -> TProgramData& { return Project(); };
}

bool TMainForm::GraphsAvailable() const
{
    return FGraphs.PlotsAvailable && QFileInfo::exists(ProjectFilePath(".kv3p"));
}

void TMainForm::SoilLayerCoordinates1Click()
{
    if (!FSideView) {
        FSideView = new TDlgSideView(*FArea, FTables.D2, ProjectAccess());
        connect(FSideView, &TDlgSideView::Closed, this, [this] { FSideView = nullptr; });
        FSideView->ShowWindow();
    } else if (Project().SavedCurveSource == CurveSource::Generated) {
        FSideView->ShowWindow();
    }
}

void TMainForm::ShowGraph(TGraphPlot& graph)
{
    if (GraphsAvailable())
        ShowPlot(graph, *FArea);
}

void TMainForm::TakeResults(std::optional<TPlotData> results, bool anotherProject)
{
    FResults = std::move(results);
    if (anotherProject)
        ForgetProjectSettings(FGraphs);
    if (FResults)
        FillGraphs(FGraphs, *FResults, Project().Units());
    else
        ClearGraphs(FGraphs);
    UpdateCapacityLines();
    UpdateMeasuredPoints(true);
    UpdateToolBar();
}

void TMainForm::UpdateCapacityLines()
{
    FGraphs.pltAxial.Overlays.clear();
    if (!FResults || FResults->Units != Project().Units())
        return;
    const TPileForReadouts pile = PileForReadouts(Project());
    SetCapacityOverlays(FGraphs.pltAxial, ComputeReadouts(*FResults, pile), pile);
}

void TMainForm::ShowResultsSummary()
{
    if (!GraphsAvailable())
        return;
    if (FSummaryWindow) {
        FSummaryWindow->Reload();
    } else {
        FSummaryWindow = new TfrmResultsSummary(ProjectAccess(), [this] { return Results(); });
        FSummaryWindow->setAttribute(Qt::WA_DeleteOnClose);
        FArea->addSubWindow(FSummaryWindow);
    }
    FSummaryWindow->show();
    FArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(FSummaryWindow->parentWidget()));
}

void TMainForm::ShowCptWindow()
{
    if (!FCptWindow) {
        FCptWindow = new TfrmCpt(ProjectAccess(), [this] {
            ShowProjectValues();
            UpdateToolBar();
        });
        FCptWindow->setAttribute(Qt::WA_DeleteOnClose);
        FArea->addSubWindow(FCptWindow);
        connect(FArea, &QMdiArea::subWindowActivated, FCptWindow, [this](QMdiSubWindow* window) {
            if (window && window->widget() == FCptWindow)
                FCptWindow->Refresh();
        });
    }
    FCptWindow->showMaximized();
    FArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(FCptWindow->parentWidget()));
}

void TMainForm::WindowArrangeIconsClick()
{
    int left = 0;
    for (QMdiSubWindow* child : FArea->subWindowList()) {
        if (!child->isMinimized())
            continue;
        child->move(left, FArea->viewport()->height() - child->height());
        left += child->width();
    }
}

void TMainForm::CloseChildWindows() { FArea->closeAllSubWindows(); }

QString TMainForm::ProjectFilePath(const char* extension) const
{
    return QString::fromStdString(SiblingFile(Project().FileName, extension).string());
}

// ---- Text editor ----

void TMainForm::StartTextEditor(const QString& path, const QString& howToMake)
{
    if (!QFileInfo::exists(path))
        Prompts().Inform(this, QStringLiteral("The file \"%1\" does not exist yet. %2").arg(path, howToMake));
    else if (!::StartTextEditor(FSettings.EditorPath, path))
        Prompts().Inform(this, QStringLiteral("An error occurred in running the Word Processor"));
}

namespace {

const QString MadeByARun = QStringLiteral("Run the analysis (Computation, Run Analysis) to make it.");

}  // namespace

void TMainForm::EditInputClick()
{
    StartTextEditor(QString::fromStdString(Project().FileName),
                    QStringLiteral("Save the project (File, Save) to make it."));
}

void TMainForm::EditNotesClick() { StartTextEditor(ProjectFilePath(".kv3r"), MadeByARun); }

void TMainForm::EditOutputClick() { StartTextEditor(ProjectFilePath(".kv3o"), MadeByARun); }

// ---- Window events ----

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FStarted)
        return;
    FStarted = true;
    StartUp();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    bool closing = false;
    RunCommand([this, &closing] { closing = CloseQuery(); });
    if (!closing) {
        event->ignore();
        return;
    }
    FSettings.Write();
    CloseChildWindows();
    event->accept();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyRelease || type == QEvent::MouseButtonRelease || type == QEvent::Drop)
        ScheduleChangedMark();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* drop = static_cast<QDropEvent*>(event);
    QStringList paths;
    for (const QUrl& url : drop->mimeData()->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (widget == nullptr || widget->window() != this || paths.isEmpty())
        return QMainWindow::eventFilter(watched, event);
    // Other files dropped on a table-with-chart window are imported there,
    // also over its fields.
    if (!IsProjectFile(paths.first()))
        for (QWidget* parent = widget; parent != nullptr && parent != this; parent = parent->parentWidget())
            if (auto* chart = dynamic_cast<TTableChartForm*>(parent)) {
                if (parent == widget)
                    return QMainWindow::eventFilter(watched, event);
                QApplication::sendEvent(chart, event);
                return true;
            }
    // Files dropped anywhere on the window, its child windows included, are
    // projects to open, never text for the control under the mouse.
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        RunCommand([this, &paths] { DropFiles(paths); });
    return true;
}
