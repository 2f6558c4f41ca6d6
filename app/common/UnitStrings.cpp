#include "UnitStrings.h"

#include <cmath>
#include <string_view>

namespace {

struct TUnitSlot {
    std::string_view Token;     // as written in unit strings ("F" is slot F0)
    std::string_view Names[3];  // English, SI, symbolic
    long double Factor;         // English units in one SI unit
};

// Slot order F0, F1, F2, L0, L1, L2, F4, F5, L3, F6; the chart tables know
// the first six only.
constexpr TUnitSlot Slots[] = {
    {"F", {"lbs", "kN", "F"}, 224.8089237L},
    {"F1", {"kips", "kN", "F"}, 0.2248089237L},
    {"F2", {"tons", "kN", "F"}, 0.1124044745L},
    {"L", {"in", "m", "L"}, 39.37007874L},
    {"L1", {"in", "mm", "L"}, 0.03937007874L},
    {"L2", {"ft", "m", "L"}, 3.280839895L},
    {"F4", {"lb-sec2/in", "Mg", "M"}, 5.7101483L},
    {"F5", {"sec", "sec", "T"}, 1.0L},
    {"L3", {"rad", "rad", "L"}, 1.0L},
    {"F6", {"slug", "Mg", "F"}, 68.364249L},
};

// A family of slots: which digits may follow "F" and "L", and the order in
// which tokens are replaced when expanding (two-character tokens before the
// bare letter, so that "F2" is not read as "F" followed by 2; "F0" and "L0"
// name the same slots as "F" and "L", as they do for the factor). With
// `OneTokenPerLetter` only the first token of each letter found in the text
// is expanded (the graph axes' rule).
struct TUnitFamily {
    std::string_view ForceDigits;
    std::string_view LengthDigits;
    std::string_view ExpandOrder[12];
    int ExpandCount;
    bool OneTokenPerLetter;
};

constexpr TUnitFamily TableFamily{
    "012456", "0123", {"F2", "F1", "F4", "F5", "F6", "F0", "F", "L3", "L2", "L1", "L0", "L"}, 12, false};
constexpr TUnitFamily ChartFamily{"012", "012", {"F2", "F1", "F0", "F", "L2", "L1", "L0", "L"}, 8, false};
constexpr TUnitFamily PlotFamily{"012", "012", {"F2", "F1", "F0", "F", "L2", "L1", "L0", "L"}, 8, true};

const TUnitSlot& SlotOf(char letter, char digit)
{
    std::string token(1, letter);
    if (digit != '0')
        token += digit;
    for (const TUnitSlot& slot : Slots)
        if (slot.Token == token)
            return slot;
    return Slots[0];  // not reached: callers pass only digits of the family
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Factor of one side of a unit string: an optional force part ("F", a slot
// digit, "^" and a one-digit power), one separator character, then an
// optional length part ("L", a slot digit, an operator and a one-digit power).
long double SideFactor(std::string_view side, const TUnitFamily& family)
{
    long double factor = 1.0L;
    std::size_t pos = 0;
    if (pos < side.size() && side[pos] == 'F') {
        ++pos;
        char digit = '0';
        if (pos < side.size() && family.ForceDigits.find(side[pos]) != std::string_view::npos)
            digit = side[pos++];
        int power = 1;
        if (pos + 1 < side.size() && side[pos] == '^' && IsDigit(side[pos + 1])) {
            power = side[pos + 1] - '0';
            pos += 2;
        }
        factor *= std::pow(SlotOf('F', digit).Factor, static_cast<long double>(power));
        ++pos;  // the separator between force and length
    }
    if (pos < side.size() && side[pos] == 'L') {
        std::string part(side.substr(pos));
        char digit = '0';
        if (part.size() > 1 && family.LengthDigits.find(part[1]) != std::string_view::npos)
            digit = part[1];
        else
            part.insert(1, 1, '0');
        // Once the slot digit is in place the power is the fourth character:
        // "L0^2" and "L2^2" carry 2, "L0" and "L2" carry 1.
        const int power = part.size() > 3 && IsDigit(part[3]) ? part[3] - '0' : 1;
        factor *= std::pow(SlotOf('L', digit).Factor, static_cast<long double>(power));
    }
    return factor;
}

long double FamilyConversionFactor(UnitSystem from, UnitSystem to, const std::string& units, const TUnitFamily& family)
{
    const std::string_view text(units);
    const std::size_t slash = text.find('/');
    const std::string_view numerator = text.substr(0, slash);
    const std::string_view denominator = slash == std::string_view::npos ? std::string_view() : text.substr(slash + 1);
    const long double ratio = SideFactor(numerator, family) / SideFactor(denominator, family);
    if (from == UnitSystem::SI && to == UnitSystem::English)
        return ratio;
    if (from == UnitSystem::English && to == UnitSystem::SI)
        return 1.0L / ratio;
    return 1.0L;
}

std::string FamilyExpandUnits(const std::string& units, UnitSystem system, const TUnitFamily& family)
{
        std::string text = units;
    char expandedLetter = 0;
    for (int i = 0; i < family.ExpandCount; ++i) {
        const std::string_view token = family.ExpandOrder[i];
        if (family.OneTokenPerLetter && token[0] == expandedLetter)
            continue;
        const TUnitSlot& slot = SlotOf(token[0], token.size() > 1 ? token[1] : '0');
        const std::string_view name = slot.Names[UnitSystemCode(system) - 1];
        // Continue after each inserted name: symbolic names are tokens again.
        for (std::size_t pos = text.find(token); pos != std::string::npos; pos = text.find(token, pos + name.size())) {
            text.replace(pos, token.size(), name);
            expandedLetter = token[0];
        }
    }
    return text;
}

}  // namespace

long double ConversionFactor(UnitSystem from, UnitSystem to, const std::string& units)
{
    return FamilyConversionFactor(from, to, units, TableFamily);
}

std::string ExpandUnits(const std::string& units, UnitSystem system) { return FamilyExpandUnits(units, system, TableFamily); }

long double ChartConversionFactor(UnitSystem from, UnitSystem to, const std::string& units)
{
    return FamilyConversionFactor(from, to, units, ChartFamily);
}

std::string ExpandChartUnits(const std::string& units, UnitSystem system)
{
    return FamilyExpandUnits(units, system, ChartFamily);
}

std::string ExpandPlotUnits(const std::string& units, UnitSystem system)
{
    if (system != UnitSystem::English && system != UnitSystem::SI)
        return units;
    return FamilyExpandUnits(units, system, PlotFamily);
}

std::string UnitSystemText(UnitSystem system)
{
    return system == UnitSystem::SI ? "S.I. units (kN, m)" : "English units (lb, in)";
}
