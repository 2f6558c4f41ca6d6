// Engine runs under faults: the report cannot be written whole (file size
// limit), the project's folder may not be written, the folder was removed.
// The run ends with its status, the previous report and plot data file stay
// byte for byte, and no temporary file is left beside them.

#include "FaultChild.h"

#include "EngineRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

using testing::ElementsAre;

namespace {

// The statuses of the engine that these runs end with.
constexpr int32_t Completed = 0;
constexpr int32_t FileNotOpened = 11;
constexpr int32_t OutputNotWritten = 20;

class RunFaults : public testing::Test {
protected:
    void SetUp() override
    {
        const std::filesystem::path golden = KORVEN_GOLDEN_DIR;
        if (!std::filesystem::is_directory(golden))
            GTEST_SKIP() << "no reference runs";
        Folder = MakeTestFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        Project = Folder / "pile.kv3d";
        std::filesystem::copy_file(golden / "e21_depth_1234_56.kv3d", Project);
        chmod(Project.c_str(), 0644);
    }
    void TearDown() override
    {
        if (Folder.empty())
            return;
        chmod(Folder.c_str(), 0755);
        std::filesystem::remove_all(Folder.parent_path());
    }

    // Runs the engine on `project` in a child with the faults; the status.
    static std::string RunInChild(const std::filesystem::path& project, const TFaults& faults)
    {
        return InChild(faults, [&] {
            TDynamicLibrary library(KORVEN_ENGINE_LIBRARY);
            return std::to_string(RunEngine(OpenEngine(library), TRunFiles::ForProject(project)));
        });
    }

    // A completed run first, whose files the failing runs must keep.
    void RunOnce()
    {
        ASSERT_EQ(RunInChild(Project, {}), std::to_string(Completed));
        Report = ReadText(Folder / "pile.kv3o");
        Plot = ReadText(Folder / "pile.kv3p");
        ASSERT_GT(Report.size(), 4096u);
        ASSERT_GT(Plot.size(), 1024u);
    }

    void ExpectPreviousRunKept()
    {
        EXPECT_EQ(ReadText(Folder / "pile.kv3o"), Report);
        EXPECT_EQ(ReadText(Folder / "pile.kv3p"), Plot);
        EXPECT_THAT(FolderEntries(Folder), ElementsAre("pile.kv3d", "pile.kv3o", "pile.kv3p", "pile.kv3r"));
    }

    std::filesystem::path Folder;
    std::filesystem::path Project;
    std::string Report;
    std::string Plot;
};

}  // namespace

TEST_F(RunFaults, OutputThatCannotBeWrittenWholeKeepsThePreviousRun)
{
    RunOnce();
    // The plot data file fits, the report does not.
    EXPECT_EQ(RunInChild(Project, {.FileSizeLimit = 4096}), std::to_string(OutputNotWritten));
    ExpectPreviousRunKept();
    // Neither fits.
    EXPECT_EQ(RunInChild(Project, {.FileSizeLimit = 512}), std::to_string(OutputNotWritten));
    ExpectPreviousRunKept();
}

TEST_F(RunFaults, RunInAFolderThatMayNotBeWrittenKeepsThePreviousRun)
{
    RunOnce();
    MakeReadOnly(Folder);
    EXPECT_EQ(RunInChild(Project, {.FileSizeLimit = {}, .Unprivileged = true}), std::to_string(FileNotOpened));
    ExpectPreviousRunKept();
}

TEST_F(RunFaults, RunOfAProjectWhoseFolderWasRemovedWritesNothing)
{
    const auto gone = Folder / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::rename(Project, gone / "pile.kv3d");
    std::filesystem::remove_all(gone);
    EXPECT_EQ(RunInChild(gone / "pile.kv3d", {}), std::to_string(FileNotOpened));
    EXPECT_THAT(FolderEntries(Folder), ElementsAre());
}
