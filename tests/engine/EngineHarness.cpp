#include "EngineHarness.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace engine_test {
namespace {

// Loaded once for the whole test program.
TEngineEntry LoadEntry()
{
    static TDynamicLibrary library(KORVEN_ENGINE_LIBRARY);
    static const TEngineEntry entry = OpenEngine(library);
    return entry;
}

}  // namespace

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ReadLines(const fs::path& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<double> Numbers(const std::string& line)
{
    std::istringstream in(line);
    std::vector<double> values;
    for (double v; in >> v;)
        values.push_back(v);
    return values;
}

EngineRun::EngineRun(std::string name)
    : name_(std::move(name)), folder_("korven-engine-test"), callFolder_("korven-engine-test")
{}

TRunFiles EngineRun::Files() const { return TRunFiles::ForProject(Input()); }

void EngineRun::WriteNames(const std::vector<std::string>& lines)
{
    std::ofstream names(callFolder_.Path() / kNamesFileName);
    for (const std::string& line : lines)
        names << line << '\n';
}

int32_t EngineRun::Call(int32_t key) { return CallInFolder(LoadEntry(), callFolder_.Path(), key); }

int32_t EngineRun::Run(const std::string& project, int32_t key)
{
    std::ofstream(Input()) << project;
    if (!WriteNamesFile(callFolder_.Path(), Files()))
        throw std::runtime_error("names file not written");
    return Call(key);
}

}  // namespace engine_test
