#include "BatchResults.h"
#include "KorvenVersion.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TRun {
    int ExitCode = -1;
    std::string Out;
};

// Runs korven-run with `arguments` (each quoted), standard error discarded.
TRun RunTool(const std::vector<std::string>& arguments)
{
    std::string command = "'" KORVEN_RUN "'";
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    command += " 2>/dev/null";
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.Out.append(buffer, n);
    const int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The rows of the report's first load-settlement table, four numbers each.
std::vector<std::vector<double>> ReportTable(const fs::path& report)
{
    std::istringstream text(ReadText(report));
    std::vector<std::vector<double>> rows;
    bool inTable = false;
    for (std::string line; std::getline(text, line);) {
        if (!inTable) {
            inTable = line.find("TOP  LOAD     TOP MOVEMENT") != std::string::npos;
            continue;
        }
        std::istringstream words(line);
        std::vector<double> row;
        for (double value; words >> value;)
            row.push_back(value);
        if (row.size() == 4)
            rows.push_back(row);
        else if (!rows.empty())
            break;
    }
    return rows;
}

class KorvenRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = fs::temp_directory_path() /
                  ("korven-run-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(FFolder);
    }
    void TearDown() override { fs::remove_all(FFolder); }

    fs::path Copy(const fs::path& source, const std::string& name)
    {
        const fs::path target = FFolder / name;
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
        return target;
    }

    fs::path FFolder;
};

TEST_F(KorvenRun, JsonMatchesTheReportAndTheCsvFiles)
{
    const fs::path project = Copy(KORVEN_EXAMPLES "/example.kv3d", "example.kv3d");
    const TRun run = RunTool({"--json", "--csv", project.string()});
    ASSERT_EQ(run.ExitCode, 0);
    const nlohmann::json document = nlohmann::json::parse(run.Out);
    ASSERT_EQ(document["projects"].size(), 1u);
    const nlohmann::json& result = document["projects"][0];
    EXPECT_EQ(result["status"], 0);
    EXPECT_EQ(result["status_meaning"], "run completed");
    EXPECT_EQ(result["units"]["force"], "lb");
    EXPECT_EQ(fs::path(result["files"]["report"].get<std::string>()), FFolder / "example.kv3o");

    // The banner names the version in the 12 characters of the program's runs.
    std::string version = kKorvenVersion;
    version.resize(12, ' ');
    EXPECT_NE(ReadText(FFolder / "example.kv3o").find("Version " + version + "\n"), std::string::npos);
    const auto table = ReportTable(FFolder / "example.kv3o");
    const nlohmann::json& points = result["load_settlement"];
    ASSERT_EQ(points.size(), table.size());
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_DOUBLE_EQ(points[i]["top_load"].get<double>(), table[i][0]) << "row " << i;
        EXPECT_DOUBLE_EQ(points[i]["top_movement"].get<double>(), table[i][1]) << "row " << i;
        EXPECT_DOUBLE_EQ(points[i]["tip_movement"].get<double>(), table[i][2]) << "row " << i;
        EXPECT_DOUBLE_EQ(points[i]["tip_load"].get<double>(), table[i][3]) << "row " << i;
    }
    EXPECT_EQ(result["load_cases"].size(), 4u);
    EXPECT_TRUE(result["readouts"]["largest"]["reached"].get<bool>());

    // One heading line and one line per row in each CSV file.
    const auto lines = [](const fs::path& path) {
        const std::string text = ReadText(path);
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_EQ(lines(FFolder / "example.load-settlement.csv"), static_cast<long>(table.size()) + 1);
    EXPECT_EQ(lines(FFolder / "example.load-cases.csv"), 5);
    const std::string cases = ReadText(FFolder / "example.load-cases.csv");
    EXPECT_EQ(cases.substr(0, cases.find('\n')), "Top load (lb),Top movement (in),Tip movement (in),Tip load (lb),Note");
}

TEST_F(KorvenRun, RefusedProjectsMakeTheExitCodeOneAndStayInTheDocument)
{
    const fs::path good = Copy(KORVEN_EXAMPLES "/example.kv3d", "good.kv3d");
    const fs::path bad = FFolder / "bad.kv3d";
    std::ofstream(bad) << "a title\nnot a number\n";
    const TRun run = RunTool({"--json", good.string(), bad.string()});
    EXPECT_EQ(run.ExitCode, 1);
    const nlohmann::json document = nlohmann::json::parse(run.Out);
    ASSERT_EQ(document["projects"].size(), 2u);
    EXPECT_EQ(document["projects"][0]["status"], 0);
    EXPECT_EQ(document["projects"][1]["status"], 12);
    EXPECT_EQ(document["projects"][1]["status_meaning"], EngineStatusMeaning(12));
    EXPECT_NE(EngineStatusMeaning(12), std::string("unknown status"));
    EXPECT_TRUE(document["projects"][1].contains("error"));
    EXPECT_FALSE(document["projects"][1].contains("readouts"));
}

// Projects run at once give the files and the output of one after another.
TEST_F(KorvenRun, JobsGiveTheFilesAndTheOutputOfASequentialRun)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(KORVEN_GOLDEN_DIR))
        if (entry.path().extension() == ".kv3d")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    names.resize(std::min<std::size_t>(names.size(), 12));
    if (names.empty())
        GTEST_SKIP() << "no example projects at " << KORVEN_GOLDEN_DIR;
    auto runIn = [&](const std::string& folder, const std::string& jobs) {
        fs::create_directories(FFolder / folder);
        std::vector<std::string> arguments = {"--table", "--csv", "--jobs", jobs};
        for (const std::string& name : names)
            arguments.push_back(
                Copy(fs::path(KORVEN_GOLDEN_DIR) / (name + ".kv3d"), folder + "/" + name + ".kv3d").string());
        std::ofstream(FFolder / folder / "bad.kv3d") << "a title\nnot a number\n";
        arguments.push_back((FFolder / folder / "bad.kv3d").string());
        TRun run = RunTool(arguments);
        for (std::size_t at; (at = run.Out.find(folder + "/")) != std::string::npos;)
            run.Out.erase(at, folder.size() + 1);
        return run;
    };
    const TRun one = runIn("one", "1");
    const TRun many = runIn("many", "4");
    EXPECT_EQ(one.ExitCode, 1);
    EXPECT_EQ(many.ExitCode, 1);
    EXPECT_EQ(many.Out, one.Out);
    // The reports differ only in the time of the run and their folder.
    auto comparable = [](const fs::path& report) {
        std::istringstream text(ReadText(report));
        std::string kept;
        for (std::string line; std::getline(text, line);)
            if (line.find("Date:  ") == std::string::npos && line.find("Path to file locations") == std::string::npos)
                kept += line + '\n';
        return kept;
    };
    names.push_back("bad");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(comparable(FFolder / "many" / (name + ".kv3o")), comparable(FFolder / "one" / (name + ".kv3o")));
        EXPECT_EQ(ReadText(FFolder / "many" / (name + ".kv3p")), ReadText(FFolder / "one" / (name + ".kv3p")));
    }
}

TEST_F(KorvenRun, UsageHelpAndUnknownOptions)
{
    EXPECT_EQ(RunTool({}).ExitCode, 2);
    EXPECT_EQ(RunTool({"--frobnicate", "x.kv3d"}).ExitCode, 2);
    EXPECT_EQ(RunTool({"--jobs", "0", "x.kv3d"}).ExitCode, 2);
    EXPECT_EQ(RunTool({"--jobs"}).ExitCode, 2);
    const TRun help = RunTool({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("usage: korven-run [--table] [--csv] [--json]"), std::string::npos);
    EXPECT_NE(help.Out.find("Exit code"), std::string::npos);
}

TEST(BatchResults, CsvOfRowsInSiUnits)
{
    EXPECT_EQ(RowsCsv({{1234.5, 0.0125, 0.01, 99}, {2000, 0.2, 0.15, 300}, {5000, -2.2e-4, 0, 0}},
                      {TRowFlag::None, TRowFlag::TipBeyondQw, TRowFlag::BeyondCurve}, UnitSystem::SI),
              "Top load (kN),Top movement (m),Tip movement (m),Tip load (kN),Note\n1234.5,0.0125,0.01,99,\n"
              "2000,0.2,0.15,300,tip beyond the Q-w curve\n5000,,,,beyond the computed curve\n");
}

TEST_F(KorvenRun, FlaggedLoadCasesAndReadoutsNotApplicableInJson)
{
    const std::string golden = KORVEN_GOLDEN_DIR;
    if (!fs::exists(golden + "/e22_si_loads_settlement.kv3d"))
        GTEST_SKIP() << "no reference files in " << golden;
    const fs::path si = Copy(golden + "/e22_si_loads_settlement.kv3d", "si.kv3d");
    const fs::path drag = Copy(golden + "/e16_downdrag.kv3d", "drag.kv3d");
    const TRun run = RunTool({"--json", "--csv", si.string(), drag.string()});
    ASSERT_EQ(run.ExitCode, 0);
    const nlohmann::json document = nlohmann::json::parse(run.Out);
    // 1000 kN lies beyond the computed curve: only its load is given.
    const nlohmann::json& cases = document["projects"][0]["load_cases"];
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_TRUE(cases[0]["flag"].is_null());
    EXPECT_EQ(cases[1]["flag"], "beyond the computed curve");
    EXPECT_EQ(cases[1]["top_load"], 1000);
    EXPECT_TRUE(cases[1]["top_movement"].is_null());
    EXPECT_NE(ReadText(FFolder / "si.load-cases.csv").find("\n1000,,,,beyond the computed curve\n"), std::string::npos);
    // Down-drag settles the head past Davisson's offset at zero head load.
    const nlohmann::json& davisson = document["projects"][1]["readouts"]["davisson"];
    EXPECT_FALSE(davisson["reached"].get<bool>());
    EXPECT_EQ(davisson["not_applicable"].get<std::string>().rfind("already met at zero head load", 0), 0u);
}

}  // namespace
