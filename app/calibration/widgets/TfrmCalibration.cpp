#include "TfrmCalibration.h"

#include "Chart.h"
#include "Evaluator.h"
#include "ProgramData.h"
#include "ResultsSummary.h"
#include "UnitStrings.h"
#include "UserPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString Number(double value) { return QString::fromStdString(QuantityText(value)); }

}  // namespace

TfrmCalibration::TfrmCalibration(QMdiArea& area, std::function<TProgramData&()> project,
                                 std::function<void(const TFitResult&)> apply)
    : FProject(std::move(project)), FApply(std::move(apply)), FShaft(new QComboBox(this)),
      FFitT(new QCheckBox(QStringLiteral("t-multiplier"), this)),
      FFitZ(new QCheckBox(QStringLiteral("z-multiplier"), this)),
      FFitQ(new QCheckBox(QStringLiteral("Q-multiplier"), this)),
      FFitW(new QCheckBox(QStringLiteral("w-multiplier"), this)), FLower(new QLineEdit(QStringLiteral("0.1"), this)),
      FUpper(new QLineEdit(QStringLiteral("10"), this)), FFitButton(new QPushButton(QStringLiteral("Fit"), this)),
      FCancelButton(new QPushButton(QStringLiteral("Cancel"), this)),
      FApplyButton(new QPushButton(QStringLiteral("Apply"), this)), FProgress(new QProgressBar(this)),
      FStatus(new QLabel(this)), FValues(new QTableWidget(0, 4, this)), FMisfits(new QLabel(this)),
      FWarnings(new QLabel(this)), FChart(CreateChart(this, 3)), FTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("Calibration"));
    setWindowTitle(WindowCaption);
    setAttribute(Qt::WA_DeleteOnClose);

    FShaft->addItems({QStringLiteral("not fitted"), QStringLiteral("one pair for the whole shaft"),
                      QStringLiteral("one pair per soil layer")});
    FShaft->setCurrentIndex(1);
    for (QCheckBox* box : {FFitT, FFitZ, FFitQ, FFitW})
        box->setChecked(true);
    connect(FShaft, &QComboBox::currentIndexChanged, this, [this] { UpdateButtons(); });

    auto* shaft = new QGroupBox(QStringLiteral("Shaft (t-z curves)"), this);
    auto* shaftLayout = new QVBoxLayout(shaft);
    shaftLayout->addWidget(FShaft);
    auto* shaftBoxes = new QHBoxLayout;
    shaftBoxes->addWidget(FFitT);
    shaftBoxes->addWidget(FFitZ);
    shaftLayout->addLayout(shaftBoxes);
    auto* tip = new QGroupBox(QStringLiteral("Tip (Q-w curve)"), this);
    auto* tipLayout = new QHBoxLayout(tip);
    tipLayout->addWidget(FFitQ);
    tipLayout->addWidget(FFitW);
    auto* bounds = new QGroupBox(QStringLiteral("Bounds of every multiplier"), this);
    auto* boundsLayout = new QFormLayout(bounds);
    boundsLayout->addRow(QStringLiteral("Lowest:"), FLower);
    boundsLayout->addRow(QStringLiteral("Highest:"), FUpper);
    auto* choices = new QHBoxLayout;
    choices->addWidget(shaft);
    choices->addWidget(tip);
    choices->addWidget(bounds);

    FProgress->setRange(0, 0);
    FProgress->setVisible(false);
    FProgress->setMaximumWidth(160);
    FStatus->setObjectName(QStringLiteral("FitStatus"));
    FFitButton->setObjectName(QStringLiteral("FitButton"));
    FCancelButton->setObjectName(QStringLiteral("CancelButton"));
    FApplyButton->setObjectName(QStringLiteral("ApplyButton"));
    FApplyButton->setToolTip(QStringLiteral("Write the fitted factors into the project, switch them on and run"));
    connect(FFitButton, &QPushButton::clicked, this, &TfrmCalibration::Fit);
    connect(FCancelButton, &QPushButton::clicked, this, &TfrmCalibration::CancelFit);
    connect(FApplyButton, &QPushButton::clicked, this, &TfrmCalibration::Apply);
    auto* commands = new QHBoxLayout;
    commands->addWidget(FFitButton);
    commands->addWidget(FCancelButton);
    commands->addWidget(FProgress);
    commands->addWidget(FStatus, 1);
    commands->addWidget(FApplyButton);

    FValues->setObjectName(QStringLiteral("FittedValues"));
    FValues->setHorizontalHeaderLabels(
        {QStringLiteral("Multiplier"), QStringLiteral("Current"), QStringLiteral("Fitted"), QStringLiteral("About 95 % range")});
    FValues->verticalHeader()->hide();
    FValues->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FValues->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    FMisfits->setObjectName(QStringLiteral("Misfits"));
    FMisfits->setWordWrap(true);
    FWarnings->setObjectName(QStringLiteral("FitWarnings"));
    FWarnings->setWordWrap(true);
    FWarnings->setStyleSheet(QStringLiteral("color: #a00000"));

    // Measured points over the curves of the current and the fitted factors.
    FChart->Series(0).SetTitle("Measured");
    FChart->Series(0).SetPen(Qt::black, 0);
    FChart->Series(0).SetMarkSize(7);
    FChart->Series(1).SetTitle("Current factors");
    FChart->Series(1).SetPen(Qt::blue, 2);
    FChart->Series(1).SetPointMarks(false);
    FChart->Series(2).SetTitle("Fitted factors");
    FChart->Series(2).SetPen(Qt::red, 2);
    FChart->Series(2).SetPointMarks(false);
    FChart->Axis(TChartAxisSide::Left).SetInverted(true);
    FChart->Widget()->setMinimumSize(420, 240);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(commands);
    layout->addWidget(FChart->Widget(), 3);
    layout->addWidget(FValues, 2);
    layout->addWidget(FMisfits);
    layout->addWidget(FWarnings);

    FTimer->setInterval(200);
    connect(FTimer, &QTimer::timeout, this, [this] {
        FStatus->setText(QStringLiteral("Fitting: %1 analyses so far").arg(FAnalyses.load()));
    });

    // At the area's top left, where it fits.
    QMdiSubWindow* frame = area.addSubWindow(this);
    frame->resize(720, 700);
    frame->move(0, 0);
    UpdateButtons();
}

TfrmCalibration::~TfrmCalibration()
{
    FCancel = true;
    if (FWorker.joinable())
        FWorker.join();
}

void TfrmCalibration::ShowWindow()
{
    show();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->mdiArea()->setActiveSubWindow(frame);
}

TFitOptions TfrmCalibration::Options() const
{
    TFitOptions options;
    options.Shaft = static_cast<TShaftFit>(FShaft->currentIndex());
    options.FitT = FFitT->isChecked();
    options.FitZ = FFitZ->isChecked();
    options.FitQ = FFitQ->isChecked();
    options.FitW = FFitW->isChecked();
    options.Tip = options.FitQ || options.FitW;
    if (options.Shaft != TShaftFit::None && !options.FitT && !options.FitZ)
        options.Shaft = TShaftFit::None;
    options.Lower = static_cast<double>(Evaluate(FLower->text().toStdString()));
    options.Upper = static_cast<double>(Evaluate(FUpper->text().toStdString()));
    if (!(options.Lower > 0 && options.Lower < 1 && options.Upper > 1))
        throw EAssignError("The bounds must hold 1 and the lowest must be above 0: for instance 0.1 and 10.");
    return options;
}

void TfrmCalibration::Fit()
{
    if (Fitting())
        return;
    TProgramData& project = FProject();
    try {
        const std::optional<TLoadTest> test = ProjectLoadTest(project);
        if (!test) {
            Prompts().Inform(this, QStringLiteral("The project has no load test to fit to. Enter the measured points "
                                                  "first (Data, Load Test ...)."));
            return;
        }
        TFitOptions options = Options();
        if (options.Shaft == TShaftFit::None && !options.Tip)
            throw EAssignError("Tick at least one multiplier to fit.");
        options.Cancel = &FCancel;
        options.Progress = &FAnalyses;
        FCalibration = std::make_unique<TCalibration>(project, *test, options);
    } catch (const std::exception& error) {
        Prompts().Inform(this, QStringLiteral("The fit did not start: %1").arg(error.what()), PromptIcon::Warning);
        return;
    }
    FCancel = false;
    FStale = false;
    FAnalyses = 0;
    FResult.reset();
    ShowResult();
    FWorker = std::thread([this] {
        TFitResult fit = FCalibration->Fit();
        std::vector<THeadPoint> current = FCalibration->Evaluate(FCalibration->StartValues()).Curve;
        QMetaObject::invokeMethod(
            this, [this, fit = std::move(fit), current = std::move(current)]() mutable {
                Finished(std::move(fit), std::move(current));
            },
            Qt::QueuedConnection);
    });
    FTimer->start();
    UpdateButtons();
}

void TfrmCalibration::CancelFit()
{
    if (!Fitting())
        return;
    FCancel = true;
    FStatus->setText(QStringLiteral("Cancelling ..."));
}

void TfrmCalibration::Finished(TFitResult fit, std::vector<THeadPoint> currentCurve)
{
    FWorker.join();
    FTimer->stop();
    if (FStale) {
        FStale = false;
        ProjectChanged();
        FStatus->setText(QStringLiteral("The project changed during the fit: fit again."));
        emit FitFinished();
        return;
    }
    FResult = std::move(fit);
    TChartSeries& current = FChart->Series(1);
    current.Clear();
    for (const THeadPoint& point : currentCurve)
        current.AddXY(point.Load, point.Settlement);
    ShowResult();
    UpdateButtons();
    emit FitFinished();
}

void TfrmCalibration::ShowResult()
{
    const UnitSystem units = FProject().Units();
    const std::string length = ExpandUnits("L", units);
    FChart->Axis(TChartAxisSide::Bottom).SetTitle("Head load (" + ExpandUnits("F", units) + ")");
    FChart->Axis(TChartAxisSide::Left).SetTitle("Head settlement (" + length + ")");
    TChartSeries& measured = FChart->Series(0);
    TChartSeries& fitted = FChart->Series(2);
    measured.Clear();
    fitted.Clear();
    if (FCalibration)
        for (const TLoadTestPoint& point : FCalibration->Test().Points)
            measured.AddXY(point.HeadLoad, point.HeadSettlement);
    FValues->setRowCount(0);
    FMisfits->clear();
    FWarnings->clear();
    if (!FResult) {
        FChart->Series(1).Clear();
        FStatus->clear();
        return;
    }
    const TFitResult& fit = *FResult;
    for (const THeadPoint& point : fit.FittedCurve)
        fitted.AddXY(point.Load, point.Settlement);
    FValues->setRowCount(static_cast<int>(fit.Parameters.size()));
    for (int row = 0; row < FValues->rowCount(); ++row) {
        const TFitParameter& parameter = fit.Parameters[static_cast<std::size_t>(row)];
        const QString range = parameter.Low == 0 && parameter.High == 0
                                  ? QStringLiteral("not determined")
                                  : Number(parameter.Low) + QStringLiteral(" to ") + Number(parameter.High);
        const QStringList cells{QString::fromStdString(parameter.Name), Number(parameter.Start), Number(parameter.Value),
                                range + (parameter.AtBound ? QStringLiteral(" (at a bound)") : QString())};
        for (int column = 0; column < cells.size(); ++column)
            FValues->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    const auto rms = [&](const TMisfit& misfit) {
        return std::isnan(misfit.Settlement) ? QStringLiteral("no measured load on the computed curve")
                                             : Number(misfit.Settlement) + ' ' + QString::fromStdString(length);
    };
    QString misfits = QStringLiteral("RMS settlement misfit: %1 before, %2 after the fit.").arg(rms(fit.Before), rms(fit.After));
    if (fit.After.Gauge > 0)
        misfits += QStringLiteral(" Gauge loads: %1 before, %2 %3 after.")
                       .arg(Number(fit.Before.Gauge), Number(fit.After.Gauge), QString::fromStdString(ExpandUnits("F", units)));
    if (fit.After.Toe > 0)
        misfits += QStringLiteral(" Toe movements: %1 before, %2 %3 after.")
                       .arg(Number(fit.Before.Toe), Number(fit.After.Toe), QString::fromStdString(length));
    FMisfits->setText(misfits);
    QStringList warnings;
    for (const std::string& warning : fit.Warnings)
        warnings << QString::fromStdString(warning);
    FWarnings->setText(warnings.join(QLatin1Char('\n')));
    FStatus->setText(QStringLiteral("%1 after %2 analyses in %3 s.")
                         .arg(fit.Cancelled ? QStringLiteral("Cancelled, best so far shown,") : QStringLiteral("Fitted"))
                         .arg(fit.Analyses)
                         .arg(fit.Seconds, 0, 'f', 1));
}

void TfrmCalibration::Apply()
{
    if (!FResult || Fitting())
        return;
    const TFitResult fit = *FResult;
    FApply(fit);
    FStatus->setText(QStringLiteral("Applied to the project."));
}

void TfrmCalibration::ProjectChanged()
{
    if (Fitting()) {
        FStale = true;
        FCancel = true;
        return;
    }
    FCalibration.reset();
    FResult.reset();
    ShowResult();
    UpdateButtons();
}

void TfrmCalibration::UpdateButtons()
{
    const bool fitting = Fitting();
    FFitButton->setEnabled(!fitting);
    FCancelButton->setEnabled(fitting);
    FApplyButton->setEnabled(!fitting && FResult.has_value());
    FProgress->setVisible(fitting);
    const bool shaft = FShaft->currentIndex() != 0;
    FFitT->setEnabled(shaft && !fitting);
    FFitZ->setEnabled(shaft && !fitting);
    for (QWidget* field : std::initializer_list<QWidget*>{FShaft, FFitQ, FFitW, FLower, FUpper})
        field->setEnabled(!fitting);
}
