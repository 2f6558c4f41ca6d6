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

// One walk up the pile: where it starts and the node loads and movements it
// leaves, the tip first.
struct Walker {
    float w0 = 0;  // tip movement
    float q0 = 0;  // tip load
    MidDepth* record = nullptr;  // the increments' mid-depth values, when wanted
    // Per curve, the point the walk's last lookup of it found: the next
    // lookup is mostly at the same point, or near.
    std::vector<int32_t> found;
    std::array<float, kMaxIncrements + 1> load;
    std::array<float, kMaxIncrements + 1> movement;
};

// What one pass of the iteration at an increment's mid-depth gives.
struct Pass {
    float t = 0, dq = 0, qTop = 0, qm = 0, wm = 0;
};

// Walks going up the pile side by side: each walk is a chain of dependent
// divisions, and the processor overlaps independent chains. Results are
// those of the walks made one by one.
constexpr int kLanes = 2;

class Solver {
public:
    Solver(const Problem& p, Outcome& out);
    void SolveTipMovements();
    void SolveHeadLoads();

private:
    float TipCurveLoad(float w) const;
    // `found` is the point of the curve the walk's last lookup of it found.
    float CurveValue(int32_t c, float w, int32_t& found) const;
    float TzValue(const Station& station, float x, float w, std::vector<int32_t>& found) const;
    float Stiffness(float x) const;
    // Walks the first `lanes` (1 to kLanes) walkers up the pile, at once.
    void Walk(int lanes);
    template <bool downdrag, int lanes>
    void WalkWith();
    // The pass at `station` with the movement w there, above a node with the
    // load qBottom and the movement wBottom.
    template <bool downdrag>
    Pass PassAt(const Station& station, float x, float w, float qBottom, float wBottom, float area, float dz,
                std::vector<int32_t>& found) const;

    const Problem& p_;
    Outcome& out_;
    const std::vector<TzCurve>& curves_;
    const QwCurve& tip_;
    std::vector<Station> stations_;
    std::vector<uint8_t> ascending_;  // curve movements never decrease
    std::array<Walker, kLanes> walkers_;
    // The table of the tip movements as solved, before an upward row is negated.
    std::array<float, kMaxTipMovements> topLoads_{};
};

Solver::Solver(const Problem& p, Outcome& out)
    : p_(p), out_(out), curves_(out.curvesUsed), tip_(out.tipCurveUsed), stations_(p.increments),
      ascending_(curves_.size()) {
    // The mid-depths of the increments are the same in every walk: their
    // lookups are made once.
    for (std::size_t c = 0; c < curves_.size(); ++c) ascending_[c] = Ascending(curves_[c]);
    for (Walker& walker : walkers_) walker.found.assign(curves_.size(), 0);
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
// beyond w is searched from the point the walk found last time, which is
// mostly the one or a neighbour (a bisection's turns would follow w, which
// the processor cannot foresee); the result is the scan's. It is made part
// of the t-z lookup, whose call the walk makes once per pass: a call of its
// own per curve cost a twentieth of the analysis.
[[gnu::always_inline]] inline float Solver::CurveValue(int32_t c, float w, int32_t& found) const {
    const TzCurve& curve = curves_[c];
    if (!ascending_[c] || std::isnan(w) || curve.points == 0) return ScannedCurveValue(curve, w);
    const float* z = curve.z.data();
    const int32_t n = curve.points;
    int32_t m = found;
    while (m < n && z[m] < w) ++m;
    while (m > 0 && !(z[m - 1] < w)) --m;
    found = m;
    if (m == curve.points) return curve.t[m - 1];
    if (w < z[m]) {
        if (m == 0) return curve.t[0];
        return curve.t[m - 1] + (w - z[m - 1]) * (curve.t[m] - curve.t[m - 1]) / (z[m] - z[m - 1]);
    }
    return curve.t[m];
}

float Solver::TzValue(const Station& station, float x, float w, std::vector<int32_t>& found) const {
    if (station.curve < 0) return 0.0f;
    if (!station.between) return CurveValue(station.curve, w, found[station.curve]);
    const TzCurve& curve = curves_[station.curve];
    const TzCurve& above = curves_[station.curve - 1];
    float upper = CurveValue(station.curve - 1, w, found[station.curve - 1]);
    float lower = CurveValue(station.curve, w, found[station.curve]);
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

void Solver::Walk(int lanes) {
    const bool downdrag = p_.settlement.count > 0;
    if (lanes == 1)
        downdrag ? WalkWith<true, 1>() : WalkWith<false, 1>();
    else
        downdrag ? WalkWith<true, kLanes>() : WalkWith<false, kLanes>();
}

// With `downdrag` the pile moves against the soil's settlement.
template <bool downdrag>
inline Pass Solver::PassAt(const Station& station, float x, float w, float qBottom, float wBottom, float area,
                           float dz, std::vector<int32_t>& found) const {
    Pass pass;
    float r = 0.0f;
    if (downdrag) {
        r = w - station.settlement;
        w = std::fabs(r);
    }
    pass.t = TzValue(station, x, w, found);
    if (downdrag && r < 1.0e-08f) pass.t = -pass.t;
    pass.dq = area * pass.t;
    pass.qTop = qBottom + pass.dq;
    pass.qm = qBottom + pass.dq / 2.0f;
    pass.wm = wBottom + ((pass.qTop + qBottom) / 2.0f + qBottom) / 2.0f * (dz / 2.0f) / station.stiffness;
    return pass;
}

template <bool downdrag, int lanes>
void Solver::WalkWith() {
    const float dz = p_.pileLength / static_cast<float>(p_.increments);
    const float perimeter = 3.1416f * p_.diameter;
    const float area = dz * perimeter;
    std::array<float, lanes> w;
    for (int l = 0; l < lanes; ++l) {
        walkers_[l].load[0] = walkers_[l].q0;
        walkers_[l].movement[0] = walkers_[l].w0;
        w[l] = walkers_[l].w0;
    }
    float x = p_.pileLength - dz / 2.0f;
    for (int32_t n = 1; n <= p_.increments; ++n) {
        const Station& station = stations_[n - 1];
        // Each walk iterates until its movement settles, or for 100 passes.
        // Every pass is made for every walk, so that the walks go without a
        // branch of their own: a settled walk's pass repeats its last one,
        // and a walk that stopped keeps its last pass.
        std::array<Pass, lanes> last;
        std::array<int32_t, lanes> passes{};
        std::array<bool, lanes> going;
        going.fill(true);
        for (bool any = true; any;) {
            any = false;
            for (int l = 0; l < lanes; ++l) {
                Walker& walker = walkers_[l];
                const Pass pass = PassAt<downdrag>(station, x, w[l], walker.load[n - 1], walker.movement[n - 1], area,
                                                   dz, walker.found);
                const bool moves = going[l] && !(std::fabs(pass.wm - w[l]) <= p_.tolerance);
                if (going[l]) last[l] = pass;
                if (moves) w[l] = pass.wm;
                passes[l] += moves;
                going[l] = moves && passes[l] <= 99;
                any = any || going[l];
            }
        }
        for (int l = 0; l < lanes; ++l) {
            Walker& walker = walkers_[l];
            const Pass& pass = last[l];
            // Of the last pass, as the rest.
            const float dw = dz * pass.qm / station.stiffness;
            walker.load[n] = pass.qTop;
            walker.movement[n] = walker.movement[n - 1] + dw;
            if (walker.record) walker.record[n - 1] = {x, pass.t, pass.dq, pass.qm, dw, pass.wm};
            w[l] = walker.movement[n];
        }
        x = x - dz;
    }
}

void Solver::SolveTipMovements() {
    const auto nodes = static_cast<std::size_t>(p_.increments + 1);
    out_.distributions.resize(static_cast<std::size_t>(p_.tipMovementCount));
    out_.loadSettlement.resize(static_cast<std::size_t>(p_.tipMovementCount));
    for (int32_t first = 0; first < p_.tipMovementCount; first += kLanes) {
        const int lanes = std::min(kLanes, p_.tipMovementCount - first);
        for (int l = 0; l < lanes; ++l) {
            const float tm = p_.tipMovements[first + l];
            const bool upward = tm <= kUpwardLimit;
            Distribution& d = out_.distributions[first + l];
            d.tipMovement = std::fabs(tm);
            d.tipLoad = upward ? 0.0f : TipCurveLoad(d.tipMovement);
            d.upward = upward;
            d.increments.resize(static_cast<std::size_t>(p_.increments));
            walkers_[l].w0 = d.tipMovement;
            walkers_[l].q0 = d.tipLoad;
            walkers_[l].record = d.increments.data();
        }
        Walk(lanes);
        for (int l = 0; l < lanes; ++l) {
            const int32_t k = first + l;
            const Walker& walker = walkers_[l];
            Distribution& d = out_.distributions[k];
            d.nodeLoad.assign(walker.load.begin(), walker.load.begin() + nodes);
            d.nodeMovement.assign(walker.movement.begin(), walker.movement.begin() + nodes);
            const float topLoad = walker.load[p_.increments];
            topLoads_[k] = topLoad;
            out_.loadSettlement[k] = {Signed(topLoad, d.upward), Signed(walker.movement[p_.increments], d.upward),
                                      p_.tipMovements[k], Signed(d.tipLoad, d.upward)};
        }
    }
}

void Solver::SolveHeadLoads() {
    std::array<float, kMaxTipMovements> tipMovements{};
    for (int32_t k = 0; k < p_.tipMovementCount; ++k) tipMovements[k] = p_.tipMovements[k];
    out_.loadCases.resize(static_cast<std::size_t>(p_.headLoadCount));
    auto start = [this](Walker& walker, float w) {
        walker.w0 = w;
        walker.q0 = w > kUpwardLimit ? TipCurveLoad(w) : 0.0f;
        walker.record = nullptr;
    };
    // The movement is reduced at most this often over all the load cases.
    int32_t reductions = 0;
    bool reducing = true;
    for (int32_t i = 0; i < p_.headLoadCount; ++i) {
        const float load = p_.headLoads[i];
        // While the pile-head load of a walk exceeds the case's load, the
        // movement is reduced and walked again. While the cases are being
        // reduced, the reduced movement is walked beside the movement itself,
        // in case it is wanted.
        float w = RangeLookup(load, p_.tipMovementCount, topLoads_, tipMovements);
        const int32_t before = reductions;
        const Walker* ended = nullptr;
        while (!ended) {
            const int lanes = reducing && reductions < 50 ? kLanes : 1;
            start(walkers_[0], w);
            for (int l = 1; l < lanes; ++l) start(walkers_[l], walkers_[l - 1].w0 * 0.98f);
            Walk(lanes);
            for (int l = 0; l < lanes && !ended; ++l) {
                const float topLoad = walkers_[l].load[p_.increments];
                if (!(topLoad - load >= 0.0005f * load) || reductions >= 50) {
                    ended = &walkers_[l];
                } else {
                    ++reductions;
                    w = w * 0.98f;
                    reducing = true;
                }
            }
        }
        reducing = reductions > before;
        out_.loadCases[i] = {load, ended->movement[p_.increments], ended->w0, ended->q0};
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
