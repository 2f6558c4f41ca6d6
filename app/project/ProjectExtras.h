#pragma once

// The project extras file (NAME.kv3x beside NAME.kv3d): what a person enters
// that the project file, which is also the engine's input, has no place for.
// It is one JSON object with a schema version and one top-level section per
// feature ("project" holds the designer and the date). Sections this program
// does not know are kept as they were read and written back unchanged, so a
// file written by a later version loses nothing when saved here.

#include <nlohmann/json.hpp>

#include <string>

class TProjectExtras {
public:
    static constexpr int SchemaVersion = 1;
    static inline const std::string Extension = ".kv3x";

    // The extras file that belongs to a project file.
    static std::string FileNameFor(const std::string& projectFileName);

    // Reads the extras file of a project. A missing file gives no sections.
    // A file that is not an extras file this program can read (not JSON, not
    // an object, no schema version or a newer one, a section that is not an
    // object) throws EInOutError with a message naming the file.
    static TProjectExtras Read(const std::string& fileName);
    // Replaces the file with these sections, written completely or not at
    // all (EInOutError naming the file).
    void Write(const std::string& fileName) const;
    // The JSON text that Write puts into the file.
    std::string Text() const;

    // A section by name; an empty object when there is none.
    nlohmann::json Section(const std::string& name) const;
    // Stores a section (an object); an empty object removes it.
    void SetSection(const std::string& name, nlohmann::json section);
    bool Empty() const { return FSections.empty(); }

    // Text members of a section, empty when missing or not text.
    static std::string Text(const nlohmann::json& section, const char* key);

private:
    nlohmann::json FSections = nlohmann::json::object();
};
