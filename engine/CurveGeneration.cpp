// Placement and generation of the t-z curves and the Q-w curve from the
// soil layers, and the modification factors of the curves.
#include <cmath>

#include "Engine.h"

namespace korven {
namespace {

constexpr float kPi = 3.1416f;
constexpr float kInch = 0.0254f;
constexpr float kPressure = 20.88f;

const char* const kUnitWeightCurve = "THE INPUT CURVE FOR UNIT WEIGHT";
const char* const kStrengthCurve = "THE INPUT STRENGTH CURVE";
const char* const kTipCurve = "THE INPUT MAX. LOAD TRANSFER";

// Normalised curve shapes: ten points each.
using Shape = std::array<float, 10>;
const Shape kTable1Z = {0.0f, 0.01f, 0.02f, 0.04f, 0.06f, 0.08f, 0.12f, 0.16f, 0.5f, 10.0f};
const Shape kTable1T = {0.0f, 0.18f, 0.38f, 0.79f, 0.97f, 1.0f, 0.97f, 0.93f, 0.93f, 0.93f};
const Shape kTable34Z = {0.0f, 0.001f, 0.002f, 0.003f, 0.005f, 0.006f, 0.008f, 0.012f, 0.016f, 0.1f};
const Shape kTable3T = {0.0f, 0.51f, 0.72f, 0.9f, 0.925f, 0.945f, 0.955f, 0.925f, 0.9f, 0.835f};
const Shape kTable4T = {0.0f, 0.335f, 0.58f, 0.72f, 0.86f, 0.91f, 0.95f, 0.965f, 0.96f, 0.95f};
const Shape kTable5Z = {0.0f, 0.0016f, 0.0031f, 0.0057f, 0.008f, 0.01f, 0.02f, 0.03f, 0.05f, 0.2f};
const Shape kTable5T = {0.0f, 0.3f, 0.5f, 0.75f, 0.9f, 1.0f, 0.9f, 0.9f, 0.9f, 0.9f};
const Shape kTable6Z = {0.0f, 0.01f, 0.02f, 0.04f, 0.06f, 0.08f, 0.09f, 0.1f, 0.5f, 2.0f};
const Shape kTable6T = {0.0f, 0.1f, 0.2f, 0.4f, 0.6f, 0.8f, 0.9f, 1.0f, 1.0f, 1.0f};

const Shape kPowerLawW = {0.0f, 0.0001f, 0.005f, 0.01f, 0.05f, 0.1f, 0.2f, 0.5f, 0.75f, 1.0f};
const Shape kTip34W = {0.0f, 0.005f, 0.01f, 0.015f, 0.025f, 0.03f, 0.04f, 0.05f, 0.07f, 0.1f};
const Shape kTip3Q = {0.0f, 0.395f, 0.56f, 0.7f, 0.865f, 0.9f, 0.95f, 0.97f, 0.98f, 0.99f};
const Shape kTip4Q = {0.0f, 0.2f, 0.345f, 0.485f, 0.64f, 0.73f, 0.83f, 1.015f, 1.195f, 1.46f};
const Shape kTip5W = {0.0f, 0.0005f, 0.001f, 0.002f, 0.013f, 0.042f, 0.073f, 0.1f, 0.15f, 0.2f};
const Shape kTip5Q = {0.0f, 0.0625f, 0.125f, 0.25f, 0.5f, 0.75f, 0.9f, 1.0f, 1.0f, 1.0f};

// Initial modulus of the sand hyperbola (lb/ft**2 per inch).
float SandModulus(float phi) {
    if (phi <= 28.0f) return 6000.0f;
    if (phi <= 31.0f) return 6000.0f + (phi - 28.0f) * 1333.3f;
    if (phi <= 32.0f) return 10000.0f;
    if (phi <= 34.0f) return 10000.0f + (phi - 32.0f) * 1333.3f;
    if (phi <= 35.0f) return 14000.0f;
    if (phi <= 38.0f) return 14000.0f + (phi - 35.0f) * 1333.3f;
    return 18000.0f;
}

// The depths of the layer value rows: 2 per layer, its top then its bottom.
struct LayerRows {
    int32_t count = 0;
    std::array<float, kMaxLayerRows> depth{};

    explicit LayerRows(const Problem& p) : count(2 * p.layerCount) {
        for (int32_t r = 0; r < count; ++r) depth[r] = r % 2 == 0 ? p.layers[r / 2].top : p.layers[r / 2].bottom;
    }
};

[[noreturn]] void Beyond(float x, int32_t status, const char* input) {
    throw RunStop{status, "", Warning{status, x, input}};
}

float LayerLookup(const LayerRows& rows, const std::array<float, kMaxLayerRows>& v, float x, bool mayFail,
                  int32_t status, const char* input) {
    const auto& depth = rows.depth;
    const int32_t n = rows.count;
    int32_t r = 1;
    while (r < n && !(x < depth[r])) ++r;
    if (r == n) {
        if (mayFail && x > depth[n - 1]) Beyond(x, status, input);
        r = n - 1;
    }
    float d = depth[r] - depth[r - 1];
    if (d > 0.0f) return v[r - 1] + (x - depth[r - 1]) * (v[r] - v[r - 1]) / d;
    return (v[r - 1] + v[r]) / 2.0f;
}

float AverageUnitWeight(const Problem& p, const LayerRows& rows, float x) {
    const auto& depth = rows.depth;
    const auto& g = p.unitWeight;
    float x0 = depth[0];
    if (x < x0) return 0.0f;
    float sum = 0.0f;
    for (int32_t r = 1; r < rows.count; ++r) {
        if (x <= depth[r]) {
            float d = depth[r] - depth[r - 1];
            float gx = d > 0.0f ? g[r - 1] + (x - depth[r - 1]) * (g[r] - g[r - 1]) / d : (g[r - 1] + g[r]) / 2.0f;
            return sum + ((x - depth[r - 1]) / (x - x0)) * (g[r - 1] + gx) / 2.0f;
        }
        sum = sum + ((depth[r] - depth[r - 1]) / (x - x0)) * (g[r - 1] + g[r]) / 2.0f;
    }
    Beyond(x, kBeyondUnitWeight, kUnitWeightCurve);
}

// Five curves per layer: at its top, a quarter, half and three quarters
// down, and just above its bottom.
void PlaceCurves(const Problem& p, std::vector<TzCurve>& curves) {
    curves.assign(static_cast<std::size_t>(5 * p.layerCount), TzCurve{});
    for (int32_t i = 0; i < p.layerCount; ++i) {
        float a = p.layers[i].top;
        float b = p.layers[i].bottom;
        TzCurve* c = &curves[static_cast<std::size_t>(5 * i)];
        c[0].depth = a;
        c[2].depth = (a + b) / 2.0f;
        c[1].depth = (c[0].depth + c[2].depth) / 2.0f;
        c[4].depth = b - 0.01f;
        c[3].depth = (c[2].depth + c[4].depth) / 2.0f;
    }
}

// Returns the friction angle at the last curve, which the Q-w curve of a
// sand uses.
float GenerateTzCurves(const Problem& p, const LayerRows& rows, std::vector<TzCurve>& curves) {
    bool tipInLayers = false;
    for (int32_t i = 0; i < p.layerCount; ++i) tipInLayers = tipInLayers || p.pileLength <= p.layers[i].bottom;
    if (!tipInLayers) Fail(kTipBelowLayers, "THE PILE TIP LIES BELOW THE BOTTOM OF EVERY SOIL LAYER");

    const bool si = Si(p);
    float phi = 0.0f;
    for (std::size_t c = 0; c < curves.size(); ++c) {
        TzCurve& curve = curves[c];
        const int32_t soil = p.layers[c / 5].soil;
        const float fmax = LayerLookup(rows, p.sideFriction, curve.depth, true, kBeyondSideFriction, kStrengthCurve);
        phi = LayerLookup(rows, p.frictionAngle, curve.depth, true, kBeyondFrictionAngle, kStrengthCurve);
        curve.number = static_cast<int32_t>(c) + 1;
        curve.points = 10;
        for (int k = 0; k < 10; ++k) {
            float& t = curve.t[k];
            float& z = curve.z[k];
            switch (soil) {
            case 1:
                t = fmax * kTable1T[k];
                z = si ? kTable1Z[k] * kInch : kTable1Z[k];
                break;
            case 2: {
                if (k == 0) {
                    t = 0.0f;
                    z = 0.0f;
                    break;
                }
                float es = SandModulus(phi);
                float zi = kTable1Z[k];
                if (si) {
                    float f = fmax * kPressure;
                    t = zi / (zi / f + 1.0f / es) / kPressure;
                    z = zi * kInch;
                } else {
                    es = es / 144.0f;
                    t = zi / (zi / fmax + 1.0f / es);
                    z = zi;
                }
                break;
            }
            case 3:
                t = fmax * kTable3T[k];
                z = kTable34Z[k] * p.diameter;
                break;
            case 4:
                t = fmax * kTable4T[k];
                z = kTable34Z[k] * p.diameter;
                break;
            case 5:
                t = fmax * kTable5T[k];
                z = kTable5Z[k] * p.diameter;
                break;
            default:
                t = fmax * kTable6T[k];
                z = si ? kTable6Z[k] / 39.79f : kTable6Z[k];
                break;
            }
        }
    }
    return phi;
}

void GenerateTipCurve(const Problem& p, const LayerRows& rows, float lastPhi, QwCurve& tipCurve) {
    const float x = p.pileLength;
    int32_t layer = 0;
    while (!(x <= p.layers[layer].bottom)) ++layer;  // the tip lies in some layer: checked before generating
    const int32_t code = p.layers[layer].soil;
    // A tip exactly at the bottom of its layer takes that layer's bottom row
    // (a depth beyond the rows still fails as anywhere else).
    const bool atBottom = x == p.layers[layer].bottom;
    auto tipValue = [&](const std::array<float, kMaxLayerRows>& values, bool mayFail, int32_t status,
                        const char* name) {
        float value = LayerLookup(rows, values, x, mayFail, status, name);
        return atBottom ? values[2 * layer + 1] : value;
    };
    auto bearingCapacityFactor = [&](float phi) {
        float rad = phi * kPi / 180.0f;
        float angle = (45.0f + phi / 2.0f) * kPi / 180.0f;
        float tanAngle = std::tan(angle);
        return std::exp(kPi * std::tan(rad)) * (tanAngle * tanAngle);
    };

    float e50 = 0.0f;
    float q = 0.0f;
    if (code == 1 || code == 3 || code == 5) {
        e50 = tipValue(p.e50, false, 0, "");
        float c = tipValue(p.strength, true, kBeyondStrength, kStrengthCurve);
        q = 9.0f * c;
        float tip = tipValue(p.tipResistance, true, kBeyondTipResistance, kTipCurve);
        if (tip > 1.0e-05f) q = tip;
    } else {
        if (code == 4) e50 = tipValue(p.e50, false, 0, "");
        float phi = tipValue(p.frictionAngle, true, kBeyondFrictionAngle, kStrengthCurve);
        float nq = bearingCapacityFactor(phi);
        float sigma = x * AverageUnitWeight(p, rows, x);
        q = sigma * nq;
        float tip = tipValue(p.tipResistance, true, kBeyondTipResistance, kTipCurve);
        if (tip > 1.0e-04f) q = tip;
    }
    const float qp = p.tipArea * q;
    const bool si = Si(p);

    for (int k = 0; k < 10; ++k) {
        float& w = tipCurve.movement[k];
        float& load = tipCurve.load[k];
        switch (code) {
        case 1: {
            float w50 = 2.0f * e50 * p.diameter;
            if (si) w50 = w50 / kInch;
            float wf = 4.0f * w50;
            if (k < 9) {
                w = static_cast<float>(k) * wf / 8.0f;
                load = 0.5f * qp * std::sqrt(w / w50);
            } else {
                w = 10.0f * wf;
                load = qp;
            }
            if (si) w = w * kInch;
            break;
        }
        case 2: {
            float exponent = lastPhi <= 31.0f ? 0.5f : lastPhi <= 38.0f ? 0.333f : 0.25f;
            float wr = 0.05f * p.diameter;  // in inches
            if (si) wr = wr / kInch;
            w = kPowerLawW[k];
            load = k == 0 ? 0.0f : qp * std::pow(w / wr, exponent);
            if (si) w = w * kInch;
            break;
        }
        case 3:
        case 4:
            w = kTip34W[k] * p.diameter;
            load = qp * (code == 3 ? kTip3Q[k] : kTip4Q[k]);
            break;
        default:
            w = kTip5W[k] * p.diameter;
            load = qp * kTip5Q[k];
            break;
        }
    }
    tipCurve.points = 10;
}

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

void GenerateCurves(const Problem& p, Outcome& out, Generated& done) {
    done = Generated::Nothing;
    const LayerRows rows(p);
    PlaceCurves(p, out.curves);
    const float lastPhi = GenerateTzCurves(p, rows, out.curves);
    done = Generated::TzCurves;
    GenerateTipCurve(p, rows, lastPhi, out.tipCurve);
    done = Generated::All;
}

void ListCurves(const Problem& p, Outcome& out) {
    if (GivenCurves(p)) {
        out.curves.assign(p.curves.begin(), p.curves.begin() + p.curveCount);
        out.tipCurve = p.tipCurve;
        return;
    }
    Generated done;
    GenerateCurves(p, out, done);
}

void ApplyFactors(const Problem& p, Outcome& out) {
    out.curvesUsed = out.curves;
    out.tipCurveUsed = out.tipCurve;
    if (p.tzFactorCount > 0) {
        for (TzCurve& curve : out.curvesUsed) {
            const float mt = FactorAt(curve.depth, p.tzFactorCount, p.tzFactorDepth, p.tMultiplier);
            const float mz = FactorAt(curve.depth, p.tzFactorCount, p.tzFactorDepth, p.zMultiplier);
            for (int32_t m = 0; m < curve.points; ++m) {
                curve.t[m] = curve.t[m] * mt;
                curve.z[m] = curve.z[m] * mz;
            }
        }
    }
    if (p.qwFactors) {
        QwCurve& tip = out.tipCurveUsed;
        for (int32_t k = 0; k < tip.points; ++k) {
            tip.load[k] = tip.load[k] * p.qMultiplier;
            tip.movement[k] = tip.movement[k] * p.wMultiplier;
        }
    }
}

}  // namespace korven
