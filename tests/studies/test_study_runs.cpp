// Studies run over the in-memory core: their inputs in the problem, closed
// forms of piles on linear springs, the same numbers on any number of
// threads, refusals and cancelling.
#include "Sampling.h"
#include "StudyInputs.h"
#include "StudyOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

// The engine's perimeter of a pile of diameter d.
double Perimeter(double d) { return 3.1416 * d; }

// A pile on linear springs in SI units: t = k z along the shaft (two equal
// curves, at the head and below every pile length swept), Q = kb w at the
// tip, constant AE; one load-settlement row per tip movement.
struct TSprings {
    double Length = 20, Diameter = 0.6, AE = 1e7, K = 2e4, Kb = 1e5;
    int Increments = 900;
    std::vector<double> TipMovements{0.001};

    std::string Text() const
    {
        std::ostringstream p;
        p.precision(10);
        p << "linear springs\n" << Increments << " 1 2\n1\n2\n";
        p << "1 0 2\n0 0\n" << K << " 1\n";
        p << "2 100 2\n0 0\n" << K << " 1\n";
        p << "1\n" << AE << " 0\n2\n0 0\n" << Kb << " 1\n";
        p << "1e-9 " << Length << ' ' << Diameter << " 0.2827\n" << TipMovements.size() << '\n';
        for (double w : TipMovements)
            p << w << '\n';
        p << "0\n0\n0\n0\n";
        return p.str();
    }

    // Head stiffness of the pile: with lambda^2 = perimeter k / AE and
    // beta = kb / (AE lambda), w'' = lambda^2 w along the shaft and
    // Q = kb w at the tip give AE lambda (tanh(lambda L) + beta) /
    // (1 + beta tanh(lambda L)).
    double HeadStiffness(double length) const
    {
        const double lambda = std::sqrt(Perimeter(Diameter) * K / AE);
        const double beta = Kb / (AE * lambda);
        const double t = std::tanh(lambda * length);
        return AE * lambda * (t + beta) / (1 + beta * t);
    }
};

TDistribution Distribution(TDistributionKind kind, double mean, double cov, std::optional<double> min = {},
                           std::optional<double> max = {})
{
    TDistribution d;
    d.Kind = kind, d.Mean = mean, d.Cov = cov, d.Min = min, d.Max = max;
    return d;
}

TRunControl OnThreads(int threads)
{
    TRunControl control;
    control.Threads = threads;
    return control;
}

korven::Problem Example()
{
    std::ifstream in(KORVEN_EXAMPLE_PROJECT);
    std::ostringstream text;
    text << in.rdbuf();
    return StudyProblem(text.str());
}

TProbabilisticStudy ExampleStudy()
{
    TProbabilisticStudy study;
    TStudyInput friction{TStudyTarget::SideFriction, TValueMode::Factor, 1};
    study.Inputs = {{friction, Distribution(TDistributionKind::Lognormal, 1, 0.3)},
                    {{TStudyTarget::QMultiplier}, Distribution(TDistributionKind::Lognormal, 1, 0.4, 0.2)},
                    {{TStudyTarget::AxialStiffness, TValueMode::Factor},
                     Distribution(TDistributionKind::Normal, 1, 0.1, 0.5, 1.5)}};
    study.Correlation = TCorrelation{0, 1, 0.5};
    study.Realisations = 200;
    study.SettlementLoad = 150000;
    study.SettlementLimit = 0.1;
    return study;
}

}  // namespace

TEST(StudyInputs, ChangeTheProblemAsTheProjectWould)
{
    const korven::Problem example = Example();
    korven::Problem p = example;
    EXPECT_EQ(ApplyInput({TStudyTarget::Diameter}, 36, p), "");
    EXPECT_FLOAT_EQ(p.tipArea, 4 * example.tipArea);
    p = example;
    EXPECT_EQ(ApplyInput({TStudyTarget::Diameter, TValueMode::Value, 0, {}, 0, true}, 36, p), "");
    EXPECT_EQ(p.tipArea, example.tipArea);

    // A t-multiplier on a project without factors covers every curve.
    p = example;
    EXPECT_EQ(ApplyInput({TStudyTarget::TMultiplier}, 1.5, p), "");
    ASSERT_EQ(p.tzFactorCount, 2);
    EXPECT_EQ(p.tzFactorDepth[0], 0);
    EXPECT_EQ(p.tzFactorDepth[1], 720);
    EXPECT_EQ(p.tMultiplier[1], 1.5f);
    EXPECT_EQ(p.zMultiplier[1], 1);

    p = example;
    EXPECT_EQ(ApplyInput({TStudyTarget::SideFriction, TValueMode::Factor, 2, TLayerPosition::Bottom}, 2, p), "");
    EXPECT_EQ(p.sideFriction[2], example.sideFriction[2]);
    EXPECT_EQ(p.sideFriction[3], 2 * example.sideFriction[3]);
    EXPECT_EQ(ApplyInput({TStudyTarget::PileLength}, -1, p), "Pile length of -1 cannot be analysed");

    EXPECT_THROW(CheckInput({TStudyTarget::E50, TValueMode::Value, 4}, example, "input"), EStudyError);
    EXPECT_THROW(CheckInput({TStudyTarget::E50, TValueMode::Value, 1}, StudyProblem(TSprings().Text()), "input"),
                 EStudyError);
    korven::Problem unloaded = example;
    unloaded.headLoadCount = 0;
    EXPECT_NO_THROW(CheckInput({TStudyTarget::HeadLoad, TValueMode::Value, 0, {}, 1}, unloaded, "input"));
    EXPECT_EQ(ApplyInput({TStudyTarget::HeadLoad, TValueMode::Value, 0, {}, 1}, 5000, unloaded), "");
    EXPECT_EQ(unloaded.headLoadCount, 1);
}

// A pile-length sweep on linear springs keeps the closed-form head
// stiffness at every step.
TEST(StudyChecks, PileLengthSweepMatchesTheClosedFormHeadStiffness)
{
    const TSprings springs;
    TParametricStudy study;
    study.Sweep.From = 5, study.Sweep.To = 60, study.Sweep.Count = 12;
    const TParametricResult result = RunParametric(study, StudyProblem(springs.Text()), {});
    ASSERT_EQ(result.Runs.size(), 12u);
    for (std::size_t i = 0; i < result.Runs.size(); ++i) {
        const TStudyRun& run = result.Runs[i];
        ASSERT_TRUE(run.Analysed()) << run.Message;
        const double stiffness = run.LoadSettlement[0].TopLoad / run.LoadSettlement[0].TopMovement;
        const double exact = springs.HeadStiffness(result.Values[i]);
        EXPECT_NEAR(stiffness / exact, 1.0, 0.002) << "pile length " << result.Values[i];
    }
}

// A tip multiplier the only random input, on a rigid pile whose tip carries
// a known share of the load: the settlement is s0 / (1 - share + share m).
TEST(StudyChecks, TipMultiplierStudyMatchesTheAnalyticTransform)
{
    TSprings springs;
    springs.Length = 10, springs.AE = 1e12, springs.Increments = 20;
    const double shaft = Perimeter(springs.Diameter) * springs.K * springs.Length;
    const double share = 0.4;
    springs.Kb = share / (1 - share) * shaft;
    springs.TipMovements = {0.0001, 0.0005, 0.002, 0.01};
    const double load = 500, s0 = load / (shaft + springs.Kb);
    const auto settlement = [&](double m) { return s0 / (1 - share + share * m); };

    TProbabilisticStudy study;
    study.Inputs = {{{TStudyTarget::QMultiplier}, Distribution(TDistributionKind::Lognormal, 1, 0.3)}};
    study.Realisations = 2000;
    study.Sampling = TSampling::Random;
    study.SettlementLoad = load;
    const double sigma = std::sqrt(std::log1p(0.09)), mu = -sigma * sigma / 2;
    const auto multiplierAt = [&](double q) { return std::exp(mu + sigma * NormalQuantile(q)); };
    study.SettlementLimit = settlement(0.8);

    const TProbabilisticResult result = RunProbabilistic(study, StudyProblem(springs.Text()), {});
    const TProbabilisticSummary summary = Summarise(study, result, UnitSystem::SI);
    ASSERT_EQ(summary.Analysed, study.Realisations);
    const TReadoutDistribution& s = summary.Readouts[2];
    ASSERT_EQ(s.Key, "settlement_at_study_load");
    const double n = study.Realisations;
    for (std::size_t k = 0; k < BandPercentiles.size(); ++k) {
        // The settlement falls as m rises: its p-quantile is s(m at 1 - p).
        const double p = BandPercentiles[k], error = 3 * std::sqrt(p * (1 - p) / n);
        EXPECT_GE(s.Percentiles[k], settlement(multiplierAt(1 - p + error))) << p;
        EXPECT_LE(s.Percentiles[k], settlement(multiplierAt(1 - p - error))) << p;
    }
    const double exact = NormalCdf((std::log(0.8) - mu) / sigma);
    ASSERT_TRUE(summary.Exceedance);
    EXPECT_NEAR(summary.Exceedance->Probability, exact, 3 * summary.Exceedance->StandardError);
    // The curve is straight, so its bands match the same transform.
    EXPECT_NEAR(summary.MedianSettlement, settlement(multiplierAt(0.5)), 1e-4 * s0);
}

TEST(StudyChecks, SameSeedSameNumbersOnAnyNumberOfThreads)
{
    const korven::Problem example = Example();
    const TStudy study{"threads", ExampleStudy()};
    std::string first;
    for (int threads : {1, 2, 5}) {
        const auto& definition = std::get<TProbabilisticStudy>(study.Definition);
        const TProbabilisticResult result = RunProbabilistic(definition, example, OnThreads(threads));
        const TProbabilisticSummary summary = Summarise(definition, result, UnitSystem::English);
        // The default bands end where the highest one is still defined.
        ASSERT_EQ(summary.Bands.size(), 20u);
        EXPECT_TRUE(std::isfinite(summary.Bands.back().Settlement[2]));
        const std::string json = ProbabilisticJson(study, result, summary, UnitSystem::English).dump();
        if (first.empty())
            first = json;
        EXPECT_EQ(json, first) << threads << " threads";
    }
}

TEST(StudyChecks, RefusedAnalysesAreCountedAndCancellingStops)
{
    const korven::Problem example = Example();
    TParametricStudy study;
    study.Sweep.Range = false, study.Sweep.List = {0, 600, 900};
    const TParametricResult result = RunParametric(study, example, {});
    EXPECT_EQ(result.Runs[0].Status, RefusedValue);
    EXPECT_TRUE(result.Runs[1].Analysed());
    EXPECT_EQ(result.Runs[2].Status, korven::kTipBelowLayers);
    const auto json = ParametricJson({"refusals", study}, result, UnitSystem::English);
    EXPECT_EQ(json["refused"], 2);
    EXPECT_EQ(json["steps"][2]["status_meaning"], "the pile tip lies below the bottom of every soil layer");

    std::atomic<bool> cancel{false};
    TRunControl control = OnThreads(1);
    control.OnProgress = [&](int done, int) { cancel = done == 3; };
    control.Cancel = &cancel;
    TProbabilisticStudy big = ExampleStudy();
    const TProbabilisticResult cancelled = RunProbabilistic(big, example, control);
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_TRUE(cancelled.Runs[3].LoadSettlement.empty());
}
