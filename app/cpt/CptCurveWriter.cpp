#include "CptCurveWriter.h"

#include <algorithm>

namespace cpt {

namespace {

long double FromSI(const TProgramData& project, const char* units)
{
    return ConversionFactor(UnitSystem::SI, project.Units(), units);
}

}  // namespace

TPileGeometry PileOfProject(const TProgramData& project, TPileEnd end, double wallThickness, double plugLengthRatio)
{
    const long double toMetres = 1 / FromSI(project, "L");
    return {static_cast<double>(project.PileLength * toMetres), static_cast<double>(project.OuterDiameter * toMetres),
            end, wallThickness, plugLengthRatio};
}

void WriteCurves(TProgramData& project, const TCptDesign& design)
{
    TProjectTables& tables = project.Tables();
    const auto count = [](std::size_t n) { return static_cast<int>(n); };
    std::size_t points = 0;
    for (const TTzCurve& curve : design.Curves)
        points = std::max(points, curve.Points.size());
    if (count(design.Curves.size()) > tables.TblTZDepth2.MaxRows || count(points) > tables.TblTZCurves2.MaxRows)
        throw ECptError("the design has " + std::to_string(design.Curves.size()) + " t-z curves of up to " +
                        std::to_string(points) + " points, more than the project takes (" +
                        std::to_string(tables.TblTZDepth2.MaxRows) + " curves of " +
                        std::to_string(tables.TblTZCurves2.MaxRows) +
                        " points): raise the longest length of shaft per curve");
    if (count(design.Qw.size()) > tables.TblQwcurve2.MaxRows || design.Curves.empty())
        throw ECptError("the design's Q-w curve has more points than the project takes");

    const long double length = FromSI(project, "L");
    const long double stress = FromSI(project, "F/L^2");
    const long double force = FromSI(project, "F");
    tables.TblTZDepth2.SetRowCount(count(design.Curves.size()));
    for (int row = 0; row < count(design.Curves.size()); ++row) {
        const TTzCurve& curve = design.Curves[row];
        tables.TblTZDepth2.GetData(CurveDepthColumn, row).SetFloat(curve.Depth * length);
        TGridTable* table = tables.TblTZDepth2.GetData(CurvePointsColumn, row).AsTable();
        table->SetRowCount(count(curve.Points.size()));
        for (int p = 0; p < count(curve.Points.size()); ++p) {
            table->GetData(0, p).SetFloat(curve.Points[p].first * stress);
            table->GetData(1, p).SetFloat(curve.Points[p].second * length);
        }
    }
    tables.TblQwcurve2.SetRowCount(count(design.Qw.size()));
    for (int p = 0; p < count(design.Qw.size()); ++p) {
        tables.TblQwcurve2.GetData(0, p).SetFloat(design.Qw[p].first * force);
        tables.TblQwcurve2.GetData(1, p).SetFloat(design.Qw[p].second * length);
    }
    project.CurvesGenerated = false;
    project.SetChanged(true);
}

}  // namespace cpt

namespace cpt {

std::vector<TUnitWeightRange> UnitWeightsOfProject(const TProgramData& project, double waterUnitWeight)
{
    const TGridTable& layers = project.Tables().D2;
    const long double toMetres = 1 / FromSI(project, "L");
    const long double toKnPerCubicMetre = 1 / FromSI(project, "F/L^3");
    std::vector<TUnitWeightRange> ranges;
    double top = 0;
    for (int row = 0; row < layers.RowCount(); ++row) {
        const TGridTable* data = layers.GetData(LayerDataColumn, row).AsTable();
        const double bottom = static_cast<double>(layers.GetData(LayerBottomColumn, row).AsFloat() * toMetres);
        if (!data || data->RowCount() < 2 || !(bottom > top))
            return {};
        const double effective = static_cast<double>((data->GetData(UnitWeightColumn, 0).AsFloat() +
                                                      data->GetData(UnitWeightColumn, 1).AsFloat()) /
                                                     2 * toKnPerCubicMetre);
        if (!(effective > 0))
            return {};
        ranges.push_back({bottom, effective + waterUnitWeight});
        top = bottom;
    }
    return ranges;
}

}  // namespace cpt
