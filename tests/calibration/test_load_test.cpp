// Load tests read from CSV with named columns and units, refused by line,
// kept in the extras file's JSON and converted with the unit system.
#include "LoadTest.h"

#include "UnitStrings.h"

#include <gtest/gtest.h>

TEST(LoadTestCsv, ReadsNamedColumnsInTheirUnitsIntoTheProjectsUnits)
{
    const TLoadTest test = ReadLoadTestCsv("# pile P3, 2024\n"
                                           "Settlement [mm]; Head load (kN); Toe movement (mm); Gauge at 6 m (kN)\r\n"
                                           "\n"
                                           "2.5; 500; 0.5; 300\n"
                                           "6.0; 1000; ; \n"
                                           "12;1500;3;1100\n",
                                           UnitSystem::SI);
    ASSERT_EQ(test.Points.size(), 3u);
    EXPECT_DOUBLE_EQ(test.Points[0].HeadLoad, 500);
    EXPECT_DOUBLE_EQ(test.Points[0].HeadSettlement, 0.0025);
    EXPECT_DOUBLE_EQ(*test.Points[0].ToeMovement, 0.0005);
    ASSERT_EQ(test.Points[0].Gauges.size(), 1u);
    EXPECT_DOUBLE_EQ(test.Points[0].Gauges[0].Depth, 6);
    EXPECT_DOUBLE_EQ(test.Points[0].Gauges[0].Load, 300);
    EXPECT_FALSE(test.Points[1].ToeMovement);  // not measured at that load
    EXPECT_TRUE(test.Points[1].Gauges.empty());

    // kips and feet into English units; a column without a unit is taken
    // in the project's.
    const TLoadTest english =
        ReadLoadTestCsv("Load (kips),Head settlement,Gauge at 10 ft (lb)\n50,0.1,1\n100,0.25,2\n150,0.5,3\n",
                        UnitSystem::English);
    EXPECT_DOUBLE_EQ(english.Points[1].HeadLoad, 100000);
    EXPECT_DOUBLE_EQ(english.Points[1].HeadSettlement, 0.25);
    EXPECT_DOUBLE_EQ(english.Points[1].Gauges[0].Depth, 120);

    // Metric units into an English project.
    const TLoadTest converted = ReadLoadTestCsv("Load (kN),Settlement (m)\n1,0.0254\n2,0.0508\n3,0.0762\n",
                                                UnitSystem::English);
    EXPECT_NEAR(converted.Points[0].HeadSettlement, 1.0, 1e-9);
    EXPECT_NEAR(converted.Points[0].HeadLoad, 224.8, 0.1);

    // Columns without a unit are named for the question, and read in the
    // system answered.
    const std::string bare = "# TP\nLoad (kN),Settlement,Gauge at 20 (kN)\n1,0.0254,1\n2,0.0508,1\n3,0.0762,1\n";
    EXPECT_EQ(LoadTestColumnsWithoutUnits(bare), (std::vector<std::string>{"Settlement", "Gauge at 20"}));
    const TLoadTest answered = ReadLoadTestCsv(bare, UnitSystem::English, UnitSystem::SI);
    EXPECT_NEAR(answered.Points[0].HeadSettlement, 1.0, 1e-9);
    EXPECT_NEAR(answered.GaugeDepths.at(0), 787.4, 0.01);
}

TEST(LoadTestCsv, RefusesABadLineByItsNumberAndText)
{
    const auto refusal = [](const std::string& text) {
        try {
            ReadLoadTestCsv(text, UnitSystem::SI);
        } catch (const ELoadTestError& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refusal("Load (kN),Settlement (mm)\n100,1\n200,2x\n300,3\n"),
              "line 3: \"2x\" is not a number: \"200,2x\"");
    EXPECT_EQ(refusal("Load (kN),Settlement (mm)\n100,1\n200\n300,3\n"),
              "line 3: a head load and a head settlement are needed on every line: \"200\"");
    EXPECT_EQ(refusal("Load (t),Settlement (mm)\n"),
              "line 1: the unit \"t\" of the column \"Load\" is not a force (lb, kip, N, kN, MN): \"Load (t),Settlement (mm)\"");
    EXPECT_EQ(refusal("Load,Depth\n"),
              "line 1: the column \"Depth\" is not known (use Head load, Head settlement, Toe movement, Gauge at DEPTH): "
              "\"Load,Depth\"");
    EXPECT_EQ(refusal("Load,Settlement\n1,1\n2,2\n"),
              "a load test needs at least 3 points of head load and settlement; it has 2");
    EXPECT_EQ(refusal("Load (kip),Settlement (mm)\n"),
              "line 1: the header names units of both the English and the SI system; give every column a unit of one "
              "system (lb, kip, in, ft or N, kN, MN, mm, cm, m): \"Load (kip),Settlement (mm)\"");
    EXPECT_EQ(refusal("Load,Settlement,Gauge at 2,Gauge at 2\n"),
              "line 1: two columns are gauges at the same depth: \"Load,Settlement,Gauge at 2,Gauge at 2\"");
    EXPECT_EQ(refusal("Load,Settlement\n1,1\n2,2\n1,3\n"),
              "points 1 and 3 have the same head load; give one settlement per load");
}

TEST(LoadTestJson, RoundTripsAndConvertsWithTheUnitSystem)
{
    TLoadTest test = ReadLoadTestCsv("Load,Settlement,Toe,Gauge at 240\n1000,0.1,0.01,800\n2000,0.3,,\n3000,0.6,0.2,2000\n",
                                     UnitSystem::English);
    const nlohmann::json section = LoadTestJson(test);
    const TLoadTest back = LoadTestFromJson(nlohmann::json::parse(section.dump()));
    EXPECT_EQ(LoadTestJson(back), section);
    EXPECT_FALSE(back.Points[1].ToeMovement);
    // A gauge placed before its first reading is kept.
    nlohmann::json placed = section;
    placed["gaugeDepths"] = {360, 240};
    EXPECT_EQ(LoadTestFromJson(placed).GaugeDepths, (std::vector<double>{240, 360}));

    test.SetUnits(UnitSystem::SI);
    EXPECT_EQ(LoadTestJson(test)["units"], "SI");
    EXPECT_NEAR(test.Points[0].Gauges[0].Depth, 6.096, 1e-9);
    test.SetUnits(UnitSystem::English);
    EXPECT_NEAR(test.Points[2].HeadLoad, 3000, 1e-9);

    EXPECT_THROW(LoadTestFromJson(nlohmann::json::parse(R"({"units":"SI","points":[{"headLoad":1}]})")),
                 ELoadTestError);
}
