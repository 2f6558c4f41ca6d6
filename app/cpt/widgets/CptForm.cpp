#include "CptForm.h"

#include "CptGraphs.h"
#include "PlotForm.h"
#include "TableUndo.h"
#include "UserPrompts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace cpt;

namespace {

const QString SoundingFilter =
    QStringLiteral("CPT Soundings (*.gef *.ags *.csv)|*.gef;*.ags;*.csv|GEF (*.gef)|*.gef|AGS4 (*.ags)|*.ags|"
                   "CSV (*.csv)|*.csv|All Files (*.*)|*.*");

const QString PlotHint = QStringLiteral("Drag over a plot to zoom in, right-click to zoom out.");

QString Number(double value, int decimals) { return QString::number(value, 'f', decimals); }

// A value read under the cursor, with its unit when it has one.
QString Reading(double value, const std::string& units)
{
    const QString number = QString::number(value, 'g', 4);
    return units.empty() ? number : number + ' ' + QString::fromStdString(units);
}

// The number in a cell; NaN for an empty or unreadable one.
double CellNumber(const QTableWidget& table, int row, int column)
{
    const QTableWidgetItem* item = table.item(row, column);
    bool ok = false;
    const double value = item ? item->text().trimmed().toDouble(&ok) : 0;
    return ok ? value : NoValue;
}

void SetCell(QTableWidget& table, int row, int column, const QString& text, bool editable = true)
{
    auto* item = new QTableWidgetItem(text);
    if (!editable)
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    table.setItem(row, column, item);
}

}  // namespace

TfrmCpt::TfrmCpt(std::function<TProgramData&()> project, std::function<void()> written, QWidget* parent)
    : QWidget(parent), FProject(std::move(project)), FWritten(std::move(written))
{
    setWindowTitle(WindowCaption);
    TCptRecord& r = FModel.Record;
    TCptSettings& s = r.Settings;

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    const auto group = [&](const QString& title) {
        auto* box = new QGroupBox(title);
        auto* form = new QFormLayout(box);
        sideLayout->addWidget(box);
        return form;
    };

    QFormLayout* sounding = group(QStringLiteral("Sounding"));
    FSoundingLabel = new QLabel(QStringLiteral("none: open a GEF, AGS4 or CSV file"));
    FSoundingLabel->setWordWrap(true);
    auto* open = new QPushButton(QStringLiteral("&Open Sounding..."));
    connect(open, &QPushButton::clicked, this, &TfrmCpt::OpenClick);
    sounding->addRow(FSoundingLabel);
    sounding->addRow(open);
    FTest = new QComboBox;
    sounding->addRow(QStringLiteral("Test of the file:"), FTest);
    connect(FTest, &QComboBox::activated, this, [this] {
        OpenSounding(QString::fromStdString(FModel.Record.SoundingPath), FTest->currentText().toStdString());
    });

    QFormLayout* stress = group(QStringLiteral("Stress Profile"));
    AddNumber(stress, QStringLiteral("Water table depth:"), &s.WaterTable, 0, 500, 2, QStringLiteral(" m"));
    AddNumber(stress, QStringLiteral("Unit weight below the ranges:"), &s.DefaultUnitWeight, 1, 40, 2,
              QStringLiteral(" kN/m³"));
    AddNumber(stress, QStringLiteral("Net area ratio of the cone:"), &s.NetAreaRatio, -0.01, 1, 2, {},
              QStringLiteral("the file's, else 0.80"));
    stress->addRow(new QLabel(QStringLiteral("Total unit weights down to each depth:")));
    FUnitWeights = AddTable(stress, {QStringLiteral("Bottom (m)"), QStringLiteral("Unit weight (kN/m³)")},
                            [this] { TakeUnitWeights(); });
    auto* layers = new QPushButton(QStringLiteral("From the Soil &Layers"));
    connect(layers, &QPushButton::clicked, this, [this] {
        if (!FModel.TakeLayerUnitWeights(FProject()))
            Prompts().Inform(this, QStringLiteral("The project has no soil layers with unit weights to take."));
        ShowRecord();
        Refresh();
    });
    stress->addRow(layers);

    QFormLayout* behaviour = group(QStringLiteral("Soil Behaviour Type"));
    FMethod = new QComboBox;
    FMethod->addItems({QStringLiteral("By soil behaviour type per depth"), QStringLiteral("Sand method for the whole pile"),
                       QStringLiteral("Clay method for the whole pile")});
    behaviour->addRow(QStringLiteral("Method:"), FMethod);
    connect(FMethod, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (FShowing)
            return;
        FModel.Record.Settings.Method = static_cast<TMethodChoice>(index);
        Refresh();
    });
    AddNumber(behaviour, QStringLiteral("I_c boundary (sand below):"), &s.SandClayBoundary, 1, 4, 2, {});
    AddNumber(behaviour, QStringLiteral("Thinnest zone:"), &s.MinimumZoneThickness, 0, 10, 2, QStringLiteral(" m"));
    behaviour->addRow(new QLabel(QStringLiteral("Soil class by depth range, ahead of I_c:")));
    FOverrides = AddTable(behaviour, {QStringLiteral("Top (m)"), QStringLiteral("Bottom (m)"), QStringLiteral("Class")},
                          [this] { TakeOverrides(); });

    QFormLayout* pile = group(QStringLiteral("Pile"));
    FPileLabel = new QLabel;
    FPileLabel->setWordWrap(true);
    pile->addRow(FPileLabel);
    FEnd = new QComboBox;
    FEnd->addItems({QStringLiteral("Closed-ended"), QStringLiteral("Open pipe")});
    pile->addRow(QStringLiteral("End:"), FEnd);
    connect(FEnd, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (FShowing)
            return;
        FModel.Record.End = index == 1 ? TPileEnd::Open : TPileEnd::Closed;
        FWall->setEnabled(index == 1);
        Refresh();
    });
    FWall = AddNumber(pile, QStringLiteral("Wall thickness:"), &r.WallThickness, 0, 0.2, 4, QStringLiteral(" m"));
    AddNumber(pile, QStringLiteral("Plug length ratio:"), &r.PlugLengthRatio, -0.01, 1, 2, {},
              QStringLiteral("estimated"));
    FDirection = new QComboBox;
    FDirection->addItems({QStringLiteral("Compression"), QStringLiteral("Tension (uplift)")});
    pile->addRow(QStringLiteral("Load:"), FDirection);
    connect(FDirection, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (FShowing)
            return;
        FModel.Record.Settings.Direction = index == 1 ? TLoadDirection::Tension : TLoadDirection::Compression;
        Refresh();
    });

    QFormLayout* sand = group(QStringLiteral("Sand Method"));
    AddNumber(sand, QStringLiteral("Interface friction angle:"), &s.Sand.InterfaceAngle, 1, 45, 1, QStringLiteral("°"));
    AddNumber(sand, QStringLiteral("Tension to compression f_t/f_c:"), &s.Sand.TensionRatio, 0.01, 1, 2, {});
    AddNumber(sand, QStringLiteral("Cone diameter:"), &s.Sand.ConeDiameter, 0.01, 0.1, 4, QStringLiteral(" m"));
    AddNumber(sand, QStringLiteral("Stiffness A, compression:"), &s.StiffnessCompression, 1, 10000, 0, {});
    AddNumber(sand, QStringLiteral("Stiffness A, tension:"), &s.StiffnessTension, 1, 10000, 0, {});

    QFormLayout* clay = group(QStringLiteral("Clay Method (coefficients from one secondary source)"));
    AddNumber(clay, QStringLiteral("Sensitive clay factor F_st:"), &s.SensitiveClayFactor, 0.01, 1, 2, {});
    AddNumber(clay, QStringLiteral("Residual t_res/t_max:"), &s.ResidualRatio, 0.01, 1, 2, {});
    AddNumber(clay, QStringLiteral("Shaft coefficient (\u03c4_f / F_st q_t):"), &s.ClayShaftCoefficient, 0.001, 1, 3, {});
    AddNumber(clay, QStringLiteral("Base q_b0.1/q_p, intercept:"), &s.ClayBaseIntercept, 0, 1, 2, {});
    AddNumber(clay, QStringLiteral("Base q_b0.1/q_p, slope on A_re:"), &s.ClayBaseSlope, 0, 1, 2, {});
    AddNumber(clay, QStringLiteral("Base window, above and below the tip:"), &s.BaseWindow, 0, 10, 2,
              QStringLiteral(" D"));

    QFormLayout* curves = group(QStringLiteral("Curves"));
    AddNumber(curves, QStringLiteral("Longest shaft per curve:"), &s.MaxCurveLength, 0.05, 50, 2, QStringLiteral(" m"));
    FDepths = AddTable(curves, {QStringLiteral("Depth (m)"), QStringLiteral("Class"), QStringLiteral("Stands for (m)")},
                       [this] { TakeCurveDepths(); });
    auto* propose = new QPushButton(QStringLiteral("&Propose Depths"));
    connect(propose, &QPushButton::clicked, this, [this] {
        FModel.Record.CurveDepths.clear();
        Refresh();
    });
    curves->addRow(propose);
    FSummary = new QLabel;
    FSummary->setWordWrap(true);
    FSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    curves->addRow(FSummary);
    FWrite = new QPushButton(QStringLiteral("&Write Curves into the Project"));
    connect(FWrite, &QPushButton::clicked, this, &TfrmCpt::WriteClick);
    curves->addRow(FWrite);
    sideLayout->addStretch();

    for (QComboBox* choice : {FTest, FMethod, FEnd, FDirection}) {
        choice->setFocusPolicy(Qt::StrongFocus);
        choice->installEventFilter(this);
    }
    FScroll = new QScrollArea;
    FScroll->setWidget(side);
    FScroll->setWidgetResizable(true);
    FScroll->setMinimumWidth(side->sizeHint().width() + 24);

    auto* plots = new QWidget;
    auto* plotsLayout = new QVBoxLayout(plots);
    auto* row = new QHBoxLayout;
    SetUpProfileGraphs(FGraphs);
    for (std::size_t i = 0; i < FGraphs.size(); ++i) {
        FPlots[i] = new TPlotForm(FGraphs[i]);
        FPlots[i]->setMinimumWidth(FPlots[i]->minimumSizeHint().width() * 2 / 3);
        connect(FPlots[i], &TPlotForm::CursorMoved, this, [this, i](double x, double y) {
            const TGraphPlot& graph = FGraphs[i];
            FReadout->setText(QStringLiteral("%1: %2 %3 at %4 %5")
                                  .arg(QString::fromStdString(graph.Caption), QString::fromStdString(graph.XCaption),
                                       Reading(x, graph.XUnits), QString::fromStdString(graph.YCaption).toLower(),
                                       Reading(y, graph.YUnits)));
        });
        auto* column = new QVBoxLayout;
        auto* menu = new QToolButton;
        menu->setText(QString::fromStdString(FGraphs[i].Caption));
        menu->setMenu(FPlots[i]->PlotMenu());
        menu->setPopupMode(QToolButton::InstantPopup);
        column->addWidget(menu, 0, Qt::AlignLeft);
        column->addWidget(FPlots[i], 1);
        row->addLayout(column, 1);
    }
    plotsLayout->addLayout(row, 1);
    FReadout = new QLabel(PlotHint);
    plotsLayout->addWidget(FReadout);

    FPlotArea = plots;
    auto* splitter = new QSplitter;
    splitter->addWidget(FScroll);
    splitter->addWidget(plots);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    TakeProject();
}

bool TfrmCpt::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel scrolls the settings; it changes a number or a choice only
    // once the user has clicked into it.
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
        QCoreApplication::sendEvent(FScroll->viewport(), event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QDoubleSpinBox* TfrmCpt::AddNumber(QFormLayout* form, const QString& label, double* value, double minimum,
                                   double maximum, int decimals, const QString& suffix, const QString& none)
{
    auto* spin = new QDoubleSpinBox;
    spin->setRange(minimum, maximum);
    spin->setDecimals(decimals);
    spin->setSingleStep(std::pow(10.0, 1 - decimals));
    spin->setSuffix(suffix);
    spin->setKeyboardTracking(false);
    // A value below zero stands for "none" where the field offers it.
    spin->setSpecialValueText(none);
    spin->setFocusPolicy(Qt::StrongFocus);
    spin->installEventFilter(this);
    form->addRow(label, spin);
    FNumbers.push_back({spin, value});
    connect(spin, &QDoubleSpinBox::valueChanged, this, [this, value, none](double v) {
        if (FShowing)
            return;
        *value = !none.isEmpty() && v < 0 ? -1 : v;
        if (value == &FModel.Record.Settings.MaxCurveLength)
            FModel.Record.CurveDepths.clear();
        Refresh();
    });
    return spin;
}

QTableWidget* TfrmCpt::AddTable(QFormLayout* form, const QStringList& columns, const std::function<void()>& edited)
{
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()));
    table->setHorizontalHeaderLabels(columns);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setMinimumHeight(table->verticalHeader()->defaultSectionSize() * 5);
    form->addRow(table);
    connect(table, &QTableWidget::cellChanged, this, [this, edited] {
        if (!FShowing)
            edited();
    });
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Add Row"));
    auto* remove = new QPushButton(QStringLiteral("Delete Row"));
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    form->addRow(buttons);
    connect(add, &QPushButton::clicked, this, [this, table, edited] {
        // A new row continues below the last one.
        const int rows = table->rowCount();
        const double last = rows > 0 ? CellNumber(*table, rows - 1, table == FOverrides ? 1 : 0) : 0;
        const double next = HasValue(last) ? last + 1 : 1;
        const bool showing = std::exchange(FShowing, true);
        table->insertRow(rows);
        if (table == FOverrides) {
            SetCell(*table, rows, 0, Number(HasValue(last) ? last : 0, 2));
            SetCell(*table, rows, 1, Number(next, 2));
            SetClassCell(rows, TSoilClass::Sand);
        } else if (table == FUnitWeights) {
            SetCell(*table, rows, 0, Number(next, 2));
            SetCell(*table, rows, 1, Number(FModel.Record.Settings.DefaultUnitWeight, 2));
        } else {
            SetCell(*table, rows, 0, Number(next, 3));
            SetCell(*table, rows, 1, {}, false);
            SetCell(*table, rows, 2, {}, false);
        }
        FShowing = showing;
        edited();
    });
    connect(remove, &QPushButton::clicked, this, [table, edited] {
        const int row = table->currentRow() >= 0 ? table->currentRow() : table->rowCount() - 1;
        if (row < 0)
            return;
        table->removeRow(row);
        edited();
    });
    return table;
}

void TfrmCpt::TakeProject()
{
    const TProgramData& project = FProject();
    std::optional<TCptRecord> record;
    try {
        record = RecordOfProject(project);
    } catch (const ECptError& e) {
        Prompts().Inform(this, QStringLiteral("The project's CPT record cannot be read (%1); the window starts afresh.")
                                   .arg(QString::fromStdString(e.what())),
                         PromptIcon::Warning);
    }
    if (record) {
        try {
            const std::string warning = FModel.Resume(*record);
            if (!warning.empty())
                Prompts().Inform(this, QString::fromStdString(warning), PromptIcon::Warning);
        } catch (const ESoundingError& e) {
            Prompts().Inform(this,
                             QStringLiteral("The sounding the project's curves were made from, %1, cannot be read "
                                            "(%2). Open it again where it lies now.")
                                 .arg(QString::fromStdString(record->SoundingPath), QString::fromStdString(e.what())),
                             PromptIcon::Warning);
        }
    } else {
        FModel.TakeLayerUnitWeights(project);
    }
    ShowRecord();
    Refresh();
}

void TfrmCpt::OpenClick()
{
    const FileChoice choice =
        Prompts().OpenFile(this, FileRequest(QStringLiteral("Open CPT Sounding"), SoundingFilter));
    if (!choice.Path.isEmpty())
        OpenSounding(choice.Path, {});
}

void TfrmCpt::OpenSounding(const QString& path, const std::string& test)
{
    try {
        FModel.Open(path.toStdString(), test);
    } catch (const ESoundingError& e) {
        Prompts().Inform(this,
                         QStringLiteral("The sounding %1 cannot be read: %2. Nothing of it was taken.")
                             .arg(QFileInfo(path).fileName(), QString::fromStdString(e.what())),
                         PromptIcon::Warning);
        return;
    }
    ShowRecord();
    Refresh();
}

void TfrmCpt::ShowRecord()
{
    const bool showing = std::exchange(FShowing, true);
    const TCptRecord& r = FModel.Record;
    const TCptSettings& s = r.Settings;
    if (FModel.HasSounding()) {
        const TSounding& sounding = FModel.Sounding();
        QString text = QStringLiteral("%1 (%2): %3 rows to %4 m")
                           .arg(QString::fromStdString(sounding.Name), QFileInfo(QString::fromStdString(r.SoundingPath)).fileName())
                           .arg(sounding.Rows.size())
                           .arg(Number(sounding.Rows.back().Depth, 2));
        if (sounding.DroppedRows > 0)
            text += sounding.DroppedRows == 1
                        ? QStringLiteral(", 1 row without values or with a repeated depth left out")
                        : QStringLiteral(", %1 rows without values or with repeated depths left out")
                              .arg(sounding.DroppedRows);
        FSoundingLabel->setText(text);
    }
    FTest->clear();
    for (const std::string& test : FModel.Tests())
        FTest->addItem(QString::fromStdString(test));
    FTest->setCurrentText(QString::fromStdString(r.Test));
    FTest->setEnabled(FModel.Tests().size() > 1);
    for (const auto& [spin, value] : FNumbers)
        spin->setValue(*value < 0 && !spin->specialValueText().isEmpty() ? spin->minimum() : *value);
    FMethod->setCurrentIndex(static_cast<int>(s.Method));
    FDirection->setCurrentIndex(s.Direction == TLoadDirection::Tension ? 1 : 0);
    FEnd->setCurrentIndex(r.End == TPileEnd::Open ? 1 : 0);
    FWall->setEnabled(r.End == TPileEnd::Open);
    FUnitWeights->setRowCount(static_cast<int>(s.UnitWeights.size()));
    for (int row = 0; row < FUnitWeights->rowCount(); ++row) {
        SetCell(*FUnitWeights, row, 0, Number(s.UnitWeights[row].Bottom, 2));
        SetCell(*FUnitWeights, row, 1, Number(s.UnitWeights[row].UnitWeight, 2));
    }
    FOverrides->setRowCount(static_cast<int>(s.Overrides.size()));
    for (int row = 0; row < FOverrides->rowCount(); ++row) {
        const TClassOverride& o = s.Overrides[row];
        SetCell(*FOverrides, row, 0, Number(o.Top, 2));
        SetCell(*FOverrides, row, 1, Number(o.Bottom, 2));
        SetClassCell(row, o.Class);
    }
    FShowing = showing;
}

void TfrmCpt::TakeUnitWeights()
{
    std::vector<TUnitWeightRange> ranges;
    for (int row = 0; row < FUnitWeights->rowCount(); ++row)
        ranges.push_back({CellNumber(*FUnitWeights, row, 0), CellNumber(*FUnitWeights, row, 1)});
    FModel.Record.Settings.UnitWeights = std::move(ranges);
    Refresh();
}

void TfrmCpt::TakeOverrides()
{
    std::vector<TClassOverride> overrides;
    for (int row = 0; row < FOverrides->rowCount(); ++row) {
        const auto* cls = qobject_cast<QComboBox*>(FOverrides->cellWidget(row, 2));
        overrides.push_back({CellNumber(*FOverrides, row, 0), CellNumber(*FOverrides, row, 1),
                             cls && cls->currentIndex() == 1 ? TSoilClass::Clay : TSoilClass::Sand});
    }
    FModel.Record.Settings.Overrides = std::move(overrides);
    Refresh();
}

void TfrmCpt::SetClassCell(int row, TSoilClass cls)
{
    auto* choice = new QComboBox;
    choice->addItems({QStringLiteral("sand"), QStringLiteral("clay")});
    choice->setCurrentIndex(cls == TSoilClass::Clay ? 1 : 0);
    choice->setFocusPolicy(Qt::StrongFocus);
    choice->installEventFilter(this);
    connect(choice, &QComboBox::currentIndexChanged, this, [this] {
        if (!FShowing)
            TakeOverrides();
    });
    FOverrides->setCellWidget(row, 2, choice);
}

void TfrmCpt::TakeCurveDepths()
{
    std::vector<double> depths;
    for (int row = 0; row < FDepths->rowCount(); ++row)
        depths.push_back(CellNumber(*FDepths, row, 0));
    // In order, a depth that is no number last (the design refuses it).
    std::sort(depths.begin(), depths.end(),
              [](double a, double b) { return HasValue(a) && (!HasValue(b) || a < b); });
    FModel.Record.CurveDepths = std::move(depths);
    Refresh();
}

void TfrmCpt::Refresh()
{
    const TProgramData& project = FProject();
    const TPileGeometry pile = FModel.Pile(project);
    FPileLabel->setText(QStringLiteral("Length %1 m, outer diameter %2 m, from the project's pile properties.")
                            .arg(Number(pile.Length, 2), Number(pile.Diameter, 3)));
    ShowPlots();
    ShowDesign();
}

void TfrmCpt::ShowPlots()
{
    TProfilePlots plots;
    if (FModel.HasSounding()) {
        try {
            plots = FModel.Plots();
        } catch (const ECptError&) {
        }
    }
    FillProfileGraphs(FGraphs, plots, LayerBottoms(FProject()), FModel.Pile(FProject()).Length,
                      FModel.Record.Settings.SandClayBoundary);
    for (TPlotForm* plot : FPlots)
        plot->Rebuild();
    FReadout->setText(PlotHint);
    // Without a profile the design's message says what to change.
    FPlotArea->setVisible(!plots.Resistance.empty());
}

void TfrmCpt::ShowDesign()
{
    FWrite->setEnabled(false);
    if (!FModel.HasSounding()) {
        FSummary->setText(QStringLiteral("Open a sounding to see the curves."));
        FillDepths(FModel.Record.CurveDepths, nullptr);
        return;
    }
    try {
        const TCptDesign design = FModel.Design(FProject());
        FillDepths({}, &design);
        const bool tension = FModel.Record.Settings.Direction == TLoadDirection::Tension;
        FSummary->setText(
            QStringLiteral("Shaft capacity %1 kN (%2). Base: %3, q_p %4 MPa, q_b0.1 %5 MPa, %6 kN at 10 % of the "
                           "diameter. Effective area ratio %7. %8 t-z curves and a Q-w curve of %9 points.")
                .arg(Number(design.ShaftCapacity, 1), tension ? QStringLiteral("tension") : QStringLiteral("compression"),
                     design.BaseClass == TSoilClass::Sand ? QStringLiteral("sand") : QStringLiteral("clay"),
                     Number(design.BaseQp / 1000, 2), Number(design.BaseQb01 / 1000, 2),
                     Number(design.BaseCapacity, 1), Number(design.AreaRatio, 3))
                .arg(design.Curves.size())
                .arg(design.Qw.size()));
        FSummary->setStyleSheet({});
        FWrite->setEnabled(true);
    } catch (const ECptError& e) {
        FillDepths(FModel.Record.CurveDepths, nullptr);
        FSummary->setText(QStringLiteral("No curves: %1.").arg(QString::fromStdString(e.what())));
        FSummary->setStyleSheet(QStringLiteral("color: #b00000"));
    }
}

void TfrmCpt::FillDepths(const std::vector<double>& depths, const TCptDesign* design)
{
    const bool showing = std::exchange(FShowing, true);
    const int rows = static_cast<int>(design ? design->Curves.size() : depths.size());
    FDepths->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        if (design) {
            const TTzCurve& curve = design->Curves[row];
            SetCell(*FDepths, row, 0, Number(curve.Depth, 3));
            SetCell(*FDepths, row, 1, curve.Class == TSoilClass::Sand ? QStringLiteral("sand") : QStringLiteral("clay"),
                    false);
            SetCell(*FDepths, row, 2,
                    QStringLiteral("%1 to %2").arg(Number(curve.TributaryTop, 2), Number(curve.TributaryBottom, 2)),
                    false);
        } else {
            SetCell(*FDepths, row, 0, HasValue(depths[row]) ? Number(depths[row], 3) : QString());
            SetCell(*FDepths, row, 1, {}, false);
            SetCell(*FDepths, row, 2, {}, false);
        }
    }
    FShowing = showing;
}

void TfrmCpt::WriteClick()
{
    TProgramData& project = FProject();
    const int existing = project.Tables().TblTZDepth2.RowCount();
    if (existing > 0 &&
        Prompts().Ask(this, QStringLiteral("Replace the project's %1 t-z curves and its Q-w curve by the curves from "
                                           "the sounding?")
                                .arg(existing)) != Answer::Yes)
        return;
    try {
        TProjectTables& tables = project.Tables();
        RecordTableChange(QStringLiteral("Write Curves from CPT"), {&tables.TblTZDepth2, &tables.TblQwcurve2},
                          [&] { FModel.Write(project); });
    } catch (const ECptError& e) {
        Prompts().Inform(this,
                         QStringLiteral("The curves were not written: %1.").arg(QString::fromStdString(e.what())),
                         PromptIcon::Warning);
        return;
    }
    FWritten();
    FSummary->setText(FSummary->text() +
                      QStringLiteral("\nWritten into the project, which now uses the curves entered by the user."));
}
