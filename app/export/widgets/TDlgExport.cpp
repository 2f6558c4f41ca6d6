#include "TDlgExport.h"

#include "ExportPlots.h"
#include "MainGraphs.h"
#include "UserPrompts.h"
#include "WordReader.h"
#include "XlsxWorkbook.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TDlgExport::TDlgExport(TMainGraphs& graphs, std::array<const QAction*, PlotCount> commands, QString projectFile,
                       QWidget* parent)
    : QDialog(parent), FGraphs(graphs), FCommands(commands), FProjectFile(std::move(projectFile))
{
    setWindowTitle(QStringLiteral("Export to Excel"));
    setObjectName(QStringLiteral("DlgExport"));

    auto* group = new QGroupBox(QStringLiteral("Available Plots"), this);
    CheckListBoxPlots = new QListWidget(group);
    CheckListBoxPlots->setObjectName(QStringLiteral("CheckListBoxPlots"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(CheckListBoxPlots);

    const auto button = [this](const char* name, const QString& caption, void (TDlgExport::*click)()) {
        auto* pushButton = new QPushButton(caption, this);
        pushButton->setObjectName(QLatin1String(name));
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, click);
        return pushButton;
    };
    auto* selectButtons = new QHBoxLayout;
    selectButtons->addWidget(button("Button1", QStringLiteral("Select All"), &TDlgExport::Button1Click));
    selectButtons->addWidget(button("Button2", QStringLiteral("Unselect All"), &TDlgExport::Button2Click));
    FGenerateButton = button("Button3", QStringLiteral("Generate Excel File"), &TDlgExport::Button3Click);
    auto* mainButtons = new QHBoxLayout;
    mainButtons->addWidget(FGenerateButton);
    mainButtons->addWidget(button("Button4", QStringLiteral("Close Window"), &TDlgExport::Button4Click));

    // The workbook is saved before it opens, so the notes say that rather
    // than asking the user to save it afterwards.
    auto* notes = new QLabel(QStringLiteral("The Excel file opens in your spreadsheet program (if available).\n"
                                            "Please wait until all the data has been exported to Excel.\n"
                                            "The Excel file is saved under the name you choose before it opens."),
                             this);
    notes->setObjectName(QStringLiteral("Notes"));

    auto* layout = new QVBoxLayout(this);
    // The dialog keeps the size of its contents.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(group);
    layout->addLayout(selectButtons);
    layout->addLayout(mainButtons);
    layout->addWidget(notes);
    // Where the last workbook went.
    FSavedTo = new QLabel(this);
    FSavedTo->setObjectName(QStringLiteral("SavedTo"));
    FSavedTo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FSavedTo->hide();
    layout->addWidget(FSavedTo);
}

TGraphPlot& TDlgExport::GetPlotPt(int n) const
{
    TGraphPlot* const plots[PlotCount] = {&FGraphs.pltLoad, &FGraphs.pltAxial, &FGraphs.pltTZcurves, &FGraphs.PltQW};
    return *plots[n - 1];
}

const QAction* TDlgExport::GetMenuPt(int n) const { return FCommands[static_cast<std::size_t>(n - 1)]; }

int TDlgExport::GetNPlots() const
{
    int checked = 0;
    for (int i = 0; i < CheckListBoxPlots->count(); ++i)
        if (CheckListBoxPlots->item(i)->checkState() == Qt::Checked)
            ++checked;
    return checked;
}

void TDlgExport::CheckGenerateBtn() { FGenerateButton->setEnabled(GetNPlots() > 0); }

void TDlgExport::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TDlgExport::FormActivate()
{
    CheckListBoxPlots->clear();
    for (int n = 1; n <= PlotCount; ++n) {
        auto* item = new QListWidgetItem(QString::fromStdString(GetPlotPt(n).Caption), CheckListBoxPlots);
        const bool available = GetMenuPt(n) != nullptr && GetMenuPt(n)->isEnabled();
        item->setFlags(available ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                                 : Qt::NoItemFlags);
        item->setCheckState(available ? Qt::Checked : Qt::Unchecked);
    }
    // As high as its four entries.
    CheckListBoxPlots->setFixedHeight(CheckListBoxPlots->sizeHintForRow(0) * PlotCount +
                                      2 * CheckListBoxPlots->frameWidth() + 4);
    CheckGenerateBtn();
}

void TDlgExport::CheckAll(bool checked)
{
    for (int i = 0; i < CheckListBoxPlots->count(); ++i) {
        QListWidgetItem* item = CheckListBoxPlots->item(i);
        if (item->flags() & Qt::ItemIsEnabled)
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    CheckGenerateBtn();
}

void TDlgExport::Button1Click() { CheckAll(true); }

void TDlgExport::Button2Click() { CheckAll(false); }

void TDlgExport::Button4Click() { close(); }

QString TDlgExport::DefaultWorkbook() const
{
    const QFileInfo project(FProjectFile);
    return project.absoluteDir().filePath(project.completeBaseName() + QStringLiteral(".xlsx"));
}

void TDlgExport::Button3Click()
{
    std::vector<const TGraphPlot*> chosen;
    for (int i = 0; i < CheckListBoxPlots->count(); ++i)
        if (CheckListBoxPlots->item(i)->checkState() == Qt::Checked)
            chosen.push_back(&GetPlotPt(i + 1));
    if (chosen.empty()) {
        // Entries unchecked by hand leave the button enabled; there is
        // nothing to export.
        CheckGenerateBtn();
        return;
    }
    const QString path = Prompts()
                             .SaveFile(this, FileRequest(QStringLiteral("Save Excel File As"), FileFilter,
                                                         DefaultWorkbook(), QStringLiteral("xlsx")))
                             .Path;
    if (path.isEmpty())
        return;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    TXlsxWorkbook book;
    // A step that fails stops the export; what was written before it is
    // still saved, and the legend's status column shows the stage reached.
    QString stopped;
    try {
        ExportGraphs(book, chosen);
    } catch (const std::exception& error) {
        stopped = QString::fromStdString(error.what());
    }
    QString failure;
    try {
        book.SaveAs(path.toStdString());
    } catch (const EInOutError& error) {
        failure = QString::fromStdString(error.what());
    }
    QApplication::restoreOverrideCursor();

    if (!failure.isEmpty()) {
        Prompts().Inform(this, failure, PromptIcon::Error);
        return;
    }
    FSavedTo->setText(QStringLiteral("Saved to %1").arg(QDir::toNativeSeparators(path)));
    FSavedTo->show();
    const bool opened = Launcher().OpenDocument(path);
    if (!stopped.isEmpty())
        Prompts().Inform(this,
                         QStringLiteral("The export stopped part-way: %1\nThe Excel file \"%2\" holds what was "
                                        "exported before; its Legend sheet shows the stage reached.")
                             .arg(stopped, path),
                         PromptIcon::Error);
    if (!opened)
        Prompts().Inform(this, QStringLiteral("The Excel file \"%1\" was saved, but no program could be started "
                                              "to open it.")
                                   .arg(path));
}
