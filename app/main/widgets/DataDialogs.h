#pragma once

// The four small windows that edit the project's scalar values: the title,
// the pile properties, the text editor and the Q-w modification factors.
// Each is a non-modal child window of the main window's MDI area.
//
// How the main window uses them (one "open" pointer per window):
//
//   QPointer<TfrmMaterial> FMaterialWindow;    // null while closed
//   ...
//   if (!FMaterialWindow)
//       FMaterialWindow = new TfrmMaterial(*FArea, [this]() -> TProgramData& { return Project(); });
//   FMaterialWindow->ShowWindow();             // shows it or brings it to the front
//
// A window loads its fields from the project when it becomes the active
// child window and stores them when another child window becomes active.
// StoreFields() (of TProjectChild) is the commit the main window calls on
// the active child before every command: it checks the field being edited
// and, when that is valid, stores every field. When the check fails the
// user has been told, the window is active again and nothing is stored.
//
// Closing (the window's close button, QMdiArea::closeAllSubWindows) runs
// the same commit; a window whose field is invalid stays open. Otherwise it
// emits Closed() and deletes itself together with its sub-window, which
// also clears a QPointer that the main window keeps as its open flag.
//
// The windows show what they loaded until they are next activated. After
// the project was switched to other units (TProgramData::OnUnitsChanged) or
// replaced by New or Open, the main window calls ReloadDataDialogs() so that
// open windows show, and later store, the values of the current project.
//
// A numeric field whose shown text differs from the project's value marks
// the project changed when stored, and so do a changed title, designer and
// date (the last two are kept in the project's extras file); the text editor
// is a program setting and does not.

#include "ProgramData.h"
#include "ProjectChild.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class TDataEdit;

// The current project; the main window replaces it on New and Open, so the
// windows ask for it each time they need it.
using TProjectAccess = std::function<TProgramData&()>;

// Common behaviour of the four windows.
class TDataDialog : public QWidget, public TProjectChild {
    Q_OBJECT

public:
    // Shows the window and makes it the active child window.
    void ShowWindow();
    // The frame of the window inside the MDI area.
    QMdiSubWindow* SubWindow() const { return FSubWindow; }

    // Loads every field from its source (the window's activation).
    virtual void LoadFields() = 0;
    // Checks the field being edited; when valid, stores every field.
    bool StoreFields() final;

signals:
    // The window closed for good; it is deleted next.
    void Closed();

protected:
    // The window lives in `area` with `caption` as its title. Derived
    // constructors build the fields and call LoadFields().
    TDataDialog(QMdiArea& area, const QString& caption);

    // Stores every field; the fields have been checked.
    virtual void StoreValues() = 0;

    void closeEvent(QCloseEvent* event) override;

private:
    // Activation and deactivation: `active` is the area's new active child
    // window, null when the program's window itself lost the focus (which
    // neither loads nor stores).
    void ActiveChildChanged(QMdiSubWindow* active);

    QMdiArea& FArea;
    QMdiSubWindow* FSubWindow;
    // The control that has the focus, or had it when the window was left.
    QPointer<QWidget> FActiveControl;
    // Whether the window counts as the active child window: it loaded its
    // fields and has not stored them for another window yet.
    bool FActive = false;
    bool FChecking = false;
};

// Loads the fields of every data window open in `area` from its source.
void ReloadDataDialogs(QMdiArea& area);

// "Project Title": the title (one line of at most 80 characters), the
// designer's name and the date.
class TdlgTitle : public TDataDialog {
    Q_OBJECT

public:
    TdlgTitle(QMdiArea& area, TProjectAccess project);

    void LoadFields() override;

    QLineEdit* edtTitle;
    QLineEdit* edtDesigner;
    QLineEdit* edtDate;

protected:
    void StoreValues() override;

private:
    TProjectAccess FProject;
};

// "Pile Properties": length, outer diameter, tip area, increments and
// tolerance, and a button that opens the axial stiffness table.
class TfrmMaterial : public TDataDialog {
    Q_OBJECT

public:
    TfrmMaterial(QMdiArea& area, TProjectAccess project);

    // Also sets the unit system of the dimensioned fields' labels.
    void LoadFields() override;

    TDataEdit* DataPL;
    TDataEdit* DataOD;
    TDataEdit* DataArea;
    TDataEdit* DataNI;
    TDataEdit* DataTol;
    // "Edit AE vs. Depth Data": stores the fields, then opens TblAE2.
    QPushButton* btnAE;

protected:
    void StoreValues() override;

private:
    TProjectAccess FProject;
};

// "Control Options": the text editor program, typed or chosen with
// "&Browse...". `editorPath` is the main window's setting, which outlives
// the window.
class TDlgOptions : public TDataDialog {
    Q_OBJECT

public:
    TDlgOptions(QMdiArea& area, QString& editorPath);

    void LoadFields() override;

    QLineEdit* edtEditor;
    // Opens a file dialog preset to the field's text; a chosen file
    // replaces the text.
    QPushButton* btnBrowse;

protected:
    void StoreValues() override;

private:
    QString& FEditorPath;
};

// "Enter Modifications Factors for Tip Resistance": the Q- and w-multipliers
// of the Q-w curve.
class TfrmQwFactors : public TDataDialog {
    Q_OBJECT

public:
    TfrmQwFactors(QMdiArea& area, TProjectAccess project);

    void LoadFields() override;

    TDataEdit* DataQfactor;
    TDataEdit* Datawfactor;

protected:
    void StoreValues() override;

private:
    TProjectAccess FProject;
};
