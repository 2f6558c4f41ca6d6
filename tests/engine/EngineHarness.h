// Runs projects through the engine library the way the program does, through
// the engine-run seam: the library is loaded by path, "names.dat" is written
// into a private folder that is the current folder during the call.
#pragma once

#include "EngineRun.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace engine_test {

std::string ReadFile(const std::filesystem::path& path);
std::vector<std::string> ReadLines(const std::filesystem::path& path);

class EngineRun {
public:
    explicit EngineRun(std::string name = "project");

    // The project's files live in this folder, named after the project.
    const std::filesystem::path& Folder() const { return folder_.Path(); }
    std::filesystem::path Input() const { return File(".kv3d"); }
    std::filesystem::path Report() const { return File(".kv3o"); }
    std::filesystem::path Plot() const { return File(".kv3p"); }
    std::filesystem::path Notes() const { return File(".kv3r"); }
    TRunFiles Files() const;

    // Writes the input file, then the names file, and calls the entry.
    int32_t Run(const std::string& project, int32_t key = kEngineRunKey);
    // Calls the entry with an already written names file (or none).
    int32_t Call(int32_t key = kEngineRunKey);
    void WriteNames(const std::vector<std::string>& lines);

    std::vector<std::string> ReportLines() const { return ReadLines(Report()); }
    std::vector<std::string> PlotLines() const { return ReadLines(Plot()); }

private:
    std::filesystem::path File(const char* extension) const { return folder_.Path() / (name_ + extension); }

    std::string name_;
    TPrivateFolder folder_;      // project files
    TPrivateFolder callFolder_;  // current folder of the call
};

// The numbers of a plot data file line split on blanks.
std::vector<double> Numbers(const std::string& line);

}  // namespace engine_test
