#include "PlotData.h"

#include "WordReader.h"

#include <algorithm>
#include <filesystem>

namespace {

// The words of a plot data file, refusing any count that the file is too
// short to hold (every value takes at least a digit and a separator).
class TPlotFileReader {
public:
    explicit TPlotFileReader(const std::string& fileName) : FReader(fileName)
    {
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(fileName, error);
        FWordCapacity = error ? 0 : bytes / 2 + 1;
    }

    double Float() { return static_cast<double>(FReader.ReadFloat()); }
    int32_t Integer() { return FReader.ReadInteger(); }
    bool AtEnd() const { return FReader.AtEnd(); }

    // A count of items of `wordsPerItem` values each; negative counts as 0.
    int32_t Count(std::uintmax_t wordsPerItem)
    {
        const int32_t count = std::max(Integer(), 0);
        Require(count, wordsPerItem);
        return count;
    }

    void Require(int64_t items, std::uintmax_t wordsPerItem) const
    {
        if (items > 0 && static_cast<std::uintmax_t>(items) * wordsPerItem > FWordCapacity)
            throw EInOutError("This file either invalid or incomplete.");
    }

private:
    TWordReader FReader;
    std::uintmax_t FWordCapacity = 0;
};

TLoadSettlementRow ReadRow(TPlotFileReader& file)
{
    TLoadSettlementRow row;
    row.TopLoad = file.Float();
    row.TopMovement = file.Float();
    row.TipMovement = file.Float();
    row.TipLoad = file.Float();
    return row;
}

}  // namespace

TPlotData ReadPlotData(const std::string& fileName)
{
    TPlotFileReader file(fileName);
    TPlotData data;

    data.TZCurves.resize(static_cast<std::size_t>(file.Count(3)));
    for (TPlotTZCurve& curve : data.TZCurves) {
        file.Integer();  // curve number
        curve.Points.resize(static_cast<std::size_t>(file.Count(2)));
        curve.Depth = file.Float();
        for (TPlotPoint& point : curve.Points) {
            point.Y = file.Float();
            point.X = file.Float();
        }
    }
    data.QWCurve.resize(static_cast<std::size_t>(file.Count(2)));
    for (TPlotPoint& point : data.QWCurve) {
        point.X = file.Float();
        point.Y = file.Float();
    }

    const int cases = file.Count(3);
    data.Increments = std::max(file.Integer(), 0);
    file.Require(int64_t{cases} * data.Increments, 3);
    data.Units = file.Integer() == UnitSystemCode(UnitSystem::SI) ? UnitSystem::SI : UnitSystem::English;
    data.Distributions.resize(static_cast<std::size_t>(cases));
    for (auto& distribution : data.Distributions) {
        distribution.resize(static_cast<std::size_t>(data.Increments));
        for (TDistributionPoint& point : distribution) {
            point.Depth = file.Float();
            point.Load = file.Float();
            point.Movement = file.Float();
        }
    }
    for (int i = 0; i < cases; ++i)
        data.LoadSettlement.push_back(ReadRow(file));
    while (!file.AtEnd())
        data.LoadCases.push_back(ReadRow(file));
    return data;
}
