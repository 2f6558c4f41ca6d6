#include "ProjectTables.h"

#include <utility>
#include <vector>

namespace {

// Identifiers of the templates, as the button columns name them.
constexpr int32_t ClayDataId = 1;
constexpr int32_t SandDataId = 2;
constexpr int32_t TzCurveId = 4;

void DeclareTable(TGridTable& table, const std::string& caption, int32_t identifier, int32_t minRows,
                  int32_t maxRows)
{
    table.Caption = caption;
    table.SetIdentifier(identifier);
    table.SetMinRows(minRows);
    table.MaxRows = maxRows;
}

TFloatColumn& AddFloat(TGridTable& table, std::vector<std::string> captionLines, const std::string& unitString)
{
    auto& column = table.AddColumn<TFloatColumn>(std::move(captionLines));
    column.UnitString = unitString;
    return column;
}

// Entry checks of float columns, with the message that names the bound.
TFloatColumn::TEntryCheck AtLeast(long double least, bool above, std::string what)
{
    return [=](const TFloatColumn&, int, long double value) {
        if (above ? value > least : value >= least)
            return std::string();
        return what + (above ? " must be above " : " must be at least ") + FloatCellText(least) + ".";
    };
}

TFloatColumn::TEntryCheck Between(long double least, long double most, std::string what)
{
    return [=](const TFloatColumn&, int, long double value) {
        if (value >= least && value <= most)
            return std::string();
        return what + " must be between " + FloatCellText(least) + " and " + FloatCellText(most) + ".";
    };
}

// A chart table whose window draws column y against column x and can take
// its values from a text file.
void ChartOf(TGridTable& table, int32_t x, int32_t y)
{
    TChartProperties& chart = table.Chart.value();
    chart.Graph.ShowGraph = true;
    chart.Graph.XColumn = x;
    chart.Graph.YColumn = y;
    chart.GetDataFromFile = true;
}

// Clay and sand layer data share one column layout; each hides the columns
// of the other kind of soil, and both hide the dummy column.
void DeclareLayerData(TGridTable& table, const std::string& caption, int32_t identifier, TLayerDataColumn hidden1,
                      TLayerDataColumn hidden2)
{
    DeclareTable(table, caption, identifier, 2, 2);
    table.TopLeft = "Location, 1=Top, 2=Bottom";
    table.Comments =
        "Enter data for the top and the bottom of each layer. \r"
        "Linear interpretation will be used for any depth between the top and the bottom.";
    // Caption lines and unit string of each column, in column order.
    const std::vector<std::pair<std::vector<std::string>, std::string>> columns = {
        {{"Effective Unit ", "Weight,"}, "F/L^3"},
        {{"Undrained Shear", "Strength,"}, "F/L^2"},
        {{"e50"}, ""},
        {{"Friction ", "Angle (Deg.)"}, ""},
        {{"Blow Counts ", "(optional)"}, ""},
        {{"Ultimate Unit", "Side Friction,"}, "F/L^2"},
        {{"Ultimate Unit", "Tip Resistance,"}, "F/L^2"},
        {{"Dummy"}, ""},
    };
    for (int c = 0; c < static_cast<int>(columns.size()); ++c)
        AddFloat(table, columns[c].first, columns[c].second).Visible = c != hidden1 && c != hidden2 && c != DummyColumn;
    using Float = TFloatColumn;
    auto check = [&table](int col) -> Float::TEntryCheck& { return static_cast<Float&>(table.Column(col)).EntryCheck; };
    check(UnitWeightColumn) = AtLeast(0, true, "The effective unit weight");
    check(ShearStrengthColumn) = AtLeast(0, false, "The undrained shear strength");
    check(E50Column) = AtLeast(0, true, "e50");
    check(FrictionAngleColumn) = Between(0, 89.9L, "The friction angle (degrees)");
    check(BlowCountColumn) = AtLeast(0, false, "The blow count");
    check(SideFrictionColumn) = AtLeast(0, false, "The ultimate unit side friction");
    check(TipResistanceColumn) = AtLeast(0, false, "The ultimate unit tip resistance");
}

}  // namespace

TProjectTables::TProjectTables()
{
    // Every table but the tip movements and the pile-head loads has a chart
    // window (drawn or not).
    ForEach([this](TGridTable& table) {
        Directory.Add(table);
        if (&table != &TblTipMove && &table != &TblTopload)
            table.Chart.emplace();
    });
    // The templates come first: the button columns of D2 and TblTZDepth2
    // copy them into every new row.
    DeclareLayerData(tblDataClay2, "Clay Layer Data", ClayDataId, FrictionAngleColumn, BlowCountColumn);
    DeclareLayerData(tblDataSand2, "Sand Layer Data", SandDataId, ShearStrengthColumn, E50Column);

    DeclareTable(TblTZCurves2, "t-z curve", TzCurveId, 2, 100);
    AddFloat(TblTZCurves2, {"Load Transfer (t),"}, "F/L^2");
    AddFloat(TblTZCurves2, {"Pile Movement (z),"}, "L");
    ChartOf(TblTZCurves2, 1, 0);

    DeclareTable(D2, "Soil Layers", 0, 1, 30);
    D2.AddColumn<TEnumColumn>({"Soil Type"}).SetItems({SoilTypeNames.begin(), SoilTypeNames.end()});
    // A layer's top is the bottom of the layer above (0 for the first).
    AddFloat(D2, {"Bottom of Layer"}, "L").EntryCheck = [](const TFloatColumn& column, int row,
                                                           long double value) {
        const long double top = row == 0 ? 0 : column.AsFloat(row - 1);
        if (value > top)
            return std::string();
        return "The bottom of layer " + std::to_string(row + 1) + " must lie below its top, " + FloatCellText(top) +
               " (the " + (row == 0 ? std::string("ground surface") : "bottom of the layer above") + ").";
    };
    D2.AddColumn<TTableColumn>({"Layer Data"}).Templates.Entries = {{ClayDataId, true}, {SandDataId, true},
                                                                         {ClayDataId, true}, {SandDataId, true},
                                                                         {ClayDataId, true}, {SandDataId, true}};

    DeclareTable(TblTZDepth2, "Depths for User-Defined t-z Curves", 3, 2, 100);
    AddFloat(TblTZDepth2, {"Depth below ground surface, "}, "L").EntryCheck =
        AtLeast(0, false, "The depth");
    TblTZDepth2.AddColumn<TTableColumn>({"t-z Data  (click each button for data entry)  "}).Templates.Entries = {
        {TzCurveId, true}};

    DeclareTable(TblQwcurve2, "Tip Load vs. Tip Movement", 5, 2, 50);
    AddFloat(TblQwcurve2, {"Total Tip Load (Q),"}, "F").EntryCheck =
        AtLeast(0, false, "The tip load");
    AddFloat(TblQwcurve2, {"Tip Movement (w),"}, "L").EntryCheck =
        AtLeast(0, false, "The tip movement");
    ChartOf(TblQwcurve2, 1, 0);

    DeclareTable(TblSettlement2, "Soil Settlement Profile", 6, 2, 100);
    AddFloat(TblSettlement2, {"Depth,"}, "L").EntryCheck = AtLeast(0, false, "The depth");
    AddFloat(TblSettlement2, {"Settlement,"}, "L");
    ChartOf(TblSettlement2, 0, 1);

    DeclareTable(TblTZFactors2, "Modification Factors on t-z Curves", 7, 2, 50);
    AddFloat(TblTZFactors2, {"Depth"}, "L").EntryCheck = AtLeast(0, false, "The depth");
    // A new row leaves the curves as they are.
    for (const char* name : {"t-Multiplier", "z-Multiplier"}) {
        auto& multiplier = AddFloat(TblTZFactors2, {name}, "");
        multiplier.DefaultValue = 1;
        multiplier.EntryCheck = AtLeast(0, false, "A multiplier");
    }
    ChartOf(TblTZFactors2, 0, 1);

    DeclareTable(TblAE2, "Axial Stiffness (AE) of Pile Sections", 8, 2, 50);
    AddFloat(TblAE2, {"Depth (starting from pile top)"}, "L").EntryCheck =
        AtLeast(0, false, "The depth");
    AddFloat(TblAE2, {"Axial Stiffness  AE,"}, "F").EntryCheck =
        AtLeast(0, true, "The axial stiffness");
    ChartOf(TblAE2, 0, 1);

    DeclareTable(TblTipMove, "Tip Movements", 179, 2, 100);
    AddFloat(TblTipMove, {"Tip Movement, "}, "L");

    DeclareTable(TblTopload, "Pile-Head Loads", 10, 1, 50);
    TblTopload.Comments = "Axial loads must be positive numbers";
    AddFloat(TblTopload, {"Axial Load at Pile Head"}, "F").EntryCheck =
        AtLeast(0, true, "An axial load at the pile head");
}
