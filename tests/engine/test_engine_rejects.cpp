// Input the engine refuses before computing: each gets its own status and,
// once the report is open, one line in it saying what is wrong.
#include <gtest/gtest.h>

#include <filesystem>

#include "EngineHarness.h"
#include "RandomProject.h"

namespace {

namespace fs = std::filesystem;
using engine_test::EngineRun;

struct Rejected {
    const char* what;
    std::string project;
    int32_t status;
    const char* reportText;
};

const std::string kHead = "refused\n";
// One user t-z curve pair, AE and a Q-w curve, for projects that vary the
// rest; no loads, settlement or t-z factors.
std::string UserProject(const std::string& increments, const std::string& firstDepth, const std::string& ae,
                        const std::string& qw, const std::string& tips, const std::string& qwFactors = " 0\n")
{
    return kHead + increments + " 0 1\n1 \n2\n1 " + firstDepth + " 2\n0 0\n1 1\n2 100 2\n0 0\n1 1\n" + ae + qw +
           "0.001 100 12 100\n" + tips + " 0\n 0\n 0\n" + qwFactors;
}
const std::string kAE = "2\n1E6 0\n1E6 100\n";
const std::string kQW = "2\n0 0\n1000 1\n";
// A Q-w curve of 0.02 steps in w; 50 points (up to w = 0.98) fill its storage.
std::string FullQwCurve(int points = 50)
{
    std::string text = std::to_string(points) + "\n";
    for (int k = 0; k < points; ++k)
        text += std::to_string(100 * k) + " " + std::to_string(0.02 * k) + "\n";
    return text;
}
std::string WithQwFactors(const std::string& factors) { return UserProject("10", "0", kAE, kQW, "1\n0.5\n", factors); }

std::string Layers(int count, const std::string& pile)
{
    std::string text = kHead + "50 0 1\n2 \n" + std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i + 1) + " 1 " + std::to_string(10 * i) + " " + std::to_string(10 * i + 10) + "\n";
    for (int i = 0; i < 2 * count; ++i)
        text += "0.07 10 0.0 0.01 5 0\n";
    return text + "2\n1E9 0\n1E9 " + pile + "\n0.00001 " + pile + " 12 113.1\n 0\n 0\n 0\n 0\n 0\n";
}

TEST(EngineRejects, InputItCannotComputeWithAStatusAndAReportLine)
{
    const std::vector<Rejected> cases = {
        {"short file", kHead + "50 0 1\n2 \n1\n", 12, "ENDS TOO EARLY"},
        {"integer written as 3.0", kHead + "50.0 0 1\n", 12, "MISSING OR MALFORMED"},
        {"word for a number", UserProject("10", "0", kAE, "2\n0 zero\n1000 1\n", "1\n0.5\n"), 12, "MALFORMED"},
        {"too many increments", UserProject("901", "0", kAE, kQW, "1\n0.5\n"), 13, "INCREMENTS"},
        {"no increments", UserProject("0", "0", kAE, kQW, "1\n0.5\n"), 13, "INCREMENTS"},
        {"51 tip movements", UserProject("10", "0", kAE, kQW, "51\n" + std::string(51 * 4, ' ')), 13, "TIP MOVEMENTS"},
        {"21 layers", Layers(21, "200"), 13, "SOIL LAYERS"},
        {"unit code 3", kHead + "50 0 3\n", 13, "UNIT SYSTEM"},
        {"tip below the layers", Layers(2, "25"), 14, "BELOW THE BOTTOM"},
        {"AE of zero", UserProject("10", "0", "2\n1E6 0\n0 100\n", kQW, "1\n0.5\n"), 15, "AE OF ZERO"},
        {"one-point Q-w curve", UserProject("10", "0", kAE, "1\n0 0\n", "1\n0.5\n"), 16, "AT LEAST TWO POINTS"},
        {"pile above the first curve", UserProject("10", "6", kAE, kQW, "1\n0.5\n"), 17, "ABOVE THE FIRST T-Z CURVE"},
        {"tip movement beyond a 50-point Q-w curve", UserProject("10", "0", kAE, FullQwCurve(), "2\n0.5\n0.99\n"), 18,
         "BEYOND THE LAST POINT"},
        {"upward tip movement beyond a 50-point Q-w curve", UserProject("10", "0", kAE, FullQwCurve(), "1\n-1.5\n"), 18,
         "BEYOND THE LAST POINT"},
        {"default tip movements beyond a 50-point Q-w curve", UserProject("10", "0", kAE, FullQwCurve(), "0\n"), 18,
         "BEYOND THE LAST POINT"},
        {"Q-w w-multiplier of zero", WithQwFactors(" 1\n1 0\n"), 19, "W-MULTIPLIER"},
        {"negative Q-w w-multiplier", WithQwFactors(" 1\n1 -0.5\n"), 19, "W-MULTIPLIER"},
        {"negative Q-w Q-multiplier", WithQwFactors(" 1\n-1 1\n"), 19, "Q-MULTIPLIER"},
    };
    for (const Rejected& c : cases) {
        SCOPED_TRACE(c.what);
        EngineRun run;
        EXPECT_EQ(run.Run(c.project), c.status);
        auto report = run.ReportLines();
        ASSERT_FALSE(report.empty());
        EXPECT_NE(report.back().find("**** ERROR ****"), std::string::npos) << report.back();
        EXPECT_NE(report.back().find(c.reportText), std::string::npos) << report.back();
    }
}

// The edges of the guards above still compute.
TEST(EngineRejects, FullQwCurveAndZeroQMultiplierAreAccepted)
{
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"tip movements up to the last point of a 50-point curve",
         UserProject("10", "0", kAE, FullQwCurve(), "3\n0.5\n-0.98\n0.98\n")},
        {"49-point curve and a tip movement beyond it", UserProject("10", "0", kAE, FullQwCurve(49), "1\n5\n")},
        {"Q-multiplier of zero", WithQwFactors(" 1\n0 1\n")},
        {"w-multiplier that brings the last point past the tip movement",
         UserProject("10", "0", kAE, FullQwCurve(), "1\n1.5\n", " 1\n1 2\n")},
    };
    for (const auto& [what, project] : cases) {
        SCOPED_TRACE(what);
        EngineRun run;
        EXPECT_EQ(run.Run(project), 0) << run.ReportLines().back();
    }
}

TEST(EngineRejects, MissingNamesOrInputFiles)
{
    EngineRun noNames;
    EXPECT_EQ(noNames.Call(), 10);

    EngineRun noInput;
    noInput.WriteNames({"2014.3.3", "", "", "0", (noInput.Folder() / "missing.kv3d").string(),
                        noInput.Report().string(), noInput.Plot().string(), noInput.Notes().string()});
    EXPECT_EQ(noInput.Call(), 11);
    EXPECT_FALSE(fs::exists(noInput.Folder() / "missing.kv3d"));  // never created
    EXPECT_NE(noInput.ReportLines().back().find("INPUT DATA FILE CANNOT BE OPENED"), std::string::npos);

    // A report path longer than its line is refused, not cut to another file's name.
    EngineRun longPath;
    const std::string longReport = (longPath.Folder() / (std::string(300, 'r') + ".kv3o")).string();
    longPath.WriteNames({"2014.3.3", "", "", "0", longPath.Input().string(), longReport, longPath.Plot().string(),
                         longPath.Notes().string()});
    EXPECT_EQ(longPath.Call(), 11);
    EXPECT_TRUE(fs::is_empty(longPath.Folder()));

    EngineRun shortNames;  // the report path is missing: nothing can be written
    shortNames.WriteNames({"2014.3.3", "", "", "0", shortNames.Input().string()});
    EXPECT_EQ(shortNames.Call(), 11);
}

// Random projects of every shape the input file can hold, inside and beyond
// the capacities: each run ends with a documented status and the report and
// plot file agree on the load-settlement table.
TEST(EngineRejects, RandomProjectsEndWithADocumentedStatus)
{
    std::mt19937 random(engine_test::kRandomProjectSeed);
    for (int trial = 0; trial < 60; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        const std::string text = engine_test::RandomProject(random, trial);
        EngineRun run;
        const int32_t status = run.Run(text);
        EXPECT_TRUE(status == 0 || (status >= 4 && status <= 8) || (status >= 12 && status <= 17)) << status << "\n"
                                                                                                   << text;
        if (status != 0)
            continue;
        // The last rows of the plot file are the last rows of the report.
        auto plot = run.PlotLines();
        auto report = run.ReportLines();
        ASSERT_FALSE(plot.empty());
        ASSERT_FALSE(report.empty());
        EXPECT_EQ(plot.back(), report.back());
    }
}

}  // namespace
