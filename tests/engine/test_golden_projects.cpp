// Example projects with the report and plot data file that the engine must
// write for them, made by an independent implementation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "EngineHarness.h"

namespace {

namespace fs = std::filesystem;
using engine_test::EngineRun;

const fs::path kGolden = KORVEN_GOLDEN_DIR;

// The time-and-date line and the folder of the input file differ from run to run.
std::vector<std::string> Comparable(std::vector<std::string> lines)
{
    std::erase_if(lines, [](const std::string& line) {
        return line.rfind("               Date:  ", 0) == 0 || line.rfind("     Path to file locations", 0) == 0;
    });
    return lines;
}

std::vector<std::string> GoldenNames()
{
    std::vector<std::string> names;
    if (!fs::exists(kGolden))
        return names;
    for (const auto& entry : fs::directory_iterator(kGolden))
        if (entry.path().extension() == ".kv3d")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::map<std::string, int> GoldenStatuses()
{
    std::map<std::string, int> statuses;
    std::ifstream in(kGolden / "statuses.txt");
    std::string name, word;
    int status = 0;
    while (in >> name >> word >> status)
        statuses[name] = status;
    return statuses;
}

TEST(GoldenProjects, ReportsAndPlotFilesAreReproduced)
{
    auto names = GoldenNames();
    if (names.empty())
        GTEST_SKIP() << "no example projects at " << kGolden;
    auto statuses = GoldenStatuses();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EngineRun run(name);
        const std::string project = engine_test::ReadFile(kGolden / (name + ".kv3d"));
        EXPECT_EQ(run.Run(project), statuses.at(name));
        auto expected = Comparable(engine_test::ReadLines(kGolden / (name + ".kv3o")));
        auto actual = Comparable(run.ReportLines());
        ASSERT_EQ(actual.size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k)
            ASSERT_EQ(actual[k], expected[k]) << "report line " << k;
        EXPECT_EQ(engine_test::ReadFile(run.Plot()), engine_test::ReadFile(kGolden / (name + ".kv3p")));
    }
}

}  // namespace
