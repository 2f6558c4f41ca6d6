#include "EngineHarness.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace engine_test {
namespace {

using Entry = int32_t (*)(int32_t);

Entry LoadEntry() {
    static Entry entry = [] {
        void* handle = dlopen(KORVEN_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle) throw std::runtime_error(dlerror());
        return reinterpret_cast<Entry>(dlsym(handle, "_IKORVEN"));
    }();
    return entry;
}

fs::path MakeFolder() {
    std::string pattern = (fs::temp_directory_path() / "korven-engine-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    return pattern;
}

}  // namespace

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<double> Numbers(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> values;
    for (double v; in >> v;) values.push_back(v);
    return values;
}

EngineRun::EngineRun(std::string name) : name_(std::move(name)), folder_(MakeFolder()), callFolder_(MakeFolder()) {}

EngineRun::~EngineRun() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    fs::remove_all(callFolder_, ignored);
}

void EngineRun::WriteNames(const std::vector<std::string>& lines) {
    std::ofstream names(callFolder_ / "names.dat");
    for (const std::string& line : lines) names << line << '\n';
}

int32_t EngineRun::Call(int32_t key) {
    const fs::path previous = fs::current_path();
    fs::current_path(callFolder_);
    const int32_t status = LoadEntry()(key);
    fs::current_path(previous);
    return status;
}

int32_t EngineRun::Run(const std::string& project, int32_t key) {
    std::ofstream(Input()) << project;
    WriteNames({"2014.3.3", "", "", "0", Input().string(), Report().string(), Plot().string(), Notes().string()});
    return Call(key);
}

}  // namespace engine_test
