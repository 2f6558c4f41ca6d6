#include "CptRecord.h"

#include <cstdio>

namespace cpt {

namespace {

const char* ClassName(TSoilClass cls) { return cls == TSoilClass::Sand ? "sand" : "clay"; }

// Reads `key` of `from` into `to` when present; a member of the wrong type
// is refused.
template <class T>
void Take(const nlohmann::json& from, const char* key, T& to)
{
    const auto at = from.find(key);
    if (at == from.end())
        return;
    try {
        to = at->get<T>();
    } catch (const nlohmann::json::exception&) {
        throw ECptError(std::string("the CPT record's member \"") + key + "\" has the wrong type");
    }
}

template <class E>
void TakeChoice(const nlohmann::json& from, const char* key, E& to, const std::vector<std::pair<std::string, E>>& names)
{
    std::string name;
    Take(from, key, name);
    if (name.empty())
        return;
    for (const auto& [text, value] : names)
        if (text == name) {
            to = value;
            return;
        }
    throw ECptError(std::string("the CPT record's member \"") + key + "\" is not one of its choices");
}

const std::vector<std::pair<std::string, TSoilClass>> ClassNames = {{"sand", TSoilClass::Sand},
                                                                    {"clay", TSoilClass::Clay}};

}  // namespace

std::string SoundingChecksum(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

nlohmann::json CptSection(const TCptRecord& r)
{
    const TCptSettings& s = r.Settings;
    nlohmann::json weights = nlohmann::json::array();
    for (const TUnitWeightRange& w : s.UnitWeights)
        weights.push_back({{"bottom_m", w.Bottom}, {"unit_weight_kN_m3", w.UnitWeight}});
    nlohmann::json overrides = nlohmann::json::array();
    for (const TClassOverride& o : s.Overrides)
        overrides.push_back({{"top_m", o.Top}, {"bottom_m", o.Bottom}, {"class", ClassName(o.Class)}});
    return {
        {"sounding", {{"path", r.SoundingPath}, {"test", r.Test}, {"checksum", r.Checksum}}},
        {"pile", {{"end", r.End == TPileEnd::Open ? "open" : "closed"},
                  {"wall_thickness_m", r.WallThickness},
                  {"plug_length_ratio", r.PlugLengthRatio}}},
        {"method", s.Method == TMethodChoice::Sand   ? "sand"
                   : s.Method == TMethodChoice::Clay ? "clay"
                                                     : "auto"},
        {"direction", s.Direction == TLoadDirection::Tension ? "tension" : "compression"},
        {"unit_weights", weights},
        {"default_unit_weight_kN_m3", s.DefaultUnitWeight},
        {"water_table_m", s.WaterTable},
        {"water_unit_weight_kN_m3", s.WaterUnitWeight},
        {"net_area_ratio", s.NetAreaRatio},
        {"default_net_area_ratio", s.DefaultNetAreaRatio},
        {"atmospheric_pressure_kPa", s.AtmosphericPressure},
        {"interface_angle_deg", s.Sand.InterfaceAngle},
        {"tension_ratio", s.Sand.TensionRatio},
        {"cone_diameter_m", s.Sand.ConeDiameter},
        {"stiffness_compression", s.StiffnessCompression},
        {"stiffness_tension", s.StiffnessTension},
        {"sensitive_clay_factor", s.SensitiveClayFactor},
        {"residual_ratio", s.ResidualRatio},
        {"clay_shaft_coefficient", s.ClayShaftCoefficient},
        {"clay_base_intercept", s.ClayBaseIntercept},
        {"clay_base_slope", s.ClayBaseSlope},
        {"sand_clay_boundary_ic", s.SandClayBoundary},
        {"minimum_zone_thickness_m", s.MinimumZoneThickness},
        {"overrides", overrides},
        {"base_window_diameters", s.BaseWindow},
        {"max_curve_length_m", s.MaxCurveLength},
        {"step_m", s.Step},
        {"curve_depths_m", r.CurveDepths},
    };
}

TCptRecord CptRecordFromSection(const nlohmann::json& section)
{
    if (!section.is_object())
        throw ECptError("the CPT record is not a JSON object");
    TCptRecord r;
    TCptSettings& s = r.Settings;
    const nlohmann::json none = nlohmann::json::object();
    const auto object = [&](const char* key) -> const nlohmann::json& {
        const auto at = section.find(key);
        if (at == section.end())
            return none;
        if (!at->is_object())
            throw ECptError(std::string("the CPT record's member \"") + key + "\" has the wrong type");
        return *at;
    };
    const nlohmann::json& sounding = object("sounding");
    Take(sounding, "path", r.SoundingPath);
    Take(sounding, "test", r.Test);
    Take(sounding, "checksum", r.Checksum);
    const nlohmann::json& pile = object("pile");
    TakeChoice<TPileEnd>(pile, "end", r.End, {{"closed", TPileEnd::Closed}, {"open", TPileEnd::Open}});
    Take(pile, "wall_thickness_m", r.WallThickness);
    Take(pile, "plug_length_ratio", r.PlugLengthRatio);
    TakeChoice<TMethodChoice>(section, "method", s.Method,
                              {{"auto", TMethodChoice::ByBehaviourType},
                               {"sand", TMethodChoice::Sand},
                               {"clay", TMethodChoice::Clay}});
    TakeChoice<TLoadDirection>(section, "direction", s.Direction,
                               {{"compression", TLoadDirection::Compression}, {"tension", TLoadDirection::Tension}});
    nlohmann::json list = nlohmann::json::array();
    Take(section, "unit_weights", list);
    for (const nlohmann::json& w : list) {
        TUnitWeightRange range;
        if (!w.is_object())
            throw ECptError("the CPT record's unit weights are not objects");
        Take(w, "bottom_m", range.Bottom);
        Take(w, "unit_weight_kN_m3", range.UnitWeight);
        s.UnitWeights.push_back(range);
    }
    Take(section, "default_unit_weight_kN_m3", s.DefaultUnitWeight);
    Take(section, "water_table_m", s.WaterTable);
    Take(section, "water_unit_weight_kN_m3", s.WaterUnitWeight);
    Take(section, "net_area_ratio", s.NetAreaRatio);
    Take(section, "default_net_area_ratio", s.DefaultNetAreaRatio);
    Take(section, "atmospheric_pressure_kPa", s.AtmosphericPressure);
    Take(section, "interface_angle_deg", s.Sand.InterfaceAngle);
    Take(section, "tension_ratio", s.Sand.TensionRatio);
    Take(section, "cone_diameter_m", s.Sand.ConeDiameter);
    Take(section, "stiffness_compression", s.StiffnessCompression);
    Take(section, "stiffness_tension", s.StiffnessTension);
    Take(section, "sensitive_clay_factor", s.SensitiveClayFactor);
    Take(section, "residual_ratio", s.ResidualRatio);
    Take(section, "clay_shaft_coefficient", s.ClayShaftCoefficient);
    Take(section, "clay_base_intercept", s.ClayBaseIntercept);
    Take(section, "clay_base_slope", s.ClayBaseSlope);
    Take(section, "sand_clay_boundary_ic", s.SandClayBoundary);
    Take(section, "minimum_zone_thickness_m", s.MinimumZoneThickness);
    list = nlohmann::json::array();
    Take(section, "overrides", list);
    for (const nlohmann::json& o : list) {
        TClassOverride override;
        if (!o.is_object())
            throw ECptError("the CPT record's overrides are not objects");
        Take(o, "top_m", override.Top);
        Take(o, "bottom_m", override.Bottom);
        TakeChoice<TSoilClass>(o, "class", override.Class, ClassNames);
        s.Overrides.push_back(override);
    }
    Take(section, "base_window_diameters", s.BaseWindow);
    Take(section, "max_curve_length_m", s.MaxCurveLength);
    Take(section, "step_m", s.Step);
    Take(section, "curve_depths_m", r.CurveDepths);
    return r;
}

std::optional<TCptRecord> RecordOfProject(const TProgramData& project)
{
    const nlohmann::json section = project.Extras.Section(CptSectionName);
    if (section.empty())
        return std::nullopt;
    return CptRecordFromSection(section);
}

void SetRecordOfProject(TProgramData& project, const TCptRecord& record)
{
    project.Extras.SetSection(CptSectionName, CptSection(record));
    project.SetChanged(true);
}

void WriteDesign(TProgramData& project, const TCptDesign& design, const TCptRecord& record)
{
    WriteCurves(project, design);
    SetRecordOfProject(project, record);
}

}  // namespace cpt
