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

// Words of a line: the line trimmed, then split at blanks and tabs, the rest
// trimmed at its start after every word.
std::vector<std::string> SplitWords(const std::string& line) {
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && IsTrimmed(line[begin]))
        ++begin;
    while (end > begin && IsTrimmed(line[end - 1]))
        --end;
    std::vector<std::string> words;
    while (begin < end) {
        std::size_t stop = begin;
        while (stop < end && line[stop] != ' ' && line[stop] != '\t')
            ++stop;
        words.emplace_back(line, begin, stop - begin);
        begin = stop;
        while (begin < end && IsTrimmed(line[begin]))
            ++begin;
    }
    return words;
}

}  // namespace

TWordReader::TWordReader(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        const int error = errno;
        throw EInOutError("File \"" + fileName + "\" could not be opened: " + std::strerror(error));
    }
    std::string content;
    try {
        // A read failure (a folder, for instance) surfaces as an exception here.
        content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure& error) {
        throw EInOutError("File \"" + fileName + "\" could not be read: " + error.code().message());
    }

    // Lines end at CR LF, LF or a lone CR; an end of line just before the end
    // of the file opens no further line, but an empty file holds one line.
    std::size_t begin = 0;
    do {
        std::size_t end = content.find_first_of("\r\n", begin);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(begin, end - begin);
        std::vector<std::string> words = SplitWords(line);
        FLines.push_back({std::move(line), std::move(words)});
        begin = end;
        if (begin < content.size())
            begin += content.compare(begin, 2, "\r\n") == 0 ? 2 : 1;
    } while (begin < content.size());
}

std::string TWordReader::ReadLine() {
    if (FLine >= FLines.size())
        throw EInOutError(IncompleteFile);
    FWord = 0;
    return FLines[FLine++].Line;
}

const std::string& TWordReader::NextWord(const char* expected) {
    if (FLine < FLines.size() && FWord == FLines[FLine].Words.size()) {
        ++FLine;
        FWord = 0;
    }
    if (FLine >= FLines.size())
        throw EInOutError(IncompleteFile);
    const std::vector<std::string>& words = FLines[FLine].Words;
    // An empty line inside the file: nothing to read where a word is due.
    if (words.empty())
        ConversionError(expected, 1);
    ++FWord;
    return words[FWord - 1];
}

bool TWordReader::AtEnd() const {
    if (FLine < FLines.size() && FWord < FLines[FLine].Words.size())
        return false;
    for (std::size_t line = FLine + 1; line < FLines.size(); ++line)
        if (!FLines[line].Words.empty())
            return false;
    return true;
}

void TWordReader::ConversionError(const char* expected, std::size_t item) const {
    throw EInOutError("Error on Line " + std::to_string(FLine + 1) + " Item " +
                      std::to_string(item) + "\n" + expected);
}

long double TWordReader::ReadFloat() {
    const TDecimal number = ParseDecimal(NextWord(FloatExpected), ".");
    if (number.Status != TDecimal::Ok)
        ConversionError(FloatExpected, FWord);
    return number.Value;
}

int32_t TWordReader::ReadInteger() {
    const TDecimal number = ParseDecimal(NextWord(IntegerExpected), LocaleDecimalPoint());
    if (number.Status != TDecimal::Ok || number.Value != std::trunc(number.Value) ||
        number.Value < std::numeric_limits<int32_t>::min() ||
        number.Value > std::numeric_limits<int32_t>::max())
        ConversionError(IntegerExpected, FWord);
    return static_cast<int32_t>(number.Value);
}
