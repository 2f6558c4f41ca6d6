// The checks of a problem, shared by the reader (as it reads each part of the
// input data file) and the analysis (over a problem built by its caller).
#include <cmath>

#include "Engine.h"

namespace korven {

const float kDefaultTipMovements[kDefaultTipMovementCount] = {0.0001f, 0.001f, 0.01f, 0.03f, 0.07f,
                                                              0.1f,    0.2f,   0.5f,  5.0f};

void Fail(int32_t status, const std::string& message) {
    throw RunStop{status, message, {}};
}

void CheckCount(int32_t count, int32_t least, int32_t most, const char* what) {
    if (count < least || count > most)
        Fail(kCountOutOfRange, std::string(what) + " = " + std::to_string(count) + " IS OUTSIDE " +
                                   std::to_string(least) + " TO " + std::to_string(most));
}

void CheckOptions(const Problem& p) {
    CheckCount(p.increments, 1, kMaxIncrements, "THE NUMBER OF INCREMENTS");
    CheckCount(p.units, 1, 2, "THE UNIT SYSTEM CODE");
}

void CheckCurve(const TzCurve& curve) {
    CheckCount(curve.points, 1, kMaxCurvePoints, "THE NUMBER OF POINTS OF A T-Z CURVE");
}

void CheckSoil(const SoilLayer& layer) {
    CheckCount(layer.soil, 1, 6, "THE SOIL MODEL CODE");
}

void CheckStiffness(const Problem& p) {
    for (int32_t k = 0; k < p.stiffness.count; ++k)
        if (p.stiffness.value[k] == 0.0f) Fail(kZeroStiffness, "AN AXIAL STIFFNESS AE OF ZERO CANNOT BE USED");
}

void CheckTipCurve(const Problem& p) {
    if (p.tipCurve.points < 2) Fail(kShortTipCurve, "THE Q-W CURVE NEEDS AT LEAST TWO POINTS");
    CheckCount(p.tipCurve.points, 2, kMaxTipCurvePoints, "THE NUMBER OF Q-W POINTS");
}

void CheckTipMovements(const Problem& p) {
    CheckCount(p.tipMovementCount, 1, kMaxTipMovements, "THE NUMBER OF TIP MOVEMENTS");
}

void CheckHeadLoads(const Problem& p) {
    CheckCount(p.headLoadCount, 0, kMaxHeadLoads, "THE NUMBER OF PILE-HEAD LOADS");
}

void CheckSettlement(const Problem& p) {
    CheckCount(p.settlement.count, 0, kMaxSettlementPoints, "THE NUMBER OF SOIL SETTLEMENT POINTS");
}

void CheckTzFactors(const Problem& p) {
    CheckCount(p.tzFactorCount, 0, kMaxFactorRows, "THE NUMBER OF T-Z FACTOR ROWS");
}

void CheckQwFactors(const Problem& p) {
    if (!p.qwFactors) return;
    // A w-multiplier of zero folds the curve onto w = 0 (every slope becomes
    // a division by zero); a negative one reverses it, as does a negative Q.
    if (!(p.wMultiplier > 0.0f)) Fail(kBadQwFactors, "THE Q-W CURVE'S W-MULTIPLIER MUST BE ABOVE ZERO");
    if (!(p.qMultiplier >= 0.0f)) Fail(kBadQwFactors, "THE Q-W CURVE'S Q-MULTIPLIER MUST NOT BE BELOW ZERO");
}

void CheckSolvable(const Problem& p, const Outcome& prepared) {
    const QwCurve& tip = prepared.tipCurveUsed;
    if (tip.points == kMaxTipCurvePoints) {
        const float last = tip.movement[kMaxTipCurvePoints - 1];
        for (int32_t k = 0; k < p.tipMovementCount; ++k)
            if (std::fabs(p.tipMovements[k]) > last)
                Fail(kTipBeyondFullCurve, "A TIP MOVEMENT LIES BEYOND THE LAST POINT OF A 50-POINT Q-W CURVE");
    }
    const float dz = p.pileLength / static_cast<float>(p.increments);
    float x = p.pileLength - dz / 2.0f;
    for (int32_t n = 0; n < p.increments; ++n) {
        if (x < prepared.curvesUsed[0].depth)
            Fail(kPileAboveCurves,
                 "THE PILE REACHES ABOVE THE FIRST T-Z CURVE (MID-DEPTH " + fio::EditE(x, 11, 4) + ")");
        x = x - dz;
    }
}

}  // namespace korven
