#pragma once

// How tables open their windows. The main window installs the window maker
// once with its MDI area and the program's text editor (for "View/Edit
// File" of the chart windows); a table then opens its window with ShowTable:
//   InstallTableWindows(mdiArea, [this] { return Settings.EditorPath; });
//   ShowTable(tables.TblTipMove);             // a child window of the area
//   ShowTable(tables.TblTZDepth2, true);      // a modal dialog
// A table with chart properties gets a TTableChartForm, any other a
// TTableForm. Without an area the windows are top-level windows. Before a
// maker is installed ShowTable does nothing.

#include "GridTable.h"

#include <QString>

#include <functional>
#include <memory>

class QMdiArea;
class QWidget;

// Makes the window of a table, which the table then owns (SetEditor).
using TTableWindowMaker = std::function<std::unique_ptr<TTableEditor>(TGridTable& table)>;

void SetTableWindowMaker(TTableWindowMaker maker);
// Sets the maker of the program's table windows.
void InstallTableWindows(QMdiArea* area, std::function<QString()> textEditor = {});

// Shows the table's window, made first when the table has none (nothing for a
// table without visible columns); modal as a dialog. A window made here is
// embedded in `formParent` when given.
void ShowTable(TGridTable& table, bool modal = false, QWidget* formParent = nullptr);
