#include "TableForm.h"

#include "TableGrid.h"
#include "TableLayout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QHeaderView>
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
constexpr Qt::WindowFlags FrameHints = Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QString FromModel(const std::string& text)
{
    return QString::fromStdString(text);
}

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
    : QWidget(nullptr, Qt::Window | FrameHints),
      Grid(new TTableGrid(this)),
      BtnAdd(new QPushButton(tr("&Add Row"), this)),
      BtnIns(new QPushButton(tr("&Insert Row"), this)),
      BtnDel(new QPushButton(tr("&Delete Row"), this)),
      lblComments(new QLabel(this)),
      imgHelp(new QLabel(this)),
      FArea(area),
      FTopLeft(new QLabel(Grid))
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
}

TTableFormBase::~TTableFormBase() = default;

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

// ---- TTableFormT ----

template <TableFamily F>
TTableFormT<F>::TTableFormT(Table& table, QMdiArea* area) : TTableFormBase(area), FTable(&table)
{
    Grid->OnSelectCell = [this](int row, int col) { return GridSelectCell(row, col); };
    Grid->OnEnterKey = [this] { GridEnterKey(); };
    connect(Grid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { GridTopLeftChanged(); });
    connect(Grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { GridTopLeftChanged(); });
    connect(BtnAdd, &QPushButton::clicked, this, [this] { BtnAddClick(); });
    connect(BtnIns, &QPushButton::clicked, this, [this] { BtnInsClick(); });
    connect(BtnDel, &QPushButton::clicked, this, [this] { BtnDelClick(); });
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

template <TableFamily F>
TTableFormT<F>::~TTableFormT()
{
    // Deleted from outside (with the MDI area): the table lets go of it.
    if (!FReleased) {
        FReleased = true;
        Unbind();
        FTable->CloseEditor();
    }
}

// ---- Showing and refreshing ----

template <TableFamily F>
void TTableFormT<F>::ShowForm(bool modal)
{
    if (FReleased)
        return;
    if (!FBound)
        FormShow();
    Grid->setFocus();
    Place(modal, FTable->FormParent);
}

template <TableFamily F>
void TTableFormT<F>::FormShow()
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
    SubscribeTable(true);
    Refresh();
    StartCell();
}

template <TableFamily F>
void TTableFormT<F>::StartView()
{
    FColumnsInView = FTable->VisibleColumnCount();
    FRowsInView = std::min(FTable->RowCount(), MaxRowsInView());
}

template <TableFamily F>
void TTableFormT<F>::StartCell()
{
    // The cursor starts in the first column the user types into.
    int first = 0;
    while (first < FTable->VisibleColumnCount() - 1 && FTable->VisibleColumn(first).HasControls())
        ++first;
    Grid->SetCurrentCellQuietly(0, first);
}

template <TableFamily F>
void TTableFormT<F>::TableRowsChanged()
{
    // Rows replaced from outside the window (another project, a file read)
    // give it a fresh view of them, as when it opened.
    const bool replaced = !FOwnRowChange && Grid->rowCount() != FTable->RowCount();
    if (replaced)
        StartView();
    Refresh();
    if (replaced) {
        Grid->ScrollTo(0, 0);
        StartCell();
    }
}

template <TableFamily F>
void TTableFormT<F>::UpdateCaption()
{
    setWindowTitle(FromModel(FTable->WindowCaption()));
}

template <TableFamily F>
void TTableFormT<F>::SubscribeTable(bool on)
{
    if (!on) {
        FTable->OnRowsChanged = nullptr;
        FTable->OnCellChanged = nullptr;
        return;
    }
    FTable->OnRowsChanged = [this] { TableRowsChanged(); };
    FTable->OnCellChanged = [this](int col, int row) {
        const TColumnT<F>& column = FTable->Column(col);
        const int visible = FTable->VisibleIndexOf(column);
        if (visible >= 0 && !column.HasControls() && row < Grid->rowCount())
            Grid->SetCellText(row, visible, FromModel(column.GetText(row)));
    };
}

template <TableFamily F>
void TTableFormT<F>::Refresh()
{
    if (!FBound)
        return;
    const int columns = FTable->VisibleColumnCount();
    const int rows = FTable->RowCount();
    FColumnsInView = std::min(FColumnsInView, columns);
    FRowsInView = std::min(FRowsInView, rows);

    const int pitch = Grid->fontMetrics().height() + 10;
    const int headings = HeadingRows();
    Grid->setColumnCount(columns);
    Grid->setRowCount(rows);
    Grid->verticalHeader()->setMinimumSectionSize(1);
    Grid->verticalHeader()->setDefaultSectionSize(pitch);
    Grid->verticalHeader()->setFixedWidth(FixedColumnWidth() + 1);
    Grid->horizontalHeader()->setFixedHeight(headings * pitch);

    QStringList numbers;
    for (int row = 0; row < rows; ++row)
        numbers << QString::number(row / FTable->RowGroup() + 1);
    Grid->setVerticalHeaderLabels(numbers);

    QStringList headers;
    for (int c = 0; c < columns; ++c) {
        const TColumnT<F>& column = FTable->VisibleColumn(c);
        QStringList lines;
        for (int i = 0; i < headings; ++i)
            lines << (i < column.CaptionLineCount() ? FromModel(column.CaptionLine(i)) : QString());
        headers << lines.join(QLatin1Char('\n'));
        Grid->setColumnWidth(c, ColumnWidth(column) + 1);
    }
    Grid->setHorizontalHeaderLabels(headers);
    RewriteCells();

    const bool rowButtons = FTable->MinRows() != FTable->MaxRows;
    for (QPushButton* button : {BtnAdd, BtnIns, BtnDel})
        button->setVisible(rowButtons);
    BtnAdd->setEnabled(rows != FTable->MaxRows);
    BtnIns->setEnabled(rows != FTable->MaxRows);
    BtnDel->setEnabled(FTable->MinRows() < rows);
    Layout();
}

template <TableFamily F>
void TTableFormT<F>::RewriteCells()
{
    // Bounded by the grid as well: the table may have changed without telling.
    for (int c = 0; c < std::min(FTable->VisibleColumnCount(), Grid->columnCount()); ++c) {
        const TColumnT<F>& column = FTable->VisibleColumn(c);
        const bool typed = !column.HasControls();
        const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled |
                                    (typed ? Qt::ItemIsEditable : Qt::NoItemFlags);
        for (int row = 0; row < std::min(FTable->RowCount(), Grid->rowCount()); ++row) {
            Grid->SetCellText(row, c, typed ? FromModel(column.GetText(row)) : QString());
            Grid->item(row, c)->setFlags(flags);
        }
    }
}

// ---- Entry ----

template <TableFamily F>
bool TTableFormT<F>::CommitCell()
{
    if (!FBound || FCommitting)
        return true;
    const int row = Grid->currentRow();
    const int col = Grid->currentColumn();
    if (row < 0 || row >= FTable->RowCount() || col < 0 || col >= FTable->VisibleColumnCount())
        return true;
    TColumnT<F>& column = FTable->VisibleColumn(col);
    if (column.HasControls())
        return true;
    const std::string text = Grid->CellText(row, col).toStdString();
    // A cell left as it shows changes nothing: only an edit marks the table.
    if (text == column.GetData(row).AsString())
        return true;
    FTable->SetChanged(true);
    try {
        column.GetData(row).SetText(text);
        return true;
    } catch (const EAssignError& e) {
        FCommitting = true;
        Prompts().Inform(this, FromModel(e.what()));
        FCommitting = false;
        Grid->setFocus();
        return false;
    }
}

template <TableFamily F>
bool TTableFormT<F>::GridSelectCell(int /*row*/, int col)
{
    if (!FBound)
        return true;
    if (!CommitCell())
        return false;
    // Committed entries appear in their normalised form (2*3 reads 6).
    RewriteCells();
    // Cells with row controls are edited through their controls.
    return col < FTable->VisibleColumnCount() && !FTable->VisibleColumn(col).HasControls();
}

template <TableFamily F>
void TTableFormT<F>::GridEnterKey()
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

template <TableFamily F>
void TTableFormT<F>::GridTopLeftChanged()
{
    if (!FScrollDetached)
        Layout();
}

template <TableFamily F>
void TTableFormT<F>::GridExit()
{
    if (!FBound || FCommitting || IsModal())
        return;
    if (!CommitCell())
        Grid->setFocus();
}

// ---- Row buttons ----

template <TableFamily F>
int TTableFormT<F>::CurrentDataRow() const
{
    const int row = Grid->currentRow();
    if (row < 0 || row >= FTable->RowCount())
        throw ETableError("Grid.Row not in valid range");
    return row;
}

template <TableFamily F>
void TTableFormT<F>::BtnAddClick()
{
    Guarded([this] {
        FTable->OnRowsChanged = nullptr;
        FScrollDetached = true;
        const auto finish = [this] {
            FTable->SetChanged(true);
            SubscribeTable(true);
            FScrollDetached = false;
            Refresh();
        };
        try {
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
    });
}

template <TableFamily F>
void TTableFormT<F>::BtnInsClick()
{
    Guarded([this] {
        const int row = CurrentDataRow();
        FTable->SetChanged(true);
        if (FRowsInView >= FTable->RowCount())
            FRowsInView = std::min(FTable->RowCount() + FTable->RowGroup(), MaxRowsInView());
        const TOwnRowChange own(FOwnRowChange);
        FTable->InsertRowGroup(row);
    });
}

template <TableFamily F>
void TTableFormT<F>::BtnDelClick()
{
    Guarded([this] {
        const int row = CurrentDataRow();
        FTable->SetChanged(true);
        const TOwnRowChange own(FOwnRowChange);
        FTable->DeleteRowGroup(row);
    });
}

// ---- Closing and leaving ----

template <TableFamily F>
bool TTableFormT<F>::FormCloseQuery()
{
    return CommitCell();
}

template <TableFamily F>
void TTableFormT<F>::closeEvent(QCloseEvent* event)
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

template <TableFamily F>
void TTableFormT<F>::FormClose()
{
    Unbind();
    FTable->CloseEditor();  // deletes the handle, which releases this window
}

template <TableFamily F>
void TTableFormT<F>::Unbind()
{
    if (!FBound)
        return;
    ReleaseRowControls();
    SubscribeTable(false);
    FBound = false;
}

template <TableFamily F>
void TTableFormT<F>::Release()
{
    if (FReleased)
        return;
    FReleased = true;
    Unbind();
    Dismiss();
}

template <TableFamily F>
void TTableFormT<F>::FormDeactivate()
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

template <TableFamily F>
void TTableFormT<F>::changeEvent(QEvent* event)
{
    TTableFormBase::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isWindow() && !isActiveWindow())
        FormDeactivate();
}

// ---- The table's handle of its window ----

template <TableFamily F>
TTableWindowT<F>::~TTableWindowT()
{
    if (FForm)
        FForm->Release();
}

template <TableFamily F>
void TTableWindowT<F>::ShowEditor(bool modal)
{
    if (FForm)
        FForm->ShowForm(modal);
}

template <TableFamily F>
bool TTableWindowT<F>::IsModal() const
{
    return FForm && FForm->IsModal();
}

template <TableFamily F>
void TTableWindowT<F>::UpdateCaption()
{
    if (FForm)
        FForm->UpdateCaption();
}

template <TableFamily F>
void TTableWindowT<F>::RowControlChanged(int col, int row)
{
    if (FForm)
        FForm->RowControlChanged(col, row);
}

template class TTableFormT<TableFamily::Plain>;
template class TTableFormT<TableFamily::Chart>;
template class TTableWindowT<TableFamily::Plain>;
template class TTableWindowT<TableFamily::Chart>;

namespace {

template <TableFamily F>
void InstallFactory(QMdiArea* area)
{
    TGridTableT<F>::EditorFactory = [area = QPointer<QMdiArea>(area)](TGridTableT<F>& table) {
        return std::make_unique<TTableWindowT<F>>(new TTableFormT<F>(table, area.data()));
    };
}

}  // namespace

void InstallTableWindows(QMdiArea* area)
{
    InstallFactory<TableFamily::Plain>(area);
    InstallFactory<TableFamily::Chart>(area);
}
