#include "ResultsSummaryForm.h"

#include "ProgramData.h"
#include "ResultsSummary.h"

#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>


TfrmResultsSummary::TfrmResultsSummary(std::function<TProgramData&()> project,
                                       std::function<const TPlotData*()> results, QWidget* parent)
    : QWidget(parent), FProject(std::move(project)), FResults(std::move(results)), FTable(new QTableWidget(0, 3, this)), FNotes(new QLabel(this))
{
    setObjectName(QStringLiteral("ResultsSummary"));
    setWindowTitle(WindowCaption);
    FTable->setObjectName(QStringLiteral("ReadoutTable"));
    FTable->setHorizontalHeaderLabels({tr("Criterion"), tr("Head load"), tr("Settlement")});
    FTable->verticalHeader()->hide();
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    FTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    FTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    FNotes->setObjectName(QStringLiteral("ReadoutNotes"));
    FNotes->setWordWrap(true);
    FNotes->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FTable, 1);
    layout->addWidget(FNotes);
    // Cascaded and tiled windows keep the read-outs readable.
    setMinimumSize(logicalDpiX() * 5, logicalDpiY() * 3);
    Reload();
    resize(sizeHint());
}

QSize TfrmResultsSummary::sizeHint() const
{
    // Every criterion and value whole, and the notes under them, as far as
    // the screen holds them.
    const QAbstractItemView& view = *FTable;
    int width = 2 * FTable->frameWidth();
    for (int column = 0; column < FTable->columnCount(); ++column)
        width += std::max(view.sizeHintForColumn(column), FTable->horizontalHeader()->sectionSizeHint(column));
    if (FTable->verticalScrollBar()->isVisible())
        width += FTable->verticalScrollBar()->sizeHint().width();
    const int table = 2 * FTable->frameWidth() + FTable->horizontalHeader()->sizeHint().height() +
                      FTable->verticalHeader()->length();
    const QMargins margins = layout()->contentsMargins();
    QSize content(width + margins.left() + margins.right(),
                  table + layout()->spacing() + FNotes->heightForWidth(width) + margins.top() + margins.bottom());
    if (const QScreen* shown = screen())
        content = content.boundedTo(shown->availableSize() * 9 / 10);
    return content.expandedTo(minimumSize());
}

void TfrmResultsSummary::Reload()
{
    const TProgramData& project = FProject();
    FTable->setRowCount(0);
    const TPlotData* results = FResults();
    if (!results) {
        FNotes->setText(tr("No results to summarise.\nRun the analysis (Computation, Run Analysis) "
                           "to compute them."));
        return;
    }
    const TPlotData& data = *results;
    if (data.Units != project.Units()) {
        FNotes->setText(
            tr("The results were computed in other units than the project now uses.\nRun the "
               "analysis again (Computation, Run Analysis) to read them off."));
        return;
    }
    const TPileForReadouts pile = PileForReadouts(project);
    const TCapacityReadouts readouts = ComputeReadouts(data, pile);
    std::vector<TSummaryRow> rows = SummaryRows(readouts, pile);
    for (TSummaryRow& row : LoadCaseRows(data, readouts))
        rows.push_back(std::move(row));
    FTable->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < FTable->rowCount(); ++row) {
        const TSummaryRow& summary = rows[static_cast<std::size_t>(row)];
        FTable->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(summary.Criterion)));
        for (int column : {1, 2}) {
            auto* item = new QTableWidgetItem(QString::fromStdString(column == 1 ? summary.Load : summary.Settlement));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            FTable->setItem(row, column, item);
        }
    }
    QStringList notes;
    for (const std::string& note : SummaryNotes(readouts, pile))
        notes << QString::fromStdString(note);
    FNotes->setText(notes.join(QLatin1Char('\n')));
}
