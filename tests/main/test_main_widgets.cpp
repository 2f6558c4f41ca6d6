#include "Evaluator.h"
#include "FocusTakingPrompts.h"
#include "Periphery.h"
#include "ScriptedPrompts.h"
#include "TDataEdit.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

// A dialog-like window with one numeric field, its label and a second
// control to move the focus to.
struct FieldWindow {
    QWidget window;
    QLabel* label = new QLabel;
    TDataEdit* field = new TDataEdit;
    QLineEdit* other = new QLineEdit;

    FieldWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(label);
        layout->addWidget(field);
        layout->addWidget(other);
        field->SetEditLabel(label);
    }

    // Shows the window with the focus in the field.
    bool Show()
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        field->setFocus(Qt::MouseFocusReason);
        return field->hasFocus();
    }

    // Replaces the field's text as the user would and tabs out of it.
    void TypeAndLeave(const QString& text)
    {
        field->setFocus(Qt::MouseFocusReason);
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, text);
        other->setFocus(Qt::TabFocusReason);
    }
};

}  // namespace

class MainWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void integerFieldRefusesFractionsAndRaisesToItsMinimum();
    void toleranceIsLoweredToItsMaximum();
    void operatorTypedOverSelectionExtendsTheExpression();
    void emptyFieldShowsTheEvaluatorsMessage();
    void narrowFieldShowsTheStartOfItsNumber();
    void escapeRestoresTheTextBeforeTheEdit();
    void messageBoxTakingTheFocusIsNoSecondExit();
    void labelFollowsTheUnitSystemAndTheEnabledState();
    void boundsStayOrderedAndHoldTheNumber();
    void numberText();
    void scriptedPromptsAnswerAndRecord();
    void fileFilterForQt();
    void saveDialogNameTakesTheChosenFilesExtension();
    void helpCommands();
};

void MainWidgetsTest::integerFieldRefusesFractionsAndRaisesToItsMinimum()
{
    ScriptedPrompts prompts;
    FieldWindow w;
    w.field->SetCaption(QStringLiteral("Number of Increments"));
    w.field->SetIntegerOnly(true);
    w.field->SetMaxVal(500);
    w.field->SetMinVal(10);
    QCOMPARE(w.field->text(), QStringLiteral("10"));  // the default 0 is moved onto the new bound
    QVERIFY(w.Show());

    w.TypeAndLeave(QStringLiteral("7.5"));
    QCOMPARE(prompts.Messages(), QStringList{QStringLiteral("Entry must be an integer.")});
    QCOMPARE(prompts.Asked.back().Icon, PromptIcon::Information);
    QVERIFY(w.field->hasFocus());
    QVERIFY(!w.field->Valid());
    QCOMPARE(w.field->text(), QStringLiteral("7.5"));

    w.TypeAndLeave(QStringLiteral("5"));
    QCOMPARE(prompts.Messages().last(), QStringLiteral("Entry must be greater than or equal to 10"));
    QCOMPARE(w.field->text(), QStringLiteral("10"));
    QVERIFY(w.field->hasFocus());

    w.TypeAndLeave(QStringLiteral("ten"));
    QCOMPARE(prompts.Messages().last(), QStringLiteral("Entry must be a valid integer."));

    w.TypeAndLeave(QStringLiteral("2*25.0"));
    QCOMPARE(prompts.Messages().size(), 3);
    QCOMPARE(w.field->text(), QStringLiteral("50"));
    QVERIFY(w.field->Valid());
    QVERIFY(w.other->hasFocus());
    QCOMPARE(w.field->Number(), 50.0L);
}

void MainWidgetsTest::toleranceIsLoweredToItsMaximum()
{
    ScriptedPrompts prompts;
    FieldWindow w;
    w.field->SetCaption(QStringLiteral("Tolerance"));
    w.field->SetUnitsString(QStringLiteral("L"));
    w.field->SetMinVal(1E-9L);
    w.field->SetMaxVal(1.0L);
    QCOMPARE(w.field->text(), QStringLiteral("1E-9"));
    QVERIFY(w.Show());

    w.TypeAndLeave(QStringLiteral("2"));
    QCOMPARE(prompts.Messages(), QStringList{QStringLiteral("Entry must be less than or equal to 1")});
    QCOMPARE(w.field->text(), QStringLiteral("1"));
    QVERIFY(w.field->hasFocus());

    // A window asking for its active field's state gets the same check.
    w.field->setText(QStringLiteral("0.00001"));
    QVERIFY(w.field->ExitCheck());
    QCOMPARE(w.field->text(), QStringLiteral("0.00001"));
}

void MainWidgetsTest::operatorTypedOverSelectionExtendsTheExpression()
{
    ScriptedPrompts prompts;
    FieldWindow w;
    w.field->SetCaption(QStringLiteral("Pile Length"));
    w.field->SetUnitsString(QStringLiteral("L"));
    w.field->SetMaxVal(1000000);
    w.field->SetNumber(12);
    QVERIFY(w.Show());

    w.field->selectAll();
    QTest::keyClicks(w.field, QStringLiteral("*12"));
    QCOMPARE(w.field->text(), QStringLiteral("12*12"));

    QTest::keyClick(w.field, Qt::Key_Return);
    QCOMPARE(w.field->text(), QStringLiteral("144"));
    QCOMPARE(w.field->selectedText(), QStringLiteral("144"));
    QVERIFY(w.field->Valid());
    QVERIFY(w.field->hasFocus());
    QVERIFY(prompts.Asked.empty());

    // Any other character still replaces the selection.
    QTest::keyClicks(w.field, QStringLiteral("7"));
    QCOMPARE(w.field->text(), QStringLiteral("7"));
}

void MainWidgetsTest::narrowFieldShowsTheStartOfItsNumber()
{
    ScriptedPrompts prompts;
    FieldWindow w;
    w.field->setFixedWidth(w.field->fontMetrics().horizontalAdvance(QStringLiteral("15.24")));
    QVERIFY(w.Show());
    const auto startShown = [&] {
        // The line edit scrolls to keep its cursor in view.
        return w.field->cursorPosition() == 0 && !w.field->hasSelectedText();
    };
    // Not being edited, the field shows its number as the project file keeps
    // it, from its start ("15.24", never "5.24"), and keeps the number whole.
    w.field->clearFocus();
    w.field->SetNumber(15.24000000006096L);
    QCOMPARE(w.field->text(), QStringLiteral("15.24"));
    QCOMPARE(w.field->Number(), 15.24000000006096L);
    QVERIFY(startShown());
    // Being edited, it shows the number in full.
    w.field->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.field->text(), QStringLiteral("15.24000000006096"));
    QCOMPARE(w.field->selectedText(), w.field->text());

    w.TypeAndLeave(QStringLiteral("12.19200000004877"));
    QCOMPARE(w.field->text(), QStringLiteral("12.192"));
    QVERIFY(startShown());
    QVERIFY(w.field->Number() > 12.192L);

    // Left for another window without a check, it shows its start as well.
    w.field->setFocus(Qt::MouseFocusReason);
    QCOMPARE(w.field->text(), QStringLiteral("12.19200000004877"));
    w.field->end(false);
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QCOMPARE(w.field->text(), QStringLiteral("12.192"));
    QVERIFY(startShown());
    QVERIFY(prompts.Asked.empty());
}

void MainWidgetsTest::escapeRestoresTheTextBeforeTheEdit()
{
    ScriptedPrompts prompts;
    FieldWindow w;
    w.field->SetNumber(12);
    QVERIFY(w.Show());
    w.field->selectAll();
    QTest::keyClicks(w.field, QStringLiteral("99+"));
    QTest::keyClick(w.field, Qt::Key_Escape);
    QCOMPARE(w.field->text(), QStringLiteral("12"));
    QVERIFY(w.field->hasFocus());

    // After a checked entry, Escape goes back to that entry's number.
    QTest::keyClicks(w.field, QStringLiteral("*12"));
    QTest::keyClick(w.field, Qt::Key_Return);
    QCOMPARE(w.field->text(), QStringLiteral("144"));
    QTest::keyClicks(w.field, QStringLiteral("5"));
    QTest::keyClick(w.field, Qt::Key_Escape);
    QCOMPARE(w.field->text(), QStringLiteral("144"));
    w.other->setFocus(Qt::TabFocusReason);
    QVERIFY(prompts.Asked.empty());
    QCOMPARE(w.field->Number(), 144.0L);
}

void MainWidgetsTest::emptyFieldShowsTheEvaluatorsMessage()
{
    ScriptedPrompts prompts;
    FieldWindow w;
    QVERIFY(w.Show());
    w.TypeAndLeave(QString());
    QCOMPARE(prompts.Messages(), QStringList{QStringLiteral("Entry could not be evaluated:\nentry cannot be blank")});
    QVERIFY(w.field->hasFocus());
    QVERIFY_THROWS_EXCEPTION(EAssignError, w.field->Number());
}

void MainWidgetsTest::messageBoxTakingTheFocusIsNoSecondExit()
{
    FocusTakingPrompts prompts;
    FieldWindow w;
    w.field->SetMaxVal(100);
    QVERIFY(w.Show());
    w.field->selectAll();
    QTest::keyClicks(w.field, QStringLiteral("3+"));
    QTest::keyClick(w.field, Qt::Key_Enter);
    QCOMPARE(prompts.Messages(), QStringList{QStringLiteral("Entry could not be evaluated:\ninvalid expression")});
    w.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QVERIFY(w.field->hasFocus());
    QCOMPARE(prompts.Messages().size(), 1);
}

void MainWidgetsTest::labelFollowsTheUnitSystemAndTheEnabledState()
{
    FieldWindow w;
    w.field->SetCaption(QStringLiteral("Pile Length"));
    QCOMPARE(w.label->text(), QStringLiteral("Pile Length"));
    w.field->SetUnitsString(QStringLiteral("L"));
    QCOMPARE(w.label->text(), QStringLiteral("Pile Length (in)"));
    w.field->SetUnits(2);
    QCOMPARE(w.label->text(), QStringLiteral("Pile Length (m)"));
    w.field->SetUnits(7);
    QCOMPARE(w.field->Units(), 3);
    QCOMPARE(w.label->text(), QStringLiteral("Pile Length (L)"));
    w.field->SetUnits(0);
    QCOMPARE(w.field->Units(), 1);

    w.field->SetCaption(QStringLiteral("Area of Pile Tip"));
    w.field->SetUnitsString(QStringLiteral("L²"));
    QCOMPARE(w.label->text(), QStringLiteral("Area of Pile Tip (in²)"));
    w.field->SetUnits(2);
    QCOMPARE(w.label->text(), QStringLiteral("Area of Pile Tip (m²)"));

    w.field->setEnabled(false);
    QVERIFY(!w.label->isEnabled());
    w.field->setEnabled(true);
    QVERIFY(w.label->isEnabled());
}

void MainWidgetsTest::boundsStayOrderedAndHoldTheNumber()
{
    TDataEdit field;
    field.SetMinVal(5);
    field.SetMaxVal(2);  // raised to the minimum
    QCOMPARE(field.MaxVal(), 5.0L);
    field.SetMaxVal(100);
    field.SetMinVal(200);  // lowered to the maximum
    QCOMPARE(field.MinVal(), 100.0L);
    QCOMPARE(field.text(), QStringLiteral("100"));

    field.SetNumber(1E6L);
    QCOMPARE(field.text(), QStringLiteral("100"));
    field.SetMaxVal(150);
    field.SetMinVal(-1E12L);
    field.SetNumber(-3.25L);
    QCOMPARE(field.text(), QStringLiteral("-3.25"));

    // An integer-only field keeps its bounds in the 32-bit range.
    field.SetMinVal(-1E12L);
    field.SetIntegerOnly(true);
    QCOMPARE(field.MinVal(), -2147483648.0L);
    field.SetMaxVal(1E12L);
    QCOMPARE(field.MaxVal(), 2147483647.0L);

    field.SetHex(true);
    field.SetNumber(255);
    QCOMPARE(field.text(), QStringLiteral("$00FF"));
    QCOMPARE(field.Number(), 255.0L);
}

void MainWidgetsTest::numberText()
{
    QCOMPARE(GeneralText(0), QStringLiteral("0"));
    QCOMPARE(GeneralText(144), QStringLiteral("144"));
    QCOMPARE(GeneralText(-0.5L), QStringLiteral("-0.5"));
    QCOMPARE(GeneralText(0.1L), QStringLiteral("0.1"));
    QCOMPARE(GeneralText(1E-5L), QStringLiteral("0.00001"));
    QCOMPARE(GeneralText(1E-9L), QStringLiteral("1E-9"));
    QCOMPARE(GeneralText(1.5E20L), QStringLiteral("1.5E20"));
    QCOMPARE(GeneralText(123456789012345678.0L), QStringLiteral("123456789012345678"));
    QCOMPARE(GeneralText(1234567890123456789.0L), QStringLiteral("1.23456789012345679E18"));
    QCOMPARE(GeneralText(2.0L / 3), QStringLiteral("0.666666666666666667"));

    QCOMPARE(HexText(31), QStringLiteral("$001F"));
    QCOMPARE(HexText(65535.6L), QStringLiteral("$10000"));
    // Negative numbers read back through the evaluator.
    QCOMPARE(HexText(-1), QStringLiteral("$FFFFFFFF"));
    QCOMPARE(Evaluate(HexText(-1).toStdString()), -1.0L);
}

void MainWidgetsTest::scriptedPromptsAnswerAndRecord()
{
    UserPrompts* const qtPrompts = &Prompts();
    {
        ScriptedPrompts prompts;
        QCOMPARE(&Prompts(), &prompts);
        prompts.Answers = {Answer::No};
        prompts.Files = {{QStringLiteral("/tmp/a.kv3d"), 1}};

        QCOMPARE(Prompts().Ask(nullptr, QStringLiteral("Do you want to save any changes?")), Answer::No);
        QCOMPARE(Prompts().Ask(nullptr, QStringLiteral("Again?")), Answer::Cancel);  // script used up
        const FileChoice chosen =
            Prompts().OpenFile(nullptr, FileRequest(QStringLiteral("Open"), QStringLiteral("All|*")));
        QCOMPARE(chosen.Path, QStringLiteral("/tmp/a.kv3d"));
        QCOMPARE(chosen.FilterIndex, 1);
        QVERIFY(Prompts().SaveFile(nullptr, FileRequest()).Path.isEmpty());

        QCOMPARE(prompts.Asked.size(), std::size_t(4));
        QCOMPARE(prompts.Asked[0].What, ScriptedPrompts::Kind::Ask);
        QCOMPARE(prompts.Asked[0].Text, QStringLiteral("Do you want to save any changes?"));
        QCOMPARE(prompts.Asked[2].Request.Title, QStringLiteral("Open"));
        QCOMPARE(prompts.Asked[3].What, ScriptedPrompts::Kind::SaveFile);
        QVERIFY(prompts.Messages().isEmpty());
    }
    QCOMPARE(&Prompts(), qtPrompts);
}

void MainWidgetsTest::fileFilterForQt()
{
    QCOMPARE(QtFileFilter(QStringLiteral("KORVEN 2014 (*.kv3d)|*.kv3d|KORVEN 2.0 (*.kvd)|*.kvd|All Files (*.*)|*.*")),
             QStringLiteral("KORVEN 2014 (*.kv3d);;KORVEN 2.0 (*.kvd);;All Files (*)"));
    QCOMPARE(QtFileFilter(QStringLiteral("Programs|*.exe;*.com|All Files (*.*)|*.*")),
             QStringLiteral("Programs (*.exe *.com);;All Files (*)"));
}

void MainWidgetsTest::saveDialogNameTakesTheChosenFilesExtension()
{
    // The program's own save dialog: the user picks "PNG Image" in its list
    // of file types and types a name without an extension.
    QTemporaryDir folder;
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&typist] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        typist.stop();
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!types || !name) {
            dialog->reject();
            return;
        }
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        name->setText(QStringLiteral("ld2"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    typist.start(20);
    const FileChoice choice = Prompts().SaveFile(
        nullptr, FileRequest(QStringLiteral("Save As"),
                             QStringLiteral("Bitmap (*.bmp)|*.bmp|PNG Image (*.png)|*.png|SVG Drawing (*.svg)|*.svg"),
                             folder.filePath(QStringLiteral("start")), QStringLiteral("bmp")));
    QCOMPARE(QFileInfo(choice.Path).fileName(), QStringLiteral("ld2.png"));
    QCOMPARE(choice.FilterIndex, 1);
}

void MainWidgetsTest::helpCommands()
{
    ScriptedPrompts prompts;
    RecordingLauncher launcher;
    const QDir folder(QCoreApplication::applicationDirPath());

    // A document that is not there is not opened, and the user is told.
    OpenProgramDocument(nullptr, QStringLiteral("No such manual.pdf"));
    QVERIFY(launcher.Started.empty());
    QCOMPARE(prompts.Messages(),
             QStringList{QStringLiteral("The document \"No such manual.pdf\" is not in the program's folder (") +
                         folder.path() + QStringLiteral(").")});

    const QString manual = folder.filePath(QStringLiteral("test manual.pdf"));
    QFile file(manual);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    OpenProgramDocument(nullptr, QStringLiteral("test manual.pdf"));
    QCOMPARE(launcher.Started.size(), std::size_t(1));
    QVERIFY(launcher.Started[0].Program.isEmpty());
    QCOMPARE(launcher.Started[0].Arguments, QStringList{manual});
    QCOMPARE(prompts.Messages().size(), 1);
    // There, but nothing on the desktop opens it.
    launcher.Succeeds = false;
    OpenProgramDocument(nullptr, QStringLiteral("test manual.pdf"));
    QFile::remove(manual);
    QCOMPARE(prompts.Messages().at(1),
             QStringLiteral("No program could be started to show \"") + manual + QStringLiteral("\"."));

    CheckForUpdates(nullptr);
    QCOMPARE(prompts.Messages().size(), 3);
    QVERIFY(prompts.Messages()[2].contains(QStringLiteral("2014.3.3")));
    QVERIFY(prompts.Messages()[2].contains(QStringLiteral("network")));

    TAboutBox about;
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("KORVEN")));
    QVERIFY(texts.join(QLatin1Char(' ')).contains(QStringLiteral("2014.3.3")));
    QVERIFY(texts.join(QLatin1Char(' ')).contains(QStringLiteral("load-settlement")));
}

QTEST_MAIN(MainWidgetsTest)
#include "test_main_widgets.moc"
