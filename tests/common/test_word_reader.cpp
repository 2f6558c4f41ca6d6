#include "WordReader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <limits>

#include <unistd.h>

namespace {

// A text file in the test's temporary folder, removed afterwards. The name
// holds the process id: ctest runs each test in a process of its own, several
// at once.
class TTextFile {
public:
    explicit TTextFile(const std::string& content)
        : FPath(std::filesystem::temp_directory_path() /
                ("word_reader_" + std::to_string(::getpid()) + "_" + std::to_string(++Counter) + ".txt"))
    {
        std::ofstream(FPath, std::ios::binary) << content;
    }
    ~TTextFile() { std::filesystem::remove(FPath); }
    std::string Path() const { return FPath.string(); }

private:
    static inline int Counter = 0;
    std::filesystem::path FPath;
};

template <typename Read>
std::string ErrorOf(Read read)
{
    try {
        read();
    } catch (const EInOutError& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace

TEST(WordReader, TypedReadsAcrossLines)
{
    TTextFile file("3\n1.5 2.5\n");
    TWordReader reader(file.Path());
    EXPECT_EQ(reader.ReadInteger(), 3);
    EXPECT_EQ(reader.ReadFloat(), 1.5L);
    EXPECT_EQ(reader.ReadFloat(), 2.5L);
    EXPECT_EQ(ErrorOf([&] { reader.ReadFloat(); }), "This file either invalid or incomplete.");
}

TEST(WordReader, FloatsBelowTheRangeReadAsDenormalOrZero)
{
    TTextFile file("1E-5000 1E-4940 -1e-4951\n1E5000\n");
    TWordReader reader(file.Path());
    EXPECT_EQ(reader.ReadFloat(), 0.0L);
    const long double denormal = reader.ReadFloat();
    EXPECT_GT(denormal, 0.0L);
    EXPECT_LT(denormal, std::numeric_limits<long double>::min());
    EXPECT_LE(reader.ReadFloat(), 0.0L);
    EXPECT_NE(ErrorOf([&] { reader.ReadFloat(); }), "no error");
}

TEST(WordReader, LinesAndLazyMoves)
{
    TTextFile file("Title line  \r\n 1 2\r\n\tnext\r\nlast");
    TWordReader reader(file.Path());
    EXPECT_EQ(reader.ReadLine(), "Title line  ");  // raw, untrimmed
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(reader.ReadInteger(), 2);
    // The typed reads stay on the line of their last word.
    EXPECT_EQ(reader.LineIndex(), 1u);
    EXPECT_EQ(reader.ReadLine(), " 1 2");
    EXPECT_EQ(reader.ReadLine(), "\tnext");
    EXPECT_EQ(reader.ReadLine(), "last");
    EXPECT_EQ(ErrorOf([&] { reader.ReadLine(); }), "This file either invalid or incomplete.");
}

TEST(WordReader, SeparatorsAndLineEnds)
{
    TTextFile file("  1\t\t2   3 \t\r4\n\n");
    TWordReader reader(file.Path());
    for (int expected = 1; expected <= 4; ++expected)
        EXPECT_EQ(reader.ReadInteger(), expected);
    // The final line end opens no further line; the empty line before it is one.
    EXPECT_EQ(reader.ReadLine(), "4");
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_THROW(reader.ReadLine(), EInOutError);
}

TEST(WordReader, EmptyFileHoldsOneEmptyLine)
{
    TTextFile file("");
    TWordReader reader(file.Path());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_THROW(reader.ReadLine(), EInOutError);
}

TEST(WordReader, ConversionMessagesNameLineAndItem)
{
    TTextFile file("1\n2\n3\n4\n5\n6\n1.0 abc\n2.5 4 1e3 3000000000\n");
    TWordReader reader(file.Path());
    for (int line = 1; line <= 6; ++line)
        reader.ReadLine();
    EXPECT_EQ(reader.ReadFloat(), 1.0L);
    EXPECT_EQ(ErrorOf([&] { reader.ReadFloat(); }),
              "Error on Line 7 Item 2\nA floating point number was expected but not found.");
    // The position is after the failing word.
    EXPECT_EQ(ErrorOf([&] { reader.ReadInteger(); }), "Error on Line 8 Item 1\nAn integer was expected but not found.");
    EXPECT_EQ(reader.ReadInteger(), 4);
    EXPECT_EQ(reader.ReadInteger(), 1000);
    EXPECT_EQ(ErrorOf([&] { reader.ReadInteger(); }), "Error on Line 8 Item 4\nAn integer was expected but not found.");
}

TEST(WordReader, EmptyLineWhereAWordIsDue)
{
    TTextFile file("1\n\n2\n");
    TWordReader reader(file.Path());
    EXPECT_EQ(reader.ReadInteger(), 1);
    EXPECT_EQ(ErrorOf([&] { reader.ReadInteger(); }), "Error on Line 2 Item 1\nAn integer was expected but not found.");
    EXPECT_EQ(reader.ReadInteger(), 2);
}

TEST(WordReader, FloatsUseAPointWhateverTheLocale)
{
    TTextFile file("1.5 -2.5E-3 +7 1,5\n");
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // when installed
    TWordReader reader(file.Path());
    EXPECT_EQ(reader.ReadFloat(), 1.5L);
    EXPECT_EQ(reader.ReadFloat(), -2.5E-3L);
    EXPECT_EQ(reader.ReadFloat(), 7.0L);
    EXPECT_THROW(reader.ReadFloat(), EInOutError);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(WordReader, IntegersUseTheLocaleDecimalSeparator)
{
    TTextFile file("3,0 4.0\n");
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    TWordReader reader(file.Path());
    EXPECT_EQ(reader.ReadInteger(), 3);
    EXPECT_THROW(reader.ReadInteger(), EInOutError);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(WordReader, UnreadableFilesAreInputOutputErrors)
{
    const std::string missing = "/nonexistent-folder/none.kv3d";
    const std::string folder = std::filesystem::temp_directory_path().string();
    for (const std::string& path : {missing, folder}) {
        const std::string message = ErrorOf([&] { TWordReader reader(path); });
        EXPECT_NE(message, "no error") << path;
        EXPECT_NE(message.find(path), std::string::npos) << message;
    }
}
