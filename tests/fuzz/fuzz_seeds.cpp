// Writes seed inputs that the program itself makes, into the folder given as
// the argument: the column declaration ("Col") of every table of a project,
// one file each, and a new project as the program saves it.
#include "ProgramData.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    TProjectTables tables;
    int number = 0;
    bool written = true;
    tables.ForEach([&](const auto& table) {
        TValueWriter writer;
        table.WriteCol(writer);
        const auto& bytes = writer.Bytes();
        std::ofstream file(folder / ("table-" + std::to_string(++number) + ".col"), std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        written = written && file.good();
    });
    TProgramData project(tables);
    project.FileName = (folder / TProgramData::DefaultFileName).string();
    try {
        project.SaveToFile();
    } catch (const EInOutError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        written = false;
    }
    return written ? 0 : 1;
}
