#include "CptMethods.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cpt {

double PlugLengthRatioEstimate(double innerDiameter, double coneDiameter)
{
    return std::tanh(0.3 * std::sqrt(innerDiameter / coneDiameter));
}

double EffectiveAreaRatio(const TPileGeometry& pile, double coneDiameter)
{
    if (pile.End == TPileEnd::Closed)
        return 1;
    const double inner = pile.Diameter - 2 * pile.WallThickness;
    const double plr = pile.PlugLengthRatio >= 0 ? pile.PlugLengthRatio : PlugLengthRatioEstimate(inner, coneDiameter);
    return 1 - plr * (inner / pile.Diameter) * (inner / pile.Diameter);
}

double ClayEquivalentDiameter(const TPileGeometry& pile)
{
    if (pile.End == TPileEnd::Closed)
        return pile.Diameter;
    const double inner = pile.Diameter - 2 * pile.WallThickness;
    return std::sqrt(pile.Diameter * pile.Diameter - inner * inner);
}

double SandShaftFriction(double qc, double effectiveStress, double height, double diameter, double areaRatio,
                         const TSandShaftInputs& inputs, bool tension)
{
    const double radial = qc / 44 * std::pow(areaRatio, 0.3) * std::pow(std::max(1.0, height / diameter), -0.4);
    const double dilation = qc / 10 * std::pow(qc / effectiveStress, -0.33) * (inputs.ConeDiameter / diameter);
    const double ratio = tension ? inputs.TensionRatio : 1.0;
    return ratio * (radial + dilation) * std::tan(inputs.InterfaceAngle * std::numbers::pi / 180);
}

double SandPeakMovement(double qc, double effectiveStress, double diameter, double stiffnessA,
                        double atmosphericPressure)
{
    return diameter * std::sqrt(qc / atmosphericPressure) * std::pow(effectiveStress / atmosphericPressure, 0.25) /
           stiffnessA;
}

double SandShaftShape(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return 2 * x - x * x;
}

double SandBaseFactor(double areaRatio) { return 0.12 + 0.38 * areaRatio; }
double ClayBaseFactor(double areaRatio, double intercept, double slope) { return intercept + slope * areaRatio; }

double SandBaseMovement(double r) { return 0.01 * r / (1 - 0.9 * r); }

double SandBaseRatio(double movementOverDiameter)
{
    const double x = std::min(movementOverDiameter, 0.1);
    return 100 * x / (1 + 90 * x);
}

double ClayShaftFriction(double qt, double height, double equivalentDiameter, double sensitivityFactor,
                         double coefficient)
{
    return coefficient * sensitivityFactor * qt * std::pow(std::max(1.0, height / equivalentDiameter), -0.25);
}

std::array<std::pair<double, double>, 7> ClayTzShape(double residualRatio)
{
    return {{{0, 0}, {0.0016, 0.30}, {0.0031, 0.50}, {0.0057, 0.75}, {0.0080, 0.90}, {0.0100, 1.00},
             {0.0200, residualRatio}}};
}

const std::array<std::pair<double, double>, 6>& ClayQzShape()
{
    static const std::array<std::pair<double, double>, 6> shape = {
        {{0, 0}, {0.002, 0.25}, {0.013, 0.50}, {0.042, 0.75}, {0.073, 0.90}, {0.100, 1.00}}};
    return shape;
}

TBehaviourIndex BehaviourIndex(double qt, double fs, double totalStress, double effectiveStress,
                               double atmosphericPressure)
{
    const double net = std::max(qt - totalStress, 1e-9);
    TBehaviourIndex index;
    index.Fr = std::max(100 * fs / net, 0.1);
    double n = 1;
    for (int pass = 0; pass < 50; ++pass) {
        index.Qtn = std::max(net / atmosphericPressure * std::pow(atmosphericPressure / effectiveStress, n), 1.0);
        const double a = 3.47 - std::log10(index.Qtn);
        const double b = std::log10(index.Fr) + 1.22;
        index.Ic = std::sqrt(a * a + b * b);
        const double next = std::min(1.0, 0.381 * index.Ic + 0.05 * effectiveStress / atmosphericPressure - 0.15);
        if (std::fabs(next - n) < 1e-6)
            break;
        n = next;
    }
    index.Sensitive = index.Qtn < 12 * std::exp(-1.4 * index.Fr);
    return index;
}

}  // namespace cpt
