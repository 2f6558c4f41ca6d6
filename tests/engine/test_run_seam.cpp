// The callers' side of a run (EngineRun.h): the files of a project, the names
// file, the private folder, the call in it and the library's loading. Most
// cases use a stand-in entry that records what the engine would find.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EngineHarness.h"
#include "EngineRun.h"

namespace {

namespace fs = std::filesystem;

// What the stand-in entry saw when it was called.
struct Seen {
    int calls = 0;
    int32_t key = 0;
    fs::path folder;
    std::string names;  // the names file in the current folder, "" when none
};
Seen seen;

int32_t RecordingEntry(int32_t key)
{
    ++seen.calls;
    seen.key = key;
    seen.folder = fs::current_path();
    seen.names = engine_test::ReadFile(kNamesFileName);
    return 40 + key;
}

class RunSeam : public ::testing::Test {
protected:
    void SetUp() override
    {
        seen = {};
        start = fs::current_path();
    }
    void TearDown() override { fs::current_path(start); }

    fs::path start;
};

TEST(RunFiles, SiblingsDifferOnlyInTheExtension)
{
    const TRunFiles files = TRunFiles::ForProject("/data/pile v2.0/Run me.kv3d");
    EXPECT_EQ(files.Input, "/data/pile v2.0/Run me.kv3d");
    EXPECT_EQ(files.Report, "/data/pile v2.0/Run me.kv3o");
    EXPECT_EQ(files.Plot, "/data/pile v2.0/Run me.kv3p");
    EXPECT_EQ(files.Notes, "/data/pile v2.0/Run me.kv3r");
    // A name without an extension gets one; only the last one is replaced;
    // a relative path stays relative.
    EXPECT_EQ(TRunFiles::ForProject("/data/pile").Report, "/data/pile.kv3o");
    EXPECT_EQ(TRunFiles::ForProject("a.kvd.kv3d").Plot, "a.kvd.kv3p");
    EXPECT_EQ(TRunFiles::ForProject("p.kv3d").Notes, "p.kv3r");
    EXPECT_EQ(SiblingFile("/x/p.kvd", ".kv3d"), "/x/p.kv3d");
}

TEST(RunFiles, NamesFileHasTheEightLinesTheEngineReads)
{
    const TRunFiles files = TRunFiles::ForProject("/data/a b/p.kv3d");
    EXPECT_EQ(NamesFileText(files),
              "2014.3.3\n\n\n0\n/data/a b/p.kv3d\n/data/a b/p.kv3o\n/data/a b/p.kv3p\n/data/a b/p.kv3r\n");
}

TEST(PrivateFolder, IsNewOwnedByUsAloneAndGoesWithItsContents)
{
    fs::path kept;
    {
        const TPrivateFolder one("korven-seam-test");
        const TPrivateFolder two("korven-seam-test");
        ASSERT_TRUE(fs::is_directory(one.Path()));
        EXPECT_NE(one.Path(), two.Path());
        EXPECT_EQ(one.Path().parent_path(), fs::temp_directory_path());
        EXPECT_EQ(one.Path().filename().string().rfind("korven-seam-test-", 0), 0u);
        struct stat info {};
        ASSERT_EQ(stat(one.Path().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        fs::create_directory(one.Path() / "sub");
        std::ofstream(one.Path() / "sub" / "file") << "x";
        kept = one.Path();
    }
    EXPECT_FALSE(fs::exists(kept));
}

TEST_F(RunSeam, CallHappensInTheFolderAndTheCurrentFolderComesBack)
{
    const TPrivateFolder folder("korven-seam-test");
    ASSERT_TRUE(WriteNamesFile(folder.Path(), TRunFiles::ForProject("/p/q.kv3d")));
    EXPECT_EQ(CallInFolder(&RecordingEntry, folder.Path()), 43);
    EXPECT_EQ(seen.key, kEngineRunKey);
    EXPECT_EQ(seen.folder, folder.Path());
    EXPECT_EQ(seen.names, "2014.3.3\n\n\n0\n/p/q.kv3d\n/p/q.kv3o\n/p/q.kv3p\n/p/q.kv3r\n");
    EXPECT_EQ(fs::current_path(), start);

    // Another key passes through as it is.
    EXPECT_EQ(CallInFolder(&RecordingEntry, folder.Path(), 2), 42);
    EXPECT_EQ(seen.key, 2);
}

TEST_F(RunSeam, AFolderThatCannotBeEnteredMeansNoCall)
{
    EXPECT_THROW(CallInFolder(&RecordingEntry, "/no/such/folder"), fs::filesystem_error);
    EXPECT_EQ(seen.calls, 0);
    EXPECT_EQ(fs::current_path(), start);
}

TEST_F(RunSeam, NamesFileThatCannotBeWrittenIsReported)
{
    EXPECT_FALSE(WriteNamesFile("/no/such/folder", TRunFiles::ForProject("p.kv3d")));
}

TEST_F(RunSeam, WholeRunUsesAFolderOfItsOwnAndRemovesIt)
{
    const TPrivateFolder projectFolder("korven-seam-test");
    const TRunFiles files = TRunFiles::ForProject(projectFolder.Path() / "p.kv3d");
    EXPECT_EQ(RunEngine(&RecordingEntry, files), 43);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.names, NamesFileText(files));
    // Not the project's folder, and gone after the run.
    EXPECT_NE(seen.folder, projectFolder.Path());
    EXPECT_FALSE(fs::exists(seen.folder));
    EXPECT_FALSE(fs::exists(projectFolder.Path() / kNamesFileName));
    EXPECT_EQ(fs::current_path(), start);
}

TEST_F(RunSeam, EngineLoadedFromAFolderRunsAndRefusesOtherKeys)
{
    const fs::path library = KORVEN_ENGINE_LIBRARY;
    EXPECT_EQ(EngineLibraryIn(library.parent_path()), library);

    TDynamicLibrary engine(EngineLibraryIn(library.parent_path()).string());
    const TEngineEntry entry = OpenEngine(engine);
    ASSERT_NE(entry, nullptr);
    const TPrivateFolder folder("korven-seam-test");
    const TRunFiles files = TRunFiles::ForProject(folder.Path() / "p.kv3d");
    ASSERT_TRUE(WriteNamesFile(folder.Path(), files));
    EXPECT_EQ(CallInFolder(entry, folder.Path(), 2), 1);
    EXPECT_FALSE(fs::exists(files.Report));  // a refused key touches no file
}

TEST_F(RunSeam, MissingLibraryOrEntryIsALibraryError)
{
    TDynamicLibrary missing("/no/such/libKORVEN2014_DLL.so");
    EXPECT_THROW(OpenEngine(missing), ELibraryError);
    EXPECT_FALSE(missing.IsOpen());
}

TEST(PointDecimalSeparator, PointForTheRunThenThePreviousOneBack)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no decimal-comma locale installed";
    const std::string comma = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    {
        const TPointDecimalSeparator point;
        EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    }
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), comma);
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    std::setlocale(LC_NUMERIC, before.c_str());
}

}  // namespace

// The README and the technical notes show the table of statuses as the code
// has it, row for row.
TEST(EngineStatuses, DocumentedAsTheCodeHasThem)
{
    std::vector<std::string> rows;
    for (const TEngineStatus& status : EngineStatuses())
        rows.push_back("| " + std::to_string(status.Code) + " | " + status.Meaning + " |");
    for (const char* document : {"README.md", "docs/technical-notes.md"}) {
        std::ifstream in(fs::path(KORVEN_SOURCE_DIR) / document);
        ASSERT_TRUE(in) << document;
        std::vector<std::string> documented;
        bool inSection = false;
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with('#'))
                inSection = line.ends_with("Engine status codes");
            else if (inSection && line.starts_with("| ") && std::isdigit(static_cast<unsigned char>(line[2])))
                documented.push_back(line);
        }
        EXPECT_EQ(documented, rows) << document;
    }
}
