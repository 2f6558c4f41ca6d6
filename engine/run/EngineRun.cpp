#include "EngineRun.h"

#include <stdlib.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

fs::path SiblingFile(const fs::path& projectFile, const char* extension)
{
    return fs::path(projectFile).replace_extension(extension);
}

TRunFiles TRunFiles::ForProject(const fs::path& projectFile)
{
    return {projectFile, SiblingFile(projectFile, ".kv3o"), SiblingFile(projectFile, ".kv3p"),
            SiblingFile(projectFile, ".kv3r")};
}

std::string NamesFileText(const TRunFiles& files)
{
    // Two reserved text lines and a reserved number, which the engine reads
    // and does not use.
    return std::string(kNamesFileVersion) + "\n\n\n0\n" + files.Input.string() + '\n' + files.Report.string() +
           '\n' + files.Plot.string() + '\n' + files.Notes.string() + '\n';
}

bool WriteNamesFile(const fs::path& folder, const TRunFiles& files)
{
    std::ofstream names(folder / kNamesFileName, std::ios::binary);
    names << NamesFileText(files);
    names.close();
    return !names.fail();
}

TPrivateFolder::TPrivateFolder(const std::string& prefix)
{
    std::error_code error;
    const fs::path temporary = fs::temp_directory_path(error);
    if (error)
        throw ERunError("no temporary folder: " + error.message());
    std::string pattern = (temporary / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw ERunError("cannot make a folder in " + temporary.string() + ": " + std::strerror(errno));
    FPath = pattern;
}

TPrivateFolder::~TPrivateFolder()
{
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
}

fs::path EngineLibraryIn(const fs::path& folder)
{
    return folder / kEngineLibraryName;
}

TEngineEntry OpenEngine(TDynamicLibrary& library)
{
    library.Open();
    return reinterpret_cast<TEngineEntry>(library.Lookup(kEngineEntryName));
}

int32_t CallInFolder(TEngineEntry entry, const fs::path& folder, int32_t key)
{
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    const int32_t status = entry(key);
    fs::current_path(previous);
    return status;
}

int32_t RunEngine(TEngineEntry entry, const TRunFiles& files)
{
    const TPrivateFolder folder;
    if (!WriteNamesFile(folder.Path(), files))
        throw ERunError("cannot write " + (folder.Path() / kNamesFileName).string());
    return CallInFolder(entry, folder.Path());
}

TPointDecimalSeparator::TPointDecimalSeparator() : FPrevious(std::setlocale(LC_NUMERIC, nullptr))
{
    std::setlocale(LC_NUMERIC, "C");
}

TPointDecimalSeparator::~TPointDecimalSeparator()
{
    std::setlocale(LC_NUMERIC, FPrevious.c_str());
}
