#include "MainForm.h"

#include "DataDialogs.h"
#include "DynamicLibrary.h"
#include "KorvenVersion.h"
#include "Periphery.h"
#include "PlotWindows.h"
#include "ProjectChild.h"
#include "TableForm.h"
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
#include <QToolBar>
#include <QUrl>

#include <exception>
#include <filesystem>

// Resources of a static library are registered only on request.
static void RegisterToolBarIcons()
{
    Q_INIT_RESOURCE(toolbar);
}

namespace {

// The file dialogs append it to a name typed without an extension.
const QString DefaultExtension = QStringLiteral("kv3d");
// Display names drop an extension of exactly this kind.
const QString ShortExtension = QStringLiteral("kv3");
constexpr int MaxWindowItems = 50;

bool HasExtension(const QString& path, const char* extension)
{
    return QFileInfo(path).suffix().toLower() == QLatin1String(extension);
}

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

QIcon ToolIcon(const char* themeName, const QString& ownPicture)
{
    return QIcon::fromTheme(QLatin1String(themeName), QIcon(QStringLiteral(":/toolbar/") + ownPicture));
}

}  // namespace

TMainForm::TMainForm(QStringList arguments, QWidget* parent)
    : QMainWindow(parent),
      EngineLibraryPath(QApplication::applicationDirPath() + QStringLiteral("/libKORVEN2014_DLL.so")),
      FProject(std::make_unique<TProgramData>(FTables)),
      FArguments(std::move(arguments)),
      FArea(new QMdiArea(this))
{
    FSettings.EditorPath = kDefaultTextEditor;
    setCentralWidget(FArea);
    InstallTableWindows(FArea);
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    setWindowIcon(ProgramIcon());
    CreateMenus();
    CreateToolBar();
    ProjectReplaced();
    UpdateCaption();
    UpdateToolBar();
}

TMainForm::~TMainForm()
{
    // Child windows show the tables and graphs; they go before them.
    delete FArea;
}

// ---- Menus and toolbar ----

void TMainForm::RunCommand(const std::function<void()>& command)
{
    try {
        if (CommitActiveChild())
            command();
    } catch (const std::exception& error) {
        Prompts().Inform(this, QString::fromLocal8Bit(error.what()));
    }
}

QAction* TMainForm::NewCommand(const QString& caption, std::function<void()> command)
{
    auto* action = new QAction(caption, this);
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] { RunCommand(command); });
    return action;
}

QAction* TMainForm::AddCommand(QMenu* menu, const QString& caption, std::function<void()> command,
                               const QKeySequence& shortcut)
{
    QAction* action = NewCommand(caption, std::move(command));
    action->setShortcut(shortcut);
    menu->addAction(action);
    return action;
}

QAction* TMainForm::AddSwitch(QMenu* menu, const QString& caption, bool TProgramData::*option)
{
    QAction* action = AddCommand(menu, caption, [this, option] { Project().*option = !(Project().*option); });
    action->setCheckable(true);
    FSwitches.push_back({action, option});
    return action;
}

void TMainForm::CreateMenus()
{
    QMenuBar* bar = menuBar();
    // Every menu, its submenus included, first takes the typed values of the
    // active child window, then sets the states of its items.
    const auto addMenu = [this](auto* parent, const QString& title) {
        QMenu* menu = parent->addMenu(title);
        connect(menu, &QMenu::aboutToShow, this, [this] { CommitActiveChild(); });
        return menu;
    };

    QMenu* file = addMenu(bar, QStringLiteral("&File"));
    AddCommand(file, QStringLiteral("&New"), [this] { FileNewClick(); }, QKeySequence(Qt::CTRL | Qt::Key_N));
    AddCommand(file, QStringLiteral("&Open..."), [this] { FileOpenClick(); },
               QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(file, QStringLiteral("&Save"), [this] { FileSaveClick(); }, QKeySequence(Qt::CTRL | Qt::Key_S));
    AddCommand(file, QStringLiteral("Save &As..."), [this] { FileSaveAsClick(); });
    file->addSeparator();
    for (int i = 0; i < TProgramSettings::RecentMax; ++i)
        FRecentActions.push_back(AddCommand(file, QString(), [this, i] { RecentFileClick(i); }));
    FRecentSeparator = file->addSeparator();
    AddCommand(file, QStringLiteral("E&xit"), [this] { FileExitClick(); });
    connect(file, &QMenu::aboutToShow, this, &TMainForm::FileMenuPopup);

    QMenu* data = addMenu(bar, QStringLiteral("&Data"));
    AddCommand(data, QStringLiteral("&Title"), [this] { ShowTitleWindow(); });
    AddCommand(data, QStringLiteral("&Pile Properties"), [this] { ShowPilePropertiesWindow(); });
    FSoilLayersItem = AddCommand(data, QStringLiteral("Soil &Layers"), [this] { FTables.D2.Show(); });
    FTzCurvesItem = AddCommand(data, QStringLiteral("Enter t-&z Curves"), [this] { FTables.TblTZDepth2.Show(); });
    FQwCurveItem = AddCommand(data, QStringLiteral("Enter Q-&w Curve"), [this] { FTables.TblQwcurve2.Show(); });
    FTipMovementsItem =
        AddCommand(data, QStringLiteral("Enter Tip &Movements"), [this] { FTables.TblTipMove.Show(); });
    FHeadLoadsItem =
        AddCommand(data, QStringLiteral("Enter Loads at Pile &Head"), [this] { FTables.TblTopload.Show(); });
    FSettlementItem = AddCommand(data, QStringLiteral("Enter Soil-&Settlement Data (for Downdrag)"),
                                 [this] { FTables.TblSettlement2.Show(); });
    FTzFactorsItem = AddCommand(data, QStringLiteral("Enter Modification Factors on t-z Curves"),
                                [this] { FTables.TblTZFactors2.Show(); });
    FQwFactorsItem = AddCommand(data, QStringLiteral("Enter Modification Factors on Q-w Curve"),
                                [this] { ShowQwFactorsWindow(); });
    connect(data, &QMenu::aboutToShow, this, &TMainForm::DataMenuPopup);

    QMenu* options = addMenu(bar, QStringLiteral("&Options"));
    QMenu* units = addMenu(options, QStringLiteral("&Units"));
    FEnglishItem = AddCommand(units, QStringLiteral("&English Units (lb, in)"), [this] { Project().SetUnits(UnitSystem::English); });
    FSIItem = AddCommand(units, QStringLiteral("&S.I. Units (kN, m)"), [this] { Project().SetUnits(UnitSystem::SI); });
    QMenu* curves = addMenu(options, QStringLiteral("t-z/Q-w &Curves"));
    FGeneratedItem = AddCommand(curves, QStringLiteral("Generated by the program"), [this] { SetCurvesGenerated(true); });
    FUserCurvesItem = AddCommand(curves, QStringLiteral("Entered by the user"), [this] { SetCurvesGenerated(false); });
    for (QAction* radio : {FEnglishItem, FSIItem, FGeneratedItem, FUserCurvesItem})
        radio->setCheckable(true);
    QMenu* loads = addMenu(options, QStringLiteral("Load Method"));
    AddSwitch(loads, QStringLiteral("Specify &Tip Movements"), &TProgramData::UseTipMovements);
    AddSwitch(loads, QStringLiteral("Assign &Loads at Pile Head"), &TProgramData::UseHeadLoads);
    AddSwitch(options, QStringLiteral("Include &Down-Drag (negative Skin Friction)"), &TProgramData::Downdrag);
    AddSwitch(options, QStringLiteral("Apply Modification Factors on t-z Curves"), &TProgramData::ApplyTzFactors);
    AddSwitch(options, QStringLiteral("Apply Modification Factors on Q-w Curve"), &TProgramData::ApplyQwFactors);
    options->addSeparator();
    AddCommand(options, QStringLiteral("Selection of Text &Editor ..."), [this] { ShowOptionsWindow(); });
    for (QMenu* menu : {options, units, curves, loads})
        connect(menu, &QMenu::aboutToShow, this, &TMainForm::OptionsMenuPopup);

    QMenu* computation = addMenu(bar, QStringLiteral("&Computation"));
    AddCommand(computation, QStringLiteral("&Run Analysis"), [this] { CompRunClick(); });
    computation->addSeparator();
    FEditInputItem = AddCommand(computation, QStringLiteral("Edit &Input Text"), [this] { EditInputClick(); });
    FEditNotesItem = AddCommand(computation, QStringLiteral("Edit &Processor-Run Notes"), [this] { EditNotesClick(); });
    FEditOutputItem = AddCommand(computation, QStringLiteral("Edit &Output Text"), [this] { EditOutputClick(); });
    connect(computation, &QMenu::aboutToShow, this, &TMainForm::ComputationMenuPopup);

    QMenu* graphics = addMenu(bar, QStringLiteral("&Graphics"));
    FGraphItems = {
        AddCommand(graphics, QStringLiteral("Load &Distribution"), [this] { ShowGraph(FGraphs.pltLoad); }),
        AddCommand(graphics, QStringLiteral("&Axial Load vs Settlement"), [this] { ShowGraph(FGraphs.pltAxial); }),
        AddCommand(graphics, QStringLiteral("t-&z Curves (side friction)"), [this] { ShowGraph(FGraphs.pltTZcurves); }),
        AddCommand(graphics, QStringLiteral("Q-&w Curve (tip resistance)"), [this] { ShowGraph(FGraphs.PltQW); }),
    };
    connect(graphics, &QMenu::aboutToShow, this, &TMainForm::GraphicsMenuPopup);

    FWindowMenu = addMenu(bar, QStringLiteral("&Window"));
    AddCommand(FWindowMenu, QStringLiteral("&Cascade"), [this] { FArea->cascadeSubWindows(); });
    AddCommand(FWindowMenu, QStringLiteral("&Arrange Icons"), [this] { WindowArrangeIconsClick(); });
    FWindowSeparator = FWindowMenu->addSeparator();
    connect(FWindowMenu, &QMenu::aboutToShow, this, &TMainForm::WindowMenuPopup);

    QMenu* help = addMenu(bar, QStringLiteral("&Help"));
    AddCommand(help, QStringLiteral("&Contents"), [] { OpenProgramDocument(kHelpFile); });
    AddCommand(help, QStringLiteral("User's Manual"), [] { OpenProgramDocument(kUsersManual); });
    AddCommand(help, QStringLiteral("Technical Manual"), [] { OpenProgramDocument(kTechnicalManual); });
    help->addSeparator();
    AddCommand(help, QStringLiteral("&About..."), [this] { ShowAboutBox(this); });
    AddCommand(help, QStringLiteral("Check for Updates"), [this] { CheckForUpdates(this); });
}

void TMainForm::CreateToolBar()
{
    RegisterToolBarIcons();
    QToolBar* tools = addToolBar(QStringLiteral("Tools"));
    tools->setObjectName(QStringLiteral("Tools"));
    const auto add = [&](const QString& hint, const char* theme, const QString& picture,
                         std::function<void()> command) {
        QAction* button = NewCommand(hint, std::move(command));
        button->setIcon(ToolIcon(theme, picture));
        tools->addAction(button);
        return button;
    };
    add(QStringLiteral("New File"), "document-new", QStringLiteral("new.svg"), [this] { FileNewClick(); });
    add(QStringLiteral("Open File"), "document-open", QStringLiteral("open.svg"), [this] { FileOpenClick(); });
    add(QStringLiteral("Save File"), "document-save", QStringLiteral("save.svg"), [this] { FileSaveClick(); });
    tools->addSeparator();
    add(QStringLiteral("Run Analysis"), "system-run", QStringLiteral("run.svg"), [this] { CompRunClick(); });
    FSoilLayersButton = add(QStringLiteral("Soil-Layer Data"), "", QStringLiteral("layers.svg"),
                            [this] { FTables.D2.Show(); });
    add(QStringLiteral("Edit Output Text"), "accessories-text-editor", QStringLiteral("output.svg"),
        [this] { EditOutputClick(); });
    tools->addSeparator();
    FGraphButtons = {
        add(QStringLiteral("View Load Distribution Plot"), "", QStringLiteral("load-distribution.svg"),
            [this] { ShowGraph(FGraphs.pltLoad); }),
        add(QStringLiteral("View Load vs Settlement"), "", QStringLiteral("load-settlement.svg"),
            [this] { ShowGraph(FGraphs.pltAxial); }),
        add(QStringLiteral("View t-z Curves"), "", QStringLiteral("tz-curves.svg"),
            [this] { ShowGraph(FGraphs.pltTZcurves); }),
        add(QStringLiteral("View Q-w Curve"), "", QStringLiteral("qw-curve.svg"), [this] { ShowGraph(FGraphs.PltQW); }),
    };
}

bool TMainForm::CommitActiveChild()
{
    QMdiSubWindow* active = FArea->activeSubWindow();
    if (active == nullptr)
        return true;
    if (auto* table = qobject_cast<TTableFormBase*>(active->widget()))
        return table->CommitCell();
    auto* child = dynamic_cast<TProjectChild*>(active->widget());
    return child == nullptr || child->StoreFields();
}

void TMainForm::FileMenuPopup()
{
    const QString folder = QDir::currentPath();
    const int count = FSettings.RecentCount();
    for (int i = 0; i < TProgramSettings::RecentMax; ++i) {
        FRecentActions[i]->setVisible(i < count);
        if (i < count)
            FRecentActions[i]->setText(RecentFileCaption(i, FSettings.RecentFiles[i], folder));
    }
    FRecentSeparator->setVisible(count > 0);
}

void TMainForm::DataMenuPopup()
{
    const TProgramData& project = Project();
    FSoilLayersItem->setEnabled(project.CurvesGenerated);
    FTzCurvesItem->setEnabled(!project.CurvesGenerated);
    FQwCurveItem->setEnabled(!project.CurvesGenerated);
    FTipMovementsItem->setEnabled(project.UseTipMovements);
    FHeadLoadsItem->setEnabled(project.UseHeadLoads);
    FSettlementItem->setEnabled(project.Downdrag);
    FTzFactorsItem->setEnabled(project.ApplyTzFactors);
    FQwFactorsItem->setEnabled(project.ApplyQwFactors);
}

void TMainForm::OptionsMenuPopup()
{
    const TProgramData& project = Project();
    FEnglishItem->setChecked(project.Units() == UnitSystem::English);
    FSIItem->setChecked(project.Units() == UnitSystem::SI);
    FGeneratedItem->setChecked(project.CurvesGenerated);
    FUserCurvesItem->setChecked(!project.CurvesGenerated);
    for (const TSwitchItem& item : FSwitches)
        item.Action->setChecked(project.*item.Option);
}

void TMainForm::ComputationMenuPopup()
{
    FEditInputItem->setEnabled(QFileInfo::exists(QString::fromStdString(Project().FileName)));
    FEditNotesItem->setEnabled(QFileInfo::exists(ProjectFilePath(".kv3r")));
    FEditOutputItem->setEnabled(QFileInfo::exists(ProjectFilePath(".kv3o")));
}

void TMainForm::GraphicsMenuPopup()
{
    const bool available = GraphsAvailable();
    for (QAction* item : FGraphItems)
        item->setEnabled(available);
}

void TMainForm::WindowMenuPopup()
{
    for (QAction* item : FWindowActions)
        delete item;
    FWindowActions.clear();
    const QList<QMdiSubWindow*> children = FArea->subWindowList();
    FWindowSeparator->setVisible(!children.isEmpty());
    for (QMdiSubWindow* child : children) {
        if (static_cast<int>(FWindowActions.size()) == MaxWindowItems)
            break;
        QString caption = child->windowTitle();
        QAction* item = FWindowMenu->addAction(caption.replace(u'&', QStringLiteral("&&")));
        item->setCheckable(true);
        item->setChecked(child == FArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, child = QPointer<QMdiSubWindow>(child)] {
            if (child == nullptr)
                return;
            if (child->isMinimized())
                child->showNormal();
            FArea->setActiveSubWindow(child);
        });
        FWindowActions.push_back(item);
    }
}

void TMainForm::UpdateToolBar()
{
    FSoilLayersButton->setEnabled(Project().CurvesGenerated);
    const bool available = GraphsAvailable();
    for (QAction* button : FGraphButtons)
        button->setEnabled(available);
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
    setWindowTitle(program + QStringLiteral(" - ") + DisplayName(QString::fromStdString(Project().FileName)));
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
        preset = QString::fromStdString(std::filesystem::path(Project().FileName).replace_extension(".kv3d").string());
    const FileChoice choice = Prompts().SaveFile(
        this, FileRequest(QStringLiteral("Save ") + DisplayName(preset) + QStringLiteral(" As"), OpenDialogFilter,
                          preset, DefaultExtension));
    if (choice.Path.isEmpty())
        return false;
    Project().FileName = QFileInfo(choice.Path).absoluteFilePath().toStdString();
    UpdateCaption();
    Project().SaveToFile();
    return true;
}

void TMainForm::ProjectReplaced()
{
    FProject->OnUnitsChanged = [this] { ReloadDataDialogs(*FArea); };
    ReloadDataDialogs(*FArea);
}

void TMainForm::FileNewClick()
{
    if (!CloseQuery())
        return;
    FProject.reset();
    FProject = std::make_unique<TProgramData>(FTables);
    ProjectReplaced();
    UpdateCaption();
    FGraphs.PlotsAvailable = false;
    UpdateToolBar();
}

void TMainForm::FileOpenClick()
{
    if (!CloseQuery())
        return;
    const FileChoice choice =
        Prompts().OpenFile(this, FileRequest(QStringLiteral("Open"), OpenDialogFilter, {}, DefaultExtension));
    if (choice.Path.isEmpty())
        return;
    // The second filter is the older format.
    OpenProject(choice.Path, choice.FilterIndex != 1, true);
}

void TMainForm::FileSaveClick()
{
    Save();
}

void TMainForm::FileSaveAsClick()
{
    SaveAs();
}

void TMainForm::FileExitClick()
{
    close();
}

void TMainForm::RecentFileClick(int index)
{
    const QString path = FSettings.RecentFiles.at(index);
    if (path.isEmpty() || !CloseQuery())
        return;
    OpenProject(path, HasExtension(path, "kv3d"), true);
}

void TMainForm::DropFiles(const QStringList& paths)
{
    if (paths.isEmpty() || !CloseQuery())
        return;
    OpenProject(paths.first(), HasExtension(paths.first(), "kv3d"), true);
}

void TMainForm::OpenProject(const QString& path, bool fullFormat, bool addToRecent)
{
    const QFileInfo file(path);
    const QString fileName = file.absoluteFilePath();
    FProject.reset();
    QDir::setCurrent(file.absolutePath());
    std::string error;
    FProject = TProgramData::CreateFromFile(FTables, fileName.toStdString(), fullFormat, error);
    ProjectReplaced();
    if (!error.empty())
        Prompts().Inform(this, QString::fromStdString(error));
    UpdateCaption();
    // Plot data of another project must not stay available.
    const QString plotFile = ProjectFilePath(".kv3p");
    FGraphs.PlotsAvailable = QFileInfo::exists(plotFile) &&
                             ReadPlotFile(FGraphs, plotFile.toStdString(), Project().Units(), false, this);
    UpdateToolBar();
    if (addToRecent)
        FSettings.AddRecentFile(fileName);
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
        OpenProject(fileName, true, false);
}

void TMainForm::SetCurvesGenerated(bool generated)
{
    Project().CurvesGenerated = generated;
    UpdateToolBar();
}

// ---- Windows ----

template <class W, class... A>
void TMainForm::ShowDataWindow(QPointer<W>& window, A&&... arguments)
{
    if (!window)
        window = new W(*FArea, std::forward<A>(arguments)...);
    window->ShowWindow();
}

void TMainForm::ShowTitleWindow()
{
    ShowDataWindow(FTitleWindow, ProjectAccess());
}

void TMainForm::ShowPilePropertiesWindow()
{
    ShowDataWindow(FMaterialWindow, ProjectAccess());
}

void TMainForm::ShowOptionsWindow()
{
    ShowDataWindow(FOptionsWindow, FSettings.EditorPath);
}

void TMainForm::ShowQwFactorsWindow()
{
    ShowDataWindow(FQwFactorsWindow, ProjectAccess());
}

TProjectAccess TMainForm::ProjectAccess()
{
    return [this]() -> TProgramData& { return Project(); };
}

bool TMainForm::GraphsAvailable() const
{
    return FGraphs.PlotsAvailable && QFileInfo::exists(ProjectFilePath(".kv3p"));
}

void TMainForm::ShowGraph(TGraphPlot& graph)
{
    if (GraphsAvailable())
        ShowPlot(graph, *FArea);
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

void TMainForm::CloseChildWindows()
{
    FArea->closeAllSubWindows();
}

QString TMainForm::ProjectFilePath(const char* extension) const
{
    return QString::fromStdString(std::filesystem::path(Project().FileName).replace_extension(extension).string());
}

// ---- Text editor ----

void TMainForm::StartTextEditor(const QString& path)
{
    if (!Launcher().StartProgram(FSettings.EditorPath, {path}))
        Prompts().Inform(this, QStringLiteral("An error occurred in running the Word Processor"));
}

void TMainForm::EditInputClick()
{
    StartTextEditor(QString::fromStdString(Project().FileName));
}

void TMainForm::EditNotesClick()
{
    StartTextEditor(ProjectFilePath(".kv3r"));
}

void TMainForm::EditOutputClick()
{
    StartTextEditor(ProjectFilePath(".kv3o"));
}

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
    // Files dropped anywhere on the window, its child windows included, are
    // projects to open, never text for the control under the mouse.
    drop->acceptProposedAction();
    if (type == QEvent::Drop)
        RunCommand([this, &paths] { DropFiles(paths); });
    return true;
}
