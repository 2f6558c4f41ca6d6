#pragma once

// Driving the main window in tests as its menus do: find an action or a
// menu by its caption, open a menu (its items' states are set then) and
// trigger an item.

#include "MainForm.h"

#include <QAction>
#include <QMenu>

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
