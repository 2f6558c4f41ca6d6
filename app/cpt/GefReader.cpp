// GEF CPT reports: a header of "#KEYWORD= values" lines up to "#EOH=", then
// one record per line. Columns are found by their quantity number, never by
// their position.
#include "Sounding.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

using namespace sounding_detail;

namespace {

// Quantity numbers of the columns the pile design uses.
enum TGefQuantity {
    PenetrationLength = 1,
    ConeResistance = 2,
    SleeveFriction = 3,
    PorePressureU2 = 6,
    CorrectedDepth = 11,
    CorrectedConeResistance = 13,
};
constexpr int NetAreaRatioVariable = 3;

std::vector<std::string_view> SplitComma(std::string_view text)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(Trim(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

std::vector<std::string_view> SplitRecord(std::string_view line, std::string_view separator)
{
    std::vector<std::string_view> fields;
    if (separator.empty()) {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
                ++i;
            const std::size_t start = i;
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
                ++i;
            if (i > start)
                fields.push_back(line.substr(start, i - start));
        }
        return fields;
    }
    for (std::size_t start = 0;;) {
        const std::size_t at = line.find(separator, start);
        fields.push_back(Trim(line.substr(start, at == std::string_view::npos ? line.npos : at - start)));
        if (at == std::string_view::npos)
            break;
        start = at + separator.size();
    }
    if (!fields.empty() && fields.back().empty())
        fields.pop_back();  // a separator closing the record
    return fields;
}

struct TGefColumn {
    int Index = -1;  // 0-based
    double Factor = 1;
    double Void = NoValue;
};

struct TGefHeader {
    int ColumnCount = 0;
    std::map<int, TGefColumn> ByQuantity;
    std::map<int, double> Voids;  // by 1-based column
    std::string ColumnSeparator;
    std::string RecordSeparator;
    int DataLine = 0;  // 0-based index of the first record line
};

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

int ColumnNumber(std::string_view field, int line)
{
    const double number = ParseNumber(field);
    if (!(number >= 1 && number <= 1000) || number != static_cast<int>(number))
        throw ESoundingError(line, "'" + std::string(field) + "' is not a column number");
    return static_cast<int>(number);
}

TGefHeader ReadHeader(const std::vector<std::string_view>& lines, TSounding& sounding)
{
    TGefHeader header;
    std::map<int, std::pair<std::string, int>> columnInfo;  // column -> unit, line
    std::map<int, int> quantityColumn;                      // quantity -> column
    bool ended = false;
    std::size_t i = 0;
    for (; i < lines.size() && !ended; ++i) {
        const int line = static_cast<int>(i) + 1;
        const std::string_view text = Trim(lines[i]);
        if (text.empty())
            continue;
        const std::size_t equals = text.find('=');
        if (text.front() != '#' || equals == std::string_view::npos)
            throw ESoundingError(line, "a header line must read #KEYWORD= values");
        const std::string key = Upper(Trim(text.substr(1, equals - 1)));
        const std::string_view value = Trim(text.substr(equals + 1));
        const std::vector<std::string_view> fields = SplitComma(value);
        if (key == "EOH") {
            ended = true;
        } else if (key == "COLUMN") {
            header.ColumnCount = ColumnNumber(fields[0], line);
        } else if (key == "COLUMNINFO") {
            if (fields.size() < 4)
                throw ESoundingError(line, "#COLUMNINFO needs column, unit, name and quantity number");
            const int column = ColumnNumber(fields[0], line);
            const int quantity = ColumnNumber(fields.back(), line);
            columnInfo[column] = {std::string(fields[1]), line};
            quantityColumn.try_emplace(quantity, column);
        } else if (key == "COLUMNVOID") {
            if (fields.size() < 2 || !HasValue(ParseNumber(fields[1])))
                throw ESoundingError(line, "#COLUMNVOID needs a column and a number");
            header.Voids[ColumnNumber(fields[0], line)] = ParseNumber(fields[1]);
        } else if (key == "COLUMNSEPARATOR") {
            header.ColumnSeparator = value;
        } else if (key == "RECORDSEPARATOR") {
            header.RecordSeparator = value;
        } else if (key == "TESTID") {
            sounding.Name = value;
        } else if (key == "PROCEDURECODE" || key == "REPORTCODE") {
            if (Upper(value).find("CPT") == std::string::npos)
                throw ESoundingError(line, "the file is not a CPT report (" + std::string(value) + ")");
        } else if (key == "MEASUREMENTVAR" && fields.size() >= 2 && ParseNumber(fields[0]) == NetAreaRatioVariable) {
            const double a = ParseNumber(fields[1]);
            if (!(a >= 0 && a <= 1))
                throw ESoundingError(line, "the net area ratio must be a number from 0 to 1");
            sounding.NetAreaRatio = a;
        }
    }
    if (!ended)
        throw ESoundingError(static_cast<int>(lines.size()), "the header does not end with #EOH=");
    header.DataLine = static_cast<int>(i);
    if (header.ColumnCount == 0)
        for (const auto& [column, info] : columnInfo)
            header.ColumnCount = std::max(header.ColumnCount, column);

    for (const auto& [quantity, column] : quantityColumn) {
        const auto& [unit, line] = columnInfo[column];
        if (column > header.ColumnCount)
            throw ESoundingError(line, "column " + std::to_string(column) + " lies beyond #COLUMN= " +
                                           std::to_string(header.ColumnCount));
        const bool length = quantity == PenetrationLength || quantity == CorrectedDepth;
        const bool pressure = quantity == ConeResistance || quantity == SleeveFriction ||
                              quantity == PorePressureU2 || quantity == CorrectedConeResistance;
        if (!length && !pressure)
            continue;
        const double factor = length ? LengthFactor(unit) : PressureFactor(unit);
        if (!HasValue(factor))
            throw ESoundingError(line, "unit '" + unit + "' of column " + std::to_string(column) + " is not a " +
                                           (length ? "length" : "pressure") + " unit");
        const auto v = header.Voids.find(column);
        header.ByQuantity[quantity] = {column - 1, factor, v == header.Voids.end() ? NoValue : v->second};
    }
    if (!header.ByQuantity.count(PenetrationLength) && !header.ByQuantity.count(CorrectedDepth))
        throw ESoundingError(0, "the header names no depth column (quantity 1 or 11)");
    if (!header.ByQuantity.count(ConeResistance))
        throw ESoundingError(0, "the header names no cone resistance column (quantity 2)");
    return header;
}

}  // namespace

TSounding ReadGef(std::string_view text)
{
    TSounding sounding;
    sounding.Format = TSoundingFormat::Gef;
    const std::vector<std::string_view> lines = Lines(text);
    const TGefHeader header = ReadHeader(lines, sounding);

    const auto value = [&](const std::vector<std::string_view>& fields, int quantity, int line) {
        const auto column = header.ByQuantity.find(quantity);
        if (column == header.ByQuantity.end())
            return NoValue;
        const std::string_view field = fields[column->second.Index];
        const double v = ParseNumber(field);
        if (!HasValue(v))
            throw ESoundingError(line, "'" + std::string(field) + "' in column " +
                                           std::to_string(column->second.Index + 1) + " is not a number");
        return v == column->second.Void ? NoValue : v * column->second.Factor;
    };

    std::vector<TSoundingRow> rows;
    std::vector<int> rowLines;
    for (std::size_t i = header.DataLine; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        std::string_view record = Trim(lines[i]);
        if (!header.RecordSeparator.empty() && record.ends_with(header.RecordSeparator))
            record = Trim(record.substr(0, record.size() - header.RecordSeparator.size()));
        if (record.empty())
            continue;
        const std::vector<std::string_view> fields = SplitRecord(record, header.ColumnSeparator);
        if (static_cast<int>(fields.size()) != header.ColumnCount)
            throw ESoundingError(line, std::to_string(fields.size()) + " values where the header declares " +
                                           std::to_string(header.ColumnCount) + " columns");
        TSoundingRow row;
        row.Depth = value(fields, CorrectedDepth, line);
        if (!HasValue(row.Depth))
            row.Depth = value(fields, PenetrationLength, line);
        row.Qc = value(fields, ConeResistance, line);
        row.Fs = value(fields, SleeveFriction, line);
        row.U2 = value(fields, PorePressureU2, line);
        row.Qt = value(fields, CorrectedConeResistance, line);
        rows.push_back(row);
        rowLines.push_back(line);
    }
    // Some reports count the penetration downwards as negative numbers.
    const bool negative = std::none_of(rows.begin(), rows.end(), [](const TSoundingRow& r) { return r.Depth > 0; });
    if (negative)
        for (TSoundingRow& row : rows)
            row.Depth = -row.Depth;
    Finish(sounding, std::move(rows), rowLines);
    return sounding;
}
