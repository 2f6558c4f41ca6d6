// The CPT window's model: soundings opened whole or not at all, the test of
// an AGS4 file, the profile plots, the write into a project and taking the
// project's record up again.
#include "CptWindowModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace cpt;

namespace {

std::string DataFile(const char* name) { return std::string(KORVEN_CPT_TEST_DATA) + "/" + name; }

std::filesystem::path Folder(const char* name)
{
    const std::filesystem::path folder = testing::TempDir() + name;
    std::filesystem::create_directories(folder);
    return folder;
}

const TProfileSeries* Series(const std::vector<TProfileSeries>& list, const std::string& name)
{
    for (const TProfileSeries& s : list)
        if (s.Name == name)
            return &s;
    return nullptr;
}

}  // namespace

TEST(CptWindowModel, OpensWholeSoundingsPicksAgsTestsAndKeepsTheOpenOneOnARefusal)
{
    const std::filesystem::path ags = Folder("cpt-window-open") / "two.ags";
    std::ofstream(ags) << "\"GROUP\",\"SCPT\"\n"
                          "\"HEADING\",\"LOCA_ID\",\"SCPG_TESN\",\"SCPT_DPTH\",\"SCPT_RES\"\n"
                          "\"UNIT\",\"\",\"\",\"m\",\"MPa\"\n"
                          "\"TYPE\",\"ID\",\"X\",\"2DP\",\"3DP\"\n"
                          "\"DATA\",\"A\",\"1\",\"1.0\",\"2.0\"\n"
                          "\"DATA\",\"A\",\"1\",\"2.0\",\"3.0\"\n"
                          "\"DATA\",\"B\",\"1\",\"1.0\",\"5.0\"\n"
                          "\"DATA\",\"B\",\"1\",\"3.0\",\"6.0\"\n"
                          "\"DATA\",\"B\",\"1\",\"4.0\",\"7.0\"\n";
    TCptWindowModel model;
    model.Open(ags.string());
    EXPECT_EQ(model.Tests(), (std::vector<std::string>{"A/1", "B/1"}));
    EXPECT_EQ(model.Record.Test, "A/1");
    EXPECT_EQ(model.Sounding().Rows.size(), 2u);
    model.Open(ags.string(), "B/1");
    EXPECT_EQ(model.Sounding().Rows.size(), 3u);

    model.Record.CurveDepths = {0, 1};
    const std::string checksum = model.Record.Checksum;
    const std::filesystem::path bad = ags.parent_path() / "bad.csv";
    std::ofstream(bad) << "depth_m,qc\n1,2\n";
    EXPECT_THROW(model.Open(bad.string()), ESoundingError);
    EXPECT_EQ(model.Sounding().Rows.size(), 3u);
    EXPECT_EQ(model.Record.SoundingPath, ags.string());
    EXPECT_EQ(model.Record.Checksum, checksum);
    EXPECT_EQ(model.Record.CurveDepths, (std::vector<double>{0, 1}));
    // Another sounding starts with the proposed depths.
    model.Open(DataFile("pygef_cpt.gef"));
    EXPECT_TRUE(model.Record.CurveDepths.empty());
    EXPECT_TRUE(model.Tests().empty());
}

TEST(CptWindowModel, PlotsTheProfileInMegapascalsAndKilopascals)
{
    TCptWindowModel model;
    model.Open(DataFile("pygef_cpt.gef"));
    const TProfilePlots plots = model.Plots();
    const TProfileSeries* qc = Series(plots.Resistance, "q_c");
    ASSERT_TRUE(qc);
    ASSERT_EQ(qc->Points.size(), model.Sounding().Rows.size());
    const TSoundingRow& row = model.Sounding().Rows[100];
    EXPECT_DOUBLE_EQ(qc->Points[100].first, row.Qc / 1000);
    EXPECT_DOUBLE_EQ(qc->Points[100].second, row.Depth);
    ASSERT_TRUE(Series(plots.Resistance, "q_t"));
    ASSERT_TRUE(Series(plots.Friction, "f_s"));
    const TProfileSeries* u0 = Series(plots.Friction, "u_0");
    ASSERT_TRUE(u0);
    // Hydrostatic below the water table at the surface.
    EXPECT_NEAR(u0->Points.back().first, 9.81 * u0->Points.back().second, 1e-9);
    ASSERT_EQ(plots.Behaviour.size(), 1u);
    EXPECT_GT(plots.Behaviour[0].Points.size(), 900u);
}

TEST(CptWindowModel, WritesCurvesAndRecordAndResumesReportingAChangedFile)
{
    const std::filesystem::path folder = Folder("cpt-window-write");
    const std::filesystem::path sounding = folder / "cpt.gef";
    std::filesystem::copy_file(DataFile("pygef_cpt.gef"), sounding, std::filesystem::copy_options::overwrite_existing);
    TProjectTables tables;
    TProgramData project(tables);
    project.SetUnits(UnitSystem::SI);
    project.PileLength = 12;
    project.OuterDiameter = 2;

    TCptWindowModel model;
    model.Open(sounding.string());
    model.Record.End = TPileEnd::Open;
    model.Record.WallThickness = 0;  // not a closed end: refused, nothing written
    EXPECT_THROW(model.Write(project), ECptError);
    EXPECT_TRUE(project.CurvesGenerated);
    EXPECT_FALSE(RecordOfProject(project));

    model.Record.WallThickness = 0.03;
    model.Record.Settings.Overrides = {{0, 3, TSoilClass::Sand}};
    model.Record.CurveDepths = {0, 2, 5, 12};
    model.Write(project);
    EXPECT_FALSE(project.CurvesGenerated);
    EXPECT_EQ(tables.TblTZDepth2.RowCount(), 4);
    const std::optional<TCptRecord> record = RecordOfProject(project);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Checksum, model.Record.Checksum);
    EXPECT_EQ(record->CurveDepths, model.Record.CurveDepths);

    TCptWindowModel again;
    EXPECT_EQ(again.Resume(*record), "");
    EXPECT_EQ(again.Record.End, TPileEnd::Open);
    EXPECT_EQ(again.Record.Settings.Overrides.size(), 1u);
    EXPECT_EQ(again.Design(project).Curves.size(), 4u);

    std::ofstream(sounding, std::ios::app) << "\n20.07; 14.7; 14.8;-999999;-999999;  0.2;  8.5;  4.3;  7.3;20.02;!\n";
    EXPECT_NE(again.Resume(*record).find("has changed"), std::string::npos);
    EXPECT_NE(again.Record.Checksum, record->Checksum);
    EXPECT_EQ(again.Record.CurveDepths, record->CurveDepths);

    std::filesystem::remove(sounding);
    TCptWindowModel gone;
    EXPECT_THROW(gone.Resume(*record), ESoundingError);
    EXPECT_EQ(gone.Record.WallThickness, 0.03);  // the settings are taken all the same
    EXPECT_FALSE(gone.HasSounding());
}
