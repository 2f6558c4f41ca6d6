// korven-run: runs project files through the analysis engine library, one
// after another, for batch work and scripts.
//
// For each project the runner writes "names.dat" into a private temporary
// folder, makes that the current folder, calls the engine and reports the
// status with the paths of the report and the plot data file (see Usage).
#include "BatchResults.h"
#include "AnalysisRun.h"

#include <limits.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* Usage = "usage: korven-run [--table] [--csv] [--json] PROJECT.kv3d [PROJECT.kv3d ...]\n";
constexpr const char* Help =
    "Runs each project through the analysis engine; the report (.kv3o) and the\n"
    "plot data (.kv3p) are written beside the project.\n"
    "\n"
    "  --table  print the load-settlement table of each report\n"
    "  --csv    write <project>.load-settlement.csv (and <project>.load-cases.csv\n"
    "           when the project has pile-head loads) beside each project\n"
    "  --json   print one JSON document with every project's status, files,\n"
    "           load-settlement points, load cases and capacity read-outs\n"
    "           (nothing else goes to standard output)\n"
    "  --help   show this text\n"
    "\n"
    "Exit code: 0 when every run returned status 0, 1 when any run did not,\n"
    "2 for a usage error or an engine library that cannot be loaded.\n";

struct TOptions {
    bool Table = false;
    bool Csv = false;
    bool Json = false;
    std::vector<fs::path> Projects;
};

fs::path ProgramFolder()
{
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return fs::current_path();
    buffer[n] = '\0';
    return fs::path(buffer).parent_path();
}

// Prints the load-settlement table of a report: from its heading to the
// first empty line or page break after the rows.
void PrintTable(const fs::path& report, std::ostream& out)
{
    std::ifstream in(report);
    std::string line;
    bool inTable = false;
    int rows = 0;
    while (std::getline(in, line)) {
        if (!inTable && line.find("TOP  LOAD     TOP MOVEMENT") != std::string::npos)
            inTable = true;
        if (!inTable)
            continue;
        if (rows > 0 && (line.empty() || line == "1"))
            break;
        out << line << '\n';
        if (line.find('E') != std::string::npos && line.find("LOAD") == std::string::npos)
            ++rows;
    }
}

// The engine prints its progress lines on standard output; while a JSON
// document is being written there they go to standard error instead.
class TStdoutToStderr {
public:
    explicit TStdoutToStderr(bool active)
    {
        if (!active)
            return;
        std::fflush(stdout);
        FSaved = dup(STDOUT_FILENO);
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~TStdoutToStderr()
    {
        if (FSaved < 0)
            return;
        std::fflush(stdout);
        dup2(FSaved, STDOUT_FILENO);
        close(FSaved);
    }
    TStdoutToStderr(const TStdoutToStderr&) = delete;
    TStdoutToStderr& operator=(const TStdoutToStderr&) = delete;

private:
    int FSaved = -1;
};

// Runs one project; -1 when the run could not be set up.
int32_t RunOne(TAnalysisRun& run, const TOptions& options, const fs::path& project, nlohmann::json& document)
{
    TRunOutcome outcome;
    {
        TStdoutToStderr quiet(options.Json);
        outcome = run.Run(fs::absolute(project));
    }
    if (outcome.Step != TRunStep::Ran) {
        std::cerr << "korven-run: " << project.string() << ": " << outcome.Error << '\n';
        return -1;
    }
    const TRunFiles& files = outcome.Files;
    const int32_t status = outcome.Status;

    std::ostream& out = options.Json ? std::cerr : std::cout;
    out << project.string() << ": status " << status << " (" << EngineStatusMeaning(status) << ")\n"
        << "  report: " << files.Report.string() << '\n'
        << "  plot data: " << files.Plot.string() << '\n';
    if (options.Table && status == 0)
        PrintTable(files.Report, out);
    if (!options.Csv && !options.Json)
        return status;

    const TProjectResult result = CollectResults(outcome);
    if (options.Csv) {
        try {
            for (const fs::path& written : WriteCsvFiles(result))
                out << "  csv: " << written.string() << '\n';
        } catch (const fs::filesystem_error& error) {
            std::cerr << "korven-run: " << error.path1().string() << ": cannot be written\n";
        }
    }
    if (options.Json)
        document["projects"].push_back(ResultJson(result));
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--table")
            options.Table = true;
        else if (arg == "--csv")
            options.Csv = true;
        else if (arg == "--json")
            options.Json = true;
        else if (arg == "--help" || arg == "-h") {
            std::cout << Usage << '\n' << Help;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "korven-run: unknown option " << arg << '\n' << Usage;
            return 2;
        } else
            options.Projects.emplace_back(arg);
    }
    if (options.Projects.empty()) {
        std::cerr << Usage;
        return 2;
    }
    TAnalysisRun run(EngineLibraryIn(ProgramFolder()));
    try {
        run.Open();
    } catch (const ELibraryError& error) {
        std::cerr << "korven-run: " << error.what() << '\n';
        return 2;
    }
    nlohmann::json document = {{"projects", nlohmann::json::array()}};
    int failures = 0;
    for (const fs::path& project : options.Projects)
        if (RunOne(run, options, project, document) != 0)
            ++failures;
    if (options.Json)
        std::cout << document.dump(2) << '\n';
    return failures == 0 ? 0 : 1;
}
