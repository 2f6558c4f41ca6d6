#include "PaintExport.h"

#include "UserPrompts.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>

namespace {

// PDF pages are laid out for a common printer's resolution, so that a
// drawing sized in device pixels looks the same on paper and in the file.
constexpr int PdfResolution = 600;

const QString PdfFilter = QStringLiteral("PDF Document (*.pdf)|*.pdf");
const QString PictureFilter = QStringLiteral("PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg");

void FileNotWritten(QWidget* parent, const QString& path)
{
    Prompts().Inform(parent, QStringLiteral("File \"%1\" could not be written.").arg(QDir::toNativeSeparators(path)));
}

bool PaintOnPrinter(QPrinter& printer, const TPaintFunction& paint)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        printer.setResolution(PdfResolution);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    paint(painter, QRect(0, 0, printer.width(), printer.height()));
    return painter.end();
}

QPrinter& SetUpJob(QPrinter& printer, const QString& title, QPageLayout::Orientation orientation)
{
    printer.setDocName(title);
    printer.setPageOrientation(orientation);
    return printer;
}

QString WithSuffix(const QString& path, const QString& suffix)
{
    const QString old = QFileInfo(path).suffix();
    return (old.isEmpty() ? path : path.chopped(old.size() + 1)) + QLatin1Char('.') + suffix;
}

}  // namespace

bool PrintPage(QWidget* parent, const QString& jobTitle, QPageLayout::Orientation orientation,
               const TPaintFunction& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    SetUpJob(printer, jobTitle, orientation);
    if (!Prompts().Print(parent, printer))
        return false;
    if (PaintOnPrinter(printer, paint))
        return true;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        FileNotWritten(parent, printer.outputFileName());
    else
        Prompts().Inform(parent, QStringLiteral("The page could not be printed on %1.").arg(printer.printerName()));
    return false;
}

bool SavePdf(QWidget* parent, const QString& path, const QString& title, QPageLayout::Orientation orientation,
             const TPaintFunction& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    SetUpJob(printer, title, orientation);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (PaintOnPrinter(printer, paint))
        return true;
    FileNotWritten(parent, path);
    return false;
}

bool SavePicture(QWidget* parent, const QString& path, const QString& title, const QSize& size,
                 const TPaintFunction& paint)
{
    const QRect area(QPoint(0, 0), size);
    bool written = false;
    if (!size.isEmpty() && QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setTitle(title);
        svg.setSize(size);
        svg.setViewBox(area);
        QPainter painter;
        if (painter.begin(&svg)) {
            paint(painter, area);
            written = painter.end();
        }
    } else if (!size.isEmpty()) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paint(painter, area);
        painter.end();
        written = image.save(path, "PNG");
    }
    if (!written)
        FileNotWritten(parent, path);
    return written;
}

QString ChoosePdfFile(QWidget* parent, const QString& preset)
{
    const FileChoice choice =
        Prompts().SaveFile(parent, FileRequest(QStringLiteral("Save as PDF"), PdfFilter,
                                               WithSuffix(preset, QStringLiteral("pdf")), QStringLiteral("pdf")));
    return choice.Path;
}

QString ChoosePictureFile(QWidget* parent, const QString& preset)
{
    const FileChoice choice =
        Prompts().SaveFile(parent, FileRequest(QStringLiteral("Save as PNG/SVG"), PictureFilter,
                                               WithSuffix(preset, QStringLiteral("png")), QStringLiteral("png")));
    if (choice.Path.isEmpty())
        return {};
    const QString suffix = QFileInfo(choice.Path).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("svg"))
        return choice.Path;
    // The second filter is the SVG drawing.
    return choice.Path + (choice.FilterIndex == 1 ? QStringLiteral(".svg") : QStringLiteral(".png"));
}
