#include "PlotData.h"

#include "WordReader.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace {

constexpr const char* IncompleteFile = "This file either invalid or incomplete.";

// Counts are checked against the file's size before anything is sized, so a
// damaged count fails the read instead of exhausting memory: every value
// takes at least a digit and a separator.
class TCountedReader {
public:
    explicit TCountedReader(const std::string& fileName) : FReader(fileName)
    {
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(fileName, error);
        FWordCapacity = error ? 0 : bytes / 2 + 1;
    }

    double Value() { return static_cast<double>(FReader.ReadFloat()); }
    int32_t Integer() { return FReader.ReadInteger(); }
    bool AtEnd() const { return FReader.AtEnd(); }

    int32_t Count(std::uintmax_t wordsPerItem)
    {
        const int32_t count = std::max(Integer(), 0);
        Require(count, wordsPerItem);
        return count;
    }

    void Require(int64_t items, std::uintmax_t wordsPerItem) const
    {
        if (items > 0 && static_cast<std::uintmax_t>(items) * wordsPerItem > FWordCapacity)
            throw EInOutError(IncompleteFile);
    }

    TLoadSettlementRow Row()
    {
        TLoadSettlementRow row;
        row.TopLoad = Value();
        row.TopMovement = Value();
        row.TipMovement = Value();
        row.TipLoad = Value();
        return row;
    }

private:
    TWordReader FReader;
    std::uintmax_t FWordCapacity = 0;
};

}  // namespace

TPlotData ReadPlotData(const std::string& fileName)
{
    TCountedReader file(fileName);
    TPlotData data;

    data.TZCurveCount = file.Count(3);
    for (int curve = 0; curve < data.TZCurveCount; ++curve) {
        file.Integer();  // curve number
        const int points = file.Count(2);
        file.Value();  // depth of the curve
        for (int i = 0; i < 2 * points; ++i)
            file.Value();
    }
    data.QWPointCount = file.Count(2);
    for (int i = 0; i < 2 * data.QWPointCount; ++i)
        file.Value();

    const int cases = file.Count(3);
    data.Increments = std::max(file.Integer(), 0);
    file.Require(int64_t{cases} * data.Increments, 3);
    data.Units = file.Integer() == 2 ? 2 : 1;
    data.Distributions.resize(cases);
    for (auto& distribution : data.Distributions) {
        distribution.resize(data.Increments);
        for (TDistributionPoint& point : distribution) {
            point.Depth = file.Value();
            point.Load = file.Value();
            point.Movement = file.Value();
        }
    }
    for (int i = 0; i < cases; ++i)
        data.LoadSettlement.push_back(file.Row());
    while (!file.AtEnd())
        data.LoadCases.push_back(file.Row());
    return data;
}
