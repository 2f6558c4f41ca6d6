#include "ProjectExchange.h"

#include "ProgramData.h"

#include <pybind11/stl.h>

#include <array>
#include <filesystem>
#include <tuple>
#include <vector>

namespace py = pybind11;

namespace {

using TLayerRow = std::array<double, TipResistanceColumn + 1>;
using TLayerValues = std::tuple<int32_t, double, TLayerRow, TLayerRow>;
using TPoint = std::tuple<double, double>;
using TFactorRow = std::tuple<double, double, double>;

TProjectTables& SharedTables()
{
    static TProjectTables tables;
    return tables;
}

// Texts (the title, the designer, the date) hold the files' bytes as they
// are; bytes that are no UTF-8 travel as lone surrogates, so that a text
// written back is the same.
py::str BytesAsText(const std::string& title)
{
    PyObject* text = PyUnicode_DecodeUTF8(title.data(), static_cast<Py_ssize_t>(title.size()), "surrogateescape");
    if (!text)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(text);
}

std::string TextAsBytes(const py::handle& title)
{
    if (!py::isinstance<py::str>(title))
        throw py::type_error("project texts (title, designer, design_date) must be str");
    PyObject* bytes = PyUnicode_AsEncodedString(title.ptr(), "utf-8", "surrogateescape");
    if (!bytes)
        throw py::error_already_set();
    return py::reinterpret_steal<py::bytes>(bytes);
}

// The entry `key` as T; TypeError naming the entry otherwise.
template <class T>
T Entry(const py::dict& values, const char* key)
{
    if (!values.contains(key))
        throw py::value_error(std::string("project value '") + key + "' is missing");
    try {
        return values[key].cast<T>();
    } catch (const py::cast_error&) {
        throw py::type_error(std::string("project value '") + key + "' is not of the expected kind");
    }
}

long double Cell(const TGridTable& table, int col, int row)
{
    return table.GetData(col, row).AsFloat();
}

// The rows of a table with two or three float columns, as tuples.
template <class Row, std::size_t... Columns>
std::vector<Row> TableRows(const TGridTable& table, std::index_sequence<Columns...>)
{
    std::vector<Row> rows;
    for (int row = 0; row < table.RowCount(); ++row)
        rows.emplace_back(static_cast<double>(Cell(table, Columns, row))...);
    return rows;
}

template <class Row>
std::vector<Row> TableRows(const TGridTable& table)
{
    return TableRows<Row>(table, std::make_index_sequence<std::tuple_size_v<Row>>());
}

template <class Row, std::size_t... Columns>
void StoreRows(TGridTable& table, const std::vector<Row>& rows, std::index_sequence<Columns...>)
{
    table.SetRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table.RowCount(); ++row)
        (table.GetData(Columns, row).SetFloat(std::get<Columns>(rows[row])), ...);
}

template <class Row>
void StoreRows(TGridTable& table, const std::vector<Row>& rows)
{
    StoreRows(table, rows, std::make_index_sequence<std::tuple_size_v<Row>>());
}

std::vector<double> Column(const TGridTable& table)
{
    std::vector<double> values;
    for (int row = 0; row < table.RowCount(); ++row)
        values.push_back(static_cast<double>(Cell(table, 0, row)));
    return values;
}

void StoreColumn(TGridTable& table, const std::vector<double>& values)
{
    table.SetRowCount(static_cast<int>(values.size()));
    for (int row = 0; row < table.RowCount(); ++row)
        table.GetData(0, row).SetFloat(values[row]);
}

// The sections of the extras file other than the project's own (the
// designer and the date travel as values of their own), as JSON text.
std::string ExtrasText(const TProjectExtras& extras)
{
    nlohmann::json sections = nlohmann::json::parse(extras.Text());
    for (const char* own : {"schemaVersion", "project"})
        sections.erase(own);
    return sections.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void TakeExtras(const std::string& text, TProjectExtras& extras)
{
    const nlohmann::json sections = nlohmann::json::parse(text, nullptr, false);
    if (sections.is_discarded() || !sections.is_object())
        throw py::value_error("project value 'extras' must be a JSON object of sections");
    for (const auto& [name, section] : sections.items()) {
        if (!section.is_object())
            throw py::value_error("the extras section '" + name + "' must be a JSON object");
        extras.SetSection(name, section);
    }
}

TGridTable* LayerData(const TProjectTables& tables, int layer)
{
    return tables.D2.GetData(LayerDataColumn, layer).AsTable();
}

TLayerRow LayerRow(const TGridTable* data, int row)
{
    TLayerRow values{};
    if (data && row < data->RowCount())
        for (int col = 0; col < static_cast<int>(values.size()); ++col)
            values[col] = static_cast<double>(Cell(*data, col, row));
    return values;
}

}  // namespace

py::dict NewProjectValues() { return ProjectValues(TProgramData(SharedTables())); }

py::dict ProjectValues(const TProgramData& project)
{
    const TProjectTables& tables = project.Tables();
    py::dict values;
    values["title"] = BytesAsText(project.Title);
    values["designer"] = BytesAsText(project.Designer);
    values["design_date"] = BytesAsText(project.DesignDate);
    values["extras"] = ExtrasText(project.Extras);
    values["units"] = UnitSystemCode(project.Units());
    values["increments"] = project.Increments;
    values["output_option"] = project.OutputOption;
    values["tolerance"] = static_cast<double>(project.Tolerance);
    values["pile_length"] = static_cast<double>(project.PileLength);
    values["outer_diameter"] = static_cast<double>(project.OuterDiameter);
    values["tip_area"] = static_cast<double>(project.TipArea);
    values["curves_generated"] = project.CurvesGenerated;

    std::vector<TLayerValues> layers;
    for (int i = 0; i < tables.D2.RowCount(); ++i) {
        const TGridTable* data = LayerData(tables, i);
        layers.emplace_back(tables.D2.GetData(SoilTypeColumn, i).AsInteger(),
                            static_cast<double>(Cell(tables.D2, LayerBottomColumn, i)), LayerRow(data, 0),
                            LayerRow(data, 1));
    }
    values["layers"] = layers;

    std::vector<std::tuple<double, std::vector<TPoint>>> curves;
    for (int i = 0; i < tables.TblTZDepth2.RowCount(); ++i) {
        const TGridTable* points = tables.TblTZDepth2.GetData(CurvePointsColumn, i).AsTable();
        curves.emplace_back(static_cast<double>(Cell(tables.TblTZDepth2, CurveDepthColumn, i)),
                            points ? TableRows<TPoint>(*points) : std::vector<TPoint>());
    }
    values["tz_curves"] = curves;
    values["qw_curve"] = TableRows<TPoint>(tables.TblQwcurve2);
    values["ae"] = TableRows<TPoint>(tables.TblAE2);
    values["use_tip_movements"] = project.UseTipMovements;
    values["tip_movements"] = Column(tables.TblTipMove);
    values["use_head_loads"] = project.UseHeadLoads;
    values["head_loads"] = Column(tables.TblTopload);
    values["downdrag"] = project.Downdrag;
    values["settlement"] = TableRows<TPoint>(tables.TblSettlement2);
    values["apply_tz_factors"] = project.ApplyTzFactors;
    values["tz_factors"] = TableRows<TFactorRow>(tables.TblTZFactors2);
    values["apply_qw_factors"] = project.ApplyQwFactors;
    values["q_multiplier"] = static_cast<double>(project.QMultiplier);
    values["w_multiplier"] = static_cast<double>(project.WMultiplier);
    return values;
}

std::unique_ptr<TProgramData> ProjectFromValues(const py::dict& values)
{
    // Every value is taken before the tables change: taking one may run
    // Python code (a number's __index__), and with it another thread that
    // fills the tables.
    const auto units = Entry<int32_t>(values, "units");
    if (units != UnitSystemCode(UnitSystem::English) && units != UnitSystemCode(UnitSystem::SI))
        throw py::value_error("project value 'units' must be 1 (English) or 2 (SI)");
    if (!values.contains("title"))
        throw py::value_error("project value 'title' is missing");
    const std::string title = TextAsBytes(values["title"]);
    const std::string designer = TextAsBytes(Entry<py::object>(values, "designer"));
    const std::string designDate = TextAsBytes(Entry<py::object>(values, "design_date"));
    const auto extras = Entry<std::string>(values, "extras");
    const auto increments = Entry<int32_t>(values, "increments");
    const auto outputOption = Entry<int32_t>(values, "output_option");
    const auto tolerance = Entry<double>(values, "tolerance");
    const auto pileLength = Entry<double>(values, "pile_length");
    const auto outerDiameter = Entry<double>(values, "outer_diameter");
    const auto tipArea = Entry<double>(values, "tip_area");
    const auto curvesGenerated = Entry<bool>(values, "curves_generated");
    const auto layers = Entry<std::vector<TLayerValues>>(values, "layers");
    const auto curves = Entry<std::vector<std::tuple<double, std::vector<TPoint>>>>(values, "tz_curves");
    const auto qwCurve = Entry<std::vector<TPoint>>(values, "qw_curve");
    const auto ae = Entry<std::vector<TPoint>>(values, "ae");
    const auto useTipMovements = Entry<bool>(values, "use_tip_movements");
    const auto tipMovements = Entry<std::vector<double>>(values, "tip_movements");
    const auto useHeadLoads = Entry<bool>(values, "use_head_loads");
    const auto headLoads = Entry<std::vector<double>>(values, "head_loads");
    const auto downdrag = Entry<bool>(values, "downdrag");
    const auto settlement = Entry<std::vector<TPoint>>(values, "settlement");
    const auto applyTzFactors = Entry<bool>(values, "apply_tz_factors");
    const auto tzFactors = Entry<std::vector<TFactorRow>>(values, "tz_factors");
    const auto applyQwFactors = Entry<bool>(values, "apply_qw_factors");
    const auto qMultiplier = Entry<double>(values, "q_multiplier");
    const auto wMultiplier = Entry<double>(values, "w_multiplier");

    TProjectTables& tables = SharedTables();
    auto project = std::make_unique<TProgramData>(tables);
    tables.ForEach([](auto& table) { table.SetRowCount(0); });
    project->Title = title;
    project->Designer = designer;
    project->DesignDate = designDate;
    TakeExtras(extras, project->Extras);
    project->Increments = increments;
    project->OutputOption = outputOption;
    // Every value that follows is in this unit system.
    project->SetUnits(UnitSystemFromCode(units));
    project->Tolerance = tolerance;
    project->PileLength = pileLength;
    project->OuterDiameter = outerDiameter;
    project->TipArea = tipArea;
    project->CurvesGenerated = curvesGenerated;
    project->SavedCurveSource = curvesGenerated ? CurveSource::Generated : CurveSource::UserEntered;

    TGridTable& depths = tables.TblTZDepth2;
    depths.SetRowCount(static_cast<int>(curves.size()));
    for (int i = 0; i < depths.RowCount(); ++i) {
        depths.GetData(CurveDepthColumn, i).SetFloat(std::get<0>(curves[i]));
        if (TGridTable* points = depths.GetData(CurvePointsColumn, i).AsTable())
            StoreRows(*points, std::get<1>(curves[i]));
    }

    TGridTable& layerTable = tables.D2;
    layerTable.SetRowCount(static_cast<int>(layers.size()));
    for (int i = 0; i < layerTable.RowCount(); ++i) {
        const auto& [soilType, bottom, top, base] = layers[i];
        // Setting the type first gives the layer a data table of its kind.
        layerTable.GetData(SoilTypeColumn, i).SetInteger(soilType);
        layerTable.GetData(LayerBottomColumn, i).SetFloat(bottom);
        TGridTable* data = LayerData(tables, i);
        if (!data)
            continue;
        data->SetNumber(i + 1);
        data->SetRowCount(data->MinRows());
        for (int col = 0; col < static_cast<int>(top.size()); ++col) {
            data->GetData(col, 0).SetFloat(top[col]);
            data->GetData(col, 1).SetFloat(base[col]);
        }
    }

    StoreRows(tables.TblQwcurve2, qwCurve);
    StoreRows(tables.TblAE2, ae);
    project->UseTipMovements = useTipMovements;
    StoreColumn(tables.TblTipMove, tipMovements);
    project->UseHeadLoads = useHeadLoads;
    StoreColumn(tables.TblTopload, headLoads);
    project->Downdrag = downdrag;
    StoreRows(tables.TblSettlement2, settlement);
    project->ApplyTzFactors = applyTzFactors;
    StoreRows(tables.TblTZFactors2, tzFactors);
    project->ApplyQwFactors = applyQwFactors;
    project->QMultiplier = qMultiplier;
    project->WMultiplier = wMultiplier;
    return project;
}

std::unique_ptr<TProgramData> ReadProject(const std::string& fileName, std::string& error)
{
    const bool fullFormat = std::filesystem::path(fileName).extension() != ".kvd";
    return TProgramData::CreateFromFile(SharedTables(), fileName, fullFormat, error);
}
