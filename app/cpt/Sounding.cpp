#include "Sounding.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>

ESoundingError::ESoundingError(int line, const std::string& reason)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + reason : reason),
      FLine(line),
      FReason(reason)
{
}

namespace sounding_detail {

namespace {

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // "m²" (UTF-8 or Latin-1) reads as "m2".
    for (const std::string_view square : {std::string_view("\xc2\xb2"), std::string_view("\xb2")})
        for (std::size_t at; (at = out.find(square)) != std::string::npos;)
            out.replace(at, square.size(), "2");
    return out;
}

}  // namespace

double PressureFactor(std::string_view unit)
{
    const std::string u = Lower(Trim(unit));
    if (u == "mpa" || u == "mn/m2" || u == "mn/m^2" || u == "n/mm2")
        return 1000;
    if (u == "kpa" || u == "kn/m2" || u == "kn/m^2")
        return 1;
    if (u == "pa" || u == "n/m2")
        return 0.001;
    if (u == "bar")
        return 100;
    if (u == "psi")
        return 6.894757293168361;
    if (u == "tsf")  // US short tons per square foot
        return 95.76052;
    return NoValue;
}

double LengthFactor(std::string_view unit)
{
    const std::string u = Lower(Trim(unit));
    if (u == "m")
        return 1;
    if (u == "cm")
        return 0.01;
    if (u == "mm")
        return 0.001;
    if (u == "ft")
        return 0.3048;
    return NoValue;
}

double ParseNumber(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return NoValue;
    return value;
}

std::string_view Trim(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

void Finish(TSounding& sounding, std::vector<TSoundingRow> rows, const std::vector<int>& lines)
{
    std::vector<TSoundingRow> kept;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TSoundingRow& row = rows[i];
        for (double v : {row.Depth, row.Qc, row.Fs, row.U2, row.Qt})
            if (std::isinf(v))
                throw ESoundingError(lines[i], "a value is out of range");
        if (!HasValue(row.Depth) || !HasValue(row.Qc) || (!kept.empty() && !(row.Depth > kept.back().Depth))) {
            ++sounding.DroppedRows;
            continue;
        }
        kept.push_back(row);
    }
    if (kept.size() < 2)
        throw ESoundingError(0, "the file holds fewer than two rows with depth and cone resistance");
    sounding.Rows = std::move(kept);
}

}  // namespace sounding_detail

TSoundingFormat FormatOfFile(const std::string& path)
{
    std::string extension;
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && path.find('/', dot) == std::string::npos)
        for (char c : path.substr(dot + 1))
            extension += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "gef")
        return TSoundingFormat::Gef;
    if (extension == "ags")
        return TSoundingFormat::Ags;
    return TSoundingFormat::Csv;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw ESoundingError(0, "the file " + path + " cannot be opened");
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        throw ESoundingError(0, "the file " + path + " cannot be read");
    return bytes;
}

TSounding ReadSoundingFile(const std::string& path, const std::string& test)
{
    const std::string bytes = ReadFileBytes(path);
    TSounding sounding;
    switch (FormatOfFile(path)) {
    case TSoundingFormat::Gef:
        sounding = ReadGef(bytes);
        break;
    case TSoundingFormat::Ags:
        sounding = ReadAgs(bytes, test);
        break;
    case TSoundingFormat::Csv:
        sounding = ReadCsvSounding(bytes);
        break;
    }
    if (sounding.Name.empty()) {
        const std::size_t slash = path.find_last_of('/');
        sounding.Name = slash == std::string::npos ? path : path.substr(slash + 1);
    }
    return sounding;
}
