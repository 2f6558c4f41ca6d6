#include "EngineRun.h"

#include <stdlib.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

const std::vector<TEngineStatus>& EngineStatuses() {
    using namespace korven;
    static const std::vector<TEngineStatus> Statuses = {
        {kCompleted, "run completed", false},
        {kWrongKey, "the entry was called with a key other than 3; no file was touched", false},
        {kBeyondUnitWeight, "a depth lies beyond the unit weight input", true},
        {kBeyondStrength, "a depth lies beyond the undrained strength input", true},
        {kBeyondSideFriction, "a depth lies beyond the side friction input", true},
        {kBeyondTipResistance, "a depth lies beyond the tip resistance input", true},
        {kBeyondFrictionAngle, "a depth lies beyond the friction angle input", true},
        {kNamesFileUnreadable, "names.dat is missing from the current folder or its first four lines cannot be read",
         false},
        {kFileNotOpened,
         "a file named in names.dat cannot be opened: the output report, the input data file, the plot "
         "data file or the run-notes file",
         false},
        {kInputMalformed,
         "the input data file is short or holds a malformed value (a word where a number belongs, or an "
         "integer written with a decimal point such as 3.0)",
         true},
        {kCountOutOfRange,
         "a count or code lies outside what the engine accepts: increments 1 to 900, unit code 1 or 2, 1 to "
         "100 t-z curves of 1 to 100 points, 1 to 20 soil layers of soil model 1 to 6, 1 to 50 AE points, at "
         "most 50 Q-w points, at most 50 tip movements, 50 pile-head loads, 100 settlement points, 1 to 50 "
         "t-z factor rows",
         true},
        {kTipBelowLayers, "the pile tip lies below the bottom of every soil layer", true},
        {kZeroStiffness, "an axial stiffness AE of zero", true},
        {kShortTipCurve, "a Q-w curve of fewer than two points", true},
        {kPileAboveCurves, "the pile reaches above the first t-z curve (an increment's mid-depth lies above it)", true},
        {kTipBeyondFullCurve, "a Q-w curve of 50 points with a tip movement beyond its last point", true},
        {kBadQwFactors,
         "a Q-w modification factor out of range (w-multiplier zero or below, or Q-multiplier below zero)", true},
        {kOutputNotWritten,
         "the output report or the plot data file could not be written whole; the previous ones were kept", false},
    };
    return Statuses;
}

const TEngineStatus* FindEngineStatus(int32_t code) {
    for (const TEngineStatus& status : EngineStatuses())
        if (status.Code == code) return &status;
    return nullptr;
}

const char* EngineStatusMeaning(int32_t code) {
    const TEngineStatus* status = FindEngineStatus(code);
    return status ? status->Meaning : "unknown status";
}

fs::path SiblingFile(const fs::path& projectFile, const char* extension) {
    return fs::path(projectFile).replace_extension(extension);
}

TRunFiles TRunFiles::ForProject(const fs::path& projectFile) {
    return {projectFile, SiblingFile(projectFile, ".kv3o"), SiblingFile(projectFile, ".kv3p"),
            SiblingFile(projectFile, ".kv3r")};
}

std::string NamesFileText(const TRunFiles& files) {
    // Two reserved text lines and a reserved number, which the engine reads
    // and does not use.
    return std::string(kNamesFileVersion) + "\n\n\n0\n" + files.Input.string() + '\n' + files.Report.string() + '\n' +
           files.Plot.string() + '\n' + files.Notes.string() + '\n';
}

bool WriteNamesFile(const fs::path& folder, const TRunFiles& files) {
    std::ofstream names(folder / kNamesFileName, std::ios::binary);
    names << NamesFileText(files);
    names.close();
    return !names.fail();
}

TPrivateFolder::TPrivateFolder(const std::string& prefix) {
    std::error_code error;
    const fs::path temporary = fs::temp_directory_path(error);
    if (error) throw ERunError("no temporary folder: " + error.message());
    std::string pattern = (temporary / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw ERunError("cannot make a folder in " + temporary.string() + ": " + std::strerror(errno));
    FPath = pattern;
}

TPrivateFolder::~TPrivateFolder() {
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
}

fs::path EngineLibraryIn(const fs::path& folder) {
    return folder / kEngineLibraryName;
}

TEngineEntry OpenEngine(TDynamicLibrary& library) {
    library.Open();
    return reinterpret_cast<TEngineEntry>(library.Lookup(kEngineEntryName));
}

int32_t CallInFolder(TEngineEntry entry, const fs::path& folder, int32_t key) {
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    const int32_t status = entry(key);
    fs::current_path(previous);
    return status;
}

int32_t RunEngine(TEngineEntry entry, const TRunFiles& files) {
    const TPrivateFolder folder;
    if (!WriteNamesFile(folder.Path(), files))
        throw ERunError("cannot write " + (folder.Path() / kNamesFileName).string());
    return CallInFolder(entry, folder.Path());
}

TPointDecimalSeparator::TPointDecimalSeparator() : FPrevious(std::setlocale(LC_NUMERIC, nullptr)) {
    std::setlocale(LC_NUMERIC, "C");
}

TPointDecimalSeparator::~TPointDecimalSeparator() {
    std::setlocale(LC_NUMERIC, FPrevious.c_str());
}
