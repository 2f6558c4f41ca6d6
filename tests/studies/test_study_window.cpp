// The Studies window as a person uses it: define a study, run it, cancel a
// longer run, run again after a change, export the results; the definitions
// are kept with the project.
#include "StudyEditor.h"
#include "StudyExtras.h"
#include "StudyWindow.h"

#include "ScriptedPrompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

class StudyWindowTest : public QObject {
    Q_OBJECT
private slots:
    void DefineRunCancelRerunExport();
};

void StudyWindowTest::DefineRunCancelRerunExport()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("example.kv3d"));
    QVERIFY(QFile::copy(QStringLiteral(KORVEN_EXAMPLE_PROJECT), path));
    TProjectTables tables;
    std::string error;
    auto project = TProgramData::CreateFromFile(tables, path.toStdString(), true, error);
    QVERIFY(project);
    ScriptedPrompts prompts;
    QMdiArea area;
    auto* window = new TStudyWindow(area, [&]() -> TProgramData& { return *project; });
    area.addSubWindow(window);
    QSignalSpy ended(window, &TStudyWindow::RunEnded);

    window->NewStudy(false);
    window->Editor().NameField()->setText(QStringLiteral("Length"));
    window->RunStudy();
    QVERIFY(ended.wait(60000));
    QCOMPARE(window->ResultTable()->rowCount(), 5);
    QCOMPARE(window->Progress()->value(), 5);
    QCOMPARE(window->Graphs().Curves.LineCount(), 5);
    QVERIFY(project->Changed());
    QCOMPARE(StudiesOf(project->Extras, project->Units()).at(0).Name, std::string("Length"));

    // A long run cancelled keeps the results of the last completed one.
    window->Editor().CountField()->setValue(MaxSweepValues);
    window->RunStudy();
    window->CancelStudy();
    QVERIFY(ended.wait(60000));
    QVERIFY(window->StatusText().startsWith(QStringLiteral("Cancelled")));
    QCOMPARE(window->ResultTable()->rowCount(), 5);

    // Run again after the project changed.
    window->Editor().CountField()->setValue(3);
    project->PileLength *= 0.9L;
    window->RunStudy();
    QVERIFY(ended.wait(60000));
    QCOMPARE(window->ResultTable()->rowCount(), 3);
    QCOMPARE(window->Graphs().Curves.LineCount(), 3);

    prompts.Files.push_back({folder.filePath(QStringLiteral("sweep.csv"))});
    window->ExportCsv();
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("sweep.steps.csv"))));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("sweep.curves.csv"))));
    prompts.Files.push_back({folder.filePath(QStringLiteral("sweep.xlsx"))});
    window->ExportWorkbook();
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("sweep.xlsx"))));
    QVERIFY(prompts.Messages().isEmpty());

    // A probabilistic study beside it, with its exceedance and tornado.
    window->NewStudy(true);
    window->Editor().RealisationsField()->setValue(40);
    window->Editor().LoadField()->setText(QStringLiteral("200000"));
    window->Editor().LimitField()->setText(QStringLiteral("0.5"));
    window->RunStudy();
    QVERIFY(ended.wait(60000));
    QVERIFY(window->StatusText().contains(QStringLiteral("Probability of exceeding 0.5 in")));
    QCOMPARE(window->Graphs().Tornado.LineCount(), 2);  // the bar and the median line
    QCOMPARE(window->Graphs().Curves.LineCount(), 3);
    QCOMPARE(StudiesOf(project->Extras, project->Units()).size(), std::size_t{2});
    QVERIFY(prompts.Messages().isEmpty());
}

QTEST_MAIN(StudyWindowTest)
#include "test_study_window.moc"
