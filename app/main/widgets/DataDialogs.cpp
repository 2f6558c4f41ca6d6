#include "DataDialogs.h"

#include "TDataEdit.h"
#include "TableWindows.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace {

constexpr int TitleLength = 80;
// Programs are the executable files; the first filter lists only those.
const QString ProgramFilter = QStringLiteral("Programs|*|All Files (*.*)|*.*");

// A numeric field with its label as a new row of `form`.
TDataEdit* AddField(QFormLayout& form, const QString& caption, const QString& units = {})
{
    auto* label = new QLabel;
    auto* field = new TDataEdit;
    field->SetCaption(caption);
    field->SetUnitsString(units);
    field->SetEditLabel(label);
    label->setBuddy(field);
    form.addRow(label, field);
    return field;
}

// Takes the field's number into `value` when it differs (a field keeps a
// loaded value exactly, so a window that was only looked at changes
// nothing), and marks the project changed then. Whole-number values take
// the number rounded.
template <class T>
void StoreNumber(const TDataEdit& field, T& value, TProgramData& project)
{
    const long double number = field.Number();
    T stored{};
    if constexpr (std::is_integral_v<T>)
        stored = static_cast<T>(std::llround(number));
    else
        stored = number;
    if (stored == value)
        return;
    value = stored;
    project.SetChanged(true);
}

}  // namespace

// ---- TDataDialog ----

TDataDialog::TDataDialog(QMdiArea& area, const QString& caption) : FArea(area)
{
    setWindowTitle(caption);
    FSubWindow = area.addSubWindow(this);
    FSubWindow->setAttribute(Qt::WA_DeleteOnClose);
    connect(&area, &QMdiArea::subWindowActivated, this, &TDataDialog::ActiveChildChanged);
    // The control that has or last had the focus; the MDI area clears the
    // focus of a window it deactivates.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && isAncestorOf(now))
            FActiveControl = now;
    });
}

void TDataDialog::ShowWindow()
{
    if (!FSubWindow->isVisible()) {
        FSubWindow->adjustSize();
        // Wide enough for the whole caption beside the frame's buttons.
        const int captionWidth = FSubWindow->fontMetrics().horizontalAdvance(windowTitle()) +
                                 4 * FSubWindow->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        FSubWindow->resize(std::max(FSubWindow->width(), captionWidth), FSubWindow->height());
    }
    if (FSubWindow->isMinimized())
        FSubWindow->showNormal();
    else
        FSubWindow->show();
    FArea.setActiveSubWindow(FSubWindow);
}

bool TDataDialog::StoreFields()
{
    if (auto* field = qobject_cast<TDataEdit*>(FActiveControl.data())) {
        FChecking = true;
        const bool valid = field->ExitCheck();
        FChecking = false;
        if (!valid) {
            // Back to the front with the text as typed: no reload.
            FActive = true;
            ShowWindow();
            return false;
        }
    }
    StoreValues();
    return true;
}

void TDataDialog::ActiveChildChanged(QMdiSubWindow* active)
{
    // While the field is checked, its message and its taking back the focus
    // switch windows; that is no activation or deactivation of this one.
    if (active == nullptr || FChecking)
        return;
    if (active == FSubWindow) {
        if (!FActive) {
            FActive = true;
            LoadFields();
        }
    } else if (FActive && StoreFields()) {
        FActive = false;
    }
}

void TDataDialog::closeEvent(QCloseEvent* event)
{
    if (!StoreFields()) {
        event->ignore();
        return;
    }
    FActive = false;
    event->accept();
    emit Closed();
}

void ReloadDataDialogs(QMdiArea& area)
{
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (auto* dialog = qobject_cast<TDataDialog*>(window->widget()))
            dialog->LoadFields();
    }
}

// ---- TdlgTitle ----

TdlgTitle::TdlgTitle(QMdiArea& area, TProjectAccess project)
    : TDataDialog(area, QStringLiteral("Project Title")), edtTitle(new QLineEdit), edtDesigner(new QLineEdit),
      edtDate(new QLineEdit), FProject(std::move(project))
{
    edtTitle->setMaxLength(TitleLength);
    // Wide enough to show a whole title.
    edtTitle->setMinimumWidth(edtTitle->fontMetrics().horizontalAdvance(QString(TitleLength, u'M')) * 3 / 4);
    auto* layout = new QVBoxLayout(this);
    auto* titleLabel = new QLabel(QStringLiteral("Enter line of text for project description:"));
    titleLabel->setBuddy(edtTitle);
    layout->addWidget(titleLabel);
    layout->addWidget(edtTitle);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name of the Designer : "), edtDesigner);
    form->addRow(QStringLiteral("Date : "), edtDate);
    layout->addLayout(form);
    layout->addStretch();
    LoadFields();
}

void TdlgTitle::LoadFields()
{
    const TProgramData& project = FProject();
    edtTitle->setText(QString::fromStdString(project.Title));
    edtDesigner->setText(QString::fromStdString(project.Designer));
    edtDate->setText(QString::fromStdString(project.DesignDate));
}

void TdlgTitle::StoreValues()
{
    TProgramData& project = FProject();
    // A longer title read from a file shows cut to the field's length; it
    // stays whole unless the user edits it.
    if (edtTitle->text() != QString::fromStdString(project.Title).left(TitleLength)) {
        project.Title = edtTitle->text().toStdString();
        project.SetChanged(true);
    }
    const std::string designer = edtDesigner->text().toStdString();
    const std::string date = edtDate->text().toStdString();
    if (designer != project.Designer || date != project.DesignDate) {
        project.Designer = designer;
        project.DesignDate = date;
        project.SetChanged(true);
    }
}

// ---- TfrmMaterial ----

TfrmMaterial::TfrmMaterial(QMdiArea& area, TProjectAccess project)
    : TDataDialog(area, QStringLiteral("Pile Properties")), FProject(std::move(project))
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    // The engine cannot compute a pile without length or diameter.
    DataPL = AddField(*form, QStringLiteral("Pile Length"), QStringLiteral("L"));
    DataPL->SetMaxVal(1000000);
    DataPL->SetMinVal(0);
    DataPL->SetAboveMin(true);
    DataOD = AddField(*form, QStringLiteral("Outer Diameter"), QStringLiteral("L"));
    DataOD->SetMaxVal(1000000);
    DataOD->SetMinVal(0);
    DataOD->SetAboveMin(true);
    DataArea = AddField(*form, QStringLiteral("Area of Pile Tip"), QStringLiteral("L²"));
    DataArea->SetMaxVal(1000000000);
    DataNI = AddField(*form, QStringLiteral("Number of Increments"));
    DataNI->SetIntegerOnly(true);
    DataNI->SetMaxVal(500);
    DataNI->SetMinVal(10);
    DataTol = AddField(*form, QStringLiteral("Tolerance"), QStringLiteral("L"));
    DataTol->SetMaxVal(1.0L);
    DataTol->SetMinVal(1E-9L);

    btnAE = new QPushButton(QStringLiteral("Edit AE vs. Depth Data"));
    btnAE->setToolTip(QStringLiteral("Enter pile stiffness versus depth"));
    layout->addWidget(btnAE, 0, Qt::AlignLeft);
    connect(btnAE, &QPushButton::clicked, this, [this] {
        // A field that refused its entry kept the focus: it has told the user.
        if (btnAE->hasFocus() && StoreFields())
            ShowTable(FProject().Tables().TblAE2);
    });
    LoadFields();
}

void TfrmMaterial::LoadFields()
{
    const TProgramData& project = FProject();
    for (TDataEdit* field : {DataPL, DataOD, DataArea, DataTol})
        field->SetUnits(project.Units());
    DataPL->SetNumber(project.PileLength);
    DataOD->SetNumber(project.OuterDiameter);
    DataArea->SetNumber(project.TipArea);
    DataNI->SetNumber(project.Increments);
    DataTol->SetNumber(project.Tolerance);
}

void TfrmMaterial::StoreValues()
{
    TProgramData& project = FProject();
    StoreNumber(*DataPL, project.PileLength, project);
    StoreNumber(*DataOD, project.OuterDiameter, project);
    StoreNumber(*DataArea, project.TipArea, project);
    StoreNumber(*DataNI, project.Increments, project);
    StoreNumber(*DataTol, project.Tolerance, project);
}

// ---- TDlgOptions ----

TDlgOptions::TDlgOptions(QMdiArea& area, QString& editorPath)
    : TDataDialog(area, QStringLiteral("Control Options")), edtEditor(new QLineEdit),
      btnBrowse(new QPushButton(QStringLiteral("&Browse..."))), FEditorPath(editorPath)
{
    auto* layout = new QHBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Text Editor:"));
    label->setBuddy(edtEditor);
    layout->addWidget(label);
    layout->addWidget(edtEditor, 1);
    layout->addWidget(btnBrowse);
    edtEditor->setMinimumWidth(edtEditor->fontMetrics().averageCharWidth() * 40);
    connect(btnBrowse, &QPushButton::clicked, this, [this] {
        FileRequest request(QString(), ProgramFilter, edtEditor->text());
        request.ExecutableFilter = 0;
        const FileChoice choice = Prompts().OpenFile(this, request);
        if (!choice.Path.isEmpty())
            edtEditor->setText(choice.Path);
    });
    LoadFields();
}

void TDlgOptions::LoadFields() { edtEditor->setText(FEditorPath); }

void TDlgOptions::StoreValues() { FEditorPath = edtEditor->text(); }

// ---- TfrmQwFactors ----

TfrmQwFactors::TfrmQwFactors(QMdiArea& area, TProjectAccess project)
    : TDataDialog(area, QStringLiteral("Enter Modifications Factors for Tip Resistance")), FProject(std::move(project))
{
    auto* form = new QFormLayout(this);
    DataQfactor = AddField(*form, QStringLiteral("Q-multiplier"));
    Datawfactor = AddField(*form, QStringLiteral("w-multiplier"));
    LoadFields();
}

void TfrmQwFactors::LoadFields()
{
    const TProgramData& project = FProject();
    DataQfactor->SetNumber(project.QMultiplier);
    Datawfactor->SetNumber(project.WMultiplier);
}

void TfrmQwFactors::StoreValues()
{
    TProgramData& project = FProject();
    StoreNumber(*DataQfactor, project.QMultiplier, project);
    StoreNumber(*Datawfactor, project.WMultiplier, project);
}
