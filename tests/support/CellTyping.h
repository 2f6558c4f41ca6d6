#pragma once

// Typing into a table window's cell as a person does: the cell's editor
// opened (by a click, or on the current cell), a wait for it, then the keys.
#include "TableGrid.h"

#include <QLineEdit>
#include <QTest>

// Waits for the editor of the current cell and types over its text; null
// when no editor opened.
inline QLineEdit* TypeIntoOpeningEditor(TTableGrid& grid, const QString& text)
{
    for (int waited = 0; !grid.indexWidget(grid.currentIndex()) && waited < 2000; waited += 50)
        QTest::qWait(50);
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
    if (!editor)
        return nullptr;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    return editor;
}

// Clicks the cell and types over the text of the editor that opens on it.
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
    return TypeIntoOpeningEditor(grid, text);
}

// Opens the editor on the current cell and types over its text.
inline QLineEdit* TypeIntoCurrentCell(TTableGrid& grid, const QString& text)
{
    grid.setFocus();
    if (!grid.indexWidget(grid.currentIndex()))
        grid.edit(grid.currentIndex());
    return TypeIntoOpeningEditor(grid, text);
}

// Enter on the open editor, or on the grid when none is open.
inline void PressEnter(TTableGrid& grid)
{
    QWidget* target = grid.indexWidget(grid.currentIndex());
    QTest::keyClick(target ? target : &grid, Qt::Key_Return);
}
