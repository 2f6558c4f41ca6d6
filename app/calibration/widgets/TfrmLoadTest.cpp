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

QString UnitName(const char* slot, UnitSystem units) { return QString::fromStdString(ExpandUnits(slot, units)); }

// The question for a header that leaves columns without a unit.
QString UnitsQuestion(const std::vector<std::string>& columns, UnitSystem units)
{
    QStringList names;
    for (const std::string& name : columns)
        names << QStringLiteral("\"%1\"").arg(QString::fromStdString(name));
    const UnitSystem other = units == UnitSystem::SI ? UnitSystem::English : UnitSystem::SI;
    const auto pair = [](UnitSystem system) {
        return UnitName("F", system) + QStringLiteral(" and ") + UnitName("L", system);
    };
    return QStringLiteral(
               "The header gives no unit for the columns %1.\n\nAre these values in the project's units, %2?\n\n"
               "Yes: in %2.\nNo: in %3, converted into the project's units.\nCancel: nothing is read.")
        .arg(names.join(QStringLiteral(", ")), pair(units), pair(other));
}

}  // namespace

TfrmLoadTest::TfrmLoadTest(QMdiArea& area, TLoadTestHooks hooks)
    : FHooks(std::move(hooks)), FChart(CreateChart(this)), FGrid(new QTableWidget(0, FirstGaugeColumn, this)),
      FNote(new QLabel(this)), FFileName(new QLineEdit(this)),
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
            GridChanged("Entry");
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
        GridChanged("Delete Row");
    }));
    rowButtons->addWidget(button(QStringLiteral("Clear"), [this] { Clear(); }));
    rowButtons->addStretch();
    auto* gaugeButtons = new QHBoxLayout;
    gaugeButtons->addWidget(button(QStringLiteral("Add Gauge..."), [this] { AddGauge(); }));
    gaugeButtons->addWidget(button(QStringLiteral("Change Gauge..."), [this] { ChangeGauge(); }));
    gaugeButtons->addWidget(button(QStringLiteral("Remove Gauge"), [this] { RemoveGauge(); }));
    gaugeButtons->addStretch();

    FNote->setObjectName(QStringLiteral("LoadTestNote"));
    FNote->setWordWrap(true);
    FFileName->setObjectName(QStringLiteral("FileNameEdit"));
    connect(FFileName, &QLineEdit::textChanged, this, [this] { UpdateFileButtons(); });
    connect(FEditButton, &QPushButton::clicked, this, [this] {
        if (!StartTextEditor(FHooks.TextEditor ? FHooks.TextEditor() : QString(), FFileName->text()))
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
                       "movement and Gauge at DEPTH UNIT. Units in parentheses (kip, mm, ft, ...) are converted; "
                       "for columns without one you are asked which unit system they are in."),
        this);
    help->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FChart->Widget(), 1);
    layout->addWidget(FGrid, 1);
    layout->addLayout(rowButtons);
    layout->addLayout(gaugeButtons);
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
    test.Units = FHooks.Project().Units();
    try {
        if (const std::optional<TLoadTest> stored = ProjectLoadTest(FHooks.Project()))
            test = *stored;
        FNote->setText(StoredText(test));
    } catch (const ELoadTestError& error) {
        FNote->setText(QStringLiteral("The project's load test could not be read: %1.").arg(error.what()));
    }
    ShowTest(test);
}

void TfrmLoadTest::ShowTest(const TLoadTest& test)
{
    FGaugeDepths = test.AllGaugeDepths();
    const UnitSystem units = FHooks.Project().Units();
    const QString force = UnitName("F", units);
    const QString length = UnitName("L", units);
    QStringList captions{QStringLiteral("Head load\n(%1)").arg(force), QStringLiteral("Head settlement\n(%1)").arg(length),
                         QStringLiteral("Toe movement\n(%1)").arg(length)};
    for (double depth : FGaugeDepths)
        captions << GaugeCaption(depth);

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

QString TfrmLoadTest::GaugeCaption(double depth) const
{
    const UnitSystem units = FHooks.Project().Units();
    return QStringLiteral("Gauge at %1 %2\n(%3)").arg(CellText(depth), UnitName("L", units), UnitName("F", units));
}

TLoadTest TfrmLoadTest::GridTest() const
{
    TLoadTest test;
    test.Units = FHooks.Project().Units();
    test.GaugeDepths = FGaugeDepths;
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

void TfrmLoadTest::GridChanged(const char* what)
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
    const auto store = [&] { SetProjectLoadTest(FHooks.Project(), test); };
    const QString step = QString::fromLatin1(what) + QStringLiteral(" in ") + WindowCaption;
    if (FHooks.Record)
        FHooks.Record(step, store);
    else
        store();
    FNote->setText(StoredText(test));
    Redraw(test);
    if (FHooks.Stored)
        FHooks.Stored();
}

void TfrmLoadTest::Import(const std::string& text, const char* what)
{
    const UnitSystem units = FHooks.Project().Units();
    std::optional<UnitSystem> unitless;
    if (const std::vector<std::string> columns = LoadTestColumnsWithoutUnits(text); !columns.empty()) {
        switch (Prompts().Ask(this, UnitsQuestion(columns, units))) {
        case Answer::Yes: unitless = units; break;
        case Answer::No: unitless = units == UnitSystem::SI ? UnitSystem::English : UnitSystem::SI; break;
        case Answer::Cancel: return;
        }
    }
    TLoadTest test;
    try {
        test = ReadLoadTestCsv(text, units, unitless);
    } catch (const ELoadTestError& error) {
        Prompts().Inform(this, QStringLiteral("The load test was not read: %1").arg(error.what()), PromptIcon::Warning);
        return;
    }
    ShowTest(test);
    GridChanged(what);
}

void TfrmLoadTest::ReadFromFile()
{
    QFile file(FFileName->text());
    if (!file.open(QIODevice::ReadOnly)) {
        Prompts().Inform(this, QStringLiteral("The file \"%1\" could not be opened: %2").arg(file.fileName(), file.errorString()),
                         PromptIcon::Warning);
        return;
    }
    Import(file.readAll().toStdString(), "Import");
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
    Import(lines.toStdString(), "Paste");
}

void TfrmLoadTest::AddGauge()
{
    if (const std::optional<double> depth = AskGaugeDepth(-1)) {
        InsertGauge(*depth, {});
        GridChanged("Add Gauge");
    }
}

void TfrmLoadTest::ChangeGauge()
{
    const int gauge = CurrentGauge();
    if (gauge < 0)
        return;
    if (const std::optional<double> depth = AskGaugeDepth(gauge)) {
        InsertGauge(*depth, TakeGauge(gauge));
        GridChanged("Change Gauge");
    }
}

void TfrmLoadTest::RemoveGauge()
{
    const int gauge = CurrentGauge();
    if (gauge < 0)
        return;
    TakeGauge(gauge);
    GridChanged("Remove Gauge");
}

void TfrmLoadTest::Clear()
{
    TLoadTest empty;
    empty.Units = FHooks.Project().Units();
    ShowTest(empty);
    GridChanged("Clear");
}

void TfrmLoadTest::InsertGauge(double depth, const QStringList& cells)
{
    const auto at = std::lower_bound(FGaugeDepths.begin(), FGaugeDepths.end(), depth);
    const int column = FirstGaugeColumn + static_cast<int>(at - FGaugeDepths.begin());
    FGaugeDepths.insert(at, depth);
    FFilling = true;
    FGrid->insertColumn(column);
    FGrid->setHorizontalHeaderItem(column, new QTableWidgetItem(GaugeCaption(depth)));
    for (int row = 0; row < FGrid->rowCount() && row < cells.size(); ++row)
        FGrid->setItem(row, column, new QTableWidgetItem(cells[row]));
    FGrid->resizeColumnToContents(column);
    FFilling = false;
    // Ready for its readings.
    FGrid->setCurrentCell(std::max(FGrid->currentRow(), 0), column);
    FGrid->setFocus();
}

QStringList TfrmLoadTest::TakeGauge(int gauge)
{
    const int column = FirstGaugeColumn + gauge;
    QStringList cells;
    for (int row = 0; row < FGrid->rowCount(); ++row)
        cells << (FGrid->item(row, column) ? FGrid->item(row, column)->text() : QString());
    FGaugeDepths.erase(FGaugeDepths.begin() + gauge);
    FFilling = true;
    FGrid->removeColumn(column);
    FFilling = false;
    return cells;
}

int TfrmLoadTest::CurrentGauge()
{
    const int gauge = FGrid->currentColumn() - FirstGaugeColumn;
    if (gauge >= 0 && gauge < static_cast<int>(FGaugeDepths.size()))
        return gauge;
    Prompts().Inform(this, FGaugeDepths.empty() ? QStringLiteral("The load test has no gauges; add one with Add Gauge.")
                                                : QStringLiteral("Click a cell in the column of the gauge to change or "
                                                                 "remove first."));
    return -1;
}

std::optional<double> TfrmLoadTest::AskGaugeDepth(int moving)
{
    const TProgramData& project = FHooks.Project();
    const QString length = UnitName("L", project.Units());
    const std::optional<QString> text =
        Prompts().AskText(this, QStringLiteral("Depth of the gauge below the pile head (%1):").arg(length),
                          moving < 0 ? QString() : CellText(FGaugeDepths[static_cast<std::size_t>(moving)]));
    if (!text)
        return std::nullopt;
    const auto refuse = [this](const QString& why) {
        Prompts().Inform(this, why, PromptIcon::Warning);
        return std::nullopt;
    };
    double depth = 0;
    try {
        depth = static_cast<double>(Evaluate(text->trimmed().toStdString()));
    } catch (const EAssignError& error) {
        return refuse(QStringLiteral("The depth \"%1\" is not a number: %2").arg(*text, error.what()));
    }
    const double pile = static_cast<double>(project.PileLength);
    if (!(depth >= 0 && depth <= pile))
        return refuse(QStringLiteral("A gauge must be on the pile: enter a depth from 0 to %1 %2 below the pile head.")
                          .arg(CellText(pile), length));
    for (std::size_t i = 0; i < FGaugeDepths.size(); ++i)
        if (FGaugeDepths[i] == depth && static_cast<int>(i) != moving)
            return refuse(
                QStringLiteral("There is a gauge at %1 %2 already; enter another depth.").arg(CellText(depth), length));
    return depth;
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
    // From the origin, where every test starts; an empty chart shows the
    // quarter the points will go into.
    const bool empty = test.Points.empty();
    const bool fixed = empty || (loads > 0 && settlements > 0);
    for (TChartAxisSide side : {TChartAxisSide::Bottom, TChartAxisSide::Left})
        FChart->Axis(side).SetAutomatic(!fixed);
    if (fixed) {
        FChart->Axis(TChartAxisSide::Bottom).SetRange(0, empty ? 1 : loads * 1.05);
        FChart->Axis(TChartAxisSide::Left).SetRange(0, empty ? 1 : settlements * 1.1);
    }
    const UnitSystem units = FHooks.Project().Units();
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
