#include "ProgramData.h"
#include "ReportContent.h"

#include <gtest/gtest.h>

namespace {

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(ReportContent, InputOfTheExampleWithoutResults)
{
    TProjectTables tables;
    std::string error;
    const auto project = TProgramData::CreateFromFile(tables, KORVEN_EXAMPLES "/example.kv3d", true, error);
    ASSERT_TRUE(error.empty()) << error;
    TReportInput input;
    input.Project = project.get();
    input.FileName = "/projects/example.kv3d";
    input.Date = "8 December 2026";
    input.Missing = "the project has no plot data";
    const std::string html = ReportHtml(input);

    EXPECT_NE(html.find(HtmlEscaped(project->Title)), std::string::npos);
    EXPECT_NE(html.find("/projects/example.kv3d"), std::string::npos);
    EXPECT_NE(html.find("English units (lbs, in)"), std::string::npos);
    // One section per layer with the layer's own data table.
    EXPECT_EQ(Count(html, "<h4>Layer "), static_cast<std::size_t>(tables.D2.RowCount()));
    // Soil types by their names, as the table window shows them.
    EXPECT_NE(html.find("<h4>Layer 1: Driven Pile in Clay (Coyle &amp; Reese), 0 \u2013 240 in</h4>"), std::string::npos);
    EXPECT_NE(html.find("No results: the project has no plot data."), std::string::npos);
    EXPECT_EQ(html.find("Capacity read-outs"), std::string::npos);
}

TEST(ReportContent, ResultsTablesAndReadOuts)
{
    TProjectTables tables;
    TProgramData project(tables);
    project.Title = "Pile <A> & B";
    project.PileLength = 480;
    project.OuterDiameter = 12;
    TPlotData data;
    data.LoadSettlement = {{100000, 0.1, 0.05, 1000}, {200000, 1.5, 1.4, 2000}};
    data.LoadCases = {{150000, 0.8, 0.7, 1500}};
    TReportInput input;
    input.Project = &project;
    input.Results = data;
    const std::string html = ReportHtml(input);

    EXPECT_NE(html.find("Pile &lt;A&gt; &amp; B"), std::string::npos);
    EXPECT_NE(html.find("<th>Top load (lbs)</th>"), std::string::npos);
    EXPECT_NE(html.find("Pile-head load cases"), std::string::npos);
    EXPECT_NE(html.find("<td align=\"right\" style=\"white-space: nowrap\">200000</td>"), std::string::npos);
    EXPECT_NE(html.find("Davisson's offset limit"), std::string::npos);
    EXPECT_EQ(html.find("<th>Note</th>"), std::string::npos);

    // A tip beyond the Q-w curve (last point 1500 lb at 1 in) and a load case
    // beyond the computed curve are flagged; the read-out through the flagged
    // row is also given with the tip load held.
    input.Results->QWCurve = {{0, 0}, {1500, 1}};
    input.Results->LoadCases.push_back({250000, -2e-4, 0, 0});
    const std::string flagged = ReportHtml(input);
    EXPECT_NE(flagged.find("<th>Note</th>"), std::string::npos);
    EXPECT_EQ(Count(flagged, ">tip beyond the Q-w curve</td>"), 1u);
    EXPECT_EQ(Count(flagged, ">beyond the computed curve</td>"), 1u);
    EXPECT_EQ(flagged.find("-2.000E-04"), std::string::npos);
    EXPECT_NE(flagged.find("with the tip load held at the Q-w curve's last value"), std::string::npos);
    EXPECT_NE(flagged.find("Pile-head load case 2 lies beyond the computed curve"), std::string::npos);

    // Results in other units than the project are not read off.
    input.Results->Units = UnitSystem::SI;
    EXPECT_NE(ReportHtml(input).find("computed in other units"), std::string::npos);
}

TEST(ReportContent, NumberColumnsShareOneNotationWithoutLosingDigits)
{
    using Texts = std::vector<std::string>;
    EXPECT_EQ(AlignedNumberTexts({"0.01", "0.007", "12", ""}), (Texts{"0.010", "0.007", "12.000", ""}));
    EXPECT_EQ(AlignedNumberTexts({"1E-6", "-3.5"}), (Texts{"0.000001", "-3.500000"}));
    // Past six decimals the whole column goes to the exponent form.
    EXPECT_EQ(AlignedNumberTexts({"1.753E-04", "2.5", "0"}), (Texts{"1.753E-04", "2.500E+00", "0.000E+00"}));
    EXPECT_EQ(AlignedNumberTexts({"1234567890", "1"}), (Texts{"1.23456789E+09", "1.00000000E+00"}));
    EXPECT_EQ(AlignedNumberTexts({"Clay", "1"}), (Texts{"Clay", "1"}));
}

}  // namespace
