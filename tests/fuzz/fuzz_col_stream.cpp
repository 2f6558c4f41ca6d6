// libFuzzer target: any bytes as a table's column declaration ("Col"), read
// by a plain and a chart table. A read either succeeds or throws
// ETableError, as does making rows by what was read; a declaration that was
// read writes and reads back.
#include "GridTable.h"

#include <cstdlib>

namespace {

void ReadDeclaration(const std::vector<uint8_t>& bytes, bool hardwired, bool chart)
{
    TTableDirectory directory;
    TGridTable table;
    directory.Add(table);
    table.HardwiredButton = hardwired;
    if (chart)
        table.Chart.emplace();
    try {
        TValueReader reader(bytes);
        table.ReadCol(reader);
    } catch (const ETableError&) {
        return;
    }
    try {
        table.SetRowCount(2);  // makes the rows' nested tables from the templates
    } catch (const ETableError&) {
    }
    TValueWriter writer;
    table.WriteCol(writer);
    TGridTable copy;
    directory.Add(copy);
    copy.HardwiredButton = hardwired;
    copy.Chart = table.Chart;
    TValueReader again(writer.Bytes());
    copy.ReadCol(again);  // any exception here is a finding
    if (copy.ColumnCount() != table.ColumnCount())
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    for (bool hardwired : {false, true}) {
        ReadDeclaration(bytes, hardwired, false);
        ReadDeclaration(bytes, hardwired, true);
    }
    return 0;
}
