// The .xlsx workbook: the sheets, cells and charts it holds as the export
// builds it, and the file it writes, read back as the zip of XML parts that
// a spreadsheet program reads.

#include "ExportPlots.h"
#include "MainGraphs.h"
#include "NumberText.h"
#include "WordReader.h"
#include "XlsxWorkbook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

std::vector<std::string> Names(TXlsxWorkbook& book)
{
    std::vector<std::string> names;
    for (int i = 1; i <= book.SheetCount(); ++i)
        names.push_back(book.Sheet(i).Name());
    return names;
}

// A fresh folder of the test's own.
std::filesystem::path Folder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / ("xlsx_" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The parts of an .xlsx file.
class TXlsxFile {
public:
    explicit TXlsxFile(const std::string& path)
    {
        int error = 0;
        zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
        if (archive == nullptr)
            throw std::runtime_error("not a zip file: " + path);
        for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
            zip_stat_t stat;
            zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
            std::string text(stat.size, '\0');
            zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
            zip_fread(file, text.data(), stat.size);
            zip_fclose(file);
            FParts[stat.name] = text;
        }
        zip_close(archive);
        static const std::regex item("<si><t[^>]*>([^<]*)</t></si>");
        const std::string& strings = Part("xl/sharedStrings.xml");
        for (std::sregex_iterator it(strings.begin(), strings.end(), item), end; it != end; ++it)
            FStrings.push_back((*it)[1]);
    }

    const std::string& Part(const std::string& name) const
    {
        const auto found = FParts.find(name);
        if (found == FParts.end())
            throw std::runtime_error("no part " + name);
        return found->second;
    }

    std::vector<std::string> PartNames(const std::string& prefix) const
    {
        std::vector<std::string> names;
        for (const auto& [name, text] : FParts)
            if (name.rfind(prefix, 0) == 0)
                names.push_back(name);
        return names;
    }

    // Every match of the pattern's first group in a part.
    static std::vector<std::string> All(const std::string& text, const std::string& pattern)
    {
        const std::regex expression(pattern);
        std::vector<std::string> found;
        for (std::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it)
            found.push_back((*it)[1]);
        return found;
    }

    std::vector<std::string> SheetNames() const { return All(Part("xl/workbook.xml"), "<sheet name=\"([^\"]*)\""); }

    // The value of a cell of worksheet part `sheet` ("sheet2"): the number as
    // written, or the shared text.
    std::string Cell(const std::string& sheet, const std::string& a1) const
    {
        const std::string& xml = Part("xl/worksheets/" + sheet + ".xml");
        std::smatch match;
        if (!std::regex_search(xml, match, std::regex("<c r=\"" + a1 + "\"([^>]*)><v>([^<]*)</v>")))
            return {};
        if (match[1].str().find("t=\"s\"") != std::string::npos)
            return FStrings.at(std::stoul(match[2]));
        return match[2];
    }

    // The number in a cell, as the spreadsheet reads it.
    double Number(const std::string& sheet, const std::string& a1) const { return std::stod(Cell(sheet, a1)); }

    // The chart part whose series take their values from `sheet`.
    std::string ChartOf(const std::string& sheet) const
    {
        for (const std::string& name : PartNames("xl/charts/chart"))
            if (Part(name).find("<c:f>" + sheet + "!") != std::string::npos)
                return Part(name);
        return {};
    }

private:
    std::map<std::string, std::string> FParts;
    std::vector<std::string> FStrings;
};

}  // namespace

TEST(XlsxWorkbook, SheetsAreAddedAfterTheGivenSheetMovedAndActivated)
{
    TXlsxWorkbook book;
    EXPECT_THAT(Names(book), ElementsAre("Sheet1"));
    EXPECT_EQ(&book.ActiveSheet(), &book.Sheet(1));
    TWorksheet& second = book.AddWorksheet(book.Sheet(1));
    EXPECT_EQ(&book.ActiveSheet(), &second);
    TChartSheet& chart = book.AddChartSheet(book.Sheet(1));
    EXPECT_THAT(Names(book), ElementsAre("Sheet1", "Chart1", "Sheet2"));
    chart.MoveAfter(second);
    EXPECT_THAT(Names(book), ElementsAre("Sheet1", "Sheet2", "Chart1"));
    book.Sheet(1).MoveAfter(chart);
    EXPECT_THAT(Names(book), ElementsAre("Sheet2", "Chart1", "Sheet1"));
    chart.MoveAfter(chart);
    EXPECT_THAT(Names(book), ElementsAre("Sheet2", "Chart1", "Sheet1"));
    book.Sheet(1).SetName("Sheet3");
    EXPECT_EQ(book.AddWorksheet(chart).Name(), "Sheet2");  // the first free number
    EXPECT_THROW(book.Worksheet(2), ESpreadsheetError);
    EXPECT_THROW(book.Sheet(0), ESpreadsheetError);
    EXPECT_THROW(book.Sheet(book.SheetCount() + 1), ESpreadsheetError);
}

TEST(XlsxWorkbook, SheetNamesAreRefusedWhenAWorkbookCannotHoldThem)
{
    TXlsxWorkbook book;
    book.AddWorksheet(book.Sheet(1)).SetName("Page_1");
    TSheet& first = book.Sheet(1);
    first.SetName("Sheet1");  // its own name again
    for (const std::string& bad : {std::string(), std::string(32, 'x'), std::string("a:b"), std::string("a/b"),
                                   std::string("[x]"), std::string("'quoted"), std::string("PAGE_1")})
        EXPECT_THROW(first.SetName(bad), ESpreadsheetError) << bad;
    first.SetName(std::string(31, 'x'));
    EXPECT_EQ(first.Name(), std::string(31, 'x'));
}

TEST(XlsxWorkbook, CellsKeepTheirLastTextAndColumnsFitTheTextTheyHoldWhenFitted)
{
    TXlsxWorkbook book;
    TWorksheet& sheet = book.Worksheet(1);
    auto& cells = dynamic_cast<TXlsxWorksheet&>(sheet);
    sheet.SetCell(3, 6, "In Progress, Data");
    sheet.SetCell(3, 6, "Complete");
    EXPECT_EQ(cells.Cells().at({3, 6}).Text, "Complete");
    sheet.SetCell(2, 2, "     N    ");
    sheet.SetCell(9, 2, "123");
    sheet.SetCell(2, 3, "Plot Name");
    sheet.FitColumns("B2:C2");
    sheet.SetCell(4, 3, "a text far longer than the header");
    EXPECT_EQ(cells.ColumnWidths().at(2), 11);
    EXPECT_EQ(cells.ColumnWidths().at(3), 10);
    EXPECT_EQ(cells.ColumnWidths().count(4), 0u);
    sheet.SetBold("B2:C3");
    EXPECT_TRUE(cells.Cells().at({3, 3}).Bold);
    EXPECT_FALSE(cells.Cells().at({2, 2}).Centre);
    EXPECT_THROW(sheet.SetCell(0, 1, "x"), ESpreadsheetError);
    EXPECT_THROW(sheet.SetCell(1, MaxColumns + 1, "x"), ESpreadsheetError);
    EXPECT_THROW(sheet.SetCell(1, 1, std::string(32768, 'x')), ESpreadsheetError);
}

TEST(XlsxWorkbook, SourceDataMakesOneSeriesPerColumnAfterTheFirst)
{
    TXlsxWorkbook book;
    TWorksheet& data = book.Worksheet(1);
    data.SetName("Sheet 1");
    TChartSheet& chart = book.AddChartSheet(data);
    chart.SetSourceData(data, "A6:D55");
    ASSERT_EQ(chart.SeriesCount(), 3);
    const auto& series = dynamic_cast<TXlsxChartSheet&>(chart).AllSeries();
    EXPECT_EQ(series[2]->XValues, "='Sheet 1'!$A$6:$A$55");
    EXPECT_EQ(series[2]->Values, "='Sheet 1'!$D$6:$D$55");
    EXPECT_THROW(chart.Series(4), ESpreadsheetError);
    EXPECT_THROW(chart.Series(0), ESpreadsheetError);
}

TEST(XlsxFile, TheFourGraphsOfARealRunReadBackWithTheirSheetsLinksValuesAndCharts)
{
    TMainGraphs graphs;
    ASSERT_TRUE(ReadPlotFile(graphs, std::string(KORVEN_GRAPHICS_TEST_DATA) + "/e23_eight_layers.kv3p", 1));
    TXlsxWorkbook book;
    ExportGraphs(book, {&graphs.pltLoad, &graphs.pltAxial, &graphs.pltTZcurves, &graphs.PltQW});
    const std::filesystem::path folder = Folder("real_run");
    const std::string path = (folder / "e23.xlsx").string();
    book.SaveAs(path);
    EXPECT_THAT(FolderEntries(folder), ElementsAre("e23.xlsx"));

    const TXlsxFile file(path);
    EXPECT_THAT(file.SheetNames(),
                ElementsAre("Legend", "Page_1", "Plot_1", "Page_2", "Plot_2", "Page_3", "Plot_3", "Page_4", "Plot_4"));
    // The legend: the first worksheet part, and the sheet shown on opening.
    EXPECT_EQ(file.Cell("sheet1", "F2"), "          Status          ");
    EXPECT_EQ(file.Cell("sheet1", "B3"), "1");
    EXPECT_EQ(file.Cell("sheet1", "C5"), "t-z Curves");
    EXPECT_EQ(file.Cell("sheet1", "D5"), "Page_3");
    EXPECT_EQ(file.Cell("sheet1", "E6"), "Plot_4");
    EXPECT_EQ(file.Cell("sheet1", "F6"), "Complete");
    EXPECT_THAT(file.Part("xl/worksheets/sheet1.xml"), HasSubstr("tabSelected=\"1\""));
    EXPECT_THAT(
        TXlsxFile::All(file.Part("xl/worksheets/sheet1.xml"), "<hyperlink ref=\"(D[0-9]+\" location=\"[^\"]*)\""),
        ElementsAre("D3\" location=\"Page_1!A1", "D4\" location=\"Page_2!A1", "D5\" location=\"Page_3!A1",
                    "D6\" location=\"Page_4!A1"));
    EXPECT_THAT(file.Part("xl/worksheets/sheet1.xml"), HasSubstr("<col min=\"3\" max=\"3\" width=\"68"));

    // Page_1, the load distribution in kips and feet, from the tip upward.
    const std::string page1 = "sheet2";
    EXPECT_EQ(file.Cell(page1, "A1"), "Load Distribution");
    EXPECT_EQ(file.Cell(page1, "B2"), "Total Capacity  (kips)");
    EXPECT_EQ(file.Cell(page1, "A4"), "Curve #1");
    auto written = [](long double value) { return std::stod(GeneralNumberText(value, 15)); };
    EXPECT_EQ(file.Number(page1, "A6"), written(graphs.pltLoad.Point(0, 0).X));
    EXPECT_EQ(file.Number(page1, "B6"), written(graphs.pltLoad.Point(0, 0).Y));
    EXPECT_EQ(file.Number(page1, "C7"), written(graphs.pltLoad.Point(1, 1).X));
    EXPECT_EQ(file.Number(page1, "D55"), written(graphs.pltLoad.Point(1, 49).Y));
    EXPECT_THAT(file.Part("xl/worksheets/" + page1 + ".xml"),
                HasSubstr("<hyperlink ref=\"G1\" location=\"Legend!A1\" display=\"Go to Legend Page\""));
    EXPECT_EQ(file.Cell(page1, "G1"), "Go to Legend Page");
    // Page_3, the t-z curves named by their depth.
    EXPECT_EQ(file.Cell("sheet4", "A4"), graphs.pltTZcurves.Line(0).Name);
    EXPECT_EQ(file.Number("sheet4", "D7"), written(graphs.pltTZcurves.Point(1, 1).Y));

    // The charts: series formulas as the export wrote them, and only the
    // depth-like vertical axes reversed.
    const int points = static_cast<int>(graphs.pltLoad.Line(0).Points.size());
    const std::string load = file.ChartOf("Page_1");
    ASSERT_FALSE(load.empty());
    EXPECT_THAT(load, HasSubstr("<c:scatterStyle val=\"lineMarker\"/>"));
    EXPECT_THAT(load, HasSubstr("<c:f>Page_1!$C$6:$C" + std::to_string(5 + points) + "</c:f>"));
    EXPECT_THAT(load, HasSubstr("<c:f>Page_1!$D$6:$D" + std::to_string(5 + points) + "</c:f>"));
    EXPECT_EQ(TXlsxFile::All(load, "<c:ser>()").size(), static_cast<std::size_t>(graphs.pltLoad.LineCount()));
    EXPECT_THAT(load, HasSubstr("<c:orientation val=\"maxMin\"/>"));
    EXPECT_THAT(load, HasSubstr("Depth  (ft)"));
    // Titled with its graph's caption; the depth axis ends at the pile's
    // length rounded up.
    EXPECT_THAT(load, HasSubstr("<a:t>Load Distribution</a:t>"));
    EXPECT_THAT(load, HasSubstr("<c:max val=\"38\"/>"));
    EXPECT_THAT(load, HasSubstr("<c:majorGridlines/>"));
    const std::string tz = file.ChartOf("Page_3");
    ASSERT_FALSE(tz.empty());
    EXPECT_THAT(tz, Not(HasSubstr("maxMin")));
    EXPECT_THAT(tz, HasSubstr("<c:v>" + graphs.pltTZcurves.Line(1).Name + "</c:v>"));
    EXPECT_EQ(file.PartNames("xl/chartsheets/sheet").size(), 4u);
}

TEST(XlsxFile, AWorkbookReplacesTheTargetWholeKeepingItsPermissions)
{
    const std::filesystem::path folder = Folder("replace");
    const std::string path = (folder / "plots.xlsx").string();
    std::ofstream(path) << "previous";
    chmod(path.c_str(), 0640);
    TXlsxWorkbook book;
    book.Worksheet(1).SetCell(1, 1, "x");
    // Numbers read as they were given, not with 16 digits ("64.90000000000001").
    book.Worksheet(1).SetCell(2, 1, "64.9");
    book.Worksheet(1).SetCell(3, 1, "0.0671");
    book.SaveAs(path);
    const TXlsxFile file(path);
    EXPECT_EQ(file.Cell("sheet1", "A1"), "x");
    EXPECT_EQ(file.Cell("sheet1", "A2"), "64.9");
    EXPECT_EQ(file.Cell("sheet1", "A3"), "0.0671");
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_THAT(FolderEntries(folder), ElementsAre("plots.xlsx"));
}

TEST(XlsxFile, AFailedWriteLeavesNoFileBehindAndSaysWhy)
{
    TXlsxWorkbook book;
    book.Worksheet(1).SetCell(1, 1, std::string(20000, 'x'));
    const std::filesystem::path folder = Folder("failures");
    const std::string missing = (folder / "no such folder" / "plots.xlsx").string();
    try {
        book.SaveAs(missing);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const EInOutError& error) {
        EXPECT_THAT(error.what(), HasSubstr("File \"" + missing + "\" could not be written: "));
    }
    EXPECT_THAT(FolderEntries(folder), ElementsAre());

    // A full disk, stood in for by a limit on the size of written files: the
    // previous workbook stays as it was, and no temporary file is left.
    const std::string path = (folder / "plots.xlsx").string();
    std::ofstream(path) << "previous";
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit;
    getrlimit(RLIMIT_FSIZE, &previousLimit);
    rlimit small = previousLimit;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(book.SaveAs(path), EInOutError);
    setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_THAT(FolderEntries(folder), ElementsAre("plots.xlsx"));
    std::ifstream kept(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "previous");
}
