#pragma once

// The CPT window's three profile graphs: cone resistance (MPa), sleeve
// friction and pore pressures (kPa) and I_c against depth, with the
// project's layer bottoms and the pile tip as reference lines across them
// and the sand/clay boundary of I_c. Plain C++ over the graph data that the
// plot windows paint.

#include "CptWindowModel.h"
#include "GraphPlot.h"

#include <array>
#include <vector>

// Captions, units and look of the three graphs.
void SetUpProfileGraphs(std::array<TGraphPlot, 3>& graphs);
// The graphs' curves and reference lines from the profile (depths in m).
void FillProfileGraphs(std::array<TGraphPlot, 3>& graphs, const cpt::TProfilePlots& plots,
                       const std::vector<double>& layerBottoms, double pileTip, double boundary);
