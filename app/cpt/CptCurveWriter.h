#pragma once

// Writing a CPT design into the current project: its t-z curves become the
// user-defined t-z curves, its base curve the Q-w curve, in the project's
// units, and the project switches to user curves.

#include "CptDesign.h"
#include "ProgramData.h"

namespace cpt {

// The pile length and outer diameter of the project, in metres, with the
// end and wall of the design's pile.
TPileGeometry PileOfProject(const TProgramData& project, TPileEnd end, double wallThickness,
                            double plugLengthRatio = -1);

// Replaces the project's user t-z curves and Q-w curve by the design's and
// selects user curves. A design with more curves or points than the tables
// take is refused (ECptError) before anything changes.
void WriteCurves(TProgramData& project, const TCptDesign& design);

}  // namespace cpt

namespace cpt {

// Total unit weights by depth from the project's soil layers: each layer's
// mean effective unit weight plus that of water (the layers' weights are
// effective ones, so the water table lies at the top); empty when the
// project has no layer with a unit weight.
std::vector<TUnitWeightRange> UnitWeightsOfProject(const TProgramData& project, double waterUnitWeight);

}  // namespace cpt
