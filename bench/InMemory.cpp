#include "InMemory.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "korven/Core.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

struct Medians {
    double wall = 0;
    double processor = 0;
    // The fastest call by the wall clock: on a machine busy with other work
    // the figure that moves least from run to run.
    double fastest = 0;
};

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Median seconds of `rounds` calls of `call`.
template <typename Call>
Medians MedianOf(int rounds, Call call)
{
    std::vector<double> wall, processor;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        const double startProcessor = ThreadSeconds();
        call();
        processor.push_back(ThreadSeconds() - startProcessor);
        wall.push_back(Seconds(start));
    }
    return {Median(wall), Median(processor), *std::min_element(wall.begin(), wall.end())};
}

// Analyses per second of `problem` on `threads` threads, each analysing it
// `perThread` times: by the wall clock, and by the processor time each
// thread had (as if each had a core of its own).
Medians Rate(const korven::Problem& problem, unsigned threads, int perThread)
{
    std::atomic<int> failures{0};
    std::vector<double> processor(threads);
    const auto start = Clock::now();
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back([&, t] {
            const double startProcessor = ThreadSeconds();
            for (int k = 0; k < perThread; ++k)
                if (korven::Analyse(problem).status != korven::kCompleted)
                    ++failures;
            processor[t] = ThreadSeconds() - startProcessor;
        });
    for (std::thread& thread : pool)
        thread.join();
    const double elapsed = Seconds(start);
    double perCore = 0;
    for (double seconds : processor)
        perCore += perThread / seconds;
    return failures == 0 ? Medians{threads * perThread / elapsed, perCore} : Medians{};
}

std::string Time(double seconds)
{
    char text[32];
    const bool micro = seconds < 1e-3;
    std::snprintf(text, sizeof text, "%.1f %s", seconds * (micro ? 1e6 : 1e3), micro ? "us" : "ms");
    return text;
}

void PrintTime(const char* what, Medians m, double target)
{
    std::fprintf(stderr, "    %-24s median %10s wall, %10s processor, fastest %10s", what, Time(m.wall).c_str(),
                 Time(m.processor).c_str(), Time(m.fastest).c_str());
    if (target > 0)
        std::fprintf(stderr, "   target <= %s: %.2f (wall), %.2f (processor), %.2f (fastest) of it",
                     Time(target).c_str(), m.wall / target, m.processor / target, m.fastest / target);
    std::fputc('\n', stderr);
}

}  // namespace

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

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

    const unsigned cores = static_cast<unsigned>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    const Medians one = Rate(read.problem, 1, rounds);
    const Medians all = Rate(read.problem, cores, rounds);
    std::fprintf(stderr,
                 "    analyses per second: wall %.0f on 1 thread, %.0f on %u threads; by processor time %.0f and "
                 "%.0f\n",
                 one.wall, all.wall, cores, one.processor, all.processor);
    if (rateTarget > 0)
        std::fprintf(stderr, "    target >= %.0f on 2 cores: %.2f (wall), %.2f (processor time) of it\n", rateTarget,
                     all.wall / rateTarget, all.processor / rateTarget);
}
