#include "UserPrompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString& TitleOfMessages()
{
    static QString title;
    return title;
}

class QtPrompts : public UserPrompts {
public:
    void Inform(QWidget* parent, const QString& text, PromptIcon icon) override
    {
        QMessageBox box(BoxIcon(icon), MessageTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }

    Answer Ask(QWidget* parent, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, MessageTitle(), text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
        }
    }

    std::optional<QString> AskText(QWidget* parent, const QString& label, const QString& text) override
    {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(MessageTitle());
        dialog.setLabelText(label);
        dialog.setTextValue(text);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    }

    FileChoice OpenFile(QWidget* parent, const FileRequest& request) override
    {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return Run(dialog, request);
    }

    FileChoice SaveFile(QWidget* parent, const FileRequest& request) override
    {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // A name typed without an extension takes the one of the file type
        // chosen, as the type is changed; the request's own for "all files".
        const auto follow = [&dialog, &request](const QString& filter) {
            const QString suffix = FilterSuffix(filter);
            dialog.setDefaultSuffix(suffix.isEmpty() ? request.DefaultSuffix : suffix);
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
        follow(PresetFilter(request));
        return Run(dialog, request);
    }

    bool Print(QWidget* parent, QPrinter& printer) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

    bool PageSetup(QWidget* parent, QPrinter& printer) override
    {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    // The extension of a filter's first pattern ("PNG Image (*.png)" ->
    // "png"), empty for "*" and the like.
    static QString FilterSuffix(const QString& filter)
    {
        static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)"));
        const QRegularExpressionMatch match = pattern.match(filter);
        return match.hasMatch() ? match.captured(1) : QString();
    }

    static QString PresetFilter(const FileRequest& request)
    {
        const QStringList filters = QtFileFilter(request.Filter).split(QStringLiteral(";;"));
        return request.FilterIndex >= 0 && request.FilterIndex < filters.size() ? filters[request.FilterIndex]
                                                                                 : QString();
    }

    static FileChoice Run(QFileDialog& dialog, const FileRequest& request)
    {
        const QStringList filters = QtFileFilter(request.Filter).split(QStringLiteral(";;"));
        dialog.setWindowTitle(request.Title);
        dialog.setNameFilters(filters);
        if (request.ExecutableFilter >= 0 && request.ExecutableFilter < filters.size()) {
            // The name filters cannot tell programs from other files; the
            // executable filter lists executable files (and folders) only.
            const QString executables = filters[request.ExecutableFilter];
            const QDir::Filters all = dialog.filter();
            const auto follow = [&dialog, executables, all](const QString& filter) {
                dialog.setFilter(filter == executables ? QDir::AllDirs | QDir::Files | QDir::Executable : all);
            };
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
            follow(filters.value(request.FilterIndex));
        }
        if (request.FilterIndex >= 0 && request.FilterIndex < filters.size())
            dialog.selectNameFilter(filters[request.FilterIndex]);
        if (!request.FileName.isEmpty())
            dialog.selectFile(request.FileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return {dialog.selectedFiles().constFirst(), static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
    }
};

class QtLauncher : public ProgramLauncher {
public:
    bool StartProgram(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }

    // The desktop's opener reports within moments when no program takes the
    // document; one still running then has started a program.
    bool OpenDocument(const QString& path) override
    {
        auto* opener = new QProcess;
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        opener->start(QStringLiteral("xdg-open"), {path});
        if (!opener->waitForStarted()) {
            delete opener;
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        }
        if (!opener->waitForFinished(OpenerPatience))
            return true;
        return opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    }

private:
    static constexpr int OpenerPatience = 3000;  // ms
};

QtPrompts qtPrompts;
QtLauncher qtLauncher;
UserPrompts* currentPrompts = &qtPrompts;
ProgramLauncher* currentLauncher = &qtLauncher;

}  // namespace

UserPrompts& Prompts() { return *currentPrompts; }

ProgramLauncher& Launcher() { return *currentLauncher; }

UserPrompts* InstallPrompts(UserPrompts* prompts)
{
    UserPrompts* previous = currentPrompts;
    currentPrompts = prompts ? prompts : &qtPrompts;
    return previous;
}

ProgramLauncher* InstallLauncher(ProgramLauncher* launcher)
{
    ProgramLauncher* previous = currentLauncher;
    currentLauncher = launcher ? launcher : &qtLauncher;
    return previous;
}

QString QtFileFilter(const QString& filter)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        QString description = parts[i];
        description.remove(trailingPatterns);
        entries << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

bool StartTextEditor(const QString& editorCommand, const QString& file)
{
    QStringList arguments = QProcess::splitCommand(editorCommand);
    if (arguments.isEmpty())
        arguments = {kDefaultTextEditor};
    const QString program = arguments.takeFirst();
    return Launcher().StartProgram(program, arguments << file);
}

void SetMessageTitle(const QString& title) { TitleOfMessages() = title; }

QString MessageTitle()
{
    return TitleOfMessages().isEmpty() ? QGuiApplication::applicationDisplayName() : TitleOfMessages();
}
