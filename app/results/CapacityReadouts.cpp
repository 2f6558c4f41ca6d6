#include "CapacityReadouts.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Davisson's offset at zero load beside D/120: 0.15 in, or 3.8 mm in SI.
constexpr double DavissonOffsetInches = 0.15;
constexpr double DavissonOffsetMetres = 0.0038;
// Relative difference below which two AE values count as one.
constexpr double SameStiffness = 1e-12;

struct TCurvePoint {
    double Load = 0;
    double Settlement = 0;
};

// The linear piece of the AE table that the engine uses at depth x: the
// first point m >= 2 whose depth is at or below x, with point m - 1.
struct TAEPiece {
    double Depth0, Value0, Depth1, Value1;

    double At(double x) const
    {
        if (Depth1 == Depth0)
            return Value1;
        return Value0 + (Value1 - Value0) * (x - Depth0) / (Depth1 - Depth0);
    }
};

TAEPiece PieceAt(const TPileForReadouts& pile, double x)
{
    const std::size_t count = pile.AEDepths.size();
    std::size_t m = 1;
    while (m + 1 < count && pile.AEDepths[m] < x)
        ++m;
    return {pile.AEDepths[m - 1], pile.AEValues[m - 1], pile.AEDepths[m], pile.AEValues[m]};
}

// Integral of 1/AE over [a, b] where AE runs linearly from va to vb.
double InverseIntegral(double a, double b, double va, double vb)
{
    const double width = b - a;
    if (std::fabs(vb - va) <= SameStiffness * std::fabs(va))
        return width / va;
    return width * std::log(vb / va) / (vb - va);
}

// The curve as computed, starting at the origin; an uplift run is turned
// into magnitudes.
std::vector<TCurvePoint> CurveOf(const TPlotData& data, bool& uplift)
{
    uplift =
        !data.LoadSettlement.empty() && std::all_of(data.LoadSettlement.begin(), data.LoadSettlement.end(),
                                                    [](const TLoadSettlementRow& row) { return row.TopLoad <= 0; });
    const double sign = uplift ? -1 : 1;
    std::vector<TCurvePoint> curve{{0, 0}};
    for (const TLoadSettlementRow& row : data.LoadSettlement)
        curve.push_back({sign * row.TopLoad, sign * row.TopMovement});
    return curve;
}

// The first crossing of f(point) from below zero to zero or above, walking
// the curve from its start; f is linear along each segment in the curve's
// coordinates, so the crossing is interpolated on the segment.
template <typename Offset>
TReadout FirstCrossing(const std::vector<TCurvePoint>& curve, Offset offset)
{
    for (std::size_t i = 1; i < curve.size(); ++i) {
        const double f0 = offset(curve[i - 1]);
        const double f1 = offset(curve[i]);
        if (f0 < 0 && f1 >= 0) {
            const double t = f0 / (f0 - f1);
            return {true, curve[i - 1].Load + t * (curve[i].Load - curve[i - 1].Load),
                    curve[i - 1].Settlement + t * (curve[i].Settlement - curve[i - 1].Settlement)};
        }
    }
    return {};
}

}  // namespace

double EquivalentStiffness(const TPileForReadouts& pile, TStiffnessSource& source)
{
    source = TStiffnessSource::Unavailable;
    const std::size_t count = std::min(pile.AEDepths.size(), pile.AEValues.size());
    if (count == 0 || pile.Length <= 0)
        return 0;
    if (count == 1) {
        if (pile.AEValues[0] <= 0)
            return 0;
        source = TStiffnessSource::Constant;
        return pile.AEValues[0];
    }

    // Between consecutive table depths inside the pile the engine's AE is one
    // linear piece; the piece is picked at the middle of each stretch.
    std::vector<double> breaks{0, pile.Length};
    for (std::size_t i = 0; i < count; ++i)
        if (pile.AEDepths[i] > 0 && pile.AEDepths[i] < pile.Length)
            breaks.push_back(pile.AEDepths[i]);
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

    double integral = 0;
    double lowest = INFINITY, highest = -INFINITY;
    for (std::size_t i = 1; i < breaks.size(); ++i) {
        const double a = breaks[i - 1], b = breaks[i];
        const TAEPiece piece = PieceAt(pile, (a + b) / 2);
        const double va = piece.At(a), vb = piece.At(b);
        if (!(va > 0 && vb > 0))
            return 0;
        lowest = std::min({lowest, va, vb});
        highest = std::max({highest, va, vb});
        integral += InverseIntegral(a, b, va, vb);
    }
    source = highest - lowest <= SameStiffness * highest ? TStiffnessSource::Constant : TStiffnessSource::HarmonicMean;
    return pile.Length / integral;
}

TCapacityReadouts ComputeReadouts(const TPlotData& data, const TPileForReadouts& pile)
{
    TCapacityReadouts readouts;
    const std::vector<TCurvePoint> curve = CurveOf(data, readouts.Uplift);

    readouts.TenPercentSettlement = 0.1 * pile.Diameter;
    if (pile.Diameter > 0)
        readouts.TenPercentDiameter =
            FirstCrossing(curve, [&](const TCurvePoint& p) { return p.Settlement - readouts.TenPercentSettlement; });

    readouts.EquivalentAE = EquivalentStiffness(pile, readouts.Stiffness);
    readouts.DavissonOffset = (pile.Units == 2 ? DavissonOffsetMetres : DavissonOffsetInches) + pile.Diameter / 120;
    if (readouts.Stiffness != TStiffnessSource::Unavailable)
        readouts.Davisson = FirstCrossing(curve, [&](const TCurvePoint& p) {
            return p.Settlement - (p.Load * pile.Length / readouts.EquivalentAE + readouts.DavissonOffset);
        });

    for (std::size_t i = 1; i < curve.size(); ++i)
        if (!readouts.Largest.Reached || curve[i].Load > readouts.Largest.Load)
            readouts.Largest = {true, curve[i].Load, curve[i].Settlement};

    if (pile.Downdrag) {
        // The load-settlement rows are written negated when the run's last
        // tip movement is upward; the distributions never are.
        const bool negated = !data.LoadSettlement.empty() && data.LoadSettlement.back().TipMovement <= 0;
        const std::size_t cases = std::min(data.Distributions.size(), data.LoadSettlement.size());
        for (std::size_t c = 0; c < cases; ++c) {
            const auto& distribution = data.Distributions[c];
            if (distribution.empty())
                continue;
            const auto peak = std::max_element(
                distribution.begin(), distribution.end(),
                [](const TDistributionPoint& a, const TDistributionPoint& b) { return a.Load < b.Load; });
            TNeutralPlane plane;
            plane.Depth = peak->Depth;
            plane.PeakLoad = peak->Load;
            plane.HeadLoad = negated ? -data.LoadSettlement[c].TopLoad : data.LoadSettlement[c].TopLoad;
            plane.DragLoad = std::max(0.0, plane.PeakLoad - plane.HeadLoad);
            readouts.NeutralPlanes.push_back(plane);
        }
    }
    return readouts;
}

std::string ForceUnitText(int units) { return units == 2 ? "kN" : "lb"; }

std::string LengthUnitText(int units) { return units == 2 ? "m" : "in"; }

std::string StiffnessSourceText(TStiffnessSource source)
{
    switch (source) {
    case TStiffnessSource::Constant: return "constant AE of the AE table";
    case TStiffnessSource::HarmonicMean: return "harmonic mean of the AE table over the pile length";
    case TStiffnessSource::Unavailable: break;
    }
    return "not available (an AE of zero or below along the pile)";
}
