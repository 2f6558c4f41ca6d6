// Times the engine on the largest problem it accepts: 900 increments, 50 tip
// movements, 100 user t-z curves of 100 points, 50 pile-head loads and a
// settlement profile of 100 points. Prints the median wall time per run and
// the peak memory of the process.
//
//   engine_benchmark [runs]     (default 7)
#include "EngineRun.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    TDynamicLibrary library(KORVEN_ENGINE_LIBRARY);
    TEngineEntry entry;
    try {
        entry = OpenEngine(library);
    } catch (const ELibraryError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }

    const TPrivateFolder folder("korven-bench");
    const TRunFiles files = TRunFiles::ForProject(folder.Path() / "largest.kv3d");
    std::ofstream(files.Input) << LargestProject();
    if (!WriteNamesFile(folder.Path(), files)) return 1;
    std::fflush(stdout);
    // The engine's console lines would drown the figures.
    int savedOut = dup(1);
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    std::vector<double> seconds;
    int32_t status = 0;
    for (int r = 0; r < runs; ++r) {
        auto start = std::chrono::steady_clock::now();
        status = CallInFolder(entry, folder.Path());
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::fflush(stdout);
    dup2(savedOut, 1);
    const auto reportSize = fs::file_size(files.Report);
    const auto plotSize = fs::file_size(files.Plot);

    std::sort(seconds.begin(), seconds.end());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "largest problem: status %d, %d runs\n", status, runs);
    std::fprintf(stderr, "median %.3f s per run (fastest %.3f s, slowest %.3f s)\n", seconds[seconds.size() / 2],
                 seconds.front(), seconds.back());
    std::fprintf(stderr, "report %ju bytes, plot data %ju bytes, peak memory %ld KiB\n",
                 static_cast<uintmax_t>(reportSize), static_cast<uintmax_t>(plotSize), usage.ru_maxrss);
    return status == 0 ? 0 : 1;
}
