#include "ActiveLinesDialog.h"
#include "GraphCaptionDialog.h"
#include "GraphPlot.h"
#include "LineNamesDialog.h"
#include "PlotForm.h"
#include "PlotLegend.h"
#include "PlotTestSupport.h"
#include "ScriptedPrompts.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace PlotTest;

namespace {

// Texts of the per-curve entries at the end of the Plot menu, with their
// curve indices and checks.
struct CurveEntry {
    QString Text;
    int Curve;
    bool Checked;
    bool operator==(const CurveEntry&) const = default;
};

std::vector<CurveEntry> CurveEntries(const TPlotForm& form)
{
    emit form.PlotMenu()->aboutToShow();
    const QList<QAction*> actions = form.PlotMenu()->actions();
    std::vector<CurveEntry> entries;
    bool afterLastSeparator = false;
    for (qsizetype i = actions.size() - 1; i >= 0 && !afterLastSeparator; --i) {
        if (actions[i]->isSeparator())
            afterLastSeparator = true;
        else
            entries.insert(entries.begin(), {actions[i]->text(), actions[i]->data().toInt(), actions[i]->isChecked()});
    }
    return entries;
}

QStringList Checked(QMenu* menu)
{
    emit menu->aboutToShow();
    QStringList checked;
    for (QAction* action : menu->actions())
        if (action->isChecked())
            checked << action->text();
    return checked;
}

// Centre of a row of a list, where a click lands on it.
QPoint RowCentre(QListWidget& list, int row) { return list.visualItemRect(list.item(row)).center(); }

// A double-click on a row, after the press that selects it.
void DoubleClickRow(QListWidget& list, int row)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, row));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, RowCentre(list, row));
}

// A click on the caption of a radio button (its whole width is not all
// clickable).
void ClickRadio(QRadioButton* button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

}  // namespace

class PlotInteractionTests : public QObject {
    Q_OBJECT

private slots:
    void cursorReadoutShowsTheValuesUnderTheMouse();
    void draggedBandZoomsInAndRightClicksZoomOut();
    void legendIsDraggedInsideTheWindowAndDoubleClicksToggleCurves();
    void plotMenuFollowsTheGraph();
    void graphTitleIsSetHoweverTheDialogCloses();
    void deactivatingACurveRelistsTheOthersInTheirColours();
    void renamingAfterADeactivationUpdatesThatCurvesRow();
    void anEmptyCurveNameIsRefused();
    void aNewWindowKeepsTheLookButNotZoomOrActivation();
    void curveDialogsLayOutTheirControlsWhenResized();
};

void PlotInteractionTests::cursorReadoutShowsTheValuesUnderTheMouse()
{
    TGraphPlot graph;
    graph.Caption = "Axial Load vs Settlement";
    FillSteps(graph, 3);
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    QCOMPARE(form.windowTitle(), QString("Axial Load vs Settlement"));

    QTest::mouseMove(&form, Pixel(form, 5, 1.5L));
    const QStringList words = form.windowTitle().split(' ');
    QCOMPARE(words.mid(0, 5).join(' '), QString("Axial Load vs Settlement X:"));
    QCOMPARE(words.at(6), QString("Y:"));
    QVERIFY(std::abs(words.at(5).toDouble() - 5) < 0.05);
    QVERIFY(std::abs(words.at(7).toDouble() - 1.5) < 0.02);
    // At most five significant digits.
    QVERIFY(QString(words.at(5)).remove('.').remove('-').size() <= 5);

    // Outside the plot the read-out stops at its edge (top left: 0, 0).
    QTest::mouseMove(&form, QPoint(2, 2));
    QCOMPARE(form.windowTitle(), QString("Axial Load vs Settlement X: 0 Y: 0"));
}

void PlotInteractionTests::draggedBandZoomsInAndRightClicksZoomOut()
{
    TGraphPlot graph;
    FillSteps(graph, 1);
    graph.SetPointCount(2);
    graph.Point(0, 0) = {0, 0};
    graph.Point(0, 1) = {100, 100};
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    QCOMPARE(form.FullRange().X.Max, 100);

    // A band from (20, 30) to (60, 80) in data.
    const QPoint from = Pixel(form, 20, 30);
    const QPoint to = Pixel(form, 60, 80);
    QTest::mousePress(&form, Qt::LeftButton, {}, from);
    QTest::mouseMove(&form, (from + to) / 2);
    QTest::mouseMove(&form, to);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, to);
    QVERIFY(std::abs(form.DataRange().X.Min - 20) < 0.5 && std::abs(form.DataRange().X.Max - 60) < 0.5);
    QVERIFY(std::abs(form.DataRange().Y.Min - 30) < 0.5 && std::abs(form.DataRange().Y.Max - 80) < 0.5);
    // The curve is drawn over the new range.
    QVERIFY(ColourNear(PaintForm(form), Pixel(form, 40, 40), Colour(Palette[0])));

    // A click without a band leaves the view.
    const TDataRange zoomed = form.DataRange();
    QTest::mouseClick(&form, Qt::LeftButton, {}, Pixel(form, 40, 50));
    QCOMPARE(form.DataRange().X.Min, zoomed.X.Min);

    // A band one pixel wide: at least a twentieth of the full range.
    const QPoint start = Pixel(form, 30, 40);
    QTest::mousePress(&form, Qt::LeftButton, {}, start);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, start + QPoint(1, 120));
    QVERIFY(std::abs(form.DataRange().X.Span() - 5) < 1e-9);

    // Right clicks double the span up to the full range, never beyond it.
    for (int click = 0; click < 8; ++click) {
        QTest::mouseClick(&form, Qt::RightButton, {}, QPoint(form.PlotRect().Right - 1, form.PlotRect().Top + 1));
        QVERIFY(form.DataRange().X.Min >= 0 && form.DataRange().X.Max <= 100);
        QVERIFY(form.DataRange().Y.Min >= 0 && form.DataRange().Y.Max <= 100);
    }
    QCOMPARE(form.DataRange().X.Span(), 100);
    QCOMPARE(form.DataRange().Y.Span(), 100);

    // Outside the plot the mouse buttons do nothing.
    QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(&form, Qt::LeftButton, {}, Pixel(form, 50, 50));
    QCOMPARE(form.DataRange().X.Span(), 100);
}

void PlotInteractionTests::legendIsDraggedInsideTheWindowAndDoubleClicksToggleCurves()
{
    TGraphPlot graph;
    FillSteps(graph, 3);
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    TPlotLegend& legend = form.Legend();

    // Dragged far up and left it stops at the window's corner; far down and
    // right at the opposite one.
    QTest::mousePress(&legend, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&legend, QPoint(-2000, -2000));
    QTest::mouseRelease(&legend, Qt::LeftButton, {}, QPoint(-2000, -2000));
    QCOMPARE(legend.pos(), QPoint(0, 0));
    QTest::mousePress(&legend, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&legend, QPoint(3000, 3000));
    QTest::mouseRelease(&legend, Qt::LeftButton, {}, QPoint(3000, 3000));
    QCOMPARE(legend.geometry().bottomRight(), QPoint(form.width() - 1, form.height() - 1));
    QTest::mousePress(&legend, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&legend, QPoint(-95, -45));
    QTest::mouseRelease(&legend, Qt::LeftButton, {}, QPoint(-95, -45));
    const QPoint placed = legend.pos();
    QCOMPARE(placed, QPoint(form.width() - legend.width() - 100, form.height() - legend.height() - 50));
    // A moved legend stays where it was put when the window grows.
    form.resize(900, 650);
    QCOMPARE(legend.pos(), placed);

    // A double-click on the second row hides curve 2 and back.
    const QPoint secondRow(10, 1 + legend.RowHeight() * 3 / 2);
    QTest::mouseDClick(&legend, Qt::LeftButton, {}, secondRow);
    QVERIFY(!graph.Line(1).Shown);
    QCOMPARE(legend.RowText(1), QString("Curve #2"));
    QCOMPARE(CountColour(PaintForm(form), Colour(Palette[1])), 0);
    QCOMPARE(CurveEntries(form).at(1), (CurveEntry{"Curve #2", 1, false}));
    QTest::mouseDClick(&legend, Qt::LeftButton, {}, secondRow);
    QVERIFY(graph.Line(1).Shown);
    QVERIFY(CountColour(PaintForm(form), Colour(Palette[1])) > 0);
}

void PlotInteractionTests::plotMenuFollowsTheGraph()
{
    TGraphPlot graph;
    FillSteps(graph, 2);
    graph.Markers = 4;
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    QMenu* menu = form.PlotMenu();
    QCOMPARE(menu->title(), QString("&Plot"));
    QStringList fixed;
    for (QAction* action : menu->actions().mid(0, 17))
        fixed << (action->isSeparator() ? QString("-") : action->text());
    QCOMPARE(fixed,
             (QStringList{"Show &Legend", "Show &Soil Layer", "Show &Wall Geometry", "Show &Markers", "&Font Size",
                          "&Line Width", "&Graph Title", "&Edit Legend", "&Active Curves", "Show &Capacity Lines", "-",
                          "&Print...", "P&age Setup", "&Save To Disk...", "Save as P&DF...", "-", "Curve #1"}));
    emit menu->aboutToShow();
    // A graph without reference lines does not offer them.
    QVERIFY(!Entry(menu, "Show &Capacity Lines")->isVisible());
    QVERIFY(!Entry(menu, "Show &Soil Layer")->isVisible());
    QVERIFY(!Entry(menu, "Show &Wall Geometry")->isVisible());
    QVERIFY(Entry(menu, "Show &Legend")->isChecked());

    // Markers every 4th point is none of the submenu's numbers.
    QMenu* markers = Entry(menu, "Show &Markers")->menu();
    QCOMPARE(Checked(markers), QStringList());
    Choose(form, "Show &Markers", "Every &3 Incrments");
    QCOMPARE(graph.Markers, 3);
    QCOMPARE(Checked(markers), QStringList{"Every &3 Incrments"});
    Choose(form, "Show &Markers", "&Never");
    QCOMPARE(graph.Markers, 0);
    QStringList markerTexts;
    for (QAction* action : markers->actions())
        markerTexts << action->text();
    QCOMPARE(markerTexts, (QStringList{"&Never", "Every &Increment", "Every &2 Increments", "Every &3 Incrments",
                                       "Every &5 Increments", "Every &10 Incements"}));

    Choose(form, "&Line Width", "6 * Default");
    QCOMPARE(graph.WidthLine, 6);
    QCOMPARE(Checked(Entry(menu, "&Line Width")->menu()), QStringList{"6 * Default"});
    Choose(form, "&Font Size", "1.5 * Default");
    QCOMPARE(graph.SizeFont, 15);
    QCOMPARE(form.Legend().font().pointSize(), 11 * 15 / 10);

    // The legend entry hides and shows the legend.
    ChooseEntry(form, "Show &Legend");
    QVERIFY(!graph.ShowLegend);
    QVERIFY(form.Legend().isHidden());
    ChooseEntry(form, "Show &Legend");
    QVERIFY(form.Legend().isVisible());

    // Per-curve entries show and hide their curves.
    ChooseEntry(form, "Curve #2");
    QVERIFY(!graph.Line(1).Shown);
    QCOMPARE(CurveEntries(form), (std::vector<CurveEntry>{{"Curve #1", 0, true}, {"Curve #2", 1, false}}));

    // A graph without the font and width choices, and whose legend was
    // hidden when the window opened.
    TGraphPlot plain;
    FillSteps(plain, 1);
    plain.ShowFontWidth = false;
    plain.ShowLegend = false;
    TPlotForm other(plain);
    QVERIFY(Open(other, 800, 600));
    emit other.PlotMenu()->aboutToShow();
    QVERIFY(!Entry(other.PlotMenu(), "&Font Size")->isVisible());
    QVERIFY(!Entry(other.PlotMenu(), "&Line Width")->isVisible());
    QVERIFY(!Entry(other.PlotMenu(), "Show &Legend")->isVisible());
    QVERIFY(other.Legend().isHidden());
}

void PlotInteractionTests::graphTitleIsSetHoweverTheDialogCloses()
{
    TGraphPlot graph;
    FillSteps(graph, 2);
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    const TPixelRect before = form.PlotRect();
    const QPoint legend = form.Legend().pos();

    WhenShown<TfrmGraphCaption>([](TfrmGraphCaption& dialog) {
        QCOMPARE(dialog.windowTitle(), QString("Graph Caption"));
        auto* edit = dialog.findChild<QLineEdit*>("edtCaption");
        QVERIFY(edit);
        QVERIFY(dialog.findChild<QRadioButton*>("rbBottom")->isChecked());
        QTest::keyClicks(edit, "Pile P-3");
        ClickRadio(dialog.findChild<QRadioButton*>("rbTop"));
        // Escape closes it, and still the title is taken.
        QTest::keyClick(edit, Qt::Key_Escape);
    });
    ChooseEntry(form, "&Graph Title");
    QCOMPARE(graph.Title, std::string("Pile P-3"));
    QVERIFY(graph.TitleOnTop);
    const int h = TextUnit(form.font().pixelSize(), graph.SizeFont);
    QCOMPARE(form.PlotRect().Top, before.Top + h / 8 + h);
    QCOMPARE(form.PlotRect().Bottom, before.Bottom);
    QCOMPARE(form.Legend().pos(), legend);

    // Below the graph, with OK.
    WhenShown<TfrmGraphCaption>([](TfrmGraphCaption& dialog) {
        QCOMPARE(dialog.findChild<QLineEdit*>("edtCaption")->text(), QString("Pile P-3"));
        ClickRadio(dialog.findChild<QRadioButton*>("rbBottom"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    ChooseEntry(form, "&Graph Title");
    QVERIFY(!graph.TitleOnTop);
    QCOMPARE(form.PlotRect().Top, before.Top);
    QCOMPARE(form.PlotRect().Bottom, before.Bottom - h);
}

void PlotInteractionTests::deactivatingACurveRelistsTheOthersInTheirColours()
{
    TGraphPlot graph;
    FillSteps(graph, 4);
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));

    WhenShown<TfrmActiveLines>([](TfrmActiveLines& dialog) {
        QCOMPARE(dialog.windowTitle(), QString("Active Curves"));
        auto* list = dialog.findChild<QListWidget*>("lstCurves");
        QVERIFY(list);
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(1)->text(), QString(" yes :    Curve #2"));
        DoubleClickRow(*list, 1);
        QCOMPARE(list->item(1)->text(), QString(" no  :    Curve #2"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    ChooseEntry(form, "&Active Curves");
    QVERIFY(!graph.Line(1).Active);
    QCOMPARE(form.Legend().Rows(), (std::vector<int>{0, 2, 3}));
    QCOMPARE(form.Legend().RowText(1), QString("Curve #3 *"));
    QCOMPARE(CurveEntries(form),
             (std::vector<CurveEntry>{{"Curve #1", 0, true}, {"Curve #3", 2, true}, {"Curve #4", 3, true}}));
    // Curve 3 keeps its own colour, red, in the plot and its row; curve 2
    // is gone.
    const QImage image = PaintForm(form);
    QVERIFY(ColourNear(image, Pixel(form, 2.5L, 2.25L), Colour(Palette[2])));
    QVERIFY(WhiteAround(image, Pixel(form, 2.5L, 1.35L)));
    const QImage legend = form.Legend().grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(CountColour(legend, Colour(Palette[1])) == 0);
    QVERIFY(CountColour(legend, Colour(Palette[2])) > 0);
    // Its entry toggles curve 3, not the entry's position.
    ChooseEntry(form, "Curve #3");
    QVERIFY(!graph.Line(2).Shown);
    QVERIFY(graph.Line(1).Shown);

    // Two rows selected: the button toggles both; Activate All brings every
    // curve back; Cancel changes nothing.
    WhenShown<TfrmActiveLines>([](TfrmActiveLines& dialog) {
        auto* list = dialog.findChild<QListWidget*>("lstCurves");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(*list, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, RowCentre(*list, 3));
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnToggle"), Qt::LeftButton);
        QCOMPARE(list->item(0)->text(), QString(" no  :    Curve #1"));
        QCOMPARE(list->item(3)->text(), QString(" no  :    Curve #4"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    ChooseEntry(form, "&Active Curves");
    QCOMPARE(form.Legend().Rows(), (std::vector<int>{2}));
    WhenShown<TfrmActiveLines>([](TfrmActiveLines& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnAll"), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    });
    ChooseEntry(form, "&Active Curves");
    QCOMPARE(form.Legend().Rows(), (std::vector<int>{2}));
    WhenShown<TfrmActiveLines>([](TfrmActiveLines& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnAll"), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    ChooseEntry(form, "&Active Curves");
    QCOMPARE(form.Legend().Rows(), (std::vector<int>{0, 1, 2, 3}));
    QCOMPARE(CurveEntries(form).size(), std::size_t{4});
}

void PlotInteractionTests::renamingAfterADeactivationUpdatesThatCurvesRow()
{
    TGraphPlot graph;
    FillSteps(graph, 4);
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    graph.Line(1).Active = false;
    WhenShown<TfrmActiveLines>(
        [](TfrmActiveLines& dialog) { QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton); });
    ChooseEntry(form, "&Active Curves");
    QCOMPARE(form.Legend().Rows(), (std::vector<int>{0, 2, 3}));

    WhenShown<TfrmLineNames>([](TfrmLineNames& dialog) {
        QCOMPARE(dialog.windowTitle(), QString("Legend"));
        auto* list = dialog.findChild<QListWidget*>("lstLines");
        auto* edit = dialog.findChild<QLineEdit*>("edtLegend");
        QVERIFY(list && edit);
        // Every curve is listed, the first one selected.
        QCOMPARE(list->count(), 4);
        QCOMPARE(edit->text(), QString("Curve #1"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(*list, 2));
        QCOMPARE(edit->text(), QString("Curve #3"));
        QCOMPARE(edit->palette().color(QPalette::Text), Colour(Palette[2]));
        edit->selectAll();
        QTest::keyClicks(edit, "Dense sand");
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QCOMPARE(list->item(2)->text(), QString("Dense sand"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    ChooseEntry(form, "&Edit Legend");
    QCOMPARE(graph.Line(2).Name, std::string("Dense sand"));
    QCOMPARE(graph.Line(1).Name, std::string("Curve #2"));
    QCOMPARE(form.Legend().RowText(1), QString("Dense sand *"));
    QCOMPARE(CurveEntries(form).at(1), (CurveEntry{"Dense sand", 2, true}));
}

void PlotInteractionTests::anEmptyCurveNameIsRefused()
{
    TGraphPlot graph;
    FillSteps(graph, 2);
    graph.Line(0).Name = "Clay";
    TPlotForm form(graph);
    QVERIFY(Open(form, 800, 600));
    ScriptedPrompts prompts;
    WhenShown<TfrmLineNames>([&prompts](TfrmLineNames& dialog) {
        auto* list = dialog.findChild<QListWidget*>("lstLines");
        auto* edit = dialog.findChild<QLineEdit*>("edtLegend");
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(prompts.Messages(), QStringList{"The line must have a name!"});
        QCOMPARE(edit->text(), QString("Clay"));
        QCOMPARE(list->item(0)->text(), QString("Clay"));
        // A new name that is then cancelled changes nothing.
        QTest::keyClicks(edit, " loam");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    });
    ChooseEntry(form, "&Edit Legend");
    QCOMPARE(graph.Line(0).Name, std::string("Clay"));
    QCOMPARE(graph.Line(1).Name, std::string());
}

void PlotInteractionTests::aNewWindowKeepsTheLookButNotZoomOrActivation()
{
    TGraphPlot graph;
    FillSteps(graph, 3);
    {
        TPlotForm form(graph);
        QVERIFY(Open(form, 800, 600));
        Choose(form, "Show &Markers", "Every &5 Increments");
        Choose(form, "&Font Size", "2 * Default");
        Choose(form, "&Line Width", "4 * Default");
        ChooseEntry(form, "Curve #2");
        graph.Line(2).Active = false;
        QTest::mouseClick(&form, Qt::RightButton, {}, Pixel(form, 5, 1));
        const QPoint from = Pixel(form, 1, 1);
        QTest::mousePress(&form, Qt::LeftButton, {}, from);
        QTest::mouseRelease(&form, Qt::LeftButton, {}, from + QPoint(40, 40));
        QVERIFY(form.DataRange().X.Span() < form.FullRange().X.Span());
    }
    TPlotForm again(graph);
    QVERIFY(Open(again, 800, 600));
    QCOMPARE(graph.Markers, 5);
    QCOMPARE(graph.SizeFont, 20);
    QCOMPARE(graph.WidthLine, 4);
    QVERIFY(!graph.Line(1).Shown);
    QVERIFY(graph.Line(2).Active);
    QCOMPARE(again.DataRange().X.Span(), again.FullRange().X.Span());
    QCOMPARE(again.Legend().Rows().size(), std::size_t{3});
}

void PlotInteractionTests::curveDialogsLayOutTheirControlsWhenResized()
{
    QStringList texts{"Curve #1", "Curve #2", "Curve #3"};
    QStringList states{ActiveState, InactiveState, ActiveState};
    TfrmLineNames names(texts);
    names.show();
    QVERIFY(QTest::qWaitForWindowExposed(&names));
    TfrmActiveLines active(texts, states);
    active.show();
    QVERIFY(QTest::qWaitForWindowExposed(&active));
    for (const QSize size : {QSize(100, 100), QSize(420, 520)}) {
        names.resize(size);
        active.resize(size);
        QTRY_VERIFY(names.width() >= 195 && names.height() >= 167);
        QTRY_VERIFY(active.width() >= 190 && active.height() >= 234);

        // The list takes the height the labels, the edit line and the
        // buttons leave; OK and Cancel on one line, 20 pixels in from
        // either side.
        auto* list = names.findChild<QListWidget*>("lstLines");
        auto* edit = names.findChild<QLineEdit*>("edtLegend");
        auto* ok = names.findChild<QPushButton*>("btnOK");
        auto* cancel = names.findChild<QPushButton*>("btnCancel");
        QCOMPARE(list->x(), 10);
        QCOMPARE(list->width(), names.width() - 20);
        QVERIFY(edit->geometry().top() > list->geometry().bottom());
        QCOMPARE(ok->y(), cancel->y());
        QCOMPARE(ok->x(), 20);
        QCOMPARE(cancel->geometry().right() + 1, names.width() - 20);
        QVERIFY(ok->geometry().bottom() < names.height());

        list = active.findChild<QListWidget*>("lstCurves");
        QCOMPARE(list->x(), 10);
        auto* toggle = active.findChild<QPushButton*>("btnToggle");
        auto* all = active.findChild<QPushButton*>("btnAll");
        auto* none = active.findChild<QPushButton*>("btnNone");
        ok = active.findChild<QPushButton*>("btnOK");
        cancel = active.findChild<QPushButton*>("btnCancel");
        QCOMPARE(toggle->y(), list->geometry().bottom() + 1 + 10);
        QCOMPARE(toggle->x(), 15);
        QCOMPARE(all->y(), toggle->geometry().bottom() + 1 + 10);
        QCOMPARE(all->x(), 10);
        QCOMPARE(none->geometry().right() + 1, active.width() - 10);
        QCOMPARE(ok->y(), all->geometry().bottom() + 1 + 10);
        QCOMPARE(cancel->geometry().right() + 1, active.width() - 20);
        QVERIFY(ok->geometry().bottom() < active.height());
    }
    // Each row shows its state before the curve text.
    QCOMPARE(active.findChild<QListWidget*>("lstCurves")->item(1)->text(), QString(" no  :    Curve #2"));
}

QTEST_MAIN(PlotInteractionTests)
#include "test_plot_interaction.moc"
