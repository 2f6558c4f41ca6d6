// The declared tables: each declaration in full, what a new project holds,
// the templates each soil type and each t-z depth gets, and declarations
// that survive the column declaration stream unchanged.

#include "ProjectTestSupport.h"

#include <cstdio>
#include <sstream>
#include <type_traits>

namespace {

std::string Quoted(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "\"" : "|") + text;
    return joined + "\"";
}

// The column list and (chart family) graph parameters of a table, one line
// per column: what the "Col" declaration stream carries.
std::string DescribeColumns(const TGridTable& table)
{
    std::ostringstream text;
    for (int c = 0; c < table.ColumnCount(); ++c) {
        const TColumn& column = table.Column(c);
        text << "  " << c << " " << Quoted(column.CaptionLines);
        if (!column.Visible)
            text << " hidden";
        if (column.GroupWide)
            text << " group-wide";
        if (const auto* floats = dynamic_cast<const TFloatColumn*>(&column)) {
            text << " float \"" << floats->UnitString << "\"";
            if (floats->TopDepth)
                text << " top-depth";
            if (floats->DefaultValue != 0)
                text << " default " << FloatCellText(floats->DefaultValue);
        } else if (const auto* items = dynamic_cast<const TEnumColumn*>(&column)) {
            text << " list " << Quoted(items->Items());
        } else if (const auto* buttons = dynamic_cast<const TTableColumn*>(&column)) {
            text << " tables of";
            for (const TTemplateRef& entry : buttons->Templates.Entries)
                text << (entry.ByIdentifier ? " " : " index ") << entry.Value;
        } else {
            text << " kind " << static_cast<int>(column.Kind());
        }
        text << "\n";
    }
    if (table.Chart) {
        const TGraphParameters& graph = table.Chart->Graph;
        text << "  graph " << (graph.ShowGraph ? "on" : "off") << (graph.SegmentMode ? " segments" : "") << " x "
             << graph.XColumn << " y " << graph.YColumn << " x2 " << graph.X2Column << " y2 " << graph.Y2Column << "\n";
    }
    return text.str();
}

// The whole declaration of a table.
std::string Describe(const TGridTable& table)
{
    std::ostringstream text;
    text << "TGridTable \"" << table.Caption << "\" id "
         << table.Identifier() << " rows " << table.MinRows() << ".." << table.MaxRows << " group " << table.RowGroup();
    if (!table.TopLeft.empty())
        text << " top-left \"" << table.TopLeft << "\"";
    if (!table.Comments.empty())
        text << " comments \"" << table.Comments << "\"";
    if (!table.HelpPicture.empty() || table.HardwiredButton)
        text << " picture \"" << table.HelpPicture << "\" hardwired " << table.HardwiredButton;
    if (const auto& chart = table.Chart) {
        if (chart->GetDataFromFile)
            text << " file import";
        if (chart->OKCancelButtons)
            text << " OK-Cancel";
        if (chart->InvertedXAxis || chart->InvertedYAxis)
            text << " inverted " << chart->InvertedXAxis << chart->InvertedYAxis;
    }
    text << "\n" << DescribeColumns(table);
    return text.str();
}

const char* const LayerDataColumns =
    "  0 \"Effective Unit |Weight,\" float \"F/L^3\"\n"
    "  1 \"Undrained Shear|Strength,\"%s float \"F/L^2\"\n"
    "  2 \"e50\"%s float \"\"\n"
    "  3 \"Friction |Angle (Deg.)\"%s float \"\"\n"
    "  4 \"Blow Counts |(optional)\"%s float \"\"\n"
    "  5 \"Ultimate Unit|Side Friction,\" float \"F/L^2\"\n"
    "  6 \"Ultimate Unit|Tip Resistance,\" float \"F/L^2\"\n"
    "  7 \"Dummy\" hidden float \"\"\n"
    "  graph off x 0 y 0 x2 0 y2 0\n";

std::string LayerData(const std::string& caption, int identifier, bool clay)
{
    const char* clayOnly = clay ? "" : " hidden";
    const char* sandOnly = clay ? " hidden" : "";
    char columns[1024];
    std::snprintf(columns, sizeof columns, LayerDataColumns, clayOnly, clayOnly, sandOnly, sandOnly);
    return "TGridTable \"" + caption + "\" id " + std::to_string(identifier) +
           " rows 2..2 group 1 top-left \"Location, 1=Top, 2=Bottom\" comments \"Enter data for "
           "the top and the bottom of each layer. \rLinear interpretation will be used for any "
           "depth between the top and the bottom.\"\n" +
           columns;
}

}  // namespace

// Every table as the main window declares it: class, caption, identifier,
// row limits, comments, columns with their kinds, units, hidden columns and
// templates, and the chart window's settings.
TEST_F(ProjectTest, TheElevenDeclarations)
{
    const std::vector<std::string> expected = {
        "TGridTable \"Soil Layers\" id 0 rows 1..30 group 1\n"
        "  0 \"Soil Type\" list \"Driven Pile in Clay (Coyle & Reese)|Driven Pile in Sand (Mosher)|"
        "Drilled Shaft in Clay (Reese & O'Neill)|Drilled Shaft in Sand (Reese & O'Neill)|"
        "Driven Pile in Clay (API)|Driven Pile in Sand (API)\"\n"
        "  1 \"Bottom of Layer\" float \"L\"\n"
        "  2 \"Layer Data\" tables of 1 2 1 2 1 2\n"
        "  graph off x 0 y 0 x2 0 y2 0\n",
        LayerData("Clay Layer Data", 1, true),
        LayerData("Sand Layer Data", 2, false),
        "TGridTable \"Depths for User-Defined t-z Curves\" id 3 rows 2..100 group 1\n"
        "  0 \"Depth below ground surface, \" float \"L\"\n"
        "  1 \"t-z Data  (click each button for data entry)  \" tables of 4\n"
        "  graph off x 0 y 0 x2 0 y2 0\n",
        "TGridTable \"t-z curve\" id 4 rows 2..100 group 1 file import\n"
        "  0 \"Load Transfer (t),\" float \"F/L^2\"\n"
        "  1 \"Pile Movement (z),\" float \"L\"\n"
        "  graph on x 1 y 0 x2 0 y2 0\n",
        "TGridTable \"Tip Load vs. Tip Movement\" id 5 rows 2..50 group 1 file import\n"
        "  0 \"Total Tip Load (Q),\" float \"F\"\n"
        "  1 \"Tip Movement (w),\" float \"L\"\n"
        "  graph on x 1 y 0 x2 0 y2 0\n",
        "TGridTable \"Soil Settlement Profile\" id 6 rows 2..100 group 1 file import\n"
        "  0 \"Depth,\" float \"L\"\n"
        "  1 \"Settlement,\" float \"L\"\n"
        "  graph on x 0 y 1 x2 0 y2 0\n",
        "TGridTable \"Modification Factors on t-z Curves\" id 7 rows 2..50 group 1 file import\n"
        "  0 \"Depth\" float \"L\"\n"
        "  1 \"t-Multiplier\" float \"\" default 1\n"
        "  2 \"z-Multiplier\" float \"\" default 1\n"
        "  graph on x 0 y 1 x2 0 y2 0\n",
        "TGridTable \"Axial Stiffness (AE) of Pile Sections\" id 8 rows 2..50 group 1 "
        "file import\n"
        "  0 \"Depth (starting from pile top)\" float \"L\"\n"
        "  1 \"Axial Stiffness  AE,\" float \"F\"\n"
        "  graph on x 0 y 1 x2 0 y2 0\n",
        "TGridTable \"Tip Movements\" id 179 rows 2..100 group 1\n"
        "  0 \"Tip Movement, \" float \"L\"\n",
        "TGridTable \"Pile-Head Loads\" id 10 rows 1..50 group 1 comments \"Axial loads must be "
        "positive numbers\"\n"
        "  0 \"Axial Load at Pile Head\" float \"F\"\n",
    };
    std::vector<std::string> declared;
    Tables.ForEach([&declared](auto& table) { declared.push_back(Describe(table)); });
    ASSERT_EQ(declared.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(declared[i], expected[i]);

    // The button columns find their templates among these tables.
    EXPECT_EQ(Tables.Directory.Find(1), &Tables.tblDataClay2);
    EXPECT_EQ(Tables.Directory.Find(2), &Tables.tblDataSand2);
    EXPECT_EQ(Tables.Directory.Find(4), &Tables.TblTZCurves2);
}

TEST_F(ProjectTest, NewProjectHoldsEveryTablesMinimum)
{
    EXPECT_EQ(Tables.D2.RowCount(), 1);
    for (TGridTable* table :
         {&Tables.tblDataClay2, &Tables.tblDataSand2, &Tables.TblTZDepth2, &Tables.TblTZCurves2, &Tables.TblQwcurve2,
          &Tables.TblSettlement2, &Tables.TblTZFactors2, &Tables.TblAE2})
        EXPECT_EQ(table->RowCount(), 2) << table->Caption;
    EXPECT_EQ(Tables.TblTipMove.RowCount(), 2);
    EXPECT_EQ(Tables.TblTopload.RowCount(), 1);
    EXPECT_TRUE(Project->UseTipMovements);
    EXPECT_FALSE(Project->UseHeadLoads);
    EXPECT_TRUE(Project->CurvesGenerated);
    EXPECT_FALSE(Project->Changed());
}

TEST_F(ProjectTest, RowsGetTheTemplateOfTheirKind)
{
    Tables.D2.SetRowCount(6);
    for (int type = 1; type <= 6; ++type) {
        Tables.D2.GetData(SoilTypeColumn, type - 1).SetInteger(type);
        TGridTable* data = Tables.D2.GetData(LayerDataColumn, type - 1).AsTable();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->Caption, IsClaySoil(type) ? "Clay Layer Data" : "Sand Layer Data");
        EXPECT_EQ(data->Number(), type);
        EXPECT_EQ(data->RowCount(), 2);
        EXPECT_EQ(data->TopLeft, "Location, 1=Top, 2=Bottom");
        std::vector<bool> visible;
        for (int c = 0; c < data->ColumnCount(); ++c)
            visible.push_back(data->Column(c).Visible);
        EXPECT_EQ(visible, IsClaySoil(type) ? std::vector<bool>({true, true, true, false, false, true, true, false})
                                            : std::vector<bool>({true, false, false, true, true, true, true, false}));
    }

    TGridTable* curve = Tables.TblTZDepth2.GetData(CurvePointsColumn, 1).AsTable();
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->Caption, "t-z curve");
    EXPECT_EQ(curve->WindowCaption(), "t-z curve  2");
    EXPECT_TRUE(curve->Chart->Graph.ShowGraph);
}

TEST_F(ProjectTest, DeclarationsSurviveTheColumnStream)
{
    Tables.ForEach([this](TGridTable& table) {
        SCOPED_TRACE(table.Caption);
        TValueWriter written;
        table.WriteCol(written);
        TGridTable copy;
        copy.Chart = table.Chart;
        Tables.Directory.Add(copy);
        TValueReader reader(written.Bytes());
        copy.ReadCol(reader);
        TValueWriter again;
        copy.WriteCol(again);
        EXPECT_EQ(again.Bytes(), written.Bytes());
        EXPECT_EQ(copy.ColumnCount(), table.ColumnCount());
        EXPECT_EQ(DescribeColumns(copy), DescribeColumns(table));
    });
}
