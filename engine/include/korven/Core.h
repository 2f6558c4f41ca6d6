// The analysis engine in memory: read an input data file's text into a
// `Problem`, analyse it into an `Outcome`, write the report and the plot data
// file as text. Every function is reentrant: it keeps nothing between calls
// and touches no file, console or shared state (RunFiles touches only the
// files it is given), so any number of threads may call it at once on
// different values.
//
//   korven::ReadResult read = korven::Read(text);            // the .kv3d text
//   if (read.status != korven::kCompleted) return read.status;
//   korven::Problem problem = read.problem;
//   problem.pileLength = 720.0f;                              // try a longer pile
//   problem.tzFactorCount = 2;                                // t 20 % higher over the whole
//   for (int row = 0; row < 2; ++row) {                       //   pile: rows at its top and
//       problem.tzFactorDepth[row] = row == 0 ? 0.0f : 1.0e6f; //   far below, interpolated
//       problem.tMultiplier[row] = 1.2f;
//       problem.zMultiplier[row] = 1.0f;
//   }
//   const korven::Outcome outcome = korven::Analyse(problem);
//   for (const korven::LoadSettlementRow& row : outcome.loadSettlement)
//       std::printf("%g %g\n", row.topLoad, row.topMovement);
//
// Analyse checks the problem it is given as the reader checks a file (counts
// within the capacities below, a tip within the layers, ...) and answers a
// problem it cannot analyse with the status a file holding it would get.
//
// The entry point of Korven.h is Read, Analyse and Write over the files named
// in "names.dat"; RunFiles is the same over files named by the caller.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#define KORVEN_API __attribute__((visibility("default")))

namespace korven {

// The status of a run, a read or an analysis.
enum Status : int32_t {
    kCompleted = 0,
    kWrongKey = 1,  // the entry point was called with a key other than 3
    // A depth lies beyond the soil layers' input (a warning in the report).
    kBeyondUnitWeight = 4,
    kBeyondStrength = 5,
    kBeyondSideFriction = 6,
    kBeyondTipResistance = 7,
    kBeyondFrictionAngle = 8,
    // Input the engine refuses before computing.
    kNamesFileUnreadable = 10,
    kFileNotOpened = 11,
    kInputMalformed = 12,
    kCountOutOfRange = 13,
    kTipBelowLayers = 14,
    kZeroStiffness = 15,
    kShortTipCurve = 16,
    kPileAboveCurves = 17,
    kTipBeyondFullCurve = 18,
    kBadQwFactors = 19,
    // The report or the plot data file could not be written whole; the
    // previous file of that name is kept.
    kOutputNotWritten = 20,
};

// Capacities of a problem.
constexpr int kMaxCurves = 100;
constexpr int kMaxCurvePoints = 100;
constexpr int kMaxGeneratedLayers = 20;
constexpr int kMaxLayerRows = 2 * kMaxGeneratedLayers;
constexpr int kMaxStiffnessPoints = 50;
constexpr int kMaxTipCurvePoints = 50;
constexpr int kMaxTipMovements = 50;
constexpr int kMaxHeadLoads = 50;
constexpr int kMaxSettlementPoints = 100;
constexpr int kMaxFactorRows = 50;
constexpr int kMaxIncrements = 900;
// Generated t-z curves written to the plot data file (the report lists all).
constexpr int kPlottedGeneratedCurves = 30;

// A t-z curve: unit load transfer t against pile movement z at one depth.
struct TzCurve {
    int32_t number = 0;  // as numbered in the input; generated curves 1, 2, ...
    float depth = 0;
    int32_t points = 0;  // 1 to kMaxCurvePoints
    std::array<float, kMaxCurvePoints> t{};
    std::array<float, kMaxCurvePoints> z{};
};

// The Q-w curve: tip load Q against tip movement w.
struct QwCurve {
    int32_t points = 0;  // 2 to kMaxTipCurvePoints
    std::array<float, kMaxTipCurvePoints> load{};
    std::array<float, kMaxTipCurvePoints> movement{};
};

// Rows of (depth, value), depths from the top down.
template <int N>
struct DepthTable {
    int32_t count = 0;
    std::array<float, N> depth{};
    std::array<float, N> value{};
};

struct SoilLayer {
    int32_t number = 0;  // as numbered in the input (the report prints it)
    int32_t soil = 1;    // soil model code, 1 to 6
    float top = 0;
    float bottom = 0;
};

// Curve sources.
constexpr int32_t kGivenCurves = 1;  // any other value: generated from the soil layers

// One project, as its input data file holds it. Lengths, forces and pressures
// are in the unit system `units`: 1 inches and pounds, 2 metres and kN.
struct Problem {
    std::string title;  // the report prints its first 72 characters
    int32_t increments = 0;   // 1 to kMaxIncrements
    int32_t printOption = 0;  // 0: the report lists every increment of every tip movement
    int32_t units = 1;
    int32_t curveSource = kGivenCurves;

    // Given curves (curveSource == kGivenCurves), before the modification
    // factors below.
    int32_t curveCount = 0;
    std::array<TzCurve, kMaxCurves> curves{};
    QwCurve tipCurve;

    // Soil layers (any other curve source): five t-z curves per layer and
    // the Q-w curve of the layer at the tip are generated from them. Row 2i
    // of the value arrays holds layer i's values at its top, row 2i + 1 at
    // its bottom.
    int32_t layerCount = 0;  // 1 to kMaxGeneratedLayers
    std::array<SoilLayer, kMaxGeneratedLayers> layers{};
    std::array<float, kMaxLayerRows> unitWeight{};
    std::array<float, kMaxLayerRows> strength{};  // undrained shear strength
    std::array<float, kMaxLayerRows> frictionAngle{};
    std::array<float, kMaxLayerRows> e50{};
    std::array<float, kMaxLayerRows> sideFriction{};   // ultimate unit side friction
    std::array<float, kMaxLayerRows> tipResistance{};  // ultimate unit tip resistance (0: from the soil)

    DepthTable<kMaxStiffnessPoints> stiffness;  // depth, axial stiffness AE (never 0)

    float tolerance = 0;   // of the movement at each increment's mid-depth
    float pileLength = 0;  // to the tip
    float diameter = 0;
    float tipArea = 0;

    // Assumed tip movements, one load-settlement row each; at most 1E-10
    // (zero and negative): the pile pulled upward. The reader puts the nine
    // default movements here when the file asks for them.
    int32_t tipMovementCount = 0;  // 1 to kMaxTipMovements
    std::array<float, kMaxTipMovements> tipMovements{};

    int32_t headLoadCount = 0;  // 0 (none) to kMaxHeadLoads
    std::array<float, kMaxHeadLoads> headLoads{};

    DepthTable<kMaxSettlementPoints> settlement;  // depth, soil settlement; count 0: none

    // Modification factors of the t-z curves by depth: 0 rows for none. A
    // curve takes the factors interpolated at its depth between the rows,
    // 1 above the first row and below the last.
    int32_t tzFactorCount = 0;
    std::array<float, kMaxFactorRows> tzFactorDepth{};
    std::array<float, kMaxFactorRows> tMultiplier{};
    std::array<float, kMaxFactorRows> zMultiplier{};

    // Modification factors of the Q-w curve (w above 0, Q not below 0).
    bool qwFactors = false;
    float qMultiplier = 1;
    float wMultiplier = 1;
};

// The input data file in the order it holds its parts (given curves and soil
// layers share a place; the Q-w curve follows the stiffness when given, and
// is generated after the pile data otherwise).
enum class InputPart : int32_t {
    Nothing,
    Title,
    Options,     // increments, print option, units, curve source
    LayerLines,  // the soil layers' lines (the rest of the layer data follows)
    CurvesOrLayers,
    Stiffness,
    TipCurve,
    PileData,
    TipMovements,
    HeadLoads,
    Settlement,
    TzFactors,
    QwFactors,  // the whole file
};

// A depth beyond the extent of a soil layers' input.
struct Warning {
    int32_t status = 0;  // kBeyondUnitWeight to kBeyondFrictionAngle
    float depth = 0;
    std::string input;   // which input, as the report names it
};

struct ReadResult {
    int32_t status = kCompleted;
    std::string message;            // the report's error line; may be empty
    std::vector<Warning> warnings;  // of a status kBeyond...
    // As far as read: a problem read whole when status is kCompleted.
    Problem problem;
    InputPart reached = InputPart::Nothing;  // the last part read whole
};

// One row of the load-settlement table, as the report prints it: the rows of
// an upward tip movement carry negated loads and movements.
struct LoadSettlementRow {
    float topLoad = 0;
    float topMovement = 0;
    float tipMovement = 0;
    float tipLoad = 0;
};

// Values at the mid-depth of one increment.
struct MidDepth {
    float depth = 0;
    float transfer = 0;       // unit load transfer t
    float loadIncrement = 0;  // load transferred along the increment
    float load = 0;           // axial load
    float deformation = 0;    // elastic shortening of the increment
    float movement = 0;       // pile movement
};

// The load and movement along the pile for one assumed tip movement, from
// the tip up, as solved: an upward case is solved for the movement's
// magnitude and the report prints its values negated.
struct Distribution {
    float tipMovement = 0;  // |assumed tip movement|
    float tipLoad = 0;
    bool upward = false;
    std::vector<MidDepth> increments;  // `increments` of them
    std::vector<float> nodeLoad;       // increments + 1 nodes, the tip first
    std::vector<float> nodeMovement;
};

struct Outcome {
    int32_t status = kCompleted;
    std::string message;            // the report's error line; may be empty
    std::vector<Warning> warnings;  // of a status kBeyond...
    // The curves as given or generated (what the report lists) and as used,
    // after the modification factors.
    std::vector<TzCurve> curves;
    QwCurve tipCurve;
    std::vector<TzCurve> curvesUsed;
    QwCurve tipCurveUsed;
    std::vector<LoadSettlementRow> loadSettlement;  // one per assumed tip movement
    std::vector<LoadSettlementRow> loadCases;       // one per pile-head load
    std::vector<Distribution> distributions;        // one per assumed tip movement
};

// What the report's heading names: the version text, the three files and the
// time of the run.
struct RunLabels {
    std::string version;  // 12 characters: cut, or filled with blanks on the right
    std::string inputPath;
    std::string reportPath;
    std::string plotPath;
    std::tm time{};
};

struct Written {
    std::string report;
    std::string plot;
};

// Reads an input data file's text with every check of the entry point: a
// status other than kCompleted is the one a run of that file returns.
KORVEN_API ReadResult Read(std::string_view inputText);

// Analyses a problem. A problem read whole always completes.
KORVEN_API Outcome Analyse(const Problem& problem);

// The report and the plot data file of a run, byte for byte what the entry
// point writes. When the read failed, `outcome` is not used (pass an empty
// one): the report echoes the input as far as it was read.
KORVEN_API Written Write(const RunLabels& labels, const ReadResult& read, const Outcome& outcome);

// A whole run over files named by the caller, as the entry point makes it
// from "names.dat": the report, the plot data file (each replacing its
// previous file only when written whole) and the run-notes file (created
// when missing, never written). `console` holds the lines the entry point
// prints on standard output for such a run.
struct RunPaths {
    std::string input;
    std::string report;
    std::string plot;
    std::string notes;
};
struct FileRun {
    int32_t status = kCompleted;
    std::string console;
};
KORVEN_API FileRun RunFiles(const RunPaths& paths, std::string_view version);

}  // namespace korven
