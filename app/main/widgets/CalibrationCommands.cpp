// The main window's commands of the load test and its calibration.

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
    if (!FLoadTestWindow)
        FLoadTestWindow = new TfrmLoadTest(*FArea, ProjectAccess(), [this] { UpdateMeasuredPoints(); });
    FLoadTestWindow->ShowWindow();
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
