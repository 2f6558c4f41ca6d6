// The report's text pages as the PDF writer lays them out: measured from the
// laid-out document, no table row may run over a page break, no cell may
// wrap, no table may be wider than the page, and a table running onto
// another page repeats its heading row.
#include "ProgramData.h"
#include "ReportContent.h"
#include "ReportText.h"
#include "StudyOutput.h"

#include <QAbstractTextDocumentLayout>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <cmath>

namespace {

int PageOf(qreal y, qreal pageHeight) { return static_cast<int>(std::floor(y / pageHeight)); }

void CollectTables(QTextFrame* frame, QList<QTextTable*>& tables)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            tables << table;
        CollectTables(child, tables);
    }
}

}  // namespace

class ReportLayoutTests : public QObject {
    Q_OBJECT
private slots:
    void tablesKeepTheirRowsAndNumbersWhole();
};

void ReportLayoutTests::tablesKeepTheirRowsAndNumbersWhole()
{
    TProjectTables tables;
    std::string error;
    const auto project = TProgramData::CreateFromFile(tables, KORVEN_EXAMPLES "/example.kv3d", true, error);
    QVERIFY2(error.empty(), error.c_str());
    // Enough rows of mixed magnitudes to run over several pages.
    TPlotData data;
    for (int i = 1; i <= 150; ++i)
        data.LoadSettlement.push_back({i * 1234.5678, i * 1.753e-4, i * 0.0125, i * 98.765});
    // A load case beyond the computed curve, for the note column.
    data.LoadCases = {{250000, 0.8, 0.7, 1500}};
    TReportInput input;
    input.Project = project.get();
    input.FileName = "/projects/example.kv3d";
    input.Date = "8 December 2026";
    input.Results = data;
    // A study's wide table of statistics, as the report shows it on its side.
    TStudyOutcome study;
    study.Tables = {{"readouts", "Read-out,Unit,Analysed,Beyond the curve,Mean,Standard deviation,5 %,50 %,95 %\n"
                                 "\"Capacity at a settlement of 10 % of the diameter\",lb,1000,0,412345.678901,"
                                 "12345.6789012,391234.567890,412000.123456,433456.789012\n"
                                 "\"Settlement under the study load of 150000 lb\",in,998,2,0.0812345678,"
                                 "0.0112345678,0.0651234567,0.0801234567,0.0991234567\n"}};
    input.Appendix = StudyHtml(study);

    QTemporaryDir folder;
    QPdfWriter writer(folder.filePath("layout.pdf"));
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    const QSizeF page(writer.width() * 0.8, writer.height() * 0.8);
    const auto text = ReportTextDocument(ReportHtml(input), writer, page);
    QVERIFY(text->pageCount() > 3);

    QAbstractTextDocumentLayout* layout = text->documentLayout();
    QList<QTextTable*> found;
    CollectTables(text->rootFrame(), found);
    QVERIFY(found.size() > 5);
    int runOn = 0;
    for (QTextTable* table : found) {
        QVERIFY2(layout->frameBoundingRect(table).width() <= page.width(), "a table is wider than the page");
        int firstPage = -1;
        for (int row = 0; row < table->rows(); ++row) {
            qreal top = 1e12, bottom = -1e12;
            for (int column = 0; column < table->columns(); ++column) {
                const QTextBlock block = table->cellAt(row, column).firstCursorPosition().block();
                const QRectF rect = layout->blockBoundingRect(block);
                top = std::min(top, rect.top());
                bottom = std::max(bottom, rect.bottom());
                // The values of a data table (one with a heading row) keep to
                // one line; headings may wrap.
                const int headingRows = table->format().headerRowCount();
                QVERIFY2(headingRows == 0 || row < headingRows || block.layout()->lineCount() <= 1,
                         qPrintable(QStringLiteral("the cell \"%1\" wraps").arg(block.text())));
            }
            QVERIFY2(PageOf(top, page.height()) == PageOf(bottom - 1, page.height()),
                     qPrintable(QStringLiteral("row %1 of a table is split across pages").arg(row)));
            if (firstPage < 0)
                firstPage = PageOf(top, page.height());
            if (PageOf(top, page.height()) != firstPage)
                ++runOn;
        }
        // A table whose rows run onto more pages repeats its heading row.
        if (PageOf(layout->frameBoundingRect(table).bottom() - 1, page.height()) != firstPage)
            QCOMPARE(table->format().headerRowCount(), 1);
    }
    QVERIFY(runOn > 0);

    // Headings stay on the page of what follows them.
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0 && block.next().isValid())
            QCOMPARE(PageOf(layout->blockBoundingRect(block).top(), page.height()),
                     PageOf(layout->blockBoundingRect(block.next()).bottom() - 1, page.height()));
}

QTEST_MAIN(ReportLayoutTests)
#include "test_report_layout.moc"
