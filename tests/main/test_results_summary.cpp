// The Results Summary window over a real run of the example project.

#include "MainForm.h"
#include "MainFormDriving.h"
#include "ResultsSummaryForm.h"
#include "ScriptedPrompts.h"

#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestResultsSummary : public QObject {
    Q_OBJECT

private slots:
    void readOutsOfTheLastRunFollowTheProject()
    {
        QSettings(QStringLiteral("Drumel"), QStringLiteral("KORVEN")).clear();
        QTemporaryDir folder;
        const QString project = folder.filePath(QStringLiteral("summary.kv3d"));
        QVERIFY(QFile::copy(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"), project));
        QFile::setPermissions(project, QFile::ReadOwner | QFile::WriteOwner);
        ScriptedPrompts prompts;
        RecordingLauncher launcher;
        TMainForm form(QStringList{project});
        form.show();

        // Without plot data the command is disabled.
        Popup(form, QStringLiteral("&Graphics"));
        QVERIFY(!Action(form, QStringLiteral("Results &Summary"))->isEnabled());

        Trigger(form, QStringLiteral("&Run Analysis"));
        Popup(form, QStringLiteral("&Graphics"));
        QVERIFY(Action(form, QStringLiteral("Results &Summary"))->isEnabled());
        Trigger(form, QStringLiteral("Results &Summary"));
        auto* summary = form.findChild<TfrmResultsSummary*>(QStringLiteral("ResultsSummary"));
        QVERIFY(summary);
        QCOMPARE(form.Area().activeSubWindow()->widget(), summary);
        QCOMPARE(summary->windowTitle(), QStringLiteral("Results Summary"));

        auto* table = summary->findChild<QTableWidget*>(QStringLiteral("ReadoutTable"));
        QVERIFY(table->rowCount() >= 3);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Head load at a settlement of 10 % of the diameter"));
        QCOMPARE(table->item(1, 0)->text(), QStringLiteral("Davisson's offset limit"));
        // The largest computed load is always there, in the project's units.
        QVERIFY(table->item(2, 1)->text().endsWith(QStringLiteral(" lb")));
        QVERIFY(table->item(2, 2)->text().endsWith(QStringLiteral(" in")));
        auto* notes = summary->findChild<QLabel*>(QStringLiteral("ReadoutNotes"));
        QVERIFY(notes->text().contains(QStringLiteral("0.15 in + D/120")));

        // A second command brings the same window forward.
        Trigger(form, QStringLiteral("Results &Summary"));
        QCOMPARE(form.findChildren<TfrmResultsSummary*>().size(), 1);

        // A new project has no results: the open window says how to get them.
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(notes->text().contains(QStringLiteral("Run the analysis")));
    }
};

QTEST_MAIN(TestResultsSummary)
#include "test_results_summary.moc"
