// The load test and the calibration windows in the main window: measured
// points imported (a bad line refused, units asked for), gauges placed,
// edits undone and redone, fitted on the worker thread, applied and run,
// kept with the project.

#include "LoadTest.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "TableUndo.h"
#include "TfrmCalibration.h"
#include "TfrmLoadTest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

class TestCalibrationWindows : public QObject, TMainFormFixture {
    Q_OBJECT

    QString WriteFile(const QString& name, const QByteArray& text)
    {
        const QString path = FFolder->filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text);
        return path;
    }

    static QString Header(const TfrmLoadTest& window, int column)
    {
        return window.Grid()->horizontalHeaderItem(column)->text().split('\n').first();
    }

private slots:
    void init() { Start(); }
    void cleanup() { Finish(); }

    void enterFitApplyAndKeep()
    {
        const QString path = CopyIn(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"), QStringLiteral("tp1.kv3d"));
        OpenProject(path);
        Trigger(*FForm, QStringLiteral("&Run Analysis"));
        FPrompts->Asked.clear();

        Popup(*FForm, QStringLiteral("&Data"));
        Trigger(*FForm, QStringLiteral("Load Test ..."));
        auto* loadTest = FForm->findChild<TfrmLoadTest*>();
        QVERIFY(loadTest);

        // A bad line is refused by its number and text; nothing is taken.
        loadTest->FileNameEdit()->setText(WriteFile(
            QStringLiteral("bad.csv"), "Head load (kip), Head settlement (in)\n40, 0.021\n80, 0.04x4\n120, 0.068\n"));
        loadTest->ReadFromFile();
        QCOMPARE(FPrompts->Messages().size(), 1);
        QVERIFY(FPrompts->Messages().front().contains(QStringLiteral("line 3")));
        QVERIFY(FPrompts->Messages().front().contains(QStringLiteral("0.04x4")));
        QCOMPARE(loadTest->Grid()->rowCount(), 0);
        QVERIFY(!ProjectLoadTest(FForm->Project()));

        // In kips and inches into the project's lb, with a gauge at 30 ft.
        loadTest->FileNameEdit()->setText(WriteFile(QStringLiteral("tp1.csv"),
                                                    "# TP-1\nHead load (kip), Head settlement (in), Gauge at 30 ft (kip)\n"
                                                    "40, 0.021, 22\n80, 0.044, 47\n120, 0.068, 75\n"
                                                    "150, 0.112, 100\n170, 0.158, 118\n190, 0.265, 137\n"));
        loadTest->ReadFromFile();
        QCOMPARE(loadTest->Grid()->rowCount(), 6);
        QCOMPARE(loadTest->Grid()->item(0, 0)->text(), QStringLiteral("40000"));
        std::optional<TLoadTest> stored = ProjectLoadTest(FForm->Project());
        QVERIFY(stored);
        QCOMPARE(stored->Points.size(), std::size_t{6});
        QCOMPARE(stored->Points[0].Gauges.front().Depth, 360.0);
        QVERIFY(FForm->Project().Changed());
        // On the graphs of the last run at once.
        QCOMPARE(FForm->Graphs().pltAxial.Measured.size(), std::size_t{6});
        QCOMPARE(FForm->Graphs().pltLoad.Measured.size(), std::size_t{6});

        // A typed entry that leaves fewer than 3 points keeps the stored test.
        loadTest->Grid()->item(2, 0)->setText(QString());
        loadTest->Grid()->item(2, 1)->setText(QString());
        loadTest->Grid()->item(3, 0)->setText(QStringLiteral("2*"));
        QVERIFY(loadTest->Note()->text().startsWith(QStringLiteral("Not stored")));
        QCOMPARE(ProjectLoadTest(FForm->Project())->Points.size(), std::size_t{6});
        loadTest->ReadFromFile();

        Popup(*FForm, QStringLiteral("&Computation"));
        Trigger(*FForm, QStringLiteral("&Calibrate to Load Test ..."));
        auto* calibration = FForm->findChild<TfrmCalibration*>();
        QVERIFY(calibration);
        QSignalSpy finished(calibration, &TfrmCalibration::FitFinished);
        calibration->Fit();
        QVERIFY(calibration->Fitting());
        // Nothing is written before Apply, and the window answers meanwhile.
        QVERIFY(finished.wait(60000));
        QVERIFY(!calibration->Fitting());
        QVERIFY(calibration->Result());
        const TFitResult fit = *calibration->Result();
        QCOMPARE(fit.Parameters.size(), std::size_t{4});
        QVERIFY(fit.After.Settlement < fit.Before.Settlement);
        QVERIFY(!FForm->Project().ApplyTzFactors && !FForm->Project().ApplyQwFactors);

        // A fit of a project since replaced or switched to other units is
        // dropped, running or done, and never applied.
        calibration->ProjectChanged();
        QVERIFY(!calibration->Result());
        calibration->Fit();
        calibration->ProjectChanged();
        QVERIFY(finished.wait(60000));
        QVERIFY(!calibration->Result());
        calibration->Apply();
        QVERIFY(!FForm->Project().ApplyTzFactors);

        calibration->Fit();
        QVERIFY(finished.wait(60000));
        const double fittedQ = calibration->Result()->QMultiplier;
        calibration->Apply();
        QVERIFY(FForm->Project().ApplyTzFactors && FForm->Project().ApplyQwFactors);
        QVERIFY(qFuzzyCompare(static_cast<double>(FForm->Project().QMultiplier), fittedQ));
        QVERIFY(FPrompts->Messages().last().startsWith(QStringLiteral("Computations are completed")));
        // Apply is one step of the history.
        TTableUndo::Current()->undo();
        QVERIFY(!FForm->Project().ApplyTzFactors && !FForm->Project().ApplyQwFactors);
        TTableUndo::Current()->redo();
        QVERIFY(FForm->Project().ApplyTzFactors && FForm->Project().ApplyQwFactors);
        QCOMPARE(FForm->Graphs().pltAxial.Measured.size(), std::size_t{6});

        // Saved with the project and read back with it.
        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("&Save"));
        QVERIFY(!FForm->Project().Changed());
        OpenProject(CopyIn(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"), QStringLiteral("other.kv3d")));
        QVERIFY(!ProjectLoadTest(FForm->Project()));
        OpenProject(path);
        stored = ProjectLoadTest(FForm->Project());
        QVERIFY(stored);
        QCOMPARE(stored->Points.size(), std::size_t{6});
        QVERIFY(FForm->Project().ApplyTzFactors);
    }

    void unitsGaugesAndUndo()
    {
        const QString path = CopyIn(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"), QStringLiteral("tp2.kv3d"));
        OpenProject(path);
        FForm->Settings().EditorPath = QStringLiteral("gedit --new-window");
        Popup(*FForm, QStringLiteral("&Data"));
        Trigger(*FForm, QStringLiteral("Load Test ..."));
        auto* loadTest = FForm->findChild<TfrmLoadTest*>();
        QVERIFY(loadTest);
        TTableUndo& undo = *TTableUndo::Current();

        // Units of both systems are refused; a header without units asks,
        // and "No" reads the file in kN and m into the project's lb and in.
        loadTest->FileNameEdit()->setText(WriteFile(
            QStringLiteral("mixed.csv"), "Head load (kN), Head settlement (in)\n100,0.1\n200,0.2\n300,0.4\n"));
        loadTest->ReadFromFile();
        QVERIFY(FPrompts->Messages().last().contains(QStringLiteral("both the English and the SI system")));
        loadTest->FileNameEdit()->setText(
            WriteFile(QStringLiteral("bare.csv"), "Head load, Head settlement\n100,0.001\n200,0.002\n300,0.004\n"));
        FPrompts->Answers = {Answer::Cancel, Answer::No};
        loadTest->ReadFromFile();
        QCOMPARE(loadTest->Grid()->rowCount(), 0);
        loadTest->ReadFromFile();
        QVERIFY(FPrompts->Asked.back().Text.contains(QStringLiteral("columns \"Head load\", \"Head settlement\".")));
        std::optional<TLoadTest> stored = ProjectLoadTest(FForm->Project());
        QVERIFY(stored && std::abs(stored->Points[0].HeadLoad - 22480.89) < 0.01);
        QVERIFY(std::abs(stored->Points[0].HeadSettlement - 0.03937) < 1e-5);
        QCOMPARE(undo.undoText(), QStringLiteral("Import in Load Test"));

        // A gauge in the project's inches; off the pile or twice is refused.
        FPrompts->Texts = {QStringLiteral("700"), QStringLiteral("30*12"), QStringLiteral("360")};
        for (int i = 0; i < 3; ++i)
            loadTest->AddGauge();
        QVERIFY(FPrompts->Messages().at(FPrompts->Messages().size() - 2).contains(QStringLiteral("from 0 to 600 in")));
        QVERIFY(FPrompts->Messages().last().contains(QStringLiteral("gauge at 360 in already")));
        QCOMPARE(loadTest->Grid()->columnCount(), 4);
        QCOMPARE(Header(*loadTest, 3), QStringLiteral("Gauge at 360 in"));
        QCOMPARE(ProjectLoadTest(FForm->Project())->GaugeDepths, std::vector<double>{360});
        loadTest->Grid()->setItem(1, 3, new QTableWidgetItem(QStringLiteral("30000")));
        QCOMPARE(ProjectLoadTest(FForm->Project())->Points[1].Gauges.size(), std::size_t{1});

        // Moved with its reading, then removed; each an undoable step whose
        // undo the grid shows.
        loadTest->Grid()->setCurrentCell(0, 3);
        FPrompts->Texts = {QStringLiteral("480")};
        loadTest->ChangeGauge();
        QCOMPARE(Header(*loadTest, 3), QStringLiteral("Gauge at 480 in"));
        QCOMPARE(loadTest->Grid()->item(1, 3)->text(), QStringLiteral("30000"));
        loadTest->RemoveGauge();
        QCOMPARE(loadTest->Grid()->columnCount(), 3);
        QCOMPARE(undo.undoText(), QStringLiteral("Remove Gauge in Load Test"));
        undo.undo();
        QCOMPARE(Header(*loadTest, 3), QStringLiteral("Gauge at 480 in"));
        undo.undo();
        QCOMPARE(Header(*loadTest, 3), QStringLiteral("Gauge at 360 in"));
        undo.undo();  // the entry of the reading
        QVERIFY(loadTest->Grid()->item(1, 3) == nullptr || loadTest->Grid()->item(1, 3)->text().isEmpty());
        undo.redo();
        undo.redo();
        QCOMPARE(loadTest->Grid()->item(1, 3)->text(), QStringLiteral("30000"));
        QCOMPARE(ProjectLoadTest(FForm->Project())->GaugeDepths, std::vector<double>{480});
        QVERIFY(FForm->Project().Changed());
        loadTest->Clear();
        QVERIFY(!ProjectLoadTest(FForm->Project()));
        undo.undo();
        QCOMPARE(loadTest->Grid()->rowCount(), 3);

        // The chosen text editor shows the file.
        for (QPushButton* button : loadTest->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("View/Edit File"))
                button->click();
        QCOMPARE(FLauncher->Started.size(), std::size_t{1});
        QCOMPARE(FLauncher->Started.front().Program, QStringLiteral("gedit"));

        // Saved and read back with the gauge and its reading.
        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("&Save"));
        OpenProject(CopyIn(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"), QStringLiteral("other.kv3d")));
        OpenProject(path);
        stored = ProjectLoadTest(FForm->Project());
        QVERIFY(stored);
        QCOMPARE(stored->GaugeDepths, std::vector<double>{480});
        QCOMPARE(stored->Points[1].Gauges.front().Load, 30000.0);
    }
};

QTEST_MAIN(TestCalibrationWindows)
#include "test_calibration_windows.moc"
