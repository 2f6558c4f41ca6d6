#pragma once

// What a study's analyses say together: settlements read off the
// load-settlement curves, percentiles, bands, the exceedance probability
// with its sampling error, and the sensitivities.
//
// A value a curve does not reach (a load above every computed head load, a
// criterion the curve never meets) counts as larger than every value that
// was reached: it takes part in the percentiles as +infinity, so a
// percentile that falls among such values is itself +infinity ("beyond the
// computed curve").

#include "StudyRunner.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The settlement at which the curve first carries `load`, straight between
// its points; +infinity when it never does.
double SettlementAtLoad(const std::vector<TStudyCurvePoint>& curve, double load);

// The largest head load of a curve (0 for the origin alone).
double LargestLoad(const std::vector<TStudyCurvePoint>& curve);

// The settlement of an analysis under its pile-head load `index`, as the
// engine solved it; +infinity when the load exceeds every computed head load.
double HeadLoadSettlement(const TStudyRun& run, std::size_t index);

// The p-quantile (0 <= p <= 1) of values sorted in ascending order: linear
// between the order statistics at (n - 1) p; NaN for no values.
double Percentile(const std::vector<double>& sorted, double p);

inline constexpr std::array<double, 3> BandPercentiles = {0.05, 0.50, 0.95};

struct TBandPoint {
    double Load = 0;
    std::array<double, 3> Settlement{};  // at the BandPercentiles
};

// The distribution of one read-out over the analysed realisations.
struct TReadoutDistribution {
    std::string Key;   // "ten_percent_diameter_load", ...
    std::string Name;  // "Load at 10 % of the diameter", ...
    std::string Unit;
    int Count = 0;   // analysed realisations
    int Beyond = 0;  // of them, the ones the curve does not reach
    // Over the values reached (NaN when none was).
    double Mean = 0;
    double StandardDeviation = 0;
    std::array<double, 3> Percentiles{};  // at the BandPercentiles, over all
    // Twenty equal bins between the smallest and the largest value reached:
    // Edges has one entry more than Counts.
    std::vector<double> HistogramEdges;
    std::vector<int> HistogramCounts;
};

// The probability that the settlement under the study's load exceeds its
// limit, estimated as the share of analysed realisations that exceed it,
// with the standard error of that share under plain random sampling.
struct TExceedance {
    double Load = 0;
    double Limit = 0;
    int Count = 0;
    int Exceeding = 0;
    double Probability = 0;
    double StandardError = 0;
};

// How one input moves the settlement under the study's load: alone at its
// 5 % and 95 % quantiles with the other inputs at their medians, and the
// rank correlation of its draws with the settlements of the realisations.
struct TSensitivity {
    std::size_t Input = 0;
    std::array<double, 2> Values{};
    std::array<double, 2> Settlements{};
    double Swing = 0;  // |difference of the two settlements|
    double RankCorrelation = 0;
};

struct TProbabilisticSummary {
    int Analysed = 0;
    int Refused = 0;
    std::vector<TBandPoint> Bands;
    std::vector<TReadoutDistribution> Readouts;
    std::optional<TExceedance> Exceedance;
    double MedianSettlement = 0;  // with every input at its median
    std::vector<TSensitivity> Sensitivities;  // the largest swing first
};

TProbabilisticSummary Summarise(const TProbabilisticStudy& study, const TProbabilisticResult& result, UnitSystem units);
