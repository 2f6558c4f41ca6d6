#include "EngineStatus.h"

std::string EngineStatusText(int32_t status)
{
    struct TStatus {
        int32_t Code;
        const char* Meaning;
        bool Reported;  // the report ends with the engine's warning or error
    };
    static const TStatus Statuses[] = {
        {1, "the entry was called with a key other than 3; no file was touched", false},
        {4, "a depth lies beyond the unit weight input", true},
        {5, "a depth lies beyond the undrained strength input", true},
        {6, "a depth lies beyond the side friction input", true},
        {7, "a depth lies beyond the tip resistance input", true},
        {8, "a depth lies beyond the friction angle input", true},
        {10, "names.dat is missing from the current folder or its first four lines cannot be read", false},
        {11, "a file named in names.dat cannot be opened: the output report, the input data file, the plot "
             "data file or the run-notes file", false},
        {12, "the input data file is short or holds a malformed value (a word where a number belongs, or an "
             "integer written with a decimal point such as 3.0)", true},
        {13, "a count or code lies outside what the engine accepts: increments 1 to 900, unit code 1 or 2, 1 to "
             "100 t-z curves of 1 to 100 points, 1 to 20 soil layers of soil model 1 to 6, 1 to 50 AE points, at "
             "most 50 Q-w points, at most 50 tip movements, 50 pile-head loads, 100 settlement points, 1 to 50 "
             "t-z factor rows", true},
        {14, "the pile tip lies below the bottom of every soil layer", true},
        {15, "an axial stiffness AE of zero", true},
        {16, "a Q-w curve of fewer than two points", true},
        {17, "the pile reaches above the first t-z curve (an increment's mid-depth lies above it)", true},
        {18, "a Q-w curve of 50 points with a tip movement beyond its last point", true},
        {19, "a Q-w modification factor out of range (w-multiplier zero or below, or Q-multiplier below zero)",
         true},
    };
    if (status == 0)
        return {};
    std::string text = "The engine returned status " + std::to_string(status);
    for (const TStatus& known : Statuses) {
        if (known.Code == status) {
            text += std::string(": ") + known.Meaning + ".";
            if (known.Reported)
                text += " The output file holds the details.";
            return text;
        }
    }
    return text + ".";
}
