// The model behind the fit: the project's problem with trial multipliers,
// analysed in memory, compared with the measured load test.
#include "Calibration.h"

#include "ProgramData.h"

#include <algorithm>
#include <cmath>

namespace {

// The residual of a measured load beyond the computed curve grows by this
// much per unit of its relative distance from the curve.
constexpr double BeyondCurvePenalty = 10;
constexpr int TipMovementCount = korven::kMaxTipMovements;
// Passes of regula falsi that narrow each measured load's bracket on the
// computed curve.
constexpr int RefinementPasses = 4;

// A t-z factor at depth x over the problem's factor rows, as the engine
// looks it up.
double FactorAt(const korven::Problem& p, const std::array<float, korven::kMaxFactorRows>& values, float x)
{
    const int n = p.tzFactorCount;
    const auto& depth = p.tzFactorDepth;
    if (n == 0 || x < depth[0] || x > depth[n - 1])
        return 1;
    if (n == 1 || x == depth[n - 1])
        return values[n - 1];
    for (int k = 1; k < n; ++k) {
        if (x > depth[k])
            continue;
        if (x == depth[k])
            return k + 1 < n && depth[k + 1] == depth[k] ? values[k + 1] : values[k];
        const float span = depth[k] - depth[k - 1];
        return span > 0 ? values[k - 1] + (x - depth[k - 1]) * (values[k] - values[k - 1]) / span : values[k];
    }
    return 1;
}

double Range(const std::vector<double>& values)
{
    if (values.empty())
        return 1;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    double range = *high - *low;
    if (!(range > 0))
        range = std::max(std::fabs(*low), std::fabs(*high));
    return range > 0 ? range : 1;
}

// Geometric mean of positive values.
double GeometricMean(const std::vector<double>& values)
{
    double sum = 0;
    for (double v : values)
        sum += std::log(v);
    return std::exp(sum / static_cast<double>(values.size()));
}

// The axial load at depth d below the head, from a distribution's nodes
// (the tip first).
double LoadAtDepth(const korven::Distribution& distribution, float pileLength, double depth)
{
    const std::vector<float>& load = distribution.nodeLoad;
    if (load.size() < 2)
        return 0;
    const double step = pileLength / static_cast<double>(load.size() - 1);
    const double fromTip = std::clamp((pileLength - depth) / step, 0.0, static_cast<double>(load.size() - 1));
    const size_t i = std::min(static_cast<size_t>(fromTip), load.size() - 2);
    const double f = fromTip - static_cast<double>(i);
    return load[i] + f * (load[i + 1] - load[i]);
}

}  // namespace

TCalibration::TCalibration(TProgramData& project, TLoadTest test, TFitOptions options)
    : FTest(std::move(test)), FOptions(options)
{
    FTest.Check();
    FTest.SetUnits(project.Units());
    const bool shaft = FOptions.Shaft != TShaftFit::None && (FOptions.FitT || FOptions.FitZ);
    const bool tip = FOptions.Tip && (FOptions.FitQ || FOptions.FitW);
    if (!shaft && !tip)
        throw ELoadTestError("no parameter is ticked: fit the shaft, the tip or both");
    if (!(FOptions.Lower > 0) || !(FOptions.Upper > FOptions.Lower))
        throw ELoadTestError("the bounds of the multipliers must satisfy 0 < lower < upper");

    const korven::ReadResult read = korven::Read(project.FileText());
    if (read.status != korven::kCompleted)
        throw ELoadTestError("the project cannot be analysed (engine status " + std::to_string(read.status) +
                             (read.message.empty() ? "" : ": " + read.message) + ")");
    FBase = read.problem;
    const korven::Outcome outcome = korven::Analyse(FBase);
    if (outcome.status != korven::kCompleted)
        throw ELoadTestError("the project cannot be analysed (engine status " + std::to_string(outcome.status) + ")");
    for (const korven::TzCurve& curve : outcome.curves)
        FCurveDepths.push_back(curve.depth);

    // The analyses walk the pile from tip movements spread evenly in log
    // space over the measured range, so that the computed curve is dense
    // where it is compared.
    double largest = 0;
    std::vector<double> settlements, gauges, toes;
    for (const TLoadTestPoint& point : FTest.Points) {
        settlements.push_back(point.HeadSettlement);
        largest = std::max(largest, point.HeadSettlement);
        if (point.ToeMovement) {
            toes.push_back(*point.ToeMovement);
            largest = std::max(largest, *point.ToeMovement);
        }
        for (const TGaugeReading& gauge : point.Gauges)
            gauges.push_back(gauge.Load);
    }
    if (!(largest > 0))
        throw ELoadTestError("every measured settlement is 0: nothing to fit");
    const double first = largest * 1e-4, last = largest * 2;
    for (int k = 0; k < TipMovementCount; ++k)
        FTipMovements.push_back(
            static_cast<float>(first * std::pow(last / first, static_cast<double>(k) / (TipMovementCount - 1))));
    FSettlementRange = Range(settlements);
    FGaugeRange = Range(gauges);
    FToeRange = Range(toes);
    SetUpParameters(project);
}

void TCalibration::SetUpParameters(const TProgramData& project)
{
    const korven::Problem& p = FBase;
    const auto startOf = [&](double value) { return std::clamp(value, FOptions.Lower, FOptions.Upper); };
    if (FOptions.Shaft == TShaftFit::Whole) {
        std::vector<double> t, z;
        for (float depth : FCurveDepths) {
            t.push_back(FactorAt(p, p.tMultiplier, depth));
            z.push_back(FactorAt(p, p.zMultiplier, depth));
        }
        const auto varies = [](const std::vector<double>& v) {
            return std::any_of(v.begin(), v.end(), [&](double x) { return x != v.front(); });
        };
        if (varies(t) || varies(z))
            FSetUpNotes.push_back("The project's t-z factors vary with depth; the fit replaces them by one pair for "
                                  "the whole shaft, starting from their geometric mean.");
        FNames = {"shaft t", "shaft z"};
        FStart = {startOf(GeometricMean(t)), startOf(GeometricMean(z))};
    } else if (FOptions.Shaft == TShaftFit::Layers) {
        if (p.curveSource == korven::kGivenCurves)
            throw ELoadTestError("per-layer factors need soil layers, and this project's t-z curves are entered by "
                                 "the user: fit one pair for the whole shaft instead");
        for (int i = 0; i < p.layerCount; ++i) {
            const korven::SoilLayer& layer = p.layers[i];
            if (i > 0 && layer.top != p.layers[i - 1].bottom)
                throw ELoadTestError("per-layer factors need the soil layers in depth order, each starting at the "
                                     "bottom of the one above");
            if (layer.top >= p.pileLength)
                break;  // below the tip: the shaft does not reach it
            FLayers.emplace_back(layer.top, layer.bottom);
            const float middle = (layer.top + layer.bottom) / 2;
            const std::string name = "layer " + std::to_string(i + 1);
            FNames.push_back(name + " t");
            FNames.push_back(name + " z");
            FStart.push_back(startOf(FactorAt(p, p.tMultiplier, middle)));
            FStart.push_back(startOf(FactorAt(p, p.zMultiplier, middle)));
        }
    }
    if (FOptions.Tip) {
        FNames.push_back("tip Q");
        FNames.push_back("tip w");
        FStart.push_back(startOf(project.ApplyQwFactors ? static_cast<double>(project.QMultiplier) : 1.0));
        FStart.push_back(startOf(project.ApplyQwFactors ? static_cast<double>(project.WMultiplier) : 1.0));
    }
    const size_t shaftSlots = FOptions.Tip ? FNames.size() - 2 : FNames.size();
    for (size_t j = 0; j < FNames.size(); ++j)
        if (j < shaftSlots ? (j % 2 == 0 ? FOptions.FitT : FOptions.FitZ)
                           : (j == shaftSlots ? FOptions.FitQ : FOptions.FitW))
            FFree.push_back(j);
}

std::vector<double> TCalibration::Multipliers(const std::vector<double>& freeLogs) const
{
    std::vector<double> m = FStart;
    for (size_t j = 0; j < FFree.size(); ++j)
        m[FFree[j]] = std::exp(freeLogs[j]);
    return m;
}

std::vector<TFactorRow> TCalibration::TzRowsFor(const std::vector<double>& m) const
{
    std::vector<TFactorRow> rows;
    if (FOptions.Shaft == TShaftFit::None)
        return rows;
    const auto [shallowest, deepest] = std::minmax_element(FCurveDepths.begin(), FCurveDepths.end());
    const double top = std::min(0.0, static_cast<double>(*shallowest));
    const double bottom = std::max(static_cast<double>(*deepest), static_cast<double>(FBase.pileLength));
    if (FOptions.Shaft == TShaftFit::Whole) {
        rows.push_back({top, m[0], m[1]});
        if (bottom > top)
            rows.push_back({bottom, m[0], m[1]});
        return rows;
    }
    // Two rows per layer, at its top and its bottom, so that every curve of
    // a layer takes the layer's own factors: a curve on a boundary lies on
    // two rows of the same depth and takes the second, the lower layer's.
    // The deepest layer reaching the tip covers every curve below it.
    for (size_t i = 0; i < FLayers.size(); ++i) {
        const double t = m[2 * i], z = m[2 * i + 1];
        rows.push_back({i == 0 ? std::min(top, static_cast<double>(FLayers[i].first)) : FLayers[i].first, t, z});
        rows.push_back({i + 1 == FLayers.size() ? std::max(bottom, static_cast<double>(FLayers[i].second))
                                                : FLayers[i].second,
                        t, z});
    }
    return rows;
}

korven::Problem TCalibration::ProblemWith(const std::vector<double>& m) const
{
    korven::Problem p = FBase;
    if (FOptions.Shaft != TShaftFit::None) {
        const std::vector<TFactorRow> rows = TzRowsFor(m);
        p.tzFactorCount = static_cast<int32_t>(rows.size());
        for (size_t k = 0; k < rows.size(); ++k) {
            p.tzFactorDepth[k] = static_cast<float>(rows[k].Depth);
            p.tMultiplier[k] = static_cast<float>(rows[k].T);
            p.zMultiplier[k] = static_cast<float>(rows[k].Z);
        }
    }
    if (FOptions.Tip) {
        p.qwFactors = true;
        p.qMultiplier = static_cast<float>(m[m.size() - 2]);
        p.wMultiplier = static_cast<float>(m[m.size() - 1]);
    }
    return p;
}

TCalibration::TEvaluation TCalibration::Evaluate(const std::vector<double>& m) const
{
    korven::Problem p = ProblemWith(m);
    p.headLoadCount = 0;
    const size_t count = FTest.Points.size();

    // The pile at one tip movement, with the loads at one point's gauges.
    struct TState {
        double Load = 0, Settlement = 0, Toe = 0;
        std::vector<double> Gauges;
    };
    const auto stateOf = [&](const korven::Outcome& outcome, size_t k, const TLoadTestPoint& point) {
        const korven::LoadSettlementRow& row = outcome.loadSettlement[k];
        TState state{row.topLoad, row.topMovement, row.tipMovement, {}};
        for (const TGaugeReading& gauge : point.Gauges)
            state.Gauges.push_back(LoadAtDepth(outcome.distributions[k], p.pileLength, gauge.Depth));
        return state;
    };
    const auto analyse = [&](const std::vector<float>& tipMovements) {
        p.tipMovementCount = static_cast<int32_t>(tipMovements.size());
        std::copy(tipMovements.begin(), tipMovements.end(), p.tipMovements.begin());
        return korven::Analyse(p);
    };

    // The computed curve from the origin over tip movements spread in log
    // space; each measured load is bracketed on its first stretch that
    // reaches it (never extrapolated).
    TEvaluation result;
    result.Curve.push_back({0, 0});
    const korven::Outcome outcome = analyse(FTipMovements);
    const bool completed = outcome.status == korven::kCompleted;
    double largestLoad = 0;
    if (completed)
        for (const korven::LoadSettlementRow& row : outcome.loadSettlement) {
            result.Curve.push_back({row.topLoad, row.topMovement});
            largestLoad = std::max(largestLoad, static_cast<double>(row.topLoad));
        }
    std::vector<TState> below(count), above(count);
    std::vector<float> wBelow(count, 0), wAbove(count, 0);
    std::vector<bool> onCurve(count, false);
    for (size_t i = 0; completed && i < count; ++i) {
        const TLoadTestPoint& point = FTest.Points[i];
        below[i].Gauges.assign(point.Gauges.size(), 0.0);
        for (size_t k = 0; k < outcome.loadSettlement.size(); ++k) {
            if (outcome.loadSettlement[k].topLoad < point.HeadLoad) {
                below[i] = stateOf(outcome, k, point);
                wBelow[i] = FTipMovements[k];
                continue;
            }
            above[i] = stateOf(outcome, k, point);
            wAbove[i] = FTipMovements[k];
            onCurve[i] = true;
            break;
        }
    }
    // Regula falsi (Illinois) on each bracket, all points in one analysis
    // per pass, so that the comparison does not depend on the spacing of
    // the curve: an end kept twice running counts half in the next step.
    std::vector<double> weightBelow(count, 1), weightAbove(count, 1);
    std::vector<int> lastSide(count, 0);
    for (int pass = 0; completed && pass < RefinementPasses; ++pass) {
        std::vector<float> trial;
        std::vector<size_t> owner;
        for (size_t i = 0; i < count; ++i) {
            if (!onCurve[i] || above[i].Load <= below[i].Load)
                continue;
            const double shortBy = (FTest.Points[i].HeadLoad - below[i].Load) * weightBelow[i];
            const double over = (above[i].Load - FTest.Points[i].HeadLoad) * weightAbove[i];
            const double f = shortBy / (shortBy + over);
            const float w = static_cast<float>(wBelow[i] + f * (wAbove[i] - wBelow[i]));
            if (w > wBelow[i] && w < wAbove[i]) {
                trial.push_back(w);
                owner.push_back(i);
            }
        }
        for (size_t start = 0; start < trial.size(); start += korven::kMaxTipMovements) {
            const size_t end = std::min(trial.size(), start + korven::kMaxTipMovements);
            const korven::Outcome refined = analyse({trial.begin() + start, trial.begin() + end});
            if (refined.status != korven::kCompleted)
                continue;
            for (size_t k = start; k < end; ++k) {
                const size_t i = owner[k];
                TState state = stateOf(refined, k - start, FTest.Points[i]);
                const int side = state.Load < FTest.Points[i].HeadLoad ? -1 : 1;
                if (side < 0) {
                    below[i] = std::move(state);
                    wBelow[i] = trial[k];
                } else {
                    above[i] = std::move(state);
                    wAbove[i] = trial[k];
                }
                (side < 0 ? weightBelow : weightAbove)[i] = 1;
                if (side == lastSide[i])
                    (side < 0 ? weightAbove : weightBelow)[i] *= 0.5;
                lastSide[i] = side;
            }
        }
    }

    const double ws = std::sqrt(FOptions.SettlementWeight), wg = std::sqrt(FOptions.GaugeWeight),
                 wt = std::sqrt(FOptions.ToeWeight);
    for (size_t i = 0; i < count; ++i) {
        const TLoadTestPoint& measured = FTest.Points[i];
        TComputedPoint point;
        point.OnCurve = onCurve[i];
        if (onCurve[i]) {
            const TState &a = below[i], &b = above[i];
            const double f = b.Load > a.Load ? (measured.HeadLoad - a.Load) / (b.Load - a.Load) : 1;
            point.Settlement = a.Settlement + f * (b.Settlement - a.Settlement);
            point.ToeMovement = a.Toe + f * (b.Toe - a.Toe);
            for (size_t g = 0; g < measured.Gauges.size(); ++g)
                point.GaugeLoads.push_back(a.Gauges[g] + f * (b.Gauges[g] - a.Gauges[g]));
            result.Residuals.push_back(ws * (point.Settlement - measured.HeadSettlement) / FSettlementRange);
            if (measured.ToeMovement)
                result.Residuals.push_back(wt * (point.ToeMovement - *measured.ToeMovement) / FToeRange);
            for (size_t g = 0; g < measured.Gauges.size(); ++g)
                result.Residuals.push_back(wg * (point.GaugeLoads[g] - measured.Gauges[g].Load) / FGaugeRange);
        } else {
            // The settlement at the end of the curve, and a steep penalty
            // for the load beyond it: continuous where the load leaves
            // the curve, and soon larger than any misfit on it.
            const double end = result.Curve.back().Settlement;
            result.Residuals.push_back(ws * ((end - measured.HeadSettlement) / FSettlementRange +
                                             BeyondCurvePenalty * (measured.HeadLoad - largestLoad) / measured.HeadLoad));
            if (measured.ToeMovement)
                result.Residuals.push_back(0);
            result.Residuals.insert(result.Residuals.end(), measured.Gauges.size(), 0.0);
            point.GaugeLoads.assign(measured.Gauges.size(), 0.0);
        }
        result.Points.push_back(std::move(point));
    }
    for (double r : result.Residuals)
        result.Objective += r * r;
    return result;
}

TMisfit TCalibration::MisfitOf(const TEvaluation& evaluation) const
{
    TMisfit misfit;
    misfit.Objective = evaluation.Objective;
    double settlement = 0, gauge = 0, toe = 0;
    int settlements = 0, gauges = 0, toes = 0;
    for (size_t i = 0; i < FTest.Points.size(); ++i) {
        const TLoadTestPoint& measured = FTest.Points[i];
        const TComputedPoint& computed = evaluation.Points[i];
        if (!computed.OnCurve) {
            misfit.LoadsBeyondCurve.push_back(measured.HeadLoad);
            continue;
        }
        settlement += std::pow(computed.Settlement - measured.HeadSettlement, 2);
        ++settlements;
        if (measured.ToeMovement) {
            toe += std::pow(computed.ToeMovement - *measured.ToeMovement, 2);
            ++toes;
        }
        for (size_t g = 0; g < measured.Gauges.size(); ++g, ++gauges)
            gauge += std::pow(computed.GaugeLoads[g] - measured.Gauges[g].Load, 2);
    }
    // Without a point on the curve there is no RMS value to give.
    misfit.Settlement = settlements ? std::sqrt(settlement / settlements) : std::nan("");
    misfit.Gauge = gauges ? std::sqrt(gauge / gauges) : 0;
    misfit.Toe = toes ? std::sqrt(toe / toes) : 0;
    return misfit;
}
