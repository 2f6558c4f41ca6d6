#include "StudyEditor.h"

#include "StudyGraphs.h"
#include "StudyInputs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColTarget, ColLayer, ColPosition, ColRow, ColMode, ColKind, ColMean, ColCov, ColMin, ColMax, Columns };

bool IsLayerValue(TStudyTarget target)
{
    return target >= TStudyTarget::UnitWeight && target <= TStudyTarget::TipResistance;
}

bool HasRow(TStudyTarget target) { return target == TStudyTarget::AxialStiffness || target == TStudyTarget::HeadLoad; }

QComboBox* Combo(const QStringList& items, int current)
{
    auto* combo = new QComboBox;
    combo->addItems(items);
    combo->setCurrentIndex(current);
    return combo;
}

const QStringList Positions = {QStringLiteral("Top and bottom"), QStringLiteral("Top"), QStringLiteral("Bottom")};
const QStringList Modes = {QStringLiteral("Value"), QStringLiteral("Factor")};
const QStringList Kinds = {QStringLiteral("Lognormal"), QStringLiteral("Normal"), QStringLiteral("Uniform")};

QString Text(double value) { return QString::fromStdString(ValueText(value)); }
QString Text(const std::optional<double>& value) { return value ? Text(*value) : QString(); }

double Number(const QString& text, const std::string& field)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        throw EStudyError(field + ": \"" + text.toStdString() + "\" is not a number");
    return value;
}

std::optional<double> OptionalNumber(const QString& text, const std::string& field)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return Number(text, field);
}

int Whole(const QString& text, const std::string& field)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw EStudyError(field + ": \"" + text.toStdString() + "\" is not a whole number");
    return value;
}

QComboBox* CellCombo(const QTableWidget* table, int row, int column)
{
    return qobject_cast<QComboBox*>(table->cellWidget(row, column));
}

QString CellText(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

}  // namespace

QStringList TargetCaptions()
{
    return {QStringLiteral("Pile length"),    QStringLiteral("Outer diameter"),
            QStringLiteral("AE"),             QStringLiteral("Unit weight"),
            QStringLiteral("Undrained shear strength"), QStringLiteral("Friction angle"),
            QStringLiteral("e50"),            QStringLiteral("Side friction"),
            QStringLiteral("Tip resistance"), QStringLiteral("t-multiplier"),
            QStringLiteral("z-multiplier"),   QStringLiteral("Q-multiplier"),
            QStringLiteral("w-multiplier"),   QStringLiteral("Pile-head load")};
}

TStudyEditor::TStudyEditor(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("&Name:")));
    FName = new QLineEdit;
    qobject_cast<QLabel*>(top->itemAt(0)->widget())->setBuddy(FName);
    top->addWidget(FName, 1);
    FKind = new QLabel;
    top->addWidget(FKind);
    layout->addLayout(top);
    FPages = new QStackedWidget;
    FPages->addWidget(BuildParametric());
    FPages->addWidget(BuildProbabilistic());
    layout->addWidget(FPages, 1);
    connect(FName, &QLineEdit::textEdited, this, &TStudyEditor::Edited);
}

QWidget* TStudyEditor::BuildParametric()
{
    auto* page = new QGroupBox(QStringLiteral("Swept input"));
    auto* form = new QFormLayout(page);
    FTarget = Combo(TargetCaptions(), 0);
    FLayer = new QSpinBox;
    FLayer->setRange(1, 99);
    FPosition = Combo(Positions, 0);
    FRow = new QSpinBox;
    FRow->setRange(0, 999);
    FRow->setSpecialValueText(QStringLiteral("Every row"));
    FMode = Combo(Modes, 0);
    FFixTipArea = new QCheckBox(QStringLiteral("Keep the project's tip area"));
    form->addRow(QStringLiteral("&Input:"), FTarget);
    form->addRow(QStringLiteral("&Layer:"), FLayer);
    form->addRow(QStringLiteral("&Position in layer:"), FPosition);
    form->addRow(QStringLiteral("AE row or &load number:"), FRow);
    form->addRow(QStringLiteral("Values are:"), FMode);
    form->addRow(QString(), FFixTipArea);

    FRange = new QRadioButton(QStringLiteral("&Range"));
    auto* list = new QRadioButton(QStringLiteral("Li&st"));
    auto* group = new QButtonGroup(page);
    group->addButton(FRange);
    group->addButton(list);
    FRange->setChecked(true);
    FFrom = new QLineEdit;
    FTo = new QLineEdit;
    FCount = new QSpinBox;
    FCount->setRange(2, MaxSweepValues);
    auto* range = new QHBoxLayout;
    range->addWidget(FRange);
    range->addWidget(new QLabel(QStringLiteral("from")));
    range->addWidget(FFrom);
    range->addWidget(new QLabel(QStringLiteral("to")));
    range->addWidget(FTo);
    range->addWidget(new QLabel(QStringLiteral("in")));
    range->addWidget(FCount);
    range->addWidget(new QLabel(QStringLiteral("values")));
    form->addRow(range);
    FList = new QLineEdit;
    FList->setPlaceholderText(QStringLiteral("values separated by spaces"));
    auto* values = new QHBoxLayout;
    values->addWidget(list);
    values->addWidget(FList, 1);
    form->addRow(values);
    FValueUnit = new QLabel;
    form->addRow(QStringLiteral("Values of:"), FValueUnit);

    for (QComboBox* combo : {FTarget, FPosition, FMode})
        connect(combo, &QComboBox::activated, this, [this] {
            ShowInputFields();
            emit Edited();
        });
    for (QSpinBox* spin : {FLayer, FRow, FCount})
        connect(spin, &QSpinBox::valueChanged, this, &TStudyEditor::Edited);
    for (QLineEdit* edit : {FFrom, FTo, FList})
        connect(edit, &QLineEdit::textEdited, this, &TStudyEditor::Edited);
    connect(FFixTipArea, &QCheckBox::toggled, this, &TStudyEditor::Edited);
    connect(FRange, &QRadioButton::toggled, this, &TStudyEditor::Edited);
    return page;
}

QWidget* TStudyEditor::BuildProbabilistic()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    FInputs = new QTableWidget(0, Columns);
    FInputs->setHorizontalHeaderLabels({QStringLiteral("Input"), QStringLiteral("Layer"), QStringLiteral("Position"),
                                        QStringLiteral("Row"), QStringLiteral("Values are"),
                                        QStringLiteral("Distribution"), QStringLiteral("Mean (or min.)"),
                                        QStringLiteral("CoV (or max.)"), QStringLiteral("Lower bound"),
                                        QStringLiteral("Upper bound")});
    FInputs->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FInputs->setToolTip(QStringLiteral(
        "Lognormal and normal by their mean and coefficient of variation; uniform between the two values.\n"
        "Bounds, where given, keep a lognormal or normal value physical."));
    connect(FInputs, &QTableWidget::itemChanged, this, &TStudyEditor::Edited);
    layout->addWidget(FInputs, 1);

    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("&Add Input"));
    auto* remove = new QPushButton(QStringLiteral("Remo&ve Input"));
    connect(add, &QPushButton::clicked, this, [this] {
        AddRandomInput(TStudyTarget::PileLength);
        emit Edited();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (FInputs->rowCount() > 0)
            FInputs->removeRow(FInputs->currentRow() >= 0 ? FInputs->currentRow() : FInputs->rowCount() - 1);
        emit Edited();
    });
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* form = new QFormLayout;
    FCorrelated = new QCheckBox(QStringLiteral("&Correlate input"));
    FFirst = new QSpinBox;
    FSecond = new QSpinBox;
    FFirst->setRange(1, 99);
    FSecond->setRange(1, 99);
    FCoefficient = new QDoubleSpinBox;
    FCoefficient->setRange(-0.99, 0.99);
    FCoefficient->setSingleStep(0.1);
    auto* correlation = new QHBoxLayout;
    correlation->addWidget(FCorrelated);
    correlation->addWidget(FFirst);
    correlation->addWidget(new QLabel(QStringLiteral("with input")));
    correlation->addWidget(FSecond);
    correlation->addWidget(new QLabel(QStringLiteral("coefficient")));
    correlation->addWidget(FCoefficient);
    correlation->addStretch();
    form->addRow(correlation);
    FRealisations = new QSpinBox;
    FRealisations->setRange(2, MaxRealisations);
    FSeed = new QLineEdit;
    FSampling = Combo({QStringLiteral("Latin hypercube"), QStringLiteral("Plain random")}, 0);
    auto* sampling = new QHBoxLayout;
    sampling->addWidget(FRealisations);
    sampling->addWidget(new QLabel(QStringLiteral("realisations, seed")));
    sampling->addWidget(FSeed);
    sampling->addWidget(FSampling);
    sampling->addStretch();
    form->addRow(QStringLiteral("Sampling:"), sampling);
    FLoad = new QLineEdit;
    FLimit = new QLineEdit;
    FLimit->setPlaceholderText(QStringLiteral("none"));
    auto* settlement = new QHBoxLayout;
    FLoadUnit = new QLabel;
    FLimitLabel = new QLabel;
    settlement->addWidget(FLoad);
    settlement->addWidget(FLoadUnit);
    settlement->addWidget(FLimit);
    settlement->addWidget(FLimitLabel);
    settlement->addStretch();
    form->addRow(QStringLiteral("Settlement under the study load:"), settlement);
    layout->addLayout(form);

    for (QSpinBox* spin : {FFirst, FSecond, FRealisations})
        connect(spin, &QSpinBox::valueChanged, this, &TStudyEditor::Edited);
    connect(FCoefficient, &QDoubleSpinBox::valueChanged, this, &TStudyEditor::Edited);
    connect(FCorrelated, &QCheckBox::toggled, this, &TStudyEditor::Edited);
    connect(FSampling, &QComboBox::activated, this, &TStudyEditor::Edited);
    for (QLineEdit* edit : {FSeed, FLoad, FLimit})
        connect(edit, &QLineEdit::textEdited, this, &TStudyEditor::Edited);
    return page;
}

void TStudyEditor::ShowInputFields()
{
    const auto target = static_cast<TStudyTarget>(FTarget->currentIndex());
    TStudyInput input;
    input.Target = target;
    input.Mode = static_cast<TValueMode>(FMode->currentIndex());
    input.Layer = FLayer->value();
    input.Row = FRow->value();
    input.Position = static_cast<TLayerPosition>(FPosition->currentIndex());
    FValueUnit->setText(QString::fromStdString(InputLabel(input, FUnits)));
    FLayer->setEnabled(IsLayerValue(target));
    FPosition->setEnabled(IsLayerValue(target));
    FRow->setEnabled(HasRow(target));
    FFixTipArea->setEnabled(target == TStudyTarget::Diameter);
}

void TStudyEditor::Load(const TStudy& study, UnitSystem units)
{
    const QSignalBlocker blocker(this);
    const QSignalBlocker tableBlocker(FInputs);
    FUnits = units;
    FLoadUnit->setText(QString::fromStdString(ForceUnitText(units)) +
                       QStringLiteral("; probability that it exceeds"));
    FLimitLabel->setText(QString::fromStdString(LengthUnitText(units)));
    FName->setText(QString::fromStdString(study.Name));
    FProbabilistic = std::holds_alternative<TProbabilisticStudy>(study.Definition);
    FPages->setCurrentIndex(FProbabilistic ? 1 : 0);
    FKind->setText(FProbabilistic ? QStringLiteral("Probabilistic study") : QStringLiteral("Parametric study"));
    const QString unitsText = units == UnitSystem::SI ? QStringLiteral("kN, m") : QStringLiteral("lb, in");
    setToolTip(QStringLiteral("Values in the project's units (%1); a factor multiplies the project's value.")
                   .arg(unitsText));
    if (const auto* parametric = std::get_if<TParametricStudy>(&study.Definition)) {
        const TStudyInput& input = parametric->Input;
        FTarget->setCurrentIndex(static_cast<int>(input.Target));
        FLayer->setValue(std::max(input.Layer, 1));
        FPosition->setCurrentIndex(static_cast<int>(input.Position));
        FRow->setValue(input.Row);
        FMode->setCurrentIndex(static_cast<int>(input.Mode));
        FFixTipArea->setChecked(input.FixTipArea);
        const TSweep& sweep = parametric->Sweep;
        FRange->setChecked(sweep.Range);
        FFrom->setText(Text(sweep.From));
        FTo->setText(Text(sweep.To));
        FCount->setValue(sweep.Count);
        QStringList list;
        for (double value : sweep.List)
            list << Text(value);
        FList->setText(list.join(u' '));
        ShowInputFields();
        return;
    }
    const auto& probabilistic = std::get<TProbabilisticStudy>(study.Definition);
    FInputs->setRowCount(0);
    for (const TRandomInput& input : probabilistic.Inputs) {
        FInputs->insertRow(FInputs->rowCount());
        SetRandomInput(FInputs->rowCount() - 1, input);
    }
    FCorrelated->setChecked(probabilistic.Correlation.has_value());
    const TCorrelation correlation = probabilistic.Correlation.value_or(TCorrelation{});
    FFirst->setValue(correlation.First + 1);
    FSecond->setValue(correlation.Second + 1);
    FCoefficient->setValue(correlation.Coefficient);
    FRealisations->setValue(probabilistic.Realisations);
    FSeed->setText(QString::number(probabilistic.Seed));
    FSampling->setCurrentIndex(static_cast<int>(probabilistic.Sampling));
    FLoad->setText(Text(probabilistic.SettlementLoad));
    FLimit->setText(Text(probabilistic.SettlementLimit));
}

void TStudyEditor::AddRandomInput(TStudyTarget target)
{
    TRandomInput input;
    input.Input.Target = target;
    input.Input.Mode = TValueMode::Factor;
    input.Input.Layer = 1;
    input.Distribution.Min = 0;
    const QSignalBlocker blocker(FInputs);
    FInputs->insertRow(FInputs->rowCount());
    SetRandomInput(FInputs->rowCount() - 1, input);
}

void TStudyEditor::SetRandomInput(int row, const TRandomInput& input)
{
    const auto combo = [&](int column, const QStringList& items, int current) {
        QComboBox* box = Combo(items, current);
        connect(box, &QComboBox::activated, this, &TStudyEditor::Edited);
        FInputs->setCellWidget(row, column, box);
    };
    const auto text = [&](int column, const QString& value) {
        FInputs->setItem(row, column, new QTableWidgetItem(value));
    };
    const TDistribution& d = input.Distribution;
    const bool uniform = d.Kind == TDistributionKind::Uniform;
    combo(ColTarget, TargetCaptions(), static_cast<int>(input.Input.Target));
    text(ColLayer, QString::number(input.Input.Layer));
    combo(ColPosition, Positions, static_cast<int>(input.Input.Position));
    text(ColRow, QString::number(input.Input.Row));
    combo(ColMode, Modes, static_cast<int>(input.Input.Mode));
    combo(ColKind, Kinds, static_cast<int>(d.Kind));
    text(ColMean, uniform ? Text(d.Min) : Text(d.Mean));
    text(ColCov, uniform ? Text(d.Max) : Text(d.Cov));
    text(ColMin, uniform ? QString() : Text(d.Min));
    text(ColMax, uniform ? QString() : Text(d.Max));
}

TRandomInput TStudyEditor::RandomInput(int row) const
{
    const std::string field = "input " + std::to_string(row + 1);
    TRandomInput input;
    input.Input.Target = static_cast<TStudyTarget>(CellCombo(FInputs, row, ColTarget)->currentIndex());
    input.Input.Layer = Whole(CellText(FInputs, row, ColLayer), field + ", layer");
    input.Input.Position = static_cast<TLayerPosition>(CellCombo(FInputs, row, ColPosition)->currentIndex());
    input.Input.Row = Whole(CellText(FInputs, row, ColRow), field + ", row");
    input.Input.Mode = static_cast<TValueMode>(CellCombo(FInputs, row, ColMode)->currentIndex());
    TDistribution& d = input.Distribution;
    d.Kind = static_cast<TDistributionKind>(CellCombo(FInputs, row, ColKind)->currentIndex());
    if (d.Kind == TDistributionKind::Uniform) {
        d.Min = Number(CellText(FInputs, row, ColMean), field + ", minimum");
        d.Max = Number(CellText(FInputs, row, ColCov), field + ", maximum");
    } else {
        d.Mean = Number(CellText(FInputs, row, ColMean), field + ", mean");
        d.Cov = Number(CellText(FInputs, row, ColCov), field + ", coefficient of variation");
        d.Min = OptionalNumber(CellText(FInputs, row, ColMin), field + ", lower bound");
        d.Max = OptionalNumber(CellText(FInputs, row, ColMax), field + ", upper bound");
    }
    return input;
}

TStudy TStudyEditor::Study() const
{
    TStudy study;
    study.Name = FName->text().trimmed().toStdString();
    if (study.Name.empty())
        throw EStudyError("name: a study needs a name");
    if (!FProbabilistic) {
        TParametricStudy parametric;
        TStudyInput& input = parametric.Input;
        input.Target = static_cast<TStudyTarget>(FTarget->currentIndex());
        input.Layer = IsLayerValue(input.Target) ? FLayer->value() : 0;
        input.Position = static_cast<TLayerPosition>(FPosition->currentIndex());
        input.Row = HasRow(input.Target) ? FRow->value() : 0;
        input.Mode = static_cast<TValueMode>(FMode->currentIndex());
        input.FixTipArea = input.Target == TStudyTarget::Diameter && FFixTipArea->isChecked();
        TSweep& sweep = parametric.Sweep;
        sweep.Range = FRange->isChecked();
        if (sweep.Range) {
            sweep.From = Number(FFrom->text(), "from");
            sweep.To = Number(FTo->text(), "to");
            sweep.Count = FCount->value();
        } else {
            for (const QString& value : FList->text().split(QRegularExpression(QStringLiteral("[\\s;]+")),
                                                            Qt::SkipEmptyParts))
                sweep.List.push_back(Number(value, "list"));
        }
        study.Definition = parametric;
    } else {
        TProbabilisticStudy probabilistic;
        for (int row = 0; row < FInputs->rowCount(); ++row)
            probabilistic.Inputs.push_back(RandomInput(row));
        if (FCorrelated->isChecked())
            probabilistic.Correlation = TCorrelation{FFirst->value() - 1, FSecond->value() - 1, FCoefficient->value()};
        probabilistic.Realisations = FRealisations->value();
        bool ok = false;
        probabilistic.Seed = FSeed->text().trimmed().toULongLong(&ok);
        if (!ok)
            throw EStudyError("seed: \"" + FSeed->text().toStdString() + "\" is not a whole number of 0 or more");
        probabilistic.Sampling = static_cast<TSampling>(FSampling->currentIndex());
        probabilistic.SettlementLoad = Number(FLoad->text(), "study load");
        probabilistic.SettlementLimit = OptionalNumber(FLimit->text(), "settlement limit");
        study.Definition = probabilistic;
    }
    CheckDefinition(study);
    return study;
}
