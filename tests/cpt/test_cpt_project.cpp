// Curves written into a project in its units, the project's layers as unit
// weights, and korven-cpt end to end: its summary, its written project run
// through the engine, its refusals.
#include "CptCurveWriter.h"
#include "CptRecord.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace cpt;

namespace {

std::string DataFile(const char* name) { return std::string(KORVEN_CPT_TEST_DATA) + "/" + name; }

TCptDesign SampleDesign(TLoadDirection direction = TLoadDirection::Compression)
{
    TCptSettings settings;
    settings.Direction = direction;
    const TCptProfile profile(ReadSoundingFile(DataFile("pygef_cpt.gef")), settings);
    return Design(profile, {15, 0.6, TPileEnd::Closed, 0});
}

// Runs a command; its standard output and exit code.
std::pair<std::string, int> RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = pclose(pipe);
    return {out, WEXITSTATUS(status)};
}

}  // namespace

TEST(CptCurveWriter, WritesUserCurvesInTheProjectsUnits)
{
    const TCptDesign design = SampleDesign();
    for (const UnitSystem units : {UnitSystem::SI, UnitSystem::English}) {
        TProjectTables tables;
        TProgramData project(tables);
        project.SetUnits(units);
        project.SetChanged(false);
        WriteCurves(project, design);
        EXPECT_FALSE(project.CurvesGenerated);
        EXPECT_TRUE(project.Changed());
        const long double length = units == UnitSystem::SI ? 1 : InchesPerMetre;
        const long double stress = units == UnitSystem::SI ? 1 : 1 / 6.894757L;
        ASSERT_EQ(tables.TblTZDepth2.RowCount(), static_cast<int>(design.Curves.size()));
        const int last = tables.TblTZDepth2.RowCount() - 1;
        EXPECT_NEAR(static_cast<double>(tables.TblTZDepth2.GetData(CurveDepthColumn, last).AsFloat()), 15 * length,
                    1e-9);
        const TGridTable* curve = tables.TblTZDepth2.GetData(CurvePointsColumn, last).AsTable();
        const auto& points = design.Curves.back().Points;
        ASSERT_EQ(curve->RowCount(), static_cast<int>(points.size()));
        EXPECT_NEAR(static_cast<double>(curve->GetData(0, 5).AsFloat()), points[5].first * stress,
                    points[5].first * 1e-6);
        EXPECT_NEAR(static_cast<double>(curve->GetData(1, 5).AsFloat()), points[5].second * length, 1e-12);
        ASSERT_EQ(tables.TblQwcurve2.RowCount(), static_cast<int>(design.Qw.size()));
        const long double force = units == UnitSystem::SI ? 1 : 1000 / 4.4482216L;
        EXPECT_NEAR(static_cast<double>(tables.TblQwcurve2.GetData(0, 10).AsFloat()), design.BaseCapacity * force,
                    design.BaseCapacity * 1e-4);
    }
}

TEST(CptCurveWriter, RefusesMoreCurvesThanTheTableTakesLeavingTheProject)
{
    TCptSettings settings;
    settings.MaxCurveLength = 0.1;
    const TCptProfile profile(ReadSoundingFile(DataFile("pygef_cpt.gef")), settings);
    const TCptDesign design = Design(profile, {15, 0.6, TPileEnd::Closed, 0});
    TProjectTables tables;
    TProgramData project(tables);
    EXPECT_THROW(WriteCurves(project, design), ECptError);
    EXPECT_TRUE(project.CurvesGenerated);
    EXPECT_EQ(tables.TblTZDepth2.RowCount(), 2);
}

TEST(CptCurveWriter, TensionBranchIsWeakerAndHasNoBase)
{
    const TCptDesign compression = SampleDesign();
    const TCptDesign tension = SampleDesign(TLoadDirection::Tension);
    EXPECT_LT(tension.ShaftCapacity, compression.ShaftCapacity);
    EXPECT_EQ(tension.BaseCapacity, 0);
    for (const auto& [q, w] : tension.Qw)
        EXPECT_EQ(q, 0);
}

TEST(KorvenCpt, SummaryWrittenProjectRunsAndRefusals)
{
    const std::filesystem::path folder = testing::TempDir() + "korven-cpt";
    std::filesystem::create_directories(folder);
    const std::string project = (folder / "pile.kv3d").string();
    const std::string sounding = DataFile("HKZ1-CPT03.ags");
    {
        TProjectTables tables;
        TProgramData data(tables);
        data.SetUnits(UnitSystem::SI);
        data.PileLength = 20;
        data.OuterDiameter = 2;
        for (int row = 0; row < 2; ++row) {
            tables.TblAE2.GetData(0, row).SetFloat(20 * row);
            tables.TblAE2.GetData(1, row).SetFloat(2.6E7L);
        }
        data.FileName = project;
        data.SaveToFile();
    }
    const std::string tool = KORVEN_CPT;
    const std::string profile = (folder / "profile.csv").string();
    const auto [printed, code] =
        RunCommand(tool + " " + sounding + " " + project + " --method sand --profile " + profile);
    ASSERT_EQ(code, 0) << printed;
    const auto summary = nlohmann::json::parse(printed);
    EXPECT_EQ(summary["written"], nullptr);
    EXPECT_EQ(summary["curves_written"], 0);
    EXPECT_EQ(summary["sounding"]["rows"], 2458);
    EXPECT_EQ(summary["zones"].size(), 1u);
    EXPECT_GT(summary["shaft_capacity_kN"].get<double>(), 0);
    const TSounding table = ReadSoundingFile(profile);  // a CSV the readers take back
    EXPECT_EQ(table.Rows.size(), 2458u);                 // 0 to 49.14 m every 0.02 m

    const std::string written = (folder / "cpt.kv3d").string();
    const auto [out, writtenCode] =
        RunCommand(tool + " " + sounding + " " + project + " --end open --wall-thickness 0.05 -o " + written);
    ASSERT_EQ(writtenCode, 0);
    const auto second = nlohmann::json::parse(out);
    EXPECT_EQ(second["curves_written"], second["curve_depths_m"].size());
    EXPECT_NEAR(second["pile"]["effective_area_ratio"].get<double>(), 1 - std::tanh(0.3 * std::sqrt(1.9 / 0.0357)) *
                                                                              0.95 * 0.95, 1e-9);
    const auto [run, runCode] = RunCommand(std::string(KORVEN_RUN) + " --json " + written);
    EXPECT_EQ(runCode, 0) << run;

    EXPECT_EQ(RunCommand(tool + " " + sounding + " " + project + " --end open").second, 1);  // no wall
    EXPECT_EQ(RunCommand(tool + " " + DataFile("LICENSES.md") + " " + project).second, 1);
    EXPECT_EQ(RunCommand(tool + " " + sounding).second, 2);
    EXPECT_EQ(RunCommand(tool + " " + sounding + " " + project + " --method sandy").second, 2);
}

TEST(CptRecord, SectionReadsBackAndRefusesWhatItCannotRead)
{
    TCptRecord record;
    record.SoundingPath = "soundings/CPT 7.gef";
    record.Test = "A/1";
    record.Checksum = SoundingChecksum("depth_m,qc_MPa\n");
    record.End = TPileEnd::Open;
    record.WallThickness = 0.025;
    record.Settings.Method = TMethodChoice::Clay;
    record.Settings.Direction = TLoadDirection::Tension;
    record.Settings.UnitWeights = {{2.5, 18}, {9, 20.5}};
    record.Settings.Overrides = {{3, 4.5, TSoilClass::Clay}};
    record.Settings.SensitiveClayFactor = 0.3;
    record.CurveDepths = {0, 1.5, 9};
    const nlohmann::json section = CptSection(record);
    EXPECT_EQ(CptSection(CptRecordFromSection(section)), section);
    EXPECT_EQ(CptSection(CptRecordFromSection(nlohmann::json::object())), CptSection(TCptRecord{}));
    EXPECT_EQ(SoundingChecksum(""), "cbf29ce484222325");

    for (const char* bad : {R"({"method": "gravel"})", R"({"water_table_m": "deep"})", R"({"pile": []})",
                            R"({"overrides": [{"class": "peat"}]})", R"([])"})
        EXPECT_THROW(CptRecordFromSection(nlohmann::json::parse(bad)), ECptError) << bad;
}

TEST(KorvenCpt, AgainMakesTheCurvesAnewForAChangedPileFromTheRecordedSounding)
{
    const std::filesystem::path folder = testing::TempDir() + "korven-cpt-again";
    std::filesystem::create_directories(folder);
    const std::filesystem::path sounding = folder / "cpt.gef";
    std::filesystem::copy_file(DataFile("pygef_cpt.gef"), sounding, std::filesystem::copy_options::overwrite_existing);
    const std::string project = (folder / "pile.kv3d").string();
    {
        TProjectTables tables;
        TProgramData data(tables);
        data.SetUnits(UnitSystem::SI);
        data.PileLength = 12;
        data.OuterDiameter = 0.6;
        data.FileName = project;
        data.SaveToFile();
    }
    const std::string tool = KORVEN_CPT;
    const std::string options = " --end open --wall-thickness 0.02 --water-table 1 --override 0:3:sand";
    const auto first = RunCommand(tool + " " + sounding.string() + " " + project + options + " -o " + project);
    ASSERT_EQ(first.second, 0);
    {
        TProjectTables tables;
        std::string error;
        auto data = TProgramData::CreateFromFile(tables, project, true, error);
        ASSERT_TRUE(data) << error;
        const std::optional<TCptRecord> record = RecordOfProject(*data);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->SoundingPath, sounding.string());
        EXPECT_EQ(record->End, TPileEnd::Open);
        EXPECT_EQ(record->Settings.WaterTable, 1);
        ASSERT_EQ(record->Settings.Overrides.size(), 1u);
        data->PileLength = 15;  // the pile changes
        data->SaveToFile();
    }
    const auto again = RunCommand(tool + " --again " + project + " -o " + project);
    ASSERT_EQ(again.second, 0);
    const auto before = nlohmann::json::parse(first.first);
    const auto after = nlohmann::json::parse(again.first);
    EXPECT_EQ(after["curve_depths_m"].back(), 15);
    EXPECT_EQ(after["pile"]["end"], "open");
    EXPECT_GT(after["shaft_capacity_kN"].get<double>(), before["shaft_capacity_kN"].get<double>());

    std::ofstream(sounding, std::ios::app) << "20.07; 14.7; 14.8;-999999;-999999;  0.2;  8.5;  4.3;  7.3;20.02;!\n";
    EXPECT_EQ(RunCommand(tool + " --again " + project).second, 1);  // the sounding changed
    EXPECT_EQ(RunCommand(tool + " --again " + project + " --tension").second, 2);
}
