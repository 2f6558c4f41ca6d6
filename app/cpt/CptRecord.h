#pragma once

// What the project keeps of a CPT design, so the curves can be made again
// after the pile changes: the sounding (its path, the AGS4 test and a
// checksum of its bytes, to tell when the file changed), the pile's end,
// every setting and the curve depths the user chose (none: the proposed
// ones). Stored as the "cpt" section of the project's extras file.

#include "CptCurveWriter.h"
#include "ProgramData.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cpt {

struct TCptRecord {
    std::string SoundingPath;
    std::string Test;
    std::string Checksum;  // FNV-1a, 64 bits, 16 hex digits
    TPileEnd End = TPileEnd::Closed;
    double WallThickness = 0;
    double PlugLengthRatio = -1;
    TCptSettings Settings;
    std::vector<double> CurveDepths;
};

inline const std::string CptSectionName = "cpt";

// The checksum of a file's bytes.
std::string SoundingChecksum(std::string_view bytes);

nlohmann::json CptSection(const TCptRecord& record);
// Refuses a section it cannot read whole (ECptError naming the member);
// members left out keep their defaults.
TCptRecord CptRecordFromSection(const nlohmann::json& section);

// The record in the project's extras file; none when the project has none.
std::optional<TCptRecord> RecordOfProject(const TProgramData& project);
// Keeps the record in the project's extras file (written at the next save).
void SetRecordOfProject(TProgramData& project, const TCptRecord& record);

// Writes a design into the project: its curves as the user curves (see
// WriteCurves; refused before anything changes) and the record it was made
// by. Every write of CPT curves into a project goes through here.
void WriteDesign(TProgramData& project, const TCptDesign& design, const TCptRecord& record);

}  // namespace cpt
