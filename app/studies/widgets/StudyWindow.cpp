#include "StudyWindow.h"

#include "PlotForm.h"
#include "PlotWindows.h"
#include "StudyEditor.h"
#include "StudyExtras.h"
#include "StudyRunner.h"
#include "StudyWorkbook.h"
#include "UserPrompts.h"
#include "WordReader.h"

#include <QCloseEvent>
#include <QDir>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

// A new study of a kind, named apart from the others.
TStudy NewDefinition(bool probabilistic, const std::vector<TStudy>& others)
{
    TStudy study;
    const std::string stem = probabilistic ? "Probabilistic study " : "Parametric study ";
    for (int n = 1;; ++n) {
        study.Name = stem + std::to_string(n);
        if (std::none_of(others.begin(), others.end(), [&](const TStudy& s) { return s.Name == study.Name; }))
            break;
    }
    if (probabilistic) {
        TProbabilisticStudy definition;
        TRandomInput tip;
        tip.Input.Target = TStudyTarget::QMultiplier;
        tip.Input.Mode = TValueMode::Factor;
        tip.Distribution.Min = 0;
        definition.Inputs = {tip};
        definition.SettlementLoad = 1;
        study.Definition = definition;
    } else {
        TParametricStudy definition;
        definition.Input.Mode = TValueMode::Factor;
        definition.Sweep = {true, 0.8, 1.2, 5, {}};
        study.Definition = definition;
    }
    return study;
}

}  // namespace

TStudyWindow::TStudyWindow(QMdiArea& area, std::function<TProgramData&()> project, QWidget* parent)
    : QWidget(parent), FArea(area), FProject(std::move(project))
{
    setWindowTitle(QStringLiteral("Studies"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Study:")));
    FStudyList = new QComboBox;
    FStudyList->setMinimumContentsLength(24);
    top->addWidget(FStudyList, 1);
    FNewParametric = new QPushButton(QStringLiteral("New &Parametric"));
    FNewProbabilistic = new QPushButton(QStringLiteral("New Pro&babilistic"));
    FDelete = new QPushButton(QStringLiteral("&Delete"));
    top->addWidget(FNewParametric);
    top->addWidget(FNewProbabilistic);
    top->addWidget(FDelete);
    layout->addLayout(top);

    FEditor = new TStudyEditor;
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(FEditor);
    splitter->addWidget(BuildResults());
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    connect(FNewParametric, &QPushButton::clicked, this, [this] { NewStudy(false); });
    connect(FNewProbabilistic, &QPushButton::clicked, this, [this] { NewStudy(true); });
    connect(FDelete, &QPushButton::clicked, this, &TStudyWindow::DeleteStudy);
    connect(FStudyList, &QComboBox::activated, this, [this](int index) {
        if (index == FCurrent)
            return;
        if (!Store(true)) {
            FStudyList->setCurrentIndex(FCurrent);
            return;
        }
        ShowStudy(index);
    });
    connect(FEditor, &TStudyEditor::Edited, this, [this] { Store(false); });
    Reload();
}

QWidget* TStudyWindow::BuildResults()
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* run = new QHBoxLayout;
    FRun = new QPushButton(QStringLiteral("&Run Study"));
    FCancel = new QPushButton(QStringLiteral("Cance&l"));
    FProgress = new QProgressBar;
    FStatus = new QLabel;
    run->addWidget(FRun);
    run->addWidget(FCancel);
    run->addWidget(FProgress, 1);
    run->addWidget(FStatus, 1);
    layout->addLayout(run);
    FSummary = new QLabel;
    FSummary->setWordWrap(true);
    FSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(FSummary);

    auto* tables = new QHBoxLayout;
    tables->addWidget(new QLabel(QStringLiteral("&Table:")));
    FTableList = new QComboBox;
    qobject_cast<QLabel*>(tables->itemAt(0)->widget())->setBuddy(FTableList);
    tables->addWidget(FTableList);
    tables->addStretch();
    FCsvButton = new QPushButton(QStringLiteral("Export &CSV..."));
    FWorkbookButton = new QPushButton(QStringLiteral("Export &Workbook..."));
    tables->addWidget(FCsvButton);
    tables->addWidget(FWorkbookButton);
    layout->addLayout(tables);
    FTable = new QTableWidget;
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(FTable, 1);

    auto* graphs = new QHBoxLayout;
    graphs->addWidget(new QLabel(QStringLiteral("Graphs:")));
    FCurvesButton = new QPushButton(QStringLiteral("Load-Settlement"));
    FLoadsButton = new QPushButton(QStringLiteral("Capacity Loads"));
    FSettlementsButton = new QPushButton(QStringLiteral("Settlements"));
    FReadoutList = new QComboBox;
    FHistogramButton = new QPushButton(QStringLiteral("&Histogram"));
    FTornadoButton = new QPushButton(QStringLiteral("T&ornado"));
    for (QWidget* widget : std::initializer_list<QWidget*>{FCurvesButton, FLoadsButton, FSettlementsButton,
                                                           FReadoutList, FHistogramButton, FTornadoButton})
        graphs->addWidget(widget);
    graphs->addStretch();
    layout->addLayout(graphs);

    connect(FRun, &QPushButton::clicked, this, &TStudyWindow::RunStudy);
    connect(FCancel, &QPushButton::clicked, this, &TStudyWindow::CancelStudy);
    connect(FTableList, &QComboBox::activated, this, &TStudyWindow::ShowTable);
    connect(FCsvButton, &QPushButton::clicked, this, &TStudyWindow::ExportCsv);
    connect(FWorkbookButton, &QPushButton::clicked, this, &TStudyWindow::ExportWorkbook);
    connect(FCurvesButton, &QPushButton::clicked, this, [this] { ShowGraph(FGraphs.Curves); });
    connect(FLoadsButton, &QPushButton::clicked, this, [this] { ShowGraph(FGraphs.Loads); });
    connect(FSettlementsButton, &QPushButton::clicked, this, [this] { ShowGraph(FGraphs.Settlements); });
    connect(FHistogramButton, &QPushButton::clicked, this, [this] {
        FillHistogram(FGraphs.Histogram, FOutcome->Summary, static_cast<std::size_t>(FReadoutList->currentIndex()));
        ShowGraph(FGraphs.Histogram);
    });
    connect(FTornadoButton, &QPushButton::clicked, this, [this] { ShowGraph(FGraphs.Tornado); });
    SetRunning(false);
    return box;
}

TStudyWindow::~TStudyWindow()
{
    StopWorker();
    for (const QPointer<QWidget>& window : FOpenedPlots)
        delete window.data();
}

void TStudyWindow::closeEvent(QCloseEvent* event)
{
    StopWorker();
    Store(false);
    for (QWidget* window : PlotWindows())
        window->close();
    event->accept();
}

void TStudyWindow::StopWorker()
{
    FCancelFlag = true;
    if (FWorker.joinable())
        FWorker.join();
}

std::vector<QWidget*> TStudyWindow::PlotWindows() const
{
    std::vector<QWidget*> windows;
    for (QMdiSubWindow* window : FArea.subWindowList()) {
        const auto* form = qobject_cast<TPlotForm*>(window->widget());
        if (form == nullptr)
            continue;
        const TGraphPlot* graph = &form->Graph();
        if (graph == &FGraphs.Curves || graph == &FGraphs.Loads || graph == &FGraphs.Settlements ||
            graph == &FGraphs.Histogram || graph == &FGraphs.Tornado)
            windows.push_back(window);
    }
    return windows;
}

void TStudyWindow::Reload()
{
    // Results of the project before go, with their graphs.
    StopWorker();
    FOutcome.reset();
    for (QWidget* window : PlotWindows())
        window->close();
    FSummary->clear();
    FTableList->clear();
    ShowTable(-1);
    std::string error;
    try {
        FStudies = StudiesOf(FProject().Extras, FProject().Units());
    } catch (const EStudyError& e) {
        // Left in the extras file as it is until the user defines a study here.
        FStudies.clear();
        error = e.what();
    }
    FCurrent = -1;
    FStudyList->clear();
    for (const TStudy& study : FStudies)
        FStudyList->addItem(QString::fromStdString(study.Name));
    ShowStudy(FStudies.empty() ? -1 : 0);
    if (!error.empty())
        FStatus->setText(QStringLiteral("The project's studies cannot be read: %1").arg(QString::fromStdString(error)));
}

void TStudyWindow::ShowStudy(int index)
{
    FCurrent = index;
    FStudyList->setCurrentIndex(index);
    FEditor->setEnabled(index >= 0);
    if (index >= 0) {
        FEditor->Load(FStudies[static_cast<std::size_t>(index)], FProject().Units());
        FStatus->clear();
    } else {
        FStatus->setText(QStringLiteral("No study yet: make one with New Parametric or New Probabilistic."));
    }
    SetRunning(false);
}

bool TStudyWindow::Store(bool tell)
{
    if (FCurrent < 0)
        return true;
    try {
        TStudy study = FEditor->Study();
        for (std::size_t i = 0; i < FStudies.size(); ++i)
            if (static_cast<int>(i) != FCurrent && FStudies[i].Name == study.Name)
                throw EStudyError("name: another study is called \"" + study.Name + "\"");
        FStudies[static_cast<std::size_t>(FCurrent)] = std::move(study);
    } catch (const EStudyError& error) {
        if (tell)
            Prompts().Inform(this, QStringLiteral("The study cannot be used as it stands.\n%1")
                                       .arg(QString::fromStdString(error.what())),
                             PromptIcon::Warning);
        else
            FStatus->setText(QString::fromStdString(error.what()));
        return false;
    }
    FStudyList->setItemText(FCurrent, QString::fromStdString(FStudies[static_cast<std::size_t>(FCurrent)].Name));
    if (!Running())
        FStatus->clear();
    KeepStudies(FProject(), FStudies);
    return true;
}

void TStudyWindow::NewStudy(bool probabilistic)
{
    if (!Store(true))
        return;
    FStudies.push_back(NewDefinition(probabilistic, FStudies));
    FStudyList->addItem(QString::fromStdString(FStudies.back().Name));
    ShowStudy(static_cast<int>(FStudies.size()) - 1);
    KeepStudies(FProject(), FStudies);
}

void TStudyWindow::DeleteStudy()
{
    if (FCurrent < 0)
        return;
    const QString name = QString::fromStdString(FStudies[static_cast<std::size_t>(FCurrent)].Name);
    if (Prompts().Ask(this, QStringLiteral("Delete the study \"%1\" from the project?").arg(name)) != Answer::Yes)
        return;
    FStudies.erase(FStudies.begin() + FCurrent);
    FStudyList->removeItem(FCurrent);
    ShowStudy(FStudies.empty() ? -1 : std::min(FCurrent, static_cast<int>(FStudies.size()) - 1));
    KeepStudies(FProject(), FStudies);
}

void TStudyWindow::SetRunning(bool running)
{
    FRun->setEnabled(!running && FCurrent >= 0);
    FCancel->setEnabled(running);
    FEditor->setEnabled(!running && FCurrent >= 0);
    FStudyList->setEnabled(!running);
    FNewParametric->setEnabled(!running);
    FNewProbabilistic->setEnabled(!running);
    FDelete->setEnabled(!running && FCurrent >= 0);
    const bool results = FOutcome != nullptr && !running;
    const bool probabilistic = results && std::holds_alternative<TProbabilisticStudy>(FOutcome->Study.Definition);
    FCsvButton->setEnabled(results);
    FWorkbookButton->setEnabled(results);
    FCurvesButton->setEnabled(results);
    FCurvesButton->setText(probabilistic ? QStringLiteral("Percentile &Bands") : QStringLiteral("Load-&Settlement"));
    for (QWidget* widget : std::initializer_list<QWidget*>{FLoadsButton, FSettlementsButton})
        widget->setVisible(!probabilistic);
    for (QWidget* widget : std::initializer_list<QWidget*>{FReadoutList, FHistogramButton, FTornadoButton})
        widget->setVisible(probabilistic);
    FLoadsButton->setEnabled(results);
    FSettlementsButton->setEnabled(results);
    FHistogramButton->setEnabled(results);
    FTornadoButton->setEnabled(results);
}

void TStudyWindow::RunStudy()
{
    if (Running() || !Store(true))
        return;
    TStudy study = FStudies[static_cast<std::size_t>(FCurrent)];
    korven::Problem problem;
    try {
        problem = StudyProblem(FProject().FileText());
        CheckStudy(study, problem);
    } catch (const EStudyError& error) {
        Prompts().Inform(this,
                         QStringLiteral("The study cannot run on this project.\n%1").arg(QString::fromStdString(error.what())),
                         PromptIcon::Warning);
        return;
    }
    FCancelFlag = false;
    FProgress->setValue(0);
    FStatus->setText(QStringLiteral("Running..."));
    SetRunning(true);
    FWorker = std::thread([this, study = std::move(study), problem = std::move(problem)] {
        TRunControl control;
        control.Cancel = &FCancelFlag;
        control.OnProgress = [this](int done, int total) {
            QMetaObject::invokeMethod(this, [this, done, total] {
                FProgress->setMaximum(total);
                FProgress->setValue(done);
            }, Qt::QueuedConnection);
        };
        auto outcome = std::make_shared<TStudyOutcome>(::RunStudy(study, problem, control));
        QMetaObject::invokeMethod(this, [this, outcome] { RunEndedWith(outcome); }, Qt::QueuedConnection);
    });
}

void TStudyWindow::CancelStudy()
{
    if (Running())
        FCancelFlag = true;
}

void TStudyWindow::RunEndedWith(std::shared_ptr<TStudyOutcome> outcome)
{
    if (FWorker.joinable())
        FWorker.join();
    if (outcome->Cancelled) {
        FStatus->setText(FOutcome ? QStringLiteral("Cancelled; the results shown are those of the last completed run.")
                                  : QStringLiteral("Cancelled; no results."));
    } else {
        FOutcome = std::make_unique<TStudyOutcome>(std::move(*outcome));
        FStatus->setText(QStringLiteral("Completed."));
        ShowOutcome();
    }
    SetRunning(false);
    emit RunEnded();
}

void TStudyWindow::ShowOutcome()
{
    const TStudyOutcome& o = *FOutcome;
    QString text = QStringLiteral("\"%1\": %2 of %3 analyses completed")
                       .arg(QString::fromStdString(o.Study.Name))
                       .arg(o.Analyses - o.Refused)
                       .arg(o.Analyses);
    if (o.Refused > 0)
        text += QStringLiteral("; %1 refused by the engine or the study (their status and message are in the table)")
                    .arg(o.Refused);
    text += '.';
    for (const std::string& line : SummaryLines(o)) {
        QString sentence = QString::fromStdString(line);
        sentence[0] = sentence[0].toUpper();
        text += '\n' + sentence + '.';
    }
    if (const auto* parametric = std::get_if<TParametricStudy>(&o.Study.Definition)) {
        FillParametricGraphs(FGraphs, *parametric, o.Parametric, o.Units);
    } else {
        FillProbabilisticGraphs(FGraphs, std::get<TProbabilisticStudy>(o.Study.Definition), o.Summary, o.Units);
        FReadoutList->clear();
        for (const TReadoutDistribution& readout : o.Summary.Readouts)
            FReadoutList->addItem(QString::fromStdString(readout.Name));
        FReadoutList->setCurrentIndex(2);
    }
    FSummary->setText(text);
    FTableList->clear();
    for (const auto& table : o.Tables)
        FTableList->addItem(QString::fromStdString(table.first));
    ShowTable(0);
    for (QWidget* window : PlotWindows())
        qobject_cast<TPlotForm*>(qobject_cast<QMdiSubWindow*>(window)->widget())->Rebuild();
}

void TStudyWindow::ShowTable(int index)
{
    FTable->clear();
    FTable->setRowCount(0);
    FTable->setColumnCount(0);
    if (!FOutcome || index < 0 || index >= static_cast<int>(FOutcome->Tables.size()))
        return;
    std::istringstream text(FOutcome->Tables[static_cast<std::size_t>(index)].second);
    std::string line;
    std::getline(text, line);
    const std::vector<std::string> heading = CsvCells(line);
    FTable->setColumnCount(static_cast<int>(heading.size()));
    QStringList labels;
    for (const std::string& cell : heading)
        labels << QString::fromStdString(cell);
    FTable->setHorizontalHeaderLabels(labels);
    std::vector<std::vector<std::string>> rows;
    while (std::getline(text, line))
        rows.push_back(CsvCells(line));
    FTable->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            FTable->setItem(static_cast<int>(r), static_cast<int>(c),
                            new QTableWidgetItem(QString::fromStdString(rows[r][c])));
    FTable->resizeColumnsToContents();
}

void TStudyWindow::ShowGraph(TGraphPlot& graph)
{
    if (FOutcome)
        FOpenedPlots.emplace_back(ShowPlot(graph, FArea)->parentWidget());
}

QString TStudyWindow::ExportBase(const char* extension) const
{
    const QFileInfo project(QString::fromStdString(FProject().FileName));
    QString name = QString::fromStdString(FOutcome->Study.Name);
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    return project.dir().filePath(project.completeBaseName() + '.' + name + extension);
}

void TStudyWindow::ExportCsv()
{
    if (!FOutcome)
        return;
    const FileChoice choice = Prompts().SaveFile(
        this, FileRequest(QStringLiteral("Export Study Results as CSV"), QStringLiteral("CSV Files (*.csv)|*.csv"),
                          ExportBase(".csv"), QStringLiteral("csv")));
    if (choice.Path.isEmpty())
        return;
    // One file per table: NAME.steps.csv, NAME.curves.csv, ...
    QString stem = choice.Path;
    if (stem.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        stem.chop(4);
    QStringList written;
    for (const auto& [table, text] : FOutcome->Tables) {
        const QString path = stem + '.' + QString::fromStdString(table) + QStringLiteral(".csv");
        std::ofstream file(path.toStdString(), std::ios::binary | std::ios::trunc);
        file << text;
        file.close();
        if (file.fail()) {
            Prompts().Inform(this, QStringLiteral("%1 cannot be written. Choose a folder you may write to.").arg(path),
                             PromptIcon::Error);
            return;
        }
        written << QFileInfo(path).fileName();
    }
    FStatus->setText(QStringLiteral("Written: %1").arg(written.join(QStringLiteral(", "))));
}

void TStudyWindow::ExportWorkbook()
{
    if (!FOutcome)
        return;
    const FileChoice choice = Prompts().SaveFile(
        this, FileRequest(QStringLiteral("Export Study Results as Workbook"),
                          QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx"), ExportBase(".xlsx"), QStringLiteral("xlsx")));
    if (choice.Path.isEmpty())
        return;
    try {
        SaveStudyWorkbook(FOutcome->Tables, choice.Path.toStdString());
    } catch (const EInOutError& error) {
        Prompts().Inform(this, QString::fromStdString(error.what()), PromptIcon::Error);
        return;
    }
    FStatus->setText(QStringLiteral("Written: %1").arg(QFileInfo(choice.Path).fileName()));
}

QString TStudyWindow::StatusText() const { return FStatus->text() + '\n' + FSummary->text(); }
