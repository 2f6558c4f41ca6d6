// Placement and generation of the t-z curves and the Q-w curve from the
// soil layers, and the curve blocks of the report and the plot file.
#include <cmath>

#include "Analysis.h"

namespace korven {
namespace {

using fio::Layout;

const Layout kWarning(
    "(/, 29X, \"**** WARNING ****\", /, 5X, \"THE VALUE OF X =\", E9.2, "
    "\"IS BEYOND THE EXTENT OF/\", 5X, A)");
const Layout kTzHeading("(/, /, 4X, \"T-Z       NO. OF    DEPTH TO    LOAD \", \"TRANSFER  PILE\")");
const Layout kTzLabels(
    "(3X, \"CURVE NO.\", 2X, \"POINTS\", 4X, \"CURVE,\", A3, 3X, \"TRANSFER,\", A3, 3X, "
    "\"MOVEMENT,\", A3, /)");
const Layout kCurveLine("(2X, I5, I11, E16.4)");
const Layout kPointLine("(31X, E15.4, E15.4)");
const Layout kTipHeading("(/, /, /, 8X, \"TIP   LOAD\", 8X, \"TIP MOVEMENT\", /, 12X, A3, 15X, A3)");

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

// The first `count` t-z curves, a line per curve and per point.
void WriteCurveBlocks(fio::RecordWriter& out, const Problem& p, int32_t count) {
    for (int32_t c = 0; c < count; ++c) {
        const TzCurve& curve = p.curves[c];
        out.Write(kCurveLine, {curve.number, curve.points, curve.depth});
        for (int32_t m = 0; m < curve.points; ++m) out.Write(kPointLine, {curve.t[m], curve.z[m]});
    }
}

void WriteTipPoints(fio::RecordWriter& out, const Problem& p) {
    for (int32_t k = 0; k < p.tipPointCount; ++k) out.Write(kPair, {p.tipLoad[k], p.tipMovement[k]});
}

}  // namespace

void Analysis::PlaceCurves() {
    Problem& p = problem_;
    for (int32_t i = 0; i < p.layerCount; ++i) {
        float a = p.layerTop[i];
        float b = p.layerBottom[i];
        TzCurve* c = &p.curves[5 * i];
        c[0].depth = a;
        c[2].depth = (a + b) / 2.0f;
        c[1].depth = (c[0].depth + c[2].depth) / 2.0f;
        c[4].depth = b - 0.01f;
        c[3].depth = (c[2].depth + c[4].depth) / 2.0f;
        for (int k = 0; k < 5; ++k) c[k].soil = p.soil[i];
    }
    p.curveCount = 5 * p.layerCount;
}

void Analysis::LookupWarning(float x, int32_t status, const char* tableName) {
    if (status == kBeyondSideFriction)
        report_.WriteLine(fio::ListInteger(problem_.rowCount) +
                          fio::ListReal(problem_.rowDepth[problem_.rowCount - 1]));
    report_.Write(kWarning, {x, std::string(tableName)});
    Fail(status, "");
}

float Analysis::LayerLookup(const std::array<float, kMaxLayerRows>& v, float x, bool mayFail, int32_t status,
                            const char* tableName) {
    const Problem& p = problem_;
    const auto& depth = p.rowDepth;
    int32_t n = p.rowCount;
    int32_t r = 1;
    while (r < n && !(x < depth[r])) ++r;
    if (r == n) {
        if (mayFail && x > depth[n - 1]) LookupWarning(x, status, tableName);
        r = n - 1;
    }
    float d = depth[r] - depth[r - 1];
    if (d > 0.0f) return v[r - 1] + (x - depth[r - 1]) * (v[r] - v[r - 1]) / d;
    return (v[r - 1] + v[r]) / 2.0f;
}

float Analysis::AverageUnitWeight(float x) {
    const Problem& p = problem_;
    const auto& depth = p.rowDepth;
    const auto& g = p.unitWeight;
    float x0 = depth[0];
    if (x < x0) return 0.0f;
    float sum = 0.0f;
    for (int32_t r = 1; r < p.rowCount; ++r) {
        if (x <= depth[r]) {
            float d = depth[r] - depth[r - 1];
            float gx = d > 0.0f ? g[r - 1] + (x - depth[r - 1]) * (g[r] - g[r - 1]) / d : (g[r - 1] + g[r]) / 2.0f;
            return sum + ((x - depth[r - 1]) / (x - x0)) * (g[r - 1] + gx) / 2.0f;
        }
        sum = sum + ((depth[r] - depth[r - 1]) / (x - x0)) * (g[r - 1] + g[r]) / 2.0f;
    }
    LookupWarning(x, kBeyondUnitWeight, kUnitWeightCurve);
    return 0.0f;
}

void Analysis::GenerateTzCurves() {
    Problem& p = problem_;
    bool tipInLayers = false;
    for (int32_t i = 0; i < p.layerCount; ++i) tipInLayers = tipInLayers || p.pileLength <= p.layerBottom[i];
    if (!tipInLayers) Fail(kTipBelowLayers, "THE PILE TIP LIES BELOW THE BOTTOM OF EVERY SOIL LAYER");

    const bool si = Si();
    for (int32_t c = 0; c < p.curveCount; ++c) {
        TzCurve& curve = p.curves[c];
        curve.maxFriction = LayerLookup(p.sideFriction, curve.depth, true, kBeyondSideFriction, kStrengthCurve);
        curve.phi = LayerLookup(p.frictionAngle, curve.depth, true, kBeyondFrictionAngle, kStrengthCurve);
        curve.number = c + 1;
        curve.points = 10;
        const float fmax = curve.maxFriction;
        for (int k = 0; k < 10; ++k) {
            float& t = curve.t[k];
            float& z = curve.z[k];
            switch (curve.soil) {
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
                float es = SandModulus(curve.phi);
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
    WriteTzCurves(p.curveCount);
    PlotTzCurves(p.curveCount < kPlottedGeneratedCurves ? p.curveCount : kPlottedGeneratedCurves);
}

void Analysis::GenerateTipCurve() {
    Problem& p = problem_;
    const float x = p.pileLength;
    int32_t layer = 0;
    while (!(x <= p.layerBottom[layer])) ++layer;  // the tip lies in some layer: checked before generating
    const int32_t code = p.soil[layer];
    // A tip exactly at the bottom of its layer takes that layer's bottom row
    // (a depth beyond the rows still fails as anywhere else).
    const bool atBottom = x == p.layerBottom[layer];
    auto tipValue = [&](const std::array<float, kMaxLayerRows>& values, bool mayFail, int32_t status,
                        const char* name) {
        float value = LayerLookup(values, x, mayFail, status, name);
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
        float sigma = x * AverageUnitWeight(x);
        q = sigma * nq;
        float tip = tipValue(p.tipResistance, true, kBeyondTipResistance, kTipCurve);
        if (tip > 1.0e-04f) q = tip;
    }
    const float qp = p.tipArea * q;
    const bool si = Si();

    p.tipPointCount = 10;
    for (int k = 0; k < 10; ++k) {
        float& w = p.tipMovement[k];
        float& load = p.tipLoad[k];
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
            float phi = p.curves[p.curveCount - 1].phi;
            float exponent = phi <= 31.0f ? 0.5f : phi <= 38.0f ? 0.333f : 0.25f;
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
    WriteTipCurve();
    PlotTipCurve();
}

void Analysis::WriteTzCurves(int32_t count) {
    report_.Write(kTzHeading);
    report_.Write(kTzLabels, {LengthLabel(), PressureLabel(), LengthLabel()});
    WriteCurveBlocks(report_, problem_, count);
}

void Analysis::PlotTzCurves(int32_t count) {
    plot_.WriteLine(fio::ListInteger(count));
    WriteCurveBlocks(plot_, problem_, count);
}

void Analysis::WriteTipCurve() {
    report_.Write(kTipHeading, {ForceLabel(), LengthLabel()});
    WriteTipPoints(report_, problem_);
}

void Analysis::PlotTipCurve() {
    plot_.WriteLine(fio::ListInteger(problem_.tipPointCount));
    WriteTipPoints(plot_, problem_);
}

}  // namespace korven
