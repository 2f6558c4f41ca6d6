// Printing a plot window's graph, and saving it as a picture or a PDF page.

#include "PlotForm.h"

#include "FormatDialog.h"
#include "GraphPlot.h"
#include "UserPrompts.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include <cmath>

namespace {

enum PictureFormat { Bitmap, Png, Svg };

const QString PictureFilter = QStringLiteral("Bitmap (*.bmp)|*.bmp|PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg");
const QString PdfFilter = QStringLiteral("PDF (*.pdf)|*.pdf");
const QString NoMemoryMessage = QStringLiteral("There is not enough memory to complete this task.");

// The format of a picture file: its extension's when it names one of ours,
// otherwise the chosen filter's.
int PictureFormatOf(const QString& path, int filterIndex)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return Bitmap;
    if (suffix == QLatin1String("png"))
        return Png;
    if (suffix == QLatin1String("svg"))
        return Svg;
    return filterIndex == Png || filterIndex == Svg ? filterIndex : Bitmap;
}

// The sixteen colours of a 4-bit picture: black, white, the greys and the
// full and half intensities of the six primaries and mixtures.
QList<QRgb> SixteenColours()
{
    QList<QRgb> table;
    for (const TRgb& colour : Palette)
        if (!table.contains(qRgb(colour.R, colour.G, colour.B)))
            table << qRgb(colour.R, colour.G, colour.B);
    for (QRgb extra : {qRgb(255, 255, 255), qRgb(128, 128, 255)})
        if (table.size() < 16 && !table.contains(extra))
            table << extra;
    return table.mid(0, 16);
}

// A drawn picture in the colours chosen for its file.
QImage WithColours(const QImage& image, TPictureColours colours)
{
    const Qt::ImageConversionFlags flags = Qt::ThresholdDither | Qt::AvoidDither;
    switch (colours) {
    case TPictureColours::BlackAndWhite: return image.convertToFormat(QImage::Format_Mono, flags);
    case TPictureColours::Colours16: return image.convertToFormat(QImage::Format_Indexed8, SixteenColours(), flags);
    case TPictureColours::Colours256: return image.convertToFormat(QImage::Format_Indexed8, flags);
    case TPictureColours::HighColour: return image.convertToFormat(QImage::Format_RGB16);
    case TPictureColours::TrueColour: break;
    }
    return image;
}

QString NotWrittenMessage(const QString& path) { return QStringLiteral("File \"%1\" could not be written.").arg(path); }

// Margins in device pixels of a page layout's unprintable borders.
TPixelRect Unprintable(const QPageLayout& layout, int resolution)
{
    QPageLayout least = layout;
    least.setMargins(layout.minimumMargins());
    const QMargins margins = least.marginsPixels(resolution);
    return {margins.left(), margins.top(), margins.right(), margins.bottom()};
}

}  // namespace

QPrinter& TPlotForm::Printer()
{
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *FPrinter;
}

void TPlotForm::PaintPage(QPainter& painter, const QPagedPaintDevice& device, const TPixelRect& unprintable) const
{
    Paint(painter, PageCanvas(FGraph, device, FMargins, unprintable));
}

void TPlotForm::PlotPrintClick()
{
    QPrinter& printer = Printer();
    printer.setDocName(QString::fromStdString(FGraph.Caption));
    if (!Prompts().Print(this, printer))
        return;
    // The margins are our own, measured from the corner of the sheet.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        Prompts().Inform(this, printer.outputFileName().isEmpty()
                                   ? QStringLiteral("Printer \"%1\" could not be used.").arg(printer.printerName())
                                   : NotWrittenMessage(printer.outputFileName()));
        return;
    }
    PaintPage(painter, printer, Unprintable(printer.pageLayout(), printer.resolution()));
    painter.end();
    update();
}

void TPlotForm::PlotPageClick()
{
    QPrinter& printer = Printer();
    printer.setPageMargins(QMarginsF(FMargins.Left, FMargins.Top, FMargins.Right, FMargins.Bottom) / 1000,
                           QPageLayout::Inch);
    if (!Prompts().PageSetup(this, printer))
        return;
    const QMarginsF inches = printer.pageLayout().margins(QPageLayout::Inch);
    auto thousandths = [](qreal value) { return static_cast<int>(std::lround(value * 1000)); };
    FMargins = {thousandths(inches.left()), thousandths(inches.top()), thousandths(inches.right()),
                thousandths(inches.bottom())};
}

QString TPlotForm::SavePicture(const QString& path, int format, const TPictureSize& size) const
{
    const int width = PicturePixels(size.WidthInches, size.PixelsPerInch);
    const int height = PicturePixels(size.HeightInches, size.PixelsPerInch);
    const TPlotCanvas canvas = PictureCanvas(FGraph, width, height, size.PixelsPerInch);
    if (format == Svg) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setResolution(size.PixelsPerInch);
        svg.setTitle(QString::fromStdString(FGraph.Caption));
        QPainter painter;
        if (!painter.begin(&svg))
            return NotWrittenMessage(path);
        Paint(painter, canvas);
        return painter.end() ? QString() : NotWrittenMessage(path);
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return NoMemoryMessage;
    const int dotsPerMetre = static_cast<int>(std::lround(size.PixelsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter painter(&image);
        Paint(painter, canvas);
    }
    return WithColours(image, size.Colours).save(path, format == Png ? "PNG" : "BMP") ? QString()
                                                                                     : NotWrittenMessage(path);
}

void TPlotForm::PlotSaveClick()
{
    const FileChoice file =
        Prompts().SaveFile(this, FileRequest(QStringLiteral("Save As"), PictureFilter, {}, QStringLiteral("bmp")));
    if (file.Path.isEmpty())
        return;
    TdlgFormat attributes(FPictureSize, this);
    if (attributes.exec() != QDialog::Accepted)
        return;
    FPictureSize = attributes.Size();
    const QString failure = SavePicture(file.Path, PictureFormatOf(file.Path, file.FilterIndex), FPictureSize);
    if (!failure.isEmpty())
        Prompts().Inform(this, failure);
}

void TPlotForm::PlotPdfClick()
{
    const FileChoice file =
        Prompts().SaveFile(this, FileRequest(QStringLiteral("Save as PDF"), PdfFilter, {}, QStringLiteral("pdf")));
    if (file.Path.isEmpty())
        return;
    // A page of the size chosen for printing, drawn as vectors.
    QPdfWriter writer(file.Path);
    writer.setTitle(QString::fromStdString(FGraph.Caption));
    writer.setResolution(1200);
    QPageLayout layout = Printer().pageLayout();
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF());
    writer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&writer)) {
        Prompts().Inform(this, NotWrittenMessage(file.Path));
        return;
    }
    PaintPage(painter, writer, {});
    if (!painter.end())
        Prompts().Inform(this, NotWrittenMessage(file.Path));
}
