// korven-run --study as a script uses it: the results files, exit codes and
// a study file that cannot be used.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

class StudyCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = fs::temp_directory_path() / ("korven-study-" + std::to_string(::getpid()));
        fs::create_directories(FFolder);
        fs::copy_file(KORVEN_EXAMPLE_PROJECT, FFolder / "example.kv3d", fs::copy_options::overwrite_existing);
    }
    void TearDown() override { fs::remove_all(FFolder); }

    // Writes the study and runs korven-run over the example; the exit code.
    int Run(const std::string& study)
    {
        std::ofstream(FFolder / "study.json") << study;
        return RunStudy((FFolder / "study.json").string());
    }
    // Runs korven-run --study ARGUMENT over the example; the exit code.
    int RunStudy(const std::string& argument)
    {
        const std::string command = "'" KORVEN_RUN "' --study '" + argument + "' '" +
                                    (FFolder / "example.kv3d").string() + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    json Results() const { return json::parse(std::ifstream(FFolder / "study.results.json")); }

    fs::path FFolder;
};

}  // namespace

TEST_F(StudyCommand, ParametricStudyWritesJsonAndCsv)
{
    ASSERT_EQ(Run(R"({"kind": "parametric", "input": {"target": "pile_length"},
                      "values": {"from": 540, "to": 720, "count": 4}})"),
              0);
    const json results = Results();
    ASSERT_EQ(results["steps"].size(), 4u);
    EXPECT_EQ(results["steps"][3]["value"], 720);
    EXPECT_EQ(results["units"]["length"], "in");
    EXPECT_TRUE(results["steps"][3]["ten_percent_diameter"]["reached"]);
    std::ifstream steps(FFolder / "study.steps.csv");
    std::string heading;
    std::getline(steps, heading);
    EXPECT_EQ(heading.rfind("Pile length (in),Status,Load at 10 % of the diameter (lb)", 0), 0u);
    EXPECT_TRUE(fs::exists(FFolder / "study.curves.csv"));
}

TEST_F(StudyCommand, ProbabilisticStudyReportsRefusalsWithExitCodeOne)
{
    // Lengths beyond the layers are refused by the engine, and counted.
    ASSERT_EQ(Run(R"({"kind": "probabilistic", "realisations": 50, "settlement_load": 100000,
                      "settlement_limit": 0.05,
                      "inputs": [{"target": "pile_length",
                                  "distribution": {"type": "uniform", "min": 600, "max": 800}}]})"),
              1);
    const json results = Results();
    EXPECT_EQ(results["realisations"], 50);
    EXPECT_GT(results["refused"].get<int>(), 0);
    EXPECT_EQ(results["refused"].get<int>() + results["analysed"].get<int>(), 50);
    EXPECT_EQ(results["refusals"][0]["status"], 14);
    EXPECT_TRUE(results.contains("exceedance"));
    for (const char* table : {"samples", "bands", "readouts", "sensitivity", "exceedance"})
        EXPECT_TRUE(fs::exists(FFolder / ("study." + std::string(table) + ".csv"))) << table;
}

TEST_F(StudyCommand, UnusableStudyIsAUsageError)
{
    EXPECT_EQ(Run(R"({"kind": "parametric", "input": {"target": "e50", "layer": 7}, "values": [1, 2]})"), 2);
    EXPECT_EQ(Run("not json"), 2);
    EXPECT_FALSE(fs::exists(FFolder / "study.results.json"));
}

TEST_F(StudyCommand, StudyKeptWithTheProjectRunsByName)
{
    std::ofstream(FFolder / "example.kv3x") << R"({"schemaVersion": 1, "studies": {"definitions": [
        {"name": "Length / sweep", "kind": "parametric", "input": {"target": "pile_length", "mode": "factor"},
         "values": [0.9, 1.1]}]}})";
    ASSERT_EQ(RunStudy("Length / sweep"), 0);
    // The name's separator never leads the results out of the project's folder.
    const json results = json::parse(std::ifstream(FFolder / "example.Length___sweep.results.json"));
    EXPECT_EQ(results["steps"].size(), 2u);
    EXPECT_TRUE(fs::exists(FFolder / "example.Length___sweep.steps.csv"));
    EXPECT_EQ(RunStudy("Width sweep"), 2);
}
