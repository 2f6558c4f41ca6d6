// The project file: a title line, then numbers separated by blanks, one
// record per line. The analysis engine reads the same file with free-format
// reads, so the writer keeps exactly the record order and number forms the
// engine expects; the reader follows the same order through TWordReader.

#include "ProgramData.h"

#include "FileReplace.h"
#include "WordReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <vector>

namespace {

constexpr int LayerDataRows = 2;  // top and bottom of the layer
// Written in place of the value a layer line does not use.
const char* const UnusedLayerValue = "0.0  ";
const char* const ListOff = " 0";
const char* const ListOn = " 1";
// The extras file's section of the designer and the date.
const char* const ProjectSection = "project";

std::string IntText(int32_t value) { return std::to_string(value); }

// The fixed-width form of a layer depth: sign or blank, one digit, 14
// decimals and a signed four-digit exponent (" 1.20000000000000E+0001").
std::string LayerDepthText(long double value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
    const std::string sci(buffer, end);  // such as "1.20000000000000e+01"
    const std::size_t e = sci.find('e');
    if (e == std::string::npos)  // not finite
        return sci;
    const int exponent = std::stoi(sci.substr(e + 1));
    std::string exponentDigits = std::to_string(std::abs(exponent));
    exponentDigits.insert(0, 4 - std::min<std::size_t>(4, exponentDigits.size()), '0');
    const std::string mantissa = sci.substr(0, e);
    return (mantissa[0] == '-' ? "" : " ") + mantissa + "E" + (exponent < 0 ? "-" : "+") + exponentDigits;
}

// The values with one blank between them.
std::string Join(const std::vector<std::string>& values)
{
    std::string line;
    for (const std::string& value : values) {
        if (!line.empty())
            line += ' ';
        line += value;
    }
    return line;
}

std::string Cell(const TGridTable& table, int col, int row)
{
    return FloatCellText(table.GetData(col, row).AsFloat());
}

class TFileText {
public:
    void Line(const std::string& line)
    {
        FText += line;
        FText += '\n';
    }
    // Every row of the table, one line each: the given columns in order.
    void Rows(const TGridTable& table, std::initializer_list<int> columns)
    {
        for (int row = 0; row < table.RowCount(); ++row) {
            std::vector<std::string> cells;
            for (int col : columns)
                cells.push_back(Cell(table, col, row));
            Line(Join(cells));
        }
    }
    // The count, then the rows; " 0" alone when the list is not used.
    void OptionalRows(bool used, const TGridTable& table, std::initializer_list<int> columns)
    {
        if (!used) {
            Line(ListOff);
            return;
        }
        Line(IntText(table.RowCount()));
        Rows(table, columns);
    }
    const std::string& Text() const { return FText; }

private:
    std::string FText;
};

// One line of a layer's data (row 0 top, row 1 bottom). The engine reads
// position 2 as the shear strength, 3 as the friction angle and 4 as e50;
// a sand layer puts its blow count in the fourth place.
std::string LayerDataLine(const TGridTable& data, int row, bool clay)
{
    auto cell = [&](TLayerDataColumn col) { return Cell(data, col, row); };
    const std::string tail = Join({cell(SideFrictionColumn), cell(TipResistanceColumn)});
    if (clay)
        return Join({cell(UnitWeightColumn), cell(ShearStrengthColumn)}) + " " + UnusedLayerValue +
               Join({cell(E50Column), tail});
    return cell(UnitWeightColumn) + " " + UnusedLayerValue +
           Join({cell(FrictionAngleColumn), cell(BlowCountColumn), tail});
}

// Creates the file empty, or empties it; returns 0 or the error number.
int MakeEmptyFile(const std::string& fileName)
{
    const int fd = open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return errno;
    return close(fd) == 0 ? 0 : errno;
}

// Reads a count of rows. A count beyond the file's size cannot be followed by
// that many rows, and must not make the tables allocate them.
class TCountReader {
public:
    TCountReader(TWordReader& reader, const std::string& fileName) : FReader(reader)
    {
        std::error_code error;
        const auto size = std::filesystem::file_size(fileName, error);
        if (!error && size < static_cast<std::uintmax_t>(FLimit))
            FLimit = static_cast<int32_t>(size);
    }
    int32_t operator()()
    {
        const int32_t count = FReader.ReadInteger();
        if (count > FLimit)
            throw EInOutError("This file either invalid or incomplete.");
        return count;
    }

private:
    TWordReader& FReader;
    int32_t FLimit = INT32_MAX;
};

// Rows of a list as the file gives them: per row one value for each of
// `Columns`, in that order.
struct TFileRows {
    std::vector<int> Columns;
    std::vector<std::vector<long double>> Values;

    TFileRows(std::initializer_list<int> columns) : Columns(columns) {}

    void Read(TWordReader& reader, int32_t count)
    {
        for (int32_t row = 0; row < count; ++row) {
            std::vector<long double>& values = Values.emplace_back();
            for (std::size_t i = 0; i < Columns.size(); ++i)
                values.push_back(reader.ReadFloat());
        }
    }

    int RowCount() const { return static_cast<int>(Values.size()); }

    void Store(TGridTable& table) const
    {
        table.SetRowCount(RowCount());
        for (int row = 0; row < RowCount(); ++row)
            for (std::size_t i = 0; i < Columns.size(); ++i)
                table.GetData(Columns[i], row).SetFloat(Values[row][i]);
    }
};

// The nested table of a button-column row; every declared button column
// gives each row one.
TGridTable& RowTable(const TGridTable& table, int col, int row)
{
    TGridTable* nested = table.GetData(col, row).AsTable();
    if (!nested)
        throw ETableError("Data of wrong type");
    return *nested;
}

}  // namespace

// Everything a project file holds, read whole before any of it reaches the
// project, so that a file that fails to read changes nothing.
struct TProjectFileContent {
    struct TCurve {
        long double Depth = 0;
        TFileRows Points{0, 1};  // t, z
    };
    struct TLayer {
        int32_t SoilType = 0;
        long double Top = 0;  // as the file gives it
        long double Bottom = 0;
        // Top and bottom rows, by layer data column; unused columns hold 0.
        std::array<std::array<long double, TipResistanceColumn + 1>, LayerDataRows> Data{};
    };

    std::string Title;
    int32_t Increments = 0;
    int32_t OutputOption = 0;
    int32_t Units = 1;
    std::optional<CurveSource> Source;  // none for a code of neither: no curves, no layers
    std::vector<TCurve> Curves;
    std::vector<TLayer> Layers;
    TFileRows AE{1, 0};  // AE first, then its depth
    TFileRows QwCurve{0, 1};
    long double Tolerance = 0;
    long double PileLength = 0;
    long double OuterDiameter = 0;
    long double TipArea = 0;
    TFileRows TipMovements{0};
    TFileRows HeadLoads{0};
    TFileRows Settlement{0, 1};
    bool FactorRecords = false;  // the full format's two factor records were read
    bool ApplyTzFactors = false;
    TFileRows TzFactors{0, 1, 2};
    bool ApplyQwFactors = false;
    long double QMultiplier = 0;
    long double WMultiplier = 0;

    // Reads the records; throws at the first fault.
    void Read(const std::string& fileName, bool fullFormat);
    // The layers whose top in the file is not the bottom of the layer above
    // (0 for the first): the tables take the bottom above as the top.
    std::string RelinkedLayers(UnitSystem units) const;
};

std::string TProjectFileContent::RelinkedLayers(UnitSystem units) const
{
    const std::string unit = units == UnitSystem::SI ? " m" : " in";
    std::string text;
    for (std::size_t i = 0; i < Layers.size(); ++i) {
        const long double top = i == 0 ? 0 : Layers[i - 1].Bottom;
        if (Layers[i].Top != top)
            text += "\nLayer " + std::to_string(i + 1) + ": its top at " + FloatCellText(Layers[i].Top) + unit +
                    " is now " + FloatCellText(top) + unit + (i == 0 ? ", the ground surface." : ", the bottom of the layer above.");
    }
    if (text.empty())
        return text;
    return "The file gives layer tops that differ from the bottoms of the layers above them. The soil layers are "
           "described by their bottoms, so these tops were changed:" +
           text + "\nThe project is marked changed; saving it writes the changed tops.";
}

void TProjectFileContent::Read(const std::string& fileName, bool fullFormat)
{
    TWordReader reader(fileName);
    TCountReader count(reader, fileName);

    Title = reader.ReadLine();
    Increments = reader.ReadInteger();
    OutputOption = reader.ReadInteger();
    Units = reader.ReadInteger();
    switch (reader.ReadInteger()) {
    case static_cast<int32_t>(CurveSource::UserEntered):
        Source = CurveSource::UserEntered;
        break;
    case static_cast<int32_t>(CurveSource::Generated):
        Source = CurveSource::Generated;
        break;
    default:
        break;
    }

    if (Source == CurveSource::UserEntered) {
        const int32_t curves = count();
        for (int32_t i = 0; i < curves; ++i) {
            TCurve& curve = Curves.emplace_back();
            reader.ReadInteger();  // the curve's number
            curve.Depth = reader.ReadFloat();
            curve.Points.Read(reader, count());
        }
    } else if (Source == CurveSource::Generated) {
        const int32_t layers = count();
        for (int32_t i = 0; i < layers; ++i) {
            TLayer& layer = Layers.emplace_back();
            reader.ReadInteger();  // the layer's number
            layer.SoilType = reader.ReadInteger();
            layer.Top = reader.ReadFloat();  // the bottom of the layer above, in a sound file
            layer.Bottom = reader.ReadFloat();
        }
        for (TLayer& layer : Layers) {
            if (!IsSoilTypeCode(layer.SoilType))
                continue;
            for (auto& values : layer.Data) {
                values[UnitWeightColumn] = reader.ReadFloat();
                if (IsClaySoil(layer.SoilType)) {
                    values[ShearStrengthColumn] = reader.ReadFloat();
                    reader.ReadFloat();
                    values[E50Column] = reader.ReadFloat();
                } else {
                    reader.ReadFloat();
                    values[FrictionAngleColumn] = reader.ReadFloat();
                    values[BlowCountColumn] = reader.ReadFloat();
                }
                values[SideFrictionColumn] = reader.ReadFloat();
                values[TipResistanceColumn] = reader.ReadFloat();
            }
        }
    }

    AE.Read(reader, count());
    if (Source == CurveSource::UserEntered)
        QwCurve.Read(reader, count());

    Tolerance = reader.ReadFloat();
    PileLength = reader.ReadFloat();
    OuterDiameter = reader.ReadFloat();
    TipArea = reader.ReadFloat();

    TipMovements.Read(reader, count());
    HeadLoads.Read(reader, count());
    Settlement.Read(reader, count());
    if (!fullFormat)
        return;

    FactorRecords = true;
    ApplyTzFactors = reader.ReadInteger() > 0;
    if (ApplyTzFactors)
        TzFactors.Read(reader, count());
    ApplyQwFactors = reader.ReadInteger() == 1;
    if (ApplyQwFactors) {
        QMultiplier = reader.ReadFloat();
        WMultiplier = reader.ReadFloat();
    }
}

std::string TProgramData::FileText()
{
    TFileText file;
    std::string title = Title;
    // The title is one line of the file, whatever it holds.
    std::replace_if(
        title.begin(), title.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    file.Line(title);
    file.Line(Join({IntText(Increments), IntText(OutputOption), IntText(UnitSystemCode(FUnits))}));
    SavedCurveSource = CurvesGenerated ? CurveSource::Generated : CurveSource::UserEntered;
    file.Line(IntText(static_cast<int32_t>(SavedCurveSource)) + " ");

    if (!CurvesGenerated) {
        const TGridTable& depths = FTables.TblTZDepth2;
        file.Line(IntText(depths.RowCount()));
        for (int i = 0; i < depths.RowCount(); ++i) {
            const TGridTable& curve = RowTable(depths, CurvePointsColumn, i);
            file.Line(Join({IntText(i + 1), Cell(depths, CurveDepthColumn, i), IntText(curve.RowCount())}));
            file.Rows(curve, {0, 1});
        }
    } else {
        const TGridTable& layers = FTables.D2;
        file.Line(IntText(layers.RowCount()));
        for (int i = 0; i < layers.RowCount(); ++i) {
            const std::string top = i == 0 ? "0.0" : LayerDepthText(layers.GetData(LayerBottomColumn, i - 1).AsFloat());
            file.Line(Join({IntText(i + 1), IntText(layers.GetData(SoilTypeColumn, i).AsInteger()), top,
                            LayerDepthText(layers.GetData(LayerBottomColumn, i).AsFloat())}));
        }
        for (int i = 0; i < layers.RowCount(); ++i) {
            const int32_t type = layers.GetData(SoilTypeColumn, i).AsInteger();
            if (!IsSoilTypeCode(type))
                continue;
            TGridTable& data = RowTable(layers, LayerDataColumn, i);
            data.SetNumber(i + 1);
            data.SetRowCount(data.MinRows());
            for (int row = 0; row < LayerDataRows; ++row)
                file.Line(LayerDataLine(data, row, IsClaySoil(type)));
        }
    }

    file.Line(IntText(FTables.TblAE2.RowCount()));
    file.Rows(FTables.TblAE2, {1, 0});  // AE first, then its depth
    if (!CurvesGenerated) {
        file.Line(IntText(FTables.TblQwcurve2.RowCount()));
        file.Rows(FTables.TblQwcurve2, {0, 1});
    }
    file.Line(Join(
        {FloatCellText(Tolerance), FloatCellText(PileLength), FloatCellText(OuterDiameter), FloatCellText(TipArea)}));
    file.OptionalRows(UseTipMovements, FTables.TblTipMove, {0});
    file.OptionalRows(UseHeadLoads, FTables.TblTopload, {0});
    file.OptionalRows(Downdrag, FTables.TblSettlement2, {0, 1});

    if (ApplyTzFactors) {
        file.Line(ListOn);
        file.OptionalRows(true, FTables.TblTZFactors2, {0, 1, 2});
    } else {
        file.Line(ListOff);
    }
    if (ApplyQwFactors) {
        file.Line(ListOn);
        file.Line(Join({FloatCellText(QMultiplier), FloatCellText(WMultiplier)}));
    } else {
        file.Line(ListOff);
    }
    return file.Text();
}

void TProgramData::SaveToFile()
{
    const std::string text = FileText();
    Extras.SetSection(ProjectSection, {{"designer", Designer}, {"date", DesignDate}});
    CompanionFileName = std::filesystem::path(FileName).replace_extension(".gwi").string();
    std::exception_ptr failure;
    try {
        ReplaceFile(FileName, text);
        Extras.Write(TProjectExtras::FileNameFor(FileName));
    } catch (const EInOutError&) {
        failure = std::current_exception();
    }
    // The companion file is made whether or not the project file was written.
    const int companionError = MakeEmptyFile(CompanionFileName);
    if (failure)
        std::rethrow_exception(failure);
    if (companionError != 0)
        ThrowWriteError(CompanionFileName, companionError);
    SetChanged(false);
}

void TProgramData::TakeContent(const TProjectFileContent& content)
{
    Title = content.Title;
    Increments = content.Increments;
    OutputOption = content.OutputOption;
    // Every value that follows is in this unit system.
    SetUnits(UnitSystemFromCode(content.Units));
    // A code of neither source reads as user-entered curves (of which the file then holds none).
    SavedCurveSource = content.Source.value_or(CurveSource::UserEntered);
    CurvesGenerated = SavedCurveSource == CurveSource::Generated;

    TGridTable& depths = FTables.TblTZDepth2;
    depths.SetRowCount(static_cast<int>(content.Curves.size()));
    for (int i = 0; i < depths.RowCount(); ++i) {
        depths.GetData(CurveDepthColumn, i).SetFloat(content.Curves[i].Depth);
        content.Curves[i].Points.Store(RowTable(depths, CurvePointsColumn, i));
    }

    TGridTable& layers = FTables.D2;
    layers.SetRowCount(static_cast<int>(content.Layers.size()));
    for (int i = 0; i < layers.RowCount(); ++i) {
        const TProjectFileContent::TLayer& layer = content.Layers[i];
        // Setting the type first gives the layer a data table of its kind.
        layers.GetData(SoilTypeColumn, i).SetInteger(layer.SoilType);
        layers.GetData(LayerBottomColumn, i).SetFloat(layer.Bottom);
        if (TGridTable* data = layers.GetData(LayerDataColumn, i).AsTable()) {
            data->SetNumber(i + 1);
            data->SetRowCount(data->MinRows());
        }
    }
    for (int i = 0; i < layers.RowCount(); ++i) {
        const TProjectFileContent::TLayer& layer = content.Layers[i];
        if (!IsSoilTypeCode(layer.SoilType))
            continue;
        TGridTable& data = RowTable(layers, LayerDataColumn, i);
        for (int row = 0; row < LayerDataRows; ++row)
            for (int col = UnitWeightColumn; col <= TipResistanceColumn; ++col)
                data.GetData(col, row).SetFloat(layer.Data[row][col]);
    }

    content.AE.Store(FTables.TblAE2);
    content.QwCurve.Store(FTables.TblQwcurve2);
    Tolerance = content.Tolerance;
    PileLength = content.PileLength;
    OuterDiameter = content.OuterDiameter;
    TipArea = content.TipArea;

    // A list's option follows its data: a count of 0 turns it off.
    content.TipMovements.Store(FTables.TblTipMove);
    UseTipMovements = content.TipMovements.RowCount() > 0;
    content.HeadLoads.Store(FTables.TblTopload);
    UseHeadLoads = content.HeadLoads.RowCount() > 0;
    content.Settlement.Store(FTables.TblSettlement2);
    Downdrag = content.Settlement.RowCount() > 0;
    if (!content.FactorRecords)
        return;
    ApplyTzFactors = content.ApplyTzFactors;
    content.TzFactors.Store(FTables.TblTZFactors2);
    ApplyQwFactors = content.ApplyQwFactors;
    if (ApplyQwFactors) {
        QMultiplier = content.QMultiplier;
        WMultiplier = content.WMultiplier;
    }
}

std::unique_ptr<TProgramData> TProgramData::CreateFromFile(TProjectTables& tables, const std::string& fileName,
                                                           bool fullFormat, std::string& error)
{
    // The whole file first: a file that fails to read leaves the tables,
    // and with them the open project, exactly as they were.
    TProjectFileContent content;
    error.clear();
    try {
        content.Read(fileName, fullFormat);
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
    auto project = std::make_unique<TProgramData>(tables);
    project->FileName = fileName;
    tables.ForEach([](auto& table) { table.SetRowCount(0); });
    project->TakeContent(content);
    const std::string relinked = content.RelinkedLayers(project->Units());
    tables.ForEach([](auto& table) {
        if (table.RowCount() < table.MinRows())
            table.SetRowCount(table.MinRows());
    });
    // The extras are the person's own additions: a damaged extras file is
    // told, and the project opens without them.
    try {
        project->Extras = TProjectExtras::Read(TProjectExtras::FileNameFor(fileName));
        const nlohmann::json section = project->Extras.Section(ProjectSection);
        project->Designer = TProjectExtras::Text(section, "designer");
        project->DesignDate = TProjectExtras::Text(section, "date");
    } catch (const EInOutError& e) {
        project->ReadNotices.push_back(std::string(e.what()) +
                                       "\nThe designer and the date start empty; saving the project replaces that file.");
    }
    project->SetChanged(false);
    if (!relinked.empty()) {
        project->ReadNotices.insert(project->ReadNotices.begin(), relinked);
        project->SetChanged(true);
    }
    return project;
}
