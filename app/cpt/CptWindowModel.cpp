#include "CptWindowModel.h"

#include <filesystem>

namespace cpt {

void TCptWindowModel::Open(const std::string& path, const std::string& test)
{
    const std::string bytes = ReadFileBytes(path);
    std::vector<std::string> tests;
    std::string chosen = test;
    if (FormatOfFile(path) == TSoundingFormat::Ags) {
        tests = AgsTests(bytes);
        if (chosen.empty() && !tests.empty())
            chosen = tests.front();
    }
    TSounding sounding = ReadSoundingFile(path, chosen);
    const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    if (absolute != Record.SoundingPath)
        Record.CurveDepths.clear();
    FSounding = std::move(sounding);
    FTests = std::move(tests);
    Record.SoundingPath = absolute;
    Record.Test = chosen;
    Record.Checksum = SoundingChecksum(bytes);
}

std::string TCptWindowModel::Resume(const TCptRecord& record)
{
    Record = record;
    FSounding.reset();
    FTests.clear();
    Open(record.SoundingPath, record.Test);
    Record.CurveDepths = record.CurveDepths;
    if (Record.Checksum == record.Checksum)
        return {};
    return "The sounding " + record.SoundingPath +
           " has changed since the project's curves were made from it. The window shows it as it is now; "
           "check the profile, then write the curves again.";
}

bool TCptWindowModel::TakeLayerUnitWeights(const TProgramData& project)
{
    std::vector<TUnitWeightRange> weights = UnitWeightsOfProject(project, Record.Settings.WaterUnitWeight);
    if (weights.empty())
        return false;
    Record.Settings.UnitWeights = std::move(weights);
    return true;
}

TCptProfile TCptWindowModel::Profile() const
{
    if (!FSounding)
        throw ECptError("open a sounding first");
    return TCptProfile(*FSounding, Record.Settings);
}

TPileGeometry TCptWindowModel::Pile(const TProgramData& project) const
{
    return PileOfProject(project, Record.End, Record.WallThickness, Record.PlugLengthRatio);
}

TCptDesign TCptWindowModel::Design(const TProgramData& project) const
{
    return cpt::Design(Profile(), Pile(project), Record.CurveDepths);
}

std::vector<double> TCptWindowModel::ProposedDepths(const TProgramData& project) const
{
    const TCptProfile profile = Profile();
    const TPileGeometry pile = Pile(project);
    if (!(pile.Length > 0))
        throw ECptError("the pile needs a length above zero");
    return ProposedCurveDepths(SoilZones(profile, pile.Length), Record.Settings.MaxCurveLength);
}

TProfilePlots TCptWindowModel::Plots() const
{
    const TCptProfile profile = Profile();
    TProfilePlots plots;
    TProfileSeries qc{"q_c", {}}, qt{"q_t", {}}, fs{"f_s", {}}, u2{"u_2", {}}, u0{"u_0", {}}, ic{"I_c", {}};
    for (const TSoundingRow& row : profile.Sounding().Rows) {
        const TCptPoint p = profile.At(row.Depth);
        const auto add = [&](TProfileSeries& series, double value, double scale = 1) {
            if (HasValue(value))
                series.Points.push_back({value * scale, row.Depth});
        };
        add(qc, row.Qc, 1e-3);
        add(qt, HasValue(row.U2) || HasValue(row.Qt) ? p.Qt : NoValue, 1e-3);
        add(fs, row.Fs);
        add(u2, row.U2);
        add(u0, p.PorePressure);
        add(ic, p.Behaviour.Ic);
    }
    for (TProfileSeries* series : {&qc, &qt})
        if (!series->Points.empty())
            plots.Resistance.push_back(std::move(*series));
    for (TProfileSeries* series : {&fs, &u2, &u0})
        if (!series->Points.empty())
            plots.Friction.push_back(std::move(*series));
    if (!ic.Points.empty())
        plots.Behaviour.push_back(std::move(ic));
    return plots;
}

void TCptWindowModel::Write(TProgramData& project) const
{
    WriteDesign(project, Design(project), Record);
}

std::vector<double> LayerBottoms(const TProgramData& project)
{
    const TGridTable& layers = project.Tables().D2;
    const long double toMetres = 1 / ConversionFactor(UnitSystem::SI, project.Units(), "L");
    std::vector<double> bottoms;
    for (int row = 0; row < layers.RowCount(); ++row)
        bottoms.push_back(static_cast<double>(layers.GetData(LayerBottomColumn, row).AsFloat() * toMetres));
    return bottoms;
}

}  // namespace cpt
