#include "StudyInputs.h"

#include "CapacityReadouts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

bool IsLayerValue(TStudyTarget target) { return target >= TStudyTarget::UnitWeight && target <= TStudyTarget::TipResistance; }

// The layer-data column of a soil-layer value.
std::array<float, korven::kMaxLayerRows>& LayerValues(TStudyTarget target, korven::Problem& problem)
{
    switch (target) {
    case TStudyTarget::UnitWeight: return problem.unitWeight;
    case TStudyTarget::Strength: return problem.strength;
    case TStudyTarget::FrictionAngle: return problem.frictionAngle;
    case TStudyTarget::E50: return problem.e50;
    case TStudyTarget::SideFriction: return problem.sideFriction;
    default: return problem.tipResistance;
    }
}

// The problem's values that an input stands for: both ends of a layer, every
// AE row, every t-z factor row, ...
std::vector<float*> Fields(const TStudyInput& input, korven::Problem& problem)
{
    std::vector<float*> fields;
    switch (input.Target) {
    case TStudyTarget::PileLength: return {&problem.pileLength};
    case TStudyTarget::Diameter: return {&problem.diameter};
    case TStudyTarget::AxialStiffness:
        for (int row = 0; row < problem.stiffness.count; ++row)
            if (input.Row == 0 || input.Row == row + 1)
                fields.push_back(&problem.stiffness.value[row]);
        return fields;
    case TStudyTarget::TMultiplier:
    case TStudyTarget::ZMultiplier: {
        auto& column = input.Target == TStudyTarget::TMultiplier ? problem.tMultiplier : problem.zMultiplier;
        for (int row = 0; row < problem.tzFactorCount; ++row)
            fields.push_back(&column[row]);
        return fields;
    }
    case TStudyTarget::QMultiplier: return {&problem.qMultiplier};
    case TStudyTarget::WMultiplier: return {&problem.wMultiplier};
    case TStudyTarget::HeadLoad: return {&problem.headLoads[input.Row - 1]};
    default: break;
    }
    auto& values = LayerValues(input.Target, problem);
    const int top = 2 * (input.Layer - 1);
    if (input.Position != TLayerPosition::Bottom)
        fields.push_back(&values[top]);
    if (input.Position != TLayerPosition::Top)
        fields.push_back(&values[top + 1]);
    return fields;
}

// Factors of the curves start from "no change" when the project has none:
// two t-z factor rows of 1 from the shallowest to the deepest curve, or a
// Q-w factor pair of 1.
void EnsureFactors(TStudyTarget target, korven::Problem& problem)
{
    if ((target == TStudyTarget::QMultiplier || target == TStudyTarget::WMultiplier) && !problem.qwFactors) {
        problem.qwFactors = true;
        problem.qMultiplier = problem.wMultiplier = 1;
    }
    if ((target != TStudyTarget::TMultiplier && target != TStudyTarget::ZMultiplier) || problem.tzFactorCount > 0)
        return;
    float shallowest = 0, deepest = 0;
    if (problem.curveSource == korven::kGivenCurves)
        for (int c = 0; c < problem.curveCount; ++c) {
            shallowest = std::min(shallowest, problem.curves[c].depth);
            deepest = std::max(deepest, problem.curves[c].depth);
        }
    else
        for (int i = 0; i < problem.layerCount; ++i) {
            shallowest = std::min(shallowest, problem.layers[i].top);
            deepest = std::max(deepest, problem.layers[i].bottom);
        }
    problem.tzFactorCount = 2;
    problem.tzFactorDepth[0] = shallowest;
    problem.tzFactorDepth[1] = deepest > shallowest ? deepest : shallowest + 1;
    problem.tMultiplier[0] = problem.tMultiplier[1] = 1;
    problem.zMultiplier[0] = problem.zMultiplier[1] = 1;
}

// Whether a value of the target can be analysed: lengths, stiffness, e50 and
// movement factors above 0; soil values, loads factors and tip areas not
// below 0; friction angles below 90 degrees.
bool Physical(TStudyTarget target, double value)
{
    switch (target) {
    case TStudyTarget::PileLength:
    case TStudyTarget::Diameter:
    case TStudyTarget::AxialStiffness:
    case TStudyTarget::E50:
    case TStudyTarget::ZMultiplier:
    case TStudyTarget::WMultiplier:
    case TStudyTarget::HeadLoad: return value > 0;
    case TStudyTarget::FrictionAngle: return value >= 0 && value < 90;
    default: return value >= 0;
    }
}

// The input's name ("Side friction, layer 2 top") and the unit of its value.
std::pair<std::string, std::string> NameAndUnit(const TStudyInput& input, UnitSystem units)
{
    const std::string length = LengthUnitText(units), force = ForceUnitText(units);
    const std::string pressure = units == UnitSystem::SI ? "kPa" : "psi";
    std::string name, unit;
    switch (input.Target) {
    case TStudyTarget::PileLength: name = "Pile length", unit = length; break;
    case TStudyTarget::Diameter: name = "Outer diameter", unit = length; break;
    case TStudyTarget::AxialStiffness:
        name = input.Row == 0 ? "AE" : "AE, row " + std::to_string(input.Row), unit = force;
        break;
    case TStudyTarget::UnitWeight: name = "Unit weight", unit = force + "/" + length + "^3"; break;
    case TStudyTarget::Strength: name = "Undrained shear strength", unit = pressure; break;
    case TStudyTarget::FrictionAngle: name = "Friction angle", unit = "deg"; break;
    case TStudyTarget::E50: name = "e50"; break;
    case TStudyTarget::SideFriction: name = "Side friction", unit = pressure; break;
    case TStudyTarget::TipResistance: name = "Tip resistance", unit = pressure; break;
    case TStudyTarget::TMultiplier: name = "t-multiplier"; break;
    case TStudyTarget::ZMultiplier: name = "z-multiplier"; break;
    case TStudyTarget::QMultiplier: name = "Q-multiplier"; break;
    case TStudyTarget::WMultiplier: name = "w-multiplier"; break;
    case TStudyTarget::HeadLoad: name = "Pile-head load " + std::to_string(input.Row), unit = force; break;
    }
    if (IsLayerValue(input.Target)) {
        name += ", layer " + std::to_string(input.Layer);
        if (input.Position != TLayerPosition::Both)
            name += input.Position == TLayerPosition::Top ? " top" : " bottom";
    }
    return {name, unit};
}

std::string Quantity(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

}  // namespace

void CheckInput(const TStudyInput& input, const korven::Problem& problem, const std::string& field)
{
    const bool generated = problem.curveSource != korven::kGivenCurves;
    if (IsLayerValue(input.Target)) {
        if (!generated)
            throw EStudyError(field + ": the project has curves of its own, no soil-layer values");
        if (input.Layer < 1 || input.Layer > problem.layerCount)
            throw EStudyError(field + ": layer " + std::to_string(input.Layer) + " is not one of the project's " +
                              std::to_string(problem.layerCount) + " layers");
    }
    if (input.Target == TStudyTarget::AxialStiffness && input.Row > problem.stiffness.count)
        throw EStudyError(field + ": the AE table has " + std::to_string(problem.stiffness.count) + " rows, no row " +
                          std::to_string(input.Row));
    if (input.Target == TStudyTarget::HeadLoad) {
        const bool added = problem.headLoadCount == 0 && input.Row == 1 && input.Mode == TValueMode::Value;
        if (!added && (input.Row < 1 || input.Row > problem.headLoadCount))
            throw EStudyError(field + ": the project has " + std::to_string(problem.headLoadCount) +
                              " pile-head loads, no load " + std::to_string(input.Row));
    }
    if (input.Target == TStudyTarget::Diameter && !input.FixTipArea && !(problem.diameter > 0))
        throw EStudyError(field + ": the tip area cannot follow a diameter of 0 (fix the tip area)");
}

std::string ApplyInput(const TStudyInput& input, double value, korven::Problem& problem)
{
    EnsureFactors(input.Target, problem);
    if (input.Target == TStudyTarget::HeadLoad && problem.headLoadCount == 0)
        problem.headLoadCount = 1;
    const float oldDiameter = problem.diameter;
    for (float* field : Fields(input, problem)) {
        const double result = input.Mode == TValueMode::Factor ? value * static_cast<double>(*field) : value;
        if (!Physical(input.Target, result) || !std::isfinite(static_cast<float>(result)))
            return NameAndUnit(input, UnitSystem::English).first + " of " + Quantity(result) + " cannot be analysed";
        *field = static_cast<float>(result);
    }
    if (input.Target == TStudyTarget::Diameter && !input.FixTipArea) {
        const double ratio = static_cast<double>(problem.diameter) / static_cast<double>(oldDiameter);
        problem.tipArea = static_cast<float>(static_cast<double>(problem.tipArea) * ratio * ratio);
    }
    return {};
}

std::string InputLabel(const TStudyInput& input, UnitSystem units)
{
    const auto [name, unit] = NameAndUnit(input, units);
    if (input.Mode == TValueMode::Factor)
        return name + ", factor";
    return unit.empty() ? name : name + " (" + unit + ")";
}
