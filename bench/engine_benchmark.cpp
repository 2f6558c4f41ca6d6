// Times the engine on the largest problem it accepts (900 increments, 50 tip
// movements, 100 user t-z curves of 100 points, a 50-point Q-w curve, 50
// pile-head loads, a settlement profile of 100 points, factors) and on the
// bundled example project. Given a second library (say a build of an older
// version) it alternates the two run by run, prints both medians with their
// ratio and checks that both write the same report and plot data file.
// Finally one run of the largest problem in a process of its own gives the
// engine's peak memory.
//
//   engine_benchmark [runs] [BASELINE_LIBRARY [LIBRARY]]
//
// runs: of the largest problem per library (default 9); the example runs 50
// times as often. LIBRARY defaults to the library built beside this program.
#include <dlfcn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Entry = int32_t (*)(int32_t);

std::string LargestProject() {
    std::ostringstream p;
    p << "largest problem\n900 0 1\n1 \n100\n";
    const double length = 1200.0;
    for (int c = 0; c < 100; ++c) {
        p << c + 1 << ' ' << length * c / 99.0 << " 100\n";
        for (int m = 0; m < 100; ++m) {
            double z = 0.002 * m * m;
            double t = 8.0 * (1.0 + c / 50.0) * std::min(1.0, z / 0.3);
            p << t << ' ' << z << '\n';
        }
    }
    p << "50\n";
    for (int k = 0; k < 50; ++k) p << 2.0e9 - 1.0e7 * k << ' ' << length * k / 49.0 << '\n';
    p << "50\n";
    for (int k = 0; k < 50; ++k) p << 400.0 * k * k << ' ' << 0.05 * k << '\n';
    p << "0.000001 " << length << " 24 452.4\n50\n";
    for (int k = 0; k < 50; ++k) p << 0.002 * (k + 1) * (k + 1) << '\n';
    p << "50\n";
    for (int k = 0; k < 50; ++k) p << 20000.0 * (k + 1) << '\n';
    p << "100\n";
    for (int k = 0; k < 100; ++k) p << length * k / 99.0 << ' ' << 0.5 * (1.0 - k / 99.0) << '\n';
    p << " 0\n 0\n";
    return p.str();
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A project in a folder of its own, with the names file that runs it there.
struct Project {
    fs::path folder;
    std::string name;

    Project(const fs::path& parent, std::string projectName, const std::string& text)
        : folder(parent / projectName), name(std::move(projectName)) {
        fs::create_directories(folder);
        std::ofstream(File(".kv3d")) << text;
        std::ofstream(folder / "names.dat") << "2014.3.3\n\n\n0\n"
                                            << File(".kv3d").string() << '\n'
                                            << File(".kv3o").string() << '\n'
                                            << File(".kv3p").string() << '\n'
                                            << File(".kv3r").string() << '\n';
    }
    fs::path File(const char* extension) const { return folder / (name + extension); }

    // The report without its time-and-date line, and the plot data file.
    std::string Output() const {
        std::istringstream report(ReadFile(File(".kv3o")));
        std::string kept;
        for (std::string line; std::getline(report, line);)
            if (line.rfind("               Date:  ", 0) != 0) kept += line + '\n';
        return kept + ReadFile(File(".kv3p"));
    }
};

// Calls the entry with the project's folder as the current folder.
int32_t Call(Entry entry, const Project& project) {
    const fs::path previous = fs::current_path();
    fs::current_path(project.folder);
    const int32_t status = entry(3);
    fs::current_path(previous);
    return status;
}

Entry Load(const std::string& library) {
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "%s\n", dlerror());
        std::exit(1);
    }
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "_IKORVEN"));
    if (!entry) {
        std::fprintf(stderr, "%s has no entry _IKORVEN\n", library.c_str());
        std::exit(1);
    }
    return entry;
}

// ---------------------------------------------------------------- timing

struct Timed {
    explicit Timed(std::string path) : library(std::move(path)) {}
    std::string library;
    Entry entry = nullptr;
    std::vector<double> largest, typical;  // seconds per call
    int32_t status = 0;
};

double Seconds(Entry entry, const Project& project, int32_t& status) {
    const auto start = std::chrono::steady_clock::now();
    status = Call(entry, project);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Peak resident memory in KiB of a process of its own that loads `library`
// and runs `project` once.
long PeakMemoryOfOneRun(const std::string& library, const Project& project) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout)) _exit(2);
        _exit(Call(Load(library), project) == 0 ? 0 : 1);
    }
    int waitStatus = 0;
    if (child < 0 || waitpid(child, &waitStatus, 0) != child || !WIFEXITED(waitStatus) ||
        WEXITSTATUS(waitStatus) != 0)
        return -1;
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

void PrintFigures(const char* what, const std::vector<Timed>& engines, bool largest, double unit,
                  const char* unitName) {
    std::fprintf(stderr, "%s:\n", what);
    for (const Timed& e : engines) {
        const auto& seconds = largest ? e.largest : e.typical;
        std::fprintf(stderr, "  %-9s median %8.3f %s (fastest %.3f, slowest %.3f) over %zu calls  %s\n",
                     &e == &engines.front() && engines.size() > 1 ? "baseline" : "library",
                     Median(seconds) * unit, unitName, *std::min_element(seconds.begin(), seconds.end()) * unit,
                     *std::max_element(seconds.begin(), seconds.end()) * unit, seconds.size(), e.library.c_str());
    }
    if (engines.size() > 1) {
        const double before = Median(largest ? engines[0].largest : engines[0].typical);
        const double after = Median(largest ? engines[1].largest : engines[1].typical);
        std::fprintf(stderr, "  ratio     %.2f (baseline median / library median)\n", before / after);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const int typicalRuns = 50 * runs;
    std::vector<Timed> engines;
    if (argc > 2) engines.emplace_back(argv[2]);
    engines.emplace_back(argc > 3 ? argv[3] : KORVEN_ENGINE_LIBRARY);

    std::string pattern = (fs::temp_directory_path() / "korven-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path folder = pattern;
    const Project largest(folder, "largest", LargestProject());
    const Project typical(folder, "example", ReadFile(KORVEN_EXAMPLE_PROJECT));

    const long peak = PeakMemoryOfOneRun(engines.back().library, largest);
    for (Timed& e : engines) e.entry = Load(e.library);

    // The engine's console lines would drown the figures.
    std::fflush(stdout);
    const int savedOut = dup(1);
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    // Each round runs every library once, in turns, the order swapping from
    // round to round so that neither always runs on a cache the other warmed.
    int32_t status = 0;
    for (Timed& e : engines) Seconds(e.entry, largest, status);  // warm-up
    for (int r = 0; r < runs; ++r)
        for (std::size_t k = 0; k < engines.size(); ++k) {
            Timed& e = engines[r % 2 == 0 ? k : engines.size() - 1 - k];
            e.largest.push_back(Seconds(e.entry, largest, e.status));
        }
    std::vector<std::string> largestOutputs, typicalOutputs;
    for (Timed& e : engines) {
        Call(e.entry, largest);
        largestOutputs.push_back(largest.Output());
    }
    for (int r = 0; r < typicalRuns; ++r)
        for (std::size_t k = 0; k < engines.size(); ++k) {
            Timed& e = engines[r % 2 == 0 ? k : engines.size() - 1 - k];
            e.typical.push_back(Seconds(e.entry, typical, status));
        }
    for (Timed& e : engines) {
        Call(e.entry, typical);
        typicalOutputs.push_back(typical.Output());
    }
    std::fflush(stdout);
    dup2(savedOut, 1);
    const auto reportSize = fs::file_size(largest.File(".kv3o"));
    const auto plotSize = fs::file_size(largest.File(".kv3p"));
    fs::remove_all(folder);

    std::fprintf(stderr, "machine: %ld cores online\n", sysconf(_SC_NPROCESSORS_ONLN));
    PrintFigures("largest problem, seconds per run", engines, true, 1.0, "s");
    PrintFigures("example project, milliseconds per call", engines, false, 1000.0, "ms");
    const bool same = std::all_of(largestOutputs.begin(), largestOutputs.end(),
                                  [&](const std::string& o) { return o == largestOutputs.front(); }) &&
                      std::all_of(typicalOutputs.begin(), typicalOutputs.end(),
                                  [&](const std::string& o) { return o == typicalOutputs.front(); });
    if (engines.size() > 1)
        std::fprintf(stderr, "reports and plot data files of both libraries: %s\n", same ? "identical" : "DIFFERENT");
    std::fprintf(stderr, "largest problem: status %d, report %ju bytes, plot data %ju bytes\n", engines.back().status,
                 static_cast<uintmax_t>(reportSize), static_cast<uintmax_t>(plotSize));
    std::fprintf(stderr, "peak memory of one run of the largest problem in its own process: %ld KiB\n", peak);
    const bool completed = std::all_of(engines.begin(), engines.end(), [](const Timed& e) { return e.status == 0; });
    return completed && same && peak > 0 ? 0 : 1;
}
