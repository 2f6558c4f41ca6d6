// libFuzzer target: any bytes as a project file, read in the current and the
// older form. A read either succeeds or refuses the file with the reader's
// message; a project read saves, and the saved file reads back whole and
// saves again to the same text.
#include "FuzzFile.h"
#include "ProgramData.h"

#include <fstream>
#include <iterator>

namespace {

std::string Text(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void ReadAndSave(const std::string& path, bool fullFormat)
{
    TProjectTables tables;
    std::string error;
    auto project = TProgramData::CreateFromFile(tables, path, fullFormat, error);
    if (!project) {
        if (error.empty())
            std::abort();  // a file refused without saying why
        return;
    }
    project->FileName = FuzzFolder().PathOf("saved.kv3d");
    project->SaveToFile();
    const std::string saved = Text(project->FileName);
    project.reset();

    auto again = TProgramData::CreateFromFile(tables, FuzzFolder().PathOf("saved.kv3d"), true, error);
    if (!again || !error.empty())
        std::abort();  // a saved project that does not read back
    again->FileName = FuzzFolder().PathOf("again.kv3d");
    again->SaveToFile();
    if (Text(again->FileName) != saved)
        std::abort();  // a project that changes on its way through the file
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = FuzzFolder().Write("in.kv3d", data, size);
    ReadAndSave(path, true);
    ReadAndSave(path, false);
    return 0;
}
