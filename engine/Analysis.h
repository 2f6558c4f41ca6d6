// The analysis engine's working storage and the steps of one run.
// Everything a run needs lives in one `Analysis` object made for that run,
// so every call of the entry point starts from cleared storage.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "FormattedIO.h"

namespace korven {

// Status codes returned by the entry point.
enum Status : int32_t {
    kCompleted = 0,
    kWrongKey = 1,
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

// Capacities of the working storage.
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
constexpr int kPlottedGeneratedCurves = 30;

// Layouts written by more than one step of a run.
extern const fio::Layout kBlankLine;  // one blank
extern const fio::Layout kTitle;      // the title in 72 columns
extern const fio::Layout kPair;       // a curve point or AE pair

// Thrown inside a run to stop it with a status; `message` (may be empty)
// goes into the report when the report is open.
struct RunStop {
    int32_t status;
    std::string message;
};

struct TzCurve {
    int32_t number = 0;
    float depth = 0;
    int32_t points = 0;
    std::array<float, kMaxCurvePoints> t{};
    std::array<float, kMaxCurvePoints> z{};
    int32_t soil = 0;       // generated curves: soil model code of the layer
    float maxFriction = 0;  // generated curves: ultimate unit side friction
    float phi = 0;          // generated curves: friction angle
};

// One row of the load-settlement table.
struct ResultRow {
    float topLoad = 0;
    float topMovement = 0;
    float tipMovement = 0;
    float tipLoad = 0;
};

// A table of (depth, value) rows used by several lookups.
template <int N>
struct DepthTable {
    int32_t count = 0;
    std::array<float, N> depth{};
    std::array<float, N> value{};
};

struct Problem {
    std::string title;  // 72 characters
    int32_t increments = 0;
    int32_t printOption = 0;
    int32_t units = 1;
    int32_t curveSource = 0;

    int32_t curveCount = 0;
    std::array<TzCurve, kMaxCurves> curves{};

    int32_t layerCount = 0;
    std::array<int32_t, kMaxGeneratedLayers> soil{};
    std::array<float, kMaxGeneratedLayers> layerTop{};
    std::array<float, kMaxGeneratedLayers> layerBottom{};

    // Layer data rows: 2 per layer, top then bottom.
    int32_t rowCount = 0;
    std::array<float, kMaxLayerRows> rowDepth{};
    std::array<float, kMaxLayerRows> unitWeight{};
    std::array<float, kMaxLayerRows> strength{};
    std::array<float, kMaxLayerRows> frictionAngle{};
    std::array<float, kMaxLayerRows> e50{};
    std::array<float, kMaxLayerRows> sideFriction{};
    std::array<float, kMaxLayerRows> tipResistance{};

    DepthTable<kMaxStiffnessPoints> stiffness;  // depth, AE

    float tolerance = 0;
    float pileLength = 0;
    float diameter = 0;
    float tipArea = 0;

    int32_t tipPointCount = 0;
    std::array<float, kMaxTipCurvePoints> tipLoad{};
    std::array<float, kMaxTipCurvePoints> tipMovement{};

    int32_t tipMovementCount = 0;
    std::array<float, kMaxTipMovements> assumedTipMovement{};

    int32_t headLoadCount = 0;
    std::array<float, kMaxHeadLoads> headLoad{};

    DepthTable<kMaxSettlementPoints> settlement;  // depth, soil settlement

    int32_t tzFactorSwitch = 0;
    int32_t tzFactorCount = 0;
    std::array<float, kMaxFactorRows> tzFactorDepth{};
    std::array<float, kMaxFactorRows> tMultiplier{};
    std::array<float, kMaxFactorRows> zMultiplier{};

    int32_t qwFactorSwitch = 0;
    float qMultiplier = 0;
    float wMultiplier = 0;
};

// What the walk up the pile takes at the mid-depth of one increment. It
// depends on the depth alone, so it is looked up once per run.
struct Station {
    float settlement = 0;  // soil settlement
    float stiffness = 0;   // AE
    int32_t curve = -1;    // the t-z curve there (-1: none)
    bool between = false;  // between the curve above and `curve`
};

// Node loads and movements of one solved load case.
struct PileState {
    std::array<float, kMaxIncrements + 1> load{};
    std::array<float, kMaxIncrements + 1> movement{};
};

class Analysis {
public:
    // Runs the whole analysis named by "names.dat" in the current folder.
    int32_t Run();

private:
    // Run driver and report header.
    void ReadNamesFile();
    void OpenFiles();
    void WriteHeader();
    // False when the report or the plot data file could not be written whole.
    bool CloseFiles();
    void Fail(int32_t status, const std::string& message);

    // Input reading with its report echo.
    void ReadProblem();
    void ReadUserCurves();
    void ReadLayers();
    void ReadStiffness();
    void ReadPileData();
    void ReadUserTipCurve();
    void ReadTipMovements();
    void ReadHeadLoads();
    void ReadSettlement();
    void ReadTzFactors();
    void ReadQwFactors();
    void CheckSolvable();
    void ReadList(std::vector<std::variant<int32_t*, float*>> targets);
    void CheckCount(int32_t count, int32_t least, int32_t most, const char* what);

    // Curve generation.
    void PlaceCurves();
    void GenerateTzCurves();
    void GenerateTipCurve();
    float LayerLookup(const std::array<float, kMaxLayerRows>& values, float x, bool mayFail, int32_t status,
                      const char* tableName);
    float AverageUnitWeight(float x);
    void LookupWarning(float x, int32_t status, const char* tableName);
    void WriteTzCurves(int32_t count);
    void WriteTipCurve();
    void PlotTzCurves(int32_t count);
    void PlotTipCurve();

    // Solver.
    float TipCurveLoad(float w) const;
    float CurveValue(int32_t c, float w) const;
    float TzValue(const Station& station, float x, float w) const;
    float Stiffness(float x) const;
    float SoilSettlement(float x) const;
    void PrepareWalk();
    void Solve(float w0, float q0, bool upward, bool write, PileState& pile);
    void SolveTipMovements();
    void SolveHeadLoads();
    void WriteResultTable(bool negateUpward);

    // Unit labels.
    std::string LengthLabel() const { return problem_.units == 2 ? " M." : "IN."; }
    std::string ForceLabel() const { return problem_.units == 2 ? "KN." : "LBS"; }
    std::string PressureLabel() const { return problem_.units == 2 ? "KPA" : "PSI"; }
    bool Si() const { return problem_.units == 2; }

    std::string version_;
    std::array<std::string, 4> paths_;  // input, report, plot, fourth file
    fio::RecordWriter report_;
    fio::RecordWriter plot_;
    std::unique_ptr<fio::LineReader> input_;
    std::FILE* fourth_ = nullptr;

    Problem problem_;
    std::array<ResultRow, kMaxTipMovements> results_{};
    int32_t resultCount_ = 0;
    int32_t reductions_ = 0;

    // Prepared once the input is complete.
    std::array<Station, kMaxIncrements> stations_{};
    std::array<bool, kMaxCurves> ascending_{};  // curve movements never decrease
};

}  // namespace korven
