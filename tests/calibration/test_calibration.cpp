// The fit recovers factors the data were made with, says when the data
// cannot tell parameters apart, and writes nothing until it is applied.
#include "CalibrationTestSupport.h"

#include <cmath>

namespace {

const std::string Example = KORVEN_EXAMPLES "/example.kv3d";
const std::string UserCurves = KORVEN_EXAMPLES "/user-curves.kv3d";

// A placeholder test: the calibration's problem does not depend on it.
TLoadTest Placeholder(UnitSystem units) { return {units, {{1, 0.1, {}, {}}, {2, 0.2, {}, {}}, {3, 0.3, {}, {}}}, {}}; }

void ExpectRecovered(const TFitResult& fit, const std::vector<double>& truth, double tolerance)
{
    ASSERT_EQ(fit.Parameters.size(), truth.size());
    for (size_t j = 0; j < truth.size(); ++j)
        EXPECT_NEAR(fit.Parameters[j].Value / truth[j], 1.0, tolerance) << fit.Parameters[j].Name;
}

bool Warns(const TFitResult& fit, const std::string& words)
{
    for (const std::string& warning : fit.Warnings)
        if (warning.find(words) != std::string::npos)
            return true;
    return false;
}

// Shaft t x1.3, z x0.8 and tip Q x0.7, fitted from 1 to head settlements,
// toe movements and the loads of a gauge near the toe, without noise and
// with 2 % seeded noise on the settlements.
void ExpectRecoveryOn(TProgramData& project, double largestTipMovement)
{
    const std::vector<double> gauge = {0.9 * static_cast<double>(project.PileLength)};
    TFitOptions options;
    options.FitW = false;
    const TCalibration maker(project, Placeholder(project.Units()), options);
    const std::vector<double> truth = {1.3, 0.8, 0.7};
    const std::vector<double> all = {1.3, 0.8, 0.7, 1.0};

    const TFitResult exact = TCalibration(project, MeasuredTest(maker, all, largestTipMovement, 12, gauge, true), options).Fit();
    ExpectRecovered(exact, truth, 0.01);
    EXPECT_LT(exact.After.Settlement, 0.01 * exact.Before.Settlement);
    EXPECT_TRUE(exact.Warnings.empty()) << exact.Warnings.front();

    const TFitResult noisy =
        TCalibration(project, MeasuredTest(maker, all, largestTipMovement, 12, gauge, true, 0.02, 7), options).Fit();
    for (size_t j = 0; j < truth.size(); ++j) {
        EXPECT_LE(noisy.Parameters[j].Low, truth[j]) << noisy.Parameters[j].Name;
        EXPECT_GE(noisy.Parameters[j].High, truth[j]) << noisy.Parameters[j].Name;
    }
}

}  // namespace

TEST(Calibration, RecoversShaftAndTipFactorsOfTheExample)
{
    TProjectTables tables;
    auto project = OpenProject(tables, Example);
    ExpectRecoveryOn(*project, 0.6);
}

TEST(Calibration, RecoversShaftAndTipFactorsOfAnSIUserCurveProject)
{
    TProjectTables tables;
    auto project = OpenProject(tables, UserCurves);
    project->SetUnits(UnitSystem::SI);
    project->ApplyTzFactors = false;  // the curves as entered
    ExpectRecoveryOn(*project, 0.6 * 0.0254);
}

TEST(Calibration, HeadSettlementsAloneCannotSeparateShaftAndTip)
{
    TProjectTables tables;
    auto project = OpenProject(tables, Example);
    TFitOptions options;
    options.FitW = false;
    const TCalibration maker(*project, Placeholder(project->Units()), options);
    const TFitResult fit =
        TCalibration(*project, MeasuredTest(maker, {1.3, 0.8, 0.7, 1.0}, 0.15, 10), options).Fit();
    EXPECT_TRUE(Warns(fit, "cannot separate shaft t and tip Q")) << (fit.Warnings.empty() ? "" : fit.Warnings[0]);
    for (const TFitParameter& parameter : fit.Parameters)
        EXPECT_EQ(parameter.High, 0) << "no range for " << parameter.Name;
}

TEST(Calibration, GaugeLoadsGiveEachLayerItsOwnFactors)
{
    TProjectTables tables;
    auto project = OpenProject(tables, Example);
    TFitOptions options;
    options.Shaft = TShaftFit::Layers;
    options.Tip = false;
    const TCalibration maker(*project, Placeholder(project->Units()), options);
    const std::vector<double> truth = {1.2, 0.9, 0.8, 1.1, 1.5, 1.0};
    const TLoadTest test = MeasuredTest(maker, truth, 0.4, 10, {120, 230, 360, 470, 580});
    const TFitResult fit = TCalibration(*project, test, options).Fit();
    ExpectRecovered(fit, truth, 0.02);

    // Nothing reaches the project until the fit is applied; then every
    // layer's curves take its own factors.
    EXPECT_FALSE(project->Changed());
    EXPECT_FALSE(project->ApplyTzFactors);
    ApplyFit(fit, *project);
    EXPECT_TRUE(project->Changed());
    ASSERT_TRUE(project->ApplyTzFactors);
    const korven::ReadResult read = korven::Read(project->FileText());
    ASSERT_EQ(read.status, korven::kCompleted);
    const korven::Outcome outcome = korven::Analyse(read.problem);
    ASSERT_EQ(outcome.curves.size(), 15u);
    for (size_t c = 0; c < outcome.curves.size(); ++c) {
        const size_t layer = c / 5;
        const korven::TzCurve &given = outcome.curves[c], &used = outcome.curvesUsed[c];
        EXPECT_NEAR(used.t[3] / given.t[3], fit.Parameters[2 * layer].Value, 1e-5) << "curve " << c + 1;
        EXPECT_NEAR(used.z[3] / given.z[3], fit.Parameters[2 * layer + 1].Value, 1e-5) << "curve " << c + 1;
    }
}

TEST(Calibration, ACancelledFitAnswersItsBestPointAndSaysSo)
{
    TProjectTables tables;
    auto project = OpenProject(tables, Example);
    std::atomic<bool> cancel{true};
    TFitOptions options;
    options.Cancel = &cancel;
    const TCalibration maker(*project, Placeholder(project->Units()), {});
    const TFitResult fit = TCalibration(*project, MeasuredTest(maker, {1.3, 0.8, 1, 1}, 0.6, 8), options).Fit();
    EXPECT_TRUE(fit.Cancelled);
    EXPECT_TRUE(Warns(fit, "The fit was cancelled"));
    EXPECT_LT(fit.Analyses, 50);
    ASSERT_EQ(fit.Parameters.size(), 4u);
}
