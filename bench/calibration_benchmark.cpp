// Speed of the load-test calibration: a four-parameter fit (shaft t and z,
// tip Q and w) of the bundled example to head settlements and toe movements,
// and a per-layer fit (ten parameters) of a five-layer project to head
// settlements and gauge loads, both made by the engine with known factors.
// Each fit runs on one thread (the baseline) and on every core, side by
// side; prints the median times, the analyses each fit used and the cores.
// Not a test.
//
//   calibration_benchmark [runs]     (default 5)
#include "Calibration.h"
#include "ProgramData.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

// Five layers of the three soil methods of the example, down to 60 ft.
constexpr const char* FiveLayers = R"(Five layers: 18 in pipe pile, 50 ft
50 0 1
2
5
1 1 0.0 120
2 5 120 240
3 2 240 360
4 5 360 480
5 6 480 720
0.065 6 0.0 0.01 4 0
0.065 8 0.0 0.01 6 0
0.066 9 0.0 0.01 6 0
0.066 11 0.0 0.01 8 0
0.068 0.0 32 20 3 0
0.068 0.0 34 25 4 0
0.07 14 0.0 0.007 9 0
0.07 16 0.0 0.007 10 0
0.07 0.0 34 25 5 0
0.07 0.0 36 30 6 144
2
1.5E9 0
1.5E9 600
0.00001 600 18 254.47
 0
 0
 0
 0
 0
)";

// A load test made by the engine at the given multipliers: head loads up to
// 95 % of the first peak, every fourth of 50 tip movements, with the toe
// movement or the loads at the given gauge depths.
TLoadTest Measured(const TCalibration& calibration, const std::vector<double>& multipliers, double largest,
                   bool toe, const std::vector<double>& gauges)
{
    korven::Problem p = calibration.ProblemWith(multipliers);
    p.headLoadCount = 0;
    p.tipMovementCount = korven::kMaxTipMovements;
    for (int k = 0; k < p.tipMovementCount; ++k)
        p.tipMovements[k] = static_cast<float>(largest * std::pow(100.0, (k + 1.0 - p.tipMovementCount) / 50));
    const korven::Outcome outcome = korven::Analyse(p);
    size_t rising = 1;
    while (rising < outcome.loadSettlement.size() &&
           outcome.loadSettlement[rising].topLoad > outcome.loadSettlement[rising - 1].topLoad)
        ++rising;
    const float peak = outcome.loadSettlement[rising - 1].topLoad;
    TLoadTest test{UnitSystemFromCode(p.units), {}, {}};
    for (size_t k = 3; k < rising && outcome.loadSettlement[k].topLoad < 0.95f * peak; k += 4) {
        const korven::LoadSettlementRow& row = outcome.loadSettlement[k];
        TLoadTestPoint point{row.topLoad, row.topMovement, {}, {}};
        if (toe)
            point.ToeMovement = row.tipMovement;
        const std::vector<float>& load = outcome.distributions[k].nodeLoad;
        for (double depth : gauges) {
            const size_t fromTip = static_cast<size_t>(std::lround((p.pileLength - depth) / (p.pileLength / p.increments)));
            point.Gauges.push_back({p.pileLength - fromTip * (p.pileLength / p.increments), load[fromTip]});
        }
        test.Points.push_back(point);
    }
    return test;
}

struct TTiming {
    double Median = 0;
    int Analyses = 0;
    double WorstError = 0;  // of the fitted multipliers, relative
};

TTiming Time(const TCalibration& calibration, const std::vector<double>& truth, int runs)
{
    std::vector<double> seconds;
    TTiming timing;
    for (int r = 0; r < runs; ++r) {
        const TFitResult fit = calibration.Fit();
        seconds.push_back(fit.Seconds);
        timing.Analyses = fit.Analyses;
        for (size_t j = 0; j < truth.size(); ++j)
            timing.WorstError = std::max(timing.WorstError, std::fabs(fit.Parameters[j].Value / truth[j] - 1));
    }
    std::sort(seconds.begin(), seconds.end());
    timing.Median = seconds[seconds.size() / 2];
    return timing;
}

void Compare(const char* label, TProgramData& project, const std::vector<double>& truth, TFitOptions options,
             double largest, bool toe, const std::vector<double>& gauges, int runs)
{
    const TLoadTest placeholder{project.Units(), {{1, 1, {}, {}}, {2, 2, {}, {}}, {3, 3, {}, {}}}, {}};
    const TLoadTest test = Measured(TCalibration(project, placeholder, options), truth, largest, toe, gauges);
    options.Threads = 1;
    const TTiming one = Time(TCalibration(project, test, options), truth, runs);
    options.Threads = 0;
    const TTiming all = Time(TCalibration(project, test, options), truth, runs);
    std::printf("%s, %zu points, %zu parameters:\n", label, test.Points.size(), truth.size());
    std::printf("  1 thread:   median %.3f s, %d analyses, worst error %.2g %%\n", one.Median, one.Analyses,
                100 * one.WorstError);
    std::printf("  %u threads:  median %.3f s, %d analyses, worst error %.2g %%  (x%.2f)\n",
                std::thread::hardware_concurrency(), all.Median, all.Analyses, 100 * all.WorstError,
                one.Median / all.Median);
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("cores: %u; medians of %d fits\n", std::thread::hardware_concurrency(), runs);
    {
        TProjectTables tables;
        std::string error;
        auto example = TProgramData::CreateFromFile(tables, KORVEN_EXAMPLE_PROJECT, true, error);
        if (!example) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        Compare("Example, shaft t and z, tip Q and w, head and toe", *example, {1.3, 0.8, 0.7, 1.0}, {}, 0.6, true,
                {}, runs);
    }
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "korven-five-layers.kv3d";
    std::ofstream(file) << FiveLayers;
    TProjectTables tables;
    std::string error;
    auto five = TProgramData::CreateFromFile(tables, file.string(), true, error);
    std::filesystem::remove(file);
    if (!five) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    TFitOptions layers;
    layers.Shaft = TShaftFit::Layers;
    layers.Tip = false;
    Compare("Five layers, t and z per layer, head and gauges", *five,
            {1.2, 0.9, 0.8, 1.1, 1.3, 1.0, 0.9, 1.2, 1.1, 0.8}, layers, 0.4, false, {60, 180, 300, 420, 540, 590},
            runs);
    return 0;
}
