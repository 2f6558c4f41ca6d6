#include "StudyDefinition.h"

#include "Sampling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

using nlohmann::json;

namespace {

constexpr std::array<std::pair<TStudyTarget, const char*>, 14> TargetKeys = {{
    {TStudyTarget::PileLength, "pile_length"},
    {TStudyTarget::Diameter, "diameter"},
    {TStudyTarget::AxialStiffness, "ae"},
    {TStudyTarget::UnitWeight, "unit_weight"},
    {TStudyTarget::Strength, "strength"},
    {TStudyTarget::FrictionAngle, "friction_angle"},
    {TStudyTarget::E50, "e50"},
    {TStudyTarget::SideFriction, "side_friction"},
    {TStudyTarget::TipResistance, "tip_resistance"},
    {TStudyTarget::TMultiplier, "t_multiplier"},
    {TStudyTarget::ZMultiplier, "z_multiplier"},
    {TStudyTarget::QMultiplier, "q_multiplier"},
    {TStudyTarget::WMultiplier, "w_multiplier"},
    {TStudyTarget::HeadLoad, "head_load"},
}};

constexpr std::array<std::pair<TLayerPosition, const char*>, 3> PositionKeys = {{
    {TLayerPosition::Both, "both"},
    {TLayerPosition::Top, "top"},
    {TLayerPosition::Bottom, "bottom"},
}};

constexpr std::array<std::pair<TValueMode, const char*>, 2> ModeKeys = {{
    {TValueMode::Value, "value"},
    {TValueMode::Factor, "factor"},
}};

constexpr std::array<std::pair<TDistributionKind, const char*>, 3> DistributionKeys = {{
    {TDistributionKind::Lognormal, "lognormal"},
    {TDistributionKind::Normal, "normal"},
    {TDistributionKind::Uniform, "uniform"},
}};

constexpr std::array<std::pair<TSampling, const char*>, 2> SamplingKeys = {{
    {TSampling::LatinHypercube, "latin_hypercube"},
    {TSampling::Random, "random"},
}};

bool IsLayerValue(TStudyTarget target) { return target >= TStudyTarget::UnitWeight && target <= TStudyTarget::TipResistance; }

template <typename E, std::size_t N>
const char* KeyOf(const std::array<std::pair<E, const char*>, N>& keys, E value)
{
    for (const auto& [v, key] : keys)
        if (v == value)
            return key;
    return "";
}

template <typename E, std::size_t N>
E ValueOf(const std::array<std::pair<E, const char*>, N>& keys, const std::string& key, const std::string& field)
{
    std::string known;
    for (const auto& [v, k] : keys) {
        if (key == k)
            return v;
        known += (known.empty() ? "" : ", ") + std::string(k);
    }
    throw EStudyError(field + ": \"" + key + "\" is not one of " + known);
}

// Typed access to the members of a JSON object, with messages naming the
// member's path.
class TReader {
public:
    TReader(const json& object, std::string path) : FObject(object), FPath(std::move(path))
    {
        if (!FObject.is_object())
            throw EStudyError(Where() + "must be an object");
    }

    bool Has(const char* key) const { return FObject.contains(key) && !FObject.at(key).is_null(); }
    const json& At(const char* key) const
    {
        if (!Has(key))
            throw EStudyError(Field(key) + ": missing");
        return FObject.at(key);
    }
    std::string Field(const char* key) const { return FPath.empty() ? key : FPath + "." + key; }

    double Number(const char* key) const
    {
        const json& value = At(key);
        if (!value.is_number() || !std::isfinite(value.get<double>()))
            throw EStudyError(Field(key) + ": must be a number");
        return value.get<double>();
    }
    std::optional<double> OptionalNumber(const char* key) const
    {
        return Has(key) ? std::optional<double>(Number(key)) : std::nullopt;
    }
    int64_t Integer(const char* key, int64_t lowest, int64_t highest) const
    {
        const json& value = At(key);
        if (!value.is_number_integer() || value.get<int64_t>() < lowest || value.get<int64_t>() > highest)
            throw EStudyError(Field(key) + ": must be a whole number from " + std::to_string(lowest) + " to " +
                              std::to_string(highest));
        return value.get<int64_t>();
    }
    std::string Text(const char* key) const
    {
        const json& value = At(key);
        if (!value.is_string())
            throw EStudyError(Field(key) + ": must be a text");
        return value.get<std::string>();
    }
    bool Flag(const char* key) const
    {
        if (!Has(key))
            return false;
        if (!At(key).is_boolean())
            throw EStudyError(Field(key) + ": must be true or false");
        return At(key).get<bool>();
    }
    std::vector<double> Numbers(const char* key) const
    {
        const json& list = At(key);
        if (!list.is_array())
            throw EStudyError(Field(key) + ": must be a list of numbers");
        std::vector<double> numbers;
        for (const json& value : list) {
            if (!value.is_number() || !std::isfinite(value.get<double>()))
                throw EStudyError(Field(key) + ": must be a list of numbers");
            numbers.push_back(value.get<double>());
        }
        return numbers;
    }

private:
    std::string Where() const { return FPath.empty() ? "the study " : FPath + ": "; }

    const json& FObject;
    std::string FPath;
};

TStudyInput InputFromJson(const TReader& in)
{
    TStudyInput input;
    input.Target = ValueOf(TargetKeys, in.Text("target"), in.Field("target"));
    if (in.Has("mode"))
        input.Mode = ValueOf(ModeKeys, in.Text("mode"), in.Field("mode"));
    if (IsLayerValue(input.Target)) {
        input.Layer = static_cast<int>(in.Integer("layer", 1, 1000));
        if (in.Has("position"))
            input.Position = ValueOf(PositionKeys, in.Text("position"), in.Field("position"));
    }
    if (input.Target == TStudyTarget::HeadLoad)
        input.Row = static_cast<int>(in.Integer("load", 1, 1000));
    if (input.Target == TStudyTarget::AxialStiffness && in.Has("row"))
        input.Row = static_cast<int>(in.Integer("row", 1, 1000));
    if (input.Target == TStudyTarget::Diameter)
        input.FixTipArea = in.Flag("fix_tip_area");
    return input;
}

json InputToJson(const TStudyInput& input)
{
    json out = {{"target", TargetKey(input.Target)}, {"mode", KeyOf(ModeKeys, input.Mode)}};
    if (IsLayerValue(input.Target)) {
        out["layer"] = input.Layer;
        out["position"] = KeyOf(PositionKeys, input.Position);
    }
    if (input.Target == TStudyTarget::HeadLoad)
        out["load"] = input.Row;
    if (input.Target == TStudyTarget::AxialStiffness && input.Row > 0)
        out["row"] = input.Row;
    if (input.Target == TStudyTarget::Diameter)
        out["fix_tip_area"] = input.FixTipArea;
    return out;
}

TParametricStudy ParametricFromJson(const TReader& in)
{
    TParametricStudy study;
    study.Input = InputFromJson(TReader(in.At("input"), in.Field("input")));
    if (in.At("values").is_array()) {
        study.Sweep.Range = false;
        study.Sweep.List = in.Numbers("values");
    } else {
        const TReader range(in.At("values"), in.Field("values"));
        study.Sweep.From = range.Number("from");
        study.Sweep.To = range.Number("to");
        study.Sweep.Count = static_cast<int>(range.Integer("count", 2, MaxSweepValues));
    }
    return study;
}

TDistribution DistributionFromJson(const TReader& in)
{
    TDistribution distribution;
    distribution.Kind = ValueOf(DistributionKeys, in.Text("type"), in.Field("type"));
    if (distribution.Kind == TDistributionKind::Uniform) {
        distribution.Min = in.Number("min");
        distribution.Max = in.Number("max");
        return distribution;
    }
    distribution.Mean = in.Number("mean");
    distribution.Cov = in.Number("cov");
    distribution.Min = in.OptionalNumber("min");
    distribution.Max = in.OptionalNumber("max");
    return distribution;
}

json DistributionToJson(const TDistribution& distribution)
{
    json out = {{"type", KeyOf(DistributionKeys, distribution.Kind)}};
    if (distribution.Kind != TDistributionKind::Uniform) {
        out["mean"] = distribution.Mean;
        out["cov"] = distribution.Cov;
    }
    if (distribution.Min)
        out["min"] = *distribution.Min;
    if (distribution.Max)
        out["max"] = *distribution.Max;
    return out;
}

TProbabilisticStudy ProbabilisticFromJson(const TReader& in)
{
    TProbabilisticStudy study;
    const json& inputs = in.At("inputs");
    if (!inputs.is_array() || inputs.empty())
        throw EStudyError(in.Field("inputs") + ": must be a list of one input or more");
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const TReader input(inputs[i], in.Field("inputs") + "[" + std::to_string(i + 1) + "]");
        study.Inputs.push_back({InputFromJson(input), DistributionFromJson(TReader(input.At("distribution"),
                                                                                   input.Field("distribution")))});
    }
    if (in.Has("correlation")) {
        const TReader correlation(in.At("correlation"), in.Field("correlation"));
        const auto count = static_cast<int64_t>(study.Inputs.size());
        study.Correlation = TCorrelation{static_cast<int>(correlation.Integer("first", 1, count)) - 1,
                                         static_cast<int>(correlation.Integer("second", 1, count)) - 1,
                                         correlation.Number("coefficient")};
    }
    if (in.Has("realisations"))
        study.Realisations = static_cast<int>(in.Integer("realisations", 2, MaxRealisations));
    if (in.Has("seed"))
        study.Seed = static_cast<uint64_t>(in.Integer("seed", 0, INT64_MAX));
    if (in.Has("sampling"))
        study.Sampling = ValueOf(SamplingKeys, in.Text("sampling"), in.Field("sampling"));
    study.SettlementLoad = in.Number("settlement_load");
    study.SettlementLimit = in.OptionalNumber("settlement_limit");
    if (in.Has("band_loads"))
        study.BandLoads = in.Numbers("band_loads");
    return study;
}

void CheckDistribution(const TDistribution& d, const std::string& field)
{
    if (d.Min && d.Max && !(*d.Min < *d.Max))
        throw EStudyError(field + ": min must be below max");
    if (d.Kind == TDistributionKind::Uniform) {
        if (!d.Min || !d.Max)
            throw EStudyError(field + ": a uniform distribution needs min and max");
        return;
    }
    if (!(d.Cov >= 0))
        throw EStudyError(field + ": cov must not be below 0");
    if (d.Kind == TDistributionKind::Lognormal && !(d.Mean > 0))
        throw EStudyError(field + ": the mean of a lognormal distribution must be above 0");
    // With no spread every draw is the mean, which the bounds must admit.
    const bool outside = (d.Min && d.Mean < *d.Min) || (d.Max && d.Mean > *d.Max);
    if (d.Cov == 0 && outside)
        throw EStudyError(field + ": with cov 0 the mean must lie within min and max");
    if (d.Kind == TDistributionKind::Lognormal && d.Max && *d.Max <= 0)
        throw EStudyError(field + ": max must be above 0 for a lognormal distribution");
    if (BoundsProbability(d) < 1e-9)
        throw EStudyError(field + ": min and max leave the distribution almost no probability");
}

}  // namespace

std::string TargetKey(TStudyTarget target) { return KeyOf(TargetKeys, target); }

std::vector<double> TSweep::Values() const
{
    if (!Range)
        return List;
    std::vector<double> values;
    for (int i = 0; i < Count; ++i)
        values.push_back(i == Count - 1 ? To : From + (To - From) * i / (Count - 1));
    return values;
}

void CheckDefinition(const TStudy& study)
{
    if (const auto* parametric = std::get_if<TParametricStudy>(&study.Definition)) {
        const TSweep& sweep = parametric->Sweep;
        if (sweep.Range && (sweep.Count < 2 || sweep.Count > MaxSweepValues))
            throw EStudyError("values.count: must be a whole number from 2 to " + std::to_string(MaxSweepValues));
        if (sweep.Range && sweep.From == sweep.To)
            throw EStudyError("values: from and to must differ");
        if (!sweep.Range && (sweep.List.empty() || sweep.List.size() > MaxSweepValues))
            throw EStudyError("values: must hold from 1 to " + std::to_string(MaxSweepValues) + " numbers");
        return;
    }
    const auto& probabilistic = std::get<TProbabilisticStudy>(study.Definition);
    if (probabilistic.Inputs.empty())
        throw EStudyError("inputs: must be a list of one input or more");
    for (std::size_t i = 0; i < probabilistic.Inputs.size(); ++i) {
        const std::string field = "inputs[" + std::to_string(i + 1) + "]";
        for (std::size_t j = 0; j < i; ++j)
            if (probabilistic.Inputs[j].Input == probabilistic.Inputs[i].Input)
                throw EStudyError(field + ": the same input as inputs[" + std::to_string(j + 1) + "]");
        CheckDistribution(probabilistic.Inputs[i].Distribution, field + ".distribution");
    }
    if (probabilistic.Correlation) {
        const TCorrelation& c = *probabilistic.Correlation;
        const int count = static_cast<int>(probabilistic.Inputs.size());
        if (c.First < 0 || c.Second < 0 || c.First >= count || c.Second >= count || c.First == c.Second)
            throw EStudyError("correlation: first and second must be two different inputs");
        if (!(c.Coefficient > -1 && c.Coefficient < 1))
            throw EStudyError("correlation.coefficient: must lie between -1 and 1 (both excluded)");
    }
    if (probabilistic.Realisations < 2 || probabilistic.Realisations > MaxRealisations)
        throw EStudyError("realisations: must be a whole number from 2 to " + std::to_string(MaxRealisations));
    if (!(probabilistic.SettlementLoad > 0))
        throw EStudyError("settlement_load: must be above 0");
    if (probabilistic.SettlementLimit && !(*probabilistic.SettlementLimit > 0))
        throw EStudyError("settlement_limit: must be above 0");
    if (std::any_of(probabilistic.BandLoads.begin(), probabilistic.BandLoads.end(), [](double p) { return p <= 0; }))
        throw EStudyError("band_loads: every load must be above 0");
}

json StudyToJson(const TStudy& study)
{
    json out = {{"name", study.Name}};
    if (const auto* parametric = std::get_if<TParametricStudy>(&study.Definition)) {
        out["kind"] = "parametric";
        out["input"] = InputToJson(parametric->Input);
        const TSweep& sweep = parametric->Sweep;
        out["values"] = sweep.Range ? json{{"from", sweep.From}, {"to", sweep.To}, {"count", sweep.Count}}
                                    : json(sweep.List);
        return out;
    }
    const auto& probabilistic = std::get<TProbabilisticStudy>(study.Definition);
    out["kind"] = "probabilistic";
    json inputs = json::array();
    for (const TRandomInput& input : probabilistic.Inputs) {
        json entry = InputToJson(input.Input);
        entry["distribution"] = DistributionToJson(input.Distribution);
        inputs.push_back(entry);
    }
    out["inputs"] = inputs;
    if (probabilistic.Correlation)
        out["correlation"] = {{"first", probabilistic.Correlation->First + 1},
                              {"second", probabilistic.Correlation->Second + 1},
                              {"coefficient", probabilistic.Correlation->Coefficient}};
    out["realisations"] = probabilistic.Realisations;
    out["seed"] = probabilistic.Seed;
    out["sampling"] = KeyOf(SamplingKeys, probabilistic.Sampling);
    out["settlement_load"] = probabilistic.SettlementLoad;
    if (probabilistic.SettlementLimit)
        out["settlement_limit"] = *probabilistic.SettlementLimit;
    if (!probabilistic.BandLoads.empty())
        out["band_loads"] = probabilistic.BandLoads;
    return out;
}

TStudy StudyFromJson(const json& document)
{
    const TReader in(document, "");
    TStudy study;
    if (in.Has("name"))
        study.Name = in.Text("name");
    const std::string kind = in.Text("kind");
    if (kind == "parametric")
        study.Definition = ParametricFromJson(in);
    else if (kind == "probabilistic")
        study.Definition = ProbabilisticFromJson(in);
    else
        throw EStudyError("kind: \"" + kind + "\" is not one of parametric, probabilistic");
    CheckDefinition(study);
    return study;
}
