#include "ProjectReport.h"

#include "FileReplace.h"
#include "MainGraphs.h"
#include "PlotData.h"
#include "PlotForm.h"
#include "ProgramData.h"
#include "ReportContent.h"
#include "SideView.h"
#include "WordReader.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <vector>

namespace {

constexpr int Resolution = 300;
// Margins of the text pages and the side view page, in millimetres; the
// graph pages keep their windows' own page margins.
constexpr double TextMarginMm = 18;
constexpr double FooterMm = 8;

QPageSize LocalePaper()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                              : QPageSize(QPageSize::A4);
}

int Pixels(double millimetres) { return static_cast<int>(millimetres / 25.4 * Resolution + 0.5); }

class TReportWriter {
public:
    TReportWriter(const QString& path, const QString& title) : FWriter(path)
    {
        FWriter.setResolution(Resolution);
        FWriter.setPageSize(LocalePaper());
        FWriter.setPageMargins(QMarginsF(0, 0, 0, 0));
        FWriter.setTitle(title);
        FWriter.setCreator(QStringLiteral("KORVEN"));
        FTitle = title;
    }

    bool Begin() { return FPainter.begin(&FWriter); }
    bool End() { return FPainter.end(); }
    QPainter& Painter() { return FPainter; }
    QPdfWriter& Writer() { return FWriter; }

    // A text area inside the page margins, above the footer.
    QRect TextArea() const
    {
        const int margin = Pixels(TextMarginMm);
        return QRect(margin, margin, FWriter.width() - 2 * margin, FWriter.height() - 2 * margin - Pixels(FooterMm));
    }

    void NewPage(QPageLayout::Orientation orientation = QPageLayout::Portrait)
    {
        FWriter.setPageOrientation(orientation);
        FWriter.newPage();
    }

    void Footer(int page, int pages)
    {
        FPainter.save();
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(8);
        FPainter.setFont(font);
        FPainter.setPen(Qt::darkGray);
        const int margin = Pixels(TextMarginMm);
        const QRect band(margin, FWriter.height() - margin - Pixels(FooterMm) / 2, FWriter.width() - 2 * margin,
                         Pixels(FooterMm));
        FPainter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, FTitle);
        FPainter.drawText(band, Qt::AlignRight | Qt::AlignVCenter,
                          QStringLiteral("Page %1 of %2").arg(page).arg(pages));
        FPainter.restore();
    }

private:
    QPdfWriter FWriter;
    QPainter FPainter;
    QString FTitle;
};

std::vector<TGraphPlot*> GraphPages(const TReportSources& sources)
{
    std::vector<TGraphPlot*> pages;
    if (!sources.Graphs || !sources.Graphs->PlotsAvailable)
        return pages;
    TMainGraphs& graphs = *sources.Graphs;
    for (TGraphPlot* graph : {&graphs.pltLoad, &graphs.pltAxial, &graphs.pltTZcurves, &graphs.PltQW})
        if (graph->LineCount() > 0)
            pages.push_back(graph);
    return pages;
}

// Writes the report into `path`; why it could not, or an empty text.
std::string PaintReport(const TReportSources& sources, const QString& path, int& written)
{
    TProgramData& project = *sources.Project;
    TReportInput input;
    input.Project = &project;
    input.FileName = QFileInfo(QString::fromStdString(project.FileName)).absoluteFilePath().toStdString();
    // The date the designer entered; without one, the day of printing.
    input.Date = !project.DesignDate.empty()
                     ? project.DesignDate
                     : QLocale::system().toString(QDateTime::currentDateTime(), QLocale::LongFormat).toStdString();
    if (sources.Graphs && sources.Graphs->PlotsAvailable) {
        try {
            input.Results = ReadPlotData(sources.PlotFile.toStdString());
        } catch (const EInOutError& failure) {
            input.Missing = failure.what();
        }
    } else {
        input.Missing = "the project has no plot data";
    }

    const QString title = QStringLiteral("KORVEN report: %1").arg(QString::fromStdString(project.Title));
    TReportWriter report(path, title);
    if (!report.Begin())
        return "the PDF writer could not start";
    QPainter& painter = report.Painter();

    QTextDocument text;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    text.setDefaultFont(font);
    text.documentLayout()->setPaintDevice(&report.Writer());
    text.setDefaultStyleSheet(QStringLiteral("th { background-color: #e8e8e8; } h1 { font-size: 20pt; }"));
    text.setHtml(QString::fromStdString(ReportHtml(input)));
    const QRect area = report.TextArea();
    text.setPageSize(area.size());

    const std::vector<TGraphPlot*> graphs = input.Results ? GraphPages(sources) : std::vector<TGraphPlot*>{};
    const int textPages = text.pageCount();
    const int pages = textPages + static_cast<int>(graphs.size()) + 1;
    int page = 0;
    for (int i = 0; i < textPages; ++i) {
        if (page > 0)
            report.NewPage();
        painter.save();
        painter.translate(area.left(), area.top() - i * area.height());
        text.drawContents(&painter, QRectF(0, i * area.height(), area.width(), area.height()));
        painter.restore();
        report.Footer(++page, pages);
    }

    for (TGraphPlot* graph : graphs) {
        report.NewPage();
        const TPlotForm form(*graph);
        form.PaintPage(painter, report.Writer(), TPixelRect{0, 0, 0, 0});
        report.Footer(++page, pages);
    }

    report.NewPage(QPageLayout::Landscape);
    QMdiArea sideArea;
    TDlgSideView side(sideArea, project.Tables().D2, [&project]() -> TProgramData& { return project; });
    side.Refresh();
    side.PaintPage(painter, report.TextArea());
    report.Footer(++page, pages);

    if (!report.End())
        return "the PDF writer could not finish the file";
    written = page;
    return {};
}

}  // namespace

bool WriteProjectReport(const TReportSources& sources, const QString& path, QString& error, int* pages)
{
    int written = 0;
    try {
        ReplaceFile(path.toStdString(), [&sources, &written](int, const std::string& temporary) {
            return PaintReport(sources, QString::fromStdString(temporary), written);
        });
    } catch (const EInOutError& failure) {
        error = QString::fromStdString(failure.what());
        return false;
    }
    if (pages)
        *pages = written;
    return true;
}
