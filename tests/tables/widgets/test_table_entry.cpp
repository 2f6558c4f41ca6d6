// Typing into a table window that sits in the program's frame beside its
// menu bar: committing cells through the grid's own editor, Escape, and the
// window's button mnemonics ahead of the menu bar's.

#include "CellTyping.h"
#include "ScriptedPrompts.h"
#include "TableForm.h"
#include "TableWindows.h"
#include "TableGrid.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// The program's frame in small: a menu bar with a "&Data" menu (Alt+D, as
// "&Delete Row") and the table windows in its MDI area.
struct Frame {
    QMainWindow window;
    QMdiArea* area = new QMdiArea;
    QMenu* data = nullptr;
    TGridTable table;

    Frame()
    {
        window.setCentralWidget(area);
        data = window.menuBar()->addMenu(QStringLiteral("&Data"));
        data->addAction(QStringLiteral("&Title"));
        InstallTableWindows(area);
        table.Caption = "Loads";
        table.SetMinRows(1);
        table.MaxRows = 10;
        table.AddColumn<TFloatColumn>({"Load"}).UnitString = "F";
        table.SetRowCount(3);
        for (int row = 0; row < 3; ++row)
            table.GetData(0, row).SetFloat(row + 1.5L);
        window.resize(800, 600);
        window.show();
    }
    ~Frame() { InstallTableWindows(nullptr); }

    TTableForm& Open()
    {
        ShowTable(table);
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("frame not active");
        return *TableForm(table);
    }
};

}  // namespace

class TableEntryTests : public QObject {
    Q_OBJECT

private slots:
    void cellsCommitThroughTheGridsOwnEditor()
    {
        ScriptedPrompts prompts;
        Frame frame;
        TTableForm& form = frame.Open();
        // Each commit used to print that the editor did not belong to the view.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("commitData|closeEditor|editor")));
        QLineEdit* editor = ClickAndType(*form.Grid, 0, 0, QStringLiteral("2*3"));
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(frame.table.GetData(0, 0).AsString(), std::string("6"));
        QCOMPARE(form.Grid->currentIndex().row(), 1);
        QVERIFY(ClickAndType(*form.Grid, 1, 0, QStringLiteral("7")));
        QVERIFY(ClickAndType(*form.Grid, 2, 0, QStringLiteral("8")));
        QCOMPARE(frame.table.GetData(0, 1).AsString(), std::string("7"));
        QTest::keyClick(form.Grid->indexWidget(form.Grid->currentIndex()), Qt::Key_Tab);
        QCOMPARE(frame.table.GetData(0, 2).AsString(), std::string("8"));
        QCOMPARE(form.Grid->CellText(0, 0), QStringLiteral("6"));
        QVERIFY(prompts.Asked.empty());
    }

    void rowsReplacedUnderAnOpenEditorSayNothing()
    {
        ScriptedPrompts prompts;
        Frame frame;
        TTableForm& form = frame.Open();
        QTest::failOnWarning(QRegularExpression(QStringLiteral("commitData|closeEditor|editor")));
        QVERIFY(ClickAndType(*form.Grid, 2, 0, QStringLiteral("4")));
        // Another project's rows arrive before the program is back in its
        // event loop, as an Open does with the window left open.
        frame.table.SetRowCount(0);
        frame.table.SetRowCount(2);
        QVERIFY(ClickAndType(*form.Grid, 1, 0, QStringLiteral("7")));
        QTest::keyClick(form.Grid->indexWidget(form.Grid->currentIndex()), Qt::Key_Return);
        QVERIFY(ClickAndType(*form.Grid, 0, 0, QStringLiteral("8")));
        QTest::qWait(50);
        QCOMPARE(frame.table.GetData(0, 1).AsString(), std::string("7"));
    }

    void escapeRestoresTheCellsText()
    {
        ScriptedPrompts prompts;
        Frame frame;
        TTableForm& form = frame.Open();
        QLineEdit* editor = ClickAndType(*form.Grid, 1, 0, QStringLiteral("99+"));
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(form.Grid->CellText(1, 0), QStringLiteral("2.5"));
        // The cell stays current and editable; leaving it changes nothing.
        QCOMPARE(form.Grid->currentIndex().row(), 1);
        QVERIFY(ClickAndType(*form.Grid, 2, 0, QStringLiteral("4")));
        QCOMPARE(frame.table.GetData(0, 1).AsString(), std::string("2.5"));
        QVERIFY(prompts.Asked.empty());
    }

    void windowMnemonicsComeBeforeTheMenuBars()
    {
        ScriptedPrompts prompts;
        Frame frame;
        TTableForm& form = frame.Open();
        QVERIFY(ClickAndType(*form.Grid, 1, 0, QString()));
        QTest::keyClick(form.Grid->indexWidget(form.Grid->currentIndex()), Qt::Key_D, Qt::AltModifier);
        QVERIFY(!frame.data->isVisible());
        QCOMPARE(frame.table.RowCount(), 2);
        QCOMPARE(frame.table.GetData(0, 1).AsString(), std::string("3.5"));
        QTest::keyClick(form.Grid, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(frame.table.RowCount(), 3);
        // Without a table window active, Alt+D is the menu bar's again.
        frame.table.Hide();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::keyClick(&frame.window, Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(frame.data->isVisible());
        frame.data->hide();
    }
};

QTEST_MAIN(TableEntryTests)
#include "test_table_entry.moc"
