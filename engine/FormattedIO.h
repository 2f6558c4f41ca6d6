// Formatted sequential text I/O in the style of the engine's classic file
// handling: list-directed ("free format") reads of numbers across lines and
// record writes driven by layouts of edit descriptors.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fio {

// ---------------------------------------------------------------- reading

// Why a read failed.
enum class ReadStatus { Ok, EndOfFile, BadValue };

// A place a list-directed read stores a value.
using Target = std::variant<int32_t*, float*>;

// Reads a text record by record (lines ended by "\n", a "\r" before it
// dropped). Every read starts on the line after the last line touched by the
// previous read.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // Reads the next line as fixed-width text of `width` characters: longer
    // lines are cut (or, with `whole`, refused as BadValue), shorter ones
    // padded with blanks.
    ReadStatus ReadText(std::size_t width, std::string& text, bool whole = false);

    // A list-directed read: values separated by blanks or commas, continuing
    // over following lines until every target is filled; whatever is left on
    // the last line is skipped. An integer target takes only an optionally
    // signed run of digits within the 32-bit range.
    ReadStatus ReadList(std::span<const Target> targets);
    ReadStatus ReadList(std::initializer_list<Target> targets) {
        return ReadList(std::span<const Target>(targets.begin(), targets.size()));
    }

    // 1-based number of the last line read (0 before any read).
    int LineNumber() const { return lineNumber_; }

private:
    bool NextLine(std::string_view& line);

    std::string_view text_;
    std::size_t position_ = 0;
    int lineNumber_ = 0;
};

// The whole content of the file at `path` into `text`; false when the file
// cannot be opened. A read that fails part-way ends the text there.
bool ReadWholeFile(const std::string& path, std::string& text);

// Parses one list-directed value; exposed for the tests.
bool ParseInteger(std::string_view word, int32_t& value);
bool ParseReal(std::string_view word, float& value);

// ---------------------------------------------------------------- writing

// A value handed to a layout: an integer, a single-precision real or a text.
using Value = std::variant<int32_t, float, std::string>;

// A parsed layout such as  (2X, I5, I11, E16.4)  or  (5X, 73("="), /).
// Descriptors: nX, "text" or 'text', A, Aw, Iw, Iw.m, Fw.d, Ew.d, /, and
// n(...) groups; any data descriptor may carry a repeat count (3E16.4).
// Widths and digit counts above kMaxField are refused.
class Layout {
public:
    static constexpr int kMaxField = 255;

    explicit Layout(std::string_view text);

    // Appends to `out` the records that `values` make, each ended by a line
    // end. When the layout ends while values remain, a new record starts
    // and the layout resumes at its last top-level group (or at its start
    // when it has none). Output stops at the first data descriptor that
    // finds no value left, or at the end of the layout.
    void Append(std::string& out, std::span<const Value> values) const;
    // The same for reals only, the records of numbers written most.
    void AppendReals(std::string& out, std::initializer_list<float> values) const;

    // The same records as separate lines without their line ends.
    std::vector<std::string> Format(const std::vector<Value>& values) const;

    // One edit descriptor, a text, or a repeated group of items.
    struct Item {
        enum Kind { Text, Skip, Slash, A, I, F, E, Group } kind = Text;
        int repeat = 1;
        int width = -1;
        int digits = 0;
        std::string text;
        std::vector<Item> group;
    };

    // An item of the layout with its groups and repeats spelt out.
    struct Step {
        Item::Kind kind = Item::Text;
        int width = -1;
        int digits = 0;
        std::string text;
    };

private:
    template <typename Values>
    void Run(std::string& out, const Values& values) const;

    std::vector<Step> steps_;
    std::size_t reversion_ = 0;  // the first step of the last top-level group
};

// Edit descriptors applied to single values, with asterisks filling the
// field when the value does not fit. Exposed for the tests.
std::string EditE(float value, int width, int digits);
std::string EditF(float value, int width, int digits);
std::string EditI(int32_t value, int width, int minDigits);
std::string EditA(const std::string& value, int width);  // width < 0: as is

// List-directed output: integers take 12 columns, reals 17 (nine significant
// digits), each value preceded by its blanks.
std::string ListInteger(int32_t value);
std::string ListReal(float value);

// An output file written whole: the text goes into a temporary file beside
// the target, which replaces the target only when closed complete, so a
// write that fails part-way (a full disk, a file size limit) leaves the
// previous file as it was and no temporary behind.
class RecordWriter {
public:
    RecordWriter() = default;
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Opens `path` for writing from its first line; false when it cannot
    // (also when a previous file there may not be written).
    bool Open(const std::string& path);
    // True when nothing was open, or when everything written reached the
    // disk and the file replaced the target; otherwise the target is left
    // untouched.
    bool Close();
    bool IsOpen() const { return file_ != nullptr; }

    void Write(std::string_view text);

private:
    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temporary_;
};

}  // namespace fio
