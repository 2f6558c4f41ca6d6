// The in-memory core on many threads at once: every outcome, report and plot
// data file must be the one a single thread makes, in memory and on disk.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <type_traits>

#include "RandomProject.h"
#include "korven/Core.h"

namespace {

namespace fs = std::filesystem;

constexpr int kThreads = 8;
constexpr int kRounds = 2;  // each project analysed this often on the threads

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A report without the lines that differ from run to run: the time of the
// run and the folder of the input data file.
std::string Comparable(const std::string& report)
{
    std::istringstream in(report);
    std::string kept;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("               Date:  ", 0) != 0 && line.rfind("     Path to file locations", 0) != 0)
            kept += line + '\n';
    return kept;
}

template <typename T>
std::string_view Bytes(const std::vector<T>& values)
{
    static_assert(std::is_trivially_copyable_v<T>);
    return {reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T)};
}

template <typename T>
std::string_view Bytes(const T& value)
{
    static_assert(std::is_trivially_copyable_v<T>);
    return {reinterpret_cast<const char*>(&value), sizeof(T)};
}

// Equal to the last bit (a NaN equals the same NaN).
void ExpectSame(const korven::Outcome& a, const korven::Outcome& b)
{
    EXPECT_EQ(a.status, b.status);
    EXPECT_EQ(a.message, b.message);
    EXPECT_EQ(a.warnings.size(), b.warnings.size());
    EXPECT_EQ(Bytes(a.curves), Bytes(b.curves));
    EXPECT_EQ(Bytes(a.curvesUsed), Bytes(b.curvesUsed));
    EXPECT_EQ(Bytes(a.tipCurve), Bytes(b.tipCurve));
    EXPECT_EQ(Bytes(a.tipCurveUsed), Bytes(b.tipCurveUsed));
    EXPECT_EQ(Bytes(a.loadSettlement), Bytes(b.loadSettlement));
    EXPECT_EQ(Bytes(a.loadCases), Bytes(b.loadCases));
    ASSERT_EQ(a.distributions.size(), b.distributions.size());
    for (std::size_t k = 0; k < a.distributions.size(); ++k) {
        const korven::Distribution& x = a.distributions[k];
        const korven::Distribution& y = b.distributions[k];
        EXPECT_EQ(Bytes(x.tipMovement), Bytes(y.tipMovement));
        EXPECT_EQ(Bytes(x.tipLoad), Bytes(y.tipLoad));
        EXPECT_EQ(x.upward, y.upward);
        EXPECT_EQ(Bytes(x.increments), Bytes(y.increments));
        EXPECT_EQ(Bytes(x.nodeLoad), Bytes(y.nodeLoad));
        EXPECT_EQ(Bytes(x.nodeMovement), Bytes(y.nodeMovement));
    }
}

struct Analysed {
    int32_t status = -1;
    korven::Outcome outcome;
    korven::Written written;
    korven::Written files;  // what RunFiles wrote
};

const korven::RunLabels kLabels{"2014.3.3", "/projects/p.kv3d", "/projects/p.kv3o", "/projects/p.kv3p", {}};

Analysed Analyse(const std::string& text, const fs::path& folder)
{
    Analysed a;
    const korven::ReadResult read = korven::Read(text);
    if (read.status == korven::kCompleted)
        a.outcome = korven::Analyse(read.problem);
    a.status = read.status == korven::kCompleted ? a.outcome.status : read.status;
    a.written = korven::Write(kLabels, read, a.outcome);
    if (!folder.empty()) {
        const korven::RunPaths paths{(folder / "p.kv3d").string(), (folder / "p.kv3o").string(),
                                     (folder / "p.kv3p").string(), (folder / "p.kv3r").string()};
        std::ofstream(paths.input, std::ios::binary) << text;
        EXPECT_EQ(korven::RunFiles(paths, "2014.3.3").status, a.status);
        a.files = {ReadText(paths.report), ReadText(paths.plot)};
    }
    return a;
}

std::vector<std::string> Projects()
{
    std::vector<std::string> projects;
    const fs::path golden = KORVEN_GOLDEN_DIR;
    if (fs::exists(golden))
        for (const auto& entry : fs::directory_iterator(golden))
            if (entry.path().extension() == ".kv3d")
                projects.push_back(ReadText(entry.path()));
    std::sort(projects.begin(), projects.end());
    std::mt19937 random(engine_test::kRandomProjectSeed);
    for (int trial = 0; trial < 40; ++trial)
        projects.push_back(engine_test::RandomProject(random, trial));
    projects.push_back(ReadText(KORVEN_EXAMPLE_PROJECT));
    return projects;
}

TEST(EngineThreads, EightThreadsGiveTheOutcomesAndFilesOfOne)
{
    const std::vector<std::string> projects = Projects();
    std::vector<Analysed> single;
    for (const std::string& project : projects)
        single.push_back(Analyse(project, {}));

    const fs::path root = fs::temp_directory_path() / ("korven-threads-" + std::to_string(::getpid()));
    const std::size_t jobs = kRounds * projects.size();
    std::vector<Analysed> threaded(jobs);
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            const fs::path folder = root / std::to_string(t);
            fs::create_directories(folder);
            for (std::size_t job; (job = next++) < jobs;)
                threaded[job] = Analyse(projects[job % projects.size()], folder);
        });
    for (std::thread& thread : threads)
        thread.join();
    fs::remove_all(root);

    for (std::size_t job = 0; job < jobs; ++job) {
        const Analysed& one = single[job % projects.size()];
        const Analysed& many = threaded[job];
        SCOPED_TRACE(projects[job % projects.size()].substr(0, 60));
        EXPECT_EQ(many.status, one.status);
        ExpectSame(many.outcome, one.outcome);
        EXPECT_TRUE(many.written.report == one.written.report);
        EXPECT_TRUE(many.written.plot == one.written.plot);
        EXPECT_TRUE(Comparable(many.files.report) == Comparable(one.written.report));
        EXPECT_TRUE(many.files.plot == one.written.plot);
    }
}

// A problem changed by its caller is analysed as its file would be: refused
// with the file's status, or analysed with the change.
TEST(EngineCore, ChangedProblemsAreCheckedAndAnalysedAsTheirFilesWouldBe)
{
    const korven::ReadResult read = korven::Read(ReadText(KORVEN_EXAMPLE_PROJECT));
    ASSERT_EQ(read.status, korven::kCompleted);
    const korven::Outcome original = korven::Analyse(read.problem);
    ASSERT_EQ(original.status, korven::kCompleted);
    auto analysed = [&](auto change) {
        korven::Problem problem = read.problem;
        change(problem);
        return korven::Analyse(problem);
    };
    using P = korven::Problem&;
    EXPECT_EQ(analysed([](P p) { p.increments = 0; }).status, korven::kCountOutOfRange);
    EXPECT_EQ(analysed([](P p) { p.increments = 0, p.stiffness.value[0] = 0; }).status, korven::kCountOutOfRange);
    EXPECT_EQ(analysed([](P p) { p.stiffness.value[0] = 0; }).status, korven::kZeroStiffness);
    EXPECT_EQ(analysed([](P p) { p.tipMovementCount = 0; }).status, korven::kCountOutOfRange);
    EXPECT_EQ(analysed([](P p) { p.curveSource = korven::kGivenCurves; }).status, korven::kCountOutOfRange);
    EXPECT_EQ(analysed([](P p) { p.pileLength = 800; }).status, korven::kTipBelowLayers);
    EXPECT_EQ(analysed([](P p) { p.qwFactors = true, p.wMultiplier = 0; }).status, korven::kBadQwFactors);

    // A longer pile and stiffer t-z curves carry more at every tip movement.
    for (const korven::Outcome& changed :
         {analysed([](P p) { p.pileLength = 700; }),
          analysed([](P p) {
              p.tzFactorCount = 2;
              p.tzFactorDepth = {0, 1e6f};
              p.tMultiplier = {1.5f, 1.5f};
              p.zMultiplier = {1, 1};
          })}) {
        ASSERT_EQ(changed.status, korven::kCompleted);
        ASSERT_EQ(changed.loadSettlement.size(), original.loadSettlement.size());
        for (std::size_t k = 0; k < original.loadSettlement.size(); ++k)
            EXPECT_GT(changed.loadSettlement[k].topLoad, original.loadSettlement[k].topLoad) << "row " << k;
    }
}

}  // namespace
