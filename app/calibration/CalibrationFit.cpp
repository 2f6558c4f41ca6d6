// The fit: bounded derivative-free minimisation (BOBYQA) of the weighted
// sum of squared misfits over the logarithms of the multipliers, from the
// current factors and a few points spread around them, then the Jacobian at
// the optimum for confidence ranges and a check that the data can tell the
// parameters apart.
#include "Calibration.h"

#include "ProgramData.h"
#include "UnitStrings.h"

#include <nlopt.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

using TClock = std::chrono::steady_clock;
using TVector = std::vector<double>;
using TMatrix = std::vector<TVector>;

// Step of the central differences in log space (0.3 %): wide enough to keep
// the engine's convergence tolerance out of the derivatives.
constexpr double JacobianStep = 0.003;
// Above this condition number of the column-scaled Jacobian the data cannot
// tell some combination of the parameters from the others.
constexpr double SeparableCondition = 30;
constexpr int Restarts = 4;
constexpr int MarquardtSteps = 30;

TVector Exp(const TVector& x)
{
    TVector y(x.size());
    std::transform(x.begin(), x.end(), y.begin(), [](double v) { return std::exp(v); });
    return y;
}

// Eigenvalues (ascending) and eigenvectors (columns) of a symmetric matrix,
// by cyclic Jacobi rotations.
void SymmetricEigen(TMatrix a, TVector& values, TMatrix& vectors)
{
    const size_t n = a.size();
    vectors.assign(n, TVector(n, 0));
    for (size_t i = 0; i < n; ++i)
        vectors[i][i] = 1;
    for (int sweep = 0; sweep < 100; ++sweep) {
        double off = 0;
        for (size_t p = 0; p < n; ++p)
            for (size_t q = p + 1; q < n; ++q)
                off += a[p][q] * a[p][q];
        if (off < 1e-30)
            break;
        for (size_t p = 0; p < n; ++p)
            for (size_t q = p + 1; q < n; ++q) {
                if (a[p][q] == 0)
                    continue;
                const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
                const double t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
                const double c = 1 / std::sqrt(t * t + 1), s = t * c;
                for (size_t k = 0; k < n; ++k) {
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (size_t k = 0; k < n; ++k) {
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (size_t k = 0; k < n; ++k) {
                    const double vkp = vectors[k][p], vkq = vectors[k][q];
                    vectors[k][p] = c * vkp - s * vkq;
                    vectors[k][q] = s * vkp + c * vkq;
                }
            }
    }
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t i, size_t j) { return a[i][i] < a[j][j]; });
    values.resize(n);
    TMatrix sorted(n, TVector(n));
    for (size_t j = 0; j < n; ++j) {
        values[j] = a[order[j]][order[j]];
        for (size_t k = 0; k < n; ++k)
            sorted[k][j] = vectors[k][order[j]];
    }
    vectors = std::move(sorted);
}

constexpr int CandidatesPerParameter = 6;
constexpr double SpreadLog = 1.0986;  // ln 3
constexpr int Primes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47};

// Element i (from 1) of the van der Corput sequence in `base`.
double Halton(int i, int base)
{
    double value = 0, f = 1;
    for (; i > 0; i /= base) {
        f /= base;
        value += f * (i % base);
    }
    return value;
}

int ThreadsFor(const TFitOptions& options, size_t tasks)
{
    const int cores = options.Threads > 0 ? options.Threads : static_cast<int>(std::thread::hardware_concurrency());
    return std::max(1, std::min(cores, static_cast<int>(tasks)));
}

// fn(0) ... fn(count - 1) on `threads` threads (the caller's among them).
template <class Fn>
void ParallelFor(size_t count, int threads, Fn fn)
{
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i; (i = next++) < count;)
            fn(i);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();
}

double SumOfSquares(const TVector& r)
{
    double sum = 0;
    for (double v : r)
        sum += v * v;
    return sum;
}

TMatrix Normal(const TMatrix& jacobian)
{
    const size_t n = jacobian.empty() ? 0 : jacobian.front().size();
    TMatrix normal(n, TVector(n, 0));
    for (const TVector& row : jacobian)
        for (size_t p = 0; p < n; ++p)
            for (size_t q = 0; q < n; ++q)
                normal[p][q] += row[p] * row[q];
    return normal;
}

// Solves a x = b by elimination with partial pivoting (a small, regular
// system: the damped normal equations).
TVector Solve(TMatrix a, TVector b)
{
    const size_t n = b.size();
    for (size_t c = 0; c < n; ++c) {
        size_t pivot = c;
        for (size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        if (a[c][c] == 0)
            continue;
        for (size_t r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (size_t k = c; k < n; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    TVector x(n, 0);
    for (size_t c = n; c-- > 0;) {
        double sum = b[c];
        for (size_t k = c + 1; k < n; ++k)
            sum -= a[c][k] * x[k];
        x[c] = a[c][c] != 0 ? sum / a[c][c] : 0;
    }
    return x;
}

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

std::string Number(double value)
{
    std::ostringstream text;
    text.precision(4);
    text << value;
    return text.str();
}

}  // namespace

// One fit in progress: shared by the threads that run its starts.
struct TFitRun {
    TFitRun(const TCalibration& calibration, TClock::time_point deadline, const TFitOptions& options)
        : Calibration(calibration), Deadline(deadline), Cancel(options.Cancel), Progress(options.Progress)
    {
    }

    const TCalibration& Calibration;
    TClock::time_point Deadline;
    const std::atomic<bool>* Cancel;
    std::atomic<int>* Progress;
    std::atomic<int> Analyses{0};
    std::atomic<bool> Stopped{false};
    std::mutex Lock;
    TVector Best;
    double BestObjective = std::numeric_limits<double>::infinity();

    double Objective(const TVector& logs)
    {
        if ((Cancel && Cancel->load()) || TClock::now() > Deadline) {
            Stopped = true;
            throw nlopt::forced_stop();
        }
        ++Analyses;
        if (Progress)
            ++*Progress;
        const double objective = Calibration.Evaluate(Calibration.Multipliers(logs)).Objective;
        const std::lock_guard<std::mutex> guard(Lock);
        if (objective < BestObjective) {
            BestObjective = objective;
            Best = logs;
        }
        return objective;
    }

    static double Call(const TVector& x, TVector& /*gradient*/, void* data)
    {
        return static_cast<TFitRun*>(data)->Objective(x);
    }

    // The residuals at x and their Jacobian in log space, by central
    // differences (one-sided at a bound).
    TMatrix JacobianAt(const TVector& x, TVector& residuals, double lower, double upper)
    {
        residuals = Calibration.Evaluate(Calibration.Multipliers(x)).Residuals;
        TMatrix jacobian(residuals.size(), TVector(x.size(), 0));
        for (size_t j = 0; j < x.size(); ++j) {
            TVector up = x, down = x;
            up[j] = std::min(x[j] + JacobianStep, upper);
            down[j] = std::max(x[j] - JacobianStep, lower);
            const TVector rUp = Calibration.Evaluate(Calibration.Multipliers(up)).Residuals;
            const TVector rDown = Calibration.Evaluate(Calibration.Multipliers(down)).Residuals;
            for (size_t i = 0; i < residuals.size(); ++i)
                jacobian[i][j] = (rUp[i] - rDown[i]) / (up[j] - down[j]);
        }
        Analyses += 1 + 2 * static_cast<int>(x.size());
        return jacobian;
    }

    void RunFrom(const TVector& start, const TFitOptions& options)
    {
        const size_t n = start.size();
        // BOBYQA models the objective by quadratics, which needs two
        // parameters at least; one alone is left to COBYLA.
        nlopt::opt opt(n > 1 ? nlopt::LN_BOBYQA : nlopt::LN_COBYLA, static_cast<unsigned>(n));
        opt.set_lower_bounds(TVector(n, std::log(options.Lower)));
        opt.set_upper_bounds(TVector(n, std::log(options.Upper)));
        opt.set_min_objective(&TFitRun::Call, this);
        opt.set_initial_step(0.2);
        opt.set_xtol_abs(1e-5);
        opt.set_ftol_abs(1e-14);
        opt.set_maxeval(options.MaxEvaluationsPerStart);
        TVector x = start;
        double value = 0;
        try {
            opt.optimize(x, value);
        } catch (const std::exception&) {
            // Stopped, or the solver gave up on round-off: the best point
            // seen is kept all the same.
        }
    }
};

TFitResult TCalibration::Fit() const
{
    const TClock::time_point started = TClock::now();
    TFitRun run(*this,
                started + std::chrono::duration_cast<TClock::duration>(
                              std::chrono::duration<double>(FOptions.TimeLimitSeconds)),
                FOptions);
    const size_t n = FFree.size();
    const double lower = std::log(FOptions.Lower), upper = std::log(FOptions.Upper);

    // The current factors, and the best of a few points spread around them
    // (a Halton sequence within a factor of 3 either way): a cheap look
    // over the landscape, whose curves' peaks can make more than one valley.
    TVector origin(n);
    for (size_t j = 0; j < n; ++j)
        origin[j] = std::log(FStart[FFree[j]]);
    std::vector<std::pair<double, TVector>> candidates;
    for (int c = 1; c <= CandidatesPerParameter * static_cast<int>(n); ++c) {
        TVector x = origin;
        for (size_t j = 0; j < n; ++j)
            x[j] = std::clamp(origin[j] + SpreadLog * (2 * Halton(c, Primes[j % std::size(Primes)]) - 1), lower, upper);
        candidates.emplace_back(std::numeric_limits<double>::infinity(), x);
    }
    ParallelFor(candidates.size(), ThreadsFor(FOptions, candidates.size()), [&](size_t c) {
        try {
            candidates[c].first = run.Objective(candidates[c].second);
        } catch (const nlopt::forced_stop&) {
        }
    });
    std::sort(candidates.begin(), candidates.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TVector> starts = {origin};
    for (int s = 0; s < FOptions.SpreadStarts && s < static_cast<int>(candidates.size()); ++s)
        starts.push_back(candidates[s].second);

    ParallelFor(starts.size(), ThreadsFor(FOptions, starts.size()), [&](size_t s) {
        if (!run.Stopped)
            run.RunFrom(starts[s], FOptions);
    });
    // Restarts from the best point found, with a fresh trust region, while
    // they still improve it: a kink of the curves can stall a run.
    for (int restart = 0; restart < Restarts && !run.Stopped && !run.Best.empty(); ++restart) {
        const double before = run.BestObjective;
        run.RunFrom(run.Best, FOptions);
        if (!(run.BestObjective < before * 0.99))
            break;
    }
    // The end game exploits the least-squares form: Levenberg-Marquardt
    // steps from the best point, each on a fresh Jacobian.
    TVector best = run.Best.empty() ? origin : run.Best;
    TVector residuals;
    TMatrix jacobian = run.JacobianAt(best, residuals, lower, upper);
    double objective = SumOfSquares(residuals), damping = 1e-3;
    for (int step = 0; step < MarquardtSteps && !run.Stopped && objective > 0; ++step) {
        const TMatrix normal = Normal(jacobian);
        TVector gradient(n, 0);
        for (size_t j = 0; j < n; ++j)
            for (size_t i = 0; i < residuals.size(); ++i)
                gradient[j] += jacobian[i][j] * residuals[i];
        bool improved = false;
        while (!improved && damping < 1e8) {
            TMatrix damped = normal;
            for (size_t j = 0; j < n; ++j)
                damped[j][j] += damping * std::max(normal[j][j], 1e-12);
            TVector trial = best;
            const TVector change = Solve(damped, gradient);
            for (size_t j = 0; j < n; ++j)
                trial[j] = std::clamp(best[j] - change[j], lower, upper);
            ++run.Analyses;
            const TVector trialResiduals = Evaluate(Multipliers(trial)).Residuals;
            const double trialObjective = SumOfSquares(trialResiduals);
            if (trialObjective < objective) {
                improved = true;
                const double gain = objective - trialObjective;
                best = trial;
                objective = trialObjective;
                damping = std::max(damping / 4, 1e-9);
                if (gain < 1e-10 * objective + 1e-20)
                    step = MarquardtSteps;
                else
                    jacobian = run.JacobianAt(best, residuals, lower, upper);
            } else {
                damping *= 8;
            }
        }
        if (!improved)
            break;
    }
    if (residuals.empty() || SumOfSquares(residuals) != objective)
        jacobian = run.JacobianAt(best, residuals, lower, upper);

    TFitResult result;
    result.Starts = static_cast<int>(starts.size());
    result.Cancelled = run.Stopped;
    const TVector all = Multipliers(best);
    const TVector fitted = Exp(best);
    const TEvaluation before = Evaluate(FStart);
    const TEvaluation after = Evaluate(all);
    result.Before = MisfitOf(before);
    result.After = MisfitOf(after);
    result.Computed = after.Points;
    result.FittedCurve = after.Curve;
    result.Warnings = FSetUpNotes;
    if (run.Stopped)
        result.Warnings.push_back(std::string(FOptions.Cancel && FOptions.Cancel->load() ? "The fit was cancelled"
                                                                                          : "The fit reached its time limit") +
                                  " before it converged; the values shown are the best found so far.");

    const size_t m = residuals.size();
    TVector norm(n, 0);
    for (size_t j = 0; j < n; ++j) {
        for (size_t i = 0; i < m; ++i)
            norm[j] += jacobian[i][j] * jacobian[i][j];
        norm[j] = std::sqrt(norm[j]);
    }
    const double largestNorm = *std::max_element(norm.begin(), norm.end());
    std::vector<std::string> flat;
    for (size_t j = 0; j < n; ++j)
        if (!(norm[j] > 1e-3 * largestNorm))
            flat.push_back(FNames[FFree[j]]);
    if (!flat.empty())
        result.Warnings.push_back("The measured data hardly depend on " + JoinNames(flat) +
                                  ": the fit cannot determine " + (flat.size() == 1 ? "it" : "them") +
                                  ", and the value shown stays near its start.");

    // The column-scaled normal matrix: its smallest eigenvalue tells how
    // well the worst combination of parameters is determined.
    const TMatrix normal = Normal(jacobian);
    bool separable = flat.empty() && m > n;
    if (flat.empty()) {
        TMatrix scaled = normal;
        for (size_t p = 0; p < n; ++p)
            for (size_t q = 0; q < n; ++q)
                scaled[p][q] /= norm[p] * norm[q];
        TVector values;
        TMatrix vectors;
        SymmetricEigen(scaled, values, vectors);
        const double condition = values.front() > 0 ? std::sqrt(values.back() / values.front())
                                                    : std::numeric_limits<double>::infinity();
        if (condition > SeparableCondition) {
            separable = false;
            std::vector<std::string> together;
            double largest = 0;
            for (size_t j = 0; j < n; ++j)
                largest = std::max(largest, std::fabs(vectors[j][0]));
            for (size_t j = 0; j < n; ++j)
                if (std::fabs(vectors[j][0]) > 0.3 * largest)
                    together.push_back(FNames[FFree[j]]);
            result.Warnings.push_back(
                "The measured data cannot separate " + JoinNames(together) +
                ": changing them together in the right proportion leaves the fit almost the same (condition "
                "number " + Number(condition) +
                "). Fit fewer parameters, or add gauge loads or toe movements that tell the shaft from the tip.");
        }
    }
    if (m <= n)
        result.Warnings.push_back("There are " + std::to_string(m) + " measured values for " + std::to_string(n) +
                                  " parameters: too few to fit them all or to give confidence ranges.");

    // Approximate 95 % ranges from the covariance s^2 (J^T J)^-1.
    TVector values;
    TMatrix vectors;
    SymmetricEigen(normal, values, vectors);
    const double variance = m > n ? objective / static_cast<double>(m - n) : 0;
    for (size_t j = 0; j < n; ++j) {
        TFitParameter parameter;
        parameter.Name = FNames[FFree[j]];
        parameter.Start = FStart[FFree[j]];
        parameter.Value = fitted[j];
        parameter.AtBound = best[j] <= lower + 1e-3 || best[j] >= upper - 1e-3;
        if (separable && values.front() > 0) {
            double covariance = 0;
            for (size_t k = 0; k < n; ++k)
                covariance += vectors[j][k] * vectors[j][k] / values[k];
            const double half = 2 * std::sqrt(variance * covariance);
            parameter.Low = fitted[j] * std::exp(-half);
            parameter.High = fitted[j] * std::exp(half);
        }
        if (parameter.AtBound)
            result.Warnings.push_back("The " + parameter.Name + " multiplier stopped at its bound " +
                                      Number(parameter.Value) +
                                      ": the best fit may lie beyond it; check the data or widen the bounds.");
        result.Parameters.push_back(parameter);
    }
    if (!result.After.LoadsBeyondCurve.empty()) {
        std::string loads;
        for (double load : result.After.LoadsBeyondCurve)
            loads += (loads.empty() ? "" : ", ") + Number(load);
        result.Warnings.push_back("The measured head loads " + loads +
                                  " lie beyond the computed load-settlement curve even after the fit; they count "
                                  "as large misfits and are left out of the RMS values.");
    }

    result.ShaftFitted = FOptions.Shaft != TShaftFit::None && (FOptions.FitT || FOptions.FitZ);
    result.TzRows = TzRowsFor(all);
    result.TipFitted = FOptions.Tip && (FOptions.FitQ || FOptions.FitW);
    if (result.TipFitted) {
        result.QMultiplier = all[all.size() - 2];
        result.WMultiplier = all[all.size() - 1];
    }
    result.Analyses = run.Analyses;
    result.Seconds = std::chrono::duration<double>(TClock::now() - started).count();
    return result;
}

void ApplyFit(const TFitResult& fit, TProgramData& project)
{
    if (fit.ShaftFitted) {
        TGridTable& table = project.Tables().TblTZFactors2;
        table.SetRowCount(static_cast<int>(fit.TzRows.size()));
        for (size_t k = 0; k < fit.TzRows.size(); ++k) {
            const int row = static_cast<int>(k);
            table.GetData(0, row).SetFloat(static_cast<long double>(static_cast<float>(fit.TzRows[k].Depth)));
            table.GetData(1, row).SetFloat(fit.TzRows[k].T);
            table.GetData(2, row).SetFloat(fit.TzRows[k].Z);
        }
        project.ApplyTzFactors = true;
    }
    if (fit.TipFitted) {
        project.ApplyQwFactors = true;
        project.QMultiplier = fit.QMultiplier;
        project.WMultiplier = fit.WMultiplier;
    }
    project.SetChanged(true);
}

nlohmann::json FitResultJson(const TFitResult& fit, const TLoadTest& test)
{
    const UnitSystem units = test.Units;
    const auto misfit = [](const TMisfit& m) {
        return nlohmann::json{{"settlementRms", m.Settlement},
                              {"gaugeLoadRms", m.Gauge},
                              {"toeMovementRms", m.Toe},
                              {"objective", m.Objective},
                              {"loadsBeyondCurve", m.LoadsBeyondCurve}};
    };
    nlohmann::json parameters = nlohmann::json::array();
    for (const TFitParameter& p : fit.Parameters) {
        nlohmann::json row = {{"name", p.Name}, {"start", p.Start}, {"value", p.Value}, {"atBound", p.AtBound}};
        row["range"] = p.High > 0 ? nlohmann::json::array({p.Low, p.High}) : nlohmann::json();
        parameters.push_back(std::move(row));
    }
    nlohmann::json factors = nlohmann::json::object();
    if (fit.ShaftFitted)
        for (const TFactorRow& row : fit.TzRows)
            factors["tz"].push_back({{"depth", row.Depth}, {"t", row.T}, {"z", row.Z}});
    if (fit.TipFitted)
        factors["qw"] = {{"q", fit.QMultiplier}, {"w", fit.WMultiplier}};
    nlohmann::json curve = nlohmann::json::array();
    for (const THeadPoint& point : fit.FittedCurve)
        curve.push_back({point.Load, point.Settlement});
    nlohmann::json comparison = nlohmann::json::array();
    for (size_t i = 0; i < test.Points.size() && i < fit.Computed.size(); ++i) {
        const TLoadTestPoint& measured = test.Points[i];
        const TComputedPoint& computed = fit.Computed[i];
        nlohmann::json row = {{"headLoad", measured.HeadLoad}, {"measuredSettlement", measured.HeadSettlement}};
        row["computedSettlement"] = computed.OnCurve ? nlohmann::json(computed.Settlement) : nlohmann::json();
        if (computed.OnCurve && measured.ToeMovement)
            row["toeMovement"] = {*measured.ToeMovement, computed.ToeMovement};
        for (size_t g = 0; computed.OnCurve && g < measured.Gauges.size(); ++g)
            row["gauges"].push_back({{"depth", measured.Gauges[g].Depth},
                                     {"measuredLoad", measured.Gauges[g].Load},
                                     {"computedLoad", computed.GaugeLoads[g]}});
        comparison.push_back(std::move(row));
    }
    return {{"units", {{"system", units == UnitSystem::SI ? "SI" : "English"},
                       {"force", ExpandUnits("F", units)},
                       {"length", ExpandUnits("L", units)}}},
            {"parameters", std::move(parameters)},
            {"misfit", {{"before", misfit(fit.Before)}, {"after", misfit(fit.After)}}},
            {"warnings", fit.Warnings},
            {"factors", std::move(factors)},
            {"comparison", std::move(comparison)},
            {"fittedCurve", std::move(curve)},
            {"analyses", fit.Analyses},
            {"starts", fit.Starts},
            {"cancelled", fit.Cancelled},
            {"seconds", fit.Seconds}};
}
