// korven-run: runs project files through the analysis engine library for
// batch work and scripts.
//
// The projects run on several threads at once through the engine's
// in-memory core, each writing its report and plot data file beside the
// project as the entry point would; what is printed about them (the engine's
// progress lines, the status with the paths of the files, tables, CSV files,
// JSON) comes in the order the projects were given (see Usage).
#include "BatchResults.h"
#include "EngineRun.h"
#include "FitCommand.h"
#include "KorvenVersion.h"
#include "StudyCommand.h"
#include "korven/Core.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* Usage =
    "usage: korven-run [--table] [--csv] [--json] [--jobs N] PROJECT.kv3d [PROJECT.kv3d ...]\n"
    "       korven-run --study STUDY.json|NAME [--jobs N] PROJECT.kv3d\n";
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
    "  --jobs N run N projects at once (default: one per processor core); the\n"
    "           output is the same as with --jobs 1\n"
    "  --study STUDY.json\n"
    "           run the parametric or probabilistic study of STUDY.json over the\n"
    "           project in memory, on --jobs threads; the results go to\n"
    "           STUDY.results.json and STUDY.<table>.csv beside the study file\n"
    "           (exit code 1 also when an analysis of the study was refused)\n"
    "  --study NAME\n"
    "           run the study called NAME that the project keeps (defined in\n"
    "           the program's Studies window); the results go to\n"
    "           PROJECT.NAME.results.json and PROJECT.NAME.<table>.csv\n"
    "  --help   show this text\n"
    "\n"
    "  --fit TEST.csv fits the project's modification factors to a static load\n"
    "           test (see the user's guide) and prints the fit as JSON:\n"
    "           --params shaft,tip (default), layers,tip, shaft, layers, tip, or\n"
    "           one of a pair: shaft-t, layers-z, tip-Q, ...;\n"
    "           --apply NEW.kv3d writes the project with the fitted factors\n"
    "\n"
    "Exit code: 0 when every run returned status 0, 1 when any run did not,\n"
    "2 for a usage error.\n";

struct TOptions {
    bool Table = false;
    bool Csv = false;
    bool Json = false;
    unsigned Jobs = std::max(1u, std::thread::hardware_concurrency());
    std::string Study;
    std::vector<fs::path> Projects;
};

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

// Runs the projects on `jobs` threads; `finished` is called for each run in
// the order of the projects, on the calling thread, as soon as it and every
// run before it are done.
template <typename Finished>
void RunAll(const std::vector<TRunFiles>& runs, unsigned jobs, Finished finished)
{
    std::vector<std::optional<korven::FileRun>> done(runs.size());
    std::mutex mutex;
    std::condition_variable ready;
    std::size_t next = 0;
    auto work = [&] {
        while (true) {
            std::size_t k;
            {
                const std::lock_guard lock(mutex);
                if (next == runs.size())
                    return;
                k = next++;
            }
            const TRunFiles& files = runs[k];
            korven::FileRun run = korven::RunFiles(
                {files.Input.string(), files.Report.string(), files.Plot.string(), files.Notes.string()},
                kKorvenVersion);
            const std::lock_guard lock(mutex);
            done[k] = std::move(run);
            ready.notify_all();
        }
    };
    std::vector<std::jthread> threads;
    for (unsigned t = 0; t < std::min<std::size_t>(jobs, runs.size()); ++t)
        threads.emplace_back(work);
    for (std::size_t k = 0; k < runs.size(); ++k) {
        korven::FileRun run;
        {
            std::unique_lock lock(mutex);
            ready.wait(lock, [&] { return done[k].has_value(); });
            run = std::move(*done[k]);
            done[k].reset();
        }
        finished(k, run);
    }
}

// Prints what a finished run of `project` says; its status.
int32_t Report(const TOptions& options, const fs::path& project, const TRunFiles& files,
               const korven::FileRun& run, nlohmann::json& document)
{
    // Everything but the JSON document goes to standard error with --json.
    std::ostream& out = options.Json ? std::cerr : std::cout;
    const int32_t status = run.status;
    out << run.console << project.string() << ": status " << status << " (" << EngineStatusMeaning(status) << ")\n"
        << "  report: " << files.Report.string() << '\n'
        << "  plot data: " << files.Plot.string() << '\n';
    if (options.Table && status == 0)
        PrintTable(files.Report, out);
    if (!options.Csv && !options.Json)
        return status;

    const TProjectResult result = CollectResults(RanOutcome(files, status));
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
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (IsFitCommand(arguments))
        return RunFitCommand(arguments, std::cout, std::cerr);
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--table")
            options.Table = true;
        else if (arg == "--csv")
            options.Csv = true;
        else if (arg == "--json")
            options.Json = true;
        else if (arg == "--study" && i + 1 < argc)
            options.Study = argv[++i];
        else if (arg == "--jobs" || arg.rfind("--jobs=", 0) == 0) {
            const std::string count = arg == "--jobs" ? (i + 1 < argc ? argv[++i] : "") : arg.substr(7);
            const bool digits = !count.empty() && count.size() < 5 &&
                                std::all_of(count.begin(), count.end(), [](char c) { return c >= '0' && c <= '9'; });
            if (!digits || std::stoi(count) < 1) {
                std::cerr << "korven-run: --jobs needs a number of projects at once, 1 or more\n" << Usage;
                return 2;
            }
            options.Jobs = static_cast<unsigned>(std::stoi(count));
        }
        else if (arg == "--help" || arg == "-h") {
            std::cout << Usage << "       " << FitUsage << '\n' << Help;
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
    if (!options.Study.empty()) {
        if (options.Projects.size() != 1 || options.Table || options.Csv || options.Json) {
            std::cerr << "korven-run: --study takes one project and no option but --jobs\n" << Usage;
            return 2;
        }
        return RunStudyCommand(options.Study, options.Projects.front(), static_cast<int>(options.Jobs), std::cout,
                               std::cerr);
    }
    std::vector<TRunFiles> runs;
    for (const fs::path& project : options.Projects)
        runs.push_back(TRunFiles::ForProject(fs::absolute(project)));
    nlohmann::json document = {{"projects", nlohmann::json::array()}};
    int failures = 0;
    RunAll(runs, options.Jobs, [&](std::size_t k, const korven::FileRun& run) {
        if (Report(options, options.Projects[k], runs[k], run, document) != 0)
            ++failures;
    });
    if (options.Json)
        std::cout << document.dump(2) << '\n';
    return failures == 0 ? 0 : 1;
}
