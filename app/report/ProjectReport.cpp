#include "ProjectReport.h"

#include "FileReplace.h"
#include "MainGraphs.h"
#include "NumberText.h"
#include "PlotData.h"
#include "PlotPainter.h"
#include "ProgramData.h"
#include "ReportContent.h"
#include "ReportText.h"
#include "ResultsSummary.h"
#include "SideViewPainter.h"
#include "UnitStrings.h"
#include "WordReader.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int Resolution = 300;
// Margins of every page, in millimetres.
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

// A graph's axis unit in the project's own unit, the one the report's
// tables use, and the factor its values take on the way: English graphs show
// loads in kips and the load distribution's depths in feet.
long double InTableUnits(std::string& code, UnitSystem units)
{
    if (units != UnitSystem::English)
        return 1;
    if (code == "F1") {
        code = "F";
        return 1000;
    }
    if (code == "L2") {
        code = "L";
        return 12;
    }
    return 1;
}

// A graph as a figure of the report: numbered and titled, its curves named
// by what they are and thinned to a readable number, its axes in the units
// of the report's tables. The graph is the program's own, so its look and
// its points are put back afterwards.
class TFigure {
public:
    TFigure(TGraphPlot& graph, const std::string& title) : FGraph(graph), FTitle(graph.Title), FTitleOnTop(graph.TitleOnTop),
        FShowLegend(graph.ShowLegend), FXUnits(graph.XUnits), FYUnits(graph.YUnits), FOverlays(graph.Overlays)
    {
        const long double x = InTableUnits(graph.XUnits, graph.Units());
        const long double y = InTableUnits(graph.YUnits, graph.Units());
        const auto scale = [x, y](std::vector<TFloatPoint>& points) {
            for (TFloatPoint& point : points)
                point = {point.X * x, point.Y * y};
        };
        for (int i = 0; i < graph.LineCount(); ++i) {
            TLine& line = graph.Line(i);
            FActive.push_back(line.Active);
            FShown.push_back(line.Shown);
            FNames.push_back(line.Name);
            FPoints.push_back(line.Points);
            line.Shown = true;
            scale(line.Points);
        }
        for (TGraphOverlay& overlay : graph.Overlays)
            scale(overlay.Points);
        graph.Title = title;
        graph.TitleOnTop = true;
        graph.ShowLegend = graph.LineCount() > 1;
    }
    ~TFigure()
    {
        FGraph.Title = FTitle;
        FGraph.TitleOnTop = FTitleOnTop;
        FGraph.ShowLegend = FShowLegend;
        FGraph.XUnits = FXUnits;
        FGraph.YUnits = FYUnits;
        FGraph.Overlays = FOverlays;
        for (int i = 0; i < FGraph.LineCount() && i < static_cast<int>(FActive.size()); ++i) {
            const auto at = static_cast<std::size_t>(i);
            FGraph.Line(i).Active = FActive[at];
            FGraph.Line(i).Shown = FShown[at];
            FGraph.Line(i).Name = FNames[at];
            FGraph.Line(i).Points = FPoints[at];
        }
    }
    TFigure(const TFigure&) = delete;
    TFigure& operator=(const TFigure&) = delete;

    // Draws at most `most` of the curves whose names differ, spread evenly
    // from the first to the last.
    void Thin(int most)
    {
        std::vector<int> distinct;
        for (int i = 0; i < FGraph.LineCount(); ++i) {
            bool seen = false;
            for (int j : distinct)
                seen = seen || (!FGraph.Line(i).Name.empty() && FGraph.Line(j).Name == FGraph.Line(i).Name);
            if (!seen)
                distinct.push_back(i);
        }
        for (int i = 0; i < FGraph.LineCount(); ++i)
            FGraph.Line(i).Active = false;
        const int count = static_cast<int>(distinct.size());
        const int kept = std::min(count, most);
        for (int k = 0; k < kept; ++k)
            FGraph.Line(distinct[static_cast<std::size_t>(kept == 1 ? 0 : k * (count - 1) / (kept - 1))]).Active = true;
    }

private:
    TGraphPlot& FGraph;
    std::string FTitle;
    bool FTitleOnTop;
    bool FShowLegend;
    std::string FXUnits;
    std::string FYUnits;
    std::vector<TGraphOverlay> FOverlays;
    std::vector<bool> FActive;
    std::vector<bool> FShown;
    std::vector<std::string> FNames;
    std::vector<std::vector<TFloatPoint>> FPoints;
};

constexpr int MostCurvesPerFigure = 10;

struct TFigurePage {
    TGraphPlot* Graph;
    std::string Title;
};

std::vector<TFigurePage> FigurePages(const TReportSources& sources)
{
    std::vector<TFigurePage> pages;
    const auto studyPages = [&] {
        for (const auto& [graph, title] : sources.StudyFigures)
            if (graph->LineCount() > 0)
                pages.push_back({graph, title});
        return pages;
    };
    if (!sources.Graphs || !sources.Graphs->PlotsAvailable || !sources.Results)
        return studyPages();
    TMainGraphs& graphs = *sources.Graphs;
    const std::pair<TGraphPlot*, const char*> figures[] = {
        {&graphs.pltLoad, "Axial load along the pile, one curve per assumed tip movement"},
        {&graphs.pltAxial, "Load at the pile head against its settlement"},
        {&graphs.pltTZcurves, "t-z curves: unit load transfer against displacement, by depth"},
        {&graphs.PltQW, "Q-w curve: tip resistance against tip movement"},
    };
    for (const auto& [graph, title] : figures)
        if (graph->LineCount() > 0)
            pages.push_back({graph, title});
    return studyPages();
}

// The range of a figure. The t-z curves' range ends where the last of them
// has levelled off, so that their rising parts are not squeezed against the
// axis by long flat runs.
TDataRange FigureRange(const TGraphPlot& graph, bool levelled)
{
    TDataRange range = GraphDataRange(graph);
    if (!levelled)
        return range;
    long double end = 0;
    for (int i = 0; i < graph.LineCount(); ++i) {
        const std::vector<TFloatPoint>& points = graph.Line(i).Points;
        if (!graph.Line(i).Active || points.empty())
            continue;
        long double scale = 0;
        for (const TFloatPoint& point : points)
            scale = std::max(scale, std::fabs(point.Y));
        std::size_t flat = points.size() - 1;
        while (flat > 0 && std::fabs(points[flat - 1].Y - points.back().Y) <= scale / 50)
            --flat;
        end = std::max(end, points[flat].X);
    }
    if (end > 0 && end * 1.2L < range.X.Max)
        range.X = RoundAxisRange({range.X.Min, end * 1.2L});
    return range;
}

// Names the curves of a figure by what they are.
void NameCurves(const TReportSources& sources, const TPlotData& data, TGraphPlot& graph)
{
    TMainGraphs& graphs = *sources.Graphs;
    const std::string length = LengthUnitText(data.Units);
    if (&graph == &graphs.pltLoad) {
        for (int i = 0; i < graph.LineCount() && i < static_cast<int>(data.LoadSettlement.size()); ++i)
            graph.Line(i).Name =
                "tip movement " +
                GeneralNumberText(data.LoadSettlement[static_cast<std::size_t>(i)].TipMovement, 6) + " " + length;
    } else if (&graph == &graphs.pltTZcurves) {
        for (int i = 0; i < graph.LineCount(); ++i)
            if (!graph.Line(i).Name.empty() && graph.Line(i).Name.rfind("depth ", 0) != 0)
                graph.Line(i).Name = "depth " + graph.Line(i).Name;
    }
}

// Writes the report into `path`; why it could not, or an empty text.
std::string PaintReport(const TReportSources& sources, const QString& path, int& written)
{
    TProgramData& project = *sources.Project;
    TReportInput input;
    input.Project = &project;
    input.FileName = QFileInfo(QString::fromStdString(project.FileName)).absoluteFilePath().toStdString();
    input.Date = QLocale::system().toString(QDateTime::currentDateTime(), QLocale::LongFormat).toStdString();
    if (sources.Results)
        input.Results = *sources.Results;
    else
        input.Missing = "the project has no plot data";
    input.Appendix = sources.StudyHtml;

    std::optional<TSideViewGeometry> side;
    try {
        side.emplace();
        side->Rebuild(ReadSideViewData(project));
    } catch (const std::exception&) {
        // A layer without its cells: the report goes without the figure.
        side.reset();
    }

    const QString title = QStringLiteral("KORVEN report: %1").arg(QString::fromStdString(project.Title));
    TReportWriter report(path, title);
    if (!report.Begin())
        return "the PDF writer could not start";
    QPainter& painter = report.Painter();

    const QRect area = report.TextArea();
    const std::unique_ptr<QTextDocument> text = ReportTextDocument(ReportHtml(input), report.Writer(), area.size());

    const std::vector<TFigurePage> figures = FigurePages(sources);
    const int textPages = text->pageCount();
    const int pages = textPages + static_cast<int>(figures.size()) + (side ? 1 : 0);
    int page = 0;
    for (int i = 0; i < textPages; ++i) {
        if (page > 0)
            report.NewPage();
        painter.save();
        painter.translate(area.left(), area.top() - i * area.height());
        text->drawContents(&painter, QRectF(0, i * area.height(), area.width(), area.height()));
        painter.restore();
        report.Footer(++page, pages);
    }

    int number = 0;
    for (const TFigurePage& figure : figures) {
        report.NewPage();
        TFigure look(*figure.Graph, "Figure " + std::to_string(++number) + ". " + figure.Title);
        if (input.Results && sources.Graphs)
            NameCurves(sources, *input.Results, *figure.Graph);
        look.Thin(MostCurvesPerFigure);
        TGraphPlot& graph = *figure.Graph;
        TPageMargins margins;
        margins.Left = margins.Right = margins.Top = static_cast<int>(TextMarginMm / 25.4 * 1000);
        margins.Bottom = static_cast<int>((TextMarginMm + FooterMm) / 25.4 * 1000);
        const bool levelled = sources.Graphs && &graph == &sources.Graphs->pltTZcurves;
        PaintPlot(painter, graph, FigureRange(graph, levelled), PageCanvas(graph, report.Writer(), margins, {}));
        report.Footer(++page, pages);
    }

    if (side) {
        report.NewPage(QPageLayout::Landscape);
        painter.save();
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(10);
        painter.setFont(font);
        const QRect frame = report.TextArea();
        const QString caption =
            QStringLiteral("Figure %1. The pile in the soil layers (depths in %2)")
                .arg(number + 1)
                .arg(QString::fromStdString(LengthUnitText(project.Units())));
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(frame, Qt::AlignHCenter | Qt::AlignTop, caption);
        font.setBold(false);
        painter.setFont(font);
        PaintSideViewPage(painter, *side, frame);
        painter.restore();
        report.Footer(++page, pages);
    }

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
