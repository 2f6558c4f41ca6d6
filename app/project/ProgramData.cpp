#include "ProgramData.h"

namespace {

// Whether every row of the table holds 0 in the column.
bool AllZero(const TGridTable& table, int col = 0)
{
    for (int row = 0; row < table.RowCount(); ++row)
        if (table.GetData(col, row).AsFloat() != 0)
            return false;
    return true;
}

}  // namespace

TProgramData::TProgramData(TProjectTables& tables) : FTables(tables)
{
    // Puts every table back into English units, whatever the project before
    // left them in.
    SetUnits(UnitSystem::English);
    FTables.ForEach([](auto& table) {
        table.SetRowCount(0);
        table.SetRowCount(table.MinRows());
    });
    SetChanged(false);
}

void TProgramData::SetUnits(UnitSystem system)
{
    // A project is in English or SI units; the symbolic names are the tables' only.
    const UnitSystem code = system == UnitSystem::English ? UnitSystem::English : UnitSystem::SI;
    FTables.ForEach([code](auto& table) { table.SetUnits(code); });
    if (code != FUnits) {
        const long double length = code == UnitSystem::English ? InchesPerMetre : MetresPerInch;
        PileLength *= length;
        OuterDiameter *= length;
        Tolerance *= length;
        TipArea *= length * length;
    }
    if (code != FUnits)
        Modified = true;
    FUnits = code;
    if (OnUnitsChanged)
        OnUnitsChanged();
}

void TProgramData::SetSwitch(bool TProgramData::*option, bool on)
{
    this->*option = on;
    Modified = true;
    TGridTable& movements = FTables.TblTipMove;
    if (option != &TProgramData::UseTipMovements || !on || !AllZero(movements))
        return;
    const long double unit = FUnits == UnitSystem::English ? 1.0L : 0.0254L;
    movements.SetRowCount(static_cast<int>(DefaultTipMovementsInches.size()));
    for (int row = 0; row < movements.RowCount(); ++row)
        movements.GetData(0, row).SetFloat(DefaultTipMovementsInches[row] * unit);
}

void TProgramData::SetCurvesGenerated(bool generated)
{
    if (generated != CurvesGenerated)
        Modified = true;
    CurvesGenerated = generated;
}

TProgramData::TOptions TProgramData::Options() const
{
    return {CurvesGenerated, Downdrag,       UseTipMovements, UseHeadLoads,
            ApplyTzFactors,  ApplyQwFactors, QMultiplier,     WMultiplier};
}

void TProgramData::SetOptions(const TOptions& options)
{
    if (options == Options())
        return;
    CurvesGenerated = options.CurvesGenerated;
    Downdrag = options.Downdrag;
    UseTipMovements = options.UseTipMovements;
    UseHeadLoads = options.UseHeadLoads;
    ApplyTzFactors = options.ApplyTzFactors;
    ApplyQwFactors = options.ApplyQwFactors;
    QMultiplier = options.QMultiplier;
    WMultiplier = options.WMultiplier;
    Modified = true;
}

std::vector<std::string> TProgramData::RunWarnings() const
{
    std::vector<std::string> warnings;
    if (Downdrag && AllZero(FTables.TblSettlement2, 1))
        warnings.push_back(
            "\"Include Down-Drag\" is on, but every settlement of the Soil Settlement Profile is 0: "
            "the soil does not settle and down-drag changes nothing.");
    return warnings;
}

bool TProgramData::Changed() const
{
    bool changed = Modified;
    FTables.ForEach([&changed](auto& table) { changed = changed || table.Changed(); });
    return changed;
}

void TProgramData::SetChanged(bool changed)
{
    Modified = changed;
    if (!changed)
        FTables.ForEach([](auto& table) { table.SetChanged(false); });
}
