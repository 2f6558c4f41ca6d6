// Tests that what a person enters is kept or told: the designer and the date
// saved beside the project, every switch a change to save, new rows that do
// not quietly change results, damaged or refused input named.

#include "CellTyping.h"
#include "DataDialogs.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "ScriptedPrompts.h"
#include "TableForm.h"
#include "TableGrid.h"

#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString Example(const char* name) { return QStringLiteral(KORVEN_EXAMPLES "/") + QLatin1String(name); }


}  // namespace

// The entry is refused with a message holding `part`.
#define EXPECT_THROW_ASSIGN(call, part)                                                                               \
    do {                                                                                                               \
        QString message;                                                                                               \
        try {                                                                                                          \
            call;                                                                                                      \
        } catch (const EAssignError& e) {                                                                              \
            message = QString::fromUtf8(e.what());                                                                     \
        }                                                                                                              \
        QVERIFY2(message.contains(QStringLiteral(part)), qPrintable(message));                                         \
    } while (false)

class TestProjectChanges : public QObject, protected TMainFormFixture {
    Q_OBJECT

private:
    QString Copy(const char* example, const QString& name) { return CopyIn(Example(example), name); }

    void WriteFile(const QString& path, const QByteArray& text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

private slots:
    void init() { Start(); }
    void cleanup() { Finish(); }

    void designerAndDateAreKeptBesideTheProject()
    {
        const QString path = Copy("example.kv3d", QStringLiteral("pile.kv3d"));
        OpenProject(path);
        Popup(*FForm, QStringLiteral("&Data"));
        Trigger(*FForm, QStringLiteral("&Title"));
        auto* title = qobject_cast<TdlgTitle*>(FForm->Area().activeSubWindow()->widget());
        QVERIFY(title);
        title->edtDesigner->setFocus();
        QTest::keyClicks(title->edtDesigner, QStringLiteral("A. Engineer"));
        title->edtDate->setFocus();
        QTest::keyClicks(title->edtDate, QStringLiteral("8 December 2026"));
        // The save question comes for them alone.
        Popup(*FForm, QStringLiteral("&File"));
        QVERIFY(FForm->Project().Changed());
        Trigger(*FForm, QStringLiteral("&Save"));
        QVERIFY(!FForm->Project().Changed());
        QVERIFY(QFile::exists(FFolder->filePath(QStringLiteral("pile.kv3x"))));

        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("&New"));
        QCOMPARE(FForm->Project().Designer, std::string());
        OpenProject(path);
        QCOMPARE(FForm->Project().Designer, std::string("A. Engineer"));
        QCOMPARE(FForm->Project().DesignDate, std::string("8 December 2026"));
        QVERIFY(FPrompts->Messages().isEmpty());
    }

    void aDamagedExtrasFileIsNamedAndTheProjectStillOpens()
    {
        const QString path = Copy("example.kv3d", QStringLiteral("pile.kv3d"));
        const QString extras = FFolder->filePath(QStringLiteral("pile.kv3x"));
        WriteFile(extras, "{\"schemaVersion\": 1, \"project\": {\"designer\": ");
        OpenProject(path);
        QCOMPARE(FForm->Project().FileName, path.toStdString());
        QCOMPARE(FPrompts->Messages().size(), 1);
        QCOMPARE(FPrompts->Asked.back().Icon, PromptIcon::Warning);
        QVERIFY2(FPrompts->Messages()[0].contains(extras), qPrintable(FPrompts->Messages()[0]));
    }

    void everySwitchIsAChangeToSave()
    {
        const QString path = Copy("example.kv3d", QStringLiteral("pile.kv3d"));
        const struct {
            const char* menu;
            const char* item;
        } switches[] = {
            {"&Options", "Include &Down-Drag (negative Skin Friction)"},
            {"Load Method", "Assign &Loads at Pile Head"},
            {"&Options", "Apply Modification Factors on Q-w Curve"},
            {"t-z/Q-w &Curves", "Entered by the user"},
            {"&Units", "&S.I. Units (kN, m)"},
        };
        for (const auto& option : switches) {
            OpenProject(path);
            QVERIFY(!FForm->Project().Changed());
            Popup(*FForm, QString::fromLatin1(option.menu));
            Trigger(*FForm, QString::fromLatin1(option.item));
            QVERIFY2(FForm->Project().Changed(), option.item);
            // New asks before the switch is lost; Cancel keeps it.
            FPrompts->Asked.clear();
            Trigger(*FForm, QStringLiteral("&New"));
            QCOMPARE(FPrompts->Asked.size(), std::size_t(1));
            QCOMPARE(FPrompts->Asked[0].Text, QStringLiteral("Do you want to save any changes?"));
            QCOMPARE(FForm->Project().FileName, path.toStdString());
            FForm->Project().SetChanged(false);
        }
        // Choosing what is already in force is no change.
        OpenProject(path);
        Popup(*FForm, QStringLiteral("&Units"));
        Trigger(*FForm, QStringLiteral("&English Units (lb, in)"));
        Trigger(*FForm, QStringLiteral("Generated by the program"));
        QVERIFY(!FForm->Project().Changed());
    }

    void aDownDragProfileOfZerosIsNamedBeforeTheRun()
    {
        OpenProject(Copy("example.kv3d", QStringLiteral("pile.kv3d")));
        Popup(*FForm, QStringLiteral("&Options"));
        Trigger(*FForm, QStringLiteral("Include &Down-Drag (negative Skin Friction)"));
        FPrompts->Answers = {Answer::No};
        FPrompts->Asked.clear();
        Trigger(*FForm, QStringLiteral("&Run Analysis"));
        QCOMPARE(FPrompts->Asked.size(), std::size_t(1));
        QVERIFY2(FPrompts->Asked[0].Text.contains(QStringLiteral("Soil Settlement Profile")),
                 qPrintable(FPrompts->Asked[0].Text));
        // Not run, not saved.
        QVERIFY(FForm->Project().Changed());
        QVERIFY(!QFile::exists(FFolder->filePath(QStringLiteral("pile.kv3o"))));
    }

    void relinkedLayerTopsAreNamedOnOpen()
    {
        // The third layer's top is not the second layer's bottom (480 in).
        const QString path = Copy("example.kv3d", QStringLiteral("gap.kv3d"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray text = file.readAll();
        text.replace("3 5  4.80000000000000E+0002", "3 5  5.00000000000000E+0002");
        file.resize(0);
        file.write(text);
        file.close();
        OpenProject(path);
        QCOMPARE(FPrompts->Messages().size(), 1);
        QVERIFY2(FPrompts->Messages()[0].contains(QStringLiteral("Layer 3: its top at 500 in is now 480 in")),
                 qPrintable(FPrompts->Messages()[0]));
        QVERIFY(FForm->Project().Changed());

        // A sound file says nothing and is unchanged.
        FPrompts->Asked.clear();
        FPrompts->Answers = {Answer::No};
        OpenProject(Copy("example.kv3d", QStringLiteral("pile.kv3d")));
        QVERIFY(FPrompts->Messages().isEmpty());
        QVERIFY(!FForm->Project().Changed());
    }

    void valuesOutsideTheirBoundsAreRefusedAtEntry()
    {
        TMainForm& form = *FForm;
        Popup(form, QStringLiteral("Load Method"));
        Trigger(form, QStringLiteral("Assign &Loads at Pile Head"));
        Popup(form, QStringLiteral("&Data"));
        Trigger(form, QStringLiteral("Enter Loads at Pile &Head"));
        TTableForm* window = TableForm(form.Tables().TblTopload);
        QVERIFY(window);
        QLineEdit* editor = ClickAndType(*window->Grid, 0, 0, QStringLiteral("-5"));
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!window->CommitCell());
        QCOMPARE(FPrompts->Messages(), QStringList{QStringLiteral("An axial load at the pile head must be above 0.")});
        QCOMPARE(form.Tables().TblTopload.GetData(0, 0).AsFloat(), 0.0L);

        // The layer tables: a friction angle of 95 degrees, a bottom above the top.
        TProjectTables& tables = form.Tables();
        tables.D2.SetRowCount(2);
        tables.D2.GetData(SoilTypeColumn, 0).SetInteger(2);
        tables.D2.GetData(LayerBottomColumn, 0).SetText("10");
        EXPECT_THROW_ASSIGN(tables.D2.GetData(LayerBottomColumn, 1).SetText("5"), "must lie below its top, 10");
        TGridTable& sand = *tables.D2.GetData(LayerDataColumn, 0).AsTable();
        EXPECT_THROW_ASSIGN(sand.GetData(FrictionAngleColumn, 0).SetText("95"), "between 0 and 89.9");
        EXPECT_THROW_ASSIGN(sand.GetData(UnitWeightColumn, 0).SetText("0"), "must be above 0");
        sand.GetData(FrictionAngleColumn, 0).SetText("89.9");
    }
};

int main(int argc, char** argv)
{
    // The settings the fixture clears are a private folder's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication application(argc, argv);
    TestProjectChanges test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_project_changes.moc"
