// Menus and toolbar of the main window: building them, enabling their
// items as each menu opens, and running the command an item stands for.

#include "MainForm.h"

#include "Periphery.h"
#include "PlotWindows.h"
#include "ProjectChild.h"
#include "ProjectReport.h"
#include "ReportContent.h"
#include "StudyWindow.h"
#include "TableForm.h"
#include "UserPrompts.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include <exception>
#include <utility>

// Resources of a static library are registered only on request.
static void RegisterToolBarIcons() { Q_INIT_RESOURCE(toolbar); }

namespace {

constexpr int MaxWindowItems = 50;

QIcon ToolIcon(const char* themeName, const QString& ownPicture)
{
    return QIcon::fromTheme(QLatin1String(themeName), QIcon(QStringLiteral(":/toolbar/") + ownPicture));
}

}  // namespace

// ---- Menus and toolbar ----

void TMainForm::RunCommand(const std::function<void()>& command)
{
    try {
        if (CommitActiveChild())
            command();
    } catch (const std::exception& error) {
        Prompts().Inform(this, QString::fromLocal8Bit(error.what()));
    }
    UpdateChangedMark();
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
    QAction* action =
        AddCommand(menu, caption, [this, option] { Project().SetSwitch(option, !(Project().*option)); });
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
    AddCommand(
        file, QStringLiteral("&New"), [this] { FileNewClick(); }, QKeySequence(Qt::CTRL | Qt::Key_N));
    AddCommand(
        file, QStringLiteral("&Open..."), [this] { FileOpenClick(); }, QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(
        file, QStringLiteral("&Save"), [this] { FileSaveClick(); }, QKeySequence(Qt::CTRL | Qt::Key_S));
    AddCommand(file, QStringLiteral("Save &As..."), [this] { FileSaveAsClick(); });
    AddCommand(file, QStringLiteral("Export &Report as PDF..."), [this] { ExportReportClick(); });
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
    FTipMovementsItem = AddCommand(data, QStringLiteral("Enter Tip &Movements"), [this] { FTables.TblTipMove.Show(); });
    FHeadLoadsItem =
        AddCommand(data, QStringLiteral("Enter Loads at Pile &Head"), [this] { FTables.TblTopload.Show(); });
    FSettlementItem = AddCommand(data, QStringLiteral("Enter Soil-&Settlement Data (for Downdrag)"),
                                 [this] { FTables.TblSettlement2.Show(); });
    FTzFactorsItem = AddCommand(data, QStringLiteral("Enter Modification Factors on t-z Curves"),
                                [this] { FTables.TblTZFactors2.Show(); });
    FQwFactorsItem =
        AddCommand(data, QStringLiteral("Enter Modification Factors on Q-w Curve"), [this] { ShowQwFactorsWindow(); });
    connect(data, &QMenu::aboutToShow, this, &TMainForm::DataMenuPopup);

    QMenu* options = addMenu(bar, QStringLiteral("&Options"));
    QMenu* units = addMenu(options, QStringLiteral("&Units"));
    FEnglishItem = AddCommand(units, QStringLiteral("&English Units (lb, in)"),
                              [this] { Project().SetUnits(UnitSystem::English); });
    FSIItem = AddCommand(units, QStringLiteral("&S.I. Units (kN, m)"), [this] { Project().SetUnits(UnitSystem::SI); });
    QMenu* curves = addMenu(options, QStringLiteral("t-z/Q-w &Curves"));
    FGeneratedItem =
        AddCommand(curves, QStringLiteral("Generated by the program"), [this] { SetCurvesGenerated(true); });
    FUserCurvesItem = AddCommand(curves, QStringLiteral("Entered by the user"), [this] { SetCurvesGenerated(false); });
    // Units and the source of the curves are one of two each; the two load
    // methods are independent switches (a project may have both).
    for (const auto& pair : {std::pair{FEnglishItem, FSIItem}, std::pair{FGeneratedItem, FUserCurvesItem}}) {
        auto* group = new QActionGroup(this);
        group->setExclusive(true);
        for (QAction* radio : {pair.first, pair.second}) {
            radio->setCheckable(true);
            group->addAction(radio);
        }
    }
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
    computation->addSeparator();
    AddCommand(computation, QStringLiteral("&View Soil Layer Coordinates"), [this] { SoilLayerCoordinates1Click(); });
    computation->addSeparator();
    AddCommand(computation, QStringLiteral("&Studies..."), [this] { ShowStudies(); });
    connect(computation, &QMenu::aboutToShow, this, &TMainForm::ComputationMenuPopup);

    QMenu* graphics = addMenu(bar, QStringLiteral("&Graphics"));
    FGraphItems = {
        AddCommand(graphics, QStringLiteral("Load &Distribution"), [this] { ShowGraph(FGraphs.pltLoad); }),
        AddCommand(graphics, QStringLiteral("&Axial Load vs Settlement"), [this] { ShowGraph(FGraphs.pltAxial); }),
        AddCommand(graphics, QStringLiteral("t-&z Curves (side friction)"), [this] { ShowGraph(FGraphs.pltTZcurves); }),
        AddCommand(graphics, QStringLiteral("Q-&w Curve (tip resistance)"), [this] { ShowGraph(FGraphs.PltQW); }),
    };
    graphics->addSeparator();
    FExportItem = AddCommand(graphics, QStringLiteral("Export Plots to Excel"), [this] { ExportPlotsClick(); });
    graphics->addSeparator();
    FGraphItems.push_back(AddCommand(graphics, QStringLiteral("Results &Summary"), [this] { ShowResultsSummary(); }));
    connect(graphics, &QMenu::aboutToShow, this, &TMainForm::GraphicsMenuPopup);

    FWindowMenu = addMenu(bar, QStringLiteral("&Window"));
    AddCommand(FWindowMenu, QStringLiteral("&Cascade"), [this] { FArea->cascadeSubWindows(); });
    AddCommand(FWindowMenu, QStringLiteral("&Arrange Icons"), [this] { WindowArrangeIconsClick(); });
    FWindowSeparator = FWindowMenu->addSeparator();
    connect(FWindowMenu, &QMenu::aboutToShow, this, &TMainForm::WindowMenuPopup);

    QMenu* help = addMenu(bar, QStringLiteral("&Help"));
    AddCommand(help, QStringLiteral("&Contents"), [this] { OpenProgramDocument(this, kHelpFile); });
    AddCommand(help, QStringLiteral("User's Manual"), [this] { OpenProgramDocument(this, kUsersManual); });
    AddCommand(help, QStringLiteral("Technical Manual"), [this] { OpenProgramDocument(this, kTechnicalManual); });
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
    FSoilLayersButton =
        add(QStringLiteral("Soil-Layer Data"), "", QStringLiteral("layers.svg"), [this] { FTables.D2.Show(); });
    add(QStringLiteral("Edit Output Text"), "accessories-text-editor", QStringLiteral("output.svg"),
        [this] { EditOutputClick(); });
    add(QStringLiteral("View Soil Profile"), "", QStringLiteral("soil-profile.svg"),
        [this] { SoilLayerCoordinates1Click(); });
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
    FExportItem->setEnabled(available);
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

void TMainForm::ShowStudies()
{
    if (!FStudyWindow) {
        FStudyWindow = new TStudyWindow(*FArea, ProjectAccess());
        FStudyWindow->setAttribute(Qt::WA_DeleteOnClose);
        FArea->addSubWindow(FStudyWindow)->resize(1000, 740);
    }
    FStudyWindow->show();
    FArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(FStudyWindow->parentWidget()));
}

bool TMainForm::AskStudyForReport(TReportSources& sources)
{
    const TStudyOutcome* study = FStudyWindow ? FStudyWindow->Outcome() : nullptr;
    if (!study)
        return true;
    const Answer answer = Prompts().Ask(this, QStringLiteral("Add the results of the study \"%1\" to the report?")
                                                  .arg(QString::fromStdString(study->Study.Name)));
    if (answer == Answer::Yes) {
        sources.StudyHtml = StudyHtml(*study);
        sources.StudyFigures = ReportFigures(FStudyWindow->Graphs(), study->Study);
    }
    return answer != Answer::Cancel;
}
