#include "TableWindows.h"

#include "TableChartForm.h"

#include <QMdiArea>
#include <QPointer>

namespace {

TTableWindowMaker& Maker()
{
    static TTableWindowMaker maker;
    return maker;
}

}  // namespace

void SetTableWindowMaker(TTableWindowMaker maker)
{
    Maker() = std::move(maker);
}

void InstallTableWindows(QMdiArea* area, std::function<QString()> textEditor)
{
    SetTableWindowMaker([area = QPointer<QMdiArea>(area), textEditor](TGridTable& table) {
        TTableForm* form = table.Chart ? new TTableChartForm(table, area.data(), textEditor)
                                       : new TTableForm(table, area.data());
        return std::make_unique<TTableWindow>(form);
    });
}

void ShowTable(TGridTable& table, bool modal, QWidget* formParent)
{
    if (table.VisibleColumnCount() == 0)
        return;
    if (!table.Editor()) {
        if (!Maker())
            return;
        table.SetEditor(Maker()(table));
        if (TTableForm* form = TableForm(table))
            form->FormParent = formParent;
    }
    table.Editor()->ShowEditor(modal);
}
