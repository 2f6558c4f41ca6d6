#pragma once

// Runs a study: one full analysis through the engine's in-memory core per
// swept value or per realisation, on every core. The project is read into
// the engine's problem once; each analysis changes a copy of it.

#include "CapacityReadouts.h"
#include "PlotData.h"
#include "StudyDefinition.h"

#include "korven/Core.h"

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The status of an analysis whose values the study refused before the
// engine saw them (a pile length of 0, ...).
inline constexpr int32_t RefusedValue = -1;

// One analysis of a study.
struct TStudyRun {
    // 0 when analysed; otherwise the engine's status or RefusedValue, and
    // Message says why.
    int32_t Status = 0;
    std::string Message;
    std::vector<TLoadSettlementRow> LoadSettlement;  // one row per assumed tip movement
    std::vector<TLoadSettlementRow> LoadCases;       // one row per pile-head load
    TCapacityReadouts Readouts;
    // The settlement under the study load, solved for that load; +infinity
    // when the load exceeds every computed head load, NaN when not asked for.
    double StudySettlement = NAN;

    bool Analysed() const { return Status == 0; }
};

// How a study runs: on how many threads (0: one per core), what it tells
// about its progress, and the flag that cancels it. OnProgress is called
// from the working threads, one call at a time, with the analyses done and
// their total.
struct TRunControl {
    int Threads = 0;
    std::function<void(int done, int total)> OnProgress;
    const std::atomic<bool>* Cancel = nullptr;
};

// The engine's problem of a project's input text (the project file's text,
// as the program writes it); EStudyError with the engine's message when the
// engine refuses it.
korven::Problem StudyProblem(std::string_view inputText);

// Throws EStudyError when a study's inputs do not fit the project.
void CheckStudy(const TStudy& study, const korven::Problem& problem);

// Analyses `problem` with the inputs set to the values; with a study load
// above 0, also solves the pile for that head load.
TStudyRun AnalyseWith(const korven::Problem& problem, const std::vector<TStudyInput>& inputs,
                      const std::vector<double>& values, double studyLoad = 0);

// A point of a load-settlement curve.
struct TStudyCurvePoint {
    double TipMovement = 0;
    double Load = 0;
    double Settlement = 0;
};

// The compressive branch of a load-settlement curve: the origin, then the
// rows of downward tip movements in the order of their tip movements.
std::vector<TStudyCurvePoint> CompressiveCurve(const std::vector<TLoadSettlementRow>& rows);

// The index of the first point of the curve at which it reaches `load`
// (its predecessor carries less); 0 when it never does.
std::size_t FirstReaching(const std::vector<TStudyCurvePoint>& curve, double load);

// The settlement of the analysed `problem`, whose compressive curve is
// `curve`, under a head load: the tip movement that carries it is found
// between the two points of the curve that bracket the load (regula falsi,
// each step a solve of that one tip movement) until the bracket's loads lie
// within 1E-5 of the load, and the settlement is interpolated in the
// bracket. +infinity when the curve never reaches the load. The solves leave
// one tip movement and no head loads in `problem`.
double SettlementUnder(korven::Problem& problem, const std::vector<TStudyCurvePoint>& curve, double load);

struct TParametricResult {
    bool Cancelled = false;
    std::vector<double> Values;
    std::vector<TStudyRun> Runs;  // one per value
};

// A probabilistic study's realisations, and its sensitivity runs: every
// input at its median, then each input alone at its 5 % and its 95 %
// quantile with the others at their medians.
struct TProbabilisticResult {
    bool Cancelled = false;
    std::vector<std::vector<double>> Samples;  // per realisation, one value per input
    std::vector<TStudyRun> Runs;               // per realisation
    std::vector<double> Medians;
    TStudyRun MedianRun;
    std::vector<std::array<double, 2>> SwingValues;  // per input: its 5 % and 95 % quantiles
    std::vector<std::array<TStudyRun, 2>> SwingRuns;
};

// The quantiles the sensitivities set each input to.
inline constexpr double LowQuantile = 0.05;
inline constexpr double HighQuantile = 0.95;

TParametricResult RunParametric(const TParametricStudy& study, const korven::Problem& problem,
                                const TRunControl& control);
TProbabilisticResult RunProbabilistic(const TProbabilisticStudy& study, const korven::Problem& problem,
                                      const TRunControl& control);
