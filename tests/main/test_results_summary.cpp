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
        form.resize(1000, 700);
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
        // The example's last tip movements lie beyond its Q-w curve: the
        // read-outs through them are given as computed and with the tip load
        // held.
        QCOMPARE(table->item(0, 0)->text(),
                 QStringLiteral("Head load at a settlement of 10 % of the diameter, as computed"));
        QCOMPARE(table->item(1, 0)->text(),
                 QStringLiteral("    with the tip load held at the Q-w curve's last value"));
        const QList<QTableWidgetItem*> largest =
            table->findItems(QStringLiteral("Largest computed head load"), Qt::MatchStartsWith);
        QCOMPARE(largest.size(), 1);
        // In the project's units.
        QVERIFY(table->item(largest.front()->row(), 1)->text().endsWith(QStringLiteral(" lb")));
        QVERIFY(table->item(largest.front()->row(), 2)->text().endsWith(QStringLiteral(" in")));
        QCOMPARE(table->findItems(QStringLiteral("Pile-head load case"), Qt::MatchStartsWith).size(), 4);
        auto* notes = summary->findChild<QLabel*>(QStringLiteral("ReadoutNotes"));
        QVERIFY(notes->text().contains(QStringLiteral("0.15 in + D/120")));
        // Opened large enough for its longest criterion, uncut.
        const QFontMetrics metrics = table->fontMetrics();
        QVERIFY(table->columnWidth(0) > metrics.horizontalAdvance(table->item(0, 0)->text()));

        // A second command brings the same window forward.
        Trigger(form, QStringLiteral("Results &Summary"));
        QCOMPARE(form.findChildren<TfrmResultsSummary*>().size(), 1);

        // A new project has no results: the open window says how to get them.
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(notes->text().contains(QStringLiteral("Run the analysis")));
    }

    // Golden projects opened with their plot data: the summary lists the
    // load cases, flags one beyond the computed curve, and gives no
    // read-out off the compressive branch.
    void flaggedLoadCasesAndReadoutsNotApplicable()
    {
        const QString golden = QStringLiteral(KORVEN_GOLDEN_DIR);
        if (!QFileInfo::exists(golden + QStringLiteral("/e16_downdrag.kv3p")))
            QSKIP("no reference files");
        QTemporaryDir folder;
        for (const QString& name : {QStringLiteral("e22_si_loads_settlement"), QStringLiteral("e16_downdrag")})
            for (const QString& extension : {QStringLiteral(".kv3d"), QStringLiteral(".kv3p")})
                QVERIFY(QFile::copy(golden + u'/' + name + extension, folder.filePath(name + extension)));
        ScriptedPrompts prompts;
        TMainForm form(QStringList{folder.filePath(QStringLiteral("e22_si_loads_settlement.kv3d"))});
        form.show();
        Popup(form, QStringLiteral("&Graphics"));
        Trigger(form, QStringLiteral("Results &Summary"));
        auto* summary = form.findChild<TfrmResultsSummary*>(QStringLiteral("ResultsSummary"));
        QVERIFY(summary);
        auto* table = summary->findChild<QTableWidget*>(QStringLiteral("ReadoutTable"));
        const auto rowOf = [table](const QString& criterion) {
            for (int row = 0; row < table->rowCount(); ++row)
                if (table->item(row, 0)->text() == criterion)
                    return row;
            return -1;
        };
        const int beyond = rowOf(QStringLiteral("Pile-head load case 2"));
        QVERIFY(beyond >= 0);
        QCOMPARE(table->item(beyond, 1)->text(), QStringLiteral("1000 kN"));
        QCOMPARE(table->item(beyond, 2)->text(), QStringLiteral("beyond the computed curve"));
        QCOMPARE(table->item(rowOf(QStringLiteral("Pile-head load case 1")), 2)->text(), QStringLiteral("0.01696 m"));

        // The open window follows the next project's results.
        prompts.Files.push_back({folder.filePath(QStringLiteral("e16_downdrag.kv3d")), 0});
        Trigger(form, QStringLiteral("&Open..."));
        QCOMPARE(table->item(rowOf(QStringLiteral("Davisson's offset limit")), 1)->text(),
                 QStringLiteral("not applicable"));
        auto* notes = summary->findChild<QLabel*>(QStringLiteral("ReadoutNotes"));
        QVERIFY(notes->text().contains(QStringLiteral("already met at zero head load")));
        QCOMPARE(rowOf(QStringLiteral("Pile-head load case 1")), -1);
    }
};

QTEST_MAIN(TestResultsSummary)
#include "test_results_summary.moc"
