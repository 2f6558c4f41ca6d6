#pragma once

// Scripted prompts that show each message in a window of its own that takes
// the focus, the way a message box does.

#include "ScriptedPrompts.h"

#include <QLineEdit>
#include <QtTest>

class FocusTakingPrompts : public ScriptedPrompts {
public:
    void Inform(QWidget* parent, const QString& text, PromptIcon icon) override
    {
        ScriptedPrompts::Inform(parent, text, icon);
        QLineEdit box;
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.setFocus();
    }
};
