#pragma once

// Test doubles of the prompts and the launcher. Creating one installs it in
// place of the Qt implementation; destroying it restores the previous one.

#include "UserPrompts.h"

#include <deque>
#include <vector>

// Answers from scripted queues and records every prompt.
class ScriptedPrompts : public UserPrompts {
public:
    enum class Kind { Inform, Ask, OpenFile, SaveFile };
    struct Record {
        Kind What;
        QString Text;          // message or question; the title for file dialogs
        PromptIcon Icon = PromptIcon::None;
        FileRequest Request;   // file dialogs only
    };

    ScriptedPrompts();
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // Answers handed out in order; Cancel and an empty choice once used up.
    std::deque<Answer> Answers;
    std::deque<FileChoice> Files;
    std::vector<Record> Asked;

    // Texts of the messages shown with Inform, oldest first.
    QStringList Messages() const;

    void Inform(QWidget* parent, const QString& text, PromptIcon icon) override;
    Answer Ask(QWidget* parent, const QString& text) override;
    FileChoice OpenFile(QWidget* parent, const FileRequest& request) override;
    FileChoice SaveFile(QWidget* parent, const FileRequest& request) override;

private:
    FileChoice NextFile(Kind kind, const FileRequest& request);
    UserPrompts* previous_;
};

// Records each start and answers `Succeeds` without starting anything.
class RecordingLauncher : public ProgramLauncher {
public:
    struct Start {
        QString Program;      // empty for OpenDocument
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
