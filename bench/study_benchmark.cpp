// Times the studies: 1000 realisations of a probabilistic study of the
// bundled example (three random inputs, two of them correlated, Latin
// hypercube sampling, the settlement under a load solved in every
// realisation, the statistics included), and a 50-step pile-length sweep of
// the largest problem the engine accepts. Each runs on one thread (the
// baseline) and on every core, rounds taking turns; the medians are printed
// side by side with the core count and the targets.
//
//   study_benchmark [rounds]     (default 5)
#include "StudyStatistics.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "LargestProject.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TProbabilisticStudy ExampleStudy()
{
    TProbabilisticStudy study;
    TRandomInput friction, tip, stiffness;
    friction.Input = {TStudyTarget::SideFriction, TValueMode::Factor, 1};
    friction.Distribution.Cov = 0.3;
    tip.Input.Target = TStudyTarget::QMultiplier;
    tip.Distribution.Cov = 0.4;
    tip.Distribution.Min = 0.2;
    stiffness.Input = {TStudyTarget::AxialStiffness, TValueMode::Factor};
    stiffness.Distribution.Kind = TDistributionKind::Normal;
    stiffness.Distribution.Min = 0.5, stiffness.Distribution.Max = 1.5;
    study.Inputs = {friction, tip, stiffness};
    study.Correlation = TCorrelation{0, 1, 0.5};
    study.Realisations = 1000;
    study.SettlementLoad = 150000;
    study.SettlementLimit = 0.5;
    return study;
}

// Seconds of `job` on one thread and on `cores` threads, rounds taking turns.
template <typename Job>
void TimeBoth(const char* what, int rounds, int cores, double target, Job job)
{
    std::vector<double> single, all;
    for (int r = 0; r < rounds; ++r)
        for (int threads : r % 2 == 0 ? std::vector<int>{1, cores} : std::vector<int>{cores, 1}) {
            const auto start = Clock::now();
            job(threads);
            (threads == 1 ? single : all).push_back(std::chrono::duration<double>(Clock::now() - start).count());
        }
    std::printf("%s:\n", what);
    std::printf("  1 thread    median %7.3f s (fastest %.3f) over %d rounds\n", Median(single),
                *std::min_element(single.begin(), single.end()), rounds);
    std::printf("  %d threads   median %7.3f s (fastest %.3f)   speed-up %.2f   target %.1f s: %s\n", cores, Median(all),
                *std::min_element(all.begin(), all.end()), Median(single) / Median(all), target,
                Median(all) < target ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::printf("cores: %d\n", cores);

    std::ifstream in(KORVEN_EXAMPLE_PROJECT);
    std::ostringstream text;
    text << in.rdbuf();
    const korven::Problem example = StudyProblem(text.str());
    const TProbabilisticStudy probabilistic = ExampleStudy();
    int refused = 0;
    TimeBoth("1000 realisations of the example", rounds, cores, 0.5, [&](int threads) {
        TRunControl control;
        control.Threads = threads;
        const TProbabilisticResult result = RunProbabilistic(probabilistic, example, control);
        refused = Summarise(probabilistic, result, UnitSystemFromCode(example.units)).Refused;
    });
    std::printf("  (%d realisations refused)\n", refused);

    const korven::Problem largest = StudyProblem(LargestProject());
    TParametricStudy sweep;
    sweep.Sweep.From = 600, sweep.Sweep.To = 1200, sweep.Sweep.Count = 50;
    TimeBoth("50-step pile-length sweep of the largest problem", rounds, cores, 5.0, [&](int threads) {
        TRunControl control;
        control.Threads = threads;
        const TParametricResult result = RunParametric(sweep, largest, control);
        refused = static_cast<int>(
            std::count_if(result.Runs.begin(), result.Runs.end(), [](const TStudyRun& run) { return !run.Analysed(); }));
    });
    std::printf("  (%d steps refused)\n", refused);
    return 0;
}
