#include "PlotData.h"

#include "MainGraphs.h"

#include <algorithm>

namespace {

TLoadSettlementRow ReadRow(TPlotFileReader& file)
{
    TLoadSettlementRow row;
    row.TopLoad = static_cast<double>(file.Float());
    row.TopMovement = static_cast<double>(file.Float());
    row.TipMovement = static_cast<double>(file.Float());
    row.TipLoad = static_cast<double>(file.Float());
    return row;
}

}  // namespace

TPlotData ReadPlotData(const std::string& fileName)
{
    TPlotFileReader file(fileName);
    TPlotData data;

    data.TZCurveCount = file.Count(3);
    for (int curve = 0; curve < data.TZCurveCount; ++curve) {
        file.Integer();  // curve number
        const int points = file.Count(2);
        file.Float();  // depth of the curve
        for (int i = 0; i < 2 * points; ++i)
            file.Float();
    }
    data.QWPointCount = file.Count(2);
    for (int i = 0; i < 2 * data.QWPointCount; ++i)
        file.Float();

    const int cases = file.Count(3);
    data.Increments = std::max(file.Integer(), 0);
    file.Require(int64_t{cases} * data.Increments, 3);
    data.Units = file.Integer() == 2 ? 2 : 1;
    data.Distributions.resize(cases);
    for (auto& distribution : data.Distributions) {
        distribution.resize(data.Increments);
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
