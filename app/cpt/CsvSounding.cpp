// CSV soundings: one header row naming each column and its unit, such as
// "depth_m,qc_MPa,fs_kPa,u2_kPa" or "Depth (m);qc [MPa]", then one row per
// depth. The delimiter (comma, semicolon or tab) is the one the header uses
// most; with a semicolon or a tab a decimal comma is read too.
#include "Sounding.h"

#include <algorithm>
#include <cctype>

using namespace sounding_detail;

namespace {

std::vector<std::string_view> Split(std::string_view line, char delimiter)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t at = line.find(delimiter, start);
        fields.push_back(Trim(line.substr(start, at == std::string_view::npos ? line.npos : at - start)));
        if (at == std::string_view::npos)
            return fields;
        start = at + 1;
    }
}

struct TCsvColumn {
    double TSoundingRow::* Member;
    bool Length;
    std::vector<std::string> Names;
};

const std::vector<TCsvColumn>& KnownColumns()
{
    static const std::vector<TCsvColumn> columns = {
        {&TSoundingRow::Depth, true, {"depth", "z", "penetration"}},
        {&TSoundingRow::Qc, false, {"qc", "q_c"}},
        {&TSoundingRow::Fs, false, {"fs", "f_s"}},
        {&TSoundingRow::U2, false, {"u2", "u_2"}},
        {&TSoundingRow::Qt, false, {"qt", "q_t"}},
    };
    return columns;
}

// Name and unit of a header field: "qc_MPa", "qc (MPa)", "qc [MPa]".
std::pair<std::string, std::string> NameAndUnit(std::string_view field)
{
    std::string name;
    std::string unit;
    const std::size_t open = field.find_first_of("([");
    if (open != std::string_view::npos) {
        const std::size_t close = field.find_first_of(")]", open);
        unit = Trim(field.substr(open + 1, close == std::string_view::npos ? field.npos : close - open - 1));
        name = Trim(field.substr(0, open));
    } else if (const std::size_t underscore = field.rfind('_'); underscore != std::string_view::npos) {
        name = Trim(field.substr(0, underscore));
        unit = Trim(field.substr(underscore + 1));
    } else {
        name = field;
    }
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return {name, unit};
}

}  // namespace

TSounding ReadCsvSounding(std::string_view text)
{
    const std::vector<std::string_view> lines = Lines(text);
    std::size_t first = 0;
    while (first < lines.size() && Trim(lines[first]).empty())
        ++first;
    if (first == lines.size())
        throw ESoundingError(0, "the file is empty");
    const std::string_view head = lines[first];
    const int headLine = static_cast<int>(first) + 1;
    char delimiter = ',';
    for (char candidate : {';', '\t'})
        if (std::count(head.begin(), head.end(), candidate) > std::count(head.begin(), head.end(), delimiter))
            delimiter = candidate;

    const std::vector<std::string_view> names = Split(head, delimiter);
    struct TUsed {
        double TSoundingRow::* Member;
        int Column;
        double Factor;
    };
    std::vector<TUsed> used;
    for (int c = 0; c < static_cast<int>(names.size()); ++c) {
        const auto [name, unit] = NameAndUnit(names[c]);
        for (const TCsvColumn& known : KnownColumns()) {
            if (std::find(known.Names.begin(), known.Names.end(), name) == known.Names.end())
                continue;
            if (std::any_of(used.begin(), used.end(), [&](const TUsed& u) { return u.Member == known.Member; }))
                throw ESoundingError(headLine, "the column " + name + " appears twice");
            if (unit.empty())
                throw ESoundingError(headLine, "the column '" + std::string(names[c]) +
                                                   "' has no unit; name it like depth_m or qc_MPa");
            const double factor = known.Length ? LengthFactor(unit) : PressureFactor(unit);
            if (!HasValue(factor))
                throw ESoundingError(headLine, "unit '" + unit + "' of column '" + std::string(names[c]) +
                                                   "' is not a " + (known.Length ? "length" : "pressure") + " unit");
            used.push_back({known.Member, c, factor});
        }
    }
    for (const char* required : {"depth", "qc"}) {
        const double TSoundingRow::* member = required[0] == 'd' ? &TSoundingRow::Depth : &TSoundingRow::Qc;
        if (std::none_of(used.begin(), used.end(), [&](const TUsed& u) { return u.Member == member; }))
            throw ESoundingError(headLine, std::string("the header names no ") + required + " column");
    }

    TSounding sounding;
    sounding.Format = TSoundingFormat::Csv;
    std::vector<TSoundingRow> rows;
    std::vector<int> rowLines;
    for (std::size_t i = first + 1; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (Trim(lines[i]).empty())
            continue;
        const std::vector<std::string_view> fields = Split(lines[i], delimiter);
        if (fields.size() != names.size())
            throw ESoundingError(line, std::to_string(fields.size()) + " values where the header names " +
                                           std::to_string(names.size()) + " columns");
        TSoundingRow row;
        for (const TUsed& u : used) {
            std::string field(fields[u.Column]);
            if (delimiter != ',')
                std::replace(field.begin(), field.end(), ',', '.');
            const double v = ParseNumber(field);
            if (!field.empty() && !HasValue(v))
                throw ESoundingError(line, "'" + field + "' in column " + std::to_string(u.Column + 1) +
                                               " is not a number");
            row.*u.Member = v * u.Factor;
        }
        rows.push_back(row);
        rowLines.push_back(line);
    }
    Finish(sounding, std::move(rows), rowLines);
    return sounding;
}
