// The "Export to Excel" dialog, driven with real clicks and keys, its save
// dialog answered through the prompts seam.

#include "MainGraphs.h"
#include "ScriptedPrompts.h"
#include "TDlgExport.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The dialog over the four graphs, their commands enabled or not.
struct DialogFixture {
    explicit DialogFixture(bool plotsAvailable, const QString& projectFile = QStringLiteral("/projects/Pile A.kv3d"))
    {
        for (auto& command : commands)
            command.setEnabled(plotsAvailable);
        for (TGraphPlot* graph : {&graphs.pltLoad, &graphs.pltAxial, &graphs.pltTZcurves, &graphs.PltQW}) {
            graph->SetLineCount(2);
            graph->SetPointCount(3);
        }
        dialog = std::make_unique<TDlgExport>(
            graphs, std::array<const QAction*, 4>{&commands[0], &commands[1], &commands[2], &commands[3]}, projectFile);
        dialog->show();
    }

    QListWidget* List() const { return dialog->findChild<QListWidget*>(QStringLiteral("CheckListBoxPlots")); }
    QPushButton* Button(const char* name) const { return dialog->findChild<QPushButton*>(QLatin1String(name)); }
    void Click(const char* name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }

    QStringList Checked() const
    {
        QStringList texts;
        for (int i = 0; i < List()->count(); ++i)
            if (List()->item(i)->checkState() == Qt::Checked)
                texts << List()->item(i)->text();
        return texts;
    }

    TMainGraphs graphs;
    QAction commands[4];
    std::unique_ptr<TDlgExport> dialog;
};

}  // namespace

class ExportDialogTest : public QObject {
    Q_OBJECT

private slots:
    void withoutPlotDataNothingIsOffered()
    {
        DialogFixture fixture(false);
        QCOMPARE(fixture.dialog->windowTitle(), QStringLiteral("Export to Excel"));
        QListWidget* list = fixture.List();
        QCOMPARE(list->count(), 4);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!(list->item(i)->flags() & Qt::ItemIsEnabled));
            QCOMPARE(list->item(i)->checkState(), Qt::Unchecked);
        }
        QVERIFY(!fixture.Button("Button3")->isEnabled());
        fixture.Click("Button1");  // Select All leaves disabled entries alone
        QVERIFY(fixture.Checked().isEmpty());
        QVERIFY(!fixture.Button("Button3")->isEnabled());
    }

    void withPlotDataTheFourGraphsAreCheckedInOrder()
    {
        DialogFixture fixture(true);
        QCOMPARE(fixture.Checked(),
                 (QStringList{"Load Distribution", "Axial Load vs Settlement", "t-z Curves", "Tip Resistance Curve"}));
        QVERIFY(fixture.Button("Button3")->isEnabled());
        fixture.Click("Button2");
        QVERIFY(fixture.Checked().isEmpty());
        QVERIFY(!fixture.Button("Button3")->isEnabled());
        fixture.Click("Button1");
        QCOMPARE(fixture.Checked().size(), 4);
        QVERIFY(fixture.Button("Button3")->isEnabled());

        // Unchecking an entry by hand keeps the button as it is; showing the
        // dialog again starts from the commands' states.
        fixture.List()->setFocus();
        fixture.List()->setCurrentRow(2);
        QTest::keyClick(fixture.List(), Qt::Key_Space);
        QCOMPARE(fixture.Checked(),
                 (QStringList{"Load Distribution", "Axial Load vs Settlement", "Tip Resistance Curve"}));
        fixture.Click("Button2");
        fixture.dialog->hide();
        fixture.dialog->show();
        QCOMPARE(fixture.Checked().size(), 4);
    }

    void generateSavesTheCheckedGraphsAndOpensTheWorkbook()
    {
        QTemporaryDir folder;
        DialogFixture fixture(true, folder.filePath(QStringLiteral("Pile A.kv3d")));
        ScriptedPrompts prompts;
        RecordingLauncher launcher;
        const QString path = folder.filePath(QStringLiteral("plots.xlsx"));
        prompts.Files.push_back({path, 0});
        fixture.Click("Button3");

        QCOMPARE(prompts.Asked.size(), std::size_t(1));
        const FileRequest& request = prompts.Asked[0].Request;
        QCOMPARE(prompts.Asked[0].What, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(request.FileName, folder.filePath(QStringLiteral("Pile A.xlsx")));
        QCOMPARE(request.DefaultSuffix, QStringLiteral("xlsx"));
        QVERIFY(QFileInfo(path).size() > 0);
        QCOMPARE(launcher.Started.size(), std::size_t(1));
        QCOMPARE(launcher.Started[0].Program, QString());
        QCOMPARE(launcher.Started[0].Arguments, QStringList{path});
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plots.xlsx"});
        // The dialog says where the workbook went.
        auto* saved = fixture.dialog->findChild<QLabel*>(QStringLiteral("SavedTo"));
        QVERIFY(saved && saved->isVisible());
        QCOMPARE(saved->text(), QStringLiteral("Saved to ") + QDir::toNativeSeparators(path));
    }

    void cancellingTheSaveDialogWritesNothing()
    {
        QTemporaryDir folder;
        DialogFixture fixture(true, folder.filePath(QStringLiteral("p.kv3d")));
        ScriptedPrompts prompts;
        RecordingLauncher launcher;
        fixture.Click("Button3");
        QCOMPARE(prompts.Asked.size(), std::size_t(1));
        QVERIFY(launcher.Started.empty());
        QVERIFY(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void aFolderThatCannotBeWrittenIsReportedAndNothingOpens()
    {
        QTemporaryDir folder;
        DialogFixture fixture(true, folder.filePath(QStringLiteral("p.kv3d")));
        ScriptedPrompts prompts;
        RecordingLauncher launcher;
        const QString path = folder.filePath(QStringLiteral("gone/plots.xlsx"));
        prompts.Files.push_back({path, 0});
        fixture.Click("Button3");
        QCOMPARE(prompts.Messages().size(), 1);
        QVERIFY(prompts.Messages()[0].startsWith(QStringLiteral("File \"%1\" could not be written: ").arg(path)));
        QCOMPARE(prompts.Asked.back().Icon, PromptIcon::Error);
        QVERIFY(launcher.Started.empty());
        QVERIFY(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void anExportStoppedPartWayIsSavedOpenedAndReported()
    {
        QTemporaryDir folder;
        DialogFixture fixture(true, folder.filePath(QStringLiteral("p.kv3d")));
        // More curves than a worksheet has columns for.
        fixture.graphs.pltTZcurves.SetLineCount(8193);
        ScriptedPrompts prompts;
        RecordingLauncher launcher;
        const QString path = folder.filePath(QStringLiteral("p.xlsx"));
        prompts.Files.push_back({path, 0});
        fixture.Click("Button3");
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(launcher.Started.size(), std::size_t(1));
        QCOMPARE(prompts.Messages().size(), 1);
        QVERIFY(prompts.Messages()[0].startsWith(QStringLiteral("The export stopped part-way: ")));
        QVERIFY(prompts.Messages()[0].contains(QStringLiteral("Legend sheet shows the stage reached")));
    }

    void aWorkbookThatNoProgramOpensIsStillSaved()
    {
        QTemporaryDir folder;
        DialogFixture fixture(true, folder.filePath(QStringLiteral("p.kv3d")));
        ScriptedPrompts prompts;
        RecordingLauncher launcher;
        launcher.Succeeds = false;
        const QString path = folder.filePath(QStringLiteral("p.xlsx"));
        prompts.Files.push_back({path, 0});
        fixture.Click("Button3");
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(
            prompts.Messages(),
            QStringList{QStringLiteral("The Excel file \"%1\" was saved, but no program could be started to open it.")
                            .arg(path)});
    }

    void closeWindowClosesTheDialog()
    {
        DialogFixture fixture(true);
        fixture.Click("Button4");
        QVERIFY(!fixture.dialog->isVisible());
    }
};

QTEST_MAIN(ExportDialogTest)
#include "test_export_dialog.moc"
