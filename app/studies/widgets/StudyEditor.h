#pragma once

// The definition of one study, as fields: its name, and either the input a
// parametric study sweeps with its range or list of values, or the random
// inputs of a probabilistic study with their distributions, the correlation,
// the number of realisations, the seed, the sampling and the load and limit
// of the settlement it follows.

#include "StudyDefinition.h"
#include "UnitStrings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

class TStudyEditor : public QWidget {
    Q_OBJECT
public:
    explicit TStudyEditor(QWidget* parent = nullptr);

    // Shows a definition; the field units follow the project's unit system.
    void Load(const TStudy& study, UnitSystem units);
    // The definition the fields hold; EStudyError naming the field that
    // cannot be used.
    TStudy Study() const;

    // The fields, for tests that fill them as a person would.
    QLineEdit* NameField() const { return FName; }
    QComboBox* TargetField() const { return FTarget; }
    QLineEdit* FromField() const { return FFrom; }
    QLineEdit* ToField() const { return FTo; }
    QSpinBox* CountField() const { return FCount; }
    QTableWidget* InputsTable() const { return FInputs; }
    QSpinBox* RealisationsField() const { return FRealisations; }
    QLineEdit* LoadField() const { return FLoad; }
    QLineEdit* LimitField() const { return FLimit; }
    // Appends a random input (a lognormal factor on the target).
    void AddRandomInput(TStudyTarget target);

signals:
    // A field was changed by the user.
    void Edited();

private:
    QWidget* BuildParametric();
    QWidget* BuildProbabilistic();
    void ShowInputFields();
    void SetRandomInput(int row, const TRandomInput& input);
    TRandomInput RandomInput(int row) const;

    bool FProbabilistic = false;
    UnitSystem FUnits = UnitSystem::English;
    QLineEdit* FName;
    QLabel* FKind;
    QStackedWidget* FPages;
    // Parametric.
    QComboBox* FTarget;
    QSpinBox* FLayer;
    QComboBox* FPosition;
    QSpinBox* FRow;
    QComboBox* FMode;
    QCheckBox* FFixTipArea;
    QRadioButton* FRange;
    QLineEdit* FFrom;
    QLineEdit* FTo;
    QSpinBox* FCount;
    QLineEdit* FList;
    QLabel* FValueUnit;
    // Probabilistic.
    QTableWidget* FInputs;
    QCheckBox* FCorrelated;
    QSpinBox* FFirst;
    QSpinBox* FSecond;
    QDoubleSpinBox* FCoefficient;
    QSpinBox* FRealisations;
    QLineEdit* FSeed;
    QComboBox* FSampling;
    QLineEdit* FLoad;
    QLineEdit* FLimit;
    QLabel* FLoadUnit;
    QLabel* FLimitLabel;
};

// The captions of the inputs a study can change, in the order of TStudyTarget.
QStringList TargetCaptions();
