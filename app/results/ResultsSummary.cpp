#include "ResultsSummary.h"

#include "ProgramData.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int SignificantDigits = 4;
constexpr const char* NotReached = "not reached";

std::string WithUnit(double value, const std::string& unit) { return QuantityText(value) + " " + unit; }

TSummaryRow ReadoutRow(const std::string& criterion, const TReadout& readout, int units)
{
    if (!readout.Reached)
        return {criterion, NotReached, ""};
    return {criterion, WithUnit(readout.Load, ForceUnitText(units)),
            WithUnit(readout.Settlement, LengthUnitText(units))};
}

}  // namespace

TPileForReadouts PileForReadouts(const TProgramData& project)
{
    TPileForReadouts pile;
    pile.Units = project.Units();
    pile.Length = static_cast<double>(project.PileLength);
    pile.Diameter = static_cast<double>(project.OuterDiameter);
    pile.Downdrag = project.Downdrag;
    const TGridTableChart& ae = project.Tables().TblAE2;
    for (int row = 0; row < ae.RowCount(); ++row) {
        pile.AEDepths.push_back(static_cast<double>(ae.GetData(0, row).AsFloat()));
        pile.AEValues.push_back(static_cast<double>(ae.GetData(1, row).AsFloat()));
    }
    return pile;
}

std::string QuantityText(double value)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? "0" : "-";
    const double magnitude = std::fabs(value);
    char text[64];
    if (magnitude < 0.001 || magnitude >= 1e7) {
        std::snprintf(text, sizeof text, "%.*E", SignificantDigits - 1, value);
        return text;
    }
    const int integerDigits = static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    const int decimals = std::max(0, SignificantDigits - integerDigits);
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    // Four significant digits of a large number round its last places.
    if (integerDigits > SignificantDigits) {
        const double step = std::pow(10.0, integerDigits - SignificantDigits);
        std::snprintf(text, sizeof text, "%.0f", std::round(value / step) * step);
        result = text;
    }
    return result;
}

std::vector<TSummaryRow> SummaryRows(const TCapacityReadouts& readouts, const TPileForReadouts& pile)
{
    const int units = pile.Units;
    std::vector<TSummaryRow> rows{
        ReadoutRow("Head load at a settlement of 10 % of the diameter", readouts.TenPercentDiameter, units),
        ReadoutRow("Davisson's offset limit", readouts.Davisson, units),
        ReadoutRow("Largest computed head load", readouts.Largest, units),
    };
    for (std::size_t i = 0; i < readouts.NeutralPlanes.size(); ++i) {
        const TNeutralPlane& plane = readouts.NeutralPlanes[i];
        rows.push_back({"Tip movement " + std::to_string(i + 1) + ": neutral plane at " +
                            WithUnit(plane.Depth, LengthUnitText(units)),
                        "drag load " + WithUnit(plane.DragLoad, ForceUnitText(units)), ""});
    }
    return rows;
}

std::vector<std::string> SummaryNotes(const TCapacityReadouts& readouts, const TPileForReadouts& pile)
{
    const int units = pile.Units;
    std::vector<std::string> notes;
    if (readouts.Stiffness == TStiffnessSource::Unavailable)
        notes.push_back("AE: " + StiffnessSourceText(readouts.Stiffness) + "; Davisson's limit is not read.");
    else
        notes.push_back("AE = " + WithUnit(readouts.EquivalentAE, ForceUnitText(units)) + ", the " +
                        StiffnessSourceText(readouts.Stiffness) + ".");
    notes.push_back("Offset line: s = P L / AE + " + WithUnit(readouts.DavissonOffset, LengthUnitText(units)) +
                    (units == 2 ? " (3.8 mm + D/120)." : " (0.15 in + D/120)."));
    notes.push_back("10 % of the diameter: " + WithUnit(readouts.TenPercentSettlement, LengthUnitText(units)) + ".");
    if (readouts.Uplift)
        notes.push_back("Every computed head load is upward: the read-outs are magnitudes.");
    notes.push_back(
        "Values are interpolated between computed points, never extrapolated; a criterion "
        "beyond the computed curve needs larger tip movements.");
    return notes;
}
