#include "InMemory.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "korven/Core.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Median seconds of `rounds` calls of `call`.
template <typename Call>
double MedianOf(int rounds, Call call)
{
    std::vector<double> seconds;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        call();
        seconds.push_back(Seconds(start));
    }
    std::nth_element(seconds.begin(), seconds.begin() + rounds / 2, seconds.end());
    return seconds[rounds / 2];
}

// Analyses per second of `problem` on `threads` threads, each analysing it
// `perThread` times.
double Rate(const korven::Problem& problem, unsigned threads, int perThread)
{
    std::atomic<int> failures{0};
    const auto start = Clock::now();
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back([&] {
            for (int k = 0; k < perThread; ++k)
                if (korven::Analyse(problem).status != korven::kCompleted)
                    ++failures;
        });
    for (std::thread& thread : pool)
        thread.join();
    const double elapsed = Seconds(start);
    return failures == 0 ? threads * perThread / elapsed : 0.0;
}

void PrintTime(const char* what, double seconds, double target)
{
    const bool micro = seconds < 1e-3;
    std::fprintf(stderr, "    %-26s median %9.1f %s", what, seconds * (micro ? 1e6 : 1e3), micro ? "us" : "ms");
    if (target > 0)
        std::fprintf(stderr, "   target <= %.0f %s: %.2f of it", target * (target < 1e-3 ? 1e6 : 1e3),
                     target < 1e-3 ? "us" : "ms", seconds / target);
    std::fputc('\n', stderr);
}

}  // namespace

void PrintInMemoryFigures(const char* name, const std::string& project, int rounds, double analyseTarget,
                          double rateTarget)
{
    const korven::ReadResult read = korven::Read(project);
    if (read.status != korven::kCompleted) {
        std::fprintf(stderr, "  %s: read with status %d\n", name, read.status);
        return;
    }
    const korven::Outcome outcome = korven::Analyse(read.problem);
    const korven::RunLabels labels{"2014.3.3", "/p/p.kv3d", "/p/p.kv3o", "/p/p.kv3p", {}};
    korven::Analyse(read.problem);  // warm-up

    std::fprintf(stderr, "  %s, in memory (no files):\n", name);
    PrintTime("analyse", MedianOf(rounds, [&] { korven::Analyse(read.problem); }), analyseTarget);
    PrintTime("read + analyse", MedianOf(rounds, [&] { korven::Analyse(korven::Read(project).problem); }), 0);
    PrintTime("write", MedianOf(rounds, [&] { korven::Write(labels, read, outcome); }), 0);
    PrintTime("read + analyse + write", MedianOf(rounds, [&] {
                  const korven::ReadResult r = korven::Read(project);
                  korven::Write(labels, r, korven::Analyse(r.problem));
              }),
              0);

    const unsigned cores = std::max(1L, sysconf(_SC_NPROCESSORS_ONLN));
    const double one = Rate(read.problem, 1, rounds);
    const double all = Rate(read.problem, cores, rounds);
    std::fprintf(stderr, "    analyses per second: %.0f on 1 thread, %.0f on %u threads (%.2f times)", one, all, cores,
                 all / one);
    if (rateTarget > 0)
        std::fprintf(stderr, "   target >= %.0f on 2 cores: %.2f of it", rateTarget, all / rateTarget);
    std::fputc('\n', stderr);
}
