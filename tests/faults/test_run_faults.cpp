// An engine run of a project whose folder was removed ends with its status
// and writes nothing. (The runs whose results cannot be written are driven
// through the main window, in tests/main.)

#include "FaultChild.h"

#include "EngineRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

using testing::ElementsAre;

namespace {

// The status of the engine that the run ends with.
constexpr int32_t FileNotOpened = 11;

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

    std::filesystem::path Folder;
    std::filesystem::path Project;
};

}  // namespace

TEST_F(RunFaults, RunOfAProjectWhoseFolderWasRemovedWritesNothing)
{
    const auto gone = Folder / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::rename(Project, gone / "pile.kv3d");
    std::filesystem::remove_all(gone);
    EXPECT_EQ(RunInChild(gone / "pile.kv3d", {}), std::to_string(FileNotOpened));
    EXPECT_THAT(FolderEntries(Folder), ElementsAre());
}
