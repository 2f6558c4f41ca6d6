// Tests of the paths a person takes between projects with windows open:
// every table window of the project, nested ones included, through New,
// Open (generated and user-entered curves, both ways), the unit switch and
// a run; damaged project files; the end of a run the engine refused.

#include "DataDialogs.h"
#include "EngineStatus.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "ScriptedPrompts.h"
#include "TDataEdit.h"
#include "TableForm.h"
#include "TableWindows.h"
#include "TableGrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// A helper's failure ends the test there: what follows relies on it.
#define QVERIFY_HELPER(call)                                                                                           \
    do {                                                                                                               \
        call;                                                                                                          \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

namespace {

QString Example(const char* name) { return QStringLiteral(KORVEN_EXAMPLES "/") + QLatin1String(name); }

// Opens the menu's items as the menu bar does, then chooses one.
void Choose(TMainForm& form, const QString& menu, const QString& item)
{
    for (QMenu* m : form.findChildren<QMenu*>())
        if (m->title() == menu)
            emit m->aboutToShow();
    QAction* action = Action(form, item);
    QVERIFY2(action->isEnabled(), qPrintable(item));
    action->trigger();
    // Back in the event loop, as after every command: closed windows go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The tables whose windows a person can open: the project's lists and the
// own table of every soil layer and every user t-z curve.
template <class Fn>
void ForEachEditedTable(TProjectTables& tables, Fn&& fn)
{
    tables.ForEach([&](auto& table) {
        fn(table);
        for (int col = 0; col < table.ColumnCount(); ++col)
            if (table.Column(col).Kind() == TColumnKind::Table)
                for (int row = 0; row < table.RowCount(); ++row)
                    if (auto* nested = table.GetData(col, row).AsTable())
                        fn(*nested);
    });
}

// Whether the open window of `table` shows the table's rows as they are now.
QString Mismatch(const TGridTable& table, TTableForm& window)
{
    const QString name = QString::fromStdString(table.WindowCaption());
    if (window.windowTitle() != name)
        return name + QStringLiteral(": caption ") + window.windowTitle();
    if (window.Grid->rowCount() != table.RowCount())
        return name + QStringLiteral(": %1 grid rows for %2").arg(window.Grid->rowCount()).arg(table.RowCount());
    if (window.Grid->columnCount() != table.VisibleColumnCount())
        return name + QStringLiteral(": grid columns");
    // As a window opened on them would: all columns, up to ten rows.
    if (window.RowsInView() != std::min(table.RowCount(), window.MaxRowsInView()) ||
        window.ColumnsInView() != table.VisibleColumnCount())
        return name + QStringLiteral(": %1 rows in view").arg(window.RowsInView());
    if (window.Grid->currentRow() < 0 || window.Grid->currentRow() >= table.RowCount())
        return name + QStringLiteral(": no current row");
    for (int c = 0; c < table.VisibleColumnCount(); ++c) {
        const TColumn& column = table.VisibleColumn(c);
        const int col = table.IndexOf(column);
        if (column.HasControls()) {
            const std::vector<QWidget*> controls = window.RowControls(col);
            if (static_cast<int>(controls.size()) != std::min(window.RowsInView(), table.RowCount()))
                return name + QStringLiteral(": %1 row controls").arg(controls.size());
            for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
                const int row = window.Grid->TopRow() + i;
                if (auto* box = qobject_cast<QComboBox*>(controls[i])) {
                    if (box->currentIndex() != column.AsInteger(row) - 1)
                        return name + QStringLiteral(": drop-down of row %1").arg(row + 1);
                } else if (qobject_cast<QPushButton*>(controls[i])->text() !=
                           QString::fromStdString(column.GetText(row))) {
                    return name + QStringLiteral(": button of row %1").arg(row + 1);
                }
            }
            continue;
        }
        for (int row = 0; row < table.RowCount(); ++row)
            if (window.Grid->CellText(row, c) != QString::fromStdString(column.GetText(row)))
                return name + QStringLiteral(": cell %1, %2 shows %3")
                                  .arg(row + 1)
                                  .arg(c + 1)
                                  .arg(window.Grid->CellText(row, c));
    }
    return {};
}

}  // namespace

class TestProjectSwitch : public QObject, protected TMainFormFixture {
    Q_OBJECT

private:
    QString Copy(const char* example, const QString& name) { return CopyIn(Example(example), name); }

    // Clicks the button of every row of every button column in the open
    // window of `table`, which opens the rows' own tables.
    void OpenNestedWindows(TGridTable& table)
    {
        TTableForm* window = TableForm(table);
        QVERIFY(window);
        for (int col = 0; col < table.ColumnCount(); ++col) {
            if (table.Column(col).Kind() != TColumnKind::Table)
                continue;
            for (QWidget* control : window->RowControls(col)) {
                QVERIFY(control->isVisible());
                QTest::mouseClick(control, Qt::LeftButton);
            }
        }
    }

    // Opens the window of every table a person can edit: every list through
    // the Data menu (with the options that offer it), the stiffness table
    // through the pile-properties window, and the own tables of the rows.
    void OpenEveryTableWindow()
    {
        TMainForm& form = *FForm;
        TProjectTables& tables = form.Tables();
        const bool generated = form.Project().CurvesGenerated;
        TProgramData& project = form.Project();
        project.UseTipMovements = project.UseHeadLoads = project.Downdrag = project.ApplyTzFactors = true;
        // The windows of the other curve source close as the project's own
        // source is chosen again: those of the project's source come last.
        const auto userCurves = [&] {
            Choose(form, QStringLiteral("&Options"), QStringLiteral("Entered by the user"));
            Choose(form, QStringLiteral("&Data"), QStringLiteral("Enter t-&z Curves"));
            OpenNestedWindows(tables.TblTZDepth2);
            Choose(form, QStringLiteral("&Data"), QStringLiteral("Enter Q-&w Curve"));
        };
        const auto soilLayers = [&] {
            Choose(form, QStringLiteral("&Options"), QStringLiteral("Generated by the program"));
            Choose(form, QStringLiteral("&Data"), QStringLiteral("Soil &Layers"));
            OpenNestedWindows(tables.D2);
        };
        if (generated) {
            userCurves();
            soilLayers();
        } else {
            soilLayers();
            userCurves();
        }
        Choose(form, QStringLiteral("&Data"), QStringLiteral("Enter Tip &Movements"));
        Choose(form, QStringLiteral("&Data"), QStringLiteral("Enter Loads at Pile &Head"));
        Choose(form, QStringLiteral("&Data"), QStringLiteral("Enter Soil-&Settlement Data (for Downdrag)"));
        Choose(form, QStringLiteral("&Data"), QStringLiteral("Enter Modification Factors on t-z Curves"));
        Choose(form, QStringLiteral("&Data"), QStringLiteral("&Pile Properties"));
        auto* material = qobject_cast<TfrmMaterial*>(form.Area().activeSubWindow()->widget());
        QVERIFY(material);
        QTest::mouseClick(material->btnAE, Qt::LeftButton);

        int windows = 0;
        ForEachEditedTable(tables, [&](auto& table) { windows += TableForm(table) != nullptr; });
        // The lists of the project's curve source, the stiffness table among
        // them, and the own tables of that source's rows.
        QCOMPARE(windows, generated ? 6 + tables.D2.RowCount() : 7 + tables.TblTZDepth2.RowCount());
        QVERIFY2(FPrompts->Messages().isEmpty(), qPrintable(FPrompts->Messages().join(u'|')));
    }

    // Every table window still open shows its table's rows as they are now.
    void CheckOpenWindows(const char* step, int expectedOpen)
    {
        QVERIFY2(FPrompts->Messages().isEmpty(), qPrintable(FPrompts->Messages().join(u'|')));
        int open = 0;
        QString fault;
        ForEachEditedTable(FForm->Tables(), [&](auto& table) {
            if (auto* window = TableForm(table)) {
                ++open;
                if (fault.isEmpty())
                    fault = Mismatch(table, *window);
            }
        });
        QVERIFY2(fault.isEmpty(), qPrintable(QLatin1String(step) + QStringLiteral(": ") + fault));
        QCOMPARE(open, expectedOpen);
    }

private slots:
    void init()
    {
        Start();
        FForm->EngineLibraryPath = QStringLiteral(KORVEN_ENGINE);
        FForm->resize(1400, 1000);
        FForm->show();
        FForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    }

    void cleanup() { Finish(); }

    void everyTableWindowFollowsEveryProjectSwitch()
    {
        TMainForm& form = *FForm;
        const QString generated = Copy("example.kv3d", QStringLiteral("generated.kv3d"));
        const QString user = Copy("user-curves.kv3d", QStringLiteral("user.kv3d"));
        // The lists stay open over another project, but for those of the
        // curve source it does not use (soil layers; t-z depths and Q-w
        // curve); the rows' own tables belong to rows that are gone and close
        // with them. Six lists belong to generated curves, seven to the
        // user's, five to both.
        const int generatedLists = 6;
        const int sharedLists = 5;
        const auto everyWindow = [&] { return generatedLists + form.Tables().D2.RowCount(); };

        QVERIFY_HELPER(OpenEveryTableWindow());
        FPrompts->Answers = {Answer::No};
        Choose(form, QStringLiteral("&File"), QStringLiteral("&New"));
        QVERIFY_HELPER(CheckOpenWindows("New", generatedLists));

        QVERIFY_HELPER(OpenEveryTableWindow());
        FPrompts->Answers = {Answer::No};
        OpenProject(generated);
        QCOMPARE(form.Tables().D2.RowCount(), 3);
        QVERIFY_HELPER(CheckOpenWindows("Open of a project with generated curves", generatedLists));

        QVERIFY_HELPER(OpenEveryTableWindow());
        FPrompts->Answers = {Answer::No};
        OpenProject(user);
        QCOMPARE(form.Tables().TblTZDepth2.RowCount(), 3);
        QCOMPARE(form.Tables().TblQwcurve2.RowCount(), 4);
        QVERIFY_HELPER(CheckOpenWindows("Open of a project with user curves", sharedLists));

        QVERIFY_HELPER(OpenEveryTableWindow());
        FPrompts->Answers = {Answer::No};
        OpenProject(generated);
        QVERIFY_HELPER(CheckOpenWindows("Open of a generated project from a user one", sharedLists));

        QVERIFY_HELPER(OpenEveryTableWindow());
        FPrompts->Answers = {Answer::No};
        OpenProject(user);
        QVERIFY_HELPER(OpenEveryTableWindow());
        FPrompts->Answers = {Answer::No};
        Choose(form, QStringLiteral("&File"), QStringLiteral("&New"));
        QVERIFY_HELPER(CheckOpenWindows("New from a user project", sharedLists));

        FPrompts->Answers = {Answer::No};
        OpenProject(generated);
        QVERIFY_HELPER(OpenEveryTableWindow());
        Choose(form, QStringLiteral("&Options"), QStringLiteral("&S.I. Units (kN, m)"));
        QCOMPARE(form.Project().Units(), UnitSystem::SI);
        // The rows stay: every window, nested ones included, shows metres.
        QVERIFY_HELPER(CheckOpenWindows("Switch to SI units", everyWindow()));

        // A run closes every window; the project's tables keep their rows.
        // (Its settlements are zeros: the run goes on all the same.)
        FPrompts->Answers = {Answer::Yes};
        Choose(form, QStringLiteral("&Computation"), QStringLiteral("&Run Analysis"));
        QCOMPARE(FPrompts->Messages().size(), 1);
        FPrompts->Asked.clear();
        QVERIFY_HELPER(CheckOpenWindows("Run", 0));
        QVERIFY_HELPER(OpenEveryTableWindow());
        QVERIFY_HELPER(CheckOpenWindows("Windows opened after the run", everyWindow()));
    }

    void pileHeadLoadsWindowShowsEachOpenedProjectsLoads()
    {
        TMainForm& form = *FForm;
        const QString two = Copy("user-curves.kv3d", QStringLiteral("two loads.kv3d"));
        const QString four = Copy("example.kv3d", QStringLiteral("four loads.kv3d"));
        OpenProject(four);
        Choose(form, QStringLiteral("&Data"), QStringLiteral("Enter Loads at Pile &Head"));
        auto* window = TableForm(form.Tables().TblTopload);
        QVERIFY(window);
        QCOMPARE(window->Grid->rowCount(), 4);
        OpenProject(two);
        QCOMPARE(TableForm(form.Tables().TblTopload), window);
        QCOMPARE(window->Grid->rowCount(), 2);
        QCOMPARE(window->RowsInView(), 2);
        QCOMPARE(window->Grid->CellText(1, 0), QStringLiteral("120000"));
        OpenProject(four);
        QCOMPARE(window->Grid->rowCount(), 4);
        QCOMPARE(window->RowsInView(), 4);
        QCOMPARE(window->Grid->CellText(3, 0), QStringLiteral("200000"));
        QVERIFY(FPrompts->Messages().isEmpty());
    }

    void aDamagedFileIsRefusedWhole()
    {
        TMainForm& form = *FForm;
        const QString example = Copy("example.kv3d", QStringLiteral("example.kv3d"));
        OpenProject(example);
        const QString caption = form.windowTitle();
        QFile whole(example);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray text = whole.readAll();

        // A title typed but not saved.
        Choose(form, QStringLiteral("&Data"), QStringLiteral("&Title"));
        auto* title = qobject_cast<TdlgTitle*>(form.Area().activeSubWindow()->widget());
        QVERIFY(title);
        title->edtTitle->setFocus();
        title->edtTitle->selectAll();
        QTest::keyClicks(title->edtTitle, QStringLiteral("Typed, not saved"));

        struct Damage {
            const char* name;
            QByteArray content;
            QString reason;
        };
        QByteArray word = text;
        word.replace("0.00001 600", "0.00001 6x0");
        const std::vector<Damage> damages = {
            {"cut.kv3d", text.left(text.indexOf("1.5E9 600")),
             QStringLiteral("This file either invalid or incomplete.")},
            {"word.kv3d", word,
             QStringLiteral("Error on Line 17 Item 2\nA floating point number was expected but not found.")},
            {"empty.kv3d", QByteArray(), QStringLiteral("This file either invalid or incomplete.")},
            {"binary.kv3d",
             QByteArray("\x7f"
                        "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                        20),
             QString()},
        };
        for (const Damage& damage : damages) {
            const QString path = FFolder->filePath(QLatin1String(damage.name));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damage.content);
            file.close();
            FPrompts->Asked.clear();
            FPrompts->Answers = {Answer::No};
            OpenProject(path);
            const QStringList messages = FPrompts->Messages();
            QCOMPARE(messages.size(), 1);
            QVERIFY2(
                messages[0].startsWith(QStringLiteral("The file \"") + path + QStringLiteral("\" was not opened:\n")),
                qPrintable(messages[0]));
            if (!damage.reason.isEmpty())
                QVERIFY2(messages[0].endsWith(damage.reason), qPrintable(messages[0]));
            // The open project stays as it was, its unsaved title included.
            QCOMPARE(form.Project().FileName, example.toStdString());
            QCOMPARE(form.windowTitle(), caption);
            QCOMPARE(form.Project().Title, std::string("Typed, not saved"));
            QVERIFY(form.Project().Changed());
            QCOMPARE(form.Tables().D2.RowCount(), 3);
            QCOMPARE(form.Project().PileLength, 600.0L);
            QCOMPARE(form.Settings().RecentFiles[0], example);
            QCOMPARE(form.Settings().RecentCount(), 1);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), damage.content);
        }

        // Saving writes the open project to its own file.
        Choose(form, QStringLiteral("&File"), QStringLiteral("&Save"));
        QFile saved(example);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().startsWith("Typed, not saved\n"));

        // At start-up a damaged file leaves a new project, with the message.
        FForm.reset();
        FPrompts->Asked.clear();
        FForm = std::make_unique<TMainForm>(QStringList{FFolder->filePath(QStringLiteral("word.kv3d"))});
        FForm->show();
        QCOMPARE(FForm->Project().FileName, TProgramData::DefaultFileName);
        QCOMPARE(FForm->windowTitle(), QStringLiteral("KORVEN 2014.3.3 - NewKORVEN.kv3d[*]"));
        QCOMPARE(FForm->Tables().D2.RowCount(), 1);
        QCOMPARE(FPrompts->Messages().size(), 1);
    }

    void aRefusedRunSaysWhy()
    {
        TMainForm& form = *FForm;
        OpenProject(Copy("example.kv3d", QStringLiteral("deep.kv3d")));
        // A pile longer than the layers reach.
        Choose(form, QStringLiteral("&Data"), QStringLiteral("&Pile Properties"));
        auto* material = qobject_cast<TfrmMaterial*>(form.Area().activeSubWindow()->widget());
        QVERIFY(material);
        material->DataPL->setFocus();
        material->DataPL->selectAll();
        QTest::keyClicks(material->DataPL, QStringLiteral("900"));
        const QPointer<TfrmMaterial> kept(material);
        Choose(form, QStringLiteral("&Computation"), QStringLiteral("&Run Analysis"));
        const QString completed =
            QStringLiteral("Computations are completed. Please, check output file for results or error messages.");
        // One warning, and the windows stay for the correction.
        QCOMPARE(FPrompts->Messages(),
                 QStringList{QStringLiteral("The analysis was not completed.\nThe engine returned status 14: the "
                                            "pile tip lies below the bottom of every soil layer. The output file "
                                            "holds the details.")});
        QCOMPARE(FPrompts->Asked.back().Icon, PromptIcon::Warning);
        QVERIFY(kept && kept->isVisible());

        // A run the engine completes says only that.
        FPrompts->Asked.clear();
        // The correction goes into the window that stayed open.
        kept->DataPL->setFocus();
        kept->DataPL->selectAll();
        QTest::keyClicks(kept->DataPL, QStringLiteral("600"));
        Choose(form, QStringLiteral("&Computation"), QStringLiteral("&Run Analysis"));
        QCOMPARE(FPrompts->Messages(), QStringList{completed});

        // Every status of the engine has its meaning; an unknown one its number.
        QCOMPARE(EngineStatusText(0), std::string());
        QCOMPARE(EngineStatusText(19),
                 std::string("The engine returned status 19: a Q-w modification factor out of range "
                             "(w-multiplier zero or below, or Q-multiplier below zero). The output file "
                             "holds the details."));
        QCOMPARE(EngineStatusText(10), std::string("The engine returned status 10: names.dat is missing from "
                                                   "the current folder or its first four lines cannot be read."));
        QCOMPARE(EngineStatusText(3), std::string("The engine returned status 3."));
        for (int status : {1, 4, 5, 6, 7, 8, 11, 12, 13, 15, 16, 17, 18})
            QVERIFY2(EngineStatusText(status).size() > 40, qPrintable(QString::number(status)));
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication application(argc, argv);
    TestProjectSwitch test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_project_switch.moc"
