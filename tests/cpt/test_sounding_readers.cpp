// The sounding readers against the sample files (counts, units, values read
// off the files by hand), their refusals, and the damage sweep: an excerpt
// of each sample cut at every offset and with bytes replaced either reads
// whole or is refused with a line and a reason.
#include "Sounding.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

std::string Sample(const char* name)
{
    return ReadFileBytes(std::string(KORVEN_CPT_TEST_DATA) + "/" + name);
}

// The first `records` data lines of a sample after its header (the line
// that contains `headerEnd`).
std::string Excerpt(const std::string& text, const std::string& headerEnd, int records)
{
    std::size_t at = text.find(headerEnd);
    at = text.find('\n', at) + 1;
    for (int i = 0; i < records; ++i)
        at = text.find('\n', at) + 1;
    return text.substr(0, at);
}

int RefusalLine(const std::function<void()>& read)
{
    try {
        read();
    } catch (const ESoundingError& e) {
        return e.Line();
    }
    return -1;
}

// Reads every cut and a sample of replaced bytes; each either reads whole
// (increasing depths, finite values) or is refused with ESoundingError.
void SweepDamage(const std::string& whole, const std::function<TSounding(std::string_view)>& read)
{
    int refused = 0;
    const auto attempt = [&](std::string_view text, const std::string& what) {
        try {
            const TSounding s = read(text);
            ASSERT_GE(s.Rows.size(), 2u) << what;
            for (std::size_t i = 1; i < s.Rows.size(); ++i)
                ASSERT_GT(s.Rows[i].Depth, s.Rows[i - 1].Depth) << what;
        } catch (const ESoundingError& e) {
            ++refused;
            ASSERT_FALSE(e.Reason().empty()) << what;
        }
    };
    for (std::size_t size = 0; size < whole.size(); ++size) {
        attempt(std::string_view(whole).substr(0, size), "cut at " + std::to_string(size));
        if (testing::Test::HasFailure())
            return;
    }
    for (std::size_t at = 0; at < whole.size(); at += 7)
        for (char replacement : {'9', ',', ';', '"', '\n', 'x', '#', '='}) {
            std::string text = whole;
            text[at] = replacement;
            attempt(text, "byte " + std::to_string(at) + " = " + replacement);
            if (testing::Test::HasFailure())
                return;
        }
    EXPECT_GT(refused, 0);
}

}  // namespace

TEST(GefReader, ReadsColumnsByQuantityWithVoidsSeparatorsAndCorrectedDepth)
{
    const TSounding s = ReadGef(Sample("pygef_cpt.gef"));
    EXPECT_EQ(s.Name, "CPTU17.8 + 83BITE");
    EXPECT_DOUBLE_EQ(s.NetAreaRatio, 0.80);
    // 1004 records; the first has only voids.
    ASSERT_EQ(s.Rows.size() + s.DroppedRows, 1004u);
    EXPECT_EQ(s.DroppedRows, 1);
    // "00.01;  0.013;  0.013;  0.002;  0.647;  0.000; ...;00.010;!"
    EXPECT_DOUBLE_EQ(s.Rows[0].Depth, 0.010);
    EXPECT_DOUBLE_EQ(s.Rows[0].Qc, 13);
    EXPECT_DOUBLE_EQ(s.Rows[0].Qt, 13);
    EXPECT_DOUBLE_EQ(s.Rows[0].Fs, 2);
    EXPECT_DOUBLE_EQ(s.Rows[0].U2, 0);
    // "20.05; 14.766; 14.808;-999999;-999999;  0.209; ...;20.004;!": the
    // corrected depth, and a void friction.
    EXPECT_DOUBLE_EQ(s.Rows.back().Depth, 20.004);
    EXPECT_DOUBLE_EQ(s.Rows.back().Qc, 14766);
    EXPECT_TRUE(std::isnan(s.Rows.back().Fs));
    EXPECT_DOUBLE_EQ(s.Rows.back().U2, 209);
}

TEST(GefReader, ReadsSpacedKeywordsWhitespaceColumnsAndDownwardNegativeLengths)
{
    const TSounding s = ReadGef(Sample("pygef_cpt3.gef"));
    EXPECT_EQ(s.Name, "A01-1");
    EXPECT_TRUE(std::isnan(s.NetAreaRatio));
    EXPECT_EQ(s.Rows.size() + s.DroppedRows, 5939u);
    // " -5.0000E-03  2.0000E-02  2.0000E-04"
    EXPECT_DOUBLE_EQ(s.Rows[0].Depth, 0.005);
    EXPECT_DOUBLE_EQ(s.Rows[0].Qc, 20);
    EXPECT_NEAR(s.Rows[0].Fs, 0.2, 1e-12);
    EXPECT_TRUE(std::isnan(s.Rows[0].U2));
}

TEST(AgsReader, ReadsTheTestWithUnitsFromTheUnitRow)
{
    const std::string text = Sample("HKZ1-CPT03.ags");
    EXPECT_EQ(AgsTests(text), std::vector<std::string>{"HKZ1-CPT03.000/1"});
    const TSounding s = ReadAgs(text);
    EXPECT_EQ(s.Name, "HKZ1-CPT03.000/1");
    EXPECT_DOUBLE_EQ(s.NetAreaRatio, 0.58);
    EXPECT_EQ(s.Rows.size() + s.DroppedRows, 2458u);
    // "1.98","11.655","76.391","23.6","0.655","11.665" in MN/m2, kN/m2, kN/m2
    const auto row = std::find_if(s.Rows.begin(), s.Rows.end(), [](const TSoundingRow& r) { return r.Depth == 1.98; });
    ASSERT_NE(row, s.Rows.end());
    EXPECT_DOUBLE_EQ(row->Qc, 11655);
    EXPECT_DOUBLE_EQ(row->Fs, 76.391);
    EXPECT_DOUBLE_EQ(row->U2, 23.6);
    EXPECT_DOUBLE_EQ(row->Qt, 11665);
    EXPECT_DOUBLE_EQ(s.Rows.back().Depth, 49.14);
    EXPECT_TRUE(std::isnan(s.Rows.back().Fs));
    EXPECT_EQ(ReadAgs(text, "HKZ1-CPT03.000").Rows.size(), s.Rows.size());
}

TEST(AgsReader, SeveralTestsTheCallerPicksOne)
{
    const std::string text =
        "\"GROUP\",\"SCPT\"\n"
        "\"HEADING\",\"LOCA_ID\",\"SCPG_TESN\",\"SCPT_DPTH\",\"SCPT_RES\"\n"
        "\"UNIT\",\"\",\"\",\"m\",\"MPa\"\n"
        "\"TYPE\",\"ID\",\"X\",\"2DP\",\"3DP\"\n"
        "\"DATA\",\"A\",\"1\",\"1.0\",\"2.0\"\n"
        "\"DATA\",\"A\",\"1\",\"2.0\",\"3.0\"\n"
        "\"DATA\",\"B\",\"1\",\"1.0\",\"5.0\"\n"
        "\"DATA\",\"B\",\"1\",\"3.0\",\"6.0\"\n"
        "\"DATA\",\"B\",\"1\",\"4.0\",\"7.0\"\n";
    EXPECT_EQ(AgsTests(text), (std::vector<std::string>{"A/1", "B/1"}));
    EXPECT_EQ(RefusalLine([&] { ReadAgs(text); }), 0);
    const TSounding b = ReadAgs(text, "B");
    ASSERT_EQ(b.Rows.size(), 3u);
    EXPECT_DOUBLE_EQ(b.Rows[2].Qc, 7000);
    EXPECT_EQ(ReadAgs(text, "A/1").Rows.size(), 2u);
    try {
        ReadAgs(text, "C");
        ADD_FAILURE();
    } catch (const ESoundingError& e) {
        EXPECT_NE(std::string(e.what()).find("A/1, B/1"), std::string::npos) << e.what();
    }
}

TEST(CsvSounding, ReadsUnitsFromTheHeaderAndDropsDepthsThatDoNotIncrease)
{
    const TSounding s = ReadCsvSounding(Sample("PileResponse_example_cpt_data.csv"));
    EXPECT_EQ(s.Rows.size() + s.DroppedRows, 3506u);
    EXPECT_EQ(s.Rows.size(), 2741u);  // 765 repeated or decreasing depths
    // "0.3,11.3129,37.4309,-1.379,-1.379"
    EXPECT_DOUBLE_EQ(s.Rows[0].Depth, 0.3);
    EXPECT_DOUBLE_EQ(s.Rows[0].Qc, 11312.9);
    EXPECT_DOUBLE_EQ(s.Rows[0].Fs, 37.4309);
    EXPECT_DOUBLE_EQ(s.Rows[0].U2, -1.379);
    EXPECT_TRUE(std::isnan(s.Rows[0].Qt));

    const TSounding semicolon = ReadCsvSounding("Depth (ft);q_c [tsf];fs (psi)\r\n10;100,5;2\r\n20;200;\r\n");
    ASSERT_EQ(semicolon.Rows.size(), 2u);
    EXPECT_DOUBLE_EQ(semicolon.Rows[0].Depth, 3.048);
    EXPECT_DOUBLE_EQ(semicolon.Rows[0].Qc, 100.5 * 95.76052);
    EXPECT_TRUE(std::isnan(semicolon.Rows[1].Fs));
}

TEST(SoundingReaders, RefuseWithTheLineAndTheReason)
{
    EXPECT_EQ(RefusalLine([] { ReadCsvSounding("depth,qc_MPa\n1,2\n2,3\n"); }), 1);
    EXPECT_EQ(RefusalLine([] { ReadCsvSounding("depth_m,qc_kN\n1,2\n2,3\n"); }), 1);
    EXPECT_EQ(RefusalLine([] { ReadCsvSounding("depth_m,qc_MPa\n1,2\n2,3,4\n"); }), 3);
    EXPECT_EQ(RefusalLine([] { ReadCsvSounding("depth_m,qc_MPa\n1,2\n2,x\n"); }), 3);
    EXPECT_EQ(RefusalLine([] { ReadCsvSounding("depth_m,qc_MPa\n1,2\n2,1e999\n"); }), 3);
    EXPECT_EQ(RefusalLine([] { ReadCsvSounding("depth_m,qc_MPa\n1,2\n"); }), 0);
    const std::string gef = "#GEFID= 1, 1, 0\n#COLUMN= 2\n#COLUMNINFO= 1, m, length, 1\n"
                            "#COLUMNINFO= 2, MPa, qc, 2\n#EOH=\n1.0 2.0\n2.0 3.0\n";
    EXPECT_EQ(ReadGef(gef).Rows.size(), 2u);
    EXPECT_EQ(RefusalLine([&] { ReadGef(gef + "3.0 4.0 5.0\n"); }), 8);
    EXPECT_EQ(RefusalLine([&] { ReadGef(gef.substr(0, gef.find("#EOH"))); }), 4);
    EXPECT_EQ(RefusalLine([] { ReadGef("#PROCEDURECODE= GEF-BORE-Report\n#EOH=\n"); }), 1);
    EXPECT_EQ(RefusalLine([] { ReadGef("#COLUMNINFO= 1, m, length, 1\n#EOH=\n1\n2\n"); }), 0);
    EXPECT_EQ(RefusalLine([] { ReadAgs("\"GROUP\",\"SCPT\"\n\"DATA\",\"1\"\n"); }), 2);
    EXPECT_EQ(RefusalLine([] { ReadAgs("\"GROUP\",\"SCPT\"\n\"HEADING\",\"SCPT_DPTH\",\"SCPT_RES\"\n"
                                       "\"UNIT\",\"m\",\"MPa\"\n\"DATA\",\"1\"\n"); }),
              4);
    EXPECT_EQ(RefusalLine([] { ReadSoundingFile("/nonexistent/cpt.gef"); }), 0);
}

TEST(SoundingReaders, DamagedFilesReadWholeOrAreRefused)
{
    SweepDamage(Excerpt(Sample("pygef_cpt.gef"), "#EOH=", 12), [](std::string_view t) { return ReadGef(t); });
    SweepDamage(Excerpt(Sample("PileResponse_example_cpt_data.csv"), "depth_m", 30),
                [](std::string_view t) { return ReadCsvSounding(t); });
    const std::string ags = Sample("HKZ1-CPT03.ags");
    const std::string scpg = ags.substr(ags.find("\"GROUP\",\"SCPG\""));
    SweepDamage(Excerpt(scpg, "\"TYPE\",\"ID\",\"X\",\"2DP\"", 12), [](std::string_view t) { return ReadAgs(t); });
}
