#include "LoadTestComparison.h"

#include "GraphPlot.h"
#include "PlotData.h"
#include "ResultsSummary.h"
#include "UnitStrings.h"

std::vector<TComparisonRow> CompareWithRun(const TLoadTest& test, const TPlotData& data)
{
    std::vector<TComparisonRow> rows;
    for (const TLoadTestPoint& point : test.Points) {
        TComparisonRow row{point.HeadLoad, point.HeadSettlement, false, 0};
        double load = 0, settlement = 0;
        for (const TLoadSettlementRow& next : data.LoadSettlement) {
            if (next.TopLoad >= point.HeadLoad && next.TopLoad > load) {
                const double along = (point.HeadLoad - load) / (next.TopLoad - load);
                row.OnCurve = true;
                row.Computed = settlement + along * (next.TopMovement - settlement);
                break;
            }
            load = next.TopLoad;
            settlement = next.TopMovement;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<TComparisonText> ComparisonTexts(const std::vector<TComparisonRow>& rows, UnitSystem units)
{
    const auto withUnit = [](double value, const std::string& unit) { return QuantityText(value) + " " + unit; };
    const std::string length = LengthUnitText(units);
    std::vector<TComparisonText> texts;
    for (const TComparisonRow& row : rows) {
        TComparisonText text{withUnit(row.Load, ForceUnitText(units)), withUnit(row.Measured, length),
                             BeyondCurveText, ""};
        if (row.OnCurve) {
            text.Computed = withUnit(row.Computed, length);
            text.Difference = withUnit(row.Computed - row.Measured, length);
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

void SetMeasuredPoints(TGraphPlot& axial, TGraphPlot& distribution, const TLoadTest* test)
{
    axial.Measured.clear();
    distribution.Measured.clear();
    if (!test)
        return;
    const bool english = test->Units != UnitSystem::SI;
    const long double loadScale = english ? 1.0L / 1000 : 1;
    const long double depthScale = english ? 1.0L / 12 : 1;
    for (const TLoadTestPoint& point : test->Points) {
        axial.Measured.push_back({loadScale * point.HeadLoad, static_cast<long double>(point.HeadSettlement)});
        for (const TGaugeReading& gauge : point.Gauges)
            distribution.Measured.push_back({loadScale * gauge.Load, depthScale * gauge.Depth});
    }
}
