#include "LoadTest.h"

#include "ProgramData.h"
#include "UnitStrings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::optional<double> Number(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Unit names known in a header: a force or length in a unit system's own
// unit (lb or in, kN or m) is the value in the named unit times Base.
struct TUnitName {
    const char* Name;
    char Kind;       // 'F' force, 'L' length
    UnitSystem System;  // the unit system of the own unit
    double Base;
};
constexpr TUnitName UnitNames[] = {
    {"lb", 'F', UnitSystem::English, 1},     {"lbs", 'F', UnitSystem::English, 1},
    {"lbf", 'F', UnitSystem::English, 1},    {"kip", 'F', UnitSystem::English, 1000},
    {"kips", 'F', UnitSystem::English, 1000}, {"n", 'F', UnitSystem::SI, 0.001},
    {"kn", 'F', UnitSystem::SI, 1},          {"mn", 'F', UnitSystem::SI, 1000},
    {"in", 'L', UnitSystem::English, 1},     {"in.", 'L', UnitSystem::English, 1},
    {"inch", 'L', UnitSystem::English, 1},   {"inches", 'L', UnitSystem::English, 1},
    {"ft", 'L', UnitSystem::English, 12},    {"mm", 'L', UnitSystem::SI, 0.001},
    {"cm", 'L', UnitSystem::SI, 0.01},       {"m", 'L', UnitSystem::SI, 1},
};

// The known unit of that name and kind; null for none.
const TUnitName* KnownUnit(const std::string& unit, char kind)
{
    const std::string name = Lower(unit);
    for (const TUnitName& known : UnitNames)
        if (name == known.Name && known.Kind == kind)
            return &known;
    return nullptr;
}

enum class TCsvColumnKind { HeadLoad, HeadSettlement, ToeMovement, Gauge };

struct TCsvColumn {
    TCsvColumnKind Kind;
    double Factor = 1;
    double Depth = 0;  // of a gauge, in the project's units
};

// A header cell: "Gauge at 6.5 m (kN)" is the name "Gauge at 6.5 m" and the
// unit "kN", given in () or [].
struct THeaderCell {
    std::string Name;
    std::string Unit;
    // A gauge's depth and the unit after it: "6.5" and "m".
    std::string Depth;
    std::string DepthUnit;
};

THeaderCell SplitHeaderCell(std::string_view text)
{
    THeaderCell cell{std::string(Trim(text)), {}, {}, {}};
    const size_t open = cell.Name.find_first_of("([");
    if (open != std::string::npos) {
        const size_t close = cell.Name.find_first_of(")]", open);
        if (close == std::string::npos)
            throw ELoadTestError("the column \"" + cell.Name + "\" has an unclosed unit");
        cell.Unit = std::string(Trim(std::string_view(cell.Name).substr(open + 1, close - open - 1)));
        cell.Name = std::string(Trim(std::string_view(cell.Name).substr(0, open)));
    }
    if (Lower(cell.Name).rfind("gauge at ", 0) == 0) {
        std::istringstream depth(cell.Name.substr(9));
        depth >> cell.Depth >> cell.DepthUnit;
    }
    return cell;
}

// The columns of a header line, converted to unit system `units`: a unit
// named in the header from its own system, a value without one from
// `unitless`. Mixed() tells a header that names units of both systems.
class THeaderReader {
public:
    THeaderReader(UnitSystem units, UnitSystem unitless) : FUnits(units), FUnitless(unitless) {}

    TCsvColumn Column(std::string_view text)
    {
        const THeaderCell cell = SplitHeaderCell(text);
        const std::string lower = Lower(cell.Name);
        TCsvColumn column{TCsvColumnKind::HeadLoad};
        char kind = 'F';
        if (lower == "head load" || lower == "load") {
            column.Kind = TCsvColumnKind::HeadLoad;
        } else if (lower == "head settlement" || lower == "settlement") {
            column.Kind = TCsvColumnKind::HeadSettlement;
            kind = 'L';
        } else if (lower == "toe movement" || lower == "toe") {
            column.Kind = TCsvColumnKind::ToeMovement;
            kind = 'L';
        } else if (lower.rfind("gauge at ", 0) == 0) {
            column.Kind = TCsvColumnKind::Gauge;
            const std::optional<double> depth = Number(cell.Depth);
            const std::optional<double> factor = Factor(cell.DepthUnit, 'L');
            if (!depth || !factor)
                throw ELoadTestError("the column \"" + std::string(Trim(text)) +
                                     "\" does not give a gauge depth such as \"Gauge at 6.5 m\"");
            column.Depth = *depth * *factor;
        } else {
            throw ELoadTestError("the column \"" + std::string(Trim(text)) +
                                 "\" is not known (use Head load, Head settlement, Toe movement, Gauge at DEPTH)");
        }
        const std::optional<double> factor = Factor(cell.Unit, kind);
        if (!factor)
            throw ELoadTestError("the unit \"" + cell.Unit + "\" of the column \"" + cell.Name + "\" is not a " +
                                 (kind == 'F' ? "force (lb, kip, N, kN, MN)" : "length (in, ft, mm, cm, m)"));
        column.Factor = *factor;
        return column;
    }

    bool Mixed() const { return FNamed.size() > 1; }

private:
    // The factor from `unit` to the project's units; none for a unit name
    // not known or of the wrong kind.
    std::optional<double> Factor(const std::string& unit, char kind)
    {
        const std::string slot(1, kind);
        if (unit.empty())
            return static_cast<double>(ConversionFactor(FUnitless, FUnits, slot));
        const TUnitName* known = KnownUnit(unit, kind);
        if (!known)
            return std::nullopt;
        if (std::find(FNamed.begin(), FNamed.end(), known->System) == FNamed.end())
            FNamed.push_back(known->System);
        return known->Base * static_cast<double>(ConversionFactor(known->System, FUnits, slot));
    }

    UnitSystem FUnits;
    UnitSystem FUnitless;
    std::vector<UnitSystem> FNamed;
};

// Inserts a gauge depth into the increasing list, once.
void AddGaugeDepth(std::vector<double>& depths, double depth)
{
    const auto at = std::lower_bound(depths.begin(), depths.end(), depth);
    if (at == depths.end() || *at != depth)
        depths.insert(at, depth);
}

// Calls `take(number, line)` for each line that is neither blank nor a
// comment, until it returns false.
template <class Take>
void ForEachLine(std::string_view text, Take take)
{
    int lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (Trim(line).empty() || Trim(line).front() == '#')
            continue;
        if (!take(lineNumber, line))
            return;
    }
}

std::vector<std::string_view> SplitCells(std::string_view line)
{
    std::vector<std::string_view> cells;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i)
        if (i == line.size() || line[i] == ',' || line[i] == ';' || line[i] == '\t') {
            cells.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    return cells;
}

}  // namespace

void TLoadTest::SetUnits(UnitSystem units)
{
    if (units == Units)
        return;
    const double force = static_cast<double>(ConversionFactor(Units, units, "F"));
    const double length = static_cast<double>(ConversionFactor(Units, units, "L"));
    for (TLoadTestPoint& point : Points) {
        point.HeadLoad *= force;
        point.HeadSettlement *= length;
        if (point.ToeMovement)
            *point.ToeMovement *= length;
        for (TGaugeReading& gauge : point.Gauges) {
            gauge.Depth *= length;
            gauge.Load *= force;
        }
    }
    for (double& depth : GaugeDepths)
        depth *= length;
    Units = units;
}

bool TLoadTest::HasGauges() const
{
    return std::any_of(Points.begin(), Points.end(), [](const TLoadTestPoint& p) { return !p.Gauges.empty(); });
}

std::vector<double> TLoadTest::AllGaugeDepths() const
{
    std::vector<double> depths = GaugeDepths;
    for (const TLoadTestPoint& point : Points)
        for (const TGaugeReading& gauge : point.Gauges)
            AddGaugeDepth(depths, gauge.Depth);
    return depths;
}

bool TLoadTest::HasToeMovements() const
{
    return std::any_of(Points.begin(), Points.end(), [](const TLoadTestPoint& p) { return p.ToeMovement.has_value(); });
}

void TLoadTest::Check() const
{
    if (Points.size() < 3)
        throw ELoadTestError("a load test needs at least 3 points of head load and settlement; it has " +
                             std::to_string(Points.size()));
    for (size_t i = 0; i < Points.size(); ++i) {
        if (!(Points[i].HeadLoad > 0))
            throw ELoadTestError("point " + std::to_string(i + 1) + ": the head load must be above 0");
        for (size_t j = 0; j < i; ++j)
            if (Points[j].HeadLoad == Points[i].HeadLoad)
                throw ELoadTestError("points " + std::to_string(j + 1) + " and " + std::to_string(i + 1) +
                                     " have the same head load; give one settlement per load");
    }
}

TLoadTest ReadLoadTestCsv(std::string_view text, UnitSystem units, std::optional<UnitSystem> unitless)
{
    TLoadTest test;
    test.Units = units;
    THeaderReader header(units, unitless.value_or(units));
    std::vector<TCsvColumn> columns;
    ForEachLine(text, [&](int lineNumber, std::string_view line) {
        const auto refuse = [&](const std::string& why) {
            throw ELoadTestError("line " + std::to_string(lineNumber) + ": " + why + ": \"" + std::string(line) +
                                 "\"");
        };
        const std::vector<std::string_view> cells = SplitCells(line);
        if (columns.empty()) {
            try {
                for (std::string_view cell : cells)
                    columns.push_back(header.Column(cell));
            } catch (const ELoadTestError& error) {
                refuse(error.what());
            }
            if (header.Mixed())
                refuse(
                    "the header names units of both the English and the SI system; give every column a unit of "
                    "one system (lb, kip, in, ft or N, kN, MN, mm, cm, m)");
            const auto has = [&](TCsvColumnKind kind) {
                return std::any_of(columns.begin(), columns.end(), [kind](const TCsvColumn& c) { return c.Kind == kind; });
            };
            if (!has(TCsvColumnKind::HeadLoad) || !has(TCsvColumnKind::HeadSettlement))
                refuse("the header must name the columns \"Head load\" and \"Head settlement\"");
            for (const TCsvColumn& column : columns)
                if (column.Kind == TCsvColumnKind::Gauge) {
                    if (std::count(test.GaugeDepths.begin(), test.GaugeDepths.end(), column.Depth) != 0)
                        refuse("two columns are gauges at the same depth");
                    AddGaugeDepth(test.GaugeDepths, column.Depth);
                }
            return true;
        }
        if (cells.size() > columns.size())
            refuse("more cells than the header names");
        TLoadTestPoint point;
        bool hasLoad = false, hasSettlement = false;
        for (size_t c = 0; c < cells.size(); ++c) {
            if (Trim(cells[c]).empty())
                continue;
            const std::optional<double> value = Number(cells[c]);
            if (!value)
                refuse("\"" + std::string(Trim(cells[c])) + "\" is not a number");
            const double converted = *value * columns[c].Factor;
            switch (columns[c].Kind) {
            case TCsvColumnKind::HeadLoad:
                point.HeadLoad = converted;
                hasLoad = true;
                break;
            case TCsvColumnKind::HeadSettlement:
                point.HeadSettlement = converted;
                hasSettlement = true;
                break;
            case TCsvColumnKind::ToeMovement:
                point.ToeMovement = converted;
                break;
            case TCsvColumnKind::Gauge:
                point.Gauges.push_back({columns[c].Depth, converted});
                break;
            }
        }
        if (!hasLoad || !hasSettlement)
            refuse("a head load and a head settlement are needed on every line");
        test.Points.push_back(std::move(point));
        return true;
    });
    if (columns.empty())
        throw ELoadTestError("the file holds no header line");
    test.Check();
    return test;
}

std::vector<std::string> LoadTestColumnsWithoutUnits(std::string_view text)
{
    std::vector<std::string> names;
    ForEachLine(text, [&](int, std::string_view line) {
        try {
            for (std::string_view column : SplitCells(line)) {
                const THeaderCell cell = SplitHeaderCell(column);
                if (cell.Unit.empty() || (!cell.Depth.empty() && cell.DepthUnit.empty()))
                    names.push_back(cell.Name);
            }
        } catch (const ELoadTestError&) {
            names.clear();
        }
        return false;  // the header only
    });
    return names;
}

TLoadTest ReadLoadTestCsvFile(const std::string& fileName, UnitSystem units)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw ELoadTestError(fileName + ": cannot be opened");
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return ReadLoadTestCsv(text.str(), units);
    } catch (const ELoadTestError& error) {
        throw ELoadTestError(fileName + ": " + error.what());
    }
}

nlohmann::json LoadTestJson(const TLoadTest& test)
{
    nlohmann::json points = nlohmann::json::array();
    for (const TLoadTestPoint& point : test.Points) {
        nlohmann::json row = {{"headLoad", point.HeadLoad}, {"headSettlement", point.HeadSettlement}};
        if (point.ToeMovement)
            row["toeMovement"] = *point.ToeMovement;
        for (const TGaugeReading& gauge : point.Gauges)
            row["gauges"].push_back({{"depth", gauge.Depth}, {"load", gauge.Load}});
        points.push_back(std::move(row));
    }
    nlohmann::json section = {{"units", test.Units == UnitSystem::SI ? "SI" : "English"},
                              {"points", std::move(points)}};
    if (const std::vector<double> depths = test.AllGaugeDepths(); !depths.empty())
        section["gaugeDepths"] = depths;
    return section;
}

TLoadTest LoadTestFromJson(const nlohmann::json& section)
{
    TLoadTest test;
    try {
        const std::string units = section.at("units").get<std::string>();
        if (units != "SI" && units != "English")
            throw ELoadTestError("the load test's units must be \"English\" or \"SI\", not \"" + units + "\"");
        test.Units = units == "SI" ? UnitSystem::SI : UnitSystem::English;
        for (const nlohmann::json& row : section.at("points")) {
            TLoadTestPoint point;
            point.HeadLoad = row.at("headLoad").get<double>();
            point.HeadSettlement = row.at("headSettlement").get<double>();
            if (row.contains("toeMovement"))
                point.ToeMovement = row.at("toeMovement").get<double>();
            if (row.contains("gauges"))
                for (const nlohmann::json& gauge : row.at("gauges")) {
                    point.Gauges.push_back({gauge.at("depth").get<double>(), gauge.at("load").get<double>()});
                    AddGaugeDepth(test.GaugeDepths, point.Gauges.back().Depth);
                }
            test.Points.push_back(std::move(point));
        }
        if (section.contains("gaugeDepths"))
            for (const nlohmann::json& depth : section.at("gaugeDepths"))
                AddGaugeDepth(test.GaugeDepths, depth.get<double>());
    } catch (const nlohmann::json::exception& error) {
        throw ELoadTestError(std::string("the load test section cannot be read: ") + error.what());
    }
    test.Check();
    return test;
}

std::optional<TLoadTest> ProjectLoadTest(const TProgramData& project)
{
    const nlohmann::json section = project.Extras.Section(LoadTestSection);
    if (section.empty())
        return std::nullopt;
    TLoadTest test = LoadTestFromJson(section);
    test.SetUnits(project.Units());
    return test;
}

void SetProjectLoadTest(TProgramData& project, const TLoadTest& test)
{
    project.Extras.SetSection(LoadTestSection, test.Points.empty() ? nlohmann::json::object() : LoadTestJson(test));
    project.SetChanged(true);
}
