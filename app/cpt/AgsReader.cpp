// AGS4 files: rows of double-quoted, comma-separated fields; the first field
// says what the row is ("GROUP", "HEADING", "UNIT", "TYPE", "DATA"). The
// sounding comes from the groups SCPG (one row per test: the cone's net area
// ratio SCPG_CAR) and SCPT (one row per depth), with every unit taken from
// the group's UNIT row.
#include "Sounding.h"

#include <algorithm>
#include <map>

using namespace sounding_detail;

namespace {

std::vector<std::string> SplitAgsRow(std::string_view line, int lineNumber)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= line.size())
                    throw ESoundingError(lineNumber, "a quoted field is not closed");
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i];
            }
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
                ++i;
        } else {
            const std::size_t comma = line.find(',', i);
            field = Trim(line.substr(i, comma == std::string_view::npos ? line.npos : comma - i));
            i = comma == std::string_view::npos ? line.size() : comma;
        }
        fields.push_back(std::move(field));
        if (i >= line.size())
            return fields;
        if (line[i] != ',')
            throw ESoundingError(lineNumber, "fields must be separated by commas");
        ++i;
    }
}

struct TAgsRow {
    std::vector<std::string> Fields;
    int Line = 0;
};

struct TAgsGroup {
    std::vector<std::string> Heading;
    std::vector<std::string> Units;
    std::vector<TAgsRow> Data;
    int Line = 0;

    int Column(const std::string& heading) const
    {
        const auto at = std::find(Heading.begin(), Heading.end(), heading);
        return at == Heading.end() ? -1 : static_cast<int>(at - Heading.begin());
    }
};

// The groups SCPG and SCPT of the file.
std::map<std::string, TAgsGroup> ReadGroups(std::string_view text)
{
    std::map<std::string, TAgsGroup> groups;
    TAgsGroup* current = nullptr;
    const std::vector<std::string_view> lines = Lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (Trim(lines[i]).empty())
            continue;
        std::vector<std::string> fields = SplitAgsRow(lines[i], line);
        const std::string kind = fields[0];
        if (kind == "GROUP") {
            if (fields.size() < 2 || fields[1].empty())
                throw ESoundingError(line, "a GROUP row must name its group");
            current = nullptr;
            if (fields[1] == "SCPG" || fields[1] == "SCPT") {
                if (groups.count(fields[1]))
                    throw ESoundingError(line, "the group " + fields[1] + " appears twice");
                current = &groups[fields[1]];
                current->Line = line;
            }
            continue;
        }
        if (!current)
            continue;
        if (kind == "HEADING") {
            current->Heading.assign(fields.begin() + 1, fields.end());
            continue;
        }
        if (current->Heading.empty())
            throw ESoundingError(line, "a " + kind + " row comes before the group's HEADING row");
        if (fields.size() != current->Heading.size() + 1)
            throw ESoundingError(line, std::to_string(fields.size() - 1) + " fields where the HEADING row has " +
                                           std::to_string(current->Heading.size()));
        if (kind == "UNIT")
            current->Units.assign(fields.begin() + 1, fields.end());
        else if (kind == "DATA")
            current->Data.push_back({{fields.begin() + 1, fields.end()}, line});
        else if (kind != "TYPE")
            throw ESoundingError(line, "unknown row kind '" + kind + "'");
    }
    return groups;
}

std::string TestKey(const TAgsGroup& group, const TAgsRow& row)
{
    const int location = group.Column("LOCA_ID");
    const int test = group.Column("SCPG_TESN");
    return (location < 0 ? std::string() : row.Fields[location]) + "/" + (test < 0 ? std::string() : row.Fields[test]);
}

std::vector<std::string> Tests(const std::map<std::string, TAgsGroup>& groups)
{
    std::vector<std::string> tests;
    for (const char* name : {"SCPG", "SCPT"}) {
        const auto group = groups.find(name);
        if (group != groups.end())
            for (const TAgsRow& row : group->second.Data)
                if (const std::string key = TestKey(group->second, row);
                    std::find(tests.begin(), tests.end(), key) == tests.end())
                    tests.push_back(key);
    }
    return tests;
}

std::string Joined(const std::vector<std::string>& tests)
{
    std::string text;
    for (const std::string& test : tests)
        text += (text.empty() ? "" : ", ") + test;
    return text;
}

std::string PickTest(const std::vector<std::string>& tests, const std::string& wanted)
{
    if (wanted.empty()) {
        if (tests.size() != 1)
            throw ESoundingError(0, "the file holds several tests; pick one of " + Joined(tests));
        return tests.front();
    }
    std::vector<std::string> matches;
    for (const std::string& test : tests)
        if (test == wanted || test.substr(0, test.rfind('/')) == wanted)
            matches.push_back(test);
    if (matches.size() != 1)
        throw ESoundingError(0, "the test " + wanted + (matches.empty() ? " is not in the file" : " is not unique") +
                                    "; the file holds " + Joined(tests));
    return matches.front();
}

}  // namespace

std::vector<std::string> AgsTests(std::string_view text)
{
    return Tests(ReadGroups(text));
}

TSounding ReadAgs(std::string_view text, const std::string& wanted)
{
    const std::map<std::string, TAgsGroup> groups = ReadGroups(text);
    const auto scpt = groups.find("SCPT");
    if (scpt == groups.end() || scpt->second.Data.empty())
        throw ESoundingError(0, "the file holds no cone penetration data (group SCPT)");
    const TAgsGroup& data = scpt->second;
    TSounding sounding;
    sounding.Format = TSoundingFormat::Ags;
    sounding.Name = PickTest(Tests(groups), wanted);

    if (const auto scpg = groups.find("SCPG"); scpg != groups.end()) {
        const int car = scpg->second.Column("SCPG_CAR");
        for (const TAgsRow& row : scpg->second.Data)
            if (car >= 0 && TestKey(scpg->second, row) == sounding.Name && !row.Fields[car].empty()) {
                const double a = ParseNumber(row.Fields[car]);
                if (!(a >= 0 && a <= 1))
                    throw ESoundingError(row.Line, "SCPG_CAR, the net area ratio, must be a number from 0 to 1");
                sounding.NetAreaRatio = a;
            }
    }

    struct TField {
        const char* Heading;
        double TSoundingRow::* Member;
        bool Length;
        int Column = -1;
        double Factor = 1;
    };
    std::vector<TField> fields = {{"SCPT_DPTH", &TSoundingRow::Depth, true},
                                  {"SCPT_RES", &TSoundingRow::Qc, false},
                                  {"SCPT_FRES", &TSoundingRow::Fs, false},
                                  {"SCPT_PWP2", &TSoundingRow::U2, false},
                                  {"SCPT_QT", &TSoundingRow::Qt, false}};
    for (TField& field : fields) {
        field.Column = data.Column(field.Heading);
        if (field.Column < 0) {
            if (field.Member == &TSoundingRow::Depth || field.Member == &TSoundingRow::Qc)
                throw ESoundingError(data.Line, std::string("the SCPT group has no ") + field.Heading + " column");
            continue;
        }
        if (data.Units.empty())
            throw ESoundingError(data.Line, "the SCPT group has no UNIT row");
        const std::string& unit = data.Units[field.Column];
        field.Factor = field.Length ? LengthFactor(unit) : PressureFactor(unit);
        if (!HasValue(field.Factor))
            throw ESoundingError(data.Line, "unit '" + unit + "' of " + field.Heading + " is not a " +
                                                (field.Length ? "length" : "pressure") + " unit");
    }

    std::vector<TSoundingRow> rows;
    std::vector<int> lines;
    for (const TAgsRow& row : data.Data) {
        if (TestKey(data, row) != sounding.Name)
            continue;
        TSoundingRow out;
        for (const TField& field : fields) {
            if (field.Column < 0)
                continue;
            const std::string& text = row.Fields[field.Column];
            const double v = ParseNumber(text);
            if (!text.empty() && !HasValue(v))
                throw ESoundingError(row.Line, "'" + text + "' in " + field.Heading + " is not a number");
            out.*field.Member = v * field.Factor;
        }
        rows.push_back(out);
        lines.push_back(row.Line);
    }
    Finish(sounding, std::move(rows), lines);
    return sounding;
}
