#include "PlotWindows.h"

#include "MainGraphs.h"
#include "PlotForm.h"
#include "UserPrompts.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
    window->showMaximized();
    return form;
}

bool ReadPlotFile(TMainGraphs& graphs, const std::string& fileName, int projectUnits, bool interactive,
                  QWidget* parent)
{
    const bool read = ReadPlotFile(graphs, fileName, projectUnits);
    if (!read && interactive)
        Prompts().Inform(parent, QString::fromStdString(PlotReadFailedMessage));
    return read;
}
