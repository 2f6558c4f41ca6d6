// The main window's exports: the graphs to a workbook and the project's
// report to a PDF.

#include "MainForm.h"

#include "CommandSupport.h"
#include "ProjectReport.h"
#include "ReportContent.h"
#include "StudyWindow.h"
#include "TDlgExport.h"
#include "UserPrompts.h"

void TMainForm::ExportPlotsClick()
{
    // The dialog's entries follow the graph commands, as they stand now.
    GraphicsMenuPopup();
    TDlgExport dialog(FGraphs, {FGraphItems[0], FGraphItems[1], FGraphItems[2], FGraphItems[3]},
                      QString::fromStdString(Project().FileName), this);
    dialog.exec();
}

void TMainForm::ExportReportClick()
{
    // Inputs in the project's units beside results in others would mix them.
    if (Results() && Results()->Units != Project().Units()) {
        if (Prompts().Ask(this, QStringLiteral("The results were computed in other units than the project now "
                                               "uses, so the report would mix them.\nRun the analysis now and "
                                               "then export the report?")) != Answer::Yes)
            return;
        CompRunClick();
        if (!Results() || Results()->Units != Project().Units())
            return;
    }
    TReportSources sources{&Project(), GraphsAvailable() ? &FGraphs : nullptr, Results(), {}, {}};
    if (!AskStudyForReport(sources))
        return;
    const FileChoice choice = Prompts().SaveFile(this, FileRequest(QStringLiteral("Export Report as PDF"),
                                                                   QStringLiteral("PDF Document (*.pdf)|*.pdf"),
                                                                   ProjectFilePath(".pdf"), QStringLiteral("pdf")));
    if (choice.Path.isEmpty())
        return;
    // A report over the project or one of its run's files would lose them.
    for (const char* extension : {"kv3d", "kvd", "kv3o", "kv3p", "kv3r", "kv3x"})
        if (HasExtension(choice.Path, extension)) {
            Prompts().Inform(this,
                             QStringLiteral("The report was not written: \"%1\" is a project or result file. "
                                            "Choose a name ending in .pdf.")
                                 .arg(choice.Path),
                             PromptIcon::Warning);
            return;
        }
    QString error;
    bool written;
    {
        const TWaitCursor wait;
        written = WriteProjectReport(sources, choice.Path, error);
    }
    if (!written)
        Prompts().Inform(this, error);
    else if (!Launcher().OpenDocument(choice.Path))
        Prompts().Inform(this, QStringLiteral("The report was saved as \"%1\".").arg(choice.Path));
}

bool TMainForm::AskStudyForReport(TReportSources& sources)
{
    const TStudyOutcome* study = FStudyWindow ? FStudyWindow->Outcome() : nullptr;
    if (!study)
        return true;
    const Answer answer = Prompts().Ask(this, QStringLiteral("Add the results of the study \"%1\" to the report?")
                                                  .arg(QString::fromStdString(study->Study.Name)));
    if (answer == Answer::Yes) {
        sources.StudyHtml = StudyHtml(*study);
        sources.StudyFigures = ReportFigures(FStudyWindow->Graphs(), study->Study);
    }
    return answer != Answer::Cancel;
}
