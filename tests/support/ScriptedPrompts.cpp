#include "ScriptedPrompts.h"

#include <QPrinter>

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

// Every widget test keeps the program's settings in a configuration folder
// of its own, made before anything reads them and removed at the end, so
// that no test reads or changes the settings of whoever runs it.
class TPrivateConfiguration {
public:
    TPrivateConfiguration()
    {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "korven-test-config-XXXXXX").string();
        if (error || mkdtemp(pattern.data()) == nullptr)
            pattern = "/nonexistent/korven-test-config";  // settings then go nowhere
        else
            FPath = pattern;
        setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
    }
    ~TPrivateConfiguration()
    {
        std::error_code ignored;
        if (!FPath.empty())
            std::filesystem::remove_all(FPath, ignored);
    }
    TPrivateConfiguration(const TPrivateConfiguration&) = delete;
    TPrivateConfiguration& operator=(const TPrivateConfiguration&) = delete;

private:
    std::string FPath;
};

const TPrivateConfiguration privateConfiguration;

}  // namespace

ScriptedPrompts::ScriptedPrompts() : previous_(InstallPrompts(this)) {}

ScriptedPrompts::~ScriptedPrompts() { InstallPrompts(previous_); }

QStringList ScriptedPrompts::Messages() const
{
    QStringList texts;
    for (const Record& record : Asked) {
        if (record.What == Kind::Inform)
            texts << record.Text;
    }
    return texts;
}

void ScriptedPrompts::Inform(QWidget*, const QString& text, PromptIcon icon)
{
    Asked.push_back({Kind::Inform, text, icon, FileRequest()});
}

Answer ScriptedPrompts::Ask(QWidget*, const QString& text)
{
    Asked.push_back({Kind::Ask, text, PromptIcon::Question, FileRequest()});
    if (Answers.empty())
        return Answer::Cancel;
    const Answer answer = Answers.front();
    Answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::AskText(QWidget*, const QString& label, const QString&)
{
    Asked.push_back({Kind::AskText, label, PromptIcon::None, FileRequest()});
    if (Texts.empty())
        return std::nullopt;
    const QString text = Texts.front();
    Texts.pop_front();
    return text;
}

FileChoice ScriptedPrompts::OpenFile(QWidget*, const FileRequest& request) { return NextFile(Kind::OpenFile, request); }

FileChoice ScriptedPrompts::SaveFile(QWidget*, const FileRequest& request) { return NextFile(Kind::SaveFile, request); }

bool ScriptedPrompts::Print(QWidget*, QPrinter& printer)
{
    Asked.push_back({Kind::Print, printer.docName(), PromptIcon::None, FileRequest()});
    if (PrintFiles.empty())
        return false;
    const QString path = PrintFiles.front();
    PrintFiles.pop_front();
    if (path.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
}

bool ScriptedPrompts::PageSetup(QWidget*, QPrinter& printer)
{
    Asked.push_back({Kind::PageSetup, printer.docName(), PromptIcon::None, FileRequest()});
    if (PageMargins.empty())
        return false;
    printer.setPageMargins(PageMargins.front(), QPageLayout::Inch);
    PageMargins.pop_front();
    return true;
}

FileChoice ScriptedPrompts::NextFile(Kind kind, const FileRequest& request)
{
    Asked.push_back({kind, request.Title, PromptIcon::None, request});
    if (Files.empty())
        return {};
    const FileChoice choice = Files.front();
    Files.pop_front();
    return choice;
}

RecordingLauncher::RecordingLauncher() : previous_(InstallLauncher(this)) {}

RecordingLauncher::~RecordingLauncher() { InstallLauncher(previous_); }

bool RecordingLauncher::StartProgram(const QString& program, const QStringList& arguments)
{
    Started.push_back({program, arguments});
    return Succeeds;
}

bool RecordingLauncher::OpenDocument(const QString& path)
{
    Started.push_back({QString(), {path}});
    return Succeeds;
}
