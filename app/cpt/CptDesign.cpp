// Shaft capacity, base resistance and the load-transfer curves of a pile.
#include "CptDesign.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

namespace cpt {

namespace {

// Sample depths over [top, bottom] at most `step` apart, with the weights of
// the trapezoidal rule (summing to the interval's length).
std::vector<std::pair<double, double>> Samples(double top, double bottom, double step)
{
    if (!(bottom - top > 1e-12))
        return {{top, 0}};
    const int n = std::max(1, static_cast<int>(std::ceil((bottom - top) / step - 1e-9)));
    const double h = (bottom - top) / n;
    std::vector<std::pair<double, double>> samples;
    for (int i = 0; i <= n; ++i)
        samples.push_back({top + h * i, (i == 0 || i == n) ? h / 2 : h});
    return samples;
}

// Normalised movements (of the mean z_f) at which a sand t-z curve is written.
constexpr std::array<double, 16> SandCurveMovements = {0,   0.05, 0.1, 0.2, 0.3, 0.4,  0.5, 0.6,
                                                       0.7, 0.8,  0.9, 1.0, 1.25, 1.5, 2.0, 3.0};

const TZone& ZoneOf(const std::vector<TZone>& zones, double depth)
{
    for (const TZone& zone : zones)
        if (depth < zone.Bottom)
            return zone;
    return zones.back();
}

void CheckPile(const TPileGeometry& pile)
{
    if (!(pile.Length > 0) || !(pile.Diameter > 0))
        throw ECptError("the pile needs a length and an outer diameter above zero");
    if (pile.End == TPileEnd::Open && !(pile.WallThickness > 0 && pile.WallThickness < pile.Diameter / 2))
        throw ECptError("an open pipe needs a wall thickness above zero and below half its diameter; "
                        "choose a closed end for a closed-ended pile");
    if (pile.PlugLengthRatio > 1)
        throw ECptError("the plug length ratio must not exceed 1");
}

TTzCurve CurveAt(const TCptProfile& profile, const TPileGeometry& pile, const TZone& zone, double depth, double top,
                 double bottom)
{
    const TCptSettings& s = profile.Settings();
    const bool tension = s.Direction == TLoadDirection::Tension;
    TTzCurve curve{depth, zone.Class, top, bottom, {}};
    const auto samples = Samples(top, bottom, s.Step);
    double weight = 0;
    for (const auto& [z, w] : samples)
        weight += w;
    const auto mean = [&](auto&& f) {
        if (weight == 0)
            return f(samples.front().first);
        double sum = 0;
        for (const auto& [z, w] : samples)
            sum += w * f(z);
        return sum / weight;
    };
    if (zone.Class == TSoilClass::Clay) {
        const double tauF = mean([&](double z) { return ShaftFriction(profile, pile, z, TSoilClass::Clay); });
        for (const auto& [zd, ratio] : ClayTzShape(s.ResidualRatio))
            curve.Points.push_back({tauF * ratio, zd * pile.Diameter});
        return curve;
    }
    const double stiffness = tension ? s.StiffnessTension : s.StiffnessCompression;
    struct TSandPoint {
        double TauF, Zf, Weight;
    };
    std::vector<TSandPoint> points;
    for (const auto& [z, w] : samples) {
        const TCptPoint p = profile.At(z);
        points.push_back({ShaftFriction(profile, pile, z, TSoilClass::Sand),
                          SandPeakMovement(p.Qc, p.EffectiveStress, pile.Diameter, stiffness, s.AtmosphericPressure),
                          weight == 0 ? 1.0 : w});
    }
    double total = 0, zf = 0;
    for (const TSandPoint& p : points) {
        total += p.Weight;
        zf += p.Weight * p.Zf;
    }
    zf /= total;
    for (double x : SandCurveMovements) {
        double t = 0;
        for (const TSandPoint& p : points)
            t += p.Weight * p.TauF * SandShaftShape(x * zf / p.Zf);
        curve.Points.push_back({t / total, x * zf});
    }
    return curve;
}

}  // namespace

double ShaftFriction(const TCptProfile& profile, const TPileGeometry& pile, double depth, TSoilClass cls)
{
    const TCptSettings& s = profile.Settings();
    const TCptPoint p = profile.At(depth);
    const double height = pile.Length - depth;
    if (cls == TSoilClass::Sand)
        return SandShaftFriction(p.Qc, p.EffectiveStress, height, pile.Diameter,
                                 EffectiveAreaRatio(pile, s.Sand.ConeDiameter), s.Sand,
                                 s.Direction == TLoadDirection::Tension);
    const double fst = p.Behaviour.Sensitive && HasValue(p.Behaviour.Ic) ? s.SensitiveClayFactor : 1.0;
    return ClayShaftFriction(p.Qt, height, ClayEquivalentDiameter(pile), fst, s.ClayShaftCoefficient);
}

TCptDesign Design(const TCptProfile& profile, const TPileGeometry& pile, std::vector<double> depths)
{
    CheckPile(pile);
    const TCptSettings& s = profile.Settings();
    TCptDesign design;
    design.AreaRatio = EffectiveAreaRatio(pile, s.Sand.ConeDiameter);
    design.Zones = SoilZones(profile, pile.Length);
    if (depths.empty())
        depths = ProposedCurveDepths(design.Zones, s.MaxCurveLength);
    if (depths.front() != 0)
        throw ECptError("the first curve must lie at the top of the pile (depth 0)");
    for (std::size_t k = 0; k < depths.size(); ++k)
        if ((k > 0 && !(depths[k] > depths[k - 1])) || depths[k] > pile.Length)
            throw ECptError("the curve depths must increase and lie within the pile's length");

    for (const TZone& zone : design.Zones)
        for (const auto& [z, w] : Samples(zone.Top, zone.Bottom, s.Step))
            design.ShaftCapacity += w * ShaftFriction(profile, pile, z, zone.Class);
    design.ShaftCapacity *= std::numbers::pi * pile.Diameter;

    for (std::size_t k = 0; k < depths.size(); ++k) {
        const TZone& zone = ZoneOf(design.Zones, depths[k]);
        const double top = std::max(k > 0 ? (depths[k - 1] + depths[k]) / 2 : depths[k], zone.Top);
        const double bottom = std::min(k + 1 < depths.size() ? (depths[k] + depths[k + 1]) / 2 : depths[k], zone.Bottom);
        design.Curves.push_back(CurveAt(profile, pile, zone, depths[k], top, std::max(top, bottom)));
    }

    design.BaseClass = design.Zones.back().Class;
    const bool sand = design.BaseClass == TSoilClass::Sand;
    const double windowTop = std::max(0.0, pile.Length - s.BaseWindow * pile.Diameter);
    const double windowBottom = std::min(profile.Bottom(), pile.Length + s.BaseWindow * pile.Diameter);
    double weight = 0;
    for (const auto& [z, w] : Samples(windowTop, windowBottom, s.Step)) {
        const TCptPoint p = profile.At(z);
        design.BaseQp += (w > 0 ? w : 1) * (sand ? p.Qc : p.Qt);
        weight += w > 0 ? w : 1;
    }
    design.BaseQp /= weight;
    design.BaseQb01 = (sand ? SandBaseFactor(design.AreaRatio) : ClayBaseFactor(design.AreaRatio, s.ClayBaseIntercept, s.ClayBaseSlope)) * design.BaseQp;
    design.BaseArea = std::numbers::pi * pile.Diameter * pile.Diameter / 4;
    const double capacity = design.BaseQb01 * design.BaseArea;
    const double q = s.Direction == TLoadDirection::Tension ? 0 : capacity;
    design.BaseCapacity = q;
    if (sand)
        for (int i = 0; i <= 10; ++i)
            design.Qw.push_back({q * (i / 10.0), SandBaseMovement(i / 10.0) * pile.Diameter});
    else
        for (const auto& [wd, ratio] : ClayQzShape())
            design.Qw.push_back({q * ratio, wd * pile.Diameter});
    // Held beyond 0.1 D: a last point at one diameter, since the analysis
    // extends a Q-w curve along the line from the origin through its last point.
    design.Qw.push_back({q, pile.Diameter});
    return design;
}

std::string ProfileCsv(const TCptProfile& profile, const TPileGeometry& pile, const TCptDesign& design)
{
    const TCptSettings& s = profile.Settings();
    std::ostringstream out;
    out.precision(6);
    out << "depth_m,qc_kPa,qt_kPa,fs_kPa,u2_kPa,sigma_v0_kPa,u0_kPa,sigma_v0_eff_kPa,Ic,class,tau_f_kPa\n";
    const auto optional = [&](double v) -> std::ostream& { return HasValue(v) ? out << v : out; };
    const int rows = static_cast<int>(std::floor(profile.Bottom() / s.Step + 1e-9));
    for (int i = 0; i <= rows; ++i) {
        const double z = std::round(i * s.Step * 1e9) / 1e9;
        const TCptPoint p = profile.At(z);
        out << z << ',' << p.Qc << ',' << p.Qt << ',';
        optional(p.Fs) << ',';
        optional(p.U2) << ',' << p.TotalStress << ',' << p.PorePressure << ',' << p.EffectiveStress << ',';
        optional(p.Behaviour.Ic) << ',';
        const bool shaft = z <= pile.Length;
        const TSoilClass cls = shaft ? ZoneOf(design.Zones, z).Class
                               : HasValue(p.Behaviour.Ic) && p.Behaviour.Ic >= s.SandClayBoundary ? TSoilClass::Clay
                                                                                                  : TSoilClass::Sand;
        out << (cls == TSoilClass::Sand ? "sand" : "clay") << ',';
        if (shaft)
            out << ShaftFriction(profile, pile, z, cls);
        out << '\n';
    }
    return out.str();
}

}  // namespace cpt
