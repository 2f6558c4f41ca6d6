#pragma once

// Typing into a table window's cell as a person does: a click on the cell,
// a wait for its editor, then the keys.
#include "TableGrid.h"

#include <QLineEdit>
#include <QTest>

// Clicks the cell and types over the text of the editor that opens on it;
// null when no editor opened.
inline QLineEdit* ClickAndType(TTableGrid& grid, int row, int col, const QString& text)
{
    // The click lands on what lies there: an open editor, or the cell.
    const QPoint at = grid.visualRect(grid.model()->index(row, col)).center();
    QWidget* under = grid.viewport()->childAt(at);
    if (under)
        QTest::mouseClick(under, Qt::LeftButton, Qt::NoModifier, under->mapFrom(grid.viewport(), at));
    else
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    // A click on the current cell opens its editor after the double-click time.
    for (int waited = 0; !grid.indexWidget(grid.currentIndex()) && waited < 2000; waited += 50)
        QTest::qWait(50);
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
    if (!editor)
        return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    return editor;
}
