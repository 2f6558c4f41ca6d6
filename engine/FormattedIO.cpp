#include "FormattedIO.h"

#include "DecimalDigits.h"

#include <fcntl.h>
#include <locale.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fio {

// ================================================================ reading

bool LineReader::NextLine(std::string_view& line) {
    if (position_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', position_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(position_, end - position_);
    position_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNumber_;
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    text.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char block[1 << 16];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) text.append(block, n);
    std::fclose(file);
    return true;
}

ReadStatus LineReader::ReadText(std::size_t width, std::string& text, bool whole) {
    std::string_view line;
    if (!NextLine(line)) return ReadStatus::EndOfFile;
    const std::size_t last = line.find_last_not_of(' ');
    if (whole && last != std::string_view::npos && last >= width) return ReadStatus::BadValue;
    text.assign(line.substr(0, width));
    text.resize(width, ' ');
    return ReadStatus::Ok;
}

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool ParseInteger(std::string_view word, int32_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    if (i == word.size()) return false;
    long long v = 0;
    for (; i < word.size(); ++i) {
        if (!IsDigit(word[i])) return false;
        v = v * 10 + (word[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX) return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool ParseReal(std::string_view word, float& value) {
    // [sign] digits [. digits] [exponent letter [sign] digits], at least one
    // mantissa digit; D is accepted as an exponent letter as well as E.
    std::size_t i = 0;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < word.size() && IsDigit(word[i])) ++i, ++mantissaDigits;
    if (i < word.size() && word[i] == '.') {
        ++i;
        while (i < word.size() && IsDigit(word[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    std::string text(word.substr(word[0] == '+' ? 1 : 0));
    if (i < word.size()) {
        char e = word[i];
        if (e != 'E' && e != 'e' && e != 'D' && e != 'd') return false;
        text[i - (word[0] == '+' ? 1 : 0)] = 'E';
        ++i;
        if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < word.size() && IsDigit(word[i])) ++i, ++expDigits;
        if (expDigits == 0 || i != word.size()) return false;
    }
    // Correctly rounded, whatever the locale. Beyond the float's range the
    // C library decides, in the C locale: an overflow is refused, an
    // underflow gives zero.
    float v = 0;
    const char* const end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, v);
    if (result.ec == std::errc::result_out_of_range) {
        const locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t{});
        if (!c) return false;
        v = strtof_l(text.c_str(), nullptr, c);
        freelocale(c);
    } else if (result.ec != std::errc{} || result.ptr != end) {
        return false;
    }
    if (!std::isfinite(v)) return false;
    value = v;
    return true;
}

ReadStatus LineReader::ReadList(std::span<const Target> targets) {
    std::size_t next = 0;
    std::string_view line;
    while (next < targets.size()) {
        if (!NextLine(line)) return ReadStatus::EndOfFile;
        std::size_t pos = 0;
        while (next < targets.size()) {
            while (pos < line.size() && IsSeparator(line[pos])) ++pos;
            if (pos == line.size()) break;
            std::size_t end = pos;
            while (end < line.size() && !IsSeparator(line[end])) ++end;
            std::string_view word = line.substr(pos, end - pos);
            pos = end;
            bool ok = std::visit(
                [&](auto* target) {
                    using T = std::remove_pointer_t<decltype(target)>;
                    if constexpr (std::is_same_v<T, int32_t>)
                        return ParseInteger(word, *target);
                    else
                        return ParseReal(word, *target);
                },
                targets[next]);
            if (!ok) return ReadStatus::BadValue;
            ++next;
        }
    }
    return ReadStatus::Ok;
}

// ================================================================ editing

namespace {

// Room for any field of at most Layout::kMaxField characters and for the
// digits of a float before it is cut to its field.
constexpr std::size_t kScratch = 512;

void AppendStars(std::string& out, int width) {
    out.append(static_cast<std::size_t>(width > 0 ? width : 0), '*');
}

void AppendJustified(std::string& out, std::string_view text, int width) {
    if (static_cast<int>(text.size()) > width) return AppendStars(out, width);
    out.append(static_cast<std::size_t>(width), ' ');
    std::copy(text.begin(), text.end(), out.end() - static_cast<std::ptrdiff_t>(text.size()));
}

void AppendNonFinite(std::string& out, float value, int width) {
    if (std::isnan(value)) return AppendJustified(out, "NaN", width);
    AppendJustified(out, value < 0 ? "-Infinity" : "Infinity", width);
}

// Writes at least two digits of `n` >= 0; returns the end.
char* ExponentDigits(char* p, int n) {
    if (n < 10) *p++ = '0';
    return std::to_chars(p, p + 8, n).ptr;
}

void AppendE(std::string& out, float value, int width, int digits) {
    if (!std::isfinite(value)) return AppendNonFinite(out, value, width);
    if (digits > Layout::kMaxField) return AppendStars(out, width);
    char text[kScratch];
    char* p = text;
    if (value < 0.0f) *p++ = '-';
    char* const zero = p;
    *p++ = '0';
    *p++ = '.';
    int exponent = 0;
    p += Decompose(value, digits, p, exponent);
    *p++ = 'E';
    *p++ = exponent < 0 ? '-' : '+';
    p = ExponentDigits(p, std::abs(exponent));
    const char* start = text;
    if (p - start > width) {
        // Without the zero before the point.
        if (value < 0.0f) *zero = '-';
        start = value < 0.0f ? zero : zero + 1;
    }
    const int length = static_cast<int>(p - start);
    if (length > width) return AppendStars(out, width);
    out.append(static_cast<std::size_t>(width - length), ' ');
    out.append(start, static_cast<std::size_t>(length));
}

void AppendF(std::string& out, float value, int width, int digits) {
    if (!std::isfinite(value)) return AppendNonFinite(out, value, width);
    if (digits > Layout::kMaxField) return AppendStars(out, width);
    char text[kScratch];
    char* const magnitude = text + 1;
    char* const end = FixedDigits(magnitude, text + sizeof text, value, digits);
    const bool allZero = std::all_of(magnitude, end, [](char c) { return c == '0' || c == '.'; });
    char* start = magnitude;
    if (value < 0.0f && !allZero) *--start = '-';
    if (end - start > width && end - magnitude >= 2 && magnitude[0] == '0' && magnitude[1] == '.') {
        // Without the zero before the point.
        magnitude[0] = start[0];
        ++start;
    }
    AppendJustified(out, std::string_view(start, static_cast<std::size_t>(end - start)), width);
}

void AppendI(std::string& out, int32_t value, int width, int minDigits) {
    char text[kScratch];
    const long long v = value;
    char digits[16];
    char* const digitsEnd = std::to_chars(digits, digits + sizeof digits, v < 0 ? -v : v).ptr;
    const int count = static_cast<int>(digitsEnd - digits);
    char* p = text;
    if (v < 0) *p++ = '-';
    if (count < minDigits) p = std::fill_n(p, std::min(minDigits, Layout::kMaxField) - count, '0');
    p = std::copy(digits, digitsEnd, p);
    AppendJustified(out, std::string_view(text, static_cast<std::size_t>(p - text)), width);
}

void AppendA(std::string& out, std::string_view value, int width) {
    if (width >= 0 && static_cast<int>(value.size()) >= width)
        value = value.substr(0, static_cast<std::size_t>(width));
    else if (width >= 0)
        out.append(static_cast<std::size_t>(width) - value.size(), ' ');
    out.append(value);
}

template <typename Edit>
std::string Edited(Edit edit) {
    std::string out;
    edit(out);
    return out;
}

}  // namespace

std::string EditE(float value, int width, int digits) {
    return Edited([&](std::string& out) { AppendE(out, value, width, digits); });
}

std::string EditF(float value, int width, int digits) {
    return Edited([&](std::string& out) { AppendF(out, value, width, digits); });
}

std::string EditI(int32_t value, int width, int minDigits) {
    return Edited([&](std::string& out) { AppendI(out, value, width, minDigits); });
}

std::string EditA(const std::string& value, int width) {
    return Edited([&](std::string& out) { AppendA(out, value, width); });
}

std::string ListInteger(int32_t value) {
    return EditI(value, 12, 1);
}

std::string ListReal(float value) {
    // Nine significant digits, as a fixed number when 0.1 <= |value| < 1E9
    // (four trailing blanks stand in for the exponent), otherwise with one
    // digit before the point and a two-digit exponent.
    constexpr int kDigits = 9;
    std::string out;
    if (!std::isfinite(value)) {
        AppendNonFinite(out, value, 17);
        return out;
    }
    char mantissa[kDigits];
    int exponent = 0;
    Decompose(value, kDigits, mantissa, exponent);
    std::string_view digits(mantissa, kDigits);
    std::string text = value < 0.0f ? "-" : "";
    if (value == 0.0f) {
        text += "0." + std::string(kDigits - 1, '0') + "    ";
    } else if (exponent >= 0 && exponent <= kDigits) {
        const std::size_t whole = static_cast<std::size_t>(exponent);
        text.append(whole > 0 ? digits.substr(0, whole) : "0");
        text += '.';
        text.append(digits.substr(whole));
        text += "    ";
    } else {
        char exp[8];
        char* p = exp;
        *p++ = 'E';
        *p++ = exponent - 1 < 0 ? '-' : '+';
        p = ExponentDigits(p, std::abs(exponent - 1));
        text.append(digits.substr(0, 1));
        text += '.';
        text.append(digits.substr(1));
        text.append(exp, p);
    }
    AppendJustified(out, text, 17);
    return out;
}

// ================================================================ layouts

namespace {

class LayoutParser {
public:
    explicit LayoutParser(std::string_view text) : s_(text) {}

    std::vector<Layout::Item> ParseAll(std::size_t& reversionPoint) {
        SkipBlanks();
        Expect('(');
        auto items = ParseList(&reversionPoint);
        Expect(')');
        SkipBlanks();
        if (pos_ != s_.size()) Fail();
        return items;
    }

private:
    using Item = Layout::Item;

    [[noreturn]] void Fail() const { throw std::invalid_argument("bad layout: " + std::string(s_)); }

    void SkipBlanks() {
        while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
    }
    void Expect(char c) {
        SkipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != c) Fail();
        ++pos_;
    }
    bool Peek(char c) {
        SkipBlanks();
        return pos_ < s_.size() && s_[pos_] == c;
    }
    int Number() {
        int n = 0;
        while (pos_ < s_.size() && IsDigit(s_[pos_])) n = n * 10 + (s_[pos_++] - '0');
        return n;
    }

    std::vector<Item> ParseList(std::size_t* reversionPoint) {
        std::vector<Item> items;
        while (!Peek(')')) {
            if (!items.empty()) {
                if (Peek(',')) ++pos_;
            }
            Item item = ParseItem();
            if (reversionPoint && item.kind == Item::Group) *reversionPoint = items.size();
            items.push_back(std::move(item));
        }
        return items;
    }

    Item ParseItem() {
        SkipBlanks();
        if (pos_ >= s_.size()) Fail();
        Item item;
        if (s_[pos_] == '/') {
            ++pos_;
            item.kind = Item::Slash;
            return item;
        }
        if (s_[pos_] == '"' || s_[pos_] == '\'') {
            char quote = s_[pos_++];
            std::size_t end = s_.find(quote, pos_);
            if (end == std::string_view::npos) Fail();
            item.text = std::string(s_.substr(pos_, end - pos_));
            pos_ = end + 1;
            return item;
        }
        int count = IsDigit(s_[pos_]) ? Number() : -1;
        if (pos_ >= s_.size()) Fail();
        char c = s_[pos_];
        if (c == '(') {
            ++pos_;
            item.kind = Item::Group;
            item.repeat = count < 0 ? 1 : count;
            item.group = ParseList(nullptr);
            Expect(')');
            return item;
        }
        ++pos_;
        switch (c) {
        case 'X':
            item.kind = Item::Skip;
            item.width = count < 0 ? 1 : count;
            return item;
        case 'A':
            item.kind = Item::A;
            item.width = IsDigit(Current()) ? Number() : -1;
            if (item.width > Layout::kMaxField) Fail();
            break;
        case 'I':
        case 'F':
        case 'E':
            item.kind = c == 'I' ? Item::I : c == 'F' ? Item::F : Item::E;
            if (!IsDigit(Current())) Fail();
            item.width = Number();
            if (Current() == '.') {
                ++pos_;
                item.digits = Number();
            } else if (c != 'I') {
                Fail();
            }
            if (item.width > Layout::kMaxField || item.digits > Layout::kMaxField) Fail();
            break;
        default: Fail();
        }
        item.repeat = count < 0 ? 1 : count;
        return item;
    }

    char Current() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }

    std::string_view s_;
    std::size_t pos_ = 0;
};

void Flatten(const std::vector<Layout::Item>& items, std::vector<Layout::Step>& steps) {
    for (const Layout::Item& item : items)
        for (int r = 0; r < item.repeat; ++r) {
            if (item.kind == Layout::Item::Group)
                Flatten(item.group, steps);
            else
                steps.push_back({item.kind, item.width, item.digits, item.text});
        }
}

void Edit(std::string& out, const Layout::Step& step, float value) {
    using Item = Layout::Item;
    switch (step.kind) {
    case Item::F: AppendF(out, value, step.width, step.digits); break;
    case Item::E: AppendE(out, value, step.width, step.digits); break;
    default: AppendStars(out, step.width < 0 ? 1 : step.width);
    }
}

void Edit(std::string& out, const Layout::Step& step, const Value& value) {
    using Item = Layout::Item;
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (step.kind == Item::A)
            AppendA(out, *text, step.width);
        else
            AppendStars(out, step.width);
    } else if (const float* real = std::get_if<float>(&value)) {
        Edit(out, step, *real);
    } else if (step.kind == Item::I) {
        AppendI(out, std::get<int32_t>(value), step.width, step.digits);
    } else {
        Edit(out, step, static_cast<float>(std::get<int32_t>(value)));
    }
}

}  // namespace

Layout::Layout(std::string_view text) {
    std::size_t reversionItem = 0;
    const std::vector<Item> items = LayoutParser(text).ParseAll(reversionItem);
    const auto split = items.begin() + static_cast<std::ptrdiff_t>(reversionItem);
    Flatten(std::vector<Item>(items.begin(), split), steps_);
    reversion_ = steps_.size();
    Flatten(std::vector<Item>(split, items.end()), steps_);
}

// Blanks of X descriptors are written only when something follows them in
// the same record.
template <typename Values>
void Layout::Run(std::string& out, const Values& values) const {
    std::size_t next = 0;
    std::size_t blanks = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t before = next;
        bool complete = true;
        for (std::size_t k = start; k < steps_.size() && complete; ++k) {
            const Step& step = steps_[k];
            switch (step.kind) {
            case Item::Skip: blanks += static_cast<std::size_t>(step.width); break;
            case Item::Slash:
                out.push_back('\n');
                blanks = 0;
                break;
            case Item::Text:
                out.append(blanks, ' ');
                blanks = 0;
                out.append(step.text);
                break;
            default:
                if (next == values.size()) {
                    complete = false;
                    break;
                }
                out.append(blanks, ' ');
                blanks = 0;
                Edit(out, step, values.begin()[next++]);
            }
        }
        if (!complete || next == values.size() || next == before) break;
        // Values remain: a new record, resuming at the last top-level group.
        out.push_back('\n');
        blanks = 0;
        start = reversion_;
    }
    out.push_back('\n');
}

void Layout::Append(std::string& out, std::span<const Value> values) const {
    Run(out, values);
}

void Layout::AppendReals(std::string& out, std::initializer_list<float> values) const {
    Run(out, values);
}

std::vector<std::string> Layout::Format(const std::vector<Value>& values) const {
    std::string text;
    Append(text, values);
    std::vector<std::string> records;
    std::size_t from = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', from)) {
        records.emplace_back(text, from, end - from);
        from = end + 1;
    }
    return records;
}

// ================================================================ files

RecordWriter::~RecordWriter() {
    Close();
}

bool RecordWriter::Open(const std::string& path) {
    Close();
    if (path.empty()) return false;
    // A file reached through a symbolic link is replaced where it lies.
    std::error_code error;
    std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    if (error) target = path;
    struct stat previous;
    const bool exists = stat(target.c_str(), &previous) == 0;
    if (exists && (S_ISDIR(previous.st_mode) || access(target.c_str(), W_OK) != 0)) return false;
    if (exists && !S_ISREG(previous.st_mode)) {
        // A device or a pipe is written as it is, never replaced.
        file_ = std::fopen(target.c_str(), "w");
        target_.clear();
        return file_ != nullptr;
    }
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string temporary = (folder / ".korven-out-XXXXXX").string();
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return false;
    mode_t mode = 0666;
    if (exists) {
        mode = previous.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    file_ = fchmod(fd, mode) == 0 ? fdopen(fd, "w") : nullptr;
    if (!file_) {
        close(fd);
        unlink(temporary.c_str());
        return false;
    }
    target_ = target.string();
    temporary_ = temporary;
    return true;
}

bool RecordWriter::Close() {
    if (!file_) return true;
    // The outputs of a run can always be made again, so they are not forced
    // to the disk before the rename; a write that fails (a full disk, a size
    // limit) still shows here and keeps the previous file.
    bool written = std::ferror(file_) == 0 && std::fflush(file_) == 0;
    written = std::fclose(file_) == 0 && written;
    file_ = nullptr;
    if (target_.empty()) return written;
    written = written && std::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (!written) unlink(temporary_.c_str());
    return written;
}

void RecordWriter::Write(std::string_view text) {
    if (file_) std::fwrite(text.data(), 1, text.size(), file_);
}

}  // namespace fio
