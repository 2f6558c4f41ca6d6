#include "TfrmLoadTest.h"

#include "Chart.h"
#include "Evaluator.h"
#include "ProgramData.h"
#include "UnitStrings.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int LoadColumn = 0;
constexpr int SettlementColumn = 1;
constexpr int ToeColumn = 2;
constexpr int FirstGaugeColumn = 3;

QString CellText(double value) { return QString::number(value, 'g', 15); }

QString StoredText(const TLoadTest& test)
{
    return test.Points.empty() ? QStringLiteral("The project has no load test.")
                               : QStringLiteral("%1 measured points, stored in the project.").arg(test.Points.size());
}

}  // namespace

TfrmLoadTest::TfrmLoadTest(QMdiArea& area, std::function<TProgramData&()> project, std::function<void()> stored)
    : FProject(std::move(project)), FStored(std::move(stored)), FChart(CreateChart(this)),
      FGrid(new QTableWidget(0, FirstGaugeColumn, this)), FNote(new QLabel(this)), FFileName(new QLineEdit(this)),
      FEditButton(new QPushButton(QStringLiteral("View/Edit File"), this)),
      FReadButton(new QPushButton(QStringLiteral("Read values from File"), this))
{
    setObjectName(QStringLiteral("LoadTest"));
    setWindowTitle(WindowCaption);
    setAttribute(Qt::WA_DeleteOnClose);

    // The measured head points, settlement growing downward as on the
    // load-settlement graph.
    TChartSeries& measured = FChart->Series(0);
    measured.SetPen(Qt::red, 2);
    measured.SetMarkSize(6);
    FChart->Series(1).SetActive(false);
    FChart->SetLegendVisible(false);
    FChart->Axis(TChartAxisSide::Left).SetInverted(true);
    FChart->Widget()->setMinimumSize(380, 170);

    FGrid->setObjectName(QStringLiteral("LoadTestGrid"));
    FGrid->verticalHeader()->setDefaultSectionSize(FGrid->fontMetrics().height() + 6);
    connect(FGrid, &QTableWidget::cellChanged, this, [this] {
        if (!FFilling)
            GridChanged();
    });

    const auto button = [this](const QString& caption, auto action) {
        auto* push = new QPushButton(caption, this);
        connect(push, &QPushButton::clicked, this, action);
        return push;
    };
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(button(QStringLiteral("Add"), [this] { AddRow(FGrid->rowCount()); }));
    rowButtons->addWidget(button(QStringLiteral("Insert"), [this] { AddRow(std::max(FGrid->currentRow(), 0)); }));
    rowButtons->addWidget(button(QStringLiteral("Delete"), [this] {
        if (FGrid->currentRow() < 0)
            return;
        FGrid->removeRow(FGrid->currentRow());
        GridChanged();
    }));
    rowButtons->addStretch();

    FNote->setObjectName(QStringLiteral("LoadTestNote"));
    FNote->setWordWrap(true);
    FFileName->setObjectName(QStringLiteral("FileNameEdit"));
    connect(FFileName, &QLineEdit::textChanged, this, [this] { UpdateFileButtons(); });
    connect(FEditButton, &QPushButton::clicked, this, [this] {
        if (!StartTextEditor({}, FFileName->text()))
            Prompts().Inform(this, QStringLiteral("An error occurred in running the Word Processor"));
    });
    connect(FReadButton, &QPushButton::clicked, this, [this] { ReadFromFile(); });

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("File Name:"), this));
    fileRow->addWidget(FFileName, 1);
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(button(QStringLiteral("Browse"), [this] {
        const FileChoice choice =
            Prompts().OpenFile(this, FileRequest(QStringLiteral("Open Load Test"), FileFilter, FFileName->text()));
        if (!choice.Path.isEmpty())
            FFileName->setText(choice.Path);
    }));
    fileButtons->addWidget(FEditButton);
    fileButtons->addWidget(FReadButton);
    fileButtons->addStretch();
    auto* clipRow = new QHBoxLayout;
    clipRow->addWidget(button(QStringLiteral("Paste values from  Clipboard (text)"), [this] { PasteFromClipboard(); }));
    clipRow->addStretch();
    auto* help = new QLabel(
        QStringLiteral("A header line names the columns: Head load, Head settlement, and optionally Toe "
                       "movement and Gauge at DEPTH. Units in parentheses (kip, mm, ft, ...) are converted; "
                       "a column without one is in the project's units."),
        this);
    help->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FChart->Widget(), 1);
    layout->addWidget(FGrid, 1);
    layout->addLayout(rowButtons);
    layout->addWidget(FNote);
    layout->addLayout(fileRow);
    layout->addLayout(fileButtons);
    layout->addLayout(clipRow);
    layout->addWidget(help);

    // At the area's top left, where it fits.
    QMdiSubWindow* frame = area.addSubWindow(this);
    frame->resize(560, 620);
    frame->move(0, 0);
    UpdateFileButtons();
    LoadFields();
}

TfrmLoadTest::~TfrmLoadTest() = default;

void TfrmLoadTest::ShowWindow()
{
    show();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->mdiArea()->setActiveSubWindow(frame);
}

void TfrmLoadTest::LoadFields()
{
    TLoadTest test;
    test.Units = FProject().Units();
    try {
        if (const std::optional<TLoadTest> stored = ProjectLoadTest(FProject()))
            test = *stored;
        FNote->setText(StoredText(test));
    } catch (const ELoadTestError& error) {
        FNote->setText(QStringLiteral("The project's load test could not be read: %1.").arg(error.what()));
    }
    ShowTest(test);
}

void TfrmLoadTest::ShowTest(const TLoadTest& test)
{
    FGaugeDepths.clear();
    for (const TLoadTestPoint& point : test.Points)
        for (const TGaugeReading& gauge : point.Gauges)
            if (std::find(FGaugeDepths.begin(), FGaugeDepths.end(), gauge.Depth) == FGaugeDepths.end())
                FGaugeDepths.push_back(gauge.Depth);
    std::sort(FGaugeDepths.begin(), FGaugeDepths.end());

    const UnitSystem units = FProject().Units();
    const QString force = QString::fromStdString(ExpandUnits("F", units));
    const QString length = QString::fromStdString(ExpandUnits("L", units));
    QStringList captions{QStringLiteral("Head load\n(%1)").arg(force), QStringLiteral("Head settlement\n(%1)").arg(length),
                         QStringLiteral("Toe movement\n(%1)").arg(length)};
    for (double depth : FGaugeDepths)
        captions << QStringLiteral("Gauge at %1 %2\n(%3)").arg(CellText(depth), length, force);

    FFilling = true;
    FGrid->clear();
    FGrid->setColumnCount(static_cast<int>(captions.size()));
    FGrid->setHorizontalHeaderLabels(captions);
    FGrid->setRowCount(static_cast<int>(test.Points.size()));
    for (int row = 0; row < FGrid->rowCount(); ++row) {
        const TLoadTestPoint& point = test.Points[static_cast<std::size_t>(row)];
        const auto set = [&](int column, double value) { FGrid->setItem(row, column, new QTableWidgetItem(CellText(value))); };
        set(LoadColumn, point.HeadLoad);
        set(SettlementColumn, point.HeadSettlement);
        if (point.ToeMovement)
            set(ToeColumn, *point.ToeMovement);
        for (const TGaugeReading& gauge : point.Gauges) {
            const auto at = std::find(FGaugeDepths.begin(), FGaugeDepths.end(), gauge.Depth);
            set(FirstGaugeColumn + static_cast<int>(at - FGaugeDepths.begin()), gauge.Load);
        }
    }
    FGrid->resizeColumnsToContents();
    FFilling = false;
    Redraw(test);
}

TLoadTest TfrmLoadTest::GridTest() const
{
    TLoadTest test;
    test.Units = FProject().Units();
    for (int row = 0; row < FGrid->rowCount(); ++row) {
        const auto value = [&](int column) -> std::optional<double> {
            const QTableWidgetItem* item = FGrid->item(row, column);
            const QString text = item ? item->text().trimmed() : QString();
            if (text.isEmpty())
                return std::nullopt;
            try {
                return static_cast<double>(Evaluate(text.toStdString()));
            } catch (const EAssignError& error) {
                throw EAssignError("Row " + std::to_string(row + 1) + ", " +
                                   FGrid->horizontalHeaderItem(column)->text().split('\n').first().toStdString() +
                                   ": " + error.what());
            }
        };
        const std::optional<double> load = value(LoadColumn);
        const std::optional<double> settlement = value(SettlementColumn);
        TLoadTestPoint point;
        point.ToeMovement = value(ToeColumn);
        for (std::size_t i = 0; i < FGaugeDepths.size(); ++i)
            if (const std::optional<double> gauge = value(FirstGaugeColumn + static_cast<int>(i)))
                point.Gauges.push_back({FGaugeDepths[i], *gauge});
        if (!load && !settlement && !point.ToeMovement && point.Gauges.empty())
            continue;  // a row not filled in yet
        if (!load || !settlement)
            throw EAssignError("Row " + std::to_string(row + 1) + " needs a head load and a head settlement.");
        point.HeadLoad = *load;
        point.HeadSettlement = *settlement;
        test.Points.push_back(std::move(point));
    }
    return test;
}

void TfrmLoadTest::GridChanged()
{
    TLoadTest test;
    try {
        test = GridTest();
        if (!test.Points.empty())
            test.Check();
    } catch (const std::exception& error) {
        FNote->setText(QStringLiteral("Not stored in the project yet: %1").arg(error.what()));
        Redraw(test);
        return;
    }
    FNote->setText(StoredText(test));
    SetProjectLoadTest(FProject(), test);
    Redraw(test);
    if (FStored)
        FStored();
}

void TfrmLoadTest::Import(const std::string& text)
{
    TLoadTest test;
    try {
        test = ReadLoadTestCsv(text, FProject().Units());
        test.Check();
    } catch (const ELoadTestError& error) {
        Prompts().Inform(this, QStringLiteral("The load test was not read: %1").arg(error.what()), PromptIcon::Warning);
        return;
    }
    ShowTest(test);
    GridChanged();
}

void TfrmLoadTest::ReadFromFile()
{
    QFile file(FFileName->text());
    if (!file.open(QIODevice::ReadOnly)) {
        Prompts().Inform(this, QStringLiteral("The file \"%1\" could not be opened: %2").arg(file.fileName(), file.errorString()),
                         PromptIcon::Warning);
        return;
    }
    Import(file.readAll().toStdString());
}

void TfrmLoadTest::PasteFromClipboard()
{
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) {
        Prompts().Inform(this, QStringLiteral("There is no text on the Clipboard"));
        return;
    }
    // Spreadsheets end their lines with CR LF, older programs with CR alone.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    Import(lines.toStdString());
}

void TfrmLoadTest::Redraw(const TLoadTest& test)
{
    TChartSeries& measured = FChart->Series(0);
    measured.Clear();
    double loads = 0, settlements = 0;
    for (const TLoadTestPoint& point : test.Points) {
        measured.AddXY(point.HeadLoad, point.HeadSettlement);
        loads = std::max(loads, point.HeadLoad);
        settlements = std::max(settlements, point.HeadSettlement);
    }
    // From the origin, where every test starts.
    const bool fixed = loads > 0 && settlements > 0;
    for (TChartAxisSide side : {TChartAxisSide::Bottom, TChartAxisSide::Left})
        FChart->Axis(side).SetAutomatic(!fixed);
    if (fixed) {
        FChart->Axis(TChartAxisSide::Bottom).SetRange(0, loads * 1.05);
        FChart->Axis(TChartAxisSide::Left).SetRange(0, settlements * 1.1);
    }
    const UnitSystem units = FProject().Units();
    FChart->Axis(TChartAxisSide::Bottom).SetTitle("Head load (" + ExpandUnits("F", units) + ")");
    FChart->Axis(TChartAxisSide::Left).SetTitle("Head settlement (" + ExpandUnits("L", units) + ")");
}

void TfrmLoadTest::AddRow(int at)
{
    FFilling = true;
    FGrid->insertRow(at);
    FFilling = false;
    FGrid->setCurrentCell(at, LoadColumn);
}

void TfrmLoadTest::UpdateFileButtons()
{
    const bool exists = QFileInfo(FFileName->text()).isFile();
    FEditButton->setEnabled(exists);
    FReadButton->setEnabled(exists);
}
