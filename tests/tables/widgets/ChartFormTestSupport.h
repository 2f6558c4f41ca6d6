#pragma once

// Helpers of the table-with-chart window tests: tables, windows, typing.

#include "CellTyping.h"
#include "ProjectTables.h"
#include "TableChartForm.h"
#include "TableWindows.h"
#include "TableGrid.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace chart_form_test {

using Points = std::vector<TChartPoint>;

inline const QString Editor = QStringLiteral("/opt/editors/plain-edit");

inline TTableChartForm& OpenChartForm(TGridTable& table)
{
    ShowTable(table);
    auto* form = dynamic_cast<TTableChartForm*>(TableForm(table));
    if (!form)
        qFatal("no chart window opened");
    return *form;
}

inline void Fill(TGridTable& table, const std::vector<std::vector<long double>>& rows)
{
    table.SetRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
            table.GetData(c, r).SetFloat(rows[r][c]);
}

// A chart table of one float column per caption, drawing y against x.
inline std::unique_ptr<TGridTable> ChartTable(const std::vector<std::string>& captions, int x, int y,
                                                   int maxRows = 100)
{
    auto table = std::make_unique<TGridTable>();
    table->Chart.emplace();
    table->Caption = "Curve";
    table->SetMinRows(1);
    table->MaxRows = maxRows;
    for (const std::string& caption : captions)
        table->AddColumn<TFloatColumn>({caption});
    table->Chart->Graph.ShowGraph = true;
    table->Chart->Graph.XColumn = x;
    table->Chart->Graph.YColumn = y;
    table->Chart->GetDataFromFile = true;
    return table;
}

inline QWidget* KeyTarget(TTableGrid& grid)
{
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    return editor ? editor : &grid;
}

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(text);
    return path;
}

inline std::vector<std::string> Column(const TGridTable& table, int col)
{
    std::vector<std::string> texts;
    for (int row = 0; row < table.RowCount(); ++row)
        texts.push_back(table.GetData(col, row).AsString());
    return texts;
}

using Texts = std::vector<std::string>;

inline void ProcessDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace chart_form_test
