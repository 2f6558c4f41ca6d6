#include "ProgramData.h"

#include <algorithm>

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

void TProgramData::SetUnits(int32_t code)
{
    code = std::clamp(code, UnitSystem::English, UnitSystem::SI);
    FTables.ForEach([code](auto& table) { table.SetUnits(code); });
    if (code != FUnits) {
        const long double length = code == UnitSystem::English ? InchesPerMetre : MetresPerInch;
        PileLength *= length;
        OuterDiameter *= length;
        Tolerance *= length;
        TipArea *= length * length;
    }
    FUnits = code;
    if (OnUnitsChanged)
        OnUnitsChanged();
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
