// The stress profile along a sounding and the soil zones along a pile.
#include "CptDesign.h"

#include <algorithm>
#include <cmath>

namespace cpt {

namespace {

// A floor for q_c and sigma'_v0 where they meet a power or a quotient.
constexpr double Floor = 1e-9;

void Require(bool ok, const std::string& message)
{
    if (!ok)
        throw ECptError(message);
}

}  // namespace

TCptProfile::TCptProfile(TSounding sounding, TCptSettings settings)
    : FSounding(std::move(sounding)), FSettings(std::move(settings))
{
    const TCptSettings& s = FSettings;
    Require(FSounding.Rows.size() >= 2, "the sounding has fewer than two rows");
    Require(s.Step > 0 && s.MaxCurveLength > 0 && s.MinimumZoneThickness >= 0 && s.BaseWindow >= 0,
            "the step, the longest curve length, the minimum zone thickness and the base window must be positive");
    Require(s.DefaultUnitWeight > 0 && s.WaterUnitWeight > 0, "unit weights must be above zero");
    double top = 0;
    for (const TUnitWeightRange& range : s.UnitWeights) {
        Require(range.Bottom > top, "the unit weight ranges must go down in increasing depth");
        Require(range.UnitWeight > 0, "unit weights must be above zero");
        top = range.Bottom;
    }
    for (const TClassOverride& o : s.Overrides)
        Require(o.Bottom > o.Top, "an override's bottom must lie below its top");
    Require(s.NetAreaRatio <= 1 && s.DefaultNetAreaRatio >= 0 && s.DefaultNetAreaRatio <= 1,
            "the net area ratio must lie from 0 to 1");
    Require(s.AtmosphericPressure > 0 && s.Sand.ConeDiameter > 0 && s.StiffnessCompression > 0 &&
                s.StiffnessTension > 0,
            "the atmospheric pressure, the cone diameter and the stiffness numbers must be above zero");
    Require(s.SensitiveClayFactor > 0 && s.ResidualRatio > 0 && s.Sand.TensionRatio > 0 &&
                s.ClayShaftCoefficient > 0 && s.ClayBaseIntercept >= 0 && s.ClayBaseSlope >= 0 &&
                s.ClayBaseIntercept + s.ClayBaseSlope > 0,
            "the clay factors and the tension ratio must be above zero");
    FNetAreaRatio = s.NetAreaRatio >= 0             ? s.NetAreaRatio
                    : HasValue(FSounding.NetAreaRatio) ? FSounding.NetAreaRatio
                                                       : s.DefaultNetAreaRatio;
}

double TCptProfile::Interpolate(double TSoundingRow::* member, double depth) const
{
    // The nearest rows with a value at or below the depth and above it;
    // outside them the nearest value holds.
    const auto& rows = FSounding.Rows;
    const auto has = [&](auto row) { return HasValue((*row).*member); };
    const auto at = std::lower_bound(rows.begin(), rows.end(), depth,
                                     [](const TSoundingRow& r, double d) { return r.Depth < d; });
    auto below = at;
    while (below != rows.end() && !has(below))
        ++below;
    auto above = at;
    bool hasAbove = false;
    while (above != rows.begin() && !hasAbove)
        hasAbove = has(--above);
    if (below != rows.end() && (below->Depth == depth || !hasAbove))
        return (*below).*member;
    if (!hasAbove)
        return NoValue;
    if (below == rows.end())
        return (*above).*member;
    const double f = (depth - above->Depth) / (below->Depth - above->Depth);
    return (*above).*member + f * ((*below).*member - (*above).*member);
}

double TCptProfile::TotalStressAt(double depth) const
{
    double stress = 0;
    double top = 0;
    for (const TUnitWeightRange& range : FSettings.UnitWeights) {
        if (depth <= range.Bottom)
            return stress + range.UnitWeight * (depth - top);
        stress += range.UnitWeight * (range.Bottom - top);
        top = range.Bottom;
    }
    return stress + FSettings.DefaultUnitWeight * (depth - top);
}

TCptPoint TCptProfile::At(double depth) const
{
    TCptPoint p;
    p.Depth = depth;
    p.Qc = std::max(Interpolate(&TSoundingRow::Qc, depth), Floor);
    p.Fs = Interpolate(&TSoundingRow::Fs, depth);
    p.U2 = Interpolate(&TSoundingRow::U2, depth);
    const double given = Interpolate(&TSoundingRow::Qt, depth);
    p.Qt = HasValue(given) ? given : HasValue(p.U2) ? p.Qc + (1 - FNetAreaRatio) * p.U2 : p.Qc;
    p.TotalStress = TotalStressAt(depth);
    p.PorePressure = FSettings.WaterUnitWeight * std::max(0.0, depth - FSettings.WaterTable);
    p.EffectiveStress = std::max(p.TotalStress - p.PorePressure, Floor);
    if (HasValue(p.Fs))
        p.Behaviour =
            BehaviourIndex(p.Qt, p.Fs, p.TotalStress, p.EffectiveStress, FSettings.AtmosphericPressure);
    else
        p.Behaviour.Ic = NoValue;
    return p;
}

std::vector<TZone> SoilZones(const TCptProfile& profile, double length)
{
    const TCptSettings& s = profile.Settings();
    Require(length <= profile.Bottom() + 1e-9, "the sounding ends at " + std::to_string(profile.Bottom()) +
                                                   " m, above the pile tip at " + std::to_string(length) + " m");
    const int cells = std::max(1, static_cast<int>(std::ceil(length / s.Step - 1e-9)));
    // Cell edges on whole multiples of the step (rounded to a nanometre).
    const auto edge = [&](int i) { return i >= cells ? length : std::round(i * s.Step * 1e9) / 1e9; };
    const auto overridden = [&](double depth, TSoilClass& cls) {
        for (const TClassOverride& o : s.Overrides)
            if (depth >= o.Top && depth < o.Bottom) {
                cls = o.Class;
                return true;
            }
        return false;
    };

    std::vector<TSoilClass> cls(cells, s.Method == TMethodChoice::Clay ? TSoilClass::Clay : TSoilClass::Sand);
    if (s.Method == TMethodChoice::ByBehaviourType) {
        for (int i = 0; i < cells; ++i) {
            const double mid = (edge(i) + edge(i + 1)) / 2;
            const double ic = profile.At(mid).Behaviour.Ic;
            TSoilClass forced;
            if (!HasValue(ic) && !overridden(mid, forced))
                throw ECptError("the sounding has no sleeve friction, so the soil behaviour type is unknown: "
                                "choose the sand or the clay method");
            cls[i] = HasValue(ic) && ic >= s.SandClayBoundary ? TSoilClass::Clay : TSoilClass::Sand;
        }
        // Runs thinner than the minimum join the thicker neighbour, thinnest first.
        for (;;) {
            std::vector<std::pair<int, int>> runs;  // first cell, end cell
            for (int i = 0; i < cells; ++i)
                if (i == 0 || cls[i] != cls[i - 1])
                    runs.push_back({i, i + 1});
                else
                    runs.back().second = i + 1;
            if (runs.size() < 2)
                break;
            const auto thickness = [&](const std::pair<int, int>& r) { return edge(r.second) - edge(r.first); };
            const auto thinnest = std::min_element(runs.begin(), runs.end(), [&](const auto& a, const auto& b) {
                return thickness(a) < thickness(b);
            });
            if (thickness(*thinnest) >= s.MinimumZoneThickness)
                break;
            const std::size_t k = thinnest - runs.begin();
            const bool up = k > 0 && (k + 1 == runs.size() || thickness(runs[k - 1]) >= thickness(runs[k + 1]));
            const TSoilClass into = cls[up ? runs[k - 1].first : runs[k + 1].first];
            for (int i = thinnest->first; i < thinnest->second; ++i)
                cls[i] = into;
        }
    }
    for (int i = 0; i < cells; ++i)
        overridden((edge(i) + edge(i + 1)) / 2, cls[i]);

    std::vector<TZone> zones;
    for (int i = 0; i < cells; ++i)
        if (zones.empty() || zones.back().Class != cls[i])
            zones.push_back({edge(i), edge(i + 1), cls[i]});
        else
            zones.back().Bottom = edge(i + 1);
    return zones;
}

std::vector<double> ProposedCurveDepths(const std::vector<TZone>& zones, double maxLength)
{
    constexpr double Gap = 0.01;  // m between the last curve of a zone and the next zone
    std::vector<double> depths;
    for (std::size_t z = 0; z < zones.size(); ++z) {
        const double top = zones[z].Top;
        const double bottom = z + 1 < zones.size() ? zones[z].Bottom - Gap : zones[z].Bottom;
        const int steps = std::max(1, static_cast<int>(std::ceil((bottom - top) / maxLength - 1e-9)));
        for (int k = 0; k <= steps; ++k)
            depths.push_back(top + (bottom - top) * k / steps);
    }
    return depths;
}

}  // namespace cpt
