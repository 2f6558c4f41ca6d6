// Speed of the table-with-chart window on its largest table: a t-z curve of
// 100 rows read from the clipboard, and the chart redrawn from it (as after
// every key press). Run offscreen: QT_QPA_PLATFORM=offscreen. Prints the
// times; not a test.

#include "ProjectTables.h"
#include "TableChartForm.h"
#include "TableWindows.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPushButton>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    InstallTableWindows(nullptr);
    TProjectTables tables;
    ShowTable(tables.TblTZCurves2);
    auto* form = dynamic_cast<TTableChartForm*>(TableForm(tables.TblTZCurves2));
    if (!form)
        return 1;

    QString text;
    for (int i = 0; i < 120; ++i)
        text += QString::number(i * 12.5) + "\t" + QString::number(i * 0.001) + "\r\n";
    constexpr int Imports = 20;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Imports; ++i) {
        tables.TblTZCurves2.SetRowCount(2);
        form->Refresh();
        QGuiApplication::clipboard()->setText(text);
        form->BtnClip->click();
    }
    const double importMs = timer.nsecsElapsed() / 1e6 / Imports;
    std::printf("clipboard import of 120 lines into 100 rows: %.2f ms\n", importMs);

    constexpr int Redraws = 500;
    timer.restart();
    for (int i = 0; i < Redraws; ++i)
        form->Redraw();
    QCoreApplication::processEvents();
    std::printf("chart redraw of 100 rows: %.3f ms\n", timer.nsecsElapsed() / 1e6 / Redraws);
    return 0;
}
