// The load-settlement solver: the walk up the pile for an assumed tip
// movement, the load-settlement table and the pile-head load cases.
#include <algorithm>
#include <cmath>

#include "Analysis.h"

namespace korven {
namespace {

using fio::Layout;

const Layout kCaseHeading("(/, /, /, 8X, \"ASSUMED TIP MOVEMENT\", 8X, \"TIP   LOAD\")");
const Layout kCaseLabels("(17X, A3, 20X, A3)");
const Layout kCaseValues("(E23.4, E23.4)");
const Layout kColumnHeading(
    "(/, /, /, 1X, \"DEPTH     LOAD\", 7X, \"LOAD\", 6X, \"TOTAL\", 6X, \"AVG\", 6X, \"DEFORM\", 5X, "
    "\"TOTAL     AVG\", /, 9X, \"TRANSFER     INCR\", 6X, \"LOAD\", 7X, \"LOAD\", 5X, \"OF INCR    MVMNT     MVMNT\")");
const Layout kColumnLabels("(2X, A3, 5X, A3, 10X, A3, 7X, A3, 8X, A3, 6X, A3, 8X, A3, 7X, A3)");
const Layout kNodeLine("(1X, F6.1, 8X, 14X, E10.3, 21X, E10.3)");
const Layout kMidLine("(1X, F6.1, 1X, E10.3, 1X, E10.3, 10X, E10.3, 1X, E10.3, 10X, E10.3)");
const Layout kPlotIncrement("(1X, E10.3, 3X, E10.3, 3X, E10.3)");
const Layout kPageTitle("(8X, A72)");
const Layout kResultHeading("(/, /, /, 8X, \"TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT\", 5X, \"TIP  LOAD\")");
const Layout kResultLabels("(11X, A3, 13X, A3, 14X, A3, 12X, A3)");
const Layout kResultLine("(E17.4, 3E16.4)");

constexpr float kUpwardLimit = 1.0e-10f;

// Value of (x, y) rows at x: 0 outside the rows' range, the mean of two rows
// sharing x, otherwise linear interpolation.
template <std::size_t N>
float RangeLookup(float x, int32_t n, const std::array<float, N>& xs, const std::array<float, N>& ys) {
    if (n <= 0 || x < xs[0] || x > xs[n - 1]) return 0.0f;
    for (int32_t k = 1; k < n; ++k)
        if (xs[k - 1] == x && xs[k] == x) return (ys[k - 1] + ys[k]) / 2.0f;
    int32_t k = 1;
    while (k < n && !(x <= xs[k])) ++k;
    if (k >= n) return ys[n - 1];
    float d = xs[k] - xs[k - 1];
    if (d > 0.0f) return ys[k - 1] + (x - xs[k - 1]) * (ys[k] - ys[k - 1]) / d;
    return (ys[k - 1] + ys[k]) / 2.0f;
}

// Curve value by scanning the points from the first: the first point
// at or beyond w decides.
float ScannedCurveValue(const TzCurve& curve, float w) {
    for (int32_t m = 0; m < curve.points; ++m) {
        if (w < curve.z[m]) {
            if (m == 0) return curve.t[0];
            return curve.t[m - 1] +
                   (w - curve.z[m - 1]) * (curve.t[m] - curve.t[m - 1]) / (curve.z[m] - curve.z[m - 1]);
        }
        if (w == curve.z[m] || m == curve.points - 1) return curve.t[m];
    }
    return 0.0f;
}

bool Ascending(const TzCurve& curve) {
    for (int32_t m = 1; m < curve.points; ++m)
        if (!(curve.z[m - 1] <= curve.z[m])) return false;
    return true;
}

// A printed value of an upward case is negated; zero stays unsigned.
float Signed(float value, bool negate) {
    return negate ? -value : value;
}

}  // namespace

float Analysis::TipCurveLoad(float w) const {
    const Problem& p = problem_;
    const int32_t n = p.tipPointCount;
    for (int32_t j = 0; j < n; ++j) {
        if (p.tipMovement[j] >= w) {
            if (j == 0) return p.tipLoad[0];
            return p.tipLoad[j - 1] + (w - p.tipMovement[j - 1]) * (p.tipLoad[j] - p.tipLoad[j - 1]) /
                                          (p.tipMovement[j] - p.tipMovement[j - 1]);
        }
    }
    return p.tipLoad[n - 1] * w / p.tipMovement[n - 1];
}

// Where the movements of a curve never decrease, the first point at or
// beyond w is found by bisection; the result is the scan's.
float Analysis::CurveValue(int32_t c, float w) const {
    const TzCurve& curve = problem_.curves[c];
    if (!ascending_[c] || std::isnan(w) || curve.points == 0) return ScannedCurveValue(curve, w);
    const float* z = curve.z.data();
    const int32_t m = static_cast<int32_t>(std::lower_bound(z, z + curve.points, w) - z);
    if (m == curve.points) return curve.t[m - 1];
    if (w < z[m]) {
        if (m == 0) return curve.t[0];
        return curve.t[m - 1] + (w - z[m - 1]) * (curve.t[m] - curve.t[m - 1]) / (z[m] - z[m - 1]);
    }
    return curve.t[m];
}

float Analysis::TzValue(const Station& station, float x, float w) const {
    if (station.curve < 0) return 0.0f;
    if (!station.between) return CurveValue(station.curve, w);
    const TzCurve& curve = problem_.curves[station.curve];
    const TzCurve& above = problem_.curves[station.curve - 1];
    float upper = CurveValue(station.curve - 1, w);
    float lower = CurveValue(station.curve, w);
    return upper + (x - above.depth) * (lower - upper) / (curve.depth - above.depth);
}

float Analysis::Stiffness(float x) const {
    const auto& ae = problem_.stiffness;
    const int32_t n = ae.count;
    if (n == 1) return ae.value[0];
    int32_t m = 1;
    while (m < n - 1 && !(ae.depth[m] >= x)) ++m;
    return ae.value[m - 1] + (x - ae.depth[m - 1]) * (ae.value[m] - ae.value[m - 1]) / (ae.depth[m] - ae.depth[m - 1]);
}

float Analysis::SoilSettlement(float x) const {
    const auto& s = problem_.settlement;
    return RangeLookup(x, s.count, s.depth, s.value);
}

// The mid-depths of the increments are the same in every walk: their
// lookups are made once.
void Analysis::PrepareWalk() {
    const Problem& p = problem_;
    for (int32_t c = 0; c < p.curveCount; ++c) ascending_[c] = Ascending(p.curves[c]);
    const float dz = p.pileLength / static_cast<float>(p.increments);
    float x = p.pileLength - dz / 2.0f;
    for (int32_t n = 0; n < p.increments; ++n) {
        Station& station = stations_[n];
        station.settlement = p.settlement.count > 0 ? SoilSettlement(x) : 0.0f;
        station.stiffness = Stiffness(x);
        for (int32_t j = 0; j < p.curveCount; ++j) {
            if (x < p.curves[j].depth && j > 0) {
                station.curve = j;
                station.between = true;
                break;
            }
            if (x <= p.curves[j].depth || j == p.curveCount - 1) {
                station.curve = j;
                break;
            }
        }
        x = x - dz;
    }
}

// Walks up the pile from the tip movement w0 with the tip load q0. With
// `write` the increments go to the report (when asked for) and the plot file.
void Analysis::Solve(float w0, float q0, bool upward, bool write, PileState& pile) {
    const Problem& p = problem_;
    const bool downdrag = p.settlement.count > 0;
    const bool print = write && p.printOption == 0;
    const float dz = p.pileLength / static_cast<float>(p.increments);
    const float perimeter = 3.1416f * p.diameter;
    const float area = dz * perimeter;
    pile.load[0] = q0;
    pile.movement[0] = w0;
    float x = p.pileLength - dz / 2.0f;
    float w = w0;
    for (int32_t n = 1; n <= p.increments; ++n) {
        float& qTop = pile.load[n];
        float& wTop = pile.movement[n];
        const float qBottom = pile.load[n - 1];
        const float wBottom = pile.movement[n - 1];
        const Station& station = stations_[n - 1];
        float t = 0, dq = 0, qm = 0, dw = 0, wm = 0;
        for (int32_t passes = 0;;) {
            float kept = w;
            float r = 0.0f;
            if (downdrag) {
                r = w - station.settlement;
                w = std::fabs(r);
            }
            t = TzValue(station, x, w);
            if (downdrag && r < 1.0e-08f) t = -t;
            dq = area * t;
            const float ae = station.stiffness;
            qTop = qBottom + dq;
            qm = qBottom + dq / 2.0f;
            dw = dz * qm / ae;
            wTop = wBottom + dw;
            wm = wBottom + ((qTop + qBottom) / 2.0f + qBottom) / 2.0f * (dz / 2.0f) / ae;
            if (downdrag) w = kept;
            if (std::fabs(wm - w) <= p.tolerance) break;
            ++passes;
            w = wm;
            if (passes > 99) break;
        }
        if (print) {
            report_.Write(kNodeLine, {x + dz / 2.0f, Signed(qBottom, upward), Signed(wBottom, upward)});
            report_.Write(kMidLine, {x, Signed(t, upward), Signed(dq, upward), Signed(qm, upward), Signed(dw, upward),
                                     Signed(wm, upward)});
        }
        if (write) plot_.Write(kPlotIncrement, {x, qm, wm});
        w = wTop;
        x = x - dz;
    }
    if (print) {
        const int32_t top = p.increments;
        report_.Write(kNodeLine, {x + dz / 2.0f, Signed(pile.load[top], upward), Signed(pile.movement[top], upward)});
    }
}

void Analysis::SolveTipMovements() {
    const Problem& p = problem_;
    plot_.WriteLine(fio::ListInteger(p.tipMovementCount) + fio::ListInteger(p.increments) + fio::ListInteger(p.units));
    PrepareWalk();
    PileState pile;
    for (int32_t k = 0; k < p.tipMovementCount; ++k) {
        const float tm = p.assumedTipMovement[k];
        const bool upward = tm <= kUpwardLimit;
        const float w0 = std::fabs(tm);
        const float q0 = upward ? 0.0f : TipCurveLoad(w0);
        if (p.printOption == 0) {
            report_.Write(kBlankLine);
            report_.Write(kCaseHeading);
            report_.Write(kCaseLabels, {LengthLabel(), ForceLabel()});
            report_.Write(kCaseValues, {w0, q0});
            report_.Write(kColumnHeading);
            report_.Write(kColumnLabels, {LengthLabel(), PressureLabel(), ForceLabel(), ForceLabel(), ForceLabel(),
                                          LengthLabel(), LengthLabel(), LengthLabel()});
        }
        Solve(w0, q0, upward, true, pile);
        results_[k] = {pile.load[p.increments], pile.movement[p.increments], tm, q0};
    }
    resultCount_ = p.tipMovementCount;
    report_.Write(kBlankLine);
    report_.Write(kTitle, {p.title});
    WriteResultTable(true);
}

void Analysis::WriteResultTable(bool negateUpward) {
    report_.Write(kResultHeading);
    report_.Write(kResultLabels, {ForceLabel(), LengthLabel(), LengthLabel(), ForceLabel()});
    for (int32_t k = 0; k < resultCount_; ++k) {
        const ResultRow& row = results_[k];
        const bool negate = negateUpward && row.tipMovement <= kUpwardLimit;
        std::vector<fio::Value> values = {Signed(row.topLoad, negate), Signed(row.topMovement, negate), row.tipMovement,
                                          Signed(row.tipLoad, negate)};
        report_.Write(kResultLine, values);
        plot_.Write(kResultLine, values);
    }
}

void Analysis::SolveHeadLoads() {
    const Problem& p = problem_;
    std::array<float, kMaxTipMovements> topLoads{};
    std::array<float, kMaxTipMovements> tipMovements{};
    for (int32_t k = 0; k < resultCount_; ++k) {
        topLoads[k] = results_[k].topLoad;
        tipMovements[k] = results_[k].tipMovement;
    }
    PileState pile;
    for (int32_t i = 0; i < p.headLoadCount; ++i) {
        const float load = p.headLoad[i];
        float w = RangeLookup(load, resultCount_, topLoads, tipMovements);
        float q0 = 0.0f;
        while (true) {
            q0 = w > kUpwardLimit ? TipCurveLoad(w) : 0.0f;
            Solve(w, q0, false, false, pile);
            const float topLoad = pile.load[p.increments];
            if (!(topLoad - load >= 0.0005f * load) || reductions_ >= 50) break;
            ++reductions_;
            w = w * 0.98f;
        }
        results_[i] = {load, pile.movement[p.increments], w, q0};
    }
    resultCount_ = p.headLoadCount;
    report_.WriteLine("1");
    report_.Write(kPageTitle, {p.title});
    WriteResultTable(false);
}

}  // namespace korven
