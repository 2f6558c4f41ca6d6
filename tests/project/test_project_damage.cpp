// Damaged project files: the examples and two reference projects cut at
// every byte offset, and with a byte replaced at a sample of offsets, read in
// the current and the older form. Each read either succeeds or ends with the
// reader's message; either way the project that results saves to a file
// that reads back whole and saves again to the same text.

#include "ProjectTestSupport.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <set>

namespace {

// The reader's messages: a word that does not convert, a file that ends
// early or holds a count it cannot, a table that refuses a value.
bool IsReaderMessage(const std::string& error)
{
    return error.empty() || error == "This file either invalid or incomplete." ||
           error.rfind("Error on Line ", 0) == 0 || error == "Data of wrong type";
}

// The bundled examples (generated and user-entered curves), the largest
// reference project and the one with the most layers.
std::vector<std::filesystem::path> SampleProjects()
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(KORVEN_EXAMPLES_DIR, error))
        if (entry.path().extension() == ".kv3d" || entry.path().extension() == ".kvd")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    const std::filesystem::path golden = KORVEN_GOLDEN_DIR;
    std::vector<std::filesystem::path> references;
    for (const auto& entry : std::filesystem::directory_iterator(golden, error))
        if (entry.path().extension() == ".kv3d")
            references.push_back(entry.path());
    if (!references.empty()) {
        files.push_back(*std::max_element(references.begin(), references.end(), [](const auto& a, const auto& b) {
            return std::filesystem::file_size(a) < std::filesystem::file_size(b);
        }));
        if (std::filesystem::exists(golden / "e23_eight_layers.kv3d"))
            files.push_back(golden / "e23_eight_layers.kv3d");
    }
    return files;
}

class ProjectDamageTest : public ProjectTest {
protected:
    // Thousands of saves: in memory where the system offers it.
    void SetUp() override
    {
        ProjectTest::SetUp();
        char name[] = "/dev/shm/korven-damage-XXXXXX";
        if (std::filesystem::is_directory("/dev/shm") && mkdtemp(name)) {
            std::filesystem::remove(Folder);
            Folder = name;
        }
    }

    // Reads `text` as a project file in both forms and checks the outcome.
    void ReadDamaged(const std::string& text, const std::string& what)
    {
        WriteText(Folder / "damaged.kv3d", text);
        for (bool fullFormat : {true, false}) {
            const std::string error = Open(PathOf("damaged.kv3d"), fullFormat);
            if (!IsReaderMessage(error)) {
                ADD_FAILURE() << what << (fullFormat ? "" : " (older form)") << ": " << error;
                return;
            }
            Messages.insert(error.substr(0, error.find(" Item")));
        }
        ExpectUsable(what);
    }

    // The project saves; the file reads back without a message and saves to
    // the same text.
    void ExpectUsable(const std::string& what)
    {
        std::string saved;
        try {
            saved = Save("saved.kv3d");
        } catch (const std::exception& e) {
            ADD_FAILURE() << what << ": save failed: " << e.what();
            return;
        }
        const std::string error = Open(PathOf("saved.kv3d"));
        EXPECT_EQ(error, "") << what << "\n" << saved;
        EXPECT_EQ(Save("again.kv3d"), saved) << what;
    }

    std::set<std::string> Messages;
};

}  // namespace

TEST_F(ProjectDamageTest, FileCutAtEveryOffsetReadsOrFailsWithTheReadersMessage)
{
    const auto files = SampleProjects();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        const std::string whole = ReadText(file);
        for (std::size_t size = 0; size <= whole.size(); ++size)
            ReadDamaged(whole.substr(0, size), file.filename().string() + " cut at " + std::to_string(size));
        if (HasFailure())
            break;
    }
    // The sweep reached both kinds of outcome.
    EXPECT_TRUE(Messages.count(""));
    EXPECT_TRUE(Messages.count("This file either invalid or incomplete."));
}

TEST_F(ProjectDamageTest, ByteReplacedAtSampledOffsetsReadsOrFailsWithTheReadersMessage)
{
    const char replacements[] = {'9', '-', '.', '\n', 'x', '\0'};
    for (const auto& file : SampleProjects()) {
        const std::string whole = ReadText(file);
        for (std::size_t at = 0; at < whole.size(); at += 7)
            for (char replacement : replacements) {
                std::string text = whole;
                text[at] = replacement;
                ReadDamaged(text, file.filename().string() + " with byte " + std::to_string(at) + " = " +
                                      std::to_string(static_cast<unsigned char>(replacement)));
            }
        if (HasFailure())
            break;
    }
    EXPECT_THAT(Messages, testing::Contains(testing::StartsWith("Error on Line ")));
}
