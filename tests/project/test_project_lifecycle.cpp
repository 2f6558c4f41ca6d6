// Every reference project opened, saved, run through the engine library,
// its plot data read into the graphs and closed, one after another, as a
// session of the program would. Built with the address sanitizer, each
// project is followed by a leak check, so a leak names the project.

#include "EngineRun.h"
#include "MainGraphs.h"
#include "ProjectTestSupport.h"

#include <algorithm>

#if defined(__SANITIZE_ADDRESS__)
#define KORVEN_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVEN_LEAK_CHECKS 1
#endif
#endif
#ifdef KORVEN_LEAK_CHECKS
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// Nonzero when memory allocated since the start cannot be reached.
int LeakCheck()
{
#ifdef KORVEN_LEAK_CHECKS
    return __lsan_do_recoverable_leak_check();
#else
    return 0;
#endif
}

std::vector<std::filesystem::path> ReferenceProjects()
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(KORVEN_GOLDEN_DIR, error))
        if (entry.path().extension() == ".kv3d")
            files.push_back(entry.path());
    // The largest first.
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return std::filesystem::file_size(a) > std::filesystem::file_size(b);
    });
    return files;
}

class ProjectLifecycleTest : public ProjectTest {};

}  // namespace

TEST_F(ProjectLifecycleTest, EveryReferenceProjectOpensRunsAndClosesWithoutLeaks)
{
    const auto projects = ReferenceProjects();
    if (projects.empty())
        GTEST_SKIP() << "no reference runs";
    TMainGraphs graphs;
    for (const auto& reference : projects) {
        const auto file = Folder / reference.filename();
        std::filesystem::copy_file(reference, file, std::filesystem::copy_options::overwrite_existing);
        EXPECT_EQ(Open(file.string()), "") << reference;
        Project->SaveToFile();
        {
            TDynamicLibrary library(KORVEN_ENGINE_LIBRARY);
            RunEngine(OpenEngine(library), TRunFiles::ForProject(file));
        }
        const auto plot = SiblingFile(file, ".kv3p");
        if (std::filesystem::file_size(plot) > 0) {
            EXPECT_TRUE(ReadPlotFile(graphs, plot.string(), Project->Units())) << reference;
        }
        Project.reset();
        EXPECT_EQ(LeakCheck(), 0) << "after " << reference.filename();
    }
}
