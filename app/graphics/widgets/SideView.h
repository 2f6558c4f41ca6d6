#pragma once

// "Elevation View": the soil profile of the current project with the pile
// standing in it, a child window of the main window's MDI area. It reads the
// project and its soil-layer table again whenever the table's rows or layer
// cells change, whenever a child window of the area becomes active (so it
// also shows pile values another window stored on being left) and when told
// to (Refresh). It prints the profile on one landscape page and saves it as a
// PDF page or as a PNG or SVG picture of the view.
//
// Closing the window emits Closed(), by which the main window clears its
// open flag, and deletes it.

#include "GridTable.h"
#include "SideViewGeometry.h"

#include <QWidget>

#include <functional>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPainter;
class QPushButton;
class TProgramData;

class TDlgSideView : public QWidget {
    Q_OBJECT

public:
    static inline const QString Caption = QStringLiteral("Elevation View");
    static inline const QString JobTitle = QStringLiteral("Soil-Pile Profile");

    // `project` gives the current project, which the main window replaces
    // on New and Open; `layers` is its soil-layer table (D2), which the
    // window listens to. The window is built in the area, not yet shown.
    TDlgSideView(QMdiArea& area, TGridTable& layers, std::function<TProgramData&()> project);

    // Reads the project, then shows the window and makes it the active
    // child window; a project that cannot be read closes it instead.
    void ShowWindow();
    QMdiSubWindow* SubWindow() const { return FSubWindow; }

    // Reads the project again and repaints. A table that cannot be read
    // closes the window with a message.
    void Refresh();

    // Print dialog, then the profile on one landscape page.
    void Button1Click();
    // The printed page into a PDF file, and the view as a picture.
    void SavePdfClick();
    void SavePictureClick();

    const TSideViewGeometry& Geometry() const { return FGeometry; }
    // The drawing area of the window.
    QWidget* PaintBox() const { return FPaintBox; }
    // The view as on the screen, and the printed page over its area.
    void PaintView(QPainter& painter) const;
    void PaintPage(QPainter& painter, const QRect& page) const;

signals:
    // The window closed for good; it is deleted next.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Refresh once the events being handled are through.
    void QueueRefresh();
    void FormResize();
    void FormMouseMove(int y);
    // The project file's path, the preset of the save dialogs.
    QString ProjectPath() const;

    std::function<TProgramData&()> FProject;
    TSideViewGeometry FGeometry;
    QMdiSubWindow* FSubWindow;
    QWidget* FPaintBox;
    QLabel* lblGeometry;
    QPushButton* Button1;
    QPushButton* btnSavePdf;
    QPushButton* btnSavePicture;
    TSubscription FLayerRows;
    TSubscription FLayerCells;
    bool FRefreshQueued = false;
    // The project could not be read: the window is closing.
    bool FFailed = false;
};
