#include "WordReader.h"

#include "DecimalText.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

constexpr const char* IncompleteFile = "This file either invalid or incomplete.";
constexpr const char* FloatExpected = "A floating point number was expected but not found.";
constexpr const char* IntegerExpected = "An integer was expected but not found.";

// Blanks and control characters, which trimming removes at both ends.
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

TWordReader::TWordReader(const std::string& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        const int error = errno;
        throw EInOutError("File \"" + fileName + "\" could not be opened: " + std::strerror(error));
    }
    try {
        // A read failure (a folder, for instance) surfaces as an exception here.
        FContent.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure& error) {
        throw EInOutError("File \"" + fileName + "\" could not be read: " + error.code().message());
    }

    // Lines end at CR LF, LF or a lone CR; an end of line just before the end
    // of the file opens no further line, but an empty file holds one line.
    const std::string& content = FContent;
    std::size_t begin = 0;
    do {
        std::size_t end = begin;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n')
            ++end;
        TWordContainer line{{begin, end - begin}, FWords.size(), 0};
        // Words: the line trimmed, then split at blanks and tabs, the rest
        // trimmed at its start after every word.
        std::size_t first = begin;
        std::size_t last = end;
        while (first < last && IsTrimmed(content[first]))
            ++first;
        while (last > first && IsTrimmed(content[last - 1]))
            --last;
        while (first < last) {
            std::size_t stop = first;
            while (stop < last && content[stop] != ' ' && content[stop] != '\t')
                ++stop;
            FWords.push_back({first, stop - first});
            first = stop;
            while (first < last && IsTrimmed(content[first]))
                ++first;
        }
        line.WordCount = FWords.size() - line.FirstWord;
        FLines.push_back(line);
        begin = end;
        if (begin < content.size())
            begin += content[begin] == '\r' && begin + 1 < content.size() && content[begin + 1] == '\n' ? 2 : 1;
    } while (begin < content.size());
}

std::string TWordReader::ReadLine()
{
    if (FLine >= FLines.size())
        throw EInOutError(IncompleteFile);
    FWord = 0;
    return std::string(Text(FLines[FLine++].Line));
}

std::string_view TWordReader::NextWord(const char* expected)
{
    if (FLine < FLines.size() && FWord == FLines[FLine].WordCount) {
        ++FLine;
        FWord = 0;
    }
    if (FLine >= FLines.size())
        throw EInOutError(IncompleteFile);
    const TWordContainer& line = FLines[FLine];
    // An empty line inside the file: nothing to read where a word is due.
    if (line.WordCount == 0)
        ConversionError(expected, 1);
    ++FWord;
    return Text(FWords[line.FirstWord + FWord - 1]);
}

bool TWordReader::AtEnd() const
{
    if (FLine < FLines.size() && FWord < FLines[FLine].WordCount)
        return false;
    for (std::size_t line = FLine + 1; line < FLines.size(); ++line)
        if (FLines[line].WordCount > 0)
            return false;
    return true;
}

void TWordReader::ConversionError(const char* expected, std::size_t item) const
{
    throw EInOutError("Error on Line " + std::to_string(FLine + 1) + " Item " + std::to_string(item) + "\n" + expected);
}

long double TWordReader::ReadFloat()
{
    const TDecimal number = ParseDecimal(NextWord(FloatExpected), ".");
    if (number.Status != TDecimal::Ok)
        ConversionError(FloatExpected, FWord);
    return number.Value;
}

int32_t TWordReader::ReadInteger()
{
    const TDecimal number = ParseDecimal(NextWord(IntegerExpected), LocaleDecimalPoint());
    if (number.Status != TDecimal::Ok || number.Value != std::trunc(number.Value) ||
        number.Value < std::numeric_limits<int32_t>::min() || number.Value > std::numeric_limits<int32_t>::max())
        ConversionError(IntegerExpected, FWord);
    return static_cast<int32_t>(number.Value);
}
