#include "CapacityOverlays.h"

#include "GraphPlot.h"

void SetCapacityOverlays(TGraphPlot& axial, const TCapacityReadouts& readouts, const TPileForReadouts& pile)
{
    axial.Overlays.clear();
    if (!readouts.Largest.Reached)
        return;
    // The graph shows English loads in kips, and an uplift run with its signs.
    const long double loadScale = pile.Units == UnitSystem::SI ? 1 : 1.0L / 1000;
    const long double sign = readouts.Uplift ? -1 : 1;
    const auto point = [&](double load, double settlement) {
        return TFloatPoint{sign * loadScale * load, sign * static_cast<long double>(settlement)};
    };
    const double reach = readouts.Largest.Load;

    if (readouts.Stiffness != TStiffnessSource::Unavailable)
        axial.Overlays.push_back(
            {"Davisson's offset line",
             {point(0, readouts.DavissonOffset),
              point(reach, reach * pile.Length / readouts.EquivalentAE + readouts.DavissonOffset)}});
    if (pile.Diameter > 0)
        axial.Overlays.push_back(
            {"10 % of the diameter",
             {point(0, readouts.TenPercentSettlement), point(reach, readouts.TenPercentSettlement)}});
    if (readouts.Davisson.Reached)
        axial.Overlays.push_back({"Davisson", {point(readouts.Davisson.Load, readouts.Davisson.Settlement)}});
    if (readouts.TenPercentDiameter.Reached)
        axial.Overlays.push_back(
            {"10 % D", {point(readouts.TenPercentDiameter.Load, readouts.TenPercentDiameter.Settlement)}});
}
