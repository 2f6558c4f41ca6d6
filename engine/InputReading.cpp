// Reading the input data file into the working storage, with its echo in
// the report and the modification factors.
#include <cmath>

#include "Analysis.h"

namespace korven {
namespace {

using fio::Layout;

const Layout kProgramTitle(
    "(1X, \"PROGRAM KORVEN FOR COMPUTING LOAD VS. SETTLEMENT\", /, 1X, \"FOR AN AXIALLY LOADED PILE\", /, /, /)");
const Layout kPileKind("(/, /, /, 1X, \" AXIALLY LOADED PILE, CONSTANT OD\", /)");

const Layout kLayerHeading("(/, /, 10X, \"  LAYER      KSOIL      XTOP      XBOT\", /, 10X, A)");
const Layout kLayerLine("(10X, 2(I5, 5X), 2(E10.3, 2X))");
const Layout kUnitWeightHeading("(/, /, 10X, \"    XG1        GAM1\", /, 10X, A)");
const Layout kTwoColumns("(10X, 2(E10.3, 2X))");
const Layout kStrengthHeading(
    "(/, /, 7X, \"XSTR         C1          PHI1        EE50       SKIN\", \"        TIP\", /, 7X, A, A)");
const Layout kStrengthLine("(3X, 6(E10.3, 2X))");
const Layout kLayersEnd("(/, /, \"  \")");

const Layout kStiffnessHeading("(/, 9X, \"  DEPTH\", 13X, \"AE PILE\")");
const Layout kTwoLabels("(12X, A3, 16X, A3)");

const Layout kPileHeading("(/, /, /, 8X, \"PILE LENGTH\", 7X, \"OUTER DIAMETER\", 6X, \"TOLERANCE\")");
const Layout kPileLabels("(12X, A3, 16X, A3, 15X, A3)");
const Layout kPileLine("(E18.4, E19.4, E18.4)");

const Layout kLoadsHeading("(/, /, 10X, \"   LOADS      \", /, 10X, A)");
const Layout kLoadLine("(4X, F10.3)");
const Layout kSettlementHeading(
    "(/, /, 10X, \"   SOIL SETTLEMENT PROFILE\", /, /, 10X, \"   DEPTH     SETTLEMENT\", /, 10X, A)");
const Layout kTzFactorHeading("(/, /, 10X, \"DEPTH\", 20X, \"t-Multiplier  \", 10X, \"z-Multiplier  \", /, 10X, A3)");
const Layout kTzFactorLine("(7X, E10.3, 18X, E10.3, 15X, E10.3)");
const Layout
    kQwFactors("(/, /, 10X, \"PILE TIP\", 17X, \"Q-Multiplier  \", 10X, \"w-Multiplier \", /, 38X, F4.2, 19X, F4.2)");

const float kDefaultTipMovements[9] = {0.0001f, 0.001f, 0.01f, 0.03f, 0.07f, 0.1f, 0.2f, 0.5f, 5.0f};

// Factor at depth x over rows (depth_k, value_k) in input order.
float FactorAt(float x, int32_t n, const std::array<float, kMaxFactorRows>& depth,
               const std::array<float, kMaxFactorRows>& value) {
    if (x < depth[0] || x > depth[n - 1]) return 1.0f;
    int k = 1;  // 0-based index of the first row from the second on with x <= depth
    while (k < n && !(x <= depth[k])) ++k;
    if (k >= n) return value[n - 1];
    if (x == depth[k] || x == depth[n - 1]) {
        if (x == depth[k] && k + 1 < n && depth[k] == depth[k + 1]) return value[k + 1];
        return value[k];
    }
    return value[k - 1] + (x - depth[k - 1]) * (value[k] - value[k - 1]) / (depth[k] - depth[k - 1]);
}

}  // namespace

void Analysis::ReadList(std::vector<std::variant<int32_t*, float*>> targets) {
    fio::ReadStatus status = input_->ReadList(std::move(targets));
    if (status == fio::ReadStatus::EndOfFile)
        Fail(kInputMalformed,
             "THE INPUT DATA FILE ENDS TOO EARLY (AFTER LINE " + std::to_string(input_->LineNumber()) + ")");
    if (status == fio::ReadStatus::BadValue)
        Fail(kInputMalformed, "A NUMBER ON LINE " + std::to_string(input_->LineNumber()) +
                                  " OF THE INPUT DATA FILE IS MISSING OR MALFORMED");
}

void Analysis::CheckCount(int32_t count, int32_t least, int32_t most, const char* what) {
    if (count < least || count > most)
        Fail(kCountOutOfRange, std::string(what) + " = " + std::to_string(count) + " IS OUTSIDE " +
                                   std::to_string(least) + " TO " + std::to_string(most));
}

void Analysis::ReadProblem() {
    Problem& p = problem_;
    if (input_->ReadText(72, p.title) != fio::ReadStatus::Ok) Fail(kInputMalformed, "THE INPUT DATA FILE IS EMPTY");
    report_.Write(kBlankLine);
    report_.Write(kProgramTitle);
    report_.Write(kTitle, {p.title});
    report_.Write(kPileKind);

    ReadList({&p.increments, &p.printOption, &p.units});
    CheckCount(p.increments, 1, kMaxIncrements, "THE NUMBER OF INCREMENTS");
    CheckCount(p.units, 1, 2, "THE UNIT SYSTEM CODE");
    ReadList({&p.curveSource});

    if (p.curveSource == 1) {
        ReadUserCurves();
        ReadStiffness();
        ReadUserTipCurve();
        ReadPileData();
    } else {
        ReadLayers();
        ReadStiffness();
        ReadPileData();
        GenerateTzCurves();
        GenerateTipCurve();
    }
    ReadTipMovements();
    ReadHeadLoads();
    ReadSettlement();
    ReadTzFactors();
    ReadQwFactors();
    CheckSolvable();
}

void Analysis::ReadUserCurves() {
    Problem& p = problem_;
    ReadList({&p.curveCount});
    CheckCount(p.curveCount, 1, kMaxCurves, "THE NUMBER OF T-Z CURVES");
    for (int32_t c = 0; c < p.curveCount; ++c) {
        TzCurve& curve = p.curves[c];
        ReadList({&curve.number, &curve.depth, &curve.points});
        CheckCount(curve.points, 1, kMaxCurvePoints, "THE NUMBER OF POINTS OF A T-Z CURVE");
        for (int32_t m = 0; m < curve.points; ++m) ReadList({&curve.t[m], &curve.z[m]});
    }
    WriteTzCurves(p.curveCount);
    PlotTzCurves(p.curveCount);
}

void Analysis::ReadLayers() {
    Problem& p = problem_;
    ReadList({&p.layerCount});
    CheckCount(p.layerCount, 1, kMaxGeneratedLayers, "THE NUMBER OF SOIL LAYERS");
    report_.Write(kLayerHeading, {std::string(Si() ? "                          M         M"
                                                   : "                         IN.       IN.")});
    for (int32_t i = 0; i < p.layerCount; ++i) {
        int32_t number = 0;
        ReadList({&number, &p.soil[i], &p.layerTop[i], &p.layerBottom[i]});
        CheckCount(p.soil[i], 1, 6, "THE SOIL MODEL CODE");
        report_.Write(kLayerLine, {number, p.soil[i], p.layerTop[i], p.layerBottom[i]});
    }
    p.rowCount = 2 * p.layerCount;
    for (int32_t r = 0; r < p.rowCount; ++r) {
        ReadList({&p.unitWeight[r], &p.strength[r], &p.frictionAngle[r], &p.e50[r], &p.sideFriction[r],
                  &p.tipResistance[r]});
        p.rowDepth[r] = r % 2 == 0 ? p.layerTop[r / 2] : p.layerBottom[r / 2];
    }
    report_.Write(kUnitWeightHeading, {std::string(Si() ? "     M        kN/M**3" : "    IN.       LB/IN**3")});
    for (int32_t r = 0; r < p.rowCount; ++r) report_.Write(kTwoColumns, {p.rowDepth[r], p.unitWeight[r]});
    if (Si())
        report_.Write(kStrengthHeading, {std::string(" M.         kN/M**2      DEG.                 kN/M**2"),
                                         std::string("    kN/M**2")});
    else
        report_.Write(kStrengthHeading, {std::string(" IN.       LB/IN**2      DEG.                 LB/IN**2"),
                                         std::string("    lb/in**2")});
    for (int32_t r = 0; r < p.rowCount; ++r)
        report_.Write(kStrengthLine, {p.rowDepth[r], p.strength[r], p.frictionAngle[r], p.e50[r], p.sideFriction[r],
                                      p.tipResistance[r]});
    report_.Write(kLayersEnd);
    PlaceCurves();
}

void Analysis::ReadStiffness() {
    auto& ae = problem_.stiffness;
    ReadList({&ae.count});
    CheckCount(ae.count, 1, kMaxStiffnessPoints, "THE NUMBER OF AE POINTS");
    std::vector<std::variant<int32_t*, float*>> targets;
    for (int32_t k = 0; k < ae.count; ++k) {
        targets.push_back(&ae.value[k]);
        targets.push_back(&ae.depth[k]);
    }
    ReadList(std::move(targets));
    report_.Write(kStiffnessHeading);
    report_.Write(kTwoLabels, {LengthLabel(), ForceLabel()});
    for (int32_t k = 0; k < ae.count; ++k) report_.Write(kPair, {ae.depth[k], ae.value[k]});
    for (int32_t k = 0; k < ae.count; ++k)
        if (ae.value[k] == 0.0f) Fail(kZeroStiffness, "AN AXIAL STIFFNESS AE OF ZERO CANNOT BE USED");
}

void Analysis::ReadPileData() {
    Problem& p = problem_;
    ReadList({&p.tolerance, &p.pileLength, &p.diameter, &p.tipArea});
}

void Analysis::ReadUserTipCurve() {
    Problem& p = problem_;
    ReadList({&p.tipPointCount});
    if (p.tipPointCount < 2) Fail(kShortTipCurve, "THE Q-W CURVE NEEDS AT LEAST TWO POINTS");
    CheckCount(p.tipPointCount, 2, kMaxTipCurvePoints, "THE NUMBER OF Q-W POINTS");
    std::vector<std::variant<int32_t*, float*>> targets;
    for (int32_t k = 0; k < p.tipPointCount; ++k) {
        targets.push_back(&p.tipLoad[k]);
        targets.push_back(&p.tipMovement[k]);
    }
    ReadList(std::move(targets));
    WriteTipCurve();
    PlotTipCurve();
}

void Analysis::ReadTipMovements() {
    Problem& p = problem_;
    ReadList({&p.tipMovementCount});
    if (p.tipMovementCount < 1) {
        p.tipMovementCount = 9;
        for (int k = 0; k < 9; ++k)
            p.assumedTipMovement[k] = Si() ? kDefaultTipMovements[k] * 0.0254f : kDefaultTipMovements[k];
    } else {
        CheckCount(p.tipMovementCount, 1, kMaxTipMovements, "THE NUMBER OF TIP MOVEMENTS");
        std::vector<std::variant<int32_t*, float*>> targets;
        for (int32_t k = 0; k < p.tipMovementCount; ++k) targets.push_back(&p.assumedTipMovement[k]);
        ReadList(std::move(targets));
    }
    report_.Write(kPileHeading);
    report_.Write(kPileLabels, {LengthLabel(), LengthLabel(), LengthLabel()});
    report_.Write(kPileLine, {p.pileLength, p.diameter, p.tolerance});
}

void Analysis::ReadHeadLoads() {
    Problem& p = problem_;
    ReadList({&p.headLoadCount});
    if (p.headLoadCount <= 0) return;
    CheckCount(p.headLoadCount, 1, kMaxHeadLoads, "THE NUMBER OF PILE-HEAD LOADS");
    for (int32_t k = 0; k < p.headLoadCount; ++k) ReadList({&p.headLoad[k]});
    report_.Write(kLoadsHeading, {std::string(Si() ? "    KN        " : "    LB.       ")});
    for (int32_t k = 0; k < p.headLoadCount; ++k) report_.Write(kLoadLine, {p.headLoad[k]});
}

void Analysis::ReadSettlement() {
    auto& s = problem_.settlement;
    ReadList({&s.count});
    if (s.count <= 0) {
        s.count = 0;
        return;
    }
    CheckCount(s.count, 1, kMaxSettlementPoints, "THE NUMBER OF SOIL SETTLEMENT POINTS");
    for (int32_t k = 0; k < s.count; ++k) ReadList({&s.depth[k], &s.value[k]});
    report_.Write(kSettlementHeading, {std::string(Si() ? "     M           M" : "    IN.         IN")});
    for (int32_t k = 0; k < s.count; ++k) report_.Write(kTwoColumns, {s.depth[k], s.value[k]});
}

void Analysis::ReadTzFactors() {
    Problem& p = problem_;
    ReadList({&p.tzFactorSwitch});
    if (p.tzFactorSwitch <= 0) return;
    ReadList({&p.tzFactorCount});
    CheckCount(p.tzFactorCount, 1, kMaxFactorRows, "THE NUMBER OF T-Z FACTOR ROWS");
    for (int32_t k = 0; k < p.tzFactorCount; ++k) ReadList({&p.tzFactorDepth[k], &p.tMultiplier[k], &p.zMultiplier[k]});
    report_.Write(kTzFactorHeading, {LengthLabel()});
    for (int32_t k = 0; k < p.tzFactorCount; ++k)
        report_.Write(kTzFactorLine, {p.tzFactorDepth[k], p.tMultiplier[k], p.zMultiplier[k]});
    for (int32_t c = 0; c < p.curveCount; ++c) {
        TzCurve& curve = p.curves[c];
        float mt = FactorAt(curve.depth, p.tzFactorCount, p.tzFactorDepth, p.tMultiplier);
        float mz = FactorAt(curve.depth, p.tzFactorCount, p.tzFactorDepth, p.zMultiplier);
        for (int32_t m = 0; m < curve.points; ++m) {
            curve.t[m] = curve.t[m] * mt;
            curve.z[m] = curve.z[m] * mz;
        }
    }
}

void Analysis::ReadQwFactors() {
    Problem& p = problem_;
    ReadList({&p.qwFactorSwitch});
    if (p.qwFactorSwitch <= 0) return;
    ReadList({&p.qMultiplier, &p.wMultiplier});
    report_.Write(kQwFactors, {p.qMultiplier, p.wMultiplier});
    // A w-multiplier of zero folds the curve onto w = 0 (every slope becomes
    // a division by zero); a negative one reverses it, as does a negative Q.
    if (!(p.wMultiplier > 0.0f)) Fail(kBadQwFactors, "THE Q-W CURVE'S W-MULTIPLIER MUST BE ABOVE ZERO");
    if (!(p.qMultiplier >= 0.0f)) Fail(kBadQwFactors, "THE Q-W CURVE'S Q-MULTIPLIER MUST NOT BE BELOW ZERO");
    for (int32_t k = 0; k < p.tipPointCount; ++k) {
        p.tipLoad[k] = p.tipLoad[k] * p.qMultiplier;
        p.tipMovement[k] = p.tipMovement[k] * p.wMultiplier;
    }
}

// Refuses input the solver cannot walk: a mid-depth of an increment above
// the first t-z curve has no curve to take its load transfer from, and a Q-w
// curve that fills its whole storage has no slot past its last point for a
// tip movement beyond it.
void Analysis::CheckSolvable() {
    const Problem& p = problem_;
    if (p.tipPointCount == kMaxTipCurvePoints) {
        const float last = p.tipMovement[kMaxTipCurvePoints - 1];
        for (int32_t k = 0; k < p.tipMovementCount; ++k)
            if (std::fabs(p.assumedTipMovement[k]) > last)
                Fail(kTipBeyondFullCurve, "A TIP MOVEMENT LIES BEYOND THE LAST POINT OF A 50-POINT Q-W CURVE");
    }
    float dz = p.pileLength / static_cast<float>(p.increments);
    float x = p.pileLength - dz / 2.0f;
    for (int32_t n = 0; n < p.increments; ++n) {
        if (x < p.curves[0].depth)
            Fail(kPileAboveCurves,
                 "THE PILE REACHES ABOVE THE FIRST T-Z CURVE (MID-DEPTH " + fio::EditE(x, 11, 4) + ")");
        x = x - dz;
    }
}

}  // namespace korven
