// The CPT window inside the main window, through the prompts: a sample
// sounding opened, its curves written as the project's user curves, the
// record saved in the extras file and taken up again on opening.

#include "CptForm.h"
#include "MainFormDriving.h"
#include "PlotForm.h"
#include "TableUndo.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include <fstream>
#include <nlohmann/json.hpp>

class TestCptWindow : public QObject, private TMainFormFixture {
    Q_OBJECT

    TfrmCpt* Window()
    {
        for (QMdiSubWindow* window : FForm->Area().subWindowList())
            if (auto* cpt = qobject_cast<TfrmCpt*>(window->widget()))
                return cpt;
        return nullptr;
    }

private slots:
    void init() { Start(); }
    void cleanup() { Finish(); }

    void WritesTheCurvesAndKeepsTheRecord()
    {
        const QString project = CopyIn(QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"), QStringLiteral("pile.kv3d"));
        const QString sounding =
            CopyIn(QStringLiteral(KORVEN_CPT_TEST_DATA "/pygef_cpt.gef"), QStringLiteral("cpt.gef"));
        OpenProject(project);
        Popup(*FForm, QStringLiteral("&Data"));
        Trigger(*FForm, QStringLiteral("t-z and Q-w Curves from a &CPT Sounding ..."));
        TfrmCpt* window = Window();
        QVERIFY(window);
        // The example's three layers give the unit weights.
        QCOMPARE(window->Model().Record.Settings.UnitWeights.size(), std::size_t(3));

        FPrompts->Files.push_back({sounding, 0});
        window->OpenClick();
        QVERIFY(window->Model().HasSounding());
        // The read-out under the cursor names the values' units.
        auto* plot = window->findChild<TPlotForm*>();
        const QPointF centre = plot->rect().center();
        QMouseEvent move(QEvent::MouseMove, centre, plot->mapToGlobal(centre), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(plot, &move);
        const QStringList readouts = [&] {
            QStringList texts;
            for (const QLabel* label : window->findChildren<QLabel*>())
                texts << label->text();
            return texts.filter(QRegularExpression("^Cone Resistance: q_c, q_t [0-9.e+-]+ MPa at depth [0-9.e+-]+ m$"));
        }();
        QCOMPARE(readouts.size(), 1);
        for (QComboBox* choice : window->findChildren<QComboBox*>())
            if (choice->findText(QStringLiteral("Tension (uplift)")) >= 0)
                choice->setCurrentIndex(choice->findText(QStringLiteral("Tension (uplift)")));
        QVERIFY(window->Model().Record.Settings.Direction == cpt::TLoadDirection::Tension);
        const std::size_t curves = window->Model().Design(FForm->Project()).Curves.size();
        FPrompts->Answers.push_back(Answer::Yes);  // in case the project holds user curves
        window->WriteClick();
        QVERIFY(FPrompts->Messages().isEmpty());
        QVERIFY(!FForm->Project().CurvesGenerated);
        QCOMPARE(FForm->Tables().TblTZDepth2.RowCount(), static_cast<int>(curves));
        QVERIFY(FForm->Project().Changed());
        // One step of the history takes the whole write back, and redoes it.
        TTableUndo::Current()->undo();
        QVERIFY(FForm->Project().CurvesGenerated);
        TTableUndo::Current()->redo();
        QVERIFY(!FForm->Project().CurvesGenerated);
        QCOMPARE(FForm->Tables().TblTZDepth2.RowCount(), static_cast<int>(curves));

        Trigger(*FForm, QStringLiteral("&Save"));
        std::ifstream extras(FForm->ProjectFilePath(".kv3x").toStdString());
        const nlohmann::json saved = nlohmann::json::parse(extras);
        QCOMPARE(QString::fromStdString(saved["cpt"]["sounding"]["path"].get<std::string>()),
                 QFileInfo(sounding).absoluteFilePath());
        QCOMPARE(QString::fromStdString(saved["cpt"]["sounding"]["checksum"].get<std::string>()),
                 QString::fromStdString(window->Model().Record.Checksum));

        // A new window takes the record up whole.
        const auto weights = window->Model().Record.Settings.UnitWeights;
        delete window->parentWidget();
        QVERIFY(!Window());
        Trigger(*FForm, QStringLiteral("t-z and Q-w Curves from a &CPT Sounding ..."));
        QVERIFY(Window());
        QVERIFY(Window()->Model().Record.Settings.Direction == cpt::TLoadDirection::Tension);
        QCOMPARE(Window()->Model().Record.Settings.UnitWeights.size(), weights.size());
        for (std::size_t i = 0; i < weights.size(); ++i)
            QCOMPARE(Window()->Model().Record.Settings.UnitWeights[i].UnitWeight, weights[i].UnitWeight);

        // Opened again with the window open, the project's record comes back.
        FPrompts->Files.push_back({project, 0});
        Trigger(*FForm, QStringLiteral("&Open..."));
        QVERIFY(Window());
        QCOMPARE(QString::fromStdString(Window()->Model().Record.SoundingPath), QFileInfo(sounding).absoluteFilePath());
        QVERIFY(FPrompts->Messages().isEmpty());
    }
};

QTEST_MAIN(TestCptWindow)
#include "test_cpt_window.moc"
