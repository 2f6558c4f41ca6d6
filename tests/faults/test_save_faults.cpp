// Saving under faults: a project save, a "Save As" over another project and
// a workbook export, each with the file size limit making the write fail
// part-way, into a folder that may not be written, and onto a path whose
// folder was removed. The previous file stays byte for byte, no temporary
// file is left, and the message names the file and the reason.

#include "FaultChild.h"

#include "ExportPlots.h"
#include "MainGraphs.h"
#include "ProgramData.h"
#include "XlsxWorkbook.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

using testing::ElementsAre;

namespace {

const std::string Previous = "the previous file, which must survive\n";

std::string WriteFailure(const std::filesystem::path& file, const char* reason)
{
    return "exception: File \"" + file.string() + "\" could not be written: " + reason;
}

class SaveFaults : public testing::Test {
protected:
    void SetUp() override
    {
        Folder = MakeTestFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        Project = std::make_unique<TProgramData>(Tables);
        Project->Title = "faults";
        Project->PileLength = 480;
    }
    void TearDown() override
    {
        chmod(Folder.c_str(), 0755);
        std::filesystem::remove_all(Folder.parent_path());
    }

    // Saves the project as `file` in a child with the faults; the message.
    std::string SaveInChild(const std::filesystem::path& file, const TFaults& faults)
    {
        return InChild(faults, [&] {
            Project->FileName = file.string();
            Project->SaveToFile();
            return std::string("saved");
        });
    }

    // Exports the graphs of a small run as `file` in a child with the faults.
    std::string ExportInChild(const std::filesystem::path& file, const TFaults& faults)
    {
        return InChild(faults, [&] {
            TMainGraphs graphs;
            if (!ReadPlotFile(graphs, std::string(KORVEN_GRAPHICS_TEST_DATA) + "/e22_si_loads_settlement.kv3p", UnitSystem::SI))
                return std::string("plot file not read");
            TXlsxWorkbook book;
            ExportGraphs(book, {&graphs.pltLoad, &graphs.pltAxial, &graphs.pltTZcurves, &graphs.PltQW});
            book.SaveAs(file.string());
            return std::string("saved");
        });
    }

    static TFaults SizeLimit() { return {.FileSizeLimit = 64}; }
    static TFaults Unprivileged() { return {.FileSizeLimit = {}, .Unprivileged = true}; }

    std::filesystem::path Folder;
    TProjectTables Tables;
    std::unique_ptr<TProgramData> Project;
};

}  // namespace

TEST_F(SaveFaults, ProjectSaveThatFailsPartWayKeepsThePreviousFile)
{
    const auto file = Folder / "pile.kv3d";
    WriteText(file, Previous);
    EXPECT_EQ(SaveInChild(file, SizeLimit()), WriteFailure(file, "File too large"));
    EXPECT_EQ(ReadText(file), Previous);
    // The empty companion file is made all the same, and nothing else.
    EXPECT_THAT(FolderEntries(Folder), ElementsAre("pile.gwi", "pile.kv3d"));
    // Without the fault the same save goes through.
    EXPECT_EQ(SaveInChild(file, {}), "saved");
    EXPECT_EQ(ReadText(file).substr(0, 7), "faults\n");
}

TEST_F(SaveFaults, SaveAsOverAnotherProjectThatFailsPartWayKeepsBoth)
{
    const auto first = Folder / "first.kv3d";
    ASSERT_EQ(SaveInChild(first, {}), "saved");
    const std::string firstText = ReadText(first);
    const auto other = Folder / "other.kv3d";
    WriteText(other, Previous);
    EXPECT_EQ(SaveInChild(other, SizeLimit()), WriteFailure(other, "File too large"));
    EXPECT_EQ(ReadText(other), Previous);
    EXPECT_EQ(ReadText(first), firstText);
    EXPECT_THAT(FolderEntries(Folder), ElementsAre("first.gwi", "first.kv3d", "first.kv3x", "other.gwi", "other.kv3d"));
}

TEST_F(SaveFaults, ProjectSaveIntoAFolderThatMayNotBeWrittenKeepsThePreviousFile)
{
    const auto file = Folder / "pile.kv3d";
    WriteText(file, Previous);
    MakeReadOnly(Folder);
    EXPECT_EQ(SaveInChild(file, Unprivileged()), WriteFailure(file, "Permission denied"));
    EXPECT_EQ(ReadText(file), Previous);
    EXPECT_THAT(FolderEntries(Folder), ElementsAre("pile.kv3d"));
    // A new file there fails the same way.
    EXPECT_EQ(SaveInChild(Folder / "new.kv3d", Unprivileged()), WriteFailure(Folder / "new.kv3d", "Permission denied"));
    EXPECT_THAT(FolderEntries(Folder), ElementsAre("pile.kv3d"));
}

TEST_F(SaveFaults, ProjectSaveIntoARemovedFolderFailsAndMakesNothing)
{
    const auto gone = Folder / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::remove(gone);
    EXPECT_EQ(SaveInChild(gone / "pile.kv3d", {}), WriteFailure(gone / "pile.kv3d", "No such file or directory"));
    EXPECT_THAT(FolderEntries(Folder), ElementsAre());
}

TEST_F(SaveFaults, WorkbookExportThatFailsPartWayKeepsThePreviousWorkbook)
{
    const auto file = Folder / "plots.xlsx";
    WriteText(file, Previous);
    const std::string result = ExportInChild(file, {.FileSizeLimit = 4096});
    EXPECT_THAT(result, testing::StartsWith("exception: File \"" + file.string() + "\" could not be written: "));
    EXPECT_THAT(result, testing::HasSubstr("File too large"));
    EXPECT_EQ(ReadText(file), Previous);
    EXPECT_THAT(FolderEntries(Folder), ElementsAre("plots.xlsx"));
    EXPECT_EQ(ExportInChild(file, {}), "saved");
    EXPECT_EQ(ReadText(file).substr(0, 2), "PK");
}

TEST_F(SaveFaults, WorkbookExportIntoAFolderThatMayNotBeWrittenOrWasRemoved)
{
    const auto file = Folder / "plots.xlsx";
    WriteText(file, Previous);
    MakeReadOnly(Folder);
    EXPECT_EQ(ExportInChild(file, Unprivileged()), WriteFailure(file, "Permission denied"));
    EXPECT_EQ(ReadText(file), Previous);
    EXPECT_THAT(FolderEntries(Folder), ElementsAre("plots.xlsx"));

    const auto gone = Folder.parent_path() / "gone" / "plots.xlsx";
    EXPECT_EQ(ExportInChild(gone, {}), WriteFailure(gone, "No such file or directory"));
    EXPECT_FALSE(std::filesystem::exists(gone.parent_path()));
}
