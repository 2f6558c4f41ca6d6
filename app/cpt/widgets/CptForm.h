#pragma once

// The CPT window: opens a sounding (one test of an AGS4 file), plots q_c and
// q_t, f_s and the pore pressures, and I_c against depth beside the
// project's layer bottoms and pile tip, and takes beside them the stress
// profile, the soil behaviour type overrides, the pile's end and the
// method's settings. It shows the curve depths, which the user may change,
// with the capacities, and writes the curves into the project.

#include "CptWindowModel.h"
#include "GraphPlot.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QScrollArea;
class QTableWidget;
class TPlotForm;

class TfrmCpt : public QWidget {
    Q_OBJECT

public:
    static inline const QString WindowCaption = QStringLiteral("Curves from a CPT Sounding");

    // `project` gives the current project (the window outlives a project
    // replaced by New or Open); `written` runs after curves were written
    // into it.
    TfrmCpt(std::function<TProgramData&()> project, std::function<void()> written, QWidget* parent = nullptr);

    const cpt::TCptWindowModel& Model() const { return FModel; }

    // Takes the record of the current project, when it keeps one, or else
    // the unit weights of its layers, and shows them.
    void TakeProject();
    // Asks for a sounding file and opens it.
    void OpenClick();
    // Writes the curves into the project.
    void WriteClick();
    // Shows the design again (the project's pile may have changed).
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDoubleSpinBox* AddNumber(QFormLayout* form, const QString& label, double* value, double minimum, double maximum,
                              int decimals, const QString& suffix, const QString& none = {});
    QTableWidget* AddTable(QFormLayout* form, const QStringList& columns, const std::function<void()>& edited);
    void OpenSounding(const QString& path, const std::string& test);
    // The fields, tables and choices from the model's record.
    void ShowRecord();
    void TakeUnitWeights();
    void TakeOverrides();
    // The class of an override row, a choice of sand or clay.
    void SetClassCell(int row, cpt::TSoilClass cls);
    void TakeCurveDepths();
    void ShowPlots();
    void ShowDesign();
    void FillDepths(const std::vector<double>& depths, const cpt::TCptDesign* design);

    std::function<TProgramData&()> FProject;
    std::function<void()> FWritten;
    cpt::TCptWindowModel FModel;
    // Set while the window fills its fields and tables, whose signals then
    // change nothing.
    bool FShowing = false;

    QLabel* FSoundingLabel;
    QComboBox* FTest;
    QLabel* FPileLabel;
    std::vector<std::pair<QDoubleSpinBox*, double*>> FNumbers;
    QComboBox* FMethod;
    QComboBox* FDirection;
    QComboBox* FEnd;
    QDoubleSpinBox* FWall;
    QTableWidget* FUnitWeights;
    QTableWidget* FOverrides;
    QTableWidget* FDepths;
    QLabel* FSummary;
    QLabel* FReadout;
    QScrollArea* FScroll = nullptr;
    QWidget* FPlotArea;
    QPushButton* FWrite;

    std::array<TGraphPlot, 3> FGraphs;
    std::array<TPlotForm*, 3> FPlots;
};
