// The main window's paths that must not mix up files or results: a report
// after a unit switch, older-format projects by their extension on every
// path, text files dropped on a table-with-chart window.

#include "MainForm.h"
#include "MainFormDriving.h"
#include "ScriptedPrompts.h"
#include "TableChartForm.h"
#include "TableGrid.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>
#include <QtTest>

class TestResultsAndFiles : public QObject, private TMainFormFixture {
    Q_OBJECT

    // The example project copied into the test folder as `name`.
    QString Copy(const QString& name)
    {
        const QString target = FFolder->filePath(name);
        QFile::copy(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    // The example in the older format: without the modification-factor
    // records that end the full format.
    QString OlderFormat()
    {
        QFile source(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"));
        source.open(QIODevice::ReadOnly);
        QList<QByteArray> lines = source.readAll().split('\n');
        while (!lines.isEmpty() && lines.back().isEmpty())
            lines.removeLast();
        lines.resize(lines.size() - 2);
        const QString path = FFolder->filePath(QStringLiteral("old.kvd"));
        QFile target(path);
        target.open(QIODevice::WriteOnly);
        target.write(lines.join('\n') + '\n');
        return path;
    }

private slots:
    void init() { Start(); }
    void cleanup() { Finish(); }

    void reportAfterAUnitSwitchOffersARunFirst()
    {
        FPrompts->Files = {{Copy(QStringLiteral("units.kv3d")), 0}};
        Trigger(*FForm, QStringLiteral("&Open..."));
        Trigger(*FForm, QStringLiteral("&Run Analysis"));
        QVERIFY(FForm->Results());
        Trigger(*FForm, QStringLiteral("&S.I. Units (kN, m)"));
        FPrompts->Asked.clear();

        // Refused: no file is asked for.
        FPrompts->Answers = {Answer::No};
        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("Export &Report as PDF..."));
        QCOMPARE(FPrompts->Asked.size(), std::size_t{1});
        QCOMPARE(FPrompts->Asked.front().What, ScriptedPrompts::Kind::Ask);
        QVERIFY(FPrompts->Asked.front().Text.contains(QStringLiteral("other units")));

        // Run first, then the report in one set of units.
        const QString pdf = FFolder->filePath(QStringLiteral("units.pdf"));
        FPrompts->Answers = {Answer::Yes};
        FPrompts->Files = {{pdf, 0}};
        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("Export &Report as PDF..."));
        QCOMPARE(FForm->Results()->Units, UnitSystem::SI);
        QVERIFY(QFileInfo(pdf).size() > 0);

        // Never over the project's own file.
        std::string error;
        TProjectTables tables;
        const QString project = QString::fromStdString(FForm->Project().FileName);
        FPrompts->Answers = {Answer::Yes};
        FPrompts->Files = {{project, 0}};
        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("Export &Report as PDF..."));
        QVERIFY(FPrompts->Messages().back().contains(QStringLiteral("is a project or result file")));
        QVERIFY(TProgramData::CreateFromFile(tables, project.toStdString(), true, error) != nullptr);
    }

    void olderFormatByItsExtensionOnEveryPath()
    {
        const QString old = OlderFormat();
        // Chosen under "All Files".
        FPrompts->Files = {{old, 2}};
        Trigger(*FForm, QStringLiteral("&Open..."));
        QCOMPARE(FForm->Project().FileName, old.toStdString());
        QVERIFY(FPrompts->Messages().isEmpty());

        // Given on the command line, as a file manager starts the program.
        TMainForm started(QStringList{old});
        started.show();
        QCOMPARE(started.Project().FileName, old.toStdString());
        QVERIFY(FPrompts->Messages().isEmpty());
    }

    void editorWithArgumentsAndARunWithoutATemporaryFolder()
    {
        FPrompts->Files = {{Copy(QStringLiteral("editor.kv3d")), 0}};
        Trigger(*FForm, QStringLiteral("&Open..."));
        FForm->Settings().EditorPath = QStringLiteral("gedit --new-window \"--role=korven input\"");
        Popup(*FForm, QStringLiteral("&Computation"));
        Trigger(*FForm, QStringLiteral("Edit &Input Text"));
        QCOMPARE(FLauncher->Started.back().Program, QStringLiteral("gedit"));
        QCOMPARE(FLauncher->Started.back().Arguments,
                 (QStringList{QStringLiteral("--new-window"), QStringLiteral("--role=korven input"),
                              QString::fromStdString(FForm->Project().FileName)}));

        // No folder for the run's names file: said in one message.
        const QByteArray previous = qgetenv("TMPDIR");
        qputenv("TMPDIR", FFolder->filePath(QStringLiteral("no such folder")).toUtf8());
        Trigger(*FForm, QStringLiteral("&Run Analysis"));
        if (previous.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", previous);
        QCOMPARE(FPrompts->Messages().size(), 1);
        QVERIFY(FPrompts->Messages().front().startsWith(QStringLiteral("An error occured while writing file names:\n")));
        QVERIFY(!FForm->Results());
    }

    void textFileDroppedOnAChartWindowIsImportedThere()
    {
        Trigger(*FForm, QStringLiteral("Entered by the user"));
        Popup(*FForm, QStringLiteral("&Data"));
        Trigger(*FForm, QStringLiteral("Enter Q-&w Curve"));
        auto* qw = dynamic_cast<TTableChartForm*>(FForm->Area().activeSubWindow()->widget());
        QVERIFY(qw);
        const QString text = FFolder->filePath(QStringLiteral("curve.txt"));
        QFile file(text);
        file.open(QIODevice::WriteOnly);
        file.write("0 0\n50 0.1\n80 0.4\n");
        file.close();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(text)});
        // Over the grid, which takes no drops of its own.
        QWidget* target = qw->Grid->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);

        QCOMPARE(FForm->Tables().TblQwcurve2.RowCount(), 3);
        QCOMPARE(FForm->Project().FileName, TProgramData::DefaultFileName);
        QVERIFY(FPrompts->Asked.empty());
    }
};

QTEST_MAIN(TestResultsAndFiles)
#include "test_results_and_files.moc"
