// The main window's commands of the load test and its calibration, and the
// undo steps of the project's extras sections.

#include "MainForm.h"

#include "LoadTestComparison.h"
#include "PlotWindows.h"
#include "ResultsSummaryForm.h"
#include "TfrmCalibration.h"
#include "TableUndo.h"
#include "TfrmLoadTest.h"
#include "UserPrompts.h"

#include <QMdiArea>

#include <algorithm>

namespace {

bool SamePoints(const std::vector<TFloatPoint>& a, const std::vector<TFloatPoint>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TFloatPoint& p, const TFloatPoint& q) { return p.X == q.X && p.Y == q.Y; });
}

}  // namespace

void TMainForm::ShowLoadTestWindow()
{
    if (!FLoadTestWindow) {
        const auto restored = [this] {
            if (FLoadTestWindow)
                FLoadTestWindow->LoadFields();
            UpdateMeasuredPoints();
        };
        FLoadTestWindow = new TfrmLoadTest(
            *FArea, {ProjectAccess(), [this] { UpdateMeasuredPoints(); }, [this] { return FSettings.EditorPath; },
                     [this, restored](const QString& text, const std::function<void()>& change) {
                         RecordExtrasChange(text, LoadTestSection, change, restored);
                     }});
    }
    FLoadTestWindow->ShowWindow();
}

void TMainForm::RecordExtrasChange(const QString& text, const std::string& section, const std::function<void()>& change,
                                   const std::function<void()>& restored)
{
    RecordValueChange<nlohmann::json>(
        text, [this, section] { return Project().Extras.Section(section); },
        [this, section, restored](const nlohmann::json& value) {
            Project().Extras.SetSection(section, value);
            Project().SetChanged(true);
            restored();
        },
        change);
}

void TMainForm::ShowCalibrationWindow()
{
    if (!FCalibrationWindow)
        FCalibrationWindow =
            new TfrmCalibration(*FArea, ProjectAccess(), [this](const TFitResult& fit) { ApplyCalibration(fit); });
    FCalibrationWindow->ShowWindow();
}

void TMainForm::ApplyCalibration(const TFitResult& fit)
{
    RecordTableChange(QStringLiteral("Apply Calibration"), {&Project().Tables().TblTZFactors2},
                      [&] { ApplyFit(fit, Project()); });
    ShowProjectValues();
    CompRunClick();
}

void TMainForm::UpdateMeasuredPoints(bool refreshPlots)
{
    const std::vector<TFloatPoint> axial = FGraphs.pltAxial.Measured;
    const std::vector<TFloatPoint> distribution = FGraphs.pltLoad.Measured;
    std::optional<TLoadTest> test;
    // A test the project's extras hold but that cannot be read is shown by
    // the load test window; the graphs then go without it.
    try {
        if (FResults && FResults->Units == Project().Units())
            test = ProjectLoadTest(Project());
    } catch (const ELoadTestError&) {
    }
    SetMeasuredPoints(FGraphs.pltAxial, FGraphs.pltLoad, test ? &*test : nullptr);
    if (refreshPlots || !SamePoints(axial, FGraphs.pltAxial.Measured) ||
        !SamePoints(distribution, FGraphs.pltLoad.Measured))
        RefreshPlotWindows(*FArea, FGraphs.PlotsAvailable);
    if (FSummaryWindow)
        FSummaryWindow->Reload();
}
