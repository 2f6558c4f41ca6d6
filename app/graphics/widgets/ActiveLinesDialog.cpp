#include "ActiveLinesDialog.h"

#include "DialogCaption.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int Left = 10;

QString Swapped(const QString& state) { return state == ActiveState ? InactiveState : ActiveState; }

}  // namespace

TfrmActiveLines::TfrmActiveLines(const QStringList& curveTexts, QStringList& curveStates, QWidget* parent)
    : QDialog(parent), FCurveTexts(curveTexts), FCurveStates(curveStates),
      FPrompt(new QLabel(QStringLiteral("Select Curve to Active/Desactive"), this)),
      FStateLabel(new QLabel(QStringLiteral("Active :"), this)), FCurveLabel(new QLabel(QStringLiteral("Curve"), this)),
      FList(new QListWidget(this)), FToggle(new QPushButton(QStringLiteral("Activate/Deactivate Selected"), this)),
      FAll(new QPushButton(QStringLiteral("Activate All"), this)),
      FNone(new QPushButton(QStringLiteral("Deactivate All"), this)), FOk(new QPushButton(QStringLiteral("&OK"), this)),
      FCancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setObjectName("frmActiveLines");
    setWindowTitle(QStringLiteral("Active Curves"));
    FList->setObjectName("lstCurves");
    FToggle->setObjectName("btnToggle");
    FAll->setObjectName("btnAll");
    FNone->setObjectName("btnNone");
    FOk->setObjectName("btnOK");
    FCancel->setObjectName("btnCancel");
    FList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FPrompt->setBuddy(FList);
    for (int row = 0; row < FCurveTexts.size() && row < FCurveStates.size(); ++row) {
        FList->addItem(QString());
        WriteRow(row);
    }

    connect(FList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { Toggle(FList->row(item)); });
    connect(FToggle, &QPushButton::clicked, this, &TfrmActiveLines::ToggleSelected);
    connect(FAll, &QPushButton::clicked, this, [this] { SetAll(ActiveState); });
    connect(FNone, &QPushButton::clicked, this, [this] { SetAll(InactiveState); });
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
    FOk->setDefault(true);

    setMinimumSize(190, 234);
    resize(std::max(300, FList->sizeHintForColumn(0) + 2 * Left + 30), 360);
    FitCaption(*this);
}

void TfrmActiveLines::WriteRow(int row)
{
    FList->item(row)->setText(FCurveStates[row] + QStringLiteral("   ") + FCurveTexts[row]);
}

void TfrmActiveLines::Toggle(int row)
{
    if (row < 0 || row >= FList->count())
        return;
    FCurveStates[row] = Swapped(FCurveStates[row]);
    WriteRow(row);
}

void TfrmActiveLines::ToggleSelected()
{
    const QList<QListWidgetItem*> selected = FList->selectedItems();
    if (selected.size() == 1) {
        Toggle(FList->currentRow());
        return;
    }
    for (QListWidgetItem* item : selected)
        Toggle(FList->row(item));
}

void TfrmActiveLines::SetAll(const QString& state)
{
    for (int row = 0; row < FList->count(); ++row) {
        FCurveStates[row] = state;
        WriteRow(row);
    }
}

void TfrmActiveLines::resizeEvent(QResizeEvent*)
{
    const int width = this->width() - 2 * Left;
    const int labelHeight = FPrompt->sizeHint().height();
    const int buttonHeight = FOk->sizeHint().height();
    int y = 5;
    FPrompt->setGeometry(Left, y, width, labelHeight);
    y += labelHeight + 5;
    FStateLabel->setGeometry(Left + 4, y, FStateLabel->sizeHint().width(), labelHeight);
    FCurveLabel->setGeometry(Left + 4 + FList->fontMetrics().horizontalAdvance(ActiveState + "   "), y,
                             FCurveLabel->sizeHint().width(), labelHeight);
    y += labelHeight + 2;
    const int listHeight = std::max(height() - y - 3 * buttonHeight - 50, 20);
    FList->setGeometry(Left, y, width, listHeight);
    y += listHeight + 10;
    FToggle->setGeometry(15, y, std::min(FToggle->sizeHint().width(), this->width() - 30), buttonHeight);
    y += buttonHeight + 10;
    const int half = std::max(FAll->sizeHint().width(), FNone->sizeHint().width());
    FAll->setGeometry(10, y, half, buttonHeight);
    FNone->setGeometry(this->width() - 10 - half, y, half, buttonHeight);
    y += buttonHeight + 10;
    const int buttonWidth = std::max(FOk->sizeHint().width(), FCancel->sizeHint().width());
    FOk->setGeometry(20, y, buttonWidth, buttonHeight);
    FCancel->setGeometry(this->width() - 20 - buttonWidth, y, buttonWidth, buttonHeight);
}
