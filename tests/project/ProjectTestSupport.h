#pragma once

// Shared by the project tests: the main window's tables with a project over
// them, a private temporary folder, and whole-file helpers.

#include "ProgramData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

inline std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/korven-project-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        Folder = name;
        Project = std::make_unique<TProgramData>(Tables);
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::permissions(Folder, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(Folder, error);
    }

    std::string PathOf(const std::string& name) const { return (Folder / name).string(); }

    // Saves the current project under the name and returns the file's text.
    std::string Save(const std::string& name)
    {
        Project->FileName = PathOf(name);
        Project->SaveToFile();
        return ReadText(Project->FileName);
    }

    // Replaces the current project by the file's; returns the reader's
    // message, and keeps the current project when the file is refused.
    std::string Open(const std::string& path, bool fullFormat = true)
    {
        std::string error;
        std::unique_ptr<TProgramData> read = TProgramData::CreateFromFile(Tables, path, fullFormat, error);
        EXPECT_EQ(read == nullptr, !error.empty());
        if (read)
            Project = std::move(read);
        return error;
    }

    TProjectTables Tables;
    std::unique_ptr<TProgramData> Project;
    std::filesystem::path Folder;
};
