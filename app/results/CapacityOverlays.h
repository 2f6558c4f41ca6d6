#pragma once

// Davisson's offset line and the 10 % of diameter line, with their read-off
// points, as reference lines over the Axial Load vs Settlement graph.

#include "CapacityReadouts.h"

class TGraphPlot;

// Replaces the graph's reference lines by the capacity lines of the
// read-outs, in the graph's coordinates (English loads in kips), reaching
// to the largest computed load; no lines when the curve has no points.
// Leaves ShowOverlays as it is.
void SetCapacityOverlays(TGraphPlot& axial, const TCapacityReadouts& readouts, const TPileForReadouts& pile);
