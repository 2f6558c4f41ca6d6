#include "StudyExtras.h"

using nlohmann::json;

namespace {

std::string UnitsName(UnitSystem units) { return units == UnitSystem::SI ? "SI" : "English"; }

}  // namespace

std::vector<TStudy> StudiesOf(const TProjectExtras& extras, UnitSystem units)
{
    const json section = extras.Section(StudiesSection);
    std::vector<TStudy> studies;
    if (!section.contains("definitions"))
        return studies;
    if (section.contains("units") && section.at("units") != UnitsName(units)) {
        const UnitSystem kept = units == UnitSystem::SI ? UnitSystem::English : UnitSystem::SI;
        throw EStudyError("the studies were defined in " + UnitSystemText(kept) + " and the project is now in " +
                          UnitSystemText(units) + "; switch the project's units back to use them");
    }
    const json& definitions = section.at("definitions");
    if (!definitions.is_array())
        throw EStudyError("studies: the definitions must be a list");
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        try {
            studies.push_back(StudyFromJson(definitions[i]));
        } catch (const EStudyError& error) {
            throw EStudyError("study " + std::to_string(i + 1) + ": " + error.what());
        }
    }
    return studies;
}

void StoreStudies(TProjectExtras& extras, const std::vector<TStudy>& studies, UnitSystem units)
{
    json definitions = json::array();
    for (const TStudy& study : studies)
        definitions.push_back(StudyToJson(study));
    extras.SetSection(StudiesSection, studies.empty() ? json::object()
                                                      : json{{"units", UnitsName(units)}, {"definitions", definitions}});
}

void KeepStudies(TProgramData& project, const std::vector<TStudy>& studies)
{
    const nlohmann::json before = project.Extras.Section(StudiesSection);
    StoreStudies(project.Extras, studies, project.Units());
    if (project.Extras.Section(StudiesSection) != before)
        project.SetChanged(true);
}
