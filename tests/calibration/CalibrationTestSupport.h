#pragma once

// Projects and load tests made from the engine itself, for the fit's tests.

#include "Calibration.h"
#include "ProgramData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

inline std::unique_ptr<TProgramData> OpenProject(TProjectTables& tables, const std::string& fileName)
{
    std::string error;
    std::unique_ptr<TProgramData> project = TProgramData::CreateFromFile(tables, fileName, true, error);
    EXPECT_TRUE(project) << fileName << ": " << error;
    return project;
}

// A load test "measured" on the engine: the project analysed with the given
// multipliers (in the calibration's order) at tip movements spread evenly in
// log space over two decades up to `largestTipMovement`, up to the head
// load's first peak (a test under load control ends there);
// `points` of them become points, with gauge loads at `gaugeDepths` and the
// toe movement when asked. Settlements get seeded relative noise when
// `noise` is above 0.
inline TLoadTest MeasuredTest(const TCalibration& calibration, const std::vector<double>& multipliers,
                              double largestTipMovement, int points, const std::vector<double>& gaugeDepths = {},
                              bool toe = false, double noise = 0, unsigned seed = 1)
{
    korven::Problem problem = calibration.ProblemWith(multipliers);
    problem.headLoadCount = 0;
    const int rows = korven::kMaxTipMovements;
    problem.tipMovementCount = rows;
    for (int k = 0; k < rows; ++k)
        problem.tipMovements[k] = static_cast<float>(largestTipMovement * std::pow(100.0, (k + 1.0 - rows) / rows));
    const korven::Outcome outcome = korven::Analyse(problem);
    EXPECT_EQ(outcome.status, korven::kCompleted);
    // Up to 95 % of the first peak: loads near a peak leave the settlement
    // barely determined.
    int rising = 1;
    while (rising < rows && outcome.loadSettlement[rising].topLoad > outcome.loadSettlement[rising - 1].topLoad)
        ++rising;
    const float peak = outcome.loadSettlement[rising - 1].topLoad;
    while (rising > 1 && outcome.loadSettlement[rising - 1].topLoad > 0.95f * peak)
        --rising;
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
    TLoadTest test;
    test.Units = UnitSystemFromCode(problem.units);
    for (int p = 1; p <= points; ++p) {
        const size_t k = static_cast<size_t>(rising * p / points - 1);
        const korven::LoadSettlementRow& row = outcome.loadSettlement[k];
        TLoadTestPoint point{row.topLoad, row.topMovement * (noise > 0 ? 1 + gauss(random) : 1.0), {}, {}};
        if (toe)
            point.ToeMovement = row.tipMovement;
        const korven::Distribution& d = outcome.distributions[k];
        for (double depth : gaugeDepths) {
            const double fromTip = (problem.pileLength - depth) / (problem.pileLength / problem.increments);
            const size_t i = static_cast<size_t>(fromTip);
            const double f = fromTip - static_cast<double>(i);
            point.Gauges.push_back({depth, d.nodeLoad[i] + f * (d.nodeLoad[i + 1] - d.nodeLoad[i])});
        }
        test.Points.push_back(point);
    }
    return test;
}
