// korven-cpt: t-z and Q-w curves for a project's pile from a CPT sounding,
// by the unified CPT-based methods; prints a JSON summary and, with -o,
// writes the project with the curves as its user curves.
#include "CptRecord.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

using namespace cpt;

namespace {

constexpr const char* Usage =
    "usage: korven-cpt SOUNDING PROJECT.kv3d [--method auto|sand|clay] [-o NEW.kv3d] [options]\n"
    "       korven-cpt --again PROJECT.kv3d [-o NEW.kv3d] [--profile FILE]\n";
constexpr const char* Help =
    "Derives t-z curves and the Q-w curve of the project's pile (its length and\n"
    "outer diameter) from a cone penetration sounding (.gef, .ags, or CSV with a\n"
    "header such as depth_m,qc_MPa,fs_kPa,u2_kPa) and prints a JSON summary.\n"
    "Nothing is written without -o. The written project keeps the sounding (its\n"
    "path and a checksum), the pile's end and every setting in its extras file\n"
    "(.kv3x), so --again makes the curves anew after the pile has changed; it\n"
    "refuses a sounding that has changed since.\n"
    "\n"
    "  --method auto|sand|clay   by soil behaviour type per depth (auto, default)\n"
    "                            or one method for the whole pile\n"
    "  -o FILE                   write the project with the curves to FILE\n"
    "  --profile FILE            write the profile (stresses, I_c, class, tau_f\n"
    "                            per 0.02 m) as CSV to FILE\n"
    "  --test ID                 the test of an AGS4 file with several\n"
    "  --end closed|open         the pile's end (default closed)\n"
    "  --wall-thickness T        wall of an open pipe, m\n"
    "  --plug-length-ratio R     measured PLR (default: estimated)\n"
    "  --tension                 curves for uplift (tension branch)\n"
    "  --water-table Z           m below the sounding's zero (default 0)\n"
    "  --unit-weight G           total unit weight, kN/m^3, below the ranges\n"
    "                            (default 19)\n"
    "  --unit-weights B:G,...    total unit weight G down to depth B, m\n"
    "                            (default: from the project's soil layers)\n"
    "  --net-area-ratio A        cone net area ratio (default: the file's, else 0.8)\n"
    "  --interface-angle DEG     sand interface friction angle (default 29)\n"
    "  --max-curve-length M      longest length of shaft per t-z curve (default 1)\n"
    "  --override TOP:BOTTOM:sand|clay   soil class over a depth range, m\n"
    "  --curve-depths Z,...      depths of the t-z curves, m, from 0 down\n"
    "                            (default: the proposed depths in the summary)\n"
    "  --help                    show this text\n"
    "\n"
    "Exit code: 0 done, 1 a sounding, project or design that cannot be used,\n"
    "2 a usage error.\n";

[[noreturn]] void UsageError(const std::string& message)
{
    std::cerr << "korven-cpt: " << message << "\n" << Usage;
    std::exit(2);
}

double Number(const std::string& option, const std::string& text)
{
    const double value = sounding_detail::ParseNumber(text);
    if (!HasValue(value))
        UsageError(option + " needs a number, not '" + text + "'");
    return value;
}

const char* ClassName(TSoilClass cls) { return cls == TSoilClass::Sand ? "sand" : "clay"; }

TClassOverride Override(const std::string& text)
{
    const std::size_t first = text.find(':');
    const std::size_t second = text.find(':', first == std::string::npos ? first : first + 1);
    if (second == std::string::npos)
        UsageError("--override needs TOP:BOTTOM:sand or TOP:BOTTOM:clay");
    const std::string cls = text.substr(second + 1);
    if (cls != "sand" && cls != "clay")
        UsageError("--override needs TOP:BOTTOM:sand or TOP:BOTTOM:clay");
    return {Number("--override", text.substr(0, first)), Number("--override", text.substr(first + 1, second - first - 1)),
            cls == "sand" ? TSoilClass::Sand : TSoilClass::Clay};
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos)
            return items;
        start = comma + 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> files;
    std::string output, profileFile;
    TCptRecord record;
    TCptSettings& settings = record.Settings;
    bool unitWeightsGiven = false;
    bool again = false;
    int settingOptions = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                UsageError(arg + " needs a value");
            return argv[++i];
        };
        settingOptions += arg != "-o" && arg != "--profile" && arg != "--again" && !arg.empty() && arg[0] == '-';
        if (arg == "--help" || arg == "-h") {
            std::cout << Usage << Help;
            return 0;
        } else if (arg == "--method") {
            const std::string m = value();
            if (m != "auto" && m != "sand" && m != "clay")
                UsageError("--method is auto, sand or clay");
            settings.Method = m == "sand" ? TMethodChoice::Sand : m == "clay" ? TMethodChoice::Clay
                                                                              : TMethodChoice::ByBehaviourType;
        } else if (arg == "--again") {
            again = true;
        } else if (arg == "-o") {
            output = value();
        } else if (arg == "--profile") {
            profileFile = value();
        } else if (arg == "--test") {
            record.Test = value();
        } else if (arg == "--end") {
            const std::string e = value();
            if (e != "closed" && e != "open")
                UsageError("--end is closed or open");
            record.End = e == "open" ? TPileEnd::Open : TPileEnd::Closed;
        } else if (arg == "--wall-thickness") {
            record.WallThickness = Number(arg, value());
        } else if (arg == "--plug-length-ratio") {
            record.PlugLengthRatio = Number(arg, value());
        } else if (arg == "--tension") {
            settings.Direction = TLoadDirection::Tension;
        } else if (arg == "--water-table") {
            settings.WaterTable = Number(arg, value());
        } else if (arg == "--unit-weight") {
            settings.DefaultUnitWeight = Number(arg, value());
        } else if (arg == "--unit-weights") {
            for (const std::string& item : SplitList(value())) {
                const std::size_t colon = item.find(':');
                if (colon == std::string::npos)
                    UsageError("--unit-weights needs BOTTOM:WEIGHT pairs separated by commas");
                settings.UnitWeights.push_back(
                    {Number(arg, item.substr(0, colon)), Number(arg, item.substr(colon + 1))});
            }
            unitWeightsGiven = true;
        } else if (arg == "--curve-depths") {
            for (const std::string& item : SplitList(value()))
                record.CurveDepths.push_back(Number(arg, item));
        } else if (arg == "--net-area-ratio") {
            settings.NetAreaRatio = Number(arg, value());
        } else if (arg == "--interface-angle") {
            settings.Sand.InterfaceAngle = Number(arg, value());
        } else if (arg == "--max-curve-length") {
            settings.MaxCurveLength = Number(arg, value());
        } else if (arg == "--override") {
            settings.Overrides.push_back(Override(value()));
        } else if (!arg.empty() && arg[0] == '-') {
            UsageError("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    if (again && (files.size() != 1 || settingOptions > 0))
        UsageError("--again takes one project and the settings recorded in it (only -o and --profile go with it)");
    if (!again && files.size() != 2)
        UsageError("give one sounding and one project file");
    const std::string projectFile = files.back();
    std::string soundingFile = again ? std::string() : files[0];

    try {
        TProjectTables tables;
        std::string error;
        const auto project = TProgramData::CreateFromFile(tables, projectFile, true, error);
        if (!project)
            throw ECptError(projectFile + ": " + error);
        if (again) {
            const std::optional<TCptRecord> recorded = RecordOfProject(*project);
            if (!recorded)
                throw ECptError(projectFile + " keeps no CPT sounding: run korven-cpt with the sounding first");
            record = *recorded;
            soundingFile = record.SoundingPath;
            if (SoundingChecksum(ReadFileBytes(soundingFile)) != record.Checksum)
                throw ECptError("the sounding " + soundingFile +
                                " has changed since the curves were made: run korven-cpt with it to make them anew");
        } else {
            if (!unitWeightsGiven)
                settings.UnitWeights = UnitWeightsOfProject(*project, settings.WaterUnitWeight);
            record.SoundingPath = std::filesystem::absolute(soundingFile).lexically_normal().string();
            record.Checksum = SoundingChecksum(ReadFileBytes(soundingFile));
        }
        const TPileEnd end = record.End;
        const double wall = record.WallThickness;
        TSounding sounding = ReadSoundingFile(soundingFile, record.Test);
        const TCptProfile profile(std::move(sounding), settings);
        const TPileGeometry pile = PileOfProject(*project, end, wall, record.PlugLengthRatio);
        const TCptDesign design = Design(profile, pile, record.CurveDepths);
        if (!profileFile.empty()) {
            std::ofstream csv(profileFile, std::ios::binary);
            csv << ProfileCsv(profile, pile, design);
            if (!csv.flush())
                throw ECptError("the profile could not be written to " + profileFile);
        }
        if (!output.empty()) {
            WriteDesign(*project, design, record);
            project->FileName = output;
            project->SaveToFile();
        }

        nlohmann::ordered_json summary;
        const TSounding& s = profile.Sounding();
        summary["sounding"] = {{"file", soundingFile},
                               {"name", s.Name},
                               {"rows", s.Rows.size()},
                               {"dropped_rows", s.DroppedRows},
                               {"bottom_m", profile.Bottom()},
                               {"net_area_ratio", profile.NetAreaRatio()}};
        summary["pile"] = {{"length_m", pile.Length},
                           {"diameter_m", pile.Diameter},
                           {"end", end == TPileEnd::Open ? "open" : "closed"},
                           {"wall_thickness_m", wall},
                           {"effective_area_ratio", design.AreaRatio}};
        summary["method"] = settings.Method == TMethodChoice::Sand   ? "sand"
                            : settings.Method == TMethodChoice::Clay ? "clay"
                                                                     : "auto";
        summary["direction"] = settings.Direction == TLoadDirection::Tension ? "tension" : "compression";
        summary["shaft_capacity_kN"] = design.ShaftCapacity;
        summary["base"] = {{"class", ClassName(design.BaseClass)},
                           {"q_p_kPa", design.BaseQp},
                           {"q_b01_kPa", design.BaseQb01},
                           {"area_m2", design.BaseArea},
                           {"capacity_kN", design.BaseCapacity}};
        summary["zones"] = nlohmann::json::array();
        for (const TZone& zone : design.Zones)
            summary["zones"].push_back({{"top_m", zone.Top}, {"bottom_m", zone.Bottom}, {"class", ClassName(zone.Class)}});
        summary["curve_depths_m"] = nlohmann::json::array();
        for (const TTzCurve& curve : design.Curves)
            summary["curve_depths_m"].push_back(curve.Depth);
        summary["qw_points"] = design.Qw.size();
        summary["curves_written"] = output.empty() ? 0 : design.Curves.size();
        summary["written"] = output.empty() ? nlohmann::json(nullptr) : nlohmann::json(output);
        std::cout << summary.dump(2) << "\n";
    } catch (const ESoundingError& e) {
        std::cerr << "korven-cpt: " << soundingFile << ": " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "korven-cpt: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
