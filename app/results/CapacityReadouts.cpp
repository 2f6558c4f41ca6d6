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
    // A row whose tip movement lies beyond the Q-w curve.
    bool BeyondQw = false;
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

// Tip movements at or below this are upward; the engine writes such rows
// negated.
constexpr double UpwardLimit = 1e-10;

struct TQwEnd {
    bool Have = false;
    double Load = 0;      // the last point's tip load
    double Movement = 0;  // the largest tip movement of the curve
};

TQwEnd QwEndOf(const TPlotData& data)
{
    TQwEnd end;
    if (data.QWCurve.empty())
        return end;
    end.Have = true;
    end.Load = data.QWCurve.back().X;
    end.Movement = data.QWCurve.front().Y;
    for (const TPlotPoint& point : data.QWCurve)
        end.Movement = std::max(end.Movement, point.Y);
    return end;
}

bool TipBeyond(const TQwEnd& end, double tipMovement) { return end.Have && tipMovement > end.Movement; }

bool IsUplift(const TPlotData& data)
{
    return !data.LoadSettlement.empty() &&
           std::all_of(data.LoadSettlement.begin(), data.LoadSettlement.end(),
                       [](const TLoadSettlementRow& row) { return row.TopLoad <= 0; });
}

// The curve as computed, starting at the origin; an uplift run is turned
// into magnitudes. `held` takes the tip load of rows beyond the Q-w curve
// back to the curve's last load.
std::vector<TCurvePoint> CurveOf(const TPlotData& data, const TQwEnd& qw, bool held)
{
    const double sign = IsUplift(data) ? -1 : 1;
    std::vector<TCurvePoint> curve{{0, 0, false}};
    for (const TLoadSettlementRow& row : data.LoadSettlement) {
        const bool beyond = TipBeyond(qw, row.TipMovement);
        const double load = beyond && held ? row.TopLoad - (row.TipLoad - qw.Load) : row.TopLoad;
        curve.push_back({sign * load, sign * row.TopMovement, beyond});
    }
    return curve;
}

// The compressive branch of a curve: its start, where the head load last
// rises from zero or below to above zero, and the index of the first point
// after the start.
struct TBranch {
    bool Exists = false;
    TCurvePoint Start;
    std::size_t Next = 0;
};

TBranch BranchOf(const std::vector<TCurvePoint>& curve)
{
    TBranch branch;
    std::size_t last = curve.size();
    for (std::size_t i = 0; i < curve.size(); ++i)
        if (curve[i].Load <= 0)
            last = i;
    if (last == curve.size() || last + 1 >= curve.size())
        return branch;
    const TCurvePoint& a = curve[last];
    const TCurvePoint& b = curve[last + 1];
    branch.Exists = true;
    branch.Next = last + 1;
    const double t = a.Load < 0 ? -a.Load / (b.Load - a.Load) : 0;
    branch.Start = {0, a.Settlement + t * (b.Settlement - a.Settlement), a.BeyondQw || (t > 0 && b.BeyondQw)};
    return branch;
}

// The first crossing of f(point) from below zero to zero or above on the
// compressive branch; f is linear along each segment in the curve's
// coordinates, so the crossing is interpolated on the segment.
template <typename Offset>
TReadout FirstCrossing(const std::vector<TCurvePoint>& curve, Offset offset)
{
    TReadout readout;
    const TBranch branch = BranchOf(curve);
    if (!branch.Exists) {
        readout.NotApplicable = TNotApplicable::NoCompressiveLoad;
        return readout;
    }
    if (offset(branch.Start) >= 0) {
        readout.NotApplicable = TNotApplicable::MetAtZeroLoad;
        readout.Settlement = branch.Start.Settlement;
        return readout;
    }
    TCurvePoint previous = branch.Start;
    for (std::size_t i = branch.Next; i < curve.size(); ++i) {
        const double f0 = offset(previous);
        const double f1 = offset(curve[i]);
        if (f0 < 0 && f1 >= 0) {
            const double t = f0 / (f0 - f1);
            readout.Reached = true;
            readout.Load = previous.Load + t * (curve[i].Load - previous.Load);
            readout.Settlement = previous.Settlement + t * (curve[i].Settlement - previous.Settlement);
            readout.UsesRowsBeyondQw = previous.BeyondQw || curve[i].BeyondQw;
            return readout;
        }
        previous = curve[i];
    }
    return readout;
}

TReadout LargestOf(const std::vector<TCurvePoint>& curve)
{
    TReadout largest;
    for (std::size_t i = 1; i < curve.size(); ++i)
        if (!largest.Reached || curve[i].Load > largest.Load) {
            largest.Reached = true;
            largest.Load = curve[i].Load;
            largest.Settlement = curve[i].Settlement;
            largest.UsesRowsBeyondQw = curve[i].BeyondQw;
        }
    if (largest.Reached && largest.Load <= 0) {
        largest = {};
        largest.NotApplicable = TNotApplicable::NoCompressiveLoad;
    }
    return largest;
}

// The read-out on the computed curve, with its value on the held curve when
// it uses rows beyond the Q-w curve.
template <typename Read>
TReadout ReadBoth(const std::vector<TCurvePoint>& computed, const std::vector<TCurvePoint>& held, Read read)
{
    TReadout readout = read(computed);
    if (readout.UsesRowsBeyondQw)
        readout.Held = read(held);
    return readout;
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
    readouts.Uplift = IsUplift(data);
    const TQwEnd qw = QwEndOf(data);
    readouts.HaveQwCurve = qw.Have;
    readouts.QwLastLoad = qw.Load;
    readouts.QwLastMovement = qw.Movement;
    readouts.RowFlags = LoadSettlementFlags(data);
    readouts.CaseFlags = LoadCaseFlags(data);
    const std::vector<TCurvePoint> curve = CurveOf(data, qw, false);
    const std::vector<TCurvePoint> held = CurveOf(data, qw, true);

    readouts.TenPercentSettlement = 0.1 * pile.Diameter;
    if (pile.Diameter > 0)
        readouts.TenPercentDiameter = ReadBoth(curve, held, [&](const std::vector<TCurvePoint>& c) {
            return FirstCrossing(c, [&](const TCurvePoint& p) { return p.Settlement - readouts.TenPercentSettlement; });
        });

    readouts.EquivalentAE = EquivalentStiffness(pile, readouts.Stiffness);
    readouts.DavissonOffset = (pile.Units == UnitSystem::SI ? DavissonOffsetMetres : DavissonOffsetInches) + pile.Diameter / 120;
    if (readouts.Stiffness != TStiffnessSource::Unavailable)
        readouts.Davisson = ReadBoth(curve, held, [&](const std::vector<TCurvePoint>& c) {
            return FirstCrossing(c, [&](const TCurvePoint& p) {
                return p.Settlement - (p.Load * pile.Length / readouts.EquivalentAE + readouts.DavissonOffset);
            });
        });

    readouts.Largest = ReadBoth(curve, held, LargestOf);

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

std::vector<TRowFlag> LoadSettlementFlags(const TPlotData& data)
{
    const TQwEnd qw = QwEndOf(data);
    std::vector<TRowFlag> flags;
    for (const TLoadSettlementRow& row : data.LoadSettlement)
        flags.push_back(TipBeyond(qw, row.TipMovement) ? TRowFlag::TipBeyondQw : TRowFlag::None);
    return flags;
}

std::vector<TRowFlag> LoadCaseFlags(const TPlotData& data)
{
    // The engine finds a load case's tip movement between the head loads of
    // the first and the last tip movement, as it computed them (rows of an
    // upward tip movement are written negated).
    const auto computed = [](const TLoadSettlementRow& row) {
        return row.TipMovement <= UpwardLimit ? -row.TopLoad : row.TopLoad;
    };
    const TQwEnd qw = QwEndOf(data);
    std::vector<TRowFlag> flags;
    for (const TLoadSettlementRow& row : data.LoadCases) {
        if (data.LoadSettlement.empty() || row.TopLoad < computed(data.LoadSettlement.front()) ||
            row.TopLoad > computed(data.LoadSettlement.back()))
            flags.push_back(TRowFlag::BeyondCurve);
        else
            flags.push_back(TipBeyond(qw, row.TipMovement) ? TRowFlag::TipBeyondQw : TRowFlag::None);
    }
    return flags;
}

std::string RowFlagText(TRowFlag flag)
{
    switch (flag) {
    case TRowFlag::TipBeyondQw: return "tip beyond the Q-w curve";
    case TRowFlag::BeyondCurve: return "beyond the computed curve";
    case TRowFlag::None: break;
    }
    return {};
}

std::string ForceUnitText(UnitSystem units) { return units == UnitSystem::SI ? "kN" : "lb"; }

std::string LengthUnitText(UnitSystem units) { return units == UnitSystem::SI ? "m" : "in"; }

std::string StiffnessSourceText(TStiffnessSource source)
{
    switch (source) {
    case TStiffnessSource::Constant: return "constant AE of the AE table";
    case TStiffnessSource::HarmonicMean: return "harmonic mean of the AE table over the pile length";
    case TStiffnessSource::Unavailable: break;
    }
    return "not available (an AE of zero or below along the pile)";
}
