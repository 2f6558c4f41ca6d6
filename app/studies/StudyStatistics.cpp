#include "StudyStatistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int HistogramBins = 20;
constexpr int DefaultBandSteps = 20;

bool Reached(double value) { return std::isfinite(value); }

// Ranks from 1, ties sharing their mean rank.
std::vector<double> Ranks(const std::vector<double>& values)
{
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> ranks(values.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i;
        while (j + 1 < order.size() && values[order[j + 1]] == values[order[i]])
            ++j;
        for (std::size_t k = i; k <= j; ++k)
            ranks[order[k]] = (static_cast<double>(i + j) + 2) / 2;
        i = j + 1;
    }
    return ranks;
}

double Correlation(const std::vector<double>& x, const std::vector<double>& y)
{
    const double n = static_cast<double>(x.size());
    const double mx = std::accumulate(x.begin(), x.end(), 0.0) / n;
    const double my = std::accumulate(y.begin(), y.end(), 0.0) / n;
    double sxy = 0, sxx = 0, syy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
        syy += (y[i] - my) * (y[i] - my);
    }
    return sxx > 0 && syy > 0 ? sxy / std::sqrt(sxx * syy) : 0;
}

TReadoutDistribution Distribution(std::string key, std::string name, std::string unit, std::vector<double> values)
{
    TReadoutDistribution d;
    d.Key = std::move(key);
    d.Name = std::move(name);
    d.Unit = std::move(unit);
    std::sort(values.begin(), values.end());
    d.Count = static_cast<int>(values.size());
    const auto reachedEnd = std::find_if(values.begin(), values.end(), [](double v) { return !Reached(v); });
    const std::vector<double> reached(values.begin(), reachedEnd);
    d.Beyond = d.Count - static_cast<int>(reached.size());
    for (std::size_t i = 0; i < BandPercentiles.size(); ++i)
        d.Percentiles[i] = Percentile(values, BandPercentiles[i]);
    if (reached.empty()) {
        d.Mean = d.StandardDeviation = NAN;
        return d;
    }
    const double n = static_cast<double>(reached.size());
    d.Mean = std::accumulate(reached.begin(), reached.end(), 0.0) / n;
    double squares = 0;
    for (double v : reached)
        squares += (v - d.Mean) * (v - d.Mean);
    d.StandardDeviation = reached.size() > 1 ? std::sqrt(squares / (n - 1)) : 0;

    const double lo = reached.front(), hi = reached.back();
    const int bins = hi > lo ? HistogramBins : 1;
    for (int b = 0; b <= bins; ++b)
        d.HistogramEdges.push_back(b == bins ? (hi > lo ? hi : lo) : lo + (hi - lo) * b / bins);
    d.HistogramCounts.assign(static_cast<std::size_t>(bins), 0);
    for (double v : reached) {
        const int b = hi > lo ? std::min(bins - 1, static_cast<int>((v - lo) / (hi - lo) * bins)) : 0;
        ++d.HistogramCounts[static_cast<std::size_t>(b)];
    }
    return d;
}

}  // namespace

double SettlementAtLoad(const std::vector<TStudyCurvePoint>& curve, double load)
{
    const std::size_t i = FirstReaching(curve, load);
    if (i == 0)
        return load <= 0 ? 0 : INFINITY;
    const TStudyCurvePoint& a = curve[i - 1];
    const TStudyCurvePoint& b = curve[i];
    return a.Settlement + (load - a.Load) / (b.Load - a.Load) * (b.Settlement - a.Settlement);
}

double LargestLoad(const std::vector<TStudyCurvePoint>& curve)
{
    double largest = 0;
    for (const TStudyCurvePoint& point : curve)
        largest = std::max(largest, point.Load);
    return largest;
}

double HeadLoadSettlement(const TStudyRun& run, std::size_t index)
{
    if (index >= run.LoadCases.size())
        return NAN;
    const TLoadSettlementRow& row = run.LoadCases[index];
    return row.TopLoad > LargestLoad(CompressiveCurve(run.LoadSettlement)) ? INFINITY : row.TopMovement;
}

double Percentile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return NAN;
    const double h = (static_cast<double>(sorted.size()) - 1) * p;
    const auto below = static_cast<std::size_t>(std::floor(h));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = h - static_cast<double>(below);
    if (fraction == 0 || sorted[below] == sorted[above])
        return sorted[below];
    return sorted[below] + fraction * (sorted[above] - sorted[below]);
}

TProbabilisticSummary Summarise(const TProbabilisticStudy& study, const TProbabilisticResult& result, UnitSystem units)
{
    TProbabilisticSummary summary;
    const std::string force = ForceUnitText(units), length = LengthUnitText(units);
    std::vector<std::size_t> analysed;
    std::vector<std::vector<TStudyCurvePoint>> curves;
    for (std::size_t i = 0; i < result.Runs.size(); ++i)
        if (result.Runs[i].Analysed()) {
            analysed.push_back(i);
            curves.push_back(CompressiveCurve(result.Runs[i].LoadSettlement));
        }
    summary.Analysed = static_cast<int>(analysed.size());
    summary.Refused = static_cast<int>(result.Runs.size()) - summary.Analysed;

    // Bands: the settlement percentiles at fixed loads.
    std::vector<double> bandLoads = study.BandLoads;
    if (bandLoads.empty() && !curves.empty()) {
        std::vector<double> largest;
        for (const auto& curve : curves)
            largest.push_back(LargestLoad(curve));
        std::sort(largest.begin(), largest.end());
        // Up to the largest load that enough curves reach for the highest
        // percentile to be taken among settlements reached, so that every
        // band is defined along its whole length.
        const double h = static_cast<double>(largest.size() - 1) * BandPercentiles.back();
        const auto needed = static_cast<std::size_t>(std::floor(h)) + (h > std::floor(h) ? 2 : 1);
        const double top = largest[largest.size() - std::min(needed, largest.size())];
        for (int k = 1; top > 0 && k <= DefaultBandSteps; ++k)
            bandLoads.push_back(top * k / DefaultBandSteps);
    }
    for (double load : bandLoads) {
        std::vector<double> settlements;
        for (const auto& curve : curves)
            settlements.push_back(SettlementAtLoad(curve, load));
        std::sort(settlements.begin(), settlements.end());
        TBandPoint point{load};
        for (std::size_t p = 0; p < BandPercentiles.size(); ++p)
            point.Settlement[p] = Percentile(settlements, BandPercentiles[p]);
        summary.Bands.push_back(point);
    }

    // Read-outs.
    std::vector<double> tenPercent, davisson, settlement;
    for (std::size_t k = 0; k < analysed.size(); ++k) {
        const TCapacityReadouts& readouts = result.Runs[analysed[k]].Readouts;
        tenPercent.push_back(readouts.TenPercentDiameter.Reached ? readouts.TenPercentDiameter.Load : INFINITY);
        davisson.push_back(readouts.Davisson.Reached ? readouts.Davisson.Load : INFINITY);
        settlement.push_back(result.Runs[analysed[k]].StudySettlement);
    }
    summary.Readouts.push_back(Distribution("ten_percent_diameter_load", "Load at a settlement of 10 % of the diameter",
                                            force, tenPercent));
    summary.Readouts.push_back(Distribution("davisson_load", "Load at Davisson's offset limit", force, davisson));
    summary.Readouts.push_back(
        Distribution("settlement_at_study_load", "Settlement under the study load", length, settlement));
    const std::size_t headLoads = analysed.empty() ? 0 : result.Runs[analysed.front()].LoadCases.size();
    for (std::size_t h = 0; h < headLoads; ++h) {
        std::vector<double> values;
        for (std::size_t i : analysed)
            values.push_back(HeadLoadSettlement(result.Runs[i], h));
        summary.Readouts.push_back(Distribution("settlement_at_head_load_" + std::to_string(h + 1),
                                                "Settlement under pile-head load " + std::to_string(h + 1), length,
                                                values));
    }

    if (study.SettlementLimit && !settlement.empty()) {
        TExceedance e{study.SettlementLoad, *study.SettlementLimit, static_cast<int>(settlement.size())};
        e.Exceeding = static_cast<int>(
            std::count_if(settlement.begin(), settlement.end(), [&](double s) { return s > e.Limit; }));
        e.Probability = static_cast<double>(e.Exceeding) / e.Count;
        e.StandardError = std::sqrt(e.Probability * (1 - e.Probability) / e.Count);
        summary.Exceedance = e;
    }

    // Sensitivities.
    summary.MedianSettlement = result.MedianRun.StudySettlement;
    const std::vector<double> settlementRanks = Ranks(settlement);
    for (std::size_t j = 0; j < result.SwingRuns.size(); ++j) {
        TSensitivity s{j, result.SwingValues[j]};
        for (std::size_t side = 0; side < 2; ++side)
            s.Settlements[side] = result.SwingRuns[j][side].StudySettlement;
        s.Swing = std::fabs(s.Settlements[1] - s.Settlements[0]);
        if (std::isinf(s.Settlements[0]) && std::isinf(s.Settlements[1]))
            s.Swing = 0;
        std::vector<double> draws;
        for (std::size_t i : analysed)
            draws.push_back(result.Samples[i][j]);
        s.RankCorrelation = draws.size() > 1 ? Correlation(Ranks(draws), settlementRanks) : 0;
        summary.Sensitivities.push_back(s);
    }
    std::stable_sort(summary.Sensitivities.begin(), summary.Sensitivities.end(),
                     [](const TSensitivity& a, const TSensitivity& b) {
                         // Swings that cannot be told (a run refused) go last.
                         const double sa = std::isnan(a.Swing) ? -1 : a.Swing;
                         const double sb = std::isnan(b.Swing) ? -1 : b.Swing;
                         return sa > sb;
                     });
    return summary;
}
