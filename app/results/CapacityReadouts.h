#pragma once

// Capacity read-outs from a computed load-settlement curve: the head load at
// a settlement of 10 % of the pile diameter, Davisson's offset limit, the
// largest computed head load, and for down-drag runs the neutral plane and
// the drag load of every tip movement case. Every value is interpolated
// linearly between computed points and never beyond them: a criterion the
// curve does not reach is reported as not reached. A criterion is read only
// on the compressive branch of the curve (from zero head load on); one met
// before it, as under down-drag, is not applicable.
//
// The engine extrapolates the tip load of a tip movement beyond the last
// point of the Q-w curve, and leaves a pile-head load beyond the computed
// curve with meaningless movements; the flags below name such rows, and a
// read-out through such rows is given again with their tip load held at the
// Q-w curve's last load.

#include "PlotData.h"

#include <string>
#include <vector>

// A point of the load-settlement curve read off for one criterion.
struct TReadPoint {
    bool Reached = false;
    double Load = 0;
    double Settlement = 0;
};

// Why a criterion is not read on a curve.
enum class TNotApplicable {
    No,                 // it is read; Reached says whether the curve reaches it
    NoCompressiveLoad,  // no computed head load is compressive
    MetAtZeroLoad,      // met before any head load, by the settlement at zero
                        // head load (down-drag), given as Settlement
};

struct TReadout : TReadPoint {
    TNotApplicable NotApplicable = TNotApplicable::No;
    // The read-out lies on a segment of the curve ending in a row whose tip
    // movement is beyond the Q-w curve; Held is then the same criterion read
    // with those rows' tip loads held at the Q-w curve's last load.
    bool UsesRowsBeyondQw = false;
    TReadPoint Held;
};

// What sets a row of the load-settlement curve or a pile-head load case
// apart from a plain result.
enum class TRowFlag {
    None,
    // The tip movement lies beyond the Q-w curve's last point: the engine
    // extrapolated the tip load.
    TipBeyondQw,
    // A pile-head load outside the computed curve: the engine's movements
    // and tip load for it are no results.
    BeyondCurve,
};

// Where the axial load along the pile peaks for one assumed tip movement.
struct TNeutralPlane {
    double Depth = 0;
    double PeakLoad = 0;
    double HeadLoad = 0;
    // Peak minus head load; 0 when the load peaks at the head.
    double DragLoad = 0;
};

// The pile as the read-outs need it, in the project's units.
struct TPileForReadouts {
    UnitSystem Units = UnitSystem::English;
    double Length = 0;
    double Diameter = 0;
    // The AE table as entered: pairs of depth below the pile head and AE.
    std::vector<double> AEDepths;
    std::vector<double> AEValues;
    // Down-drag runs report the neutral plane.
    bool Downdrag = false;
};

// How the pile's stiffness over its length was found.
enum class TStiffnessSource {
    Constant,      // one AE value along the whole pile
    HarmonicMean,  // the harmonic mean of the AE table over the pile length
    Unavailable,   // an AE of zero or below somewhere along the pile
};

struct TCapacityReadouts {
    // Uplift runs (every computed head load upward) are read on magnitudes.
    bool Uplift = false;
    TReadout TenPercentDiameter;
    TReadout Davisson;
    TReadout Largest;
    double EquivalentAE = 0;
    TStiffnessSource Stiffness = TStiffnessSource::Unavailable;
    // The settlement 10 % of the diameter stands for, and the offset of
    // Davisson's line at zero load (0.15 in or 3.8 mm, plus D/120).
    double TenPercentSettlement = 0;
    double DavissonOffset = 0;
    // One entry per assumed tip movement, only for down-drag runs.
    std::vector<TNeutralPlane> NeutralPlanes;
    // The Q-w curve's last point (tip load, tip movement), when it has one.
    bool HaveQwCurve = false;
    double QwLastLoad = 0;
    double QwLastMovement = 0;
    // One flag per load-settlement row and per pile-head load case.
    std::vector<TRowFlag> RowFlags;
    std::vector<TRowFlag> CaseFlags;
};

// The equivalent axial stiffness of the pile over its length: the length
// divided by the integral of 1/AE, with AE interpolated along the pile as
// the engine does (linear between table points, the end intervals extended).
double EquivalentStiffness(const TPileForReadouts& pile, TStiffnessSource& source);

TCapacityReadouts ComputeReadouts(const TPlotData& data, const TPileForReadouts& pile);

// The flags of the rows (or of the load cases) of a run.
std::vector<TRowFlag> LoadSettlementFlags(const TPlotData& data);
std::vector<TRowFlag> LoadCaseFlags(const TPlotData& data);
// "tip beyond the Q-w curve", "beyond the computed curve", or empty.
std::string RowFlagText(TRowFlag flag);

// Texts of the read-outs for windows and reports, in the project's units.
std::string ForceUnitText(UnitSystem units);
std::string LengthUnitText(UnitSystem units);
std::string StiffnessSourceText(TStiffnessSource source);
