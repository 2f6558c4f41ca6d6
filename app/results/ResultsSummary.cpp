#include "ResultsSummary.h"

#include "ProgramData.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int SignificantDigits = 4;
constexpr const char* NotReached = "not reached";
constexpr const char* NotApplicable = "not applicable";
constexpr const char* HeldCriterion = "    with the tip load held at the Q-w curve's last value";

std::string WithUnit(double value, const std::string& unit) { return QuantityText(value) + " " + unit; }

TSummaryRow PointRow(const std::string& criterion, const TReadPoint& point, UnitSystem units)
{
    if (!point.Reached)
        return {criterion, NotReached, ""};
    return {criterion, WithUnit(point.Load, ForceUnitText(units)), WithUnit(point.Settlement, LengthUnitText(units))};
}

void AddReadoutRows(std::vector<TSummaryRow>& rows, const std::string& criterion, const TReadout& readout, UnitSystem units)
{
    if (readout.NotApplicable != TNotApplicable::No) {
        rows.push_back({criterion, NotApplicable, ""});
        return;
    }
    rows.push_back(PointRow(criterion + (readout.UsesRowsBeyondQw ? ", as computed" : ""), readout, units));
    if (readout.UsesRowsBeyondQw)
        rows.push_back(PointRow(HeldCriterion, readout.Held, units));
}

const char* const TenPercentCriterion = "Head load at a settlement of 10 % of the diameter";
const char* const DavissonCriterion = "Davisson's offset limit";
const char* const LargestCriterion = "Largest computed head load";

// The flagged rows by their numbers (from 1) with the verb that follows:
// "load-settlement row 9 lies", "pile-head load cases 2 and 5 lie".
std::string FlaggedRows(const std::string& noun, const std::vector<TRowFlag>& flags, TRowFlag flag)
{
    std::vector<std::string> numbers;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (flags[i] == flag)
            numbers.push_back(std::to_string(i + 1));
    std::string list = noun + (numbers.size() > 1 ? "s" : "");
    for (std::size_t i = 0; i < numbers.size(); ++i)
        list += (i == 0 ? " " : i + 1 == numbers.size() ? " and " : ", ") + numbers[i];
    return list + (numbers.size() > 1 ? " lie" : " lies");
}

bool Any(const std::vector<TRowFlag>& flags, TRowFlag flag)
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

}  // namespace

TPileForReadouts PileForReadouts(const TProgramData& project)
{
    TPileForReadouts pile;
    pile.Units = project.Units();
    pile.Length = static_cast<double>(project.PileLength);
    pile.Diameter = static_cast<double>(project.OuterDiameter);
    pile.Downdrag = project.Downdrag;
    const TGridTable& ae = project.Tables().TblAE2;
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

std::string NotApplicableText(const TReadout& readout, UnitSystem units)
{
    switch (readout.NotApplicable) {
    case TNotApplicable::NoCompressiveLoad: return "no computed head load is compressive";
    case TNotApplicable::MetAtZeroLoad:
        return "already met at zero head load (the head settles " +
               WithUnit(readout.Settlement, LengthUnitText(units)) + " under down-drag before it carries any load)";
    case TNotApplicable::No: break;
    }
    return {};
}

std::vector<TSummaryRow> SummaryRows(const TCapacityReadouts& readouts, const TPileForReadouts& pile)
{
    const UnitSystem units = pile.Units;
    std::vector<TSummaryRow> rows;
    AddReadoutRows(rows, TenPercentCriterion, readouts.TenPercentDiameter, units);
    AddReadoutRows(rows, DavissonCriterion, readouts.Davisson, units);
    AddReadoutRows(rows, LargestCriterion, readouts.Largest, units);
    for (std::size_t i = 0; i < readouts.NeutralPlanes.size(); ++i) {
        const TNeutralPlane& plane = readouts.NeutralPlanes[i];
        rows.push_back({"Tip movement " + std::to_string(i + 1) + ": neutral plane at " +
                            WithUnit(plane.Depth, LengthUnitText(units)),
                        "drag load " + WithUnit(plane.DragLoad, ForceUnitText(units)), ""});
    }
    return rows;
}

std::vector<TSummaryRow> LoadCaseRows(const TPlotData& data, const TCapacityReadouts& readouts)
{
    std::vector<TSummaryRow> rows;
    for (std::size_t i = 0; i < data.LoadCases.size(); ++i) {
        const TLoadSettlementRow& loadCase = data.LoadCases[i];
        const TRowFlag flag = i < readouts.CaseFlags.size() ? readouts.CaseFlags[i] : TRowFlag::None;
        TSummaryRow row{"Pile-head load case " + std::to_string(i + 1),
                        WithUnit(loadCase.TopLoad, ForceUnitText(data.Units)), RowFlagText(flag)};
        if (flag != TRowFlag::BeyondCurve) {
            row.Settlement = WithUnit(loadCase.TopMovement, LengthUnitText(data.Units));
            if (flag != TRowFlag::None)
                row.Criterion += " (" + RowFlagText(flag) + ")";
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> SummaryNotes(const TCapacityReadouts& readouts, const TPileForReadouts& pile)
{
    const UnitSystem units = pile.Units;
    std::vector<std::string> notes;
    for (const auto& [criterion, readout] : {std::pair{TenPercentCriterion, &readouts.TenPercentDiameter},
                                             std::pair{DavissonCriterion, &readouts.Davisson},
                                             std::pair{LargestCriterion, &readouts.Largest}})
        if (readout->NotApplicable != TNotApplicable::No)
            notes.push_back(std::string(criterion) + ": not applicable, " + NotApplicableText(*readout, units) + ".");
    if (Any(readouts.RowFlags, TRowFlag::TipBeyondQw))
        notes.push_back("The tip movement of " + FlaggedRows("load-settlement row", readouts.RowFlags, TRowFlag::TipBeyondQw) +
                        " beyond the Q-w curve (last point " +
                        WithUnit(readouts.QwLastLoad, ForceUnitText(units)) + " at " +
                        WithUnit(readouts.QwLastMovement, LengthUnitText(units)) +
                        "): the engine extrapolated their tip loads. Read-outs through these rows are also given "
                        "with the tip load held at the curve's last value (the head load less the extrapolated "
                        "part of the tip load, settlements as computed).");
    if (Any(readouts.CaseFlags, TRowFlag::BeyondCurve))
        notes.push_back(FlaggedRows("Pile-head load case", readouts.CaseFlags, TRowFlag::BeyondCurve) +
                        " beyond the computed curve: the engine's numbers for such a case are no results. "
                        "Add larger tip movements to reach it.");
    if (Any(readouts.CaseFlags, TRowFlag::TipBeyondQw))
        notes.push_back("The tip movement of " +
                        FlaggedRows("pile-head load case", readouts.CaseFlags, TRowFlag::TipBeyondQw) +
                        " beyond the Q-w curve: the engine extrapolated the tip load.");
    if (readouts.Stiffness == TStiffnessSource::Unavailable)
        notes.push_back("AE: " + StiffnessSourceText(readouts.Stiffness) + "; Davisson's limit is not read.");
    else
        notes.push_back("AE = " + WithUnit(readouts.EquivalentAE, ForceUnitText(units)) + ", the " +
                        StiffnessSourceText(readouts.Stiffness) + ".");
    notes.push_back("Offset line: s = P L / AE + " + WithUnit(readouts.DavissonOffset, LengthUnitText(units)) +
                    (units == UnitSystem::SI ? " (3.8 mm + D/120)." : " (0.15 in + D/120)."));
    notes.push_back("10 % of the diameter: " + WithUnit(readouts.TenPercentSettlement, LengthUnitText(units)) + ".");
    if (readouts.Uplift)
        notes.push_back("Every computed head load is upward: the read-outs are magnitudes.");
    notes.push_back(
        "Values are interpolated between computed points, never beyond them, and read on the compressive "
        "branch of the curve only; a criterion beyond the computed curve needs larger tip movements.");
    return notes;
}
