#include "ProjectExtras.h"

#include "FileReplace.h"
#include "WordReader.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {

const char* const VersionKey = "schemaVersion";

[[noreturn]] void Refuse(const std::string& fileName, const std::string& reason)
{
    throw EInOutError("The project extras file \"" + fileName + "\" was not read: " + reason);
}

}  // namespace

std::string TProjectExtras::FileNameFor(const std::string& projectFileName)
{
    return std::filesystem::path(projectFileName).replace_extension(Extension).string();
}

TProjectExtras TProjectExtras::Read(const std::string& fileName)
{
    TProjectExtras extras;
    std::error_code error;
    if (!std::filesystem::exists(fileName, error))
        return extras;
    std::ifstream file(fileName, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    if (!file && !file.eof())
        Refuse(fileName, "it cannot be opened.");
    nlohmann::json root = nlohmann::json::parse(text.str(), nullptr, false);
    if (root.is_discarded() || !root.is_object())
        Refuse(fileName, "it is not a JSON object.");
    const auto version = root.find(VersionKey);
    if (version == root.end() || !version->is_number_integer() || version->get<long long>() < 1)
        Refuse(fileName, "it holds no schema version.");
    if (version->get<long long>() > SchemaVersion)
        Refuse(fileName, "it was written by a later version of KORVEN (schema version " +
                             std::to_string(version->get<long long>()) + ").");
    root.erase(VersionKey);
    for (const auto& [name, section] : root.items())
        if (!section.is_object())
            Refuse(fileName, "its section \"" + name + "\" is not a JSON object.");
    extras.FSections = std::move(root);
    return extras;
}

std::string TProjectExtras::Text() const
{
    nlohmann::json root = nlohmann::json::object();
    root[VersionKey] = SchemaVersion;
    root.update(FSections);
    // Text that is not UTF-8 is written with replacement characters.
    return root.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

void TProjectExtras::Write(const std::string& fileName) const { ReplaceFile(fileName, Text()); }

nlohmann::json TProjectExtras::Section(const std::string& name) const
{
    const auto found = FSections.find(name);
    return found == FSections.end() ? nlohmann::json::object() : *found;
}

void TProjectExtras::SetSection(const std::string& name, nlohmann::json section)
{
    if (section.is_null() || (section.is_object() && section.empty()))
        FSections.erase(name);
    else
        FSections[name] = std::move(section);
}

std::string TProjectExtras::Text(const nlohmann::json& section, const char* key)
{
    const auto found = section.find(key);
    return found != section.end() && found->is_string() ? found->get<std::string>() : std::string();
}
