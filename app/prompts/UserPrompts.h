#pragma once

// Every message box, question and file dialog of the program goes through
// Prompts(), and every external program or document is started through
// Launcher(). Windows never call QMessageBox, QFileDialog, QProcess or
// QDesktopServices themselves; that keeps them testable without a person at
// the screen. A test creates a ScriptedPrompts and a RecordingLauncher
// (tests/support/ScriptedPrompts.h, library korven_test_support), which
// answer from a script and record what the program asked for.
//
//   Prompts().Inform(this, "Entry must be an integer.");
//   if (Prompts().Ask(this, "Do you want to save any changes?") == Answer::Cancel) ...
//   FileChoice file = Prompts().OpenFile(this, FileRequest("Open", filter));
//   if (std::optional<QString> depth = Prompts().AskText(this, "Depth (ft):", "30")) ...
//   if (!Launcher().StartProgram(editorPath, {reportPath})) ...
//   if (Prompts().Print(this, printer)) ... paint on the printer

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class QPrinter;
class QWidget;

enum class PromptIcon { None, Information, Question, Warning, Error };
enum class Answer { Yes, No, Cancel };

// One file dialog. `Filter` is written as pairs of description and patterns
// separated by "|", the patterns of one pair by ";", for instance
// "KORVEN 2014 (*.kv3d)|*.kv3d|All Files (*.*)|*.*".
struct FileRequest {
    explicit FileRequest(QString title = {}, QString filter = {}, QString fileName = {}, QString defaultSuffix = {},
                         int filterIndex = 0)
        : Title(std::move(title)), Filter(std::move(filter)), FileName(std::move(fileName)),
          DefaultSuffix(std::move(defaultSuffix)), FilterIndex(filterIndex)
    {}

    QString Title;
    QString Filter;
    QString FileName;       // preset path or name
    QString DefaultSuffix;  // appended, whole, when the chosen name has none (save only)
    int FilterIndex;        // preset filter, 0-based
    // A filter, 0-based, that lists executable files only (its patterns
    // match every name); -1 for none.
    int ExecutableFilter = -1;
};

// What the user chose in a file dialog. An empty `Path` means cancelled.
struct FileChoice {
    QString Path;
    int FilterIndex = 0;  // the filter selected when the dialog closed
};

// Message boxes carry the title set by SetMessageTitle (the application's
// title), or else the application's display name.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A message with an OK button.
    virtual void Inform(QWidget* parent, const QString& text, PromptIcon icon = PromptIcon::Information) = 0;
    // A question with Yes, No and Cancel buttons and a question icon.
    virtual Answer Ask(QWidget* parent, const QString& text) = 0;
    // A line of text to enter under `label`, preset to `text`, with OK and
    // Cancel buttons; nothing when cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& label, const QString& text) = 0;
    // Open dialog for one existing file.
    virtual FileChoice OpenFile(QWidget* parent, const FileRequest& request) = 0;
    // Save dialog in an existing folder; asks before overwriting a file.
    virtual FileChoice SaveFile(QWidget* parent, const FileRequest& request) = 0;
    // Print dialog for a printer (a PDF file is always one of its targets);
    // false when cancelled.
    virtual bool Print(QWidget* parent, QPrinter& printer) = 0;
    // Page-setup dialog of a printer's paper and margins; false when
    // cancelled.
    virtual bool PageSetup(QWidget* parent, QPrinter& printer) = 0;
};

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;

    // Starts `program` with `arguments` (no shell involved) and does not wait.
    // False when the process could not be started.
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
    // Opens a document with the desktop's default handler for its type.
    virtual bool OpenDocument(const QString& path) = 0;
};

// The program's text editor unless the user chose another one: the desktop's
// opener of text files.
inline const QString kDefaultTextEditor = QStringLiteral("xdg-open");

// Starts the text editor the user chose on `file`. The editor setting is a
// command that may carry arguments of its own ("gedit --new-window"),
// split at spaces outside double quotes, without a shell; the
// file goes after them. An empty setting means the default editor.
bool StartTextEditor(const QString& editorCommand, const QString& file);

void SetMessageTitle(const QString& title);
QString MessageTitle();

// The implementations in use: the Qt ones unless a test installed others.
UserPrompts& Prompts();
ProgramLauncher& Launcher();

// Installs an implementation (not owned) and returns the previous one;
// nullptr restores the Qt implementation.
UserPrompts* InstallPrompts(UserPrompts* prompts);
ProgramLauncher* InstallLauncher(ProgramLauncher* launcher);

// Qt filter string ("Programs (*.exe *.com);;All Files (*)") for a filter
// written as description|patterns pairs; "*.*" becomes "*".
QString QtFileFilter(const QString& filter);
