// The main window's side view: its menu item and toolbar button, the open
// flag, and the view following the project edited beside it.

#include "DataDialogs.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "ScriptedPrompts.h"
#include "SideView.h"
#include "TDataEdit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {

const QString Command = QStringLiteral("&View Soil Layer Coordinates");
const QString Button = QStringLiteral("View Soil Profile");

QList<TDlgSideView*> SideViews(TMainForm& form)
{
    QList<TDlgSideView*> views;
    for (QMdiSubWindow* window : form.Area().subWindowList())
        if (auto* view = qobject_cast<TDlgSideView*>(window->widget()))
            views << view;
    return views;
}

TDlgSideView* ActiveSideView(TMainForm& form)
{
    QMdiSubWindow* active = form.Area().activeSubWindow();
    return active == nullptr ? nullptr : qobject_cast<TDlgSideView*>(active->widget());
}

}  // namespace

class TestSideViewCommand : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> FPrompts;
    std::unique_ptr<TMainForm> FForm;

    // Makes another child window the active one: the title window.
    void ActivateTitleWindow()
    {
        Action(*FForm, QStringLiteral("&Title"))->trigger();
        QVERIFY(qobject_cast<TdlgTitle*>(FForm->Area().activeSubWindow()->widget()) != nullptr);
    }

private slots:
    void init()
    {
        QSettings(QStringLiteral("Drumel"), QStringLiteral("KORVEN")).clear();
        QDir::setCurrent(QDir::tempPath());
        FPrompts = std::make_unique<ScriptedPrompts>();
        FForm = std::make_unique<TMainForm>();
        FForm->show();
    }

    void cleanup()
    {
        FForm.reset();
        FPrompts.reset();
    }

    void commandAndButtonTakeTheirPlaces()
    {
        QToolBar* tools = FForm->findChild<QToolBar*>(QStringLiteral("Tools"));
        QVERIFY(tools != nullptr);
        QStringList buttons;
        for (QAction* action : tools->actions())
            if (!action->isSeparator())
                buttons << action->text();
        const QStringList expected = {
            "New File",
            "Open File",
            "Save File",
            "Run Analysis",
            "Soil-Layer Data",
            "Edit Output Text",
            "View Soil Profile",
            "View Load Distribution Plot",
            "View Load vs Settlement",
            "View t-z Curves",
            "View Q-w Curve",
        };
        QCOMPARE(buttons, expected);
        QVERIFY(Action(*FForm, Button)->isEnabled());

        QMenu* computation = Menu(*FForm, QStringLiteral("&Computation"));
        QStringList items;
        for (QAction* action : computation->actions())
            if (!action->isSeparator())
                items << action->text();
        const qsizetype at = items.indexOf(Command);
        QVERIFY(at > 0);
        QCOMPARE(items[at - 1], QStringLiteral("Edit &Output Text"));
        emit computation->aboutToShow();
        QVERIFY(Action(*FForm, Command)->isEnabled());
    }

    void openFlagRule()
    {
        TMainForm& form = *FForm;
        Action(form, Command)->trigger();
        QCOMPARE(SideViews(form).size(), 1);
        TDlgSideView* view = ActiveSideView(form);
        QVERIFY(view != nullptr);
        QVERIFY(view->isVisible());
        QCOMPARE(view->windowTitle(), QStringLiteral("Elevation View"));

        // Open: to the front, no second one, by the menu and by the button.
        ActivateTitleWindow();
        Action(form, Command)->trigger();
        QCOMPARE(ActiveSideView(form), view);
        ActivateTitleWindow();
        Action(form, Button)->trigger();
        QCOMPARE(ActiveSideView(form), view);
        QCOMPARE(SideViews(form).size(), 1);

        // The choice of curve source alone changes nothing: the code is the
        // one last saved or read.
        Action(form, QStringLiteral("Entered by the user"))->trigger();
        ActivateTitleWindow();
        Action(form, Button)->trigger();
        QCOMPARE(ActiveSideView(form), view);

        // With user-entered curves saved (Save As closes every child
        // window), an open view stays behind.
        QTemporaryDir folder;
        FPrompts->Files = {{folder.filePath(QStringLiteral("user.kv3d")), 0}};
        Action(form, QStringLiteral("Save &As..."))->trigger();
        QCOMPARE(form.Project().SavedCurveSource, CurveSource::UserEntered);
        QVERIFY(SideViews(form).isEmpty());
        // The flag is clear at once, before the window is deleted.
        Action(form, Command)->trigger();
        view = ActiveSideView(form);
        QVERIFY(view != nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the closed title window
        ActivateTitleWindow();
        Action(form, Command)->trigger();
        Action(form, Button)->trigger();
        QVERIFY(ActiveSideView(form) == nullptr);
        QCOMPARE(SideViews(form).size(), 1);

        // Closed, the flag is clear: the command makes a new one.
        QPointer<TDlgSideView> closed = view;
        view->SubWindow()->close();
        QTRY_VERIFY(closed.isNull());
        QVERIFY(SideViews(form).isEmpty());
        Action(form, Command)->trigger();
        QCOMPARE(SideViews(form).size(), 1);
        QVERIFY(ActiveSideView(form) != nullptr);
    }

    void viewFollowsTheSoilLayerTableBesideIt()
    {
        TMainForm& form = *FForm;
        form.Project().PileLength = 40;
        form.Project().OuterDiameter = 2;
        Action(form, Command)->trigger();
        TDlgSideView* view = ActiveSideView(form);
        QVERIFY(view != nullptr);
        emit Menu(form, QStringLiteral("&Data"))->aboutToShow();
        Action(form, QStringLiteral("Soil &Layers"))->trigger();
        auto* grid = form.Area().activeSubWindow()->findChild<QTableView*>(QStringLiteral("Grid"));
        QVERIFY(grid != nullptr);

        // A bottom typed into the table shows while the table stays active.
        const QModelIndex bottom = grid->model()->index(0, LayerBottomColumn);
        grid->setFocus();
        grid->setCurrentIndex(bottom);
        grid->edit(bottom);
        QWidget* editor = grid->indexWidget(bottom);
        QVERIFY(editor != nullptr);
        QTest::keyClicks(editor, QStringLiteral("55"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(form.Tables().D2.GetData(LayerBottomColumn, 0).AsFloat(), 55.0L);
        QTRY_VERIFY(view->Geometry().BaseExtent().YMax == 55 * 1.05L);
        QVERIFY(grid->window() == &form && grid->isVisible());
        QCOMPARE(ActiveSideView(form), nullptr);
    }

    void viewFollowsThePileProperties()
    {
        TMainForm& form = *FForm;
        form.Tables().D2.GetData(LayerBottomColumn, 0).SetFloat(50);
        form.Project().PileLength = 40;
        form.Project().OuterDiameter = 2;
        Action(form, Command)->trigger();
        TDlgSideView* view = ActiveSideView(form);
        QVERIFY(view != nullptr);
        QVERIFY(!view->Geometry().ViewBroken());
        QVERIFY(view->Geometry().BaseExtent().YMax == 50 * 1.05L);

        // A length typed into the pile properties shows once that window is
        // left for another one, without going to the view.
        Action(form, QStringLiteral("&Pile Properties"))->trigger();
        auto* material = qobject_cast<TfrmMaterial*>(form.Area().activeSubWindow()->widget());
        QVERIFY(material != nullptr);
        material->DataPL->setFocus();
        material->DataPL->selectAll();
        QTest::keyClicks(material->DataPL, QStringLiteral("60"));
        ActivateTitleWindow();
        QTRY_VERIFY(view->Geometry().BaseExtent().YMax == 60 * 1.05L);

        // A switch of units and a new project show at once.
        Action(form, QStringLiteral("&S.I. Units (kN, m)"))->trigger();
        QVERIFY(qAbs(double(view->Geometry().Data().PileLength) - 1.524) < 1e-9);
        FPrompts->Answers = {Answer::No};
        Action(form, QStringLiteral("&New"))->trigger();
        QCOMPARE(SideViews(form).size(), 1);
        QVERIFY(view->Geometry().Data().PileLength == 0);
        QVERIFY(view->Geometry().ViewBroken());  // nothing has a size yet
    }
};

int main(int argc, char** argv)
{
    // Settings go to a folder of this test run only.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication application(argc, argv);
    TestSideViewCommand test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_side_view_command.moc"
