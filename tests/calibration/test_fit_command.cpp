// korven-run --fit: JSON on standard output, nothing written unless --apply
// names the project to write.
#include "CalibrationTestSupport.h"
#include "FitCommand.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct TCommand {
    int ExitCode;
    std::string Out;
    std::string Err;
};

TCommand RunFit(const std::vector<std::string>& arguments)
{
    std::ostringstream out, err;
    const int code = RunFitCommand(arguments, out, err);
    return {code, out.str(), err.str()};
}

class FitCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = fs::temp_directory_path() / ("korven-fit-" + std::to_string(::getpid()));
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        Project = Folder / "pile.kv3d";
        Test = Folder / "test.csv";
        fs::copy_file(KORVEN_EXAMPLES "/example.kv3d", Project);
        // A test measured on the example with shaft t x1.3, z x0.8.
        TProjectTables tables;
        auto project = OpenProject(tables, Project.string());
        const TCalibration maker(*project, {UnitSystem::English, {{1, 1, {}, {}}, {2, 2, {}, {}}, {3, 3, {}, {}}}, {}},
                                 {});
        const TLoadTest test = MeasuredTest(maker, {1.3, 0.8, 1, 1}, 0.6, 8);
        std::ofstream csv(Test);
        csv << "Head load (lb),Head settlement (in)\n";
        for (const TLoadTestPoint& point : test.Points)
            csv << point.HeadLoad << ',' << point.HeadSettlement << '\n';
    }
    void TearDown() override { fs::remove_all(Folder); }

    fs::path Folder;
    fs::path Project;
    fs::path Test;
};

}  // namespace

TEST_F(FitCommand, PrintsTheFitAndWritesNothingUnlessApplied)
{
    const TCommand fit = RunFit({"--fit", Test.string(), Project.string(), "--params", "shaft"});
    ASSERT_EQ(fit.ExitCode, 0) << fit.Err;
    const nlohmann::json json = nlohmann::json::parse(fit.Out);
    ASSERT_EQ(json["parameters"].size(), 2u);
    EXPECT_EQ(json["parameters"][0]["name"], "shaft t");
    EXPECT_NEAR(json["parameters"][0]["value"].get<double>(), 1.3, 0.013);
    EXPECT_NEAR(json["parameters"][1]["value"].get<double>(), 0.8, 0.008);
    EXPECT_LT(json["misfit"]["after"]["settlementRms"].get<double>(),
              0.01 * json["misfit"]["before"]["settlementRms"].get<double>());
    EXPECT_EQ(json["units"]["length"], "in");
    EXPECT_EQ(json["comparison"].size(), 8u);
    EXPECT_EQ(json["factors"]["tz"].size(), 2u);
    EXPECT_FALSE(json["factors"].contains("qw"));
    EXPECT_GT(json["fittedCurve"].size(), 10u);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 2);

    const fs::path applied = Folder / "fitted.kv3d";
    ASSERT_EQ(RunFit({"--fit", Test.string(), Project.string(), "--params", "shaft", "--apply", applied.string()}).ExitCode,
              0);
    TProjectTables tables;
    auto project = OpenProject(tables, applied.string());
    ASSERT_TRUE(project->ApplyTzFactors);
    EXPECT_FALSE(project->ApplyQwFactors);
    EXPECT_NEAR(static_cast<double>(tables.TblTZFactors2.GetData(1, 0).AsFloat()), 1.3, 0.013);
    const std::optional<TLoadTest> kept = ProjectLoadTest(*project);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Points.size(), 8u);
    std::string error;
    EXPECT_FALSE(TProgramData::CreateFromFile(tables, Project.string(), true, error)->ApplyTzFactors);
}

TEST_F(FitCommand, RefusesBadArgumentsAndData)
{
    EXPECT_EQ(RunFit({"--fit", Test.string(), Project.string(), "--params", "shaft,toe"}).ExitCode, 2);
    EXPECT_EQ(RunFit({"--fit", Test.string(), Project.string(), "--params", "shaft,layers-t"}).ExitCode, 2);
    EXPECT_EQ(RunFit({"--fit", Test.string()}).ExitCode, 2);
    const TCommand one = RunFit({"--fit", Test.string(), Project.string(), "--params", "layers-t,tip-Q"});
    ASSERT_EQ(one.ExitCode, 0) << one.Err;
    const nlohmann::json parameters = nlohmann::json::parse(one.Out)["parameters"];
    ASSERT_EQ(parameters.size(), 4u);
    EXPECT_EQ(parameters[2]["name"], "layer 3 t");
    EXPECT_EQ(parameters[3]["name"], "tip Q");
    std::ofstream(Test) << "Head load (lb),Head settlement (in)\n1000,0.01\n2000,oops\n";
    const TCommand bad = RunFit({"--fit", Test.string(), Project.string()});
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_NE(bad.Err.find("line 3: \"oops\" is not a number"), std::string::npos) << bad.Err;
}
