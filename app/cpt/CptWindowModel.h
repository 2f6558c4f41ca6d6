#pragma once

// What the CPT window works on, without a display: the sounding it opened
// (and the tests of an AGS4 file), the record of the design as the project
// keeps it (pile end, settings, the user's curve depths), the series of its
// profile plots and the one write of the curves into the project.

#include "CptCurveWriter.h"
#include "CptRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace cpt {

// One curve of a profile plot: (value, depth m) per sounding row.
struct TProfileSeries {
    std::string Name;
    std::vector<std::pair<double, double>> Points;
};

// The profile plots: cone resistance (MPa), sleeve friction and pore
// pressures (kPa), and the soil behaviour type index I_c.
struct TProfilePlots {
    std::vector<TProfileSeries> Resistance;
    std::vector<TProfileSeries> Friction;
    std::vector<TProfileSeries> Behaviour;
};

class TCptWindowModel {
public:
    // The design as the project keeps it; the window edits it. Its sounding
    // members follow Open.
    TCptRecord Record;

    // Reads a sounding. `test` picks the test of an AGS4 file; empty picks
    // its first. A file that cannot be read throws ESoundingError and
    // leaves the model as it was. A new file starts with the proposed curve
    // depths.
    void Open(const std::string& path, const std::string& test = {});
    bool HasSounding() const { return FSounding.has_value(); }
    const TSounding& Sounding() const { return *FSounding; }
    // The tests of the open AGS4 file ("LOCA_ID/SCPG_TESN"); empty for other
    // formats.
    const std::vector<std::string>& Tests() const { return FTests; }

    // Takes the record the project keeps and opens its sounding. Returns a
    // warning for the user when the file is no longer the one the curves
    // were made from (empty when it is). A file that cannot be read throws
    // ESoundingError, with the record's settings taken.
    std::string Resume(const TCptRecord& record);

    // The unit weights from the project's soil layers; false (nothing
    // changed) when the project has no layers with unit weights.
    bool TakeLayerUnitWeights(const TProgramData& project);

    // The profile of the sounding under the settings; ECptError for
    // settings out of range.
    TCptProfile Profile() const;
    TPileGeometry Pile(const TProgramData& project) const;
    // The design of the project's pile at the record's curve depths, or the
    // proposed ones when it has none (ECptError when it cannot be made).
    TCptDesign Design(const TProgramData& project) const;
    std::vector<double> ProposedDepths(const TProgramData& project) const;

    TProfilePlots Plots() const;

    // Writes the design's curves into the project as its user curves and
    // keeps the record in its extras file; a design the project cannot take
    // throws ECptError before anything changes.
    void Write(TProgramData& project) const;

private:
    std::optional<TSounding> FSounding;
    std::vector<std::string> FTests;
};

// The depths of the bottoms of the project's soil layers, in metres.
std::vector<double> LayerBottoms(const TProgramData& project);

}  // namespace cpt
