// The Plot menu of a plot window and what its entries do.

#include "PlotForm.h"

#include "ActiveLinesDialog.h"
#include "GraphCaptionDialog.h"
#include "GraphPlot.h"
#include "LineNamesDialog.h"
#include "PlotLegend.h"

#include <QActionGroup>
#include <QMenu>

#include <functional>
#include <utility>

namespace {

// A submenu of entries each standing for a number.
QMenu* NumberMenu(QMenu* parent, const QString& title, std::initializer_list<std::pair<const char*, int>> entries,
                  const std::function<void(int)>& choose)
{
    QMenu* menu = parent->addMenu(title);
    // Radio entries; none is checked when the value is none of theirs.
    auto* group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const auto& [text, number] : entries) {
        QAction* entry = group->addAction(QString::fromLatin1(text));
        menu->addAction(entry);
        entry->setCheckable(true);
        entry->setData(number);
        QObject::connect(entry, &QAction::triggered, menu, [choose, number = number] { choose(number); });
    }
    return menu;
}

// Checks the entry of a number submenu that stands for the value, if any.
void CheckNumber(QMenu* menu, int value)
{
    for (QAction* entry : menu->actions())
        entry->setChecked(entry->data().toInt() == value);
}

}  // namespace

void TPlotForm::BuildPlotMenu()
{
    FPlotMenu = new QMenu(QStringLiteral("&Plot"), this);
    FPlotMenu->setObjectName("PlotMenu");
    connect(FPlotMenu, &QMenu::aboutToShow, this, &TPlotForm::PlotMenuClick);

    FShowLegend = FPlotMenu->addAction(QStringLiteral("Show &Legend"), this, &TPlotForm::PlotLegendClick);
    FShowLegend->setCheckable(true);
    // Options of the component that no graph of this program has data for.
    FPlotMenu->addAction(QStringLiteral("Show &Soil Layer"))->setVisible(false);
    FPlotMenu->addAction(QStringLiteral("Show &Wall Geometry"))->setVisible(false);
    FMarkersMenu = NumberMenu(FPlotMenu, QStringLiteral("Show &Markers"),
                              {{"&Never", 0},
                               {"Every &Increment", 1},
                               {"Every &2 Increments", 2},
                               {"Every &3 Incrments", 3},
                               {"Every &5 Increments", 5},
                               {"Every &10 Incements", 10}},
                              [this](int markers) { MarkClick(markers); });
    connect(FMarkersMenu, &QMenu::aboutToShow, this, [this] { CheckNumber(FMarkersMenu, FGraph.Markers); });
    FFontMenu = NumberMenu(FPlotMenu, QStringLiteral("&Font Size"),
                           {{"&Default", 10},
                            {"1.5 * Default", 15},
                            {"2 * Default", 20},
                            {"2.5 * Default", 25},
                            {"3 * Default", 30},
                            {"4 * Default", 40}},
                           [this](int size) { SizeClick(size); });
    connect(FFontMenu, &QMenu::aboutToShow, this, [this] { CheckNumber(FFontMenu, FGraph.SizeFont); });
    FWidthMenu =
        NumberMenu(FPlotMenu, QStringLiteral("&Line Width"),
                   {{"&Default", 1}, {"2 * Default", 2}, {"4 * Default", 4}, {"6 * Default", 6}, {"10 * Default", 10}},
                   [this](int width) { WidthClick(width); });
    connect(FWidthMenu, &QMenu::aboutToShow, this, [this] { CheckNumber(FWidthMenu, FGraph.WidthLine); });
    FPlotMenu->addAction(QStringLiteral("&Graph Title"), this, &TPlotForm::PlotCaptionClick);
    FPlotMenu->addAction(QStringLiteral("&Edit Legend"), this, &TPlotForm::mLineNameClick);
    FPlotMenu->addAction(QStringLiteral("&Active Curves"), this, &TPlotForm::ActiveGraphsClick);
    FShowOverlays = FPlotMenu->addAction(QString::fromStdString(FGraph.OverlayCaption), this, [this] {
        FGraph.ShowOverlays = !FGraph.ShowOverlays;
        update();
    });
    FShowOverlays->setObjectName("ShowOverlays");
    FShowOverlays->setCheckable(true);
    FPlotMenu->addSeparator();
    // A PDF file is always a print target, so printing needs no printer.
    FPlotMenu->addAction(QStringLiteral("&Print..."), this, &TPlotForm::PlotPrintClick);
    FPlotMenu->addAction(QStringLiteral("P&age Setup"), this, &TPlotForm::PlotPageClick);
    FPlotMenu->addAction(QStringLiteral("&Save To Disk..."), this, &TPlotForm::PlotSaveClick);
    FPlotMenu->addAction(QStringLiteral("Save as P&DF..."), this, &TPlotForm::PlotPdfClick);
    FPlotMenu->addSeparator();
}

void TPlotForm::PlotMenuClick()
{
    FShowLegend->setChecked(FGraph.ShowLegend);
    FShowOverlays->setVisible(!FGraph.Overlays.empty());
    FShowOverlays->setChecked(FGraph.ShowOverlays);
    FFontMenu->menuAction()->setVisible(FGraph.ShowFontWidth);
    FWidthMenu->menuAction()->setVisible(FGraph.ShowFontWidth);
    for (QAction* entry : FCurveEntries) {
        const int curve = entry->data().toInt();
        entry->setChecked(curve < FGraph.LineCount() && FGraph.Line(curve).Shown);
    }
}

void TPlotForm::ListCurveEntries(const std::vector<int>& curves)
{
    // Existing entries are rewritten, missing ones appended, surplus ones
    // removed; each holds the index of its curve.
    while (FCurveEntries.size() > curves.size()) {
        delete FCurveEntries.back();
        FCurveEntries.pop_back();
    }
    while (FCurveEntries.size() < curves.size()) {
        QAction* entry = FPlotMenu->addAction(QString());
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this, [this, entry] { ToggleCurve(entry->data().toInt()); });
        FCurveEntries.push_back(entry);
    }
    for (std::size_t i = 0; i < curves.size(); ++i) {
        FCurveEntries[i]->setData(curves[i]);
        FCurveEntries[i]->setText(QString::fromStdString(FGraph.LegendText(curves[i])));
        FCurveEntries[i]->setChecked(FGraph.Line(curves[i]).Shown);
    }
}

void TPlotForm::PlotLegendClick()
{
    FGraph.ShowLegend = !FGraph.ShowLegend;
    FLegend->setVisible(FGraph.LineCount() > 0 && FGraph.ShowLegend);
}

void TPlotForm::MarkClick(int markers)
{
    FGraph.Markers = markers;
    update();
}

void TPlotForm::SizeClick(int sizeFont)
{
    FGraph.SizeFont = sizeFont;
    ScaleLegend();
    update();
}

void TPlotForm::WidthClick(int widthLine)
{
    FGraph.WidthLine = widthLine;
    update();
}

void TPlotForm::PlotCaptionClick()
{
    TfrmGraphCaption dialog(QString::fromStdString(FGraph.Title), FGraph.TitleOnTop, this);
    dialog.exec();
    // However the dialog is closed, it sets the title.
    FGraph.Title = dialog.Title().toStdString();
    FGraph.TitleOnTop = dialog.OnTop();
    LayOut(false);
    update();
}

void TPlotForm::mLineNameClick()
{
    QStringList curveTexts;
    for (int i = 0; i < FGraph.LineCount(); ++i)
        curveTexts << QString::fromStdString(FGraph.LegendText(i));
    TfrmLineNames dialog(curveTexts, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (int i = 0; i < FGraph.LineCount() && i < curveTexts.size(); ++i)
        FGraph.Line(i).Name = curveTexts[i].toStdString();
    ListActiveCurves();
    update();
}

void TPlotForm::ActiveGraphsClick()
{
    QStringList curveTexts;
    QStringList curveStates;
    for (int i = 0; i < FGraph.LineCount(); ++i) {
        curveTexts << QString::fromStdString(FGraph.LegendText(i));
        curveStates << (FGraph.Line(i).Active ? ActiveState : InactiveState);
    }
    TfrmActiveLines dialog(curveTexts, curveStates, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (int i = 0; i < FGraph.LineCount() && i < curveStates.size(); ++i)
        FGraph.Line(i).Active = curveStates[i] == ActiveState;
    ListActiveCurves();
    update();
}
