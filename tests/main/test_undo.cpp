// Tests of the undo history as a person meets it in the program: keys in the
// table windows and the Edit menu, rows deleted with their layer data, a
// paste and a switch as one step each, a whole change made by code, the
// history cleared with the project; the windows of the curve source not in
// use; a Save As that fails.

#include "CellTyping.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "ScriptedPrompts.h"
#include "TableForm.h"
#include "TableGrid.h"
#include "TableUndo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QtTest>

namespace {

QString Example(const char* name) { return QStringLiteral(KORVEN_EXAMPLES "/") + QLatin1String(name); }

void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(widget, static_cast<Qt::Key>(key), modifiers);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The widget of the window that has the keyboard: the cell editor, or the grid.
QWidget* Typing(TTableFormBase& form)
{
    QWidget* editor = form.Grid->indexWidget(form.Grid->currentIndex());
    return editor ? editor : form.Grid;
}

}  // namespace

class UndoTests : public QObject, protected TMainFormFixture {
    Q_OBJECT

private:
    TTableForm& OpenLayers()
    {
        Popup(*FForm, QStringLiteral("&Data"));
        Trigger(*FForm, QStringLiteral("Soil &Layers"));
        return *TableForm(FForm->Tables().D2);
    }

private slots:
    void init()
    {
        Start();
        FForm->resize(1200, 900);
        FForm->show();
        FForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    }
    void cleanup() { Finish(); }

    void typedEntriesAndDeletedLayersComeBack()
    {
        OpenProject(CopyIn(Example("example.kv3d"), QStringLiteral("pile.kv3d")));
        TGridTable& layers = FForm->Tables().D2;
        TTableForm& form = OpenLayers();
        // Typing not yet entered is dropped first, without a step.
        QVERIFY(ClickAndType(*form.Grid, 1, 1, QStringLiteral("300")));
        Key(Typing(form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.Grid->CellText(1, 1), QStringLiteral("480"));
        QVERIFY(!Action(*FForm, QStringLiteral("&Undo"))->isEnabled());

        QVERIFY(ClickAndType(*form.Grid, 1, 1, QStringLiteral("300")));
        QTest::keyClick(Typing(form), Qt::Key_Return);
        QCOMPARE(layers.GetData(LayerBottomColumn, 1).AsString(), std::string("300"));
        form.Grid->setCurrentCell(0, 1);
        const long double sandAngle =
            layers.GetData(LayerDataColumn, 1).AsTable()->GetData(FrictionAngleColumn, 0).AsFloat();
        // Alt+D deletes the sand layer; its data come back with it.
        form.Grid->setCurrentCell(1, 1);
        Key(Typing(form), Qt::Key_D, Qt::AltModifier);
        QCOMPARE(layers.RowCount(), 2);
        QCOMPARE(Action(*FForm, QStringLiteral("&Undo Delete Row in Soil Layers"))->isEnabled(), true);
        FForm->Project().SetChanged(false);
        Key(Typing(form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(layers.RowCount(), 3);
        QCOMPARE(layers.GetData(SoilTypeColumn, 1).AsInteger(), 2);
        QCOMPARE(layers.GetData(LayerDataColumn, 1).AsTable()->GetData(FrictionAngleColumn, 0).AsFloat(), sandAngle);
        QVERIFY(FForm->Project().Changed());
        // Then the entry; redo by both keys brings both back.
        Key(Typing(form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(layers.GetData(LayerBottomColumn, 1).AsString(), std::string("480"));
        QCOMPARE(form.Grid->CellText(1, 1), QStringLiteral("480"));
        Key(Typing(form), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(layers.GetData(LayerBottomColumn, 1).AsString(), std::string("300"));
        Key(Typing(form), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(layers.RowCount(), 2);
        QVERIFY(FPrompts->Messages().isEmpty());
    }

    void pastesSwitchesAndChangesByCodeAreOneStepEach()
    {
        TMainForm& form = *FForm;
        TProjectTables& tables = form.Tables();
        // The switch that fills the tip movements, undone from the Edit menu.
        Popup(form, QStringLiteral("Load Method"));
        Trigger(form, QStringLiteral("Specify &Tip Movements"));
        Trigger(form, QStringLiteral("Specify &Tip Movements"));
        QCOMPARE(tables.TblTipMove.RowCount(), 9);
        Popup(form, QStringLiteral("&Edit"));
        Trigger(form, QStringLiteral("&Undo Specify Tip Movements"));
        Trigger(form, QStringLiteral("&Undo Specify Tip Movements"));
        QCOMPARE(tables.TblTipMove.RowCount(), 2);
        QVERIFY(form.Project().UseTipMovements);

        // A paste of three layers: one step.
        TTableForm& layers = OpenLayers();
        layers.Grid->setCurrentCell(0, 1);
        QGuiApplication::clipboard()->setText(QStringLiteral("100\n200\n300\n"));
        Key(Typing(layers), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(tables.D2.RowCount(), 3);
        Popup(form, QStringLiteral("&Edit"));
        Trigger(form, QStringLiteral("&Undo Paste in Soil Layers"));
        QCOMPARE(tables.D2.RowCount(), 1);
        QCOMPARE(tables.D2.GetData(LayerBottomColumn, 0).AsFloat(), 0.0L);

        // A change by code with the options it sets.
        RecordTableChange(QStringLiteral("Apply calibration"), {&tables.TblTZFactors2}, [&] {
            tables.TblTZFactors2.GetData(1, 0).SetFloat(0.8L);
            form.Project().ApplyTzFactors = true;
        });
        RecordTableChange(QStringLiteral("Nothing"), {&tables.TblTZFactors2}, [] {});
        Popup(form, QStringLiteral("&Edit"));
        Trigger(form, QStringLiteral("&Undo Apply calibration"));
        QCOMPARE(tables.TblTZFactors2.GetData(1, 0).AsFloat(), 1.0L);
        QVERIFY(!form.Project().ApplyTzFactors);
        Trigger(form, QStringLiteral("&Redo Apply calibration"));
        QVERIFY(form.Project().ApplyTzFactors);

        // Another project starts without a history.
        FPrompts->Answers = {Answer::No};
        Popup(form, QStringLiteral("&File"));
        Trigger(form, QStringLiteral("&New"));
        Popup(form, QStringLiteral("&Edit"));
        QVERIFY(!Action(form, QStringLiteral("&Undo"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("&Redo"))->isEnabled());
    }

    void windowsOfTheSourceNotInUseClose()
    {
        TMainForm& form = *FForm;
        TProjectTables& tables = form.Tables();
        const QString user = CopyIn(Example("user-curves.kv3d"), QStringLiteral("user.kv3d"));
        // Each step used to leave the other source's windows open, and
        // closing an editor's window printed that it did not belong to the view.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("commitData|closeEditor|editor")));
        OpenProject(CopyIn(Example("example.kv3d"), QStringLiteral("pile.kv3d")));
        TTableForm& layers = OpenLayers();
        QTest::mouseClick(layers.RowControls(LayerDataColumn).front(), Qt::LeftButton);
        QVERIFY(TableForm(*tables.D2.GetData(LayerDataColumn, 0).AsTable()));
        layers.activateWindow();
        QVERIFY(ClickAndType(*layers.Grid, 0, 1, QStringLiteral("250")));
        Popup(form, QStringLiteral("t-z/Q-w &Curves"));
        Trigger(form, QStringLiteral("Entered by the user"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TableForm(tables.D2));
        QVERIFY(!TableForm(*tables.D2.GetData(LayerDataColumn, 0).AsTable()));
        QCOMPARE(tables.D2.GetData(LayerBottomColumn, 0).AsString(), std::string("250"));

        Popup(form, QStringLiteral("&Data"));
        Trigger(form, QStringLiteral("Enter Q-&w Curve"));
        QVERIFY(ClickAndType(*TableForm(tables.TblQwcurve2)->Grid, 0, 0, QStringLiteral("5")));
        // Undoing the switch closes them as well.
        Popup(form, QStringLiteral("&Edit"));
        Trigger(form, QStringLiteral("&Undo Entry in Tip Load vs. Tip Movement"));
        Trigger(form, QStringLiteral("&Undo Curves Entered by the User"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.Project().CurvesGenerated);
        QVERIFY(!TableForm(tables.TblQwcurve2));

        OpenLayers();
        FPrompts->Answers = {Answer::No};
        OpenProject(user);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TableForm(tables.D2));
    }

    void aFailedSaveAsKeepsTheOldName()
    {
        const QString path = CopyIn(Example("example.kv3d"), QStringLiteral("pile.kv3d"));
        OpenProject(path);
        TMainForm& form = *FForm;
        form.Project().SetSwitch(&TProgramData::Downdrag, true);
        const QString caption = form.windowTitle();
        FPrompts->Files.push_back({FFolder->filePath(QStringLiteral("no folder/other.kv3d")), 0});
        Popup(form, QStringLiteral("&File"));
        Trigger(form, QStringLiteral("Save &As..."));
        QCOMPARE(FPrompts->Messages().size(), 1);
        QCOMPARE(form.Project().FileName, path.toStdString());
        QCOMPARE(form.windowTitle(), caption);
        QVERIFY(form.Project().Changed());
    }
};

QTEST_MAIN(UndoTests)
#include "test_undo.moc"
