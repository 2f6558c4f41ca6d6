#pragma once

// From a sounding to a pile's load-transfer curves: the stress profile, the
// soil behaviour type per depth, the shaft friction and base resistance of
// the unified CPT-based methods (sand and clay), the shaft capacity, and the
// t-z curves at chosen depths with the base's Q-w curve. Everything in
// kilopascals, kilonewtons and metres; the curve writer converts to the
// project's units.

#include "CptMethods.h"
#include "Sounding.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace cpt {

// Input the design cannot use (a pile below the sounding, settings out of
// range); the message says what to change.
class ECptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TSoilClass { Sand, Clay };
// Which method applies: the soil behaviour type per depth, or one method
// for the whole pile.
enum class TMethodChoice { ByBehaviourType, Sand, Clay };
enum class TLoadDirection { Compression, Tension };

// Total unit weight (kN/m^3) from the range above down to `Bottom` (m).
struct TUnitWeightRange {
    double Bottom = 0;
    double UnitWeight = 0;
};
// The user's soil class over a depth range, ahead of the behaviour type.
struct TClassOverride {
    double Top = 0;
    double Bottom = 0;
    TSoilClass Class = TSoilClass::Sand;
};

struct TCptSettings {
    TMethodChoice Method = TMethodChoice::ByBehaviourType;
    TLoadDirection Direction = TLoadDirection::Compression;
    // Stress profile. Below the last range the default unit weight holds.
    std::vector<TUnitWeightRange> UnitWeights;
    double DefaultUnitWeight = 19;
    double WaterTable = 0;  // m below the sounding's zero
    double WaterUnitWeight = 9.81;
    // The cone's net area ratio when the file gives none (a setting above
    // zero also overrides the file's).
    double NetAreaRatio = -1;
    double DefaultNetAreaRatio = 0.8;
    double AtmosphericPressure = 100;
    // Sand method.
    TSandShaftInputs Sand;
    double StiffnessCompression = 1250;  // A of z_f
    double StiffnessTension = 625;
    // Clay method.
    double SensitiveClayFactor = 0.5;  // F_st in behaviour zone 1
    double ResidualRatio = 0.9;        // t_res/t_max of the API t-z shape
    double ClayShaftCoefficient = 0.07;  // tau_f/(F_st q_t) where h <= D*
    double ClayBaseIntercept = 0.2;      // q_b0.1/q_p = intercept + slope A_re
    double ClayBaseSlope = 0.6;
    // Soil behaviour type.
    double SandClayBoundary = 2.6;  // I_c below: sand-like
    double MinimumZoneThickness = 0.5;
    std::vector<TClassOverride> Overrides;
    // Base: q_p is the mean over BaseWindow diameters above and below the tip.
    double BaseWindow = 1.5;
    // Curves: the longest length of shaft one curve stands for.
    double MaxCurveLength = 1.0;
    // Step of the sampling of the profile for integrals and means.
    double Step = 0.02;
};

// The profile at one depth.
struct TCptPoint {
    double Depth = 0;
    double Qc = 0, Qt = 0, Fs = NoValue, U2 = NoValue;
    double TotalStress = 0, PorePressure = 0, EffectiveStress = 0;
    TBehaviourIndex Behaviour;  // Ic NaN when the sounding has no friction
};

class TCptProfile {
public:
    // Refuses settings out of range (ECptError).
    TCptProfile(TSounding sounding, TCptSettings settings);
    TCptPoint At(double depth) const;
    double NetAreaRatio() const { return FNetAreaRatio; }
    const TSounding& Sounding() const { return FSounding; }
    const TCptSettings& Settings() const { return FSettings; }
    double Bottom() const { return FSounding.Rows.back().Depth; }

private:
    double Interpolate(double TSoundingRow::* member, double depth) const;
    double TotalStressAt(double depth) const;

    TSounding FSounding;
    TCptSettings FSettings;
    double FNetAreaRatio;
};

struct TZone {
    double Top = 0;
    double Bottom = 0;
    TSoilClass Class = TSoilClass::Sand;
};

struct TTzCurve {
    double Depth = 0;
    TSoilClass Class = TSoilClass::Sand;
    double TributaryTop = 0, TributaryBottom = 0;
    std::vector<std::pair<double, double>> Points;  // (t kPa, z m)
};

struct TCptDesign {
    double AreaRatio = 1;
    double ShaftCapacity = 0;  // kN
    TSoilClass BaseClass = TSoilClass::Sand;
    double BaseQp = 0;          // kPa
    double BaseQb01 = 0;        // kPa
    double BaseArea = 0;        // m^2, gross
    double BaseCapacity = 0;    // kN at 0.1 D (0 in tension)
    std::vector<TZone> Zones;   // over the shaft, top down
    std::vector<TTzCurve> Curves;
    std::vector<std::pair<double, double>> Qw;  // (Q kN, w m)
};

// The zones of one soil class along [0, L]: behaviour type (or the chosen
// method), runs thinner than the minimum merged into their neighbour, then
// the overrides.
std::vector<TZone> SoilZones(const TCptProfile& profile, double length);
// The depths of the curves: in each zone, its top, its bottom (0.01 m above
// it where another zone follows) and between them equal steps of at most
// MaxCurveLength.
std::vector<double> ProposedCurveDepths(const std::vector<TZone>& zones, double maxLength);
// Peak shaft friction at a depth for the class, in the settings' direction.
double ShaftFriction(const TCptProfile& profile, const TPileGeometry& pile, double depth, TSoilClass cls);
// The whole design with curves at `depths` (proposed ones when empty).
TCptDesign Design(const TCptProfile& profile, const TPileGeometry& pile, std::vector<double> depths = {});

// The profile as CSV, one row per step from 0 to the sounding's bottom:
// depth, q_c, q_t, f_s, u_2, sigma_v0, u_0, sigma'_v0 (kPa), I_c, the soil
// class (the zone's along the pile, the behaviour type below it) and the
// peak shaft friction along the pile (kPa). Missing values are empty.
std::string ProfileCsv(const TCptProfile& profile, const TPileGeometry& pile, const TCptDesign& design);

}  // namespace cpt
