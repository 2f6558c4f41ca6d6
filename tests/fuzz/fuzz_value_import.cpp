// libFuzzer target: any bytes as text imported into a table-with-chart
// window (number lines of a file or the clipboard) or pasted as a block of
// cells. The first byte chooses the decimal point, the table's data columns
// and its row limit. Every cell the import enters lies inside the table,
// every number it writes is an entry the cell accepts as that number, and
// text it refuses (EAssignError) leaves the table as it was.
#include "Evaluator.h"
#include "ValueImport.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

class TFuzzTarget : public TValueImportTarget {
public:
    TFuzzTarget(int columns, int maxRows, bool numbers) : FColumns(columns), FMaxRows(maxRows), FNumbers(numbers) {}

    int DataColumns() const override { return FColumns; }
    int RowCount() const override { return FRows; }
    int MaxRows() const override { return FMaxRows; }
    void AppendRow() override
    {
        if (FMaxRows > 0 && FRows >= FMaxRows)
            std::abort();  // past the table's limit
        ++FRows;
    }
    void SetCell(int column, int row, const std::string& text) override
    {
        if (column < 0 || column >= FColumns || row < 0 || row >= FRows)
            std::abort();
        if (!FNumbers)
            return;
        try {
            if (!std::isfinite(Evaluate(text)))
                std::abort();
        } catch (const EAssignError&) {
            std::abort();  // a number the import wrote must read back
        }
    }
    void DeleteRow(int row) override
    {
        if (row < 0 || row >= FRows)
            std::abort();
        --FRows;
    }

private:
    int FColumns;
    int FMaxRows;
    bool FNumbers;
    int FRows = 1;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const int columns = 1 + (choice & 3);
    const int maxRows = (choice >> 2) & 7;
    const std::string_view point = (choice & 0x80) ? "," : ".";

    for (const std::string& line : SplitTextLines(text))
        if (SplitNumberLine(line, point).size() > static_cast<std::size_t>(MaxNumbersPerLine))
            std::abort();
    // The evaluator reads "." only: numbers are checked with that point.
    TFuzzTarget numbers(columns, maxRows, point == ".");
    try {
        ImportNumberLines(SplitTextLines(text), point, numbers);
    } catch (const EAssignError&) {
        if (numbers.RowCount() != 1)
            std::abort();  // refused, yet rows were added or deleted
    }

    const auto cells = SplitTabBlock(text);
    if (SplitTabBlock(JoinTabBlock(cells)) != cells)
        std::abort();  // a copied block must paste back as it was
    TFuzzTarget block(columns, maxRows, false);
    try {
        PasteCells(cells, choice & 1, 0, block);
    } catch (const EAssignError&) {
        if (block.RowCount() != 1)
            std::abort();  // refused, yet rows were added or deleted
    }
    return 0;
}
