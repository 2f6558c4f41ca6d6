// Tests of the main window and the analysis run, without a display: menu
// states, option switches, the close query, recent files, captions, saving
// and reopening, and runs with the real engine library.

#include "DataDialogs.h"
#include "EngineRun.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "ScriptedPrompts.h"
#include "TDataEdit.h"
#include "TableChartForm.h"
#include "TableForm.h"
#include "TableGrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <clocale>
#include <memory>

namespace {

const QString NewCaption = QStringLiteral("KORVEN 2014.3.3 - NewKORVEN.kv3d");
const QString CompletedMessage =
    QStringLiteral("Computations are completed. Please, check output file for results or error messages.");

QString ExampleProject() { return QStringLiteral(KORVEN_EXAMPLES "/example.kv3d"); }

QString ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Texts of the recent items the File menu shows.
QStringList RecentItems(TMainForm& form)
{
    Popup(form, QStringLiteral("&File"));
    QStringList items;
    const QList<QAction*> actions = Menu(form, QStringLiteral("&File"))->actions();
    for (QAction* action : actions)
        if (action->isVisible() && !action->isSeparator() && action->text().front().isDigit())
            items << action->text();
    return items;
}

}  // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FFolder;
    std::unique_ptr<TMainForm> FForm;
    std::unique_ptr<ScriptedPrompts> FPrompts;
    std::unique_ptr<RecordingLauncher> FLauncher;

    QString Copy(const QString& name)
    {
        const QString path = FFolder->filePath(name);
        QFile::copy(ExampleProject(), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    void OpenThroughDialog(const QString& path)
    {
        FPrompts->Files.push_back({path, 0});
        Trigger(*FForm, QStringLiteral("&Open..."));
    }

    // Opens a table window through the Data menu.
    void OpenTableWindow(const QString& item = QStringLiteral("Soil &Layers"))
    {
        Popup(*FForm, QStringLiteral("&Data"));
        Trigger(*FForm, item);
        QCOMPARE(FForm->Area().subWindowList().size(), 1);
    }

private slots:
    void init()
    {
        QSettings(QStringLiteral("Drumel"), QStringLiteral("KORVEN")).clear();
        FFolder = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(QDir::tempPath());
        FPrompts = std::make_unique<ScriptedPrompts>();
        FLauncher = std::make_unique<RecordingLauncher>();
        FForm = std::make_unique<TMainForm>();
        FForm->show();
    }

    void cleanup()
    {
        FForm.reset();
        FLauncher.reset();
        FPrompts.reset();
        FFolder.reset();
    }

    void dataMenuFollowsTheCurveSourceAndSwitches()
    {
        TMainForm& form = *FForm;
        QCOMPARE(form.windowTitle(), NewCaption);
        Popup(form, QStringLiteral("&Data"));
        QVERIFY(Action(form, QStringLiteral("Soil &Layers"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("Enter t-&z Curves"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("Enter Q-&w Curve"))->isEnabled());
        QVERIFY(Action(form, QStringLiteral("Enter Tip &Movements"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("Enter Loads at Pile &Head"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("Enter Soil-&Settlement Data (for Downdrag)"))->isEnabled());
        QVERIFY(Action(form, QStringLiteral("Soil-Layer Data"))->isEnabled());

        Trigger(form, QStringLiteral("Entered by the user"));
        Trigger(form, QStringLiteral("Assign &Loads at Pile Head"));
        Trigger(form, QStringLiteral("Include &Down-Drag (negative Skin Friction)"));
        Trigger(form, QStringLiteral("Apply Modification Factors on Q-w Curve"));
        Popup(form, QStringLiteral("&Data"));
        QVERIFY(!Action(form, QStringLiteral("Soil &Layers"))->isEnabled());
        QVERIFY(Action(form, QStringLiteral("Enter t-&z Curves"))->isEnabled());
        QVERIFY(Action(form, QStringLiteral("Enter Q-&w Curve"))->isEnabled());
        QVERIFY(Action(form, QStringLiteral("Enter Loads at Pile &Head"))->isEnabled());
        QVERIFY(Action(form, QStringLiteral("Enter Soil-&Settlement Data (for Downdrag)"))->isEnabled());
        QVERIFY(Action(form, QStringLiteral("Enter Modification Factors on Q-w Curve"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("Enter Modification Factors on t-z Curves"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("Soil-Layer Data"))->isEnabled());

        Popup(form, QStringLiteral("&Options"));
        QVERIFY(Action(form, QStringLiteral("Entered by the user"))->isChecked());
        QVERIFY(!Action(form, QStringLiteral("Generated by the program"))->isChecked());
        QVERIFY(Action(form, QStringLiteral("Specify &Tip Movements"))->isChecked());
        QVERIFY(Action(form, QStringLiteral("Assign &Loads at Pile Head"))->isChecked());
        QVERIFY(Action(form, QStringLiteral("Include &Down-Drag (negative Skin Friction)"))->isChecked());
        QVERIFY(!Action(form, QStringLiteral("Apply Modification Factors on t-z Curves"))->isChecked());
        QVERIFY(Action(form, QStringLiteral("&English Units (lb, in)"))->isChecked());
        // Switches and the curve source leave the project unchanged.
        QVERIFY(!form.Project().Changed());

        Trigger(form, QStringLiteral("&S.I. Units (kN, m)"));
        Popup(form, QStringLiteral("&Options"));
        QCOMPARE(form.Project().Units(), 2);
        QVERIFY(Action(form, QStringLiteral("&S.I. Units (kN, m)"))->isChecked());
        QVERIFY(!Action(form, QStringLiteral("&English Units (lb, in)"))->isChecked());
    }

    void closeQueryAnswers()
    {
        TMainForm& form = *FForm;
        form.Project().Title = "Changed";
        form.Project().SetChanged(true);

        FPrompts->Answers = {Answer::Cancel};
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(form.Project().Title, std::string("Changed"));
        QCOMPARE(FPrompts->Asked.back().Text, QStringLiteral("Do you want to save any changes?"));

        // Yes with a cancelled Save As stops the command too.
        FPrompts->Answers = {Answer::Yes};
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(form.Project().Title, std::string("Changed"));
        QCOMPARE(FPrompts->Asked.back().What, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(FPrompts->Asked.back().Text, QStringLiteral("Save NewKORVEN.kv3d As"));

        FPrompts->Answers = {Answer::No};
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(form.Project().Title, std::string("New Pile"));

        const QString saved = FFolder->filePath(QStringLiteral("saved.kv3d"));
        form.Project().Title = "Kept";
        form.Project().SetChanged(true);
        FPrompts->Answers = {Answer::Yes};
        FPrompts->Files = {{saved, 0}};
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(form.Project().Title, std::string("New Pile"));
        QVERIFY(ReadAll(saved).startsWith(QStringLiteral("Kept\n")));

        // Unchanged: no question.
        const size_t asked = FPrompts->Asked.size();
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(FPrompts->Asked.size(), asked);
    }

    void closeQueryOfAnOlderFormatProject()
    {
        // A cancelled Save As of a *.kvd project keeps the program open.
        const QString old = FFolder->filePath(QStringLiteral("old.kvd"));
        QFile::copy(ExampleProject(), old);
        FPrompts->Files = {{old, 1}};
        Trigger(*FForm, QStringLiteral("&Open..."));
        QCOMPARE(FForm->Project().FileName, old.toStdString());
        FForm->Project().SetChanged(true);
        FPrompts->Answers = {Answer::Yes};
        QVERIFY(!FForm->close());
        QCOMPARE(FPrompts->Asked.back().What, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(FPrompts->Asked.back().Request.FileName, FFolder->filePath(QStringLiteral("old.kv3d")));
        QVERIFY(FForm->isVisible());
    }

    void saveAsClosesChildWindowsAndKeepsRecentList()
    {
        TMainForm& form = *FForm;
        OpenTableWindow();
        Trigger(form, QStringLiteral("Save &As..."));  // cancelled
        QVERIFY(form.Area().subWindowList().isEmpty());
        QCOMPARE(form.windowTitle(), NewCaption);

        const QString path = FFolder->filePath(QStringLiteral("x.kv3"));
        FPrompts->Files = {{path, 0}};
        Trigger(form, QStringLiteral("Save &As..."));
        QCOMPARE(form.windowTitle(), QStringLiteral("KORVEN 2014.3.3 - X"));
        QVERIFY(QFile::exists(path));
        QVERIFY(RecentItems(form).isEmpty());
        OpenThroughDialog(path);
        QCOMPARE(RecentItems(form), QStringList{QStringLiteral("1 x.kv3")});
    }

    void recentFiles()
    {
        TMainForm& form = *FForm;
        QStringList paths;
        for (int i = 0; i < 11; ++i)
            paths << Copy(QStringLiteral("p%1.kv3d").arg(i));
        OpenThroughDialog(paths[0]);
        OpenThroughDialog(paths[0]);
        QCOMPARE(form.windowTitle(), QStringLiteral("KORVEN 2014.3.3 - P0.kv3d"));
        // The current folder is the project's: entries inside it show relative.
        QCOMPARE(RecentItems(form), QStringList{QStringLiteral("1 p0.kv3d")});
        for (int i = 1; i < 11; ++i)
            OpenThroughDialog(paths[i]);
        QStringList items = RecentItems(form);
        QCOMPARE(items.size(), 10);
        QCOMPARE(items.front(), QStringLiteral("1 p10.kv3d"));
        QCOMPARE(items.back(), QStringLiteral("10 p1.kv3d"));
        // Reopening an entry moves it to the front and leaves the others in order.
        OpenThroughDialog(paths[5]);
        items = RecentItems(form);
        QCOMPARE(items.mid(0, 3),
                 (QStringList{QStringLiteral("1 p5.kv3d"), QStringLiteral("2 p10.kv3d"), QStringLiteral("3 p9.kv3d")}));
        QCOMPARE(items.back(), QStringLiteral("10 p1.kv3d"));

        // A recent item opens its file; outside the current folder it shows whole.
        QDir::setCurrent(QDir::rootPath());
        QCOMPARE(RecentItems(form).at(2), QStringLiteral("3 ") + paths[9]);
        Trigger(form, RecentItems(form).at(2));
        QCOMPARE(form.Project().FileName, paths[9].toStdString());
        QCOMPARE(QDir::currentPath(), FFolder->path());

        // The list is kept for the next start.
        FForm.reset();
        FForm = std::make_unique<TMainForm>();
        FForm->show();
        QCOMPARE(RecentItems(*FForm).front(), QStringLiteral("1 p9.kv3d"));
        QCOMPARE(FForm->Settings().EditorPath, kDefaultTextEditor);
    }

    void droppedFiles()
    {
        const QString first = Copy(QStringLiteral("first.kv3d"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(Copy(QStringLiteral("second.kv3d")))});
        // Dropped on a field of a data window, which would take text.
        Trigger(*FForm, QStringLiteral("&Title"));
        QWidget* field = qobject_cast<TdlgTitle*>(FForm->Area().activeSubWindow()->widget())->edtTitle;
        const auto drop = [&] {
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field, &event);
        };
        FForm->Project().SetChanged(true);
        FPrompts->Answers = {Answer::Cancel};
        drop();
        QCOMPARE(FPrompts->Asked.size(), size_t(1));
        QCOMPARE(FForm->Project().FileName, TProgramData::DefaultFileName);
        FPrompts->Answers = {Answer::No};
        drop();
        QCOMPARE(FForm->Project().FileName, first.toStdString());
        QCOMPARE(RecentItems(*FForm), QStringList{QStringLiteral("1 first.kv3d")});
    }

    void unreadableSettingsClearEditorAndList()
    {
        QSettings settings(QStringLiteral("Drumel"), QStringLiteral("KORVEN"));
        settings.beginGroup(QStringLiteral("2014.3.3"));
        settings.setValue(QStringLiteral("Word Processor"), QStringLiteral("/usr/bin/editor"));
        settings.setValue(QStringLiteral("File1"), QStringLiteral("/a.kv3d"));
        settings.setValue(QStringLiteral("File2"), QStringList{QStringLiteral("b"), QStringLiteral("c")});
        settings.sync();
        TProgramSettings read;
        read.EditorPath = kDefaultTextEditor;
        read.Read();
        QVERIFY(read.EditorPath.isEmpty());
        QCOMPARE(read.RecentCount(), 0);

        settings.remove(QStringLiteral("File2"));
        settings.setValue(QStringLiteral("File3"), QStringLiteral("/c.kv3d"));
        settings.sync();
        read.Read();
        QCOMPARE(read.EditorPath, QStringLiteral("/usr/bin/editor"));
        QCOMPARE(read.RecentCount(), 2);
        QCOMPARE(read.RecentFiles[1], QStringLiteral("/c.kv3d"));
    }

    void editedThroughWindowsSavedAndReopened()
    {
        TMainForm& form = *FForm;
        OpenThroughDialog(Copy(QStringLiteral("edit.kv3d")));
        const QString original = ReadAll(FForm->ProjectFilePath(".kv3d"));
        OpenTableWindow(QStringLiteral("Enter Loads at Pile &Head"));
        auto* table = qobject_cast<TTableFormBase*>(form.Area().subWindowList().front()->widget());
        QVERIFY(table != nullptr);
        form.Area().setActiveSubWindow(form.Area().subWindowList().front());
        table->Grid->setCurrentCell(1, 0);
        table->Grid->edit(table->Grid->currentIndex());
        auto* editor = qobject_cast<QLineEdit*>(table->Grid->indexWidget(table->Grid->currentIndex()));
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("0.5*3"));
        Trigger(form, QStringLiteral("Include &Down-Drag (negative Skin Friction)"));
        // The command took the typed value first.
        QCOMPARE(form.Tables().TblTopload.GetData(0, 1).AsString(), std::string("1.5"));
        QVERIFY(form.Project().Changed());
        Trigger(form, QStringLiteral("&Save"));
        QVERIFY(!form.Project().Changed());
        const QString path = FForm->ProjectFilePath(".kv3d");
        const QString saved = ReadAll(path);
        QVERIFY(saved != original);

        // Saved, with the table window still open: New asks nothing.
        Trigger(form, QStringLiteral("&New"));
        QVERIFY(FForm->ProjectFilePath(".kv3d") != path);
        OpenThroughDialog(path);
        QCOMPARE(form.Tables().TblTopload.GetData(0, 1).AsString(), std::string("1.5"));
        Popup(form, QStringLiteral("&Options"));
        QVERIFY(Action(form, QStringLiteral("Include &Down-Drag (negative Skin Friction)"))->isChecked());
        Trigger(form, QStringLiteral("&Save"));
        QCOMPARE(ReadAll(path), saved);
    }

    void dataWindows()
    {
        TMainForm& form = *FForm;
        Trigger(form, QStringLiteral("&Pile Properties"));
        Trigger(form, QStringLiteral("Apply Modification Factors on Q-w Curve"));
        Popup(form, QStringLiteral("&Data"));
        Trigger(form, QStringLiteral("Enter Modification Factors on Q-w Curve"));
        QCOMPARE(form.Area().subWindowList().size(), 2);
        // An open window comes to the front; there is no second one.
        Trigger(form, QStringLiteral("&Pile Properties"));
        QCOMPARE(form.Area().subWindowList().size(), 2);
        auto* material = qobject_cast<TfrmMaterial*>(form.Area().activeSubWindow()->widget());
        QVERIFY(material != nullptr);

        // What was typed reaches the project before the command.
        material->DataPL->setFocus();
        material->DataPL->setText(QStringLiteral("40*12"));
        Trigger(form, QStringLiteral("&S.I. Units (kN, m)"));
        QVERIFY(qAbs(double(form.Project().PileLength) - 12.192) < 1e-9);
        QVERIFY(material->DataPL->LabelText().endsWith(QStringLiteral("(m)")));

        // Open windows stay open over a new project and show its values.
        FPrompts->Answers = {Answer::No};
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(form.Area().subWindowList().size(), 2);
        QCOMPARE(material->DataPL->Number(), 0.0L);

        Trigger(form, QStringLiteral("Selection of Text &Editor ..."));
        auto* options = qobject_cast<TDlgOptions*>(form.Area().activeSubWindow()->widget());
        QVERIFY(options != nullptr);
        options->edtEditor->setFocus();
        options->edtEditor->setText(QStringLiteral("/usr/bin/mousepad"));
        QFile report(QDir(FFolder->path()).absoluteFilePath(QStringLiteral("NewKORVEN.kv3o")));
        QVERIFY(report.open(QIODevice::WriteOnly));
        QDir::setCurrent(FFolder->path());
        Trigger(form, QStringLiteral("Edit Output Text"));
        QCOMPARE(FLauncher->Started.size(), size_t(1));
        QCOMPARE(FLauncher->Started.back().Program, QStringLiteral("/usr/bin/mousepad"));
    }

    void chartTablesOpenInTheChartWindow()
    {
        TMainForm& form = *FForm;
        // The depths of the t-z curves, then a curve from its row button.
        Trigger(form, QStringLiteral("Entered by the user"));
        OpenTableWindow(QStringLiteral("Enter t-&z Curves"));
        auto* depths = dynamic_cast<TTableChartForm*>(form.Area().subWindowList().front()->widget());
        QVERIFY(depths != nullptr);
        QVERIFY(depths->Chart().Widget()->isHidden());
        const std::vector<QWidget*> buttons = depths->RowControls(1);
        QVERIFY(!buttons.empty());
        qobject_cast<QPushButton*>(buttons.front())->click();
        QCOMPARE(form.Area().subWindowList().size(), 2);
        TGridTableChart* curve = form.Tables().TblTZDepth2.GetData(1, 0).AsTable();
        QVERIFY(curve != nullptr);
        auto* window = dynamic_cast<TTableChartForm*>(TableForm(*curve));
        QVERIFY(window != nullptr);
        QVERIFY(window->Chart().Widget()->isVisible());

        // Two columns pasted from a spreadsheet, drawn at once.
        window->Grid->setFocus();
        window->Grid->setCurrentCell(0, 0);
        QGuiApplication::clipboard()->setText(QStringLiteral("0\t0\r\n1.5\t0.1\r\n3\t0.3\r\n"));
        QWidget* editor = window->Grid->indexWidget(window->Grid->currentIndex());
        QTest::keyClick(editor ? editor : window->Grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(curve->RowCount(), 3);
        QCOMPARE(window->Chart().Series(0).Points(), (std::vector<TChartPoint>{{0, 0}, {0.1, 1.5}, {0.3, 3}}));

        // View/Edit File starts the text editor the user chose.
        Trigger(form, QStringLiteral("Selection of Text &Editor ..."));
        auto* options = qobject_cast<TDlgOptions*>(form.Area().activeSubWindow()->widget());
        QVERIFY(options != nullptr);
        options->edtEditor->setFocus();
        options->edtEditor->setText(QStringLiteral("/usr/bin/mousepad"));
        Popup(form, QStringLiteral("&Data"));
        Trigger(form, QStringLiteral("Enter Q-&w Curve"));
        auto* qw = dynamic_cast<TTableChartForm*>(TableForm(form.Tables().TblQwcurve2));
        QVERIFY(qw != nullptr);
        qw->FileNameEdit->setText(ExampleProject());
        qw->BtnEdit->click();
        QCOMPARE(FLauncher->Started.back().Program, QStringLiteral("/usr/bin/mousepad"));
        QCOMPARE(FLauncher->Started.back().Arguments, QStringList{ExampleProject()});
    }

    void textEditor()
    {
        TMainForm& form = *FForm;
        OpenThroughDialog(Copy(QStringLiteral("text.kv3d")));
        Popup(form, QStringLiteral("&Computation"));
        QVERIFY(Action(form, QStringLiteral("Edit &Input Text"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("Edit &Output Text"))->isEnabled());
        QVERIFY(!Action(form, QStringLiteral("Edit &Processor-Run Notes"))->isEnabled());
        // Before a run there is no report: the toolbar button, always
        // enabled, says how to make it instead of starting the editor on
        // nothing.
        Trigger(form, QStringLiteral("Edit Output Text"));
        QVERIFY(FLauncher->Started.empty());
        const QString report = FFolder->filePath(QStringLiteral("text.kv3o"));
        QCOMPARE(FPrompts->Messages(),
                 QStringList{QStringLiteral("The file \"") + report +
                             QStringLiteral("\" does not exist yet. Run the analysis (Computation, Run Analysis) "
                                            "to make it.")});
        QFile(report).open(QIODevice::WriteOnly);
        Trigger(form, QStringLiteral("Edit Output Text"));
        QCOMPARE(FLauncher->Started.size(), size_t(1));
        QCOMPARE(FLauncher->Started[0].Program, kDefaultTextEditor);
        QCOMPARE(FLauncher->Started[0].Arguments, QStringList{report});
        FLauncher->Succeeds = false;
        Trigger(form, QStringLiteral("Edit &Input Text"));
        QCOMPARE(FPrompts->Messages().mid(1),
                 QStringList{QStringLiteral("An error occurred in running the Word Processor")});
    }

    void runEndToEnd()
    {
        TMainForm& form = *FForm;
        const QString project = Copy(QStringLiteral("run me.kv3d"));
        OpenThroughDialog(project);
        Popup(form, QStringLiteral("&Graphics"));
        QVERIFY(!Action(form, QStringLiteral("Load &Distribution"))->isEnabled());
        OpenTableWindow();
        std::setlocale(LC_NUMERIC, "C.UTF-8");
        const std::string before = std::setlocale(LC_NUMERIC, nullptr);

        Trigger(form, QStringLiteral("Run Analysis"));
        QCOMPARE(FPrompts->Messages(), QStringList{CompletedMessage});
        QVERIFY(QFile::exists(FFolder->filePath(QStringLiteral("run me.kv3o"))));
        QVERIFY(QFile::exists(FFolder->filePath(QStringLiteral("run me.kv3p"))));
        QVERIFY(QFile::exists(FFolder->filePath(QStringLiteral("run me.kv3r"))));
        QVERIFY(ReadAll(FFolder->filePath(QStringLiteral("run me.kv3o"))).contains(QStringLiteral("run me.kv3d")));
        QVERIFY(form.Area().subWindowList().isEmpty());
        QCOMPARE(QDir::currentPath(), FFolder->path());
        QVERIFY(!QFile::exists(QStringLiteral("names.dat")));
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/names.dat")));
        QCOMPARE(std::string(std::setlocale(LC_NUMERIC, nullptr)), before);

        Popup(form, QStringLiteral("&Graphics"));
        for (const char* item : {"Load &Distribution", "&Axial Load vs Settlement", "t-&z Curves (side friction)",
                                 "Q-&w Curve (tip resistance)"})
            QVERIFY2(Action(form, QString::fromLatin1(item))->isEnabled(), item);
        for (const char* button :
             {"View Load Distribution Plot", "View Load vs Settlement", "View t-z Curves", "View Q-w Curve"})
            QVERIFY2(Action(form, QString::fromLatin1(button))->isEnabled(), button);
        Trigger(form, QStringLiteral("View Load vs Settlement"));
        QCOMPARE(form.Area().subWindowList().size(), 1);
        // The Window menu lists the plot window by its caption.
        Popup(form, QStringLiteral("&Window"));
        const QList<QAction*> items = Menu(form, QStringLiteral("&Window"))->actions();
        QCOMPARE(items.size(), 4);
        QVERIFY(items[2]->isSeparator() && items[2]->isVisible());
        QCOMPARE(items[3]->text(), form.Area().subWindowList().front()->windowTitle());

        // A second run loads the library afresh and gives the same report.
        const QString report = ReadAll(FFolder->filePath(QStringLiteral("run me.kv3o")));
        Trigger(form, QStringLiteral("&Run Analysis"));
        QCOMPARE(FPrompts->Messages().size(), 2);
        QVERIFY(form.Area().subWindowList().isEmpty());
        // The report differs only in the time and date of the analysis (line 20).
        const auto withoutDate = [](const QString& text) { return text.section(QStringLiteral("\n"), 20); };
        QCOMPARE(withoutDate(ReadAll(FFolder->filePath(QStringLiteral("run me.kv3o")))), withoutDate(report));
        std::setlocale(LC_NUMERIC, "C");

        // A later start with the project (".kv3d" taken as understood) reads
        // its plot data silently and leaves the recent files alone.
        FForm.reset();
        FForm = std::make_unique<TMainForm>(QStringList{FFolder->filePath(QStringLiteral("run me"))});
        FForm->show();
        QCOMPARE(FForm->windowTitle(), QStringLiteral("KORVEN 2014.3.3 - Run me.kv3d"));
        QCOMPARE(RecentItems(*FForm), QStringList{QStringLiteral("1 run me.kv3d")});
        Popup(*FForm, QStringLiteral("&Graphics"));
        QVERIFY(Action(*FForm, QStringLiteral("Load &Distribution"))->isEnabled());
        QVERIFY(Action(*FForm, QStringLiteral("View Q-w Curve"))->isEnabled());
        QCOMPARE(FPrompts->Messages().size(), 2);
    }

    void exportPlotsAfterARun()
    {
        TMainForm& form = *FForm;
        OpenThroughDialog(Copy(QStringLiteral("export me.kv3d")));
        Popup(form, QStringLiteral("&Graphics"));
        QVERIFY(!Action(form, QStringLiteral("Export Plots to Excel"))->isEnabled());
        Trigger(form, QStringLiteral("&Run Analysis"));
        Popup(form, QStringLiteral("&Graphics"));
        QVERIFY(Action(form, QStringLiteral("Export Plots to Excel"))->isEnabled());

        // The dialog is modal: it is worked while it runs.
        const QString workbook = FFolder->filePath(QStringLiteral("export me.xlsx"));
        FPrompts->Files.push_back({workbook, 0});
        QStringList offered;
        QTimer::singleShot(0, &form, [&offered] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr)
                return;
            auto* list = dialog->findChild<QListWidget*>(QStringLiteral("CheckListBoxPlots"));
            for (int i = 0; list != nullptr && i < list->count(); ++i)
                if (list->item(i)->checkState() == Qt::Checked)
                    offered << list->item(i)->text();
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button3")), Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button4")), Qt::LeftButton);
        });
        Trigger(form, QStringLiteral("Export Plots to Excel"));
        QCOMPARE(offered,
                 (QStringList{"Load Distribution", "Axial Load vs Settlement", "t-z Curves", "Tip Resistance Curve"}));
        QCOMPARE(FPrompts->Asked.back().What, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(FPrompts->Asked.back().Request.FileName, workbook);
        QVERIFY(QFileInfo(workbook).size() > 0);
        QCOMPARE(FLauncher->Started.back().Arguments, QStringList{workbook});
        QCOMPARE(FPrompts->Messages(), QStringList{CompletedMessage});
    }

    void captionIsTheProgramsOwn()
    {
        const QString name = QCoreApplication::applicationName();
        TMainForm::SetUpApplication();
        // A display name would be appended to every window's caption; without
        // one the display name is the application's name, whatever that is.
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
        QCoreApplication::setApplicationName(name);
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("korven"));
        QCOMPARE(FForm->windowTitle(), NewCaption);
        // Message boxes carry the application's title.
        QCOMPARE(MessageTitle(), TMainForm::ApplicationTitle);
    }

    void helpDocumentsBesideTheProgram()
    {
        // The build puts the help documents beside the programs, this test's
        // included; each command opens its own with the default handler.
        const QDir folder(QCoreApplication::applicationDirPath());
        const QStringList names{QStringLiteral("korven-index.html"), QStringLiteral("korven-users-guide.html"),
                                QStringLiteral("korven-technical-notes.html")};
        for (const QString& name : names)
            if (!QFileInfo::exists(folder.filePath(name)))
                QSKIP("the help documents were not built (no pandoc)");
        for (const char* item : {"&Contents", "User's Manual", "Technical Manual"})
            Trigger(*FForm, QLatin1String(item));
        QVERIFY(FPrompts->Messages().isEmpty());
        QCOMPARE(FLauncher->Started.size(), std::size_t(3));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(FLauncher->Started[i].Program.isEmpty());
            QCOMPARE(FLauncher->Started[i].Arguments, QStringList{folder.filePath(names[i])});
        }
    }

    void runOfANeverSavedProjectNeedsAName()
    {
        Trigger(*FForm, QStringLiteral("&Run Analysis"));
        QCOMPARE(FPrompts->Asked.size(), size_t(1));
        QCOMPARE(FPrompts->Asked[0].What, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(FPrompts->Asked[0].Request.DefaultSuffix, QStringLiteral("kv3d"));
        QCOMPARE(FForm->Project().FileName, TProgramData::DefaultFileName);
    }

    void failedSaves()
    {
        TMainForm& form = *FForm;
        const QString nowhere = FFolder->filePath(QStringLiteral("missing/folder/p.kv3d"));
        // A failed save is reported and keeps the changed project.
        form.Project().SetChanged(true);
        FPrompts->Answers = {Answer::Yes};
        FPrompts->Files = {{nowhere, 0}};
        Trigger(form, QStringLiteral("&New"));
        QCOMPARE(FPrompts->Messages().size(), 1);
        QCOMPARE(form.Project().FileName, nowhere.toStdString());
        QVERIFY(form.Project().Changed());

        // A run goes on after a failed save; the engine finds no input file.
        Trigger(form, QStringLiteral("&Run Analysis"));
        QCOMPARE(FPrompts->Messages().mid(1),
                 (QStringList{QStringLiteral("An error occured during saving"),
                              CompletedMessage + QStringLiteral("\nThe engine returned status 11: a file named in "
                                                                "names.dat cannot be opened: the output report, the "
                                                                "input data file, the plot data file or the "
                                                                "run-notes file.")}));
        QCOMPARE(FPrompts->Asked[FPrompts->Asked.size() - 2].Icon, PromptIcon::None);
        QCOMPARE(FPrompts->Asked.back().Icon, PromptIcon::Information);
    }

    void runWithoutTheLibrary()
    {
        OpenThroughDialog(Copy(QStringLiteral("nolib.kv3d")));
        FForm->EngineLibraryPath = FFolder->filePath(QStringLiteral("missing.so"));
        std::setlocale(LC_NUMERIC, "C.UTF-8");
        const std::string before = std::setlocale(LC_NUMERIC, nullptr);
        Trigger(*FForm, QStringLiteral("&Run Analysis"));
        QCOMPARE(FPrompts->Messages(), QStringList{QStringLiteral("Attempt to initialize DLL failed")});
        QCOMPARE(std::string(std::setlocale(LC_NUMERIC, nullptr)), before);
        QVERIFY(!QFile::exists(FFolder->filePath(QStringLiteral("nolib.kv3o"))));
        std::setlocale(LC_NUMERIC, "C");
    }

    void dynamicLibraryErrors()
    {
        TDynamicLibrary library(QStringLiteral(KORVEN_ENGINE).toStdString());
        QVERIFY_THROWS_EXCEPTION(ELibraryError, library.Lookup("_IKORVEN"));
        library.Open();
        library.Open();
        QVERIFY(library.Lookup("_IKORVEN") != nullptr);
        QVERIFY_THROWS_EXCEPTION(ELibraryError, library.Lookup("NoSuchEntry"));
        library.SetFileName("/no/such/library.so");
        QVERIFY(!library.IsOpen());
        QVERIFY_THROWS_EXCEPTION(ELibraryError, library.Open());
    }
};

int main(int argc, char** argv)
{
    // Settings go to a folder of this test run only.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication application(argc, argv);
    TestMainForm test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_form.moc"
