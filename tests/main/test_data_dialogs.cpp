#include "DataDialogs.h"
#include "FocusTakingPrompts.h"
#include "TDataEdit.h"
#include "TableWindows.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// The main window's side: an active MDI area and the current project.
struct Frame {
    TProjectTables tables;
    std::unique_ptr<TProgramData> project = std::make_unique<TProgramData>(tables);
    QMdiArea area;
    TProjectAccess access = [this]() -> TProgramData& { return *project; };

    Frame()
    {
        area.resize(900, 700);
        area.show();
    }

    // Makes the program's window the active one again (after a message).
    bool Activate()
    {
        area.activateWindow();
        return QTest::qWaitForWindowActive(&area);
    }
};

// Types `text` over the whole text of `field`, which keeps the focus.
void Type(QLineEdit* field, const QString& text)
{
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
}

void Enter(QLineEdit* field, const QString& text)
{
    Type(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Stands in for the table editor window: records that the table showed it.
class FakeEditor : public TTableEditor {
public:
    explicit FakeEditor(int& shown) : FShown(shown) {}
    void ShowEditor(bool) override { ++FShown; }
    bool IsModal() const override { return false; }
    void UpdateCaption() override {}
    void RowControlChanged(int, int) override {}

private:
    int& FShown;
};

}  // namespace

class DataDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void pilePropertiesLoadCheckAndStore();
    void pileLengthAndDiameterMustBeAboveZero();
    void titleWindow();
    void invalidEntryKeepsTheWindowAndItsText();
    void activationLoadsAndDeactivationStores();
    void unitSwitchOrNewProjectReloadsOpenWindows();
    void browseSetsTheEditorPath();
    void stiffnessButtonCommitsThenOpensTheTable();
};

void DataDialogsTest::pilePropertiesLoadCheckAndStore()
{
    ScriptedPrompts prompts;
    Frame frame;
    TProgramData& project = *frame.project;
    // More digits than a field shows, as a unit switch leaves them.
    project.PileLength = 480 * MetresPerInch;
    const long double length = project.PileLength;
    project.TipArea = 127.67L;
    QVERIFY(frame.Activate());
    auto* window = new TfrmMaterial(frame.area, frame.access);
    window->ShowWindow();
    QCOMPARE(window->DataArea->text(), QStringLiteral("127.67"));
    QCOMPARE(window->DataTol->text(), QStringLiteral("0.00001"));
    QCOMPARE(window->DataNI->EditLabel()->text(), QStringLiteral("Number of Increments"));
    // A window only looked at changes nothing.
    QVERIFY(window->StoreFields());
    QCOMPARE(project.PileLength, length);
    QVERIFY(!project.Changed());

    Enter(window->DataOD, QStringLiteral("2E6"));
    Enter(window->DataArea, QStringLiteral("2E9"));
    Enter(window->DataTol, QStringLiteral("1E-12"));
    Enter(window->DataNI, QStringLiteral("600"));
    QCOMPARE(prompts.Messages(), (QStringList{QStringLiteral("Entry must be less than or equal to 1000000"),
                                              QStringLiteral("Entry must be less than or equal to 1000000000"),
                                              QStringLiteral("Entry must be greater than or equal to 1E-9"),
                                              QStringLiteral("Entry must be less than or equal to 500")}));
    // The commit checks the field being edited.
    Type(window->DataNI, QStringLiteral("2*50"));
    QVERIFY(window->StoreFields());
    QCOMPARE(window->DataNI->text(), QStringLiteral("100"));
    QCOMPARE(project.PileLength, length);
    QCOMPARE(project.OuterDiameter, 1000000.0L);
    QCOMPARE(project.TipArea, 1000000000.0L);
    QCOMPARE(project.Increments, 100);
    QCOMPARE(project.Tolerance, 1E-9L);
    QVERIFY(project.Changed());
}

void DataDialogsTest::pileLengthAndDiameterMustBeAboveZero()
{
    ScriptedPrompts prompts;
    Frame frame;
    TProgramData& project = *frame.project;
    QVERIFY(frame.Activate());
    auto* window = new TfrmMaterial(frame.area, frame.access);
    window->ShowWindow();
    // A new project's 0, only looked at, can be left.
    window->DataPL->setFocus();
    QTest::keyClick(window->DataPL, Qt::Key_Tab);
    QVERIFY(prompts.Messages().isEmpty());

    // Typed, no length or diameter of 0 or below is taken; a tip area of 0 is.
    Enter(window->DataPL, QStringLiteral("0"));
    Enter(window->DataPL, QStringLiteral("-5"));
    Enter(window->DataPL, QStringLiteral("480"));
    Enter(window->DataOD, QStringLiteral("12-12"));
    QCOMPARE(prompts.Messages(), (QStringList{QStringLiteral("Entry must be greater than 0"),
                                              QStringLiteral("Entry must be greater than 0"),
                                              QStringLiteral("Entry must be greater than 0")}));
    // The refused text stays for correction, and the focus with it.
    QCOMPARE(window->DataOD->text(), QStringLiteral("12-12"));
    QVERIFY(window->DataOD->hasFocus());
    // The commit before a command says so again and stores nothing.
    QVERIFY(!window->StoreFields());
    QCOMPARE(prompts.Messages().size(), 4);
    QCOMPARE(project.OuterDiameter, 0.0L);

    Type(window->DataOD, QStringLiteral("0.5"));
    Enter(window->DataArea, QStringLiteral("0"));
    QCOMPARE(prompts.Messages().size(), 4);
    QVERIFY(window->StoreFields());
    QCOMPARE(project.PileLength, 480.0L);
    QCOMPARE(project.OuterDiameter, 0.5L);
    QCOMPARE(project.TipArea, 0.0L);
}

void DataDialogsTest::titleWindow()
{
    Frame frame;
    TProgramData& project = *frame.project;
    const std::string longTitle(100, 't');
    project.Title = longTitle;
    QVERIFY(frame.Activate());
    auto* window = new TdlgTitle(frame.area, frame.access);
    window->ShowWindow();
    QCOMPARE(window->edtTitle->text(), QString(80, QLatin1Char('t')));

    // Designer and date are kept with the project: a change is one to save.
    QVERIFY(window->StoreFields());
    QVERIFY(!project.Changed());
    Type(window->edtDesigner, QStringLiteral("J. Doe"));
    Type(window->edtDate, QStringLiteral("7 Dec"));
    QVERIFY(window->StoreFields());
    QCOMPARE(project.Designer, std::string("J. Doe"));
    QCOMPARE(project.DesignDate, std::string("7 Dec"));
    QCOMPARE(project.Title, longTitle);
    QVERIFY(project.Changed());
    project.SetChanged(false);

    Enter(window->edtTitle, QString(90, QLatin1Char('x')));
    QVERIFY(window->StoreFields());
    QCOMPARE(project.Title, std::string(80, 'x'));
    QVERIFY(project.Changed());
}

void DataDialogsTest::invalidEntryKeepsTheWindowAndItsText()
{
    FocusTakingPrompts prompts;
    Frame frame;
    TProgramData& project = *frame.project;
    QVERIFY(frame.Activate());
    auto* other = new TdlgTitle(frame.area, frame.access);
    other->ShowWindow();
    QPointer<TfrmMaterial> window = new TfrmMaterial(frame.area, frame.access);
    QSignalSpy closed(window, &TDataDialog::Closed);
    window->ShowWindow();
    const auto keptAndFocused = [&] {
        return frame.Activate() && frame.area.activeSubWindow() == window->SubWindow() && window->DataNI->hasFocus() &&
               window->DataNI->text() == QStringLiteral("7.5");
    };

    // The commit before a menu command.
    Type(window->DataNI, QStringLiteral("7.5"));
    QVERIFY(!window->StoreFields());
    QCOMPARE(prompts.Messages(), QStringList{QStringLiteral("Entry must be an integer.")});
    QVERIFY(keptAndFocused());

    // The user activating another window: this one comes back.
    frame.area.setActiveSubWindow(other->SubWindow());
    QCOMPARE(prompts.Messages().size(), 2);
    QVERIFY(keptAndFocused());

    QVERIFY(!window->SubWindow()->close());
    QCOMPARE(prompts.Messages().size(), 3);
    QVERIFY(keptAndFocused());
    QCOMPARE(closed.count(), 0);
    QCOMPARE(project.Increments, 50);
    QVERIFY(!project.Changed());

    // Corrected, the window stores, closes and goes.
    Type(window->DataNI, QStringLiteral("75"));
    QVERIFY(window->SubWindow()->close());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(project.Increments, 75);
    QTRY_VERIFY(window.isNull());
    QCOMPARE(prompts.Messages().size(), 3);
}

void DataDialogsTest::activationLoadsAndDeactivationStores()
{
    Frame frame;
    TProgramData& project = *frame.project;
    QVERIFY(frame.Activate());
    auto* title = new TdlgTitle(frame.area, frame.access);
    title->ShowWindow();
    auto* factors = new TfrmQwFactors(frame.area, frame.access);
    factors->ShowWindow();

    Type(factors->DataQfactor, QStringLiteral("1.25"));
    frame.area.setActiveSubWindow(title->SubWindow());
    QCOMPARE(project.QMultiplier, 1.25L);
    QVERIFY(project.Changed());

    project.QMultiplier = 3;
    frame.area.setActiveSubWindow(factors->SubWindow());
    QCOMPARE(factors->DataQfactor->text(), QStringLiteral("3"));

    // The program's window losing the focus neither stores nor loads.
    Type(factors->Datawfactor, QStringLiteral("4+"));
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QVERIFY(frame.Activate());
    QCOMPARE(frame.area.activeSubWindow(), factors->SubWindow());
    QCOMPARE(factors->Datawfactor->text(), QStringLiteral("4+"));
    QCOMPARE(project.WMultiplier, 1.0L);
}

void DataDialogsTest::unitSwitchOrNewProjectReloadsOpenWindows()
{
    Frame frame;
    frame.project->PileLength = 480;
    frame.project->TipArea = 100;
    frame.project->OnUnitsChanged = [&frame] { ReloadDataDialogs(frame.area); };
    QVERIFY(frame.Activate());
    auto* window = new TfrmMaterial(frame.area, frame.access);
    window->ShowWindow();
    QCOMPARE(window->DataPL->EditLabel()->text(), QStringLiteral("Pile Length (in)"));

    frame.project->SetUnits(UnitSystem::SI);
    QCOMPARE(window->DataPL->EditLabel()->text(), QStringLiteral("Pile Length (m)"));
    QCOMPARE(window->DataArea->EditLabel()->text(), QStringLiteral("Area of Pile Tip (m²)"));
    QCOMPARE(window->DataTol->EditLabel()->text(), QStringLiteral("Tolerance (m)"));
    QVERIFY(window->DataPL->text().startsWith(QStringLiteral("12.192")));
    QVERIFY(window->DataArea->text().startsWith(QStringLiteral("0.064516")));

    // The old project's values are not stored into a new one.
    frame.project = std::make_unique<TProgramData>(frame.tables);
    ReloadDataDialogs(frame.area);
    QCOMPARE(window->DataPL->text(), QStringLiteral("0"));
    QCOMPARE(window->DataPL->EditLabel()->text(), QStringLiteral("Pile Length (in)"));
    QVERIFY(window->StoreFields());
    QVERIFY(!frame.project->Changed());
}

void DataDialogsTest::browseSetsTheEditorPath()
{
    ScriptedPrompts prompts;
    Frame frame;
    QString editorPath = QStringLiteral("xdg-open");
    QVERIFY(frame.Activate());
    auto* window = new TDlgOptions(frame.area, editorPath);
    window->ShowWindow();
    QCOMPARE(window->edtEditor->text(), QStringLiteral("xdg-open"));

    prompts.Files = {{QStringLiteral("/usr/bin/mousepad"), 0}, {}};
    QTest::mouseClick(window->btnBrowse, Qt::LeftButton);
    // Programs are the executable files, not "*.exe".
    QCOMPARE(prompts.Asked[0].Request.Filter, QStringLiteral("Programs|*|All Files (*.*)|*.*"));
    QCOMPARE(prompts.Asked[0].Request.ExecutableFilter, 0);
    QCOMPARE(prompts.Asked[0].Request.FileName, QStringLiteral("xdg-open"));
    QTest::mouseClick(window->btnBrowse, Qt::LeftButton);  // cancelled
    QCOMPARE(prompts.Asked[1].Request.FileName, QStringLiteral("/usr/bin/mousepad"));
    QCOMPARE(window->edtEditor->text(), QStringLiteral("/usr/bin/mousepad"));
    QCOMPARE(editorPath, QStringLiteral("xdg-open"));

    QVERIFY(window->SubWindow()->close());
    QCOMPARE(editorPath, QStringLiteral("/usr/bin/mousepad"));
    QVERIFY(!frame.project->Changed());
}

void DataDialogsTest::stiffnessButtonCommitsThenOpensTheTable()
{
    ScriptedPrompts prompts;
    Frame frame;
    int shown = 0;
    const TGridTable* opened = nullptr;
    SetTableWindowMaker([&](TGridTable& table) {
        opened = &table;
        return std::make_unique<FakeEditor>(shown);
    });
    QVERIFY(frame.Activate());
    auto* window = new TfrmMaterial(frame.area, frame.access);
    window->ShowWindow();

    Type(window->DataPL, QStringLiteral("12+"));
    QTest::mouseClick(window->btnAE, Qt::LeftButton);
    QCOMPARE(shown, 0);
    QCOMPARE(prompts.Messages().size(), 1);

    Type(window->DataPL, QStringLiteral("12*12"));
    QTest::mouseClick(window->btnAE, Qt::LeftButton);
    QCOMPARE(shown, 1);
    QCOMPARE(opened, &frame.tables.TblAE2);
    QCOMPARE(frame.project->PileLength, 144.0L);
    QCOMPARE(prompts.Messages().size(), 1);
    SetTableWindowMaker(nullptr);
}

QTEST_MAIN(DataDialogsTest)
#include "test_data_dialogs.moc"
