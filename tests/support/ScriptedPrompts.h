#pragma once

// Test doubles of the prompts and the launcher. Creating one installs it in
// place of the Qt implementation; destroying it restores the previous one.

#include "UserPrompts.h"

#include <QMarginsF>

#include <deque>
#include <vector>

// Answers from scripted queues and records every prompt.
class ScriptedPrompts : public UserPrompts {
public:
    enum class Kind { Inform, Ask, AskText, OpenFile, SaveFile, Print, PageSetup };
    struct Record {
        Kind What;
        QString Text;  // message, question or label; the title for file dialogs;
                       // the job title for the print dialog
        PromptIcon Icon = PromptIcon::None;
        FileRequest Request;  // file dialogs only
    };

    ScriptedPrompts();
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // Answers handed out in order; Cancel and an empty choice once used up.
    std::deque<Answer> Answers;
    // Texts entered, in order; none left cancels.
    std::deque<QString> Texts;
    std::deque<FileChoice> Files;
    // Each print dialog prints to the next PDF file; an empty path, or none
    // left, cancels it.
    std::deque<QString> PrintFiles;
    // Each page-setup dialog sets the next margins (inches); none left
    // cancels it.
    std::deque<QMarginsF> PageMargins;
    std::vector<Record> Asked;

    // Texts of the messages shown with Inform, oldest first.
    QStringList Messages() const;

    void Inform(QWidget* parent, const QString& text, PromptIcon icon) override;
    Answer Ask(QWidget* parent, const QString& text) override;
    std::optional<QString> AskText(QWidget* parent, const QString& label, const QString& text) override;
    FileChoice OpenFile(QWidget* parent, const FileRequest& request) override;
    FileChoice SaveFile(QWidget* parent, const FileRequest& request) override;
    bool Print(QWidget* parent, QPrinter& printer) override;
    bool PageSetup(QWidget* parent, QPrinter& printer) override;

private:
    FileChoice NextFile(Kind kind, const FileRequest& request);
    UserPrompts* previous_;
};

// Records each start and answers `Succeeds` without starting anything.
class RecordingLauncher : public ProgramLauncher {
public:
    struct Start {
        QString Program;        // empty for OpenDocument
        QStringList Arguments;  // the document path for OpenDocument
    };

    RecordingLauncher();
    ~RecordingLauncher() override;
    RecordingLauncher(const RecordingLauncher&) = delete;
    RecordingLauncher& operator=(const RecordingLauncher&) = delete;

    bool Succeeds = true;
    std::vector<Start> Started;

    bool StartProgram(const QString& program, const QStringList& arguments) override;
    bool OpenDocument(const QString& path) override;

private:
    ProgramLauncher* previous_;
};
