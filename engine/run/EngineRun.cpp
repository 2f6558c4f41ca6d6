#include "EngineRun.h"

#include <stdlib.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

const char* EngineStatusMeaning(int32_t status)
{
    switch (status) {
    case 0: return "run completed";
    case 1: return "the entry was called with a key other than 3";
    case 4: return "a depth lies beyond the unit weight input";
    case 5: return "a depth lies beyond the undrained strength input";
    case 6: return "a depth lies beyond the side friction input";
    case 7: return "a depth lies beyond the tip resistance input";
    case 8: return "a depth lies beyond the friction angle input";
    case 10: return "names.dat is missing from the current folder or cannot be read";
    case 11: return "a file named in names.dat cannot be opened";
    case 12: return "the input data file is short or holds a malformed value";
    case 13: return "a count or code lies outside what the engine accepts";
    case 14: return "the pile tip lies below the bottom of every soil layer";
    case 15: return "an axial stiffness AE of zero";
    case 16: return "a Q-w curve of fewer than two points";
    case 17: return "the pile reaches above the first t-z curve";
    case 18: return "a Q-w curve of 50 points with a tip movement beyond its last point";
    case 19: return "a Q-w modification factor out of range (w-multiplier zero or below, or Q-multiplier below zero)";
    default: return "unknown status";
    }
}

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
