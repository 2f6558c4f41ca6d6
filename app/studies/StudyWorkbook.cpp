#include "StudyWorkbook.h"

#include "XlsxWorkbook.h"

#include <sstream>

void SaveStudyWorkbook(const TCsvTables& tables, const std::string& fileName)
{
    TXlsxWorkbook book;
    TWorksheet* sheet = &book.Worksheet(1);
    for (std::size_t t = 0; t < tables.size(); ++t) {
        if (t > 0)
            sheet = &book.AddWorksheet(*sheet);
        sheet->SetName(tables[t].first);
        std::istringstream text(tables[t].second);
        int row = 0, columns = 1;
        for (std::string line; std::getline(text, line);) {
            const std::vector<std::string> cells = CsvCells(line);
            ++row;
            columns = std::max(columns, static_cast<int>(cells.size()));
            for (std::size_t c = 0; c < cells.size(); ++c)
                if (!cells[c].empty())
                    sheet->SetCell(row, static_cast<int>(c) + 1, cells[c]);
        }
        const std::string last = GetExcelCol(columns);
        sheet->SetBold("A1:" + last + "1");
        sheet->FitColumns("A1:" + last + std::to_string(std::max(row, 1)));
    }
    book.Worksheet(1).Activate();
    book.SaveAs(fileName);
}
