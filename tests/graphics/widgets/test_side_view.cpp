#include "ProgramData.h"
#include "ScriptedPrompts.h"
#include "SideView.h"

#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {

// An MDI area shown on the screen with the side view of a project: a pile
// 60 long and 2 across standing in the layers of `bottoms` (types 3, 4, ...).
struct TSideViewFixture {
    explicit TSideViewFixture(std::vector<long double> bottoms = {50})
    {
        Project.PileLength = 60;
        Project.OuterDiameter = 2;
        SetLayers(std::move(bottoms));
        Area.resize(700, 560);
        Area.show();
        View = new TDlgSideView(Area, Tables.D2, [this]() -> TProgramData& { return Project; });
        View->ShowWindow();
    }

    void SetLayers(std::vector<long double> bottoms)
    {
        Tables.D2.SetRowCount(static_cast<int>(bottoms.size()));
        for (int row = 0; row < Tables.D2.RowCount(); ++row) {
            Tables.D2.GetData(SoilTypeColumn, row).SetInteger(3 + row % 2);
            Tables.D2.GetData(LayerBottomColumn, row).SetFloat(bottoms[row]);
        }
    }

    QImage Grab() const { return View->PaintBox()->grab().toImage(); }

    TProjectTables Tables;
    TProgramData Project{Tables};
    QMdiArea Area;
    QPointer<TDlgSideView> View;
};

QPoint Pixel(const TDlgSideView& view, long double x, long double depth)
{
    const TPixelPoint point = view.Geometry().ToClient({x, depth});
    return {point.X, point.Y};
}

QColor Ink(const TDlgSideView& view) { return view.PaintBox()->palette().color(QPalette::Text); }

QColor Paper(const TDlgSideView& view) { return view.PaintBox()->palette().color(QPalette::Base); }

bool IsPdf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

}  // namespace

class SideViewTests : public QObject {
    Q_OBJECT

private slots:
    void pileAndLayersArePaintedWhereTheMappingPutsThem();
    void cursorDepthGoesIntoTheCaption();
    void zeroHeightBreaksTheViewUntilItHasRoomAgain();
    void viewFollowsTheProjectWhenAnyWindowBecomesActive();
    void viewFollowsTheSoilLayerTableWithoutActivation();
    void readFailuresCloseTheWindowWithTheirMessage();
    void printsOneLandscapePageThroughThePrintDialog();
    void printedPageShowsFrameAndPile();
    void savesThePageAsPdfAndTheViewAsPngOrSvg();
    void unwritableFileIsReported();
};

void SideViewTests::pileAndLayersArePaintedWhereTheMappingPutsThem()
{
    TSideViewFixture fixture({20, 50});
    TDlgSideView& view = *fixture.View;
    QVERIFY(QTest::qWaitForWindowExposed(view.PaintBox()));
    QCOMPARE(view.windowTitle(), TDlgSideView::Caption);
    QVERIFY(!view.Geometry().ViewBroken());
    const QImage image = fixture.Grab();
    QCOMPARE(image.size(), view.PaintBox()->size() * view.PaintBox()->devicePixelRatio());

    // The pile: filled inside its corners, background just beside them.
    const TSideViewData& data = view.Geometry().Data();
    QCOMPARE(static_cast<double>(data.HalfWidth), 3.0);
    const QPoint topLeft = Pixel(view, -3, 0);
    const QPoint bottomRight = Pixel(view, 3, 60);
    QVERIFY(bottomRight.x() - topLeft.x() >= 6);
    for (long double depth : {5.0L, 30.0L, 59.0L})
        QCOMPARE(image.pixelColor(Pixel(view, 0, depth)), Ink(view));
    QCOMPARE(image.pixelColor(topLeft.x() + 1, bottomRight.y() - 1), Ink(view));
    QCOMPARE(image.pixelColor(topLeft.x() - 2, Pixel(view, 0, 30).y()), Paper(view));
    QCOMPARE(image.pixelColor(bottomRight.x() + 2, Pixel(view, 0, 30).y()), Paper(view));
    QCOMPARE(image.pixelColor(Pixel(view, 0, 61.5L)), Paper(view));

    // The ground line along the top edge and every layer bottom across the
    // whole width; between them background.
    const int x = image.width() - 3;
    QCOMPARE(image.pixelColor(x, 0), Ink(view));
    QCOMPARE(image.pixelColor(x, Pixel(view, 0, 20).y()), Ink(view));
    QCOMPARE(image.pixelColor(x, Pixel(view, 0, 50).y()), Ink(view));
    QCOMPARE(image.pixelColor(x, Pixel(view, 0, 35).y()), Paper(view));
}

void SideViewTests::cursorDepthGoesIntoTheCaption()
{
    TSideViewFixture fixture;
    TDlgSideView& view = *fixture.View;
    QVERIFY(QTest::qWaitForWindowExposed(view.PaintBox()));
    const int y = view.PaintBox()->height() / 2;
    QTest::mouseMove(view.PaintBox(), QPoint(20, y));
    QTRY_COMPARE(view.windowTitle(), QString::fromStdString(DepthCaption(view.Geometry().DepthAt(y))));
    QVERIFY(view.windowTitle().startsWith(QStringLiteral("  Depth: ")));
}

void SideViewTests::zeroHeightBreaksTheViewUntilItHasRoomAgain()
{
    TSideViewFixture fixture;
    TDlgSideView& view = *fixture.View;
    QVERIFY(QTest::qWaitForWindowExposed(view.PaintBox()));
    const QSize size = view.PaintBox()->size();
    view.PaintBox()->setFixedHeight(0);
    QTRY_VERIFY(view.Geometry().ViewBroken());
    view.PaintBox()->grab();  // paints nothing, does not fail
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 0), view.PaintBox()->mapToGlobal(QPointF(10, 0)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.PaintBox(), &move);
    QCOMPARE(view.windowTitle(), TDlgSideView::Caption);

    view.PaintBox()->setMinimumHeight(0);
    view.PaintBox()->setMaximumHeight(QWIDGETSIZE_MAX);
    view.SubWindow()->resize(view.SubWindow()->width(), view.SubWindow()->height() + 1);
    QTRY_VERIFY(!view.Geometry().ViewBroken());
    QVERIFY(view.PaintBox()->height() > size.height() / 2);
    QCOMPARE(fixture.Grab().pixelColor(Pixel(view, 0, 30)), Ink(view));
}

void SideViewTests::viewFollowsTheProjectWhenAnyWindowBecomesActive()
{
    TSideViewFixture fixture({50});
    TDlgSideView& view = *fixture.View;
    auto* other = fixture.Area.addSubWindow(new QWidget);
    other->show();

    // Values stored while another window is active show once a window
    // becomes active, whichever it is.
    fixture.Area.setActiveSubWindow(other);
    fixture.Project.PileLength = 80;
    fixture.SetLayers({10, 90});
    fixture.Area.setActiveSubWindow(view.SubWindow());
    QTRY_COMPARE(view.Geometry().Data().Layers.size(), std::size_t(2));
    QVERIFY(view.Geometry().BaseExtent().YMax == 90 * 1.05L);

    fixture.Project.OuterDiameter = 4;
    fixture.Area.setActiveSubWindow(other);
    QTRY_VERIFY(view.Geometry().Data().HalfWidth == 6);

    // Told to: the data windows store into the project without any change
    // of window.
    fixture.Project.PileLength = 100;
    view.Refresh();
    QVERIFY(view.Geometry().BaseExtent().YMax == 100 * 1.05L);
}

void SideViewTests::viewFollowsTheSoilLayerTableWithoutActivation()
{
    TSideViewFixture fixture({50});
    QPointer<TDlgSideView> view = fixture.View;
    auto* other = fixture.Area.addSubWindow(new QWidget);
    other->show();
    fixture.Area.setActiveSubWindow(other);
    QCoreApplication::processEvents();

    // Edited in the table window beside it: a bottom, a soil type, a row.
    TGridTable& layers = fixture.Tables.D2;
    layers.GetData(LayerBottomColumn, 0).SetFloat(70);
    QTRY_VERIFY(view->Geometry().BaseExtent().YMax == 70 * 1.05L);
    layers.GetData(SoilTypeColumn, 0).SetInteger(4);
    QTRY_COMPARE(view->Geometry().Data().Layers[0].SoilType, 4);
    layers.AppendRowGroup();
    QTRY_COMPARE(view->Geometry().Data().Layers.size(), std::size_t(2));
    QCOMPARE(fixture.Area.activeSubWindow(), other);

    // Closed, it no longer listens.
    view->SubWindow()->close();
    QTRY_VERIFY(view.isNull());
    QCOMPARE(layers.OnCellChanged.ListenerCount(), 0);
    QCOMPARE(layers.OnRowsChanged.ListenerCount(), 0);
    layers.GetData(LayerBottomColumn, 0).SetFloat(80);
}

void SideViewTests::readFailuresCloseTheWindowWithTheirMessage()
{
    ScriptedPrompts prompts;
    TProjectTables tables;
    TProgramData project(tables);
    QMdiArea area;
    area.show();
    std::string failure = "table";
    auto access = [&]() -> TProgramData& {
        if (failure == "table")
            throw ETableError("Index out of bounds");
        if (failure == "argument")
            throw std::invalid_argument("Invalid argument to date encode");
        return project;
    };

    QPointer<TDlgSideView> view = new TDlgSideView(area, tables.D2, access);
    QSignalSpy closed(view.data(), &TDlgSideView::Closed);
    view->ShowWindow();
    QCOMPARE(closed.size(), 1);  // at once, not when it is deleted
    QVERIFY(!view->isVisible());
    QTRY_VERIFY(view.isNull());
    QCOMPARE(prompts.Messages(), QStringList{"One or more Pile Types does not have any sections"});

    failure.clear();
    view = new TDlgSideView(area, tables.D2, access);
    view->ShowWindow();
    failure = "argument";
    view->Refresh();
    QTRY_VERIFY(view.isNull());
    QCOMPARE(prompts.Messages().last(), QStringLiteral("Invalid argument to date encode"));
    QVERIFY(area.subWindowList().isEmpty());
}

void SideViewTests::printsOneLandscapePageThroughThePrintDialog()
{
    ScriptedPrompts prompts;
    TSideViewFixture fixture;
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("profile.pdf"));

    // Cancelled: nothing printed, nothing said.
    fixture.View->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    QCOMPARE(prompts.Asked.size(), std::size_t(1));
    QCOMPARE(prompts.Asked[0].What, ScriptedPrompts::Kind::Print);
    QCOMPARE(prompts.Asked[0].Text, QStringLiteral("Soil-Pile Profile"));
    QVERIFY(!QFile::exists(pdf));

    prompts.PrintFiles = {pdf};
    QTest::mouseClick(fixture.View->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QCOMPARE(prompts.Asked.size(), std::size_t(2));
    QVERIFY(prompts.Messages().isEmpty());
    QVERIFY(IsPdf(pdf));
    // One page, wider than high.
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.contains("/Count 1"));
    const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const QRegularExpressionMatch box = mediaBox.match(QString::fromLatin1(content));
    QVERIFY(box.hasMatch());
    QVERIFY(box.captured(1).toDouble() > box.captured(2).toDouble());
}

void SideViewTests::printedPageShowsFrameAndPile()
{
    TSideViewFixture fixture({20, 50});
    QImage page(1100, 850, QImage::Format_RGB32);
    page.fill(Qt::gray);
    {
        QPainter painter(&page);
        fixture.View->PaintPage(painter, page.rect());
    }
    // Outside the frame the page is untouched; inside, white paper.
    QCOMPARE(page.pixelColor(50, 50), QColor(Qt::gray));
    QCOMPARE(page.pixelColor(1000, 800), QColor(Qt::gray));
    QCOMPARE(page.pixelColor(150, 300), QColor(Qt::white));
    // Depth 60 is 0.9 of the page down (the pile reaches below the last
    // layer); the pile is black down there, 3 / 60 * 680 = 34 pixels to either
    // side of the centre, and the 12-pixel ground line runs along 0.1 of it.
    QCOMPARE(page.pixelColor(550, 500), QColor(Qt::black));
    QCOMPARE(page.pixelColor(550 + 34, 700), QColor(Qt::black));
    QCOMPARE(page.pixelColor(550 + 45, 500), QColor(Qt::white));
    QCOMPARE(page.pixelColor(1000 - 120, 85 + 5), QColor(Qt::black));
    QCOMPARE(page.pixelColor(1000 - 120, 85 + 8), QColor(Qt::white));
}

void SideViewTests::savesThePageAsPdfAndTheViewAsPngOrSvg()
{
    ScriptedPrompts prompts;
    TSideViewFixture fixture;
    TDlgSideView& view = *fixture.View;
    QVERIFY(QTest::qWaitForWindowExposed(view.PaintBox()));
    QTemporaryDir folder;
    fixture.Project.FileName = folder.filePath(QStringLiteral("Pile.kv3d")).toStdString();

    prompts.Files = {{folder.filePath(QStringLiteral("page.pdf")), 0}};
    view.findChild<QPushButton*>(QStringLiteral("btnSavePdf"))->click();
    QCOMPARE(prompts.Asked.back().Request.FileName, folder.filePath(QStringLiteral("Pile.pdf")));
    QVERIFY(IsPdf(folder.filePath(QStringLiteral("page.pdf"))));

    // A picture named without an extension takes the chosen type's.
    prompts.Files = {{folder.filePath(QStringLiteral("view")), 0}, {folder.filePath(QStringLiteral("view")), 1}};
    view.findChild<QPushButton*>(QStringLiteral("btnSavePicture"))->click();
    QCOMPARE(prompts.Asked.back().Request.FileName, folder.filePath(QStringLiteral("Pile.png")));
    const QImage png(folder.filePath(QStringLiteral("view.png")));
    QCOMPARE(png.size(), view.PaintBox()->size());
    QCOMPARE(png.pixelColor(Pixel(view, 0, 30)), Ink(view));
    QCOMPARE(png.pixelColor(Pixel(view, 0, 61.5L)), Paper(view));

    view.findChild<QPushButton*>(QStringLiteral("btnSavePicture"))->click();
    QFile svg(folder.filePath(QStringLiteral("view.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    QVERIFY(drawing.contains("<svg"));
    QVERIFY(drawing.contains("depth= 0 - 50; Clay"));
    QVERIFY(prompts.Messages().isEmpty());
}

void SideViewTests::unwritableFileIsReported()
{
    ScriptedPrompts prompts;
    TSideViewFixture fixture;
    const QString missing = QStringLiteral("/nonexistent-folder/view");
    prompts.Files = {{missing + ".pdf", 0}, {missing + ".png", 0}, {missing + ".svg", 1}};
    prompts.PrintFiles = {missing + "-printed.pdf"};
    for (int i = 0; i < 3; ++i)
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^QSvgPaintEngine::begin\\(\\), could not open")));
    fixture.View->SavePdfClick();
    fixture.View->SavePictureClick();
    fixture.View->SavePictureClick();
    fixture.View->Button1Click();
    const QStringList expected = {
        "File \"" + missing + ".pdf\" could not be written.",
        "File \"" + missing + ".png\" could not be written.",
        "File \"" + missing + ".svg\" could not be written.",
        "File \"" + missing + "-printed.pdf\" could not be written.",
    };
    QCOMPARE(prompts.Messages(), expected);
}

QTEST_MAIN(SideViewTests)
#include "test_side_view.moc"
