#pragma once

// Running the analysis engine from outside it, the one way every caller does
// it: the program's Run Analysis, korven-run, the benchmark, the fuzz target
// and the tests. Plain C++, no Qt.
//
// A run: the engine reads "names.dat" in the current folder (the version
// text, two reserved lines, a reserved number, then the paths of the input
// data file, the output report, the plot data file and the run notes), is
// called with the key 3 and returns its status (0 for a completed run; see
// the README for the others). The names file goes into a private folder that
// is the current folder only for the call, so that two runs never read each
// other's names file.
//
//   TDynamicLibrary library(EngineLibraryIn(programFolder));
//   const TEngineEntry entry = OpenEngine(library);       // ELibraryError
//   const TRunFiles files = TRunFiles::ForProject("/data/pile.kv3d");
//   const int32_t status = RunEngine(entry, files);       // ERunError
//
// Callers that need the steps one by one (the program shows a message for
// each failure) use TPrivateFolder, WriteNamesFile and CallInFolder.

#include "DynamicLibrary.h"
#include "KorvenVersion.h"
#include "korven/Core.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

using TEngineEntry = int32_t (*)(int32_t);

// The key of a run; the entry refuses any other value with status 1.
inline constexpr int32_t kEngineRunKey = 3;
inline constexpr const char* kEngineEntryName = "_IKORVEN";
inline constexpr const char* kEngineLibraryName = "libKORVEN2014_DLL.so";
inline constexpr const char* kNamesFileName = "names.dat";
// Line 1 of the names file, printed in the report banner.
inline constexpr const char* kNamesFileVersion = kKorvenVersion;

// A status the engine returns (korven::Status), what it means in one
// sentence for the user, and whether the report then ends with the engine's
// warning or error saying more.
struct TEngineStatus {
    int32_t Code;
    const char* Meaning;
    bool Reported;
};

// Every status the engine returns, by code: the one table of them (the
// README and the technical notes show it, and a test holds them to it).
const std::vector<TEngineStatus>& EngineStatuses();
// The status `code`, or null for a code the engine never returns.
const TEngineStatus* FindEngineStatus(int32_t code);
// Its meaning, "unknown status" for a code the engine never returns.
const char* EngineStatusMeaning(int32_t code);

// A file of the project `projectFile` differing only in its extension
// (".kv3o" with the dot).
std::filesystem::path SiblingFile(const std::filesystem::path& projectFile, const char* extension);

// The four files of a run.
struct TRunFiles {
    std::filesystem::path Input;   // the project file, read by the engine
    std::filesystem::path Report;  // ".kv3o", written
    std::filesystem::path Plot;    // ".kv3p", written
    std::filesystem::path Notes;   // ".kv3r", opened (created when missing), never written

    // The project file and its siblings; paths are taken as they are.
    static TRunFiles ForProject(const std::filesystem::path& projectFile);
};

// The whole names file, eight lines each ending in "\n".
std::string NamesFileText(const TRunFiles& files);
// Writes `folder`/names.dat; false when it could not be written.
bool WriteNamesFile(const std::filesystem::path& folder, const TRunFiles& files);

// A run that could not be set up (no private folder, no names file).
class ERunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A new folder of this process's own in the system's temporary folder
// ("<prefix>-XXXXXX", made by mkdtemp, so readable by its owner only),
// removed with everything in it on destruction.
class TPrivateFolder {
public:
    // ERunError when no folder can be made.
    explicit TPrivateFolder(const std::string& prefix = "korven-run");
    ~TPrivateFolder();
    TPrivateFolder(const TPrivateFolder&) = delete;
    TPrivateFolder& operator=(const TPrivateFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

// The engine library in `folder` (the program's own folder).
std::filesystem::path EngineLibraryIn(const std::filesystem::path& folder);
// Opens the library (if not yet open) and looks up the run entry;
// ELibraryError when either fails.
TEngineEntry OpenEngine(TDynamicLibrary& library);

// Calls the entry with `key` while `folder` is the current folder, then
// makes the previous current folder current again (also when the folder
// cannot be entered: std::filesystem::filesystem_error, no call). Returns
// the entry's status.
int32_t CallInFolder(TEngineEntry entry, const std::filesystem::path& folder, int32_t key = kEngineRunKey);

// A whole run: the names file in a private folder, the call there, the
// folder removed. ERunError when the folder or the names file cannot be made.
int32_t RunEngine(TEngineEntry entry, const TRunFiles& files);

// The C library's decimal separator is "." for its lifetime (the engine's
// number formatting must not follow the user's locale); the one in force
// before is put back afterwards.
class TPointDecimalSeparator {
public:
    TPointDecimalSeparator();
    ~TPointDecimalSeparator();
    TPointDecimalSeparator(const TPointDecimalSeparator&) = delete;
    TPointDecimalSeparator& operator=(const TPointDecimalSeparator&) = delete;

private:
    std::string FPrevious;
};
