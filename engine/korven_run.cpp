// korven-run: runs project files through the analysis engine library, one
// after another, for batch work and scripts.
//
//   korven-run [--table] PROJECT.kv3d [PROJECT.kv3d ...]
//
// For each project the runner writes "names.dat" into a private temporary
// folder, makes that the current folder, calls the engine and prints the
// status with the paths of the report and the plot data file. With --table
// it also prints the load-settlement table of the report. The exit code is
// nonzero when any run's status is not 0.
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "KorvenVersion.h"

namespace fs = std::filesystem;

namespace {

using Entry = int32_t (*)(int32_t);

fs::path ProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return fs::current_path();
    buffer[n] = '\0';
    return fs::path(buffer).parent_path();
}

fs::path WithExtension(fs::path path, const char* extension) { return path.replace_extension(extension); }

// Prints the load-settlement table of a report: from its heading to the
// first empty line or page break after the rows.
void PrintTable(const fs::path& report) {
    std::ifstream in(report);
    std::string line;
    bool inTable = false;
    int rows = 0;
    while (std::getline(in, line)) {
        if (!inTable && line.find("TOP  LOAD     TOP MOVEMENT") != std::string::npos) inTable = true;
        if (!inTable) continue;
        if (rows > 0 && (line.empty() || line == "1")) break;
        std::cout << line << '\n';
        if (line.find('E') != std::string::npos && line.find("LOAD") == std::string::npos) ++rows;
    }
}

int RunOne(Entry entry, const fs::path& project, bool table) {
    const fs::path input = fs::absolute(project);
    const fs::path report = WithExtension(input, ".kv3o");
    const fs::path plot = WithExtension(input, ".kv3p");
    const fs::path notes = WithExtension(input, ".kv3r");

    std::string pattern = (fs::temp_directory_path() / "korven-run-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("korven-run: cannot make a temporary folder");
        return -1;
    }
    const fs::path folder = pattern;
    {
        std::ofstream names(folder / "names.dat");
        names << kKorvenVersion << "\n\n\n0\n" << input.string() << '\n' << report.string() << '\n' << plot.string() << '\n'
              << notes.string() << '\n';
    }
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    const int32_t status = entry(3);
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(folder, ignored);

    std::cout << project.string() << ": status " << status << '\n'
              << "  report: " << report.string() << '\n'
              << "  plot data: " << plot.string() << '\n';
    if (table && status == 0) PrintTable(report);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    bool table = false;
    std::vector<fs::path> projects;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--table")
            table = true;
        else
            projects.emplace_back(arg);
    }
    if (projects.empty()) {
        std::cerr << "usage: korven-run [--table] PROJECT.kv3d [PROJECT.kv3d ...]\n";
        return 2;
    }
    const fs::path library = ProgramFolder() / "libKORVEN2014_DLL.so";
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::cerr << "korven-run: cannot load " << library.string() << ": " << dlerror() << '\n';
        return 2;
    }
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "_IKORVEN"));
    if (!entry) {
        std::cerr << "korven-run: the library has no entry _IKORVEN\n";
        dlclose(handle);
        return 2;
    }
    int failures = 0;
    for (const fs::path& project : projects)
        if (RunOne(entry, project, table) != 0) ++failures;
    dlclose(handle);
    return failures == 0 ? 0 : 1;
}
