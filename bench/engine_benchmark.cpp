// Times the engine on the largest problem it accepts: 900 increments, 50 tip
// movements, 100 user t-z curves of 100 points, 50 pile-head loads and a
// settlement profile of 100 points. Prints the median wall time per run and
// the peak memory of the process.
//
//   engine_benchmark [runs]     (default 7)
#include <dlfcn.h>
#include <stdlib.h>
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
    void* handle = dlopen(KORVEN_ENGINE_LIBRARY, RTLD_NOW);
    if (!handle) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    auto entry = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(handle, "_IKORVEN"));

    std::string pattern = (fs::temp_directory_path() / "korven-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path folder = pattern;
    std::ofstream(folder / "largest.kv3d") << LargestProject();
    std::ofstream(folder / "names.dat") << "2014.3.3\n\n\n0\n"
                                        << (folder / "largest.kv3d").string() << '\n'
                                        << (folder / "largest.kv3o").string() << '\n'
                                        << (folder / "largest.kv3p").string() << '\n'
                                        << (folder / "largest.kv3r").string() << '\n';
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    std::fflush(stdout);
    // The engine's console lines would drown the figures.
    int savedOut = dup(1);
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    std::vector<double> seconds;
    int32_t status = 0;
    for (int r = 0; r < runs; ++r) {
        auto start = std::chrono::steady_clock::now();
        status = entry(3);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::fflush(stdout);
    dup2(savedOut, 1);
    fs::current_path(previous);
    const auto reportSize = fs::file_size(folder / "largest.kv3o");
    const auto plotSize = fs::file_size(folder / "largest.kv3p");
    fs::remove_all(folder);

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
