// What the reader, the analysis and the writer share inside the engine: the
// checks of a problem, the curve generation and the modification factors.
// Each takes its values as arguments and keeps nothing between calls.
#pragma once

#include <string>

#include "FormattedIO.h"
#include "korven/Core.h"

namespace korven {

// Thrown inside a read or an analysis to stop it with a status; `message`
// (may be empty) is the report's error line, `warning` (status 0: none) the
// warning the report shows first.
struct RunStop {
    int32_t status;
    std::string message;
    Warning warning;
};

[[noreturn]] void Fail(int32_t status, const std::string& message);

// Unit labels of the report.
inline bool Si(const Problem& p) {
    return p.units == 2;
}
inline const char* LengthLabel(const Problem& p) {
    return Si(p) ? " M." : "IN.";
}
inline const char* ForceLabel(const Problem& p) {
    return Si(p) ? "KN." : "LBS";
}
inline const char* PressureLabel(const Problem& p) {
    return Si(p) ? "KPA" : "PSI";
}
inline bool GivenCurves(const Problem& p) {
    return p.curveSource == kGivenCurves;
}

// ---------------------------------------------------------------- checks
// In the order the input data file holds what they check, so that a problem
// gets the status its file would get.

void CheckCount(int32_t count, int32_t least, int32_t most, const char* what);
void CheckOptions(const Problem& p);
void CheckCurve(const TzCurve& curve);
void CheckSoil(const SoilLayer& layer);
void CheckStiffness(const Problem& p);
void CheckTipCurve(const Problem& p);
void CheckTipMovements(const Problem& p);
void CheckHeadLoads(const Problem& p);
void CheckSettlement(const Problem& p);
void CheckTzFactors(const Problem& p);
void CheckQwFactors(const Problem& p);
// The solver's walk needs a t-z curve at or above every increment's
// mid-depth, and a Q-w curve filling its storage cannot reach past its last
// point. Over the curves as used.
void CheckSolvable(const Problem& p, const Outcome& prepared);

// ---------------------------------------------------------------- curves

// How far a generation got.
enum class Generated { Nothing, TzCurves, All };

// Generates the t-z curves and the Q-w curve of the soil layers into
// `out.curves` and `out.tipCurve`; a depth beyond the layers' input stops it
// (RunStop) with the curves made so far.
void GenerateCurves(const Problem& p, Outcome& out, Generated& done);
// The given curves, or the generated ones with their checks.
void ListCurves(const Problem& p, Outcome& out);
// The curves as used: `out.curves` and `out.tipCurve` with the modification
// factors applied.
void ApplyFactors(const Problem& p, Outcome& out);

// ---------------------------------------------------------------- report

// The report's heading, and its error line.
void WriteHeader(const RunLabels& labels, std::string& report);
void WriteErrorLine(const std::string& message, std::string& report);

// Default assumed tip movements, in inches.
constexpr int kDefaultTipMovementCount = 9;
extern const float kDefaultTipMovements[kDefaultTipMovementCount];

// An assumed tip movement at or below this pulls the pile upward.
constexpr float kUpwardLimit = 1.0e-10f;

}  // namespace korven
