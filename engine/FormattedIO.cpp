#include "FormattedIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fio {

// ================================================================ reading

LineReader::LineReader(const std::string& path) : file_(std::fopen(path.c_str(), "r")) {}

LineReader::~LineReader() {
    if (file_) std::fclose(file_);
}

bool LineReader::NextLine(std::string& line) {
    line.clear();
    if (!file_) return false;
    int c = std::fgetc(file_);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        line.push_back(static_cast<char>(c));
        c = std::fgetc(file_);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++lineNumber_;
    return true;
}

ReadStatus LineReader::ReadText(std::size_t width, std::string& text, bool whole) {
    if (!NextLine(text)) return ReadStatus::EndOfFile;
    if (whole && text.find_last_not_of(' ') != std::string::npos && text.find_last_not_of(' ') >= width)
        return ReadStatus::BadValue;
    text.resize(width, ' ');
    return ReadStatus::Ok;
}

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
    std::string text(word);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < text.size()) {
        char e = text[i];
        if (e != 'E' && e != 'e' && e != 'D' && e != 'd') return false;
        text[i] = 'E';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < text.size() && IsDigit(text[i])) ++i, ++expDigits;
        if (expDigits == 0 || i != text.size()) return false;
    }
    errno = 0;
    float v = std::strtof(text.c_str(), nullptr);
    if (!std::isfinite(v)) return false;
    value = v;
    return true;
}

ReadStatus LineReader::ReadList(std::vector<std::variant<int32_t*, float*>> targets) {
    std::size_t next = 0;
    std::string line;
    while (next < targets.size()) {
        if (!NextLine(line)) return ReadStatus::EndOfFile;
        std::size_t pos = 0;
        while (next < targets.size()) {
            while (pos < line.size() && IsSeparator(line[pos])) ++pos;
            if (pos == line.size()) break;
            std::size_t end = pos;
            while (end < line.size() && !IsSeparator(line[end])) ++end;
            std::string_view word(line.data() + pos, end - pos);
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

std::string Stars(int width) { return std::string(static_cast<std::size_t>(width > 0 ? width : 0), '*'); }

std::string RightJustify(const std::string& text, int width) {
    if (static_cast<int>(text.size()) > width) return Stars(width);
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::string NonFinite(float value, int width) {
    if (std::isnan(value)) return RightJustify("NaN", width);
    return RightJustify(value < 0 ? "-Infinity" : "Infinity", width);
}

// Decimal digits and exponent of |value| rounded to `digits` significant
// digits: |value| = 0.d1d2...dn * 10^exponent. Zero gives all zeros and 0.
void Decompose(float value, int digits, std::string& mantissa, int& exponent) {
    if (value == 0.0f || digits <= 0) {
        mantissa.assign(static_cast<std::size_t>(digits > 0 ? digits : 0), '0');
        exponent = 0;
        return;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, std::fabs(static_cast<double>(value)));
    mantissa.clear();
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p)
        if (IsDigit(*p)) mantissa.push_back(*p);
    exponent = std::atoi(p + 1) + 1;
}

}  // namespace

std::string EditE(float value, int width, int digits) {
    if (!std::isfinite(value)) return NonFinite(value, width);
    std::string mantissa;
    int exponent = 0;
    Decompose(value, digits, mantissa, exponent);
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    std::string sign = (value < 0.0f) ? "-" : "";
    std::string text = sign + "0." + mantissa + exp;
    if (static_cast<int>(text.size()) > width) text = sign + "." + mantissa + exp;
    return RightJustify(text, width);
}

std::string EditF(float value, int width, int digits) {
    if (!std::isfinite(value)) return NonFinite(value, width);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, std::fabs(static_cast<double>(value)));
    std::string magnitude = buffer;
    bool allZero = magnitude.find_first_not_of("0.") == std::string::npos;
    std::string sign = (value < 0.0f && !allZero) ? "-" : "";
    std::string text = sign + magnitude;
    if (static_cast<int>(text.size()) > width && magnitude.rfind("0.", 0) == 0)
        text = sign + magnitude.substr(1);
    return RightJustify(text, width);
}

std::string EditI(int32_t value, int width, int minDigits) {
    long long v = value;
    std::string digits = std::to_string(v < 0 ? -v : v);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return RightJustify((v < 0 ? "-" : "") + digits, width);
}

std::string EditA(const std::string& value, int width) {
    if (width < 0) return value;
    if (static_cast<int>(value.size()) >= width) return value.substr(0, static_cast<std::size_t>(width));
    return std::string(static_cast<std::size_t>(width) - value.size(), ' ') + value;
}

std::string ListInteger(int32_t value) { return EditI(value, 12, 1); }

std::string ListReal(float value) {
    // Nine significant digits, as a fixed number when 0.1 <= |value| < 1E9
    // (four trailing blanks stand in for the exponent), otherwise with one
    // digit before the point and a two-digit exponent.
    constexpr int kDigits = 9;
    if (!std::isfinite(value)) return NonFinite(value, 17);
    std::string mantissa;
    int exponent = 0;
    Decompose(value, kDigits, mantissa, exponent);
    std::string sign = value < 0.0f ? "-" : "";
    std::string text;
    if (value == 0.0f || (exponent >= 0 && exponent <= kDigits)) {
        std::string whole = exponent > 0 ? mantissa.substr(0, static_cast<std::size_t>(exponent)) : "0";
        std::string fraction = exponent > 0 ? mantissa.substr(static_cast<std::size_t>(exponent)) : mantissa;
        if (value == 0.0f) fraction.assign(kDigits - 1, '0');
        text = sign + whole + "." + fraction + "    ";
    } else {
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", exponent - 1 < 0 ? '-' : '+', std::abs(exponent - 1));
        text = sign + mantissa.substr(0, 1) + "." + mantissa.substr(1) + exp;
    }
    return RightJustify(text, 17);
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
            break;
        default:
            Fail();
        }
        item.repeat = count < 0 ? 1 : count;
        return item;
    }

    char Current() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }

    std::string_view s_;
    std::size_t pos_ = 0;
};

struct Formatter {
    explicit Formatter(const std::vector<Value>& v) : values(v) {}
    const std::vector<Value>& values;
    std::size_t next = 0;
    std::vector<std::string> records;
    std::string record;
    // Blanks of X descriptors are written only when something follows them
    // in the same record.
    std::size_t pendingBlanks = 0;

    void Put(const std::string& text) {
        record.append(pendingBlanks, ' ');
        pendingBlanks = 0;
        record += text;
    }
    void EndRecord() {
        records.push_back(record);
        record.clear();
        pendingBlanks = 0;
    }

    // Runs `items`; false when a data descriptor found no value left.
    bool Run(const std::vector<Layout::Item>& items, std::size_t from = 0) {
        using Item = Layout::Item;
        for (std::size_t k = from; k < items.size(); ++k) {
            const Item& item = items[k];
            for (int r = 0; r < item.repeat; ++r) {
                switch (item.kind) {
                case Item::Text: Put(item.text); break;
                case Item::Skip: pendingBlanks += static_cast<std::size_t>(item.width); break;
                case Item::Slash: EndRecord(); break;
                case Item::Group:
                    if (!Run(item.group)) return false;
                    break;
                default:
                    if (next == values.size()) return false;
                    Put(Edit(item, values[next++]));
                }
            }
        }
        return true;
    }

    static std::string Edit(const Layout::Item& item, const Value& value) {
        using Item = Layout::Item;
        if (const auto* text = std::get_if<std::string>(&value)) {
            return item.kind == Item::A ? EditA(*text, item.width) : Stars(item.width);
        }
        float real = 0.0f;
        int32_t integer = 0;
        bool isReal = std::holds_alternative<float>(value);
        if (isReal)
            real = std::get<float>(value);
        else
            integer = std::get<int32_t>(value);
        switch (item.kind) {
        case Item::I: return isReal ? Stars(item.width) : EditI(integer, item.width, item.digits);
        case Item::F: return EditF(isReal ? real : static_cast<float>(integer), item.width, item.digits);
        case Item::E: return EditE(isReal ? real : static_cast<float>(integer), item.width, item.digits);
        default: return Stars(item.width < 0 ? 1 : item.width);
        }
    }
};

}  // namespace

Layout::Layout(std::string_view text) { items_ = LayoutParser(text).ParseAll(reversionPoint_); }

std::vector<std::string> Layout::Format(const std::vector<Value>& values) const {
    Formatter f(values);
    std::size_t start = 0;
    while (true) {
        std::size_t before = f.next;
        bool complete = f.Run(items_, start);
        if (!complete || f.next == values.size() || f.next == before) break;
        // Values remain: a new record, resuming at the last top-level group.
        f.EndRecord();
        start = reversionPoint_;
    }
    f.EndRecord();
    return f.records;
}

// ================================================================ files

RecordWriter::~RecordWriter() { Close(); }

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
    bool written = std::ferror(file_) == 0 && std::fflush(file_) == 0 &&
                   (target_.empty() || fsync(fileno(file_)) == 0);
    written = std::fclose(file_) == 0 && written;
    file_ = nullptr;
    if (target_.empty()) return written;
    written = written && std::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (!written) unlink(temporary_.c_str());
    return written;
}

void RecordWriter::Write(const Layout& layout, const std::vector<Value>& values) {
    if (!file_) return;
    for (const std::string& record : layout.Format(values)) WriteLine(record);
}

void RecordWriter::WriteLine(const std::string& record) {
    if (!file_) return;
    std::fwrite(record.data(), 1, record.size(), file_);
    std::fputc('\n', file_);
}

}  // namespace fio
