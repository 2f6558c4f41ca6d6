#pragma once

#include "UnitStrings.h"
// The current project: its scalar values, held here, and its lists, held by
// the main window's tables (TProjectTables), which a project fills, clears
// and reads. The project file (*.kv3d, and the older *.kvd without the two
// factor records) is at the same time the analysis engine's input file.

#include "ProjectExtras.h"
#include "ProjectTables.h"
#include "WordReader.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Length units: inches in one metre, and its exact reciprocal.
inline constexpr long double InchesPerMetre = 39.37007874L;
inline constexpr long double MetresPerInch = 1.0L / InchesPerMetre;
// The tip movements the engine takes when it is given none (inches; in SI
// units each is multiplied by 0.0254).
inline constexpr std::array<long double, 9> DefaultTipMovementsInches = {0.0001L, 0.001L, 0.01L, 0.03L, 0.07L,
                                                                         0.1L,    0.2L,   0.5L,  5.0L};

struct TProjectFileContent;

// Where the t-z and Q-w curves come from. The numbers are the codes of the
// project file, converted only where it is read and written.
enum class CurveSource : int32_t {
    UserEntered = 1,
    Generated = 2
};

class TProgramData {
public:
    static inline const std::string DefaultFileName = "NewKORVEN.kv3d";

    // A new project: defaults, English units, every table holding exactly
    // its minimum of fresh rows, nothing changed.
    explicit TProgramData(TProjectTables& tables);
    TProgramData(const TProgramData&) = delete;
    TProgramData& operator=(const TProgramData&) = delete;

    // A project read from a file; `fullFormat` is false for the older *.kvd
    // format, which lacks the two factor records. Tables the file leaves
    // below their minimum get their minimum rows. A file that cannot be read
    // whole (missing, cut short, a word where a number belongs) is refused:
    // the answer is null, `error` gets the message to show the user, and
    // the tables, with the project open over them, are left as they were.
    static std::unique_ptr<TProgramData> CreateFromFile(TProjectTables& tables, const std::string& fileName,
                                                        bool fullFormat, std::string& error);

    // Writes the project file to FileName, its extras file (designer, date and
    // the other modules' sections, TProjectExtras) beside it, and creates the
    // empty companion file, then clears the changed state. Each file is
    // written beside the old one and replaces it only when complete, so a
    // failed save leaves the previous file as it was; the failure is thrown as
    // EInOutError, as is an attempt to replace a file that may not be written.
    void SaveToFile();

    // Switches the unit system (English or SI; Symbolic counts as SI),
    // converting every table and the pile properties; a switch to the other
    // system marks the project changed.
    void SetUnits(UnitSystem system);
    UnitSystem Units() const { return FUnits; }
    // Turns an option switch (UseTipMovements, UseHeadLoads, Downdrag,
    // ApplyTzFactors, ApplyQwFactors) on or off and marks the project
    // changed. Tip movements switched on over a table that holds nothing but
    // zeros start from the nine default movements, in the project's units.
    void SetSwitch(bool TProgramData::*option, bool on);
    // The curve source; a change marks the project changed.
    void SetCurvesGenerated(bool generated);
    // The option switches, the curve source and the Q-w multipliers: what a
    // change beside the tables may alter, for undo to put back.
    struct TOptions {
        bool CurvesGenerated, Downdrag, UseTipMovements, UseHeadLoads, ApplyTzFactors, ApplyQwFactors;
        long double QMultiplier, WMultiplier;
        bool operator==(const TOptions&) const = default;
    };
    TOptions Options() const;
    // Takes them back; a change marks the project changed.
    void SetOptions(const TOptions& options);
    // Input that the engine takes but that cannot be meant, for the user to
    // confirm before a run: a soil-settlement profile of zeros with down-drag
    // on. Empty when there is nothing to say.
    std::vector<std::string> RunWarnings() const;
    // Raised at the end of SetUnits, so that open dialogs reload their fields.
    std::function<void()> OnUnitsChanged;

    // Changed state: the own flag or any table's. SetChanged(true) sets the
    // own flag (Modified); SetChanged(false) clears it and every table's.
    bool Changed() const;
    void SetChanged(bool changed);
    bool Modified = false;

    TProjectTables& Tables() const { return FTables; }

    std::string FileName = DefaultFileName;
    std::string CompanionFileName;
    std::string Title = "New Pile";
    // Entered in the title dialog; kept in the extras file.
    std::string Designer;
    std::string DesignDate;
    // The extras file's sections of other modules, read with the project and
    // written back with it (the designer and the date are taken from the
    // fields above at each save).
    TProjectExtras Extras;
    // What the user should be told once about the file just read, although
    // it was opened: an extras file that could not be read, for example.
    std::vector<std::string> ReadNotices;
    int32_t Increments = 50;
    // 0: report everything along the pile, 1: load-settlement data only.
    int32_t OutputOption = 0;
    long double Tolerance = 1.0E-5L;
    long double PileLength = 0;
    long double OuterDiameter = 0;
    long double TipArea = 0;
    // Curves generated by the program (true) or entered by the user.
    bool CurvesGenerated = true;
    // The curve source as last saved or read.
    CurveSource SavedCurveSource = CurveSource::Generated;
    bool Downdrag = false;
    bool UseTipMovements = true;
    bool UseHeadLoads = false;
    bool ApplyTzFactors = false;
    bool ApplyQwFactors = false;
    // 1 and 1 leave the Q-w curve as it is.
    long double QMultiplier = 1;
    long double WMultiplier = 1;

    // The text of the project file, which is also the engine's input (gives
    // each layer's data table its number and its two rows on the way).
    std::string FileText();

private:
    // Takes the values of a file read whole.
    void TakeContent(const TProjectFileContent& content);

    TProjectTables& FTables;
    UnitSystem FUnits = UnitSystem::English;
};
