// Study definitions in JSON, and the draws of the probabilistic study.
#include "Sampling.h"
#include "StudyExtras.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <unistd.h>

using nlohmann::json;

namespace {

json Probabilistic()
{
    return json::parse(R"({
      "name": "soil", "kind": "probabilistic",
      "inputs": [
        {"target": "side_friction", "layer": 2, "position": "top", "mode": "factor",
         "distribution": {"type": "lognormal", "mean": 1, "cov": 0.3, "min": 0.4}},
        {"target": "diameter", "fix_tip_area": true,
         "distribution": {"type": "normal", "mean": 18, "cov": 0.05, "min": 16, "max": 20}},
        {"target": "head_load", "load": 2, "distribution": {"type": "uniform", "min": 1000, "max": 2000}}
      ],
      "correlation": {"first": 1, "second": 2, "coefficient": -0.6},
      "realisations": 400, "seed": 12, "sampling": "random",
      "settlement_load": 150000, "settlement_limit": 0.5, "band_loads": [50000, 100000]
    })");
}

// The message of the error StudyFromJson throws for `document`.
std::string Refusal(const json& document)
{
    try {
        StudyFromJson(document);
    } catch (const EStudyError& error) {
        return error.what();
    }
    return "accepted";
}

}  // namespace

TEST(StudyDefinition, JsonRoundTripKeepsEveryField)
{
    const TStudy probabilistic = StudyFromJson(Probabilistic());
    EXPECT_EQ(StudyFromJson(StudyToJson(probabilistic)), probabilistic);
    const auto& p = std::get<TProbabilisticStudy>(probabilistic.Definition);
    EXPECT_EQ(p.Inputs[0].Input.Position, TLayerPosition::Top);
    EXPECT_EQ(p.Inputs[2].Input.Row, 2);
    EXPECT_EQ(p.Correlation->Second, 1);

    const TStudy range = StudyFromJson(json::parse(
        R"({"kind": "parametric", "input": {"target": "pile_length"}, "values": {"from": 10, "to": 20, "count": 3}})"));
    EXPECT_EQ(StudyFromJson(StudyToJson(range)), range);
    EXPECT_EQ(std::get<TParametricStudy>(range.Definition).Sweep.Values(), (std::vector<double>{10, 15, 20}));
    const TStudy list = StudyFromJson(json::parse(
        R"({"kind": "parametric", "input": {"target": "ae", "row": 2, "mode": "factor"}, "values": [2, 0.5]})"));
    EXPECT_EQ(StudyFromJson(StudyToJson(list)), list);
    EXPECT_EQ(std::get<TParametricStudy>(list.Definition).Sweep.Values(), (std::vector<double>{2, 0.5}));
}

TEST(StudyDefinition, KeptInTheProjectExtras)
{
    TProjectExtras extras;
    extras.SetSection("project", {{"designer", "A. Engineer"}});
    const std::vector<TStudy> studies{StudyFromJson(Probabilistic()),
                                      StudyFromJson(json::parse(R"({"kind": "parametric", "input":
                                          {"target": "q_multiplier"}, "values": [0.5, 1, 2]})"))};
    StoreStudies(extras, studies, UnitSystem::English);
    const std::string file = testing::TempDir() + std::to_string(::getpid()) + "_" + "studies.kv3x";
    extras.Write(file);
    const TProjectExtras read = TProjectExtras::Read(file);
    EXPECT_EQ(StudiesOf(read, UnitSystem::English), studies);
    EXPECT_EQ(read.Section("project")["designer"], "A. Engineer");
    // Values typed in inches are never read as metres.
    EXPECT_THROW(StudiesOf(read, UnitSystem::SI), EStudyError);
    StoreStudies(extras, {}, UnitSystem::English);
    EXPECT_TRUE(StudiesOf(extras, UnitSystem::SI).empty());
    EXPECT_EQ(extras.Section(StudiesSection), json::object());
}

TEST(StudyDefinition, RefusalsNameTheField)
{
    json unknown = Probabilistic();
    unknown["inputs"][0]["target"] = "colour";
    EXPECT_NE(Refusal(unknown).find("inputs[1].target: \"colour\" is not one of pile_length"), std::string::npos);
    json noLayer = Probabilistic();
    noLayer["inputs"][0].erase("layer");
    EXPECT_EQ(Refusal(noLayer), "inputs[1].layer: missing");
    json itself = Probabilistic();
    itself["correlation"]["second"] = 1;
    EXPECT_EQ(Refusal(itself), "correlation: first and second must be two different inputs");
    json outOfReach = Probabilistic();
    outOfReach["inputs"][1]["distribution"]["min"] = 30;
    outOfReach["inputs"][1]["distribution"]["max"] = 40;
    EXPECT_EQ(Refusal(outOfReach),
              "inputs[2].distribution: min and max leave the distribution almost no probability");
    json twice = Probabilistic();
    twice["inputs"][2] = twice["inputs"][0];
    EXPECT_EQ(Refusal(twice), "inputs[3]: the same input as inputs[1]");
    EXPECT_EQ(Refusal(json::parse(R"({"kind": "parametric", "input": {"target": "pile_length"},
                                      "values": {"from": 1, "to": 1, "count": 4}})")),
              "values: from and to must differ");
    EXPECT_EQ(Refusal(json::parse(R"({"kind": "parametric", "input": {"target": "pile_length"}, "values": []})")),
              "values: must hold from 1 to 1000 numbers");
    EXPECT_EQ(Refusal(json::parse("[1]")), "the study must be an object");
}

TEST(StudySampling, LatinHypercubeFillsEveryStratumOnceAndRepeatsItsDraws)
{
    TProbabilisticStudy study = std::get<TProbabilisticStudy>(StudyFromJson(Probabilistic()).Definition);
    study.Sampling = TSampling::LatinHypercube;
    study.Correlation.reset();
    study.Inputs[1].Distribution.Kind = TDistributionKind::Uniform;
    study.Inputs[1].Distribution.Min = 0.0, study.Inputs[1].Distribution.Max = 1.0;
    const auto samples = DrawSamples(study);
    std::vector<int> strata(static_cast<std::size_t>(study.Realisations), 0);
    for (const auto& row : samples)
        ++strata[static_cast<std::size_t>(row[1] * study.Realisations)];
    EXPECT_TRUE(std::all_of(strata.begin(), strata.end(), [](int n) { return n == 1; }));
    for (const auto& row : samples) {
        EXPECT_GE(row[0], 0.4);  // the lower bound
        EXPECT_TRUE(row[2] >= 1000 && row[2] <= 2000);
    }
    EXPECT_EQ(DrawSamples(study), samples);
    study.Seed = 13;
    EXPECT_NE(DrawSamples(study), samples);
}

TEST(StudySampling, DistributionsHaveTheirMomentsAndTheCorrelationItsCoefficient)
{
    TProbabilisticStudy study;
    study.Realisations = 20000;
    study.Sampling = TSampling::Random;
    study.Inputs.resize(2);
    study.Inputs[0].Distribution.Mean = 2.0, study.Inputs[0].Distribution.Cov = 0.5;
    study.Inputs[1].Distribution.Kind = TDistributionKind::Normal;
    study.Inputs[1].Distribution.Mean = 10, study.Inputs[1].Distribution.Cov = 0.2;
    study.Correlation = TCorrelation{0, 1, 0.7};
    const auto samples = DrawSamples(study);
    const double n = study.Realisations;
    std::array<double, 2> mean{}, sd{};
    for (std::size_t j = 0; j < 2; ++j) {
        for (const auto& row : samples)
            mean[j] += row[j] / n;
        for (const auto& row : samples)
            sd[j] += (row[j] - mean[j]) * (row[j] - mean[j]) / (n - 1);
        sd[j] = std::sqrt(sd[j]);
    }
    // Within four standard errors of the mean; the spread within 3 %.
    EXPECT_NEAR(mean[0], 2.0, 4 * 1.0 / std::sqrt(n));
    EXPECT_NEAR(sd[0], 1.0, 0.03);
    EXPECT_NEAR(mean[1], 10.0, 4 * 2.0 / std::sqrt(n));
    EXPECT_NEAR(sd[1], 2.0, 0.06);
    // The normal scores of the two inputs correlate as asked.
    const double sigma = std::sqrt(std::log1p(0.25));
    double sxy = 0, sxx = 0, syy = 0;
    for (const auto& row : samples) {
        const double x = (std::log(row[0]) - (std::log(2.0) - sigma * sigma / 2)) / sigma;
        const double y = (row[1] - 10) / 2;
        sxy += x * y, sxx += x * x, syy += y * y;
    }
    EXPECT_NEAR(sxy / std::sqrt(sxx * syy), 0.7, 0.02);
}
