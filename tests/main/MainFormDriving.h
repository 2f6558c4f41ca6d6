#pragma once

// Driving the main window in tests as its menus do: find an action or a
// menu by its caption, open a menu (its items' states are set then) and
// trigger an item.

#include "MainForm.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

inline QAction* Action(TMainForm& form, const QString& text)
{
    for (QAction* action : form.findChildren<QAction*>())
        if (action->text() == text)
            return action;
    qFatal("no action %s", qPrintable(text));
}

inline QMenu* Menu(TMainForm& form, const QString& title)
{
    for (QMenu* menu : form.findChildren<QMenu*>())
        if (menu->title() == title)
            return menu;
    qFatal("no menu %s", qPrintable(title));
}

// Sets the menu's item states as opening it does.
inline void Popup(TMainForm& form, const QString& title) { emit Menu(form, title)->aboutToShow(); }

inline void Trigger(TMainForm& form, const QString& text) { Action(form, text)->trigger(); }

// A main window of its own for each test function, with cleared settings, a
// private folder and scripted prompts and launcher; test classes derive from
// it beside QObject and call Start in init() and Finish in cleanup().
class TMainFormFixture {
protected:
    void Start()
    {
        QSettings(QStringLiteral("Drumel"), QStringLiteral("KORVEN")).clear();
        FFolder = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(QDir::tempPath());
        FPrompts = std::make_unique<ScriptedPrompts>();
        FLauncher = std::make_unique<RecordingLauncher>();
        FForm = std::make_unique<TMainForm>();
    }

    void Finish()
    {
        FForm.reset();
        FLauncher.reset();
        FPrompts.reset();
        FFolder.reset();
    }

    // A writable copy of the file `source` in the test's folder.
    QString CopyIn(const QString& source, const QString& name)
    {
        const QString path = FFolder->filePath(name);
        QFile::remove(path);
        QFile::copy(source, path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    // Opens a project through File > Open, its dialog answered with `path`.
    void OpenProject(const QString& path)
    {
        FPrompts->Files.push_back({path, 0});
        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("&Open..."));
    }

    std::unique_ptr<QTemporaryDir> FFolder;
    std::unique_ptr<ScriptedPrompts> FPrompts;
    std::unique_ptr<RecordingLauncher> FLauncher;
    std::unique_ptr<TMainForm> FForm;
};
