// The analysis: the checks of a problem, its curves, and the load-settlement
// solver (the walk up the pile for an assumed tip movement, the
// load-settlement table and the pile-head load cases).
#include <algorithm>
#include <cmath>

#include "Engine.h"

namespace korven {
namespace {

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

// What the walk up the pile takes at the mid-depth of one increment. It
// depends on the depth alone, so it is looked up once per analysis.
struct Station {
    float settlement = 0;  // soil settlement
    float stiffness = 0;   // AE
    int32_t curve = -1;    // the t-z curve there (-1: none)
    bool between = false;  // between the curve above and `curve`
};

// Node loads and movements of one solved load case.
struct PileState {
    std::array<float, kMaxIncrements + 1> load;
    std::array<float, kMaxIncrements + 1> movement;
};

class Solver {
public:
    Solver(const Problem& p, Outcome& out);
    void SolveTipMovements();
    void SolveHeadLoads();

private:
    float TipCurveLoad(float w) const;
    float CurveValue(int32_t c, float w) const;
    float TzValue(const Station& station, float x, float w) const;
    float Stiffness(float x) const;
    // Walks up the pile from the tip movement w0 with the tip load q0,
    // recording the increments' mid-depth values when `record` is given.
    void Walk(float w0, float q0, MidDepth* record);
    template <bool downdrag>
    void WalkWith(float w0, float q0, MidDepth* record);

    const Problem& p_;
    Outcome& out_;
    const std::vector<TzCurve>& curves_;
    const QwCurve& tip_;
    std::vector<Station> stations_;
    std::vector<uint8_t> ascending_;  // curve movements never decrease
    PileState pile_;
    // The table of the tip movements as solved, before an upward row is negated.
    std::array<float, kMaxTipMovements> topLoads_{};
};

Solver::Solver(const Problem& p, Outcome& out)
    : p_(p), out_(out), curves_(out.curvesUsed), tip_(out.tipCurveUsed), stations_(p.increments),
      ascending_(curves_.size()) {
    // The mid-depths of the increments are the same in every walk: their
    // lookups are made once.
    for (std::size_t c = 0; c < curves_.size(); ++c) ascending_[c] = Ascending(curves_[c]);
    const int32_t curveCount = static_cast<int32_t>(curves_.size());
    const float dz = p.pileLength / static_cast<float>(p.increments);
    float x = p.pileLength - dz / 2.0f;
    for (int32_t n = 0; n < p.increments; ++n) {
        Station& station = stations_[n];
        station.settlement = p.settlement.count > 0 ? RangeLookup(x, p.settlement.count, p.settlement.depth,
                                                                  p.settlement.value)
                                                    : 0.0f;
        station.stiffness = Stiffness(x);
        for (int32_t j = 0; j < curveCount; ++j) {
            if (x < curves_[j].depth && j > 0) {
                station.curve = j;
                station.between = true;
                break;
            }
            if (x <= curves_[j].depth || j == curveCount - 1) {
                station.curve = j;
                break;
            }
        }
        x = x - dz;
    }
}

float Solver::TipCurveLoad(float w) const {
    const int32_t n = tip_.points;
    for (int32_t j = 0; j < n; ++j) {
        if (tip_.movement[j] >= w) {
            if (j == 0) return tip_.load[0];
            return tip_.load[j - 1] +
                   (w - tip_.movement[j - 1]) * (tip_.load[j] - tip_.load[j - 1]) /
                       (tip_.movement[j] - tip_.movement[j - 1]);
        }
    }
    return tip_.load[n - 1] * w / tip_.movement[n - 1];
}

// Where the movements of a curve never decrease, the first point at or
// beyond w is found by bisection; the result is the scan's.
float Solver::CurveValue(int32_t c, float w) const {
    const TzCurve& curve = curves_[c];
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

float Solver::TzValue(const Station& station, float x, float w) const {
    if (station.curve < 0) return 0.0f;
    if (!station.between) return CurveValue(station.curve, w);
    const TzCurve& curve = curves_[station.curve];
    const TzCurve& above = curves_[station.curve - 1];
    float upper = CurveValue(station.curve - 1, w);
    float lower = CurveValue(station.curve, w);
    return upper + (x - above.depth) * (lower - upper) / (curve.depth - above.depth);
}

float Solver::Stiffness(float x) const {
    const auto& ae = p_.stiffness;
    const int32_t n = ae.count;
    if (n == 1) return ae.value[0];
    int32_t m = 1;
    while (m < n - 1 && !(ae.depth[m] >= x)) ++m;
    return ae.value[m - 1] + (x - ae.depth[m - 1]) * (ae.value[m] - ae.value[m - 1]) / (ae.depth[m] - ae.depth[m - 1]);
}

void Solver::Walk(float w0, float q0, MidDepth* record) {
    if (p_.settlement.count > 0)
        WalkWith<true>(w0, q0, record);
    else
        WalkWith<false>(w0, q0, record);
}

// With `downdrag` the pile moves against the soil's settlement.
template <bool downdrag>
void Solver::WalkWith(float w0, float q0, MidDepth* record) {
    const float dz = p_.pileLength / static_cast<float>(p_.increments);
    const float perimeter = 3.1416f * p_.diameter;
    const float area = dz * perimeter;
    pile_.load[0] = q0;
    pile_.movement[0] = w0;
    float x = p_.pileLength - dz / 2.0f;
    float w = w0;
    for (int32_t n = 1; n <= p_.increments; ++n) {
        const float qBottom = pile_.load[n - 1];
        const float wBottom = pile_.movement[n - 1];
        const Station& station = stations_[n - 1];
        const float ae = station.stiffness;
        float t = 0, dq = 0, qTop = 0, qm = 0, wm = 0;
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
            qTop = qBottom + dq;
            qm = qBottom + dq / 2.0f;
            wm = wBottom + ((qTop + qBottom) / 2.0f + qBottom) / 2.0f * (dz / 2.0f) / ae;
            if (downdrag) w = kept;
            if (std::fabs(wm - w) <= p_.tolerance) break;
            ++passes;
            w = wm;
            if (passes > 99) break;
        }
        // Of the last pass, as the rest.
        const float dw = dz * qm / ae;
        pile_.load[n] = qTop;
        pile_.movement[n] = wBottom + dw;
        if (record) record[n - 1] = {x, t, dq, qm, dw, wm};
        w = pile_.movement[n];
        x = x - dz;
    }
}

void Solver::SolveTipMovements() {
    const auto nodes = static_cast<std::size_t>(p_.increments + 1);
    out_.distributions.resize(static_cast<std::size_t>(p_.tipMovementCount));
    out_.loadSettlement.resize(static_cast<std::size_t>(p_.tipMovementCount));
    for (int32_t k = 0; k < p_.tipMovementCount; ++k) {
        const float tm = p_.tipMovements[k];
        const bool upward = tm <= kUpwardLimit;
        const float w0 = std::fabs(tm);
        const float q0 = upward ? 0.0f : TipCurveLoad(w0);
        Distribution& d = out_.distributions[k];
        d.tipMovement = w0;
        d.tipLoad = q0;
        d.upward = upward;
        d.increments.resize(static_cast<std::size_t>(p_.increments));
        Walk(w0, q0, d.increments.data());
        d.nodeLoad.assign(pile_.load.begin(), pile_.load.begin() + nodes);
        d.nodeMovement.assign(pile_.movement.begin(), pile_.movement.begin() + nodes);
        const float topLoad = pile_.load[p_.increments];
        topLoads_[k] = topLoad;
        out_.loadSettlement[k] = {Signed(topLoad, upward), Signed(pile_.movement[p_.increments], upward), tm,
                                  Signed(q0, upward)};
    }
}

void Solver::SolveHeadLoads() {
    std::array<float, kMaxTipMovements> tipMovements{};
    for (int32_t k = 0; k < p_.tipMovementCount; ++k) tipMovements[k] = p_.tipMovements[k];
    out_.loadCases.resize(static_cast<std::size_t>(p_.headLoadCount));
    // The movement is reduced at most this often over all the load cases.
    int32_t reductions = 0;
    for (int32_t i = 0; i < p_.headLoadCount; ++i) {
        const float load = p_.headLoads[i];
        float w = RangeLookup(load, p_.tipMovementCount, topLoads_, tipMovements);
        float q0 = 0.0f;
        while (true) {
            q0 = w > kUpwardLimit ? TipCurveLoad(w) : 0.0f;
            Walk(w, q0, nullptr);
            const float topLoad = pile_.load[p_.increments];
            if (!(topLoad - load >= 0.0005f * load) || reductions >= 50) break;
            ++reductions;
            w = w * 0.98f;
        }
        out_.loadCases[i] = {load, pile_.movement[p_.increments], w, q0};
    }
}

// The checks in the order of the input data file, the curves as given or
// generated in their place.
void Prepare(const Problem& p, Outcome& out) {
    CheckOptions(p);
    if (GivenCurves(p)) {
        CheckCount(p.curveCount, 1, kMaxCurves, "THE NUMBER OF T-Z CURVES");
        for (int32_t c = 0; c < p.curveCount; ++c) CheckCurve(p.curves[c]);
    } else {
        CheckCount(p.layerCount, 1, kMaxGeneratedLayers, "THE NUMBER OF SOIL LAYERS");
        for (int32_t i = 0; i < p.layerCount; ++i) CheckSoil(p.layers[i]);
    }
    CheckCount(p.stiffness.count, 1, kMaxStiffnessPoints, "THE NUMBER OF AE POINTS");
    CheckStiffness(p);
    if (GivenCurves(p)) CheckTipCurve(p);
    ListCurves(p, out);
    CheckTipMovements(p);
    CheckHeadLoads(p);
    CheckSettlement(p);
    CheckTzFactors(p);
    CheckQwFactors(p);
    ApplyFactors(p, out);
    CheckSolvable(p, out);
}

}  // namespace

Outcome Analyse(const Problem& problem) {
    Outcome out;
    try {
        Prepare(problem, out);
    } catch (const RunStop& stop) {
        out.status = stop.status;
        out.message = stop.message;
        if (stop.warning.status != 0) out.warnings.push_back(stop.warning);
        return out;
    }
    Solver solver(problem, out);
    solver.SolveTipMovements();
    if (problem.headLoadCount > 0) solver.SolveHeadLoads();
    return out;
}

}  // namespace korven
