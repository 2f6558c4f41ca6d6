#include "StudyRunner.h"

#include "Sampling.h"
#include "StudyInputs.h"

#include <algorithm>
#include <mutex>
#include <thread>

namespace {

std::vector<TLoadSettlementRow> Rows(const std::vector<korven::LoadSettlementRow>& rows)
{
    std::vector<TLoadSettlementRow> converted;
    converted.reserve(rows.size());
    for (const korven::LoadSettlementRow& row : rows)
        converted.push_back({row.topLoad, row.topMovement, row.tipMovement, row.tipLoad});
    return converted;
}

// The pile of an analysed problem as the capacity read-outs take it.
TPileForReadouts PileOf(const korven::Problem& problem)
{
    TPileForReadouts pile;
    pile.Units = UnitSystemFromCode(problem.units);
    pile.Length = problem.pileLength;
    pile.Diameter = problem.diameter;
    for (int row = 0; row < problem.stiffness.count; ++row) {
        pile.AEDepths.push_back(problem.stiffness.depth[row]);
        pile.AEValues.push_back(problem.stiffness.value[row]);
    }
    return pile;
}

// Runs job(0) ... job(count - 1) on the control's threads, each index once,
// in any order; false when cancelled before every job ran.
bool RunJobs(int count, const TRunControl& control, const std::function<void(int)>& job)
{
    if (count <= 0)
        return true;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int threads = std::clamp(control.Threads > 0 ? control.Threads : static_cast<int>(cores), 1, count);
    std::atomic<int> next{0};
    int done = 0;
    std::mutex progress;
    const auto work = [&] {
        for (int i; (i = next.fetch_add(1)) < count;) {
            if (control.Cancel && control.Cancel->load())
                return;
            job(i);
            const std::lock_guard<std::mutex> lock(progress);
            ++done;
            if (control.OnProgress)
                control.OnProgress(done, count);
        }
    };
    std::vector<std::jthread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    pool.clear();
    return done == count;
}

// The Illinois variant of regula falsi: a bracket end kept twice in a row has
// its load difference halved, so the bracket closes from both sides.
constexpr int MaxSettlementSolves = 40;
constexpr double LoadTolerance = 1e-5;

}  // namespace

std::vector<TStudyCurvePoint> CompressiveCurve(const std::vector<TLoadSettlementRow>& rows)
{
    std::vector<TStudyCurvePoint> curve{{0, 0, 0}};
    for (const TLoadSettlementRow& row : rows)
        if (row.TipMovement > 1e-10)
            curve.push_back({row.TipMovement, row.TopLoad, row.TopMovement});
    std::stable_sort(curve.begin() + 1, curve.end(),
                     [](const TStudyCurvePoint& a, const TStudyCurvePoint& b) { return a.TipMovement < b.TipMovement; });
    return curve;
}

std::size_t FirstReaching(const std::vector<TStudyCurvePoint>& curve, double load)
{
    for (std::size_t i = 1; i < curve.size(); ++i)
        if (curve[i - 1].Load < load && curve[i].Load >= load)
            return i;
    return 0;
}

double SettlementUnder(korven::Problem& problem, const std::vector<TStudyCurvePoint>& curve, double load)
{
    const std::size_t i = FirstReaching(curve, load);
    if (i == 0)
        return load <= 0 ? 0 : INFINITY;
    TStudyCurvePoint lo = curve[i - 1], hi = curve[i];
    problem.tipMovementCount = 1;
    problem.headLoadCount = 0;
    double loExcess = lo.Load - load, hiExcess = hi.Load - load;
    int kept = 0;  // which end was kept last: -1 low, 1 high
    for (int solve = 0; solve < MaxSettlementSolves && hi.Load - lo.Load > LoadTolerance * load; ++solve) {
        const double w = lo.TipMovement + (hi.TipMovement - lo.TipMovement) * loExcess / (loExcess - hiExcess);
        problem.tipMovements[0] = static_cast<float>(w);
        const korven::Outcome outcome = korven::Analyse(problem);
        if (outcome.status != korven::kCompleted || outcome.loadSettlement.empty())
            break;
        const TStudyCurvePoint point{problem.tipMovements[0], outcome.loadSettlement[0].topLoad, outcome.loadSettlement[0].topMovement};
        if (!(point.TipMovement > lo.TipMovement && point.TipMovement < hi.TipMovement))
            break;  // the bracket is as narrow as single precision allows
        if (point.Load < load) {
            lo = point, loExcess = point.Load - load;
            hiExcess = kept == 1 ? hiExcess / 2 : hiExcess;
            kept = 1;
        } else {
            hi = point, hiExcess = point.Load - load;
            loExcess = kept == -1 ? loExcess / 2 : loExcess;
            kept = -1;
        }
    }
    if (hi.Load == lo.Load)
        return hi.Settlement;
    return lo.Settlement + (load - lo.Load) / (hi.Load - lo.Load) * (hi.Settlement - lo.Settlement);
}

korven::Problem StudyProblem(std::string_view inputText)
{
    korven::ReadResult read = korven::Read(inputText);
    if (read.status != korven::kCompleted)
        throw EStudyError("the engine refuses the project (status " + std::to_string(read.status) +
                          (read.message.empty() ? ")" : "): " + read.message));
    return std::move(read.problem);
}

void CheckStudy(const TStudy& study, const korven::Problem& problem)
{
    CheckDefinition(study);
    if (const auto* parametric = std::get_if<TParametricStudy>(&study.Definition)) {
        CheckInput(parametric->Input, problem, "input");
        return;
    }
    const auto& inputs = std::get<TProbabilisticStudy>(study.Definition).Inputs;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        CheckInput(inputs[i].Input, problem, "inputs[" + std::to_string(i + 1) + "]");
}

TStudyRun AnalyseWith(const korven::Problem& problem, const std::vector<TStudyInput>& inputs,
                      const std::vector<double>& values, double studyLoad)
{
    TStudyRun run;
    korven::Problem changed = problem;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        run.Message = ApplyInput(inputs[i], values[i], changed);
        if (!run.Message.empty()) {
            run.Status = RefusedValue;
            return run;
        }
    }
    const korven::Outcome outcome = korven::Analyse(changed);
    run.Status = outcome.status;
    run.Message = outcome.message;
    if (outcome.status != korven::kCompleted)
        return run;
    TPlotData data;
    data.Units = UnitSystemFromCode(changed.units);
    data.LoadSettlement = Rows(outcome.loadSettlement);
    data.LoadCases = Rows(outcome.loadCases);
    run.Readouts = ComputeReadouts(data, PileOf(changed));
    if (studyLoad > 0)
        run.StudySettlement = SettlementUnder(changed, CompressiveCurve(data.LoadSettlement), studyLoad);
    run.LoadSettlement = std::move(data.LoadSettlement);
    run.LoadCases = std::move(data.LoadCases);
    return run;
}

TParametricResult RunParametric(const TParametricStudy& study, const korven::Problem& problem,
                                const TRunControl& control)
{
    TParametricResult result;
    result.Values = study.Sweep.Values();
    result.Runs.resize(result.Values.size());
    const std::vector<TStudyInput> inputs{study.Input};
    result.Cancelled = !RunJobs(static_cast<int>(result.Values.size()), control, [&](int i) {
        const auto k = static_cast<std::size_t>(i);
        result.Runs[k] = AnalyseWith(problem, inputs, {result.Values[k]});
    });
    return result;
}

TProbabilisticResult RunProbabilistic(const TProbabilisticStudy& study, const korven::Problem& problem,
                                      const TRunControl& control)
{
    TProbabilisticResult result;
    std::vector<TStudyInput> inputs;
    for (const TRandomInput& input : study.Inputs) {
        inputs.push_back(input.Input);
        result.Medians.push_back(Quantile(input.Distribution, 0.5));
        result.SwingValues.push_back(
            {Quantile(input.Distribution, LowQuantile), Quantile(input.Distribution, HighQuantile)});
    }
    result.Samples = DrawSamples(study);
    const int realisations = study.Realisations;
    const int swings = static_cast<int>(2 * inputs.size());
    result.Runs.resize(static_cast<std::size_t>(realisations));
    result.SwingRuns.resize(inputs.size());
    // The sensitivity runs follow the realisations, as jobs of the same run.
    result.Cancelled = !RunJobs(realisations + 1 + swings, control, [&](int i) {
        if (i < realisations) {
            const auto k = static_cast<std::size_t>(i);
            result.Runs[k] = AnalyseWith(problem, inputs, result.Samples[k], study.SettlementLoad);
        } else if (i == realisations) {
            result.MedianRun = AnalyseWith(problem, inputs, result.Medians, study.SettlementLoad);
        } else {
            const auto input = static_cast<std::size_t>(i - realisations - 1) / 2;
            const auto side = static_cast<std::size_t>(i - realisations - 1) % 2;
            std::vector<double> values = result.Medians;
            values[input] = result.SwingValues[input][side];
            result.SwingRuns[input][side] = AnalyseWith(problem, inputs, values, study.SettlementLoad);
        }
    });
    return result;
}
