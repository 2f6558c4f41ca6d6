// Damaged plot data files (a run stopped part-way, a file cut by a full
// disk): every cut and a sample of replaced bytes either read or fail with
// the reader's message and leave the graphs without curves; the intact file
// then reads into the same graphs as into fresh ones.
#include "MainGraphs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

std::string DataText(const char* name)
{
    std::ifstream file(std::string(KORVEN_GRAPHICS_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string WriteFile(const char* name, const std::string& text)
{
    const std::string path = testing::TempDir() + std::to_string(::getpid()) + "_" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// The four graphs the file fills, point for point.
void ExpectSameCurves(TMainGraphs& actual, TMainGraphs& expected)
{
    const std::array<TGraphPlot*, 4> a = {&actual.pltTZcurves, &actual.PltQW, &actual.pltLoad, &actual.pltAxial};
    const std::array<TGraphPlot*, 4> e = {&expected.pltTZcurves, &expected.PltQW, &expected.pltLoad,
                                          &expected.pltAxial};
    for (std::size_t g = 0; g < a.size(); ++g) {
        ASSERT_EQ(a[g]->LineCount(), e[g]->LineCount()) << e[g]->Caption;
        for (int i = 0; i < e[g]->LineCount(); ++i) {
            EXPECT_EQ(a[g]->Line(i).Name, e[g]->Line(i).Name);
            const auto& ap = a[g]->Line(i).Points;
            const auto& ep = e[g]->Line(i).Points;
            ASSERT_EQ(ap.size(), ep.size()) << e[g]->Caption << " curve " << i;
            for (std::size_t j = 0; j < ep.size(); ++j) {
                EXPECT_EQ(ap[j].X, ep[j].X);
                EXPECT_EQ(ap[j].Y, ep[j].Y);
            }
        }
    }
}

class PlotFileDamage : public testing::Test {
protected:
    // Reads the damaged text into the graphs that hold the intact file.
    void ReadDamaged(const std::string& text, const std::string& what)
    {
        std::string error;
        if (ReadPlotFile(Graphs, WriteFile("damaged.kv3p", text), Units, &error)) {
            ++Read;
            EXPECT_TRUE(Graphs.PlotsAvailable) << what;
        } else {
            ++Refused;
            EXPECT_FALSE(Graphs.PlotsAvailable) << what;
            EXPECT_TRUE(error == "This file either invalid or incomplete." || error.rfind("Error on Line ", 0) == 0)
                << what << ": " << error;
            for (TGraphPlot* graph : {&Graphs.pltTZcurves, &Graphs.PltQW, &Graphs.pltLoad, &Graphs.pltAxial})
                EXPECT_EQ(graph->LineCount(), 0) << what << ": " << graph->Caption;
        }
    }

    void ExpectIntactFileReadsAsNew(const std::string& intact)
    {
        ASSERT_TRUE(ReadPlotFile(Graphs, intact, Units));
        TMainGraphs fresh;
        ASSERT_TRUE(ReadPlotFile(fresh, intact, Units));
        ExpectSameCurves(Graphs, fresh);
    }

    TMainGraphs Graphs;
    UnitSystem Units = UnitSystem::English;
    int Read = 0;
    int Refused = 0;
};

}  // namespace

TEST_F(PlotFileDamage, FileCutAtEveryOffsetReadsOrLeavesNoCurves)
{
    const std::string whole = DataText("e21_depth_1234_56.kv3p");
    ASSERT_GT(whole.size(), 1000u);
    const std::string intact = WriteFile("intact.kv3p", whole);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        ReadDamaged(whole.substr(0, size), "cut at " + std::to_string(size));
        if (HasFailure())
            return;
        if (size % 256 == 0)
            ExpectIntactFileReadsAsNew(intact);
    }
    ExpectIntactFileReadsAsNew(intact);
    // Only a cut within the rows the reader skips, or in the last number,
    // still reads.
    EXPECT_GT(Refused, static_cast<int>(whole.size()) * 9 / 10);
}

TEST_F(PlotFileDamage, ByteReplacedAtSampledOffsetsReadsOrLeavesNoCurves)
{
    Units = UnitSystem::SI;
    const std::string whole = DataText("e21_depth_1234_56.kv3p");
    const std::string intact = WriteFile("intact.kv3p", whole);
    for (std::size_t at = 0; at < whole.size(); at += 11)
        for (char replacement : {'9', '-', '\n', 'x'}) {
            std::string text = whole;
            text[at] = replacement;
            ReadDamaged(text, "byte " + std::to_string(at) + " = " + std::to_string(replacement));
            if (HasFailure())
                return;
        }
    ExpectIntactFileReadsAsNew(intact);
    EXPECT_GT(Read, 0);
    EXPECT_GT(Refused, 0);
}
