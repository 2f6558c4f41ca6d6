#include "ReportText.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <cmath>

namespace {

int PageOf(qreal y, qreal pageHeight) { return static_cast<int>(std::floor(y / pageHeight)); }

// Tables of up to this many rows are kept whole on one page.
constexpr int ShortTableRows = 10;

// The last block a heading keeps to its page: the next paragraph; of a
// short table its last row, of a longer one its first row below the heading
// rows (which the table repeats anyway).
QTextBlock KeptBlockAfter(const QTextDocument& text, const QTextBlock& heading)
{
    const QTextBlock next = heading.next();
    if (!next.isValid())
        return next;
    if (auto* table = qobject_cast<QTextTable*>(text.frameAt(next.position()))) {
        const int headingRows = table->format().headerRowCount();
        if (table->rows() > headingRows) {
            const int row = table->rows() - headingRows <= ShortTableRows ? table->rows() - 1 : headingRows;
            return table->cellAt(row, 0).firstCursorPosition().block();
        }
    }
    return next;
}

// Moves every heading that would end a page apart from what follows it (a
// short table: all of it) to the next page; one at a time, as each move lays
// out the rest anew.
void KeepHeadingsWithNext(QTextDocument& text)
{
    const qreal pageHeight = text.pageSize().height();
    QAbstractTextDocumentLayout* layout = text.documentLayout();
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        const QTextBlock next = KeptBlockAfter(text, block);
        if (!next.isValid())
            continue;
        const int page = PageOf(layout->blockBoundingRect(block).top(), pageHeight);
        if (page == PageOf(layout->blockBoundingRect(next).bottom() - 1, pageHeight))
            continue;
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
    }
}

}  // namespace

std::unique_ptr<QTextDocument> ReportTextDocument(const std::string& html, QPaintDevice& device, const QSizeF& page)
{
    auto text = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.5);
    text->setDefaultFont(font);
    text->documentLayout()->setPaintDevice(&device);
    text->setDefaultStyleSheet(QStringLiteral("th { background-color: #e8e8e8; } h1 { font-size: 20pt; }"));
    text->setHtml(QString::fromStdString(html));
    text->setPageSize(page);
    KeepHeadingsWithNext(*text);
    return text;
}
