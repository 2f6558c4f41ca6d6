#include "TableForm.h"

#include "TableGrid.h"
#include "TableLayout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <optional>

namespace {

// System menu and minimise box, no maximise box.
constexpr Qt::WindowFlags FrameHints =
    Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QString FromModel(const std::string& text) { return QString::fromStdString(text); }

// Comments keep their line breaks, written as CR or CR LF.
QString CommentText(const std::string& text)
{
    QString result = FromModel(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

}  // namespace

// ---- TTableFormBase ----

TTableFormBase::TTableFormBase(QMdiArea* area)
    : QWidget(nullptr, Qt::Window | FrameHints), Grid(new TTableGrid(this)),
      BtnAdd(new QPushButton(tr("&Add Row"), this)), BtnIns(new QPushButton(tr("&Insert Row"), this)),
      BtnDel(new QPushButton(tr("&Delete Row"), this)), lblComments(new QLabel(this)), imgHelp(new QLabel(this)),
      FArea(area), FTopLeft(new QLabel(Grid))
{
    Grid->setObjectName(QStringLiteral("Grid"));
    BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    BtnIns->setObjectName(QStringLiteral("BtnIns"));
    BtnDel->setObjectName(QStringLiteral("BtnDel"));
    lblComments->setObjectName(QStringLiteral("lblComments"));
    imgHelp->setObjectName(QStringLiteral("imgHelp"));
    for (QPushButton* button : {BtnAdd, BtnIns, BtnDel}) {
        button->setAutoDefault(false);
        button->resize(button->sizeHint());
    }
    lblComments->setWordWrap(true);
    lblComments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FTopLeft->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FTopLeft->setIndent(2);
    // Alt and a button's letter reach the focused control of this window
    // before the program's menu bar sees them (see eventFilter).
    qApp->installEventFilter(this);
}

TTableFormBase::~TTableFormBase() = default;

QPushButton* TTableFormBase::MnemonicButton(const QKeyEvent& key) const
{
    if (key.modifiers() != Qt::AltModifier)
        return nullptr;
    const QKeySequence typed(static_cast<int>(Qt::AltModifier) | key.key());
    for (QPushButton* button : {BtnAdd, BtnIns, BtnDel})
        if (button->isVisible() && button->isEnabled() && QKeySequence::mnemonic(button->text()) == typed)
            return button;
    return nullptr;
}

bool TTableFormBase::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return QWidget::eventFilter(watched, event);
    QPushButton* button = MnemonicButton(*static_cast<QKeyEvent*>(event));
    if (!button)
        return QWidget::eventFilter(watched, event);
    // Overriding the shortcut makes the key a key press here, where it
    // clicks the button.
    event->accept();
    if (type == QEvent::KeyPress)
        button->click();
    return true;
}

std::vector<QWidget*> TTableFormBase::RowControls(int col) const
{
    const auto it = FControls.find(col);
    return it == FControls.end() ? std::vector<QWidget*>() : it->second;
}

QWidget* TTableFormBase::FrameWindow() const
{
    return FSub ? static_cast<QWidget*>(FSub.data()) : const_cast<TTableFormBase*>(this);
}

void TTableFormBase::ResizeFrame(QSize client)
{
    FClientSize = client;
    resize(client);
    if (FSub)
        FSub->resize(FSub->sizeHint());
}

void TTableFormBase::Place(bool modal, QWidget* embedIn)
{
    if (FLoop) {
        raise();
        activateWindow();
        return;
    }
    if (modal) {
        // Out of the MDI area, if it was there: a modal window is a dialog.
        if (FSub) {
            QMdiSubWindow* sub = FSub;
            FSub = nullptr;
            sub->setWidget(nullptr);
            sub->deleteLater();
        }
        setParent(FArea ? FArea->window() : nullptr, Qt::Dialog | FrameHints);
        setWindowModality(Qt::ApplicationModal);
        resize(FClientSize);
        show();
        activateWindow();
        QEventLoop loop;
        FLoop = &loop;
        const QPointer<TTableFormBase> self(this);
        loop.exec();
        if (self)
            FLoop = nullptr;
        return;
    }
    if (embedIn) {
        if (parentWidget() != embedIn) {
            setParent(embedIn, Qt::Widget);
            move(0, 0);
        }
        show();
        raise();
    } else if (FArea) {
        if (!FSub) {
            FSub = FArea->addSubWindow(this, Qt::SubWindow | FrameHints);
            FSub->resize(FSub->sizeHint());
        }
        FSub->showNormal();
        FArea->setActiveSubWindow(FSub);
    } else {
        show();
        raise();
        activateWindow();
    }
}

void TTableFormBase::Dismiss()
{
    if (FLoop)
        FLoop->quit();
    QWidget* frame = FrameWindow();
    frame->hide();
    frame->deleteLater();
}

// ---- TTableForm ----

TTableForm::TTableForm(Table& table, QMdiArea* area)
    : TTableFormBase(area), FTable(&table), FModel(new TTableModel(table, this))
{
    Grid->setModel(FModel);
    Grid->OnSelectCell = [this](int row, int col) { return GridSelectCell(row, col); };
    Grid->OnEnterKey = [this] { GridEnterKey(); };
    connect(Grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { GridTopLeftChanged(); });
    connect(Grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { GridTopLeftChanged(); });
    connect(BtnAdd, &QPushButton::clicked, this, [this] { BtnAddClick(); });
    connect(BtnIns, &QPushButton::clicked, this, [this] { BtnInsClick(); });
    connect(BtnDel, &QPushButton::clicked, this, [this] { BtnDelClick(); });
    // Keys of the grid and of its cell editors (children of the viewport)
    // pass through eventFilter.
    Grid->installEventFilter(this);
    Grid->viewport()->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const auto inGrid = [this](QWidget* w) { return w == Grid || Grid->isAncestorOf(w); };
        if (old && now && inGrid(old) && !inGrid(now) && isAncestorOf(now))
            GridExit();
    });
    if (area)
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
            if (!FSub)
                return;
            // A failed commit activates this window again from FormDeactivate.
            const bool wasActive = FActive;
            FActive = window == FSub;
            if (wasActive && window && window != FSub)
                FormDeactivate();
        });
}

TTableForm::~TTableForm()
{
    // Deleted from outside (with the MDI area): the table lets go of it.
    if (!FReleased) {
        FReleased = true;
        Unbind();
        FTable->CloseEditor();
    }
}

// ---- Showing and refreshing ----

void TTableForm::ShowForm(bool modal)
{
    if (FReleased)
        return;
    if (!FBound)
        FormShow();
    Grid->setFocus();
    Place(modal, FormParent);
}

void TTableForm::FormShow()
{
    FBound = true;
    FTable->SetRowCount(std::max(FTable->RowCount(), FTable->MinRows()));
    UpdateCaption();

    const int m = Margin();
    Grid->move(m, m);
    FTopLeft->setText(FromModel(FTable->TopLeft));
    BtnAdd->move(m, 0);
    BtnIns->move(BtnAdd->geometry().right() + 1 + m, 0);
    BtnDel->move(BtnIns->geometry().right() + 1 + m, 0);
    lblComments->setText(CommentText(FTable->Comments));
    lblComments->setVisible(!FTable->Comments.empty());
    const QPixmap picture(FromModel(FTable->HelpPicture));
    imgHelp->setPixmap(picture);
    imgHelp->resize(picture.size());
    imgHelp->setVisible(!picture.isNull());

    StartView();
    FRowsChanged = FTable->OnRowsChanged.Subscribe([this] { TableRowsChanged(); });
    Refresh();
    StartCell();
}

void TTableForm::StartView()
{
    FColumnsInView = FTable->VisibleColumnCount();
    FRowsInView = std::min(FTable->RowCount(), MaxRowsInView());
}

void TTableForm::StartCell()
{
    // The cursor starts in the first column the user types into.
    int first = 0;
    while (first < FTable->VisibleColumnCount() - 1 && FTable->VisibleColumn(first).HasControls())
        ++first;
    Grid->SetCurrentCellQuietly(0, first);
}

void TTableForm::TableRowsChanged()
{
    // Rows replaced from outside the window (another project, a file read)
    // give it a fresh view of them, as when it opened.
    const bool replaced = !FOwnRowChange && FShownRows != FTable->RowCount();
    if (replaced)
        StartView();
    Refresh();
    if (replaced) {
        Grid->ScrollTo(0, 0);
        StartCell();
    }
}

void TTableForm::UpdateCaption()
{
    setWindowTitle(FromModel(FTable->WindowCaption()));
}

void TTableForm::Refresh()
{
    if (!FBound || FFilling)
        return;
    const int columns = FTable->VisibleColumnCount();
    const int rows = FTable->RowCount();
    FColumnsInView = std::min(FColumnsInView, columns);
    FRowsInView = std::min(FRowsInView, rows);
    FShownRows = rows;

    FModel->Sync();
    const int pitch = Grid->fontMetrics().height() + 10;
    Grid->verticalHeader()->setMinimumSectionSize(1);
    Grid->verticalHeader()->setDefaultSectionSize(pitch);
    Grid->verticalHeader()->setFixedWidth(FixedColumnWidth() + 1);
    Grid->horizontalHeader()->setFixedHeight(FModel->HeadingRows() * pitch);
    for (int c = 0; c < columns; ++c)
        Grid->setColumnWidth(c, ColumnWidth(FTable->VisibleColumn(c)) + 1);

    const bool rowButtons = FTable->MinRows() != FTable->MaxRows;
    for (QPushButton* button : {BtnAdd, BtnIns, BtnDel})
        button->setVisible(rowButtons);
    BtnAdd->setEnabled(rows != FTable->MaxRows);
    BtnIns->setEnabled(rows != FTable->MaxRows);
    BtnDel->setEnabled(FTable->MinRows() < rows);
    Layout();
}

// ---- Entry ----

bool TTableForm::CommitCell()
{
    if (!FBound || FCommitting)
        return true;
    const int row = Grid->currentRow();
    const int col = Grid->currentColumn();
    if (row < 0 || row >= FTable->RowCount() || col < 0 || col >= FTable->VisibleColumnCount())
        return true;
    if (FTable->VisibleColumn(col).HasControls())
        return true;
    const std::optional<std::string> error = FModel->Enter(row, col, Grid->CellText(row, col).toStdString());
    if (!error)
        return true;
    FCommitting = true;
    Prompts().Inform(this, FromModel(*error));
    FCommitting = false;
    Grid->setFocus();
    return false;
}

bool TTableForm::GridSelectCell(int /*row*/, int col)
{
    if (!FBound)
        return true;
    // Committed entries appear in their normalised form (2*3 reads 6).
    if (!CommitCell())
        return false;
    // Cells with row controls are edited through their controls.
    return col < FTable->VisibleColumnCount() && !FTable->VisibleColumn(col).HasControls();
}

void TTableForm::GridEnterKey()
{
    const int columns = FTable->VisibleColumnCount();
    int row = Grid->currentRow();
    int col = Grid->currentColumn();
    if (row < 0 || col < 0)
        return;
    if (++row >= FTable->RowCount()) {
        row = 0;
        col = col + 1 < columns ? col + 1 : 0;
    }
    Grid->setCurrentCell(row, col);
}

void TTableForm::GridTopLeftChanged()
{
    if (!FScrollDetached)
        Layout();
}

void TTableForm::GridExit()
{
    if (!FBound || FCommitting || IsModal())
        return;
    if (!CommitCell())
        Grid->setFocus();
}

// ---- Row buttons ----

int TTableForm::CurrentDataRow() const
{
    const int row = Grid->currentRow();
    if (row < 0 || row >= FTable->RowCount())
        throw ETableError("Grid.Row not in valid range");
    return row;
}

void TTableForm::BtnAddClick()
{
    Guarded([this] { RecordChange("Add Row", [this] { AddRowGroup(); }); });
}

void TTableForm::AddRowGroup()
{
    // This window refreshes once, at the end, also on failure; the table's
    // other listeners hear the change as it happens.
    const auto finish = [this] {
        FTable->SetChanged(true);
        FScrollDetached = false;
        Refresh();
    };
    try {
        const TSubscription::TBlock quiet(FRowsChanged);
        FScrollDetached = true;
        if (FRowsInView >= FTable->RowCount())
            FRowsInView = std::min(FTable->RowCount() + FTable->RowGroup(), MaxRowsInView());
        FTable->AppendRowGroup();
    } catch (...) {
        finish();
        throw;
    }
    finish();
    // Scroll the new rows into view.
    if (FTable->RowCount() > Grid->TopRow() + FRowsInView)
        Grid->ScrollTo(FTable->RowCount() - FRowsInView, Grid->LeftColumn());
}

void TTableForm::BtnInsClick()
{
    Guarded([this] {
        const int row = CurrentDataRow();
        RecordChange("Insert Row", [this, row] {
            FTable->SetChanged(true);
            if (FRowsInView >= FTable->RowCount())
                FRowsInView = std::min(FTable->RowCount() + FTable->RowGroup(), MaxRowsInView());
            const TOwnRowChange own(FOwnRowChange);
            FTable->InsertRowGroup(row);
        });
    });
}

void TTableForm::BtnDelClick()
{
    Guarded([this] {
        const int row = CurrentDataRow();
        // Undo brings the row back with its nested data.
        RecordChange("Delete Row", [this, row] {
            FTable->SetChanged(true);
            const TOwnRowChange own(FOwnRowChange);
            FTable->DeleteRowGroup(row);
        });
    });
}

// ---- Closing and leaving ----

bool TTableForm::FormCloseQuery()
{
    return CommitCell();
}

void TTableForm::closeEvent(QCloseEvent* event)
{
    if (!FBound) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose();
}

void TTableForm::FormClose()
{
    Unbind();
    FTable->CloseEditor();  // deletes the handle, which releases this window
}

void TTableForm::Unbind()
{
    if (!FBound)
        return;
    ReleaseRowControls();
    FRowsChanged.Reset();
    // The view shows nothing of a table it has let go.
    FModel->Detach();
    FBound = false;
}

void TTableForm::Release()
{
    if (FReleased)
        return;
    FReleased = true;
    Unbind();
    Dismiss();
}

void TTableForm::FormDeactivate()
{
    if (!FBound || FCommitting || IsModal())
        return;
    if (CommitCell())
        return;
    // Back to the window, so that the user sees the message's cell.
    if (FSub && FArea)
        FArea->setActiveSubWindow(FSub);
    else
        activateWindow();
}

void TTableForm::changeEvent(QEvent* event)
{
    TTableFormBase::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isWindow() && !isActiveWindow())
        FormDeactivate();
}

// ---- The table's handle of its window ----

TTableWindow::~TTableWindow()
{
    if (FForm)
        FForm->Release();
}

void TTableWindow::ShowEditor(bool modal)
{
    if (FForm)
        FForm->ShowForm(modal);
}

bool TTableWindow::IsModal() const
{
    return FForm && FForm->IsModal();
}

void TTableWindow::UpdateCaption()
{
    if (FForm)
        FForm->UpdateCaption();
}

void TTableWindow::RowControlChanged(int col, int row)
{
    if (FForm)
        FForm->RowControlChanged(col, row);
}

TTableForm* TableForm(const TGridTable& table)
{
    auto* window = dynamic_cast<TTableWindow*>(table.Editor());
    return window ? window->Form() : nullptr;
}
