#pragma once

// A cone penetration test sounding as the pile design reads it, and the
// readers of the three exchange forms: GEF CPT reports, AGS4 files (groups
// SCPG and SCPT) and CSV tables with a header naming columns and units.
// Plain C++, no Qt.
//
// Every reader either returns the whole sounding or throws ESoundingError
// with the line and the reason; nothing half-read is ever returned. Values
// are stored in metres and kilopascals whatever the file's units. Missing
// values (void markers, empty fields) are NaN.

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

inline constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();
inline bool HasValue(double v) { return !std::isnan(v); }

enum class TSoundingFormat { Gef, Ags, Csv };

struct TSoundingRow {
    double Depth = 0;      // m below the start of the sounding, increasing
    double Qc = 0;         // cone resistance, kPa (never missing)
    double Fs = NoValue;   // sleeve friction, kPa
    double U2 = NoValue;   // pore pressure behind the cone, kPa
    double Qt = NoValue;   // corrected cone resistance given by the file, kPa
};

struct TSounding {
    std::string Name;  // test id of the file, or its name
    TSoundingFormat Format = TSoundingFormat::Csv;
    // The cone's net area ratio a, when the file gives it.
    double NetAreaRatio = NoValue;
    std::vector<TSoundingRow> Rows;
    // Rows the reader dropped: repeated or decreasing depths, or a row
    // without cone resistance.
    int DroppedRows = 0;
};

// A file that cannot be read: `Line` is the 1-based line of the fault (0
// for the file as a whole), and what() says "line N: reason".
class ESoundingError : public std::runtime_error {
public:
    ESoundingError(int line, const std::string& reason);
    int Line() const { return FLine; }
    const std::string& Reason() const { return FReason; }

private:
    int FLine;
    std::string FReason;
};

TSounding ReadGef(std::string_view text);
// `test` picks one test of the file: "LOCA_ID" when that location has one
// test, or "LOCA_ID/SCPG_TESN". Empty picks the only test of the file; a
// file with several tests then is refused with their list.
TSounding ReadAgs(std::string_view text, const std::string& test = {});
// The tests of an AGS4 file as "LOCA_ID/SCPG_TESN", in file order.
std::vector<std::string> AgsTests(std::string_view text);
TSounding ReadCsvSounding(std::string_view text);

// The format by the file's extension (.gef, .ags, anything else CSV).
TSoundingFormat FormatOfFile(const std::string& path);
// Reads the file in its format; a file that cannot be opened is refused
// with line 0.
TSounding ReadSoundingFile(const std::string& path, const std::string& test = {});
// The bytes of a file (ESoundingError at line 0 when it cannot be read).
std::string ReadFileBytes(const std::string& path);

// Shared by the readers.
namespace sounding_detail {
// Factor from the named pressure unit to kPa; NaN for an unknown unit.
double PressureFactor(std::string_view unit);
// Factor from the named length unit to m; NaN for an unknown unit.
double LengthFactor(std::string_view unit);
// The whole text as a number, or NaN when it is not one (empty included).
double ParseNumber(std::string_view text);
std::string_view Trim(std::string_view text);
// Splits text into lines (LF, CRLF or CR), each without its end.
std::vector<std::string_view> Lines(std::string_view text);
// Sorts out the rows: drops rows without depth or cone resistance and
// depths that do not increase; refuses a sounding left with fewer than two
// rows, or with a value that is not finite.
void Finish(TSounding& sounding, std::vector<TSoundingRow> rows, const std::vector<int>& lines);
}  // namespace sounding_detail
