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
#include "EngineRun.h"

#include <limits.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path ProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return fs::current_path();
    buffer[n] = '\0';
    return fs::path(buffer).parent_path();
}

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

int RunOne(TEngineEntry entry, const fs::path& project, bool table) {
    const TRunFiles files = TRunFiles::ForProject(fs::absolute(project));
    int32_t status;
    try {
        status = RunEngine(entry, files);
    } catch (const ERunError& error) {
        std::cerr << "korven-run: " << error.what() << '\n';
        return -1;
    }

    std::cout << project.string() << ": status " << status << '\n'
              << "  report: " << files.Report.string() << '\n'
              << "  plot data: " << files.Plot.string() << '\n';
    if (table && status == 0) PrintTable(files.Report);
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
    TDynamicLibrary library(EngineLibraryIn(ProgramFolder()).string());
    TEngineEntry entry;
    try {
        entry = OpenEngine(library);
    } catch (const ELibraryError& error) {
        std::cerr << "korven-run: " << error.what() << '\n';
        return 2;
    }
    int failures = 0;
    for (const fs::path& project : projects)
        if (RunOne(entry, project, table) != 0) ++failures;
    return failures == 0 ? 0 : 1;
}
