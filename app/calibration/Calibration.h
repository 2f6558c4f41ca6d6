#pragma once

// Calibration of a project's modification factors to a static load test:
// the t- and z-multipliers of the shaft (one pair for the whole shaft, or a
// pair per soil layer) and the Q- and w-multipliers of the tip are fitted so
// that the computed pile reproduces the measured head settlements, and gauge
// loads and toe movements where measured.
//
//   TCalibration calibration(project, test, options);   // reads the project once
//   TFitResult fit = calibration.Fit();                 // writes nothing
//   if (fit.Warnings.empty()) ApplyFit(fit, project);   // factors on, project changed
//
// Every analysis runs in memory on a copy of the problem read from the
// project's text; the fit runs its starts on several threads.

#include "LoadTest.h"

#include <korven/Core.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class TProgramData;

enum class TShaftFit { None, Whole, Layers };

struct TFitOptions {
    TShaftFit Shaft = TShaftFit::Whole;
    bool Tip = true;
    // Which multipliers are fitted; the others keep their current values.
    bool FitT = true;  // of the shaft (every layer)
    bool FitZ = true;
    bool FitQ = true;  // of the tip
    bool FitW = true;
    // Bounds of every multiplier.
    double Lower = 0.1;
    double Upper = 10;
    // Weights of the three groups of residuals; each residual is first
    // divided by its group's range of measured values.
    double SettlementWeight = 1;
    double GaugeWeight = 1;
    double ToeWeight = 1;
    // Starts besides the current factors, spread in log space.
    int SpreadStarts = 3;
    int MaxEvaluationsPerStart = 300;
    double TimeLimitSeconds = 60;
    int Threads = 0;  // 0: one per core
    // Set from another thread to stop the fit; it then answers the best
    // point found so far.
    const std::atomic<bool>* Cancel = nullptr;
    // When given, counts the analyses of the search as they run, for
    // showing progress on another thread.
    std::atomic<int>* Progress = nullptr;
};

struct TFitParameter {
    std::string Name;  // "shaft t", "layer 2 z", "tip Q", ...
    double Start = 1;
    double Value = 1;
    // Approximate 95 % range of the fitted value; both 0 when the data
    // cannot give one.
    double Low = 0;
    double High = 0;
    bool AtBound = false;
};

// The computed pile at one head load, interpolated on the computed curve.
struct TComputedPoint {
    bool OnCurve = false;  // false: the load lies beyond the computed curve
    double Settlement = 0;
    double ToeMovement = 0;
    std::vector<double> GaugeLoads;  // at the point's gauge depths
};

// A point of the head's load-settlement curve.
struct THeadPoint {
    double Load = 0;
    double Settlement = 0;
};

// One depth row of the t-z factor table.
struct TFactorRow {
    double Depth = 0;
    double T = 1;
    double Z = 1;
};

struct TMisfit {
    double Settlement = 0;  // RMS, in the project's length unit (NaN: no point on the curve)
    double Gauge = 0;       // RMS, force unit (0 without gauges)
    double Toe = 0;         // RMS, length unit (0 without toe movements)
    double Objective = 0;   // the weighted sum of squares minimised
    std::vector<double> LoadsBeyondCurve;
};

struct TFitResult {
    std::vector<TFitParameter> Parameters;  // the fitted ones
    TMisfit Before;
    TMisfit After;
    std::vector<TComputedPoint> Computed;  // at the measured loads, after the fit
    std::vector<THeadPoint> FittedCurve;
    std::vector<std::string> Warnings;  // in words, for the engineer
    // What Apply writes: the t-z factor rows (when the shaft was fitted) and
    // the Q-w multipliers (when the tip was).
    bool ShaftFitted = false;
    std::vector<TFactorRow> TzRows;
    bool TipFitted = false;
    double QMultiplier = 1;
    double WMultiplier = 1;
    int Analyses = 0;
    int Starts = 0;
    bool Cancelled = false;
    double Seconds = 0;
};

// A load test, a project and the choice of parameters; refused with
// ELoadTestError when they cannot be fitted (the message says why).
class TCalibration {
public:
    TCalibration(TProgramData& project, TLoadTest test, TFitOptions options);

    TFitResult Fit() const;

    // The model at the given multipliers (every one, fitted or not, in the
    // order of Names()): the
    // computed values at the measured loads and the scaled residuals whose
    // sum of squares the fit minimises.
    struct TEvaluation {
        std::vector<TComputedPoint> Points;
        std::vector<double> Residuals;
        std::vector<THeadPoint> Curve;
        double Objective = 0;
    };
    TEvaluation Evaluate(const std::vector<double>& multipliers) const;

    const std::vector<std::string>& Names() const { return FNames; }
    const std::vector<double>& StartValues() const { return FStart; }
    const korven::Problem& BaseProblem() const { return FBase; }
    const TLoadTest& Test() const { return FTest; }

    // The problem at the given multipliers, with the project's own tip
    // movements and head loads (what Apply would give).
    korven::Problem ProblemWith(const std::vector<double>& multipliers) const;
    std::vector<TFactorRow> TzRowsFor(const std::vector<double>& multipliers) const;

private:
    void SetUpParameters(const TProgramData& project);
    TMisfit MisfitOf(const TEvaluation& evaluation) const;
    // Every multiplier, from the logarithms of the fitted ones.
    std::vector<double> Multipliers(const std::vector<double>& freeLogs) const;
    friend struct TFitRun;

    TLoadTest FTest;
    TFitOptions FOptions;
    korven::Problem FBase;
    std::vector<float> FCurveDepths;            // of the t-z curves, from the top
    std::vector<std::pair<float, float>> FLayers;  // top and bottom of each soil layer
    std::vector<std::string> FNames;
    std::vector<double> FStart;
    std::vector<size_t> FFree;  // the multipliers fitted
    std::vector<float> FTipMovements;  // the analyses' assumed tip movements
    double FSettlementRange = 1;
    double FGaugeRange = 1;
    double FToeRange = 1;
    std::vector<std::string> FSetUpNotes;
};

// Writes the fitted factors into the project's factor tables and switches
// them on, marking the project changed.
void ApplyFit(const TFitResult& fit, TProgramData& project);

// The fit as JSON: parameters with their ranges, misfits before and after,
// warnings, the measured against the computed values, the fitted curve, the
// factor rows and the counts.
nlohmann::json FitResultJson(const TFitResult& fit, const TLoadTest& test);
