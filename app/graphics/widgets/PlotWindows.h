#pragma once

// What the main window needs of the plot windows: showing a graph's window
// among its child windows and keeping them up to date.

class QAction;
class QMdiArea;
class QMenuBar;
class QWidget;
class TGraphPlot;
class TPlotForm;

// Shows the plot window of a graph in the area: the graph's existing window,
// restored when minimised, or else a new maximised one. Closing the window
// destroys it; the next call builds a fresh one. A window paints its graph
// until it is closed, so the graph must outlive it (the main window owns both
// for the program's life; nothing of the window touches the graph while it is
// being destroyed).
TPlotForm* ShowPlot(TGraphPlot& graph, QMdiArea& area);

// Brings every open plot window in the area up to date after the graphs'
// curves were replaced or cleared (a project opened or made new, a run):
// with plotsAvailable each window starts afresh from its graph's new curves
// (ranges, legend, menu); without, the windows close, for their graphs hold
// no results of the current project.
void RefreshPlotWindows(QMdiArea& area, bool plotsAvailable);

// Shows the Plot menu of the active plot window of the area in the menu bar,
// before the entry `before`, while that window is active.
void ShowPlotMenus(QMdiArea& area, QMenuBar& bar, QAction* before);
