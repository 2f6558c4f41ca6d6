#pragma once

// Whole-file text reader that hands a file out word by word and line by line,
// with typed reads and error messages naming the line and the word position.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Input/output error of the reader: a file that cannot be opened, a word that
// does not convert, or a read past what the file holds.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One line of the file: its raw text as read and the words found in it.
struct TWordContainer {
    std::string Line;
    std::vector<std::string> Words;
};

class TWordReader {
public:
    // Reads the whole file; throws EInOutError when it cannot be opened.
    explicit TWordReader(const std::string& fileName);

    // Raw text of the current line; the position moves to the next line.
    std::string ReadLine();
    // Next word as a number with "." as the decimal separator.
    long double ReadFloat();
    // Next word as a whole number in the 32-bit range, with the decimal
    // separator of the current C locale.
    int32_t ReadInteger();

    // No word is left to read: the rest of the file is blank.
    bool AtEnd() const;

    // Current position: 0-based line index and index of the next word on it.
    std::size_t LineIndex() const { return FLine; }
    std::size_t WordIndex() const { return FWord; }

private:
    // The next word, moving to the next line when the current one is used up;
    // `expected` names what the caller wanted, for the message on an empty line.
    const std::string& NextWord(const char* expected);
    // "Error on Line <n> Item <item>", a line break, and the expected sentence.
    [[noreturn]] void ConversionError(const char* expected, std::size_t item) const;

    std::vector<TWordContainer> FLines;
    std::size_t FLine = 0;
    std::size_t FWord = 0;
};
