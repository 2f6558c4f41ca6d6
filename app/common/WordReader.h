#pragma once

// Whole-file text reader that hands a file out word by word and line by line,
// with typed reads and error messages naming the line and the word position.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Input/output error of the reader: a file that cannot be opened, a word that
// does not convert, or a read past what the file holds.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A piece of the file's text: where it starts and how long it is.
struct TTextSpan {
    std::size_t Begin = 0;
    std::size_t Length = 0;
};

// One line of the file: its raw text as read and the words found in it,
// which are FirstWord up to FirstWord + WordCount of the reader's words.
struct TWordContainer {
    TTextSpan Line;
    std::size_t FirstWord = 0;
    std::size_t WordCount = 0;
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
    std::string_view NextWord(const char* expected);
    std::string_view Text(TTextSpan span) const { return std::string_view(FContent).substr(span.Begin, span.Length); }
    // "Error on Line <n> Item <item>", a line break, and the expected sentence.
    [[noreturn]] void ConversionError(const char* expected, std::size_t item) const;

    // The whole file; lines and words are spans of it.
    std::string FContent;
    std::vector<TWordContainer> FLines;
    std::vector<TTextSpan> FWords;
    std::size_t FLine = 0;
    std::size_t FWord = 0;
};
