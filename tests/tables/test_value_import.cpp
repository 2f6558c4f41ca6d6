// Reading number lines and tab-separated blocks into a table: the line
// splitter, the counting of lines, the row limits and entry errors.

#include "DecimalText.h"
#include "Evaluator.h"
#include "GridTable.h"
#include "NumberText.h"
#include "ValueImport.h"

#include <gtest/gtest.h>

#include <clocale>

#include <memory>

namespace {

using Numbers = std::vector<long double>;

// A table filled the way its window fills it: rows added and deleted by row
// group, every value typed into the visible columns.
class TableTarget : public TValueImportTarget {
public:
    explicit TableTarget(TGridTable& table) : Table(table) {}

    int DataColumns() const override { return Table.VisibleColumnCount(); }
    int RowCount() const override { return Table.RowCount(); }
    int MaxRows() const override { return Table.MaxRows; }
    void AppendRow() override
    {
        Table.AppendRowGroup();
        ++Appended;
    }
    void SetCell(int column, int row, const std::string& text) override
    {
        Texts.push_back(text);
        Table.VisibleColumn(column).GetData(row).SetText(text);
    }
    void DeleteRow(int row) override
    {
        Table.DeleteRowGroup(row);
        ++Deleted;
    }

    TGridTable& Table;
    std::vector<std::string> Texts;
    int Appended = 0;
    int Deleted = 0;
};

std::unique_ptr<TGridTable> CurveTable(int rows, int maxRows = 100)
{
    auto table = std::make_unique<TGridTable>();
    table->Chart.emplace();
    table->Caption = "t-z curve";
    table->SetMinRows(2);
    table->MaxRows = maxRows;
    table->AddColumn<TFloatColumn>({"Load Transfer (t),"}).UnitString = "F/L^2";
    table->AddColumn<TFloatColumn>({"Pile Movement (z),"}).UnitString = "L";
    table->SetRowCount(rows);
    return table;
}

std::vector<std::string> Column(const TGridTable& table, int col)
{
    std::vector<std::string> texts;
    for (int row = 0; row < table.RowCount(); ++row)
        texts.push_back(table.GetData(col, row).AsString());
    return texts;
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(SplitNumberLine, NumbersUpToTheFirstWordThatIsNone)
{
    EXPECT_EQ(SplitNumberLine("t z", "."), Numbers{});
    EXPECT_EQ(SplitNumberLine("", "."), Numbers{});
    EXPECT_EQ(SplitNumberLine("   \t ", "."), Numbers{});
    EXPECT_EQ(SplitNumberLine("0 0", "."), (Numbers{0, 0}));
    EXPECT_EQ(SplitNumberLine("1.5,0.1", "."), (Numbers{1.5L, 0.1L}));
    EXPECT_EQ(SplitNumberLine("1.5, 0.1", "."), (Numbers{1.5L, 0.1L}));
    EXPECT_EQ(SplitNumberLine("3\t0.3", "."), (Numbers{3, 0.3L}));
    EXPECT_EQ(SplitNumberLine("  \t 3 \t 0.3  ", "."), (Numbers{3, 0.3L}));
    EXPECT_EQ(SplitNumberLine("3\t0.3\r", "."), (Numbers{3, 0.3L}));
    EXPECT_EQ(SplitNumberLine("-2E-3 +4", "."), (Numbers{-0.002L, 4}));
    // The numbers before a word count; the word ends the line.
    EXPECT_EQ(SplitNumberLine("1 2 three 4", "."), (Numbers{1, 2}));
    EXPECT_EQ(SplitNumberLine("1 2 x", "."), (Numbers{1, 2}));
    EXPECT_EQ(SplitNumberLine("1,,2", "."), (Numbers{1}));
    EXPECT_EQ(SplitNumberLine("12kN 3", "."), Numbers{});
}

TEST(SplitNumberLine, AtMostFifteenNumbers)
{
    std::string line;
    for (int i = 1; i <= 17; ++i)
        line += std::to_string(i) + " ";
    const Numbers numbers = SplitNumberLine(line, ".");
    ASSERT_EQ(numbers.size(), 15u);
    EXPECT_EQ(numbers.back(), 15);
    EXPECT_EQ(SplitNumberLine("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", ".").size(), 15u);
}

TEST(SplitNumberLine, DecimalCommaUnderACommaLocale)
{
    EXPECT_EQ(SplitNumberLine("1,5\t0,25", ","), (Numbers{1.5L, 0.25L}));
    EXPECT_EQ(SplitNumberLine("1,5 2", ","), (Numbers{1.5L, 2}));
    // A point is no decimal point there.
    EXPECT_EQ(SplitNumberLine("1.5 2", ","), Numbers{});
}

TEST(SplitTextLines, AtCrLfCrOrLf)
{
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (Texts{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb\r\n"), (Texts{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines(""), Texts{});
}

TEST(TabBlock, CellsAtTabsRowsAtLineBreaks)
{
    const auto cells = SplitTabBlock("1\t2\r\n3\t\r\n\t4\r\n\r\n");
    EXPECT_EQ(cells, (std::vector<Texts>{{"1", "2"}, {"3", ""}, {"", "4"}}));
    EXPECT_EQ(JoinTabBlock({{"1", "2.5"}, {"x"}}), "1\t2.5\nx\n");
    EXPECT_EQ(SplitTabBlock(JoinTabBlock({{"1", "2.5"}, {"x", ""}})), (std::vector<Texts>{{"1", "2.5"}, {"x", ""}}));
}

TEST(ImportNumberLines, HeadingSkippedRowsFilledSurplusDeleted)
{
    auto table = CurveTable(6);
    TableTarget target(*table);
    const int filled = ImportNumberLines(SplitTextLines("t z\r\n0 0\r\n1.5,0.1\r\n3\t0.3\r\n"), ".", target);
    EXPECT_EQ(filled, 3);
    EXPECT_EQ(table->RowCount(), 3);
    EXPECT_EQ(Column(*table, 0), (Texts{"0", "1.5", "3"}));
    EXPECT_EQ(Column(*table, 1), (Texts{"0", "0.1", "0.3"}));
    EXPECT_EQ(target.Appended, 0);
    EXPECT_EQ(target.Deleted, 3);
}

// The message of the EAssignError that `call` throws; empty without one.
template <class Fn>
std::string Refusal(Fn&& call)
{
    try {
        call();
    } catch (const EAssignError& error) {
        return error.what();
    }
    return {};
}

TEST(ImportNumberLines, RowsAddedUpToMaxRowsAndMoreRefused)
{
    auto table = CurveTable(2);
    TableTarget target(*table);
    std::vector<std::string> lines;
    for (int i = 0; i < 101; ++i)
        lines.push_back(std::to_string(i) + " " + std::to_string(i * 0.01));
    EXPECT_EQ(Refusal([&] { ImportNumberLines(lines, ".", target); }),
              "The values fill 101 rows; the table takes at most 100.\nNothing was entered.");
    EXPECT_EQ(table->RowCount(), 2);
    lines.pop_back();
    EXPECT_EQ(ImportNumberLines(lines, ".", target), 100);
    EXPECT_EQ(target.Appended, 98);
    EXPECT_EQ(table->GetData(0, 99).AsString(), "99");
    EXPECT_EQ(table->GetData(1, 99).AsString(), "0.99");
}

TEST(ImportNumberLines, LinesOfAnotherCountAreNamedAndNothingChanges)
{
    auto table = CurveTable(3);
    table->GetData(0, 0).SetFloat(7);
    TableTarget target(*table);
    // A mistyped zero and a decimal comma among the values.
    EXPECT_EQ(Refusal([&] { ImportNumberLines({"Q w", "0 0", "O.05 34.35", "", "6,5 0.1", "1 2"}, ".", target); }),
              "These lines do not hold 2 numbers:\nline 3: O.05 34.35\nline 5: 6,5 0.1\nNothing was entered.");
    EXPECT_EQ(table->RowCount(), 3);
    EXPECT_EQ(table->GetData(0, 0).AsString(), "7");
    EXPECT_EQ(target.Texts, Texts{});
    const std::string many = Refusal([&] { ImportNumberLines({"1", "2", "3", "4", "5 6"}, ".", target); });
    EXPECT_NE(many.find("line 3: 3\n(and 1 more)"), std::string::npos) << many;
}

TEST(ImportNumberLines, ValuesEnteredAsFifteenDigitText)
{
    auto table = CurveTable(2);
    TableTarget target(*table);
    ImportNumberLines({"0.1 123456789012345678", "1e-7 2"}, ".", target);
    EXPECT_EQ(target.Texts, (Texts{"0.1", "1.23456789012346E17", "1E-7", "2"}));
    EXPECT_EQ(table->GetData(1, 0).AsFloat(), 1.23456789012346E17L);
}

TEST(ImportNumberLines, DecimalCommaLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale";
    // The texts carry a comma, as the user types them there.
    auto table = CurveTable(2);
    TableTarget target(*table);
    ImportNumberLines({"Last\tWeg", "0,5\t2,25", "1,5\t3"}, LocaleDecimalPoint(), target);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(target.Texts, (Texts{"0,5", "2,25", "1,5", "3"}));
    EXPECT_EQ(table->GetData(1, 0).AsFloat(), 2.25L);
    EXPECT_EQ(table->GetData(0, 1).AsFloat(), 1.5L);
}

TEST(ImportNumberLines, EntryErrorStopsKeepingTheRowsFilled)
{
    auto table = std::make_unique<TGridTable>();
    table->Chart.emplace();
    table->MaxRows = 10;
    table->AddColumn<TEnumColumn>({"Type"}).SetItems({"a", "b", "c"});
    table->SetRowCount(1);
    TableTarget target(*table);
    // A type must be a whole number.
    EXPECT_NE(Refusal([&] { ImportNumberLines({"1", "2", "2.5", "3"}, ".", target); }).find("\nline 3: 2.5\n"),
              std::string::npos);
    EXPECT_EQ(table->RowCount(), 3);
    EXPECT_EQ(table->GetData(0, 0).AsString(), "1");
    EXPECT_EQ(table->GetData(0, 1).AsString(), "2");
}

TEST(PasteCells, BlockAtTheCellRowsAddedWithinMaxRows)
{
    auto table = CurveTable(2, 4);
    TableTarget target(*table);
    // A block that would pass MaxRows is refused whole.
    const auto block = SplitTabBlock("1\t0.1\r\n2\t0.2\r\n3\t0.3\r\n4\t0.4\r\n");
    EXPECT_EQ(Refusal([&] { PasteCells(block, 0, 1, target); }),
              "The values fill 5 rows; the table takes at most 4.\nNothing was entered.");
    EXPECT_EQ(table->RowCount(), 2);
    EXPECT_EQ(PasteCells({block.begin(), block.end() - 1}, 0, 1, target), 3);
    EXPECT_EQ(table->RowCount(), 4);
    EXPECT_EQ(Column(*table, 0), (Texts{"0", "1", "2", "3"}));
    EXPECT_EQ(Column(*table, 1), (Texts{"0", "0.1", "0.2", "0.3"}));
    // Cells beyond the last column are left out; expressions are evaluated.
    EXPECT_EQ(PasteCells({{"2*3", "7", "8"}}, 1, 0, target), 1);
    EXPECT_EQ(table->GetData(1, 0).AsString(), "6");
}

TEST(PasteCells, EntryErrorStopsWithTheCellsBeforeItEntered)
{
    auto table = CurveTable(2);
    TableTarget target(*table);
    EXPECT_NE(Refusal([&] { PasteCells({{"1", "2"}, {"3", "abc"}, {"5", "6"}}, 0, 0, target); }).find("\nline 2: 3\tabc\n"),
              std::string::npos);
    EXPECT_EQ(Column(*table, 0), (Texts{"1", "3"}));
    EXPECT_EQ(Column(*table, 1), (Texts{"2", "0"}));
}

TEST(GeneralNumberText, SignificantDigitsAndExponentForm)
{
    EXPECT_EQ(GeneralNumberText(2.5L, 15), "2.5");
    EXPECT_EQ(GeneralNumberText(0.1L, 15), "0.1");
    EXPECT_EQ(GeneralNumberText(1.0L / 3, 15), "0.333333333333333");
    EXPECT_EQ(GeneralNumberText(0.00001L, 15), "0.00001");
    EXPECT_EQ(GeneralNumberText(0.000001L, 15), "1E-6");
    EXPECT_EQ(GeneralNumberText(123456789012345.0L, 15), "123456789012345");
    EXPECT_EQ(GeneralNumberText(1234567890123456.0L, 15), "1.23456789012346E15");
    EXPECT_EQ(GeneralNumberText(-12.5L, 15, ","), "-12,5");
    EXPECT_EQ(GeneralNumberText(123456789.0L, 8), "1.2345679E8");
}
