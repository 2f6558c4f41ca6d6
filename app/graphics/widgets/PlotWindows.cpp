#include "PlotWindows.h"

#include "MainGraphs.h"
#include "PlotForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <memory>

TPlotForm* ShowPlot(TGraphPlot& graph, QMdiArea& area)
{
    for (QMdiSubWindow* window : area.subWindowList()) {
        auto* form = qobject_cast<TPlotForm*>(window->widget());
        if (form == nullptr || &form->Graph() != &graph)
            continue;
        if (window->isMinimized())
            window->showNormal();
        else
            window->show();
        area.setActiveSubWindow(window);
        return form;
    }
    auto* form = new TPlotForm(graph);
    QMdiSubWindow* window = area.addSubWindow(form);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Restored later, the window takes the size the form asks for.
    window->resize(window->sizeHint());
    window->showMaximized();
    return form;
}

void RefreshPlotWindows(QMdiArea& area, bool plotsAvailable)
{
    for (QMdiSubWindow* window : area.subWindowList()) {
        auto* form = qobject_cast<TPlotForm*>(window->widget());
        if (form == nullptr)
            continue;
        if (plotsAvailable)
            form->Rebuild();
        else
            window->close();
    }
}

void ShowPlotMenus(QMdiArea& area, QMenuBar& bar, QAction* before)
{
    auto shown = std::make_shared<QPointer<QAction>>();
    QObject::connect(&area, &QMdiArea::subWindowActivated, &bar, [&bar, before, shown](QMdiSubWindow* window) {
        if (*shown)
            bar.removeAction(*shown);
        *shown = nullptr;
        auto* form = window != nullptr ? qobject_cast<TPlotForm*>(window->widget()) : nullptr;
        if (form == nullptr)
            return;
        *shown = form->PlotMenu()->menuAction();
        bar.insertAction(before, *shown);
    });
}
