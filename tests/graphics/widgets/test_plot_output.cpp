#include "FormatDialog.h"
#include "GraphPlot.h"
#include "PlotForm.h"
#include "PlotLegend.h"
#include "PlotTestSupport.h"
#include "ScriptedPrompts.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace PlotTest;

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Pages of a PDF file: its page objects.
int PdfPages(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

// Accepts the Save Attributes dialog after typing the values given (empty:
// keep the field).
void AcceptAttributes(const QString& height = {}, const QString& width = {}, const QString& pixels = {})
{
    WhenShown<TdlgFormat>([=](TdlgFormat& dialog) {
        QCOMPARE(dialog.windowTitle(), QString("Save Attributes"));
        const std::pair<const char*, QString> fields[] = {
            {"edtHeight", height}, {"edtWidth", width}, {"edtPixels", pixels}};
        for (const auto& [name, text] : fields) {
            if (text.isEmpty())
                continue;
            auto* field = dialog.findChild<QAbstractSpinBox*>(name);
            QVERIFY(field);
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, text);
        }
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
}

struct Window {
    TGraphPlot Graph;
    std::unique_ptr<TPlotForm> Form;
};

// Three curves in a window of 800 x 600 pixels.
std::unique_ptr<Window> ThreeCurves()
{
    auto window = std::make_unique<Window>();
    window->Graph.Caption = "Load Distribution";
    FillSteps(window->Graph, 3);
    window->Form = std::make_unique<TPlotForm>(window->Graph);
    if (!Open(*window->Form, 800, 600))
        return nullptr;
    return window;
}

}  // namespace

class PlotOutputTests : public QObject {
    Q_OBJECT

private slots:
    void bitmapHasTheChosenSizeAndThePaletteColours();
    void filterOrExtensionChoosesPngOrSvg();
    void picturesThatCannotBeMadeAreRefused();
    void cancelledDialogsWriteNothing();
    void printingToAPdfFileLeavesTheWindowAsItWas();
    void pageSetupMarginsAreUsedByTheNextPrint();
    void savingAsPdfWritesOnePage();
};

void PlotOutputTests::bitmapHasTheChosenSizeAndThePaletteColours()
{
    const auto window = ThreeCurves();
    QVERIFY(window);
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    window->Form->MoveLegend(QPoint(100, 100));
    const QString path = folder.filePath("loads.bmp");
    prompts.Files.push_back({path, 0});
    WhenShown<TdlgFormat>([](TdlgFormat& dialog) {
        // Defaults of a first save: 4 x 6 inches at 72 pixels per inch.
        QCOMPARE(dialog.Size().HeightInches, 4.0);
        QCOMPARE(dialog.Size().WidthInches, 6.0);
        QCOMPARE(dialog.Size().PixelsPerInch, 72);
        QTest::mouseClick(dialog.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    ChooseEntry(*window->Form, "&Save To Disk...");

    QCOMPARE(prompts.Asked.size(), std::size_t{1});
    const FileRequest& request = prompts.Asked.front().Request;
    QVERIFY(request.Filter.startsWith("Bitmap (*.bmp)|*.bmp"));
    QCOMPARE(request.DefaultSuffix, QString("bmp"));
    QCOMPARE(QImageReader(path).format(), QByteArray("bmp"));
    const QImage image(path);
    QCOMPARE(image.size(), QSize(432, 288));
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    for (int curve = 0; curve < 3; ++curve)
        QVERIFY2(CountColour(pixels, Colour(Palette[curve])) > 20, qPrintable(QString::number(curve)));
    // "16 Colors", the first choice, is a 4-bit palette bitmap.
    QCOMPARE(int(Contents(path).at(28)), 4);
    QVERIFY(image.colorCount() <= 16);
    // The legend is drawn into the picture, its framed box where the
    // window's legend sits, scaled to the picture.
    const QPoint legend = window->Form->Legend().pos();
    const QPoint corner(432 * legend.x() / 800, 288 * legend.y() / 600);
    QCOMPARE(pixels.pixelColor(corner), QColor(Qt::black));
    QCOMPARE(pixels.pixelColor(corner + QPoint(3, 0)), QColor(Qt::black));
    QCOMPARE(pixels.pixelColor(corner + QPoint(3, 3)), QColor(Qt::white));
    QVERIFY(prompts.Messages().isEmpty());
    // The window's own layout is untouched.
    QCOMPARE(window->Form->ScreenCanvas().Area, window->Form->rect());
}

void PlotOutputTests::filterOrExtensionChoosesPngOrSvg()
{
    const auto window = ThreeCurves();
    QVERIFY(window);
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    const QString png = folder.filePath("loads.png");
    const QString svg = folder.filePath("loads.svg");
    const QString bare = folder.filePath("loads");
    prompts.Files = {{png, 1}, {svg, 2}, {bare, 1}};
    for (int save = 0; save < 3; ++save) {
        AcceptAttributes("3", "5", "100");
        ChooseEntry(*window->Form, "&Save To Disk...");
    }
    QCOMPARE(QImageReader(png).format(), QByteArray("png"));
    QCOMPARE(QImage(png).size(), QSize(500, 300));
    QCOMPARE(QImageReader(bare).format(), QByteArray("png"));

    // A vector drawing of the same size, with the curves in their colours.
    const QByteArray drawing = Contents(svg);
    QVERIFY(drawing.startsWith("<?xml"));
    QVERIFY(drawing.contains("<svg"));
    QVERIFY(drawing.contains("#0000ff"));
    QVERIFY(drawing.contains("#ff0000"));
    QVERIFY(drawing.contains("Load Distribution"));
    QVERIFY(prompts.Messages().isEmpty());
}

void PlotOutputTests::picturesThatCannotBeMadeAreRefused()
{
    const auto window = ThreeCurves();
    QVERIFY(window);
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    const QString path = folder.filePath("huge.bmp");
    prompts.Files.push_back({path, 0});
    AcceptAttributes("900", "900", "9000");
    ChooseEntry(*window->Form, "&Save To Disk...");
    QCOMPARE(prompts.Messages(), QStringList{"There is not enough memory to complete this task."});
    QVERIFY(!QFile::exists(path));

    // A file that cannot be written is not reported as saved.
    const QString nowhere = folder.filePath("gone/loads.png");
    prompts.Files.push_back({nowhere, 1});
    AcceptAttributes("2", "2", "10");
    ChooseEntry(*window->Form, "&Save To Disk...");
    QCOMPARE(prompts.Messages().back(), "File \"" + nowhere + "\" could not be written.");
}

void PlotOutputTests::cancelledDialogsWriteNothing()
{
    const auto window = ThreeCurves();
    QVERIFY(window);
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    // The file dialog cancelled; then the attributes cancelled.
    ChooseEntry(*window->Form, "&Save To Disk...");
    const QString path = folder.filePath("kept-out.bmp");
    prompts.Files.push_back({path, 0});
    WhenShown<TdlgFormat>(
        [](TdlgFormat& dialog) { QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton); });
    ChooseEntry(*window->Form, "&Save To Disk...");
    QVERIFY(!QFile::exists(path));
    // The print dialog cancelled.
    ChooseEntry(*window->Form, "&Print...");
    QCOMPARE(prompts.Asked.back().What, ScriptedPrompts::Kind::Print);
    QVERIFY(folder.isValid() && QDir(folder.path()).isEmpty());
    QVERIFY(prompts.Messages().isEmpty());
}

void PlotOutputTests::printingToAPdfFileLeavesTheWindowAsItWas()
{
    const auto window = ThreeCurves();
    QVERIFY(window);
    TPlotForm& form = *window->Form;
    // Zoomed in, the legend moved, a title above.
    window->Graph.Title = "Pile P-3";
    window->Graph.TitleOnTop = true;
    form.resize(810, 600);
    form.MoveLegend(QPoint(40, 300));
    const TPixelRect plot = form.PlotRect();
    const QRect legend = form.Legend().geometry();
    const QImage before = PaintForm(form);

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    const QString path = folder.filePath("printed.pdf");
    prompts.PrintFiles.push_back(path);
    ChooseEntry(form, "&Print...");
    // The job is named after the graph.
    QCOMPARE(prompts.Asked.back().What, ScriptedPrompts::Kind::Print);
    QCOMPARE(prompts.Asked.back().Text, QString("Load Distribution"));
    const QByteArray pdf = Contents(path);
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(PdfPages(pdf), 1);
    QVERIFY(prompts.Messages().isEmpty());

    QCOMPARE(form.PlotRect(), plot);
    QCOMPARE(form.Legend().geometry(), legend);
    QCOMPARE(PaintForm(form), before);

    // A file that cannot be made is reported.
    const QString nowhere = folder.filePath("gone/printed.pdf");
    prompts.PrintFiles.push_back(nowhere);
    ChooseEntry(form, "&Print...");
    QCOMPARE(prompts.Messages(), QStringList{"File \"" + nowhere + "\" could not be written."});
}

void PlotOutputTests::pageSetupMarginsAreUsedByTheNextPrint()
{
    const auto window = ThreeCurves();
    QVERIFY(window);
    TPlotForm& form = *window->Form;
    QCOMPARE(form.Margins(), (TPageMargins{1000, 1000, 1000, 1000}));
    ScriptedPrompts prompts;
    // Cancelled: the margins stay.
    ChooseEntry(form, "P&age Setup");
    QCOMPARE(form.Margins(), (TPageMargins{1000, 1000, 1000, 1000}));
    prompts.PageMargins.push_back(QMarginsF(0.5, 0.75, 1.25, 2));
    ChooseEntry(form, "P&age Setup");
    QCOMPARE(form.Margins(), (TPageMargins{500, 750, 1250, 2000}));

    QTemporaryDir folder;
    const QString path = folder.filePath("margins.pdf");
    prompts.PrintFiles.push_back(path);
    ChooseEntry(form, "&Print...");
    QCOMPARE(PdfPages(Contents(path)), 1);
}

void PlotOutputTests::savingAsPdfWritesOnePage()
{
    const auto window = ThreeCurves();
    QVERIFY(window);
    QTemporaryDir folder;
    ScriptedPrompts prompts;
    const QString path = folder.filePath("graph.pdf");
    prompts.Files.push_back({path, 0});
    ChooseEntry(*window->Form, "Save as P&DF...");
    QCOMPARE(prompts.Asked.back().Request.Filter, QString("PDF (*.pdf)|*.pdf"));
    const QByteArray pdf = Contents(path);
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(PdfPages(pdf), 1);
    // Drawn as vectors: no picture inside.
    QVERIFY(!pdf.contains("/Subtype /Image"));
    QVERIFY(prompts.Messages().isEmpty());
}

QTEST_MAIN(PlotOutputTests)
#include "test_plot_output.moc"
