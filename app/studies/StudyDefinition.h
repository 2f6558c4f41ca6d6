#pragma once

// Definitions of the two kinds of study over a project:
//
// - a parametric study sweeps one input over a range or a list of values and
//   analyses the project once per value;
// - a probabilistic study draws several inputs from distributions (with an
//   optional correlation between two of them) and analyses one realisation
//   per draw.
//
// Values are in the project's units (English: in, lb; SI: m, kN), or
// factors on the project's own value when an input says so. Definitions are
// kept as JSON, in a study file for korven-run and in the project's extras
// file; StudyFromJson and StudyToJson are inverse to each other.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

// A definition that cannot be used: the message names the field and says
// what is wrong with it.
class EStudyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The project input a study changes.
enum class TStudyTarget {
    PileLength,
    Diameter,        // outer diameter; the tip area follows unless fixed
    AxialStiffness,  // AE of one row of the AE table, or of every row
    // A value of one soil layer, at its top, its bottom or both.
    UnitWeight,
    Strength,  // undrained shear strength
    FrictionAngle,
    E50,
    SideFriction,
    TipResistance,
    // Modification factors of the curves.
    TMultiplier,
    ZMultiplier,
    QMultiplier,
    WMultiplier,
    HeadLoad,  // one pile-head load
};

enum class TLayerPosition { Both, Top, Bottom };

// How a study value is used: as the input's value, or as a factor on the
// value the project holds.
enum class TValueMode { Value, Factor };

struct TStudyInput {
    TStudyTarget Target = TStudyTarget::PileLength;
    TValueMode Mode = TValueMode::Value;
    // Soil-layer values: the layer (1 for the top layer) and where in it.
    int Layer = 0;
    TLayerPosition Position = TLayerPosition::Both;
    // AE: the table row (1 for the first; 0 for every row). Pile-head load:
    // its number in the list (1 for the first).
    int Row = 0;
    // Diameter only: the tip area stays as the project has it.
    bool FixTipArea = false;

    bool operator==(const TStudyInput&) const = default;
};

// The values of a parametric study: Count values evenly spaced from From to
// To, both included, or the values of List in their order.
struct TSweep {
    bool Range = true;
    double From = 0;
    double To = 0;
    int Count = 2;
    std::vector<double> List;

    std::vector<double> Values() const;
    bool operator==(const TSweep&) const = default;
};

struct TParametricStudy {
    TStudyInput Input;
    TSweep Sweep;
    bool operator==(const TParametricStudy&) const = default;
};

enum class TDistributionKind { Lognormal, Normal, Uniform };

// Lognormal and normal by their mean and coefficient of variation (the
// standard deviation over the mean's magnitude); uniform between Min and
// Max. Bounds truncate a lognormal or normal distribution: draws keep the
// shape of the distribution between them (the mean and the coefficient of
// variation are those before truncation).
struct TDistribution {
    TDistributionKind Kind = TDistributionKind::Lognormal;
    double Mean = 1;
    double Cov = 0.1;
    std::optional<double> Min;
    std::optional<double> Max;
    bool operator==(const TDistribution&) const = default;
};

struct TRandomInput {
    TStudyInput Input;
    TDistribution Distribution;
    bool operator==(const TRandomInput&) const = default;
};

// A correlation between two random inputs (indices into the inputs, from 0),
// as the correlation of their normal scores.
struct TCorrelation {
    int First = 0;
    int Second = 1;
    double Coefficient = 0;
    bool operator==(const TCorrelation&) const = default;
};

enum class TSampling { LatinHypercube, Random };

struct TProbabilisticStudy {
    std::vector<TRandomInput> Inputs;
    std::optional<TCorrelation> Correlation;
    int Realisations = 1000;
    uint64_t Seed = 1;
    TSampling Sampling = TSampling::LatinHypercube;
    // The pile-head load whose settlement the study follows (exceedance and
    // sensitivities), and the settlement limit of the exceedance probability.
    double SettlementLoad = 0;
    std::optional<double> SettlementLimit;
    // Loads at which the percentile bands of the load-settlement curve are
    // taken; empty: twenty equal steps up to the largest load at which every
    // band is defined (reached by about 95 % of the realisations).
    std::vector<double> BandLoads;
    bool operator==(const TProbabilisticStudy&) const = default;
};

struct TStudy {
    std::string Name;
    std::variant<TParametricStudy, TProbabilisticStudy> Definition;
    bool operator==(const TStudy&) const = default;
};

// Largest numbers a definition may ask for.
inline constexpr int MaxSweepValues = 1000;
inline constexpr int MaxRealisations = 100000;

// Throws EStudyError for a definition that cannot be used as it stands
// (independent of any project): no values, an empty or reversed range, a
// coefficient of variation below zero, bounds that leave no probability, a
// correlation outside -1..1 or of an input with itself, ...
void CheckDefinition(const TStudy& study);

// JSON of a definition; StudyFromJson checks it (CheckDefinition included)
// and throws EStudyError naming what is wrong.
nlohmann::json StudyToJson(const TStudy& study);
TStudy StudyFromJson(const nlohmann::json& json);

// Names of targets in JSON ("pile_length", "side_friction", ...).
std::string TargetKey(TStudyTarget target);
