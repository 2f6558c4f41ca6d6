#pragma once

// Pieces of the analysis run (TMainForm::CompRunClick): the decimal point
// for the engine's number formatting, the names file that tells the engine
// its files, and the meaning of the status it returns.

#include <cstdint>
#include <string>

// Sets the C library's decimal separator to "." for its lifetime and then
// puts back the one in force before.
class TPointDecimalSeparator {
public:
    TPointDecimalSeparator();
    ~TPointDecimalSeparator();
    TPointDecimalSeparator(const TPointDecimalSeparator&) = delete;
    TPointDecimalSeparator& operator=(const TPointDecimalSeparator&) = delete;

private:
    std::string FPrevious;
};

// Writes the engine's names file `path` for the project file `projectFile`:
// the version text, two reserved lines and a reserved number, then the
// project file and its output report (".kv3o"), plot data file (".kv3p")
// and run notes (".kv3r"). False when it could not be written.
bool WriteNamesFile(const std::string& path, const std::string& projectFile);

// One line naming a status the engine returned and its meaning; empty for
// 0, the completed run.
std::string EngineStatusText(int32_t status);
