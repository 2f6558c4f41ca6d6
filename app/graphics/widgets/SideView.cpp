#include "SideView.h"

#include "PaintExport.h"
#include "ProgramData.h"
#include "SideViewPainter.h"
#include "UserPrompts.h"

#include <QCloseEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

TDlgSideView::TDlgSideView(QMdiArea& area, TGridTable& layers, std::function<TProgramData&()> project)
    : FProject(std::move(project)), FPaintBox(new QWidget), lblGeometry(new QLabel(QStringLiteral("Pile Geometry"))),
      Button1(new QPushButton(QStringLiteral("Print"))), btnSavePdf(new QPushButton(QStringLiteral("Save as PDF..."))),
      btnSavePicture(new QPushButton(QStringLiteral("Save as PNG/SVG...")))
{
    setObjectName(QStringLiteral("DlgSideView"));
    setWindowTitle(Caption);
    FPaintBox->setObjectName(QStringLiteral("PaintBox"));
    FPaintBox->setMouseTracking(true);
    // Cascaded and tiled windows keep room for the profile.
    FPaintBox->setMinimumSize(logicalDpiX() * 3, logicalDpiY() * 3);
    FPaintBox->installEventFilter(this);
    lblGeometry->setObjectName(QStringLiteral("lblGeometry"));
    Button1->setObjectName(QStringLiteral("Button1"));
    btnSavePdf->setObjectName(QStringLiteral("btnSavePdf"));
    btnSavePicture->setObjectName(QStringLiteral("btnSavePicture"));

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 4, 6, 4);
    buttons->addWidget(lblGeometry);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(btnSavePdf);
    buttons->addWidget(btnSavePicture);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FPaintBox, 1);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TDlgSideView::Button1Click);
    connect(btnSavePdf, &QPushButton::clicked, this, &TDlgSideView::SavePdfClick);
    connect(btnSavePicture, &QPushButton::clicked, this, &TDlgSideView::SavePictureClick);

    FSubWindow = area.addSubWindow(this);
    FSubWindow->setAttribute(Qt::WA_DeleteOnClose);
    FSubWindow->resize(520, 440);
    // Whichever child window becomes active, this one's own activation
    // included, the project is read again once that window's change is
    // through: a data window being left has stored its values by then.
    connect(&area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* active) {
        if (active != nullptr)
            QueueRefresh();
    });
    // A table change comes cell by cell, or in the middle of a row change:
    // the view is read once it is through.
    FLayerRows = layers.OnRowsChanged.Subscribe([this] { QueueRefresh(); });
    FLayerCells = layers.OnCellChanged.Subscribe([this](int col, int) {
        if (col == SoilTypeColumn || col == LayerBottomColumn)
            QueueRefresh();
    });
}

void TDlgSideView::ShowWindow()
{
    Refresh();
    if (FFailed)
        return;
    if (FSubWindow->isMinimized())
        FSubWindow->showNormal();
    else
        FSubWindow->show();
    FSubWindow->mdiArea()->setActiveSubWindow(FSubWindow);
}

void TDlgSideView::QueueRefresh()
{
    if (FRefreshQueued)
        return;
    FRefreshQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            FRefreshQueued = false;
            Refresh();
        },
        Qt::QueuedConnection);
}

void TDlgSideView::Refresh()
{
    QString failure;
    try {
        FGeometry.Rebuild(ReadSideViewData(FProject()));
    } catch (const ETableError&) {
        failure = QStringLiteral("One or more Pile Types does not have any sections");
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    if (failure.isEmpty()) {
        FormResize();
        return;
    }
    FFailed = true;
    Prompts().Inform(this, failure);
    FSubWindow->close();
}

void TDlgSideView::FormResize()
{
    FGeometry.Resize(FPaintBox->width(), FPaintBox->height());
    FPaintBox->update();
}

void TDlgSideView::FormMouseMove(int y)
{
    if (!FGeometry.ViewBroken())
        setWindowTitle(QString::fromStdString(DepthCaption(FGeometry.DepthAt(y))));
}

void TDlgSideView::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit Closed();
}

bool TDlgSideView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FPaintBox)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(FPaintBox);
        PaintView(painter);
        return true;
    }
    case QEvent::Resize: FormResize(); break;
    case QEvent::MouseMove: FormMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().y()); break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void TDlgSideView::PaintView(QPainter& painter) const
{
    if (FGeometry.ViewBroken())
        return;
    painter.setFont(FPaintBox->font());
    const QPalette& colours = FPaintBox->palette();
    PaintSideView(painter, FGeometry.ScreenScene(painter.fontMetrics().height()), colours.color(QPalette::Base),
               colours.color(QPalette::Text));
}

void TDlgSideView::PaintPage(QPainter& painter, const QRect& page) const
{
    painter.save();
    painter.setFont(lblGeometry->font());
    PaintSideViewPage(painter, FGeometry, page);
    painter.restore();
}

QString TDlgSideView::ProjectPath() const { return QString::fromStdString(FProject().FileName); }

void TDlgSideView::Button1Click()
{
    PrintPage(this, JobTitle, QPageLayout::Landscape,
              [this](QPainter& painter, const QRect& page) { PaintPage(painter, page); });
}

void TDlgSideView::SavePdfClick()
{
    const QString path = ChoosePdfFile(this, ProjectPath());
    if (!path.isEmpty())
        SavePdf(this, path, JobTitle, QPageLayout::Landscape,
                [this](QPainter& painter, const QRect& page) { PaintPage(painter, page); });
}

void TDlgSideView::SavePictureClick()
{
    const QString path = ChoosePictureFile(this, ProjectPath());
    if (!path.isEmpty())
        SavePicture(this, path, Caption, FPaintBox->size(),
                    [this](QPainter& painter, const QRect&) { PaintView(painter); });
}
